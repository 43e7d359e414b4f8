// serialsctl binding, accession and call-number verbs end to end on the demo database: last
// year's issues of a title bound, sent, checked back and accessioned, its slip in the binding
// list PDF, the accession undone;
// eight processes taking the next serial of one class at the same moment get eight different
// numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "tests/support/CtlRun.h"
#include "tests/support/PdfText.h"
#include "tests/support/TestDb.h"

namespace {

// Binding numbers begin with the server's year, which the demo's years follow.
const std::string kYear = demoInstall().variables["YEAR"];
const std::string kLastYear = demoInstall().variables["LAST_YEAR"];

class BindCtl : public CtlTest {
protected:
    void SetUp() override {
        CtlTest::SetUp();
        if (IsSkipped()) return;
        home = std::make_unique<TestHome>(GetParam(), demoInstall());
        // The demo's Chinese records, which init-db --demo imports after the SQL.
        CtlResult r = runCtl(binary, home->dir(),
                             {"marc", "import", SERIALS_SOURCE_DIR "/config/demo/cnmarc_demo.mrc"});
        ASSERT_EQ(r.code, 0) << r.err;
    }
    // As the binding and accession librarian.
    CtlResult run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--user", "ZD01", "--password", "1234"});
        return runCtl(binary, home->dir(), args);
    }
    // A value read as ROOT through the query verb: the cell under the header line.
    std::string value(const std::string& sql) {
        CtlResult r = runCtl(binary, home->dir(), {"query", sql});
        std::istringstream in(r.out);
        std::string line;
        std::getline(in, line);  // header
        std::getline(in, line);  // rule
        std::getline(in, line);
        return line.substr(0, line.find_last_not_of(' ') + 1);
    }
    std::unique_ptr<TestHome> home;
};
SERIALS_ON_BOTH_BACKENDS(BindCtl);

TEST_P(BindCtl, LastYearsIssuesAreBoundSentCheckedAndAccessioned) {
    CtlResult r = run({"bind", "find", "图书馆", "--year", kLastYear});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("0000000001  图书馆学研究进展  YZFX/" + kLastYear +
                         "01/2-10  QK01/QK01  12 期 12 册"),
              std::string::npos)
        << r.out;

    const std::string batch = kYear + "-02", first = kYear + "000003", second = kYear + "000004";
    ASSERT_EQ(run({"bind", "batch", "ZD01", batch, "--remark", "第二批"}).code, 0);
    r = run(
        {"bind", "create", "图书馆", "--binder", "ZD01", "--batch", batch, "--year", kLastYear});
    ASSERT_EQ(r.code, 0) << r.err;
    // The demo's batch at the binder holds the year's first two numbers.
    EXPECT_EQ(r.out, first + "\n" + second + "\n");
    ASSERT_EQ(run({"bind", "send", "ZD01", batch}).code, 0);
    ASSERT_EQ(run({"bind", "receive", first}).code, 0);
    EXPECT_EQ(value("SELECT bound_flag FROM m_peri_bind_detl WHERE bind_no='" + first + "'"), "1");

    r = run({"callno", "assign", "0000000001", "--class", "G25"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "G25/13\n");  // the demo's G25 series stands at 12
    r = run({"accession", "bound", "QH" + kYear + "01", first, "--barcode", "31000002",
             "--lend-grade", "Z"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("借阅等级Z不存在！"), std::string::npos) << r.err;
    r = run({"accession", "bound", "QH" + kYear + "01", first, "--barcode", "31000002",
             "--lend-grade", "C", "--circ-type", "22"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "财产号 Q0000002  条码号 31000002  索书号 G25/13\n");
    EXPECT_EQ(value("SELECT vol_peri FROM indi_acct WHERE prop_no='Q0000002'"), "41(1)-41(6)");
    EXPECT_EQ(value("SELECT lend_grd||circ_type_code FROM item WHERE prop_no='Q0000002'"), "C22");

    // The binding list of the batch as a PDF: the list, then a slip per volume, the accessioned
    // one carrying its call number and property number.
    const std::string pdf = home->dir() + "/TMP/bindlist.pdf";
    r = run({"bind", "list", "ZD01", batch, "--pdf", pdf});
    ASSERT_EQ(r.code, 0) << r.err;
    std::string text = pdfText(pdf);
    for (const std::string& expected :
         {std::string("期刊装订清单"), std::string("装订批次：") + batch, std::string("随书单"),
          std::string("合计：2 册"), std::string("制表人员：ZD01"), first, second,
          std::string("G25/13"), std::string("Q0000002"), std::string("第2")})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    r = run({"bind", "list", "ZD01", batch, "--pdf", home->dir() + "/nowhere/list.pdf"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("无法写入文件："), std::string::npos) << r.err;

    r = run({"accession", "bound", "QH" + kYear + "01", second, "--barcode", "31000002"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("条码号重复!"), std::string::npos) << r.err;

    ASSERT_EQ(run({"accession", "undo", "Q0000002"}).code, 0);
    EXPECT_EQ(value("SELECT bound_flag FROM m_peri_bind_detl WHERE bind_no='" + first + "'"), "1");
    EXPECT_EQ(value("SELECT count(*) FROM item WHERE prop_no='Q0000002'"), "0");
}

TEST_P(BindCtl, DeletingRecordsWaitsForConfirmationAndBadUsageShowsTheUsage) {
    CtlResult r = run({"bind", "delete"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("用法: serialsctl bind find"), std::string::npos) << r.err;
    r = run({"--no", "bind", "delete", kYear + "000001"});
    EXPECT_EQ(r.code, 0);  // not confirmed: nothing deleted
    EXPECT_EQ(value("SELECT count(*) FROM m_peri_bind_detl"), "4");
}

TEST_P(BindCtl, EightProcessesTakingASerialAtOnceGetEightDifferentNumbers) {
    std::string cmd = "(";
    for (int i = 0; i < 8; ++i)
        cmd += ctlCommand(binary, home->dir(),
                          {"--user", "ZD01", "--password", "1234", "callno", "next", "TP3"},
                          "p" + std::to_string(i)) +
               " & ";
    ASSERT_EQ(std::system((cmd + "wait)").c_str()), 0);
    std::set<std::string> numbers;
    for (int i = 0; i < 8; ++i) {
        std::string out = slurp(home->dir() + "/TMP/p" + std::to_string(i) + ".1");
        EXPECT_EQ(slurp(home->dir() + "/TMP/p" + std::to_string(i) + ".2"), "");
        numbers.insert(out.substr(0, out.find('\n')));
    }
    // The demo's TP3 series stands at 41.
    EXPECT_EQ(numbers, (std::set<std::string>{"42", "43", "44", "45", "46", "47", "48", "49"}));
    EXPECT_EQ(value("SELECT max_serial FROM max_class_serial WHERE cls_no='TP3'"), "49");
}

TEST_P(BindCtl, ANewClassIsCreatedOnlyWhenTheOperatorAgreesAndStartsAtOne) {
    CtlResult r = run({"--no", "callno", "next", "X9"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("未检索到X9类的最大号"), std::string::npos) << r.err;
    EXPECT_EQ(value("SELECT count(*) FROM max_class_serial WHERE cls_no='X9'"), "0");
    r = run({"--yes", "callno", "next", "X9"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "1\n");
}

}  // namespace
