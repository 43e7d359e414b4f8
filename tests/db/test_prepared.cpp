// Statements with bound values on both backends: a text is prepared once and reused, values
// arrive exactly as given (quotes, backslashes, CJK, NULL, numbers), multi-row inserts split
// where the parameter limit says and keep every row, and a failure inside a transaction undoes
// only what the transaction's owner rolls back.
#include <gtest/gtest.h>

#include "db/DbTransaction.h"
#include "db/basLibDB.h"
#include "tests/support/TestDb.h"

namespace {

class Prepared : public DbTest {
protected:
    static std::string accounts() {
        return scalar("SELECT count(*) FROM indi_acct WHERE prop_no LIKE 'P%'");
    }
};
SERIALS_ON_BOTH_BACKENDS(Prepared);

const std::vector<std::string> kAwkward = {"O'Brien",   "C:\\dir\\", "中文期刊",
                                           "100%_done", "$1 and $2", "𠀀 beyond the BMP"};

TEST_P(Prepared, OneTextIsPreparedOnceAndKeepsEveryValueAsGiven) {
    const std::size_t before = g_OraDatabase->preparedCount();
    const std::string sql =
        "INSERT INTO indi_acct (prop_no, call_no, price, location) VALUES ($1, $2, $3, $4)";
    for (std::size_t i = 0; i < kAwkward.size(); ++i)
        ASSERT_EQ(LIB_DB_ExecutePrepared(sql, {"P" + std::to_string(i), kAwkward[i],
                                               12.5 + static_cast<double>(i), LibVar::null()}),
                  0)
            << g_ErrInfo.strDesc;
    EXPECT_EQ(g_OraDatabase->preparedCount(), before + 1) << "the text is prepared only once";
    if (GetParam() == kPostgres) {
        EXPECT_EQ(scalar("SELECT count(*) FROM pg_prepared_statements"),
                  std::to_string(g_OraDatabase->preparedCount()));
    }

    for (std::size_t i = 0; i < kAwkward.size(); ++i) {
        const std::string key = "'P" + std::to_string(i) + "'";
        EXPECT_EQ(scalar("SELECT call_no FROM indi_acct WHERE prop_no=" + key), kAwkward[i]);
        EXPECT_EQ(
            scalar("SELECT count(*) FROM indi_acct WHERE location IS NULL AND prop_no=" + key),
            "1");
        EXPECT_EQ(scalar("SELECT count(*) FROM indi_acct WHERE price=" +
                         formatNumber(12.5 + static_cast<double>(i)) + " AND prop_no=" + key),
                  "1");
    }
}

TEST_P(Prepared, MultiRowInsertSplitsAtTheParameterLimitAndKeepsOrderAndValues) {
    std::vector<std::vector<LibVar>> rows;
    for (int i = 0; i < 1000; ++i)
        rows.push_back({"R" + std::to_string(i), std::to_string(i), kAwkward[i % kAwkward.size()],
                        i % 7 == 0 ? LibVar::null() : LibVar("v")});
    const std::size_t before = g_OraDatabase->preparedCount();
    ASSERT_EQ(LIB_DB_InsertRows("lc_class", {"marc_rec_no", "lc", "cls", "value"}, rows), 0)
        << g_ErrInfo.strDesc;
    // 4 columns: 225 rows a statement, so four full statements and one of 100 rows.
    EXPECT_EQ(g_OraDatabase->preparedCount(), before + 2);
    EXPECT_EQ(scalar("SELECT count(*) FROM lc_class WHERE marc_rec_no LIKE 'R%'"), "1000");
    EXPECT_EQ(scalar("SELECT count(*) FROM lc_class WHERE value IS NULL"), "143");
    for (int i : {0, 224, 225, 899, 900, 999})
        EXPECT_EQ(scalar("SELECT lc || '|' || cls FROM lc_class WHERE marc_rec_no='R" +
                         std::to_string(i) + "'"),
                  std::to_string(i) + "|" + kAwkward[i % kAwkward.size()]);

    EXPECT_EQ(LIB_DB_InsertRows("lc_class", {"marc_rec_no", "lc", "cls", "value"}, {}), 0);
    EXPECT_EQ(LIB_DB_InsertRows("lc_class", {"marc_rec_no", "lc"}, {{"R1", "x"}, {"R2"}}), -1)
        << "a row of the wrong width is refused";
    EXPECT_EQ(scalar("SELECT count(*) FROM lc_class WHERE marc_rec_no IN ('R1','R2') AND lc='x'"),
              "0");
}

TEST_P(Prepared, AFailedStatementLeavesTheTransactionUsableAndItsOwnerDecides) {
    ASSERT_EQ(LIB_DB_InsertRows("indi_acct", {"prop_no"}, {{"P1"}}), 0);
    {
        DbTransaction tx;
        ASSERT_TRUE(tx.ok());
        ASSERT_EQ(LIB_DB_InsertRows("indi_acct", {"prop_no"}, {{"P2"}, {"P3"}}), 0);
        EXPECT_EQ(LIB_DB_InsertRows("indi_acct", {"prop_no"}, {{"P4"}, {"P1"}}), -1);
        EXPECT_EQ(g_ErrInfo.lngOraErr, 1) << g_ErrInfo.strDesc;
        EXPECT_NE(g_ErrInfo.strSQL.find("'P4'"), std::string::npos)
            << "the failed statement is shown with its values: " << g_ErrInfo.strSQL;
        // The failed statement left nothing (no P4), and the transaction goes on.
        EXPECT_EQ(accounts(), "3");
        ASSERT_EQ(LIB_DB_ExecutePrepared("UPDATE indi_acct SET call_no=$1 WHERE prop_no=$2",
                                         {"after", "P2"}),
                  0)
            << g_ErrInfo.strDesc;
        ASSERT_EQ(tx.commit(), 0);
    }
    EXPECT_EQ(accounts(), "3");
    EXPECT_EQ(scalar("SELECT count(*) FROM indi_acct WHERE prop_no='P4'"), "0");
    EXPECT_EQ(scalar("SELECT call_no FROM indi_acct WHERE prop_no='P2'"), "after");

    {
        DbTransaction tx;
        ASSERT_EQ(LIB_DB_InsertRows("indi_acct", {"prop_no"}, {{"P5"}}), 0);
    }
    EXPECT_EQ(accounts(), "3") << "an uncommitted multi-row insert is rolled back";

    EXPECT_EQ(LIB_DB_ExecutePrepared("UPDATE indi_acct SET call_no=$1 WHERE prop_no=$2", {"x"}), -1)
        << "a parameter without a value is refused";
    EXPECT_EQ(LIB_DB_ExecutePrepared("INSERT INTO indi_acct (prop_no) VALUES ($1)",
                                     {std::string("P6\0x", 4)}),
              -1)
        << "NUL in a value is refused";
}

TEST(SqlWithLiterals, QuotesValuesAndLeavesQuotedTextAlone) {
    EXPECT_EQ(sqlWithLiterals("SELECT $1, '$1', $2, $10",
                              {"it's", 3.5, LibVar::null(), 4, 5, 6, 7, 8, 9, "ten"}),
              "SELECT 'it''s', '$1', 3.5, 'ten'");
    EXPECT_EQ(sqlWithLiterals("UPDATE t SET a=$2 WHERE b=$1", {LibVar::null(), "x"}),
              "UPDATE t SET a='x' WHERE b=NULL");
    EXPECT_THROW(sqlWithLiterals("SELECT $3", {1, 2}), DbError);
    EXPECT_THROW(sqlWithLiterals("SELECT $0", {1}), DbError);
}

}  // namespace
