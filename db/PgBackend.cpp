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
#include <functional>
#include <map>
#include <memory>

#include "db/DbBackend.h"
#include "db/DbRowReader.h"
#include "db/DbStatistics.h"
#include "db/LargeRead.h"

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

class PgBackend final : public DbBackend,
                        public DbStatistics,
                        public DbLargeRead,
                        public DbRowReader {
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
        prepared_.clear();
        pending_.clear();
        beginPending_ = false;
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

    long long executePrepared(const std::string& sql, const std::vector<LibVar>& args) override {
        PGresult* r = runPrepared({{sql, args}});
        const char* n = PQcmdTuples(r);
        long long changed = n && *n ? std::stoll(n) : 0;
        PQclear(r);
        return changed;
    }

    void executeBatch(const std::vector<BoundStatement>& batch) override {
        if (!batch.empty()) PQclear(runPrepared(batch));
    }

    std::size_t preparedCount() const override { return prepared_.size(); }

    RawResult query(const std::string& sql) override {
        RawResult out;
        fetch(sql, out.columns, [&](const std::vector<RawColumn>&, std::vector<LibVar>& cells) {
            out.rows.push_back(std::move(cells));
        });
        return out;
    }

    void queryEach(const std::string& sql, const DbRowFn& row) override {
        std::vector<RawColumn> columns;
        fetch(sql, columns,
              [&](const std::vector<RawColumn>& c, std::vector<LibVar>& cells) { row(c, cells); });
    }

    // A transaction's BEGIN, like its savepoints and their releases, waits to go with the next
    // command, in its round trip: an operation costs no trips for opening its transaction and
    // savepoints, and one that ran nothing costs none at all.
    void begin() override {
        requireOpen();
        if (inTransaction() || PQstatus(conn_) != CONNECTION_OK) return raw("BEGIN");
        pending_.push_back("BEGIN");
        beginPending_ = true;
    }
    void commit() override {
        if (beginPending_) {  // nothing was sent inside it
            pending_.clear();
            beginPending_ = false;
            return;
        }
        raw("COMMIT");
    }
    void rollback() override {
        const bool sent = !beginPending_;
        pending_.clear();
        beginPending_ = false;
        if (sent && inTransaction()) raw("ROLLBACK");
    }
    bool inTransaction() const override {
        if (!conn_) return false;
        auto s = PQtransactionStatus(conn_);
        return beginPending_ || s == PQTRANS_INTRANS || s == PQTRANS_INERROR;
    }
    void savepoint(const std::string& name) override {
        requireOpen();
        // Outside a healthy transaction the server's refusal is wanted now.
        if (!beginPending_ && PQtransactionStatus(conn_) != PQTRANS_INTRANS)
            return raw("SAVEPOINT " + name);
        pending_.push_back("SAVEPOINT " + name);
    }
    void releaseSavepoint(const std::string& name) override {
        requireOpen();
        if (!pending_.empty() && pending_.back() == "SAVEPOINT " + name)
            pending_.pop_back();
        else
            pending_.push_back("RELEASE SAVEPOINT " + name);
    }
    void rollbackToSavepoint(const std::string& name) override {
        // What waits after a savepoint that waits itself has not run: it is simply dropped.
        for (std::size_t i = pending_.size(); i-- > 0;)
            if (pending_[i] == "SAVEPOINT " + name) {
                pending_.resize(i + 1);
                return;
            }
        raw("ROLLBACK TO SAVEPOINT " + name);
    }

    std::string nowExpression() const override {
        return "to_char(localtimestamp, 'YYYY-MM-DD HH24:MI:SS')";
    }

    // Until autovacuum gets round to new rows the planner takes a freshly filled table for an
    // empty one, and a search on it can run for minutes.
    void analyze(const std::vector<std::string>& tables) override {
        std::string list;
        for (const std::string& t : tables)
            list += (list.empty() ? "" : ", ") + t;
        if (!list.empty()) execute("ANALYZE " + list);
    }

    // A plan over hundreds of thousands of index lookups passes the JIT threshold, and compiling
    // it costs more than it saves; its sorted result would spill to disk at the default 4 MB.
    void prepareLargeRead() override {
        execute("SET LOCAL jit = off");
        execute("SET LOCAL work_mem = '64MB'");
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

    // The statement's rows, each converted into cells and handed to `row`, which may take them.
    void fetch(
        const std::string& sql, std::vector<RawColumn>& columns,
        const std::function<void(const std::vector<RawColumn>&, std::vector<LibVar>&)>& row) {
        std::unique_ptr<PGresult, void (*)(PGresult*)> r(run(sql), PQclear);
        const int cols = PQnfields(r.get()), rows = PQntuples(r.get());
        for (int c = 0; c < cols; ++c)
            columns.push_back({PQfname(r.get(), c), typeFromOid(PQftype(r.get(), c))});
        std::vector<LibVar> cells;
        for (int i = 0; i < rows; ++i) {
            cells.clear();
            cells.reserve(cols);
            for (int c = 0; c < cols; ++c) {
                if (PQgetisnull(r.get(), i, c)) {
                    cells.push_back(LibVar::null());
                    continue;
                }
                const char* v = PQgetvalue(r.get(), i, c);
                const int t = columns[c].typeCode;
                if (t == kTypeInteger || t == kTypeLong || t == kTypeDouble)
                    cells.emplace_back(std::strtod(v, nullptr));
                else
                    cells.emplace_back(std::string(v, PQgetlength(r.get(), i, c)));
            }
            row(columns, cells);
        }
    }

    // Sends a statement's own commands (after the guard's savepoint, if any); returns how many
    // it sent. The result kept is the last one's.
    using Sender = std::function<int()>;

    // One statement, sent through the extended protocol, which refuses a text holding more than
    // one. Inside a transaction the statement is guarded by a savepoint, in the same round trip
    // (a pipeline), so that a failure undoes only this statement, as the program expects.
    // `body` sends something other than the plain text (a prepared statement's commands).
    PGresult* run(const std::string& sql, const Sender& body = {}) {
        requireOpen();
        if (sql.find('\0') != std::string::npos)
            throw DbError("ORA-00911: invalid character (NUL in the statement text)");
        requireStandardStrings();
        bool guarded = beginPending_ || PQtransactionStatus(conn_) == PQTRANS_INTRANS;
        std::string text = sql;
        while (!text.empty() &&
               (text.back() == ';' || std::isspace(static_cast<unsigned char>(text.back()))))
            text.pop_back();
        Sender sendBody = body ? body : Sender([&] {
            send(text);
            return 1;
        });
        std::vector<PGresult*> results;
        auto clearAll = [&] {
            for (PGresult* r : results)
                PQclear(r);
            results.clear();
        };
        int sent = 1;
        const std::vector<std::string> before = std::move(pending_);
        pending_.clear();
        beginPending_ = false;
        if (guarded || body || !before.empty()) {
            if (!PQenterPipelineMode(conn_)) throw DbError(translate(nullptr, sql));
            try {
                for (const std::string& command : before)
                    send(command);
                if (guarded) send("SAVEPOINT lib_stmt");
                sent = sendBody();
                if (guarded) send("RELEASE SAVEPOINT lib_stmt");
                if (!PQpipelineSync(conn_)) throw DbError(translate(nullptr, sql));
            } catch (const DbError&) {
                PQexitPipelineMode(conn_);
                throw;
            }
            // Each command's results end with a null; the sync ends the pipeline. A lost
            // connection ends the loop early.
            const int commands = static_cast<int>(before.size()) + sent + (guarded ? 2 : 0);
            for (int nulls = 0; nulls <= commands;) {
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
            sendBody();
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
        // The caller's result follows the waiting savepoints' and the guard's.
        std::size_t pick = before.size() + (guarded ? 1 : 0) + static_cast<std::size_t>(sent - 1);
        if (results.size() <= pick) {
            clearAll();
            throw DbError(translate(nullptr, sql));
        }
        PGresult* keep = nullptr;
        std::swap(keep, results[pick]);
        clearAll();
        return keep;
    }

    // Names of the statements prepared on this connection, by text. Past the limit a text is
    // sent unnamed, with its parameters, rather than prepared.
    static constexpr std::size_t kMaxPrepared = 256;
    std::map<std::string, std::string> prepared_;
    long names_ = 0;
    // Transaction and savepoint commands waiting for the next command to go with.
    std::vector<std::string> pending_;
    bool beginPending_ = false;  // the transaction's BEGIN is among them

    // The statements of a batch in one pipeline, each prepared on its first use; the last
    // one's result. Inside a transaction one savepoint guards the whole batch.
    PGresult* runPrepared(const std::vector<BoundStatement>& batch) {
        struct Sending {
            std::vector<std::string> values;
            std::vector<const char*> pointers;
            std::string name;
            bool prepare = false;
        };
        std::vector<Sending> out(batch.size());
        std::map<std::string, std::string> naming;  // texts first prepared by this batch
        for (std::size_t k = 0; k < batch.size(); ++k) {
            const BoundStatement& st = batch[k];
            if (st.sql.find('\0') != std::string::npos)
                throw DbError("ORA-00911: invalid character (NUL in the statement text)");
            Sending& o = out[k];
            o.values.resize(st.args.size());
            o.pointers.resize(st.args.size());
            for (std::size_t i = 0; i < st.args.size(); ++i) {
                if (st.args[i].isNull()) continue;
                o.values[i] = st.args[i].str();
                if (o.values[i].find('\0') != std::string::npos)
                    throw DbError("ORA-00911: invalid character (NUL in a value)");
                o.pointers[i] = o.values[i].c_str();
            }
            if (auto known = prepared_.find(st.sql); known != prepared_.end()) {
                o.name = known->second;
            } else if (auto now = naming.find(st.sql); now != naming.end()) {
                o.name = now->second;
            } else if (prepared_.size() + naming.size() < kMaxPrepared) {
                o.name = "lib_p" + std::to_string(++names_);
                o.prepare = true;
                naming.emplace(st.sql, o.name);
            }
        }
        auto sendAll = [&] {
            int sent = 0;
            for (std::size_t k = 0; k < batch.size(); ++k) {
                const Sending& o = out[k];
                const char* text = batch[k].sql.c_str();
                const int n = static_cast<int>(o.pointers.size());
                if (o.prepare) {
                    if (!PQsendPrepare(conn_, o.name.c_str(), text, 0, nullptr))
                        throw DbError(translate(nullptr, batch[k].sql));
                    ++sent;
                }
                bool ok = o.name.empty()
                              ? PQsendQueryParams(conn_, text, n, nullptr, o.pointers.data(),
                                                  nullptr, nullptr, 0)
                              : PQsendQueryPrepared(conn_, o.name.c_str(), n, o.pointers.data(),
                                                    nullptr, nullptr, 0);
                if (!ok) throw DbError(translate(nullptr, batch[k].sql));
                ++sent;
            }
            return sent;
        };
        try {
            PGresult* r = run(batch.back().sql, sendAll);
            prepared_.insert(naming.begin(), naming.end());
            return r;
        } catch (const DbError&) {
            // Statements may have been prepared although the batch failed: keep those that were.
            for (const auto& [text, name] : naming) {
                if (PQstatus(conn_) != CONNECTION_OK) break;
                PGresult* d = PQdescribePrepared(conn_, name.c_str());
                if (d && PQresultStatus(d) == PGRES_COMMAND_OK) prepared_.emplace(text, name);
                PQclear(d);
            }
            throw;
        }
    }

    // A command of its own, after the savepoint commands waiting for one (a simple query
    // runs them in order and stops at the first that fails).
    void raw(const std::string& sql) {
        requireOpen();
        std::string text;
        for (const std::string& command : pending_)
            text += command + "; ";
        pending_.clear();
        beginPending_ = false;
        text += sql;
        PGresult* r = PQexec(conn_, text.c_str());
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
