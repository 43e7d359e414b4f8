// The generated library: every order line configured at its check-in location with as many
// expected issues as its issues a year, arrivals only for issues already due, some late, some
// missing; a failing statement taking back its whole transaction; and the list of the tables it
// filled, for their statistics.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "checkin/core/Generate.h"
#include "db/basLibDB.h"
#include "tests/checkin/ChkTestData.h"
#include "tests/checkin/FinishFlagCheck.h"
#include "tests/support/ProbeBackend.h"

namespace {

class ChkGenerate : public ChkDbTest {
protected:
    GenerateContext context(int titles, int years) {
        GenerateContext ctx;
        ctx.options.titles = titles;
        ctx.options.years = years;
        ctx.options.seed = 5;
        return ctx;
    }
    long long count(const std::string& sql) { return std::stoll(scalar(sql)); }
};
SERIALS_ON_BOTH_BACKENDS(ChkGenerate);

const std::string kGenerated = " (asord_no LIKE 'G%' OR asord_no LIKE 'W%')";

}  // namespace

TEST_P(ChkGenerate, EveryLineIsConfiguredPredictedAndPartlyArrived) {
    const long long records = count("SELECT count(*) FROM marc");
    GenerateContext ctx = context(40, 2);
    std::vector<std::string> steps;
    ctx.progress = [&](const std::string& step, long long done, long long total) {
        EXPECT_LE(done, total);
        if (steps.empty() || steps.back() != step) steps.push_back(step);
    };
    ASSERT_EQ(GenerateLibrary(ctx), 0) << ::testing::PrintToString(presenter.bodies());
    EXPECT_EQ(steps, (std::vector<std::string>{"书目记录", "订购", "签收预测与到刊"}));
    EXPECT_EQ(count("SELECT count(*) FROM marc"), records + 40);
    EXPECT_EQ(count("SELECT count(*) FROM m_peri_ord_detl WHERE" + kGenerated), 80);
    // Both subscriber locations of a line receive, each with its configuration.
    EXPECT_EQ(count("SELECT count(*) FROM m_sub_ord_lst WHERE chk_stat='1' AND" + kGenerated), 160);
    EXPECT_EQ(count("SELECT count(*) FROM m_peri_chk_cfg WHERE" + kGenerated), 160);
    // Each line has exactly its issues a year, numbered 1 to that count.
    EXPECT_EQ(count("SELECT count(*) FROM m_peri_ord_detl d WHERE" + kGenerated +
                    " AND d.qty_of_year <> (SELECT count(*) FROM m_peri_chk_vol v WHERE "
                    "v.publ_code=d.publ_code AND v.peri_ord_year=d.peri_ord_year AND "
                    "v.asord_no=d.asord_no)"),
              0);
    EXPECT_EQ(count("SELECT count(*) FROM m_peri_ord_detl d WHERE" + kGenerated +
                    " AND d.qty_of_year <> (SELECT max(peri_no) FROM m_peri_chk_vol v WHERE "
                    "v.publ_code=d.publ_code AND v.peri_ord_year=d.peri_ord_year AND "
                    "v.asord_no=d.asord_no)"),
              0);
    // The total expected issues is what the logged counts say.
    long long vols = 0, items = 0;
    for (const auto& [table, rows] : ctx.written) {
        if (table == "m_peri_chk_vol") vols = rows;
        if (table == "m_peri_item") items = rows;
    }
    EXPECT_EQ(count("SELECT count(*) FROM m_peri_chk_vol WHERE" + kGenerated), vols);
    EXPECT_EQ(count("SELECT count(*) FROM m_peri_item i JOIN m_peri_chk_vol v ON "
                    "v.peri_id=i.peri_id WHERE" +
                    kGenerated),
              items);
    EXPECT_GT(vols, 40 * 2 * 2);
    // Arrivals: none before the expected date or after today; some late, some missing.
    const std::string today = LIB_DB_GetServerDate();
    EXPECT_EQ(count("SELECT count(*) FROM m_peri_item i, m_peri_chk_vol v WHERE "
                    "i.peri_id=v.peri_id AND" +
                    kGenerated +
                    " AND (substr(i.chk_date,1,10) < v.expect_date OR "
                    "substr(i.chk_date,1,10) > '" +
                    today + "')"),
              0);
    EXPECT_GT(count("SELECT count(*) FROM m_peri_item i, m_peri_chk_vol v WHERE "
                    "i.peri_id=v.peri_id AND substr(i.chk_date,1,10) > v.aslack_date"),
              0);
    const long long due = count("SELECT count(*) FROM m_peri_chk_vol WHERE expect_date <= '" +
                                today + "' AND" + kGenerated);
    // Missing at a location: a few in a hundred, at each of the two.
    for (const char* pair : {"v.asord_no LIKE 'G%' AND s.location IN ('QK01','SHKX')",
                             "v.asord_no LIKE 'W%' AND s.location IN ('QK01','WWQK')"}) {
        const std::string overdue =
            "SELECT count(*) FROM m_peri_chk_vol v JOIN m_sub_ord_lst s ON "
            "s.publ_code=v.publ_code AND s.peri_ord_year=v.peri_ord_year AND "
            "s.asord_no=v.asord_no WHERE v.aslack_date < '" +
            today + "' AND " + pair;
        const long long all = count(overdue);
        const long long missing = count(overdue +
                                        " AND NOT EXISTS (SELECT 1 FROM m_peri_item i WHERE "
                                        "i.peri_id=v.peri_id AND i.location=s.location)");
        EXPECT_GT(missing, 0) << pair;
        EXPECT_LT(missing * 10, all) << pair;
    }
    EXPECT_GT(due, 0);
    // Finished exactly when every location has its copies.
    EXPECT_EQ(wrongFinishFlags(), std::vector<std::string>{});
    EXPECT_GT(count("SELECT count(*) FROM m_peri_chk_vol WHERE finish_flag='1'") * 2, due);
    // Keys in issue order within each line.
    EXPECT_EQ(count("SELECT count(*) FROM m_peri_chk_vol a, m_peri_chk_vol b WHERE "
                    "a.publ_code=b.publ_code AND a.peri_ord_year=b.peri_ord_year AND "
                    "a.asord_no=b.asord_no AND a.peri_no < b.peri_no AND a.peri_id > b.peri_id"),
              0);
    // The records are found through the index like any other.
    EXPECT_GT(count("SELECT count(*) FROM marc_idx"), 0);
}

TEST_P(ChkGenerate, AFailingStatementTakesBackItsTransaction) {
    ProbeBackend& probe = ProbeBackend::install();
    // The first run makes the catalogues; a second one on them counts what a third will do.
    GenerateContext setup = context(10, 2);
    ASSERT_EQ(GenerateLibrary(setup), 0);
    GenerateContext counted = context(10, 2);
    probe.reset();
    ASSERT_EQ(GenerateLibrary(counted), 0);
    const int n = probe.steps();
    const long long vols = count("SELECT count(*) FROM m_peri_chk_vol");
    const long long lines = count("SELECT count(*) FROM m_peri_ord_detl");
    // The last statement belongs to the last year's check-in transaction: that year's
    // configuration, issues and arrivals go, the earlier year and the orders stay.
    GenerateContext ctx = context(10, 2);
    probe.reset();
    probe.failAt = n;
    EXPECT_EQ(GenerateLibrary(ctx), -1);
    probe.failAt = 0;
    EXPECT_FALSE(g_blnInTrans);
    EXPECT_EQ(count("SELECT count(*) FROM m_peri_ord_detl"), lines + 20);
    const std::string firstYear = std::to_string(ctx.firstYear) + "01";
    const std::string lastYear = std::to_string(ctx.lastYear) + "01";
    EXPECT_EQ(count("SELECT count(*) FROM m_peri_chk_cfg WHERE peri_ord_year='" + lastYear +
                    "' AND" + kGenerated),
              40);
    EXPECT_EQ(count("SELECT count(*) FROM m_peri_chk_cfg WHERE peri_ord_year='" + firstYear +
                    "' AND" + kGenerated),
              60);
    EXPECT_GT(count("SELECT count(*) FROM m_peri_chk_vol"), vols);
    probe.reset();
    probe.failBegin = true;
    GenerateContext refused = context(10, 2);
    EXPECT_EQ(GenerateLibrary(refused), -1);
    probe.failBegin = false;
    EXPECT_EQ(count("SELECT count(*) FROM m_peri_ord_detl"), lines + 20);
}

// The statistics gathered after a generated library cover every table it filled: a table left
// out would be planned as empty until autovacuum reaches it.
TEST_P(ChkGenerate, EveryTableItFillsIsListedForStatistics) {
    auto rowCounts = [] {
        std::map<std::string, long long> counts;
        for (const std::string& t : g_OraDatabase->tableNames())
            counts[t] = std::stoll(scalar("SELECT count(*) FROM " + t));
        return counts;
    };
    const auto before = rowCounts();
    GenerateContext ctx = context(12, 2);
    ASSERT_EQ(GenerateLibrary(ctx), 0) << ::testing::PrintToString(presenter.bodies());
    std::vector<std::string> grown;
    for (const auto& [table, rows] : rowCounts())
        if (rows > before.at(table)) grown.push_back(table);
    for (const char* t : {"marc_data", "marc_idx", "marc_title_word", "m_peri_item"})
        EXPECT_NE(std::find(grown.begin(), grown.end(), t), grown.end()) << t;
    for (const std::string& t : grown)
        EXPECT_NE(std::find(ctx.tablesWritten.begin(), ctx.tablesWritten.end(), t),
                  ctx.tablesWritten.end())
            << t << " was filled but is not listed";
    std::vector<std::string> once = ctx.tablesWritten;
    std::sort(once.begin(), once.end());
    EXPECT_EQ(std::unique(once.begin(), once.end()), once.end()) << "each table once";
}
