// The order manager's commands that carry details between catalogues, driven through its command
// bar, the target screen and drops on the catalogue tree: normalised numbers, the title change
// copy, cut / copy / paste, the move screen, dragging details and whole catalogues, and the
// export of the marked rows.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTreeWidget>
#include <filesystem>

#include "marc/core/MarcImport.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/gui/frmOrdList.h"
#include "ordering/gui/frmOrdManager.h"
#include "ordering/gui/frmOrdMove.h"
#include "ordering/gui/frmOrdTree.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/CtlRun.h"
#include "tests/support/Screenshot.h"

namespace {

// YZFX 202601 holds 3-1 (with a catalogue record) and 3-2; YZFX 202602 holds its own 3-2.
class OrdXferScreens : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(MarcLoadDemoRecords({}).saved, 40);
        for (const char* year : {"202601", "202602"})
            ASSERT_EQ(intNewOrdCata("YZFX", year), 0);
        OrdDetail d = CompleteDetail("YZFX", "202601", "3-1");
        d.marcNo = scalar("SELECT min(marc_rec_no) FROM marc");
        ASSERT_EQ(intSaveOrdDetail(d, false), 0);
        for (const char* year : {"202601", "202602"}) {
            OrdDetail other = CompleteDetail("YZFX", year, "3-2");
            ASSERT_EQ(intSaveOrdDetail(other, false), 0);
        }
        manager = std::make_unique<frmOrdManager>();
        list = manager->OrderMain;
        tester = std::make_unique<QAbstractItemModelTester>(
            list->model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        manager->m_frmOrdTree->Reload();
        open("202601");
    }
    void TearDown() override {
        tester.reset();
        manager.reset();
        DbTest::TearDown();
    }
    void open(const char* year) {
        ASSERT_TRUE(manager->m_frmOrdTree->selectCatalogue("YZFX", year));
    }
    // The numbers the list shows, in its order.
    std::vector<std::string> shown() const {
        std::vector<std::string> out;
        for (const OrdDetail& d : list->rows())
            out.push_back(d.asordNo);
        return out;
    }
    void pick(const std::string& no) {
        list->spdList->clearSelection();
        for (std::size_t i = 0; i < list->rows().size(); ++i)
            if (list->rows()[i].asordNo == no) list->setCurIndex(static_cast<int>(i));
    }
    static std::string count(const std::string& year, const std::string& no) {
        return scalar("SELECT count(*) FROM m_peri_ord_detl WHERE peri_ord_year='" + year +
                      "' AND asord_no='" + no + "'");
    }
    // Drops the data on the catalogue node of the tree, as a drag from the list or the tree would.
    void dropOn(const std::string& year, QMimeData* data) {
        QTreeWidget* tree = manager->m_frmOrdTree->trvOrder;
        QTreeWidgetItem* node = manager->m_frmOrdTree->catalogueNode("YZFX", year);
        ASSERT_NE(node, nullptr);
        tree->scrollToItem(node);
        const QPointF at = tree->visualItemRect(node).center();
        for (QEvent::Type type : {QEvent::DragEnter, QEvent::DragMove}) {
            QDragMoveEvent move(at.toPoint(), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier,
                                type);
            QApplication::sendEvent(tree->viewport(), &move);
            ASSERT_TRUE(move.isAccepted());
        }
        QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &drop);
        EXPECT_TRUE(drop.isAccepted());
        delete data;
    }
    std::unique_ptr<frmOrdManager> manager;
    std::unique_ptr<QAbstractItemModelTester> tester;
    frmOrdList* list = nullptr;
};
SERIALS_ON_BOTH_BACKENDS(OrdXferScreens);

TEST_P(OrdXferScreens, StandardAndTitleChangeCopyShowInTheList) {
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET fmt_asord_no=NULL");
    ASSERT_EQ(list->Refresh(), 0);
    ASSERT_TRUE(manager->runCommand("cmdSelectAll"));
    ASSERT_TRUE(manager->runCommand("cmdStandard"));
    const int c = list->model->columnOf("FAsordNo");
    ASSERT_GE(c, 0);
    EXPECT_EQ(list->model->index(0, c).data().toString(), "0003-0001");
    EXPECT_EQ(list->model->index(1, c).data().toString(), "0003-0002");
    EXPECT_EQ(count("202602", "3-2"), "1");
    EXPECT_EQ(scalar("SELECT COALESCE(fmt_asord_no, '-') FROM m_peri_ord_detl WHERE "
                     "peri_ord_year='202602'"),
              "-");

    pick("3-1");
    ASSERT_TRUE(manager->runCommand("cmdRename"));
    EXPECT_EQ(shown(), (std::vector<std::string>{"3-1", "3-1:A", "3-2"}));
    ASSERT_NE(list->current(), nullptr);
    EXPECT_EQ(list->current()->asordNo, "3-1:A");
    EXPECT_NE(list->current()->marcNo, list->rows()[0].marcNo);
    EXPECT_EQ(list->current()->status, "0");
    ASSERT_TRUE(manager->runCommand("cmdRename"));
    EXPECT_EQ(presenter.bodies().back(), "此刊已经改名了（带有:A标志），不能再改名复制");
    EXPECT_EQ(shown().size(), 3u);
    // An unsaved new detail has nothing to copy yet.
    ASSERT_TRUE(manager->runCommand("cmdDetlNew"));
    EXPECT_FALSE(manager->command("cmdRename")->isEnabled());
}

TEST_P(OrdXferScreens, CutPastesOnceAndCopyPastesAgain) {
    EXPECT_FALSE(manager->command("cmdDetlPaste")->isEnabled());
    pick("3-1");
    ASSERT_TRUE(manager->runCommand("cmdDetlCut"));
    EXPECT_FALSE(manager->command("cmdDetlPaste")->isEnabled()) << "not into its own catalogue";
    open("202602");
    ASSERT_TRUE(manager->runCommand("cmdDetlPaste"));
    EXPECT_EQ(presenter.bodies().back(), "成功将纪录移动到指定目录中！");
    EXPECT_EQ(shown(), (std::vector<std::string>{"3-1", "3-2"}));
    EXPECT_EQ(count("202601", "3-1"), "0");
    EXPECT_FALSE(manager->command("cmdDetlPaste")->isEnabled()) << "a cut is pasted once";

    // Copy the two back: 3-2 is there already and is listed; 3-1 is copied; both stay here.
    ASSERT_TRUE(manager->runCommand("cmdSelectAll"));
    ASSERT_TRUE(manager->runCommand("cmdDetlCopy"));
    open("202601");
    presenter.shown.clear();
    ASSERT_TRUE(manager->runCommand("cmdDetlPaste"));
    EXPECT_EQ(presenter.bodies(), (std::vector<std::string>{"下列征订号在该目录中已经存在：\n3-2",
                                                            "成功将纪录移动到指定目录中！"}));
    EXPECT_EQ(shown(), (std::vector<std::string>{"3-1", "3-2"}));
    EXPECT_EQ(count("202602", "3-1"), "1");
    // A copy can be pasted again: everything is there now, nothing is written.
    presenter.shown.clear();
    ASSERT_TRUE(manager->runCommand("cmdDetlPaste"));
    EXPECT_EQ(presenter.bodies(),
              std::vector<std::string>{"下列征订号在该目录中已经存在：\n3-1\n3-2"});
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl"), "4");
}

TEST_P(OrdXferScreens, TheMoveScreenAsksForATargetAndRefusesSentDetails) {
    ASSERT_TRUE(manager->runCommand("cmdSelectAll"));
    ASSERT_TRUE(manager->runCommand("cmdDetlMove"));
    frmOrdMove* dlg = manager->moveDialog;
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(dlg->optMove->isChecked());
    EXPECT_TRUE(dlg->m_frmOrdTree->catalogueNode("YZFX", "202601")->isDisabled())
        << "the details' own catalogue is no target";
    dlg->cmdOk->click();
    EXPECT_EQ(presenter.bodies().back(), "请选择目的订购目录！");
    EXPECT_TRUE(dlg->isVisible());
    saveScreenshots(*dlg, "frmOrdMove");

    // 3-1 has been sent meanwhile: a move is refused whole, a copy goes.
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='1' WHERE asord_no='3-1'");
    ASSERT_TRUE(dlg->m_frmOrdTree->selectCatalogue("YZFX", "202602"));
    dlg->cmdOk->click();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(presenter.bodies().back(), "下列征订号已经发订，不能移出原目录（可以复制）：\n3-1");
    EXPECT_EQ(count("202602", "3-1"), "0");
    EXPECT_EQ(shown(), (std::vector<std::string>{"3-1", "3-2"}));

    ASSERT_TRUE(manager->runCommand("cmdDetlMove"));
    dlg = manager->moveDialog;
    ASSERT_TRUE(dlg->m_frmOrdTree->selectCatalogue("YZFX", "202602"));
    dlg->optCopy->setChecked(true);
    dlg->cmdOk->click();
    EXPECT_EQ(count("202602", "3-1"), "1");
    EXPECT_EQ(scalar("SELECT ord_flag FROM m_peri_ord_detl WHERE peri_ord_year='202602' AND "
                     "asord_no='3-1'"),
              "0");
    EXPECT_EQ(shown(), (std::vector<std::string>{"3-1", "3-2"}));
}

TEST_P(OrdXferScreens, DraggingDetailsOrACatalogueOntoTheTreeAsksFirst) {
    manager->show();
    QApplication::processEvents();
    pick("3-1");
    const QModelIndex at = list->spdList->currentIndex();
    ASSERT_TRUE(at.isValid());
    auto dragged = [&] { return list->spdList->model()->mimeData({at}); };

    presenter.replies.push_back({kMsgCancel, {}});
    dropOn("202602", dragged());
    EXPECT_EQ(presenter.bodies().back(), "是否确定将订购记录添加到 全国邮政报刊发行局 202602 中?");
    EXPECT_EQ(count("202602", "3-1"), "0");
    presenter.replies.push_back({kMsgOk, {}});
    dropOn("202602", dragged());
    EXPECT_EQ(count("202602", "3-1"), "1");
    EXPECT_EQ(count("202601", "3-1"), "1") << "a drag copies";

    // The whole of 202602 merged into 202601: its 3-1 and 3-2 are there already.
    g_OraDatabase->execute(
        "UPDATE m_peri_ord_detl SET asord_no='3-9' WHERE peri_ord_year='202602' AND "
        "asord_no='3-1'");
    QTreeWidget* tree = manager->m_frmOrdTree->trvOrder;
    tree->setCurrentItem(manager->m_frmOrdTree->catalogueNode("YZFX", "202602"));
    presenter.replies.push_back({kMsgOk, {}});
    auto* own = new QMimeData;
    own->setData(tree->model()->mimeTypes().first(), "x");
    dropOn("202601", own);
    EXPECT_EQ(presenter.bodies()[presenter.bodies().size() - 3],
              "是否确定将 全国邮政报刊发行局 202602 订购记录合并到 全国邮政报刊发行局 202601 中?");
    EXPECT_EQ(count("202601", "3-9"), "1");
    EXPECT_EQ(count("202602", "3-9"), "1");
}

TEST_P(OrdXferScreens, ExportAreaWritesTheMarkedRowsOnly) {
    const std::string xlsx = home->dir() + "/TMP/area.xlsx";
    std::string suggested;
    manager->chooseExportFile = [&](const std::string& name) {
        suggested = name;
        return xlsx;
    };
    pick("3-2");
    ASSERT_TRUE(manager->runCommand("cmdExportArea"));
    EXPECT_EQ(suggested, "YZFX_202601.xlsx");
    const std::string txt = home->dir() + "/TMP/area.txt";
    ASSERT_EQ(
        std::system(("python3 " SERIALS_TEST_SCRIPTS "/read_xlsx.py " + xlsx + " >" + txt).c_str()),
        0);
    const std::string sheet = slurp(txt);
    EXPECT_NE(sheet.find("ROW 3-2\t"), std::string::npos) << sheet;
    EXPECT_EQ(sheet.find("ROW 3-1\t"), std::string::npos) << sheet;
    // The whole list for comparison.
    ASSERT_TRUE(manager->runCommand("cmdExportAll"));
    ASSERT_EQ(
        std::system(("python3 " SERIALS_TEST_SCRIPTS "/read_xlsx.py " + xlsx + " >" + txt).c_str()),
        0);
    EXPECT_NE(slurp(txt).find("ROW 3-1\t"), std::string::npos);
}

}  // namespace
