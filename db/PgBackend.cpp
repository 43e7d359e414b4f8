// PostgreSQL backend: the shared server for a library with many workstations.
//
// Two differences from the database the program's SQL was written for are absorbed here.
// A failed statement inside a transaction poisons the whole PostgreSQL transaction, whereas
// the program expects only that statement to fail; so inside a transaction each statement runs
// between a savepoint and its release, sent in the same round trip. And the server's error
// codes are translated into the Oracle-style texts that the error reporter reads.
#include <libpq-fe.h>

#include <cctype>
#include <cstring>

#include "db/DbBackend.h"

namespace {

const char* kShimFunctions[] = {
    R"(CREATE OR REPLACE FUNCTION nvl(text, text) RETURNS text LANGUAGE sql IMMUTABLE
       AS $$ SELECT COALESCE(NULLIF($1, ''), $2) $$)",
    R"(CREATE OR REPLACE FUNCTION nvl(numeric, numeric) RETURNS numeric LANGUAGE sql IMMUTABLE
       AS $$ SELECT COALESCE($1, $2) $$)",
    R"(CREATE OR REPLACE FUNCTION lpad(numeric, integer, text DEFAULT ' ') RETURNS text
       LANGUAGE sql IMMUTABLE AS $$ SELECT lpad(trim_scale($1)::text, $2, $3) $$)",
    R"(CREATE OR REPLACE FUNCTION rpad(numeric, integer, text DEFAULT ' ') RETURNS text
       LANGUAGE sql IMMUTABLE AS $$ SELECT rpad(trim_scale($1)::text, $2, $3) $$)",
    R"(CREATE OR REPLACE FUNCTION dump(t text, fmt integer) RETURNS text LANGUAGE plpgsql IMMUTABLE
       AS $$
       DECLARE
         r text := '';
         n integer := 0;
         c integer;
         u integer;
       BEGIN
         IF t IS NULL OR t = '' THEN RETURN 'NULL'; END IF;
         FOR i IN 1..length(t) LOOP
           c := ascii(substr(t, i, 1));
           IF c >= 65536 THEN
             c := c - 65536;
             u := 55296 + (c >> 10);
             r := r || ',' || to_hex(u >> 8) || ',' || to_hex(u & 255);
             u := 56320 + (c & 1023);
             r := r || ',' || to_hex(u >> 8) || ',' || to_hex(u & 255);
             n := n + 4;
           ELSE
             r := r || ',' || to_hex(c >> 8) || ',' || to_hex(c & 255);
             n := n + 2;
           END IF;
         END LOOP;
         RETURN 'Typ=1 Len=' || n || ': ' || substr(r, 2);
       END $$)",
    // Text ordered by its GBK bytes; characters GBK lacks sort after it as 0xFF + UTF-8.
    R"(CREATE OR REPLACE FUNCTION gbk(t text) RETURNS bytea LANGUAGE plpgsql IMMUTABLE
       AS $$
       DECLARE
         r bytea := '';
         ch text;
       BEGIN
         IF t IS NULL THEN RETURN NULL; END IF;
         RETURN convert_to(t, 'GBK');
       EXCEPTION WHEN OTHERS THEN
         FOR i IN 1..length(t) LOOP
           ch := substr(t, i, 1);
           BEGIN
             r := r || convert_to(ch, 'GBK');
           EXCEPTION WHEN OTHERS THEN
             r := r || '\xff'::bytea || convert_to(ch, 'UTF8');
           END;
         END LOOP;
         RETURN r;
       END $$)",
};

int typeFromOid(Oid oid) {
    switch (oid) {
        case 25:    // text
        case 1043:  // varchar
        case 1042:  // bpchar
        case 18:    // char
        case 19:    // name
        case 705:   // unknown (a bare literal)
            return kTypeText;
        case 21:  // int2
        case 23:  // int4
            return kTypeInteger;
        case 20:  // int8
            return kTypeLong;
        case 700:   // float4
        case 701:   // float8
        case 1700:  // numeric
            return kTypeDouble;
        case 1082:  // date
        case 1114:  // timestamp
        case 1184:  // timestamptz
            return kTypeDate;
        default:
            return kTypeRaw;
    }
}

std::string upper(std::string s) {
    for (auto& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string firstLine(const char* s) {
    std::string t = s ? s : "";
    while (!t.empty() && (t.back() == '\n' || t.back() == ' '))
        t.pop_back();
    return t;
}

bool startsWithWord(const std::string& sql, const char* word) {
    std::size_t i = sql.find_first_not_of(" \t\r\n(");
    if (i == std::string::npos) return false;
    std::size_t n = std::strlen(word);
    if (sql.size() < i + n) return false;
    for (std::size_t k = 0; k < n; ++k)
        if (std::tolower(static_cast<unsigned char>(sql[i + k])) != word[k]) return false;
    return true;
}

class PgBackend final : public DbBackend {
public:
    explicit PgBackend(const ConnectParams& p) {
        std::string host, port;
        if (!p.server.empty()) {
            auto colon = p.server.rfind(':');
            host = p.server.substr(0, colon);
            if (colon != std::string::npos) port = p.server.substr(colon + 1);
        }
        // Keys and values must outlive the connect call: keep owned copies of the values.
        std::vector<std::pair<const char*, std::string>> settings;
        auto add = [&](const char* k, const std::string& v) {
            if (!v.empty()) settings.emplace_back(k, v);
        };
        add("host", host);
        add("port", port);
        add("dbname", p.dsn);
        add("user", p.uid);
        add("password", p.pwd);
        add("client_encoding", "UTF8");
        add("connect_timeout", "10");
        add("application_name", "serials");
        std::vector<const char*> keys, values;
        for (const auto& [k, v] : settings) {
            keys.push_back(k);
            values.push_back(v.c_str());
        }
        keys.push_back(nullptr);
        values.push_back(nullptr);
        conn_ = PQconnectdbParams(keys.data(), values.data(), 0);
        if (PQstatus(conn_) != CONNECTION_OK) {
            std::string msg = firstLine(PQerrorMessage(conn_));
            PQfinish(conn_);
            conn_ = nullptr;
            throw DbError("ORA-12541: TNS:no listener (" + msg + ")");
        }
        PQsetNoticeProcessor(
            conn_, [](void*, const char*) {}, nullptr);
        execute("SET client_min_messages = warning");
        requireStandardStrings();
    }
    ~PgBackend() override { close(); }

    std::string name() const override { return "PostgreSQL"; }
    void close() override {
        if (conn_) PQfinish(conn_);
        conn_ = nullptr;
    }
    bool isOpen() const override { return conn_ && PQstatus(conn_) == CONNECTION_OK; }

    long long execute(const std::string& sql) override {
        PGresult* r = run(sql);
        const char* n = PQcmdTuples(r);
        long long changed = n && *n ? std::stoll(n) : 0;
        PQclear(r);
        return changed;
    }

    RawResult query(const std::string& sql) override {
        PGresult* r = run(sql);
        RawResult out;
        int cols = PQnfields(r), rows = PQntuples(r);
        for (int c = 0; c < cols; ++c)
            out.columns.push_back({PQfname(r, c), typeFromOid(PQftype(r, c))});
        out.rows.reserve(rows);
        for (int i = 0; i < rows; ++i) {
            std::vector<LibVar> row;
            row.reserve(cols);
            for (int c = 0; c < cols; ++c) {
                if (PQgetisnull(r, i, c)) {
                    row.push_back(LibVar::null());
                    continue;
                }
                std::string v(PQgetvalue(r, i, c), PQgetlength(r, i, c));
                int t = out.columns[c].typeCode;
                if (t == kTypeInteger || t == kTypeLong || t == kTypeDouble)
                    row.emplace_back(std::strtod(v.c_str(), nullptr));
                else
                    row.emplace_back(std::move(v));
            }
            out.rows.push_back(std::move(row));
        }
        PQclear(r);
        return out;
    }

    void begin() override { raw("BEGIN"); }
    void commit() override { raw("COMMIT"); }
    void rollback() override {
        if (inTransaction()) raw("ROLLBACK");
    }
    bool inTransaction() const override {
        if (!conn_) return false;
        auto s = PQtransactionStatus(conn_);
        return s == PQTRANS_INTRANS || s == PQTRANS_INERROR;
    }
    void savepoint(const std::string& name) override { raw("SAVEPOINT " + name); }
    void releaseSavepoint(const std::string& name) override { raw("RELEASE SAVEPOINT " + name); }
    void rollbackToSavepoint(const std::string& name) override {
        raw("ROLLBACK TO SAVEPOINT " + name);
    }

    std::string nowExpression() const override {
        return "to_char(localtimestamp, 'YYYY-MM-DD HH24:MI:SS')";
    }

    int columnSize(const std::string& table, const std::string& column) override {
        RawResult r = query(
            "SELECT character_maximum_length FROM information_schema.columns WHERE "
            "table_schema=current_schema() AND table_name=lower(" +
            quote(table) + ") AND column_name=lower(" + quote(column) + ")");
        return r.rows.empty() ? 0 : static_cast<int>(r.rows[0][0].num());
    }

    void dropTables(const std::vector<std::string>& tables) override {
        if (tables.empty()) return;
        std::string list;
        for (const auto& t : tables)
            list += (list.empty() ? "" : ", ") + t;
        execute("DROP TABLE " + list);
    }
    std::vector<std::string> tableNames() override {
        std::vector<std::string> out;
        for (const auto& row :
             query("SELECT table_name FROM information_schema.tables WHERE "
                   "table_schema=current_schema() AND table_type='BASE TABLE' ORDER BY table_name")
                 .rows)
            out.push_back(row[0].str());
        return out;
    }

    void beforeSchema() override {
        for (const char* f : kShimFunctions)
            execute(f);
    }
    void afterSchema() override {}

private:
    PGconn* conn_ = nullptr;

    static std::string quote(const std::string& v) {
        std::string q = "'";
        for (char c : v)
            q += c == '\'' ? std::string("''") : std::string(1, c);
        return q + "'";
    }

    void requireOpen() const {
        if (!conn_) throw DbError("ORA-03114: not connected to ORACLE");
    }

    // With standard strings off a backslash in a literal escapes the next character, so a
    // quote the program doubled could end the literal early. Every session runs with them on,
    // and a statement that switched them off is undone before the next one is sent.
    void requireStandardStrings() {
        if (standardStrings()) return;
        raw("SET standard_conforming_strings = on");
        if (!standardStrings())
            throw DbError("ORA-12705: standard_conforming_strings cannot be switched on");
    }
    bool standardStrings() const {
        const char* v = PQparameterStatus(conn_, "standard_conforming_strings");
        return v && std::strcmp(v, "on") == 0;
    }

    void send(const std::string& sql) {
        if (!PQsendQueryParams(conn_, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0))
            throw DbError(translate(nullptr, sql));
    }

    // One statement, sent through the extended protocol, which refuses a text holding more than
    // one. Inside a transaction the statement is guarded by a savepoint, in the same round trip
    // (a pipeline), so that a failure undoes only this statement, as the program expects.
    PGresult* run(const std::string& sql) {
        requireOpen();
        if (sql.find('\0') != std::string::npos)
            throw DbError("ORA-00911: invalid character (NUL in the statement text)");
        requireStandardStrings();
        bool guarded = PQtransactionStatus(conn_) == PQTRANS_INTRANS;
        std::string body = sql;
        while (!body.empty() &&
               (body.back() == ';' || std::isspace(static_cast<unsigned char>(body.back()))))
            body.pop_back();
        std::vector<PGresult*> results;
        auto clearAll = [&] {
            for (PGresult* r : results)
                PQclear(r);
            results.clear();
        };
        if (guarded) {
            if (!PQenterPipelineMode(conn_)) throw DbError(translate(nullptr, sql));
            try {
                send("SAVEPOINT lib_stmt");
                send(body);
                send("RELEASE SAVEPOINT lib_stmt");
                if (!PQpipelineSync(conn_)) throw DbError(translate(nullptr, sql));
            } catch (const DbError&) {
                PQexitPipelineMode(conn_);
                throw;
            }
            // Each of the three statements' results ends with a null; the sync ends the
            // pipeline. A lost connection ends the loop early.
            for (int nulls = 0; nulls <= 3;) {
                PGresult* r = PQgetResult(conn_);
                if (!r) {
                    if (PQstatus(conn_) != CONNECTION_OK) break;
                    ++nulls;
                    continue;
                }
                if (PQresultStatus(r) == PGRES_PIPELINE_SYNC) {
                    PQclear(r);
                    break;
                }
                results.push_back(r);
            }
            PQexitPipelineMode(conn_);
        } else {
            send(body);
            while (PGresult* r = PQgetResult(conn_))
                results.push_back(r);
        }
        for (PGresult* r : results) {
            auto st = PQresultStatus(r);
            if (st != PGRES_FATAL_ERROR && st != PGRES_BAD_RESPONSE) continue;
            std::string ora = translate(r, sql);
            clearAll();
            if (guarded && PQstatus(conn_) == CONNECTION_OK)
                PQclear(
                    PQexec(conn_, "ROLLBACK TO SAVEPOINT lib_stmt; RELEASE SAVEPOINT lib_stmt"));
            throw DbError(ora);
        }
        // Guarded, the caller's result lies between the savepoint's and the release's.
        std::size_t pick = guarded ? 1 : 0;
        if (results.size() <= pick) {
            clearAll();
            throw DbError(translate(nullptr, sql));
        }
        PGresult* keep = nullptr;
        std::swap(keep, results[pick]);
        clearAll();
        return keep;
    }

    void raw(const std::string& sql) {
        requireOpen();
        PGresult* r = PQexec(conn_, sql.c_str());
        auto st = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
        if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK) {
            std::string t = translate(r, sql);
            PQclear(r);
            throw DbError(t);
        }
        PQclear(r);
    }

    std::string translate(const PGresult* r, const std::string& sql) {
        const char* state = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
        std::string code = state ? state : "";
        std::string msg = firstLine(r ? PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY) : nullptr);
        if (msg.empty()) msg = firstLine(PQerrorMessage(conn_));
        const char* cons = r ? PQresultErrorField(r, PG_DIAG_CONSTRAINT_NAME) : nullptr;
        std::string name = upper(cons ? cons : "");
        if (PQstatus(conn_) != CONNECTION_OK || code.rfind("08", 0) == 0 || code == "57P01" ||
            code == "57P02" || code == "57P03")
            return "ORA-03113: end-of-file on communication channel (" + msg + ")";
        if (code == "23505") return "ORA-00001: unique constraint (" + name + ") violated";
        if (code == "23503") {
            // The primary message says which side failed; the statement's verb decides when
            // the server speaks another language.
            bool parentSide =
                msg.rfind("update or delete on table", 0) == 0 ||
                (msg.rfind("insert or update", 0) != 0 && startsWithWord(sql, "delete"));
            return parentSide ? "ORA-02292: integrity constraint (" + name +
                                    ") violated - child record found"
                              : "ORA-02291: integrity constraint (" + name +
                                    ") violated - parent key not found";
        }
        if (code == "23502") return "ORA-01400: cannot insert NULL (" + msg + ")";
        if (code == "23514") return "ORA-02290: check constraint (" + name + ") violated";
        if (code == "55P03")
            return "ORA-00054: resource busy and acquire with NOWAIT specified (" + msg + ")";
        if (code == "40P01") return "ORA-00060: deadlock detected while waiting for resource";
        if (code == "42601") return "ORA-00900: invalid SQL statement (" + msg + ")";
        if (code == "42P01") return "ORA-00942: table or view does not exist (" + msg + ")";
        if (code == "42703" || code == "42883")
            return "ORA-00904: invalid identifier (" + msg + ")";
        if (code == "22001") return "ORA-12899: value too large for column (" + msg + ")";
        if (code == "22P02" || code == "22003") return "ORA-01722: invalid number (" + msg + ")";
        if (code == "22012") return "ORA-01476: divisor is equal to zero";
        return "ORA-00600: internal error code, arguments: [postgresql " + code + "], " + msg;
    }
};

}  // namespace

std::unique_ptr<DbBackend> openPgBackend(const ConnectParams& p) {
    return std::make_unique<PgBackend>(p);
}
