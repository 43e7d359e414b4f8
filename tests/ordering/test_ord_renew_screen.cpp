// The renewal screen under offscreen Qt, driven through its controls: the source year fills the
// distributor list, the ticked distributors are renewed with the choices on the screen, the
// refusals show, an abort from the button leaves whole details, the log opens beside the
// screen, and the order manager opens it.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "ordering/core/basOrdFunc.h"
#include "ordering/gui/TextFileViewer.h"
#include "ordering/gui/frmOrdManager.h"
#include "ordering/gui/frmOrdRenew.h"
#include "tests/ordering/OrdTestData.h"

namespace {

class OrdRenewScreen : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        for (const char* publ : {"YZFX", "TSJK"}) {
            ASSERT_EQ(intNewOrdCata(publ, "202501"), 0);
            OrdDetail d = CompleteDetail(publ, "202501", "2-15");
            ASSERT_EQ(intSaveOrdDetail(d, false), 0);
        }
        ASSERT_EQ(intNewOrdCata("YZFX", "202402"), 0);
    }
    // Ticks the distributors of the source year's list.
    static void tick(frmOrdRenew& f, std::initializer_list<const char*> publs) {
        for (int i = 0; i < f.lstPubLst->count(); ++i)
            for (const char* p : publs)
                if (f.lstPubLst->item(i)->data(Qt::UserRole).toString() == p)
                    f.lstPubLst->item(i)->setCheckState(Qt::Checked);
    }
    static std::string count(const std::string& where) {
        return scalar("SELECT count(*) FROM m_peri_ord_detl WHERE " + where);
    }
};
SERIALS_ON_BOTH_BACKENDS(OrdRenewScreen);

TEST_P(OrdRenewScreen, RenewsTheTickedDistributorsAndShowsTheLog) {
    frmOrdRenew f;
    ASSERT_EQ(f.cmbYear->count(), 2);
    EXPECT_EQ(f.cmbYear->itemText(0), "2025") << "newest first";
    EXPECT_EQ(f.cmbYear->itemText(1), "2024");
    EXPECT_EQ(f.lstPubLst->count(), 2);
    EXPECT_EQ(f.txtYearNew->text(), "2026");
    f.cmbYear->setCurrentIndex(1);
    EXPECT_EQ(f.lstPubLst->count(), 1);
    EXPECT_EQ(f.txtYearNew->text(), "2025");
    f.cmbYear->setCurrentIndex(0);

    tick(f, {"TSJK"});
    f.optNamed->setChecked(true);
    EXPECT_FALSE(f.txtYearNew->isEnabled());
    f.txtNewCata->setText("202603");
    f.chkExist->setChecked(true);
    f.optWayReplace->setChecked(true);
    presenter.replies.push_back({kMsgOk, {}});
    f.cmdOk->click();
    EXPECT_EQ(presenter.shown.back().body, "操作成功完成！");
    EXPECT_EQ(count("publ_code='TSJK' AND peri_ord_year='202603'"), "1");
    EXPECT_EQ(count("publ_code='YZFX' AND peri_ord_year LIKE '2026%'"), "0");
    EXPECT_EQ(f.pbRenew->value(), f.pbRenew->maximum());
    EXPECT_TRUE(f.lblProg->text().contains("续订目录 1 个，复制订购明细 1 条"))
        << f.lblProg->text().toStdString();
    EXPECT_TRUE(f.cmdOk->isEnabled());
    EXPECT_FALSE(f.cmdAbort->isEnabled());

    f.cmdViewLog->click();
    auto* viewer = f.findChild<TextFileViewer*>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    const QString log = viewer->txtContent->toPlainText();
    EXPECT_TRUE(log.contains("续订开始：源年度[2025]，到订购目录[202603]，发行商[TSJK]"))
        << log.toStdString();
    EXPECT_TRUE(log.contains("续订结束：目录 1 个，复制明细 1 条"));
}

TEST_P(OrdRenewScreen, RefusalsAndTheListMenu) {
    frmOrdRenew f;
    f.cmdOk->click();
    EXPECT_EQ(presenter.shown.back().body, "请选择发行商！");
    f.lstPubLst->findChild<QAction*>("Check")->trigger();
    EXPECT_EQ(f.options().publs, (std::vector<std::string>{"TSJK", "YZFX"}));
    f.lstPubLst->findChild<QAction*>("UnCheck")->trigger();
    EXPECT_TRUE(f.options().publs.empty());
    tick(f, {"YZFX"});
    f.txtYearNew->clear();
    f.cmdOk->click();
    EXPECT_EQ(presenter.shown.back().body, "请输入新的年度！");
    f.optNamed->setChecked(true);
    f.cmdOk->click();
    EXPECT_EQ(presenter.shown.back().body, "请输入新的订购目录！");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_lst WHERE peri_ord_year LIKE '2026%'"), "0");
    // The order states: normal and renamed titles by default, stopped and ceased ones not.
    RenewOptions o = f.options();
    EXPECT_TRUE(o.normal && o.renamed);
    EXPECT_FALSE(o.ceased || o.stopped);
    EXPECT_EQ(o.existing, RenewAnswer::Ask);
}

TEST_P(OrdRenewScreen, AbortButtonStopsAfterWholeDetails) {
    g_OraDatabase->begin();
    for (int i = 0; i < 120; ++i) {
        const std::string key = "'YZFX','202501','9-" + std::to_string(100 + i) + "'";
        g_OraDatabase->execute(
            "INSERT INTO m_peri_ord_detl (publ_code, peri_ord_year, asord_no, peri_type, "
            "ord_flag, new_ord_flag) VALUES (" +
            key + ",'0','0','0')");
        g_OraDatabase->execute(
            "INSERT INTO m_sub_ord_lst (publ_code, peri_ord_year, asord_no, "
            "location, sub_peri_qty, chk_stat) VALUES (" +
            key + ",'QK01',1,'1')");
    }
    g_OraDatabase->commit();
    frmOrdRenew f;
    tick(f, {"YZFX"});
    presenter.replies.push_back({kMsgOk, {}});
    bool refusedWhileRunning = false, clicked = false;
    QObject::connect(f.pbRenew, &QProgressBar::valueChanged, &f, [&] {
        if (!f.cmdAbort->isEnabled() || clicked) return;
        clicked = true;
        EXPECT_FALSE(f.cmbYear->isEnabled());
        f.cmdOk->click();
        refusedWhileRunning = presenter.shown.back().body == "操作正在执行！";
        f.cmdAbort->click();
    });
    f.cmdOk->click();
    EXPECT_TRUE(refusedWhileRunning);
    EXPECT_TRUE(f.lastResult().aborted);
    EXPECT_EQ(f.lastResult().copied, 50);
    EXPECT_EQ(count("peri_ord_year='202601'"), "50");
    // Every copied detail has all of its subscriber lines.
    EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst WHERE peri_ord_year='202601'"),
              scalar("SELECT count(*) FROM m_sub_ord_lst WHERE peri_ord_year='202501' AND "
                     "publ_code='YZFX' AND asord_no IN (SELECT asord_no FROM m_peri_ord_detl "
                     "WHERE peri_ord_year='202601')"));
    EXPECT_TRUE(f.lblProg->text().contains("已中止"));
    EXPECT_TRUE(f.cmbYear->isEnabled());
}

TEST_P(OrdRenewScreen, OpenedFromTheOrderManager) {
    frmOrdManager manager;
    QString opened;
    QTimer::singleShot(0, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (w) opened = w->objectName();
        if (w) w->close();
    });
    ASSERT_TRUE(manager.runCommand("cmdRenew"));
    EXPECT_EQ(opened, "frmOrdRenew");
}

}  // namespace
