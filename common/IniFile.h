// Settings files in the Windows profile format: "[section]" lines and "key = value" lines.
// Sections and keys match without regard to case, the first occurrence wins, values are
// trimmed (and lose one pair of enclosing quotes) and are cut to 255 characters, as the profile
// reader's 256-character buffer cut them. Files may be UTF-8 or GBK.
#pragma once

#include <optional>
#include <string>
#include <vector>

class IniFile {
public:
    // Reads the file; nullopt when it cannot be opened.
    static std::optional<IniFile> load(const std::string& path);
    static IniFile parse(std::string text);

    std::string get(const std::string& section, const std::string& key,
                    const std::string& fallback = "") const;
    bool hasSection(const std::string& section) const;

private:
    struct Entry {
        std::string section;  // upper case
        std::string key;      // upper case
        std::string value;
    };
    std::vector<Entry> entries_;
    std::vector<std::string> sections_;
};

constexpr std::size_t kProfileValueMax = 255;
