#include "db/ProcRegistry.h"

#include <cctype>
#include <map>

#include "db/basLibDB.h"

namespace {

std::string lowerName(const std::string& s) {
    std::string out = s;
    for (auto& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::map<std::string, ProcFn>& registry() {
    static std::map<std::string, ProcFn> procs = [] {
        std::map<std::string, ProcFn> m;
        m["sys_getserverdate"] = [](ProcCall& c) {
            c.expectArgs(1);
            c.setOut(0, c.now());
        };
        return m;
    }();
    return procs;
}

std::string wrongArgs(const std::string& name) {
    return "ORA-06550: line 1, column 7: PLS-00306: wrong number or types of arguments in call to "
           "'" +
           name + "'";
}

}  // namespace

const LibVar& ProcCall::arg(std::size_t i) const {
    if (i >= args_.size()) throw DbError(wrongArgs(name_));
    return args_[i];
}

void ProcCall::expectArgs(std::size_t n) const {
    if (args_.size() != n) throw DbError(wrongArgs(name_));
}

void ProcCall::setOut(std::size_t i, LibVar v) {
    if (i >= out_.size()) throw DbError(wrongArgs(name_));
    out_[i] = std::move(v);
}

std::string ProcCall::now() const {
    return LIB_DB_ServerNow();
}

void LIB_DB_RegisterProc(const std::string& name, ProcFn fn) {
    registry()[lowerName(name)] = std::move(fn);
}

const ProcFn* LIB_DB_FindProc(const std::string& name) {
    auto& r = registry();
    auto it = r.find(lowerName(name));
    return it == r.end() ? nullptr : &it->second;
}

std::string procLiteral(const LibVar& v, ProcCol kind) {
    if (kind == ProcCol::Text) return v.isNull() ? "NULL" : LIB_SqlStr(v.str());
    if (v.isNull() || v.isEmpty() ||
        (v.isText() && v.str().find_first_not_of(' ') == std::string::npos))
        return "NULL";
    return formatNumber(v.num());
}

void procInsertRow(ProcCall& c, const char* table, const std::vector<ProcColumn>& cols) {
    c.expectArgs(cols.size());
    std::string names, values;
    std::size_t i = 0;
    for (const ProcColumn& col : cols) {
        names += std::string(i ? "," : "") + col.name;
        values += std::string(i ? "," : "") + procLiteral(c.arg(i), col.kind);
        ++i;
    }
    c.db().execute("INSERT INTO " + std::string(table) + " (" + names + ") VALUES (" + values +
                   ")");
}

void raiseApplicationError(int number, const std::string& text) {
    throw DbError("ORA-" + std::to_string(number) + ": " + text);
}
