// serialsctl order verbs end to end: an order file imported (valid details saved, invalid ones
// reported with the validation messages and skipped), shown, listed and deleted; a review file
// imported into a pre-order catalogue.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/ordering/OrdTestData.h"
#include "tests/support/CtlRun.h"
#include "tests/support/TestDb.h"

namespace {

class OrdCtl : public CtlTest {
protected:
    void SetUp() override {
        CtlTest::SetUp();
        if (!IsSkipped()) home = std::make_unique<TestHome>(GetParam(), OrdTestInstall());
    }
    // As the acquisitions librarian.
    CtlResult run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--user", "DY01", "--password", "1234"});
        return runCtl(binary, home->dir(), args);
    }
    std::string file(const std::string& text) {
        std::string path = home->dir() + "/TMP/orders.csv";
        std::ofstream(path) << text;
        return path;
    }
    std::unique_ptr<TestHome> home;
};
SERIALS_ON_BOTH_BACKENDS(OrdCtl);

const char* const kOrders =
    "# D,Pub,OrdYear,AsordNo,MarcNo,PeriType,GetMode,PublFreq,Carrier,MoneyType,Price,...\n"
    "D,YZFX,202601,2-15,,0,01,月刊,01,CNY,10,,,,TP3,0,核心期刊\n"
    "S,QK01,1,2,全年,\n"
    "F,01,2,,\n"
    "T,QK01,1,\n"
    "T,QKYL,1,TP3/12\n"
    "S,WWQK,0,1,,\n"
    "F,02,1,,\n"
    "D,YZFX,202601,2-16,,0,01,月刊,01,,10,,,,,0,\n"
    "S,QK01,1,3,,\n"
    "F,01,3,,\n"
    "T,QK01,1,\n"
    "D,TSJK,202601,0012-A,,0,01,季刊,01,USD,30,,,,,0,\"Journal, quarterly\"\n"
    "S,WWQK,1,1,,\n"
    "F,02,1,,\n"
    "T,WWQK,1,\n";

TEST_P(OrdCtl, ImportSavesValidDetailsAndReportsTheOthers) {
    CtlResult r = run({"order", "import", file(kOrders)});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("已保存 2 条订购明细，跳过 1 条"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(" 必须选择币种！\n "
                         "订户【QK01】设定的复本数与分配数不符！\n订购号为：2-16的记录不能保存！"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("未保存：第 9 行 YZFX 202601 征订号 2-16"), std::string::npos) << r.err;

    CtlResult shown = run({"order", "show", "YZFX", "202601"});
    ASSERT_EQ(shown.code, 0) << shown.err;
    EXPECT_NE(shown.out.find("2-15"), std::string::npos);
    EXPECT_NE(shown.out.find("单价 10 年价 120 人民币，订购总数 3，核心期刊"), std::string::npos)
        << shown.out;
    EXPECT_NE(shown.out.find("经费 中文期刊经费 (01) 2 份 240"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("分配 期刊阅览室 (QKYL) 1 份 TP3/12"), std::string::npos);
    EXPECT_NE(shown.out.find("共 1 种"), std::string::npos);

    CtlResult list = run({"order", "catalogues", "--year", "2026"});
    ASSERT_EQ(list.code, 0) << list.err;
    EXPECT_NE(list.out.find("全国邮政报刊发行局"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("全国图书进出口总公司期刊部"), std::string::npos);
    EXPECT_EQ(run({"order", "catalogues", "--year", "2025"}).out.find("YZFX"), std::string::npos);

    // The same file again: every number is taken now.
    CtlResult again = run({"order", "import", file(kOrders)});
    EXPECT_NE(again.err.find("该征订号已存在，请重新输入征订号！"), std::string::npos) << again.err;
    EXPECT_NE(again.out.find("已保存 0 条订购明细，跳过 3 条"), std::string::npos) << again.out;
}

TEST_P(OrdCtl, DeleteRemovesDetailsThenTheCatalogue) {
    ASSERT_EQ(run({"order", "import", file(kOrders)}).code, 1);
    CtlResult unknown = run({"order", "delete", "YZFX", "202601", "9-9"});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_NE(unknown.err.find("征订号 9-9 不在该订购目录中"), std::string::npos);
    EXPECT_EQ(run({"--no", "order", "delete", "YZFX", "202601", "2-15"}).code, 1);
    ASSERT_EQ(run({"--yes", "order", "delete", "YZFX", "202601", "2-15"}).code, 0);
    EXPECT_NE(run({"order", "show", "YZFX", "202601"}).out.find("共 0 种"), std::string::npos);
    ASSERT_EQ(run({"--yes", "order", "delete", "YZFX", "202601"}).code, 0);
    EXPECT_EQ(run({"order", "catalogues", "--year", "202601"}).out.find("YZFX"), std::string::npos);
}

TEST_P(OrdCtl, OperatorWithoutTheOrderingRightIsRefused) {
    CtlResult r = runCtl(binary, home->dir(),
                         {"--user", "JD01", "--password", "1234", "order", "catalogues"});
    EXPECT_EQ(r.code, 1);
}

TEST_P(OrdCtl, RenewCarriesTheDemoYearOverWithTheScreensChoices) {
    EXPECT_EQ(run({"order", "renew", "--from", "2031", "--existing", "maybe", "YZFX"}).code, 2);
    // Declining the confirmation writes nothing.
    CtlResult declined = run({"--no", "order", "renew", "--from", "2031", "--to", "2033", "YZFX"});
    EXPECT_EQ(declined.code, 1);
    EXPECT_EQ(run({"order", "catalogues", "--year", "2033"}).out.find("YZFX"), std::string::npos);

    CtlResult r = run({"--yes", "order", "renew", "--from", "2031", "--to", "2033", "--types",
                       "0,1,2,3", "--existing", "replace", "YZFX", "TSJK"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("续订目录 2 个"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("操作成功完成！"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("正在续订 发行商[YZFX] 年度批次[203101]→[203301]"), std::string::npos);
    for (const char* publ : {"YZFX", "TSJK"}) {
        auto count = [&](const char* batch) {
            std::string out = run({"order", "show", publ, batch}).out;
            return out.substr(out.rfind("共 "));
        };
        EXPECT_EQ(count("203301"), count("203101")) << publ;
        EXPECT_NE(count("203301"), "共 0 种\n") << publ;
    }
    const std::string logPath = r.out.substr(r.out.find("日志：") + std::string("日志：").size());
    std::string log = slurp(logPath.substr(0, logPath.find('\n')));
    EXPECT_NE(log.find("续订开始：源年度[2031]，按年度[2033]，发行商[YZFX,TSJK]"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("续订结束：目录 2 个"), std::string::npos) << log;
}

TEST_P(OrdCtl, BatchOrdersIntakeRecordsAndListsThemUntilOrdered) {
    // The intake record, as the gift and exchange intake would leave it (written as ROOT).
    CtlResult intake = runCtl(binary, home->dir(),
                              {"exec",
                               "INSERT INTO prsn_exch_detl (doc_id, marc_rec_no, exch_type, "
                               "country_code, asord_no, publ_freq, money_code, peri_price) "
                               "VALUES ('0000000001','1000000001','1','DE','5-5','季刊',"
                               "'EUR',30)"});
    ASSERT_EQ(intake.code, 0) << intake.err;
    CtlResult listed = run({"order", "batch", "--list"});
    ASSERT_EQ(listed.code, 0) << listed.err;
    EXPECT_NE(listed.out.find("0000000001"), std::string::npos) << listed.out;

    CtlResult refused = run({"order", "batch", "GTDL", "203601", "--new", "--subscriber", "WWQK",
                             "--fund", "02", "--copies", "1", "--check-in", "0000000001"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("选择分配地！"), std::string::npos) << refused.err;

    CtlResult r =
        run({"order", "batch", "GTDL", "203601", "--new", "--subscriber", "WWQK", "--fund", "02",
             "--copies", "1", "--check-in", "--dist", "WWQK:1:X1", "0000000001"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("已订购 1 条，未订购 0 条"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("批量订购完成！"), std::string::npos) << r.err;
    CtlResult shown = run({"order", "show", "GTDL", "203601"});
    EXPECT_NE(shown.out.find("5-5"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("国外交换"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("分配 "), std::string::npos) << shown.out;
    EXPECT_EQ(run({"order", "batch", "--list"}).out.find("0000000001"), std::string::npos);
}

// serialsctl order review-import: a distributor's review file into its pre-order catalogue,
// with the pre-order list's checks and messages, all or nothing.
class OrdReviewCtl : public OrdCtl {
protected:
    void SetUp() override {
        OrdCtl::SetUp();
        if (IsSkipped()) return;
        ASSERT_EQ(exec("INSERT INTO peri_asord_cata (publ_code, publ_year_month) VALUES "
                       "('YZFX','202601')"),
                  0);
        ASSERT_EQ(exec("INSERT INTO peri_asord_detl (publ_code, publ_year_month, asord_no, "
                       "peri_price) VALUES ('YZFX','202601','2-16',9)"),
                  0);
    }
    int exec(const std::string& sql) { return runCtl(binary, home->dir(), {"exec", sql}).code; }
    // The first value of a query's single row.
    std::string value(const std::string& sql) {
        CtlResult r = runCtl(binary, home->dir(), {"query", sql});
        EXPECT_EQ(r.code, 0) << r.err;
        std::istringstream lines(r.out);
        std::string line;
        for (int i = 0; i < 3 && std::getline(lines, line);)
            ++i;
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        return line;
    }
    // What an import may change: the items, their records and the record numbering.
    std::string state() {
        return value(
            "SELECT count(*) || '/' || (SELECT count(*) FROM asord_marc) || '/' || "
            "COALESCE((SELECT max_rec_no FROM reg_marc_number WHERE "
            "marc_kind='asord_marc'), 0) AS s FROM peri_asord_detl");
    }
    CtlResult import(const std::string& text, const std::string& yearMonth = "202601") {
        return run({"order", "review-import", "YZFX", yearMonth, file(text)});
    }
};
SERIALS_ON_BOTH_BACKENDS(OrdReviewCtl);

const char* const kReview =
    "征订号,刊名,ISSN,出版社,单价,年价,出版频率,载体,币种,类号,备注\n"
    "2-15,情报学前沿,1002-1965,P0001,12.5,,月刊,01,CNY,G25,核心\n"
    "2-16,旧刊,,,20\n"
    "82-1,,,,,48,季刊\n";

TEST_P(OrdReviewCtl, ReviewFileComesInAndNumbersHeldAlreadyAreListed) {
    CtlResult r = import(kReview);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "已导入 2 条征订信息。\n下列征订号在该目录中已经存在：\n2-16\n");
    EXPECT_EQ(value("SELECT count(*) AS n FROM peri_asord_detl WHERE publ_code='YZFX' AND "
                    "publ_year_month='202601'"),
              "3");
    EXPECT_EQ(value("SELECT M.m_title AS t FROM peri_asord_detl A JOIN asord_marc M ON "
                    "M.asord_marc_rec_no=A.asord_marc_rec_no WHERE A.asord_no='2-15' AND "
                    "A.peri_year_price=150"),
              "情报学前沿");
    EXPECT_EQ(value("SELECT peri_price AS p FROM peri_asord_detl WHERE asord_no='2-16'"), "9")
        << "an item held already is left as it was";

    // Into a pre-order catalogue that does not exist nothing comes.
    const std::string before = state();
    r = import(kReview, "202699");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("征订目录 YZFX 202699 不存在！"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(state(), before);
}

TEST_P(OrdReviewCtl, ABadFileIsRefusedNamingTheLineAndAddsNothing) {
    const std::string before = state();
    const std::pair<std::string, std::string> cases[] = {
        {"2-15,甲刊\n2-17,乙刊,,,12元\n", "第 2 行： 单价必须是数字！"},
        {"2-15,甲刊,,,12,,月刊,99\n", "第 1 行： 载体类型【99】不存在，请重新选择！"},
        {"2-15,甲刊\n2-15,丙刊\n", "第 2 行： 征订号【2-15】在文件中重复！"}};
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(text);
        CtlResult r = import(text);
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_EQ(state(), before);
    }
    CtlResult r = run({"order", "review-import", "YZFX", "202601", home->dir() + "/TMP/none.csv"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(state(), before);
    EXPECT_EQ(run({"order", "review-import", "YZFX", "202601"}).code, 2) << "usage";
}

TEST_P(OrdReviewCtl, AFaultMidWayLeavesTheCatalogueAsItWas) {
    // The database refuses the last item, after the records and the first items went in.
    if (GetParam() == kPostgres) {
        ASSERT_EQ(exec("CREATE FUNCTION review_fault() RETURNS trigger AS $$ BEGIN IF "
                       "NEW.asord_no = '82-1' THEN RAISE EXCEPTION 'disk full'; END IF; RETURN "
                       "NEW; END $$ LANGUAGE plpgsql"),
                  0);
        ASSERT_EQ(exec("CREATE TRIGGER review_fault BEFORE INSERT ON peri_asord_detl FOR EACH "
                       "ROW EXECUTE FUNCTION review_fault()"),
                  0);
    } else {
        ASSERT_EQ(exec("CREATE TRIGGER review_fault BEFORE INSERT ON peri_asord_detl WHEN "
                       "NEW.asord_no = '82-1' BEGIN SELECT RAISE(ABORT, 'disk full'); END"),
                  0);
    }
    const std::string before = state();
    CtlResult r = import(kReview);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("数据库操作出错，操作未能完成！"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("已导入"), std::string::npos) << r.out;
    EXPECT_EQ(state(), before);

    ASSERT_EQ(exec("DROP TRIGGER review_fault" +
                   std::string(GetParam() == kPostgres ? " ON peri_asord_detl" : "")),
              0);
    r = import(kReview);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "已导入 2 条征订信息。");
}

}  // namespace
