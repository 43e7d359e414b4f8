// Statement text work that needs no database: procedure blocks, quoting, the wide-select
// rewrite and the dump conversion, and the SQL functions SQLite is given.
#include <gtest/gtest.h>

#include <algorithm>

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

TEST(SqlStr, BackslashesAreEscapedOnPostgresOnly) {
    LIB_DB_ConnectParams().driver = "PostgreSQL";
    EXPECT_EQ(LIB_SqlStr(std::string("a\\'b")), "E'a\\\\''b'");
    EXPECT_EQ(LIB_SqlStr(std::string("plain")), "'plain'");
    LIB_DB_ConnectParams().driver = "SQLite";
    EXPECT_EQ(LIB_SqlStr(std::string("a\\'b")), "'a\\''b'");
    LIB_DB_ConnectParams() = ConnectParams{};
}

TEST(LikePrefix, WildcardsAndTheEscapeCharacterMatchThemselves) {
    EXPECT_EQ(sqltext::likePrefix("100%_x!"), "100!%!_x!!%");
    EXPECT_EQ(sqltext::likePrefix(""), "%");
    EXPECT_EQ(sqltext::likePrefix("中文"), "中文%");
}

TEST(MaskSecrets, PasswordValuesAndHashesNeverReachTheLog) {
    struct Case {
        const char* sql;
        const char* masked;
    };
    const Case cases[] = {
        {"UPDATE lib_worker SET password='Secret1' WHERE wkr_no='DY01'",
         "UPDATE lib_worker SET password='***' WHERE wkr_no='DY01'"},
        {"update LIB_WORKER set PASSWORD = E'a\\\\b''c', remark='x' where "
         "lib_worker.password<>'old'",
         "update LIB_WORKER set PASSWORD = '***', remark='x' where lib_worker.password<>'***'"},
        {"INSERT INTO lib_worker (wkr_no, password, wkr_flag) VALUES ('A1', 'pw1', '1'), "
         "('A2', nvl('pw2', 'x'), '1')",
         "INSERT INTO lib_worker (wkr_no, password, wkr_flag) VALUES ('A1', '***', '1'), "
         "('A2', nvl('***', '***'), '1')"},
        {"UPDATE lib_worker SET pwd_hash='$argon2id$v=19$m=8,t=1,p=1$abc' WHERE wkr_no='ROOT'",
         "UPDATE lib_worker SET pwd_hash='***' WHERE wkr_no='ROOT'"},
        {"SELECT '$argon2id$v=19$x' FROM dual", "SELECT '***' FROM dual"},
        {"SELECT wkr_no FROM lib_worker WHERE wkr_name='password'",
         "SELECT wkr_no FROM lib_worker WHERE wkr_name='password'"},
        {"UPDATE t SET pwd='unterminated", "UPDATE t SET pwd='***'"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sqltext::maskSecrets(c.sql), c.masked) << c.sql;
}

TEST(SchemaTables, TheInstallerKnowsItsOwnTablesByName) {
    auto names = schemaTableNames();
    for (const char* t : {"lib_worker", "msg_mst", "log_detl", "marc", "indi_acct"})
        EXPECT_NE(std::find(names.begin(), names.end(), t), names.end()) << t;
    EXPECT_EQ(std::find(names.begin(), names.end(), "sqlite_sequence"), names.end());
}
