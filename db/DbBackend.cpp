#include "db/DbBackend.h"

#include <cctype>

namespace {

std::string literal(const LibVar& v) {
    if (v.isNull()) return "NULL";
    if (v.isNumber()) return v.str();
    std::string out = "'";
    for (char c : v.str())
        out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

}  // namespace

std::string sqlWithLiterals(const std::string& sql, const std::vector<LibVar>& args) {
    std::string out;
    out.reserve(sql.size() + args.size() * 16);
    bool quoted = false;
    for (std::size_t i = 0; i < sql.size(); ++i) {
        char c = sql[i];
        if (c == '\'') quoted = !quoted;
        if (quoted || c != '$' || i + 1 >= sql.size() ||
            !std::isdigit(static_cast<unsigned char>(sql[i + 1]))) {
            out += c;
            continue;
        }
        std::size_t end = i + 1, n = 0;
        for (; end < sql.size() && std::isdigit(static_cast<unsigned char>(sql[end])); ++end)
            n = n * 10 + static_cast<std::size_t>(sql[end] - '0');
        if (n == 0 || n > args.size())
            throw DbError("ORA-01008: not all variables bound (" + sql.substr(i, end - i) + ")");
        out += literal(args[n - 1]);
        i = end - 1;
    }
    return out;
}

long long DbBackend::executePrepared(const std::string& sql, const std::vector<LibVar>& args) {
    return execute(sqlWithLiterals(sql, args));
}

void DbBackend::executeBatch(const std::vector<BoundStatement>& batch) {
    for (const BoundStatement& s : batch)
        executePrepared(s.sql, s.args);
}
