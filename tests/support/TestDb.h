// Test databases on both backends. A database is installed once per process and backend (a
// template), then copied for each test, so every test starts from the same fresh state.
// PostgreSQL comes from SERIALS_TEST_PG (host:port) and SERIALS_TEST_PG_USER, which
// scripts/test sets; without them PostgreSQL cases are skipped.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "db/SchemaInstaller.h"
#include "tests/support/ScriptedPresenter.h"

extern const char* const kSqlite;
extern const char* const kPostgres;
// The workstation the demo data assigns the demo operators to, in tests.
extern const char* const kDemoComputer;
// Templates are installed as init-db installs, with the passwords hashed, except that ROOT
// (password ROOT) is not marked for a change at its first login.
// Demo data (operators, code tables in use) with the demo workstation named kDemoComputer.
InstallOptions demoInstall();
// MARC chunk columns as national-character text.
InstallOptions unicodeMarcInstall();

bool postgresAvailable();

// A program directory (mavren.ini, LOG, TMP, ...) whose settings point at a fresh database.
class TestHome {
public:
    TestHome(const std::string& backend, const InstallOptions& options = {});
    ~TestHome();
    TestHome(const TestHome&) = delete;
    TestHome& operator=(const TestHome&) = delete;

    const std::string& dir() const { return dir_; }
    const std::string& backend() const { return backend_; }
    const std::string& databaseName() const { return dbName_; }
    // Rewrites mavren.ini with these lines instead of the working settings.
    void writeIni(const std::string& text) const;
    std::string workingIni() const { return ini_; }

private:
    std::string backend_;
    std::string dir_;
    std::string dbName_;
    std::string ini_;
};

// Runs start-up's environment, connect and base-data steps on the home; fails the test when
// one of them fails.
void openSession(const TestHome& home);
// Closes the session and forgets every process-wide state a test may have changed.
void resetProcessState();

// Throws instead of ending the process.
struct ExitRequested {
    int code;
};
void installThrowingExit();

// Fixture for tests that run on both backends with an open session.
// Fixture for tests that run on both backends on a fresh home (program directory and
// database), with messages scripted and the program's end turned into ExitRequested; the
// session is not opened (start-up is what such tests exercise).
class HomeTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override;
    void TearDown() override;
    virtual InstallOptions installOptions() const { return {}; }

    std::unique_ptr<TestHome> home;
    ScriptedPresenter presenter;
};

// The same, with the session opened by the real start-up.
class DbTest : public HomeTest {
protected:
    void SetUp() override;
};

std::string backendName(const ::testing::TestParamInfo<std::string>& info);

#define SERIALS_ON_BOTH_BACKENDS(Fixture) \
    INSTANTIATE_TEST_SUITE_P(Backends, Fixture, ::testing::Values(kSqlite, kPostgres), backendName)

// A value of a one-row, one-column query (through a direct backend call, not the session).
std::string scalar(const std::string& sql);
// Every row of the tables as text, sorted, to compare a database before and after.
std::string tableSnapshot(std::initializer_list<const char*> tables);
