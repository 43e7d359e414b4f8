// What an operator types into a search box, made comparable with the index keys: an ISSN is
// found whether it is typed with or without its hyphen, with blanks, or with a lower-case
// check digit.
#pragma once

#include <string>

// "NNNN-NNNC" when the text, hyphens and blanks left out, is seven digits and a check digit
// (a digit or X, either case); empty otherwise.
std::string MarcIssnInput(const std::string& text);

// The index group of ISBNs: its keys are also written without hyphens and blanks, so that an ISBN
// is found however it was catalogued and however it is typed.
inline constexpr const char* kMarcIsbnGroup = "04";
// The ISBN without hyphens and blanks, its check digit upper case, when the text is shaped like
// one (ten characters, the last a digit or X, or thirteen digits that are not an ISSN bar code);
// empty otherwise.
std::string MarcIsbnInput(const std::string& text);
