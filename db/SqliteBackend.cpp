// SQLite backend: the embedded default, one database file per library.
//
// SQLite reports neither constraint names nor which side of a foreign key failed, so the
// backend supplies both: unique failures are mapped back to the constraint or index that
// covers the reported columns, and foreign keys are enforced by triggers generated from the
// schema, which raise the Oracle text themselves. Writers serialise on the database file, so a
// transaction takes the write lock at its start and "FOR UPDATE" is dropped.
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <regex>
#include <set>
#include <unordered_map>

#include "db/DbBackend.h"
#include "db/DbRowReader.h"
#include "db/DbStatistics.h"
#include "db/SqlShims.h"

namespace {

std::string lower(std::string s) {
    for (auto& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string upper(std::string s) {
    for (auto& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::vector<std::string> splitColumns(const std::string& list) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : list + ",") {
        if (c == ',') {
            auto b = cur.find_first_not_of(" \t\r\n");
            auto e = cur.find_last_not_of(" \t\r\n");
            if (b != std::string::npos) out.push_back(lower(cur.substr(b, e - b + 1)));
            cur.clear();
        } else {
            cur += c;
        }
    }
    return out;
}

std::string textArg(sqlite3_value* v) {
    const unsigned char* t = sqlite3_value_text(v);
    return t ? std::string(reinterpret_cast<const char*>(t), sqlite3_value_bytes(v))
             : std::string();
}

void resultText(sqlite3_context* ctx, const std::string& s) {
    sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

// Oracle's nvl, with Oracle's view that an empty text is NULL.
void fnNvl(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* a = argv[0];
    bool absent = sqlite3_value_type(a) == SQLITE_NULL ||
                  (sqlite3_value_type(a) == SQLITE_TEXT && sqlite3_value_bytes(a) == 0);
    sqlite3_result_value(ctx, absent ? argv[1] : a);
}

void fnPad(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool left) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    std::string fill = argc > 2 ? textArg(argv[2]) : " ";
    auto r = shims::pad(textArg(argv[0]), sqlite3_value_int64(argv[1]), fill, left);
    if (r)
        resultText(ctx, *r);
    else
        sqlite3_result_null(ctx);
}
void fnLpad(sqlite3_context* c, int n, sqlite3_value** v) {
    fnPad(c, n, v, true);
}
void fnRpad(sqlite3_context* c, int n, sqlite3_value** v) {
    fnPad(c, n, v, false);
}

void fnUnistr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    resultText(ctx, shims::unistr(textArg(argv[0])));
}

void fnDump(sqlite3_context* ctx, int, sqlite3_value** argv) {
    std::string t = textArg(argv[0]);
    resultText(ctx, t.empty() ? "NULL" : shims::dump16(t));
}

// PostgreSQL's byte length of text, which this SQLite lacks.
void fnOctetLength(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(textArg(argv[0]).size()));
}

void fnGbk(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    std::string k = shims::gbkKey(textArg(argv[0]));
    sqlite3_result_blob(ctx, k.data(), static_cast<int>(k.size()), SQLITE_TRANSIENT);
}

int typeFromDecl(const char* decl) {
    std::string d = decl ? upper(decl) : "";
    if (d.find("INT") != std::string::npos) return kTypeInteger;
    if (d.find("CHAR") != std::string::npos || d.find("TEXT") != std::string::npos ||
        d.find("CLOB") != std::string::npos)
        return kTypeText;
    for (const char* k : {"NUM", "DEC", "REAL", "DOUB", "FLOA"})
        if (d.find(k) != std::string::npos) return kTypeDouble;
    if (d.find("DATE") != std::string::npos || d.find("TIME") != std::string::npos)
        return kTypeDate;
    if (d.find("BLOB") != std::string::npos) return kTypeRaw;
    return 0;
}

int typeFromValue(int sqliteType) {
    switch (sqliteType) {
        case SQLITE_INTEGER:
            return kTypeInteger;
        case SQLITE_FLOAT:
            return kTypeDouble;
        case SQLITE_BLOB:
            return kTypeRaw;
        default:
            return kTypeText;
    }
}

class SqliteBackend final : public DbBackend, public DbStatistics, public DbRowReader {
public:
    explicit SqliteBackend(const ConnectParams& p) {
        int flags = SQLITE_OPEN_READWRITE | (p.create ? SQLITE_OPEN_CREATE : 0);
        int rc = sqlite3_open_v2(p.dsn.c_str(), &db_, flags, nullptr);
        if (rc != SQLITE_OK) {
            std::string msg = db_ ? sqlite3_errmsg(db_) : "out of memory";
            sqlite3_close(db_);
            db_ = nullptr;
            throw DbError("ORA-12154: TNS:could not resolve the connect identifier specified (" +
                          p.dsn + ": " + msg + ")");
        }
        sqlite3_busy_timeout(db_, 5000);
        sqlite3_extended_result_codes(db_, 1);
        struct Fn {
            const char* name;
            int args;
            void (*fn)(sqlite3_context*, int, sqlite3_value**);
        };
        for (const Fn& f :
             {Fn{"nvl", 2, fnNvl}, Fn{"lpad", 2, fnLpad}, Fn{"lpad", 3, fnLpad},
              Fn{"rpad", 2, fnRpad}, Fn{"rpad", 3, fnRpad}, Fn{"unistr", 1, fnUnistr},
              Fn{"dump", 2, fnDump}, Fn{"gbk", 1, fnGbk}, Fn{"octet_length", 1, fnOctetLength}})
            sqlite3_create_function(db_, f.name, f.args, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                    nullptr, f.fn, nullptr, nullptr);
        execute("PRAGMA case_sensitive_like=ON");
        execute("PRAGMA foreign_keys=OFF");
        execute("PRAGMA journal_mode=WAL");
        execute("PRAGMA synchronous=NORMAL");
        // A catalogue load touches index pages all over the file. A cache that holds a whole
        // batch (16 MB) writes each page to the log once at its commit instead of spilling it on
        // the way, and a longer log between checkpoints copies a hot page back to the file once
        // for many commits. The undo copies that a savepoint or a statement keeps of the pages it
        // changes (a record's worth, dropped when it is released) stay in memory: in a file they
        // cost a system call a page, most of an import's time. What a commit guarantees is
        // unchanged.
        execute("PRAGMA cache_size=-16384");
        execute("PRAGMA wal_autocheckpoint=4000");
        execute("PRAGMA temp_store=MEMORY");
        // Reads map the file instead of copying each page through a system call into the cache:
        // a search that seeks all over a large library (the claim candidates: hundreds of
        // thousands of index seeks) spent a third of its time there. Writes are unchanged.
        execute("PRAGMA mmap_size=2147418112");
    }
    ~SqliteBackend() override { close(); }

    std::string name() const override { return "SQLite"; }
    void close() override {
        for (auto& [text, st] : prepared_)
            sqlite3_finalize(st.stmt);
        prepared_.clear();
        if (db_) sqlite3_close_v2(db_);
        db_ = nullptr;
    }
    bool isOpen() const override { return db_ != nullptr; }

    long long execute(const std::string& sql) override {
        sqlite3_stmt* st = prepareOne(sql);
        if (!st) return 0;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) fail(st);
        sqlite3_finalize(st);
        return sqlite3_changes(db_);
    }

    long long executePrepared(const std::string& sql, const std::vector<LibVar>& args) override {
        Prepared& p = preparedFor(sql);
        sqlite3_stmt* st = p.stmt;
        for (std::size_t i = 0; i < p.argOf.size(); ++i) {
            int at = static_cast<int>(i) + 1;
            if (p.argOf[i] >= args.size())
                throw DbError("ORA-01008: not all variables bound (" + sql + ")");
            const LibVar& v = args[p.argOf[i]];
            if (v.isNull()) {
                sqlite3_bind_null(st, at);
            } else if (v.isNumber()) {
                double d = v.num();
                auto whole = static_cast<sqlite3_int64>(d);
                if (static_cast<double>(whole) == d)
                    sqlite3_bind_int64(st, at, whole);
                else
                    sqlite3_bind_double(st, at, d);
            } else {
                std::string text = v.str();
                if (text.find('\0') != std::string::npos) {
                    sqlite3_clear_bindings(st);
                    throw DbError("ORA-00911: invalid character (NUL in a value)");
                }
                sqlite3_bind_text(st, at, text.data(), static_cast<int>(text.size()),
                                  SQLITE_TRANSIENT);
            }
        }
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) {
            int code = sqlite3_extended_errcode(db_);
            std::string msg = sqlite3_errmsg(db_);
            sqlite3_reset(st);
            sqlite3_clear_bindings(st);
            throw DbError(translate(code, msg));
        }
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
        return sqlite3_changes(db_);
    }

    std::size_t preparedCount() const override { return prepared_.size(); }

    RawResult query(const std::string& sql) override {
        RawResult r;
        fetch(sql, r.columns, [&](const std::vector<RawColumn>&, std::vector<LibVar>& cells) {
            r.rows.push_back(std::move(cells));
        });
        for (auto& c : r.columns)
            if (c.typeCode == 0) c.typeCode = kTypeText;
        return r;
    }

    void queryEach(const std::string& sql, const DbRowFn& row) override {
        std::vector<RawColumn> columns;
        fetch(sql, columns,
              [&](const std::vector<RawColumn>& c, std::vector<LibVar>& cells) { row(c, cells); });
    }

    void begin() override { execute("BEGIN IMMEDIATE"); }
    void commit() override { execute("COMMIT"); }
    void rollback() override {
        if (inTransaction()) execute("ROLLBACK");
    }
    bool inTransaction() const override { return db_ && !sqlite3_get_autocommit(db_); }
    void savepoint(const std::string& name) override { execute("SAVEPOINT " + name); }
    void releaseSavepoint(const std::string& name) override {
        execute("RELEASE SAVEPOINT " + name);
    }
    void rollbackToSavepoint(const std::string& name) override {
        execute("ROLLBACK TO SAVEPOINT " + name);
    }

    std::string nowExpression() const override {
        return "strftime('%Y-%m-%d %H:%M:%S','now','localtime')";
    }

    // Nothing: without statistics SQLite plans from the schema alone, which is what every query
    // here was written against; statistics for a few tables would change the plans of the
    // queries that join them with the rest.
    void analyze(const std::vector<std::string>&) override {}

    int columnSize(const std::string& table, const std::string& column) override {
        RawResult r = query("PRAGMA table_info(" + table + ")");
        for (const auto& row : r.rows) {
            if (lower(row[1].str()) != lower(column)) continue;
            static const std::regex size(R"(\(\s*(\d+))");
            std::smatch m;
            std::string type = row[2].str();
            return std::regex_search(type, m, size) ? std::stoi(m[1]) : 0;
        }
        return 0;
    }

    // Foreign keys are triggers here, which go with their table.
    // References are triggers here, dropped with their tables.
    void dropTables(const std::vector<std::string>& tables) override {
        for (const auto& t : tables)
            execute("DROP TABLE " + t);
    }
    std::vector<std::string> tableNames() override {
        std::vector<std::string> out;
        for (const auto& row :
             query("SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%' "
                   "ORDER BY name")
                 .rows)
            out.push_back(row[0].str());
        return out;
    }

    void beforeSchema() override {}

    void afterSchema() override {
        static const std::regex fk(
            R"(CONSTRAINT\s+(\w+)\s+FOREIGN\s+KEY\s*\(([^)]*)\)\s*REFERENCES\s+(\w+)\s*\(([^)]*)\))",
            std::regex::icase);
        auto tables =
            query("SELECT name, sql FROM sqlite_master WHERE type='table' AND sql IS NOT NULL");
        for (const auto& t : tables.rows) {
            std::string child = t[0].str(), ddl = t[1].str();
            for (std::sregex_iterator it(ddl.begin(), ddl.end(), fk), end; it != end; ++it)
                createForeignKeyTriggers(upper((*it)[1]), child, splitColumns((*it)[2]), (*it)[3],
                                         splitColumns((*it)[4]));
        }
    }

private:
    sqlite3* db_ = nullptr;

    // A statement kept for reuse, with the argument index of each of its parameters.
    struct Prepared {
        sqlite3_stmt* stmt = nullptr;
        std::vector<std::size_t> argOf;
    };
    // Loads make statements of a few dozen shapes; past this many the least likely to recur
    // (all of them, for simplicity) are dropped rather than let the cache grow without end.
    static constexpr std::size_t kMaxPrepared = 256;
    // Hashed: the texts of multi-row inserts run to kilobytes and share long beginnings.
    std::unordered_map<std::string, Prepared> prepared_;

    Prepared& preparedFor(const std::string& sql) {
        if (auto it = prepared_.find(sql); it != prepared_.end()) return it->second;
        if (prepared_.size() >= kMaxPrepared) {
            for (auto& [text, st] : prepared_)
                sqlite3_finalize(st.stmt);
            prepared_.clear();
        }
        sqlite3_stmt* st = prepareOne(sql);
        if (!st) throw DbError("ORA-00900: invalid SQL statement (empty)");
        Prepared p{st, {}};
        int n = sqlite3_bind_parameter_count(st);
        for (int i = 1; i <= n; ++i) {
            const char* name = sqlite3_bind_parameter_name(st, i);
            long k = name && name[0] == '$' ? std::strtol(name + 1, nullptr, 10) : 0;
            if (k <= 0) {
                sqlite3_finalize(st);
                throw DbError("ORA-01008: not all variables bound (" + sql + ")");
            }
            p.argOf.push_back(static_cast<std::size_t>(k - 1));
        }
        return prepared_.emplace(sql, p).first->second;
    }

    void requireOpen() const {
        if (!db_) throw DbError("ORA-03114: not connected to ORACLE");
    }

    // The statement's rows, each converted into cells and handed to `row`, which may take them.
    // An expression has no declared type: its first value that is not NULL decides.
    void fetch(
        const std::string& sql, std::vector<RawColumn>& columns,
        const std::function<void(const std::vector<RawColumn>&, std::vector<LibVar>&)>& row) {
        sqlite3_stmt* st = prepareOne(sql);
        if (!st) fail();
        int n = sqlite3_column_count(st);
        for (int i = 0; i < n; ++i)
            columns.push_back(
                {sqlite3_column_name(st, i), typeFromDecl(sqlite3_column_decltype(st, i))});
        std::vector<bool> typed(n);
        for (int i = 0; i < n; ++i)
            typed[i] = columns[i].typeCode != 0;
        std::vector<LibVar> cells;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            cells.clear();
            cells.reserve(n);
            for (int i = 0; i < n; ++i) {
                int t = sqlite3_column_type(st, i);
                if (!typed[i] && t != SQLITE_NULL) {
                    columns[i].typeCode = typeFromValue(t);
                    typed[i] = true;
                }
                switch (t) {
                    case SQLITE_NULL:
                        cells.push_back(LibVar::null());
                        break;
                    case SQLITE_INTEGER:
                        cells.emplace_back(static_cast<long long>(sqlite3_column_int64(st, i)));
                        break;
                    case SQLITE_FLOAT:
                        cells.emplace_back(sqlite3_column_double(st, i));
                        break;
                    default:
                        cells.emplace_back(
                            std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                        sqlite3_column_bytes(st, i)));
                }
            }
            row(columns, cells);
        }
        if (rc != SQLITE_DONE) fail(st);
        sqlite3_finalize(st);
    }

    // Exactly one statement: a text that holds a second one after the first is refused before
    // anything runs, and so is one that a NUL byte would cut short.
    // Null for a text of only blanks and comments.
    sqlite3_stmt* prepareOne(const std::string& sql) {
        requireOpen();
        if (sql.find('\0') != std::string::npos)
            throw DbError("ORA-00911: invalid character (NUL in the statement text)");
        std::string text = stripForUpdate(sql);
        sqlite3_stmt* st = nullptr;
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(db_, text.c_str(), static_cast<int>(text.size()), &st, &tail) !=
            SQLITE_OK)
            fail(st);
        if (!st) return nullptr;  // only blanks or comments
        sqlite3_stmt* next = nullptr;
        int rc = sqlite3_prepare_v2(db_, tail, -1, &next, nullptr);
        if (rc != SQLITE_OK || next) {
            sqlite3_finalize(next);
            sqlite3_finalize(st);
            throw DbError("ORA-00933: SQL command not properly ended (more than one statement)");
        }
        return st;
    }

    static std::string stripForUpdate(const std::string& sql) {
        static const std::regex forUpdate(
            R"(\s+FOR\s+UPDATE(\s+OF\s+[\w.]+(\s*,\s*[\w.]+)*)?(\s+NOWAIT|\s+WAIT\s+\d+)?\s*$)",
            std::regex::icase);
        if (sql.find_first_of("Ff") == std::string::npos) return sql;
        return std::regex_replace(sql, forUpdate, "");
    }

    void createForeignKeyTriggers(const std::string& name, const std::string& child,
                                  const std::vector<std::string>& childCols,
                                  const std::string& parent,
                                  const std::vector<std::string>& parentCols) {
        auto join = [&](const std::string& childSide, const std::string& parentSide,
                        const char* glue) {
            std::string s;
            for (std::size_t i = 0; i < childCols.size(); ++i)
                s += (i ? glue : "") + childSide + childCols[i] + "=" + parentSide + parentCols[i];
            return s;
        };
        auto changed = [&](const std::vector<std::string>& cols) {
            std::string s;
            for (std::size_t i = 0; i < cols.size(); ++i)
                s += (i ? " OR " : "") + std::string("OLD.") + cols[i] + " IS NOT NEW." + cols[i];
            return s;
        };
        auto notNull = [&] {
            std::string s;
            for (std::size_t i = 0; i < childCols.size(); ++i)
                s += (i ? " AND " : "") + std::string("NEW.") + childCols[i] + " IS NOT NULL";
            return s;
        };
        std::string referenced =
            "ORA-02292: integrity constraint (" + name + ") violated - child record found";
        std::string missing =
            "ORA-02291: integrity constraint (" + name + ") violated - parent key not found";
        std::string stillUsed =
            "EXISTS (SELECT 1 FROM " + child + " WHERE " + join(child + ".", "OLD.", " AND ") + ")";
        std::string noParent = "NOT EXISTS (SELECT 1 FROM " + parent + " WHERE " +
                               join("NEW.", parent + ".", " AND ") + ")";
        std::string colList;
        for (std::size_t i = 0; i < parentCols.size(); ++i)
            colList += (i ? "," : "") + parentCols[i];
        std::string childColList;
        for (std::size_t i = 0; i < childCols.size(); ++i)
            childColList += (i ? "," : "") + childCols[i];
        auto trigger = [&](const std::string& suffix, const std::string& event,
                           const std::string& when, const std::string& text) {
            execute("DROP TRIGGER IF EXISTS " + name + suffix);
            execute("CREATE TRIGGER " + name + suffix + " BEFORE " + event + " FOR EACH ROW WHEN " +
                    when + " BEGIN SELECT RAISE(ABORT, '" + text + "'); END");
        };
        trigger("_PD", "DELETE ON " + parent, stillUsed, referenced);
        trigger("_PU", "UPDATE OF " + colList + " ON " + parent,
                "(" + changed(parentCols) + ") AND " + stillUsed, referenced);
        trigger("_CI", "INSERT ON " + child, notNull() + " AND " + noParent, missing);
        trigger("_CU", "UPDATE OF " + childColList + " ON " + child, notNull() + " AND " + noParent,
                missing);
    }

    // The name of the primary key, unique constraint or unique index on exactly these columns.
    std::string uniqueName(const std::string& table, std::vector<std::string> cols) {
        std::sort(cols.begin(), cols.end());
        auto same = [&](std::vector<std::string> c) {
            std::sort(c.begin(), c.end());
            return c == cols;
        };
        static const std::regex named(
            R"(CONSTRAINT\s+(\w+)\s+(PRIMARY\s+KEY|UNIQUE)\s*\(([^)]*)\))", std::regex::icase);
        std::string esc;
        for (char c : table)
            esc += c == '\'' ? std::string("''") : std::string(1, c);
        auto ddl = query("SELECT sql FROM sqlite_master WHERE type='table' AND name='" + esc + "'");
        if (!ddl.rows.empty()) {
            std::string s = ddl.rows[0][0].str();
            for (std::sregex_iterator it(s.begin(), s.end(), named), end; it != end; ++it)
                if (same(splitColumns((*it)[3]))) return upper((*it)[1]);
        }
        auto idx = query(
            "SELECT name FROM sqlite_master WHERE type='index' AND sql IS NOT NULL AND tbl_name='" +
            esc + "'");
        for (const auto& row : idx.rows) {
            std::vector<std::string> c;
            for (const auto& info : query("PRAGMA index_info(" + row[0].str() + ")").rows)
                c.push_back(lower(info[2].str()));
            if (same(c)) return upper(row[0].str());
        }
        return upper(table);
    }

    std::string translate(int rc, const std::string& msg) {
        if (msg.rfind("ORA-", 0) == 0) return msg;  // raised by a generated trigger
        int primary = rc & 0xFF;
        static const std::regex unique(R"(UNIQUE constraint failed: (\w+)\.(\w+)((, \w+\.\w+)*))");
        std::smatch m;
        if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) {
            if (std::regex_search(msg, m, unique)) {
                std::vector<std::string> cols{lower(m[2])};
                std::string rest = m[3];
                static const std::regex more(R"(\w+\.(\w+))");
                for (std::sregex_iterator it(rest.begin(), rest.end(), more), end; it != end; ++it)
                    cols.push_back(lower((*it)[1]));
                return "ORA-00001: unique constraint (" + uniqueName(m[1], cols) + ") violated";
            }
            return "ORA-00001: unique constraint violated (" + msg + ")";
        }
        if (rc == SQLITE_CONSTRAINT_NOTNULL) return "ORA-01400: cannot insert NULL (" + msg + ")";
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
            return "ORA-00054: resource busy and acquire with NOWAIT specified or timeout expired";
        if (primary == SQLITE_CONSTRAINT)
            return "ORA-02290: check constraint violated (" + msg + ")";
        if (msg.find("syntax error") != std::string::npos ||
            msg.find("incomplete input") != std::string::npos)
            return "ORA-00900: invalid SQL statement (" + msg + ")";
        if (msg.rfind("no such table", 0) == 0)
            return "ORA-00942: table or view does not exist (" + msg + ")";
        if (msg.rfind("no such column", 0) == 0)
            return "ORA-00904: invalid identifier (" + msg + ")";
        if (msg.rfind("no such function", 0) == 0 ||
            msg.find("wrong number of arguments") != std::string::npos)
            return "ORA-00904: invalid identifier (" + msg + ")";
        if (primary == SQLITE_NOTADB || primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR)
            return "ORA-03113: end-of-file on communication channel (" + msg + ")";
        return "ORA-00600: internal error code, arguments: [sqlite " + std::to_string(rc) + "], " +
               msg;
    }

    // Reads the error before the statement is finalised, which would reset it.
    [[noreturn]] void fail(sqlite3_stmt* st = nullptr) {
        int rc = sqlite3_extended_errcode(db_);
        std::string msg = sqlite3_errmsg(db_);
        if (st) sqlite3_finalize(st);
        throw DbError(translate(rc, msg));
    }
};

}  // namespace

std::unique_ptr<DbBackend> openSqliteBackend(const ConnectParams& p) {
    return std::make_unique<SqliteBackend>(p);
}
