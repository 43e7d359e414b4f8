// MARC-8, the character set of many MARC 21 records (leader position 9 blank), read into UTF-8
// through yaz's converter, and the composed (NFC) form that keys and searches expect.
#pragma once

#include <string>
#include <string_view>

typedef struct yaz_iconv_struct* yaz_iconv_t;

class Marc8Decoder {
public:
    Marc8Decoder();
    ~Marc8Decoder();
    Marc8Decoder(const Marc8Decoder&) = delete;
    Marc8Decoder& operator=(const Marc8Decoder&) = delete;

    // One field's bytes, each field starting in the default character sets. False when some
    // bytes were not MARC-8; they are left out and the rest is converted.
    bool decode(std::string_view marc8, std::string& utf8);

private:
    yaz_iconv_t cd_;
};

// Combining marks composed with their letters where Unicode has a composed character.
std::string Utf8Composed(std::string_view utf8);
