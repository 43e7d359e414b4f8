// The record model: lookups with the shared cursor, edits that keep leader and directory
// consistent, sorting, parsing, and GBK byte positions. Every case runs with Data held as GBK
// bytes and as Unicode text.
#include <gtest/gtest.h>

#include "db/basLibDB.h"
#include "marc/core/MarcFieldDefs.h"
#include "marc/core/basBMFunc.h"

namespace {

const std::string SF(1, kSubfieldMark);

// A record built field by field: {tag, indicators, data with '$' for the subfield mark}.
MarcRec build(std::initializer_list<std::array<std::string, 3>> fields,
              const std::string& type = "C") {
    MarcRec rec;
    rec.MarcType = type;
    rec.Leader = "00000nas  2200000   450 ";
    for (const auto& f : fields) {
        std::string data = f[2];
        for (auto& c : data)
            if (c == '$') c = kSubfieldMark;
        MarcAddField(rec, MakeMarcField(f[0], f[1], data));
    }
    return rec;
}

long leaderNumber(const MarcRec& rec, int at) {
    return std::stol(rec.Leader.substr(at, 5));
}

// What a consistent record satisfies: each entry's bytes end in a field terminator and follow
// the previous entry, and the data ends with the record terminator.
void expectConsistent(const MarcRec& rec) {
    ASSERT_EQ(rec.FieldCount, static_cast<int>(rec.Dir.size()));
    long at = 0;
    for (const auto& e : rec.Dir) {
        EXPECT_EQ(e.Start, at) << e.Tag;
        at += e.Length;
    }
    std::string text = MarcDataToText(rec.Data);
    EXPECT_EQ(static_cast<long>(MarcTextBytes(text)), at + 1);
    EXPECT_EQ(text.back(), kRecordEnd);
    EXPECT_EQ(leaderNumber(rec, 12), 12L * rec.FieldCount + 25);
}

class MarcRecordTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { UnicodeMarcMode = GetParam(); }
    void TearDown() override { UnicodeMarcMode = false; }
};

TEST_P(MarcRecordTest, SubfieldSequenceWalksRepeatedFieldsThenResets) {
    MarcRec rec =
        build({{"001", "", "X1"}, {"200", "1 ", "$aFirst$aSecond"}, {"200", "1 ", "$aThird"}});
    MarcResetCursor();
    EXPECT_EQ(MarcGetSubFieldSeq(rec, "200a"), "First");
    EXPECT_EQ(MarcGetSubFieldSeq(rec, "200a"), "Second");
    EXPECT_EQ(MarcGetSubFieldSeq(rec, "200a"), "Third");
    EXPECT_EQ(MarcGetSubFieldSeq(rec, "200a"), "");
    EXPECT_EQ(g_MarcCursor.Field, 0);
    EXPECT_EQ(g_MarcCursor.Sub, 1);
    MarcResetCursor();
    EXPECT_EQ(MarcGetSubFieldSeq(rec, "001a"), "X1");
}

TEST_P(MarcRecordTest, NextFieldReturnsRepeatsInOrder) {
    MarcRec rec = build({{"701", " 0", "$a张三"}, {"801", " 0", "$aCN"}, {"701", " 0", "$a李四"}});
    MarcResetCursor();
    EXPECT_EQ(MarcNextField(rec, "701"), " 0" + SF + "a张三");
    EXPECT_EQ(MarcNextField(rec, "701"), " 0" + SF + "a李四");
    EXPECT_EQ(MarcNextField(rec, "701"), "");
}

TEST_P(MarcRecordTest, GetDataTakesTheFirstReferenceThatYieldsAValue) {
    MarcRec withTitle = build({{"200", "1 ", "$aTitle$eOther"}, {"701", " 0", "$aAuthor"}});
    MarcRec withoutTitle = build({{"200", "1 ", "$eOther"}, {"701", " 0", "$aAuthor"}});
    EXPECT_EQ(MarcGetData(withTitle, "200a,701a"), "Title");
    EXPECT_EQ(MarcGetData(withoutTitle, "200a,701a"), "Author");
    EXPECT_EQ(MarcGetData(withTitle, "200"), "Title Other");
    EXPECT_EQ(MarcGetData(withTitle, "300a,310a"), "");
}

TEST_P(MarcRecordTest, EmbeddedFieldsOfLinkingEntries) {
    MarcRec rec = build({{"461", " 0", "$12001 $a丛刊一$1011  $a1000-0000"},
                         {"461", " 0", "$1001XYZ$12001 $a丛刊二"}});
    MarcResetCursor();
    EXPECT_EQ(MarcGetEmbedded(rec, "4611200a"), "丛刊一");
    EXPECT_EQ(MarcGetEmbedded(rec, "4611200a"), "丛刊二");
    EXPECT_EQ(MarcGetEmbedded(rec, "4611200a"), "");
    EXPECT_EQ(MarcGetData(rec, "4611001a"), "XYZ");
    EXPECT_EQ(MarcGetData(rec, "4611011a"), "1000-0000");
}

TEST_P(MarcRecordTest, FieldDisplayDropsIndicatorsAndCodes) {
    EXPECT_EQ(MarcFieldDisplay("1 " + SF + "aTitle" + SF + "eOther"), "Title Other");
    EXPECT_EQ(MarcFieldDisplay(""), "");
}

TEST_P(MarcRecordTest, AddingAndDeletingAFieldMovesLengthAndBase) {
    MarcRec rec = build({{"001", "", "1"}, {"200", "1 ", "$a题名"}});
    MarcPackLeader(rec);
    long length = leaderNumber(rec, 0), base = leaderNumber(rec, 12);
    MarcAddField(rec, MakeMarcField("300", "  ", SF + "a附注"));
    long n = 2 + 2 + 4 + 1;  // indicators, $a, two Chinese characters, terminator
    EXPECT_EQ(leaderNumber(rec, 0), length + n + 12);
    EXPECT_EQ(leaderNumber(rec, 12), base + 12);
    expectConsistent(rec);
    MarcDeleteField(rec, "300");
    EXPECT_EQ(leaderNumber(rec, 0), length);
    EXPECT_EQ(leaderNumber(rec, 12), base);
    expectConsistent(rec);
}

TEST_P(MarcRecordTest, SetSubFieldReplacesOnlyTheFirstValue) {
    MarcRec rec =
        build({{"001", "", "1"}, {"200", "1 ", "$a旧题名$a第二$f责任"}, {"210", "  ", "$a北京"}});
    MarcSetSubField(rec, "200a", "新的题名名称");
    EXPECT_EQ(MarcFieldContent(rec, 1), "1 " + SF + "a新的题名名称" + SF + "a第二" + SF + "f责任");
    EXPECT_EQ(MarcFieldContent(rec, 2), "  " + SF + "a北京");
    expectConsistent(rec);
    MarcSetSubField(rec, "200e", "其他");
    EXPECT_EQ(MarcFieldContent(rec, 1),
              "1 " + SF + "a新的题名名称" + SF + "a第二" + SF + "f责任" + SF + "e其他");
    MarcSetSubField(rec, "606a", "期刊");
    EXPECT_EQ(rec.Dir.back().Tag, "606");
    EXPECT_EQ(MarcFieldContent(rec, 3), "  " + SF + "a期刊");
    expectConsistent(rec);
}

TEST_P(MarcRecordTest, SortKeepsEqualTagsInTheirOrder) {
    MarcRec rec =
        build({{"200", "1 ", "$aA"}, {"010", "  ", "$aB"}, {"001", "", "C"}, {"200", "1 ", "$aD"}});
    MarcSortFields(rec);
    std::vector<std::string> tags;
    for (const auto& e : rec.Dir)
        tags.push_back(e.Tag);
    EXPECT_EQ(tags, (std::vector<std::string>{"001", "010", "200", "200"}));
    EXPECT_EQ(MarcFieldContent(rec, 2), "1 " + SF + "aA");
    EXPECT_EQ(MarcFieldContent(rec, 3), "1 " + SF + "aD");
    expectConsistent(rec);
}

TEST_P(MarcRecordTest, ControlNumberMovesToTheFront) {
    MarcRec rec = build({{"200", "1 ", "$aA"}, {"010", "  ", "$aB"}, {"001", "", "C"}});
    MarcControlNoFirst(rec);
    EXPECT_EQ(rec.Dir[0].Tag, "001");
    EXPECT_EQ(rec.Dir[1].Tag, "200");
    EXPECT_EQ(MarcFieldContent(rec, 0), "C");
    expectConsistent(rec);
}

TEST_P(MarcRecordTest, ChineseFieldLengthsCountGbkBytes) {
    std::string title = "中文期刊题名";  // 6 characters, 12 GBK bytes
    MarcRec rec = build({{"001", "", "1"}, {"200", "1 ", "$a" + title}});
    EXPECT_EQ(rec.Dir[1].Length, 2 + 2 + 12 + 1);
    std::string data = MarcDataToText(rec.Data);
    EXPECT_EQ(MidAnsi(data, rec.Dir[1].Start + 1, rec.Dir[1].Length - 1), "1 " + SF + "a" + title);
}

TEST_P(MarcRecordTest, IsoTextParsesBackToTheSameRecord) {
    MarcRec rec = build({{"001", "", "0000000001"},
                         {"200", "1 ", "$a中国图书馆学报$f学会"},
                         {"801", " 0", "$aCN"}});
    MarcPackLeader(rec);
    MarcRec back;
    MarcParse(back, MarcTextToData(MarcToIso(rec)));
    EXPECT_EQ(back.Leader, rec.Leader);
    ASSERT_EQ(back.FieldCount, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(back.Dir[i].Tag, rec.Dir[i].Tag);
        EXPECT_EQ(MarcFieldContent(back, i), MarcFieldContent(rec, i));
    }
}

TEST_P(MarcRecordTest, MalformedTextParsesWithoutReadingPastTheEnd) {
    for (std::string iso :
         {std::string("00000nam  22000xx   450 "), std::string("short"),
          std::string("00100nam  2299999   450 001000500000"), std::string("   \r\n  "),
          std::string("00100nam  2200037   450 0010a0500000")}) {
        MarcRec rec;
        MarcParse(rec, iso);
        EXPECT_EQ(rec.FieldCount, static_cast<int>(rec.Dir.size()));
        MarcResetCursor();
        for (int i = 0; i < rec.FieldCount; ++i)
            MarcFieldContent(rec, i);
        EXPECT_EQ(MarcGetData(rec, "001,200a"), MarcGetData(rec, "001,200a"));
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, MarcRecordTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Unicode" : "Bytes"; });

struct MidAnsiCase {
    std::string text;
    long start, length;
    std::string expected;
};

class MidAnsiTest : public ::testing::TestWithParam<MidAnsiCase> {};

TEST_P(MidAnsiTest, CutsByGbkBytes) {
    const auto& c = GetParam();
    EXPECT_EQ(MidAnsi(c.text, c.start, c.length), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MidAnsiTest,
                         ::testing::Values(MidAnsiCase{"ab中文cd", 3, 4, "中文"},
                                           MidAnsiCase{"ab中文cd", 1, 2, "ab"},
                                           MidAnsiCase{"ab中文cd", 5, -1, "文cd"},
                                           MidAnsiCase{"", 1, 3, ""}, MidAnsiCase{"中文", 1, 0, ""},
                                           MidAnsiCase{"a\xF0\x9F\x98\x80"
                                                       "b",
                                                       2, 1, "\xF0\x9F\x98\x80"}));

TEST(MarcTags, PositionalTags) {
    EXPECT_TRUE(IsPositionalTag("HDR"));
    EXPECT_TRUE(IsPositionalTag("001"));
    EXPECT_TRUE(IsPositionalTag("008"));
    EXPECT_FALSE(IsPositionalTag("003"));
    EXPECT_FALSE(IsPositionalTag("009"));
    EXPECT_FALSE(IsPositionalTag("200"));
    EXPECT_FALSE(IsPositionalTag("   "));
}

TEST(MarcFieldNames, RealNamesPerFormatAndTheUnknownMarker) {
    ASSERT_EQ(LIB_LoadMarcFieldDefs(), 0);
    MarcRec cn, us, cnAuth;
    cn.MarcType = "C";
    us.MarcType = "U";
    cnAuth.MarcType = "c";
    EXPECT_EQ(GetMarcFieldName("200", cn), "题名与责任说明");
    EXPECT_EQ(GetMarcFieldName("011", cn), "国际标准连续出版物号(ISSN)");
    EXPECT_EQ(GetMarcFieldName("326", cn), "出版周期附注(连续出版物)");
    EXPECT_EQ(GetMarcFieldName("245", us), "Title Statement");
    EXPECT_EQ(GetMarcFieldName("022", us), "International Standard Serial Number");
    EXPECT_EQ(GetMarcFieldName("785", us), "Succeeding Entry");
    EXPECT_EQ(GetMarcFieldName("200", cnAuth), "标目——个人名称");
    EXPECT_EQ(GetMarcFieldName("999", cn), "非Marc字段");
    EXPECT_EQ(GetMarcFieldName("999", us), "*No Marc*");
    EXPECT_EQ(GetMarcSubfieldName("200", 'a', cn), "正题名");
    EXPECT_TRUE(HasFixFieldDef("100", cn));
    EXPECT_TRUE(HasFixFieldDef("008", us));
    EXPECT_FALSE(HasFixFieldDef("200", cn));
}

TEST(MarcFieldNames, EveryTagOfASerialRecordIsNamed) {
    ASSERT_EQ(LIB_LoadMarcFieldDefs(), 0);
    MarcRec cn, us;
    cn.MarcType = "C";
    us.MarcType = "U";
    for (const char* tag :
         {"001", "005", "010", "011", "100", "101", "102", "110", "200", "207", "210",
          "215", "225", "300", "326", "410", "430", "436", "440", "447", "448", "500",
          "510", "517", "530", "606", "690", "701", "711", "801", "905"})
        EXPECT_NE(GetMarcFieldName(tag, cn), "非Marc字段") << tag;
    for (const char* tag : {"001", "003", "005", "008", "010", "022", "035", "040", "050", "082",
                            "130", "210", "222", "245", "246", "260", "264", "300", "310", "321",
                            "362", "500", "650", "710", "780", "785", "850", "852", "856"})
        EXPECT_NE(GetMarcFieldName(tag, us), "*No Marc*") << tag;
}

}  // namespace
