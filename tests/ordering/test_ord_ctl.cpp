// serialsctl order verbs end to end: an order file imported (valid details saved, invalid ones
// reported with the validation messages and skipped), shown, listed and deleted.
#include <gtest/gtest.h>

#include <fstream>

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

}  // namespace
