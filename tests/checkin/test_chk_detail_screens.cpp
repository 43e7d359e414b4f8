// The issue detail and batch screens under offscreen Qt, driven through their controls: a
// supplement added by hand with its copies, an issue's copies, claims and notices in one grid,
// the single-issue claim with its refusal, first-read notices, the check-in date, the question
// on closing with unsaved changes, a batch of issues proposed and added, and both screens opened
// from the check-in screen.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "checkin/gui/ChkIssueModel.h"
#include "checkin/gui/frmNewBatch.h"
#include "checkin/gui/frmNewCheck.h"
#include "checkin/gui/frmNewDetail.h"
#include "common/basCodeFunc.h"
#include "tests/checkin/test_chk_in_fixture.h"

namespace {

using Mode = QAbstractItemModelTester::FailureReportingMode;

class DetailScreen : public ChkDbTest {
protected:
    void SetUp() override {
        ChkDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        g_OraDatabase->execute(
            "UPDATE m_peri_ord_detl SET days_of_aslack=30, qty_of_vol=12, aslack_ysno='1', "
            "aslack_second=15, aslack_third=15");
    }
    std::unique_ptr<frmNewDetail> open(const std::string& periId) {
        auto f = std::make_unique<frmNewDetail>(line, qk01, periId);
        tester = std::make_unique<QAbstractItemModelTester>(f->spdItemInfo->model(), Mode::Fatal);
        f->show();
        return f;
    }
    // The grid's rows as "kind|who|number|state|date", as the operator reads them.
    static std::string gridRows(const frmNewDetail& f) {
        std::string out;
        const QAbstractItemModel* m = f.spdItemInfo->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            std::string row;
            for (int c = 0; c < 5; ++c)
                row += (c ? "|" : "") + m->index(r, c).data().toString().toStdString();
            out += row + "\n";
        }
        return out;
    }
    static void setCopies(frmNewDetail& f, int row, int copies) {
        f.spdCopies->item(row, 1)->setData(Qt::EditRole, copies);
    }
    std::unique_ptr<QAbstractItemModelTester> tester;
};
SERIALS_ON_BOTH_BACKENDS(DetailScreen);

TEST_P(DetailScreen, ASupplementAddedByHandIsSavedWithItsCopies) {
    auto f = open("");
    EXPECT_EQ(f->windowTitle(), "新增卷期");
    // Only a saved issue can be claimed, noticed or re-dated.
    EXPECT_FALSE(f->cmdAslack->isEnabled());
    EXPECT_FALSE(f->cmdFirstRead->isEnabled());
    EXPECT_EQ(f->cmbPeriType->currentText(), "增刊");
    ASSERT_EQ(f->spdCopies->rowCount(), 2);  // QK01 and QKYL, the location's distribution

    QTest::mouseClick(f->cmdOk, Qt::LeftButton);
    EXPECT_EQ(presenter.shown.back().body, "卷，期，总期不能全部为空。");

    QTest::keyClicks(f->txtVol, "12");
    f->txtIssue->setText("增1");  // QTest types ASCII only
    f->txtIssueTitle->setText("学术年会专辑");
    f->dtpExpectDate->setDate(QDate(2036, 7, 15));
    setCopies(*f, 0, 1);
    setCopies(*f, 1, 1);
    QTest::mouseClick(f->cmdOk, Qt::LeftButton);
    EXPECT_EQ(presenter.shown.back().body, "数据成功保存！");
    EXPECT_EQ(f->periId(), chkIssueId(13));
    EXPECT_EQ(f->windowTitle(), "卷期详细信息");
    EXPECT_TRUE(f->cmdAslack->isEnabled());
    EXPECT_EQ(scalar("SELECT cover_issue||'/'||peri_type||'/'||aslack_date||'/'||peri_no FROM "
                     "m_peri_chk_vol WHERE peri_id='" +
                     chkIssueId(13) + "'"),
              "增1/1/2036-08-14/13");
    EXPECT_EQ(gridRows(*f), "复本|QK01 " + LIB_LocationName("QK01") +
                                "|1|在签收处|2036-03-20 10:30:00\n" + "复本|QKYL " +
                                LIB_LocationName("QKYL") + "|1|在签收处|2036-03-20 10:30:00\n");
    EXPECT_TRUE(f->changed());
}

TEST_P(DetailScreen, ClaimNoticeAndCheckInDateOfOneIssue) {
    // Issue 1: claim date 2036-02-04 passed, nothing arrived: claimable with 3 copies.
    auto f = open(chkIssueId(1));
    f->txtAslackRemark->setText("请补寄");
    QTest::mouseClick(f->cmdAslack, Qt::LeftButton);
    EXPECT_EQ(presenter.shown.back().body, "订购催缺通知发送成功。");
    EXPECT_EQ(gridRows(*f), "催缺|JD01|3|请补寄|2036-03-20\n");
    // A second claim before aslack_second days have passed is refused.
    QTest::mouseClick(f->cmdAslack, Qt::LeftButton);
    EXPECT_EQ(presenter.shown.back().body, "不符合催缺条件，不能够催缺。");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_aslack_rec"), "1");

    QTest::mouseClick(f->cmdFirstRead, Qt::LeftButton);
    EXPECT_EQ(presenter.shown.back().body, "至少选择一个以上优先阅览者。");
    ASSERT_GT(f->lstReaders->count(), 0);
    f->lstReaders->item(0)->setCheckState(Qt::Checked);
    QTest::mouseClick(f->cmdFirstRead, Qt::LeftButton);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_prio_read_noti WHERE peri_id='" + chkIssueId(1) + "'"),
              "1");
    EXPECT_NE(
        gridRows(*f).find("优先阅览|" +
                          f->lstReaders->item(0)->data(Qt::UserRole).toString().toStdString()),
        std::string::npos);

    // The copies arrive; their check-in date moves back two days, but never into the future.
    setCopies(*f, 0, 2);
    setCopies(*f, 1, 1);
    QTest::mouseClick(f->cmdOk, Qt::LeftButton);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_item WHERE peri_id='" + chkIssueId(1) + "'"),
              "3");
    f->dtpChkDate->setDate(QDate(2036, 3, 21));
    QTest::mouseClick(f->cmdModifyDate, Qt::LeftButton);
    EXPECT_EQ(presenter.shown.back().body, "不能修改该签收日期。");
    f->dtpChkDate->setDate(QDate(2036, 3, 18));
    QTest::mouseClick(f->cmdModifyDate, Qt::LeftButton);
    EXPECT_EQ(scalar("SELECT min(chk_date)||'/'||max(chk_date) FROM m_peri_item"),
              "2036-03-18 10:30:00/2036-03-18 10:30:00");
}

TEST_P(DetailScreen, ClosingWithChangesAsksWhetherToSave) {
    auto f = open(chkIssueId(2));
    f->txtRemark->setText("缺页");
    presenter.replies.push_back({kMsgCancel, nullptr});
    f->cmdCancel->click();
    EXPECT_EQ(presenter.shown.back().body, "卷期信息已修改，是否保存？");
    EXPECT_TRUE(f->isVisible());  // 取消: the operator stays
    presenter.replies.push_back({kMsgNo, nullptr});
    f->cmdCancel->click();
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(
        scalar("SELECT nvl(remark,'') FROM m_peri_chk_vol WHERE peri_id='" + chkIssueId(2) + "'"),
        "");
    f = open(chkIssueId(2));
    f->txtRemark->setText("缺页");
    presenter.replies.push_back({kMsgOk, nullptr});
    f->cmdCancel->click();
    EXPECT_EQ(scalar("SELECT remark FROM m_peri_chk_vol WHERE peri_id='" + chkIssueId(2) + "'"),
              "缺页");
    EXPECT_EQ(f->result(), QDialog::Accepted);
    // Nothing changed: no question at all.
    const std::size_t shown = presenter.shown.size();
    f = open(chkIssueId(3));
    f->cmdCancel->click();
    EXPECT_EQ(presenter.shown.size(), shown);
}

TEST_P(DetailScreen, TheBatchScreenProposesTheNextRunAndAddsIt) {
    frmNewBatch f(line, "QK01");
    EXPECT_EQ(f.txtBegVol->value(), 13);
    EXPECT_EQ(f.txtBegIssue->value(), 1);
    EXPECT_EQ(f.txtBegTotalIssue->value(), 113);
    EXPECT_EQ(f.dtpFirstDate->date(), QDate(2037, 1, 1));
    EXPECT_FALSE(f.txtVolBegIssue->isEnabled());
    f.chkIssueContinue->setChecked(true);
    EXPECT_TRUE(f.txtVolBegIssue->isEnabled());
    f.chkIssueContinue->setChecked(false);
    f.txtCount->setValue(0);
    QTest::mouseClick(f.cmdOk, Qt::LeftButton);
    EXPECT_EQ(presenter.shown.back().body, "新增期数不能为空。");
    f.txtCount->setValue(12);
    QTest::mouseClick(f.cmdOk, Qt::LeftButton);
    EXPECT_EQ(presenter.shown.back().body, "已新增 12 期。");
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_vol WHERE cover_vol='13'"), "12");
    EXPECT_EQ(scalar("SELECT expect_date FROM m_peri_chk_vol WHERE cover_issue_total='124'"),
              "2037-12-01");
}

// The check-in screen opens both, and shows what they wrote when they close.
TEST_P(DetailScreen, OpenedFromTheCheckInScreen) {
    frmNewCheck check;
    check.resize(1280, 800);
    check.show();
    check.cmbOption->setCurrentIndex(check.cmbOption->findText("ISSN"));
    check.cmbContent->setEditText("1001-8867");
    check.subSearch();
    ASSERT_EQ(check.issueModel()->rowCount(), 12);
    std::string seen;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<frmNewDetail*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        seen = d->periId();
        d->txtRemark->setText("已核对");
        d->cmdOk->click();
        d->cmdCancel->click();
    });
    check.spdChkInfo->setCurrentIndex(check.spdChkInfo->model()->index(4, 0));
    check.cmdDetail->click();
    EXPECT_EQ(seen, chkIssueId(5));
    EXPECT_EQ(scalar("SELECT remark FROM m_peri_chk_vol WHERE peri_id='" + chkIssueId(5) + "'"),
              "已核对");

    QTimer::singleShot(0, [&] {
        auto* b = qobject_cast<frmNewBatch*>(QApplication::activeModalWidget());
        ASSERT_NE(b, nullptr);
        b->txtCount->setValue(2);
        b->cmdOk->click();
    });
    check.cmdBatch->click();
    EXPECT_EQ(check.issueModel()->rowCount(), 14);
    EXPECT_EQ(check.spdChkInfo->currentIndex().row(), 13);
}

}  // namespace
