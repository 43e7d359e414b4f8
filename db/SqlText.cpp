#include "db/SqlText.h"

#include <array>
#include <cctype>

namespace sqltext {

namespace {
bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#';
}
bool startsWithNoCase(std::string_view s, std::size_t at, std::string_view word) {
    if (s.size() < at + word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[at + i])) !=
            std::tolower(static_cast<unsigned char>(word[i])))
            return false;
    return true;
}

// Walks the text and calls f(i) for every character outside quotes at parenthesis depth 0.
template <class F>
void forTopLevel(std::string_view s, F f) {
    int depth = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (quoted) {
            if (c == '\'') quoted = false;  // a doubled quote re-opens at once
            continue;
        }
        if (c == '\'') {
            quoted = true;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        } else if (depth == 0 && !f(i)) {
            return;
        }
    }
}
}  // namespace

std::string trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && isSpace(s[b]))
        ++b;
    while (e > b && isSpace(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

std::string upper(std::string_view s) {
    std::string out(s);
    for (auto& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string csvField(std::string_view s) {
    if (s.find_first_of(",\"\n\r") == std::string_view::npos) return std::string(s);
    std::string out = "\"";
    for (char c : s)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (auto& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(s);
    std::string out;
    out.reserve(s.size());
    std::size_t pos = 0;
    for (std::size_t hit; (hit = s.find(from, pos)) != std::string_view::npos;
         pos = hit + from.size()) {
        out.append(s.substr(pos, hit - pos));
        out.append(to);
    }
    out.append(s.substr(pos));
    return out;
}

std::vector<std::string> split(std::string_view s, char sep) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    for (std::size_t hit; (hit = s.find(sep, pos)) != std::string_view::npos; pos = hit + 1)
        out.emplace_back(s.substr(pos, hit - pos));
    out.emplace_back(s.substr(pos));
    return out;
}

std::vector<std::string> splitTopLevel(std::string_view s) {
    std::vector<std::string> out;
    std::size_t start = 0;
    forTopLevel(s, [&](std::size_t i) {
        if (s[i] == ',') {
            out.push_back(trim(s.substr(start, i - start)));
            start = i + 1;
        }
        return true;
    });
    out.push_back(trim(s.substr(start)));
    return out;
}

std::size_t findKeyword(std::string_view s, std::string_view word, std::size_t from) {
    std::size_t found = std::string_view::npos;
    forTopLevel(s, [&](std::size_t i) {
        if (i < from || !startsWithNoCase(s, i, word)) return true;
        bool before = i == 0 || !isWordChar(s[i - 1]);
        bool after = i + word.size() >= s.size() || !isWordChar(s[i + word.size()]);
        if (before && after) {
            found = i;
            return false;
        }
        return true;
    });
    return found;
}

std::optional<Block> parseBlock(std::string_view sql) {
    std::string text = trim(sql);
    if (!startsWithNoCase(text, 0, "begin") || text.size() < 6 || !isSpace(text[5]))
        return std::nullopt;
    // Drop the closing "end;" (the semicolon after "end" is optional).
    while (!text.empty() && (text.back() == ';' || isSpace(text.back())))
        text.pop_back();
    if (text.size() < 3 || !startsWithNoCase(text, text.size() - 3, "end")) return std::nullopt;
    std::string body = trim(std::string_view(text).substr(5, text.size() - 8));
    while (!body.empty() && (body.back() == ';' || isSpace(body.back())))
        body.pop_back();
    std::size_t n = 0;
    while (n < body.size() && (isWordChar(body[n]) || body[n] == '.'))
        ++n;
    if (n == 0) return std::nullopt;
    Block b{body.substr(0, n), {}};
    std::string rest = trim(std::string_view(body).substr(n));
    if (rest.empty()) return b;
    if (rest.front() != '(' || rest.back() != ')') return std::nullopt;
    std::string inner = trim(std::string_view(rest).substr(1, rest.size() - 2));
    if (!inner.empty()) b.args = splitTopLevel(inner);
    return b;
}

bool containsWord(std::string_view s, std::string_view word) {
    bool quoted = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\'') quoted = !quoted;
        if (quoted || !startsWithNoCase(s, i, word)) continue;
        bool before = i == 0 || !isWordChar(s[i - 1]);
        bool after = i + word.size() >= s.size() || !isWordChar(s[i + word.size()]);
        if (before && after) return true;
    }
    return false;
}

WideSelect rewriteWide(std::string_view sql) {
    static constexpr std::array<std::string_view, 10> kSummary{
        "M_CALL_NO", "M_TITLE",   "M_AUTHOR",  "M_PUBLISHER", "M_PUB_YEAR",
        "M_ISBN",    "M_CLASSNO", "M_HEADING", "M_SEE",       "M_SEEALSO"};
    WideSelect out;
    std::string text = trim(sql);
    std::size_t sel = findKeyword(text, "select");
    std::size_t from = findKeyword(text, "from", sel == std::string::npos ? 0 : sel);
    if (sel != 0 || from == std::string::npos) {
        out.sql = text;
        return out;
    }
    std::size_t listStart = 6;
    bool distinct = false;
    std::size_t d = findKeyword(text, "distinct", listStart);
    if (d != std::string::npos &&
        trim(std::string_view(text).substr(listStart, d - listStart)).empty()) {
        distinct = true;
        listStart = d + 8;
    }
    std::vector<std::string> items =
        splitTopLevel(std::string_view(text).substr(listStart, from - listStart));
    std::string list;
    for (std::size_t i = 0; i < items.size(); ++i) {
        std::string item = items[i];
        for (std::string_view col : kSummary) {
            if (containsWord(item, col)) {
                item = " dump(" + item + ",16) ";
                out.dumpedColumns.push_back(static_cast<int>(i));
                break;
            }
        }
        list += (i ? "," : "") + item;
    }
    out.sql = "SELECT " + std::string(distinct ? " DISTINCT " : "") + list + " FROM " +
              text.substr(from + 4);
    return out;
}

}  // namespace sqltext
