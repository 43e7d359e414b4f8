#include "db/SqlShims.h"

#include <cstdio>

#include "db/Gbk.h"

namespace shims {

namespace {
int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

std::string unistr(std::string_view s) {
    std::u16string units;
    std::string out;
    auto flush = [&] {
        out += utf16ToUtf8(units);
        units.clear();
    };
    for (std::size_t i = 0; i < s.size();) {
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == '\\') {
            flush();
            out += '\\';
            i += 2;
            continue;
        }
        if (s[i] == '\\' && i + 4 < s.size()) {
            int v = 0;
            bool ok = true;
            for (std::size_t k = 1; ok && k <= 4; ++k) {
                int h = hexValue(s[i + k]);
                ok = h >= 0;
                v = v * 16 + h;
            }
            if (ok) {
                units += static_cast<char16_t>(v);
                i += 5;
                continue;
            }
        }
        flush();
        out += s[i++];
    }
    flush();
    return out;
}

std::string dump16(std::string_view utf8) {
    std::u16string u = utf8ToUtf16(utf8);
    std::string out = "Typ=1 Len=" + std::to_string(u.size() * 2) + ": ";
    char buf[8];
    for (std::size_t i = 0; i < u.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%s%x,%x", i ? "," : "", u[i] >> 8, u[i] & 0xFF);
        out += buf;
    }
    return out;
}

std::optional<std::string> pad(std::string_view text, long long width, std::string_view fill,
                               bool left) {
    if (width <= 0 || fill.empty()) return std::nullopt;
    std::u32string chars, fillChars;
    for (std::size_t p = 0; p < text.size();)
        chars += nextCodePoint(text, p);
    for (std::size_t p = 0; p < fill.size();)
        fillChars += nextCodePoint(fill, p);
    auto n = static_cast<std::size_t>(width);
    if (chars.size() >= n) {
        chars.resize(n);
    } else {
        std::u32string padding;
        while (padding.size() < n - chars.size())
            padding += fillChars[padding.size() % fillChars.size()];
        chars = left ? padding + chars : chars + padding;
    }
    std::string out;
    for (char32_t c : chars)
        appendUtf8(out, c);
    return out;
}

std::string gbkKey(std::string_view utf8) {
    if (fitsGbk(utf8)) return utf8ToGbk(utf8);
    // Keep the order total and stable: GBK bytes where they exist, else 0xFF + UTF-8 bytes.
    std::string out;
    for (std::size_t p = 0; p < utf8.size();) {
        std::size_t at = p;
        nextCodePoint(utf8, p);
        std::string_view one = utf8.substr(at, p - at);
        if (fitsGbk(one)) {
            out += utf8ToGbk(one);
        } else {
            out += '\xFF';
            out += one;
        }
    }
    return out;
}

}  // namespace shims
