// The operation log and workload counters: written inside the caller's transaction, gone with
// its rollback, exactly one row or one added count when committed.
#include <gtest/gtest.h>

#include "common/OperatorState.h"
#include "common/basLibOpLog.h"
#include "db/basLibDB.h"
#include "tests/support/TestDb.h"

namespace {

class OpLog : public DbTest {
protected:
    InstallOptions installOptions() const override { return demoInstall(); }
    void SetUp() override {
        DbTest::SetUp();
        g_strWkrNo = "JD01";
        g_strComputer = "DESK-7";
        g_strLocation = "QKYL";
        LIB_DB_PinServerDate("2026-03-02 09:15:00");
    }
};
SERIALS_ON_BOTH_BACKENDS(OpLog);

TEST_P(OpLog, RolledBackOperationLeavesNeitherLogNorCount) {
    LIB_DB_BeginTrans();
    ASSERT_EQ(LIB_WriteOpLog("50023", "0000000001"), 0) << g_ErrInfo.strDesc;
    ASSERT_EQ(LIB_AddJobQty("505", 1, 2, 30.5), 0) << g_ErrInfo.strDesc;
    LIB_DB_Rollback();
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM wkr_job_qty"), "0");
}

TEST_P(OpLog, CommittedOperationLeavesOneRowStampedByTheServer) {
    LIB_DB_BeginTrans();
    ASSERT_EQ(
        LIB_WriteOpLog("50023", "0000000001", "0", "0", "读者's digest:ISSN 0034-0375", "", ""), 0);
    LIB_DB_CommitTrans();
    LibArray a;
    ASSERT_EQ(
        LIB_DB_Select("SELECT log_type, obj_key1, wkr_no, comp_name, location, obj_key2, obj_key3, "
                      "obj_desc1, log_date, log_time FROM log_detl",
                      a),
        0);
    ASSERT_EQ(a.recordCount(), 1);
    const char* expected[] = {"50023",      "0000000001", "JD01", "DESK-7",
                              "期刊阅览室", "0",          "0",    "读者's digest:ISSN 0034-0375",
                              "2026-03-02", "09:15:00"};
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(a(c, 2).str(), expected[c]) << c;
}

TEST_P(OpLog, WorkloadAddsToTheDaysRowOfTheJobType) {
    for (int i = 0; i < 2; ++i) {
        LIB_DB_BeginTrans();
        ASSERT_EQ(LIB_AddJobQty("505", 1, 3, 12.25), 0);
        LIB_DB_CommitTrans();
    }
    ASSERT_EQ(LIB_AddJobQty("510", 4, 4, 0), 0);
    LIB_DB_PinServerDate("2026-03-03 08:00:00");
    ASSERT_EQ(LIB_AddJobQty("505", 1, 1, 1), 0);
    LibArray a;
    ASSERT_EQ(LIB_DB_Select("SELECT oper_date, job_type, kind, volume, amount FROM wkr_job_qty "
                            "WHERE wkr_no_f='JD01' ORDER BY oper_date, job_type",
                            a),
              0);
    ASSERT_EQ(a.recordCount(), 3);
    EXPECT_EQ(a(1, 2).str() + " " + a(2, 2).str() + " " + a(3, 2).str() + " " + a(4, 2).str(),
              "505 2 6 24.5");
    EXPECT_EQ(a(1, 3).str() + " " + a(2, 3).str(), "510 4");
    EXPECT_EQ(a(0, 4).str() + " " + a(2, 4).str(), "2026-03-03 1");
}

TEST_P(OpLog, FailingLogCallReportsThroughTheErrorRecord) {
    ASSERT_EQ(LIB_DB_Execute("DROP TABLE log_detl"), 0);
    EXPECT_EQ(LIB_WriteOpLog("50023", "1"), -1);
    EXPECT_EQ(g_ErrInfo.lngSource, kSrcExecute);
    EXPECT_EQ(g_ErrInfo.strFunc, "LIB_DB_CallProc");
}

}  // namespace
