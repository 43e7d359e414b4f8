// The check-in configuration screen under offscreen Qt, driven through its controls: what it
// loads, which fields each frequency code and check box enables, the check messages in their
// order, confirming (issues predicted, the screen closed) and cancelling (nothing saved).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "checkin/gui/frmNewConfig.h"
#include "tests/checkin/ChkTestData.h"
#include "tests/support/Screenshot.h"

namespace {

const std::string kLine = " WHERE publ_code='YZFX' AND peri_ord_year='203101' AND asord_no='4-66'";

void type(QLineEdit* box, const char* text) {
    box->clear();
    QTest::keyClicks(box, QString::fromUtf8(text));
}

// A click on the box itself: a check box in a form row is wider than its text.
void tick(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

class ChkConfigScreen : public ChkDbTest {
protected:
    std::unique_ptr<frmNewConfig> open(const std::string& asordNo = "4-66") {
        auto f = std::make_unique<frmNewConfig>(ChkOrderKey{"YZFX", "203101", asordNo}, "QK01");
        f->show();
        return f;
    }
    void setFrequency(const char* name) {
        g_OraDatabase->execute(std::string("UPDATE m_peri_ord_detl SET publ_freq='") + name + "'" +
                               kLine);
    }
    // Clicks cmdOk; the message shown, or "" when none was.
    std::string confirm(frmNewConfig& f) {
        const std::size_t before = presenter.shown.size();
        QTest::mouseClick(f.cmdOk, Qt::LeftButton);
        return presenter.shown.size() > before ? presenter.shown.back().body : std::string();
    }
};
SERIALS_ON_BOTH_BACKENDS(ChkConfigScreen);

}  // namespace

TEST_P(ChkConfigScreen, LoadsTheLineAndItsDefaults) {
    auto f = open();
    ASSERT_TRUE(f->isLoaded());
    EXPECT_TRUE(f->lblTitle->text().contains("4-66"));
    EXPECT_TRUE(f->lblTitle->text().contains(QString::fromUtf8("月刊")));
    EXPECT_EQ(f->dtpBeginDate->date().toString("yyyy-MM-dd"), "2031-01-01");
    EXPECT_EQ(f->dtpEndDate->date().toString("yyyy-MM-dd"), "2031-12-31");
    EXPECT_EQ(f->dtpChkBgnDate->date().toString("yyyy-MM-dd"), "2031-01-01");
    EXPECT_EQ(f->txtQtyOfYear->text(), "12");
    EXPECT_EQ(f->txtQtyOfVol->text(), "3");
    EXPECT_EQ(f->txtBindCopyQty->text(), "2");
    EXPECT_EQ(f->txtDaysOfAslack->text(), "60");
    EXPECT_EQ(f->cmbBookSizeCode->currentText(), QString::fromUtf8("16开"));
    EXPECT_GE(f->cmbBookSizeCode->findData("09"), 1);
    saveScreenshots(*f, "frmNewConfig-" + QString::fromStdString(GetParam()));
    auto missing = std::make_unique<frmNewConfig>(ChkOrderKey{"YZFX", "203101", "9-99"}, "QK01");
    EXPECT_FALSE(missing->isLoaded());
    EXPECT_FALSE(missing->cmdOk->isEnabled());
    EXPECT_EQ(presenter.shown.back().body, "无该期刊订购信息，请重新查询！");
}

TEST_P(ChkConfigScreen, FrequencyCodeDecidesTheEnteredFields) {
    struct Case {
        const char* freq;
        bool period, startDay, qtyOfYear, chkBegin, daysOfItems;
    } cases[] = {
        {"月刊", true, true, false, false, false},  {"日刊", true, true, false, false, false},
        {"不详", false, false, false, false, true}, {"不定期", false, false, false, false, true},
        {"其它", false, false, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.freq);
        setFrequency(c.freq);
        auto f = open();
        EXPECT_EQ(f->dtpBeginDate->isEnabled(), c.period);
        EXPECT_EQ(f->dtpEndDate->isEnabled(), c.period);
        EXPECT_EQ(f->txtFstReceDate->isEnabled(), c.startDay);
        EXPECT_EQ(f->cmbFstReceDate->isEnabled(), c.startDay);
        EXPECT_EQ(f->txtQtyOfYear->isEnabled(), c.qtyOfYear);
        EXPECT_EQ(f->dtpChkBgnDate->isEnabled(), c.chkBegin);
        EXPECT_EQ(f->txtDaysOfItems->isEnabled(), c.daysOfItems);
    }
}

TEST_P(ChkConfigScreen, CheckBoxesEnableTheirFields) {
    auto f = open();
    const bool claims = f->chkAsLackYsno->isChecked();
    EXPECT_EQ(f->txtDaysOfAslack->isEnabled(), claims);
    tick(f->chkAsLackYsno);
    EXPECT_EQ(f->txtDaysOfAslack->isEnabled(), !claims);
    EXPECT_EQ(f->txtAslackSecond->isEnabled(), !claims);
    EXPECT_EQ(f->txtAslackThird->isEnabled(), !claims);

    EXPECT_FALSE(f->txtBindItemQty->isEnabled());
    tick(f->chkBindYsno);
    EXPECT_TRUE(f->txtBindItemQty->isEnabled());
    EXPECT_TRUE(f->cmbColor->isEnabled());
    EXPECT_TRUE(f->cmbFrame->isEnabled());

    EXPECT_FALSE(f->txtVolBegIssue->isEnabled());
    tick(f->chkIssueContinue);
    EXPECT_TRUE(f->txtVolBegIssue->isEnabled());
    // The start-day drop-down fills the box.
    f->cmbFstReceDate->setCurrentIndex(6);
    emit f->cmbFstReceDate->activated(6);
    EXPECT_EQ(f->txtFstReceDate->text(), "7");
    // Digits only.
    type(f->txtBegVol, "1a2");
    EXPECT_EQ(f->txtBegVol->text(), "12");
}

TEST_P(ChkConfigScreen, ChecksShowTheirMessagesInOrderAndKeepTheScreenOpen) {
    auto f = open();
    f->dtpEndDate->setDate(QDate(2030, 12, 31));
    type(f->txtFstReceDate, "");
    type(f->txtPresCopyQty, "1");
    EXPECT_EQ(confirm(*f), "订购起始日期不能大于订购截止日期。");
    EXPECT_EQ(presenter.shown.back().title, kChkConfigCaption);
    f->dtpEndDate->setDate(QDate(2031, 12, 31));
    EXPECT_EQ(confirm(*f), "起始天数不能为空。");
    type(f->txtFstReceDate, "5");
    EXPECT_EQ(confirm(*f), "起始卷，起始期，起始总期不能全部为空。");
    type(f->txtBegVol, "3");
    type(f->txtBegIssue, "4");
    type(f->txtQtyOfVol, "");
    EXPECT_EQ(confirm(*f), "每卷期数不能为空。");
    type(f->txtQtyOfVol, "3");
    EXPECT_EQ(confirm(*f), "起始期不能大于每卷期数。");
    tick(f->chkIssueContinue);
    type(f->txtVolBegIssue, "5");
    EXPECT_EQ(confirm(*f), "首卷首期不能大于起始期。");
    type(f->txtVolBegIssue, "1");
    EXPECT_EQ(confirm(*f), "装订，赠送，交换复本数之和应该等于订户复本数。");
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->txtBegIssue->text(), "4");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_cfg" + kLine), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_vol" + kLine), "0");
}

TEST_P(ChkConfigScreen, ConfirmingPredictsAndCloses) {
    auto f = open();
    type(f->txtFstReceDate, "8");
    type(f->txtBegVol, "12");
    type(f->txtBegIssue, "1");
    type(f->txtQtyOfVol, "12");
    type(f->txtBegTotalIssue, "");
    tick(f->chkLuoMa);
    type(f->txtPresCopyQty, "1");
    type(f->txtBindCopyQty, "1");
    f->cmbAttachment->setCurrentText(QString::fromUtf8("光盘"));
    EXPECT_EQ(confirm(*f), "");
    EXPECT_EQ(f->result(), QDialog::Accepted);
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_vol" + kLine), "12");
    EXPECT_EQ(scalar("SELECT cover_vol||' '||cover_issue||' '||expect_date||' '||attachment FROM "
                     "m_peri_chk_vol" +
                     kLine + " AND peri_no=2"),
              "XⅡ Ⅱ 2031-02-08 光盘");
    EXPECT_EQ(scalar("SELECT pres_copy_qty FROM m_peri_chk_cfg" + kLine), "1");

    auto again = open();
    EXPECT_EQ(again->txtBegVol->text(), "12");
    EXPECT_EQ(again->txtFstReceDate->text(), "8");
    EXPECT_TRUE(again->chkLuoMa->isChecked());
    EXPECT_EQ(again->cmbAttachment->currentText(), QString::fromUtf8("光盘"));
    EXPECT_GE(again->cmbAttachment->findText(QString::fromUtf8("光盘")), 0);
}

TEST_P(ChkConfigScreen, LeavingAnEditedFormAsksSaveDiscardOrStay) {
    auto f = open();
    // Unedited, Esc closes at once.
    QTest::keyClick(f.get(), Qt::Key_Escape);
    EXPECT_EQ(f->result(), QDialog::Rejected);
    EXPECT_TRUE(presenter.shown.empty());

    f = open();
    type(f->txtFstReceDate, "8");
    type(f->txtBegVol, "12");
    presenter.replies.push_back({kMsgCancel, nullptr});
    QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown.back().type, 'C');
    EXPECT_EQ(presenter.shown.back().body, "签到设置已修改，是否保存？");
    EXPECT_TRUE(f->isVisible()) << "取消 stays with the edits";
    EXPECT_EQ(f->txtBegVol->text(), "12");

    presenter.replies.push_back({kMsgNo, nullptr});
    QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
    EXPECT_EQ(f->result(), QDialog::Rejected);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_cfg" + kLine), "0");
    EXPECT_EQ(scalar("SELECT ord_flag FROM m_peri_ord_detl" + kLine), "0");

    // 保存 from the keyboard: Esc, then the answer saves and predicts as 确定 would.
    f = open();
    type(f->txtFstReceDate, "8");
    type(f->txtBegVol, "12");
    presenter.replies.push_back({kMsgOk, nullptr});
    QTest::keyClick(f.get(), Qt::Key_Escape);
    EXPECT_EQ(presenter.shown.back().body, "签到设置已修改，是否保存？");
    EXPECT_EQ(f->result(), QDialog::Accepted);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_cfg" + kLine), "1");
}
