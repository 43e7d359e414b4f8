// A backend that passes everything to the session's real one while counting what it is asked
// to do, and fails the n-th step on request: for counting a load's queries and for failure
// injection at every step of a multi-row write. Steps are statements, queries, begins,
// commits and savepoints (taken and released), counted together in the order they happen, so
// that failing each step in turn fails the begin, every statement and the commit.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "db/DbBackend.h"
#include "db/DbStatistics.h"
#include "db/basLibDB.h"

class ProbeBackend : public DbBackend, public DbStatistics {
public:
    explicit ProbeBackend(std::unique_ptr<DbBackend> real) : real_(std::move(real)) {}

    // Wraps the session's open database; the wrapper owns it from then on.
    static ProbeBackend& install();

    int queries = 0;
    int statements = 0;    // execute() calls
    int transactions = 0;  // begins, commits and savepoints taken or released
    // Fails the step with this 1-based number; 0: never.
    int failAt = 0;
    // Fail every begin or commit of the outermost transaction (savepoints are not affected).
    bool failBegin = false;
    bool failCommit = false;
    // What the failed step was ("begin", "commit", "savepoint", "release", or the SQL).
    std::string failed;
    // Tables whose statistics were asked for, in order.
    std::vector<std::string> analyzed;
    void reset() {
        queries = statements = transactions = 0;
        failed.clear();
    }
    int steps() const { return queries + statements + transactions; }

    std::string name() const override { return real_->name(); }
    void close() override { real_->close(); }
    bool isOpen() const override { return real_->isOpen(); }
    long long execute(const std::string& sql) override {
        ++statements;
        check(sql);
        return real_->execute(sql);
    }
    RawResult query(const std::string& sql) override {
        ++queries;
        check(sql);
        return real_->query(sql);
    }
    void begin() override {
        ++transactions;
        if (failBegin) fail("begin");
        check("begin");
        real_->begin();
    }
    void commit() override {
        ++transactions;
        if (failCommit) fail("commit");
        check("commit");
        real_->commit();
    }
    void rollback() override { real_->rollback(); }
    bool inTransaction() const override { return real_->inTransaction(); }
    void savepoint(const std::string& n) override {
        ++transactions;
        check("savepoint");
        real_->savepoint(n);
    }
    void releaseSavepoint(const std::string& n) override {
        ++transactions;
        check("release");
        real_->releaseSavepoint(n);
    }
    void rollbackToSavepoint(const std::string& n) override { real_->rollbackToSavepoint(n); }
    void analyze(const std::vector<std::string>& tables) override {
        analyzed.insert(analyzed.end(), tables.begin(), tables.end());
        if (auto* stats = dynamic_cast<DbStatistics*>(real_.get())) stats->analyze(tables);
    }
    std::string nowExpression() const override { return real_->nowExpression(); }
    int columnSize(const std::string& t, const std::string& c) override {
        return real_->columnSize(t, c);
    }
    std::vector<std::string> tableNames() override { return real_->tableNames(); }
    void dropTables(const std::vector<std::string>& t) override { real_->dropTables(t); }
    void beforeSchema() override { real_->beforeSchema(); }
    void afterSchema() override { real_->afterSchema(); }

private:
    void check(const std::string& what) {
        if (failAt > 0 && steps() == failAt) fail(what);
    }
    void fail(const std::string& what) {
        failed = what;
        throw DbError("ORA-01013: user requested cancel of current operation (" + what + ")");
    }
    std::unique_ptr<DbBackend> real_;
};

inline ProbeBackend& ProbeBackend::install() {
    auto probe = std::make_unique<ProbeBackend>(std::move(g_OraDatabase));
    ProbeBackend& p = *probe;
    g_OraDatabase = std::move(probe);
    return p;
}
