// The record display and the record viewer under an offscreen Qt: the grid model checked by
// QAbstractItemModelTester through record changes, and a search run through the controls.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>

#include "marc/core/MarcFieldDefs.h"
#include "marc/core/MarcImport.h"
#include "marc/gui/MarcRecModel.h"
#include "marc/gui/frmCataView.h"
#include "tests/marc/MarcDbTest.h"

namespace {

MarcRec sample(const std::string& type) {
    MarcRec rec =
        marcFromItems(type, {{"200a", "图书馆学研究"}, {"200f", "学会编"}, {"245a", "Journal"}});
    MarcAddField(rec, MakeMarcField("001", "", "0000000007"));
    return rec;
}

QString cell(const QAbstractItemModel& m, int row, int col) {
    return m.data(m.index(row, col)).toString();
}

TEST(MarcRecModel, RowsShowLeaderAndFieldsWithTheirNames) {
    ASSERT_EQ(LIB_LoadMarcFieldDefs(), 0);
    MarcRecModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.rowCount(), 0);
    MarcRec cn = sample("C");
    model.setRecord(cn);
    ASSERT_EQ(model.rowCount(), cn.FieldCount + 1);
    EXPECT_EQ(cell(model, 0, MarcRecModel::ColTag), "LDR");
    int row200 = -1;
    for (int r = 0; r < model.rowCount(); ++r)
        if (cell(model, r, MarcRecModel::ColTag) == "200") row200 = r;
    ASSERT_GE(row200, 0);
    EXPECT_EQ(cell(model, row200, MarcRecModel::ColName), "题名与责任说明");
    EXPECT_EQ(cell(model, row200, MarcRecModel::ColInd), "  ");
    EXPECT_EQ(cell(model, row200, MarcRecModel::ColData), "$a图书馆学研究 $f学会编");
    EXPECT_TRUE(model.data(model.index(row200, MarcRecModel::ColData), Qt::ToolTipRole)
                    .toString()
                    .contains("正题名"));
    EXPECT_EQ(cell(model, model.rowCount() - 1, MarcRecModel::ColData), "0000000007");
    model.setRecord(sample("U"));
    EXPECT_EQ(cell(model, 0, MarcRecModel::ColName), "Leader");
    model.setRecord(MarcRec{});
    EXPECT_EQ(model.rowCount(), 0);
}

class CataViewer : public MarcDbTest {};

TEST_P(CataViewer, SearchThroughTheControlsShowsTheFirstRecord) {
    ASSERT_EQ(LIB_LoadMarcFieldDefs(), 0);
    ASSERT_EQ(MarcLoadDemoRecords([](const std::string&) {}).saved, 40);
    frmCataView form;
    form.show();
    ASSERT_GT(form.cmbOption->count(), 5);
    form.cmbOption->setCurrentIndex(form.cmbOption->findData("01"));
    form.cmbContent->setText("现代");
    form.cmdSearch->click();
    ASSERT_EQ(form.spdMarcList->rowCount(), 2);
    QAbstractItemModel* shown = form.vsfBM->vsfBM->model();
    QAbstractItemModelTester tester(shown, QAbstractItemModelTester::FailureReportingMode::Fatal);
    bool titleShown = false;
    for (int r = 0; r < shown->rowCount(); ++r)
        titleShown = titleShown || cell(*shown, r, MarcRecModel::ColData).contains("现代");
    EXPECT_TRUE(titleShown);
    form.spdMarcList->setCurrentCell(1, 0);
    EXPECT_EQ(form.vsfBM->model()->record().RecNo,
              form.spdMarcList->item(1, 0)->text().toStdString());
    form.cmbContent->setText("");
    form.cmdSearch->click();
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown.back().body, "查询内容不能为空");
}

SERIALS_ON_BOTH_BACKENDS(CataViewer);

}  // namespace
