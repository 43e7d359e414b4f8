// Statistical reports on the demo database, on both backends: each report's rows and totals
// against a query written here independently (correlated subqueries where the report joins),
// the shared clauses ("<不定>", an empty year, "chi" and "CHI"), the refusals and their words,
// and the classification report's lists of classes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <tuple>

#include "app/basQKLogin.h"
#include "common/basCodeFunc.h"
#include "db/basLibDB.h"
#include "marc/core/MarcImport.h"
#include "reports/core/StatReports.h"
#include "tests/support/DemoSession.h"
#include "tests/support/ProbeBackend.h"
#include "tests/support/TestDb.h"

namespace {

class StatReportTest : public DemoDbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        openAs("ZG01");
        if (HasFatalFailure()) return;
        presenter.shown.clear();
    }
    static void exec(const std::string& sql) { g_OraDatabase->execute(sql); }
    // Rows of an independent query, each row's cells joined by "|", numbers with two decimals
    // where `money` names the column.
    static std::vector<std::string> rows(const std::string& sql, std::set<int> money = {}) {
        std::vector<std::string> out;
        for (const auto& r : g_OraDatabase->query(sql).rows) {
            std::string line;
            for (std::size_t c = 0; c < r.size(); ++c) {
                std::string v = r[c].isNull() ? "" : r[c].str();
                if (money.count(static_cast<int>(c))) v = statMoney(r[c].isNull() ? 0 : r[c].num());
                line += (c ? "|" : "") + v;
            }
            out.push_back(line);
        }
        return out;
    }
    static std::vector<std::string> joined(const StatTable& t, std::vector<int> cols) {
        std::vector<std::string> out;
        for (const auto& s : t.sections)
            for (const auto& r : s.rows) {
                std::string line;
                for (std::size_t i = 0; i < cols.size(); ++i)
                    line += (i ? "|" : "") + r[cols[i]];
                out.push_back(line);
            }
        return out;
    }
    static StatFilter year(const std::string& y) {
        StatFilter f;
        f.year = y;
        return f;
    }
    static double money(const std::string& sql) { return std::stod(scalar(sql)); }
};
SERIALS_ON_BOTH_BACKENDS(StatReportTest);

TEST_P(StatReportTest, DistributionByLocationMatchesTheTables) {
    for (const char* y : {"2025", "2026"}) {
        StatTable t;
        ASSERT_EQ(statLocaAll(year(y), StatBasis::Distribution, t), StatResult::Rows) << y;
        std::vector<std::string> expected;
        for (const auto& r :
             g_OraDatabase
                 ->query("SELECT o.dist_loca, SUM(o.dist_qty), SUM(o.dist_qty*(SELECT "
                         "p.peri_total_price "
                         "FROM m_peri_ord_detl p WHERE p.publ_code=o.publ_code AND "
                         "p.peri_ord_year=o.peri_ord_year AND p.asord_no=o.asord_no)) FROM "
                         "m_peri_ord_dist_lst o WHERE substr(o.peri_ord_year,1,4)='" +
                         std::string(y) +
                         "' AND EXISTS (SELECT 1 FROM m_peri_ord_detl p, marc m WHERE "
                         "p.marc_rec_no=m.marc_rec_no AND p.publ_code=o.publ_code AND "
                         "p.peri_ord_year=o.peri_ord_year AND p.asord_no=o.asord_no) GROUP BY "
                         "o.dist_loca "
                         "ORDER BY o.dist_loca")
                 .rows)
            expected.push_back(LIB_LocationName(r[0].str()) + "|" + r[1].str() + "|" +
                               statMoney(r[2].num()));
        EXPECT_EQ(joined(t, {0, 1, 2}), expected) << y;
        EXPECT_EQ(t.total[0], "合计");
        EXPECT_EQ(t.total[1], scalar("SELECT SUM(dist_qty) FROM m_peri_ord_dist_lst o WHERE "
                                     "peri_ord_year LIKE '" +
                                     std::string(y) +
                                     "%' AND EXISTS (SELECT 1 FROM m_peri_ord_detl p, marc m "
                                     "WHERE p.marc_rec_no=m.marc_rec_no AND "
                                     "p.publ_code=o.publ_code AND p.peri_ord_year=o.peri_ord_year "
                                     "AND p.asord_no=o.asord_no)"));
    }
    StatTable t;
    ASSERT_EQ(statLocaAll(year("2026"), StatBasis::Subscriber, t), StatResult::Rows);
    std::vector<std::string> expected;
    for (const auto& r :
         g_OraDatabase
             ->query(
                 "SELECT location, SUM(sub_qty), SUM(sub_amt) FROM m_peri_sub_fund_out f WHERE "
                 "peri_ord_year LIKE '2026%' AND EXISTS (SELECT 1 FROM m_peri_ord_detl p, marc m "
                 "WHERE p.marc_rec_no=m.marc_rec_no AND p.publ_code=f.publ_code AND "
                 "p.peri_ord_year=f.peri_ord_year AND p.asord_no=f.asord_no) GROUP BY location "
                 "ORDER "
                 "BY location")
             .rows)
        expected.push_back(LIB_LocationName(r[0].str()) + "|" + r[1].str() + "|" +
                           statMoney(r[2].num()));
    EXPECT_EQ(joined(t, {0, 1, 2}), expected);
    EXPECT_EQ(t.total[2], statMoney(money("SELECT SUM(sub_amt) FROM m_peri_sub_fund_out WHERE "
                                          "peri_ord_year LIKE '2026%' AND asord_no IN (SELECT "
                                          "asord_no FROM m_peri_ord_detl WHERE marc_rec_no IS NOT "
                                          "NULL)")));
}

TEST_P(StatReportTest, SharedClausesFilterAsTheListsSay) {
    // An empty year runs nothing.
    g_strSQL = "before";
    StatTable t;
    EXPECT_EQ(statLocaAll(year(""), StatBasis::Distribution, t), StatResult::Refused);
    EXPECT_EQ(statArrival(year(""), false, t), StatResult::Refused);
    EXPECT_EQ(g_strSQL, "before");
    EXPECT_TRUE(presenter.shown.empty());

    // "<不定>" in every list is the same as no filter at all.
    StatFilter any = year("2026");
    ASSERT_TRUE(statFilterFromCodes(any, "", ""));
    EXPECT_EQ(any.docType, 0);
    EXPECT_EQ(any.language, 0);
    StatTable all;
    ASSERT_EQ(statLoca(any, StatBasis::Subscriber, "", all), StatResult::Rows);
    EXPECT_EQ(g_strSQL.find("doc_type_code"), std::string::npos);
    EXPECT_EQ(g_strSQL.find("lang_code"), std::string::npos);
    EXPECT_EQ(g_strSQL.find("publ_code='"), std::string::npos);

    // A record coded "CHI" counts as Chinese as "chi" does, and not as Western.
    exec("UPDATE marc SET lang_code='CHI' WHERE marc_rec_no='0000000002'");
    auto copiesFor = [&](int language) {
        StatFilter f = year("2026");
        f.language = language;
        StatTable r;
        EXPECT_NE(statLoca(f, StatBasis::Subscriber, "", r), StatResult::Failed);
        return r.rowCount() ? std::stoll(r.total[5]) : 0LL;
    };
    const std::string subQty =
        "SELECT SUM(f.sub_qty) FROM m_peri_sub_fund_out f WHERE f.peri_ord_year LIKE '2026%' AND "
        "(SELECT m.lang_code FROM m_peri_ord_detl p, marc m WHERE p.marc_rec_no=m.marc_rec_no AND "
        "p.publ_code=f.publ_code AND p.peri_ord_year=f.peri_ord_year AND p.asord_no=f.asord_no) ";
    long long chinese = std::stoll(scalar(subQty + "IN ('chi','CHI')"));
    long long western = std::stoll(scalar(subQty + "NOT IN ('chi','CHI')"));
    EXPECT_GT(chinese, 0);
    EXPECT_GT(western, 0);
    EXPECT_EQ(copiesFor(1), chinese);
    EXPECT_EQ(copiesFor(2), western);
    EXPECT_EQ(copiesFor(0), chinese + western);

    // Document types: 中文期刊 is code 11, 其他 every other, a later entry its own code.
    exec("UPDATE marc SET doc_type_code='12' WHERE marc_rec_no='0000000003'");
    const std::string byDocType =
        "SELECT COUNT(*) FROM m_peri_sub_fund_out f WHERE f.peri_ord_year LIKE '2026%' AND "
        "(SELECT m.doc_type_code FROM m_peri_ord_detl p, marc m WHERE "
        "p.marc_rec_no=m.marc_rec_no AND p.publ_code=f.publ_code AND "
        "p.peri_ord_year=f.peri_ord_year AND p.asord_no=f.asord_no) ";
    StatTable r;
    for (auto [pos, code, cond] :
         {std::tuple{1, "", "='11'"}, std::tuple{2, "", "<>'11'"}, std::tuple{3, "12", "='12'"}}) {
        StatFilter f = year("2026");
        f.docType = pos;
        f.docTypeCode = code;
        ASSERT_NE(statLoca(f, StatBasis::Subscriber, "", r), StatResult::Failed);
        EXPECT_EQ(std::to_string(r.rowCount()), scalar(byDocType + cond)) << pos;
        EXPECT_GT(r.rowCount(), 0) << pos;
    }

    // A publisher chosen limits to its orders; a document type code not in the list is refused.
    StatFilter tsjk = year("2026");
    tsjk.publCode = "TSJK";
    ASSERT_EQ(statLoca(tsjk, StatBasis::Distribution, "", r), StatResult::Rows);
    for (const auto& row : r.sections[0].rows)
        EXPECT_EQ(row[0], LIB_CodeName(g_arrPublisher, "TSJK"));
    EXPECT_EQ(r.rowCount(), std::stoi(scalar("SELECT COUNT(*) FROM m_peri_ord_dist_lst WHERE "
                                             "publ_code='TSJK' AND peri_ord_year LIKE '2026%'")));
    StatFilter bad = year("2026");
    EXPECT_FALSE(statFilterFromCodes(bad, "no-such-type", ""));
}

TEST_P(StatReportTest, PerTitleDistributionCarriesPriceNumberAndFrequency) {
    StatTable t;
    ASSERT_EQ(statLoca(year("2026"), StatBasis::Subscriber, "", t), StatResult::Rows);
    std::vector<std::string> expected = rows(
        "SELECT p.fmt_asord_no, m.m_title, f.location, SUM(f.sub_qty), p.peri_total_price, "
        "SUM(f.sub_amt), p.publ_freq FROM m_peri_sub_fund_out f JOIN m_peri_ord_detl p ON "
        "p.publ_code=f.publ_code AND p.peri_ord_year=f.peri_ord_year AND p.asord_no=f.asord_no "
        "JOIN marc m ON m.marc_rec_no=p.marc_rec_no WHERE f.peri_ord_year LIKE '2026%' GROUP BY "
        "p.publ_code, p.asord_no, p.fmt_asord_no, m.m_title, f.location, p.peri_total_price, "
        "p.publ_freq ORDER BY p.publ_code, p.asord_no, f.location",
        {4, 5});
    for (std::string& line : expected) {
        // location code -> name, as the grid shows it
        auto a = line.find('|', line.find('|') + 1), b = line.find('|', a + 1);
        line.replace(a + 1, b - a - 1, LIB_LocationName(line.substr(a + 1, b - a - 1)));
    }
    EXPECT_EQ(joined(t, {2, 3, 1, 5, 6, 7, 8}), expected);
    EXPECT_EQ(t.total[0], "总计");
    EXPECT_EQ(t.header[1], "订购总数：" + t.total[5]);

    // The location list and one location's rows.
    std::vector<std::string> locations;
    ASSERT_EQ(statLocaList(year("2026"), StatBasis::Distribution, locations), 0);
    EXPECT_EQ(locations, rows("SELECT DISTINCT dist_loca FROM m_peri_ord_dist_lst WHERE "
                              "peri_ord_year LIKE '2026%' ORDER BY dist_loca"));
    ASSERT_FALSE(locations.empty());
    ASSERT_EQ(statLoca(year("2026"), StatBasis::Distribution, locations[0], t), StatResult::Rows);
    EXPECT_EQ(t.total[5], scalar("SELECT SUM(dist_qty) FROM m_peri_ord_dist_lst WHERE "
                                 "peri_ord_year LIKE '2026%' AND dist_loca='" +
                                 locations[0] + "'"));
}

TEST_P(StatReportTest, CountsByAttributeGroupEveryValueAndTheEmptyOneLast) {
    exec("UPDATE marc SET country_code=NULL WHERE marc_rec_no='0000000001'");
    exec("UPDATE marc SET country_code=' ' WHERE marc_rec_no='0000000025'");
    StatTable t;
    ASSERT_EQ(statOther(year("2026"), StatAttr::Country, t), StatResult::Rows);
    std::map<std::string, std::string> counts;
    for (const auto& r :
         g_OraDatabase
             ->query("SELECT COALESCE(TRIM(m.country_code),''), COUNT(*) FROM m_peri_ord_detl p, "
                     "marc m "
                     "WHERE p.marc_rec_no=m.marc_rec_no AND p.peri_ord_year LIKE '2026%' GROUP BY "
                     "COALESCE(TRIM(m.country_code),'')")
             .rows)
        counts[r[0].str()] = r[1].str();
    ASSERT_EQ(t.sections.size(), counts.size());
    EXPECT_EQ(t.sections.back().heading, "[国别为空]");
    EXPECT_EQ(std::to_string(t.sections.back().rows.size()), counts[""]);
    for (std::size_t i = 0; i + 1 < t.sections.size(); ++i) {
        const std::string& h = t.sections[i].heading;
        ASSERT_EQ(h.rfind("【", 0), 0u) << h;
        std::string value = h.substr(3, h.size() - 6);
        EXPECT_EQ(std::to_string(t.sections[i].rows.size()), counts[value]) << value;
    }
    EXPECT_EQ(t.total[7], statMoney(money("SELECT SUM(p.peri_ord_qty*p.peri_total_price) FROM "
                                          "m_peri_ord_detl p WHERE p.peri_ord_year LIKE '2026%' "
                                          "AND p.marc_rec_no IN (SELECT marc_rec_no FROM marc)")));

    // By frequency with one publisher: that publisher's orders only.
    StatFilter f = year("2026");
    f.publCode = "YZFX";
    ASSERT_EQ(statOther(f, StatAttr::Frequency, t), StatResult::Rows);
    EXPECT_EQ(
        std::to_string(t.rowCount()),
        scalar("SELECT COUNT(*) FROM m_peri_ord_detl WHERE publ_code='YZFX' AND "
               "peri_ord_year LIKE '2026%' AND marc_rec_no IN (SELECT marc_rec_no FROM marc)"));
    for (const auto& s : t.sections)
        EXPECT_EQ(s.total[0], "小计");
}

TEST_P(StatReportTest, ArrivalsCountEveryCopyCheckedIn) {
    const std::string copies =
        "SELECT COUNT(*) FROM m_peri_item c WHERE EXISTS (SELECT 1 FROM m_peri_chk_vol b, "
        "m_peri_ord_detl a, m_peri_ord_dist_lst d, marc m WHERE b.peri_id=c.peri_id AND "
        "a.publ_code=b.publ_code AND a.peri_ord_year=b.peri_ord_year AND a.asord_no=b.asord_no "
        "AND d.publ_code=a.publ_code AND d.peri_ord_year=a.peri_ord_year AND "
        "d.asord_no=a.asord_no AND d.location=c.location AND d.dist_loca=c.dis_location AND "
        "m.marc_rec_no=a.marc_rec_no AND substr(a.peri_ord_year,1,4)='2026'";
    StatTable t;
    ASSERT_EQ(statArrival(year("2026"), true, t), StatResult::Rows);
    EXPECT_EQ(t.total[8], scalar(copies + ")"));
    EXPECT_EQ(std::to_string(t.rowCount()),
              scalar("SELECT COUNT(*) FROM (SELECT DISTINCT c.peri_id, c.location, c.dis_location "
                     "FROM m_peri_item c WHERE " +
                     copies.substr(copies.find("EXISTS")) + ")) x"));
    EXPECT_EQ(t.footer, std::to_string(t.rowCount()) + " 条记录  总计：" + t.total[8]);

    // One publisher alone.
    StatFilter f = year("2026");
    f.publCode = "YZFX";
    ASSERT_EQ(statArrival(f, false, t), StatResult::Rows);
    EXPECT_EQ(t.total[8], scalar(copies + " AND a.publ_code='YZFX')"));

    // A year with nothing, and "<不定>" with an empty publisher list: "I没有结果！".
    presenter.shown.clear();
    EXPECT_EQ(statArrival(year("1999"), false, t), StatResult::Empty);
    g_arrPublisher = LibArray(6, 2);
    g_strSQL = "before";
    EXPECT_EQ(statArrival(year("2026"), false, t), StatResult::Empty);
    ASSERT_EQ(presenter.shown.size(), 2u);
    EXPECT_EQ(presenter.shown[0].type, 'I');
    EXPECT_EQ(presenter.shown[0].body, "没有结果！");
    EXPECT_EQ(presenter.shown[1].body, "没有结果！");
}

TEST_P(StatReportTest, ArrivalsGiveEachIssueAndPlaceOnceWithItsCopiesInOrder) {
    // A second copy of one issue at the same place makes no second row: it counts 2 there.
    exec(
        "INSERT INTO m_peri_item (peri_id, location, dis_location, item_no, item_stat) SELECT "
        "peri_id, location, dis_location, 99, '0' FROM m_peri_item WHERE peri_id=(SELECT "
        "min(i.peri_id) FROM m_peri_item i, m_peri_chk_vol v WHERE v.peri_id=i.peri_id AND "
        "substr(v.peri_ord_year,1,4)='2026') AND item_no=1");
    // Grouped on the copies here, as the copies are what the report counts.
    const std::vector<std::string> expected = rows(
        "SELECT a.peri_ord_year, a.asord_no, COALESCE(l.location_name, c.location), "
        "COALESCE(k.location_name, c.dis_location), d.dist_qty, COUNT(*), "
        "b.cover_vol, b.cover_issue FROM m_peri_item c JOIN m_peri_chk_vol b ON "
        "b.peri_id=c.peri_id JOIN m_peri_ord_detl a ON a.publ_code=b.publ_code AND "
        "a.peri_ord_year=b.peri_ord_year AND a.asord_no=b.asord_no JOIN m_peri_ord_dist_lst d ON "
        "d.publ_code=a.publ_code AND d.peri_ord_year=a.peri_ord_year AND d.asord_no=a.asord_no "
        "AND d.location=c.location AND d.dist_loca=c.dis_location JOIN marc m ON "
        "m.marc_rec_no=a.marc_rec_no LEFT JOIN location_lst l ON l.location=c.location AND "
        "l.code_use_flag='1' LEFT JOIN location_lst k ON k.location=c.dis_location AND "
        "k.code_use_flag='1' WHERE substr(a.peri_ord_year,1,4)='2026' GROUP BY a.publ_code, "
        "a.peri_ord_year, a.asord_no, c.location, c.dis_location, c.peri_id, l.location_name, "
        "k.location_name, d.dist_qty, b.cover_vol, b.cover_issue ORDER BY "
        "a.publ_code, a.peri_ord_year, a.asord_no, c.location, c.dis_location, c.peri_id");
    StatTable t;
    ASSERT_EQ(statArrival(year("2026"), false, t), StatResult::Rows);
    std::vector<std::string> shown;
    for (const auto& r : t.sections.at(0).rows)
        shown.push_back(r[1] + "|" + r[2] + "|" + r[5] + "|" + r[6] + "|" + r[7] + "|" + r[8] +
                        "|" + r[9]);
    std::vector<std::string> want;
    for (const std::string& line : expected) {
        // cover_vol and cover_issue as the report writes them: "卷" and "期" after each.
        const auto issue = line.rfind('|'), vol = line.rfind('|', issue - 1);
        want.push_back(line.substr(0, vol) + "|" + line.substr(vol + 1, issue - vol - 1) + "卷" +
                       line.substr(issue + 1) + "期");
    }
    EXPECT_EQ(shown, want);
    const auto& rowsShown = t.sections.at(0).rows;
    EXPECT_EQ(std::count_if(rowsShown.begin(), rowsShown.end(),
                            [](const std::vector<std::string>& r) { return r[8] == "2"; }),
              1);
}

TEST_P(StatReportTest, ArrivalsListTheYearsBoundVolumesPerTitle) {
    exec(
        "INSERT INTO indi_acct (prop_no, marc_rec_no, year, vol_peri, price) VALUES "
        "('QX1', '0000000001', '2026', '45(1)-45(6)', 10), "
        "('QX2', '0000000001', '2026', '45(7)-45(12)', 10), "
        "('QX3', '0000000001', '2025', '44(1)-44(6)', 10)");
    StatTable t;
    ASSERT_EQ(statArrival(year("2026"), true, t), StatResult::Rows);
    bool seen = false;
    for (const auto& r : t.sections[0].rows)
        if (r[3] == "图书馆学研究进展") {
            EXPECT_EQ(r[10], "2026 45(1)-45(6)；2026 45(7)-45(12)");
            seen = true;
        } else {
            EXPECT_EQ(r[10], "") << r[3];
        }
    EXPECT_TRUE(seen);
}

TEST_P(StatReportTest, WorkloadSumsTheOperatorsCountersOverThePeriod) {
    exec(
        "INSERT INTO wkr_job_qty (wkr_no_f, oper_date, job_type, kind, volume, amount) VALUES "
        "('TST1', '2026-03-01', '502', 2, 5, 10.50), ('TST1', '2026-03-15', '502', 1, 1, 2), "
        "('TST1', '2026-04-02', '502', 3, 3, 0), ('TST1', '2025-04-02', '502', 9, 9, 9), "
        "('TST2', '2026-03-01', '502', 7, 7, 7)");
    StatTable t;
    ASSERT_EQ(statJob("TST1", StatPeriod::Month, "2026-03", "", t), StatResult::Rows);
    ASSERT_EQ(t.rowCount(), 1);
    std::string name = scalar("SELECT job_name FROM job_type WHERE job_type='502'");
    EXPECT_EQ(t.sections[0].rows[0], (std::vector<std::string>{name, "3", "6", "12.50"}));
    ASSERT_EQ(statJob("TST1", StatPeriod::Year, "2026", "", t), StatResult::Rows);
    EXPECT_EQ(t.total, (std::vector<std::string>{"合计", "6", "9", "12.50"}));
    ASSERT_EQ(statJob("TST1", StatPeriod::Interval, "2026-03-10", "2026-04-02", t),
              StatResult::Rows);
    EXPECT_EQ(t.total, (std::vector<std::string>{"合计", "4", "4", "2.00"}));
    ASSERT_EQ(statJob("TST1", StatPeriod::Day, "2026-03-01", "", t), StatResult::Rows);
    EXPECT_EQ(t.total[1], "2");
    EXPECT_EQ(statJob("TST1", StatPeriod::Day, "2026-3-1", "", t), StatResult::Refused);
    EXPECT_EQ(statJob("TST1", StatPeriod::Year, "2026' OR '1'='1", "", t), StatResult::Refused);
    EXPECT_EQ(presenter.shown.size(), 2u);
}

TEST_P(StatReportTest, PropertyAccountNeedsBothEndsAndTotalsTheRange) {
    StatTable t;
    EXPECT_EQ(statIndiAcct("", "Q9", "", t), StatResult::Refused);
    EXPECT_EQ(statIndiAcct("Q0", " ", "", t), StatResult::Refused);
    ASSERT_EQ(presenter.shown.size(), 2u);
    EXPECT_EQ(presenter.shown[0].body, "起始财产号为空！");
    EXPECT_EQ(presenter.shown[1].body, "截至财产号为空！");

    exec(
        "INSERT INTO indi_acct (prop_no, marc_rec_no, year, vol_peri, price, location, in_date) "
        "VALUES ('QX1', '0000000001', '2026', '45(1)-45(6)', 10.25, 'QK01', '2026-07-01'), "
        "('QX2', '0000000001', '2026', '45(7)-45(12)', 11, 'QK01', '2026-07-01'), "
        "('QX3', '0000000030', '2025', '3(1)-3(4)', 40, 'QK01', '2026-07-02')");
    ASSERT_EQ(statIndiAcct("QX1", "QX3", "", t), StatResult::Rows);
    EXPECT_EQ(joined(t, {1}), (std::vector<std::string>{"QX1", "QX2", "QX3"}));
    EXPECT_EQ(t.footer, "种：2 总价：61.25");
    EXPECT_EQ(t.header[1], "财产号：QX1 —— QX3");
    const std::string qk01 = scalar(
        "SELECT location_name FROM location_lst WHERE location='QK01' AND code_use_flag='1'");
    for (const auto& r : t.sections.at(0).rows)
        EXPECT_EQ(r[7], qk01) << r[1];
    ASSERT_EQ(statIndiAcct("QX1", "QX3", "11", t), StatResult::Rows);
    EXPECT_EQ(t.footer, "种：" +
                            scalar("SELECT COUNT(DISTINCT a.marc_rec_no) FROM indi_acct a, marc m "
                                   "WHERE a.marc_rec_no=m.marc_rec_no AND a.prop_no BETWEEN "
                                   "'QX1' AND 'QX3' AND m.doc_type_code='11'") +
                            " 总价：" +
                            statMoney(money("SELECT SUM(a.price) FROM indi_acct a, marc m WHERE "
                                            "a.marc_rec_no=m.marc_rec_no AND a.prop_no BETWEEN "
                                            "'QX1' AND 'QX3' AND m.doc_type_code='11'")));
    presenter.shown.clear();
    EXPECT_EQ(statIndiAcct("ZZ1", "ZZ9", "", t), StatResult::Empty);
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].body, "没有结果返回");

    // The list's statement failing is reported and leaves no part of a grid.
    ProbeBackend& probe = ProbeBackend::install();
    probe.reset();
    probe.failAt = 1;
    presenter.shown.clear();
    EXPECT_EQ(statIndiAcct("QX1", "QX3", "", t), StatResult::Failed);
    probe.failAt = 0;
    EXPECT_TRUE(t.sections.empty() && t.total.empty());
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].type, 'E');
}

TEST_P(StatReportTest, ClassificationPutsTitlesWithoutCallNumberApart) {
    exec(
        "INSERT INTO call_no_lst (call_no, marc_rec_no, cls_id) VALUES "
        "('G25/1', '0000000001', 'CLC'), ('R1/1', '0000000002', 'CLC'), "
        "('X9/1', '0000000003', 'CLC')");
    StatTable t;
    ASSERT_EQ(statSort(year("2026"), StatClassBy::CallNumber, "02", t), StatResult::Rows);
    std::map<std::string, std::vector<std::string>> bySection;
    for (const auto& s : t.sections)
        for (const auto& r : s.rows)
            bySection[s.heading].push_back(r[1]);
    auto subscribers = [](const std::string& recNos) {
        return scalar(
            "SELECT COUNT(*) FROM m_sub_ord_lst b, m_peri_ord_detl a WHERE "
            "b.publ_code=a.publ_code AND b.peri_ord_year=a.peri_ord_year AND "
            "b.asord_no=a.asord_no AND a.peri_ord_year LIKE '2026%' AND a.marc_rec_no "
            "IN (" +
            recNos + ")");
    };
    EXPECT_EQ(std::to_string(bySection["【1 社会科学】"].size()), subscribers("'0000000001'"));
    EXPECT_EQ(std::to_string(bySection["【3 医药卫生】"].size()), subscribers("'0000000002'"));
    // X9 lies in the range S~X of category 2, with the demo's TQ/7.
    EXPECT_EQ(std::to_string(bySection["【2 自然科学与工程技术】"].size()),
              subscribers("'0000000003','0000000006'"));
    EXPECT_FALSE(bySection["【1 社会科学】"].empty());
    const std::string without =
        "SELECT COUNT(*) FROM m_sub_ord_lst b, m_peri_ord_detl a WHERE "
        "b.publ_code=a.publ_code AND b.peri_ord_year=a.peri_ord_year AND "
        "b.asord_no=a.asord_no AND a.peri_ord_year LIKE '2026%' AND "
        "a.marc_rec_no IN (SELECT marc_rec_no FROM marc) AND NOT EXISTS "
        "(SELECT 1 FROM call_no_lst c WHERE c.marc_rec_no=a.marc_rec_no)";
    EXPECT_EQ(std::to_string(bySection["【未分配索书号】"].size()), scalar(without));
    EXPECT_EQ(t.sections.back().heading, "【未分配索书号】");
    // Only titles with a call number stand under a category.
    std::set<std::string> withCallNo;
    for (const auto& r : g_OraDatabase
                             ->query("SELECT m.m_title FROM marc m, call_no_lst c WHERE "
                                     "c.marc_rec_no=m.marc_rec_no")
                             .rows)
        withCallNo.insert(r[0].str());
    for (const auto& s : t.sections) {
        if (s.heading == "【未分配索书号】") continue;
        for (const auto& r : s.rows)
            EXPECT_TRUE(withCallNo.count(r[1])) << s.heading << " " << r[1];
    }
    EXPECT_EQ(t.total[5],
              statMoney(money("SELECT SUM(b.sub_peri_qty*a.peri_total_price) FROM m_sub_ord_lst b, "
                              "m_peri_ord_detl a WHERE b.publ_code=a.publ_code AND "
                              "b.peri_ord_year=a.peri_ord_year AND b.asord_no=a.asord_no AND "
                              "a.peri_ord_year LIKE '2026%' AND a.marc_rec_no IN (SELECT "
                              "marc_rec_no FROM marc)")));

    // By the order's class number nothing matches the main classes of type 01 unless listed;
    // a class that falls in no category is counted as unknown.
    exec("UPDATE m_peri_ord_detl SET kind_no='W1' WHERE marc_rec_no='0000000001'");
    ASSERT_EQ(statSort(year("2026"), StatClassBy::ClassNumber, "01", t), StatResult::Rows);
    bool unknown = false;
    for (const auto& s : t.sections)
        if (s.heading == "【未知类】") {
            unknown = true;
            for (const auto& r : s.rows)
                EXPECT_EQ(r[0], "W1");
        }
    EXPECT_TRUE(unknown);
}

TEST_P(StatReportTest, PeriodicalQueryFindsTitlesAndShowsOrdersIssuesAndVolumes) {
    std::vector<StatSearchPath> paths = statSearchPaths();
    auto path = [&](const std::string& group) {
        for (const StatSearchPath& p : paths)
            if (p.group == group) return p;
        ADD_FAILURE() << "no path " << group;
        return StatSearchPath{};
    };
    StatTable t;
    EXPECT_EQ(statSearchTitles(path("01"), "  ", t), StatResult::Refused);
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].body, "查询内容不能为空");

    // By title, through the index; by order number, with or without ":A".
    ASSERT_EQ(statSearchTitles(path("01"), "图书馆学", t), StatResult::Rows);
    EXPECT_EQ(joined(t, {0, 4}), std::vector<std::string>{"图书馆学研究进展|0000000001"});
    ASSERT_EQ(statSearchTitles(path(kStatPathOrderNo), "2-17", t), StatResult::Rows);
    EXPECT_EQ(joined(t, {4}), std::vector<std::string>{"0000000002"});
    exec(
        "UPDATE m_peri_ord_detl SET asord_no='2-17:A' WHERE asord_no='2-17' AND "
        "peri_ord_year='202601'");
    ASSERT_EQ(statSearchTitles(path(kStatPathOrderNo), "2-17", t), StatResult::Rows);
    EXPECT_EQ(joined(t, {4}), std::vector<std::string>{"0000000002"});
    presenter.shown.clear();
    EXPECT_EQ(statSearchTitles(path("01"), "没有这样的刊", t), StatResult::Empty);
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].body, "无该期刊信息，请重新查询。");

    // The title's orders of every year, or of one.
    ASSERT_EQ(statTitleOrders("0000000001", "", t), StatResult::Rows);
    EXPECT_EQ(std::to_string(t.rowCount()),
              scalar("SELECT COUNT(*) FROM m_peri_ord_detl WHERE marc_rec_no='0000000001'"));
    ASSERT_EQ(statTitleOrders("0000000001", "2026", t), StatResult::Rows);
    EXPECT_EQ(joined(t, {1, 2}), std::vector<std::string>{"202601|2-10"});

    // Issues: every expected issue at every place, with the copies checked in there.
    ASSERT_EQ(statTitleIssues("0000000001", "2026", t), StatResult::Rows);
    const std::string dist =
        "FROM m_peri_chk_vol b, m_peri_ord_dist_lst d, m_peri_ord_detl a WHERE "
        "b.publ_code=a.publ_code AND b.peri_ord_year=a.peri_ord_year AND "
        "b.asord_no=a.asord_no AND d.publ_code=a.publ_code AND "
        "d.peri_ord_year=a.peri_ord_year AND d.asord_no=a.asord_no AND "
        "a.marc_rec_no='0000000001' AND a.peri_ord_year LIKE '2026%'";
    EXPECT_EQ(std::to_string(t.rowCount()), scalar("SELECT COUNT(*) " + dist));
    EXPECT_EQ(t.total[6],
              scalar("SELECT COUNT(*) FROM m_peri_item c WHERE EXISTS (SELECT 1 " + dist +
                     " AND b.peri_id=c.peri_id AND d.location=c.location AND "
                     "d.dist_loca=c.dis_location)"));
    EXPECT_NE(t.total[6], "0");

    // Bound volumes, narrowed by location and year.
    exec(
        "INSERT INTO indi_acct (prop_no, marc_rec_no, year, vol_peri, dis_location) VALUES "
        "('QX1', '0000000001', '2026', '45(1)-45(6)', 'QK01'), "
        "('QX2', '0000000001', '2025', '44(1)-44(6)', 'QK01'), "
        "('QX3', '0000000001', '2026', '45(1)-45(6)', 'QKYL')");
    ASSERT_EQ(statTitleBound("0000000001", "", "", t), StatResult::Rows);
    EXPECT_EQ(joined(t, {3}), (std::vector<std::string>{"QX2", "QX1", "QX3"}));
    ASSERT_EQ(statTitleBound("0000000001", "QK01", "2026", t), StatResult::Rows);
    EXPECT_EQ(joined(t, {3}), std::vector<std::string>{"QX1"});
}

TEST_P(StatReportTest, EachReportRunsItsFewStatementsAndReportsAFailedOne) {
    statPublisherChoices();  // the publisher list the screens load first
    exec(
        "INSERT INTO wkr_job_qty (wkr_no_f, oper_date, job_type, kind, volume, amount) VALUES "
        "('JD01', '2026-03-01', '505', 1, 2, 0)");
    ProbeBackend& probe = ProbeBackend::install();
    StatFilter f = year("2026");
    StatTable t;
    struct Case {
        const char* name;
        int queries;
        std::function<StatResult()> run;
    };
    const std::vector<Case> cases{
        {"loca-all", 1, [&] { return statLocaAll(f, StatBasis::Distribution, t); }},
        {"loca", 1, [&] { return statLoca(f, StatBasis::Subscriber, "", t); }},
        {"other", 1, [&] { return statOther(f, StatAttr::Publisher, t); }},
        {"arrival", 2, [&] { return statArrival(f, true, t); }},
        {"job", 1, [&] { return statJob("JD01", StatPeriod::Year, "2026", "", t); }},
        {"sort", 3, [&] { return statSort(f, StatClassBy::CallNumber, "02", t); }},
        {"orders", 1, [&] { return statTitleOrders("0000000001", "", t); }},
        {"issues", 1, [&] { return statTitleIssues("0000000001", "", t); }},
    };
    for (const Case& c : cases) {
        probe.reset();
        probe.failAt = 0;
        ASSERT_EQ(c.run(), StatResult::Rows) << c.name;
        EXPECT_EQ(probe.queries, c.queries) << c.name;
        for (int step = 1; step <= c.queries; ++step) {
            probe.reset();
            probe.failAt = step;
            presenter.shown.clear();
            EXPECT_EQ(c.run(), StatResult::Failed) << c.name << " step " << step;
            EXPECT_TRUE(t.sections.empty() && t.total.empty()) << c.name;
            ASSERT_FALSE(presenter.shown.empty()) << c.name;
            EXPECT_EQ(presenter.shown.back().type, 'E') << c.name;
        }
    }
    probe.failAt = 0;
}

TEST(StatClassMatch, ListsRangesAndTheTwoCharacterClassT) {
    EXPECT_TRUE(statClassMatches("G25", "A~K"));
    EXPECT_TRUE(statClassMatches("K928", "A~K"));
    EXPECT_FALSE(statClassMatches("N1", "A~K"));
    EXPECT_TRUE(statClassMatches("TQ11", "N~Q, S~X"));
    EXPECT_FALSE(statClassMatches("R5", "N~Q,S~X"));
    EXPECT_TRUE(statClassMatches("TP312", "TP3"));
    EXPECT_TRUE(statClassMatches("TP9", "TP3"));  // class T by its first two characters
    EXPECT_FALSE(statClassMatches("TQ1", "TP3"));
    EXPECT_TRUE(statClassMatches("TN9", "T_"));
    EXPECT_FALSE(statClassMatches("T", "T_"));
    EXPECT_TRUE(statClassMatches("O41", "N,O,P"));
    EXPECT_FALSE(statClassMatches("", "A~Z"));
    EXPECT_FALSE(statClassMatches("A1", ""));
    EXPECT_TRUE(statClassMatches("F0", "E~F12"));
    EXPECT_FALSE(statClassMatches("F2", "E~F12"));
}

TEST(StatMoney, TwoDecimalsRoundedHalfUp) {
    EXPECT_EQ(statMoney(0), "0.00");
    EXPECT_EQ(statMoney(12.345), "12.35");
    EXPECT_EQ(statMoney(1.005), "1.01");
    EXPECT_EQ(statMoney(-3.5), "-3.50");
}

}  // namespace
