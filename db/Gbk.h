// GBK (code page 936) conversions and byte counting. Text is UTF-8 everywhere in memory;
// wherever the system counts bytes (MARC lengths, key widths, sort order) it counts the bytes
// the text has in GBK. A character that GBK lacks becomes "?" (one byte), as the code page's
// default character would.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

std::string utf8ToGbk(std::string_view utf8);
std::string gbkToUtf8(std::string_view gbk);
// Number of bytes the text takes in GBK.
std::size_t gbkLength(std::string_view utf8);
// True when every character of the text has a GBK form.
bool fitsGbk(std::string_view utf8);
bool isValidUtf8(std::string_view s);

std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

// Decode one UTF-8 character at `pos` (advanced past it); malformed bytes decode as U+FFFD.
char32_t nextCodePoint(std::string_view s, std::size_t& pos);
// The first `chars` characters of a UTF-8 text (columns that count characters, not bytes).
std::string utf8Left(std::string_view s, std::size_t chars);
void appendUtf8(std::string& out, char32_t cp);
