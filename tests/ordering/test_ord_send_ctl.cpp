// serialsctl order send, unsend, print, export and mail end to end: the printed list's text read
// back from the PDF (heading, rows by normalised number, footer counts), the spreadsheet's
// columns and values, and the mail as a local SMTP server receives it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/ordering/OrdTestData.h"
#include "tests/support/CtlRun.h"
#include "tests/support/PdfText.h"
#include "tests/support/SmtpSink.h"
#include "tests/support/TestDb.h"

namespace {

// Three YZFX titles of 2026: 2-9 and 2-15 for QK01 (2-9 also for WWQK), 2-100 for WWQK.
const char* const kOrders =
    "D,YZFX,202601,2-15,,0,01,月刊,01,CNY,10,120,,,TP3,0,核心期刊\n"
    "S,QK01,1,2,全年,\n"
    "F,01,2,,\n"
    "T,QK01,1,\n"
    "T,QKYL,1,\n"
    "D,YZFX,202601,2-9,,0,01,季刊,01,CNY,20,80,,,TP2,0,\n"
    "S,QK01,1,1,,\n"
    "F,01,1,,\n"
    "T,QKYL,1,\n"
    "S,WWQK,1,3,,\n"
    "F,02,3,,\n"
    "T,QKYL,3,\n"
    "D,YZFX,202601,2-100,,0,01,月刊,01,CNY,5,60,,,,0,\n"
    "S,WWQK,0,1,,\n"
    "F,02,1,,\n";

class OrdSendCtl : public CtlTest {
protected:
    void SetUp() override {
        CtlTest::SetUp();
        if (IsSkipped()) return;
        home = std::make_unique<TestHome>(GetParam(), OrdTestInstall());
        const std::string path = home->dir() + "/TMP/orders.csv";
        std::ofstream(path) << kOrders;
        CtlResult r = run({"order", "import", path});
        ASSERT_EQ(r.code, 0) << r.err;
        // 2-15 was ordered before: a renewal.
        for (const char* sql : {"UPDATE m_peri_ord_detl SET new_ord_flag='1' WHERE asord_no='2-15'",
                                "UPDATE publish_busi SET publ_email='orders@yzfx.example.cn' WHERE "
                                "publ_code='YZFX'"})
            ASSERT_EQ(runCtl(binary, home->dir(), {"exec", sql}).code, 0) << sql;
    }
    CtlResult run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--user", "DY01", "--password", "1234"});
        return runCtl(binary, home->dir(), args);
    }
    std::string value(const std::string& sql) {
        CtlResult r = runCtl(binary, home->dir(), {"query", sql});
        EXPECT_EQ(r.code, 0) << r.err;
        return r.out;
    }
    std::unique_ptr<TestHome> home;
};
SERIALS_ON_BOTH_BACKENDS(OrdSendCtl);

const char* const kCfgRows =
    "SELECT count(*) AS n FROM m_peri_chk_cfg WHERE peri_ord_year='202601'";

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_P(OrdSendCtl, SendAndUnsendNamedOrAllDetails) {
    CtlResult r = run({"--yes", "order", "send", "YZFX", "202601", "2-15"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(has(r.out, "已发订 1 条订购明细，目录已发订")) << r.out;
    EXPECT_TRUE(
        has(value("SELECT chk_bgn_date FROM m_peri_ord_detl WHERE asord_no='2-15'"), "2026-01-01"));
    r = run({"--yes", "order", "send", "YZFX", "202601"});
    EXPECT_TRUE(has(r.out, "已发订 2 条订购明细")) << r.out;
    // Two subscribers of 2-9 and one of 2-15 check in; 2-100's does not.
    EXPECT_TRUE(has(value(kCfgRows), "\n3\n")) << value(kCfgRows);
    r = run({"--yes", "order", "progress", "YZFX", "202601", "2-9"});
    EXPECT_TRUE(has(r.out, "2-9  开始签收，未完成（已订0期，已签0期）")) << r.out;

    r = run({"--yes", "order", "unsend", "YZFX", "202601", "2-15", "2-9"});
    EXPECT_TRUE(has(r.out, "已取消发订 2 条订购明细，目录已发订")) << r.out;
    r = run({"--yes", "order", "unsend", "YZFX", "202601"});
    EXPECT_TRUE(has(r.out, "已取消发订 1 条订购明细，目录未发订")) << r.out;
    EXPECT_TRUE(has(value(kCfgRows), "\n0\n")) << value(kCfgRows);

    EXPECT_EQ(run({"--no", "order", "send", "YZFX", "202601"}).code, 1);
    EXPECT_EQ(run({"--yes", "order", "send", "YZFX", "202601", "9-9"}).code, 1);
    EXPECT_EQ(run({"--yes", "order", "send", "YZFX"}).code, 2);
}

TEST_P(OrdSendCtl, PrintedListHasTheHeadingRowsByNormalisedNumberAndTheCounts) {
    const std::string pdf = home->dir() + "/TMP/list.pdf";
    CtlResult r = run({"order", "print", "YZFX", "202601", "--pdf", pdf});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string text = pdfText(pdf);
    EXPECT_TRUE(has(text, "期刊订购清单")) << text;
    EXPECT_TRUE(has(text, "订购年月：2026-01")) << text;
    EXPECT_TRUE(has(text, "发行商：全国邮政报刊发行局")) << text;
    // 0002-0009 < 0002-0015 < 0002-0100, whereas the numbers as typed sort 2-100, 2-15, 2-9.
    const auto p9 = text.find("2-9 "), p15 = text.find("2-15"), p100 = text.find("2-100");
    ASSERT_NE(p9, std::string::npos) << text;
    EXPECT_LT(p9, p15) << text;
    EXPECT_LT(p15, p100) << text;
    // Copies 2 + 4 + 1; amounts 120x2 + 80x4 + 60x1.
    EXPECT_TRUE(has(text, "注：所订期刊合计 3 种 （重订刊 1 种，新订刊 2 种）")) << text;
    EXPECT_TRUE(has(text, "总价：620.00")) << text;
    EXPECT_TRUE(has(text, "总份数：7")) << text;
    EXPECT_TRUE(has(text, "制表人员：DY01")) << text;

    r = run({"order", "print", "YZFX", "202601", "--by", "location", "--pdf", pdf});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string byLoca = pdfText(pdf);
    // QK01 takes 2-9 (1) and 2-15 (2); WWQK takes 2-9 (3) and 2-100 (1).
    EXPECT_TRUE(has(byLoca, "订户：")) << byLoca;
    EXPECT_TRUE(has(byLoca, "合计 2 种 （重订刊 1 种，新订刊 1 种） 总价：320.00 总份数：3"))
        << byLoca;
    EXPECT_TRUE(has(byLoca, "合计 2 种 （重订刊 0 种，新订刊 2 种） 总价：300.00 总份数：4"))
        << byLoca;

    r = run({"order", "print", "YZFX", "202601", "--by", "distribution", "--pdf", pdf});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string byDist = pdfText(pdf);
    // QKYL gets 1 of 2-15, and 1 + 3 of 2-9 on one line; QK01 gets 1 of 2-15.
    EXPECT_TRUE(has(byDist, "分配地：")) << byDist;
    EXPECT_TRUE(has(byDist, "合计 2 种 （重订刊 1 种，新订刊 1 种） 总价：440.00 总份数：5"))
        << byDist;
    EXPECT_TRUE(has(byDist, "合计 1 种 （重订刊 1 种，新订刊 0 种） 总价：120.00 总份数：1"))
        << byDist;
    EXPECT_EQ(run({"order", "print", "YZFX", "202601", "--by", "shelf", "--pdf", pdf}).code, 2);
}

TEST_P(OrdSendCtl, ExportAndMailCarryTheColumnsAndValues) {
    const std::string xlsx = home->dir() + "/TMP/list.xlsx";
    CtlResult r = run({"order", "export", "YZFX", "202601", "--xlsx", xlsx});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string txt = home->dir() + "/TMP/list.txt";
    ASSERT_EQ(
        std::system(("python3 " SERIALS_TEST_SCRIPTS "/read_xlsx.py " + xlsx + " >" + txt).c_str()),
        0);
    const std::string sheet = slurp(txt);
    const std::string header =
        "ROW 征订号\t刊名\tISSN\t分类号\t订购总数\t订购状态\t获得方式\t出版频率\t载体类型\t币种\t"
        "单价\t年价\t外汇单价\t外汇年价\t备注\n";
    EXPECT_TRUE(has(sheet, header)) << sheet;
    EXPECT_TRUE(has(sheet, "ROW 2-15\t\t\tTP3\t2\t正常刊\t")) << sheet;
    EXPECT_TRUE(has(sheet, "\t月刊\t")) << sheet;
    EXPECT_TRUE(has(sheet, "\t10\t120\t\t\t核心期刊")) << sheet;

    // Without a server: refused, nothing sent.
    r = run({"order", "mail", "YZFX", "202601"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(has(r.err, "[MAIL]")) << r.err;

    SmtpSink sink(home->dir());
    home->writeIni(home->workingIni() + "[MAIL]\nSMTP=127.0.0.1:" + sink.port + "\nUSE_SMTP=1\n");
    r = run({"order", "mail", "YZFX", "202601"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(has(r.err + r.out, "发送邮件成功！")) << r.err << r.out;
    const std::string m = sink.message(1);
    EXPECT_TRUE(has(m, "SUBJECT  [")) << m;
    EXPECT_TRUE(has(m, "] 订单")) << m;
    EXPECT_TRUE(has(m, "TO ")) << m;
    EXPECT_TRUE(has(m, "orders@yzfx.example.cn")) << m;
    EXPECT_TRUE(has(m, "本期订单数据详见附件，格式为xls文件，数据格式未加密。")) << m;
    // The sender and telephone are the logged-in librarian's.
    EXPECT_TRUE(has(m, "wangli@lib.example.edu.cn")) << m;
    EXPECT_TRUE(has(m, "联系电话：010-62751001")) << m;
    EXPECT_TRUE(has(m, "收到订单后，请务必来电确认。")) << m;
    EXPECT_TRUE(has(m, "FILE YZFX_202601.xlsx")) << m;
    EXPECT_TRUE(has(m, header)) << m;
    EXPECT_TRUE(has(m, "ROW 2-9\t")) << m;

    home->writeIni(home->workingIni() + "[MAIL]\nSMTP=127.0.0.1:" + closedPort() +
                   "\nUSE_SMTP=1\n");
    r = run({"order", "mail", "YZFX", "202601"});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(has(r.err + r.out, "发送邮件成功！"));
}

TEST_P(OrdSendCtl, PricesAndFrequenciesComeFromThePreOrderCatalogue) {
    for (const char* sql :
         {"INSERT INTO peri_asord_cata (publ_code, publ_year_month) VALUES ('YZFX','202511')",
          "INSERT INTO peri_asord_detl (publ_code, publ_year_month, asord_no, peri_price, "
          "peri_year_price, publ_freq, fmt_asord_no) VALUES "
          "('YZFX','202511','0002-0009',25,150,'双月刊','0002-0009')"})
        ASSERT_EQ(runCtl(binary, home->dir(), {"exec", sql}).code, 0) << sql;
    CtlResult r = run({"order", "refresh-prices", "YZFX", "202601", "--from", "YZFX", "202511"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(has(r.out, "1 条订购明细与征订目录对应")) << r.out;
    EXPECT_TRUE(has(r.err + r.out, "完成价格刷新操作！"));
    const std::string price = value(
        "SELECT peri_price || '/' || peri_total_price || '/' || publ_freq AS v FROM "
        "m_peri_ord_detl WHERE asord_no='2-9'");
    EXPECT_TRUE(has(price, "25") && has(price, "/150") && has(price, "/季刊")) << price;
    // Every fund line of 2-9 follows the annual price: 1 copy and 3 copies.
    const std::string funds =
        value("SELECT sum(sub_amt) AS v FROM m_peri_sub_fund_out WHERE asord_no='2-9'");
    EXPECT_TRUE(has(funds, "600")) << funds;
    EXPECT_TRUE(
        has(value("SELECT peri_price AS v FROM m_peri_ord_detl WHERE asord_no='2-15'"), "10"));
    r = run({"order", "refresh-prices", "YZFX", "202601", "--from", "YZFX", "202511", "--freq"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(
        has(value("SELECT publ_freq AS v FROM m_peri_ord_detl WHERE asord_no='2-9'"), "双月刊"));
    EXPECT_EQ(run({"order", "refresh-prices", "YZFX", "202601", "YZFX", "202511"}).code, 2);
}

}  // namespace
