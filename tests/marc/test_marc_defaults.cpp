// Records made from items with their default fixed field and leader, and the identifier helpers.
#include <gtest/gtest.h>

#include "marc/basBMDefault.h"

namespace {

const std::string SF(1, kSubfieldMark);

MarcRec fromItems(const std::string& type, const std::string& docType,
                  const std::vector<MarcItem>& items) {
    MarcRec rec;
    rec.MarcType = type;
    rec.DocTypeCode = docType;
    EXPECT_TRUE(MarcBuildFromItems(items, rec, "2024-03-15"));
    return rec;
}

std::vector<std::string> tags(const MarcRec& rec) {
    std::vector<std::string> t;
    for (const auto& e : rec.Dir)
        t.push_back(e.Tag);
    return t;
}

TEST(MarcBuildFromItems, ItemsGroupIntoSortedFieldsWithTheDefaultFixedField) {
    MarcRec rec = fromItems(
        "C", "03", {{"200a", "题名"}, {"200e", "其他"}, {"210a", "北京"}, {"200f", "著者"}});
    EXPECT_EQ(tags(rec), (std::vector<std::string>{"100", "200", "210"}));
    EXPECT_EQ(MarcFieldContent(rec, 1), "  " + SF + "a题名" + SF + "e其他" + SF + "f著者");
    EXPECT_EQ(MarcFieldContent(rec, 0), "  " + SF + "a20240315d2024    ekmy0chiy50      ea");
    EXPECT_EQ(rec.Leader.substr(5, 7), "nam  22");
    EXPECT_EQ(std::stol(rec.Leader.substr(12, 5)), 12 * 3 + 25);
    EXPECT_EQ(std::stol(rec.Leader.substr(0, 5)), 12 * 3 + 25 + static_cast<long>(rec.Data.size()));
}

struct DefaultCase {
    std::string type, docType, leader, fixed;
};

class MarcDefaults : public ::testing::TestWithParam<DefaultCase> {};

TEST_P(MarcDefaults, LeaderAndFixedFieldFollowFormatAndDocumentType) {
    const auto& c = GetParam();
    MarcRec rec = fromItems(c.type, c.docType, {{"245a", "Title"}});
    EXPECT_EQ(rec.Leader.substr(5, 7), c.leader);
    MarcRec probe;
    probe.MarcType = c.type;
    probe.DocTypeCode = c.docType;
    EXPECT_EQ(MarcDefaultFixedLine(probe, "2024-03-15"), c.fixed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MarcDefaults,
    ::testing::Values(
        DefaultCase{"C", "12", "nas  22", "100  " + SF + "a20240315d20249999ekmy0chiy50      ea"},
        DefaultCase{"C", "03", "nam  22", "100  " + SF + "a20240315d2024    ekmy0chiy50      ea"},
        DefaultCase{"U", "12", "cas a22", "008240315s2024    xxu                 eng d"},
        DefaultCase{"U", "01", "cam a22", "008240315s2024    xxu                 eng d"},
        DefaultCase{"C", "25", "       ", ""}));

TEST(MarcDefaults, FixedFieldWidths) {
    MarcRec c, u;
    c.MarcType = "C";
    c.DocTypeCode = "11";
    u.MarcType = "U";
    u.DocTypeCode = "11";
    EXPECT_EQ(MarcDefaultFixedLine(c, "2024-03-15").size() - 5 - 2, 36u);
    std::string f008 = MarcDefaultFixedLine(u, "2024-03-15").substr(3);
    EXPECT_EQ(f008.size(), 40u);
    EXPECT_EQ(f008.substr(7, 4), "2024");
}

TEST(Identifiers, EanToIssnComputesTheCheckCharacter) {
    EXPECT_EQ(EanToIssn("9770317847001"), "0317-8471");
    EXPECT_EQ(EanToIssn("9771000000001"), "1000-0003");
    EXPECT_EQ(EanToIssn("9772005265006"), "2005-2650");
    EXPECT_EQ(EanToIssn("9771000002001"), "1000-002X");  // remainder 1
    EXPECT_EQ(EanToIssn("9770000000000"), "0000-0000");  // remainder 0
    EXPECT_EQ(EanToIssn("9787500000001"), "9787500000001");
    EXPECT_EQ(EanToIssn("977abc"), "977abc");
}

TEST(Identifiers, IsbnOtherForm) {
    EXPECT_EQ(IsbnOtherForm("7-5000-0000-1"), "978-7-5000-0000-");
    EXPECT_EQ(IsbnOtherForm("978-7-5000-0000-1"), "7-5000-0000-");
    EXPECT_EQ(IsbnOtherForm("7500000001"), "978750000000");
    EXPECT_EQ(IsbnOtherForm("7500000001").size(), 12u);
    EXPECT_EQ(IsbnOtherForm("9787500000001"), "750000000");
    EXPECT_EQ(IsbnOtherForm("9771000000001"), "1000000");
    EXPECT_EQ(IsbnOtherForm("12345"), "");
}

TEST(Identifiers, YearsAndNumbersInText) {
    EXPECT_EQ(YearDigits("1995-"), "1995");
    EXPECT_EQ(YearDigits("c1998."), "1998");
    EXPECT_EQ(YearDigits("民国[1936]"), "1936");
    EXPECT_EQ(YearDigits("19"), "");
    EXPECT_EQ(YearDigits("n.d."), "");
    EXPECT_EQ(YearDigits("0012"), "");
    EXPECT_DOUBLE_EQ(NumberFromText("CNY25.50元"), 25.5);
    EXPECT_DOUBLE_EQ(NumberFromText("定价: 12.345"), 12.35);
    EXPECT_DOUBLE_EQ(NumberFromText("无"), 0.0);
}

}  // namespace
