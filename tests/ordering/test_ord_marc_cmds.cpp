// The record commands of the order list on both backends: a detail's short record display;
// deleting its record, refused while anything else uses it, whole or not at all; a new record
// made for a detail without one, linked at once or with the detail's save, whole or not at all;
// and the templates of a new detail.
#include <gtest/gtest.h>

#include "db/basLibMsg.h"
#include "marc/core/MarcImport.h"
#include "marc/core/basBMStore.h"
#include "ordering/core/OrdMarcCmds.h"
#include "ordering/core/basOrdFunc.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/FaultSteps.h"

namespace {

class OrdMarcCmds : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(MarcLoadDemoRecords({}).saved, 40);
        ASSERT_EQ(intNewOrdCata("YZFX", "202601"), 0);
        own = recordOf("数字出版与传播");
        shared = recordOf("现代情报技术");
        for (auto [no, rec] : {std::pair{"1-1", own}, {"1-2", shared}, {"1-3", shared}}) {
            OrdDetail d = CompleteDetail("YZFX", "202601", no);
            d.marcNo = rec;
            ASSERT_EQ(intSaveOrdDetail(d, false), 0);
        }
    }
    static std::string recordOf(const std::string& title) {
        return scalar("SELECT marc_rec_no FROM marc WHERE m_title='" + title + "'");
    }
    static std::string rowsOf(const std::string& rec) {
        return scalar("SELECT count(*) FROM marc WHERE marc_rec_no='" + rec + "'") + "/" +
               scalar("SELECT count(*) FROM marc_data WHERE marc_rec_no='" + rec + "'") + "/" +
               scalar("SELECT count(*) FROM marc_idx WHERE marc_rec_no='" + rec + "'");
    }
    static std::string tables() {
        return tableRows({"marc", "marc_data", "marc_idx", "m_peri_ord_detl"});
    }
    int remove(const std::string& no, const std::string& rec, long long version = 0) {
        return intDeleteOrdMarc("YZFX", "202601", no, version, rec, false);
    }
    std::string own, shared;
};
SERIALS_ON_BOTH_BACKENDS(OrdMarcCmds);

TEST_P(OrdMarcCmds, TheShortDisplayNamesTheRecord) {
    std::string text;
    ASSERT_EQ(intOrdMarcShort(own, text), 0);
    const auto lines = LIB_Split(text, "\n");
    ASSERT_EQ(lines.size(), 6u) << text;
    EXPECT_EQ(lines[0], "题名：数字出版与传播");
    EXPECT_EQ(lines[2], "出版者：新闻出版研究中心");
    EXPECT_EQ(lines[4],
              "ISSN/ISBN：" + scalar("SELECT m_isbn FROM marc WHERE marc_rec_no='" + own + "'"));
    EXPECT_EQ(lines[5], "记录号：" + own);
    ASSERT_EQ(intOrdMarcShort("9999999999", text), 0);
    EXPECT_EQ(text, "");
}

TEST_P(OrdMarcCmds, AnUnsharedRecordGoesWithItsIndexAndTheDetailKeepsItsOrder) {
    ASSERT_NE(rowsOf(own).substr(0, 2), "0/");
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_EQ(intDeleteOrdMarc("YZFX", "202601", "1-1", 0, own), 0);
    EXPECT_EQ(presenter.shown.front().body, "是否确定删除该订购明细的书目记录？");
    EXPECT_EQ(rowsOf(own), "0/0/0");
    EXPECT_EQ(scalar("SELECT nvl(marc_rec_no,'-') FROM m_peri_ord_detl WHERE asord_no='1-1'"), "-");
    EXPECT_EQ(scalar("SELECT row_version FROM m_peri_ord_detl WHERE asord_no='1-1'"), "1");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst WHERE asord_no='1-1'"), "2");
    EXPECT_NE(rowsOf(shared).substr(0, 2), "0/");
}

TEST_P(OrdMarcCmds, DeclinedOrUsedElsewhereNothingGoes) {
    const std::string before = tables();
    presenter.replies.push_back({kMsgCancel, {}});
    EXPECT_EQ(intDeleteOrdMarc("YZFX", "202601", "1-1", 0, own), 1);
    EXPECT_EQ(remove("1-2", shared), -1);
    EXPECT_EQ(presenter.bodies().back(), "该书目记录还有其他订购明细使用，不能删除！");
    g_OraDatabase->execute("INSERT INTO item (prop_no, marc_rec_no) VALUES ('Q0000001','" + own +
                           "')");
    EXPECT_EQ(remove("1-1", own), -1);
    EXPECT_EQ(presenter.bodies().back(), "该书目记录还有馆藏使用，不能删除！");
    g_OraDatabase->execute("DELETE FROM item");
    EXPECT_EQ(remove("1-1", ""), -1);
    EXPECT_EQ(presenter.bodies().back(), "该订购明细没有书目记录！");
    EXPECT_EQ(tables(), before);
}

TEST_P(OrdMarcCmds, ADetailChangedSinceItWasReadKeepsItsRecord) {
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET row_version=3 WHERE asord_no='1-1'");
    const std::string before = tables();
    EXPECT_EQ(remove("1-1", own, 2), -1);
    EXPECT_EQ(presenter.bodies().back(), strOrdChangedElsewhere("1-1"));
    EXPECT_EQ(tables(), before);
    EXPECT_EQ(remove("1-1", own, 3), 0);
}

TEST_P(OrdMarcCmds, AFailureAtAnyStepLeavesRecordAndDetail) {
    ProbeBackend& probe = ProbeBackend::install();
    auto failed = failEachStep(
        probe, presenter, [&] { return remove("1-1", own) == 0; }, tables);
    EXPECT_TRUE(contains(failed, "begin"));
    EXPECT_TRUE(contains(failed, "commit"));
    EXPECT_EQ(rowsOf(own), "0/0/0");
}

std::string field(const MarcRec& rec, const std::string& ref) {
    MarcResetCursor();
    return MarcGetSubFieldSeq(rec, ref);
}

TEST(OrdTemple, EachTemplateFillsWhatAChineseOrAForeignTitleNeeds) {
    const OrdUsualCodes distributor{"02", "03", "CNY", ""}, library{"01", "01", "CNY", "EUR"};
    OrdDetail cn = NewOrdDetail("YZFX", "202601");
    ApplyOrdTemple(cn, OrdTemple::CNPublish, distributor, library);
    EXPECT_EQ(cn.newMarc.marcType, "C");
    EXPECT_EQ(cn.language + "/" + cn.country + "/" + cn.moneyType, "chi/CN/CNY");
    EXPECT_EQ(cn.getMode + "/" + cn.carrier, "02/03") << "the distributor's usual codes";
    EXPECT_EQ(cn.periType, "") << "the order state is still the operator's to choose";

    OrdDetail us = NewOrdDetail("YZFX", "202601");
    ApplyOrdTemple(us, OrdTemple::USPublish, distributor, library);
    EXPECT_EQ(us.newMarc.marcType, "U");
    EXPECT_EQ(us.newMarc.language + "/" + us.newMarc.country, "eng/US");
    EXPECT_EQ(us.moneyType, "EUR") << "the library's usual foreign currency";
    us = NewOrdDetail("YZFX", "202601");
    ApplyOrdTemple(us, OrdTemple::USPublish, {"", "", "USD", "JPY"}, library);
    EXPECT_EQ(us.moneyType, "JPY") << "the distributor's comes first";
    us = NewOrdDetail("YZFX", "202601");
    ApplyOrdTemple(us, OrdTemple::USPublish, {}, {});
    EXPECT_EQ(us.moneyType, "USD") << "nothing ordered abroad yet";
    us.moneyType = "GBP";
    ApplyOrdTemple(us, OrdTemple::USPublish, distributor, library);
    EXPECT_EQ(us.moneyType, "GBP") << "a chosen currency stays";
}

TEST(OrdTemple, TheRecordMadeCarriesFormatLanguageAndCountry) {
    const MarcRec cn = OrdNewMarcRecord(
        {"C", " 图书情报工作 ", "0252-3116", "图书情报工作杂志社", "北京", "chi", "CN"},
        "2026-03-02");
    EXPECT_EQ(cn.MarcType, "C");
    EXPECT_EQ(cn.DocTypeCode, "11");
    EXPECT_EQ(cn.LangCode + cn.CountryCode, "CHICN");
    EXPECT_EQ(cn.Leader.substr(5, 7), "nas  22");
    EXPECT_EQ(field(cn, "200a"), "图书情报工作");
    EXPECT_EQ(field(cn, "011a"), "0252-3116");
    EXPECT_EQ(field(cn, "101a"), "chi");
    EXPECT_EQ(field(cn, "102a"), "CN");
    EXPECT_EQ(field(cn, "210c"), "图书情报工作杂志社");
    EXPECT_EQ(field(cn, "100a").substr(0, 9), "20260302d");

    const MarcRec us = OrdNewMarcRecord(
        {"U", "Nature", "0028-0836", "Nature Portfolio", "London", "ger", "GB"}, "2026-03-02");
    EXPECT_EQ(us.MarcType, "U");
    EXPECT_EQ(us.LangCode + us.CountryCode, "GERGB");
    EXPECT_EQ(us.Leader.substr(5, 7), "cas a22");
    EXPECT_EQ(field(us, "245a"), "Nature");
    EXPECT_EQ(field(us, "022a"), "0028-0836");
    EXPECT_EQ(field(us, "260b"), "Nature Portfolio");
    const std::string fixed = field(us, "008");
    ASSERT_EQ(fixed.size(), 40u);
    EXPECT_EQ(fixed.substr(0, 6), "260302");
    EXPECT_EQ(fixed.substr(15, 3), "gb ");
    EXPECT_EQ(fixed.substr(35, 3), "ger");

    EXPECT_EQ(strOrdNewMarcError({"C", "  ", "", "", "", "chi", "CN"}), "请输入刊名！");
    EXPECT_EQ(strOrdNewMarcError({"", "Nature", "", "", "", "", ""}), "请选择书目格式！");
    EXPECT_EQ(strOrdNewMarcError({"U", "Nature", "", "", "", "", ""}), "");
}

class OrdMarcAdd : public OrdMarcCmds {
protected:
    void SetUp() override {
        OrdMarcCmds::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        OrdDetail bare = CompleteDetail("YZFX", "202601", "2-1");
        ASSERT_EQ(intSaveOrdDetail(bare, false), 0);
    }
    int add(const OrdNewMarc& m, long long version = 0) {
        return intAddOrdMarc("YZFX", "202601", "2-1", version, m, recNo);
    }
    static std::string linked(const char* no) {
        return scalar(std::string("SELECT COALESCE(marc_rec_no,'') FROM m_peri_ord_detl WHERE "
                                  "asord_no='") +
                      no + "'");
    }
    const OrdNewMarc journal{
        "C", "现代图书情报技术", "1003-3513", "中国科学院文献情报中心", "北京", "chi", "CN"};
    std::string recNo;
};
SERIALS_ON_BOTH_BACKENDS(OrdMarcAdd);

TEST_P(OrdMarcAdd, ASavedDetailGetsItsNewRecordLinkedAndIndexed) {
    ASSERT_EQ(add(journal), 0);
    ASSERT_EQ(recNo.size(), 10u);
    EXPECT_EQ(linked("2-1"), recNo);
    EXPECT_EQ(scalar("SELECT row_version FROM m_peri_ord_detl WHERE asord_no='2-1'"), "1");
    EXPECT_EQ(scalar("SELECT m_title FROM marc WHERE marc_rec_no='" + recNo + "'"),
              "现代图书情报技术");
    EXPECT_NE(scalar("SELECT count(*) FROM marc_idx WHERE marc_rec_no='" + recNo + "'"), "0");
    const MarcRec back = MarcLoad(recNo);
    EXPECT_EQ(back.MarcType, "C");
    EXPECT_EQ(field(back, "200a"), "现代图书情报技术");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst WHERE asord_no='2-1'"), "2")
        << "the detail keeps its subscribers";
}

TEST_P(OrdMarcAdd, ADetailWithARecordAChangedOneOrNoTitleGetsNone) {
    const std::string before = tables();
    EXPECT_EQ(add(journal, 5), -1);
    EXPECT_EQ(presenter.bodies().back(), strOrdChangedElsewhere("2-1"));
    EXPECT_EQ(add({"C", "", "", "", "", "chi", "CN"}), -1);
    EXPECT_EQ(presenter.bodies().back(), "请输入刊名！");
    EXPECT_EQ(intAddOrdMarc("YZFX", "202601", "1-1", 0, journal, recNo), -1);
    EXPECT_EQ(presenter.bodies().back(), "该订购明细已有书目记录！");
    EXPECT_EQ(linked("1-1"), own);
    EXPECT_EQ(tables(), before);
}

TEST_P(OrdMarcAdd, AFailureAtAnyStepLeavesNoRecordAndNoLink) {
    ProbeBackend& probe = ProbeBackend::install();
    auto failed = failEachStep(
        probe, presenter, [&] { return add(journal) == 0; }, tables);
    EXPECT_TRUE(contains(failed, "begin"));
    EXPECT_TRUE(contains(failed, "commit"));
    EXPECT_EQ(linked("2-1"), recNo);
}

TEST_P(OrdMarcAdd, ANewDetailFromATemplateMakesItsRecordWithItsSave) {
    OrdDetail d = CompleteDetail("YZFX", "202601", "2-2");
    ApplyOrdTemple(d, OrdTemple::USPublish, {}, {});
    OrdNewMarc m = d.newMarc;
    EXPECT_EQ(intSaveOrdDetail(d, false), -1) << "no title yet";
    EXPECT_NE(presenter.bodies().back().find(" 必须输入刊名！"), std::string::npos);
    m.title = "Library Journal";
    SetOrdNewMarc(d, m);
    EXPECT_EQ(d.title, "Library Journal");
    const std::string before = tables();
    ProbeBackend& probe = ProbeBackend::install();
    auto failed = failEachStep(
        probe, presenter,
        [&] {
            OrdDetail attempt = d;
            if (intSaveOrdDetail(attempt, false) != 0) return false;
            d = attempt;
            return true;
        },
        tables);
    EXPECT_TRUE(contains(failed, "begin"));
    EXPECT_TRUE(contains(failed, "commit"));
    ASSERT_NE(d.marcNo, "");
    EXPECT_EQ(d.newMarc, OrdNewMarc{}) << "made once";
    EXPECT_EQ(linked("2-2"), d.marcNo);
    EXPECT_EQ(MarcLoad(d.marcNo).MarcType, "U");
    EXPECT_EQ(scalar("SELECT lang_code FROM marc WHERE marc_rec_no='" + d.marcNo + "'"), "ENG");
    EXPECT_NE(tables(), before);
}

}  // namespace
