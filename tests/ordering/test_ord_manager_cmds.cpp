// The order manager's send commands through its command bar: the rows' states, the catalogue
// node's icon, the questions, the check-in progress shown in the state column, the print
// preview, and the mail screen's refusals and a mail received by a local SMTP server.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>

#include "ordering/core/basOrdFunc.h"
#include "ordering/gui/frmOrdList.h"
#include "ordering/gui/frmOrdManager.h"
#include "ordering/gui/frmOrdSendMail.h"
#include "ordering/gui/frmOrdTree.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/SmtpSink.h"

namespace {

class OrdManagerCmds : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(intNewOrdCata("YZFX", "202601"), 0);
        for (const char* no : {"3-1", "3-2"}) {
            OrdDetail d = CompleteDetail("YZFX", "202601", no);
            ASSERT_EQ(intSaveOrdDetail(d, false), 0);
        }
        manager = std::make_unique<frmOrdManager>();
        list = manager->OrderMain;
        tester = std::make_unique<QAbstractItemModelTester>(
            list->model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        manager->m_frmOrdTree->Reload();
        ASSERT_TRUE(manager->m_frmOrdTree->selectCatalogue("YZFX", "202601"));
    }
    void TearDown() override {
        tester.reset();
        manager.reset();
        DbTest::TearDown();
    }
    std::string icon() const {
        return manager->m_frmOrdTree->catalogueNode("YZFX", "202601")
            ->data(0, kRoleIcon)
            .toString()
            .toStdString();
    }
    std::string statusShown(int row) const {
        const int c = list->model->columnOf("Status");
        return list->model->index(row, c).data().toString().toStdString();
    }
    std::unique_ptr<frmOrdManager> manager;
    std::unique_ptr<QAbstractItemModelTester> tester;
    frmOrdList* list = nullptr;
};
SERIALS_ON_BOTH_BACKENDS(OrdManagerCmds);

TEST_P(OrdManagerCmds, SendingAndCancellingFollowTheSelection) {
    EXPECT_EQ(icon(), "UnSendSelected");
    ASSERT_TRUE(manager->runCommand("cmdSelectAll"));
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_TRUE(manager->runCommand("cmdSend"));
    EXPECT_EQ(presenter.bodies().back(), "是否确认发订选择订购明细");
    EXPECT_EQ(statusShown(0), "已发订");
    EXPECT_EQ(statusShown(1), "已发订");
    EXPECT_EQ(icon(), "SendSelected");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_cfg"), "2");

    // Only the current row: the other keeps the catalogue sent.
    list->spdList->clearSelection();
    list->setCurIndex(0);
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_TRUE(manager->runCommand("cmdUnSend"));
    EXPECT_EQ(statusShown(0), "未发订");
    EXPECT_EQ(statusShown(1), "已发订");
    EXPECT_EQ(icon(), "SendSelected");

    // Declined: nothing moves.
    list->spdList->clearSelection();
    list->setCurIndex(1);
    presenter.replies.push_back({kMsgCancel, {}});
    ASSERT_TRUE(manager->runCommand("cmdUnSend"));
    EXPECT_EQ(statusShown(1), "已发订");

    list->spdList->clearSelection();
    list->setCurIndex(1);
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_TRUE(manager->runCommand("cmdUnSend"));
    EXPECT_EQ(icon(), "UnSendSelected");
    EXPECT_EQ(scalar("SELECT peri_ord_flag FROM m_peri_ord_lst"), "0");
}

TEST_P(OrdManagerCmds, ProgressReplacesTheStateOfSentRowsUntilReloaded) {
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='2' WHERE asord_no='3-2'");
    g_OraDatabase->execute(
        "INSERT INTO m_peri_chk_vol (peri_id, publ_code, peri_ord_year, asord_no, peri_no) "
        "VALUES ('0000000001','YZFX','202601','3-2',1)");
    ASSERT_EQ(list->Refresh(), 0);
    ASSERT_TRUE(manager->runCommand("cmdSelectAll"));
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_TRUE(manager->runCommand("cmdShowFlag"));
    EXPECT_EQ(presenter.bodies().back(), "是否确认显示签收信息");
    EXPECT_EQ(statusShown(0), "未发订");
    EXPECT_EQ(statusShown(1), "开始签收，未完成（已订1期，已签0期）");
    ASSERT_EQ(list->Refresh(), 0);
    EXPECT_EQ(statusShown(1), "开始签收");
}

TEST_P(OrdManagerCmds, SendCommandsWaitForADetailList) {
    ASSERT_TRUE(manager->command("cmdSend")->isEnabled());
    ASSERT_TRUE(manager->runCommand("cmdDetlNew"));
    EXPECT_FALSE(manager->command("cmdSend")->isEnabled());
    EXPECT_FALSE(manager->command("cmdUnSend")->isEnabled());
    EXPECT_FALSE(manager->command("cmdShowFlag")->isEnabled());
}

TEST_P(OrdManagerCmds, RefreshTakesThePricesOfTheChosenPreOrderCatalogue) {
    EXPECT_FALSE(manager->command("cmdReplace")->isEnabled());
    g_OraDatabase->execute(
        "INSERT INTO peri_asord_cata (publ_code, publ_year_month) VALUES ('YZFX','202511')");
    g_OraDatabase->execute(
        "INSERT INTO peri_asord_detl (publ_code, publ_year_month, asord_no, "
        "peri_price, peri_year_price, publ_freq, fmt_asord_no) VALUES "
        "('YZFX','202511','0003-0001',30,360,'半月刊','0003-0001')");
    manager->m_frmAsordTree->Reload();
    ASSERT_TRUE(manager->m_frmAsordTree->selectCatalogue("YZFX", "202511"));
    ASSERT_TRUE(manager->runCommand("cmdSwitch"));
    ASSERT_TRUE(manager->runCommand("cmdReplace"));
    EXPECT_EQ(presenter.bodies().back(), "完成价格刷新操作！");
    EXPECT_EQ(scalar("SELECT peri_total_price FROM m_peri_ord_detl WHERE asord_no='3-1'"), "360");
    EXPECT_EQ(scalar("SELECT peri_total_price FROM m_peri_ord_detl WHERE asord_no='3-2'"), "150");
    ASSERT_TRUE(manager->runCommand("cmdReplaceFreq"));
    EXPECT_EQ(presenter.bodies().back(), "完成频率刷新操作！");
    EXPECT_EQ(scalar("SELECT publ_freq FROM m_peri_ord_detl WHERE asord_no='3-1'"), "半月刊");
}

TEST_P(OrdManagerCmds, EachPrintCommandOpensThePreview) {
    for (const char* name : {"cmdPrint", "cmdPrintLoca", "cmdPrintDisLoca"}) {
        QString shown;
        QTimer::singleShot(0, [&shown] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                shown = w->metaObject()->className();
                w->close();
            }
        });
        ASSERT_TRUE(manager->runCommand(name)) << name;
        EXPECT_EQ(shown, "QPrintPreviewDialog") << name;
    }
    EXPECT_TRUE(presenter.shown.empty());
}

TEST_P(OrdManagerCmds, PrintTypeOffersTheThreeListsAndWaitsForADetailList) {
    ASSERT_TRUE(manager->runCommand("cmdPrintType"));
    ASSERT_TRUE(manager->printTypeMenu->isVisible());
    EXPECT_EQ(manager->printTypeMenu->actions(),
              (QList<QAction*>{manager->command("cmdPrint"), manager->command("cmdPrintLoca"),
                               manager->command("cmdPrintDisLoca")}));
    EXPECT_EQ(manager->printTypeMenu->activeAction(), manager->command("cmdPrint"));
    manager->printTypeMenu->close();
    ASSERT_TRUE(manager->runCommand("cmdDetlNew"));
    EXPECT_FALSE(manager->command("cmdPrintType")->isEnabled()) << "an unsaved detail";
    ASSERT_TRUE(manager->runCommand("cmdSwitch"));
    EXPECT_FALSE(manager->command("cmdPrintType")->isEnabled()) << "the pre-order list";
}

TEST_P(OrdManagerCmds, MailScreenRefusesIncompleteMailAndSendsTheSheet) {
    g_OraDatabase->execute(
        "UPDATE publish_busi SET publ_email='orders@yzfx.example.cn' WHERE publ_code='YZFX'");
    SmtpSink sink(home->dir());
    home->writeIni(home->workingIni() + "[MAIL]\nSMTP=127.0.0.1:" + sink.port + "\nUSE_SMTP=1\n");
    ASSERT_TRUE(manager->runCommand("cmdEmail"));
    frmOrdSendMail* m = manager->mailDialog;
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->txtTo->text(), "orders@yzfx.example.cn");
    EXPECT_EQ(m->txtSubject->text(), " [全国邮政报刊发行局] 订单");
    EXPECT_TRUE(m->txtBody->toPlainText().contains("发订日期： 2026-03-02"));

    struct Case {
        QLineEdit* field;
        const char* message;
    };
    for (Case c :
         {Case{m->txtFrom, "请输入完整的发信人信息！"}, Case{m->txtTo, "请输入完整的收信人信息！"},
          Case{m->txtSubject, "请输入主题！"}}) {
        const QString kept = c.field->text();
        c.field->setText(" ");
        m->cmdOk->click();
        EXPECT_EQ(presenter.bodies().back(), c.message);
        c.field->setText(kept);
    }
    EXPECT_EQ(sink.message(1), "");
    m->chkToMe->setChecked(true);
    m->cmdOk->click();
    EXPECT_EQ(presenter.bodies().back(), " 发送邮件成功！");
    const std::string mail = sink.message(1);
    EXPECT_NE(mail.find("FILE YZFX_202601.xlsx"), std::string::npos) << mail;
    EXPECT_NE(mail.find("ROW 3-1\t"), std::string::npos) << mail;
    EXPECT_NE(sink.envelope(1).find("wangli@lib.example.edu.cn"), std::string::npos)
        << sink.envelope(1);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_cfg"), "0");
}

}  // namespace
