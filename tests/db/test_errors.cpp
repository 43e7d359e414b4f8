// The error reporter: which message the operator sees for each failure, on real constraint
// violations of both backends and through the whole decision table.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/basLibLog.h"
#include "db/ProcRegistry.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "tests/support/TestDb.h"

namespace {

class Errors : public DbTest {
protected:
    // Runs a statement that must fail and returns what the reporter showed.
    std::string failWith(const std::string& sql) {
        g_strSQL = sql;
        EXPECT_EQ(LIB_DB_Execute(sql), -1) << sql;
        presenter.shown.clear();
        LIB_DB_ShowError();
        EXPECT_EQ(presenter.shown.size(), 1u);
        return presenter.shown.empty() ? "" : presenter.shown[0].body;
    }
    std::string msgText(const std::string& code) { return LIB_GetMsgText(code); }
};
SERIALS_ON_BOTH_BACKENDS(Errors);

TEST_P(Errors, DuplicatePropertyNumberAndBarcodeAreNamed) {
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO indi_acct (prop_no, bar_code) VALUES ('A1', 'B1')"), 0);
    EXPECT_EQ(failWith("INSERT INTO indi_acct (prop_no, bar_code) VALUES ('A1', 'B2')"),
              "财产号重复!");
    EXPECT_EQ(g_ErrInfo.lngSource, 0);
    EXPECT_EQ(failWith("INSERT INTO indi_acct (prop_no, bar_code) VALUES ('A2', 'B1')"),
              "条码号重复!");
}

TEST_P(Errors, DuplicateKeyIsNamedByItsConstraintOnEveryColumnOrder) {
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO user_auth_lst (modu_code, wkr_no) VALUES ('5001', 'X1')"),
              0);
    EXPECT_EQ(LIB_DB_Execute("INSERT INTO user_auth_lst (wkr_no, modu_code) VALUES ('X1', '5001')"),
              -1);
    EXPECT_EQ(g_ErrInfo.lngOraErr, 1);
    EXPECT_EQ(g_ErrInfo.strDesc, "ORA-00001: unique constraint (PK_USER_AUTH_LST) violated");
}

TEST_P(Errors, OtherDuplicateKeysShowTheGeneralText) {
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO msg_mst (msg_id, msg_content) VALUES ('ZZZ001', 'x')"),
              0);
    EXPECT_EQ(failWith("INSERT INTO msg_mst (msg_id, msg_content) VALUES ('ZZZ001', 'y')"),
              msgText("ECM010"));
}

TEST_P(Errors, DeletingAReferencedRowSaysWhatReferencesIt) {
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO item (prop_no) VALUES ('I1')"), 0);
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO lend_lst (prop_no) VALUES ('I1')"), 0);
    EXPECT_EQ(failWith("DELETE FROM item WHERE prop_no='I1'"), "该财产已经被相关记录引用!");
    EXPECT_EQ(g_ErrInfo.lngSource, 0);

    ASSERT_EQ(LIB_DB_Execute("INSERT INTO marc (marc_rec_no) VALUES ('0000000001')"), 0);
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO marc_data (marc_rec_no, data_serial, marc01) "
                             "VALUES ('0000000001', 0, 'x')"),
              0);
    EXPECT_EQ(failWith("DELETE FROM marc WHERE marc_rec_no='0000000001'"),
              "该MARC已经被相关记录引用!");
    // The referenced row is still there, and deleting the children first lets it go.
    ASSERT_EQ(LIB_DB_Execute("DELETE FROM marc_data WHERE marc_rec_no='0000000001'"), 0);
    EXPECT_EQ(LIB_DB_Execute("DELETE FROM marc WHERE marc_rec_no='0000000001'"), 0);
}

TEST_P(Errors, ChildWithoutParentIsRefused) {
    EXPECT_EQ(LIB_DB_Execute("INSERT INTO lend_lst (prop_no) VALUES ('NOPE')"), -1);
    EXPECT_EQ(g_ErrInfo.lngOraErr, 2291);
    EXPECT_NE(g_ErrInfo.strDesc.find("FK_LEND_RE_ITEM"), std::string::npos) << g_ErrInfo.strDesc;
}

TEST_P(Errors, SyntaxErrorShowsTheGeneralDatabaseMessageAndLogsTheStatement) {
    const std::string sql = "SELEC prop_no FRM indi_acct";
    EXPECT_EQ(failWith(sql), msgText("ECM012"));
    std::ifstream log(LIB_LogFilePath());
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_NE(text.str().find(";ORA-"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find(";SQL语法:" + sql), std::string::npos) << text.str();
}

TEST_P(Errors, ReporterClearsTheRecord) {
    failWith("INSERT INTO no_such_table VALUES (1)");
    EXPECT_EQ(g_ErrInfo.lngSource, 0);
    EXPECT_EQ(g_ErrInfo.strDesc, "");
    EXPECT_EQ(g_ErrInfo.strFunc, "");
    EXPECT_EQ(g_ErrInfo.strMsg, "");
}

// Whoever reads the record after a call learns about that call, not about an older failure
// that was dealt with without the reporter.
TEST_P(Errors, EachSuccessfulCallClearsTheRecord) {
    auto failed = [] {
        EXPECT_EQ(LIB_DB_Execute("INSERT INTO no_such_table VALUES (1)"), -1);
        EXPECT_EQ(g_ErrInfo.lngSource, kSrcExecute);
        EXPECT_NE(LIB_GetOraErrNo(), -1);
    };
    auto expectClear = [](const char* after) {
        EXPECT_EQ(g_ErrInfo.lngSource, kSrcNone) << after;
        EXPECT_EQ(g_ErrInfo.lngOraErr, 0) << after;
        EXPECT_EQ(g_ErrInfo.strDesc, "") << after;
        EXPECT_EQ(g_ErrInfo.strFunc, "") << after;
        EXPECT_EQ(g_ErrInfo.strSQL, "") << after;
        EXPECT_EQ(LIB_GetOraErrNo(), -1) << after;
    };
    LibArray a;
    failed();
    ASSERT_EQ(LIB_DB_Select("SELECT count(*) FROM indi_acct", a), 0);
    expectClear("a select");
    failed();
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO indi_acct (prop_no) VALUES ('C1')"), 0);
    expectClear("a statement");
    failed();
    ASSERT_EQ(LIB_DB_ExecuteBatch(
                  {{"UPDATE indi_acct SET remark=$1 WHERE prop_no=$2", {LibVar("x"), LibVar("C1")}},
                   {"DELETE FROM indi_acct WHERE prop_no=$1", {LibVar("C9")}}}),
              0);
    expectClear("a batch");
    failed();
    LIB_DB_RegisterProc("test_nothing", [](ProcCall&) {});
    ASSERT_EQ(LIB_DB_CallProc("test_nothing 1"), 0) << g_ErrInfo.strDesc;
    expectClear("a procedure");

    // A failure after successes is reported as itself.
    EXPECT_EQ(LIB_DB_Execute("INSERT INTO indi_acct (prop_no) VALUES ('C1')"), -1);
    EXPECT_EQ(g_ErrInfo.lngOraErr, 1);
    EXPECT_EQ(g_ErrInfo.strSQL, "INSERT INTO indi_acct (prop_no) VALUES ('C1')");
}

TEST_P(Errors, ARowLockedElsewhereIsReportedAsLocked) {
    ASSERT_EQ(LIB_DB_Execute("INSERT INTO indi_acct (prop_no) VALUES ('L1')"), 0);
    ConnectParams other = LIB_DB_ConnectParams();
    auto elsewhere = LIB_DB_OpenBackend(other);
    elsewhere->begin();
    std::string sql;
    if (GetParam() == kSqlite) {
        elsewhere->execute("UPDATE indi_acct SET remark='x' WHERE prop_no='L1'");
        sql = "UPDATE indi_acct SET remark='y' WHERE prop_no='L1'";
    } else {
        elsewhere->query("SELECT prop_no FROM indi_acct WHERE prop_no='L1' FOR UPDATE");
        sql = "SELECT prop_no FROM indi_acct WHERE prop_no='L1' FOR UPDATE NOWAIT";
    }
    g_strSQL = sql;
    LibArray a;
    int rc = GetParam() == kSqlite ? LIB_DB_Execute(sql) : LIB_DB_Select(sql, a);
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(g_ErrInfo.lngOraErr, 54);
    presenter.shown.clear();
    LIB_DB_ShowError();
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].body, "该记录已经被锁定!");
    elsewhere->rollback();
}

// The decision table itself, fed with server texts as they arrive.
struct Case {
    long source;
    std::string desc;
    std::string shown;  // message text, or a code looked up in msg_mst
};

class Reporter : public DbTest {};
SERIALS_ON_BOTH_BACKENDS(Reporter);

TEST_P(Reporter, EachFailureShowsItsMessage) {
    const std::vector<Case> cases = {
        {kSrcExecute, "ORA-00001: unique constraint (PK_CALL_NO_LST) violated", "索书号重复!"},
        {kSrcExecute, "ORA-00001: unique constraint (PK_ORDER) violated", "订购号重复!"},
        {kSrcExecute, "ORA-00001: unique constraint (PK_ASORD_CATA_DETL) violated", "征订号重复!"},
        {kSrcExecute, "ORA-00001: unique constraint (PK_ASORD_CATA) violated", "征订目录重复!"},
        {kSrcExecute, "ORA-00001: unique constraint (PK_INPUT_BATCH) violated", "批次号重复!"},
        {kSrcSelect, "ORA-00001: unique constraint (PK_CHECK_ACCT) violated", "验收批次号重复!"},
        {kSrcExecute, "ORA-00001: unique constraint (PK_READER_CERT) violated", "读者条码号重复!"},
        {kSrcExecute, "ORA-00001: unique constraint (pk_reader) violated", "读者证件号重复!"},
        {kSrcExecute, "ORA-00001: unique constraint (PK_OTHER) violated", "ECM010"},
        {kSrcExecute, "ORA-00054: resource busy", "该记录已经被锁定!"},
        {kSrcExecute, "ORA-02292: integrity constraint (FK_BIND_RE_CALL) violated",
         "该索书号已经被相关记录引用!"},
        {kSrcExecute, "ORA-02292: integrity constraint (FK_CERT_RE_READER) violated",
         "该读者已经被相关记录引用!"},
        // The word must follow "_RE": before it, it names the referencing table.
        {kSrcExecute, "ORA-02292: integrity constraint (FK_MARCDATA_RE_X) violated", "ECM011"},
        {kSrcExecute, "ORA-02292: integrity constraint (FK_COPY_RE_CHKVOL) violated", "ECM011"},
        {kSrcExecute, "ORA-00942: table or view does not exist", "ECM012"},
        {kSrcExecute, "server said no", "ECM012"},
        {kSrcConnect, "ORA-12541: no listener", "与数据库连接失败，启动失败！"},
        {kSrcClose, "ORA-03114", "关闭数据库出错！系统非正常退出！"},
        {kSrcFile, "disk full", "ECM002"},
    };
    for (const Case& c : cases) {
        g_ErrInfo.lngSource = c.source;
        g_ErrInfo.strDesc = c.desc;
        g_ErrInfo.lngOraErr = [&] {
            auto p = c.desc.find("ORA-");
            return p == std::string::npos ? -1L : std::stol(c.desc.substr(p + 4, 5));
        }();
        presenter.shown.clear();
        EXPECT_EQ(LIB_DB_ShowError(), 0);
        ASSERT_EQ(presenter.shown.size(), 1u) << c.desc;
        std::string expected =
            c.shown.size() == 6 && c.shown[0] == 'E' ? LIB_GetMsgText(c.shown) : c.shown;
        EXPECT_EQ(presenter.shown[0].body, expected) << c.desc;
        EXPECT_EQ(presenter.shown[0].type, 'E') << c.desc;
    }
}

TEST_P(Reporter, RunTimeErrorsPickTheirCodeAndUnloadedFormShowsNothing) {
    g_RunErr = {5, "Invalid procedure call"};
    LIB_DB_ShowError();
    EXPECT_EQ(presenter.shown.back().body, LIB_GetMsgText("ECM204"));
    g_RunErr = {6, "Overflow"};
    LIB_DB_ShowError();
    EXPECT_EQ(presenter.shown.back().body, LIB_GetMsgText("ECM205"));
    g_RunErr = {13, "Type mismatch"};
    LIB_DB_ShowError();
    EXPECT_EQ(presenter.shown.back().body, LIB_GetMsgText("ECM206"));
    std::size_t before = presenter.shown.size();
    g_RunErr = {364, "Object was unloaded"};
    EXPECT_EQ(LIB_DB_ShowError(), -1);
    EXPECT_EQ(presenter.shown.size(), before);
}

TEST_P(Reporter, EveryCodeTheReporterShowsHasAText) {
    for (const char* code : {"ECM002", "ECM010", "ECM011", "ECM012", "ECM204", "ECM205", "ECM206"})
        EXPECT_NE(LIB_GetMsgText(code), code) << code;
}

}  // namespace
