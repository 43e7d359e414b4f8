// Issue prediction against calendars worked out by hand: counts per frequency code, slot dates
// from each kind of begin date, numbering, Roman numerals and the validation messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checkin/core/basChkPredict.h"

namespace {

ChkPredictInput period(char code, const std::string& begin, const std::string& end,
                       int startDay = 1) {
    ChkPredictInput in;
    in.code = code;
    in.beginDate = begin;
    in.endDate = end;
    in.startDay = startDay;
    in.begTotal = 1;
    return in;
}

std::vector<std::string> dates(const ChkPredictInput& in, int first, int count) {
    std::vector<std::string> out;
    for (int i = first; i < first + count; ++i)
        out.push_back(chkExpectDate(in, i));
    return out;
}

using Dates = std::vector<std::string>;

struct CountCase {
    char code;
    int year2005;  // 2005-01-01 (a Saturday) to 2005-12-31
    int year2008;  // leap year, 2008-01-01 (a Tuesday) to 2008-12-31
};

}  // namespace

TEST(ChkPredictCount, FullYearAndLeapYearForEveryCode) {
    // Mondays after 1 Jan: 52 in 2005 (3 Jan .. 26 Dec) and in 2008 (7 Jan .. 29 Dec).
    const CountCase cases[] = {
        {'a', 365, 366}, {'b', 106, 106}, {'c', 53, 53}, {'d', 26, 26},   {'e', 24, 24},
        {'f', 12, 12},   {'g', 6, 6},     {'h', 4, 4},   {'i', 3, 3},     {'j', 2, 2},
        {'k', 1, 1},     {'l', 0, 0},     {'m', 0, 0},   {'n', 182, 183}, {'o', 36, 36},
        {'u', 1, 1},     {'y', 1, 1},
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(std::string(1, c.code));
        EXPECT_EQ(chkIssueCount(period(c.code, "2005-01-01", "2005-12-31")), c.year2005);
        EXPECT_EQ(chkIssueCount(period(c.code, "2008-01-01", "2008-12-31")), c.year2008);
    }
    ChkPredictInput other = period('z', "2005-01-01", "2005-12-31");
    other.qtyOfYear = 7;
    EXPECT_EQ(chkIssueCount(other), 7);
    other.qtyOfYear = 0;
    EXPECT_EQ(chkIssueCount(other), 0);
}

TEST(ChkPredictCount, LongerPeriodsCountYearsAndQuarters) {
    EXPECT_EQ(chkIssueCount(period('l', "2005-01-01", "2006-12-31")), 1);
    EXPECT_EQ(chkIssueCount(period('l', "2005-01-01", "2008-12-31")), 2);
    EXPECT_EQ(chkIssueCount(period('m', "2005-01-01", "2007-12-31")), 1);
    EXPECT_EQ(chkIssueCount(period('k', "2005-01-01", "2009-12-31")), 5);
    // Calendar quarters: Q4 2005 to Q4 2006 is four quarters on.
    EXPECT_EQ(chkIssueCount(period('h', "2005-11-15", "2006-10-31")), 5);
    EXPECT_EQ(chkIssueCount(period('f', "2005-07-01", "2006-06-30")), 12);
    // A period the wrong way round yields nothing rather than a negative count.
    EXPECT_EQ(chkIssueCount(period('f', "2006-01-01", "2005-01-01")), 0);
}

TEST(ChkPredictDates, MonthlyStartDayAndLateBegin) {
    ChkPredictInput in = period('f', "2005-01-01", "2005-12-31", 5);
    auto rows = chkPredict(in, "");
    ASSERT_EQ(rows.size(), 12u);
    for (int m = 0; m < 12; ++m) {
        char want[16];
        std::snprintf(want, sizeof want, "2005-%02d-05", m + 1);
        EXPECT_EQ(rows[m].expectDate, want);
    }
    in.beginDate = "2005-01-10";
    rows = chkPredict(in, "");
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows.front().expectDate, "2005-02-05");
    EXPECT_EQ(rows.back().expectDate, "2006-01-05");
    EXPECT_EQ(rows.back().publYear, "2006");
}

TEST(ChkPredictDates, StartDayPastTheMonthEndSpillsIntoTheNextMonth) {
    ChkPredictInput in = period('f', "2005-01-01", "2005-12-31", 31);
    EXPECT_EQ(dates(in, 0, 3), (Dates{"2005-01-31", "2005-03-03", "2005-03-31"}));
    in.beginDate = "2008-01-01";
    EXPECT_EQ(chkExpectDate(in, 1), "2008-03-02");  // 29 days in February 2008
}

TEST(ChkPredictDates, WeeklyFromEachWeekday) {
    // 3 January 2005 is a Monday; a begin on any other day waits for 10 January.
    const char* begins[] = {"2005-01-03", "2005-01-04", "2005-01-05", "2005-01-06",
                            "2005-01-07", "2005-01-08", "2005-01-09"};
    for (const char* b : begins) {
        SCOPED_TRACE(b);
        const bool monday = std::string(b) == "2005-01-03";
        ChkPredictInput c = period('c', b, "2005-12-31");
        EXPECT_EQ(dates(c, 0, 2), monday ? (Dates{"2005-01-03", "2005-01-10"})
                                         : (Dates{"2005-01-10", "2005-01-17"}));
        ChkPredictInput d = period('d', b, "2005-12-31");
        EXPECT_EQ(chkExpectDate(d, 1), monday ? "2005-01-17" : "2005-01-24");
    }
    // A Wednesday begin with start day 3: the following Monday plus two days.
    EXPECT_EQ(chkExpectDate(period('c', "2005-01-05", "2005-12-31", 3), 0), "2005-01-12");
    // A Monday begin counts the Mondays after it plus itself: the last slot is the end date.
    ChkPredictInput monday = period('c', "2007-01-01", "2007-12-31");
    auto rows = chkPredict(monday, "");
    ASSERT_EQ(rows.size(), 53u);
    EXPECT_EQ(rows.back().expectDate, "2007-12-31");
}

TEST(ChkPredictDates, TwiceWeeklyAlternatesMondayAndThursday) {
    struct Case {
        const char* begin;
        Dates first3;
    } cases[] = {
        {"2005-01-03", {"2005-01-03", "2005-01-06", "2005-01-10"}},  // Monday
        {"2005-01-04", {"2005-01-06", "2005-01-10", "2005-01-13"}},  // Tuesday
        {"2005-01-05", {"2005-01-06", "2005-01-10", "2005-01-13"}},  // Wednesday
        {"2005-01-06", {"2005-01-06", "2005-01-10", "2005-01-13"}},  // Thursday
        {"2005-01-07", {"2005-01-10", "2005-01-13", "2005-01-17"}},  // Friday
        {"2005-01-08", {"2005-01-10", "2005-01-13", "2005-01-17"}},  // Saturday
        {"2005-01-09", {"2005-01-10", "2005-01-13", "2005-01-17"}},  // Sunday
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.begin);
        EXPECT_EQ(dates(period('b', c.begin, "2005-12-31"), 0, 3), c.first3);
    }
    EXPECT_EQ(dates(period('b', "2005-01-06", "2005-12-31", 2), 0, 2),
              (Dates{"2005-01-07", "2005-01-11"}));
}

TEST(ChkPredictDates, SemimonthlyAndTenDailySlots) {
    EXPECT_EQ(dates(period('e', "2005-03-16", "2005-12-31"), 0, 3),
              (Dates{"2005-03-16", "2005-04-01", "2005-04-16"}));
    EXPECT_EQ(dates(period('e', "2005-03-05", "2005-12-31"), 0, 3),
              (Dates{"2005-03-16", "2005-04-01", "2005-04-16"}));
    EXPECT_EQ(dates(period('e', "2005-03-20", "2005-12-31"), 0, 3),
              (Dates{"2005-04-01", "2005-04-16", "2005-05-01"}));
    EXPECT_EQ(dates(period('e', "2005-12-01", "2006-12-31", 3), 0, 3),
              (Dates{"2005-12-03", "2005-12-18", "2006-01-03"}));
    EXPECT_EQ(dates(period('o', "2005-01-01", "2005-12-31"), 0, 4),
              (Dates{"2005-01-01", "2005-01-11", "2005-01-21", "2005-02-01"}));
    EXPECT_EQ(dates(period('o', "2005-01-15", "2005-12-31", 2), 0, 3),
              (Dates{"2005-01-22", "2005-02-02", "2005-02-12"}));
    EXPECT_EQ(dates(period('o', "2005-12-25", "2006-12-31"), 0, 2),
              (Dates{"2006-01-01", "2006-01-11"}));
}

TEST(ChkPredictDates, MonthStepsAndDayCodesAcrossTheYearEnd) {
    EXPECT_EQ(dates(period('h', "2005-11-15", "2006-10-31"), 0, 5),
              (Dates{"2005-12-01", "2006-03-01", "2006-06-01", "2006-09-01", "2006-12-01"}));
    EXPECT_EQ(dates(period('g', "2005-12-01", "2006-11-30"), 0, 2),
              (Dates{"2005-12-01", "2006-02-01"}));
    EXPECT_EQ(dates(period('i', "2005-01-01", "2005-12-31"), 0, 3),
              (Dates{"2005-01-01", "2005-05-01", "2005-09-01"}));
    EXPECT_EQ(dates(period('j', "2005-01-02", "2005-12-31"), 0, 2),
              (Dates{"2005-02-01", "2005-08-01"}));
    EXPECT_EQ(dates(period('l', "2005-01-01", "2008-12-31"), 0, 2),
              (Dates{"2005-01-01", "2007-01-01"}));
    EXPECT_EQ(chkExpectDate(period('m', "2005-01-01", "2010-12-31"), 1), "2008-01-01");
    // Day codes ignore the start day.
    auto daily = chkPredict(period('a', "2005-12-30", "2006-01-02", 9), "");
    ASSERT_EQ(daily.size(), 4u);
    EXPECT_EQ(daily[1].expectDate, "2005-12-31");
    EXPECT_EQ(daily[2].expectDate, "2006-01-01");
    EXPECT_EQ(daily[1].publYear, "2005");
    EXPECT_EQ(daily[2].publYear, "2006");
    EXPECT_EQ(dates(period('n', "2008-02-27", "2008-03-05", 5), 0, 3),
              (Dates{"2008-02-27", "2008-02-29", "2008-03-02"}));
}

TEST(ChkPredictDates, UnknownIrregularAndOtherUseTheCheckInBeginDate) {
    for (char code : {'u', 'y', 'z'}) {
        ChkPredictInput in = period(code, "2005-01-01", "2005-12-31", 4);
        in.chkBgnDate = "2004-11-20";
        in.qtyOfYear = 3;
        in.aslackDays = 15;
        auto rows = chkPredict(in, "");
        ASSERT_EQ(rows.size(), code == 'z' ? 3u : 1u);
        for (const ChkVolRow& r : rows) {
            EXPECT_EQ(r.expectDate, "2004-11-20");
            EXPECT_EQ(r.aslackDate, "2004-12-05");
            EXPECT_EQ(r.publYear, "2004");
        }
    }
}

TEST(ChkPredictDates, ClaimDateAddsTheClaimDays) {
    ChkPredictInput in = period('f', "2005-01-01", "2005-12-31", 25);
    in.aslackDays = 10;
    auto rows = chkPredict(in, "");
    EXPECT_EQ(rows[0].aslackDate, "2005-02-04");
    EXPECT_EQ(rows[11].aslackDate, "2006-01-04");
}

TEST(ChkPredictNumbers, VolumesIssuesAndRunningNumbers) {
    ChkPredictInput in = period('f', "2005-01-01", "2005-12-31");
    in.begVol = 10;
    in.begIssue = 11;
    in.perVol = 12;
    in.begTotal = 131;
    auto rows = chkPredict(in, "");
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[0].coverIssue, "11");
    EXPECT_EQ(rows[1].coverIssue, "12");
    EXPECT_EQ(rows[2].coverIssue, "1");
    EXPECT_EQ(rows[3].coverIssue, "2");
    EXPECT_EQ(rows[1].coverVol, "10");
    EXPECT_EQ(rows[2].coverVol, "11");
    EXPECT_EQ(rows[11].coverVol, "11");
    EXPECT_EQ(rows[11].coverIssueTotal, "142");

    // Running on from issue 25 of volume 3, 12 a volume, the volume began with issue 25.
    in.begVol = 3;
    in.begIssue = 25;
    in.volBegIssue = 25;
    in.issueContinue = true;
    in.endDate = "2006-12-31";
    rows = chkPredict(in, "");
    EXPECT_EQ(rows[0].coverIssue, "25");
    EXPECT_EQ(rows[11].coverVol, "3");
    EXPECT_EQ(rows[12].coverIssue, "37");
    EXPECT_EQ(rows[12].coverVol, "4");
    // Running on without the first issue of the volume: S mod Q places issue 25 first in it.
    in.volBegIssue = 0;
    rows = chkPredict(in, "");
    EXPECT_EQ(rows[11].coverVol, "3");
    EXPECT_EQ(rows[12].coverVol, "4");
    in.begIssue = 24;  // 24 mod 12 = 0: issue 24 closes volume 3
    rows = chkPredict(in, "");
    EXPECT_EQ(rows[0].coverVol, "3");
    EXPECT_EQ(rows[1].coverVol, "4");
}

TEST(ChkPredictNumbers, MissingVolumeOrIssueOrRunningNumber) {
    ChkPredictInput in = period('f', "2005-01-01", "2005-12-31");
    in.begTotal = 0;
    in.begIssue = 5;
    in.perVol = 12;
    auto rows = chkPredict(in, "");
    EXPECT_EQ(rows[0].coverVol, "");
    EXPECT_EQ(rows[0].coverIssue, "5");
    EXPECT_EQ(rows[11].coverIssue, "16");  // no volume: no wrap
    EXPECT_EQ(rows[11].coverIssueTotal, "");
    in.begIssue = 0;
    in.begVol = 7;
    rows = chkPredict(in, "");
    EXPECT_EQ(rows[0].coverIssue, "");
    EXPECT_EQ(rows[0].coverVol, "7");
    EXPECT_EQ(rows[2].coverVol, "9");  // one volume an issue
}

TEST(ChkPredictNumbers, KeysFollowTheLargestInUse) {
    ChkPredictInput in = period('h', "2005-01-01", "2005-12-31");
    auto rows = chkPredict(in, "");
    EXPECT_EQ(rows[0].periId, "0000000001");
    EXPECT_EQ(rows[3].periId, "0000000004");
    EXPECT_EQ(rows[3].periNo, 4);
    rows = chkPredict(in, "0000009999");
    EXPECT_EQ(rows[0].periId, "0000010000");
    EXPECT_EQ(rows[3].periId, "0000010003");
}

TEST(ChkRoman, UnitFormsAndRoundTrip) {
    const char* units[] = {"Ⅰ", "Ⅱ", "Ⅲ", "IV", "V", "VI", "VⅡ", "VⅢ", "IX"};
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(chkRoman(n), units[n - 1]);
    EXPECT_EQ(chkRoman(12), "XⅡ");
    EXPECT_EQ(chkRoman(1994), "MCMXCIV");
    EXPECT_EQ(chkRoman(0), "");
    for (int n = 1; n <= 4999; ++n)
        ASSERT_EQ(chkRomanValue(chkRoman(n)), n) << n;
    EXPECT_EQ(chkRomanValue("XIV"), 14);
    EXPECT_FALSE(chkRomanValue("12").has_value());
    EXPECT_FALSE(chkRomanValue("").has_value());
    EXPECT_FALSE(chkRomanValue("\xE2\x85\xA5").has_value());  // U+2165 is not one of the three
}

TEST(ChkRoman, PredictionWritesEveryNumberColumnInRoman) {
    ChkPredictInput in = period('k', "2005-01-01", "2012-12-31");
    in.roman = true;
    in.begVol = 1;
    in.begIssue = 7;
    in.perVol = 8;
    in.begTotal = 3;
    auto rows = chkPredict(in, "");
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0].coverVol, "Ⅰ");
    EXPECT_EQ(rows[0].coverIssue, "VⅡ");
    EXPECT_EQ(rows[1].coverIssue, "VⅢ");
    EXPECT_EQ(rows[2].coverVol, "Ⅱ");
    EXPECT_EQ(rows[2].coverIssue, "Ⅰ");
    EXPECT_EQ(rows[7].coverIssueTotal, "X");
    EXPECT_EQ(rows[0].expectDate, "2005-01-01");
}

TEST(ChkValidate, RulesInOrderWithTheirMessages) {
    ChkPredictInput in = period('f', "2005-01-01", "2005-12-31");
    in.begTotal = 0;
    in.begVol = 2;
    in.begIssue = 13;
    in.startDay = 0;
    in.endDate = "2004-12-31";
    EXPECT_EQ(chkValidate(in), "订购起始日期不能大于订购截止日期。");
    in.endDate = "2005-12-31";
    EXPECT_EQ(chkValidate(in), "起始天数不能为空。");
    in.code = 'z';  // the start day is not entered for z
    EXPECT_EQ(chkValidate(in), "每卷期数不能为空。");
    in.code = 'f';
    in.startDay = 1;
    in.perVol = 12;
    EXPECT_EQ(chkValidate(in), "起始期不能大于每卷期数。");
    in.issueContinue = true;
    in.volBegIssue = 14;
    EXPECT_EQ(chkValidate(in), "首卷首期不能大于起始期。");
    in.volBegIssue = 13;
    EXPECT_EQ(chkValidate(in), "");
    in.begVol = in.begIssue = 0;
    EXPECT_EQ(chkValidate(in), "起始卷，起始期，起始总期不能全部为空。");
}
