// The claim search and recording on both backends: the claim rules at their day boundaries,
// quantities, the filters and the three lists, the one-statement search against a per-row
// reference on random data, and recording claims in one transaction that a fault anywhere
// leaves undone.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <tuple>

#include "checkin/core/basChkClaim.h"
#include "db/DbTransaction.h"
#include "db/LargeRead.h"
#include "db/RawSelect.h"
#include "ordering/core/basOrdFunc.h"
#include "tests/checkin/ClaimTestData.h"
#include "tests/support/ProbeBackend.h"

namespace {

std::vector<std::string> ids(const std::vector<ClaimCandidate>& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows)
        out.push_back(r.periId + "@" + r.location);
    return out;
}

std::vector<ClaimCandidate> search(const ClaimFilter& f, ClaimList list = ClaimList::ToClaim,
                                   const std::string& today = kClaimToday) {
    std::vector<ClaimCandidate> rows;
    EXPECT_NE(claimSearch(f, list, today, rows), ClaimSearchResult::DbError) << g_ErrInfo.strDesc;
    return rows;
}

ClaimFilter byYear(const std::string& year = "2026") {
    ClaimFilter f;
    f.year = year;
    return f;
}

class ClaimSearch : public ClaimDbTest {};
SERIALS_ON_BOTH_BACKENDS(ClaimSearch);

TEST_P(ClaimSearch, ClaimDateMustHavePassed) {
    ClaimLine l;
    addLine(l);
    addIssue(l, "0000000001", 1, "2026-03-10");  // today
    addIssue(l, "0000000002", 2, "2026-03-09");  // yesterday
    addIssue(l, "0000000003", 3, "2026-03-11");
    EXPECT_EQ(ids(search(byYear())), std::vector<std::string>{"0000000002@QK01"});
    // A day later the issue due today is listed too, in running-issue order.
    EXPECT_EQ(ids(search(byYear(), ClaimList::ToClaim, "2026-03-11")),
              (std::vector<std::string>{"0000000001@QK01", "0000000002@QK01"}));
}

// Both databases give the lists in one order: to claim by running issue number, then order line
// and location; claimed by latest claim, newest first, then running issue number.
TEST_P(ClaimSearch, ListsComeByRunningNumberOrNewestClaim) {
    ClaimLine a;
    a.subs = {{"QK01", 1}, {"QKYL", 1}};
    addLine(a);
    ClaimLine b = a;
    b.asord = "2-16";
    b.marc = "T000000002";
    addLine(b);
    addIssue(b, "0000000001", 2, "2026-01-01");
    addIssue(a, "0000000002", 2, "2026-01-01");
    addIssue(b, "0000000003", 1, "2026-01-01");
    addIssue(a, "0000000004", 1, "2026-01-01");
    EXPECT_EQ(ids(search(byYear())),
              (std::vector<std::string>{"0000000004@QK01", "0000000004@QKYL", "0000000003@QK01",
                                        "0000000003@QKYL", "0000000002@QK01", "0000000002@QKYL",
                                        "0000000001@QK01", "0000000001@QKYL"}));
    addClaim("0000000001", "QK01", "2026-02-10");
    addClaim("0000000004", "QKYL", "2026-02-20");
    addClaim("0000000002", "QK01", "2026-02-10");
    EXPECT_EQ(ids(search(byYear(), ClaimList::Claimed)),
              (std::vector<std::string>{"0000000004@QKYL", "0000000002@QK01", "0000000001@QK01"}));
}

TEST_P(ClaimSearch, QuantityIsTheCopiesStillMissingPerLocation) {
    ClaimLine l;
    l.subs = {{"QK01", 3}, {"QKYL", 2}};
    addLine(l);
    addIssue(l, "0000000001", 1, "2026-03-01");
    addCopies("0000000001", "QK01", 2);
    addCopies("0000000001", "QKYL", 2);
    auto rows = search(byYear());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].location, "QK01");
    EXPECT_EQ(rows[0].subQty, 3);
    EXPECT_EQ(rows[0].received, 2);
    EXPECT_EQ(rows[0].qty, 1);
    EXPECT_EQ(rows[0].title, "计算机学报");
    EXPECT_EQ(rows[0].issn, "0254-4164");
    EXPECT_EQ(rows[0].cover, "45卷1期");
    EXPECT_EQ(rows[0].label, "TP3/12");
}

TEST_P(ClaimSearch, LaterClaimsWaitForTheirIntervalFromTheLatestClaim) {
    ClaimLine a;  // claimed once ten days ago, second claim after 15 days
    addLine(a);
    addIssue(a, "0000000001", 1, "2026-01-01");
    addClaim("0000000001", "QK01", "2026-02-28");
    ClaimLine b = a;  // the same with 10 days
    b.asord = "2-16";
    b.marc = "T000000002";
    b.second = 10;
    addLine(b);
    addIssue(b, "0000000002", 1, "2026-01-01");
    addClaim("0000000002", "QK01", "2026-02-28");
    auto rows = search(byYear());
    EXPECT_EQ(ids(rows), std::vector<std::string>{"0000000002@QK01"});
    EXPECT_EQ(rows[0].claimCount, 1);
    EXPECT_EQ(rows[0].lastClaimDate, "2026-02-28");
    // The third claim counts aslack_third (20) from the latest of two claims.
    addClaim("0000000002", "QK01", "2026-02-19");
    addClaim("0000000001", "QK01", "2026-02-18");  // now 2 claims, latest 2026-02-28
    EXPECT_TRUE(search(byYear()).empty());
    EXPECT_EQ(ids(search(byYear(), ClaimList::ToClaim, "2026-03-20")),
              (std::vector<std::string>{"0000000001@QK01", "0000000002@QK01"}));
    EXPECT_TRUE(search(byYear(), ClaimList::ToClaim, "2026-03-19").empty());
}

TEST_P(ClaimSearch, ThreeClaimsAreNeverListedAgain) {
    ClaimLine l;
    addLine(l);
    addIssue(l, "0000000001", 1, "2025-01-01");
    for (const char* d : {"2025-02-01", "2025-03-01", "2025-04-01"})
        addClaim("0000000001", "QK01", d);
    EXPECT_TRUE(search(byYear(), ClaimList::ToClaim, "2030-01-01").empty());
    auto claimed = search(byYear(), ClaimList::Claimed);
    ASSERT_EQ(claimed.size(), 1u);
    EXPECT_EQ(claimed[0].claimCount, 3);
    EXPECT_EQ(claimed[0].lastClaimDate, "2025-04-01");
}

TEST_P(ClaimSearch, LinesWithoutClaimsAndFinishedOrCompleteIssuesGiveNothing) {
    ClaimLine off;
    off.ysno = "0";
    addLine(off);
    addIssue(off, "0000000001", 1, "2026-01-01");
    ClaimLine on;
    on.asord = "2-16";
    on.marc = "T000000002";
    addLine(on);
    addIssue(on, "0000000002", 1, "2026-01-01", "1");  // finished
    addIssue(on, "0000000003", 2, "2026-01-01");
    addCopies("0000000003", "QK01", 3);  // all arrived
    std::vector<ClaimCandidate> rows;
    EXPECT_EQ(claimSearch(byYear(), ClaimList::ToClaim, kClaimToday, rows),
              ClaimSearchResult::Nothing);
    EXPECT_EQ(intFindClaims(byYear(), ClaimList::ToClaim, rows), 1);
    EXPECT_EQ(presenter.shown.back().body, "没有缺刊！");
    EXPECT_EQ(intFindClaims(byYear(), ClaimList::Claimed, rows), 1);
    EXPECT_EQ(presenter.shown.back().body, "没有已经催缺的期刊！");
}

TEST_P(ClaimSearch, FiltersNarrowTheListAndOneConditionIsRequired) {
    ClaimLine a;
    a.subs = {{"QK01", 1}, {"QKYL", 1}};
    addLine(a);
    addIssue(a, "0000000001", 1, "2026-01-01");
    ClaimLine b;
    b.publ = "TSJK";
    b.year = "202502";
    b.asord = "9-1";
    b.marc = "T000000002";
    b.title = "Journal of Testing";
    b.getMode = "02";
    b.docType = "k";
    addLine(b);
    addIssue(b, "0000000002", 1, "2026-01-01");
    ClaimFilter f;
    std::vector<ClaimCandidate> rows;
    EXPECT_EQ(claimSearch(f, ClaimList::ToClaim, kClaimToday, rows),
              ClaimSearchResult::NoCondition);
    EXPECT_EQ(intFindClaims(f, ClaimList::ToClaim, rows), -1);
    EXPECT_NE(presenter.shown.back().body.find("请至少指定一个查询条件"), std::string::npos);

    f.location = "QKYL";
    EXPECT_EQ(ids(search(f)), std::vector<std::string>{"0000000001@QKYL"});
    f = byYear("2025");
    EXPECT_EQ(ids(search(f)), std::vector<std::string>{"0000000002@QK01"});
    f = {};
    f.asordNo = "9-1";
    EXPECT_EQ(ids(search(f)), std::vector<std::string>{"0000000002@QK01"});
    f = {};
    f.getMode = "01";
    EXPECT_EQ(search(f).size(), 2u);
    f.publCodes = {"TSJK"};
    EXPECT_TRUE(search(f).empty());
    f = byYear();
    f.year = "20";
    f.docType = "k";
    EXPECT_EQ(ids(search(f)), std::vector<std::string>{"0000000002@QK01"});
    f.docType.clear();
    f.publCodes = {"YZFX", "TSJK"};
    EXPECT_EQ(search(f).size(), 3u);
}

TEST_P(ClaimSearch, SearchTextGoesThroughTheIndex) {
    ClaimLine a;
    addLine(a);
    addIssue(a, "0000000001", 1, "2026-01-01");
    ClaimLine b;
    b.asord = "2-16";
    b.marc = "T000000002";
    addLine(b);
    addIssue(b, "0000000002", 1, "2026-01-01");
    sqlRun(
        "INSERT INTO marc_idx (marc_rec_no, marc_idx_grp, marc_idx_cont) VALUES "
        "('T000000002','02','0254-4164')");
    ClaimFilter f;
    f.idxGroup = "02";
    f.searchText = "0254";
    EXPECT_EQ(ids(search(f)), std::vector<std::string>{"0000000002@QK01"});
    f.searchText = "   ";
    std::vector<ClaimCandidate> rows;
    EXPECT_EQ(intFindClaims(f, ClaimList::ToClaim, rows), -1);
    EXPECT_NE(presenter.shown.back().body.find("检索内容不符合该检索途径的要求"),
              std::string::npos);
}

TEST_P(ClaimSearch, OptionKeepsOnlyIssuesFollowedByAnArrivedIssue) {
    ClaimLine l;
    l.subs = {{"QK01", 1}, {"QKYL", 1}};
    addLine(l);
    addIssue(l, "0000000001", 1, "2026-01-01");
    addIssue(l, "0000000002", 2, "2026-01-15");
    addIssue(l, "0000000003", 3, "2026-02-01");
    addCopies("0000000002", "QK01", 1);  // issue 2 came to QK01 only
    EXPECT_EQ(ids(search(byYear(), ClaimList::ToClaimAfterLater)),
              std::vector<std::string>{"0000000001@QK01"});
    EXPECT_EQ(search(byYear()).size(), 5u);
}

// The per-row way, as a reference: the base rows, then per row a count of copies and the claims
// newest first.
std::vector<std::tuple<std::string, std::string, int, int, std::string>> perRowReference(
    ClaimList list, const std::string& today) {
    auto days = [](const std::string& d) {  // days since 1970-01-01 of "yyyy-mm-dd"
        int y = std::stoi(d.substr(0, 4)), m = std::stoi(d.substr(5, 2)),
            dd = std::stoi(d.substr(8, 2));
        y -= m <= 2;
        int era = y / 400, yoe = y - era * 400;
        int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + dd - 1;
        int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        return era * 146097 + doe - 719468;
    };
    LibArray base;
    EXPECT_EQ(
        LIB_DB_Select("SELECT a.peri_id,c.location,c.sub_peri_qty,b.aslack_second,b.aslack_third,"
                      "a.publ_code,a.peri_ord_year,a.asord_no,a.peri_no"
                      " FROM m_peri_chk_vol a,m_peri_ord_detl b,marc m,m_sub_ord_lst c"
                      " WHERE a.publ_code=b.publ_code AND a.peri_ord_year=b.peri_ord_year"
                      " AND a.asord_no=b.asord_no AND m.marc_rec_no=b.marc_rec_no"
                      " AND c.publ_code=a.publ_code AND c.peri_ord_year=a.peri_ord_year"
                      " AND c.asord_no=a.asord_no AND a.finish_flag='0' AND b.aslack_ysno='1'"
                      " AND a.aslack_date<" +
                          q(today) + " AND a.peri_ord_year LIKE '2026%'",
                      base),
        0);
    std::vector<std::tuple<std::string, std::string, int, int, std::string>> out;
    for (int r = 2; r < base.rows(); ++r) {
        std::string id = base(0, r).str(), loc = base(1, r).str();
        int sub = static_cast<int>(base(2, r).num());
        LibArray n, claims, later;
        LIB_DB_Select("SELECT COUNT(peri_id) FROM m_peri_item WHERE peri_id=" + q(id) +
                          " AND location=" + q(loc),
                      n);
        LIB_DB_Select("SELECT peri_id,aslack_detl_date FROM m_aslack_rec WHERE peri_id=" + q(id) +
                          " AND location=" + q(loc) + " ORDER BY aslack_detl_date DESC",
                      claims);
        int received = static_cast<int>(n(0, 2).num());
        int count = claims.recordCount();
        std::string last = count ? claims(1, 2).str() : "";
        int missing = sub - received;
        bool keep;
        if (list == ClaimList::Claimed) {
            keep = count > 0;
        } else {
            int wait = count == 1 ? static_cast<int>(base(3, r).num())
                                  : static_cast<int>(base(4, r).num());
            keep = missing > 0 && (count == 0 || (count < 3 && days(today) >= days(last) + wait));
            if (keep && list == ClaimList::ToClaimAfterLater) {
                LIB_DB_Select(
                    "SELECT COUNT(m_peri_item.peri_id) FROM m_peri_item,m_peri_chk_vol"
                    " WHERE m_peri_item.peri_id=m_peri_chk_vol.peri_id"
                    " AND m_peri_chk_vol.publ_code=" +
                        q(base(5, r).str()) +
                        " AND m_peri_chk_vol.peri_ord_year=" + q(base(6, r).str()) +
                        " AND m_peri_chk_vol.asord_no=" + q(base(7, r).str()) +
                        " AND m_peri_item.location=" + q(loc) + " AND m_peri_chk_vol.peri_no>" +
                        base(8, r).str(),
                    later);
                keep = later(0, 2).num() > 0;
            }
        }
        if (keep) out.emplace_back(id, loc, missing, count, last);
    }
    std::sort(out.begin(), out.end());
    return out;
}

// Forty lines of random subscribers, issues, copies and claims; a sixth of the issues marked
// finished whatever their copies when `finishedAtRandom`, else none.
void addRandomLines(bool finishedAtRandom) {
    std::mt19937 rng(20260310);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    g_OraDatabase->begin();
    int peri = 0;
    const char* locations[] = {"QK01", "QKYL", "WWQK"};
    for (int line = 0; line < 40; ++line) {
        ClaimLine l;
        l.asord = "R-" + std::to_string(line);
        l.marc = "R" + std::to_string(100000000 + line);
        l.year = line % 7 == 0 ? "202501" : "202601";
        l.ysno = line % 9 == 0 ? "0" : "1";
        l.second = pick(0, 30);
        l.third = pick(0, 30);
        l.subs.clear();
        for (int k = 0; k < 3; ++k)
            if (pick(0, 2)) l.subs.emplace_back(locations[k], pick(1, 3));
        addLine(l);
        for (int n = 1; n <= 8; ++n) {
            char id[16];
            std::snprintf(id, sizeof id, "%010d", ++peri);
            const bool finished = pick(0, 5) == 0 && finishedAtRandom;
            addIssue(l, id, n, claimDateAdd("2026-01-01", pick(0, 80)), finished ? "1" : "0");
            for (const auto& [loc, qty] : l.subs) {
                addCopies(id, loc, pick(0, qty));
                int claims = pick(0, 4);
                for (int c = 0; c < claims; ++c)
                    addClaim(id, loc, claimDateAdd("2026-02-01", pick(0, 40)));
            }
        }
    }
    g_OraDatabase->commit();
}

using ClaimKeys = std::vector<std::tuple<std::string, std::string, int, int, std::string>>;

ClaimKeys searchKeys(ClaimList list, const std::string& today) {
    ClaimKeys got;
    for (const auto& c : search(byYear(), list, today))
        got.emplace_back(c.periId, c.location, c.missing(), c.claimCount, c.lastClaimDate);
    std::sort(got.begin(), got.end());
    return got;
}

TEST_P(ClaimSearch, OneStatementGivesThePerRowResultOnRandomData) {
    addRandomLines(true);
    for (ClaimList list : {ClaimList::ToClaim, ClaimList::ToClaimAfterLater, ClaimList::Claimed}) {
        for (const char* today : {"2026-02-15", "2026-03-10", "2026-04-02"}) {
            auto want = perRowReference(list, today);
            EXPECT_EQ(searchKeys(list, today), want)
                << "list " << static_cast<int>(list) << " on " << today;
            if (list == ClaimList::ToClaim) {
                EXPECT_GT(want.size(), 10u) << today;
            }
        }
    }
}

// A SQLite library has no planner statistics (the program gathers none there), so the whole
// library's search must find its way by the schema alone: the lists to claim read the owed
// copies whole and every other table by its keys; the claimed list starts from the open issues'
// index. On PostgreSQL the read's own settings last only as long as its transaction.
TEST_P(ClaimSearch, WholeLibraryReadGoesByIndexesWithSettingsOfItsOwn) {
    ClaimFilter all;
    all.anyOrder = true;
    if (GetParam() == std::string(kSqlite)) {
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM sqlite_master WHERE name='sqlite_stat1'"), "0");
        for (ClaimList list :
             {ClaimList::ToClaim, ClaimList::ToClaimAfterLater, ClaimList::Claimed}) {
            RawResult plan;
            ASSERT_EQ(
                LIB_DB_SelectRaw(
                    "EXPLAIN QUERY PLAN " + claimSearchStatement(all, list, kClaimToday), plan),
                0)
                << g_ErrInfo.strDesc;
            std::string steps;
            for (const auto& row : plan.rows)
                steps += row.back().str() + "\n";
            const bool claimed = list == ClaimList::Claimed;
            if (claimed) {
                EXPECT_NE(steps.find("SEARCH a USING INDEX M_PERI_CHK_VOL_OPEN_IDX"),
                          std::string::npos)
                    << steps;
            }
            for (const auto& row : plan.rows) {
                const std::string step = row.back().str();
                if (step.rfind("SCAN ", 0) == 0) {
                    EXPECT_EQ(step, claimed ? "SCAN u" : "SCAN l") << steps;
                }
            }
        }
    } else {
        const std::string jit = scalar("SHOW jit"), memory = scalar("SHOW work_mem");
        {
            DbTransaction tx;
            ASSERT_TRUE(tx.ok());
            ASSERT_EQ(LIB_DB_PrepareLargeRead(), 0) << g_ErrInfo.strDesc;
            EXPECT_EQ(scalar("SHOW jit"), "off");
            EXPECT_EQ(scalar("SHOW work_mem"), "64MB");
            ASSERT_EQ(tx.commit(), 0);
        }
        EXPECT_EQ(scalar("SHOW jit"), jit);
        EXPECT_EQ(scalar("SHOW work_mem"), memory);
        EXPECT_NE(memory, "64MB");
    }
    addRandomLines(true);
    EXPECT_FALSE(search(all).empty());
}

// The flag kept by check-in only takes away issues that have every copy: the lists to claim
// are those of a library where no issue is ever marked finished.
TEST_P(ClaimSearch, FinishedIssuesAreOnlyThoseNothingIsMissingOf) {
    addRandomLines(false);
    std::map<std::pair<int, std::string>, ClaimKeys> open;
    for (ClaimList list : {ClaimList::ToClaim, ClaimList::ToClaimAfterLater})
        for (const char* today : {"2026-02-15", "2026-04-02"})
            open[{static_cast<int>(list), today}] = perRowReference(list, today);
    {
        DbTransaction tx;
        ASSERT_EQ(intRefreshIssueFinish("peri_ord_year LIKE '2026%'"), 0) << g_ErrInfo.strDesc;
        ASSERT_EQ(tx.commit(), 0);
    }
    EXPECT_GT(std::stoi(scalar("SELECT COUNT(*) FROM m_peri_chk_vol WHERE finish_flag='1'")), 20);
    for (const auto& [when, want] : open) {
        const ClaimList list = static_cast<ClaimList>(when.first);
        EXPECT_EQ(searchKeys(list, when.second), want) << when.first << " on " << when.second;
        EXPECT_EQ(perRowReference(list, when.second), want);
    }
}

TEST(ClaimDates, DaysAreAddedAcrossMonthsYearsAndLeapDays) {
    EXPECT_EQ(claimDateAdd("2026-02-28", 1), "2026-03-01");
    EXPECT_EQ(claimDateAdd("2028-02-28", 1), "2028-02-29");
    EXPECT_EQ(claimDateAdd("2026-12-25", 10), "2027-01-04");
    EXPECT_EQ(claimDateAdd("2026-03-01", -1), "2026-02-28");
    EXPECT_EQ(claimDateAdd("2026-13-01", 1), "");
    EXPECT_EQ(claimDateAdd("", 1), "");
    EXPECT_TRUE(claimIsDue(1, 1, "2026-02-28", 10, 0, "2026-03-10"));
    EXPECT_FALSE(claimIsDue(1, 1, "2026-02-28", 11, 0, "2026-03-10"));
    EXPECT_FALSE(claimIsDue(0, 0, "", 0, 0, "2026-03-10"));
    EXPECT_FALSE(claimIsDue(2, 3, "2020-01-01", 0, 0, "2026-03-10"));
}

class ClaimRecord : public ClaimDbTest {
protected:
    std::string claims() {
        RawResult r = g_OraDatabase->query(
            "SELECT peri_id,location,aslack_detl_date,aslack_wkr,aslack_detl_qty,remark FROM "
            "m_aslack_rec ORDER BY peri_id,location,aslack_detl_date");
        std::string out;
        for (auto& row : r.rows) {
            for (auto& v : row)
                out += v.str() + "|";
            out += "\n";
        }
        return out + "log:" + scalar("SELECT COUNT(*) FROM log_detl WHERE log_type='50032'");
    }
    std::vector<ClaimCandidate> twoSuppliers() {
        ClaimLine a;
        a.subs = {{"QK01", 2}, {"QKYL", 1}};
        addLine(a);
        addIssue(a, "0000000001", 1, "2026-01-01");
        ClaimLine b;
        b.publ = "TSJK";
        b.asord = "9-1";
        b.marc = "T000000002";
        addLine(b);
        addIssue(b, "0000000002", 1, "2026-01-01");
        addClaim("0000000002", "QK01", "2026-02-01");
        return search(byYear());
    }
};
SERIALS_ON_BOTH_BACKENDS(ClaimRecord);

TEST_P(ClaimRecord, RecordsEditedQuantityAndRemarkOnceForEachRow) {
    auto rows = twoSuppliers();
    ASSERT_EQ(rows.size(), 3u);
    auto qk01 = std::find_if(rows.begin(), rows.end(), [](const ClaimCandidate& c) {
        return c.periId == "0000000001" && c.location == "QK01";
    });
    ASSERT_NE(qk01, rows.end());
    EXPECT_EQ(qk01->qty, 2);
    qk01->qty = 1;
    qk01->remark = "加急，O'Brien";
    ASSERT_EQ(intRecordClaims(rows), 0);
    EXPECT_EQ(presenter.shown.back().body, "催缺完成！");
    EXPECT_EQ(claims(),
              "0000000001|QK01|2026-03-10|JD01|1|加急，O'Brien|\n"
              "0000000001|QKYL|2026-03-10|JD01|1||\n"
              "0000000002|QK01|2026-02-01|JD01|1||\n"
              "0000000002|QK01|2026-03-10|JD01|3||\n"
              "log:2");
    // Claimed today: nothing is due until the second interval has passed.
    EXPECT_TRUE(search(byYear()).empty());
    auto later = search(byYear(), ClaimList::ToClaim, "2026-03-25");
    ASSERT_EQ(later.size(), 2u);
    EXPECT_EQ(later[0].claimCount, 1);
    EXPECT_EQ(search(byYear(), ClaimList::ToClaim, "2026-03-30").size(), 3u);
}

TEST_P(ClaimRecord, AFaultAnywhereLeavesNoClaim) {
    auto rows = twoSuppliers();
    const std::string before = claims() + owedCopies();
    ProbeBackend& probe = ProbeBackend::install();
    ASSERT_EQ(claimRecord(rows), 0);
    const int steps = probe.steps();
    EXPECT_GE(steps, 8);  // the date, three claims and their owed copies, two log entries
    sqlRun("DELETE FROM m_aslack_rec WHERE aslack_detl_date='2026-03-10'");
    sqlRun("DELETE FROM log_detl");
    refreshOwedCopies();
    ASSERT_EQ(claims() + owedCopies(), before);
    for (int step = 1; step <= steps; ++step) {
        probe.reset();
        probe.failAt = step;
        EXPECT_EQ(claimRecord(rows), -1) << "step " << step;
        probe.failAt = 0;
        EXPECT_EQ(claims() + owedCopies(), before) << "step " << step;
        EXPECT_FALSE(g_blnInTrans);
    }
    probe.failBegin = true;
    EXPECT_EQ(claimRecord(rows), -1);
    probe.failBegin = false;
    probe.failCommit = true;
    EXPECT_EQ(intRecordClaims(rows), -1);
    probe.failCommit = false;
    EXPECT_EQ(claims() + owedCopies(), before);
    EXPECT_EQ(presenter.shown.back().type, 'E');
}

}  // namespace
