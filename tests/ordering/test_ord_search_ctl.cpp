// serialsctl order search on the demo library: the table, the CSV, pre-orders and the
// refusals of a query that cannot run.
#include <gtest/gtest.h>

#include "db/basLibMsg.h"
#include "marc/core/MarcImport.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/CtlRun.h"

namespace {

class OrdSearchCtl : public CtlTest {
protected:
    void SetUp() override {
        CtlTest::SetUp();
        if (IsSkipped()) return;
        home = std::make_unique<TestHome>(GetParam(), OrdTestInstall());
        // The catalogue records, as init-db --demo loads them after its tables.
        openSession(*home);
        ASSERT_EQ(MarcLoadDemoRecords({}).saved, 40);
        resetProcessState();
    }
    CtlResult run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--user", "DY01", "--password", "1234", "order", "search"});
        return runCtl(binary, home->dir(), args);
    }
    std::unique_ptr<TestHome> home;
};
SERIALS_ON_BOTH_BACKENDS(OrdSearchCtl);

TEST_P(OrdSearchCtl, PrintsTheDetailsOfEveryBatchNewestFirst) {
    CtlResult r = run({"情报技术"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto current = r.out.find("203101"), last = r.out.find("203001");
    ASSERT_NE(current, std::string::npos) << r.out;
    ASSERT_NE(last, std::string::npos) << r.out;
    EXPECT_LT(current, last);
    EXPECT_NE(r.out.find("已发订"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("签收完成"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("(2 行)"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("征订检索结果：2 条"), std::string::npos) << r.err;
}

TEST_P(OrdSearchCtl, WritesCsvWithTheChosenFieldAndYears) {
    CtlResult r = run({"--csv", "--field", "no", "--from", "2031", "--to", "2031", "2-17"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto lines = LIB_Split(r.out, "\r\n");
    ASSERT_GE(lines.size(), 2u) << r.out;
    EXPECT_EQ(lines[0],
              "发行商,发行商名称,年度批次,征订号,刊名,ISSN,出版社,单价,年价,订购总数,签收状态");
    EXPECT_EQ(lines[1].rfind("YZFX,全国邮政报刊发行局,203101,2-17,现代情报技术,", 0), 0u)
        << lines[1];
    EXPECT_NE(lines[1].find(",中国情报学会,25,300,3,已发订"), std::string::npos) << lines[1];
    EXPECT_TRUE(lines.size() == 2 || lines[2].empty()) << r.out;
}

TEST_P(OrdSearchCtl, SearchesPreOrderCataloguesWithAsord) {
    CtlResult r = run({"--asord", "--csv", "情报"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("发行商,发行商名称,发行年月,征订号,刊名,ISSN,出版社,单价,年价\r\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("YZFX,全国邮政报刊发行局,203201,2-17,现代情报技术,,,28,336\r\n"),
              std::string::npos)
        << r.out;
}

TEST_P(OrdSearchCtl, RefusesAQueryThatCannotRun) {
    CtlResult r = run({});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("请输入检索内容！"), std::string::npos) << r.err;
    r = run({"--field", "author", "x"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("未知的检索字段：author"), std::string::npos) << r.err;
    r = run({"--from", "2032", "--to", "2031", "情报"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("起始年度不能大于终止年度！"), std::string::npos) << r.err;
}

}  // namespace
