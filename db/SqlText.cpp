#include "db/SqlText.h"

#include <algorithm>
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

namespace {
struct Token {
    enum Kind { Word, Literal, Mark } kind;
    std::size_t begin, end;  // a literal's span covers its quotes (and an E before them)
};

std::vector<Token> tokens(std::string_view s) {
    std::vector<Token> out;
    for (std::size_t i = 0; i < s.size();) {
        char c = s[i];
        bool escapes = (c == 'E' || c == 'e') && i + 1 < s.size() && s[i + 1] == '\'' &&
                       (i == 0 || !isWordChar(s[i - 1]));
        if (c == '\'' || escapes) {
            std::size_t j = i + (escapes ? 2 : 1);
            for (; j < s.size(); ++j) {
                if (escapes && s[j] == '\\') {
                    ++j;
                } else if (s[j] == '\'') {
                    if (j + 1 < s.size() && s[j + 1] == '\'') {
                        ++j;
                        continue;
                    }
                    break;
                }
            }
            j = std::min(j + 1, s.size());
            out.push_back({Token::Literal, i, j});
            i = j;
        } else if (isWordChar(c)) {
            std::size_t j = i;
            while (j < s.size() && isWordChar(s[j]))
                ++j;
            out.push_back({Token::Word, i, j});
            i = j;
        } else {
            if (!isSpace(c)) out.push_back({Token::Mark, i, i + 1});
            ++i;
        }
    }
    return out;
}

bool isSecretColumn(std::string_view word) {
    std::string w = lower(word);
    auto dot = w.rfind('.');
    if (dot != std::string::npos) w = w.substr(dot + 1);
    return w == "password" || w == "pwd_hash" || w == "passwd" || w == "pwd";
}
}  // namespace

std::string maskSecrets(std::string_view sql) {
    std::vector<Token> t = tokens(sql);
    std::vector<bool> hide(t.size(), false);
    auto text = [&](std::size_t k) { return sql.substr(t[k].begin, t[k].end - t[k].begin); };
    auto mark = [&](std::size_t k, char c) {
        return k < t.size() && t[k].kind == Token::Mark && sql[t[k].begin] == c;
    };
    for (std::size_t k = 0; k < t.size(); ++k) {
        if (t[k].kind == Token::Literal && text(k).find("$argon2") != std::string_view::npos)
            hide[k] = true;
        if (t[k].kind != Token::Word || !isSecretColumn(text(k))) continue;
        // password = '...', password <> '...', password != '...'
        std::size_t v = k + 1;
        while (v < t.size() && v <= k + 2 &&
               (mark(v, '=') || mark(v, '<') || mark(v, '>') || mark(v, '!')))
            ++v;
        if (v > k + 1 && v < t.size() && t[v].kind == Token::Literal) hide[v] = true;
    }
    // INSERT INTO t (a, password) VALUES ('x', 'secret'), ...: the columns' positions.
    for (std::size_t k = 0; k < t.size(); ++k) {
        if (t[k].kind != Token::Word || lower(text(k)) != "values" || k == 0 || !mark(k - 1, ')'))
            continue;
        std::size_t open = k - 1;
        while (open > 0 && !mark(open, '('))
            --open;
        std::vector<bool> secret;
        bool current = false;
        for (std::size_t c = open + 1; c < k - 1; ++c) {
            if (mark(c, ',')) {
                secret.push_back(current);
                current = false;
            } else if (t[c].kind == Token::Word && isSecretColumn(text(c))) {
                current = true;
            }
        }
        secret.push_back(current);
        int depth = 0;
        std::size_t item = 0;
        for (std::size_t c = k + 1; c < t.size(); ++c) {
            if (mark(c, '(')) {
                if (++depth == 1) item = 0;
            } else if (mark(c, ')')) {
                --depth;
            } else if (depth == 1 && mark(c, ',')) {
                ++item;
            } else if (depth >= 1 && t[c].kind == Token::Literal && item < secret.size() &&
                       secret[item]) {
                hide[c] = true;
            }
        }
    }
    std::string out;
    std::size_t pos = 0;
    for (std::size_t k = 0; k < t.size(); ++k) {
        if (!hide[k]) continue;
        out.append(sql.substr(pos, t[k].begin - pos));
        out += "'***'";
        pos = t[k].end;
    }
    out.append(sql.substr(pos));
    return out;
}

std::string likePrefix(std::string_view prefix) {
    std::string out;
    out.reserve(prefix.size() + 1);
    for (char c : prefix) {
        if (c == '!' || c == '%' || c == '_') out += '!';
        out += c;
    }
    return out + "%";
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
