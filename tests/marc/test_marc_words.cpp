// Searching inside titles and typing ISBNs in any form: the title-word keys of Western and CJK
// titles, the rows kept with the record through saves and deletes, the search itself beside the
// prefix search it complements, the rebuild for older databases, and ISBN keys without hyphens.
#include <gtest/gtest.h>

#include "marc/core/MarcSearch.h"
#include "marc/core/SearchInput.h"
#include "marc/core/TitleWords.h"
#include "tests/marc/MarcDbTest.h"
#include "tests/support/FaultSteps.h"

namespace {

using Words = std::vector<std::string>;

TEST(TitleWords, WesternWordsAndCjkPairs) {
    EXPECT_EQ(MarcTitleWords("The history of science"), (Words{"THE", "HISTORY", "OF", "SCIENCE"}));
    // Pairs overlap so that any two neighbours are found, and the last character of a run stands
    // alone so that a single character is found at the end too.
    EXPECT_EQ(MarcTitleWords("中国历史"), (Words{"中国", "国历", "历史", "史"}));
    EXPECT_EQ(MarcTitleWords("史"), (Words{"史"}));
    // Mixed text, punctuation and blanks separate; accents fold; each key once.
    EXPECT_EQ(MarcTitleWords("Öland: 历史 & history, HISTORY 2024"),
              (Words{"OLAND", "历史", "史", "HISTORY", "2024"}));
    EXPECT_TRUE(MarcTitleWords(" -- : ").empty());
}

TEST(SearchInput, IsbnTypedInAnyForm) {
    EXPECT_EQ(MarcIsbnInput("7-5013-1234-x"), "750131234X");
    EXPECT_EQ(MarcIsbnInput(" 7 5013 1234 5 "), "7501312345");
    EXPECT_EQ(MarcIsbnInput("978-7-5013-1234-5"), "9787501312345");
    EXPECT_EQ(MarcIsbnInput("978750131234X"), "") << "a thirteen-digit ISBN has no X";
    EXPECT_EQ(MarcIsbnInput("X501312345"), "") << "only the check digit may be X";
    EXPECT_EQ(MarcIsbnInput("9771000000006"), "") << "an ISSN bar code is not an ISBN";
    EXPECT_EQ(MarcIsbnInput("1000-0003"), "");
    EXPECT_EQ(MarcIsbnInput("历史"), "");
}

class MarcWords : public MarcDbTest {};
class MarcWordsUnicode : public MarcDbUnicodeTest {};
SERIALS_ON_BOTH_BACKENDS(MarcWords);
SERIALS_ON_BOTH_BACKENDS(MarcWordsUnicode);

std::string saved(MarcRec rec) {
    EXPECT_TRUE(MarcSave(rec, 0, 0, "")) << g_ErrInfo.strDesc;
    return rec.RecNo;
}

// Record numbers found, in the order listed.
Words found(const std::string& text, int limit = 0) {
    LibArray rows;
    EXPECT_EQ(MarcTitleWordSearch(text, rows, limit), 0) << g_ErrInfo.strDesc;
    Words out;
    for (int r = 2; r < rows.rows(); ++r)
        out.push_back(rows(0, r).str());
    return out;
}

MARC_BOTH_MODES(MarcWords, WordsAnywhereInTheTitleFindTheRecord) {
    std::string china = saved(marcFromItems("C", {{"200a", "中国历史研究"}}));
    std::string world = saved(marcFromItems("C", {{"200a", "世界历史"}}));
    std::string journal = saved(marcFromItems("U", {{"245a", "Journal of World History"}}));
    std::string other = saved(marcFromItems("C", {{"200a", "现代物理"}}));

    LibArray prefix;
    ASSERT_EQ(MarcIndexSearch("01", "历史", prefix), 0);
    EXPECT_EQ(prefix.recordCount(), 0) << "the index matches titles from their start only";

    EXPECT_EQ(found("历史"), (Words{world, china}));  // in title order (GBK): 世 before 中
    EXPECT_EQ(found("历史研究"), (Words{china}));
    EXPECT_EQ(found("研究 中国"), (Words{china})) << "every part must be in the title";
    EXPECT_EQ(found("史"), (Words{world, china})) << "one character, also at the end";
    EXPECT_EQ(found("历"), (Words{world, china}));
    EXPECT_TRUE(found("历物").empty()) << "characters that are not neighbours";
    EXPECT_EQ(found("hist"), (Words{journal})) << "a Western word typed in part";
    EXPECT_EQ(found("world JOURNAL"), (Words{journal}));
    EXPECT_TRUE(found("worlds").empty());
    EXPECT_EQ(found("物理"), (Words{other}));
    EXPECT_TRUE(found("%").empty()) << "a wildcard is no word";
    EXPECT_EQ(found("历史", 1).size(), 1u);
}

MARC_BOTH_MODES(MarcWords, RowsFollowTheRecordThroughSaveAndDelete) {
    MarcRec rec = marcFromItems("C", {{"200a", "图书馆学研究"}});
    ASSERT_TRUE(MarcSave(rec, 0, 0, "")) << g_ErrInfo.strDesc;
    EXPECT_EQ(found("馆学"), (Words{rec.RecNo}));
    MarcDeleteField(rec, "200");
    MarcAddField(rec, MakeMarcField("200", "1 ", std::string(1, kSubfieldMark) + "a情报科学"));
    ASSERT_TRUE(MarcSave(rec, 0, 0, "")) << g_ErrInfo.strDesc;
    EXPECT_TRUE(found("馆学").empty()) << "the old title's words went with it";
    EXPECT_EQ(found("报科"), (Words{rec.RecNo}));
    ASSERT_EQ(LIB_DB_CallProc(" BM_DeleteWholeMarc " + LIB_SqlStr(rec.RecNo)), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM marc_title_word"), "0");
    // Pre-order records have no title words: the search lists catalogue records only.
    MarcRec offered = marcFromItems("C", {{"200a", "图书馆学研究"}});
    offered.Kind = kMarcAsord;
    ASSERT_TRUE(MarcSave(offered, 0, 0, "")) << g_ErrInfo.strDesc;
    EXPECT_EQ(scalar("SELECT count(*) FROM marc_title_word"), "0");
}

MARC_BOTH_MODES(MarcWords, RebuildIndexesRecordsSavedWithoutWords) {
    std::string a = saved(marcFromItems("C", {{"200a", "中国历史研究"}}));
    std::string b = saved(marcFromItems("U", {{"245a", "Ocean Science"}}));
    const std::string before = tableRows({"marc_title_word"});
    ASSERT_EQ(LIB_DB_Execute("DELETE FROM marc_title_word"), 0);
    EXPECT_TRUE(found("历史").empty());
    std::vector<std::pair<int, int>> progress;
    EXPECT_EQ(
        MarcTitleWordsRebuild([&](int done, int total) { progress.emplace_back(done, total); }), 2);
    EXPECT_EQ(tableRows({"marc_title_word"}), before) << "the same rows a save writes";
    EXPECT_EQ(progress.back(), std::make_pair(2, 2));
    EXPECT_EQ(found("ocean"), (Words{b}));
    EXPECT_EQ(MarcTitleWordsRebuild(), 2) << "a second run replaces, never doubles";
    EXPECT_EQ(tableRows({"marc_title_word"}), before);
}

TEST_P(MarcWords, RebuildFailingAtAnyStepChangesNothing) {
    for (int i = 0; i < 3; ++i)
        saved(marcFromItems("C", {{"200a", "期刊" + std::to_string(i) + "历史"}}));
    ASSERT_EQ(LIB_DB_Execute("DELETE FROM marc_title_word WHERE word='历史'"), 0);
    ProbeBackend& probe = ProbeBackend::install();
    auto failed = failEachStep(
        probe, presenter, [] { return MarcTitleWordsRebuild() == 3; },
        [] { return tableRows({"marc_title_word"}); });
    EXPECT_TRUE(contains(failed, "begin"));
    EXPECT_TRUE(contains(failed, "commit"));
    EXPECT_EQ(found("历史").size(), 3u);
}

MARC_BOTH_MODES(MarcWords, IsbnFoundWithOrWithoutHyphens) {
    std::string hyphened = saved(marcFromItems("C", {{"200a", "A"}, {"010a", "7-5013-1234-X"}}));
    std::string bare = saved(marcFromItems("U", {{"245a", "B"}, {"020a", "9787500000001"}}));
    auto one = [](const std::string& text) {
        LibArray rows;
        EXPECT_EQ(MarcIndexSearch(kMarcIsbnGroup, text, rows), 0) << g_ErrInfo.strDesc;
        return rows.recordCount() == 1 ? rows(0, 2).str() : std::to_string(rows.recordCount());
    };
    EXPECT_EQ(one("750131234x"), hyphened);
    EXPECT_EQ(one("7 5013 1234 X"), hyphened);
    EXPECT_EQ(one("7-5013-1234-X"), hyphened);
    EXPECT_EQ(one("978-7-5013-1234-1"), hyphened) << "the ISBN-13 of the catalogued ISBN-10";
    EXPECT_EQ(one("978-7-5000-0000-1"), bare);
    EXPECT_EQ(one("7-5000-0000-X"), bare);
    EXPECT_EQ(one("7-5013-1235-X"), "0");
}

}  // namespace
