// The workstation's mail settings: the [MAIL] section rewritten with the other sections kept and
// the password stored encoded, and the settings screen's test message and save.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "common/Mailer.h"
#include "common/basQKEnv.h"
#include "common/gui/frmOptMail.h"
#include "tests/support/CtlRun.h"
#include "tests/support/SmtpSink.h"
#include "tests/support/TestDb.h"

namespace {

class MailSettings : public DbTest {
protected:
    std::string ini() const { return g_strPath[0] + "mavren.ini"; }
    static bool has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }
};
SERIALS_ON_BOTH_BACKENDS(MailSettings);

TEST_P(MailSettings, SectionIsReplacedAndThePasswordStoredEncoded) {
    home->writeIni(home->workingIni() + "[mail]\nSMTP=old.example.cn\nUSER=old\n[EXTRA]\nA=1\n");
    MailAccount a;
    a.user = "serials";
    a.password = "s3cret-口令";
    a.tls = true;
    a.from = "serials@lib.example.edu.cn";
    a.fromName = "期刊部";
    a.telephone = "010-62750000";
    std::string error;
    ASSERT_EQ(writeMailSettings(ini(), "smtp.lib.example.edu.cn:587", true, a, error), 0) << error;
    ASSERT_EQ(writeMailSettings(ini(), "smtp.lib.example.edu.cn:587", true, a, error), 0) << error;
    const std::string text = slurp(ini());
    EXPECT_TRUE(has(text, home->workingIni())) << text;
    EXPECT_TRUE(has(text, "[EXTRA]\nA=1\n")) << text;
    EXPECT_FALSE(has(text, "old")) << text;
    EXPECT_FALSE(has(text, "s3cret")) << text;
    EXPECT_EQ(text.find("[MAIL]"), text.rfind("[MAIL]")) << text;
    readMailSettings(ini());
    EXPECT_EQ(QK_strSmtpAddr, "smtp.lib.example.edu.cn:587");
    EXPECT_TRUE(QK_bolSmtp);
    EXPECT_EQ(g_mailAccount.password, "s3cret-口令");
    EXPECT_TRUE(g_mailAccount.tls);
    EXPECT_EQ(g_mailAccount.fromName, "期刊部");
    EXPECT_EQ(g_mailAccount.telephone, "010-62750000");
    // A line break would smuggle in another key.
    a.fromName = "期刊部\nTLS=0";
    EXPECT_EQ(writeMailSettings(ini(), "smtp.lib.example.edu.cn", true, a, error), -1);
    EXPECT_TRUE(has(slurp(ini()), "FROM_NAME=期刊部\n"));
}

TEST_P(MailSettings, ScreenSendsATestMessageAsTypedAndSavesOnOk) {
    SmtpSink sink(home->dir());
    frmOptMail screen;
    EXPECT_EQ(screen.txtServer->text(), "");
    screen.cmdTest->click();
    EXPECT_EQ(presenter.bodies().back(), "请输入邮件服务器！");
    screen.txtServer->setText("127.0.0.1");
    screen.spnPort->setValue(std::stoi(sink.port));
    screen.cmdTest->click();
    EXPECT_EQ(presenter.bodies().back(), "请输入完整的发信人信息！");
    screen.txtFrom->setText("serials@lib.example.edu.cn");
    screen.txtUser->setText("serials");
    screen.txtPassword->setText("pw");
    screen.cmdTest->click();
    EXPECT_EQ(presenter.bodies().back(), "测试邮件已发送到 serials@lib.example.edu.cn");
    const std::string mail = sink.message(1);
    EXPECT_TRUE(has(mail, "SUBJECT 邮件设置测试")) << mail;
    EXPECT_TRUE(has(mail, "TO serials@lib.example.edu.cn")) << mail;
    EXPECT_TRUE(has(sink.envelope(1), "serials")) << sink.envelope(1);
    // Trying is not saving.
    EXPECT_FALSE(has(slurp(ini()), "[MAIL]"));

    screen.cmdOk->click();
    EXPECT_EQ(screen.result(), QDialog::Accepted);
    frmOptMail again;
    EXPECT_EQ(again.txtServer->text(), "127.0.0.1");
    EXPECT_EQ(again.spnPort->value(), std::stoi(sink.port));
    EXPECT_EQ(again.txtPassword->text(), "pw");
    EXPECT_EQ(again.txtFrom->text(), "serials@lib.example.edu.cn");
    EXPECT_TRUE(again.chkUseSmtp->isChecked());
    EXPECT_FALSE(again.chkTls->isChecked());
    EXPECT_FALSE(has(slurp(ini()), "PASSWORD=pw"));
}

}  // namespace
