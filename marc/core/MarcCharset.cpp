// MARC-8 writes a combining mark before its letter and switches character sets with escape
// sequences; yaz undoes both and hands back decomposed UTF-8, which ICU then composes.
#include "marc/core/MarcCharset.h"

#include <unicode/unorm2.h>
#include <yaz/yaz-iconv.h>

#include <stdexcept>

#include "db/Gbk.h"

Marc8Decoder::Marc8Decoder() : cd_(yaz_iconv_open("UTF-8", "MARC8")) {
    if (!cd_) throw std::runtime_error("yaz: no MARC-8 converter");
}

Marc8Decoder::~Marc8Decoder() {
    yaz_iconv_close(cd_);
}

bool Marc8Decoder::decode(std::string_view marc8, std::string& utf8) {
    bool clean = true;
    std::string out(marc8.size() * 3 + 16, '\0');
    std::string in(marc8);
    char* inp = in.data();
    std::size_t inLeft = in.size();
    char* outp = out.data();
    std::size_t outLeft = out.size();
    auto grow = [&] {
        std::size_t used = static_cast<std::size_t>(outp - out.data());
        out.resize(out.size() * 2);
        outp = out.data() + used;
        outLeft = out.size() - used;
    };
    while (inLeft > 0) {
        if (yaz_iconv(cd_, &inp, &inLeft, &outp, &outLeft) != static_cast<std::size_t>(-1))
            continue;
        int e = yaz_iconv_error(cd_);
        if (e == YAZ_ICONV_E2BIG) {
            grow();
        } else {
            clean = false;
            if (e == YAZ_ICONV_EINVAL) break;  // cut short at the end of the field
            ++inp;
            --inLeft;
        }
    }
    // Ends any open escape sequence so that the next field starts afresh.
    while (yaz_iconv(cd_, nullptr, nullptr, &outp, &outLeft) == static_cast<std::size_t>(-1) &&
           yaz_iconv_error(cd_) == YAZ_ICONV_E2BIG)
        grow();
    yaz_iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(outp - out.data()));
    utf8 = Utf8Composed(out);
    return clean;
}

std::string Utf8Composed(std::string_view utf8) {
    bool ascii = true;
    for (unsigned char c : utf8)
        ascii = ascii && c < 0x80;
    if (ascii) return std::string(utf8);
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    std::u16string in = utf8ToUtf16(utf8);
    std::u16string out(in.size() + 8, u'\0');
    int32_t n = unorm2_normalize(
        nfc, reinterpret_cast<const UChar*>(in.data()), static_cast<int32_t>(in.size()),
        reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        status = U_ZERO_ERROR;
        out.resize(static_cast<std::size_t>(n));
        n = unorm2_normalize(nfc, reinterpret_cast<const UChar*>(in.data()),
                             static_cast<int32_t>(in.size()), reinterpret_cast<UChar*>(out.data()),
                             n, &status);
    }
    if (U_FAILURE(status)) return std::string(utf8);
    out.resize(static_cast<std::size_t>(n));
    return utf16ToUtf8(out);
}
