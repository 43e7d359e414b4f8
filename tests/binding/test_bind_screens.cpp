// The binding screens under offscreen Qt, driven through their controls on both backends:
// finding a title and cutting its issues into records of a batch, editing a record (spine
// title, size and the binder's price), cutting and pasting issues between records, removing and
// deleting; the batch screen's filters, refusals and sending; receiving and accessioning a
// volume; the binding list PDF with its slips. Every grid model runs under the model tester.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>

#include "binding/gui/frmOldBind.h"
#include "binding/gui/frmOldBindBatch.h"
#include "binding/gui/frmOldBindBound.h"
#include "tests/binding/BindTestData.h"
#include "tests/support/PdfText.h"

namespace {

using Mode = QAbstractItemModelTester::FailureReportingMode;

class BindScreens : public BindDbTest {
protected:
    void SetUp() override {
        BindDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        marc = insertTitle({});
    }
    void TearDown() override {
        testers.clear();
        DbTest::TearDown();
    }
    void watch(const BindGrid& g) {
        testers.push_back(std::make_unique<QAbstractItemModelTester>(g.view->model(), Mode::Fatal));
    }
    // The binding screen with last year's issues of the title found.
    std::unique_ptr<frmOldBind> openAndFind() {
        auto form = std::make_unique<frmOldBind>();
        form->resize(1280, 800);
        for (const BindGrid* g :
             {&form->spdTitle, &form->spdSingle, &form->spdBind, &form->spdPrint})
            watch(*g);
        form->cmbYear->setCurrentIndex(form->cmbYear->findData("2025"));
        form->txtFind->setText("测试");
        form->actFind->trigger();
        return form;
    }
    // Binds the found title in batch 2026-01 with its kept issues left out: two records.
    void create(frmOldBind& form) {
        form.cmbBatch->setCurrentIndex(form.cmbBatch->findText("2026-01"));
        form.cmbBindNum->setCurrentIndex(form.cmbBindNum->findData(true));
        form.actCreate->trigger();
        ASSERT_EQ(form.records().size(), 2u) << ::testing::PrintToString(presenter.bodies());
    }
    QString cell(const BindGrid& g, int row, int col) {
        return g.view->model()->index(row, col).data().toString();
    }
    std::string recordValue(const std::string& column, const std::string& bindNo) {
        return scalar("SELECT " + column + " FROM m_peri_bind_detl WHERE bind_no='" + bindNo + "'");
    }
    std::string marc;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
};
SERIALS_ON_BOTH_BACKENDS(BindScreens);

TEST_P(BindScreens, FindingATitleAndCreatingItsRecordsInTheChosenBatch) {
    auto form = openAndFind();
    ASSERT_EQ(form->spdTitle.model->rowCount(), 1);
    EXPECT_EQ(cell(form->spdTitle, 0, 1), "测试学报");
    EXPECT_EQ(cell(form->spdTitle, 0, 2), "14");
    // Issues in numeric order: 2 before 10.
    ASSERT_EQ(form->spdSingle.model->rowCount(), 14);
    EXPECT_EQ(cell(form->spdSingle, 1, 0), "33(2)");
    EXPECT_EQ(cell(form->spdSingle, 9, 0), "33(10)");

    form->cmbBatch->setCurrentIndex(form->cmbBatch->findText("2026-01"));
    form->actCreate->trigger();
    EXPECT_EQ(presenter.shown.back().body, "装订单刊不能为空。");
    form->cmbBindNum->setCurrentIndex(form->cmbBindNum->findData(true));
    form->txtBindNum->setValue(3);  // more than the two copies configured
    form->actCreate->trigger();
    EXPECT_EQ(presenter.shown.back().body, "装订复本数不能为零或者超过最大值。");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_bind_detl"), "0");
    form->txtBindNum->setValue(1);
    form->actCreate->trigger();
    EXPECT_EQ(presenter.shown.back().body, "已生成合订本 2 本。");
    ASSERT_EQ(form->spdBind.model->rowCount(), 2);
    EXPECT_EQ(cell(form->spdBind, 0, 0), "2026000001");
    EXPECT_EQ(cell(form->spdBind, 0, 3), "33(1)-33(6)");
    EXPECT_EQ(cell(form->spdBind, 0, 4), "6");
    EXPECT_EQ(cell(form->spdBind, 0, 5), "在装订");
    // The found title now offers only its two kept issues.
    EXPECT_EQ(cell(form->spdTitle, 0, 2), "2");
    // The first record is current, with its copies.
    EXPECT_EQ(form->txtSpineTitle->text(), "测试学报合订本");
    EXPECT_EQ(form->spdPrint.model->rowCount(), 6);

    // Unticking the title's sub-location hides it; an empty search says so.
    form->lstLoca->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(form->spdTitle.model->rowCount(), 0);
    form->txtFind->clear();
    form->actFind->trigger();
    EXPECT_EQ(presenter.shown.back().body, "查询内容不能为空。");
}

TEST_P(BindScreens, EditingARecordPricesItFromTheBinderAndKeepsTheSpineTitle) {
    auto form = openAndFind();
    create(*form);
    const std::string no = form->records()[0].bindNo;
    form->spdBind.selectRow(0);
    form->txtSpineTitle->setText("测试学报 2025 上");
    form->cmbBookSize->setCurrentIndex(form->cmbBookSize->findData("02"));
    emit form->cmbBookSize->activated(form->cmbBookSize->currentIndex());
    EXPECT_DOUBLE_EQ(form->txtBoundPrice->value(), 20.0);  // ZD01's price for 大16开
    form->txtColor->setText("墨绿");
    form->actSave->trigger();
    EXPECT_EQ(recordValue("m_title||'|'||book_size||'|'||color", no),
              "测试学报 2025 上|大16开|墨绿");
    EXPECT_EQ(LibVar(recordValue("bound_price", no)).num(), 20.0);
    // The grid shows the saved record, still current.
    EXPECT_EQ(cell(form->spdBind, 0, 1), "测试学报 2025 上");
    EXPECT_EQ(form->txtSpineTitle->text(), "测试学报 2025 上");
}

TEST_P(BindScreens, IssuesAreCutAndPastedBetweenRecordsRemovedAndAddedBack) {
    auto form = openAndFind();
    create(*form);
    const std::string first = form->records()[0].bindNo, second = form->records()[1].bindNo;
    form->actPaste->trigger();
    EXPECT_EQ(presenter.shown.back().body, "请先剪切单刊，然后粘贴单刊。");

    form->spdBind.selectRow(0);
    form->spdPrint.selectRow(5);  // issue 6
    form->actCut->trigger();
    form->spdBind.selectRow(1);
    form->actPaste->trigger();
    EXPECT_EQ(recordValue("qty_of_bind", first), "5");
    EXPECT_EQ(recordValue("qty_of_bind", second), "7");
    EXPECT_EQ(scalar("SELECT bind_no FROM m_peri_item WHERE peri_id='" + periIdOf(6) + "'"),
              second);
    EXPECT_EQ(form->spdPrint.model->rowCount(), 7);  // the second record stays current

    // Removing asks first; the copy goes back to the title's issues.
    form->spdPrint.selectRow(0);  // issue 6, pasted first in issue order
    presenter.replies = {{kMsgCancel, {}}};
    form->actRemove->trigger();
    EXPECT_EQ(recordValue("qty_of_bind", second), "7");
    presenter.replies = {{kMsgOk, {}}};
    form->actRemove->trigger();
    EXPECT_EQ(presenter.shown.back().body, "是否确认删除选择单刊。");
    EXPECT_EQ(recordValue("qty_of_bind", second), "6");
    ASSERT_EQ(form->spdSingle.model->rowCount(), 3);  // two kept issues and the one removed

    // Added back to the first record.
    form->spdBind.selectRow(0);
    int row = -1;
    for (int r = 0; r < form->spdSingle.model->rowCount(); ++r)
        if (form->spdSingle.model->item(r, 0)->text() == "33(6)") row = r;
    ASSERT_GE(row, 0);
    form->spdSingle.selectRow(row);
    form->actAdd->trigger();
    EXPECT_EQ(recordValue("qty_of_bind", first), "6");
    EXPECT_EQ(scalar("SELECT bind_no FROM m_peri_item WHERE peri_id='" + periIdOf(6) + "'"), first);
}

TEST_P(BindScreens, DeletingRecordsAsksAndGivesTheirIssuesBack) {
    auto form = openAndFind();
    create(*form);
    form->spdBind.view->selectAll();
    presenter.replies = {{kMsgCancel, {}}};
    form->actDelete->trigger();
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_bind_detl"), "2");
    form->spdBind.view->selectAll();
    presenter.replies = {{kMsgOk, {}}};
    form->actDelete->trigger();
    EXPECT_EQ(presenter.shown.back().body, "是否确认删除选择合订本。");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_bind_detl"), "0");
    EXPECT_EQ(form->spdBind.model->rowCount(), 0);
    EXPECT_EQ(form->spdSingle.model->rowCount(), 14);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_item WHERE item_stat<='2'"), "14");
}

TEST_P(BindScreens, BatchesAreFilteredRefusedWhileUsedAndSentToTheBinder) {
    {
        auto form = openAndFind();
        create(*form);
    }
    frmOldBindBatch batches("ZD01");
    watch(batches.spdBatch);
    ASSERT_EQ(batches.spdBatch.model->rowCount(), 1);
    batches.cmdNew->click();
    batches.txtBindBatchNo->setText("2026-02");
    batches.txtRemark->setText("第二批");
    batches.cmdOk->click();
    EXPECT_EQ(scalar("SELECT remark||resp_wkr FROM m_bind_batch_lst WHERE bind_batch_no='2026-02'"),
              "第二批ZD01");
    ASSERT_EQ(batches.spdBatch.model->rowCount(), 2);

    batches.cmbUsed->setCurrentIndex(2);  // no records yet
    ASSERT_EQ(batches.batches().size(), 1u);
    EXPECT_EQ(batches.batches()[0].batchNo, "2026-02");
    batches.cmbUsed->setCurrentIndex(1);
    ASSERT_EQ(batches.batches().size(), 1u);
    EXPECT_EQ(batches.batches()[0].records, 2);

    // The used batch cannot go; the unused one can.
    batches.spdBatch.selectRow(0);
    presenter.replies = {{kMsgOk, {}}};
    batches.cmdDelete->click();
    EXPECT_EQ(presenter.shown.back().body, "该批次已有合订本，不能删除！");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_bind_batch_lst"), "2");
    batches.cmbUsed->setCurrentIndex(2);
    batches.spdBatch.selectRow(0);
    batches.cmdSend->click();
    EXPECT_EQ(presenter.shown.back().body, "该批次没有合订本，不能送装订！");
    presenter.replies = {{kMsgOk, {}}};
    batches.cmdDelete->click();
    EXPECT_EQ(scalar("SELECT count(*) FROM m_bind_batch_lst"), "1");

    batches.cmbUsed->setCurrentIndex(0);
    batches.spdBatch.selectRow(0);
    batches.cmdSend->click();
    EXPECT_EQ(scalar("SELECT send_bind_date FROM m_bind_batch_lst"), "2026-01-15");
    EXPECT_EQ(cell(batches.spdBatch, 0, 1), "2026-01-15");
    // Filtered by sending date.
    batches.txtFrom->setText("2026-01-16");
    batches.cmdFind->click();
    EXPECT_EQ(batches.spdBatch.model->rowCount(), 0);
}

TEST_P(BindScreens, AReceivedVolumeIsCheckedAccessionedAndTheNextOneOffered) {
    insertAccessionSetup();
    {
        auto form = openAndFind();
        create(*form);
    }
    frmOldBindBound bound("2026000001");
    EXPECT_EQ(bound.txtBindName->text(), "测试学报");
    EXPECT_EQ(bound.txtBgnEndVol->text(), "33(1)-33(6)");
    EXPECT_EQ(bound.txtPropNo->text(), "Q0000001");  // the section's next number, not yet taken
    EXPECT_EQ(scalar("SELECT min_prop_no FROM section_max_number WHERE section_code='S11'"), "1");

    bound.cmdOk->click();
    EXPECT_EQ(presenter.shown.back().body, "条码号不能为空。");
    bound.txtBarCode->setText("31000001");
    bound.cmdOk->click();
    EXPECT_EQ(presenter.shown.back().body, "索书号不能为空。");
    EXPECT_EQ(recordValue("bound_flag", "2026000001"), "0");

    bound.txtCallNo->setText("TP3/12");
    bound.cmbBookSize->setCurrentIndex(bound.cmbBookSize->findData("01"));
    emit bound.cmbBookSize->activated(bound.cmbBookSize->currentIndex());
    EXPECT_DOUBLE_EQ(bound.txtBoundPrice->value(), 18.0);
    bound.cmbBookStatCode->setCurrentText("阅览");
    bound.chkLt->setChecked(true);
    bound.cmdOk->click();
    EXPECT_EQ(recordValue("bound_flag||'|'||book_size||'|'||call_no", "2026000001"),
              "2|16开|TP3/12");
    // The volume stays where its copies were.
    EXPECT_EQ(scalar("SELECT prop_no||'|'||bar_code||'|'||book_stat_code||'|'||vol_peri||'|'||"
                     "dis_location FROM indi_acct WHERE asord_no='2026000001'"),
              "Q0000001|31000001|阅览|33(1)-33(6)|QK01");
    // With chkLt the next record of the batch at the binder comes up, with the next number.
    EXPECT_EQ(bound.txtBindNo->text(), "2026000002");
    EXPECT_EQ(bound.txtPropNo->text(), "Q0000002");
    EXPECT_TRUE(bound.txtBarCode->text().isEmpty());

    // Received without accession: checked only.
    bound.chkStore->setChecked(false);
    bound.txtBarCode->setText("31000002");
    bound.txtCallNo->setText("TP3/12");
    bound.cmdOk->click();
    EXPECT_EQ(recordValue("bound_flag", "2026000002"), "1");
    EXPECT_EQ(scalar("SELECT count(*) FROM indi_acct"), "1");
}

TEST_P(BindScreens, TheBindingListPdfHasTheBatchAndASlipPerVolume) {
    auto form = openAndFind();
    create(*form);
    const std::string pdf = home->dir() + "/TMP/bindlist.pdf";
    ASSERT_TRUE(form->printToPdf(QString::fromStdString(pdf)));
    std::string text = pdfText(pdf);
    for (const char* expected :
         {"期刊装订清单", "装订商：文华书刊装订厂", "装订批次：2026-01", "2026000001", "2026000002",
          "33(1)-33(6)", "33(7)-33(12)", "合计：2 册", "合订本价格：150.00", "随书单", "第1", "第2",
          "制表人员：ZD01"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

}  // namespace
