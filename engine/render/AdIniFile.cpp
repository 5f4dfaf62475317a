// A small initialisation-file reader and writer ("[section]" lines and "key=value" lines).
#include "engine/render/AdIniFile.hpp"

#include <sstream>
#include <strings.h>

#include "engine/platform/AtomicFile.hpp"
#include "engine/platform/RegularFiles.hpp"

namespace ad {

namespace {

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

} // namespace

TAdIniFile::TAdIniFile(std::string fileName) : fileName_(std::move(fileName)) {
    if (fileName_.empty())
        return;
    std::string content;
    const platform::FileReadResult read = platform::ReadRegularFile(fileName_, content, kAdIniFileLimit);
    if (read.outcome == platform::FileReadOutcome::Missing)
        return;
    if (read.outcome != platform::FileReadOutcome::Read) {
        readProblem_ = "\"" + fileName_ + "\" cannot be used as settings: " + platform::ReadProblemText(read);
        // What cannot be read may hold what the player wants kept; a damaged file is simply replaced.
        unreadable_ = read.outcome == platform::FileReadOutcome::Unreadable;
        return;
    }
    std::istringstream in(content);
    std::string line;
    Section* current = nullptr;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            sections_.push_back({Trim(line.substr(1, line.size() - 2)), {}});
            current = &sections_.back();
            continue;
        }
        const size_t equals = line.find('=');
        if (current == nullptr || equals == std::string::npos) continue;
        current->entries.push_back({Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))});
    }
}

const TAdIniFile::Entry* TAdIniFile::Find(const std::string& section, const std::string& key) const {
    for (const Section& s : sections_)
        if (SameName(s.name, section))
            for (const Entry& e : s.entries)
                if (SameName(e.key, key)) return &e;
    return nullptr;
}

std::string TAdIniFile::ReadString(const std::string& section, const std::string& key,
                                   const std::string& def) const {
    const Entry* entry = Find(section, key);
    return entry != nullptr ? entry->value : def;
}

bool TAdIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    const Entry* entry = Find(section, key);
    if (entry == nullptr) return def;
    if (entry->value == "1") return true;
    if (entry->value == "0") return false;
    return def;
}

void TAdIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    // A file edited by hand may hold a section twice: the value goes where the reads find it, into
    // the first entry of that name, and a new key into the first section of that name.
    Section* target = nullptr;
    for (Section& s : sections_) {
        if (!SameName(s.name, section)) continue;
        for (Entry& e : s.entries)
            if (SameName(e.key, key)) {
                e.value = value;
                return;
            }
        if (target == nullptr) target = &s;
    }
    if (target == nullptr) {
        sections_.push_back({section, {}});
        target = &sections_.back();
    }
    target->entries.push_back({key, value});
}

void TAdIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::string TAdIniFile::Text() const {
    std::string text;
    for (const Section& s : sections_) {
        text += "[" + s.name + "]\n";
        for (const Entry& e : s.entries) text += e.key + "=" + e.value + "\n";
        text += "\n";
    }
    return text;
}

bool TAdIniFile::UpdateFile() const {
    return !unreadable_ && platform::WriteFileAtomically(fileName_, Text());
}

} // namespace ad
