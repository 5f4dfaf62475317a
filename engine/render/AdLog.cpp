// The engine's log: typed entries from named senders, rewritten whole to "adlog.txt" after each entry.
#include "engine/render/AdLog.hpp"

#include "engine/platform/AtomicFile.hpp"

namespace ad {

namespace {

std::string PadField(const std::string& field) {
    constexpr size_t kWidth = 21;
    const size_t spaces = field.size() + 2 > kWidth ? 2 : kWidth - field.size();
    return field + std::string(spaces, ' ');
}

} // namespace

TAdLog::TAdLog(std::string fileName) : fileName_(std::move(fileName)) {}

const char* TAdLog::TypeName(TAdLogType type) {
    switch (type) {
    case TAdLogType::Info: return "Info";
    case TAdLogType::Warning: return "Warning";
    case TAdLogType::Error: return "Error";
    case TAdLogType::FatalError: return "Fatal Error";
    }
    return "Info";
}

std::string TAdLog::FormatEntry(const TAdLogEntry& entry) {
    return PadField(std::string("[") + TypeName(entry.Type) + "]") + PadField(entry.Sender + ":") + entry.Text;
}

std::string TAdLog::Text() const {
    std::string text;
    for (const TAdLogEntry& entry : entries_) {
        text += FormatEntry(entry);
        text += "\n";
    }
    return text;
}

void TAdLog::AddEntry(TAdLogType type, const std::string& sender, const std::string& text) {
    entries_.push_back({type, sender, text});
    if (SaveOnEntry && !SaveToFile()) SaveOnEntry = false;
}

bool TAdLog::SaveToFile() { return platform::WriteFileAtomically(fileName_, Text()); }

} // namespace ad
