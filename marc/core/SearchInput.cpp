#include "marc/core/SearchInput.h"

#include <cctype>

std::string MarcIssnInput(const std::string& text) {
    std::string bare;
    for (char c : text) {
        if (c == '-' || c == ' ' || c == '\t') continue;
        bare += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (bare.size() != 8) return {};
    for (std::size_t i = 0; i < 8; ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(bare[i])) != 0;
        if (!digit && !(i == 7 && bare[i] == 'X')) return {};
    }
    return bare.substr(0, 4) + "-" + bare.substr(4);
}
