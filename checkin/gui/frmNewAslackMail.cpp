#include "checkin/gui/frmNewAslackMail.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/OperatorState.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

frmNewAslackMail::frmNewAslackMail(const ClaimMail& mail, std::vector<ClaimCandidate> rows,
                                   QWidget* parent)
    : QDialog(parent), mail_(mail), rows_(std::move(rows)) {
    setObjectName("frmNewAslackMail");
    setWindowTitle("邮件催缺");
    resize(900, 560);
    auto line = [this](const std::string& text, const char* name) {
        auto* e = new QLineEdit(QString::fromStdString(text), this);
        e->setObjectName(name);
        return e;
    };
    txtFrom = line(mail.from, "txtFrom");
    txtTo = line(mail.to, "txtTo");
    txtSubject = line(mail.subject, "txtSubject");
    txtBody = new QPlainTextEdit(QString::fromStdString(mail.body).replace("\r\n", "\n"), this);
    txtBody->setObjectName("txtBody");
    txtBody->setMaximumHeight(110);
    chkToMe = new QCheckBox("抄送给自己", this);
    chkToMe->setObjectName("chkToMe");
    chkToMe->setChecked(true);

    const auto& headers = claimListHeaders();
    flxOrdDetail =
        new QTableWidget(static_cast<int>(rows_.size()), static_cast<int>(headers.size()), this);
    flxOrdDetail->setObjectName("flxOrdDetail");
    flxOrdDetail->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QStringList captions;
    for (const auto& h : headers)
        captions << QString::fromStdString(h);
    flxOrdDetail->setHorizontalHeaderLabels(captions);
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        auto cells = claimListRow(rows_[r], LIB_DB_GetServerDate().substr(0, 10), g_strWkrNo, true);
        for (std::size_t c = 0; c < cells.size(); ++c)
            flxOrdDetail->setItem(static_cast<int>(r), static_cast<int>(c),
                                  new QTableWidgetItem(QString::fromStdString(cells[c])));
    }
    flxOrdDetail->resizeColumnsToContents();

    cmdOk = new QPushButton("发送", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton("取消", this);
    cmdCancel->setObjectName("cmdCancel");

    auto* form = new QFormLayout;
    form->addRow("发信人：", txtFrom);
    form->addRow("收信人：", txtTo);
    form->addRow("主题：", txtSubject);
    form->addRow("正文：", txtBody);
    form->addRow("", chkToMe);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(flxOrdDetail, 1);
    layout->addLayout(buttons);
    connect(cmdOk, &QPushButton::clicked, this, &frmNewAslackMail::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmNewAslackMail::cmdOk_Click() {
    ClaimMail m = mail_;
    m.from = txtFrom->text().trimmed().toStdString();
    m.to = txtTo->text().trimmed().toStdString();
    m.subject = txtSubject->text().toStdString();
    m.body = txtBody->toPlainText().replace("\n", "\r\n").toStdString();
    m.copyToMe = chkToMe->isChecked();
    if (std::string problem = claimMailProblem(m); !problem.empty()) {
        LIB_ShowMsg("E" + problem);
        return;
    }
    std::string error;
    bool dbFailed = false;
    if (claimSendMail(m, rows_, error, dbFailed) < 0) {
        if (dbFailed)
            LIB_DB_ShowError();
        else
            LIB_ShowMsg("E" + error);
        return;
    }
    LIB_ShowMsg("I 发送邮件成功！");
    accept();
}
