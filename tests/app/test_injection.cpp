// Texts built to break out of their literal, through every serialsctl verb that takes text, on
// a PostgreSQL database whose own default reads backslashes as escapes: each is stored or
// refused, never run.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/CtlRun.h"
#include "tests/support/TestDb.h"

namespace {

const std::vector<std::string> kPayloads = {
    "x\\'; UPDATE lib_worker SET wkr_flag='0' WHERE wkr_no='ROOT'; --",
    "' OR '1'='1",
    "\\' OR 1=1; DELETE FROM msg_mst; --",
    "%_",
    "期刊\\'’《》𠀀𝄞",
};

class Injection : public CtlTest {
protected:
    void SetUp() override {
        CtlTest::SetUp();
        if (IsSkipped()) return;
        home = std::make_unique<TestHome>(GetParam(), demoInstall());
        if (GetParam() == kPostgres) {
            ASSERT_EQ(run({"exec", "ALTER DATABASE " + home->databaseName() +
                                       " SET standard_conforming_strings = off"})
                          .code,
                      0);
        }
        ASSERT_EQ(
            run({"marc", "import", std::string(SERIALS_SOURCE_DIR) + "/config/demo/usmarc_demo.mrc",
                 "--format", "usmarc"})
                .code,
            0);
    }
    CtlResult run(const std::vector<std::string>& args) {
        return runCtl(binary, home->dir(), args);
    }
    // What an injected statement would change.
    std::string state() {
        return run({"query",
                    "SELECT w.wkr_no, w.wkr_flag, w.pwd_hash, (SELECT count(*) FROM msg_mst) AS m, "
                    "(SELECT count(*) FROM marc) AS r FROM lib_worker w WHERE w.wkr_no<>'JD01' "
                    "ORDER BY w.wkr_no"})
            .out;
    }
    std::string orderFile(const std::vector<std::string>& remarks) {
        std::string text;
        int n = 0;
        for (const std::string& remark : remarks) {
            std::string quoted = "\"";
            for (char c : remark)
                quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
            text += "D,YZFX,202601,INJ-" + std::to_string(++n) + ",,0,01,月刊,01,CNY,10,,,,TP3,0," +
                    quoted + "\"\nS,QK01,1,1,全年,\nF,01,1,,\nT,QK01,1,\n";
        }
        std::string path = home->dir() + "/TMP/injection.csv";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::unique_ptr<TestHome> home;
};
SERIALS_ON_BOTH_BACKENDS(Injection);

TEST_P(Injection, PayloadsThroughEveryTextVerbAreStoredOrRefusedNeverRun) {
    const std::string before = state();
    ASSERT_NE(before.find("ROOT"), std::string::npos) << before;
    for (const std::string& p : kPayloads) {
        CtlResult login = run({"--user", p, "--password", p, "whoami"});
        EXPECT_EQ(login.code, 1) << p;
        EXPECT_EQ(run({"--user", "DY01", "--password", p, "whoami"}).code, 1) << p;
        CtlResult search = run({"marc", "search", "01", p});
        EXPECT_EQ(search.code, 0) << p << search.err;
        EXPECT_NE(search.out.find("(0 行)"), std::string::npos) << p << "\n" << search.out;
        // Found nothing or refused: either way a message, never a crash.
        for (const std::vector<std::string>& verb :
             {std::vector<std::string>{"order", "show", p, p},
              std::vector<std::string>{"order", "delete", "YZFX", p},
              std::vector<std::string>{"log", "--user", p, "--type", p}})
            EXPECT_LE(run(verb).code, 1) << verb[0] << " " << verb[1] << " " << p;
    }
    // A payload as a password is stored as one: it logs in afterwards.
    ASSERT_EQ(
        run({"--user", "JD01", "--password", "1234", "passwd", kPayloads[0], kPayloads[0]}).code,
        0);
    CtlResult who = run({"--user", "JD01", "--password", kPayloads[0], "whoami"});
    EXPECT_EQ(who.code, 0) << who.err;
    EXPECT_EQ(state(), before);

    // Fields of an order file are stored as written; a NUL is refused with its message.
    std::vector<std::string> remarks = kPayloads;
    remarks.push_back(std::string("before") + '\0' + "' after");
    CtlResult imported = run({"order", "import", orderFile(remarks)});
    EXPECT_EQ(imported.code, 1);
    EXPECT_NE(imported.err.find("文本中含有空字符(NUL)，未执行！"), std::string::npos)
        << imported.err;
    for (std::size_t i = 0; i < kPayloads.size(); ++i) {
        CtlResult stored = run({"query", "SELECT remark FROM m_peri_ord_detl WHERE asord_no='INJ-" +
                                             std::to_string(i + 1) + "'"});
        EXPECT_NE(stored.out.find("\n" + kPayloads[i] + "\n"), std::string::npos)
            << kPayloads[i] << "\n"
            << stored.out;
    }
    EXPECT_NE(run({"query", "SELECT count(*) AS n FROM m_peri_ord_detl WHERE asord_no='INJ-" +
                                std::to_string(remarks.size()) + "'"})
                  .out.find("\n0\n"),
              std::string::npos);
    EXPECT_EQ(state(), before);
}

}  // namespace
