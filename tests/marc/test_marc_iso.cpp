// ISO 2709 files: byte-for-byte round trips of files made by an independent MARC tool, records
// re-measured between file encodings and memory, and broken input that must be reported and
// skipped without crashing, hanging or losing the good records around it.
//
// The fixtures in data/ were written by yaz-marcdump from the line-format files beside them:
// "yaz-marcdump -i line -o marc marc21_sample.txt" and, for the GBK one,
// "yaz-marcdump -i line -o marc -f UTF-8 -t GBK unimarc_sample.txt".
#include <gtest/gtest.h>

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
    std::vector<std::string> problems;
};

Parsed parseAll(const std::string& bytes, MarcEncoding enc) {
    Parsed p;
    MarcIsoReader reader(bytes, enc);
    MarcRec rec;
    std::string problem;
    for (auto r = reader.next(rec, problem); r != MarcIsoReader::Result::End;
         r = reader.next(rec, problem)) {
        if (r == MarcIsoReader::Result::Record)
            p.records.push_back(rec);
        else
            p.problems.push_back(problem);
    }
    return p;
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

// A good record of the fixture, broken in one way.
struct Damage {
    const char* name;
    std::function<void(std::string&)> apply;
};

class IsoDamage : public ::testing::TestWithParam<Damage> {};

TEST_P(IsoDamage, BrokenRecordIsSkippedAndItsNeighboursKept) {
    std::string good = readFixture("unimarc_sample.mrc");
    Parsed clean = parseAll(good, MarcEncoding::Gbk);
    ASSERT_EQ(clean.records.size(), 2u);
    std::string first = MarcIsoWrite(clean.records[0], MarcEncoding::Gbk);
    std::string second = MarcIsoWrite(clean.records[1], MarcEncoding::Gbk);
    std::string broken = first;
    GetParam().apply(broken);
    Parsed p = parseAll(second + broken + second, MarcEncoding::Gbk);
    EXPECT_EQ(p.problems.size(), 1u);
    ASSERT_EQ(p.records.size(), 2u);
    EXPECT_EQ(MarcIsoWrite(p.records[0], MarcEncoding::Gbk), second);
    EXPECT_EQ(MarcIsoWrite(p.records[1], MarcEncoding::Gbk), second);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, IsoDamage,
    ::testing::Values(Damage{"LengthNotDigits", [](std::string& r) { r[2] = 'x'; }},
                      Damage{"LengthTooLong", [](std::string& r) { r.replace(0, 5, "00999"); }},
                      Damage{"BaseNotDigits", [](std::string& r) { r[14] = '?'; }},
                      Damage{"BaseOffGrid", [](std::string& r) { r.replace(12, 5, "00100"); }},
                      Damage{"DirectoryDigit", [](std::string& r) { r[24 + 12 + 4] = 'Z'; }},
                      Damage{"EntryPastData", [](std::string& r) { r.replace(24 + 3, 4, "9999"); }},
                      Damage{"FieldTerminatorLost",
                             [](std::string& r) {
                                 auto p = r.find(kFieldEnd, r.find(kFieldEnd) + 1);
                                 r[p] = 'X';
                             }},
                      Damage{"RecordTerminatorLost", [](std::string& r) { r.back() = ' '; }},
                      Damage{"Truncated", [](std::string& r) { r.resize(r.size() / 2); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IsoRecords, TruncatedFileReportsTheLastRecord) {
    std::string bytes = readFixture("marc21_sample.mrc");
    for (std::size_t cut : {std::size_t{3}, std::size_t{30}, bytes.size() / 2, bytes.size() - 1}) {
        Parsed p = parseAll(bytes.substr(0, cut), MarcEncoding::Utf8);
        EXPECT_EQ(p.problems.size(), 1u) << cut;
        EXPECT_LE(p.records.size(), 1u);
    }
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
