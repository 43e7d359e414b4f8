#include "common/gui/frmOptMail.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "common/Mailer.h"
#include "common/basQKEnv.h"
#include "db/basLibMsg.h"

namespace {

std::string iniPath() {
    return g_strPath[0] + "mavren.ini";
}

}  // namespace

frmOptMail::frmOptMail(QWidget* parent) : QDialog(parent) {
    setObjectName("frmOptMail");
    setWindowTitle("邮件设置");
    readMailSettings(iniPath());
    auto line = [this](const std::string& text, const char* name, const QString& tip) {
        auto* e = new QLineEdit(QString::fromStdString(text), this);
        e->setObjectName(name);
        e->setToolTip(tip);
        return e;
    };
    // "host:port" is shown as two fields; an smtp:// or smtps:// address stays whole.
    std::string host = QK_strSmtpAddr;
    int port = 0;
    if (const auto colon = host.rfind(':');
        host.find("://") == std::string::npos && colon != std::string::npos) {
        port = QString::fromStdString(host.substr(colon + 1)).toInt();
        host.erase(colon);
    }
    txtServer = line(host, "txtServer", "SMTP 服务器，如 smtp.lib.example.edu.cn");
    spnPort = new QSpinBox(this);
    spnPort->setObjectName("spnPort");
    spnPort->setRange(0, 65535);
    spnPort->setSpecialValueText("默认");
    spnPort->setValue(port);
    chkUseSmtp = new QCheckBox("使用邮件", this);
    chkUseSmtp->setObjectName("chkUseSmtp");
    chkUseSmtp->setChecked(QK_bolSmtp || QK_strSmtpAddr.empty());
    chkTls = new QCheckBox("必须加密（STARTTLS）", this);
    chkTls->setObjectName("chkTls");
    chkTls->setChecked(g_mailAccount.tls);
    txtUser = line(g_mailAccount.user, "txtUser", "服务器要求登录时的账号");
    txtPassword = line(g_mailAccount.password, "txtPassword", "账号的密码，加密保存");
    txtPassword->setEchoMode(QLineEdit::Password);
    txtFrom = line(g_mailAccount.from, "txtFrom", "操作员没有邮箱时的发信地址");
    txtFromName = line(g_mailAccount.fromName, "txtFromName", "发信人名称");
    txtTele = line(g_mailAccount.telephone, "txtTele", "操作员没有电话时的联系电话");
    cmdTest = new QPushButton("发送测试邮件", this);
    cmdTest->setObjectName("cmdTest");
    cmdTest->setToolTip("按当前填写的设置给发信地址发一封测试邮件");
    cmdOk = new QPushButton("确定", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    cmdOk->setToolTip("保存设置 (Enter)");
    cmdCancel = new QPushButton("取消", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setToolTip("不保存，关闭 (Esc)");

    auto* serverRow = new QHBoxLayout;
    serverRow->addWidget(txtServer, 1);
    serverRow->addWidget(spnPort);
    auto* form = new QFormLayout;
    form->addRow("服务器：", serverRow);
    form->addRow("", chkUseSmtp);
    form->addRow("", chkTls);
    form->addRow("账号：", txtUser);
    form->addRow("密码：", txtPassword);
    form->addRow("发信地址：", txtFrom);
    form->addRow("发信人：", txtFromName);
    form->addRow("联系电话：", txtTele);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdTest);
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(cmdTest, &QPushButton::clicked, this, &frmOptMail::cmdTest_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmOptMail::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    // Opened from the main window it lives in a sub-window, which goes with it.
    connect(this, &QDialog::finished, this, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->close();
    });
}

std::string frmOptMail::server() const {
    std::string s = txtServer->text().trimmed().toStdString();
    if (!s.empty() && spnPort->value() > 0) s += ":" + std::to_string(spnPort->value());
    return s;
}

MailAccount frmOptMail::account() const {
    MailAccount a;
    a.user = txtUser->text().trimmed().toStdString();
    a.password = txtPassword->text().toStdString();
    a.tls = chkTls->isChecked();
    a.from = txtFrom->text().trimmed().toStdString();
    a.fromName = txtFromName->text().trimmed().toStdString();
    a.telephone = txtTele->text().trimmed().toStdString();
    return a;
}

void frmOptMail::cmdTest_Click() {
    const MailAccount a = account();
    if (server().empty()) {
        LIB_ShowMsg("E请输入邮件服务器！");
        return;
    }
    SupplierMail m;
    m.from = m.to = a.from;
    m.fromName = m.toName = a.fromName;
    m.subject = "邮件设置测试";
    m.body = "这是一封测试邮件，收到即说明本工作站的邮件设置可用。\r\n";
    if (std::string problem = mailProblem(m); !problem.empty()) {
        LIB_ShowMsg("E" + problem);
        return;
    }
    std::string error;
    if (sendMailWith(server(), a, m, {}, error) < 0) {
        LIB_ShowMsg("E" + error);
        return;
    }
    LIB_ShowMsg("I测试邮件已发送到 " + a.from);
}

void frmOptMail::cmdOk_Click() {
    std::string error;
    if (writeMailSettings(iniPath(), server(), chkUseSmtp->isChecked(), account(), error) < 0) {
        LIB_ShowMsg("E" + error);
        return;
    }
    readMailSettings(iniPath());
    accept();
}
