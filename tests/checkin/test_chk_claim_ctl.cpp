// serialsctl claims end to end, as a morning job would run them: listing to the screen and to
// files, recording per supplier, mailing one supplier, a run with nothing due, the log of every
// run, and a mail server that is down.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "tests/checkin/ClaimTestData.h"
#include "tests/support/CtlRun.h"
#include "tests/support/SmtpSink.h"

namespace {

// Today's date moved by `days`, as the machine's clock (and so the database server) has it.
std::string fromToday(int days) {
    using namespace std::chrono;
    auto t = system_clock::to_time_t(system_clock::now() + hours(24 * days));
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[16];
    std::strftime(buf, sizeof buf, "%Y-%m-%d", &tm);
    return buf;
}

class ClaimCtl : public CtlTest {
protected:
    void SetUp() override {
        CtlTest::SetUp();
        if (IsSkipped()) return;
        home = std::make_unique<TestHome>(GetParam(), demoInstall());
        std::vector<std::string> sqls;
        for (const char* t :
             {"m_aslack_rec", "m_peri_item", "m_peri_chk_lack", "m_peri_chk_vol",
              "m_peri_ord_dist_lst", "m_peri_sub_fund_out", "m_sub_ord_lst", "m_peri_ord_detl"})
            sqls.push_back(std::string("DELETE FROM ") + t);
        // Two suppliers, each with an issue a month overdue; one of them has one not yet due.
        ClaimLine a;
        a.year = fromToday(0).substr(0, 4) + "01";
        ClaimLine b = a;
        b.publ = "TSJK";
        b.asord = "9-1";
        b.marc = "T000000002";
        b.title = "Journal of Testing";
        b.subs = {{"WWQK", 1}};
        for (const ClaimLine* l : {&a, &b})
            for (const std::string& sql : lineSql(*l))
                sqls.push_back(sql);
        sqls.push_back(issueSql(a, "0000000001", 1, fromToday(-30)));
        sqls.push_back(issueSql(a, "0000000002", 2, fromToday(30)));
        sqls.push_back(issueSql(b, "0000000003", 1, fromToday(-30)));
        sqls.push_back(
            "UPDATE publish_busi SET publ_email='orders@yzfx.example.cn' WHERE publ_code='YZFX'");
        execAll(sqls);
    }
    // Runs statements on the test's own session, closed again before serialsctl runs.
    void execAll(const std::vector<std::string>& sqls) {
        openSession(*home);
        for (const std::string& sql : sqls)
            g_OraDatabase->execute(sql);
        refreshOwedCopies();
        resetProcessState();
    }
    std::string value(const std::string& sql) {
        openSession(*home);
        std::string v = scalar(sql);
        resetProcessState();
        return v;
    }
    // As the demo check-in librarian.
    CtlResult run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--user", "JD01", "--password", "1234", "claims"});
        return runCtl(binary, home->dir(), args);
    }
    void useServer(const std::string& port) {
        home->writeIni(home->workingIni() + "[MAIL]\nSMTP=127.0.0.1:" + port + "\nUSE_SMTP=1\n");
    }
    std::unique_ptr<TestHome> home;
};
SERIALS_ON_BOTH_BACKENDS(ClaimCtl);

TEST_P(ClaimCtl, ListsRecordsAndMailsWithoutAnyoneAtTheScreen) {
    CtlResult r = run({"list"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("请至少指定一个查询条件"), std::string::npos) << r.err;

    r = run({"list", "--all"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("计算机学报"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Journal of Testing"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("共 2 期"), std::string::npos) << r.out;

    std::string csv = home->dir() + "/TMP/claims.csv";
    std::string xlsx = home->dir() + "/TMP/claims.xlsx";
    ASSERT_EQ(run({"list", "--publ", "TSJK", "--all", "--csv", csv, "--xlsx", xlsx}).code, 0);
    std::string text = slurp(csv);
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "发行商,年度批次,征订号,ISSN,出版年度,卷期信息,应到日期,催缺次数,应到复本,"
              "实到复本,催缺复本,经手人,催缺日期,出版频率,排架号");
    EXPECT_NE(text.find("\r\nTSJK,"), std::string::npos) << text;
    EXPECT_EQ(text.find("YZFX"), std::string::npos) << text;
    EXPECT_GT(std::filesystem::file_size(xlsx), 1000u);

    EXPECT_EQ(run({"record", "--all"}).code, 2);  // recording needs --yes
    r = run({"mail", "--publ", "YZFX", "--all", "--dry-run"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("收信人: orders@yzfx.example.cn"), std::string::npos) << r.out;
    EXPECT_EQ(value("SELECT COUNT(*) AS n FROM m_aslack_rec"), "0");

    SmtpSink sink(home->dir());
    useServer(sink.port);
    r = run({"mail", "--publ", "YZFX", "--all"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(sink.message(1).find("FILE YZFX_"), std::string::npos);
    EXPECT_EQ(value("SELECT COUNT(*) AS n FROM m_aslack_rec WHERE peri_id='0000000001'"), "1");

    r = run({"record", "--all", "--yes"});  // YZFX was claimed today: only TSJK is due
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("TSJK：已催缺 1 期"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("YZFX"), std::string::npos) << r.out;

    r = run({"record", "--all", "--yes"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.err.find("没有缺刊"), std::string::npos) << r.err;
    EXPECT_EQ(value("SELECT COUNT(*) AS n FROM m_aslack_rec"), "2");
    EXPECT_EQ(value("SELECT COUNT(*) AS n FROM log_detl WHERE log_type='50032'"), "3");
    EXPECT_EQ(value("SELECT COUNT(*) AS n FROM log_detl WHERE log_type='50032' AND wkr_no='JD01'"),
              "3");

    r = run({"list", "--all", "--claimed"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("共 2 期"), std::string::npos) << r.out;
}

TEST_P(ClaimCtl, AMailServerThatIsDownRecordsNothingAndFails) {
    useServer(closedPort());
    CtlResult r = run({"mail", "--publ", "YZFX", "--all"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("onnect"), std::string::npos) << r.err;
    EXPECT_EQ(value("SELECT COUNT(*) AS n FROM m_aslack_rec"), "0");
    EXPECT_EQ(run({"mail", "--all"}).code, 2);  // mail goes to exactly one supplier
}

}  // namespace
