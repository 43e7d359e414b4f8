// The order and pre-order search across catalogues: what each search field matches, the year
// bounds, the order of the rows, the page limit and the refusals, on both backends.
#include <gtest/gtest.h>

#include "marc/core/MarcImport.h"
#include "ordering/core/OrdAsord.h"
#include "ordering/core/OrdSearch.h"
#include "ordering/core/basOrdFunc.h"
#include "tests/ordering/OrdTestData.h"

namespace {

class OrdSearch : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(MarcLoadDemoRecords({}).saved, 40);
        // One Chinese title in two batches of the bureau, a Western title from the importer.
        for (auto [publ, year] :
             {std::pair{"YZFX", "202501"}, {"YZFX", "202601"}, {"TSJK", "202601"}})
            ASSERT_EQ(intNewOrdCata(publ, year), 0);
        save("YZFX", "202501", "2-15", recordOf("现代情报技术"));
        save("YZFX", "202601", "2-15", recordOf("现代情报技术"));
        save("YZFX", "202601", "2-24", recordOf("数字出版与传播"));
        save("TSJK", "202601", "0012-A", recordOf("Journal of serials practice"));
    }
    static std::string recordOf(const std::string& title) {
        return scalar("SELECT marc_rec_no FROM marc WHERE m_title='" + title + "'");
    }
    static void save(const std::string& publ, const std::string& year, const std::string& no,
                     const std::string& rec) {
        OrdDetail d = CompleteDetail(publ, year, no);
        d.marcNo = rec;
        ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    }
    // "publ year no" of each row found.
    static std::vector<std::string> found(OrdSearchQuery q, bool* more = nullptr) {
        std::vector<OrdSearchHit> hits;
        bool more_ = false;
        EXPECT_EQ(intOrdSearch(q, hits, more_), 0);
        if (more) *more = more_;
        std::vector<std::string> out;
        for (const OrdSearchHit& h : hits)
            out.push_back(h.publ + " " + h.year + " " + h.asordNo);
        return out;
    }
    static OrdSearchQuery query(OrdSearchField field, const std::string& text,
                                OrdSearchKind kind = OrdSearchKind::Order) {
        OrdSearchQuery q;
        q.kind = kind;
        q.field = field;
        q.text = text;
        return q;
    }
};
SERIALS_ON_BOTH_BACKENDS(OrdSearch);

using Rows = std::vector<std::string>;

TEST_P(OrdSearch, ATitleWordFindsTheTitleInEveryCatalogueNewestBatchFirst) {
    EXPECT_EQ(found(query(OrdSearchField::Title, "情报")),
              (Rows{"YZFX 202601 2-15", "YZFX 202501 2-15"}));
    std::vector<OrdSearchHit> hits;
    bool more = true;
    ASSERT_EQ(intOrdSearch(query(OrdSearchField::Title, "情报技术"), hits, more), 0);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_FALSE(more);
    const OrdSearchHit& h = hits[0];
    EXPECT_EQ(h.publName, "全国邮政报刊发行局");
    EXPECT_EQ(h.title, "现代情报技术");
    EXPECT_EQ(h.publisher, "中国情报学会");
    EXPECT_EQ(h.totalPrice, "150");
    EXPECT_EQ(h.copies, "3");
    EXPECT_EQ(h.status, "0");
    EXPECT_EQ(h.marcNo, recordOf("现代情报技术"));
    EXPECT_EQ(h.key, strOrdRowKey("YZFX", "202601", "2-15", h.marcNo));
    // Latin titles match in either case; a title word that no title holds finds nothing.
    EXPECT_EQ(found(query(OrdSearchField::Title, "SERIALS practice")),
              (Rows{"TSJK 202601 0012-A"}));
    EXPECT_TRUE(found(query(OrdSearchField::Title, "海洋")).empty());
}

TEST_P(OrdSearch, PublisherMatchesAnywhereInItsName) {
    EXPECT_EQ(found(query(OrdSearchField::Publisher, "研究中心")), (Rows{"YZFX 202601 2-24"}));
    EXPECT_EQ(found(query(OrdSearchField::Publisher, "northfield")), (Rows{"TSJK 202601 0012-A"}));
}

TEST_P(OrdSearch, AnIssnIsFoundHoweverItIsTyped) {
    const std::string issn = scalar("SELECT m_isbn FROM marc WHERE m_title='数字出版与传播'");
    ASSERT_EQ(issn.size(), 9u);
    std::string bare = issn.substr(0, 4) + issn.substr(5);
    for (const std::string& typed : {issn, bare, " " + issn.substr(0, 4) + " " + issn.substr(5)})
        EXPECT_EQ(found(query(OrdSearchField::Issn, typed)), (Rows{"YZFX 202601 2-24"})) << typed;
}

TEST_P(OrdSearch, AnOrderNumberMatchesFromItsStartOrInItsNormalisedForm) {
    EXPECT_EQ(found(query(OrdSearchField::AsordNo, "2-")),
              (Rows{"YZFX 202601 2-15", "YZFX 202601 2-24", "YZFX 202501 2-15"}));
    EXPECT_EQ(found(query(OrdSearchField::AsordNo, "0002-0024")), (Rows{"YZFX 202601 2-24"}));
    EXPECT_EQ(found(query(OrdSearchField::AsordNo, "0012")), (Rows{"TSJK 202601 0012-A"}));
    // Not from the middle.
    EXPECT_TRUE(found(query(OrdSearchField::AsordNo, "15")).empty());
}

TEST_P(OrdSearch, YearBoundsKeepToTheirBatches) {
    OrdSearchQuery q = query(OrdSearchField::Title, "情报");
    q.fromYear = "2026";
    EXPECT_EQ(found(q), (Rows{"YZFX 202601 2-15"}));
    q.fromYear.clear();
    q.toYear = "2025";
    EXPECT_EQ(found(q), (Rows{"YZFX 202501 2-15"}));
    q.fromYear = "2025";
    EXPECT_EQ(found(q), (Rows{"YZFX 202501 2-15"}));
}

TEST_P(OrdSearch, WildcardsAndQuotesInTheTextMatchOnlyThemselves) {
    for (const char* text : {"%", "_", "情_技术", "'", "现代' OR '1'='1"}) {
        EXPECT_TRUE(found(query(OrdSearchField::Title, text)).empty()) << text;
        EXPECT_TRUE(found(query(OrdSearchField::AsordNo, text)).empty()) << text;
    }
    g_OraDatabase->execute("UPDATE marc SET m_title='100%_纯度' WHERE m_title='化学工程学报'");
    save("YZFX", "202601", "3-45", recordOf("100%_纯度"));
    EXPECT_EQ(found(query(OrdSearchField::Title, "0%_纯")), (Rows{"YZFX 202601 3-45"}));
}

TEST_P(OrdSearch, PreOrderItemsAreSearchedInTheirOwnCatalogues) {
    g_OraDatabase->execute(
        "INSERT INTO asord_marc (asord_marc_rec_no, m_title, m_isbn, m_publisher) VALUES "
        "('0000000901','现代情报技术','1001-8867','中国情报学会'),"
        "('0000000902','情报杂志','1002-1965','情报所')");
    g_OraDatabase->execute(
        "INSERT INTO peri_asord_cata (publ_code, publ_year_month) VALUES ('YZFX','202611'),"
        "('YZFX','202511')");
    g_OraDatabase->execute(
        "INSERT INTO peri_asord_detl (publ_code, publ_year_month, asord_no, asord_marc_rec_no, "
        "peri_price, peri_year_price) VALUES ('YZFX','202611','2-15','0000000901',15,180),"
        "('YZFX','202511','82-1','0000000902',8,96)");
    std::vector<OrdSearchHit> hits;
    bool more = false;
    ASSERT_EQ(intOrdSearch(query(OrdSearchField::Title, "情报", OrdSearchKind::Asord), hits, more),
              0);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].year, "202611");
    EXPECT_EQ(hits[0].totalPrice, "180");
    EXPECT_EQ(hits[0].marcNo, "0000000901");
    EXPECT_EQ(hits[0].key, "YZFX|202611|2-15|0000000901");
    EXPECT_EQ(hits[1].asordNo, "82-1");
    // An item numbered in the normalised form is found by the short form too.
    g_OraDatabase->execute("UPDATE peri_asord_detl SET asord_no='0082-0001' WHERE asord_no='82-1'");
    EXPECT_EQ(found(query(OrdSearchField::AsordNo, "82-1", OrdSearchKind::Asord)),
              (Rows{"YZFX 202511 0082-0001"}));
    OrdSearchQuery q = query(OrdSearchField::Issn, "10021965", OrdSearchKind::Asord);
    q.fromYear = q.toYear = "2025";
    EXPECT_EQ(found(q), (Rows{"YZFX 202511 0082-0001"}));
}

// Items that came in through the review file carry their normalised number: "0082-0001" and
// "82-01" find the item written 82-1, whatever the order details hold.
TEST_P(OrdSearch, PreOrderNumbersAreFoundInTheirNormalisedForm) {
    g_OraDatabase->execute(
        "INSERT INTO peri_asord_cata (publ_code, publ_year_month) VALUES ('YZFX','202611')");
    std::vector<OrdDetail> items(3);
    items[0].asordNo = "82-1";
    items[1].asordNo = "2-15:A";
    items[2].asordNo = "12345-1";
    std::vector<std::string> existing;
    ASSERT_EQ(intAddAsordItems("YZFX", "202611", items, existing), 3);
    EXPECT_EQ(scalar("SELECT fmt_asord_no FROM peri_asord_detl WHERE asord_no='82-1'"),
              "0082-0001");
    for (const char* typed : {"0082-0001", "82-01", "82-1"})
        EXPECT_EQ(found(query(OrdSearchField::AsordNo, typed, OrdSearchKind::Asord)),
                  (Rows{"YZFX 202611 82-1"}))
            << typed;
    EXPECT_EQ(found(query(OrdSearchField::AsordNo, "0002-15:A", OrdSearchKind::Asord)),
              (Rows{"YZFX 202611 2-15:A"}));
    EXPECT_EQ(found(query(OrdSearchField::AsordNo, "12345-0001", OrdSearchKind::Asord)), Rows{})
        << "a number whose first part is too long stays as written";
    EXPECT_TRUE(found(query(OrdSearchField::AsordNo, "0082-0001")).empty())
        << "the order details are searched apart";
}

TEST_P(OrdSearch, ALongResultIsCutToAPageAndSaysSo) {
    g_OraDatabase->execute(
        "INSERT INTO m_peri_ord_detl (publ_code, peri_ord_year, asord_no, ord_flag) "
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
        std::to_string(kOrdSearchMaxRows + 5) +
        ") SELECT 'YZFX', '202601', '9-'||lpad(i,4,'0'), '0' FROM n");
    bool more = false;
    Rows rows = found(query(OrdSearchField::AsordNo, "9-"), &more);
    EXPECT_TRUE(more);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kOrdSearchMaxRows));
    EXPECT_EQ(rows.front(), "YZFX 202601 9-0001");
    more = true;
    EXPECT_EQ(found(query(OrdSearchField::AsordNo, "9-0504"), &more), (Rows{"YZFX 202601 9-0504"}));
    EXPECT_FALSE(more);
}

TEST(OrdSearchQueryCheck, RefusesWhatCannotBeSearched) {
    OrdSearchQuery q;
    EXPECT_EQ(strOrdSearchRefusal(q), "请输入检索内容！");
    q.text = "  ";
    EXPECT_EQ(strOrdSearchRefusal(q), "请输入检索内容！");
    q.text = "情报";
    EXPECT_EQ(strOrdSearchRefusal(q), "");
    q.fromYear = "26";
    EXPECT_EQ(strOrdSearchRefusal(q), "年度必须是四位数字！");
    q.fromYear = "2026";
    q.toYear = "２０２５";
    EXPECT_EQ(strOrdSearchRefusal(q), "年度必须是四位数字！");
    q.toYear = "2025";
    EXPECT_EQ(strOrdSearchRefusal(q), "起始年度不能大于终止年度！");
    q.toYear = "2026";
    EXPECT_EQ(strOrdSearchRefusal(q), "");
    OrdSearchField f = OrdSearchField::Title;
    EXPECT_TRUE(OrdSearchFieldFromName("issn", f));
    EXPECT_EQ(f, OrdSearchField::Issn);
    EXPECT_TRUE(OrdSearchFieldFromName("no", f));
    EXPECT_EQ(f, OrdSearchField::AsordNo);
    EXPECT_FALSE(OrdSearchFieldFromName("ISSN", f));
}

}  // namespace
