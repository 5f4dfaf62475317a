// A small initialisation-file reader and writer ("[section]" lines and "key=value" lines).
#pragma once

#include <string>
#include <vector>

namespace ad {

class TAdIniFile {
public:
    // Loads the file; a missing or unreadable file leaves the object empty, and lines that are
    // neither sections nor "key=value" pairs are skipped.
    explicit TAdIniFile(std::string fileName);

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // Writes the file whole (temporary file, then rename); false if that fails.
    bool UpdateFile() const;
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
};

} // namespace ad
