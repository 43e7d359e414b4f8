// serialsctl checkin predict and checkin config end to end: the CSV of a prediction, the
// refusals with their messages and exit codes, and a configuration saved from the command
// line on both backends.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "db/basLibMsg.h"
#include "tests/support/CtlRun.h"
#include "tests/support/TestDb.h"

namespace {

// Runs serialsctl without a program directory (predict needs none).
CtlResult predict(const std::vector<std::string>& args) {
    const char* ctl = std::getenv("SERIALSCTL");
    const std::string dir = ::testing::TempDir();
    std::string cmd = shellQuote(ctl) + " checkin predict";
    for (const auto& a : args)
        cmd += " " + shellQuote(a);
    cmd += " >" + dir + "predict.1 2>" + dir + "predict.2 </dev/null";
    const int status = std::system(cmd.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(dir + "predict.1"),
            slurp(dir + "predict.2")};
}

class ChkPredictCtl : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("SERIALSCTL")) GTEST_SKIP() << "SERIALSCTL is not set (run through ctest)";
    }
};

}  // namespace

TEST_F(ChkPredictCtl, PrintsTheIssuesAsCsv) {
    CtlResult r = predict({"--code", "F", "--begin", "2005-01-10", "--end", "2005-12-31",
                           "--start-day", "5", "--vol", "10", "--issue", "11", "--per-vol", "12",
                           "--total", "100", "--aslack-days", "30"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
              "peri_no,cover_vol,cover_issue,cover_issue_total,expect_date,aslack_date,publ_year");
    EXPECT_NE(r.out.find("\n1,10,11,100,2005-02-05,2005-03-07,2005\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n3,11,1,102,2005-04-05,2005-05-05,2005\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n12,11,10,111,2006-01-05,2006-02-04,2006\n"), std::string::npos);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 13);
}

TEST_F(ChkPredictCtl, KeysStartAfterTheGivenMaximumOrAtOne) {
    CtlResult r = predict({"--code", "h", "--begin", "2005-01-01", "--end", "2005-12-31",
                           "--start-day", "1", "--total", "1", "--roman", "--max-peri-id", ""});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("peri_id,peri_no,"), std::string::npos);
    EXPECT_NE(r.out.find("\n0000000001,1,,,Ⅰ,2005-01-01,2005-01-01,2005\n"), std::string::npos)
        << r.out;
    r = predict({"--code", "h", "--begin", "2005-01-01", "--end", "2005-12-31", "--start-day", "1",
                 "--total", "1", "--max-peri-id", "0000000041"});
    EXPECT_NE(r.out.find("\n0000000045,4,,,4,2005-10-01,2005-10-01,2005\n"), std::string::npos)
        << r.out;
}

TEST_F(ChkPredictCtl, RefusesWithTheCheckMessages) {
    const std::vector<std::string> base{"--begin", "2005-01-01", "--end", "2005-12-31"};
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), base.begin(), base.end());
        return predict(more);
    };
    struct Case {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"--code", "f", "--start-day", "1", "--end", "2004-12-31", "--total", "1"},
         "订购起始日期不能大于订购截止日期。"},
        {{"--code", "f", "--total", "1"}, "起始天数不能为空。"},
        {{"--code", "f", "--start-day", "1"}, "起始卷，起始期，起始总期不能全部为空。"},
        {{"--code", "f", "--start-day", "1", "--vol", "1", "--issue", "2"}, "每卷期数不能为空。"},
        {{"--code", "f", "--start-day", "1", "--vol", "1", "--issue", "13", "--per-vol", "12"},
         "起始期不能大于每卷期数。"},
        {{"--code", "f", "--start-day", "1", "--issue", "3", "--continue", "--vol-begin-issue",
          "4"},
         "首卷首期不能大于起始期。"},
    };
    for (const Case& c : cases) {
        CtlResult r = with(c.args);
        EXPECT_EQ(r.code, 1) << c.message;
        EXPECT_EQ(r.err, std::string(c.message) + "\n");
        EXPECT_EQ(r.out, "");
    }
    // The start day is not asked of codes without it.
    CtlResult r = with({"--code", "z", "--qty-of-year", "2", "--total", "5"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\n2,,,6,2005-01-01,2005-01-01,2005\n"), std::string::npos) << r.out;
}

TEST_F(ChkPredictCtl, BadArgumentsAreUsageErrors) {
    EXPECT_EQ(predict({"--code", "q", "--begin", "2005-01-01", "--end", "2005-12-31"}).code, 2);
    EXPECT_EQ(predict({"--code", "f", "--begin", "2005-02-30", "--end", "2005-12-31"}).code, 2);
    EXPECT_EQ(predict({"--code", "f", "--end", "2005-12-31"}).code, 2);
    CtlResult r =
        predict({"--code", "f", "--begin", "2005-01-01", "--end", "2005-12-31", "--vol", "x1"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("--vol"), std::string::npos);
    EXPECT_EQ(predict({"--code", "f", "--begin", "2005-01-01", "--end", "2005-12-31", "--start-day",
                       "1", "--total", "1", "--max-peri-id", "12a"})
                  .code,
              2);
}

namespace {

class ChkConfigCtl : public CtlTest {
protected:
    void SetUp() override {
        CtlTest::SetUp();
        if (IsSkipped()) return;
        InstallOptions o = demoInstall();
        o.variables["YEAR"] = "2031";
        o.variables["LAST_YEAR"] = "2030";
        o.variables["NEXT_YEAR"] = "2032";
        home = std::make_unique<TestHome>(GetParam(), o);
    }
    CtlResult run(const std::string& user, std::vector<std::string> args) {
        args.insert(args.begin(), {"--user", user, "--password", "1234", "checkin", "config",
                                   "YZFX", "203101", "4-73", "QK01"});
        return runCtl(binary, home->dir(), args);
    }
    std::unique_ptr<TestHome> home;
};
SERIALS_ON_BOTH_BACKENDS(ChkConfigCtl);

}  // namespace

TEST_P(ChkConfigCtl, ConfiguresWithTheScreensChecksAndRight) {
    CtlResult r = run("JD01", {"--start-day", "1", "--vol", "5", "--gift-copies", "1"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("装订，赠送，交换复本数之和应该等于订户复本数。"), std::string::npos)
        << r.err;
    r = run("DY01", {"--start-day", "1", "--vol", "5"});  // ordering, no check-in right
    EXPECT_EQ(r.code, 1);
    r = run("JD01", {"--start-day", "10", "--vol", "5", "--aslack-days", "20"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("已保存签收配置"), std::string::npos);
    openSession(*home);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_vol WHERE asord_no='4-73' AND "
                     "peri_ord_year='203101'"),
              "4");
    EXPECT_EQ(scalar("SELECT expect_date||'/'||aslack_date||'/'||cover_vol FROM m_peri_chk_vol "
                     "WHERE asord_no='4-73' AND peri_ord_year='203101' AND peri_no=4"),
              "2031-10-10/2031-10-30/8");
    EXPECT_EQ(scalar("SELECT wkr_no FROM log_detl WHERE log_type='50022'"), "JD01");
    resetProcessState();
}

TEST_P(ChkConfigCtl, DemoDatabaseShowsTheCheckInLibrarianArrivedAndLateIssues) {
    CtlResult r = runCtl(binary, home->dir(), {"init-db", "--force", "--demo"});
    ASSERT_EQ(r.code, 0) << r.err;
    using namespace std::chrono;
    const int year = static_cast<int>(year_month_day{floor<days>(system_clock::now())}.year());
    // Last year's monthly 3-52 has issues in, and every fifth from the third never came.
    r = runCtl(binary, home->dir(),
               {"--user", "JD01", "--password", "1234", "checkin", "issues", "YZFX",
                std::to_string(year - 1) + "01", "3-52", "QK01", "--csv"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::vector<std::string> rows = LIB_Split(r.out, "\n");
    ASSERT_GE(rows.size(), 13u) << r.out;
    auto state = [&](std::size_t n) { return rows[n].substr(rows[n].rfind(',') + 1); };
    EXPECT_EQ(state(1), "已到") << r.out;
    EXPECT_EQ(state(3), "逾期未到") << r.out;
    EXPECT_EQ(state(8), "逾期未到") << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 13) << r.out;
}

TEST_P(ChkConfigCtl, GenerateReportsWhatItWroteAndNeedsTheMaintenanceRight) {
    CtlResult r = runCtl(binary, home->dir(), {"generate", "--titles", "6", "--years", "2"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("m_peri_ord_detl\t12\n"), std::string::npos) << r.out;
    // Two receiving locations an order line.
    EXPECT_NE(r.out.find("m_peri_chk_cfg\t24\n"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("签收预测与到刊 2/2"), std::string::npos) << r.err;
    EXPECT_EQ(runCtl(binary, home->dir(), {"generate", "--titles", "x"}).code, 2);
    EXPECT_EQ(runCtl(binary, home->dir(), {"generate", "--titles", "5", "--years", "0"}).code, 2);
    CtlResult refused = runCtl(
        binary, home->dir(), {"--user", "JD01", "--password", "1234", "generate", "--titles", "1"});
    EXPECT_EQ(refused.code, 1);
}
