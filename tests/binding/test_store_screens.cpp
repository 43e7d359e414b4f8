// The accession screens under offscreen Qt on both backends, through their controls: bound
// volumes checked, accessioned and the accession undone (refused while on loan); single copies
// accessioned one after another and undone; accession batches kept and refused deletion once
// used; call numbers from a class serial (41 proposes 42, a new class asks and starts at 1), an
// edited proposal kept as typed, and another record's call number refused.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>

#include "binding/gui/StoreEntryPane.h"
#include "binding/gui/frmOldCheckStore.h"
#include "binding/gui/frmOldClassSerial.h"
#include "binding/gui/frmOldCreateCallNo.h"
#include "binding/gui/frmOldSnglStore.h"
#include "binding/gui/frmOldStoreBatch.h"
#include "common/basSysPara.h"
#include "tests/binding/BindTestData.h"
#include "tests/support/Screenshot.h"

namespace {

using Mode = QAbstractItemModelTester::FailureReportingMode;

class StoreScreens : public BindDbTest {
protected:
    void SetUp() override {
        BindDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        insertAccessionSetup();
        marc = insertTitle({});
    }
    void TearDown() override {
        testers.clear();
        DbTest::TearDown();
    }
    void watch(const BindGrid& g) {
        testers.push_back(std::make_unique<QAbstractItemModelTester>(g.view->model(), Mode::Fatal));
    }
    // Last year's issues bound in two records (kept issues left out).
    std::vector<std::string> bind() {
        BindSearch s;
        s.text = "测试";
        std::vector<BindTitle> titles;
        EXPECT_EQ(intFindBindTitles(s, titles), 0);
        std::vector<std::string> nos;
        EXPECT_EQ(intCreateBindRecords({"ZD01", "2026-01", true, "2025", 1}, titles, nos), 0);
        return nos;
    }
    std::string marc;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
};
SERIALS_ON_BOTH_BACKENDS(StoreScreens);

TEST_P(StoreScreens, BoundVolumesAreCheckedAccessionedAndUndoneUnlessOnLoan) {
    std::vector<std::string> nos = bind();
    ASSERT_EQ(nos.size(), 2u);
    frmOldCheckStore form;
    watch(form.spdBound);
    ASSERT_EQ(form.records().size(), 2u);
    EXPECT_FALSE(form.cmdStore->isEnabled());  // at the binder: check first
    form.spdBound.selectRow(0);
    form.cmdCheck->click();
    EXPECT_EQ(scalar("SELECT bound_flag||bind_chk_wkr FROM m_peri_bind_detl WHERE bind_no='" +
                     nos[0] + "'"),
              "1ZD01");
    EXPECT_EQ(form.records().size(), 1u);

    form.cmbFlag->setCurrentIndex(1);
    ASSERT_EQ(form.records().size(), 1u);
    EXPECT_EQ(form.storePane->txtPropNo->text(), "Q0000001");
    form.storePane->txtBarCode->setText("31000001");
    form.cmdStore->click();
    EXPECT_EQ(presenter.shown.back().body, "索书号不能为空。");
    form.storePane->txtCallNo->setText("TP3/12");
    form.cmdStore->click();
    EXPECT_EQ(scalar("SELECT prop_no||'|'||call_no||'|'||vol_peri FROM indi_acct WHERE asord_no='" +
                     nos[0] + "'"),
              "Q0000001|TP3/12|33(1)-33(6)");
    EXPECT_EQ(form.records().size(), 0u);
    EXPECT_EQ(form.storePane->txtPropNo->text(), "Q0000002");  // the next one proposed

    form.cmbFlag->setCurrentIndex(2);
    ASSERT_EQ(form.records().size(), 1u);
    EXPECT_EQ(form.records()[0].propNo, "Q0000001");
    exec(
        "INSERT INTO lend_lst (prop_no,reader_bar_code,lend_date) VALUES "
        "('Q0000001','R001','2026-01-15 11:00:00')");
    form.cmdUndo->click();
    EXPECT_EQ(presenter.shown.back().body, "该册正在借出，不能撤销入藏！");
    EXPECT_EQ(scalar("SELECT count(*) FROM indi_acct"), "1");
    exec("DELETE FROM lend_lst");
    form.cmdUndo->click();
    EXPECT_EQ(scalar("SELECT count(*) FROM indi_acct"), "0");
    EXPECT_EQ(scalar("SELECT bound_flag FROM m_peri_bind_detl WHERE bind_no='" + nos[0] + "'"),
              "1");
}

TEST_P(StoreScreens, SingleCopiesAreAccessionedOneAfterAnotherAndUndone) {
    frmOldSnglStore form;
    watch(form.spdTitle);
    watch(form.spdCopy);
    form.txtFind->setText("测试");
    form.cmdFind->click();
    ASSERT_EQ(form.spdTitle.model->rowCount(), 1);
    ASSERT_EQ(form.copies().size(), 14u);
    EXPECT_EQ(form.spdCopy.view->model()->index(9, 0).data().toString(), "33(10)");

    form.cmdStore->click();
    EXPECT_EQ(presenter.shown.back().body, "请选择要入藏的单册。");
    form.spdCopy.selectRow(12);  // issue 13
    form.storePane->txtBarCode->setText("D0001");
    form.storePane->txtCallNo->setText("TP3/12");
    form.cmdStore->click();
    EXPECT_EQ(
        scalar("SELECT item_stat||remark FROM m_peri_item WHERE peri_id='" + periIdOf(13) + "'"),
        "4QD000501");
    // The list shows it accessioned and moves on to the next copy, with the next number.
    EXPECT_EQ(form.copies()[12].propNo, "QD000501");
    EXPECT_EQ(form.spdCopy.currentRow(), 13);
    EXPECT_EQ(form.storePane->txtPropNo->text(), "QD000502");
    form.storePane->txtBarCode->setText("D0001");
    form.storePane->txtCallNo->setText("TP3/12");
    form.cmdStore->click();
    EXPECT_EQ(presenter.shown.back().body, "条码号重复!");

    form.spdCopy.selectRow(12);
    form.cmdUndo->click();
    EXPECT_EQ(scalar("SELECT item_stat FROM m_peri_item WHERE peri_id='" + periIdOf(13) + "'"),
              "2");
    EXPECT_EQ(scalar("SELECT count(*) FROM item"), "0");
    EXPECT_TRUE(form.copies()[12].propNo.empty());
}

TEST_P(StoreScreens, AccessionBatchesAreKeptAndAUsedOneCannotBeDeleted) {
    frmOldStoreBatch form(0);
    watch(form.spdBatch);
    ASSERT_EQ(form.batches().size(), 1u);
    form.cmdNew->click();
    form.txtBatchNo->setText("QH000002");
    form.cmbClassType->setCurrentIndex(form.cmbClassType->findData("11"));
    form.txtRemark->setText("第二批合订本");
    form.cmdOk->click();
    EXPECT_EQ(scalar("SELECT class_type_code||check_type||peri_batch_date||resp_wkr||remark FROM "
                     "m_peri_check_acct WHERE peri_batch_no='QH000002'"),
              "1102026-01-15ZD01第二批合订本");
    ASSERT_EQ(form.batches().size(), 2u);
    form.cmbCheckType->setCurrentIndex(1);
    ASSERT_EQ(form.batches().size(), 1u);
    EXPECT_EQ(form.batches()[0].batchNo, "QD000001");

    exec(
        "INSERT INTO indi_acct (prop_no,bar_code,chk_batch_no) VALUES ('QD000900','X1',"
        "'QD000001')");
    form.subSetText("QD000001");
    presenter.replies = {{kMsgOk, {}}};
    form.cmdDelete->click();
    EXPECT_EQ(presenter.shown.back().body, "该验收批次已有入藏记录，不能删除！");
    form.cmbCheckType->setCurrentIndex(0);
    form.subSetText("QH000002");
    presenter.replies = {{kMsgCancel, {}}};
    form.cmdDelete->click();
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_check_acct"), "3");
    presenter.replies = {{kMsgOk, {}}};
    form.cmdDelete->click();
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_check_acct"), "2");
    EXPECT_EQ(form.batches().size(), 1u);
}

TEST_P(StoreScreens, CallNumbersFromAClassSerialOrTypedAndAnotherRecordsRefused) {
    exec(
        "INSERT INTO max_class_serial (doc_type_code,cls_id,cls_no,grp_code,max_serial) VALUES "
        "('11','CLC','TP3','01',41)");
    frmOldCreateCallNo form(QString::fromStdString(marc), "王小明");
    form.cmbClsCode->setCurrentIndex(form.cmbClsCode->findData("CLC"));
    form.txtCallNo->setText("TP3");
    form.cmdSerial->click();
    EXPECT_EQ(form.txtCallNo->text(), "TP3/42");
    EXPECT_EQ(scalar("SELECT max_serial FROM max_class_serial WHERE cls_no='TP3'"), "41");
    form.cmdOk->click();
    EXPECT_EQ(form.confirmed(), "TP3/42");
    EXPECT_EQ(scalar("SELECT max_serial FROM max_class_serial WHERE cls_no='TP3'"), "42");
    EXPECT_EQ(scalar("SELECT call_no FROM call_no_lst WHERE marc_rec_no='" + marc + "'"), "TP3/42");

    // F4 lists what the class has given out; a call number of another record is refused.
    exec("INSERT INTO call_no_lst (call_no,marc_rec_no) VALUES ('TP3/7','0000000999')");
    frmOldCreateCallNo again(QString::fromStdString(marc));
    again.txtCallNo->setText("TP3");
    again.cmdUsed->click();
    ASSERT_EQ(again.lstUsed->count(), 2);
    again.txtCallNo->setText("TP3/7");
    again.cmdOk->click();
    EXPECT_EQ(presenter.shown.back().body, "索书号TP3/7已被其他书目记录使用，请重新取号！");
    EXPECT_TRUE(again.confirmed().isEmpty());

    // A new class asks first and starts at 1; a proposal edited by hand takes no serial.
    again.txtCallNo->setText("X9");
    presenter.replies = {{kMsgOk, {}}};
    again.cmdSerial->click();
    EXPECT_EQ(again.txtCallNo->text(), "X9/1");
    again.txtCallNo->setText("X9/1a");
    again.cmdOk->click();
    EXPECT_EQ(again.confirmed(), "X9/1a");
    EXPECT_EQ(scalar("SELECT max_serial FROM max_class_serial WHERE cls_no='X9'"), "0");
}

TEST_P(StoreScreens, LoanGradeAndCirculationTypeChosenWithTheCallNumberReachTheItem) {
    std::vector<std::string> nos = bind();
    ASSERT_EQ(intCheckBound(nos[0], false), 0);
    frmOldCheckStore store;
    store.cmbFlag->setCurrentIndex(1);
    ASSERT_EQ(store.records().size(), 1u);

    frmOldCreateCallNo form(QString::fromStdString(marc));
    // The lists as the code tables hold them: grades in code order, only types in use.
    ASSERT_GE(form.cmbLendGrad->count(), 5);
    EXPECT_TRUE(form.cmbLendGrad->itemData(0).toString().isEmpty());
    EXPECT_EQ(form.cmbLendGrad->itemText(1), "A 可外借");
    EXPECT_EQ(form.cmbLendGrad->itemText(4), "D 保存本不外借");
    EXPECT_GE(form.cmbCircType->findData("22"), 1);
    exec("UPDATE circ_type_code SET code_use_flag='0' WHERE circ_type_code='22'");
    frmOldCreateCallNo later(QString::fromStdString(marc));
    EXPECT_EQ(later.cmbCircType->findData("22"), -1);
    exec("UPDATE circ_type_code SET code_use_flag='1' WHERE circ_type_code='22'");

    QObject::connect(&form, &frmOldCreateCallNo::callNoConfirmed, store.storePane,
                     &StoreEntryPane::setCallNo);
    form.txtCallNo->setText("TP3/12");
    form.cmbLendGrad->setCurrentIndex(form.cmbLendGrad->findData("C"));
    form.cmbCircType->setCurrentIndex(form.cmbCircType->findData("22"));
    form.cmdOk->click();
    EXPECT_EQ(store.storePane->txtCallNo->text(), "TP3/12");
    EXPECT_EQ(store.storePane->cmbLendGrad->currentData().toString(), "C");
    EXPECT_EQ(store.storePane->cmbCircType->currentData().toString(), "22");
    store.storePane->txtBarCode->setText("31000001");
    store.cmdStore->click();
    EXPECT_EQ(scalar("SELECT call_no||'|'||lend_grd||'|'||circ_type_code FROM item"),
              "TP3/12|C|22");
}

TEST_P(StoreScreens, ClassMaintenanceFromTheCallNumberScreenCorrectsTheSeriesItProposesFrom) {
    exec(
        "INSERT INTO max_class_serial (doc_type_code,cls_id,cls_no,grp_code,max_serial) VALUES "
        "('11','CLC','TP3','01',41)");
    frmOldCreateCallNo form(QString::fromStdString(marc));
    form.cmbClsCode->setCurrentIndex(form.cmbClsCode->findData("CLC"));
    form.cmdClsMan->click();
    frmOldClassSerial* series = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<frmOldClassSerial*>(w)) series = f;
    ASSERT_NE(series, nullptr);
    watch(series->spdSerial);
    EXPECT_EQ(series->cmbClsCode->currentData().toString(), "CLC");
    ASSERT_EQ(series->series().size(), 1u);
    series->spdSerial.selectRow(0);
    EXPECT_EQ(series->txtClsNo->text(), "TP3");
    EXPECT_TRUE(series->txtClsNo->isReadOnly());
    saveScreenshots(*series, "frmOldClassSerial-" + QString::fromStdString(GetParam()));
    series->txtMaxSerial->setValue(99);
    series->cmdOk->click();
    EXPECT_EQ(scalar("SELECT max_serial FROM max_class_serial WHERE cls_no='TP3'"), "99");

    // A new class entered there is where the next serial comes from.
    series->cmdNew->click();
    series->txtClsNo->setText("O4");
    series->txtMaxSerial->setValue(4);
    series->cmdOk->click();
    ASSERT_EQ(series->series().size(), 2u);
    form.txtCallNo->setText("O4");
    form.cmdSerial->click();
    EXPECT_EQ(form.txtCallNo->text(), "O4/5");
    form.txtCallNo->setText("TP3");
    form.cmdSerial->click();
    EXPECT_EQ(form.txtCallNo->text(), "TP3/100");

    // Deleting asks first; the series is gone only on yes.
    series->spdSerial.selectRow(0);
    EXPECT_EQ(series->txtClsNo->text(), "O4");
    presenter.replies = {{kMsgOk, {}}};
    series->cmdDelete->click();
    EXPECT_EQ(scalar("SELECT count(*) FROM max_class_serial WHERE cls_no='O4'"), "0");
    series->close();
}

TEST_P(StoreScreens, TheAuthorTablesFollowParameter20UntilTheOperatorChoosesOthers) {
    exec("DELETE FROM cartable");
    exec("INSERT INTO cartable (auth_name,auth_code) VALUES ('SMI','S642')");
    exec("UPDATE sys_comm_para SET sys_para_value='C' WHERE sys_para_code='20'");
    ASSERT_EQ(LIB_LoadSysPara(), 0);
    frmOldCreateCallNo form(QString::fromStdString(marc), "Smith");
    EXPECT_EQ(form.cmbAuthLang->currentText(), "中文");
    form.txtCallNo->setText("H31");
    form.cmdAuthor->click();
    EXPECT_EQ(presenter.shown.back().body, "著者号表中没有该著者。");
    form.cmbAuthLang->setCurrentIndex(form.cmbAuthLang->findText("西文"));
    form.cmdAuthor->click();
    EXPECT_EQ(form.txtCallNo->text(), "H31/S642");
    exec("UPDATE sys_comm_para SET sys_para_value='E' WHERE sys_para_code='20'");
    ASSERT_EQ(LIB_LoadSysPara(), 0);
    frmOldCreateCallNo western(QString::fromStdString(marc));
    EXPECT_EQ(western.cmbAuthLang->currentText(), "西文");
}

}  // namespace
