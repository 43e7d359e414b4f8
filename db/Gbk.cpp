// The two GBK tables are built once from the C library's converter and then used directly:
// conversion sits on the hot path of MARC parsing, where a converter call per field is too slow.
#include "db/Gbk.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

struct GbkTables {
    std::vector<std::uint16_t> toGbk;    // UTF-16 code unit -> GBK double byte (0: none)
    std::vector<std::uint16_t> fromGbk;  // GBK double byte -> UTF-16 code unit (0: none)

    GbkTables() : toGbk(0x10000, 0), fromGbk(0x10000, 0) {
        iconv_t cd = iconv_open("UTF-16LE", "GBK");
        if (cd == reinterpret_cast<iconv_t>(-1)) return;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (trail == 0x7F) continue;
                char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                char out[8];
                char* ip = in;
                char* op = out;
                size_t il = 2, ol = sizeof out;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || ol != 6) continue;
                std::uint16_t u =
                    static_cast<unsigned char>(out[0]) | (static_cast<unsigned char>(out[1]) << 8);
                std::uint16_t g = static_cast<std::uint16_t>(lead << 8 | trail);
                fromGbk[g] = u;
                if (toGbk[u] == 0) toGbk[u] = g;
            }
        }
        iconv_close(cd);
    }
};

const GbkTables& tables() {
    static const GbkTables t;
    return t;
}

}  // namespace

char32_t nextCodePoint(std::string_view s, std::size_t& pos) {
    auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char c = b(pos);
    if (c < 0x80) {
        ++pos;
        return c;
    }
    int len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
    if (len == 0 || c > 0xF4 || pos + len > s.size()) {
        ++pos;
        return 0xFFFD;
    }
    char32_t cp = c & (0x3F >> (len - 1));
    for (int i = 1; i < len; ++i) {
        unsigned char t = b(pos + i);
        if ((t & 0xC0) != 0x80) {
            ++pos;
            return 0xFFFD;
        }
        cp = cp << 6 | (t & 0x3F);
    }
    static constexpr std::array<char32_t, 5> minimum{0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return 0xFFFD;
    }
    pos += len;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool isValidUtf8(std::string_view s) {
    for (std::size_t pos = 0; pos < s.size();) {
        std::size_t at = pos;
        if (nextCodePoint(s, pos) == 0xFFFD) {
            // A literal U+FFFD is valid; a decoding failure advances by one byte only.
            if (pos - at != 3 || s.substr(at, 3) != "\xEF\xBF\xBD") return false;
        }
    }
    return true;
}

std::string utf8ToGbk(std::string_view utf8) {
    const auto& t = tables();
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t cp = nextCodePoint(utf8, pos);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (std::uint16_t g = cp < 0x10000 ? t.toGbk[cp] : 0) {
            out += static_cast<char>(g >> 8);
            out += static_cast<char>(g & 0xFF);
        } else {
            out += '?';
        }
    }
    return out;
}

std::string gbkToUtf8(std::string_view gbk) {
    const auto& t = tables();
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    for (std::size_t i = 0; i < gbk.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(gbk[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        unsigned char trail = i + 1 < gbk.size() ? static_cast<unsigned char>(gbk[i + 1]) : 0;
        if (c >= 0x81 && c <= 0xFE && trail >= 0x40 && trail != 0x7F && trail != 0xFF) {
            // A pair in the double-byte range stays one character even when unassigned, so
            // the text after it keeps its alignment.
            std::uint16_t u = t.fromGbk[static_cast<std::uint16_t>(c << 8 | trail)];
            appendUtf8(out, u ? u : 0xFFFD);
            ++i;
            continue;
        }
        appendUtf8(out, 0xFFFD);
    }
    return out;
}

std::size_t gbkLength(std::string_view utf8) {
    const auto& t = tables();
    std::size_t n = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t cp = nextCodePoint(utf8, pos);
        n += (cp >= 0x80 && cp < 0x10000 && t.toGbk[cp]) ? 2 : 1;
    }
    return n;
}

bool fitsGbk(std::string_view utf8) {
    const auto& t = tables();
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t cp = nextCodePoint(utf8, pos);
        if (cp >= 0x80 && (cp >= 0x10000 || !t.toGbk[cp])) return false;
    }
    return true;
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t cp = nextCodePoint(utf8, pos);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size() * 3);
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::string utf8Left(std::string_view s, std::size_t chars) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) continue;
        if (count++ == chars) return std::string(s.substr(0, i));
    }
    return std::string(s);
}
