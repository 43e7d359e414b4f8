// Schema versions: init-db records the program's version; upgrade steps run one transaction
// each and keep every row of a demo database; a failing step changes nothing of its own; the
// client and serialsctl refuse a database of another version and say what to run.
#include <gtest/gtest.h>

#include "app/basQKMain.h"
#include "common/basQKEnv.h"
#include "db/SchemaUpgrade.h"
#include "db/basLibDB.h"
#include "marc/core/MarcImport.h"
#include "tests/support/CtlRun.h"
#include "tests/support/FaultSteps.h"
#include "tests/support/TestDb.h"

namespace {

// Every row of every table but the version table, to find after an upgrade.
std::string everyRow() {
    std::string out;
    for (const std::string& t : g_OraDatabase->tableNames()) {
        if (t == "sys_schema_version") continue;
        RawResult r = g_OraDatabase->query("SELECT * FROM " + t);
        std::vector<std::string> rows;
        for (const auto& row : r.rows) {
            std::string line;
            // Only the columns the table had before the upgrade.
            for (std::size_t c = 0; c < row.size() && r.columns[c].name != "upgrade_note"; ++c)
                line += row[c].str() + "|";
            rows.push_back(line);
        }
        std::sort(rows.begin(), rows.end());
        out += t + ": " + std::to_string(rows.size()) + "\n";
        for (const auto& l : rows)
            out += "  " + l + "\n";
    }
    return out;
}

class Upgrade : public DbTest {
protected:
    InstallOptions installOptions() const override { return demoInstall(); }
};
SERIALS_ON_BOTH_BACKENDS(Upgrade);

// Two steps of a later program than this one: the database is at this program's version.
std::vector<UpgradeStep> laterSteps() {
    const int base = programSchemaVersion();
    return {{base + 1, "901_order_note.sql",
             "ALTER TABLE m_peri_ord_lst ADD upgrade_note VARCHAR(20);\n"
             "UPDATE m_peri_ord_lst SET upgrade_note='旧目录';\n"},
            {base + 2, "902_order_note_index.sql",
             "CREATE INDEX M_PERI_ORD_LST_NOTE_IDX ON m_peri_ord_lst (upgrade_note);\n"}};
}

TEST_P(Upgrade, NewDatabaseCarriesTheProgramsVersion) {
    EXPECT_EQ(databaseSchemaVersion(*g_OraDatabase), programSchemaVersion());
    EXPECT_EQ(programSchemaVersion({}), 1);
    EXPECT_EQ(programSchemaVersion(laterSteps()), programSchemaVersion() + 2);
}

TEST_P(Upgrade, DatabaseWithoutAVersionReadsAsTheFirst) {
    g_OraDatabase->execute("DROP TABLE sys_schema_version");
    EXPECT_EQ(databaseSchemaVersion(*g_OraDatabase), 1);
}

TEST_P(Upgrade, DemoDatabaseOfAnEarlierVersionUpgradesWithEveryRowKept) {
    const std::string before = everyRow();
    ASSERT_NE(before.find("m_peri_ord_detl: "), std::string::npos);

    std::string message;
    std::vector<std::string> applied;
    ASSERT_EQ(upgradeDatabase(*g_OraDatabase, laterSteps(), message,
                              [&](const UpgradeStep& s) { applied.push_back(s.name); }),
              0)
        << message;
    EXPECT_EQ(applied,
              (std::vector<std::string>{"901_order_note.sql", "902_order_note_index.sql"}));
    EXPECT_EQ(databaseSchemaVersion(*g_OraDatabase), programSchemaVersion() + 2);
    EXPECT_EQ(everyRow(), before);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_lst WHERE upgrade_note='旧目录'"),
              scalar("SELECT count(*) FROM m_peri_ord_lst"));

    // Run again: nothing left to apply.
    applied.clear();
    ASSERT_EQ(upgradeDatabase(*g_OraDatabase, laterSteps(), message,
                              [&](const UpgradeStep& s) { applied.push_back(s.name); }),
              0);
    EXPECT_TRUE(applied.empty());
}

TEST_P(Upgrade, FailingStepLeavesItsOwnChangesOutAndTheVersionAtTheLastGoodStep) {
    std::vector<UpgradeStep> steps = laterSteps();
    steps.push_back({programSchemaVersion() + 3, "903_broken.sql",
                     "CREATE TABLE upgrade_scratch (id INTEGER);\n"
                     "UPDATE m_peri_ord_lst SET upgrade_note='改了';\n"
                     "INSERT INTO no_such_table VALUES (1);\n"});
    std::string message;
    EXPECT_EQ(upgradeDatabase(*g_OraDatabase, steps, message), -1);
    EXPECT_NE(message.find("903_broken.sql"), std::string::npos) << message;
    EXPECT_EQ(databaseSchemaVersion(*g_OraDatabase), programSchemaVersion() + 2);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_lst WHERE upgrade_note='改了'"), "0");
    auto tables = g_OraDatabase->tableNames();
    EXPECT_FALSE(contains(tables, "upgrade_scratch"));
}

TEST(SchemaVersionProblem, SaysWhatToRun) {
    EXPECT_EQ(schemaVersionProblem(3, 3), "");
    EXPECT_NE(schemaVersionProblem(2, 3).find("serialsctl upgrade-db"), std::string::npos);
    EXPECT_NE(schemaVersionProblem(4, 3).find("新版程序"), std::string::npos);
}

class VersionStartup : public HomeTest {
protected:
    void setDatabaseVersion(int version) {
        ASSERT_EQ(LIB_ReadEnvironment(), 0);
        auto db = LIB_DB_OpenBackend(LIB_DB_ConnectParams());
        db->execute("UPDATE sys_schema_version SET version=" + std::to_string(version));
    }
    int startUp() {
        QuietStartup view;
        try {
            QK_Main(view);
            return -1;
        } catch (const ExitRequested& e) {
            return e.code;
        }
    }
};
SERIALS_ON_BOTH_BACKENDS(VersionStartup);

TEST_P(VersionStartup, OlderOrNewerDatabaseIsRefusedWithWhatToRun) {
    setDatabaseVersion(programSchemaVersion() - 1);
    EXPECT_EQ(startUp(), 1);
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown.back().type, 'E');
    EXPECT_NE(presenter.shown.back().body.find("serialsctl upgrade-db"), std::string::npos)
        << presenter.shown.back().body;

    setDatabaseVersion(programSchemaVersion() + 1);
    EXPECT_EQ(startUp(), 1);
    EXPECT_NE(presenter.shown.back().body.find("新版程序"), std::string::npos);

    setDatabaseVersion(programSchemaVersion());
    EXPECT_EQ(startUp(), -1);
}

class UpgradeCtl : public CtlTest {
protected:
    void SetUp() override {
        CtlTest::SetUp();
        if (!IsSkipped()) home = std::make_unique<TestHome>(GetParam(), demoInstall());
    }
    std::unique_ptr<TestHome> home;
};
SERIALS_ON_BOTH_BACKENDS(UpgradeCtl);

TEST_P(UpgradeCtl, OlderDatabaseIsRefusedUntilUpgraded) {
    CtlResult r = runCtl(binary, home->dir(), {"upgrade-db"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("已是版本 " + std::to_string(programSchemaVersion())), std::string::npos)
        << r.out;
    r = runCtl(binary, home->dir(), {"exec", "UPDATE sys_schema_version SET version=0"});
    ASSERT_EQ(r.code, 0) << r.err;
    r = runCtl(binary, home->dir(), {"query", "SELECT 1 FROM sys_comm_para"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("serialsctl upgrade-db"), std::string::npos) << r.err;
}

// A database of version 5 (before title words) is brought up by the real steps, and upgrade-db
// writes the title words of its records and the copies its open issues owe: the same rows a new
// database has.
TEST_P(UpgradeCtl, VersionFiveGetsTheTitleWordsOfItsRecords) {
    // The demo's catalogue records, as init-db --demo loads them after its tables.
    openSession(*home);
    ASSERT_EQ(MarcLoadDemoRecords([](const std::string&) {}).failed, 0);
    resetProcessState();
    const std::string words = "SELECT count(*) FROM marc_title_word";
    CtlResult before = runCtl(binary, home->dir(), {"query", words});
    ASSERT_EQ(before.code, 0) << before.err;
    ASSERT_NE(before.out, runCtl(binary, home->dir(), {"query", words + " WHERE 1=0"}).out);
    // The copies the demonstration's open issues owe, as a new database has them.
    const std::string owed =
        "SELECT peri_id,location,sub_qty,rece_qty,aslack_cnt,aslack_last,label,publ_code,"
        "peri_ord_year,asord_no,peri_no,publ_year,cover_vol,cover_issue,expect_date,aslack_date"
        " FROM m_peri_chk_lack ORDER BY peri_id,location";
    CtlResult owedBefore = runCtl(binary, home->dir(), {"query", owed});
    ASSERT_EQ(owedBefore.code, 0) << owedBefore.err;
    ASSERT_NE(owedBefore.out, runCtl(binary, home->dir(), {"query", owed + " LIMIT 0"}).out);
    // Take away what the later steps make, as a version-5 database was. The column goes before
    // the tables: SQLite's rewrite of a table checks every trigger, and the triggers of the title
    // words and of the owed copies' reference outlive their tables there.
    for (const char* sql :
         {"DROP INDEX PERI_ASORD_DETL_FMT_IDX",
          "ALTER TABLE peri_asord_detl DROP COLUMN fmt_asord_no", "DROP TABLE m_peri_chk_lack",
          "DROP TABLE marc_title_word", "DROP INDEX M_PERI_ORD_DETL_FMT_IDX",
          "DROP INDEX M_PERI_CHK_VOL_OPEN_IDX",
          "CREATE INDEX M_PERI_CHK_VOL_OPEN_IDX ON m_peri_chk_vol (finish_flag, aslack_date)",
          "UPDATE sys_schema_version SET version=5"}) {
        CtlResult r = runCtl(binary, home->dir(), {"exec", sql});
        ASSERT_EQ(r.code, 0) << sql << ": " << r.err;
    }
    CtlResult r = runCtl(binary, home->dir(), {"upgrade-db"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("由版本 5 升级到版本 " + std::to_string(programSchemaVersion())),
              std::string::npos)
        << r.out;
    EXPECT_EQ(runCtl(binary, home->dir(), {"query", words}).out, before.out);
    EXPECT_EQ(runCtl(binary, home->dir(), {"query", owed}).out, owedBefore.out);
}

}  // namespace
