// serialsctl report end to end on the demo database, on both backends: the printed table, the
// CSV (UTF-8 with its byte-order mark) and the XLSX hold the same cells; the PDF carries the
// header block and the totals; bad input and a missing right are refused.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/CtlRun.h"
#include "tests/support/PdfText.h"
#include "tests/support/TestDb.h"

namespace {

const std::string kYear = demoInstall().variables["YEAR"];

class StatReportCtl : public CtlTest {
protected:
    void SetUp() override {
        CtlTest::SetUp();
        if (IsSkipped()) return;
        home = std::make_unique<TestHome>(GetParam(), demoInstall());
        for (const char* f : {"/config/demo/cnmarc_demo.mrc", "/config/demo/usmarc_demo.mrc"}) {
            std::vector<std::string> args{"marc", "import", std::string(SERIALS_SOURCE_DIR) + f};
            if (std::string(f).find("usmarc") != std::string::npos)
                args.insert(args.end(), {"--format", "usmarc"});
            CtlResult r = runCtl(binary, home->dir(), args);
            ASSERT_EQ(r.code, 0) << r.err;
        }
    }
    // As the head of the department, who holds the statistics right.
    CtlResult run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--user", "ZG01", "--password", "1234", "report"});
        return runCtl(binary, home->dir(), args);
    }
    std::string file(const std::string& name) const { return home->dir() + "/TMP/" + name; }
    // The XLSX's rows as read_xlsx.py prints them, cells joined by tabs.
    std::vector<std::string> xlsxRows(const std::string& path) const {
        std::string out = path + ".rows";
        std::string cmd = "python3 " SERIALS_TEST_SCRIPTS "/read_xlsx.py " + path + " >" + out;
        EXPECT_EQ(std::system(cmd.c_str()), 0);
        std::vector<std::string> rows;
        std::istringstream in(slurp(out));
        for (std::string line; std::getline(in, line);)
            if (line.rfind("ROW ", 0) == 0) rows.push_back(line.substr(4));
        return rows;
    }
    static std::vector<std::string> csvRows(std::string text) {
        std::vector<std::string> rows;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::string tabbed;
            for (char c : line)
                tabbed += c == ',' ? '\t' : c;
            rows.push_back(tabbed);
        }
        return rows;
    }
    std::unique_ptr<TestHome> home;
};
SERIALS_ON_BOTH_BACKENDS(StatReportCtl);

TEST_P(StatReportCtl, CsvAndXlsxHoldTheGridsCells) {
    CtlResult r = run({"loca-all", "--year", kYear, "--basis", "sub", "--csv", file("a.csv"),
                       "--xlsx", file("a.xlsx")});
    ASSERT_EQ(r.code, 0) << r.err;
    std::string csv = slurp(file("a.csv"));
    ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    std::vector<std::string> fromCsv = csvRows(csv.substr(3));
    ASSERT_GE(fromCsv.size(), 3u);
    EXPECT_EQ(fromCsv.front(), "订户\t复本总数\t总价");
    EXPECT_EQ(fromCsv.back().rfind("合计\t", 0), 0u) << fromCsv.back();
    std::vector<std::string> fromXlsx = xlsxRows(file("a.xlsx"));
    ASSERT_EQ(fromXlsx.size(), fromCsv.size());
    EXPECT_EQ(fromXlsx[0], fromCsv[0]);
    // Numbers are numbers in the spreadsheet: 3182.00 reads back as 3182.
    for (std::size_t i = 1; i < fromCsv.size(); ++i) {
        std::string name = fromCsv[i].substr(0, fromCsv[i].find('\t'));
        EXPECT_EQ(fromXlsx[i].substr(0, fromXlsx[i].find('\t')), name);
        std::istringstream a(fromCsv[i].substr(name.size() + 1)),
            b(fromXlsx[i].substr(name.size() + 1));
        double qa, qb, ma, mb;
        a >> qa >> ma;
        b >> qb >> mb;
        EXPECT_DOUBLE_EQ(qa, qb) << fromCsv[i];
        EXPECT_DOUBLE_EQ(ma, mb) << fromCsv[i];
    }

    // The printed table has the same rows as the file.
    r = run({"loca-all", "--year", kYear, "--basis", "sub"});
    ASSERT_EQ(r.code, 0) << r.err;
    for (std::size_t i = 1; i < fromCsv.size(); ++i)
        EXPECT_NE(r.out.find(fromCsv[i].substr(0, fromCsv[i].find('\t'))), std::string::npos);
    EXPECT_NE(r.out.find("订购年：" + kYear), std::string::npos) << r.out;
}

TEST_P(StatReportCtl, GroupedReportKeepsItsHeadingsInTheSpreadsheet) {
    CtlResult r = run({"other", "--year", kYear, "--by", "language", "--xlsx", file("o.xlsx")});
    ASSERT_EQ(r.code, 0) << r.err;
    std::vector<std::string> rows = xlsxRows(file("o.xlsx"));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], "发行商\t订购批次\t订购号\t刊名\tISSN\t复本数\t年价\t总价");
    int headings = 0, subtotals = 0;
    for (const std::string& row : rows) {
        if (row.rfind("【", 0) == 0) ++headings;
        if (row.rfind("小计", 0) == 0) ++subtotals;
    }
    EXPECT_GE(headings, 2);  // Chinese and English titles
    EXPECT_EQ(headings, subtotals);
    EXPECT_EQ(rows.back().rfind("总计", 0), 0u);
}

TEST_P(StatReportCtl, PdfCarriesTheHeaderBlockAndTotals) {
    CtlResult r = run({"loca", "--year", kYear, "--publ", "YZFX", "--pdf", file("l.pdf"), "--csv",
                       file("l.csv")});
    ASSERT_EQ(r.code, 0) << r.err;
    std::string text = pdfText(file("l.pdf"));
    std::vector<std::string> rows = csvRows(slurp(file("l.csv")).substr(3));
    std::string total = rows.back();
    for (const std::string& want :
         {std::string("年度期刊订购分布明细"), "订购年：" + kYear, std::string("订购总数："),
          std::string("文献类型：<不定>"), std::string("语种：<不定>"), std::string("制表日期："),
          std::string("制表人员："), std::string("总计"), std::string("全国邮政报刊发行局")})
        EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
    // The total copies and the total price of the last row.
    std::vector<std::string> cells;
    std::istringstream in(total);
    for (std::string c; std::getline(in, c, '\t');)
        cells.push_back(c);
    ASSERT_GE(cells.size(), 8u);
    EXPECT_NE(text.find("订购总数：" + cells[5]), std::string::npos) << text;
    EXPECT_NE(text.find(cells[7]), std::string::npos) << cells[7];

    r = run({"indi-acct", "--from", "Q0000000", "--to", "Q9999999", "--pdf", file("i.pdf")});
    ASSERT_EQ(r.code, 0) << r.err;
    text = pdfText(file("i.pdf"));
    for (const char* want :
         {"财产帐清单", "统计日期：", "财产号：Q0000000 —— Q9999999", "种：1", "总价：168.00"})
        EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
}

TEST_P(StatReportCtl, RefusesBadInputAndOperatorsWithoutTheRight) {
    CtlResult r = run({"arrival"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("请选择订购年"), std::string::npos) << r.err;
    r = run({"indi-acct", "--to", "Q9"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("起始财产号为空！"), std::string::npos) << r.err;
    r = run({"other", "--year", kYear, "--by", "colour"});
    EXPECT_EQ(r.code, 2);
    r = run({"nonesuch", "--year", kYear});
    EXPECT_EQ(r.code, 2);
    r = runCtl(binary, home->dir(),
               {"--user", "JD01", "--password", "1234", "report", "loca-all", "--year", kYear});
    EXPECT_NE(r.code, 0);
    EXPECT_EQ(r.out.find("合计"), std::string::npos) << r.out;
}

}  // namespace
