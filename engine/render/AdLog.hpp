// The engine's log: typed entries from named senders, rewritten whole to "adlog.txt" after each entry.
#pragma once

#include <string>
#include <vector>

namespace ad {

enum class TAdLogType { Info = 0, Warning = 1, Error = 2, FatalError = 3 };

struct TAdLogEntry {
    TAdLogType Type;
    std::string Sender;
    std::string Text;
};

class TAdLog {
public:
    explicit TAdLog(std::string fileName = "adlog.txt");

    // Appends an entry; while saving is on, the whole log is written to the file again.
    void AddEntry(TAdLogType type, const std::string& sender, const std::string& text);

    // One entry as a line: "[type]" and "sender:" each padded with spaces to 21 characters (at
    // least two spaces), then the text.
    static std::string FormatEntry(const TAdLogEntry& entry);
    static const char* TypeName(TAdLogType type);

    const std::vector<TAdLogEntry>& Entries() const { return entries_; }
    std::string Text() const;
    const std::string& FileName() const { return fileName_; }

    bool SaveOnEntry = true; // turned off by a failed write
    bool SaveToFile();

private:
    std::string fileName_;
    std::vector<TAdLogEntry> entries_;
};

} // namespace ad
