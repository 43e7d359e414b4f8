// serialsctl marc as an administrator uses it: importing files (broken records reported and
// skipped), searching the index, showing and exporting records, dumping files without a
// database, the demonstration data of init-db, and several imports running at once.
#include <gtest/gtest.h>

#include <fstream>

#include "db/basLibDB.h"
#include "marc/core/MarcIso.h"
#include "tests/support/CtlRun.h"
#include "tests/support/TestDb.h"

namespace {

std::string source(const std::string& rel) {
    return std::string(SERIALS_SOURCE_DIR) + "/" + rel;
}

class MarcCtl : public CtlTest {
protected:
    void TearDown() override { UnicodeMarcMode = false; }

    TestHome& makeHome(bool unicode = false) {
        InstallOptions o;
        o.unicodeMarc = unicode;
        home = std::make_unique<TestHome>(GetParam(), o);
        return *home;
    }
    // As ROOT: the raw-SQL verbs need an operator with the maintenance right.
    CtlResult run(const std::vector<std::string>& args) {
        return runCtl(binary, home->dir(), args);
    }
    std::string scratch(const std::string& name, const std::string& bytes) {
        std::string path = home->dir() + "/TMP/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::unique_ptr<TestHome> home;
};

// The records of a file, each with its fields as (tag, content) pairs.
using Fields = std::vector<std::pair<std::string, std::string>>;
std::vector<Fields> fieldsOf(const std::string& bytes, MarcEncoding enc) {
    UnicodeMarcMode = true;
    std::vector<Fields> out;
    MarcIsoReader reader(bytes, enc);
    MarcRec rec;
    std::string problem;
    while (reader.next(rec, problem) == MarcIsoReader::Result::Record) {
        Fields f;
        for (int i = 0; i < rec.FieldCount; ++i)
            f.emplace_back(rec.Dir[i].Tag, MarcFieldContent(rec, i));
        out.push_back(f);
    }
    return out;
}

TEST_P(MarcCtl, EveryImportedSerialIsFoundByTitleIssnAndAuthor) {
    makeHome();
    std::string file = source("config/demo/cnmarc_demo.mrc");
    CtlResult imported = run({"marc", "import", file});
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_NE(imported.out.find("导入 24 条"), std::string::npos) << imported.out;
    UnicodeMarcMode = true;
    std::string bytes = slurp(file);
    MarcIsoReader reader(bytes, MarcEncoding::Gbk);
    MarcRec rec;
    std::string problem;
    int checked = 0;
    while (reader.next(rec, problem) == MarcIsoReader::Result::Record) {
        auto value = [&rec](const char* ref) {
            MarcResetCursor();
            return MarcGetSubFieldSeq(rec, ref);
        };
        std::string title = value("200a");
        for (auto [group, text] :
             {std::pair{"01", MidAnsi(title, 1, 4)}, std::pair{"03", value("011a")},
              std::pair{"02", value("701a")}}) {
            CtlResult found = run({"marc", "search", group, text});
            EXPECT_NE(found.out.find(title), std::string::npos) << group << " " << text << "\n"
                                                                << found.out;
        }
        ++checked;
    }
    EXPECT_EQ(checked, 24);
    CtlResult none = run({"marc", "search", "01", "没有这种期刊"});
    EXPECT_NE(none.out.find("(0 行)"), std::string::npos);
}

TEST_P(MarcCtl, ShowNamesEachField) {
    makeHome();
    ASSERT_EQ(
        run({"marc", "import", source("config/demo/usmarc_demo.mrc"), "--format", "usmarc"}).code,
        0);
    CtlResult shown = run({"marc", "show", "0000000001"});
    ASSERT_EQ(shown.code, 0) << shown.err;
    for (const char* part :
         {"LDR", "Title Statement", "Journal of serials practice", "International Standard Serial"})
        EXPECT_NE(shown.out.find(part), std::string::npos) << part;
    EXPECT_EQ(run({"marc", "show", "0000009999"}).code, 1);
}

TEST_P(MarcCtl, ImportTakesWhatParsesAndExitsOneWhenAnythingWasLeftOut) {
    makeHome();
    std::string good = slurp(source("tests/marc/data/unimarc_sample.mrc"));
    // Cut short: taken as far as it goes, the fields past the cut left out.
    std::string cut = good.substr(0, 300);
    CtlResult r = run({"marc", "import", scratch("cut.mrc", good + cut + good)});
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_NE(r.err.find("第 3 条记录（文件位置 " + std::to_string(good.size()) + "）"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("不在数据区内"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("导入 5 条（其中修复 1 条），跳过 0 条"), std::string::npos) << r.out;
    // Nothing that can be read as a record: skipped, counted, exit 1.
    std::string junk = "00040nas  2200000   450 " + std::string(15, 'x') + "\x1d";
    r = run({"marc", "import", scratch("junk.mrc", good + junk)});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("导入 2 条（其中修复 0 条），跳过 1 条"), std::string::npos) << r.out;
    // Only repairs: every record is in, exit 0.
    std::string crlf = good;
    crlf.replace(crlf.find("\x1e", 30) + 3, 2, "\r\n");
    r = run({"marc", "import", scratch("crlf.mrc", crlf)});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("回车换行"), std::string::npos) << r.err;
    // Not a file at all.
    r = run({"marc", "import", home->dir() + "/TMP"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("不是文件"), std::string::npos) << r.err;
    EXPECT_EQ(run({"marc", "import", home->dir() + "/TMP/none.mrc"}).code, 1);
}

TEST_P(MarcCtl, Marc8RecordsImportAsUnicode) {
    std::string file = source("tests/marc/data/marc8_sample.mrc");
    makeHome(true);
    CtlResult r = run({"marc", "import", file, "--format", "usmarc"});
    ASSERT_EQ(r.code, 0) << r.err;
    CtlResult shown = run({"marc", "show", "0000000001"});
    EXPECT_NE(shown.out.find("Dvořák, Antonín."), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("Журнал прикладной химии"), std::string::npos) << shown.out;
    shown = run({"marc", "show", "0000000002"});
    EXPECT_NE(shown.out.find("中国图书馆学报."), std::string::npos) << shown.out;
    CtlResult found = run({"marc", "search", "01", "revue d'études"});
    EXPECT_NE(found.out.find("0000000001"), std::string::npos) << found.out;

    std::string out = home->dir() + "/TMP/utf8.mrc";
    r = run({"marc", "dump", file, "--format", "usmarc", "--to-utf8", "--output", out});
    ASSERT_EQ(r.code, 0) << r.err;
    auto records = fieldsOf(slurp(out), MarcEncoding::Utf8);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].back(), (std::pair<std::string, std::string>{"880",
                                                                      "  \x1f"
                                                                      "6260-02/$1\x1f"
                                                                      "a北京 :\x1f"
                                                                      "b中国图书馆学会,\x1f"
                                                                      "c1998-"}));
    // Without --to-utf8 the file comes back as it was.
    r = run({"marc", "dump", file, "--format", "usmarc"});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out == slurp(file));
}

struct ExportCase {
    const char* file;
    const char* format;
    const char* encoding;
    bool unicode;
};

TEST_P(MarcCtl, ExportedRecordsKeepEveryFieldButTheNewControlNumber) {
    for (ExportCase c :
         {ExportCase{"tests/marc/data/unimarc_sample.mrc", "cnmarc", "gbk", false},
          ExportCase{"tests/marc/data/marc21_sample.mrc", "usmarc", "utf-8", true}}) {
        makeHome(c.unicode);
        std::string original = slurp(source(c.file));
        ASSERT_EQ(run({"marc", "import", source(c.file), "--format", c.format}).code, 0);
        std::string out = home->dir() + "/TMP/export.mrc";
        CtlResult r = run({"marc", "export", "0000000001", "0000000002", "--encoding", c.encoding,
                           "--output", out});
        ASSERT_EQ(r.code, 0) << r.err;
        MarcEncoding enc;
        ASSERT_TRUE(MarcParseEncoding(c.encoding, enc));
        auto before = fieldsOf(original, enc);
        auto after = fieldsOf(slurp(out), enc);
        ASSERT_EQ(after.size(), 2u);
        for (std::size_t i = 0; i < 2; ++i) {
            ASSERT_EQ(after[i][0], (std::pair<std::string, std::string>{
                                       "001", "000000000" + std::to_string(i + 1)}));
            after[i].erase(after[i].begin());
            before[i].erase(before[i].begin());
            EXPECT_EQ(after[i], before[i]) << c.file << " record " << i + 1;
        }
    }
}

TEST_P(MarcCtl, DumpWritesFilesBackByteForByteWithoutADatabase) {
    makeHome();
    for (auto [file, encoding] : {std::pair{"tests/marc/data/marc21_sample.mrc", "utf-8"},
                                  std::pair{"tests/marc/data/unimarc_sample.mrc", "gbk"},
                                  std::pair{"config/demo/cnmarc_demo.mrc", "gbk"},
                                  std::pair{"config/demo/usmarc_demo.mrc", "utf-8"}}) {
        CtlResult r = run({"marc", "dump", source(file), "--encoding", encoding});
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, slurp(source(file))) << file;
    }
    std::string truncated = slurp(source("tests/marc/data/marc21_sample.mrc"));
    CtlResult cut =
        run({"marc", "dump", scratch("cut.mrc", truncated.substr(0, truncated.size() - 40))});
    EXPECT_EQ(cut.code, 1);
    EXPECT_NE(cut.err.find("缺少记录结束符"), std::string::npos) << cut.err;
}

TEST_P(MarcCtl, ConcurrentImportsNeverShareARecordNumber) {
    makeHome();
    std::string file = source("config/demo/cnmarc_demo.mrc");
    std::string all;
    for (int i = 0; i < 3; ++i)
        all += (i ? " & " : "") +
               ctlCommand(binary, home->dir(), {"marc", "import", file}, "p" + std::to_string(i));
    ASSERT_EQ(std::system(("(" + all + "; wait)").c_str()), 0);
    CtlResult count = run({"query", "SELECT count(DISTINCT marc_rec_no) FROM marc"});
    EXPECT_NE(count.out.find("72"), std::string::npos) << count.out;
    CtlResult top = run({"query", "SELECT max_rec_no FROM reg_marc_number WHERE marc_kind='marc'"});
    EXPECT_NE(top.out.find("72"), std::string::npos) << top.out;
}

TEST_P(MarcCtl, DemoDatabaseHasSearchableSerials) {
    makeHome();
    CtlResult init = run({"init-db", "--force", "--demo"});
    ASSERT_EQ(init.code, 0) << init.err;
    // The new database's ROOT must change its password first: the demo supervisor looks.
    CtlResult count =
        run({"--user", "ZG01", "--password", "1234", "query", "SELECT count(*) FROM marc"});
    EXPECT_NE(count.out.find("40"), std::string::npos) << count.out;
    CtlResult found =
        run({"--user", "ZG01", "--password", "1234", "marc", "search", "01", "journal of serials"});
    EXPECT_NE(found.out.find("Journal of serials practice"), std::string::npos) << found.out;
    EXPECT_TRUE(std::ifstream(home->dir() + "/CFG/BM/BaseParam/BM_CN_FieldInfo.ini").good());
}

TEST_P(MarcCtl, ReindexWritesTheTitleWordsOfADatabaseMadeWithoutThem) {
    makeHome();
    CtlResult init = run({"init-db", "--force", "--demo"});
    ASSERT_EQ(init.code, 0) << init.err;
    auto as = [this](std::vector<std::string> args) {
        args.insert(args.begin(), {"--user", "ZG01", "--password", "1234"});
        return run(args);
    };
    EXPECT_NE(as({"marc", "words", "practice"}).out.find("Journal of serials practice"),
              std::string::npos);
    ASSERT_EQ(as({"exec", "DELETE FROM marc_title_word"}).code, 0);
    EXPECT_EQ(as({"marc", "words", "practice"}).out.find("Journal of serials practice"),
              std::string::npos);
    CtlResult rebuilt = as({"marc", "reindex"});
    ASSERT_EQ(rebuilt.code, 0) << rebuilt.err;
    EXPECT_NE(rebuilt.out.find("40 条书目记录"), std::string::npos) << rebuilt.out;
    EXPECT_NE(rebuilt.err.find("已索引 40 / 40"), std::string::npos) << rebuilt.err;
    EXPECT_NE(as({"marc", "words", "practice"}).out.find("Journal of serials practice"),
              std::string::npos);
    EXPECT_EQ(as({"marc", "reindex", "extra"}).code, 2);
}

TEST_P(MarcCtl, NewDatabasesKeepLettersOutsideGbkUnlessMadeGbkOnly) {
    makeHome();
    // The width of the chunk column is what start-up reads to choose the storage mode.
    const std::vector<std::string> chunkWidth =
        GetParam() == kSqlite
            ? std::vector<std::string>{"query",
                                       "SELECT sql FROM sqlite_master WHERE name='marc_data'"}
            : std::vector<std::string>{"query",
                                       "SELECT character_maximum_length FROM "
                                       "information_schema.columns WHERE table_name='marc_data' "
                                       "AND column_name='marc03'"};
    // A rebuilt database's ROOT must change its password before anything else.
    const std::vector<std::string> root{"--user", "ROOT", "--password", "Root-2"};
    for (auto [option, width] : {std::pair{"", "4000"}, {"--gbk-marc", "2000"}}) {
        std::vector<std::string> args = *option ? root : std::vector<std::string>{};
        args.insert(args.end(), {"init-db", "--force"});
        if (*option) args.push_back(option);
        CtlResult init = run(args);
        ASSERT_EQ(init.code, 0) << init.err;
        ASSERT_EQ(run({"--user", "ROOT", "--password", "ROOT", "passwd", "Root-2", "Root-2"}).code,
                  0);
        std::vector<std::string> query = root;
        query.insert(query.end(), chunkWidth.begin(), chunkWidth.end());
        CtlResult r = run(query);
        EXPECT_NE(r.out.find(width), std::string::npos) << "init-db " << option << ": " << r.out;
    }
}

SERIALS_ON_BOTH_BACKENDS(MarcCtl);

}  // namespace
