// The claim mail on both backends, sent to a loopback SMTP server the test starts: what arrives
// (subject, body, recipients, account, the attached sheet's cells) and that a mail that cannot
// go records nothing. Also the mail screen's checks and the message the mailer builds.
#include <gtest/gtest.h>

#include "checkin/core/basChkClaim.h"
#include "common/Mailer.h"
#include "tests/checkin/ClaimTestData.h"
#include "tests/support/SmtpSink.h"

namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class ClaimMailSend : public ClaimDbTest {
protected:
    void useServer(const std::string& port, const std::string& more = "") {
        home->writeIni(home->workingIni() + "[MAIL]\nSMTP=127.0.0.1:" + port + "\nUSE_SMTP=1\n" +
                       more);
    }
    // Two missing issues of one YZFX line: 1 of 2 copies came of the first.
    std::vector<ClaimCandidate> yzfxRows() {
        ClaimLine l;
        l.subs = {{"QK01", 2}};
        addLine(l);
        addIssue(l, "0000000001", 1, "2026-02-01");
        addIssue(l, "0000000002", 2, "2026-03-01");
        addCopies("0000000001", "QK01", 1);
        addClaim("0000000001", "QK01", "2026-02-20");
        sqlRun(
            "UPDATE publish_busi SET publ_email='orders@yzfx.example.cn' WHERE publ_code='YZFX'");
        ClaimFilter f;
        f.publCodes = {"YZFX"};
        f.year = "2026";
        std::vector<ClaimCandidate> rows;
        EXPECT_EQ(claimSearch(f, ClaimList::ToClaim, kClaimToday, rows), ClaimSearchResult::Found);
        return rows;
    }
    std::string claimRows() {
        return scalar("SELECT COUNT(*) FROM m_aslack_rec") + " claims, " +
               scalar("SELECT COUNT(*) FROM log_detl WHERE log_type='50032'") + " log";
    }
};
SERIALS_ON_BOTH_BACKENDS(ClaimMailSend);

TEST_P(ClaimMailSend, ArrivesWithSubjectBodyCopyAndTheSheetOfClaims) {
    SmtpSink sink(home->dir());
    useServer(sink.port, "USER=claims\nPASSWORD=s3cret\n");
    auto rows = yzfxRows();
    ASSERT_EQ(rows.size(), 2u);
    rows[1].qty = 1;
    ClaimMail mail;
    ASSERT_EQ(claimPrepareMail("YZFX", kClaimToday, mail), 0);
    EXPECT_EQ(mail.to, "orders@yzfx.example.cn");
    EXPECT_EQ(mail.from, "chenxf@lib.example.edu.cn");
    EXPECT_EQ(claimMailProblem(mail), "");
    mail.copyToMe = true;
    std::string error;
    bool dbFailed = false;
    ASSERT_EQ(claimSendMail(mail, rows, error, dbFailed), 0) << error;
    EXPECT_EQ(claimRows(), "3 claims, 1 log");

    std::string env = sink.envelope(1);
    EXPECT_TRUE(has(env, "FROM <chenxf@lib.example.edu.cn>")) << env;
    EXPECT_TRUE(has(env, "TO <orders@yzfx.example.cn> <chenxf@lib.example.edu.cn>")) << env;
    EXPECT_TRUE(has(env, "AUTH |claims|s3cret")) << env;
    std::string m = sink.message(1);
    EXPECT_TRUE(has(m, "SUBJECT  催缺期刊列表\n")) << m;
    EXPECT_TRUE(has(m,
                    "BODY  催缺单 \\n催缺日期： 2026-03-10\\n联系电话：010-62751002\\n"
                    "数据详见附件，格式为xls文件，数据格式未加密。\\n"))
        << m;
    EXPECT_TRUE(has(m, "FILE YZFX_2026-03-10.xlsx")) << m;
    EXPECT_TRUE(has(m,
                    "ROW 发行商\t年度批次\t征订号\tISSN\t出版年度\t卷期信息\t应到日期\t催缺次数\t"
                    "应到复本\t实到复本\t催缺复本\t经手人\t催缺日期\t出版频率\t排架号\n"))
        << m;
    EXPECT_TRUE(has(m,
                    "ROW YZFX\t202601\t2-15\t0254-4164\t2026\t45卷1期\t2026-02-01\t2\t2\t1\t1\t"
                    "JD01\t2026-03-10\tm\tTP3/12\n"))
        << m;
    EXPECT_TRUE(has(m,
                    "ROW YZFX\t202601\t2-15\t0254-4164\t2026\t45卷2期\t2026-03-01\t1\t2\t0\t1\t"
                    "JD01\t2026-03-10\tm\tTP3/12\n"))
        << m;
}

TEST_P(ClaimMailSend, AMailThatCannotGoRecordsNothingAndSaysWhy) {
    auto rows = yzfxRows();
    ClaimMail mail;
    ASSERT_EQ(claimPrepareMail("YZFX", kClaimToday, mail), 0);
    std::string error;
    bool dbFailed = true;

    useServer(closedPort());
    EXPECT_EQ(claimSendMail(mail, rows, error, dbFailed), -1);
    EXPECT_FALSE(dbFailed);
    EXPECT_TRUE(has(error, "onnect")) << error;  // the transport's own words
    EXPECT_EQ(claimRows(), "1 claims, 0 log");

    SmtpSink sink(home->dir());  // a server without encryption, when the account demands it
    useServer(sink.port, "TLS=1\n");
    error.clear();
    EXPECT_EQ(claimSendMail(mail, rows, error, dbFailed), -1);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(sink.message(1), "");
    EXPECT_EQ(claimRows(), "1 claims, 0 log");

    home->writeIni(home->workingIni());  // no mail settings at all
    EXPECT_EQ(claimSendMail(mail, rows, error, dbFailed), -1);
    EXPECT_TRUE(has(error, "[MAIL]")) << error;
    EXPECT_EQ(claimRows(), "1 claims, 0 log");
}

TEST(ClaimMailChecks, SenderRecipientAndSubjectAreRequiredInThatOrder) {
    ClaimMail m;
    EXPECT_EQ(claimMailProblem(m), "请输入完整的发信人信息！");
    m.from = "a@b.cn";
    EXPECT_EQ(claimMailProblem(m), "请输入完整的收信人信息！");
    m.to = "c@d.cn";
    m.subject = "  ";
    EXPECT_EQ(claimMailProblem(m), "请输入主题！");
    m.subject = " 催缺期刊列表";
    EXPECT_EQ(claimMailProblem(m), "");
}

TEST(MailerMessage, HeadersAreEncodedWordsAndPartsAreBase64) {
    EXPECT_EQ(base64Encode(""), "");
    EXPECT_EQ(base64Encode("a"), "YQ==");
    EXPECT_EQ(base64Encode("ab"), "YWI=");
    EXPECT_EQ(base64Encode("abc"), "YWJj");
    EXPECT_EQ(base64Encode(std::string(100, 'x'), true).find("\r\n"), 76u);

    Mailer m;
    m.From = "a@b.cn";
    m.FromName = "期刊部";
    m.Subject = "催缺";
    m.Body = "正文";
    m.AddRecipient("c@d.cn");
    std::string text = m.message();
    EXPECT_TRUE(has(text, "From: =?UTF-8?B?" + base64Encode("期刊部") + "?= <a@b.cn>\r\n"));
    EXPECT_TRUE(has(text, "Subject: =?UTF-8?B?" + base64Encode("催缺") + "?=\r\n"));
    EXPECT_TRUE(has(text, "\r\n\r\n" + base64Encode("正文") + "\r\n"));
    m.AddAttachment("/nonexistent/list.xlsx");
    EXPECT_EQ(m.message(), "");
    EXPECT_TRUE(has(m.error(), "/nonexistent/list.xlsx"));
    EXPECT_EQ(m.Send("127.0.0.1:1"), -1);
}

}  // namespace
