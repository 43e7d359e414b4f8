// Pre-order items in the order manager under offscreen Qt: a review file read into the pre-order
// list through 导入文件, the publishing house of the current title, and 选订到订购目录 into a
// catalogue that orders one of the titles already, with the distributor's usual codes.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLabel>
#include <fstream>

#include "ordering/core/basOrdFunc.h"
#include "ordering/gui/frmOrdAsordList.h"
#include "ordering/gui/frmOrdList.h"
#include "ordering/gui/frmOrdManager.h"
#include "ordering/gui/frmOrdTree.h"
#include "tests/ordering/OrdTestData.h"

namespace {

using Mode = QAbstractItemModelTester::FailureReportingMode;

class OrdAsordScreen : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        manager = std::make_unique<frmOrdManager>();
    }
    void TearDown() override {
        manager.reset();
        DbTest::TearDown();
    }
    // A pre-order catalogue of TSJK for 2026 with the given rows of peri_asord_detl.
    void offer(const std::string& values) {
        g_OraDatabase->execute(
            "INSERT INTO peri_asord_cata (publ_code, publ_year_month) VALUES ('TSJK','202601')");
        if (!values.empty())
            g_OraDatabase->execute(
                "INSERT INTO peri_asord_detl (publ_code, publ_year_month, asord_no, "
                "asord_marc_rec_no, money_code, peri_price, peri_year_price, publ_freq, "
                "carrier_code) VALUES " +
                values);
        manager->m_frmAsordTree->Reload();
    }
    std::string lastMessage() const {
        return presenter.shown.empty() ? std::string() : presenter.shown.back().body;
    }
    std::unique_ptr<frmOrdManager> manager;
};
SERIALS_ON_BOTH_BACKENDS(OrdAsordScreen);

TEST_P(OrdAsordScreen, ReviewFileComesIntoThePreOrderListAndShowsThePublishingHouse) {
    offer("('TSJK','202601','2-16',NULL,'CNY',9,108,'月刊','01')");
    ASSERT_TRUE(manager->m_frmAsordTree->selectCatalogue("TSJK", "202601"));
    frmOrdAsordList* list = manager->AsordMain;
    QAbstractItemModelTester tester(list->model, Mode::Fatal);
    ASSERT_EQ(list->ItemCount(), 1);

    // A file with a bad line adds nothing and says which line.
    const std::string bad = home->dir() + "/TMP/bad.csv";
    std::ofstream(bad) << "2-15,情报学前沿\n2-17,经济学刊,,,十元\n";
    manager->chooseImportFile = [&] { return bad; };
    ASSERT_TRUE(manager->runCommand("cmdOpenFile"));
    EXPECT_EQ(lastMessage(), "第 2 行： 单价必须是数字！");
    EXPECT_EQ(list->ItemCount(), 1);

    const std::string path = home->dir() + "/TMP/review.csv";
    std::ofstream(path) << "征订号,刊名,ISSN,出版社,单价,年价,出版频率,载体,币种,类号,备注\n"
                           "2-15,情报学前沿,1002-1965,P0001,12.5,,月刊,01,CNY,G25,\n"
                           "2-16,重复的刊\n"
                           "2-17,经济学刊,,东方经济杂志社,10,,季刊,01,CNY,F,\n";
    manager->chooseImportFile = [&] { return path; };
    ASSERT_TRUE(manager->runCommand("cmdOpenFile"));
    EXPECT_EQ(lastMessage(), "已导入 2 条征订信息。\n下列征订号在该目录中已经存在：\n2-16");
    ASSERT_EQ(list->ItemCount(), 3);
    EXPECT_EQ(list->rows()[0].title, "情报学前沿");
    EXPECT_EQ(list->rows()[2].totalPrice, "40");
    EXPECT_TRUE(list->IsExistAsordNo("2-17"));

    // The publishing house of the title under the cursor, by its code or its name.
    list->setCurIndex(0);
    EXPECT_EQ(list->lblPress->text().toStdString(),
              "出版社：科学期刊出版社  地址：北京市东城区科技路16号  国别：CN  地区：110000");
    list->setCurIndex(2);
    EXPECT_EQ(list->lblPress->text().toStdString(),
              "出版社：东方经济杂志社  地址：上海市黄浦区汉口路309号  国别：CN  地区：310000");
    list->setCurIndex(1);
    EXPECT_EQ(list->lblPress->text().toStdString(), "");
    // With SERIALS_SHOT_DIR set, the list is saved as a picture to look at.
    if (const char* dir = std::getenv("SERIALS_SHOT_DIR")) {
        list->setCurIndex(0);
        manager->resize(1280, 800);
        manager->show();
        QApplication::processEvents();
        manager->grab().save(QString("%1/asord_1280x800.png").arg(dir));
    }
}

TEST_P(OrdAsordScreen, TakingOverAsksOnTitlesOrderedAlreadyAndUsesTheDistributorsCodes) {
    // TSJK's earlier batch was paid in USD on CD; this year's catalogue orders one title so far,
    // in CNY on paper.
    ASSERT_EQ(intNewOrdCata("TSJK", "202501"), 0);
    for (const char* no : {"A-1", "A-2"}) {
        OrdDetail d = CompleteDetail("TSJK", "202501", no);
        d.moneyType = "USD";
        d.carrier = "02";
        ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    }
    ASSERT_EQ(intNewOrdCata("TSJK", "202601"), 0);
    // A catalogue record of the title ordered, as its header row lists it.
    const std::string rec = "0000009001";
    g_OraDatabase->execute(
        "INSERT INTO marc (marc_rec_no, marc_type, m_title, m_isbn) VALUES "
        "('0000009001','C','情报学报','1000-0135')");
    std::string issn = scalar("SELECT m_isbn FROM marc WHERE marc_rec_no='" + rec + "'");
    OrdDetail ordered = CompleteDetail("TSJK", "202601", "B-1");
    ordered.marcNo = rec;
    ASSERT_EQ(intSaveOrdDetail(ordered, false), 0);
    // Offered: the same title under another number and another name (its ISSN without the
    // hyphen), and a title the catalogue lacks; neither says its currency or carrier.
    std::erase(issn, '-');
    g_OraDatabase->execute(
        "INSERT INTO asord_marc (asord_marc_rec_no, m_title, m_isbn) VALUES "
        "('0000000901','Annals of Something','" +
        issn + "'), ('0000000902','Journal of Other Things',NULL)");
    offer(
        "('TSJK','202601','C-1','0000000901','',30,360,'月刊',''),"
        "('TSJK','202601','C-2','0000000902','',20,80,'季刊','')");
    manager->m_frmOrdTree->Reload();
    ASSERT_TRUE(manager->m_frmOrdTree->selectCatalogue("TSJK", "202601"));
    frmOrdList* list = manager->OrderMain;
    ASSERT_EQ(list->ItemCount(), 1);

    ASSERT_TRUE(manager->m_frmAsordTree->selectCatalogue("TSJK", "202601"));
    ASSERT_TRUE(manager->runCommand("cmdSelectAll"));
    presenter.replies.push_back({kMsgCancel, {}});  // not the title ordered already
    ASSERT_TRUE(manager->runCommand("cmdAsordSelect"));
    ASSERT_GE(presenter.shown.size(), 2u);
    EXPECT_EQ(presenter.shown[presenter.shown.size() - 2].body,
              "下列刊物在该订购目录中已经订购，是否仍然转入？\nC-1 Annals of Something");
    EXPECT_EQ(lastMessage(), "已转入 1 条征订信息。");
    ASSERT_EQ(list->ItemCount(), 2);
    const OrdDetail& taken = list->rows()[1];
    EXPECT_EQ(taken.asordNo, "C-2");
    EXPECT_EQ(taken.moneyType, "USD") << "the distributor's usual currency, not the catalogue's";
    EXPECT_EQ(taken.carrier, "02");
    EXPECT_EQ(taken.getMode, "01");

    ASSERT_TRUE(manager->runCommand("cmdDetlNew"));
    EXPECT_EQ(list->current()->moneyType, "USD") << "a new detail gets them too";
    EXPECT_EQ(list->current()->carrier, "02");
}

}  // namespace
