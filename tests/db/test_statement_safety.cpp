// Statements that cannot be turned into others: one statement per call, NUL refused, quoting
// that means the same text whether or not PostgreSQL reads backslashes as escapes, and LIKE
// prefixes whose own "%" and "_" match only themselves.
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <cstdlib>

#include "common/basLibOpLog.h"
#include "db/DbTransaction.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "tests/support/TestDb.h"

namespace {

// Texts an attacker or an unlucky file might bring.
const std::vector<std::string>& corpus() {
    static const std::vector<std::string> c = {
        "O'Neil",
        "x\\'; UPDATE lib_worker SET wkr_flag='0'; --",
        "back\\slash\\",
        "\\\\'' OR ''1''=''1",
        "100%",
        "a_b",
        "中文期刊《图书馆》",
        "𠀀𝄞 outside the BMP",
        "'; DELETE FROM msg_mst; --",
    };
    return c;
}

class StatementSafety : public DbTest {
protected:
    std::string count(const std::string& table) { return scalar("SELECT count(*) FROM " + table); }
};
SERIALS_ON_BOTH_BACKENDS(StatementSafety);

TEST_P(StatementSafety, OneCallRunsOneStatement) {
    const std::string messages = count("msg_mst");
    const std::string two =
        "INSERT INTO log_type (log_type, log_name) VALUES ('T1', 'a'); DELETE FROM msg_mst";
    EXPECT_EQ(LIB_DB_Execute(two), -1);
    LibArray rows;
    EXPECT_EQ(LIB_DB_Select("SELECT msg_id FROM msg_mst; DELETE FROM msg_mst", rows), -1);
    {
        // Inside a transaction too, and the transaction goes on after the refusal.
        DbTransaction t;
        ASSERT_TRUE(t.ok());
        EXPECT_EQ(LIB_DB_Execute(two), -1);
        EXPECT_EQ(LIB_DB_Execute("INSERT INTO log_type (log_type, log_name) VALUES ('T2', 'b')"),
                  0);
        ASSERT_EQ(t.commit(), 0);
    }
    EXPECT_EQ(count("msg_mst"), messages);
    EXPECT_EQ(scalar("SELECT count(*) FROM log_type WHERE log_type='T1'"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM log_type WHERE log_type='T2'"), "1");
    // A closing semicolon is still one statement.
    EXPECT_EQ(LIB_DB_Execute("UPDATE log_type SET log_name='c' WHERE log_type='T2';"), 0);
}

TEST_P(StatementSafety, TextWithNulIsRefusedWithItsMessageNotCut) {
    const std::string withNul = std::string("50000") + '\0' + "' OR log_type<>'x";
    g_strSQL = "UPDATE log_type SET log_name='gone' WHERE log_type=" + LIB_SqlStr(withNul);
    EXPECT_EQ(LIB_DB_Execute(g_strSQL), -1);
    LIB_DB_ShowError();
    EXPECT_EQ(presenter.bodies().back(), "文本中含有空字符(NUL)，未执行！");
    EXPECT_EQ(scalar("SELECT count(*) FROM log_type WHERE log_name='gone'"), "0");
}

TEST_P(StatementSafety, EveryTextIsStoredAsItWasThroughStatementsAndProcedures) {
    if (GetParam() == kPostgres) {
        // The database's own default is off: the session must switch it on for itself.
        ASSERT_EQ(LIB_DB_Execute("ALTER DATABASE " + home->databaseName() +
                                 " SET standard_conforming_strings = off"),
                  0);
        ASSERT_EQ(LIB_DB_Connect(), 0);
        // Even a statement that switches it off does not carry over to the next one.
        ASSERT_EQ(LIB_DB_Execute("SET standard_conforming_strings = off"), 0);
        EXPECT_EQ(scalar("SHOW standard_conforming_strings"), "on");
    }
    int n = 0;
    for (const std::string& text : corpus()) {
        std::string key = "K" + std::to_string(++n);
        ASSERT_EQ(LIB_DB_Execute("INSERT INTO log_type (log_type, log_name) VALUES (" +
                                 LIB_SqlStr(key) + "," + LIB_SqlStr(text) + ")"),
                  0)
            << text;
        LibArray rows;
        ASSERT_EQ(
            LIB_DB_Select("SELECT log_name FROM log_type WHERE log_name=" + LIB_SqlStr(text), rows),
            0);
        ASSERT_EQ(rows.recordCount(), 1) << text;
        EXPECT_EQ(rows(0, 2).str(), text);
        // Procedure arguments are read by the program itself: the same text arrives.
        ASSERT_EQ(LIB_WriteOpLog("50061", key, "0", "0", text), 0) << text;
        EXPECT_EQ(scalar("SELECT obj_desc1 FROM log_detl WHERE obj_key1='" + key + "'"), text);
    }
    EXPECT_EQ(scalar("SELECT count(*) FROM lib_worker WHERE wkr_flag='0'"), "0");
    EXPECT_NE(scalar("SELECT count(*) FROM msg_mst"), "0");
}

// Whatever a server's setting, LIB_SqlStr's literal reads back as the text: checked on a
// connection of libpq's own, where nothing switches standard strings on.
TEST(SqlStrOnPostgres, LiteralMeansTheTextWithStandardStringsOnOrOff) {
    if (!postgresAvailable()) GTEST_SKIP() << "no PostgreSQL";
    std::string server = std::getenv("SERIALS_TEST_PG");
    std::string conninfo = "host=" + server.substr(0, server.rfind(':')) +
                           " port=" + server.substr(server.rfind(':') + 1) +
                           " user=" + std::getenv("SERIALS_TEST_PG_USER") + " dbname=postgres";
    PGconn* c = PQconnectdb(conninfo.c_str());
    ASSERT_EQ(PQstatus(c), CONNECTION_OK) << PQerrorMessage(c);
    LIB_DB_ConnectParams().driver = kPostgres;
    for (const char* setting : {"on", "off"}) {
        PQclear(PQexec(c, (std::string("SET standard_conforming_strings = ") + setting).c_str()));
        for (const std::string& text : corpus()) {
            PGresult* r = PQexec(c, ("SELECT " + LIB_SqlStr(text)).c_str());
            ASSERT_EQ(PQresultStatus(r), PGRES_TUPLES_OK) << setting << " " << text;
            EXPECT_EQ(std::string(PQgetvalue(r, 0, 0)), text) << setting;
            PQclear(r);
        }
    }
    LIB_DB_ConnectParams() = ConnectParams{};
    PQfinish(c);
}

TEST_P(StatementSafety, LikePrefixMatchesPercentUnderscoreAndBangLiterally) {
    for (const char* name : {"a%b", "axb", "a_b", "a!b", "a\\b", "ab"})
        ASSERT_EQ(
            LIB_DB_Execute("INSERT INTO log_type (log_type, log_name) VALUES (" +
                           LIB_SqlStr(std::string("L") + name) + "," + LIB_SqlStr(name) + ")"),
            0);
    auto matches = [](const std::string& prefix) {
        LibArray rows;
        EXPECT_EQ(LIB_DB_Select("SELECT log_name FROM log_type WHERE log_name LIKE " +
                                    LIB_SqlStr(sqltext::likePrefix(prefix)) + sqltext::kLikeEscape +
                                    " ORDER BY log_name",
                                rows),
                  0);
        std::string out;
        for (int r = 2; r < rows.rows(); ++r)
            out += rows(0, r).str() + " ";
        return out;
    };
    EXPECT_EQ(matches("a%"), "a%b ");
    EXPECT_EQ(matches("a_"), "a_b ");
    EXPECT_EQ(matches("a!"), "a!b ");
    EXPECT_EQ(matches("a\\"), "a\\b ");
    EXPECT_EQ(matches("a"), "a!b a%b a\\b a_b ab axb ");
    EXPECT_EQ(matches("%"), "");
}

}  // namespace
