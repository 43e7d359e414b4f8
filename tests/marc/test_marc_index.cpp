// Index rows of saved records: key width and blanks, stopwords, repeated fields, embedded and
// combined field references, abbreviated keys, LC class rows, accent folding in national-character
// mode; the dictionary lookups; and searching the index the way the check-in search does.
#include <gtest/gtest.h>

#include "marc/core/MarcSearch.h"
#include "tests/marc/MarcDbTest.h"

namespace {

class MarcIndex : public MarcDbTest {};
class MarcIndexUnicode : public MarcDbUnicodeTest {};

std::string saved(MarcRec rec) {
    EXPECT_TRUE(MarcSave(rec, 0, 0, "")) << g_ErrInfo.strDesc;
    return rec.RecNo;
}

using Keys = std::vector<std::string>;

MARC_BOTH_MODES(MarcIndex, LongValuesAreCutToSixtyBytesOnACharacterBoundary) {
    std::string title = std::string(59, 'A') + "中文";
    std::string no = saved(marcFromItems("C", {{"200a", title}}));
    EXPECT_EQ(indexKeys(no, "01"), (Keys{"AAA", std::string(59, 'A')}));  // abbreviation and key
    std::string spaced = std::string(59, 'B') + " CCC";
    std::string other = saved(marcFromItems("U", {{"245a", spaced}}));
    EXPECT_EQ(indexKeys(other, "01"), (Keys{std::string(59, 'B'), "BBBCC"}));
}

MARC_BOTH_MODES(MarcIndex, BlanksAreNormalisedAndKeysUpperCased) {
    std::string no = saved(marcFromItems("C", {{"701a", "Smith  John"}, {"702a", "王 立 新"}}));
    EXPECT_EQ(indexKeys(no, "02"), (Keys{"SMITH JOHN", "王立新"}));
}

MARC_BOTH_MODES(MarcIndex, StopwordOnlyValuesWriteNoRow) {
    std::string no = saved(marcFromItems("U", {{"245a", "The of and"}, {"100a", "The"}}));
    EXPECT_TRUE(indexKeys(no, "01").empty());
    EXPECT_EQ(indexKeys(no, "02"), (Keys{"THE"}));  // the author group keeps stopwords
    std::string other = saved(marcFromItems("C", {{"200a", "《图书馆》"}}));
    EXPECT_EQ(indexKeys(other, "01")[0], "图书馆");
}

MARC_BOTH_MODES(MarcIndex, RepeatedFieldsWriteOneRowEach) {
    MarcRec rec = marcFromItems("U", {{"245a", "Title"}});
    MarcAddField(rec, MakeMarcField("700", "1 ",
                                    "\x1f"
                                    "aHarper, Ellen"));
    MarcAddField(rec, MakeMarcField("700", "1 ",
                                    "\x1f"
                                    "aChen, Robert"));
    std::string no = saved(rec);
    EXPECT_EQ(indexKeys(no, "02"), (Keys{"CHEN, ROBERT", "HARPER, ELLEN"}));
}

MARC_BOTH_MODES(MarcIndex, EmbeddedAndCombinedReferences) {
    MarcRec rec = marcFromItems("C", {{"200a", "分册题名"}, {"701a", "张三"}});
    MarcAddField(rec, MakeMarcField("461", " 0",
                                    "\x1f"
                                    "12001 \x1f"
                                    "a总丛刊名\x1f"
                                    "1011  \x1f"
                                    "a1000-0003"));
    std::string no = saved(rec);
    Keys titles = indexKeys(no, "01");
    EXPECT_NE(std::find(titles.begin(), titles.end(), "总丛刊名"), titles.end());
    EXPECT_EQ(indexKeys(no, "11"), (Keys{"分册题名张三"}));
}

MARC_BOTH_MODES(MarcIndex, AbbreviatedKeysFollowThePattern) {
    std::string no =
        saved(marcFromItems("U", {{"245a", "Quarterly review library automation systems"}}));
    EXPECT_EQ(indexKeys(no, "01"),
              (Keys{"QUARELAS", "QUARTERLY REVIEW LIBRARY AUTOMATION SYSTEMS"}));
    EXPECT_EQ(MarcAbbreviate("one two three four five six", "3211"), "onetwtffs");
    EXPECT_EQ(MarcAbbreviate("alpha beta", "A2"), "alphabe");
    EXPECT_EQ(MarcAbbreviate("alpha beta", ""), "");
}

MARC_BOTH_MODES(MarcIndex, LibraryOfCongressClassRows) {
    std::string no = saved(marcFromItems("U", {{"245a", "Title"}, {"050a", "QA76.73.C15"}}));
    EXPECT_EQ(scalar("SELECT lc || '|' || cls || '|' || value FROM lc_class WHERE marc_rec_no=" +
                     LIB_SqlStr(no)),
              "QA|76.73|QA76.73.C15");
    std::string dewey = saved(marcFromItems("U", {{"245a", "Title"}, {"050a", "76.73"}}));
    EXPECT_EQ(scalar("SELECT count(*) FROM lc_class WHERE marc_rec_no=" + LIB_SqlStr(dewey)), "0");
}

MARC_BOTH_MODES(MarcIndex, AccentedKeysGetAFoldedTwinInUnicodeMode) {
    std::string no = saved(marcFromItems("U", {{"245a", "Études Œuvres"}, {"100a", "Plain"}}));
    // The key and its abbreviation, and in national-character mode a folded twin of each.
    EXPECT_EQ(indexKeys(no, "01").size(), UnicodeMarcMode ? 4u : 2u);
    Keys authors = indexKeys(no, "02");
    EXPECT_EQ(authors, (Keys{"PLAIN"}));
    bool changed = false;
    EXPECT_EQ(MarcFoldAccents("ÉTUDES Œ ß é", changed), "ETUDES OE SS e");
    EXPECT_TRUE(changed);
    MarcFoldAccents("PLAIN", changed);
    EXPECT_FALSE(changed);
}

MARC_BOTH_MODES(MarcIndex, SearchFindsByTitlePrefixIssnBarCodeAndAuthor) {
    std::string cn = saved(marcFromItems(
        "C", {{"200a", "图书馆学研究进展"}, {"011a", "1000-0003"}, {"701a", "王立新"}}));
    std::string us =
        saved(marcFromItems("U", {{"245a", "The Journal of serials"}, {"022a", "2005-2650"}}));
    auto found = [](const std::string& group, const std::string& text) {
        LibArray rows;
        EXPECT_EQ(MarcIndexSearch(group, text, rows), 0) << g_ErrInfo.strDesc;
        Keys nos;
        for (int r = 2; r < rows.rows(); ++r)
            nos.push_back(rows(0, r).str());
        return nos;
    };
    EXPECT_EQ(found("01", "图书馆"), Keys{cn});
    EXPECT_EQ(found("01", "journal of ser"), Keys{us});
    EXPECT_EQ(found("03", "1000-0003"), Keys{cn});
    EXPECT_EQ(found("03", "9772005265006"), Keys{us});
    EXPECT_EQ(found("02", "王立"), Keys{cn});
    EXPECT_TRUE(found("01", "无此题名").empty());
}

// What a cataloguer types must find the record however its blanks, case and script were
// keyed: each pair is (as catalogued, as searched).
MARC_BOTH_MODES(MarcIndex, TitlesAreFoundWhateverTheBlanksAndCase) {
    struct Pair {
        std::string catalogued, typed;
    };
    const Pair pairs[] = {
        {"C++  程序设计", "C++ 程序设计"},
        {"C++ 程序设计", "C++  程序设计"},
        {"Université de Montréal", "université de montréal"},
        {"Журнал  прикладной химии", "журнал прикладной"},
        {"Φυσικη Ιατρικη", "φυσικη ιατ"},
        {"ＣＨＩＮＡ　ｔｏｄａｙ", "ｃｈｉｎａ"},
    };
    for (const Pair& p : pairs) {
        std::string no = saved(marcFromItems("U", {{"245a", p.catalogued}}));
        LibArray rows;
        ASSERT_EQ(MarcIndexSearch("01", p.typed, rows), 0) << g_ErrInfo.strDesc;
        ASSERT_EQ(rows.recordCount(), 1) << p.catalogued << " / " << p.typed;
        EXPECT_EQ(rows(0, 2).str(), no);
        ASSERT_EQ(LIB_DB_CallProc(" BM_DeleteWholeMarc " + LIB_SqlStr(no)), 0);
    }
    std::string no = saved(marcFromItems("C", {{"200a", "Журнал  прикладной   химии"}}));
    Keys keys = indexKeys(no, "01");
    EXPECT_NE(std::find(keys.begin(), keys.end(), "ЖУРНАЛ ПРИКЛАДНОЙ ХИМИИ"), keys.end())
        << ::testing::PrintToString(keys);
}

MARC_BOTH_MODES(MarcIndex, IsbnSearchFindsTheOtherForm) {
    std::string thirteen = saved(marcFromItems("C", {{"200a", "A"}, {"010a", "9787500000001"}}));
    std::string ten = saved(marcFromItems("U", {{"245a", "B"}, {"020a", "7-5000-0001-1"}}));
    auto found = [](const std::string& text) {
        LibArray rows;
        EXPECT_EQ(MarcIndexSearch("04", text, rows), 0) << g_ErrInfo.strDesc;
        return rows.recordCount() == 1 ? rows(0, 2).str() : std::to_string(rows.recordCount());
    };
    EXPECT_EQ(found("7500000001"), thirteen);     // ISBN-10 finds the ISBN-13
    EXPECT_EQ(found("9787500000001"), thirteen);  // and the form catalogued still works
    EXPECT_EQ(found("978-7-5000-0001-8"), ten);   // hyphenated ISBN-13 finds the ISBN-10
    EXPECT_EQ(found("7500000109"), "0");
}

MARC_BOTH_MODES(MarcIndex, ClassRowsBelongToBibliographicRecordsOnly) {
    MarcRec pre = marcFromItems("U", {{"245a", "Offered title"}, {"050a", "QA76.73.C15"}});
    pre.Kind = kMarcAsord;
    ASSERT_TRUE(MarcSave(pre, 0, 0, "")) << g_ErrInfo.strDesc;
    ASSERT_TRUE(MarcSave(pre, 0, 0, "")) << g_ErrInfo.strDesc;  // a re-save
    EXPECT_EQ(scalar("SELECT count(*) FROM lc_class"), "0");
    MarcRec bib = marcFromItems("U", {{"245a", "Title"}, {"050a", "QA76.73.C15"}});
    ASSERT_TRUE(MarcSave(bib, 0, 0, "")) << g_ErrInfo.strDesc;
    ASSERT_TRUE(MarcSave(bib, 0, 0, "")) << g_ErrInfo.strDesc;
    EXPECT_EQ(scalar("SELECT count(*) FROM lc_class WHERE marc_rec_no=" + LIB_SqlStr(bib.RecNo)),
              "1");
    ASSERT_EQ(LIB_DB_CallProc(" BM_DeleteWholeMarc " + LIB_SqlStr(bib.RecNo)), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM lc_class"), "0");
}

MARC_BOTH_MODES(MarcIndex, WordAndPinyinLookups) {
    for (const char* sql : {"INSERT INTO word_lst (zw,py) VALUES ('图书','tu shu')",
                            "INSERT INTO word_lst (zw,py) VALUES ('图书馆','tu shu guan')",
                            "INSERT INTO word_lst (zw,py) VALUES ('书馆','shu guan')",
                            "INSERT INTO pytable (hz,py) VALUES ('行','xing')",
                            "INSERT INTO pytable (hz,py) VALUES ('行','hang')"})
        ASSERT_EQ(LIB_DB_Execute(sql), 0);
    LibArray rows;
    WordLookup("图书", rows);
    ASSERT_EQ(rows.recordCount(), 2);
    EXPECT_EQ(rows(0, 2).str(), "图书馆");
    PinyinLookup("行", rows);
    ASSERT_EQ(rows.recordCount(), 2);
    EXPECT_EQ(rows(0, 2).str(), "hang");
    EXPECT_EQ(rows(0, 3).str(), "xing");
}

TEST(MarcIndexText, StopwordStripAndBlankNormalisation) {
    EXPECT_EQ(MarcBlankNormalise("a   b"), "a b");
    EXPECT_EQ(MarcBlankNormalise("中 文 a b"), "中文a b");
    EXPECT_EQ(MarcKeyUpper("étude abc"), "ÉTUDE ABC");
}

TEST(MarcIndexText, BlanksCollapseBeforeTheyAreJudgedNextToCjk) {
    EXPECT_EQ(MarcBlankNormalise("C++  程序设计"), "C++程序设计");
    EXPECT_EQ(MarcBlankNormalise("C++ 程序设计"), "C++程序设计");
    EXPECT_EQ(MarcBlankNormalise("東京  の 本"), "東京の本");
    EXPECT_EQ(MarcBlankNormalise("서울 대학교"), "서울대학교");
    EXPECT_EQ(MarcBlankNormalise("《读书》 杂志"), "《读书》杂志");
}

TEST(MarcIndexText, LettersOfOtherScriptsKeepTheirBlanks) {
    EXPECT_EQ(MarcBlankNormalise("Université de Montréal"), "Université de Montréal");
    EXPECT_EQ(MarcBlankNormalise("Журнал прикладной химии"), "Журнал прикладной химии");
    EXPECT_EQ(MarcBlankNormalise("Λόγος και  Ύλη"), "Λόγος και Ύλη");
}

TEST(MarcIndexText, CaseFoldsInEveryScript) {
    EXPECT_EQ(MarcKeyUpper("ｃｈｉｎａ"), "ＣＨＩＮＡ");
    EXPECT_EQ(MarcKeyUpper("журнал"), "ЖУРНАЛ");
    EXPECT_EQ(MarcKeyUpper("λόγος"), "ΛΌΓΟΣ");
    EXPECT_EQ(MarcKeyUpper("ÿ œ ß 中文"), "Ÿ Œ ß 中文");  // sharp s is left to accent folding
}

INSTANTIATE_TEST_SUITE_P(Backends, MarcIndexUnicode, ::testing::Values(kSqlite, kPostgres),
                         backendName);
SERIALS_ON_BOTH_BACKENDS(MarcIndex);

}  // namespace
