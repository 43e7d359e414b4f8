// serialsctl order standard, rename, copy and move on the demo orders: what each prints and
// writes, and the refusals with their exit codes.
#include <gtest/gtest.h>

#include "tests/ordering/OrdTestData.h"
#include "tests/support/CtlRun.h"
#include "tests/support/TestDb.h"

namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The demo orders of 2031: YZFX 203101 sent, TSJK 203101 not; YZFX 203102 and 203103 empty.
class OrdXferCtl : public CtlTest {
protected:
    void SetUp() override {
        CtlTest::SetUp();
        if (IsSkipped()) return;
        home = std::make_unique<TestHome>(GetParam(), OrdTestInstall());
        for (const char* batch : {"203102", "203103"})
            ASSERT_EQ(exec(std::string("INSERT INTO m_peri_ord_lst (publ_code, peri_ord_year, "
                                       "peri_ord_date, resp_wkr, peri_ord_flag) VALUES ('YZFX','") +
                           batch + "','2031-01-02','DY01','0')"),
                      0);
    }
    CtlResult run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--user", "DY01", "--password", "1234"});
        return runCtl(binary, home->dir(), args);
    }
    // A statement run as ROOT.
    int exec(const std::string& sql) { return runCtl(binary, home->dir(), {"exec", sql}).code; }
    // The single value of a one-column query: the line under the heading and its rule.
    std::string value(const std::string& sql) {
        CtlResult r = runCtl(binary, home->dir(), {"query", sql});
        EXPECT_EQ(r.code, 0) << r.err;
        std::size_t from = 0;
        for (int skip = 0; skip < 2 && from != std::string::npos; ++skip)
            from = r.out.find('\n', from) + 1;
        const std::size_t end = r.out.find('\n', from);
        if (from == 0 || end == std::string::npos) return "";
        std::string v = r.out.substr(from, end - from);
        while (!v.empty() && v.back() == ' ')
            v.pop_back();
        return v;
    }
    std::string detailCount(const std::string& publ, const std::string& year) {
        return value("SELECT count(*) AS n FROM m_peri_ord_detl WHERE publ_code='" + publ +
                     "' AND peri_ord_year='" + year + "'");
    }
    std::unique_ptr<TestHome> home;
};
SERIALS_ON_BOTH_BACKENDS(OrdXferCtl);

TEST_P(OrdXferCtl, StandardAndTitleChangeCopy) {
    ASSERT_EQ(exec("UPDATE m_peri_ord_detl SET fmt_asord_no='x' WHERE publ_code='TSJK'"), 0);
    CtlResult r = run({"order", "standard", "TSJK", "203101", "0012-A", "12-3"});
    ASSERT_EQ(r.code, 1) << "12-3 is no detail of the catalogue";
    r = run({"order", "standard", "TSJK", "203101"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(has(r.out, "0012-A  0012-A")) << r.out;
    EXPECT_EQ(value("SELECT count(*) AS n FROM m_peri_ord_detl WHERE publ_code='TSJK' AND "
                    "peri_ord_year='203101' AND fmt_asord_no=asord_no"),
              detailCount("TSJK", "203101"));

    // The demo details' records are not in a test database: give 0012-A an imported one.
    const std::string file = std::string(SERIALS_SOURCE_DIR) + "/config/demo/usmarc_demo.mrc";
    CtlResult imported =
        runCtl(binary, home->dir(), {"marc", "import", file, "--format", "usmarc"});
    ASSERT_EQ(imported.code, 0) << imported.err;
    const std::string records = value("SELECT count(*) AS n FROM marc");
    const std::string first = value("SELECT min(marc_rec_no) AS n FROM marc");
    ASSERT_EQ(exec("UPDATE m_peri_ord_detl SET marc_rec_no='" + first +
                   "' WHERE publ_code='TSJK' AND asord_no='0012-A'"),
              0);
    r = run({"order", "rename", "TSJK", "203101", "0012-A"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(has(r.out, "已改名复制为 0012-A:A")) << r.out;
    EXPECT_EQ(value("SELECT count(*) - " + records + " AS n FROM marc"), "1");
    EXPECT_EQ(value("SELECT count(*) AS n FROM m_sub_ord_lst WHERE asord_no='0012-A:A'"),
              value("SELECT count(*) AS n FROM m_sub_ord_lst WHERE publ_code='TSJK' AND "
                    "peri_ord_year='203101' AND asord_no='0012-A'"));
    EXPECT_NE(value("SELECT marc_rec_no AS n FROM m_peri_ord_detl WHERE asord_no='0012-A:A'"),
              first);
    r = run({"order", "rename", "TSJK", "203101", "0012-A:A"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(has(r.err, "此刊已经改名了（带有:A标志），不能再改名复制")) << r.err;
    EXPECT_EQ(run({"order", "rename", "TSJK", "203101"}).code, 2);
}

TEST_P(OrdXferCtl, CopyAndMoveBetweenCatalogues) {
    CtlResult r =
        run({"order", "copy", "YZFX", "203101", "2-10", "2-17", "--to", "YZFX", "203102"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(has(r.out, "已复制 2 条订购明细到 YZFX 203102，已存在而跳过 0 条")) << r.out;
    EXPECT_TRUE(has(r.err, "成功将纪录移动到指定目录中！")) << r.err;
    // Out of a sent catalogue: renewals, not sent.
    EXPECT_EQ(value("SELECT ord_flag || new_ord_flag AS n FROM m_peri_ord_detl WHERE "
                    "peri_ord_year='203102' AND asord_no='2-10'"),
              "01");
    r = run({"order", "copy", "YZFX", "203101", "2-10", "--to", "YZFX", "203102"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(has(r.err, "下列征订号在该目录中已经存在：\n2-10")) << r.err;
    EXPECT_EQ(detailCount("YZFX", "203102"), "2");

    // The sent source details stay where they are.
    r = run({"order", "move", "YZFX", "203101", "2-10", "--to", "YZFX", "203103"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(has(r.err, "不能移出原目录")) << r.err;
    EXPECT_EQ(detailCount("YZFX", "203103"), "0");
    r = run({"order", "move", "YZFX", "203102", "2-10", "--to", "YZFX", "203103"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(has(r.out, "已移动 1 条订购明细到 YZFX 203103")) << r.out;
    EXPECT_EQ(detailCount("YZFX", "203102"), "1");
    EXPECT_EQ(value("SELECT count(*) AS n FROM m_sub_ord_lst WHERE peri_ord_year='203103'"),
              value("SELECT count(*) AS n FROM m_sub_ord_lst WHERE peri_ord_year='203101' AND "
                    "publ_code='YZFX' AND asord_no='2-10'"));

    r = run({"order", "move", "YZFX", "203102", "--to", "YZFX", "209901"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(has(r.err, "不存在")) << r.err;
    EXPECT_EQ(run({"order", "move", "YZFX", "203102", "2-17"}).code, 2);
    EXPECT_EQ(run({"order", "copy", "YZFX", "203102", "--to", "YZFX"}).code, 2);
}

}  // namespace
