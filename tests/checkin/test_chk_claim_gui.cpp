// The claim screens under offscreen Qt on the demo library, as the demo check-in librarian
// uses them: the demo's missing issues listed, one quantity changed, the claim list printed to
// PDF and read back, the claims recorded, and a month later the second claims proposed; the
// three lists; the mail screen's checks and a mail server that is down; sorted and filtered
// grids, whose commands act on the marked rows shown; remembered column widths and the keys.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include "app/basQKLogin.h"
#include "checkin/gui/ClaimGridModel.h"
#include "checkin/gui/TransferGridModel.h"
#include "checkin/gui/frmNewAskLack.h"
#include "checkin/gui/frmNewAslackMail.h"
#include "checkin/gui/frmNewTrans.h"
#include "common/gui/Grid.h"
#include "db/basLibDB.h"
#include "marc/core/MarcImport.h"
#include "tests/support/CtlRun.h"
#include "tests/support/DemoSession.h"
#include "tests/support/PdfText.h"
#include "tests/support/Screenshot.h"
#include "tests/support/SmtpSink.h"
#include "tests/support/TestDb.h"

namespace {

using Mode = QAbstractItemModelTester::FailureReportingMode;

class ClaimScreens : public DemoDbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        openAs("JD01");
        if (HasFatalFailure()) return;
        LIB_DB_PinServerDate("2026-06-20 08:30:00");
        form = std::make_unique<frmNewAskLack>();
        tester = std::make_unique<QAbstractItemModelTester>(form->model, Mode::Fatal);
        viewTester =
            std::make_unique<QAbstractItemModelTester>(form->spdDetail->model(), Mode::Fatal);
        form->cmbLoca->setCurrentIndex(form->cmbLoca->findData("QK01"));
    }
    void TearDown() override {
        viewTester.reset();
        tester.reset();
        form.reset();
        DbTest::TearDown();
    }
    // The grid as "order number#issue (claims so far) quantity" lines.
    std::vector<std::string> grid() {
        std::vector<std::string> out;
        for (const ClaimCandidate& c : form->model->rows())
            out.push_back(c.asordNo + "#" + std::to_string(c.periNo) + " (" +
                          std::to_string(c.claimCount) + ") " + std::to_string(c.qty));
        return out;
    }
    void show(int list) {
        form->optShowType[list]->click();
        form->cmdSearch->click();
    }
    // The candidate for an issue of an order line, from the grid's rows.
    const ClaimCandidate& candidate(const std::string& asordNo, int periNo) {
        for (const ClaimCandidate& c : form->model->rows())
            if (c.asordNo == asordNo && c.periNo == periNo) return c;
        throw std::runtime_error("not listed: " + asordNo + "#" + std::to_string(periNo));
    }
    // "quantity/remark" of the claims recorded today for an issue, "" when there is none.
    static std::string claimed(const ClaimCandidate& c) {
        const std::string v = scalar(
            "SELECT aslack_detl_qty||'/'||COALESCE(remark,'') FROM m_aslack_rec WHERE "
            "aslack_detl_date='2026-06-20' AND peri_id='" +
            c.periId + "' AND location='" + c.location + "'");
        return v == "<no row>" ? "" : v;
    }
    // The grid as the operator sees it: "order number#cover" of each row shown, in order.
    std::vector<std::string> shown() {
        std::vector<std::string> out;
        QAbstractItemModel* v = form->spdDetail->model();
        for (int r = 0; r < v->rowCount(); ++r)
            out.push_back(v->index(r, ClaimGridModel::AsordNo).data().toString().toStdString() +
                          "#" + v->index(r, ClaimGridModel::Cover).data().toString().toStdString());
        return out;
    }
    std::unique_ptr<frmNewAskLack> form;
    std::unique_ptr<QAbstractItemModelTester> tester;
    std::unique_ptr<QAbstractItemModelTester> viewTester;
};
SERIALS_ON_BOTH_BACKENDS(ClaimScreens);

TEST_P(ClaimScreens, DemoLibrarianListsPrintsClaimsAndSeesTheSecondClaimLater) {
    EXPECT_EQ(form->cmbYear->currentText(), "2026");
    form->cmdSearch->click();
    ASSERT_EQ(grid(), (std::vector<std::string>{"2-17#3 (1) 2", "2-10#4 (0) 1", "2-10#5 (0) 2",
                                                "2-17#5 (0) 2"}));
    // Only the issue after which a later one has come; then the list to claim again.
    show(1);
    EXPECT_EQ(grid(), std::vector<std::string>{"2-17#3 (1) 2"});
    show(0);

    ClaimGridModel* m = form->model;
    ASSERT_TRUE(m->setData(m->index(2, ClaimGridModel::Qty), 1, Qt::EditRole));
    EXPECT_FALSE(m->setData(m->index(2, ClaimGridModel::Qty), 0, Qt::EditRole));
    ASSERT_TRUE(m->setData(m->index(2, ClaimGridModel::Remark), "先寄一本", Qt::EditRole));
    ASSERT_TRUE(m->setData(m->index(3, ClaimGridModel::Mark), Qt::Unchecked, Qt::CheckStateRole));

    std::string pdf = home->dir() + "/TMP/claims.pdf";
    ASSERT_TRUE(form->printToPdf(QString::fromStdString(pdf)));
    std::string text = pdfText(pdf);
    for (const char* part :
         {"期刊催缺单", "催缺日期：2026-06-20", "发行商：YZFX", "催缺复本", "排架号", "45卷3期",
          "45卷4期", "45卷5期", "总计：3 期 4 本", "制表日期：2026-06-20", "制表人员：JD01"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    EXPECT_EQ(text.find("45卷5期", text.find("45卷5期") + 1), std::string::npos);  // once

    form->cmdAsk->click();
    EXPECT_EQ(presenter.shown.back().body, "催缺完成！");
    EXPECT_EQ(grid(), std::vector<std::string>{"2-17#5 (0) 2"});  // the one left unmarked
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM m_aslack_rec WHERE aslack_detl_date='2026-06-20'"), "3");
    EXPECT_EQ(scalar("SELECT aslack_detl_qty||'/'||remark FROM m_aslack_rec WHERE "
                     "peri_id='0000900005' AND location='QK01'"),
              "1/先寄一本");
    show(2);
    EXPECT_EQ(grid().size(), 3u);

    // A month on, the second claims fall due (the third for 2-17#3) and issue 6 for the first.
    LIB_DB_PinServerDate("2026-07-21 08:30:00");
    show(0);
    EXPECT_EQ(grid(), (std::vector<std::string>{"2-17#3 (2) 2", "2-10#4 (1) 1", "2-10#5 (1) 2",
                                                "2-17#5 (0) 2", "2-10#6 (0) 2", "2-17#6 (0) 2"}));
}

// Sorted by cover, newest first, and narrowed to one order line: the quantity and remark typed
// in the view reach the intended issue, the list prints in the order shown, and only the marked
// rows shown are claimed; 全不选 under a filter leaves the hidden marks alone.
TEST_P(ClaimScreens, ASortedAndFilteredGridClaimsExactlyTheMarkedRowsShown) {
    form->cmdSearch->click();
    ASSERT_EQ(form->model->rowCount(), 4);
    form->spdDetail->sortByColumn(ClaimGridModel::Cover, Qt::DescendingOrder);
    form->txtFilter->setText("2-10");
    ASSERT_EQ(shown(), (std::vector<std::string>{"2-10#45卷5期", "2-10#45卷4期"}));
    QAbstractItemModel* view = form->spdDetail->model();
    ASSERT_TRUE(view->setData(view->index(0, ClaimGridModel::Qty), 1, Qt::EditRole));
    ASSERT_TRUE(view->setData(view->index(0, ClaimGridModel::Remark), "先寄一本", Qt::EditRole));
    ASSERT_TRUE(view->setData(view->index(1, ClaimGridModel::Remark), "补寄", Qt::EditRole));

    const std::string pdf = home->dir() + "/TMP/sorted.pdf";
    ASSERT_TRUE(form->printToPdf(QString::fromStdString(pdf)));
    const std::string text = pdfText(pdf);
    ASSERT_NE(text.find("45卷4期"), std::string::npos) << text;
    EXPECT_LT(text.find("45卷5期"), text.find("45卷4期")) << "printed in the order shown";
    EXPECT_NE(text.find("总计：2 期 2 本"), std::string::npos) << text;
    EXPECT_EQ(text.find("2-17"), std::string::npos) << "rows the filter hides are not printed";

    const ClaimCandidate c4 = candidate("2-10", 4), c5 = candidate("2-10", 5);
    const ClaimCandidate d3 = candidate("2-17", 3), d5 = candidate("2-17", 5);
    form->cmdAsk->click();
    EXPECT_EQ(presenter.shown.back().body, "催缺完成！");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM m_aslack_rec WHERE aslack_detl_date='2026-06-20'"), "2");
    EXPECT_EQ(claimed(c5), "1/先寄一本");
    EXPECT_EQ(claimed(c4), "1/补寄");
    EXPECT_EQ(claimed(d3), "");
    EXPECT_EQ(claimed(d5), "");
    EXPECT_TRUE(shown().empty()) << "the filter stays; its order line is claimed";

    // 全不选 on the one row shown, then every row shown again: only the other is claimed.
    form->txtFilter->setText("45卷5期");
    ASSERT_EQ(shown(), std::vector<std::string>{"2-17#45卷5期"});
    form->cmdDisselect->click();
    form->txtFilter->clear();
    ASSERT_EQ(shown(), (std::vector<std::string>{"2-17#45卷5期", "2-17#45卷3期"}));
    form->cmdAsk->click();
    EXPECT_EQ(claimed(d3), "2/");
    EXPECT_EQ(claimed(d5), "");
    EXPECT_EQ(shown(), std::vector<std::string>{"2-17#45卷5期"});
}

// A width set by hand stays through a new search and comes back with the screen, from the
// operator's layout file; the keys reach the commands and the filter.
TEST_P(ClaimScreens, ColumnWidthsAreRememberedAndTheKeysWork) {
    form->resize(1280, 800);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form->txtSearch, Qt::Key_F5);
    ASSERT_EQ(form->model->rowCount(), 4) << "F5 searches";
    saveScreenshots(*form, "frmNewAskLack");
    // In the room the main window leaves a screen at 1280x800, what a claim is decided on is in
    // view without scrolling.
    form->resize(1000, 700);
    QApplication::processEvents();
    for (int c : {ClaimGridModel::Title, ClaimGridModel::Cover, ClaimGridModel::Location,
                  ClaimGridModel::Qty, ClaimGridModel::Remark, ClaimGridModel::Count})
        EXPECT_LE(form->spdDetail->columnViewportPosition(c) + form->spdDetail->columnWidth(c),
                  form->spdDetail->viewport()->width())
            << c;
    QHeaderView* header = form->spdDetail->horizontalHeader();
    const int width = header->sectionSize(ClaimGridModel::Title) + 97;
    header->resizeSection(ClaimGridModel::Title, width);
    form->cmdSearch->click();
    EXPECT_EQ(header->sectionSize(ClaimGridModel::Title), width);
    {
        frmNewAskLack reopened;
        reopened.cmdSearch->click();
        EXPECT_EQ(reopened.spdDetail->horizontalHeader()->sectionSize(ClaimGridModel::Title),
                  width);
    }
    QFile layout(QString::fromStdString(home->dir()) + "/layout.ini");
    ASSERT_TRUE(layout.open(QIODevice::ReadOnly));
    EXPECT_TRUE(layout.readAll().contains("frmNewAskLack")) << "kept in the layout file";

    for (QPushButton* b : {form->cmdSearch, form->cmdSelectAll, form->cmdDisselect, form->cmdAsk,
                           form->cmdPrint, form->cmdPdf, form->cmdSendMail, form->cmdCancel})
        EXPECT_TRUE(b->toolTip().endsWith(")")) << b->toolTip().toStdString();
    EXPECT_TRUE(form->cmdAsk->toolTip().endsWith("(Ctrl+S)"));

    form->spdDetail->setFocus();
    QTest::keyClick(form->spdDetail, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), form->txtFilter) << "Ctrl+F goes to the filter";
    QTest::keyClicks(form->txtFilter, "2-17");
    EXPECT_EQ(form->spdDetail->model()->rowCount(), 2);
    QTest::keyClick(form->txtFilter, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(form->model->isMarked(0) != form->model->isMarked(1)) << "全不选 on 2-17 only";
    QTest::keyClick(form->txtFilter, Qt::Key_Escape);
    EXPECT_TRUE(form->txtFilter->text().isEmpty()) << "Esc empties the filter first";
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->spdDetail->model()->rowCount(), 4);
    QTest::keyClick(form->txtFilter, Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible()) << "then closes the screen";
}

TEST_P(ClaimScreens, MailNeedsOneSupplierAndAServerThatAnswers) {
    form->cmdSearch->click();
    form->cmdSendMail->click();
    EXPECT_EQ(presenter.shown.back().body, "邮件催缺必须选择一个发行商。");
    EXPECT_EQ(form->mailForm, nullptr);
    for (int i = 0; i < form->lstPubl->count(); ++i)
        if (form->lstPubl->item(i)->data(Qt::UserRole).toString() == "YZFX")
            form->lstPubl->item(i)->setSelected(true);
    form->cmdSendMail->click();
    frmNewAslackMail* mail = form->mailForm;
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(mail->txtFrom->text(), "chenxf@lib.example.edu.cn");
    EXPECT_EQ(mail->txtSubject->text(), " 催缺期刊列表");
    QAbstractItemModelTester listTester(mail->flxOrdDetail->model(), Mode::Fatal);
    EXPECT_EQ(mail->flxOrdDetail->model()->rowCount(), 4);
    // the second claim of 2-17#3
    EXPECT_EQ(mail->flxOrdDetail->model()->index(0, 7).data().toString(), "2");

    mail->txtFrom->clear();
    mail->cmdOk->click();
    EXPECT_EQ(presenter.shown.back().body, "请输入完整的发信人信息！");
    mail->txtFrom->setText("chenxf@lib.example.edu.cn");
    mail->txtTo->setText("orders@yzfx.example.cn");
    mail->txtSubject->setText(" ");
    mail->cmdOk->click();
    EXPECT_EQ(presenter.shown.back().body, "请输入主题！");
    mail->txtSubject->setText(" 催缺期刊列表");

    home->writeIni(home->workingIni() + "[MAIL]\nSMTP=127.0.0.1:" + closedPort() +
                   "\nUSE_SMTP=1\n");
    mail->cmdOk->click();
    EXPECT_EQ(presenter.shown.back().type, 'E');
    EXPECT_NE(presenter.shown.back().body.find("onnect"), std::string::npos);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM m_aslack_rec"), "1");  // the demo's own claim
    EXPECT_TRUE(mail->isVisible());

    SmtpSink sink(home->dir());
    home->writeIni(home->workingIni() + "[MAIL]\nSMTP=127.0.0.1:" + sink.port + "\nUSE_SMTP=1\n");
    // Sent by its key from the body, where Enter starts a new line.
    mail->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mail));
    QTest::keyClick(mail->txtBody, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(presenter.shown.at(presenter.shown.size() - 2).body, " 发送邮件成功！");
    EXPECT_EQ(form->mailForm, nullptr);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM m_aslack_rec"), "5");
    EXPECT_NE(sink.message(1).find("ROW YZFX\t202601\t2-17"), std::string::npos);
}

TEST_P(ClaimScreens, HandOverOfTheDemoCopiesAndItsList) {
    frmNewTrans trans;
    trans.dtpFrom->setDate(QDate(2026, 4, 13));
    trans.dtpTo->setDate(QDate(2026, 4, 14));
    QAbstractItemModelTester modelTester(trans.model, Mode::Fatal);
    QAbstractItemModelTester viewTester(trans.spdTrans->model(), Mode::Fatal);
    trans.cmdSearch->click();
    QAbstractItemModel* view = trans.spdTrans->model();
    ASSERT_EQ(view->rowCount(), 3);
    EXPECT_EQ(view->index(0, TransferGridModel::AsordNo).data().toString(), "2-10");
    EXPECT_EQ(view->index(2, TransferGridModel::AsordNo).data().toString(), "2-17");
    presenter.replies.push_back({kMsgOk, nullptr});
    trans.cmdTrans->click();
    EXPECT_EQ(presenter.shown.at(presenter.shown.size() - 2).body, "交接完成！");
    EXPECT_EQ(presenter.shown.back().body, "没有符合条件的可交接期刊！");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM m_peri_item WHERE item_stat='1' AND "
                     "conn_date='2026-06-20'"),
              "3");
    trans.optHandedOver->click();
    trans.cmdSearch->click();
    ASSERT_EQ(view->rowCount(), 3);
    std::string pdf = home->dir() + "/TMP/trans.pdf";
    ASSERT_TRUE(trans.printToPdf(QString::fromStdString(pdf)));
    std::string text = pdfText(pdf);
    EXPECT_NE(text.find("总计：2 种 2 本"), std::string::npos) << text;
    EXPECT_NE(text.find("总计：1 种 1 本"), std::string::npos) << text;
    EXPECT_NE(text.find("2026-04-13 至 2026-04-14"), std::string::npos) << text;
}

// Sorted by sub-location, last first, and narrowed to one order line: the row unmarked in the
// view is left at the desk and the rows the filter hides are not touched; 全选 under a filter
// marks the rows shown alone, and taking back acts on those.
TEST_P(ClaimScreens, HandOverAndTakeBackActOnTheMarkedRowsShown) {
    frmNewTrans trans;
    QAbstractItemModelTester viewTester(trans.spdTrans->model(), Mode::Fatal);
    trans.dtpFrom->setDate(QDate(2026, 4, 13));
    trans.dtpTo->setDate(QDate(2026, 4, 14));
    trans.cmdSearch->click();
    const std::vector<TransferRow> rows = trans.model->rows();
    ASSERT_EQ(rows.size(), 3u);
    // Copies of a row handed over today.
    auto handedOver = [](const TransferRow& r) {
        return scalar(
            "SELECT COUNT(*) FROM m_peri_item WHERE item_stat='1' AND "
            "conn_date='2026-06-20' AND peri_id='" +
            r.periId + "' AND location='" + r.location + "' AND dis_location='" + r.disLocation +
            "'");
    };

    trans.spdTrans->sortByColumn(TransferGridModel::DisLocation, Qt::DescendingOrder);
    trans.txtFilter->setText("2-17");
    QAbstractItemModel* view = trans.spdTrans->model();
    ASSERT_EQ(view->rowCount(), 2);
    const TransferRow& first = rows.at(trans.proxy->mapToSource(view->index(0, 0)).row());
    const TransferRow& second = rows.at(trans.proxy->mapToSource(view->index(1, 0)).row());
    ASSERT_EQ(first.asordNo, "2-17");
    ASSERT_EQ(second.asordNo, "2-17");
    ASSERT_NE(first.disLocation, second.disLocation);
    const TransferRow& hidden = rows.at(0);
    ASSERT_EQ(hidden.asordNo, "2-10");
    ASSERT_TRUE(
        view->setData(view->index(1, TransferGridModel::Mark), Qt::Unchecked, Qt::CheckStateRole));

    presenter.replies.push_back({kMsgOk, nullptr});
    trans.cmdTrans->click();
    EXPECT_EQ(presenter.shown.back().body, "交接完成！");
    EXPECT_EQ(handedOver(first), "1") << "the marked row shown is handed over";
    EXPECT_EQ(handedOver(second), "0") << "the row unmarked in the view is not";
    EXPECT_EQ(handedOver(hidden), "0") << "the row the filter hides is not";

    // The rest handed over, then the 2-17 copies alone taken back.
    trans.txtFilter->clear();
    ASSERT_EQ(view->rowCount(), 2);
    presenter.replies.push_back({kMsgOk, nullptr});
    trans.cmdTrans->click();
    ASSERT_EQ(handedOver(second), "1");
    ASSERT_EQ(handedOver(hidden), "1");
    trans.optHandedOver->click();
    trans.cmdSearch->click();
    ASSERT_EQ(view->rowCount(), 3);
    // Nothing marked, then 全选 of the rows the filter shows, then every row shown again.
    trans.cmdDisselect->click();
    trans.txtFilter->setText("2-17");
    trans.cmdSelectAll->click();
    trans.txtFilter->clear();
    ASSERT_EQ(view->rowCount(), 3);
    presenter.replies.push_back({kMsgOk, nullptr});
    trans.cmdUndo->click();
    EXPECT_EQ(presenter.shown.back().body, "取回完成！");
    EXPECT_EQ(handedOver(first), "0");
    EXPECT_EQ(handedOver(second), "0");
    EXPECT_EQ(handedOver(hidden), "1") << "hidden when 全选 was pressed, so still handed over";
}

// The hand-over grid's widths stay through a new search and a reopened screen.
TEST_P(ClaimScreens, HandOverColumnWidthsAreRemembered) {
    auto trans = std::make_unique<frmNewTrans>();
    trans->resize(1280, 800);
    trans->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(trans.get()));
    trans->dtpFrom->setDate(QDate(2026, 4, 13));
    trans->cmdSearch->click();
    ASSERT_EQ(trans->spdTrans->model()->rowCount(), 3);
    saveScreenshots(*trans, "frmNewTrans");
    trans->resize(1000, 700);
    QApplication::processEvents();
    for (int c :
         {TransferGridModel::Title, TransferGridModel::Cover, TransferGridModel::DisLocation,
          TransferGridModel::Copies, TransferGridModel::ChkDate})
        EXPECT_LE(trans->spdTrans->columnViewportPosition(c) + trans->spdTrans->columnWidth(c),
                  trans->spdTrans->viewport()->width())
            << c;
    QHeaderView* header = trans->spdTrans->horizontalHeader();
    const int width = header->sectionSize(TransferGridModel::Title) + 97;
    header->resizeSection(TransferGridModel::Title, width);
    trans->cmdSearch->click();
    EXPECT_EQ(header->sectionSize(TransferGridModel::Title), width);
    trans = std::make_unique<frmNewTrans>();
    trans->cmdSearch->click();
    EXPECT_EQ(trans->spdTrans->horizontalHeader()->sectionSize(TransferGridModel::Title), width);
    for (QPushButton* b : trans->findChildren<QPushButton*>())
        EXPECT_TRUE(b->toolTip().endsWith(")")) << b->objectName().toStdString();
}

}  // namespace
