#include "marc/core/SearchInput.h"

#include <cctype>

namespace {

// Hyphens and blanks left out, upper case; empty unless it is `length` digits, the last of which
// may be X when `checkX`.
std::string bareCode(const std::string& text, std::size_t length, bool checkX) {
    std::string bare;
    for (char c : text) {
        if (c == '-' || c == ' ' || c == '\t') continue;
        bare += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (bare.size() != length) return {};
    for (std::size_t i = 0; i < length; ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(bare[i])) != 0;
        if (!digit && !(checkX && i == length - 1 && bare[i] == 'X')) return {};
    }
    return bare;
}

}  // namespace

std::string MarcIssnInput(const std::string& text) {
    std::string bare = bareCode(text, 8, true);
    return bare.empty() ? bare : bare.substr(0, 4) + "-" + bare.substr(4);
}

std::string MarcIsbnInput(const std::string& text) {
    if (std::string ten = bareCode(text, 10, true); !ten.empty()) return ten;
    std::string thirteen = bareCode(text, 13, false);
    return thirteen.rfind("977", 0) == 0 ? "" : thirteen;
}
