// The check-in screen under offscreen Qt, driven through its controls: a search and Enter on
// the expected issue check it in with the keyboard alone; a scanned EAN-13 with its add-on
// checks in the issue it names; the grid says which issues are late, partly or fully arrived;
// removal, the right check and the holdings statements as the operator sees them; a sorted and
// filtered grid still checks in, removes and scans the issue meant; the search dialog; every
// grid model and its sorting proxy under the model tester in Fatal mode.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

#include "checkin/gui/ChkIssueModel.h"
#include "checkin/gui/frmNewCheck.h"
#include "checkin/gui/frmNewSearch.h"
#include "common/gui/LayoutMemory.h"
#include "tests/checkin/test_chk_in_fixture.h"
#include "tests/support/Screenshot.h"

namespace {

using Mode = QAbstractItemModelTester::FailureReportingMode;

class ChkScreen : public ChkDbTest {
protected:
    void SetUp() override {
        ChkDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        form = std::make_unique<frmNewCheck>();
        form->resize(1280, 800);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        for (QTableView* v : {form->spdMarcInfo, form->spdSubInfo, form->spdChkInfo,
                              form->spdLocaRec, form->spdBound}) {
            testers.push_back(std::make_unique<QAbstractItemModelTester>(v->model(), Mode::Fatal));
            testers.push_back(std::make_unique<QAbstractItemModelTester>(source(v), Mode::Fatal));
        }
    }
    void TearDown() override {
        testers.clear();
        form.reset();
        DbTest::TearDown();
    }
    // Types the text into the search box with the keyboard and presses Enter.
    void searchByKeyboard(const QString& field, const QString& text) {
        form->cmbOption->setCurrentIndex(form->cmbOption->findText(field));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
        ASSERT_TRUE(form->cmbContent->lineEdit()->hasFocus());
        QTest::keyClicks(form->cmbContent->lineEdit(), text);
        QTest::keyClick(form->cmbContent->lineEdit(), Qt::Key_Return);
    }
    // The model behind a grid's sorting proxy.
    static QAbstractItemModel* source(QTableView* v) {
        auto* proxy = qobject_cast<QSortFilterProxyModel*>(v->model());
        return proxy ? proxy->sourceModel() : nullptr;
    }
    QString cell(int row, int col) { return form->issueModel()->index(row, col).data().toString(); }
    // The issue in the grid's row as the operator sees it (sorted and filtered).
    std::string shownIssue(int row) {
        return form->spdChkInfo->model()
            ->index(row, 0)
            .data(ChkIssueModel::PeriIdRole)
            .toString()
            .toStdString();
    }
    std::string currentIssue() {
        return form->spdChkInfo->currentIndex()
            .data(ChkIssueModel::PeriIdRole)
            .toString()
            .toStdString();
    }
    std::string copiesOf(int n) {
        return scalar("SELECT count(*) FROM m_peri_item WHERE peri_id='" + chkIssueId(n) + "'");
    }
    std::unique_ptr<frmNewCheck> form;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
};
SERIALS_ON_BOTH_BACKENDS(ChkScreen);

TEST_P(ChkScreen, KeyboardOnlyCheckInMarksTheIssueArrivedAndMovesOn) {
    searchByKeyboard("ISSN", "1001-8867");
    ASSERT_EQ(form->spdMarcInfo->model()->rowCount(), 1);
    // JD01 works at QK01, which is chosen; the cursor waits on the first issue not arrived.
    ASSERT_NE(form->currentLocation(), nullptr);
    EXPECT_EQ(form->currentLocation()->location, "QK01");
    EXPECT_EQ(form->spdChkInfo->currentIndex().row(), 0);
    EXPECT_EQ(cell(0, ChkIssueModel::ColState), "逾期未到");
    EXPECT_EQ(cell(2, ChkIssueModel::ColState), "未到");
    EXPECT_EQ(form->lblSummary->text(), "共 12 期，已到 0 期，逾期未到 2 期");

    form->spdChkInfo->setFocus();
    QTest::keyClick(form->spdChkInfo, Qt::Key_Return);
    EXPECT_EQ(copiesOf(1), "3");
    EXPECT_EQ(cell(0, ChkIssueModel::ColState), "已到");
    EXPECT_EQ(cell(0, ChkIssueModel::ColCopies), "3/3");
    EXPECT_EQ(form->spdChkInfo->currentIndex().row(), 1);
    QTest::keyClick(form->spdChkInfo, Qt::Key_Down);
    QTest::keyClick(form->spdChkInfo, Qt::Key_Return);
    EXPECT_EQ(copiesOf(2), "0");
    EXPECT_EQ(copiesOf(3), "3");
    EXPECT_EQ(form->lblSummary->text(), "共 12 期，已到 2 期，逾期未到 1 期");
    saveScreenshots(*form, "frmNewCheck-" + QString::fromStdString(GetParam()));
    // Late, arrived and still expected issues differ in colour as well as in words.
    auto bg = [&](int row) { return form->issueModel()->index(row, 0).data(Qt::BackgroundRole); };
    EXPECT_NE(bg(0), bg(1));
    EXPECT_NE(bg(1), bg(3));
    EXPECT_FALSE(bg(3).isValid());
    EXPECT_EQ(form->issueModel()->index(1, 0).data(Qt::ToolTipRole).toString(),
              "复本：3  已签：0  未签：3");
}

TEST_P(ChkScreen, ScannedBarCodeWithAddOnChecksInTheIssueItNames) {
    QTest::keyClicks(form->txtScan, "977100188600905");
    QTest::keyClick(form->txtScan, Qt::Key_Return);
    EXPECT_EQ(copiesOf(5), "3");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_item"), "3");
    EXPECT_EQ(form->txtScan->text(), "");
    // Without an add-on the first issue still expected is taken.
    QTest::keyClicks(form->txtScan, "9771001886009");
    QTest::keyClick(form->txtScan, Qt::Key_Return);
    EXPECT_EQ(copiesOf(1), "3");
    QTest::keyClicks(form->txtScan, "12345");
    QTest::keyClick(form->txtScan, Qt::Key_Return);
    EXPECT_EQ(presenter.shown.back().body, "无法识别的条码：12345");
}

TEST_P(ChkScreen, SortedAndFilteredGridStillReceivesTheIssueMeant) {
    searchByKeyboard("ISSN", "1001-8867");
    // The columns looked for first come first.
    EXPECT_EQ(form->spdMarcInfo->model()->headerData(0, Qt::Horizontal).toString(), "题名");
    EXPECT_EQ(form->spdChkInfo->model()->headerData(0, Qt::Horizontal).toString(), "卷");
    // Latest first by the expected date, then only the issues expected January to September.
    const QHeaderView* header = form->spdChkInfo->horizontalHeader();
    ASSERT_TRUE(form->spdChkInfo->isSortingEnabled());
    form->spdChkInfo->sortByColumn(ChkIssueModel::ColExpect, Qt::DescendingOrder);
    EXPECT_EQ(header->sortIndicatorSection(), ChkIssueModel::ColExpect);
    EXPECT_EQ(shownIssue(0), chkIssueId(12));
    QTest::keyClicks(form->txtFilterChkInfo, "2036-0");
    ASSERT_EQ(form->spdChkInfo->model()->rowCount(), 9);
    EXPECT_EQ(shownIssue(0), chkIssueId(9));

    // The third row shown is issue 7: Enter receives it, not the third issue by number, and
    // the cursor moves on to the row below it, issue 6.
    form->spdChkInfo->setFocus();
    QTest::keyClick(form->spdChkInfo, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(form->spdChkInfo, Qt::Key_Down);
    QTest::keyClick(form->spdChkInfo, Qt::Key_Down);
    ASSERT_EQ(currentIssue(), chkIssueId(7));
    QTest::keyClick(form->spdChkInfo, Qt::Key_Return);
    EXPECT_EQ(copiesOf(7), "3");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_item"), "3");
    EXPECT_EQ(currentIssue(), chkIssueId(6));
    EXPECT_EQ(shownIssue(2), chkIssueId(7)) << "the sort and the filter survive the reload";
    EXPECT_EQ(form->txtFilterChkInfo->text(), "2036-0");
    saveScreenshots(*form, "frmNewCheck-sorted-" + QString::fromStdString(GetParam()));

    // A scan names its issue by the add-on, shown or filtered out.
    QTest::keyClicks(form->txtScan, "977100188600903");
    QTest::keyClick(form->txtScan, Qt::Key_Return);
    EXPECT_EQ(copiesOf(3), "3");
    QTest::keyClicks(form->txtScan, "977100188600911");
    QTest::keyClick(form->txtScan, Qt::Key_Return);
    EXPECT_EQ(copiesOf(11), "3");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_item"), "9");
    EXPECT_EQ(form->spdChkInfo->model()->rowCount(), 9);

    // Removing the check-in of the row under the cursor takes that issue's copies only.
    form->spdChkInfo->setFocus();
    QTest::keyClick(form->spdChkInfo, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(form->spdChkInfo, Qt::Key_Down);
    QTest::keyClick(form->spdChkInfo, Qt::Key_Down);
    ASSERT_EQ(currentIssue(), chkIssueId(7));
    QTest::keyClick(form->spdChkInfo, Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(copiesOf(7), "0");
    EXPECT_EQ(copiesOf(3), "3");
    EXPECT_EQ(currentIssue(), chkIssueId(7));
}

TEST_P(ChkScreen, RemovalAndRefusalsThroughTheCommands) {
    searchByKeyboard("ISSN", "1001-8867");
    form->cmdAllCheck->click();
    ASSERT_EQ(copiesOf(1), "3");
    form->spdChkInfo->selectRow(0);
    form->cmdAllUnCheck->click();
    EXPECT_EQ(copiesOf(1), "0");
    EXPECT_EQ(cell(0, ChkIssueModel::ColState), "逾期未到");

    // WWQK is not JD01's: checking in there is refused with the message.
    form->spdSubInfo->setCurrentIndex(form->spdSubInfo->model()->index(1, 0));
    form->spdChkInfo->selectRow(3);
    form->cmdAllCheck->click();
    EXPECT_EQ(presenter.shown.back().body, "你没有操作该订户的权限。");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_item"), "0");

    // Combining two issues answers the question and shows the combined issue.
    form->spdSubInfo->setCurrentIndex(form->spdSubInfo->model()->index(0, 0));
    form->spdChkInfo->selectRow(2);
    form->spdChkInfo->selectionModel()->select(
        form->spdChkInfo->model()->index(3, 0),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    presenter.replies.push_back({kMsgOk, nullptr});
    form->cmdCombine->click();
    EXPECT_EQ(form->issueModel()->rowCount(), 11);
    EXPECT_EQ(cell(2, ChkIssueModel::ColIssue), "3-4");
    EXPECT_EQ(cell(2, ChkIssueModel::ColType), "合刊");
}

TEST_P(ChkScreen, HoldingsStatementIsTypedAndSaved) {
    searchByKeyboard("ISSN", "1001-8867");
    form->cmdSwitch->click();
    auto* model = qobject_cast<QStandardItemModel*>(source(form->spdLocaRec));
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->item(0, 0)->text(), "2036");
    model->item(0, 1)->setText("第12卷1-3期");
    form->cmdSave->click();
    EXPECT_EQ(scalar("SELECT bgn_end_vol FROM m_peri_loca_rec WHERE location='QK01' AND "
                     "publ_year='2036'"),
              "第12卷1-3期");
    EXPECT_EQ(presenter.shown.back().body, "数据成功保存！");
}

TEST_P(ChkScreen, TypedHoldingsAreOfferedSaveBeforeTheyAreReplaced) {
    searchByKeyboard("ISSN", "1001-8867");
    QTest::keyClick(form->spdChkInfo, Qt::Key_T, Qt::ControlModifier);
    auto* model = qobject_cast<QStandardItemModel*>(source(form->spdLocaRec));
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->rowCount(), 1);
    const std::string saved =
        "SELECT count(*) FROM m_peri_loca_rec WHERE bgn_end_vol='第12卷1-3期'";
    form->spdLocaRec->setFocus();
    QTest::keyClick(form->spdLocaRec, Qt::Key_F5);
    EXPECT_TRUE(presenter.shown.empty()) << "the empty row offered for this year is no edit";
    QTest::keyClick(form->spdLocaRec, Qt::Key_T, Qt::ControlModifier);  // to the issues
    QTest::keyClick(form->spdChkInfo, Qt::Key_T, Qt::ControlModifier);  // and back
    ASSERT_EQ(model->rowCount(), 1);

    model->item(0, 1)->setText("第12卷1-3期");
    presenter.replies.push_back({kMsgCancel, nullptr});
    QTest::keyClick(form->spdLocaRec, Qt::Key_F5);
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown.back().body, "馆藏记录已修改，是否保存？");
    EXPECT_EQ(model->item(0, 1)->text(), "第12卷1-3期") << "取消 keeps what was typed";
    EXPECT_EQ(scalar(saved), "0");

    presenter.replies.push_back({kMsgNo, nullptr});
    QTest::keyClick(form->spdLocaRec, Qt::Key_F5);
    EXPECT_EQ(scalar(saved), "0");

    // Typed again and saved with Ctrl+S: nothing left to ask about.
    QTest::keyClick(form->spdLocaRec, Qt::Key_T, Qt::ControlModifier);  // to the issues
    QTest::keyClick(form->spdChkInfo, Qt::Key_T, Qt::ControlModifier);  // and back
    ASSERT_EQ(model->rowCount(), 1);
    model->item(0, 1)->setText("第12卷1-3期");
    form->spdLocaRec->setFocus();
    QTest::keyClick(form->spdLocaRec, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(scalar(saved), "1");
    const std::size_t shown = presenter.shown.size();
    QTest::keyClick(form->spdLocaRec, Qt::Key_F5);
    EXPECT_EQ(presenter.shown.size(), shown);

    // 保存 as the answer when the screen closes.
    model->item(0, 1)->setText("第12卷1-6期");
    presenter.replies.push_back({kMsgOk, nullptr});
    EXPECT_TRUE(form->close());
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_loca_rec WHERE bgn_end_vol='第12卷1-6期'"), "1");
}

TEST_P(ChkScreen, SearchDialogOffersYearsAndRefusesAReversedRange) {
    frmNewSearch dlg;
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    EXPECT_TRUE(dlg.cmbContent->lineEdit()->hasFocus()) << "the text comes first";
    QTest::keyClick(&dlg, Qt::Key_Y, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), dlg.cmbYear) << "each field has its Alt+letter";
    QAbstractItemModelTester t1(dlg.cmbYear->model(), Mode::Fatal);
    EXPECT_EQ(dlg.cmbYear->itemText(0), "2036");
    EXPECT_GE(dlg.cmbYear->findText("<年度区间>"), 0);
    EXPECT_GE(dlg.cmbYear->findText("<不定>"), 0);
    dlg.cmbOption->setCurrentIndex(dlg.cmbOption->findText("题名"));
    dlg.cmbContent->setEditText("图书馆");
    dlg.cmbYear->setCurrentIndex(dlg.cmbYear->findText("<年度区间>"));
    dlg.txtYearFrom->setText("2037");
    dlg.txtYearTo->setText("2036");
    dlg.cmdOk->click();
    EXPECT_EQ(presenter.shown.back().body, "年度区间不正确");
    EXPECT_EQ(dlg.result().recordCount(), 0);
    dlg.cmbYear->setCurrentIndex(dlg.cmbYear->findText("<不定>"));
    dlg.cmbOption->setCurrentIndex(dlg.cmbOption->findText("ISSN"));
    dlg.cmbContent->setEditText("1001");
    dlg.cmdOk->click();
    EXPECT_EQ(dlg.result().recordCount(), 1);
    EXPECT_EQ(dlg.result()(2, 2).str(), "5-01");
}

// A width the operator set stays through every reload of the grids and comes back with the
// screen; only without a remembered layout (first use, 恢复默认布局) are the columns fitted.
TEST_P(ChkScreen, RememberedColumnWidthsSurviveReloads) {
    searchByKeyboard("ISSN", "1001-8867");
    ASSERT_EQ(form->spdChkInfo->model()->rowCount(), 12);
    struct Column {
        QTableView* view;
        int col;
    };
    const std::vector<Column> columns = {{form->spdMarcInfo, 1},
                                         {form->spdSubInfo, 1},
                                         {form->spdChkInfo, ChkIssueModel::ColState},
                                         {form->spdBound, 1}};
    auto width = [](const Column& c) { return c.view->horizontalHeader()->sectionSize(c.col); };
    const int fitted = width(columns[2]);
    EXPECT_GT(fitted, 0);
    std::vector<int> set;
    for (const Column& c : columns) {
        set.push_back(width(c) + 97);
        c.view->horizontalHeader()->resizeSection(c.col, set.back());
    }

    form->spdChkInfo->setFocus();
    QTest::keyClick(form->spdChkInfo, Qt::Key_Return);
    ASSERT_EQ(form->lblSummary->text(), "共 12 期，已到 1 期，逾期未到 1 期") << "reloaded";
    form->cmbContent->lineEdit()->clear();
    searchByKeyboard("ISSN", "1001-8867");
    for (std::size_t i = 0; i < columns.size(); ++i)
        EXPECT_EQ(width(columns[i]), set[i]) << columns[i].view->objectName().toStdString();

    frmNewCheck reopened;
    EXPECT_EQ(reopened.spdChkInfo->horizontalHeader()->sectionSize(ChkIssueModel::ColState),
              set[2]);
    EXPECT_EQ(reopened.spdBound->horizontalHeader()->sectionSize(1), set[3]);

    LIB_RestoreDefaultLayout("checkin/");
    form->cmbContent->lineEdit()->clear();
    searchByKeyboard("ISSN", "1001-8867");
    EXPECT_EQ(width(columns[2]), fitted) << "fitted again once nothing is remembered";
}

}  // namespace
