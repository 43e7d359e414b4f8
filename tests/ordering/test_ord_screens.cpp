// The ordering screens under offscreen Qt: a catalogue created in the tree, a detail entered
// through the panes and saved, read back as entered; the annual price and fund amounts follow
// the unit price; refusals and validation messages as the operator sees them; closing with
// unsaved rows; the manager's command states; the templates of a new detail and a new record for
// a detail; every grid model under the model tester.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "app/MainEntries.h"
#include "app/basQKLogin.h"
#include "app/frmMain.h"
#include "common/gui/Grid.h"
#include "db/basLibDB.h"
#include "ordering/core/basOrdFile.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/gui/frmOrdAsordList.h"
#include "ordering/gui/frmOrdInfo.h"
#include "ordering/gui/frmOrdList.h"
#include "ordering/gui/frmOrdManager.h"
#include "ordering/gui/frmOrdMarcAdd.h"
#include "ordering/gui/frmOrdSubInfo.h"
#include "ordering/gui/frmOrdTree.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/TestDb.h"

namespace {

using Mode = QAbstractItemModelTester::FailureReportingMode;

void choose(QComboBox* box, const std::string& code) {
    ASSERT_NE(box, nullptr);
    int i = box->findData(QString::fromStdString(code));
    ASSERT_GE(i, 0) << code;
    box->setCurrentIndex(i);
}

QComboBox* cellCombo(QTableWidget* grid, int row, int column) {
    return qobject_cast<QComboBox*>(grid->cellWidget(row, column));
}

class OrdScreens : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        manager = std::make_unique<frmOrdManager>();
        list = manager->OrderMain;
        info = list->m_frmInfo;
        sub = list->m_frmSubInfo;
    }
    void TearDown() override {
        manager.reset();
        DbTest::TearDown();
    }
    // A subscriber typed into the subscriber pane, with one fund line and its distribution.
    void addSubscriber(const std::string& location, const std::string& chk,
                       const std::string& count, const std::string& fund,
                       std::vector<std::pair<std::string, std::string>> dists) {
        sub->cmdAddSub->click();
        choose(cellCombo(sub->spdSubInfo, 0, 1), location);
        choose(cellCombo(sub->spdSubInfo, 1, 1), chk);
        sub->spdSubInfo->item(2, 1)->setText(QString::fromStdString(count));
        sub->cmdAddFund->click();
        choose(cellCombo(sub->spdFundSrc, 0, 0), fund);
        for (std::size_t i = 0; i < dists.size(); ++i) {
            sub->cmdAddDist->click();
            choose(cellCombo(sub->spdDistLoca, static_cast<int>(i), 0), dists[i].first);
            sub->spdDistLoca->item(static_cast<int>(i), 1)
                ->setText(QString::fromStdString(dists[i].second));
        }
    }
    void typeDetail(const std::string& no) {
        info->typeValue("AsordNo", no);
        info->typeValue("PeriType", "0");
        info->typeValue("GetMode", "01");
        info->typeValue("PublFreq", "月刊");
        info->typeValue("Carrier", "01");
        info->typeValue("MoneyType", "CNY");
        info->typeValue("KindNo", "TP3");
        info->typeValue("Price", "10");
    }
    // A catalogue of saved complete details, shown in the manager.
    void openCatalogueWith(std::initializer_list<const char*> numbers) {
        ASSERT_EQ(intNewOrdCata("YZFX", "202601"), 0);
        for (const char* no : numbers) {
            OrdDetail d = CompleteDetail("YZFX", "202601", no);
            ASSERT_EQ(intSaveOrdDetail(d, false), 0);
        }
        manager->m_frmOrdTree->Reload();
        ASSERT_TRUE(manager->m_frmOrdTree->selectCatalogue("YZFX", "202601"));
    }
    std::string slurpFile(const std::string& path) const {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string lastMessage() const {
        return presenter.shown.empty() ? std::string() : presenter.shown.back().body;
    }
    std::unique_ptr<frmOrdManager> manager;
    frmOrdList* list = nullptr;
    frmOrdInfo* info = nullptr;
    frmOrdSubInfo* sub = nullptr;
};
SERIALS_ON_BOTH_BACKENDS(OrdScreens);

TEST_P(OrdScreens, DetailEnteredThroughThePanesReadsBackAsEntered) {
    ASSERT_EQ(manager->m_frmOrdTree->NewCatalogue("YZFX", "202601"), 0);
    EXPECT_EQ(list->PublCode(), "YZFX");
    QAbstractItemModelTester tester(list->model, Mode::Fatal);
    QAbstractItemModelTester infoTester(info->spdOrderInfo->model(), Mode::Fatal);
    QAbstractItemModelTester subTester(sub->spdSubOrdLst->model(), Mode::Fatal);
    QAbstractItemModelTester fundTester(sub->spdFundSrc->model(), Mode::Fatal);
    QAbstractItemModelTester distTester(sub->spdDistLoca->model(), Mode::Fatal);
    QAbstractItemModelTester subInfoTester(sub->spdSubInfo->model(), Mode::Fatal);

    ASSERT_TRUE(manager->runCommand("cmdDetlNew"));
    EXPECT_EQ(list->State(), FormState::New);
    EXPECT_TRUE(manager->command("cmdCancel")->isEnabled());
    typeDetail("2-15");
    EXPECT_EQ(info->value("TotalPrice"), "120");
    EXPECT_TRUE(manager->command("cmdSave")->isEnabled());
    addSubscriber("QK01", "1", "2", "01", {{"QK01", "1"}, {"QKYL", "1"}});
    addSubscriber("WWQK", "0", "1", "02", {});
    EXPECT_EQ(info->value("SumCount"), "3");
    EXPECT_EQ(sub->spdFundSrc->item(0, 2)->text(), "120");
    // A new unit price moves the annual price and every fund amount.
    info->typeValue("Price", "12.5");
    EXPECT_EQ(info->value("TotalPrice"), "150");
    EXPECT_EQ(sub->spdFundSrc->item(0, 2)->text(), "150");
    ASSERT_TRUE(sub->selectSubscriber(0));
    EXPECT_EQ(sub->spdFundSrc->item(0, 2)->text(), "300");

    ASSERT_TRUE(manager->runCommand("cmdSave"));
    EXPECT_EQ(lastMessage(), "数据成功保存！");
    EXPECT_FALSE(manager->command("cmdSave")->isEnabled());
    const OrdDetail entered = *list->current();

    frmOrdManager reopened;
    ASSERT_TRUE(reopened.m_frmOrdTree->selectCatalogue("YZFX", "202601"));
    ASSERT_EQ(reopened.OrderMain->ItemCount(), 1);
    const OrdDetail& back = *reopened.OrderMain->current();
    for (const char* key : {"AsordNo", "PeriType", "GetMode", "PublFreq", "Carrier", "MoneyType",
                            "Price", "TotalPrice", "KindNo", "SumCount", "Key"})
        EXPECT_EQ(OrdGridModel::valueOf(back, key), OrdGridModel::valueOf(entered, key)) << key;
    EXPECT_EQ(back.subs, entered.subs);
    ASSERT_EQ(back.subs.size(), 2u);
    EXPECT_EQ(back.subs[0].dists.size(), 2u);
    EXPECT_EQ(back.subs[1].funds[0].fundSrc, "02");
    EXPECT_EQ(reopened.OrderMain->m_frmInfo->value("Price"), "12.5");
    EXPECT_EQ(reopened.OrderMain->model->index(0, reopened.OrderMain->model->columnOf("Status"))
                  .data()
                  .toString(),
              "未发订");
}

TEST_P(OrdScreens, SavingAnEmptyDetailListsEveryMissingItemInOrder) {
    ASSERT_EQ(manager->m_frmOrdTree->NewCatalogue("YZFX", "202601"), 0);
    ASSERT_TRUE(manager->runCommand("cmdDetlNew"));
    info->typeValue("PeriType", "");
    info->typeValue("KindNo", "x");
    ASSERT_TRUE(manager->runCommand("cmdSave"));
    EXPECT_EQ(lastMessage(),
              " 必须输入征订号！\n 必须选择订购状态！\n 必须选择获得方式！\n 必须选择出版频率！\n"
              " 必须选择载体类型！\n 必须选择币种！\n 必须输入总价！\n 必须添加订户！\n"
              "记录不能保存！");
    // Filled one by one, the list shrinks from the front.
    const std::pair<const char*, const char*> steps[] = {
        {"AsordNo", "2-15"}, {"PeriType", "0"},    {"GetMode", "01"},   {"PublFreq", "不定期"},
        {"Carrier", "01"},   {"MoneyType", "CNY"}, {"TotalPrice", "80"}};
    const char* next[] = {" 必须选择订购状态！", " 必须选择获得方式！", " 必须选择出版频率！",
                          " 必须选择载体类型！", " 必须选择币种！",     " 必须输入总价！",
                          " 必须添加订户！"};
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        info->typeValue(steps[i].first, steps[i].second);
        ASSERT_TRUE(manager->runCommand("cmdSave"));
        EXPECT_EQ(lastMessage().substr(0, std::string(next[i]).size()), next[i]) << steps[i].first;
    }
    EXPECT_EQ(lastMessage(), " 必须添加订户！\n订购号为：2-15的记录不能保存！");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl"), "0");
    EXPECT_EQ(list->current()->state, RowState::New);
}

TEST_P(OrdScreens, PanesRefuseDuplicatesAndLockedEdits) {
    ASSERT_EQ(manager->m_frmOrdTree->NewCatalogue("YZFX", "202601"), 0);
    ASSERT_TRUE(manager->runCommand("cmdDetlNew"));
    typeDetail("2-15");
    addSubscriber("QK01", "1", "2", "01", {{"QK01", "2"}});
    addSubscriber("WWQK", "0", "1", "02", {});
    choose(cellCombo(sub->spdSubInfo, 0, 1), "QK01");
    EXPECT_EQ(lastMessage(), "存在订户【QK01】,请重新选择！");
    EXPECT_EQ(presenter.shown.back().title, "提示");
    EXPECT_EQ(list->current()->subs[1].location, "WWQK");
    sub->cmdAddFund->click();
    choose(cellCombo(sub->spdFundSrc, 1, 0), "02");
    EXPECT_EQ(lastMessage(), "该经费项目已经存在，请重新选择！");
    // The fund line left without its code keeps the operator on the subscriber until it goes.
    EXPECT_FALSE(sub->selectSubscriber(0));
    EXPECT_EQ(lastMessage(), "操作不能继续：\n 订户【WWQK】经费项目不能为空！");
    sub->spdFundSrc->setCurrentCell(1, 1);
    sub->cmdDelFund->click();
    ASSERT_TRUE(sub->selectSubscriber(0));
    sub->cmdAddDist->click();
    choose(cellCombo(sub->spdDistLoca, 1, 0), "QK01");
    EXPECT_EQ(lastMessage(), "该分配地已存在，请重新选择！");
    // Leaving a subscriber whose distribution no longer adds up, with a line still without its
    // place, is refused by the pane with both reasons.
    sub->spdDistLoca->item(1, 1)->setText("1");
    EXPECT_FALSE(sub->selectSubscriber(1));
    EXPECT_EQ(lastMessage(),
              "操作不能继续：\n 订户【QK01】分配地不能为空！\n 订户【QK01】设定的复本数不符！");

    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_TRUE(manager->runCommand("cmdCancel"));
    ASSERT_EQ(list->ItemCount(), 0);
    OrdDetail d = CompleteDetail("YZFX", "202601", "3-1");
    ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    ASSERT_EQ(list->Refresh(), 0);
    ASSERT_TRUE(manager->runCommand("cmdLocked"));
    EXPECT_TRUE(list->Locked());
    info->typeValue("Price", "99");
    EXPECT_EQ(lastMessage(), "纪录处于锁定状态，不能修改！如果需要修改，请解除锁定状态！");
    EXPECT_EQ(info->value("Price"), "12.5");
    sub->cmdDelSub->click();
    EXPECT_EQ(list->current()->subs.size(), 2u);
    EXPECT_FALSE(manager->command("cmdDetlDel")->isEnabled());
    EXPECT_EQ(list->current()->state, RowState::Unchanged);
}

TEST_P(OrdScreens, CancelRestoresAModifiedDetailAndDropsANewOne) {
    openCatalogueWith({"3-1"});
    info->typeValue("Remark", "改了");
    presenter.replies.push_back({kMsgOk, {}});
    sub->cmdDelSub->click();
    EXPECT_EQ(presenter.shown.back().body, "是否删除订户『QK01』及其经费项目和分配地？");
    EXPECT_EQ(list->current()->subs.size(), 1u);
    EXPECT_EQ(list->model->index(0, 0).data().toString(), "改");
    ASSERT_TRUE(manager->runCommand("cmdCancel"));
    EXPECT_EQ(list->current()->remark, "核心期刊");
    EXPECT_EQ(list->current()->subs.size(), 2u);
    EXPECT_EQ(list->current()->state, RowState::Unchanged);

    ASSERT_TRUE(manager->runCommand("cmdDetlNew"));
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_TRUE(manager->runCommand("cmdCancel"));
    EXPECT_EQ(presenter.shown.back().body, "是否取消新增该纪录？");
    EXPECT_EQ(list->ItemCount(), 1);
}

TEST_P(OrdScreens, DeletingASentDetailIsRefusedAndAnUnsentOneGoes) {
    openCatalogueWith({"3-1", "3-2"});
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='1' WHERE asord_no='3-1'");
    ASSERT_EQ(list->Refresh(), 0);
    ASSERT_TRUE(manager->runCommand("cmdDetlDel"));
    EXPECT_EQ(lastMessage(), "行已经发订，不能删除！");
    EXPECT_EQ(list->ItemCount(), 2);
    ASSERT_TRUE(manager->runCommand("cmdNext"));
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_TRUE(manager->runCommand("cmdDetlDel"));
    EXPECT_EQ(list->ItemCount(), 1);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl"), "1");
    // Of two new details, only the current one leaves the list, and only when confirmed.
    ASSERT_TRUE(manager->runCommand("cmdDetlNew"));
    ASSERT_TRUE(manager->runCommand("cmdDetlNew"));
    presenter.replies.push_back({kMsgCancel, {}});
    ASSERT_TRUE(manager->runCommand("cmdDetlDel"));
    EXPECT_EQ(lastMessage(), "是否确定删除订购信息？");
    EXPECT_EQ(list->ItemCount(), 3);
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_TRUE(manager->runCommand("cmdDetlDel"));
    EXPECT_EQ(list->ItemCount(), 2);
    EXPECT_EQ(list->rows()[1].state, RowState::New);
}

TEST_P(OrdScreens, ClosingWithOnlyTemporaryRowsAsksForTheBreakpointFile) {
    ASSERT_EQ(intNewOrdCata("TSJK", "202601"), 0);
    g_OraDatabase->execute(
        "INSERT INTO peri_asord_cata (publ_code, publ_year_month, asord_end_date) VALUES "
        "('TSJK','202601','2025-11-30')");
    g_OraDatabase->execute(
        "INSERT INTO peri_asord_detl (publ_code, publ_year_month, asord_no, money_code, "
        "peri_price, peri_year_price, publ_freq, kind_no, carrier_code) VALUES "
        "('TSJK','202601','0012-A','USD',30,360,'月刊','Q1','01'),"
        "('TSJK','202601','0013-B','USD',20,80,'季刊','Q2','01')");
    manager->m_frmOrdTree->Reload();
    manager->m_frmAsordTree->Reload();
    ASSERT_TRUE(manager->m_frmOrdTree->selectCatalogue("TSJK", "202601"));
    ASSERT_TRUE(manager->m_frmAsordTree->selectCatalogue("TSJK", "202601"));
    EXPECT_FALSE(manager->orderMainActive());
    QAbstractItemModelTester asordTester(manager->AsordMain->model, Mode::Fatal);
    ASSERT_EQ(manager->AsordMain->ItemCount(), 2);
    EXPECT_FALSE(manager->runCommand("cmdSave"));
    ASSERT_TRUE(manager->runCommand("cmdDetlNew"));
    EXPECT_EQ(lastMessage(), "不能执行新增明细操作！");
    ASSERT_TRUE(manager->runCommand("cmdSelectAll"));
    ASSERT_TRUE(manager->runCommand("cmdAsordSelect"));
    ASSERT_TRUE(manager->orderMainActive());
    ASSERT_EQ(list->ItemCount(), 2);
    EXPECT_TRUE(list->rows()[0].temporary);
    EXPECT_EQ(list->rows()[0].totalPrice, "360");
    EXPECT_EQ(list->rows()[1].publFreq, "季刊");
    EXPECT_EQ(list->rows()[1].ordYear, "202601");

    std::string path = home->dir() + "/TMP/breakpoint.csv";
    list->chooseBreakpointFile = [&] { return path; };
    presenter.replies.push_back({kMsgOk, {}});
    EXPECT_TRUE(list->QueryClose());
    EXPECT_EQ(presenter.bodies().back(),
              "存在从征订目录转入的临时订购信息，是否保存为订购断点文件？");
    ASSERT_TRUE(std::filesystem::exists(path));
    // Written again: the existing file is only overwritten on request.
    presenter.replies.push_back({kMsgOk, {}});
    presenter.replies.push_back({kMsgCancel, {}});
    presenter.replies.push_back({kMsgOk, {}});
    EXPECT_TRUE(list->QueryClose());
    EXPECT_EQ(presenter.bodies()[presenter.bodies().size() - 2], "文件已存在,是否覆盖原文件？");
    EXPECT_EQ(presenter.bodies().back(), "保存纪录出错，是否退出？");

    // Read back into the list: one is saved meanwhile, so only the other comes in.
    OrdDetail saved = list->rows()[0];
    saved.temporary = false;
    saved.periType = "0";
    saved.getMode = "01";
    saved.subs = CompleteDetail("TSJK", "202601", "x").subs;
    ASSERT_EQ(intSaveOrdDetail(saved, false), 0);
    ASSERT_EQ(list->Refresh(), 0);
    ASSERT_EQ(list->ImportReviewFile(path), 0);
    EXPECT_EQ(lastMessage(), "下列征订号在该目录中已经存在：\n0012-A");
    ASSERT_EQ(list->ItemCount(), 2);
    EXPECT_EQ(list->rows()[1].asordNo, "0013-B");
    EXPECT_TRUE(list->rows()[1].temporary);
}

TEST_P(OrdScreens, ChineseTemplateSavesChineseValuesAndACnmarcRecord) {
    openCatalogueWith({"3-1"});
    QAbstractItemModelTester tester(list->model, Mode::Fatal);
    // Beside 新增: in its menu and on the toolbar's template button.
    QMenu* edit = nullptr;
    for (QAction* m : manager->menuBar()->actions())
        if (m->menu() && m->menu()->actions().contains(manager->command("cmdDetlNew")))
            edit = m->menu();
    ASSERT_NE(edit, nullptr);
    const qsizetype at = edit->actions().indexOf(manager->command("cmdDetlNew"));
    EXPECT_EQ(edit->actions().mid(at + 1, 3),
              (QList<QAction*>{manager->command("CNPublish"), manager->command("USPublish"),
                               manager->command("NewTemple")}));
    auto* bar = manager->findChild<QToolBar*>("tbrCommands");
    auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(manager->command("cmdDetlNew")));
    ASSERT_NE(button, nullptr);
    ASSERT_NE(button->menu(), nullptr);
    EXPECT_EQ(button->menu()->actions(),
              (QList<QAction*>{manager->command("CNPublish"), manager->command("USPublish")}));
    EXPECT_EQ(manager->command("CNPublish")->shortcut(), QKeySequence("Ctrl+Shift+N"));

    ASSERT_TRUE(manager->runCommand("CNPublish"));
    frmOrdMarcAdd* dlg = manager->marcAddDialog;
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(dlg->isVisible()) << "the title is asked at once";
    EXPECT_EQ(dlg->cmbFormat->currentData().toString(), "C");
    EXPECT_EQ(dlg->cmbLanguage->currentData().toString(), "chi");
    EXPECT_EQ(dlg->cmbCountry->currentData().toString(), "CN");
    dlg->cmdOk->click();
    EXPECT_EQ(lastMessage(), "请输入刊名！");
    EXPECT_TRUE(dlg->isVisible());
    dlg->txtTitle->setText("中国图书馆学报");
    dlg->txtIssn->setText("1001-8867");
    dlg->txtPublisher->setText("国家图书馆");
    dlg->cmdOk->click();
    EXPECT_FALSE(dlg->isVisible());

    ASSERT_EQ(list->ItemCount(), 2);
    const OrdDetail& d = *list->current();
    EXPECT_EQ(d.state, RowState::New);
    EXPECT_EQ(info->value("MoneyType"), "CNY");
    EXPECT_EQ(info->value("GetMode"), "01") << "the catalogue's usual 获得方式";
    EXPECT_EQ(list->model->index(1, list->model->columnOf("Title")).data().toString(),
              "中国图书馆学报");
    EXPECT_EQ(scalar("SELECT count(*) FROM marc"), "0") << "nothing written before the save";
    typeDetail("9-1");
    addSubscriber("QK01", "1", "1", "01", {{"QK01", "1"}});
    ASSERT_TRUE(manager->runCommand("cmdSave"));
    EXPECT_EQ(lastMessage(), "数据成功保存！");

    const std::string rec = list->current()->marcNo;
    ASSERT_NE(rec, "");
    EXPECT_EQ(scalar("SELECT marc_rec_no FROM m_peri_ord_detl WHERE asord_no='9-1'"), rec);
    EXPECT_EQ(scalar("SELECT money_code FROM m_peri_ord_detl WHERE asord_no='9-1'"), "CNY");
    EXPECT_EQ(scalar("SELECT marc_type||'/'||lang_code||'/'||country_code||'/'||m_title FROM "
                     "marc WHERE marc_rec_no='" +
                     rec + "'"),
              "C/CHI/CN/中国图书馆学报");
    EXPECT_FALSE(manager->command("cmdMarcAdd")->isEnabled()) << "the detail has its record";
}

TEST_P(OrdScreens, ForeignTemplateTakesTheUsualForeignCurrencyAndAUsmarcRecord) {
    openCatalogueWith({"3-1"});
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET money_code='EUR'");
    OrdDetail more = CompleteDetail("YZFX", "202601", "3-2");
    ASSERT_EQ(intSaveOrdDetail(more, false), 0);
    ASSERT_EQ(manager->runCommand("cmdRefresh"), true);

    ASSERT_TRUE(manager->runCommand("USPublish"));
    frmOrdMarcAdd* dlg = manager->marcAddDialog;
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->cmbFormat->currentData().toString(), "U");
    EXPECT_EQ(dlg->cmbLanguage->currentData().toString(), "eng");
    EXPECT_EQ(dlg->cmbCountry->currentData().toString(), "US");
    dlg->txtTitle->setText("Library Quarterly");
    dlg->cmdOk->click();
    // CNY is used as often, but a foreign title takes the catalogue's foreign currency.
    EXPECT_EQ(info->value("MoneyType"), "EUR");
    typeDetail("9-2");
    info->typeValue("MoneyType", "EUR");
    addSubscriber("WWQK", "0", "1", "02", {});
    ASSERT_TRUE(manager->runCommand("cmdSave"));
    const std::string rec = list->current()->marcNo;
    ASSERT_NE(rec, "");
    EXPECT_EQ(scalar("SELECT money_code FROM m_peri_ord_detl WHERE asord_no='9-2'"), "EUR");
    EXPECT_EQ(scalar("SELECT marc_type||'/'||lang_code||'/'||country_code||'/'||m_title FROM "
                     "marc WHERE marc_rec_no='" +
                     rec + "'"),
              "U/ENG/US/Library Quarterly");

    // NewTemple repeats the template used last.
    ASSERT_TRUE(manager->runCommand("NewTemple"));
    EXPECT_EQ(manager->marcAddDialog->cmbFormat->currentData().toString(), "U");
    manager->marcAddDialog->cmdCancel->click();
    EXPECT_EQ(list->current()->state, RowState::New) << "the detail stays without a title";
}

TEST_P(OrdScreens, TemplatesAreRefusedWhereNewIs) {
    openCatalogueWith({"3-1"});
    ASSERT_TRUE(manager->runCommand("cmdLocked"));
    ASSERT_TRUE(manager->runCommand("CNPublish"));
    EXPECT_EQ(lastMessage(), "不能执行新增明细操作！");
    ASSERT_TRUE(manager->runCommand("cmdLocked"));
    ASSERT_TRUE(manager->runCommand("cmdSwitch"));
    ASSERT_TRUE(manager->runCommand("USPublish"));
    EXPECT_EQ(lastMessage(), "不能执行新增明细操作！");
    EXPECT_EQ(list->ItemCount(), 1);
    EXPECT_EQ(manager->marcAddDialog, nullptr);
}

TEST_P(OrdScreens, NewRecordCommandLinksARecordOnlyWhereThereIsNone) {
    openCatalogueWith({"3-1", "3-2"});
    QAbstractItemModelTester tester(list->model, Mode::Fatal);
    ASSERT_TRUE(manager->runCommand("cmdLocked"));
    EXPECT_FALSE(manager->command("cmdMarcAdd")->isEnabled()) << "locked";
    ASSERT_TRUE(manager->runCommand("cmdLocked"));
    ASSERT_TRUE(manager->command("cmdMarcAdd")->isEnabled());
    // A saved detail gets the record at once; the dialog proposes what the detail says.
    ASSERT_TRUE(manager->runCommand("cmdMarcAdd"));
    frmOrdMarcAdd* dlg = manager->marcAddDialog;
    ASSERT_NE(dlg, nullptr);
    dlg->txtTitle->setText("情报学报");
    dlg->cmdOk->click();
    const std::string rec =
        scalar("SELECT COALESCE(marc_rec_no,'') FROM m_peri_ord_detl WHERE asord_no='3-1'");
    ASSERT_NE(rec, "");
    EXPECT_EQ(list->current()->marcNo, rec);
    EXPECT_EQ(list->current()->state, RowState::Unchanged);
    EXPECT_EQ(scalar("SELECT m_title FROM marc WHERE marc_rec_no='" + rec + "'"), "情报学报");
    EXPECT_FALSE(manager->command("cmdMarcAdd")->isEnabled());
    EXPECT_FALSE(manager->runCommand("cmdMarcAdd"));
    EXPECT_TRUE(manager->command("cmdMarcDel")->isEnabled());
    // The row's new version lets an edit of it be saved.
    info->typeValue("Remark", "新建书目后修改");
    ASSERT_TRUE(manager->runCommand("cmdSave"));
    EXPECT_EQ(lastMessage(), "数据成功保存！");
    EXPECT_EQ(scalar("SELECT marc_rec_no FROM m_peri_ord_detl WHERE asord_no='3-1'"), rec);

    // An edited detail gets it with its save; 取消 drops it with the edit.
    ASSERT_TRUE(manager->runCommand("cmdNext"));
    info->typeValue("Remark", "改了");
    ASSERT_TRUE(manager->runCommand("cmdMarcAdd"));
    manager->marcAddDialog->txtTitle->setText("图书馆论坛");
    manager->marcAddDialog->cmdOk->click();
    EXPECT_EQ(list->current()->title, "图书馆论坛");
    EXPECT_EQ(scalar("SELECT count(*) FROM marc"), "1");
    ASSERT_TRUE(manager->runCommand("cmdCancel"));
    EXPECT_EQ(list->current()->title, "");
    EXPECT_TRUE(manager->command("cmdMarcAdd")->isEnabled());
    info->typeValue("Remark", "再改");
    ASSERT_TRUE(manager->runCommand("cmdMarcAdd"));
    manager->marcAddDialog->txtTitle->setText("图书馆论坛");
    manager->marcAddDialog->cmdOk->click();
    ASSERT_TRUE(manager->runCommand("cmdSave"));
    EXPECT_EQ(scalar("SELECT M.m_title FROM m_peri_ord_detl D JOIN marc M ON "
                     "M.marc_rec_no=D.marc_rec_no WHERE D.asord_no='3-2'"),
              "图书馆论坛");
}

TEST_P(OrdScreens, TakingOverAsksOnAYearMismatchReportsTheCountAndFillsUsualCodes) {
    openCatalogueWith({"3-1"});
    g_OraDatabase->execute(
        "INSERT INTO peri_asord_cata (publ_code, publ_year_month, asord_end_date) VALUES "
        "('YZFX','202701','2026-11-30')");
    g_OraDatabase->execute(
        "INSERT INTO peri_asord_detl (publ_code, publ_year_month, asord_no, money_code, "
        "peri_price, peri_year_price, publ_freq, kind_no, carrier_code) VALUES "
        "('YZFX','202701','8-1','',30,360,'月刊','Q1',''),"
        "('YZFX','202701','3-1','',20,80,'季刊','Q2','')");
    // Next year's offers into this year's catalogue: asked, and 取消 takes nothing.
    presenter.replies.push_back({kMsgCancel, {}});
    EXPECT_EQ(list->InsertAsordData("YZFX", "202701", {"8-1", "3-1"}), -1);
    EXPECT_EQ(lastMessage(), "征订目录是 2027 年度的，订购目录是 2026 年度的，是否仍然转入？");
    EXPECT_EQ(list->ItemCount(), 1);

    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_EQ(list->InsertAsordData("YZFX", "202701", {"8-1", "3-1"}), 0);
    EXPECT_EQ(lastMessage(), "已转入 1 条征订信息。\n下列征订号在该目录中已经存在：\n3-1");
    ASSERT_EQ(list->ItemCount(), 2);
    const OrdDetail& taken = list->rows()[1];
    EXPECT_EQ(taken.asordNo, "8-1");
    // The codes the pre-order left empty come from what the catalogue usually orders.
    EXPECT_EQ(taken.getMode, "01");
    EXPECT_EQ(taken.carrier, "01");
    EXPECT_EQ(taken.moneyType, "CNY");

    ASSERT_TRUE(manager->runCommand("cmdDetlNew"));
    EXPECT_EQ(list->current()->moneyType, "CNY") << "a new detail gets them too";
}

TEST_P(OrdScreens, ClosingWithNewAndModifiedRowsAsksInOrderAndSaves) {
    openCatalogueWith({"3-1"});
    info->typeValue("Remark", "改了");
    ASSERT_TRUE(manager->runCommand("cmdDetlNew"));
    presenter.replies.push_back({kMsgNo, {}});
    presenter.replies.push_back({kMsgOk, {}});
    EXPECT_TRUE(list->QueryClose());
    EXPECT_EQ(presenter.bodies(),
              (std::vector<std::string>{"新增纪录没有保存，是否保存记录后退出？",
                                        "存在被修改但未保存的记录，是否保存记录后退出？"}));
    EXPECT_EQ(scalar("SELECT remark FROM m_peri_ord_detl"), "改了");
}

TEST_P(OrdScreens, CancelOnTheSaveQuestionStaysOnTheCatalogueWithTheEdits) {
    openCatalogueWith({"3-1"});
    ASSERT_EQ(manager->m_frmOrdTree->NewCatalogue("TSJK", "202601"), 0);
    ASSERT_TRUE(manager->m_frmOrdTree->selectCatalogue("YZFX", "202601"));
    info->typeValue("Remark", "改了");
    presenter.shown.clear();
    presenter.replies.push_back({kMsgCancel, {}});
    EXPECT_TRUE(manager->m_frmOrdTree->selectCatalogue("TSJK", "202601"));
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].type, 'C') << "the question offers 保存 / 不保存 / 取消";
    EXPECT_EQ(list->PublCode(), "YZFX");
    EXPECT_EQ(list->current()->remark, "改了");
    EXPECT_EQ(list->State(), FormState::Modified);
    EXPECT_NE(scalar("SELECT remark FROM m_peri_ord_detl"), "改了");

    // 不保存 leaves, and the edit is gone; 保存 would have written it.
    presenter.replies.push_back({kMsgNo, {}});
    EXPECT_TRUE(manager->m_frmOrdTree->selectCatalogue("TSJK", "202601"));
    EXPECT_EQ(list->PublCode(), "TSJK");
    EXPECT_NE(scalar("SELECT remark FROM m_peri_ord_detl"), "改了");
}

// Types text, Chinese included, into the focused widget as key presses.
void typeKeys(const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(QApplication::focusWidget(), &press);
    }
}

void pressKey(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), mods);
    QApplication::processEvents();
}

// On a focused drop-down: open it with Down, move `steps` entries, take the entry with Enter.
void pickByKeys(int steps) {
    auto* box = qobject_cast<QComboBox*>(QApplication::focusWidget());
    ASSERT_NE(box, nullptr) << "the cursor is not on a drop-down";
    pressKey(Qt::Key_Down);
    ASSERT_TRUE(box->view()->isVisible());
    for (int i = 0; i < steps; ++i)
        QTest::keyClick(box->view(), Qt::Key_Down);
    QTest::keyClick(box->view(), Qt::Key_Return);
    QApplication::processEvents();
}

TEST_P(OrdScreens, DetailIsEnteredAndSavedWithTheKeyboardOnly) {
    ASSERT_EQ(manager->m_frmOrdTree->NewCatalogue("YZFX", "202601"), 0);
    manager->resize(1280, 800);
    manager->show();
    manager->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(manager.get()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == manager->txtFind; }));
    EXPECT_EQ(QApplication::focusWidget(), manager->txtFind)
        << "the screen opens on its search box, not on "
        << QApplication::focusWidget()->metaObject()->className() << " "
        << QApplication::focusWidget()->objectName().toStdString();

    pressKey(Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(list->State(), FormState::New);
    typeKeys("5-1");
    pressKey(Qt::Key_Return);
    typeKeys("TP3");
    pressKey(Qt::Key_Tab);  // the read-only total is skipped: on to 订购状态
    pickByKeys(1);          // 正常刊: a new detail has none until one is chosen
    pressKey(Qt::Key_Tab);
    pickByKeys(1);  // 获得方式
    pressKey(Qt::Key_Return);
    pickByKeys(1);             // 出版频率
    pressKey(Qt::Key_Return);  // the read-only batch is skipped: on to 载体类型
    pickByKeys(1);
    pressKey(Qt::Key_Tab);
    pickByKeys(1);  // 币种
    pressKey(Qt::Key_Tab);
    typeKeys("10");
    pressKey(Qt::Key_Return);

    const OrdDetail& d = *list->current();
    EXPECT_EQ(d.asordNo, "5-1");
    EXPECT_EQ(d.kindNo, "TP3");
    EXPECT_EQ(d.periType, "0");
    EXPECT_FALSE(d.getMode.empty());
    EXPECT_FALSE(d.publFreq.empty());
    EXPECT_FALSE(d.carrier.empty());
    EXPECT_FALSE(d.moneyType.empty());
    EXPECT_EQ(d.price, "10");
    EXPECT_FALSE(d.totalPrice.empty()) << "the annual price follows the typed unit price";

    // No subscriber yet: Ctrl+S saves through the same validation as the button.
    presenter.shown.clear();
    pressKey(Qt::Key_S, Qt::ControlModifier);
    ASSERT_FALSE(presenter.shown.empty()) << "Ctrl+S did not reach the save command";
    EXPECT_EQ(list->State(), FormState::New);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl"), "0");
}

TEST_P(OrdScreens, OrderListSortsFiltersAndKeepsTheCurrentDetailInStep) {
    ASSERT_EQ(intNewOrdCata("YZFX", "202601"), 0);
    for (auto [no, price] : {std::pair{"1-1", "30"}, {"2-1", "9"}, {"3-1", "100"}}) {
        OrdDetail d = CompleteDetail("YZFX", "202601", no);
        d.price = price;
        ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    }
    manager->m_frmOrdTree->Reload();
    ASSERT_TRUE(manager->m_frmOrdTree->selectCatalogue("YZFX", "202601"));
    QAbstractItemModelTester tester(list->proxy, Mode::Fatal);
    EXPECT_EQ(list->model->columnOf("Title"), 1) << "the title is the first column";
    EXPECT_TRUE(list->spdList->isColumnHidden(list->model->columnOf("Pub")));

    const int price = list->model->columnOf("Price");
    list->spdList->horizontalHeader()->setSortIndicator(price, Qt::AscendingOrder);
    auto shown = [&](int viewRow) {
        return list->proxy->index(viewRow, price).data().toString().toStdString();
    };
    EXPECT_EQ(shown(0), "9");
    EXPECT_EQ(shown(1), "30");
    EXPECT_EQ(shown(2), "100");
    // Clicking the first row of the sorted grid makes its detail the current one.
    list->spdList->setCurrentIndex(list->proxy->index(0, price));
    EXPECT_EQ(list->current()->asordNo, "2-1");
    EXPECT_EQ(info->value("Price"), "9");
    list->setCurIndex(2);
    EXPECT_EQ(list->proxy->mapToSource(list->spdList->currentIndex()).row(), 2);
    EXPECT_EQ(list->current()->asordNo, "3-1");

    list->txtFilter->setText("2-1");
    EXPECT_EQ(list->proxy->rowCount(), 1);
    list->txtFilter->clear();
    EXPECT_EQ(list->proxy->rowCount(), 3);
}

TEST_P(OrdScreens, StatusLineTotalsTheCatalogueAndByFundWhenAsked) {
    openCatalogueWith({"3-1", "3-2"});
    // Two details of three copies at 150 a year each.
    EXPECT_EQ(list->lblTotals->text(), "2 种  6 册  年价 900.00 元");
    list->chkByFund->setChecked(true);
    EXPECT_EQ(list->lblTotals->text(), "2 种  6 册  年价 900.00 元  |  01：600.00  |  02：300.00");
    ASSERT_TRUE(manager->runCommand("cmdDetlNew"));
    EXPECT_TRUE(list->lblTotals->text().startsWith("3 种  6 册"));
}

TEST_P(OrdScreens, TheLastCatalogueAndTheListLayoutComeBackForTheOperator) {
    openCatalogueWith({"3-1"});
    list->spdList->setColumnWidth(list->model->columnOf("Title"), 411);
    manager.reset();
    manager = std::make_unique<frmOrdManager>();
    frmOrdList* again = manager->OrderMain;
    EXPECT_EQ(again->PublCode(), "YZFX");
    EXPECT_EQ(again->OrdYear(), "202601");
    EXPECT_EQ(again->ItemCount(), 1);
    EXPECT_EQ(again->spdList->columnWidth(again->model->columnOf("Title")), 411);
    ASSERT_TRUE(manager->runCommand("cmdRestoreLayout"));
    EXPECT_NE(again->spdList->columnWidth(again->model->columnOf("Title")), 411);
}

TEST_P(OrdScreens, CommandsCarryTheStandardKeysAndDailyOnesAreOnTheToolbar) {
    EXPECT_EQ(manager->command("cmdSave")->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(manager->command("cmdSaveAll")->shortcut(), QKeySequence("Ctrl+Shift+S"));
    EXPECT_EQ(manager->command("cmdDetlNew")->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(manager->command("cmdDetlDel")->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_EQ(manager->command("cmdFind")->shortcut(), QKeySequence("Ctrl+F"));
    EXPECT_EQ(manager->command("cmdRefresh")->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(manager->command("cmdSave")->toolTip(), "保存 (Ctrl+S)");
    manager->resize(1280, 800);
    manager->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(manager.get()));
    auto* bar = manager->findChild<QToolBar*>("tbrCommands");
    ASSERT_NE(bar, nullptr);
    for (const char* daily : {"cmdDetlNew", "cmdSave", "cmdSaveAll", "cmdCancel", "cmdMarcFind",
                              "cmdAsordSelect", "cmdFindText"}) {
        QWidget* button = bar->widgetForAction(manager->command(daily));
        ASSERT_NE(button, nullptr) << daily;
        EXPECT_TRUE(button->isVisible()) << daily << " is hidden at 1280x800";
    }
    EXPECT_TRUE(manager->txtFind->isVisible());
}

TEST_P(OrdScreens, TreeRenamesAndDeletesCataloguesAndMarksSentOnes) {
    ASSERT_EQ(manager->m_frmOrdTree->NewCatalogue("YZFX", "202601"), 0);
    ASSERT_EQ(manager->m_frmOrdTree->NewCatalogue("TSJK", "202501"), 0);
    g_OraDatabase->execute("UPDATE m_peri_ord_lst SET peri_ord_flag='1' WHERE publ_code='TSJK'");
    manager->m_frmOrdTree->Reload();
    QTreeWidgetItem* sent = manager->m_frmOrdTree->catalogueNode("TSJK", "202501");
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(sent->data(0, kRoleIcon).toString(), "SendSelected");
    EXPECT_EQ(sent->text(0), " [年度批次:202501] 订购日期:2026-03-02");
    ASSERT_TRUE(manager->m_frmOrdTree->selectCatalogue("YZFX", "202601"));
    EXPECT_EQ(manager->m_frmOrdTree->catalogueNode("TSJK", "202501")->data(0, kRoleIcon).toString(),
              "SendCata");
    ASSERT_EQ(manager->m_frmOrdTree->RenameCatalogue("SYZF", "202602"), 0);
    EXPECT_EQ(list->PublCode(), "SYZF");
    EXPECT_EQ(list->OrdYear(), "202602");
    EXPECT_EQ(manager->m_frmOrdTree->catalogueNode("YZFX", "202601"), nullptr);
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_EQ(manager->m_frmOrdTree->DeleteCatalogue(), 0);
    EXPECT_EQ(list->PublCode(), "");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_lst"), "1");
}

TEST_P(OrdScreens, CommandsFollowTheFormState) {
    openCatalogueWith({"3-1", "3-2", "4-1"});
    struct Expect {
        const char* command;
        bool enabled;
    };
    auto check = [&](const char* when, std::initializer_list<Expect> expected) {
        for (const Expect& e : expected)
            EXPECT_EQ(manager->command(e.command)->isEnabled(), e.enabled)
                << when << ": " << e.command;
    };
    check("first row", {{"cmdFirst", false},
                        {"cmdNext", true},
                        {"cmdSave", false},
                        {"cmdSaveAll", false},
                        {"cmdCancel", false},
                        {"cmdDetlDel", true},
                        {"cmdCheck", true},
                        {"cmdAsordSelect", false}});
    ASSERT_TRUE(manager->runCommand("cmdLast"));
    EXPECT_EQ(list->CurIndex(), 2);
    check("last row", {{"cmdFirst", true}, {"cmdNext", false}, {"cmdLast", false}});
    info->typeValue("KindNo", "X1");
    check("modified",
          {{"cmdSave", true}, {"cmdSaveAll", true}, {"cmdCancel", true}, {"cmdEndFlag", false}});
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_TRUE(manager->runCommand("cmdSaveAll"));
    EXPECT_EQ(presenter.bodies(),
              (std::vector<std::string>{"是否保存所有的纪录？", "数据成功保存！"}));
    check("saved", {{"cmdSave", false}, {"cmdSaveAll", false}, {"cmdEndFlag", true}});
    ASSERT_TRUE(manager->runCommand("cmdEndFlag"));
    EXPECT_EQ(scalar("SELECT end_ord_flag FROM m_peri_ord_detl WHERE asord_no='4-1'"), "1");
    EXPECT_EQ(list->model->index(2, list->model->columnOf("EndFlag")).data().toString(), "F");

    manager->txtFind->setText("3-2");
    ASSERT_TRUE(manager->runCommand("cmdFindText"));
    EXPECT_EQ(list->CurIndex(), 1);
    ASSERT_TRUE(manager->runCommand("cmdMultiSelect"));
    ASSERT_TRUE(manager->runCommand("cmdSelectAll"));
    EXPECT_EQ(list->GetSelectKeys().size(), 3u);
    ASSERT_TRUE(manager->runCommand("cmdFrameTabbed"));
    EXPECT_EQ(list->frameStyle(), FrameStyle::Tabbed);

    g_OraDatabase->execute("DELETE FROM m_sub_ord_lst WHERE asord_no='3-2'");
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_TRUE(manager->runCommand("cmdCheck"));
    EXPECT_EQ(lastMessage(), "下列征订号没有订户：\n3-2");

    ASSERT_TRUE(manager->runCommand("cmdSwitch"));
    check("pre-order list",
          {{"cmdSave", false}, {"cmdDetlDel", false}, {"cmdCheck", false}, {"cmdSwitch", true}});
}

TEST_P(OrdScreens, ListIsExportedGroupedAndPreparedForPrinting) {
    openCatalogueWith({"4-1", "3-2", "3-1"});
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='1' WHERE asord_no='3-2'");
    ASSERT_EQ(list->Refresh(), 0);
    std::string path = home->dir() + "/TMP/list.csv";
    ASSERT_EQ(list->ExportToFile(path), 0);
    std::string text = slurpFile(path);
    EXPECT_EQ(text.substr(0, text.find('\n')).substr(0, 21), "刊名,征订号,ISSN");
    EXPECT_NE(text.find(",3-2,,3,12.5,150,正常刊,已发订"), std::string::npos) << text;

    ASSERT_TRUE(manager->runCommand("GroupView"));
    const int status = list->model->columnOf("Status");
    auto shownNumber = [&](int viewRow) {
        return list->rows()[list->proxy->mapToSource(list->proxy->index(viewRow, status)).row()]
            .asordNo;
    };
    EXPECT_EQ(shownNumber(2), "3-2");  // the sent one after the unsent ones
    std::vector<DataFormRow> print;
    ASSERT_EQ(list->InitPrintData(print), 0);
    ASSERT_EQ(print.size(), 3u);
    EXPECT_EQ(print[0].at("AsordNo"), "3-1");  // by normalised number: 0003-0001 first
    EXPECT_EQ(print[2].at("AsordNo"), "4-1");
    EXPECT_EQ(print[0].at("SumCount"), "3");
}

TEST_P(OrdScreens, MainWindowOpensTheManagerForTheOrderingRight) {
    frmMain main;
    const auto& entries = mainEntries();
    std::size_t i = 0;
    while (i < entries.size() && std::string(entries[i].objectName) != "frmOrdManager")
        ++i;
    ASSERT_LT(i, entries.size());
    EXPECT_EQ(std::string(entries[i].area), "订购");
    EXPECT_TRUE(main.entryActions[i]->isEnabled());
    EXPECT_NE(qobject_cast<frmOrdManager*>(main.openEntry(i)), nullptr);
    ASSERT_TRUE(LIB_Login("JD01", "1234"));
    main.refreshOperator();
    EXPECT_FALSE(main.entryActions[i]->isEnabled());
}

}  // namespace

// The grid keys are the one place where names meet the detail's fields: every column of both
// lists and every item of the detail pane must name a field, or it would show nothing.
TEST_P(OrdScreens, EveryGridKeyNamesAFieldOfTheDetail) {
    frmOrdAsordList asord;
    for (const OrdGridModel* m : {list->model, asord.model})
        for (const GridColumn& c : m->columns())
            EXPECT_TRUE(OrdGridModel::fieldOf(c.key) != nullptr || c.key == OrdGridModel::kValidKey)
                << c.key;
    for (int r = 0; r < info->spdOrderInfo->rowCount(); ++r) {
        const std::string key =
            info->spdOrderInfo->item(r, 0)->data(Qt::UserRole).toString().toStdString();
        EXPECT_NE(OrdGridModel::fieldOf(key), nullptr) << key;
    }
    EXPECT_EQ(OrdGridModel::fieldOf("Titel"), nullptr);

    // The contract's rows carry every value and give the same detail back.
    OrdDetail d = CompleteDetail("YZFX", "202601", "2-15");
    d.title = "计算机学报";
    d.key = "YZFX|202601|2-15|0000000001";
    const DataFormRow row = OrdGridModel::rowValues(d);
    EXPECT_EQ(row.size(), 27u);
    EXPECT_EQ(row.at("Title"), "计算机学报");
    OrdDetail back;
    OrdGridModel::setRowValues(back, row);
    for (const auto& [key, value] : row)
        EXPECT_EQ(OrdGridModel::valueOf(back, key), value) << key;
    OrdGridModel::setRowValues(back, {{"Titel", "错字"}});
    EXPECT_EQ(back.title, "计算机学报");
}

TEST_P(OrdScreens, SaveAndSaveAllShowTheWholeListAndANewDetailHasNoOrderState) {
    ASSERT_EQ(manager->m_frmOrdTree->NewCatalogue("YZFX", "202601"), 0);
    ASSERT_TRUE(manager->runCommand("cmdDetlNew"));
    EXPECT_EQ(info->value("PeriType"), "");
    typeDetail("2-15");
    info->typeValue("PeriType", "");
    // A subscriber that checks in without a distribution line, and a fund line left blank.
    sub->cmdAddSub->click();
    choose(cellCombo(sub->spdSubInfo, 0, 1), "QK01");
    sub->cmdAddFund->click();
    const std::string expected =
        " 必须选择订购状态！\n 订户【QK01】经费项目不能为空！\n 订户【QK01】签收必须选择分配地！\n"
        "订购号为：2-15的记录不能保存！";
    ASSERT_TRUE(manager->runCommand("cmdSave"));
    EXPECT_EQ(lastMessage(), expected);
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_TRUE(manager->runCommand("cmdSaveAll"));
    EXPECT_EQ(lastMessage(), expected);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl"), "0");
}

TEST_P(OrdScreens, TheFrequencyOfADetailCheckingInStaysThroughTheSave) {
    openCatalogueWith({"3-1"});
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='2'");
    ASSERT_EQ(list->Refresh(), 0);
    info->typeValue("PublFreq", "季刊");
    ASSERT_EQ(list->current()->publFreq, "季刊");
    ASSERT_TRUE(manager->runCommand("cmdSave"));
    EXPECT_EQ(lastMessage(),
              "订购号为：3-1的记录已经开始签收，不能修改出版频率！\n订购号为：3-1的记录不能保存！");
    EXPECT_EQ(scalar("SELECT publ_freq FROM m_peri_ord_detl"), "月刊");
    // Put back, the frequency is no change and the rest of the edit saves.
    info->typeValue("PublFreq", "月刊");
    info->typeValue("Remark", "签收中");
    ASSERT_TRUE(manager->runCommand("cmdSave"));
    EXPECT_EQ(scalar("SELECT remark FROM m_peri_ord_detl"), "签收中");
}

TEST_P(OrdScreens, TheFinishingMarkSurvivesACancelAndALaterSave) {
    openCatalogueWith({"3-1"});
    ASSERT_EQ(list->subSetEndFlag(true), 0);
    info->typeValue("Remark", "改了");
    ASSERT_TRUE(manager->runCommand("cmdCancel"));
    EXPECT_EQ(list->current()->endFlag, "1");
    EXPECT_EQ(list->model->index(0, 0).data().toString(), "F");
    info->typeValue("Remark", "再改");
    ASSERT_TRUE(manager->runCommand("cmdSave"));
    EXPECT_EQ(scalar("SELECT end_ord_flag FROM m_peri_ord_detl"), "1");
    EXPECT_EQ(scalar("SELECT remark FROM m_peri_ord_detl"), "再改");
}

TEST_P(OrdScreens, TheBreakpointFileComesBackThroughOpenFileShowingWhatIsValid) {
    openCatalogueWith({"3-1"});
    OrdDetail good = CompleteDetail("YZFX", "202601", "3-2");
    OrdDetail partial = CompleteDetail("YZFX", "202601", "3-3");
    partial.moneyType = "";
    OrdDetail taken = CompleteDetail("YZFX", "202601", "3-1");
    const std::string path = ::testing::TempDir() + "ordfix_breakpoint.csv";
    std::string error;
    ASSERT_EQ(intWriteOrdFile(path, {&good, &partial, &taken}, error), 0) << error;
    manager->chooseImportFile = [&] { return path; };
    ASSERT_TRUE(manager->runCommand("cmdOpenFile"));
    EXPECT_EQ(lastMessage(), "下列征订号在该目录中已经存在：\n3-1");
    ASSERT_EQ(list->ItemCount(), 3);
    EXPECT_TRUE(list->rows()[1].temporary);
    const int valid = list->model->columnOf("Valid");
    EXPECT_EQ(list->model->index(0, valid).data().toString(), "是");
    EXPECT_EQ(list->model->index(1, valid).data().toString(), "是");
    EXPECT_EQ(list->model->index(2, valid).data().toString(), "否");
    EXPECT_EQ(list->model->index(2, valid).data(Qt::ToolTipRole).toString().toStdString(),
              " 必须选择币种！\n订购号为：3-3的记录不能保存！");
    // The valid row saves like a typed one; the other stays with its complaint.
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_TRUE(manager->runCommand("cmdSaveAll"));
    EXPECT_EQ(lastMessage(), " 必须选择币种！\n订购号为：3-3的记录不能保存！");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl"), "2");
    EXPECT_EQ(list->rows()[2].state, RowState::New);
}

// On the screens librarians have, the list of a full catalogue comes first: most of the height,
// the title column at the left and whole, and the panes below usable without scrolling sideways.
// With SERIALS_SHOT_DIR set the two sizes are saved as pictures to look at.
TEST_P(OrdScreens, AtCommonScreenSizesTheListAndItsTitlesGetTheRoom) {
    ASSERT_EQ(intNewOrdCata("YZFX", "202601"), 0);
    for (int i = 1; i <= 30; ++i) {
        OrdDetail d = CompleteDetail("YZFX", "202601", "7-" + std::to_string(i));
        ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    }
    manager->m_frmOrdTree->Reload();
    ASSERT_TRUE(manager->m_frmOrdTree->selectCatalogue("YZFX", "202601"));
    for (QSize size : {QSize(1280, 800), QSize(1920, 1080)}) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        manager->resize(size);
        manager->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(manager.get()));
        QApplication::processEvents();
        QTableView* grid = list->spdList;
        EXPECT_GE(grid->viewport()->height() / grid->rowHeight(0), size.height() > 1000 ? 17 : 12);
        const int title = list->model->columnOf("Title");
        EXPECT_LE(grid->horizontalHeader()->visualIndex(title), 1);
        EXPECT_LE(grid->columnViewportPosition(title) + grid->columnWidth(title),
                  grid->viewport()->width());
        auto* panes = list->findChild<QScrollArea*>("scrPanes");
        ASSERT_NE(panes, nullptr);
        EXPECT_EQ(panes->horizontalScrollBar()->maximum(), 0);
        EXPECT_EQ(panes->verticalScrollBar()->maximum(), 0) << "the panes fit below the list";
        for (QTableWidget* t : {info->spdOrderInfo, sub->spdSubOrdLst, sub->spdSubInfo,
                                sub->spdFundSrc, sub->spdDistLoca})
            EXPECT_EQ(t->horizontalScrollBar()->maximum(), 0) << t->objectName().toStdString();
        // The subscriber pane's grids show five lines each, its buttons whole below them.
        for (QTableWidget* t :
             {sub->spdSubOrdLst, sub->spdSubInfo, sub->spdFundSrc, sub->spdDistLoca}) {
            EXPECT_GE(t->viewport()->height() / t->verticalHeader()->defaultSectionSize(), 5)
                << t->objectName().toStdString();
            EXPECT_TRUE(t->visibleRegion().boundingRect().height() >= t->height())
                << t->objectName().toStdString();
        }
        for (QPushButton* b : {sub->cmdAddSub, sub->cmdDelSub, sub->cmdAddFund, sub->cmdDelFund,
                               sub->cmdAddDist, sub->cmdDelDist})
            EXPECT_EQ(b->visibleRegion().boundingRect().size(), b->size())
                << b->objectName().toStdString();
        if (const char* dir = std::getenv("SERIALS_SHOT_DIR"))
            manager->grab().save(
                QString("%1/order_%2x%3.png").arg(dir).arg(size.width()).arg(size.height()));
    }
}
