// Saving and loading records on both backends and in both storage modes: numbering and the
// leading 001, data rows cut into 2000-byte chunks (6000 bytes a row), Chinese characters and
// blanks at chunk boundaries, characters outside GBK, updates, summary columns, and a save that
// fails half-way leaving nothing behind.
#include <gtest/gtest.h>

#include "db/DbTransaction.h"
#include "db/Gbk.h"
#include "tests/marc/MarcDbTest.h"

namespace {

class MarcStore : public MarcDbTest {};
class MarcStoreUnicode : public MarcDbUnicodeTest {};

const std::string SF(1, kSubfieldMark);

// Bytes a saved record of one 300 field with value `v` takes before the value: leader 24,
// directory of 001 and 300 with its terminator 25, "0000000001" + terminator 11, "  $a" 4.
constexpr std::size_t kBeforeValue = 64;

MarcRec recordWithValue(const std::string& value) {
    return marcFromItems("C", {{"300a", value}}, "25");
}

std::string saveNew(MarcRec& rec) {
    EXPECT_TRUE(MarcSave(rec, 0, 0, "")) << g_ErrInfo.strDesc;
    return rec.RecNo;
}

std::string isoOf(const MarcRec& rec) {
    return MarcToIso(rec);
}

std::vector<std::string> chunks(const std::string& recNo, int serial) {
    RawResult r = g_OraDatabase->query(
        "SELECT nvl(marc01,''),nvl(marc02,''),nvl(marc03,'') FROM marc_data WHERE marc_rec_no=" +
        LIB_SqlStr(recNo) + " AND data_serial=" + std::to_string(serial));
    if (r.rows.empty()) return {};
    return {r.rows[0][0].str(), r.rows[0][1].str(), r.rows[0][2].str()};
}

int dataRows(const std::string& recNo) {
    return std::stoi(
        scalar("SELECT count(*) FROM marc_data WHERE marc_rec_no=" + LIB_SqlStr(recNo)));
}

MARC_BOTH_MODES(MarcStore, NewRecordGetsANumberAndALeading001) {
    MarcRec rec =
        marcFromItems("C", {{"001a", "ignored"}, {"200a", "中国图书馆学报"}, {"701a", "王立新"}});
    MarcAddField(rec, MakeMarcField("001", "", "OLD-NUMBER"));
    EXPECT_EQ(saveNew(rec), "0000000001");
    MarcRec second = marcFromItems("C", {{"200a", "第二种"}});
    EXPECT_EQ(saveNew(second), "0000000002");

    MarcRec back = MarcLoad("0000000001");
    ASSERT_EQ(back.RecNo, "0000000001");
    ASSERT_GE(back.FieldCount, 3);
    EXPECT_EQ(back.Dir[0].Tag, "001");
    EXPECT_EQ(MarcFieldContent(back, 0), "0000000001");
    int count001 = 0;
    for (const auto& e : back.Dir)
        count001 += e.Tag == "001";
    EXPECT_EQ(count001, 1);
    EXPECT_EQ(isoOf(back), isoOf(rec));
    EXPECT_EQ(back.MarcType, "C");
    EXPECT_EQ(back.LangCode, "CHI");
    EXPECT_EQ(back.CountryCode, "CN");
    EXPECT_EQ(back.CataDate, "2024-03-15");
}

MARC_BOTH_MODES(MarcStore, MissingRecordLoadsEmpty) {
    MarcRec rec = MarcLoad("0000009999");
    EXPECT_TRUE(rec.RecNo.empty());
    EXPECT_EQ(rec.FieldCount, 0);
}

struct ChunkCase {
    std::size_t textBytes;
    int rows;
};

// A saved text of `bytes` bytes; past 9,000 the value goes in two fields, since a field
// holds at most 9,999 bytes (a second 3xx field adds 17: its directory entry, "  $a" and the
// field terminator).
MarcRec recordOfBytes(std::size_t bytes) {
    std::size_t value = bytes - kBeforeValue - 2;
    if (value <= 9000) return recordWithValue(std::string(value, 'x'));
    return marcFromItems(
        "C", {{"300a", std::string(6000, 'x')}, {"301a", std::string(value - 17 - 6000, 'x')}},
        "25");
}

MARC_BOTH_MODES(MarcStore, TextIsCutIntoRowsOfThreeChunks) {
    for (ChunkCase c :
         {ChunkCase{6000, 1}, ChunkCase{6001, 2}, ChunkCase{2000, 1}, ChunkCase{12001, 3}}) {
        MarcRec rec = recordOfBytes(c.textBytes);
        std::string no = saveNew(rec);
        ASSERT_EQ(gbkLength(isoOf(rec)), c.textBytes);
        EXPECT_EQ(dataRows(no), c.rows) << c.textBytes;
        EXPECT_EQ(isoOf(MarcLoad(no)), isoOf(rec)) << c.textBytes;
    }
    MarcRec rec = recordWithValue(std::string(6001 - kBeforeValue - 2, 'x'));
    std::string no = saveNew(rec);
    EXPECT_EQ(chunks(no, 1), (std::vector<std::string>{std::string(1, kRecordEnd), "", ""}));
}

MARC_BOTH_MODES(MarcStore, AChineseCharacterNeverSplitsAcrossChunks) {
    std::string value =
        std::string(1999 - kBeforeValue, 'x') + "中文期刊" + std::string(3000, 'y') + "题名";
    MarcRec rec = recordWithValue(value);
    std::string no = saveNew(rec);
    auto first = chunks(no, 0);
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(gbkLength(first[0]), 1999u);
    EXPECT_EQ(first[1].rfind("中文期刊", 0), 0u);
    EXPECT_EQ(isoOf(MarcLoad(no)), isoOf(rec));
}

MARC_BOTH_MODES(MarcStore, BlanksAtABoundaryMoveToTheNextChunk) {
    std::string value = std::string(1997 - kBeforeValue, 'x') + "      " + std::string(100, 'y');
    MarcRec rec = recordWithValue(value);
    std::string no = saveNew(rec);
    auto first = chunks(no, 0);
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0].back(), 'x');
    EXPECT_EQ(first[1].rfind("      y", 0), 0u);
    MarcRec back = MarcLoad(no);
    MarcResetCursor();
    EXPECT_EQ(MarcGetSubFieldSeq(back, "300a"), value);
    EXPECT_EQ(isoOf(back), isoOf(rec));
}

MARC_BOTH_MODES(MarcStore, CharactersOutsideGbkSurviveOnlyInUnicodeMode) {
    std::string value = "Ærø 😀 ₩ 中文";
    MarcRec rec = marcFromItems("U", {{"245a", value}});
    std::string no = saveNew(rec);
    MarcRec back = MarcLoad(no);
    MarcResetCursor();
    EXPECT_EQ(MarcGetSubFieldSeq(back, "245a"),
              UnicodeMarcMode ? value : gbkToUtf8(utf8ToGbk(value)));
}

MARC_BOTH_MODES(MarcStore, SavingAnExistingRecordReplacesItsRows) {
    MarcRec rec = marcFromItems("C", {{"200a", "旧题名"}, {"701a", "张三"}});
    std::string no = saveNew(rec);
    MarcRec back = MarcLoad(no);
    MarcSetSubField(back, "200a", std::string(7000, 'z'));
    ASSERT_TRUE(MarcSave(back, 0, 0, ""));
    EXPECT_EQ(back.RecNo, no);
    EXPECT_EQ(dataRows(no), 2);
    EXPECT_EQ(isoOf(MarcLoad(no)), isoOf(back));
    EXPECT_EQ(indexKeys(no, "02"), (std::vector<std::string>{"张三"}));
    EXPECT_EQ(scalar("SELECT count(*) FROM marc"), "1");
}

// Eleven 3xx fields padded so that the record, once saved with its 001 (23 bytes more), is
// `saved` bytes long.
MarcRec recordSavedAs(long saved) {
    std::vector<MarcItem> items;
    for (int tag = 300; tag <= 310; ++tag)
        items.push_back({std::to_string(tag) + "a", std::string(9000, 'x')});
    MarcRec rec = marcFromItems("C", items, "25");
    long now = std::stol(rec.Leader.substr(0, 5));
    MarcSetSubField(rec, "310a", std::string(9000 + (saved - 23 - now), 'x'));
    return rec;
}

MARC_BOTH_MODES(MarcStore, RecordsLongerThanTheFormatAllowsAreRefusedWhole) {
    MarcRec fits = recordSavedAs(99999);
    std::string no = saveNew(fits);
    ASSERT_FALSE(no.empty());
    MarcRec back = MarcLoad(no);
    EXPECT_EQ(back.Leader.substr(0, 5), "99999");
    EXPECT_EQ(isoOf(back), isoOf(fits));

    MarcRec over = recordSavedAs(100000);
    auto tables = [] {
        return scalar("SELECT count(*) FROM marc") + "/" +
               scalar("SELECT count(*) FROM marc_data") + "/" +
               scalar("SELECT count(*) FROM marc_idx");
    };
    std::string before = tables();
    auto& shown = dynamic_cast<ScriptedPresenter&>(LIB_Presenter()).shown;
    shown.clear();
    EXPECT_FALSE(MarcSave(over, 0, 0, ""));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].body.find("100000"), std::string::npos) << shown[0].body;
    EXPECT_EQ(tables(), before);

    // Growing a saved record past the limit leaves the stored one as it was.
    MarcSetSubField(back, "309a", std::string(9001, 'y'));
    {
        DbTransaction t;
        ASSERT_TRUE(t.ok());
        EXPECT_FALSE(MarcSave(back, 2, 0, ""));
    }
    EXPECT_EQ(isoOf(MarcLoad(no)), isoOf(fits));
}

MARC_BOTH_MODES(MarcStore, ModeOneInsertsWithTheCallersNumber) {
    MarcRec rec = marcFromItems("C", {{"200a", "预定题名"}});
    rec.RecNo = "0000000500";
    LIB_DB_BeginTrans();
    ASSERT_TRUE(MarcSave(rec, 1, 0, ""));
    LIB_DB_CommitTrans();
    EXPECT_EQ(MarcLoad("0000000500").RecNo, "0000000500");
    MarcRec again = MarcLoad("0000000500");
    LIB_DB_BeginTrans();
    EXPECT_FALSE(MarcSave(again, 1, 0, ""));  // a second header row with the same number
    LIB_DB_Rollback();
    EXPECT_EQ(scalar("SELECT count(*) FROM marc"), "1");
}

// A save that fails inside the caller's transaction tells the librarian only once that
// transaction has been rolled back, so that the box never holds the caller's locks.
MARC_BOTH_MODES(MarcStore, FailedSaveInTheCallersTransactionIsToldAfterItsRollback) {
    MarcRec first = marcFromItems("C", {{"200a", "已有题名"}});
    const std::string no = saveNew(first);
    ASSERT_FALSE(no.empty());
    auto& presenter = dynamic_cast<ScriptedPresenter&>(LIB_Presenter());
    presenter.shown.clear();
    MarcRec twin = marcFromItems("C", {{"200a", "同号题名"}});
    twin.RecNo = no;
    {
        DbTransaction tx;
        ASSERT_TRUE(tx.ok());
        ASSERT_EQ(
            LIB_DB_Execute("UPDATE marc SET lang_code='eng' WHERE marc_rec_no=" + LIB_SqlStr(no)),
            0);
        EXPECT_FALSE(MarcSave(twin, 1, 0, ""));
        EXPECT_TRUE(presenter.shown.empty()) << presenter.shown[0].body;
    }
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].type, 'E');
    EXPECT_EQ(presenter.shown[0].body, LIB_GetMsgText("ECM010"));
    EXPECT_FALSE(presenter.shown[0].inTransaction);
    EXPECT_EQ(scalar("SELECT lang_code FROM marc WHERE marc_rec_no=" + LIB_SqlStr(no)), "CHI")
        << "the caller's own change was rolled back before the box";
    EXPECT_EQ(scalar("SELECT count(*) FROM marc"), "1");
}

MARC_BOTH_MODES(MarcStore, PublicationYearOfTheSummary) {
    struct Case {
        std::string date, yearText, expected;
    };
    for (const Case& c :
         {Case{"1998-", "", "1998"}, Case{"n.d.", "", ""}, Case{"出版年不详", "", ""},
          Case{"[1936]", "", "1936"}, Case{"1998", "2001", "2001"}}) {
        MarcRec rec = marcFromItems("C", {{"200a", "题名"}, {"210d", c.date}});
        ASSERT_TRUE(MarcSave(rec, 0, 0, c.yearText));
        EXPECT_EQ(
            scalar("SELECT nvl(pub_year,0) FROM marc WHERE marc_rec_no=" + LIB_SqlStr(rec.RecNo)),
            c.expected.empty() ? "0" : c.expected)
            << c.date;
    }
}

MARC_BOTH_MODES(MarcStore, SummaryColumnsComposeTheTitle) {
    MarcRec rec = marcFromItems("C", {{"200a", "中文期刊示例"},
                                      {"200e", "季刊"},
                                      {"200h", "第1辑"},
                                      {"200i", "综合版"},
                                      {"200f", "示例学会编"},
                                      {"210c", "示例出版社"},
                                      {"011a", "1001-8867"},
                                      {"690a", "G25"}});
    std::string no = saveNew(rec);
    LibArray rows;
    ASSERT_EQ(MarcListQuery(no + ",0000000099", kMarcBib, rows), 0);
    ASSERT_EQ(rows.recordCount(), 1);
    EXPECT_EQ(rows(rows.column("m_title"), 2).str(), "中文期刊示例:季刊.第1辑,综合版");
    EXPECT_EQ(rows(rows.column("m_author"), 2).str(), "示例学会编");
    EXPECT_EQ(rows(rows.column("m_publisher"), 2).str(), "示例出版社");
    EXPECT_EQ(rows(rows.column("m_isbn"), 2).str(), "1001-8867");
    EXPECT_EQ(rows(rows.column("m_call_no"), 2).str(), "G25");
}

MARC_BOTH_MODES(MarcStore, AFailedStepLeavesNothingOfTheSave) {
    ASSERT_EQ(LIB_DB_Execute("DROP TABLE lc_class"), 0);
    MarcRec rec = marcFromItems("U", {{"245a", "Journal"}, {"050a", "QA76.73"}});
    EXPECT_FALSE(MarcSave(rec, 0, 0, ""));
    EXPECT_EQ(scalar("SELECT count(*) FROM marc"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM marc_data"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM marc_idx"), "0");
    EXPECT_FALSE(g_blnInTrans);
    // The number was taken in a transaction of its own before the save began.
    EXPECT_EQ(scalar("SELECT max_rec_no FROM reg_marc_number WHERE marc_kind='marc'"), "1");
}

MARC_BOTH_MODES(MarcStore, WholeRecordDeletionRemovesEveryRow) {
    MarcRec rec = marcFromItems("U", {{"245a", "Journal"}, {"050a", "QA76.73"}, {"700a", "Smith"}});
    std::string no = saveNew(rec);
    ASSERT_EQ(LIB_DB_CallProc(" BM_DeleteWholeMarc " + LIB_SqlStr(no)), 0);
    for (const char* t : {"marc", "marc_data", "marc_idx", "lc_class"})
        EXPECT_EQ(scalar(std::string("SELECT count(*) FROM ") + t), "0") << t;
}

MARC_BOTH_MODES(MarcStore, OtherFamiliesUseTheirOwnTables) {
    MarcRec pre = marcFromItems("C", {{"200a", "预订目录"}});
    pre.Kind = kMarcAsord;
    ASSERT_TRUE(MarcSave(pre, 0, 0, ""));
    MarcRec auth = marcFromItems("c", {{"200a", "鲁迅"}, {"400a", "周树人"}});
    auth.Kind = kMarcAuth;
    ASSERT_TRUE(MarcSave(auth, 0, 0, ""));
    EXPECT_EQ(isoOf(AsordMarcLoad(pre.RecNo)), isoOf(pre));
    EXPECT_EQ(isoOf(AuMarcLoad(auth.RecNo)), isoOf(auth));
    EXPECT_EQ(scalar("SELECT m_heading FROM au_marc"), "鲁迅");
    EXPECT_EQ(scalar("SELECT m_see FROM au_marc"), "周树人");
    EXPECT_EQ(scalar("SELECT count(*) FROM au_marc_idx"), "2");
    ASSERT_EQ(LIB_DB_CallProc(" delete01_asord_marc " + LIB_SqlStr(pre.RecNo)), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM asord_marc_data"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM marc"), "0");
}

TEST(MarcChunks, AnsiCutLength) {
    EXPECT_EQ(AnsiCutLength("abcdef", 4), 4);
    EXPECT_EQ(AnsiCutLength("ab中文", 4), 3);
    EXPECT_EQ(AnsiCutLength("abc中文", 4), 3);
    EXPECT_EQ(AnsiCutLength("ab  cd", 4), 2);
    EXPECT_EQ(AnsiCutLength("abc", 10), 3);
    EXPECT_EQ(AnsiCut("    ", 2), "  ");
}

TEST(MarcChunks, UnistrLiteralEscapesEveryCodeUnit) {
    EXPECT_EQ(ToUnistrLiteral("A中"), "\\0041\\4E2D");
    EXPECT_EQ(ToUnistrLiteral("😀"), "\\D83D\\DE00");
}

INSTANTIATE_TEST_SUITE_P(Backends, MarcStoreUnicode, ::testing::Values(kSqlite, kPostgres),
                         backendName);
SERIALS_ON_BOTH_BACKENDS(MarcStore);

}  // namespace
