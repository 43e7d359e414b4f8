// The batch-ordering screen under offscreen Qt, driven through its controls: intake records
// ticked in the grid become order details with the subscriber, fund and distribution chosen
// once, ordered records leave the grid, a refusal writes nothing, a run with a failure opens
// the day's log, and the order manager opens the screen.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <filesystem>

#include "ordering/core/basOrdFunc.h"
#include "ordering/gui/TextFileViewer.h"
#include "ordering/gui/frmCataBatchOrd.h"
#include "ordering/gui/frmOrdManager.h"
#include "tests/ordering/OrdTestData.h"

namespace {

class OrdBatchScreen : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        std::filesystem::remove(strBatchOrdLogPath());
        g_OraDatabase->execute(
            "INSERT INTO prsn_exch_detl (doc_id, marc_rec_no, exch_type, obj_code, country_code, "
            "asord_no, publ_freq, money_code, peri_price) VALUES "
            "('0000000001','1000000001','0','P1','CN','2-15','月刊','CNY',10), "
            "('0000000002','1000000002','1','P2','FR','8-8','季刊','EUR',40)");
    }
    // The order data a librarian fills in: YZFX's new batch 203601, QK01 with fund 01, two
    // copies sent to QK01 and QKYL.
    static void fill(frmCataBatchOrd& f) {
        f.cmbPubl->setCurrentIndex(f.cmbPubl->findData("YZFX"));
        f.optMuluNew->setChecked(true);
        f.cmbYear->setEditText("203601");
        f.cmbSubscriber->setCurrentIndex(f.cmbSubscriber->findData("QK01"));
        f.cmbFundSrc->setCurrentIndex(f.cmbFundSrc->findData("01"));
        f.txtCounts->setText("2");
        f.addDistLine("QK01", "1", "TP3");
        f.addDistLine("QKYL", "1");
    }
};
SERIALS_ON_BOTH_BACKENDS(OrdBatchScreen);

TEST_P(OrdBatchScreen, TickedRecordsBecomeOrderDetails) {
    frmCataBatchOrd f;
    QAbstractItemModelTester tester(f.spdRecords->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(f.spdRecords->model()->rowCount(), 2);
    fill(f);
    ASSERT_GE(f.cmbFundSrc->findData("01"), 0) << "QK01's fund sources";
    f.tickRecords({"0000000002"});
    f.cmdOk->click();
    EXPECT_EQ(presenter.shown.back().body, "批量订购完成！");
    EXPECT_EQ(scalar("SELECT get_mode_code FROM m_peri_ord_detl WHERE publ_code='YZFX' AND "
                     "peri_ord_year='203601' AND asord_no='8-8'"),
              "05");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_dist_lst WHERE asord_no='8-8'"), "2");
    EXPECT_EQ(scalar("SELECT sub_amt FROM m_peri_sub_fund_out WHERE asord_no='8-8'"), "320");
    EXPECT_EQ(f.spdRecords->model()->rowCount(), 1) << "the ordered record leaves the list";
    EXPECT_GE(f.cmbYear->findText("203601"), 0) << "the new batch is offered now";
    EXPECT_EQ(f.pbTime->value(), f.pbTime->maximum());
}

TEST_P(OrdBatchScreen, TheGridNamesCurrenciesAndThePartnersKind) {
    g_OraDatabase->execute(
        "INSERT INTO prsn_exch_obj (obj_code, obj_name, obj_type) VALUES "
        "('P1','某大学图书馆','2')");
    frmCataBatchOrd f;
    QAbstractItemModel* m = f.spdRecords->model();
    ASSERT_EQ(m->rowCount(), 2);
    ASSERT_EQ(m->columnCount(), 11);
    auto at = [&](int row, int col) { return m->index(row, col).data().toString().toStdString(); };
    EXPECT_EQ(at(0, 4), "P1（赠送并交换对象）");
    EXPECT_EQ(at(1, 4), "P2") << "a partner not in the list shows its code alone";
    EXPECT_EQ(at(0, 8), "人民币");
    EXPECT_EQ(at(1, 8), "欧元");
}

TEST_P(OrdBatchScreen, RefusalWritesNothing) {
    frmCataBatchOrd f;
    fill(f);
    f.addDistLine("QK01", "1");
    f.tickRecords({"0000000001"});
    f.cmdOk->click();
    EXPECT_EQ(presenter.shown.back().body, "分配地重复！");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_lst"), "0");
    // Without checking in the distribution lines do not count.
    f.chkCheck->setChecked(false);
    EXPECT_FALSE(f.spdDistLoca->isEnabled());
    f.cmdOk->click();
    EXPECT_EQ(presenter.shown.back().body, "批量订购完成！");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_dist_lst"), "0");
    EXPECT_EQ(scalar("SELECT chk_stat FROM m_sub_ord_lst WHERE asord_no='2-15'"), "0");
}

TEST_P(OrdBatchScreen, AFailedRecordOpensTheLog) {
    ASSERT_EQ(intNewOrdCata("YZFX", "203601"), 0);
    OrdDetail d = CompleteDetail("YZFX", "203601", "2-15");
    ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    frmCataBatchOrd f;
    fill(f);
    f.optMuluExisting->setChecked(true);
    f.cmbYear->setCurrentIndex(f.cmbYear->findText("203601"));
    f.tickRecords({"0000000001", "0000000002"});
    f.cmdOk->click();
    EXPECT_EQ(presenter.shown.back().body, "批量订购出现了错误，参考日志文件");
    auto* viewer = f.findChild<TextFileViewer*>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    const QString log = viewer->txtContent->toPlainText();
    EXPECT_TRUE(log.contains("批量订购 征订号：【2-15】 已经存在，不能订购")) << log.toStdString();
    EXPECT_TRUE(log.contains("【新订刊征订号】：   8-8"));
    EXPECT_EQ(f.spdRecords->model()->rowCount(), 1);
}

TEST_P(OrdBatchScreen, OpenedFromTheOrderManager) {
    frmOrdManager manager;
    QString opened;
    QTimer::singleShot(0, [&] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            opened = w->objectName();
            w->close();
        }
    });
    ASSERT_TRUE(manager.runCommand("cmdBatchOrd"));
    EXPECT_EQ(opened, "frmCataBatchOrd");
}

}  // namespace
