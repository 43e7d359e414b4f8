// ISO 2709 files: byte-for-byte round trips of files made by an independent MARC tool, records
// re-measured between file encodings and memory, and broken input that must be reported and
// skipped without crashing, hanging or losing the good records around it.
//
// The fixtures in data/ were written by yaz-marcdump from the line-format files beside them:
// "yaz-marcdump -i line -o marc marc21_sample.txt" and, for the GBK one,
// "yaz-marcdump -i line -o marc -f UTF-8 -t GBK unimarc_sample.txt".
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <random>
#include <sstream>

#include "db/Gbk.h"
#include "db/basLibDB.h"
#include "marc/core/MarcIso.h"

namespace {

std::string readFixture(const std::string& name) {
    std::ifstream in(std::string(SERIALS_TEST_DATA) + "/" + name, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

struct Parsed {
    std::vector<MarcRec> records;
    std::vector<std::vector<std::string>> repairs;  // per record
    std::vector<std::string> problems;
    int refusedFields = 0;
};

Parsed parseFrom(MarcIsoReader& reader) {
    Parsed p;
    MarcRec rec;
    std::string problem;
    for (auto r = reader.next(rec, problem); r != MarcIsoReader::Result::End;
         r = reader.next(rec, problem)) {
        if (r == MarcIsoReader::Result::Record) {
            p.records.push_back(rec);
            p.repairs.push_back(reader.repairs());
            p.refusedFields += reader.refusedFields();
        } else {
            p.problems.push_back(problem);
        }
    }
    return p;
}

Parsed parseAll(const std::string& bytes, MarcEncoding enc) {
    MarcIsoReader reader(bytes, enc);
    return parseFrom(reader);
}

std::string subfield(const MarcRec& rec, const char* ref) {
    MarcResetCursor();
    return MarcGetSubFieldSeq(rec, ref);
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines)
        out += l + "\n";
    return out;
}

std::string writeAll(const std::vector<MarcRec>& records, MarcEncoding enc) {
    std::string out;
    for (const auto& r : records)
        out += MarcIsoWrite(r, enc);
    return out;
}

struct RoundTrip {
    const char* file;
    MarcEncoding enc;
    bool unicode;
    std::size_t records;
};

class IsoRoundTrip : public ::testing::TestWithParam<RoundTrip> {
protected:
    void TearDown() override { UnicodeMarcMode = false; }
};

TEST_P(IsoRoundTrip, FileIsWrittenBackByteForByte) {
    const auto& c = GetParam();
    UnicodeMarcMode = c.unicode;
    std::string bytes = readFixture(c.file);
    ASSERT_FALSE(bytes.empty());
    Parsed p = parseAll(bytes, c.enc);
    EXPECT_TRUE(p.problems.empty());
    ASSERT_EQ(p.records.size(), c.records);
    EXPECT_EQ(writeAll(p.records, c.enc), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Files, IsoRoundTrip,
    ::testing::Values(RoundTrip{"marc21_sample.mrc", MarcEncoding::Utf8, true, 2},
                      RoundTrip{"unimarc_sample.mrc", MarcEncoding::Gbk, false, 2},
                      RoundTrip{"unimarc_sample.mrc", MarcEncoding::Gbk, true, 2}),
    [](const auto& info) {
        std::string name = info.param.file;
        return name.substr(0, name.find('_')) + (info.param.unicode ? "_Unicode" : "_Bytes");
    });

TEST(IsoRecords, Utf8FieldsAreMeasuredInGbkInMemory) {
    Parsed p = parseAll(readFixture("marc21_sample.mrc"), MarcEncoding::Utf8);
    ASSERT_EQ(p.records.size(), 2u);
    const MarcRec& rec = p.records[1];
    // "Ærø" etc.: Æ and ø are outside GBK and count one byte each in memory, two in UTF-8.
    for (std::size_t i = 0; i < rec.Dir.size(); ++i) {
        std::string content = MarcFieldContent(rec, static_cast<int>(i));
        EXPECT_EQ(rec.Dir[i].Length, static_cast<int>(MarcTextBytes(content)) + 1);
    }
}

TEST(IsoRecords, HeldAsGbkBytesACharacterOutsideGbkBecomesAQuestionMark) {
    Parsed p = parseAll(readFixture("marc21_sample.mrc"), MarcEncoding::Utf8);
    ASSERT_EQ(p.records.size(), 2u);
    MarcResetCursor();
    EXPECT_EQ(MarcGetSubFieldSeq(p.records[1], "100a"), "?degaard, ?se.");
    MarcResetCursor();
    EXPECT_EQ(MarcGetSubFieldSeq(p.records[0], "245c"), "Société des logiciels.");
}

TEST(IsoRecords, GbkAndUtf8FormsOfARecordCarryTheSameText) {
    Parsed gbk = parseAll(readFixture("unimarc_sample.mrc"), MarcEncoding::Gbk);
    ASSERT_EQ(gbk.records.size(), 2u);
    std::string utf8 = writeAll(gbk.records, MarcEncoding::Utf8);
    EXPECT_NE(utf8, readFixture("unimarc_sample.mrc"));
    Parsed back = parseAll(utf8, MarcEncoding::Utf8);
    ASSERT_EQ(back.records.size(), 2u);
    EXPECT_EQ(writeAll(back.records, MarcEncoding::Gbk), readFixture("unimarc_sample.mrc"));
}

// A good record of the fixture, damaged in one way, and what must be noted about it.
struct Damage {
    const char* name;
    std::function<void(std::string&)> apply;
    const char* note;
    bool titleKept;
};

class IsoDamage : public ::testing::TestWithParam<Damage> {};

TEST_P(IsoDamage, DamagedRecordIsTakenAsItParsesWithANoteAndItsNeighboursKept) {
    std::string good = readFixture("unimarc_sample.mrc");
    Parsed clean = parseAll(good, MarcEncoding::Gbk);
    ASSERT_EQ(clean.records.size(), 2u);
    std::string first = MarcIsoWrite(clean.records[0], MarcEncoding::Gbk);
    std::string second = MarcIsoWrite(clean.records[1], MarcEncoding::Gbk);
    std::string broken = first;
    GetParam().apply(broken);
    Parsed p = parseAll(second + broken + second, MarcEncoding::Gbk);
    EXPECT_TRUE(p.problems.empty()) << joined(p.problems);
    ASSERT_EQ(p.records.size(), 3u);
    EXPECT_EQ(MarcIsoWrite(p.records[0], MarcEncoding::Gbk), second);
    EXPECT_EQ(MarcIsoWrite(p.records[2], MarcEncoding::Gbk), second);
    EXPECT_TRUE(p.repairs[0].empty());
    EXPECT_NE(joined(p.repairs[1]).find(GetParam().note), std::string::npos)
        << joined(p.repairs[1]);
    if (GetParam().titleKept) {
        EXPECT_EQ(subfield(p.records[1], "200a"), subfield(clean.records[0], "200a"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, IsoDamage,
    ::testing::Values(
        Damage{"LengthNotDigits", [](std::string& r) { r[2] = 'x'; }, "记录长度", true},
        Damage{"LengthTooLong", [](std::string& r) { r.replace(0, 5, "00999"); }, "记录长度", true},
        Damage{"BaseNotDigits", [](std::string& r) { r[14] = '?'; }, "数据基地址", true},
        Damage{"BaseOffGrid", [](std::string& r) { r.replace(12, 5, "00100"); }, "数据基地址",
               true},
        Damage{"DirectoryDigit", [](std::string& r) { r[24 + 12 + 4] = 'Z'; }, "按 0 读取", true},
        Damage{"EntryPastData", [](std::string& r) { r.replace(24 + 3, 4, "9999"); }, "超出数据区",
               true},
        Damage{"FieldTerminatorLost",
               [](std::string& r) {
                   auto p = r.find(kFieldEnd, r.find(kFieldEnd) + 1);
                   r[p] = 'X';
               },
               "缺少字段结束符", true},
        Damage{"RecordTerminatorLost", [](std::string& r) { r.back() = ' '; }, "缺少记录结束符",
               true},
        Damage{"Truncated", [](std::string& r) { r.resize(r.size() / 2); }, "记录长度", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IsoRecords, OffGridBaseAddressRoundsTheEntryCount) {
    Parsed clean = parseAll(readFixture("unimarc_sample.mrc"), MarcEncoding::Gbk);
    ASSERT_EQ(clean.records.size(), 2u);
    std::string r = MarcIsoWrite(clean.records[0], MarcEncoding::Gbk);
    long base = std::stol(r.substr(12, 5));
    // One byte of padding before the data: the base is 12n + 26, the directory still n entries.
    std::string padded = r.substr(0, base - 1) + kFieldEnd + r.substr(base - 1);
    padded.replace(12, 5, MarcFormat5(base + 1));
    padded.replace(0, 5, MarcFormat5(static_cast<long>(padded.size())));
    Parsed p = parseAll(padded, MarcEncoding::Gbk);
    ASSERT_EQ(p.records.size(), 1u);
    EXPECT_EQ(p.records[0].Dir.size(), clean.records[0].Dir.size());
    EXPECT_NE(joined(p.repairs[0]).find("取整"), std::string::npos) << joined(p.repairs[0]);
    EXPECT_EQ(subfield(p.records[0], "200a"), subfield(clean.records[0], "200a"));
}

TEST(IsoRecords, CrLfInsideARecordBecomesTwoBlanks) {
    Parsed clean = parseAll(readFixture("marc21_sample.mrc"), MarcEncoding::Utf8);
    ASSERT_EQ(clean.records.size(), 2u);
    std::string r = MarcIsoWrite(clean.records[0], MarcEncoding::Utf8);
    std::string title = subfield(clean.records[0], "245a");
    std::size_t at = r.find(title);
    ASSERT_NE(at, std::string::npos);
    r.replace(at + 8, 2, "\r\n");
    Parsed p = parseAll(r, MarcEncoding::Utf8);
    ASSERT_EQ(p.records.size(), 1u);
    EXPECT_EQ(subfield(p.records[0], "245a"), title.substr(0, 8) + "  " + title.substr(10));
    EXPECT_NE(joined(p.repairs[0]).find("回车换行"), std::string::npos);
}

TEST(IsoRecords, FieldsWithoutADigitTagAreRefusedWithTheirPosition) {
    Parsed clean = parseAll(readFixture("unimarc_sample.mrc"), MarcEncoding::Gbk);
    ASSERT_EQ(clean.records.size(), 2u);
    std::string r = MarcIsoWrite(clean.records[0], MarcEncoding::Gbk);
    std::size_t fields = clean.records[0].Dir.size();
    r.replace(24 + 12, 3, "2a0");
    r.replace(24 + 24, 3,
              "\xb1\xea"
              "1");  // a GBK character where a tag belongs
    Parsed p = parseAll(r, MarcEncoding::Gbk);
    ASSERT_EQ(p.records.size(), 1u);
    EXPECT_EQ(p.refusedFields, 2);
    EXPECT_EQ(p.records[0].Dir.size(), fields - 2);
    for (const auto& e : p.records[0].Dir)
        EXPECT_TRUE(std::all_of(e.Tag.begin(), e.Tag.end(), ::isdigit)) << e.Tag;
    std::string notes = joined(p.repairs[0]);
    EXPECT_NE(notes.find("第 2 个目次项（记录内位置 36）的字段标识符“2a0”"), std::string::npos)
        << notes;
    EXPECT_NE(notes.find("“\\xB1\\xEA1”"), std::string::npos) << notes;
    EXPECT_EQ(subfield(p.records[0], "001"), subfield(clean.records[0], "001"));
}

TEST(IsoRecords, WhatCannotBeReadIsSkippedAlone) {
    std::string good = readFixture("unimarc_sample.mrc");
    std::string noDirectory = "00040nas  2200000   450 " + std::string(15, 'x') + kRecordEnd;
    Parsed p = parseAll(good + noDirectory + good, MarcEncoding::Gbk);
    EXPECT_EQ(p.records.size(), 4u);
    ASSERT_EQ(p.problems.size(), 1u);
    EXPECT_NE(p.problems[0].find("目次区"), std::string::npos);
}

TEST(IsoRecords, TruncatedFileKeepsWhatParses) {
    std::string bytes = readFixture("marc21_sample.mrc");
    for (std::size_t cut : {std::size_t{3}, std::size_t{30}}) {
        Parsed p = parseAll(bytes.substr(0, cut), MarcEncoding::Utf8);
        EXPECT_EQ(p.problems.size(), 1u) << cut;
        EXPECT_TRUE(p.records.empty());
    }
    Parsed lastCut = parseAll(bytes.substr(0, bytes.size() - 1), MarcEncoding::Utf8);
    ASSERT_EQ(lastCut.records.size(), 2u);
    EXPECT_NE(joined(lastCut.repairs[1]).find("缺少记录结束符"), std::string::npos);
    Parsed whole = parseAll(bytes, MarcEncoding::Utf8);
    EXPECT_EQ(MarcIsoWrite(lastCut.records[1], MarcEncoding::Utf8),
              MarcIsoWrite(whole.records[1], MarcEncoding::Utf8));
}

TEST(IsoRecords, RecordsTooLongForTheFormatAreNotWritten) {
    MarcRec rec;
    rec.Leader = "00000nas  2200000   450 ";
    rec.Data = std::string(1, kRecordEnd);
    for (int i = 0; i < 10; ++i)
        MarcAddField(rec, MakeMarcField("300", "  ",
                                        "\x1f"
                                        "a" +
                                            std::string(9990, 'x')));
    std::string problem;
    EXPECT_EQ(MarcIsoWrite(rec, MarcEncoding::Gbk, &problem), "");
    EXPECT_NE(problem.find("99999"), std::string::npos) << problem;
    MarcRec one;
    one.Leader = rec.Leader;
    one.Data = std::string(1, kRecordEnd);
    MarcAddField(one, MakeMarcField("300", "  ",
                                    "\x1f"
                                    "a" +
                                        std::string(9996, 'x')));
    EXPECT_EQ(MarcIsoWrite(one, MarcEncoding::Utf8, &problem), "");
    EXPECT_NE(problem.find("9999"), std::string::npos) << problem;
    MarcDeleteField(one, "300");
    MarcAddField(one, MakeMarcField("300", "  ",
                                    "\x1f"
                                    "a" +
                                        std::string(9994, 'x')));
    EXPECT_EQ(MarcIsoWrite(one, MarcEncoding::Utf8).size(), 24u + 12 + 1 + 9999 + 1);
}

TEST(IsoRecords, StreamedFileIsReadRecordByRecordAcrossBlocks) {
    std::string one = readFixture("unimarc_sample.mrc");
    std::string many;
    while (many.size() < 3 * 1024 * 1024)
        many += one;
    std::istringstream in(many);
    MarcIsoReader reader(in, MarcEncoding::Gbk);
    Parsed p = parseFrom(reader);
    EXPECT_TRUE(p.problems.empty());
    ASSERT_EQ(p.records.size(), 2 * (many.size() / one.size()));
    EXPECT_EQ(reader.bytesRead(), many.size());
    std::string back;
    for (std::size_t i = 0; i < p.records.size(); i += 2)
        back += MarcIsoWrite(p.records[i], MarcEncoding::Gbk) +
                MarcIsoWrite(p.records[i + 1], MarcEncoding::Gbk);
    EXPECT_TRUE(back == many);
}

// marc8_sample.mrc: see make_marc8_sample.py beside it.
class IsoMarc8 : public ::testing::Test {
protected:
    void SetUp() override { UnicodeMarcMode = true; }
    void TearDown() override { UnicodeMarcMode = false; }
};

TEST_F(IsoMarc8, RecordsMarkedMarc8AreReadIntoUnicode) {
    Parsed p = parseAll(readFixture("marc8_sample.mrc"), MarcEncoding::ByLeader);
    ASSERT_EQ(p.records.size(), 2u);
    EXPECT_TRUE(p.problems.empty());
    const MarcRec& w = p.records[0];
    EXPECT_EQ(subfield(w, "100a"), "Dvo\u0159\u00e1k, Anton\u00edn.");  // composed letters
    EXPECT_EQ(subfield(w, "245a"), "Revue d'études françaises /");
    EXPECT_EQ(subfield(w, "245c"), "Université de Montréal.");
    EXPECT_EQ(subfield(w, "700a"), "Ødegaard, Åse.");
    MarcResetCursor();
    EXPECT_EQ(MarcGetSubFieldSeq(w, "246a"), "Ελληνικη επιθεωρηση");
    EXPECT_EQ(MarcGetSubFieldSeq(w, "246a"), "Журнал прикладной химии");
    const MarcRec& c = p.records[1];
    MarcResetCursor();
    EXPECT_EQ(MarcGetSubFieldSeq(c, "880a"), "中国图书馆学报.");
    EXPECT_EQ(MarcGetSubFieldSeq(c, "880a"), "北京 :");
    EXPECT_EQ(subfield(c, "880b"), "中国图书馆学会,");
    EXPECT_EQ(subfield(c, "880c"), "1998-");  // escapes end with their field
    EXPECT_EQ(subfield(c, "245a"), "Zhongguo tu shu guan xue bao.");
    // Converted, the records say they are Unicode, and read back the same as UTF-8.
    EXPECT_EQ(w.Leader[9], 'a');
    std::string utf8 = writeAll(p.records, MarcEncoding::Utf8);
    Parsed again = parseAll(utf8, MarcEncoding::ByLeader);
    ASSERT_EQ(again.records.size(), 2u);
    EXPECT_EQ(writeAll(again.records, MarcEncoding::Utf8), utf8);
}

TEST_F(IsoMarc8, BytesThatAreNotMarc8AreNotedAndLeftOut) {
    std::string bytes = readFixture("marc8_sample.mrc");
    std::size_t at = bytes.find("Zhongguo");
    ASSERT_NE(at, std::string::npos);
    bytes[at + 1] = '\x1b';  // an escape that selects nothing
    Parsed p = parseAll(bytes, MarcEncoding::Marc8);
    ASSERT_EQ(p.records.size(), 2u);
    EXPECT_EQ(subfield(p.records[1], "245a").substr(0, 1), "Z");
    EXPECT_NE(joined(p.repairs[1]).find("第 4 个目次项的字段含非 MARC-8 字节"), std::string::npos)
        << joined(p.repairs[1]);
    EXPECT_TRUE(p.repairs[0].empty());
    EXPECT_EQ(subfield(p.records[1], "880a"), "中国图书馆学报.");
    EXPECT_EQ(subfield(p.records[1], "260b"), "Zhongguo tu shu guan xue hui,");
}

TEST(IsoRecords, RandomBytesNeverCrashOrHang) {
    std::mt19937 rng(20240315);
    std::string good = readFixture("unimarc_sample.mrc") + readFixture("marc21_sample.mrc");
    const std::string alphabet = std::string("0123456789 \x1d\x1e\x1f") + "abc";
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = good.substr(0, rng() % (good.size() + 1));
        for (int flips = rng() % 8; flips > 0 && !bytes.empty(); --flips)
            bytes[rng() % bytes.size()] =
                round % 2 ? static_cast<char>(rng()) : alphabet[rng() % alphabet.size()];
        UnicodeMarcMode = round % 3 == 0;
        Parsed p = parseAll(bytes, round % 2 ? MarcEncoding::Gbk : MarcEncoding::Utf8);
        for (const auto& r : p.records) {
            MarcResetCursor();
            MarcGetData(r, "200a,245a,001");
            MarcIsoWrite(r, MarcEncoding::Gbk);
        }
        // The loaders' parser takes the same bytes as they come from the data rows.
        MarcRec loaded;
        MarcParse(loaded, UnicodeMarcMode ? gbkToUtf8(bytes) : bytes);
        EXPECT_EQ(loaded.FieldCount, static_cast<int>(loaded.Dir.size()));
        for (int i = 0; i < loaded.FieldCount; ++i)
            MarcFieldContent(loaded, i);
        MarcSortFields(loaded);
        MarcDeleteField(loaded, "200");
        EXPECT_LE(p.records.size() + p.problems.size(), bytes.size());
    }
    UnicodeMarcMode = false;
}

}  // namespace
