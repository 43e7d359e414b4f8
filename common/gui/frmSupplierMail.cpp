#include "common/gui/frmSupplierMail.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "common/gui/Grid.h"
#include "common/gui/LayoutMemory.h"
#include "common/gui/StdKeys.h"
#include "db/basLibMsg.h"

frmSupplierMail::frmSupplierMail(const SupplierMail& mail, SupplierMailForm form, QWidget* parent)
    : QDialog(parent), mail_(mail), form_(std::move(form)) {
    setObjectName(QString::fromStdString(form_.objectName));
    setWindowTitle(QString::fromStdString(form_.title));
    const bool list = !form_.listHeaders.empty();
    resize(list ? 900 : 640, list ? 560 : 420);
    auto line = [this](const std::string& text, const char* name) {
        auto* e = new QLineEdit(QString::fromStdString(text), this);
        e->setObjectName(name);
        return e;
    };
    txtFrom = line(mail.from, "txtFrom");
    if (form_.askFromName) txtFromName = line(mail.fromName, "txtFromName");
    txtTo = line(mail.to, "txtTo");
    txtSubject = line(mail.subject, "txtSubject");
    txtBody = new QPlainTextEdit(QString::fromStdString(mail.body).replace("\r\n", "\n"), this);
    txtBody->setObjectName("txtBody");
    if (list) txtBody->setMaximumHeight(110);  // the list takes the room
    chkToMe = new QCheckBox("抄送给自己", this);
    chkToMe->setObjectName("chkToMe");
    chkToMe->setChecked(form_.copyToMe);
    if (!form_.attachment.empty()) {
        lblAttachment = new QLabel(QString::fromStdString(form_.attachment), this);
        lblAttachment->setObjectName("lblAttachment");
    }
    if (list) {
        auto* rows = new QStandardItemModel(static_cast<int>(form_.listRows.size()),
                                            static_cast<int>(form_.listHeaders.size()), this);
        QStringList captions;
        for (const auto& h : form_.listHeaders)
            captions << QString::fromStdString(h);
        rows->setHorizontalHeaderLabels(captions);
        for (std::size_t r = 0; r < form_.listRows.size(); ++r)
            for (std::size_t c = 0; c < form_.listRows[r].size(); ++c)
                rows->setItem(static_cast<int>(r), static_cast<int>(c),
                              new QStandardItem(QString::fromStdString(form_.listRows[r][c])));
        flxOrdDetail = new QTableView(this);
        flxOrdDetail->setObjectName("flxOrdDetail");
        flxOrdDetail->setEditTriggers(QAbstractItemView::NoEditTriggers);
        flxOrdDetail->setWordWrap(false);
        LIB_SetupGrid(flxOrdDetail, rows,
                      "common/frmSupplierMail/" + QString::fromStdString(form_.objectName));
        fitColumnsUntilRemembered(flxOrdDetail);
    }
    cmdOk = new QPushButton("发送", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    // Enter sends from a one-line field; in the body it starts a new line, so Ctrl+Enter sends
    // from anywhere.
    LIB_ButtonKey(this, cmdOk, QKeySequence(Qt::CTRL | Qt::Key_Return), "发送邮件");
    cmdOk->setToolTip("发送邮件 (Enter, " +
                      QKeySequence(Qt::CTRL | Qt::Key_Return).toString(QKeySequence::NativeText) +
                      ")");
    cmdCancel = new QPushButton("取消", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setToolTip("不发送，关闭 (Esc)");

    auto* fields = new QFormLayout;
    fields->addRow(txtFromName ? "发信人地址：" : "发信人：", txtFrom);
    if (txtFromName) fields->addRow("发信人：", txtFromName);
    fields->addRow("收信人：", txtTo);
    fields->addRow("主题：", txtSubject);
    fields->addRow("正文：", txtBody);
    if (lblAttachment) fields->addRow("附件：", lblAttachment);
    fields->addRow("", chkToMe);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields, list ? 0 : 1);
    if (list) layout->addWidget(flxOrdDetail, 1);
    layout->addLayout(buttons);
    connect(cmdOk, &QPushButton::clicked, this, &frmSupplierMail::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmSupplierMail::cmdOk_Click() {
    SupplierMail m = mail_;
    m.from = txtFrom->text().trimmed().toStdString();
    if (txtFromName) m.fromName = txtFromName->text().trimmed().toStdString();
    m.to = txtTo->text().trimmed().toStdString();
    m.subject = txtSubject->text().toStdString();
    m.body = txtBody->toPlainText().replace("\n", "\r\n").toStdString();
    m.copyToMe = chkToMe->isChecked();
    if (std::string problem = mailProblem(m); !problem.empty()) {
        LIB_ShowMsg("E" + problem);
        return;
    }
    std::string error;
    if (form_.send(m, error) < 0) {
        if (!error.empty()) LIB_ShowMsg("E" + error);
        return;
    }
    LIB_ShowMsg("I 发送邮件成功！");
    accept();
}
