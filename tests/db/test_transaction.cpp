// The transaction guard and the session's transaction routines on both backends: commit keeps,
// anything else rolls back (early return, exception, failed commit, lost connection); nested
// transactions are savepoints that never commit the caller's work; a failed begin is reported
// and refuses every write until its guard ends; messages raised inside wait for the end of the
// outermost transaction.
#include <gtest/gtest.h>

#include <stdexcept>

#include "db/DbTransaction.h"
#include "db/basLibDB.h"
#include "tests/support/ProbeBackend.h"
#include "tests/support/TestDb.h"

namespace {

class Transaction : public DbTest {
protected:
    static int insert(const std::string& propNo) {
        return LIB_DB_Execute("INSERT INTO indi_acct (prop_no) VALUES (" + LIB_SqlStr(propNo) +
                              ")");
    }
    static std::string rows() {
        return scalar("SELECT count(*) FROM indi_acct WHERE prop_no LIKE 'X%'");
    }
};
SERIALS_ON_BOTH_BACKENDS(Transaction);

TEST_P(Transaction, OnlyACommitKeepsTheWork) {
    {
        DbTransaction tx;
        ASSERT_TRUE(tx.ok());
        EXPECT_TRUE(g_blnInTrans);
        ASSERT_EQ(insert("X1"), 0);
    }
    EXPECT_FALSE(g_blnInTrans);
    EXPECT_EQ(rows(), "0");

    try {
        DbTransaction tx;
        ASSERT_EQ(insert("X2"), 0);
        throw std::out_of_range("a bad index halfway");
    } catch (const std::out_of_range&) {
    }
    EXPECT_FALSE(g_blnInTrans);
    EXPECT_EQ(rows(), "0");

    DbTransaction tx;
    ASSERT_EQ(insert("X3"), 0);
    EXPECT_EQ(tx.commit(), 0);
    EXPECT_FALSE(g_blnInTrans);
    EXPECT_EQ(tx.commit(), -1) << "a second commit has nothing to commit";
    tx.rollback();
    EXPECT_EQ(rows(), "1");
}

TEST_P(Transaction, NestedGuardIsASavepointOfTheCallersTransaction) {
    DbTransaction outer;
    ASSERT_EQ(insert("X1"), 0);
    {
        DbTransaction inner;
        ASSERT_TRUE(inner.ok());
        EXPECT_TRUE(inner.nested());
        EXPECT_EQ(DbTransaction::depth(), 2);
        ASSERT_EQ(insert("X2"), 0);
    }
    EXPECT_EQ(rows(), "1") << "the inner rollback undid its own row only";
    {
        DbTransaction inner;
        ASSERT_EQ(insert("X3"), 0);
        ASSERT_EQ(inner.commit(), 0);
    }
    EXPECT_TRUE(g_blnInTrans) << "the inner commit must not end the caller's transaction";
    outer.rollback();
    EXPECT_EQ(rows(), "0") << "the inner commit must not commit the caller's work early";
    EXPECT_EQ(DbTransaction::depth(), 0);
}

TEST_P(Transaction, NestedSessionRoutinesDoNotCommitTheCallersWork) {
    ASSERT_EQ(LIB_DB_BeginTrans(), 0);
    ASSERT_EQ(insert("X1"), 0);
    ASSERT_EQ(LIB_DB_BeginTrans(), 0);  // a routine called inside, numbering for instance
    ASSERT_EQ(insert("X2"), 0);
    ASSERT_EQ(LIB_DB_CommitTrans(), 0);
    EXPECT_TRUE(g_blnInTrans);
    ASSERT_EQ(LIB_DB_Rollback(), 0);
    EXPECT_FALSE(g_blnInTrans);
    EXPECT_EQ(rows(), "0");

    ASSERT_EQ(LIB_DB_BeginTrans(), 0);
    ASSERT_EQ(insert("X3"), 0);
    ASSERT_EQ(LIB_DB_BeginTrans(), 0);
    ASSERT_EQ(insert("X4"), 0);
    ASSERT_EQ(LIB_DB_Rollback(), 0);
    ASSERT_EQ(LIB_DB_CommitTrans(), 0);
    EXPECT_EQ(rows(), "1");
}

TEST_P(Transaction, FailedBeginIsReportedAndRefusesEveryWrite) {
    ProbeBackend& probe = ProbeBackend::install();
    probe.reset();
    probe.failAt = 1;
    {
        DbTransaction tx;
        probe.failAt = 0;
        EXPECT_FALSE(tx.ok());
        EXPECT_FALSE(g_blnInTrans);
        EXPECT_EQ(g_ErrInfo.lngSource, kSrcExecute);
        EXPECT_EQ(g_ErrInfo.strFunc, "LIB_DB_BeginTrans");
        EXPECT_EQ(g_ErrInfo.lngOraErr, 1013);
        // Written without a transaction, the row would autocommit on its own.
        EXPECT_EQ(insert("X1"), -1);
        EXPECT_EQ(LIB_DB_CallProc("xt_log_detl '1','2','3','4','5','6','7','8','9','10'"), -1);
        LibArray a;
        EXPECT_EQ(LIB_DB_Select("SELECT count(*) FROM indi_acct", a), 0) << "reading still works";
        EXPECT_EQ(tx.commit(), -1);
    }
    EXPECT_EQ(rows(), "0");
    EXPECT_EQ(insert("X2"), 0) << "writes work again once the failed guard has ended";

    probe.reset();
    probe.failAt = 1;
    EXPECT_EQ(LIB_DB_BeginTrans(), -1);
    probe.failAt = 0;
    EXPECT_EQ(insert("X3"), -1);
    EXPECT_EQ(LIB_DB_Rollback(), 0);
    EXPECT_EQ(insert("X4"), 0);
    EXPECT_EQ(rows(), "2");
}

TEST_P(Transaction, FailedCommitIsReportedAndLeavesNothing) {
    ProbeBackend& probe = ProbeBackend::install();
    DbTransaction tx;
    ASSERT_EQ(insert("X1"), 0);
    probe.reset();
    probe.failAt = 1;
    EXPECT_EQ(tx.commit(), -1);
    probe.failAt = 0;
    EXPECT_EQ(probe.failed, "commit");
    EXPECT_EQ(g_ErrInfo.strFunc, "LIB_DB_CommitTrans");
    EXPECT_FALSE(g_blnInTrans);
    EXPECT_FALSE(g_OraDatabase->inTransaction());
    EXPECT_EQ(rows(), "0");

    ASSERT_EQ(LIB_DB_BeginTrans(), 0);
    ASSERT_EQ(insert("X2"), 0);
    probe.reset();
    probe.failAt = 1;
    EXPECT_EQ(LIB_DB_CommitTrans(), -1);
    probe.failAt = 0;
    EXPECT_FALSE(g_blnInTrans);
    EXPECT_EQ(rows(), "0");
}

TEST_P(Transaction, FailedSavepointRefusesTheInnerWorkAndSparesTheOuter) {
    ProbeBackend& probe = ProbeBackend::install();
    DbTransaction outer;
    ASSERT_EQ(insert("X1"), 0);
    probe.reset();
    probe.failAt = 1;
    {
        DbTransaction inner;
        probe.failAt = 0;
        EXPECT_EQ(probe.failed, "savepoint");
        EXPECT_FALSE(inner.ok());
        EXPECT_EQ(insert("X2"), -1);
    }
    EXPECT_TRUE(g_blnInTrans);
    ASSERT_EQ(insert("X3"), 0);
    ASSERT_EQ(outer.commit(), 0);
    EXPECT_EQ(rows(), "2");
}

TEST_P(Transaction, LostConnectionEndsTheTransactionWithoutLying) {
    DbTransaction tx;
    ASSERT_EQ(insert("X1"), 0);
    g_OraDatabase->close();
    EXPECT_EQ(tx.commit(), -1);
    EXPECT_EQ(g_ErrInfo.lngOraErr, 3114);
    EXPECT_FALSE(g_blnInTrans);

    // Reconnected while a guard was open: the guard belongs to the old connection and must not
    // commit or roll back anything on the new one.
    ASSERT_EQ(LIB_DB_Connect(), 0);
    DbTransaction old;
    ASSERT_EQ(insert("X2"), 0);
    ASSERT_EQ(LIB_DB_Connect(), 0);
    DbTransaction fresh;
    ASSERT_EQ(insert("X3"), 0);
    EXPECT_EQ(old.commit(), -1);
    EXPECT_TRUE(g_blnInTrans);
    ASSERT_EQ(fresh.commit(), 0);
    EXPECT_EQ(rows(), "1");
}

TEST_P(Transaction, FailedStatementIsLoggedWithTheStatementItself) {
    g_strSQL = "SELECT 'an older statement'";
    EXPECT_EQ(LIB_DB_Execute("INSERT INTO no_such_table VALUES (1)"), -1);
    EXPECT_EQ(g_ErrInfo.strSQL, "INSERT INTO no_such_table VALUES (1)");
    LibArray a;
    EXPECT_EQ(LIB_DB_Select("SELECT nothing FROM no_such_table", a), -1);
    EXPECT_EQ(g_ErrInfo.strSQL, "SELECT nothing FROM no_such_table");
    EXPECT_EQ(LIB_DB_CallProc("no_such_procedure 1"), -1);
    EXPECT_EQ(g_ErrInfo.strSQL, "Begin no_such_procedure(1); end;");
}

// The box a failure brings must not hold the transaction's locks: it comes after the rollback,
// with the text it always had, however deep the failure was.
TEST_P(Transaction, ErrorInsideWaitsUntilTheOutermostTransactionHasEnded) {
    ASSERT_EQ(insert("X1"), 0);
    presenter.shown.clear();
    {
        DbTransaction outer;
        ASSERT_EQ(insert("X2"), 0);
        {
            DbTransaction inner;
            ASSERT_EQ(insert("X1"), -1);
            LIB_DB_ShowError();
            EXPECT_TRUE(presenter.shown.empty()) << presenter.shown[0].body;
        }
        EXPECT_TRUE(presenter.shown.empty()) << "the savepoint's end is not the transaction's";
        EXPECT_EQ(rows(), "2");
    }
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].type, 'E');
    EXPECT_EQ(presenter.shown[0].body, "财产号重复!");
    EXPECT_FALSE(presenter.shown[0].inTransaction);
    EXPECT_EQ(rows(), "1") << "the box came after the rollback";
}

TEST_P(Transaction, NewsWaitsForTheCommitAndQuestionsAreAskedAtOnce) {
    presenter.shown.clear();
    ASSERT_EQ(LIB_DB_BeginTrans(), 0);
    ASSERT_EQ(insert("X1"), 0);
    EXPECT_EQ(LIB_ShowMsg("I已保存 1 条"), kMsgOk);
    presenter.replies.push_back({kMsgOk, {}});
    EXPECT_EQ(LIB_ShowMsg("Q继续吗？"), kMsgOk) << "a question needs its answer now";
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].body, "继续吗？");
    EXPECT_TRUE(presenter.shown[0].inTransaction);
    ASSERT_EQ(LIB_DB_CommitTrans(), 0);
    ASSERT_EQ(presenter.shown.size(), 2u);
    EXPECT_EQ(presenter.shown[1].type, 'I');
    EXPECT_EQ(presenter.shown[1].body, "已保存 1 条");
    EXPECT_FALSE(presenter.shown[1].inTransaction);
    EXPECT_EQ(rows(), "1");

    // Several messages keep their order; none is shown twice.
    presenter.shown.clear();
    {
        DbTransaction tx;
        LIB_ShowMsg("E第一");
        LIB_ShowMsg("I第二");
    }
    {
        DbTransaction again;
        ASSERT_EQ(again.commit(), 0);
    }
    EXPECT_EQ(presenter.bodies(), (std::vector<std::string>{"第一", "第二"}));
}

TEST_P(Transaction, MessagesOfALostConnectionAreShownWhenItIsOpenedAgain) {
    presenter.shown.clear();
    DbTransaction tx;
    ASSERT_EQ(insert("X1"), 0);
    LIB_ShowMsg("E写入失败");
    EXPECT_TRUE(presenter.shown.empty());
    ASSERT_EQ(LIB_DB_Connect(), 0);
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].body, "写入失败");
    EXPECT_FALSE(presenter.shown[0].inTransaction);
}

}  // namespace
