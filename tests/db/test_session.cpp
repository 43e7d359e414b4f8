// The session routines on both backends: result arrays, quoting, transactions, procedure
// blocks and their bind variables, the server date, and the MARC storage probes.
#include <gtest/gtest.h>

#include "db/ProcRegistry.h"
#include "db/RawSelect.h"
#include "db/basLibDB.h"
#include "tests/support/ProbeBackend.h"
#include "tests/support/TestDb.h"

namespace {

class Session : public DbTest {};
SERIALS_ON_BOTH_BACKENDS(Session);

int count(const std::string& where) {
    LibArray a;
    EXPECT_EQ(LIB_DB_Select("SELECT count(*) FROM indi_acct WHERE " + where, a), 0);
    return static_cast<int>(a(0, 2).num());
}

TEST_P(Session, QueryWithoutRowsHasOnlyNameAndTypeRows) {
    LibArray a;
    ASSERT_EQ(LIB_DB_Select("SELECT prop_no, price FROM indi_acct WHERE prop_no='none'", a), 0);
    EXPECT_EQ(a.cols(), 2);
    EXPECT_EQ(a.rows(), 2);
    EXPECT_EQ(a.recordCount(), 0);
    EXPECT_EQ(a(0, 0).str(), "prop_no");
    EXPECT_EQ(a(0, 1).num(), 10);
    EXPECT_EQ(a(1, 1).num(), 7);
}

TEST_P(Session, NullsReadAsEmptyTextAndZeroAndTextIsRightTrimmed) {
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO indi_acct (prop_no, call_no, price, remark) "
                             "VALUES ('P1', NULL, NULL, '  note  ')"),
              0);
    LibArray a;
    ASSERT_EQ(LIB_DB_Select("SELECT call_no, price, remark, 2.5 AS half FROM indi_acct", a), 0);
    ASSERT_EQ(a.recordCount(), 1);
    EXPECT_TRUE(a(0, 2).isText());
    EXPECT_EQ(a(0, 2).str(), "");
    EXPECT_TRUE(a(1, 2).isNumber());
    EXPECT_EQ(a(1, 2).num(), 0);
    EXPECT_EQ(a(2, 2).str(), "  note");
    EXPECT_EQ(a(3, 2).num(), 2.5);
    EXPECT_EQ(a.column("REMARK"), 2);
}

TEST_P(Session, RowsComeInFetchOrder) {
    for (const char* p : {"P3", "P1", "P2"})
        ASSERT_EQ(
            LIB_DB_Execute(std::string("INSERT INTO indi_acct (prop_no) VALUES ('") + p + "')"), 0);
    LibArray a;
    ASSERT_EQ(LIB_DB_Select("SELECT prop_no FROM indi_acct ORDER BY prop_no DESC", a), 0);
    ASSERT_EQ(a.recordCount(), 3);
    EXPECT_EQ(a(0, 2).str(), "P3");
    EXPECT_EQ(a(0, 4).str(), "P1");
}

// Rows are handed over from the backend's result one at a time; a long result must still come
// whole, in order, every cell converted as in a short one.
TEST_P(Session, ALongResultComesWholeInOrderWithEveryCellConverted) {
    LibArray a;
    ASSERT_EQ(LIB_DB_Select("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE "
                            "i<3000) SELECT i, 'row ' || i || '  ', NULL FROM n ORDER BY i DESC",
                            a),
              0);
    ASSERT_EQ(a.recordCount(), 3000);
    for (int r = 2; r < a.rows(); ++r) {
        const int i = 3002 - r;
        ASSERT_EQ(a(0, r).num(), i) << r;
        ASSERT_EQ(a(1, r).str(), "row " + std::to_string(i)) << r;
        ASSERT_EQ(a(2, r).str(), "") << r;
    }
}

// A long report reads its rows one by one instead of through the result array; each cell's
// text must be the array's, in the same order, and a failure must be reported the same way,
// also on a backend that hands over only whole results.
std::vector<std::string> arrayTexts(const std::string& sql) {
    LibArray a;
    EXPECT_EQ(LIB_DB_Select(sql, a), 0);
    std::vector<std::string> texts;
    for (int r = 2; r < a.rows(); ++r)
        for (int c = 0; c < a.cols(); ++c)
            texts.push_back(a(c, r).str());
    return texts;
}

int eachTexts(const std::string& sql, std::vector<std::string>& texts) {
    texts.clear();
    return LIB_DB_SelectEach(
        sql, [&](const std::vector<RawColumn>& columns, const std::vector<LibVar>& row) {
            EXPECT_EQ(columns.size(), row.size());
            for (std::size_t c = 0; c < row.size(); ++c)
                texts.push_back(LIB_DB_RawText(row[c], columns[c].typeCode));
        });
}

TEST_P(Session, RowByRowReadingGivesTheArraysTextsInOrderAndReportsAFailure) {
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO indi_acct (prop_no, call_no, price, remark) VALUES "
                             "('P2', 'K1', 12.5, '  note  '), ('P1', NULL, NULL, 'x'), "
                             "('P3', 'K3', 7, NULL)"),
              0);
    const std::string sql =
        "SELECT prop_no, call_no, price, remark, price*2 AS twice, prop_no || '  ' AS padded "
        "FROM indi_acct ORDER BY prop_no DESC";
    std::vector<std::string> texts;
    ASSERT_EQ(eachTexts(sql, texts), 0);
    EXPECT_EQ(texts, arrayTexts(sql));
    ASSERT_EQ(texts.size(), 18u);
    EXPECT_EQ(texts[0], "P3");
    EXPECT_EQ(texts[3], "") << "a NULL text reads as empty";
    EXPECT_EQ(texts[8], "12.5");
    EXPECT_EQ(texts[9], "  note") << "only the right end is trimmed";
    EXPECT_EQ(texts[10], "25");
    EXPECT_EQ(texts[11], "P2");
    EXPECT_EQ(texts[12], "P1");
    EXPECT_EQ(texts[14], "0") << "a NULL number reads as 0";
    EXPECT_EQ(texts[16], "0");

    const std::string many =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<3000) "
        "SELECT i, 'row ' || i FROM n ORDER BY i DESC";
    ASSERT_EQ(eachTexts(many, texts), 0);
    ASSERT_EQ(texts.size(), 6000u);
    EXPECT_EQ(texts.front(), "3000");
    EXPECT_EQ(texts[5999], "row 1");
    EXPECT_EQ(texts, arrayTexts(many));

    EXPECT_EQ(eachTexts("SELECT nosuch FROM indi_acct", texts), -1);
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(g_ErrInfo.lngSource, kSrcSelect);
    EXPECT_EQ(g_ErrInfo.strSQL, "SELECT nosuch FROM indi_acct");

    // A backend without row-by-row reading: the same rows from its whole result, one query.
    ProbeBackend& probe = ProbeBackend::install();
    probe.reset();
    ASSERT_EQ(eachTexts(sql, texts), 0);
    EXPECT_EQ(probe.queries, 1);
    EXPECT_EQ(texts, arrayTexts(sql));
    probe.reset();
    probe.failAt = 1;
    EXPECT_EQ(eachTexts(sql, texts), -1);
    probe.failAt = 0;
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(g_ErrInfo.lngOraErr, 1013);
}

TEST_P(Session, QuotedValuesComeBackUnchanged) {
    const std::string value = "O'Neil's 100% \\path\\ 《期刊》 '' 𠀀";
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO indi_acct (prop_no, remark) VALUES ('Q1', " +
                             LIB_SqlStr(value) + ")"),
              0);
    LibArray a;
    ASSERT_EQ(LIB_DB_Select("SELECT remark FROM indi_acct WHERE remark=" + LIB_SqlStr(value), a),
              0);
    ASSERT_EQ(a.recordCount(), 1);
    EXPECT_EQ(a(0, 2).str(), value);
    ASSERT_EQ(
        LIB_DB_Select(
            "SELECT prop_no FROM indi_acct WHERE remark LIKE " + LIB_SqlStr("O'Neil's 100%"), a),
        0);
    EXPECT_EQ(a.recordCount(), 1);
}

TEST_P(Session, LikeIsCaseSensitiveAsTheProgramExpects) {
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO indi_acct (prop_no, remark) VALUES ('C1', 'Nature')"), 0);
    EXPECT_EQ(count("remark LIKE 'nat%'"), 0);
    EXPECT_EQ(count("remark LIKE 'Nat%'"), 1);
}

TEST_P(Session, EmptyLiteralFlagStoresABlank) {
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO indi_acct (prop_no, remark) VALUES ('B1', '')", 1), 0);
    EXPECT_EQ(scalar("SELECT '[' || remark || ']' FROM indi_acct WHERE prop_no='B1'"), "[ ]");
}

TEST_P(Session, RollbackLeavesNothingAndCommitKeepsEverything) {
    LIB_DB_BeginTrans();
    EXPECT_TRUE(g_blnInTrans);
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO indi_acct (prop_no) VALUES ('T1')"), 0);
    LIB_DB_Rollback();
    EXPECT_FALSE(g_blnInTrans);
    EXPECT_EQ(count("prop_no='T1'"), 0);
    LIB_DB_BeginTrans();
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO indi_acct (prop_no) VALUES ('T2')"), 0);
    LIB_DB_CommitTrans();
    EXPECT_EQ(count("prop_no='T2'"), 1);
}

TEST_P(Session, ChangedRowCountInsideATransactionIgnoresAClosingSemicolon) {
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO indi_acct (prop_no) VALUES ('R1')"), 0);
    LIB_DB_BeginTrans();
    EXPECT_EQ(g_OraDatabase->execute("UPDATE indi_acct SET remark='x' WHERE prop_no='R1';"), 1);
    EXPECT_EQ(g_OraDatabase->execute("UPDATE indi_acct SET remark='x' WHERE prop_no='none' ; "), 0);
    LIB_DB_Rollback();
}

TEST_P(Session, AFailedStatementInATransactionSparesTheOthers) {
    LIB_DB_BeginTrans();
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO indi_acct (prop_no) VALUES ('S1')"), 0);
    EXPECT_EQ(LIB_DB_Execute("INSERT INTO indi_acct (prop_no) VALUES ('S1')"), -1);
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO indi_acct (prop_no) VALUES ('S2')"), 0);
    LIB_DB_CommitTrans();
    EXPECT_EQ(count("prop_no IN ('S1','S2')"), 2);
}

TEST_P(Session, ServerDateIsNineteenCharactersOrThePinnedValue) {
    std::string now = LIB_DB_GetServerDate();
    ASSERT_EQ(now.size(), 19u) << now;
    EXPECT_EQ(now[4], '-');
    EXPECT_EQ(now[10], ' ');
    EXPECT_EQ(now[13], ':');
    LIB_DB_PinServerDate("2026-03-01 08:30:00");
    EXPECT_EQ(LIB_DB_GetServerDate(), "2026-03-01 08:30:00");
}

TEST_P(Session, ProcedureGetsArgumentsEvaluatedByTheDatabase) {
    std::vector<LibVar> seen;
    LIB_DB_RegisterProc("test_capture", [&](ProcCall& c) {
        for (std::size_t i = 0; i < c.argCount(); ++i)
            seen.push_back(c.arg(i));
    });
    ASSERT_EQ(LIB_DB_CallProc("test_capture 1,'a',unistr('\\4E2D\\6587'),'O''Neil',nvl(NULL,'x')"),
              0)
        << g_ErrInfo.strDesc;
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0].num(), 1);
    EXPECT_EQ(seen[1].str(), "a");
    EXPECT_EQ(seen[2].str(), "中文");
    EXPECT_EQ(seen[3].str(), "O'Neil");
    EXPECT_EQ(seen[4].str(), "x");

    // Plain literals give the same values without asking the database.
    seen.clear();
    ASSERT_EQ(LIB_DB_CallProc("test_capture -2.5,'it''s',NULL,''"), 0);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_TRUE(seen[0].isNumber());
    EXPECT_EQ(seen[0].num(), -2.5);
    EXPECT_EQ(seen[1].str(), "it's");
    EXPECT_TRUE(seen[2].isNull());
    EXPECT_EQ(seen[3].str(), "");
}

TEST_P(Session, ProcedureNamesIgnoreCaseAndUnknownOnesFail) {
    int calls = 0;
    LIB_DB_RegisterProc("Test_Count", [&](ProcCall&) { ++calls; });
    ASSERT_EQ(LIB_DB_CallProc("TEST_COUNT"), 0);
    ASSERT_EQ(LIB_DB_Execute("begin test_count; end;"), 0);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(LIB_DB_CallProc("no_such_proc 1"), -1);
    EXPECT_EQ(g_ErrInfo.lngSource, kSrcExecute);
    EXPECT_EQ(g_ErrInfo.strFunc, "LIB_DB_CallProc");
    EXPECT_EQ(g_ErrInfo.lngOraErr, 6550);
}

TEST_P(Session, AFailingProcedureUndoesItsOwnWorkOnly) {
    LIB_DB_RegisterProc("test_half", [](ProcCall& c) {
        c.db().execute("INSERT INTO indi_acct (prop_no) VALUES ('H1')");
        raiseApplicationError(20001, "stopped halfway");
    });
    EXPECT_EQ(LIB_DB_CallProc("test_half"), -1);
    EXPECT_EQ(g_ErrInfo.lngOraErr, 20001);
    EXPECT_EQ(count("prop_no='H1'"), 0);

    LIB_DB_BeginTrans();
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO indi_acct (prop_no) VALUES ('H0')"), 0);
    EXPECT_EQ(LIB_DB_CallProc("test_half"), -1);
    LIB_DB_CommitTrans();
    EXPECT_EQ(count("prop_no='H0'"), 1);
    EXPECT_EQ(count("prop_no='H1'"), 0);
}

TEST_P(Session, OutputBindVariableReceivesTheProcedureResult) {
    LIB_DB_RegisterProc("test_next", [](ProcCall& c) { c.setOut(1, c.number(0) + 1); });
    LIB_DB_ParamAdd("NEXTNO", LibVar(), kParamOutput);
    ASSERT_EQ(LIB_DB_Execute("Begin test_next(41, :NEXTNO); end;"), 0) << g_ErrInfo.strDesc;
    EXPECT_EQ(LIB_DB_ParamValue("NEXTNO").num(), 42);
    LIB_DB_ParamRemove("NEXTNO");
    EXPECT_EQ(LIB_DB_Execute("Begin test_next(1, :NEXTNO); end;"), -1);
}

TEST_P(Session, OracleFunctionsBehaveAlikeOnBothBackends) {
    EXPECT_EQ(scalar("SELECT lpad('7', 4, '0') FROM dual"), "0007");
    EXPECT_EQ(scalar("SELECT rpad('ab', 4, '*') FROM dual"), "ab**");
    EXPECT_EQ(scalar("SELECT nvl('', 'empty') FROM dual"), "empty");
    EXPECT_EQ(scalar("SELECT unistr('\\671F\\520A') FROM dual"), "期刊");
    EXPECT_EQ(scalar("SELECT dump(unistr('\\671F'), 16) FROM dual"), "Typ=1 Len=2: 67,1f");
    EXPECT_EQ(scalar("SELECT dump('', 16) FROM dual"), "NULL");
    // Bytes of UTF-8 text, as a column's width counts them.
    EXPECT_EQ(scalar("SELECT octet_length('a中é-1') FROM dual"), "8");
    EXPECT_EQ(scalar("SELECT dummy FROM dual FOR UPDATE"), "X");
}

TEST_P(Session, ChineseSortsInGbkOrder) {
    for (const char* t : {"吧", "啊", "Z"})
        ASSERT_EQ(LIB_DB_Execute(std::string("INSERT INTO indi_acct (prop_no, remark) VALUES ('") +
                                 t + "', '" + t + "')"),
                  0);
    LibArray a;
    ASSERT_EQ(LIB_DB_Select("SELECT remark FROM indi_acct ORDER BY gbk(remark)", a), 0);
    ASSERT_EQ(a.recordCount(), 3);
    EXPECT_EQ(a(0, 2).str() + a(0, 3).str() + a(0, 4).str(), "Z啊吧");
}

TEST_P(Session, ByteModeDatabaseIsProbedAsSuch) {
    EXPECT_FALSE(UnicodeMarcMode);
    EXPECT_TRUE(WideMarcTable);
}

class UnicodeSession : public DbTest {
protected:
    InstallOptions installOptions() const override { return unicodeMarcInstall(); }
};
SERIALS_ON_BOTH_BACKENDS(UnicodeSession);

TEST_P(UnicodeSession, SummaryColumnsAreReadBackThroughTheDumpPath) {
    EXPECT_TRUE(UnicodeMarcMode);
    const std::string title = "科学通报 𠀀 Nature's";
    ASSERT_EQ(
        LIB_DB_Execute("INSERT INTO marc (marc_rec_no, m_title, m_author) VALUES ('0000000001', " +
                       LIB_SqlStr(title) + ", NULL)"),
        0);
    LibArray a;
    ASSERT_EQ(LIB_DB_SelectWide("select marc_rec_no, m_title, m_author from marc", a), 0)
        << g_ErrInfo.strDesc;
    ASSERT_EQ(a.recordCount(), 1);
    EXPECT_EQ(a(0, 2).str(), "0000000001");
    EXPECT_EQ(a(1, 2).str(), title);
    EXPECT_EQ(a(2, 2).str(), "");
}

}  // namespace
