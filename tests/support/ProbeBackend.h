// A backend that passes everything to the session's real one while counting statements and
// queries, and fails the n-th statement on request: for counting a load's queries and for
// failure injection at each statement of a multi-row write.
#pragma once

#include <memory>
#include <string>

#include "db/DbBackend.h"
#include "db/basLibDB.h"

class ProbeBackend : public DbBackend {
public:
    explicit ProbeBackend(std::unique_ptr<DbBackend> real) : real_(std::move(real)) {}

    // Wraps the session's open database; the wrapper owns it from then on.
    static ProbeBackend& install();

    int queries = 0;
    int statements = 0;  // execute() calls
    // Fails the statement or query with this 1-based number (both counted together); 0: never.
    int failAt = 0;
    // Fail the next begin (or savepoint) and the next commit (or release) when set.
    bool failBegin = false;
    bool failCommit = false;
    void reset() { queries = statements = 0; }

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
        checkBegin();
        real_->begin();
    }
    void commit() override {
        checkCommit();
        real_->commit();
    }
    void rollback() override { real_->rollback(); }
    bool inTransaction() const override { return real_->inTransaction(); }
    void savepoint(const std::string& n) override {
        checkBegin();
        real_->savepoint(n);
    }
    void releaseSavepoint(const std::string& n) override {
        checkCommit();
        real_->releaseSavepoint(n);
    }
    void rollbackToSavepoint(const std::string& n) override { real_->rollbackToSavepoint(n); }
    std::string nowExpression() const override { return real_->nowExpression(); }
    int columnSize(const std::string& t, const std::string& c) override {
        return real_->columnSize(t, c);
    }
    std::vector<std::string> tableNames() override { return real_->tableNames(); }
    void beforeSchema() override { real_->beforeSchema(); }
    void afterSchema() override { real_->afterSchema(); }

private:
    void checkBegin() {
        if (failBegin)
            throw DbError("ORA-01013: user requested cancel of current operation (begin)");
    }
    void checkCommit() {
        if (failCommit)
            throw DbError("ORA-01013: user requested cancel of current operation (commit)");
    }
    void check(const std::string& sql) {
        if (failAt > 0 && queries + statements == failAt)
            throw DbError("ORA-01013: user requested cancel of current operation (" + sql + ")");
    }
    std::unique_ptr<DbBackend> real_;
};

inline ProbeBackend& ProbeBackend::install() {
    auto probe = std::make_unique<ProbeBackend>(std::move(g_OraDatabase));
    ProbeBackend& p = *probe;
    g_OraDatabase = std::move(probe);
    return p;
}
