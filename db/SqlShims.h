// The Oracle functions that statements of this system use and that SQLite lacks, in plain C++
// so that the SQLite backend can register them and tests can check them directly. PostgreSQL
// gets the same functions in SQL when a database is created (see PgBackend).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace shims {

// unistr('\4E2D\6587'): backslash + four hex digits is one UTF-16 code unit (surrogate pairs
// combine), "\\" is a backslash; anything else is taken literally.
std::string unistr(std::string_view escaped);
// dump(text,16) as the national character set shows it: "Typ=1 Len=n: 4e,2d" over the UTF-16
// big-endian bytes of the text.
std::string dump16(std::string_view utf8);
// lpad/rpad: pad or cut to `width` characters; an empty or NULL result is NULL (nullopt).
std::optional<std::string> pad(std::string_view text, long long width, std::string_view fill,
                               bool left);
// Sort key that orders text by its GBK bytes; characters outside GBK sort after all GBK text.
std::string gbkKey(std::string_view utf8);

}  // namespace shims
