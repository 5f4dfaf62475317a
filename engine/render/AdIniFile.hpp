// A small initialisation-file reader and writer ("[section]" lines and "key=value" lines).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ad {

// No settings file is anywhere near this large; a larger one is damaged and is not read at all.
inline constexpr uint64_t kAdIniFileLimit = 64 * 1024;

class TAdIniFile {
public:
    // Loads the file; a missing, unreadable, oversized or non-regular file leaves the object empty
    // (ReadProblem says why), and lines that are neither sections nor "key=value" pairs are skipped.
    explicit TAdIniFile(std::string fileName);

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // Writes the file whole (temporary file, then rename); false if that fails. A file that exists
    // but could not be read is never replaced: what it holds is unknown.
    bool UpdateFile() const;
    // Why the file could not be read, for the log; empty when it was read or does not exist.
    const std::string& ReadProblem() const { return readProblem_; }
    std::string Text() const;
    const std::string& FileName() const { return fileName_; }

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    const Entry* Find(const std::string& section, const std::string& key) const;

    std::string fileName_;
    std::vector<Section> sections_;
    std::string readProblem_;
    bool unreadable_ = false;
};

} // namespace ad
