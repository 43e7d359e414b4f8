// Finding what to check in: the search fields of QKINDEX.INI, the order-line search with its
// refusals and filters on both backends, the reading of scanned codes, the issue a scan picks,
// the arrival states; and the serialsctl verbs that drive the same core.
#include <gtest/gtest.h>

#include "checkin/core/basChkIn.h"
#include "checkin/core/basChkSearch.h"
#include "tests/checkin/test_chk_in_fixture.h"
#include "tests/support/CtlRun.h"

namespace {

TEST(ChkSearchFields, BuiltInFileOffersIndexLabelNumberAndDistributor) {
    std::vector<ChkSearchField> f = ParseChkSearchFields(DefaultQkIndexText());
    ASSERT_GE(f.size(), 4u);
    EXPECT_EQ(f[0].caption, "题名");
    EXPECT_EQ(f[0].kind, "IDX");
    EXPECT_EQ(f[0].group, "01");
    EXPECT_EQ(f[1].caption, "ISSN");
    EXPECT_EQ(f[1].group, "03");
    std::set<std::string> kinds;
    for (const auto& x : f)
        kinds.insert(x.kind);
    EXPECT_EQ(kinds, (std::set<std::string>{"IDX", "LABEL", "ASORDNO", "PUBL"}));
}

TEST(ChkSearchFields, EntriesOfUnknownKindOrWithoutGroupAreLeftOut) {
    std::vector<ChkSearchField> f = ParseChkSearchFields(
        "[期刊签到检索途径]\n2=ISSN, idx ,03\n1=题名,IDX\n3=价格,PRICE\n5=订购号,ASORDNO\n"
        "[别的]\n4=发行商,PUBL\n");
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].caption, "ISSN");
    EXPECT_EQ(f[0].kind, "IDX");
    EXPECT_EQ(f[1].kind, "ASORDNO");
}

TEST(ScannedCode, SerialEanGivesItsIssnAndTheTwoDigitAddOnItsIssue) {
    struct Case {
        const char* code;
        const char* issn;
        const char* addOn;
    };
    for (const Case& c : std::vector<Case>{
             {"9771001886009", "1001-8867", ""},
             {"977100188600903", "1001-8867", "3"},
             {"9771001886009 12", "1001-8867", "12"},
             {"977100188600912345", "1001-8867", ""},
             {"1001-8867", "1001-8867", ""},
             {"0317-847x", "0317-847X", ""},
             {"9787302123456", "", ""},
             {"图书馆", "", ""},
         }) {
        ScannedCode s = ReadScannedCode(c.code);
        EXPECT_EQ(s.issn, c.issn) << c.code;
        EXPECT_EQ(s.addOn, c.addOn) << c.code;
    }
}

ChkInIssue issue(const std::string& coverIssue, int received, const std::string& expect = "",
                 const std::string& claim = "") {
    ChkInIssue i;
    i.coverIssue = coverIssue;
    i.received = received;
    i.expectDate = expect;
    i.aslackDate = claim;
    return i;
}

TEST(ArrivalStates, CopiesAgainstSubscriptionAndTheClaimDateAgainstToday) {
    const std::string today = "2036-03-20";
    EXPECT_EQ(IssueArrival(issue("1", 3), 3, today), ArrivalState::Arrived);
    EXPECT_EQ(IssueArrival(issue("1", 1), 3, today), ArrivalState::Partial);
    EXPECT_EQ(IssueArrival(issue("1", 0, "2036-02-05", "2036-03-19"), 3, today),
              ArrivalState::Late);
    EXPECT_EQ(IssueArrival(issue("1", 0, "2036-02-05", "2036-03-20"), 3, today),
              ArrivalState::Expected);
    EXPECT_EQ(IssueArrival(issue("1", 0, "2036-03-19"), 3, today + " 08:00:00"),
              ArrivalState::Late);
    EXPECT_EQ(IssueArrival(issue("1", 0), 3, today), ArrivalState::Expected);
    EXPECT_EQ(ArrivalText(ArrivalState::Late), "逾期未到");
    EXPECT_EQ(ArrivalTip(issue("1", 4), 3), "复本：3  已签：4  未签：0");
    EXPECT_EQ(PeriTypeLabel("9"), "合刊");
    EXPECT_EQ(PeriTypeLabel("3"), "索引刊");
}

TEST(ScanPicksIssue, FirstNotFullyArrivedOrTheOneTheAddOnNames) {
    std::vector<ChkInIssue> v{issue("1", 2), issue("2", 1), issue("3", 0), issue("3-4", 0)};
    EXPECT_EQ(PickScannedIssue(v, 2, ""), 1);
    EXPECT_EQ(PickScannedIssue(v, 2, "3"), 2);
    EXPECT_EQ(PickScannedIssue(v, 2, "1"), -1);
    EXPECT_EQ(PickScannedIssue(v, 2, "9"), -1);
    v[2].received = 2;
    EXPECT_EQ(PickScannedIssue(v, 2, "3"), 3);
}

class ChkSearch : public ChkDbTest {
protected:
    ChkSearchQuery query(const std::string& caption, const std::string& text) {
        ChkSearchQuery q;
        for (const auto& f : LoadChkSearchFields())
            if (f.caption == caption) q.field = f;
        EXPECT_FALSE(q.field.kind.empty()) << caption;
        q.text = text;
        return q;
    }
    std::string found(const ChkSearchQuery& q) {
        LibArray rows;
        if (intChkSearch(q, rows) != 0) return "none";
        std::string out;
        for (int r = 2; r < rows.rows(); ++r)
            out += (out.empty() ? "" : " ") + rows(0, r).str() + "/" + rows(1, r).str() + "/" +
                   rows(2, r).str();
        return out;
    }
};
SERIALS_ON_BOTH_BACKENDS(ChkSearch);

TEST_P(ChkSearch, FindsTheLineByIssnScanLabelNumberAndDistributor) {
    EXPECT_EQ(found(query("ISSN", "1001-8867")), "YZFX/203601/5-01");
    EXPECT_EQ(found(query("ISSN", ReadScannedCode("977100188600903").issn)), "YZFX/203601/5-01");
    EXPECT_EQ(found(query("排架标签", "g25/7")), "YZFX/203601/5-01");
    EXPECT_EQ(found(query("订购号", "5-0")), "YZFX/203601/5-01");
    ChkSearchQuery byPubl = query("发行商代码", "yzfx");
    byPubl.year = "2036";
    EXPECT_EQ(found(byPubl), "YZFX/203601/5-01");
}

TEST_P(ChkSearch, FiltersNarrowTheLinesAndUnsentLinesAreNotOffered) {
    ChkSearchQuery q = query("ISSN", "1001");
    q.language = "FOREIGN";
    EXPECT_EQ(found(q), "none");
    EXPECT_EQ(presenter.shown.back().body, "无该期刊订购信息，请重新查询！");
    q.language = "CHI";
    q.yearRange = true;
    q.yearFrom = "2035";
    q.yearTo = "2036";
    EXPECT_EQ(found(q), "YZFX/203601/5-01");
    q.yearFrom = "2037";
    q.yearTo = "2038";
    EXPECT_EQ(found(q), "none");
    q.yearRange = false;
    q.carrier = "02";
    EXPECT_EQ(found(q), "none");
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='0' WHERE asord_no='5-01'");
    EXPECT_EQ(found(query("ISSN", "1001-8867")), "none");
}

TEST_P(ChkSearch, EmptyTextAndAReversedYearRangeAreRefused) {
    EXPECT_EQ(found(query("题名", "  ")), "none");
    EXPECT_EQ(presenter.shown.back().body, "查询内容不能为空");
    ChkSearchQuery q = query("题名", "图书馆");
    q.yearRange = true;
    q.yearFrom = "2036";
    q.yearTo = "2035";
    EXPECT_EQ(found(q), "none");
    EXPECT_EQ(presenter.shown.back().body, "年度区间不正确");
    std::vector<std::string> years;
    ASSERT_EQ(intLoadOrdYears(years), 0);
    ASSERT_FALSE(years.empty());
    EXPECT_EQ(years.front(), "2036");
}

// serialsctl on a demo home with the title above, as the check-in librarian.
class ChkCtl : public CtlTest {
protected:
    void SetUp() override {
        CtlTest::SetUp();
        if (IsSkipped()) return;
        home = std::make_unique<TestHome>(GetParam(), OrdTestInstall());
        openSession(*home);
        InsertChkTitle();
        resetProcessState();
    }
    void TearDown() override { home.reset(); }
    CtlResult ctl(std::vector<std::string> args) {
        args.insert(args.begin(), {"--user", "JD01", "--password", "1234"});
        return runCtl(binary, home->dir(), args);
    }
    std::unique_ptr<TestHome> home;
};
SERIALS_ON_BOTH_BACKENDS(ChkCtl);

TEST_P(ChkCtl, ReceiveListUndoAndSearch) {
    CtlResult r = ctl({"checkin", "receive", chkIssueId(1), "QK01", "--copies", "2"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "签收 2 册\n");
    r = ctl({"checkin", "issues", "YZFX", "203601", "5-01", "QK01", "--csv"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::vector<std::string> lines = LIB_Split(r.out, "\n");
    ASSERT_GE(lines.size(), 13u);
    EXPECT_EQ(lines[0],
              "peri_id,peri_no,cover_vol,cover_issue,cover_issue_total,expect_date,"
              "aslack_date,peri_type,received,subscribed,state");
    EXPECT_EQ(lines[1], chkIssueId(1) + ",1,12,1,101,2036-01-05,2036-02-04,普通刊,2,3,部分到");
    EXPECT_EQ(lines[12], chkIssueId(12) + ",12,12,12,112,2036-12-05,2037-01-04,普通刊,0,3,未到");
    r = ctl({"checkin", "undo", chkIssueId(1), "QK01"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "撤销签收 2 册\n");
    r = ctl({"checkin", "search", "ISSN", "1001-8867"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("图书馆学研究"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("5-01"), std::string::npos) << r.out;
}

TEST_P(ChkCtl, BatchAppendsTheProposedRun) {
    // Volume and issue numbers need the issues per volume, which this line lacks.
    CtlResult r = ctl({"checkin", "batch", "YZFX", "203601", "5-01", "QK01", "--count", "2"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("每卷期数不能为空。"), std::string::npos) << r.err;
    openSession(*home);
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET qty_of_vol=12, days_of_aslack=30");
    resetProcessState();
    r = ctl({"checkin", "batch", "YZFX", "203601", "5-01", "QK01", "--count", "0"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("新增期数不能为空。"), std::string::npos) << r.err;
    r = ctl({"checkin", "batch", "YZFX", "203601", "5-01", "QK01", "--count", "2", "--first",
             "2037-03-01"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "新增 2 期，自 2037-03-01 起\n");
    r = ctl({"checkin", "issues", "YZFX", "203601", "5-01", "QK01", "--csv"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::vector<std::string> lines = LIB_Split(r.out, "\n");
    ASSERT_GE(lines.size(), 15u);
    // Issue 12 closed volume 12: the run opens volume 13, a month apart.
    EXPECT_EQ(lines[13].substr(10), ",13,13,1,113,2037-03-01,2037-03-31,普通刊,0,3,未到");
    EXPECT_EQ(lines[14].substr(10), ",14,13,2,114,2037-04-01,2037-05-01,普通刊,0,3,未到");
}

TEST_P(ChkCtl, RefusalsExitWithTheirMessage) {
    CtlResult r = ctl({"checkin", "receive", chkIssueId(1), "WWQK"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("你没有操作该订户的权限。"), std::string::npos) << r.err;
    r = ctl({"checkin", "receive", "0000000077", "QK01"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("无此卷期"), std::string::npos) << r.err;
    r = ctl({"checkin", "search", "价格", "1"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("题名"), std::string::npos) << r.err;
    r = runCtl(binary, home->dir(),
               {"--user", "DY01", "--password", "1234", "checkin", "issues", "YZFX", "203601",
                "5-01", "QK01"});
    EXPECT_EQ(r.code, 1);
}

}  // namespace
