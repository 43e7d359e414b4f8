#include "ordering/gui/frmOrdSendMail.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "db/basLibMsg.h"
#include "ordering/core/OrdOutput.h"

frmOrdSendMail::frmOrdSendMail(const std::string& publ, const std::string& year,
                               const SupplierMail& mail, QWidget* parent)
    : QDialog(parent), publ_(publ), year_(year), mail_(mail) {
    setObjectName("frmOrdSendMail");
    setWindowTitle("发送订单");
    resize(640, 420);
    auto line = [this](const std::string& text, const char* name) {
        auto* e = new QLineEdit(QString::fromStdString(text), this);
        e->setObjectName(name);
        return e;
    };
    txtFrom = line(mail.from, "txtFrom");
    txtFromName = line(mail.fromName, "txtFromName");
    txtTo = line(mail.to, "txtTo");
    txtSubject = line(mail.subject, "txtSubject");
    txtBody = new QPlainTextEdit(QString::fromStdString(mail.body).replace("\r\n", "\n"), this);
    txtBody->setObjectName("txtBody");
    chkToMe = new QCheckBox("抄送给自己", this);
    chkToMe->setObjectName("chkToMe");
    lblAttachment = new QLabel(QString::fromStdString(publ + "_" + year + ".xlsx"), this);
    lblAttachment->setObjectName("lblAttachment");
    cmdOk = new QPushButton("发送", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton("取消", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdOk->setToolTip("发送订单 (Enter)");
    cmdCancel->setToolTip("不发送，关闭 (Esc)");

    auto* form = new QFormLayout;
    form->addRow("发信人地址：", txtFrom);
    form->addRow("发信人：", txtFromName);
    form->addRow("收信人：", txtTo);
    form->addRow("主题：", txtSubject);
    form->addRow("正文：", txtBody);
    form->addRow("附件：", lblAttachment);
    form->addRow("", chkToMe);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addLayout(buttons);
    connect(cmdOk, &QPushButton::clicked, this, &frmOrdSendMail::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmOrdSendMail::cmdOk_Click() {
    SupplierMail m = mail_;
    m.from = txtFrom->text().trimmed().toStdString();
    m.fromName = txtFromName->text().trimmed().toStdString();
    m.to = txtTo->text().trimmed().toStdString();
    m.subject = txtSubject->text().toStdString();
    m.body = txtBody->toPlainText().replace("\n", "\r\n").toStdString();
    m.copyToMe = chkToMe->isChecked();
    if (std::string problem = mailProblem(m); !problem.empty()) {
        LIB_ShowMsg("E" + problem);
        return;
    }
    std::string error;
    if (intSendOrdMail(publ_, year_, m, error) < 0) {
        LIB_ShowMsg("E" + error);
        return;
    }
    LIB_ShowMsg("I 发送邮件成功！");
    accept();
}
