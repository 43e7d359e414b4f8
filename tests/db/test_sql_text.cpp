// Statement text work that needs no database: procedure blocks, quoting, the wide-select
// rewrite and the dump conversion, and the SQL functions SQLite is given.
#include <gtest/gtest.h>

#include "db/SchemaInstaller.h"
#include "db/SqlShims.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"

TEST(ProcedureBlock, NameAndArgumentsComeApartAtTopLevelCommas) {
    auto b = sqltext::parseBlock("Begin insert_x('a,b', nvl(1, 2), unistr('\\4E2D'), :OUT); end;");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->name, "insert_x");
    ASSERT_EQ(b->args.size(), 4u);
    EXPECT_EQ(b->args[0], "'a,b'");
    EXPECT_EQ(b->args[1], "nvl(1, 2)");
    EXPECT_EQ(b->args[3], ":OUT");
}

TEST(ProcedureBlock, QuotesWithDoubledApostrophesAndCaseOfKeywords) {
    auto b = sqltext::parseBlock("  BEGIN p('O''Neil, J.', 3) ; END ;  ");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->args, (std::vector<std::string>{"'O''Neil, J.'", "3"}));
    auto none = sqltext::parseBlock("begin p; end;");
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->args.empty());
    auto empty = sqltext::parseBlock("begin p(); end;");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->args.empty());
}

TEST(ProcedureBlock, OrdinaryStatementsAreNotBlocks) {
    EXPECT_FALSE(sqltext::parseBlock("SELECT 1 FROM dual"));
    EXPECT_FALSE(sqltext::parseBlock("beginning_table"));
    EXPECT_FALSE(sqltext::parseBlock("begin p(1) x; end;"));
}

TEST(SqlStr, QuotesAndDoublesApostrophes) {
    EXPECT_EQ(LIB_SqlStr("O'Neil"), "'O''Neil'");
    EXPECT_EQ(LIB_SqlStr(LibVar::null()), "''");
    EXPECT_EQ(LIB_SqlStr(""), "''");
    EXPECT_EQ(LIB_SqlStr(12.5), "'12.5'");
    EXPECT_EQ(LIB_SqlStr("''"), "''''''");
}

TEST(WideSelect, SummaryColumnsAreReadThroughDump) {
    auto w = sqltext::rewriteWide(
        "select distinct marc_rec_no, m_title, a.M_AUTHOR from marc a where x=1");
    EXPECT_EQ(w.sql,
              "SELECT  DISTINCT marc_rec_no, dump(m_title,16) , dump(a.M_AUTHOR,16)  FROM  marc a "
              "where x=1");
    EXPECT_EQ(w.dumpedColumns, (std::vector<int>{1, 2}));
}

TEST(WideSelect, OtherColumnsAndFunctionsWithCommasStayWhole) {
    auto w = sqltext::rewriteWide("SELECT nvl(m_title,'a,b'), m_titles, pub_year FROM marc");
    EXPECT_EQ(w.dumpedColumns, (std::vector<int>{0}));
    EXPECT_EQ(w.sql, "SELECT  dump(nvl(m_title,'a,b'),16) ,m_titles,pub_year FROM  marc");
}

TEST(DumpConversion, UnicodeBytesComeBackAsText) {
    EXPECT_EQ(DumpToText("Typ=1 Len=4: 4e,2d,65,87"), "中文");
    EXPECT_EQ(DumpToText("Typ=1 Len=2: 0,41"), "A");
    EXPECT_EQ(DumpToText("NULL"), "");
    EXPECT_EQ(DumpToText(""), "");
    // A character outside the basic plane travels as a surrogate pair.
    EXPECT_EQ(DumpToText(shims::dump16("𠀀x")), "𠀀x");
}

TEST(SqliteFunctions, UnistrReadsCodeUnitsAndSurrogatePairs) {
    EXPECT_EQ(shims::unistr("\\4E2D\\6587"), "中文");
    EXPECT_EQ(shims::unistr("a\\\\b"), "a\\b");
    EXPECT_EQ(shims::unistr("\\D840\\DC00"), "𠀀");
    EXPECT_EQ(shims::unistr("\\12"), "\\12");
}

TEST(SqliteFunctions, DumpListsUtf16BytesInHex) {
    EXPECT_EQ(shims::dump16("A中"), "Typ=1 Len=4: 0,41,4e,2d");
}

TEST(SqliteFunctions, PadCutsOrFillsToWidthInCharacters) {
    EXPECT_EQ(*shims::pad("7", 3, "0", true), "007");
    EXPECT_EQ(*shims::pad("ab", 5, "xy", false), "abxyx");
    EXPECT_EQ(*shims::pad("中文字", 2, " ", true), "中文");
    EXPECT_FALSE(shims::pad("abc", 0, " ", true));
}

TEST(SqliteFunctions, GbkKeyOrdersChineseByGbkBytes) {
    // 啊 (B0A1) comes before 吧 (B0C9) in GBK although its code point is larger.
    EXPECT_LT(shims::gbkKey("啊"), shims::gbkKey("吧"));
    EXPECT_LT(shims::gbkKey("Z"), shims::gbkKey("啊"));
    EXPECT_GT(shims::gbkKey("𠀀"), shims::gbkKey("齄"));
}

TEST(SqlScript, StatementsEndWithASemicolonAtLineEnd) {
    auto s = splitSqlScript(
        "-- heading\nCREATE TABLE a (\n  x VARCHAR(10) -- no; end here\n);\n\n"
        "INSERT INTO a VALUES ('p;q');\nINSERT INTO a VALUES ('r')");
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0], "CREATE TABLE a (\n  x VARCHAR(10) -- no; end here\n)");
    EXPECT_EQ(s[1], "INSERT INTO a VALUES ('p;q')");
    EXPECT_EQ(s[2], "INSERT INTO a VALUES ('r')");
}
