// The claim screens under offscreen Qt on the demo library, as the demo check-in librarian
// uses them: the demo's missing issues listed, one quantity changed, the claim list printed to
// PDF and read back, the claims recorded, and a month later the second claims proposed; the
// three lists; the mail screen's checks and a mail server that is down.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>

#include "app/basQKLogin.h"
#include "checkin/gui/ClaimGridModel.h"
#include "checkin/gui/frmNewAskLack.h"
#include "checkin/gui/frmNewAslackMail.h"
#include "checkin/gui/frmNewTrans.h"
#include "db/basLibDB.h"
#include "marc/core/MarcImport.h"
#include "tests/support/CtlRun.h"
#include "tests/support/DemoSession.h"
#include "tests/support/PdfText.h"
#include "tests/support/SmtpSink.h"
#include "tests/support/TestDb.h"

namespace {

using Mode = QAbstractItemModelTester::FailureReportingMode;

class ClaimScreens : public DemoDbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        openAs("JD01");
        if (HasFatalFailure()) return;
        LIB_DB_PinServerDate("2026-06-20 08:30:00");
        form = std::make_unique<frmNewAskLack>();
        tester = std::make_unique<QAbstractItemModelTester>(form->model, Mode::Fatal);
        form->cmbLoca->setCurrentIndex(form->cmbLoca->findData("QK01"));
    }
    void TearDown() override {
        tester.reset();
        form.reset();
        DbTest::TearDown();
    }
    // The grid as "order number#issue (claims so far) quantity" lines.
    std::vector<std::string> grid() {
        std::vector<std::string> out;
        for (const ClaimCandidate& c : form->model->rows())
            out.push_back(c.asordNo + "#" + std::to_string(c.periNo) + " (" +
                          std::to_string(c.claimCount) + ") " + std::to_string(c.qty));
        return out;
    }
    void show(int list) {
        form->optShowType[list]->click();
        form->cmdSearch->click();
    }
    std::unique_ptr<frmNewAskLack> form;
    std::unique_ptr<QAbstractItemModelTester> tester;
};
SERIALS_ON_BOTH_BACKENDS(ClaimScreens);

TEST_P(ClaimScreens, DemoLibrarianListsPrintsClaimsAndSeesTheSecondClaimLater) {
    EXPECT_EQ(form->cmbYear->currentText(), "2026");
    form->cmdSearch->click();
    ASSERT_EQ(grid(), (std::vector<std::string>{"2-17#3 (1) 2", "2-10#4 (0) 1", "2-10#5 (0) 2",
                                                "2-17#5 (0) 2"}));
    // Only the issue after which a later one has come; then the list to claim again.
    show(1);
    EXPECT_EQ(grid(), std::vector<std::string>{"2-17#3 (1) 2"});
    show(0);

    ClaimGridModel* m = form->model;
    ASSERT_TRUE(m->setData(m->index(2, ClaimGridModel::Qty), 1, Qt::EditRole));
    EXPECT_FALSE(m->setData(m->index(2, ClaimGridModel::Qty), 0, Qt::EditRole));
    ASSERT_TRUE(m->setData(m->index(2, ClaimGridModel::Remark), "先寄一本", Qt::EditRole));
    ASSERT_TRUE(m->setData(m->index(3, ClaimGridModel::Mark), Qt::Unchecked, Qt::CheckStateRole));

    std::string pdf = home->dir() + "/TMP/claims.pdf";
    ASSERT_TRUE(form->printToPdf(QString::fromStdString(pdf)));
    std::string text = pdfText(pdf);
    for (const char* part :
         {"期刊催缺单", "催缺日期：2026-06-20", "发行商：YZFX", "催缺复本", "排架号", "45卷3期",
          "45卷4期", "45卷5期", "总计：3 期 4 本", "制表日期：2026-06-20", "制表人员：JD01"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    EXPECT_EQ(text.find("45卷5期", text.find("45卷5期") + 1), std::string::npos);  // once

    form->cmdAsk->click();
    EXPECT_EQ(presenter.shown.back().body, "催缺完成！");
    EXPECT_EQ(grid(), std::vector<std::string>{"2-17#5 (0) 2"});  // the one left unmarked
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM m_aslack_rec WHERE aslack_detl_date='2026-06-20'"), "3");
    EXPECT_EQ(scalar("SELECT aslack_detl_qty||'/'||remark FROM m_aslack_rec WHERE "
                     "peri_id='0000900005' AND location='QK01'"),
              "1/先寄一本");
    show(2);
    EXPECT_EQ(grid().size(), 3u);

    // A month on, the second claims fall due (the third for 2-17#3) and issue 6 for the first.
    LIB_DB_PinServerDate("2026-07-21 08:30:00");
    show(0);
    EXPECT_EQ(grid(), (std::vector<std::string>{"2-17#3 (2) 2", "2-10#4 (1) 1", "2-10#5 (1) 2",
                                                "2-17#5 (0) 2", "2-10#6 (0) 2", "2-17#6 (0) 2"}));
}

TEST_P(ClaimScreens, MailNeedsOneSupplierAndAServerThatAnswers) {
    form->cmdSearch->click();
    form->cmdSendMail->click();
    EXPECT_EQ(presenter.shown.back().body, "邮件催缺必须选择一个发行商。");
    EXPECT_EQ(form->mailForm, nullptr);
    for (int i = 0; i < form->lstPubl->count(); ++i)
        if (form->lstPubl->item(i)->data(Qt::UserRole).toString() == "YZFX")
            form->lstPubl->item(i)->setSelected(true);
    form->cmdSendMail->click();
    frmNewAslackMail* mail = form->mailForm;
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(mail->txtFrom->text(), "chenxf@lib.example.edu.cn");
    EXPECT_EQ(mail->txtSubject->text(), " 催缺期刊列表");
    EXPECT_EQ(mail->flxOrdDetail->rowCount(), 4);
    EXPECT_EQ(mail->flxOrdDetail->item(0, 7)->text(), "2");  // the second claim of 2-17#3

    mail->txtFrom->clear();
    mail->cmdOk->click();
    EXPECT_EQ(presenter.shown.back().body, "请输入完整的发信人信息！");
    mail->txtFrom->setText("chenxf@lib.example.edu.cn");
    mail->txtTo->setText("orders@yzfx.example.cn");
    mail->txtSubject->setText(" ");
    mail->cmdOk->click();
    EXPECT_EQ(presenter.shown.back().body, "请输入主题！");
    mail->txtSubject->setText(" 催缺期刊列表");

    home->writeIni(home->workingIni() + "[MAIL]\nSMTP=127.0.0.1:" + closedPort() +
                   "\nUSE_SMTP=1\n");
    mail->cmdOk->click();
    EXPECT_EQ(presenter.shown.back().type, 'E');
    EXPECT_NE(presenter.shown.back().body.find("onnect"), std::string::npos);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM m_aslack_rec"), "1");  // the demo's own claim
    EXPECT_TRUE(mail->isVisible());

    SmtpSink sink(home->dir());
    home->writeIni(home->workingIni() + "[MAIL]\nSMTP=127.0.0.1:" + sink.port + "\nUSE_SMTP=1\n");
    mail->cmdOk->click();
    EXPECT_EQ(presenter.shown.at(presenter.shown.size() - 2).body, " 发送邮件成功！");
    EXPECT_EQ(form->mailForm, nullptr);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM m_aslack_rec"), "5");
    EXPECT_NE(sink.message(1).find("ROW YZFX\t202601\t2-17"), std::string::npos);
}

TEST_P(ClaimScreens, HandOverOfTheDemoCopiesAndItsList) {
    frmNewTrans trans;
    trans.dtpFrom->setDate(QDate(2026, 4, 13));
    trans.dtpTo->setDate(QDate(2026, 4, 14));
    trans.cmdSearch->click();
    ASSERT_EQ(trans.spdTrans->rowCount(), 3);
    EXPECT_EQ(trans.spdTrans->item(0, 11)->text(), "2-10");
    EXPECT_EQ(trans.spdTrans->item(2, 11)->text(), "2-17");
    presenter.replies.push_back({kMsgOk, nullptr});
    trans.cmdTrans->click();
    EXPECT_EQ(presenter.shown.at(presenter.shown.size() - 2).body, "交接完成！");
    EXPECT_EQ(presenter.shown.back().body, "没有符合条件的可交接期刊！");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM m_peri_item WHERE item_stat='1' AND "
                     "conn_date='2026-06-20'"),
              "3");
    trans.optHandedOver->click();
    trans.cmdSearch->click();
    ASSERT_EQ(trans.spdTrans->rowCount(), 3);
    std::string pdf = home->dir() + "/TMP/trans.pdf";
    ASSERT_TRUE(trans.printToPdf(QString::fromStdString(pdf)));
    std::string text = pdfText(pdf);
    EXPECT_NE(text.find("总计：2 种 2 本"), std::string::npos) << text;
    EXPECT_NE(text.find("总计：1 种 1 本"), std::string::npos) << text;
    EXPECT_NE(text.find("2026-04-13 至 2026-04-14"), std::string::npos) << text;
}

}  // namespace
