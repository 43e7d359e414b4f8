// Code tables as start-up loads them, the lookups by code and by name, the fixed display
// names, issues a year by frequency, and the operation-log query.
#include <gtest/gtest.h>

#include "common/OperatorState.h"
#include "common/basCodeFunc.h"
#include "common/basLibOpLog.h"
#include "common/basLogQuery.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "tests/support/TestDb.h"

namespace {

class Codes : public DbTest {
protected:
    InstallOptions installOptions() const override { return demoInstall(); }
};
SERIALS_ON_BOTH_BACKENDS(Codes);

TEST_P(Codes, StartUpLoadsTheTablesTheSerialsScreensRead) {
    for (const LibArray* t :
         {&g_arrLocation, &g_arrDocType, &g_arrLanguage, &g_arrCountry, &g_arrCarrier,
          &g_arrGetMode, &g_arrMoneyType, &g_arrFundSrc, &g_arrPublFreq, &g_arrPeriLevel,
          &g_arrWorker, &g_arrLocaSort, &g_arrMaxNumber})
        EXPECT_GT(t->recordCount(), 0);
    EXPECT_EQ(g_arrPublFreq.recordCount(), 18);
    EXPECT_EQ(LIB_CodeName(g_arrPublFreq, "a"), "日刊");
    EXPECT_EQ(LIB_CodeByName(g_arrPublFreq, "季刊"), "h");
    EXPECT_EQ(LIB_CodeName(g_arrPublFreq, "nope"), "");
    EXPECT_EQ(LIB_LocationName("QK01"), "期刊部");
    EXPECT_EQ(LIB_LocationName("NOWHERE"), "NOWHERE");
}

TEST_P(Codes, LocationsOfTheSerialsScreensFollowTheirSequence) {
    LibArray expected;
    ASSERT_EQ(
        LIB_DB_Select("SELECT location FROM location_sort WHERE oper_type=4 ORDER BY sequence",
                      expected),
        0);
    ASSERT_EQ(g_arrLocaSort.recordCount(), expected.recordCount());
    for (int row = 2; row < expected.rows(); ++row)
        EXPECT_EQ(g_arrLocaSort(0, row).str(), expected(0, row).str());
    ASSERT_EQ(LIB_LoadLocationOrder(-1), 0);
    EXPECT_EQ(g_arrLocaSort.recordCount(), g_arrLocation.recordCount());
}

TEST_P(Codes, PublishersLoadOnDemand) {
    EXPECT_EQ(g_arrPublisher.recordCount(), 0);
    ASSERT_EQ(LIB_LoadPublishers(), 0);
    EXPECT_GT(g_arrPublisher.recordCount(), 0);
}

TEST_P(Codes, LogQueryFiltersByDateOperatorAndOperation) {
    g_strLocation = "QK01";
    struct Row {
        const char* when;
        const char* wkr;
        const char* code;
    };
    for (const Row& r :
         {Row{"2026-03-01 10:00:00", "DY01", "50018"}, Row{"2026-03-02 11:00:00", "DY01", "50023"},
          Row{"2026-03-02 12:00:00", "JD01", "50023"},
          Row{"2026-03-05 09:00:00", "JD01", "50024"}}) {
        LIB_DB_PinServerDate(r.when);
        g_strWkrNo = r.wkr;
        ASSERT_EQ(LIB_WriteOpLog(r.code, "k"), 0);
    }
    auto count = [](LogFilter f) {
        LibArray rows;
        EXPECT_EQ(LIB_QueryOpLog(f, rows), 0);
        return rows.recordCount();
    };
    EXPECT_EQ(count({}), 4);
    EXPECT_EQ(count({"2026-03-02", "2026-03-02", "", ""}), 2);
    EXPECT_EQ(count({"", "", "JD01", ""}), 2);
    EXPECT_EQ(count({"", "", "", "50023"}), 2);
    EXPECT_EQ(count({"2026-03-02", "", "JD01", "50024"}), 1);
    LibArray rows;
    ASSERT_EQ(LIB_QueryOpLog({}, rows), 0);
    EXPECT_EQ(rows(0, 2).str() + " " + rows(1, 2).str(), "2026-03-05 09:00:00");
    EXPECT_EQ(rows(3, 4).str(), "期刊签收");
    EXPECT_EQ(rows(6, 4).str(), "期刊部");
}

TEST_P(Codes, StartAfterEndIsRefusedWithItsMessage) {
    LibArray rows;
    EXPECT_EQ(LIB_QueryOpLog({"2026-03-05", "2026-03-01", "", ""}, rows), -1);
    EXPECT_EQ(presenter.shown.back().body, LIB_GetMsgText("EQK112"));
}

TEST(DisplayNames, FixedNamesOfStatusStateKindAndFlag) {
    EXPECT_EQ(strPeriStatusName("0"), "正常刊");
    EXPECT_EQ(strPeriStatusName("1"), "改名刊");
    EXPECT_EQ(strPeriStatusName("2"), "停刊");
    EXPECT_EQ(strPeriStatusName("3"), "停订刊");
    EXPECT_EQ(strPeriStatusName("9"), "正常刊");
    EXPECT_EQ(strOrderStateName("0"), "未发订");
    EXPECT_EQ(strOrderStateName("1"), "已发订");
    EXPECT_EQ(strOrderStateName("2"), "开始签收");
    EXPECT_EQ(strOrderStateName("3"), "签收完成");
    EXPECT_EQ(strSubKindName("0"), "新订刊");
    EXPECT_EQ(strSubKindName("1"), "续订刊");
    EXPECT_EQ(strSubKindName(""), "续订刊");
    EXPECT_EQ(strFlagMark("1"), "F");
    EXPECT_EQ(strFlagMark("0"), "");
}

TEST(IssuesPerYear, CountsByFrequencyAndYear) {
    struct Case {
        const char* name;
        int year;
        int issues;
    };
    const Case cases[] = {
        {"日刊", 2024, 366},   {"日刊", 2025, 365},   {"双日刊", 2025, 183}, {"周刊", 2024, 52},
        {"周刊", 2023, 53},    {"半周刊", 2024, 104}, {"旬刊", 2025, 36},    {"双周刊", 2025, 26},
        {"半月刊", 2025, 24},  {"月刊", 2025, 12},    {"双月刊", 2025, 6},   {"季刊", 2025, 4},
        {"每年三次", 2025, 3}, {"半年刊", 2025, 2},   {"年刊", 2025, 1},     {"不详", 2025, 0},
        {"不定期", 2025, 0},   {"其它", 2025, 0},     {"", 2025, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LIB_IssuesPerYear(c.name, c.year), c.issues) << c.name << c.year;
}

}  // namespace
