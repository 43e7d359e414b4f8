// The record display, the record viewer and the record search dialog under an offscreen Qt: the
// grid model checked by QAbstractItemModelTester through record changes, and searches driven from
// the keyboard, the dialog's on a catalogue of 10,000 records.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "marc/core/MarcFieldDefs.h"
#include "marc/core/MarcImport.h"
#include "marc/core/MarcSearch.h"
#include "marc/core/SearchInput.h"
#include "marc/gui/MarcRecModel.h"
#include "marc/gui/MarcSearchPanel.h"
#include "marc/gui/dlgMarcSearch.h"
#include "marc/gui/frmCataView.h"
#include "tests/marc/LargeCatalogue.h"
#include "tests/marc/MarcDbTest.h"
#include "tests/support/Screenshot.h"

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

class CataViewer : public MarcDbTest {
protected:
    // Typed text and Enter; Chinese arrives as an input method commits it.
    static void type(QWidget* w, const QString& text) {
        QInputMethodEvent typed;
        typed.setCommitString(text);
        QApplication::sendEvent(w, &typed);
        QTest::keyClick(w, Qt::Key_Return);
    }
    static std::string titleAt(const MarcSearchPanel& p, int row) { return p.recordAt(row).title; }
};

TEST_P(CataViewer, SearchFromTheKeyboardShowsTheRecordsFieldsAndSaysWhichSearch) {
    ASSERT_EQ(LIB_LoadMarcFieldDefs(), 0);
    ASSERT_EQ(MarcLoadDemoRecords([](const std::string&) {}).saved, 40);
    frmCataView form;
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    MarcSearchPanel& p = *form.panel;
    ASSERT_GT(p.cmbOption->count(), 5);
    EXPECT_EQ(p.cmbOption->currentData().toString(), "01");
    EXPECT_TRUE(p.cmbContent->placeholderText().contains("开头"));
    EXPECT_EQ(QApplication::focusWidget(), p.cmbContent) << "the search box has focus at once";

    type(p.cmbContent, "现代");
    ASSERT_EQ(p.recordCount(), 2);
    EXPECT_EQ(QApplication::focusWidget(), p.grdRecords) << "Enter moves on to the records";
    QAbstractItemModel* shown = form.vsfBM->vsfBM->model();
    QAbstractItemModelTester tester(shown, QAbstractItemModelTester::FailureReportingMode::Fatal);
    bool titleShown = false;
    for (int r = 0; r < shown->rowCount(); ++r)
        titleShown = titleShown || cell(*shown, r, MarcRecModel::ColData).contains("现代");
    EXPECT_TRUE(titleShown);
    QTest::keyClick(p.grdRecords, Qt::Key_Down);
    EXPECT_EQ(form.vsfBM->model()->record().RecNo, p.recordAt(1).recNo);
    saveScreenshots(form, "frmCataView-" + QString::fromStdString(GetParam()));

    // The search inside titles, chosen from the keyboard: its box says so, and it finds a word
    // the prefix search cannot.
    QTest::keyClick(&form, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), p.cmbContent);
    p.cmbOption->setFocus();
    QTest::keyClick(p.cmbOption, Qt::Key_Down);
    ASSERT_EQ(p.cmbOption->currentData().toString(), kMarcTitleWordsGroup);
    EXPECT_TRUE(p.cmbContent->placeholderText().contains("任意位置"));
    p.cmbContent->clear();
    type(p.cmbContent, "研究");
    ASSERT_GT(p.recordCount(), 0);
    bool inside = false;
    for (int r = 0; r < p.recordCount(); ++r) {
        EXPECT_NE(titleAt(p, r).find("研究"), std::string::npos) << titleAt(p, r);
        inside = inside || titleAt(p, r).rfind("研究", 0) != 0;
    }
    EXPECT_TRUE(inside) << "a title holding the word past its start";

    p.cmbContent->clear();
    p.cmdSearch->click();
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown.back().body, "查询内容不能为空");
}

TEST_P(CataViewer, RecordSearchDialogOnTenThousandRecordsFromTheKeyboard) {
    ASSERT_EQ(makeLargeCatalogue(10000), 10000) << g_ErrInfo.strDesc;
    dlgMarcSearch dlg;
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    MarcSearchPanel& p = *dlg.panel;
    EXPECT_EQ(QApplication::focusWidget(), p.cmbContent);

    // A short prefix matches nearly all: the grid lists a page and says there is more.
    type(p.cmbContent, "journal");
    EXPECT_EQ(p.recordCount(), MarcSearchPanel::kMaxRows);
    EXPECT_TRUE(p.lblStatus->text().contains("缩小范围"));
    EXPECT_TRUE(dlg.isVisible()) << "Enter in the search box searches, it does not accept";
    saveScreenshots(dlg, "dlgMarcSearch-" + QString::fromStdString(GetParam()));

    // Typing more narrows it; Enter on the record takes it.
    QTest::keyClick(p.grdRecords, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), p.cmbContent);
    type(p.cmbContent, "journal number 4321");
    ASSERT_EQ(p.recordCount(), 1);
    EXPECT_EQ(p.lblStatus->text(), "共 1 条记录");
    QTest::keyClick(p.grdRecords, Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.chosen().recNo, "9000004321");
    EXPECT_EQ(dlg.chosen().title, "Journal number 4321");
    EXPECT_EQ(dlg.chosen().author, "Author 4321");
}

TEST_P(CataViewer, RecordSearchDialogStartsWithTheTypedTextAndLeavesOnEscape) {
    ASSERT_EQ(makeLargeCatalogue(10000), 10000) << g_ErrInfo.strDesc;
    dlgMarcSearch dlg;
    dlg.startWith("历史");  // not a title's start: nothing found, the box keeps focus
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    MarcSearchPanel& p = *dlg.panel;
    EXPECT_EQ(p.recordCount(), 0);
    EXPECT_FALSE(dlg.cmdOK->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), p.cmbContent);
    p.setGroup(kMarcTitleWordsGroup);
    QTest::keyClick(p.cmbContent, Qt::Key_Return);
    ASSERT_EQ(p.recordCount(), 1);
    EXPECT_EQ(p.currentRecord().recNo, "9000007777");
    EXPECT_TRUE(dlg.cmdOK->isEnabled());
    QTest::keyClick(p.grdRecords, Qt::Key_Escape);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_TRUE(dlg.chosen().recNo.empty());

    dlgMarcSearch byIssn;
    byIssn.startWith("1000 000x");
    EXPECT_EQ(p.cmbOption->currentData().toString(), kMarcTitleWordsGroup);
    EXPECT_EQ(byIssn.panel->cmbOption->currentData().toString(), "03");
    dlgMarcSearch byIsbn;
    byIsbn.startWith("7-5013-1234-x");
    EXPECT_EQ(byIsbn.panel->cmbOption->currentData().toString(), kMarcIsbnGroup);
}

SERIALS_ON_BOTH_BACKENDS(CataViewer);

}  // namespace
