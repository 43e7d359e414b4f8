// Order details and their catalogue records: finding a title through the index, the record
// pane, the duplicate check, deleting details with their records, and a title taken from a
// pre-order catalogue getting a catalogue record of its own when saved.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "app/basQKLogin.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "marc/core/MarcImport.h"
#include "marc/core/SearchInput.h"
#include "marc/core/basBMStore.h"
#include "marc/gui/MarcRecModel.h"
#include "marc/gui/dlgMarcSearch.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/gui/frmOrdList.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/TestDb.h"

namespace {

class OrdMarc : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(MarcLoadDemoRecords({}).saved, 40);
        ASSERT_EQ(intNewOrdCata("YZFX", "202601"), 0);
    }
    std::string recordOf(const std::string& title) {
        return scalar("SELECT marc_rec_no FROM marc WHERE m_title='" + title + "'");
    }
};
SERIALS_ON_BOTH_BACKENDS(OrdMarc);

TEST_P(OrdMarc, TitleFoundThroughTheIndexFillsTheDetailAndThePane) {
    frmOrdList list;
    ASSERT_EQ(list.DataSet("YZFX", "202601", "全国邮政报刊发行局"), 0);
    ASSERT_EQ(list.NewItem(), 0);
    EXPECT_EQ(list.MarcFind("图书馆学研究进展"), 0);
    const OrdDetail& d = *list.current();
    EXPECT_EQ(d.marcNo, recordOf("图书馆学研究进展"));
    EXPECT_EQ(d.title, "图书馆学研究进展");
    EXPECT_FALSE(d.issn.empty());
    QAbstractItemModelTester tester(list.m_frmMarc->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_GT(list.m_frmMarc->model()->rowCount(), 3);

    // Several matches, or none: the record search dialog opens on the text, and the detail takes
    // the record picked there, or stays as it was when none is.
    std::vector<std::string> asked;
    MarcFound pick;
    list.chooseMarc = [&](const std::string& text) {
        asked.push_back(text);
        return pick;
    };
    const std::string before = d.marcNo;
    EXPECT_EQ(list.MarcFind("没有这种刊物"), -1);
    EXPECT_EQ(list.current()->marcNo, before);
    pick = {scalar("SELECT marc_rec_no FROM marc WHERE m_title LIKE 'Journal of serials%'"),
            "Journal of serials practice", "", "Northfield Academic Press", "2000-0006"};
    EXPECT_EQ(list.MarcFind("journal"), 0);
    EXPECT_EQ(asked, (std::vector<std::string>{"没有这种刊物", "journal"}));
    EXPECT_EQ(list.current()->marcNo, pick.recNo);
    EXPECT_EQ(list.current()->title, pick.title);
    EXPECT_EQ(list.current()->issn, "2000-0006");
}

TEST_P(OrdMarc, RecordSearchDialogOpensFromTheDetailAndIsDrivenByKeys) {
    frmOrdList list;
    ASSERT_EQ(list.DataSet("YZFX", "202601", "全国邮政报刊发行局"), 0);
    ASSERT_EQ(list.NewItem(), 0);
    // The dialog is modal: the keys go to it once it is up.
    std::string shownText;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<dlgMarcSearch*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        shownText = dlg->panel->cmbContent->text().toStdString();
        QTest::keyClick(dlg->panel->grdRecords, Qt::Key_Down);
        QTest::keyClick(dlg->panel->grdRecords, Qt::Key_Return);
    });
    ASSERT_EQ(list.MarcFind("journal"), 0);
    EXPECT_EQ(shownText, "journal");
    const std::string title = list.current()->title;
    EXPECT_EQ(sqltext::upper(title).rfind("JOURNAL", 0), 0u) << title;
    EXPECT_EQ(list.current()->marcNo, recordOf(title));
}

TEST_P(OrdMarc, IssnIsFoundHoweverItsHyphenBlanksAndCheckDigitAreTyped) {
    const std::string rec = recordOf("图书馆学研究进展");
    LibArray byTitle;
    ASSERT_EQ(intOrdMarcFind("图书馆学研究进展", byTitle), 0);
    ASSERT_EQ(byTitle.recordCount(), 1);
    const std::string issn = sqltext::trim(byTitle(4, 2).str());
    ASSERT_EQ(issn.size(), 9u) << "the demo title has an ISSN";
    std::string bare = issn.substr(0, 4) + issn.substr(5);
    for (const std::string& typed :
         {issn, bare, " " + issn.substr(0, 4) + " " + issn.substr(5), sqltext::lower(bare)}) {
        LibArray rows;
        ASSERT_EQ(intOrdMarcFind(typed, rows), 0);
        ASSERT_EQ(rows.recordCount(), 1) << "typed as '" << typed << "'";
        EXPECT_EQ(rows(0, 2).str(), rec);
    }
    EXPECT_EQ(MarcIssnInput("1234567"), "");
    EXPECT_EQ(MarcIssnInput("1234-567x"), "1234-567X");
    EXPECT_EQ(MarcIssnInput("X234-5678"), "") << "only the check digit may be X";
}

TEST_P(OrdMarc, RepeatCheckFindsTheSameRecordOrderedTwiceInTheYear) {
    const std::string rec = recordOf("现代情报技术");
    for (const char* no : {"1-1", "1-2"}) {
        OrdDetail d = CompleteDetail("YZFX", "202601", no);
        d.marcNo = rec;
        ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    }
    frmOrdList list;
    ASSERT_EQ(list.DataSet("YZFX", "202601", ""), 0);
    EXPECT_EQ(list.current()->title, "现代情报技术");
    EXPECT_EQ(list.CheckRepeat(), 1);
    EXPECT_EQ(presenter.shown.back().body, "查重结果：\n订购明细 YZFX 202601 1-2");
}

TEST_P(OrdMarc, DetailsDeletedWithTheirRecordsKeepRecordsStillOrdered) {
    const std::string shared = recordOf("现代情报技术"), own = recordOf("数字出版与传播");
    std::vector<std::string> keys;
    for (auto [no, rec] : {std::pair{"1-1", shared}, {"1-2", shared}, {"1-3", own}}) {
        OrdDetail d = CompleteDetail("YZFX", "202601", no);
        d.marcNo = rec;
        ASSERT_EQ(intSaveOrdDetail(d, false), 0);
        keys.push_back(d.key);
    }
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_EQ(intDeleteOrdDetails({keys[0], keys[2]}, true, true), 0);
    EXPECT_EQ(presenter.shown.back().body, "是否确定删除订购信息同时删除Marc信息？");
    EXPECT_EQ(scalar("SELECT count(*) FROM marc WHERE marc_rec_no='" + own + "'"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM marc_idx WHERE marc_rec_no='" + own + "'"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM marc WHERE marc_rec_no='" + shared + "'"), "1");
    // Deleting the catalogue takes the last order's record with it.
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_EQ(intDeleteOrdCata("YZFX", "202601"), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM marc WHERE marc_rec_no='" + shared + "'"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM marc"), "38");
}

TEST_P(OrdMarc, PreOrderTitleGetsItsOwnRecordWhenSaved) {
    MarcRec offered = MarcLoad(recordOf("化学工程学报"));
    offered.Kind = kMarcAsord;
    offered.RecNo.clear();
    ASSERT_TRUE(MarcSave(offered, 0, 0, ""));
    g_OraDatabase->execute(
        "INSERT INTO peri_asord_cata (publ_code, publ_year_month) VALUES ('YZFX','202601')");
    g_OraDatabase->execute(
        "INSERT INTO peri_asord_detl (publ_code, publ_year_month, asord_no, asord_marc_rec_no, "
        "money_code, peri_price, peri_year_price, publ_freq, carrier_code) VALUES "
        "('YZFX','202601','6-21','" +
        offered.RecNo + "','CNY',25,300,'月刊','01')");
    std::vector<OrdDetail> taken;
    ASSERT_EQ(intAsordToOrdDetails("YZFX", "202601", {}, "YZFX", "202601", taken), 0);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].title, "化学工程学报");
    EXPECT_EQ(taken[0].marcNo, "");
    OrdDetail d = taken[0];
    EXPECT_EQ(taken[0].periType, "") << "the order state is the operator's choice";
    d.periType = "0";
    d.getMode = "01";
    d.subs = CompleteDetail("YZFX", "202601", "x").subs;
    ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    ASSERT_FALSE(d.marcNo.empty());
    EXPECT_EQ(scalar("SELECT m_title FROM marc WHERE marc_rec_no='" + d.marcNo + "'"),
              "化学工程学报");
    EXPECT_EQ(scalar("SELECT marc_rec_no FROM m_peri_ord_detl"), d.marcNo);
    EXPECT_EQ(scalar("SELECT count(*) FROM marc"), "41");
}

TEST_P(OrdMarc, FieldsOfTheCurrentTitleAreAddedAndRemoved) {
    OrdDetail d = CompleteDetail("YZFX", "202601", "1-1");
    d.marcNo = recordOf("现代情报技术");
    ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    frmOrdList list;
    ASSERT_EQ(list.DataSet("YZFX", "202601", ""), 0);
    int before = list.m_frmMarc->model()->rowCount();
    ASSERT_EQ(list.InsertMarcField("300", "  ",
                                   "\x1f"
                                   "a订购备注"),
              0);
    EXPECT_EQ(list.m_frmMarc->model()->rowCount(), before + 1);
    ASSERT_EQ(list.DeleteMarcField("300"), 0);
    EXPECT_EQ(list.m_frmMarc->model()->rowCount(), before);
}

// The same catalogue on a database whose MARC columns are national-character text: titles come
// through the dump path.
class OrdMarcWide : public OrdMarc {
protected:
    InstallOptions installOptions() const override {
        InstallOptions o = OrdTestInstall();
        o.unicodeMarc = true;
        return o;
    }
};
SERIALS_ON_BOTH_BACKENDS(OrdMarcWide);

TEST_P(OrdMarcWide, TitlesOfTheDetailsReadThroughTheDumpPath) {
    ASSERT_TRUE(UnicodeMarcMode);
    OrdDetail d = CompleteDetail("YZFX", "202601", "1-1");
    d.marcNo = recordOf("现代情报技术");
    ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    std::vector<OrdDetail> all;
    ASSERT_EQ(intLoadOrdDetails("YZFX", "202601", all), 0);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].title, "现代情报技术");
    EXPECT_EQ(all[0].key, "YZFX|202601|1-1|" + d.marcNo);
    EXPECT_EQ(all[0].subs, d.subs);
}

}  // namespace
