// The order manager's search dialog driven through its controls: the result under "征订检索结果",
// opening a found detail or pre-order item in its catalogue from the keyboard, and the refusal
// of an empty search.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

#include "marc/core/MarcImport.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/gui/frmOrdAsordList.h"
#include "ordering/gui/frmOrdList.h"
#include "ordering/gui/frmOrdManager.h"
#include "ordering/gui/frmOrdSearch.h"
#include "ordering/gui/frmOrdTree.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/Screenshot.h"

namespace {

class OrdSearchScreen : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(MarcLoadDemoRecords({}).saved, 40);
        const std::string rec = scalar("SELECT marc_rec_no FROM marc WHERE m_title='现代情报技术'");
        for (const char* year : {"202501", "202601"}) {
            ASSERT_EQ(intNewOrdCata("YZFX", year), 0);
            for (const char* no : {"2-10", "2-15"}) {
                OrdDetail d = CompleteDetail("YZFX", year, no);
                if (std::string(no) == "2-15") d.marcNo = rec;
                ASSERT_EQ(intSaveOrdDetail(d, false), 0);
            }
        }
        g_OraDatabase->execute(
            "INSERT INTO asord_marc (asord_marc_rec_no, m_title) VALUES "
            "('0000000901','现代情报技术')");
        g_OraDatabase->execute(
            "INSERT INTO peri_asord_cata (publ_code, publ_year_month) VALUES ('YZFX','202611')");
        g_OraDatabase->execute(
            "INSERT INTO peri_asord_detl (publ_code, publ_year_month, asord_no, asord_marc_rec_no, "
            "peri_price, peri_year_price) VALUES ('YZFX','202611','1-1',NULL,5,60),"
            "('YZFX','202611','2-15','0000000901',15,180)");
        manager = std::make_unique<frmOrdManager>();
        manager->m_frmOrdTree->Reload();
        manager->m_frmAsordTree->Reload();
        manager->show();
        ASSERT_TRUE(manager->runCommand("cmdSearch"));
        dialog = manager->searchDialog;
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        tester = std::make_unique<QAbstractItemModelTester>(
            dialog->model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    void TearDown() override {
        tester.reset();
        manager.reset();
        DbTest::TearDown();
    }
    void typeAndSearch(const QString& text) {
        dialog->cmbContent->clear();
        for (QChar c : text) {
            QKeyEvent e(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(dialog->cmbContent, &e);
        }
        QTest::keyClick(dialog->cmbContent, Qt::Key_Return);
    }
    std::string cell(int row, int col) const {
        return dialog->spdResult->model()->index(row, col).data().toString().toStdString();
    }
    std::unique_ptr<frmOrdManager> manager;
    std::unique_ptr<QAbstractItemModelTester> tester;
    frmOrdSearch* dialog = nullptr;
};
SERIALS_ON_BOTH_BACKENDS(OrdSearchScreen);

TEST_P(OrdSearchScreen, EnterOnAFoundDetailOpensItInItsCatalogue) {
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->fraResult->title(), "征订检索结果");
    EXPECT_TRUE(dialog->cmbContent->hasFocus());
    typeAndSearch("情报");
    ASSERT_EQ(dialog->spdResult->model()->rowCount(), 2);
    EXPECT_EQ(cell(0, 0), "现代情报技术");
    EXPECT_EQ(cell(0, 1), "202601");
    EXPECT_EQ(cell(1, 1), "202501");
    EXPECT_EQ(cell(0, 9), "未发订");
    EXPECT_EQ(dialog->lblStatus->text().toStdString(), "共 2 条");
    saveScreenshots(*dialog, "frmOrdSearch");
    // The search puts the cursor on the first row: Down, Enter takes last year's.
    ASSERT_TRUE(dialog->spdResult->hasFocus());
    QTest::keyClick(dialog->spdResult, Qt::Key_Down);
    QTest::keyClick(dialog->spdResult, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(manager->orderMainActive());
    EXPECT_EQ(manager->OrderMain->PublCode(), "YZFX");
    EXPECT_EQ(manager->OrderMain->OrdYear(), "202501");
    ASSERT_NE(manager->OrderMain->current(), nullptr);
    EXPECT_EQ(manager->OrderMain->current()->asordNo, "2-15");
    EXPECT_EQ(manager->m_frmOrdTree->currentYear(), "202501");

    // The dialog comes back with its result and its cursor; 打开 takes the current row.
    ASSERT_TRUE(manager->runCommand("cmdSearch"));
    ASSERT_EQ(dialog->spdResult->model()->rowCount(), 2);
    EXPECT_EQ(dialog->spdResult->currentIndex().row(), 1);
    QTest::keyClick(dialog->spdResult, Qt::Key_Up);
    QTest::mouseClick(dialog->cmdOpen, Qt::LeftButton);
    EXPECT_EQ(manager->OrderMain->OrdYear(), "202601");
    EXPECT_EQ(manager->OrderMain->current()->asordNo, "2-15");
}

TEST_P(OrdSearchScreen, APreOrderItemOpensInThePreOrderList) {
    QTest::mouseClick(dialog->AsordSearch, Qt::LeftButton);
    dialog->cmbOption->setCurrentIndex(dialog->cmbOption->findText("征订号"));
    typeAndSearch("2-15");
    ASSERT_EQ(dialog->spdResult->model()->rowCount(), 1);
    EXPECT_EQ(cell(0, 0), "现代情报技术");
    EXPECT_EQ(dialog->model->horizontalHeaderItem(1)->text().toStdString(), "发行年月");
    EXPECT_TRUE(dialog->spdResult->isColumnHidden(8));
    QTest::keyClick(dialog->spdResult, Qt::Key_Return);
    EXPECT_FALSE(manager->orderMainActive());
    EXPECT_EQ(manager->AsordMain->OrdYear(), "202611");
    ASSERT_GE(manager->AsordMain->CurIndex(), 0);
    EXPECT_EQ(manager->AsordMain->rows()[manager->AsordMain->CurIndex()].asordNo, "2-15");
}

TEST_P(OrdSearchScreen, AnEmptyOrBadSearchIsRefusedAndKeepsTheLastResult) {
    typeAndSearch("情报");
    ASSERT_EQ(dialog->spdResult->model()->rowCount(), 2);
    typeAndSearch("");
    EXPECT_EQ(presenter.bodies().back(), "请输入检索内容！");
    QTest::keyClicks(dialog->txtFromYear, "26");
    typeAndSearch("情报");
    EXPECT_EQ(presenter.bodies().back(), "年度必须是四位数字！");
    EXPECT_EQ(dialog->spdResult->model()->rowCount(), 2);
    dialog->txtFromYear->setText("2026");
    typeAndSearch("情报");
    EXPECT_EQ(dialog->spdResult->model()->rowCount(), 1);
    // Nothing found: the list empties and says so.
    typeAndSearch("海洋");
    EXPECT_EQ(dialog->spdResult->model()->rowCount(), 0);
    EXPECT_EQ(dialog->lblStatus->text().toStdString(), "共 0 条");
}

}  // namespace

namespace {

TEST_P(OrdSearchScreen, RecordCommandsShowAndGuardTheCurrentDetailsRecord) {
    dialog->reject();
    ASSERT_TRUE(manager->m_frmOrdTree->selectCatalogue("YZFX", "202601"));
    frmOrdList* list = manager->OrderMain;
    ASSERT_EQ(list->ItemCount(), 2);
    list->setCurIndex(1);
    ASSERT_EQ(list->current()->asordNo, "2-15");
    ASSERT_TRUE(manager->runCommand("cmdMarcSimpl"));
    EXPECT_EQ(presenter.bodies().back().rfind("题名：现代情报技术\n", 0), 0u)
        << presenter.bodies().back();
    // Last year's detail orders the same record: it stays.
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_TRUE(manager->runCommand("cmdMarcDel"));
    EXPECT_EQ(presenter.bodies().back(), "该书目记录还有其他订购明细使用，不能删除！");
    EXPECT_EQ(list->current()->marcNo, scalar("SELECT marc_rec_no FROM marc WHERE "
                                              "m_title='现代情报技术'"));
    list->setCurIndex(0);
    EXPECT_FALSE(manager->command("cmdMarcDel")->isEnabled());
    ASSERT_TRUE(manager->runCommand("cmdMarcSimpl"));
    EXPECT_EQ(presenter.bodies().back(), "该订购明细没有书目记录！");
}

}  // namespace
