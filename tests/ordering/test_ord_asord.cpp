// Pre-order items on both backends: the review file read and added to a pre-order catalogue
// (with its refusals and its fault test), the publishing house of a title, the usual codes a
// detail taken over gets, and the titles an order catalogue orders already.
#include <gtest/gtest.h>

#include <fstream>

#include "db/Gbk.h"
#include "ordering/core/OrdAsord.h"
#include "ordering/core/basOrdFunc.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/FaultSteps.h"

namespace {

class OrdAsord : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        g_OraDatabase->execute(
            "INSERT INTO peri_asord_cata (publ_code, publ_year_month) VALUES ('YZFX','202601')");
    }
    std::string writeFile(const std::string& name, const std::string& text) {
        const std::string path = home->dir() + "/TMP/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static std::string tables() {
        return tableRows({"peri_asord_detl", "asord_marc", "reg_marc_number"});
    }
};
SERIALS_ON_BOTH_BACKENDS(OrdAsord);

TEST_P(OrdAsord, ReviewFileIsReadWithItsHeadingAndInEitherEncoding) {
    const std::string text =
        "征订号,刊名,ISSN,出版社,单价,年价,出版频率,载体,币种,类号,备注\n"
        "# 2026 年度征订\n"
        "2-15,情报学前沿,1002-1965,P0001,１２.5,,月刊,01,CNY,G25,核心\n"
        "\n"
        "82-1\n";
    for (bool gbk : {false, true}) {
        SCOPED_TRACE(gbk ? "GBK" : "UTF-8");
        std::vector<OrdDetail> items;
        std::string error;
        ASSERT_EQ(
            intReadAsordFile(writeFile("review.csv", gbk ? utf8ToGbk(text) : text), items, error),
            0)
            << error;
        ASSERT_EQ(items.size(), 2u);
        EXPECT_EQ(items[0].asordNo, "2-15");
        EXPECT_EQ(items[0].title, "情报学前沿");
        EXPECT_EQ(items[0].issn, "1002-1965");
        EXPECT_EQ(items[0].publisher, "P0001");
        EXPECT_EQ(items[0].price, "12.5") << "full-width digits are digits";
        EXPECT_EQ(items[0].publFreq, "月刊");
        EXPECT_EQ(items[0].remark, "核心");
        EXPECT_EQ(items[1].asordNo, "82-1");
        EXPECT_EQ(items[1].title, "");
    }
}

TEST_P(OrdAsord, ReviewFileWithABadLineIsRefusedNamingTheLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"2-15,甲刊\n,乙刊\n", "第 2 行： 必须输入征订号！"},
        {"2-15,甲刊,,,12,5元\n", "第 1 行： 年价必须是数字！"},
        {"2-15,甲刊,,,12,,月刊,99\n", "第 1 行： 载体类型【99】不存在，请重新选择！"},
        {"2-15,甲刊\n2-16\n2-15,丙刊\n", "第 3 行： 征订号【2-15】在文件中重复！"},
        {"2-15,\"甲刊\n", "第 1 行：引号不成对"},
        {"2-15,甲刊,,,,,,,,," + std::string(201, 'x') + "\n", "第 1 行： 备注不能超过200个字符！"}};
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(text);
        std::vector<OrdDetail> items;
        std::string error;
        EXPECT_EQ(intReadAsordFile(writeFile("bad.csv", text), items, error), -1);
        EXPECT_EQ(error, message);
        EXPECT_TRUE(items.empty());
    }
    // A title longer than the record's listing keeps what the listing holds: 100 GBK bytes.
    std::string longTitle;
    for (int i = 0; i < 60; ++i)
        longTitle += "刊";
    std::vector<OrdDetail> items;
    std::string error;
    ASSERT_EQ(intReadAsordFile(writeFile("long.csv", "2-15," + longTitle + "\n"), items, error), 0)
        << error;
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, longTitle.substr(0, 50 * 3));
}

TEST_P(OrdAsord, ItemsAreAddedWithTheirRecordsAndNumbersHeldAlreadyAreListed) {
    g_OraDatabase->execute(
        "INSERT INTO peri_asord_detl (publ_code, publ_year_month, asord_no, peri_price) VALUES "
        "('YZFX','202601','2-16',9)");
    const std::string before = scalar(
        "SELECT max_rec_no FROM reg_marc_number WHERE "
        "marc_kind='asord_marc'");
    std::vector<OrdDetail> items;
    std::string error;
    ASSERT_EQ(intReadAsordFile(writeFile("review.csv",
                                         "2-15,情报学前沿,1002-1965,P0001,12.5,,月刊,01,CNY\n"
                                         "2-16,旧刊,,,20\n"
                                         "82-1,,,,,48,季刊\n"),
                               items, error),
              0)
        << error;
    std::vector<std::string> existing;
    EXPECT_EQ(intAddAsordItems("YZFX", "202601", items, existing), 2);
    EXPECT_EQ(existing, std::vector<std::string>{"2-16"});
    EXPECT_EQ(scalar("SELECT peri_price FROM peri_asord_detl WHERE asord_no='2-16'"), "9")
        << "an item held already is left as it was";
    // The annual price follows the unit price and the frequency, as an operator's typing would.
    EXPECT_EQ(scalar("SELECT peri_year_price FROM peri_asord_detl WHERE asord_no='2-15'"), "150");
    EXPECT_EQ(scalar("SELECT peri_year_price FROM peri_asord_detl WHERE asord_no='82-1'"), "48");
    const std::string rec =
        scalar("SELECT asord_marc_rec_no FROM peri_asord_detl WHERE asord_no='2-15'");
    EXPECT_EQ(scalar("SELECT m_title FROM asord_marc WHERE asord_marc_rec_no='" + rec + "'"),
              "情报学前沿");
    EXPECT_EQ(scalar("SELECT m_isbn FROM asord_marc WHERE asord_marc_rec_no='" + rec + "'"),
              "1002-1965");
    EXPECT_EQ(scalar("SELECT count(*) FROM peri_asord_detl WHERE asord_no='82-1' AND "
                     "asord_marc_rec_no IS NULL"),
              "1")
        << "an item without a title gets no record";
    EXPECT_EQ(LibVar(scalar("SELECT max_rec_no FROM reg_marc_number WHERE "
                            "marc_kind='asord_marc'"))
                  .integer(),
              LibVar(before).integer() + 1);

    // The items are what the pre-order list shows.
    std::vector<OrdDetail> shown;
    ASSERT_EQ(intLoadAsordItems("YZFX", "202601", shown), 0);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].title, "情报学前沿");
    EXPECT_EQ(shown[0].publisher, "P0001");
}

TEST_P(OrdAsord, AFailureAtAnyStepOfAddingItemsLeavesTheCatalogueAsItWas) {
    std::vector<OrdDetail> items(3);
    items[0].asordNo = "2-15";
    items[0].title = "情报学前沿";
    items[1].asordNo = "2-16";
    items[1].title = "图书馆论坛";
    items[2].asordNo = "2-17";
    items[2].price = "10";
    ProbeBackend& probe = ProbeBackend::install();
    auto failed = failEachStep(
        probe, presenter,
        [&] {
            std::vector<std::string> existing;
            return intAddAsordItems("YZFX", "202601", items, existing) == 3;
        },
        tables);
    EXPECT_TRUE(contains(failed, "begin"));
    EXPECT_TRUE(contains(failed, "commit"));
    EXPECT_EQ(scalar("SELECT count(*) FROM peri_asord_detl"), "3");
}

// The review file as the pre-order list and serialsctl import it: the catalogue must exist, the
// items keep their normalised numbers, and a failure at any step adds nothing.
TEST_P(OrdAsord, ReviewFileImportIsOneTransactionIntoAnExistingCatalogue) {
    const std::string path =
        writeFile("review.csv", "2-15,情报学前沿,1002-1965,P0001,12.5,,月刊,01,CNY\n82-1\n");
    AsordImportResult r;
    const std::string before = tables();
    EXPECT_EQ(intImportAsordFile("YZFX", "202699", path, r), -1);
    EXPECT_EQ(presenter.bodies().back(), "征订目录 YZFX 202699 不存在！");
    EXPECT_EQ(tables(), before);

    ProbeBackend& probe = ProbeBackend::install();
    auto failed = failEachStep(
        probe, presenter, [&] { return intImportAsordFile("YZFX", "202601", path, r) == 0; },
        tables);
    EXPECT_TRUE(contains(failed, "begin"));
    EXPECT_TRUE(contains(failed, "commit"));
    EXPECT_EQ(r.added, 2);
    EXPECT_EQ(strAsordImportReport(r), "已导入 2 条征订信息。");
    EXPECT_EQ(scalar("SELECT fmt_asord_no FROM peri_asord_detl WHERE asord_no='82-1'"),
              "0082-0001");
    EXPECT_EQ(scalar("SELECT fmt_asord_no FROM peri_asord_detl WHERE asord_no='2-15'"),
              "0002-0015");

    ASSERT_EQ(intImportAsordFile("YZFX", "202601", path, r), 0);
    EXPECT_EQ(strAsordImportReport(r),
              "已导入 0 条征订信息。\n下列征订号在该目录中已经存在：\n2-15\n82-1");
}

TEST_P(OrdAsord, PublishingHouseIsFoundByCodeOrName) {
    OrdPress press;
    ASSERT_EQ(intGetOrdPress("P0004", press), 1);
    EXPECT_EQ(press.name, "东方经济杂志社");
    EXPECT_EQ(press.address, "上海市黄浦区汉口路309号");
    EXPECT_EQ(press.country, "CN");
    EXPECT_EQ(press.area, "310000");
    EXPECT_EQ(strOrdPressLine("P0004", 1, press),
              "出版社：东方经济杂志社  地址：上海市黄浦区汉口路309号  国别：CN  地区：310000");
    ASSERT_EQ(intGetOrdPress("Thameside Academic Press", press), 1);
    EXPECT_EQ(press.country, "GB");
    EXPECT_EQ(strOrdPressLine("Thameside Academic Press", 1, press),
              "出版社：Thameside Academic Press  地址：14 Riverside Walk, Oxford  国别：GB");
    EXPECT_EQ(intGetOrdPress("某某出版社", press), 0);
    EXPECT_EQ(strOrdPressLine("某某出版社", 0, press), "出版社：某某出版社（出版社代码表中没有）");
    EXPECT_EQ(intGetOrdPress("' OR '1'='1", press), 0) << "the text is a value, not SQL";
    EXPECT_EQ(intGetOrdPress("", press), 0);
    EXPECT_EQ(strOrdPressLine("", 0, press), "");
}

TEST_P(OrdAsord, UsualCodesComeFromTheDistributorThenTheLibrary) {
    // The library orders mostly printed titles in CNY; TSJK, a foreign agent, in USD on CD.
    ASSERT_EQ(intNewOrdCata("YZFX", "202501"), 0);
    ASSERT_EQ(intNewOrdCata("TSJK", "202501"), 0);
    for (const char* no : {"1-1", "1-2", "1-3"}) {
        OrdDetail d = CompleteDetail("YZFX", "202501", no);
        ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    }
    for (auto [no, money] : {std::pair{"A1", "USD"}, {"A2", "USD"}, {"A3", "EUR"}}) {
        OrdDetail d = CompleteDetail("TSJK", "202501", no);
        d.moneyType = money;
        d.carrier = "02";
        ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    }
    OrdUsualCodes tsjk, library;
    ASSERT_EQ(intGetOrdUsualCodes("TSJK", tsjk, library), 0);
    EXPECT_EQ(tsjk.moneyType, "USD");
    EXPECT_EQ(tsjk.carrier, "02");
    EXPECT_EQ(tsjk.getMode, "01");
    EXPECT_EQ(library.moneyType, "CNY");
    EXPECT_EQ(library.foreignMoney, "USD") << "the most used currency besides CNY";
    EXPECT_EQ(tsjk.foreignMoney, "USD");
    EXPECT_EQ(library.carrier, "01") << "a tie goes to the smaller code";

    OrdDetail offer;
    offer.title = "Journal of Things";
    FillUsualCodes(offer, tsjk, library);
    EXPECT_EQ(offer.moneyType, "USD");
    EXPECT_EQ(offer.carrier, "02");
    offer = {};
    offer.moneyType = "GBP";
    FillUsualCodes(offer, tsjk, library);
    EXPECT_EQ(offer.moneyType, "GBP") << "what the offer says stays";

    // A distributor never ordered from: the library's codes.
    OrdUsualCodes fresh;
    ASSERT_EQ(intGetOrdUsualCodes("XHSD", fresh, library), 0);
    EXPECT_EQ(fresh.moneyType, "");
    offer = {};
    FillUsualCodes(offer, fresh, library);
    EXPECT_EQ(offer.moneyType, "CNY");
    EXPECT_EQ(offer.getMode, "01");

    // Nothing ordered anywhere: a Chinese title is paid in CNY, a foreign one is left to choose.
    const OrdUsualCodes none;
    OrdDetail chinese, western, byCountry;
    chinese.title = "中国历史地理评论";
    western.title = "Revue d'histoire";
    byCountry.title = "Acta Sinica";
    byCountry.country = "CN";
    for (OrdDetail* d : {&chinese, &western, &byCountry})
        FillUsualCodes(*d, none, none);
    EXPECT_EQ(chinese.moneyType, "CNY");
    EXPECT_EQ(western.moneyType, "");
    EXPECT_EQ(byCountry.moneyType, "CNY");
    EXPECT_EQ(chinese.getMode, "");
}

TEST_P(OrdAsord, OfferedTitlesTheCatalogueOrdersAreFoundByNumberRecordIssnOrTitle) {
    ASSERT_EQ(intNewOrdCata("YZFX", "202601"), 0);
    // A catalogue record of the title ordered, as its header row lists it.
    const std::string rec = "0000009001";
    g_OraDatabase->execute(
        "INSERT INTO marc (marc_rec_no, marc_type, m_title, m_isbn) VALUES "
        "('0000009001','C','情报学报','1000-0135')");
    ASSERT_FALSE(rec.empty());
    const std::string issn = scalar("SELECT m_isbn FROM marc WHERE marc_rec_no='" + rec + "'");
    const std::string title = scalar("SELECT m_title FROM marc WHERE marc_rec_no='" + rec + "'");
    OrdDetail saved = CompleteDetail("YZFX", "202601", "5-1");
    saved.marcNo = rec;
    ASSERT_EQ(intSaveOrdDetail(saved, false), 0);
    // Another catalogue orders the same title: no concern of this one.
    ASSERT_EQ(intNewOrdCata("YZFX", "202602"), 0);
    OrdDetail elsewhere = CompleteDetail("YZFX", "202602", "9-9");
    ASSERT_EQ(intSaveOrdDetail(elsewhere, false), 0);

    auto offer = [](const std::string& no, const std::string& t, const std::string& i) {
        OrdDetail d;
        d.asordNo = no;
        d.title = t;
        d.issn = i;
        return d;
    };
    std::string bare = issn;
    std::erase(bare, '-');
    std::vector<OrdDetail> offers = {
        offer("5-1", "别的刊名", ""),      // the number
        offer("5-2", "另一个刊名", bare),  // the ISSN, written without its hyphen
        offer("5-3", title, ""),           // the title, no ISSN offered
        offer("5-4", title, "0000-0019"),  // the title, but another ISSN: another title
        offer("5-5", "新刊", ""),          // nothing in common
        offer("5-6", "列表中的新刊", ""),  // a new row of the list, not saved yet
        offer("9-9", "别的", "")};         // a number of another batch only
    OrdDetail listed = offer("5-7", "列表中的新刊", "");
    OrdOrderedAlready found;
    ASSERT_EQ(intFindOrderedAlready("YZFX", "202601", offers, {listed}, found), 0);
    EXPECT_EQ(found.sameNumber, std::vector<std::string>{"5-1"});
    EXPECT_EQ(found.sameTitle, (std::vector<std::string>{"5-2", "5-3", "5-6"}));

    OrdDetail sameRecord = offer("5-8", "", "");
    sameRecord.marcNo = rec;
    EXPECT_TRUE(IsSameOrdTitle(sameRecord, saved));
}

}  // namespace
