// What an operator types into a search box, made comparable with the index keys: an ISSN is
// found whether it is typed with or without its hyphen, with blanks, or with a lower-case
// check digit.
#pragma once

#include <string>

// "NNNN-NNNC" when the text, hyphens and blanks left out, is seven digits and a check digit
// (a digit or X, either case); empty otherwise.
std::string MarcIssnInput(const std::string& text);
