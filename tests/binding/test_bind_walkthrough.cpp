// A new librarian's road through the client screens on the demo database, on both backends:
// last year's issues of one title bound on the binding screen in a batch entered there, the
// batch sent to the binder, the first volume received with a call number made from its class
// serial, accessioned on the accession screen, and the binding list PDF read back for the
// volume's call number and property number.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <algorithm>

#include "binding/gui/StoreEntryPane.h"
#include "binding/gui/frmOldBind.h"
#include "binding/gui/frmOldBindBatch.h"
#include "binding/gui/frmOldBindBound.h"
#include "binding/gui/frmOldCheckStore.h"
#include "binding/gui/frmOldCreateCallNo.h"
#include "marc/core/basBMIndex.h"
#include "tests/support/DemoSession.h"
#include "tests/support/PdfText.h"
#include "tests/support/Screenshot.h"

namespace {

class BindWalkthrough : public DemoDbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        openAs("ZD01");
        if (HasFatalFailure()) return;
        ASSERT_EQ(LIB_LoadMarcIndexParams(), 0) << g_ErrInfo.strDesc;
        LIB_DB_PinServerDate("2026-03-02 10:00:00");
    }
    // The window of the kind a command has just opened.
    template <class Form>
    Form* opened() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<Form*>(w); f && f->isVisible()) return f;
        return nullptr;
    }
    // Closes a window the way the operator does; what waits for it to go then runs.
    static void closeWindow(QWidget* w) {
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    template <class Rows, class Pred>
    static int rowWhere(const Rows& rows, Pred pred) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (pred(rows[i])) return static_cast<int>(i);
        return -1;
    }
};
SERIALS_ON_BOTH_BACKENDS(BindWalkthrough);

TEST_P(BindWalkthrough, OneTitleIsBoundSentReceivedAccessionedAndItsSlipCarriesTheNumbers) {
    frmOldBind bind;
    bind.resize(1280, 800);
    bind.show();
    bind.cmbBinder->setCurrentIndex(bind.cmbBinder->findData("ZD01"));

    // A new batch for the binder, entered from the binding screen.
    bind.actBatch->trigger();
    auto* batches = opened<frmOldBindBatch>();
    ASSERT_NE(batches, nullptr);
    batches->cmdNew->click();
    batches->txtBindBatchNo->setText("2026-02");
    batches->txtRemark->setText("第二批");
    batches->cmdOk->click();
    closeWindow(batches);
    ASSERT_GE(bind.cmbBatch->findText("2026-02"), 0);

    // Last year's issues of the title, bound in the new batch.
    bind.cmbYear->setCurrentIndex(bind.cmbYear->findData("2025"));
    bind.txtFind->setText("图书馆学研究进展");
    bind.actFind->trigger();
    int title =
        rowWhere(bind.titles(), [](const BindTitle& t) { return t.marcRecNo == "0000000001"; });
    ASSERT_GE(title, 0) << ::testing::PrintToString(presenter.bodies());
    EXPECT_EQ(bind.titles()[title].issues, 12);
    for (int r = 0; r < bind.spdTitle.model->rowCount(); ++r)
        bind.spdTitle.model->item(r, 0)->setCheckState(r == title ? Qt::Checked : Qt::Unchecked);
    bind.cmbBatch->setCurrentIndex(bind.cmbBatch->findText("2026-02"));
    bind.cmbBindNum->setCurrentIndex(bind.cmbBindNum->findData(false));
    bind.actCreate->trigger();
    // The search then runs again and finds nothing left of the title to bind.
    const std::vector<std::string> bodies = presenter.bodies();
    EXPECT_EQ(std::count(bodies.begin(), bodies.end(), "已生成合订本 2 本。"), 1)
        << ::testing::PrintToString(bodies);
    ASSERT_EQ(bind.records().size(), 2u);
    // The demo's batch at the binder holds the year's first two numbers.
    EXPECT_EQ(bind.records()[0].bindNo, "2026000003");
    EXPECT_EQ(bind.records()[0].bgnEndVol, "41(1)-41(6)");
    EXPECT_EQ(bind.records()[1].bgnEndVol, "41(7)-41(12)");

    // The batch goes to the binder.
    bind.actBatch->trigger();
    batches = opened<frmOldBindBatch>();
    ASSERT_NE(batches, nullptr);
    int sent =
        rowWhere(batches->batches(), [](const BindBatch& b) { return b.batchNo == "2026-02"; });
    ASSERT_GE(sent, 0);
    batches->spdBatch.selectRow(sent);
    batches->cmdSend->click();
    EXPECT_EQ(scalar("SELECT send_bind_date FROM m_bind_batch_lst WHERE bookbinder_code='ZD01' "
                     "AND bind_batch_no='2026-02'"),
              "2026-03-02");
    closeWindow(batches);

    // The first volume comes back; its call number is made from the class serial on the way.
    bind.spdBind.selectRow(0);
    bind.actReceive->trigger();
    auto* bound = opened<frmOldBindBound>();
    ASSERT_NE(bound, nullptr);
    EXPECT_EQ(bound->txtBindNo->text(), "2026000003");
    EXPECT_TRUE(bound->txtCallNo->text().isEmpty());
    bound->storePane->cmdCallNo->click();
    auto* callNo = opened<frmOldCreateCallNo>();
    ASSERT_NE(callNo, nullptr);
    EXPECT_EQ(callNo->txtMarcRecNo->text(), "0000000001");
    callNo->cmbClsCode->setCurrentIndex(callNo->cmbClsCode->findData("CLC"));
    callNo->txtCallNo->setText("G25");
    callNo->cmdSerial->click();
    EXPECT_EQ(callNo->txtCallNo->text(), "G25/13");  // the demo's G25 series stands at 12
    saveScreenshots(*callNo, "frmOldCreateCallNo-" + QString::fromStdString(GetParam()));
    callNo->cmdOk->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(bound->txtCallNo->text(), "G25/13");
    bound->chkStore->setChecked(false);  // accessioned on the accession screen
    bound->txtBarCode->setText("31000002");
    bound->cmdOk->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(opened<frmOldBindBound>(), nullptr);
    EXPECT_EQ(scalar("SELECT bound_flag||'|'||call_no FROM m_peri_bind_detl WHERE "
                     "bind_no='2026000003'"),
              "1|G25/13");
    EXPECT_EQ(scalar("SELECT call_no FROM call_no_lst WHERE marc_rec_no='0000000001'"), "G25/13");

    // Accessioned among the checked volumes, for reading room use.
    frmOldCheckStore store;
    store.cmbFlag->setCurrentIndex(1);
    int volume =
        rowWhere(store.records(), [](const BindRecord& r) { return r.bindNo == "2026000003"; });
    ASSERT_GE(volume, 0);
    store.spdBound.selectRow(volume);
    EXPECT_EQ(store.storePane->txtCallNo->text(), "G25/13");
    ASSERT_TRUE(store.storePane->selectBatch("QH202601"));
    EXPECT_EQ(store.storePane->txtPropNo->text(), "Q0000002");
    store.storePane->txtBarCode->setText("31000002");
    store.storePane->cmbLendGrad->setCurrentIndex(store.storePane->cmbLendGrad->findData("C"));
    store.storePane->cmbCircType->setCurrentIndex(store.storePane->cmbCircType->findData("22"));
    saveScreenshots(store, "frmOldCheckStore-" + QString::fromStdString(GetParam()));
    store.cmdStore->click();
    EXPECT_EQ(scalar("SELECT prop_no||'|'||call_no||'|'||vol_peri||'|'||chk_batch_no FROM "
                     "indi_acct WHERE asord_no='2026000003'"),
              "Q0000002|G25/13|41(1)-41(6)|QH202601");
    EXPECT_EQ(scalar("SELECT lend_grd||circ_type_code FROM item WHERE prop_no='Q0000002'"), "C22");

    // The binding list of the batch from the binding screen: the accessioned volume's slip
    // carries its call number and property number.
    const std::string pdf = home->dir() + "/TMP/walkthrough.pdf";
    ASSERT_TRUE(bind.printToPdf(QString::fromStdString(pdf)));
    std::string text = pdfText(pdf);
    for (const char* expected : {"期刊装订清单", "装订批次：2026-02", "2026000003", "2026000004",
                                 "随书单", "G25/13", "Q0000002", "制表人员：ZD01"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

}  // namespace
