#include "common/IniFile.h"

#include <fstream>
#include <sstream>

#include "db/Gbk.h"
#include "db/SqlText.h"

std::optional<IniFile> IniFile::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return parse(ss.str());
}

IniFile IniFile::parse(std::string text) {
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    if (!isValidUtf8(text)) text = gbkToUtf8(text);
    IniFile ini;
    // Keys above the first section header belong to no section, not even the empty one.
    std::string section = "\x01";
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::string t = sqltext::trim(line);
        if (t.empty() || t[0] == ';' || t[0] == '#') continue;
        if (t[0] == '[') {
            auto close = t.find(']');
            section = sqltext::upper(sqltext::trim(
                t.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
            ini.sections_.push_back(section);
            continue;
        }
        auto eq = t.find('=');
        if (eq == std::string::npos) continue;
        std::string value = sqltext::trim(t.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        ini.entries_.push_back({section, sqltext::upper(sqltext::trim(t.substr(0, eq))), value});
    }
    return ini;
}

std::string IniFile::get(const std::string& section, const std::string& key,
                         const std::string& fallback) const {
    std::string s = sqltext::upper(sqltext::trim(section)), k = sqltext::upper(sqltext::trim(key));
    for (const Entry& e : entries_) {
        if (e.section != s || e.key != k) continue;
        // Cut at a character boundary: 255 characters at most.
        std::size_t pos = 0, count = 0;
        while (pos < e.value.size() && count < kProfileValueMax) {
            nextCodePoint(e.value, pos);
            ++count;
        }
        return e.value.substr(0, pos);
    }
    return fallback;
}

bool IniFile::hasSection(const std::string& section) const {
    std::string s = sqltext::upper(sqltext::trim(section));
    for (const auto& name : sections_)
        if (name == s) return true;
    return false;
}
