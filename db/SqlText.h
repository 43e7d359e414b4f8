// Text work on SQL statements: trimming and replacing, splitting at top-level commas (outside
// quotes and parentheses), recognising a procedure block, and the rewrite that reads
// national-character summary columns through dump().
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sqltext {

std::string trim(std::string_view s);
std::string upper(std::string_view s);
std::string lower(std::string_view s);
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);
std::vector<std::string> split(std::string_view s, char sep);
// A field of a CSV line: quoted (with doubled quotes) when it holds a comma, quote or line end.
std::string csvField(std::string_view s);
// Pieces separated by commas that are outside quotes and parentheses, each trimmed.
std::vector<std::string> splitTopLevel(std::string_view s);
// Position of the keyword as a whole word outside quotes and parentheses, ignoring case.
std::size_t findKeyword(std::string_view s, std::string_view word, std::size_t from = 0);

// True when the word occurs as a whole word outside quotes, at any depth, ignoring case.
bool containsWord(std::string_view s, std::string_view word);

// A LIKE pattern for texts that begin with `prefix`: its own "%" and "_" (and the escape
// character) are escaped, so they match only themselves. Follow the pattern with kLikeEscape.
std::string likePrefix(std::string_view prefix);
inline constexpr const char* kLikeEscape = " ESCAPE '!'";

// The statement with the values of password columns hidden ("password='***'", also in the
// value lists of an INSERT naming such a column) and any stored password hash, so that it
// can be written to a log.
std::string maskSecrets(std::string_view sql);

// "Begin name(arg, ...); end;"
struct Block {
    std::string name;
    std::vector<std::string> args;
};
std::optional<Block> parseBlock(std::string_view sql);

struct WideSelect {
    std::string sql;
    std::vector<int> dumpedColumns;
};
WideSelect rewriteWide(std::string_view sql);

}  // namespace sqltext
