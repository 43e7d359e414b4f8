// Multi-modify through the order manager: the selected details get the ticked fields, typed and
// chosen with the keyboard only; Esc changes nothing; the command waits for saved rows.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "common/gui/Grid.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/gui/frmOrdList.h"
#include "ordering/gui/frmOrdManager.h"
#include "ordering/gui/frmOrdMultiModify.h"
#include "ordering/gui/frmOrdTree.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/Screenshot.h"

namespace {

class OrdMultiModifyScreen : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(intNewOrdCata("YZFX", "202601"), 0);
        for (const char* no : {"3-1", "3-2", "3-3"}) {
            OrdDetail d = CompleteDetail("YZFX", "202601", no);
            ASSERT_EQ(intSaveOrdDetail(d, false), 0);
        }
        manager = std::make_unique<frmOrdManager>();
        list = manager->OrderMain;
        tester = std::make_unique<QAbstractItemModelTester>(
            list->model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        manager->m_frmOrdTree->Reload();
        ASSERT_TRUE(manager->m_frmOrdTree->selectCatalogue("YZFX", "202601"));
        manager->resize(1280, 800);
        manager->show();
        manager->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(manager.get()));
        // The manager puts the cursor into its search box once shown; let it, before a dialog.
        ASSERT_TRUE(QTest::qWaitFor([&] { return focused() == manager->txtFind; }));
    }
    void TearDown() override {
        tester.reset();
        manager.reset();
        DbTest::TearDown();
    }
    // Selects rows of the list (in the model's order) as Ctrl+clicks would.
    void selectRows(std::initializer_list<int> rows) {
        list->spdList->clearSelection();
        for (int r : rows)
            list->spdList->selectionModel()->select(
                list->proxy->mapFromSource(list->model->index(r, 0)),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    frmOrdMultiModify* openDialog() {
        if (!manager->runCommand("cmdMultiModify")) return nullptr;
        frmOrdMultiModify* d = manager->multiModifyDialog;
        if (d && !QTest::qWaitForWindowActive(d)) return nullptr;
        // Once active, the dialog has its cursor on the first tick.
        if (d && !QTest::qWaitFor([&] { return focused() == d->ticks.at("PeriType"); }))
            return nullptr;
        return d;
    }
    static QWidget* focused() { return QApplication::focusWidget(); }
    static void press(int key) {
        QTest::keyClick(focused(), static_cast<Qt::Key>(key));
        QApplication::processEvents();
    }
    static void type(const QString& text) {
        for (QChar c : text) {
            QKeyEvent e(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(focused(), &e);
        }
    }
    static std::string column(const std::string& col, const std::string& no) {
        return scalar("SELECT " + col + " FROM m_peri_ord_detl WHERE asord_no='" + no + "'");
    }
    std::unique_ptr<frmOrdManager> manager;
    std::unique_ptr<QAbstractItemModelTester> tester;
    frmOrdList* list = nullptr;
};
SERIALS_ON_BOTH_BACKENDS(OrdMultiModifyScreen);

TEST_P(OrdMultiModifyScreen, TickedFieldsOfTheSelectedDetailsChangeByKeyboard) {
    selectRows({0, 2});
    frmOrdMultiModify* d = openDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(list->MultiModify());
    EXPECT_EQ(d->lblCount->text().toStdString(), "将修改选中的 2 条订购明细中勾选的项目：");
    saveScreenshots(*d, "frmOrdMultiModify");
    // The first tick has the cursor; unticked editors are passed over.
    ASSERT_EQ(focused(), d->ticks.at("PeriType")) << focused()->objectName().toStdString();
    press(Qt::Key_Tab);
    ASSERT_EQ(focused(), d->ticks.at("GetMode"));
    press(Qt::Key_Tab);
    ASSERT_EQ(focused(), d->ticks.at("PublFreq"));
    press(Qt::Key_Space);
    press(Qt::Key_Tab);
    ASSERT_EQ(focused(), d->editors.at("PublFreq"));
    type("季");
    EXPECT_EQ(qobject_cast<QComboBox*>(d->editors.at("PublFreq"))->currentText(), "季刊");
    for (const char* next : {"Carrier", "MoneyType", "NewFlag", "KindNo", "Remark"}) {
        press(Qt::Key_Tab);
        ASSERT_EQ(focused(), d->ticks.at(next)) << next;
    }
    press(Qt::Key_Space);
    press(Qt::Key_Tab);
    ASSERT_EQ(focused(), d->editors.at("Remark"));
    type("批量说明");
    press(Qt::Key_Return);

    EXPECT_FALSE(d->isVisible());
    EXPECT_FALSE(list->MultiModify());
    EXPECT_EQ(presenter.bodies().back(), "已修改 2 条订购明细！");
    for (const char* no : {"3-1", "3-3"}) {
        EXPECT_EQ(column("publ_freq", no), "季刊") << no;
        EXPECT_EQ(column("remark", no), "批量说明") << no;
        EXPECT_EQ(column("carrier_code", no), "01") << no;
    }
    EXPECT_EQ(column("publ_freq", "3-2"), "月刊");
    // The list shows what was written, and a save from it is not refused as stale.
    ASSERT_EQ(list->ItemCount(), 3);
    EXPECT_EQ(list->rows()[0].publFreq, "季刊");
    EXPECT_EQ(list->rows()[0].version, 1);
}

TEST_P(OrdMultiModifyScreen, EscOrNothingTickedChangesNothing) {
    const std::string before = tableSnapshot({"m_peri_ord_detl"});
    ASSERT_TRUE(manager->runCommand("cmdSelectAll"));
    frmOrdMultiModify* d = openDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->lblCount->text().toStdString(), "将修改选中的 3 条订购明细中勾选的项目：");
    // Enter with nothing ticked says so and stays.
    ASSERT_EQ(focused(), d->ticks.at("PeriType")) << focused()->objectName().toStdString();
    press(Qt::Key_Return);
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.bodies().back(), "请选择要修改的项目！");
    EXPECT_TRUE(d->isVisible());
    press(Qt::Key_Space);
    press(Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_FALSE(list->MultiModify());
    EXPECT_EQ(tableSnapshot({"m_peri_ord_detl"}), before);
}

TEST_P(OrdMultiModifyScreen, ARefusedValueIsShownAndNothingIsWritten) {
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='2' WHERE asord_no='3-2'");
    ASSERT_EQ(list->Refresh(), 0);
    const std::string before = tableSnapshot({"m_peri_ord_detl"});
    ASSERT_TRUE(manager->runCommand("cmdSelectAll"));
    frmOrdMultiModify* d = openDialog();
    ASSERT_NE(d, nullptr);
    d->ticks.at("PublFreq")->setChecked(true);
    auto* freq = qobject_cast<QComboBox*>(d->editors.at("PublFreq"));
    freq->setCurrentIndex(freq->findText("季刊"));
    QTest::mouseClick(d->cmdOk, Qt::LeftButton);
    EXPECT_EQ(presenter.bodies().back(), "订购号为：3-2的记录已经开始签收，不能修改出版频率！");
    EXPECT_EQ(tableSnapshot({"m_peri_ord_detl"}), before);
}

TEST_P(OrdMultiModifyScreen, WaitsForASavedAndUnlockedList) {
    EXPECT_TRUE(manager->command("cmdMultiModify")->isEnabled());
    ASSERT_TRUE(manager->runCommand("cmdDetlNew"));
    EXPECT_FALSE(manager->command("cmdMultiModify")->isEnabled());
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_TRUE(manager->runCommand("cmdCancel"));
    EXPECT_TRUE(manager->command("cmdMultiModify")->isEnabled());
    ASSERT_TRUE(manager->runCommand("cmdLocked"));
    EXPECT_FALSE(manager->command("cmdMultiModify")->isEnabled());
}

}  // namespace
