// Records made from items with their default fixed field and leader, and the identifier helpers.
#include <gtest/gtest.h>

#include <functional>

#include "marc/core/basBMDefault.h"

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
        DefaultCase{"C", "25", "       ", ""},
        // A blank document type reads as 0: a monograph, not a record without defaults.
        DefaultCase{"C", "  ", "nam  22", "100  " + SF + "a20240315d2024    ekmy0chiy50      ea"},
        DefaultCase{"U", "", "cam a22", "008240315s2024    xxu                 eng d"}));

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

// One conversion applied to an input, and what it must give.
struct Conversion {
    const char* name;
    std::function<std::string(const std::string&)> fn;
    std::string input, expected;
};

class Identifiers : public ::testing::TestWithParam<Conversion> {};

TEST_P(Identifiers, ConvertAsPublishedRulesSay) {
    const auto& c = GetParam();
    EXPECT_EQ(c.fn(c.input), c.expected) << c.name << "(" << c.input << ")";
}

const auto issn = [](const std::string& s) { return EanToIssn(s); };
const auto isbn = [](const std::string& s) { return IsbnOtherForm(s); };
const auto year = [](const std::string& s) { return YearDigits(s); };
const auto number = [](const std::string& s) { return std::to_string(NumberFromText(s)); };

INSTANTIATE_TEST_SUITE_P(
    Table, Identifiers,
    ::testing::Values(Conversion{"EanToIssn", issn, "9770317847001", "0317-8471"},
                      Conversion{"EanToIssn", issn, "9771000000001", "1000-0003"},
                      Conversion{"EanToIssn", issn, "9772005265006", "2005-2650"},
                      Conversion{"EanToIssn", issn, "9771000002001", "1000-002X"},  // remainder 1
                      Conversion{"EanToIssn", issn, "9770000000000", "0000-0000"},  // remainder 0
                      Conversion{"EanToIssn", issn, "9787500000001", "9787500000001"},
                      Conversion{"EanToIssn", issn, "977abc", "977abc"},
                      Conversion{"IsbnOtherForm", isbn, "7-5000-0000-1", "978-7-5000-0000-"},
                      Conversion{"IsbnOtherForm", isbn, "978-7-5000-0000-1", "7-5000-0000-"},
                      Conversion{"IsbnOtherForm", isbn, "7500000001", "978750000000"},
                      Conversion{"IsbnOtherForm", isbn, "9787500000001", "750000000"},
                      Conversion{"IsbnOtherForm", isbn, "9771000000001", "1000000"},
                      Conversion{"IsbnOtherForm", isbn, "12345", ""},
                      Conversion{"YearDigits", year, "1995-", "1995"},
                      Conversion{"YearDigits", year, "c1998.", "1998"},
                      Conversion{"YearDigits", year, "民国[1936]", "1936"},
                      Conversion{"YearDigits", year, "19", ""},
                      Conversion{"YearDigits", year, "n.d.", ""},
                      Conversion{"YearDigits", year, "0012", ""},
                      // Digits of an edition or volume number are not part of the year.
                      Conversion{"YearDigits", year, "第2版 1998", "1998"},
                      Conversion{"YearDigits", year, "v.2 (1998)", "1998"},
                      Conversion{"YearDigits", year, "No. 0012, 2003", "2003"},
                      Conversion{"YearDigits", year, "19980315", "1998"},
                      Conversion{"YearDigits", year, "1 2 3 4", ""},
                      Conversion{"NumberFromText", number, "CNY25.50元", std::to_string(25.5)},
                      Conversion{"NumberFromText", number, "定价: 12.345", std::to_string(12.35)},
                      Conversion{"NumberFromText", number, "无", std::to_string(0.0)}));

}  // namespace
