// Reading, editing and serialising MarcRec. Every position here is a GBK byte position; the two
// helpers dataRange/dataSlice translate it into an offset of `Data` as the process holds it.
#include "marc/core/basBMFunc.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "db/Gbk.h"
#include "db/basLibDB.h"

MarcScanCursor g_MarcCursor;

namespace {

// Value of a run of digits, as a numeric directory field is read: anything else reads as 0.
long digitsValue(std::string_view s) {
    long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return 0;
        v = v * 10 + (c - '0');
    }
    return v;
}

// Where the GBK byte positions `from` <= `to` fall in a UTF-8 text: the offset of the first
// character at or past each, found in one pass.
std::pair<std::size_t, std::size_t> utf8Offsets(std::string_view text, std::size_t from,
                                                std::size_t to) {
    std::size_t off = 0, bytes = 0;
    auto runTo = [&](std::size_t pos) {
        while (off < text.size() && bytes < pos) {
            auto c = static_cast<unsigned char>(text[off]);
            if (c < 0x80) {
                ++off;
                ++bytes;
            } else {
                bytes += GbkCharBytes(nextCodePoint(text, off));
            }
        }
        return off;
    };
    std::size_t first = runTo(from);
    return {first, runTo(to)};
}

// Where the bytes [start, start+length) of `Data` lie in it as held.
std::pair<std::size_t, std::size_t> dataRange(const MarcRec& rec, long start, long length) {
    std::size_t from = static_cast<std::size_t>(std::max(0L, start));
    std::size_t to = static_cast<std::size_t>(std::max(0L, start + std::max(0L, length)));
    if (UnicodeMarcMode) return utf8Offsets(rec.Data, from, to);
    return {std::min(from, rec.Data.size()), std::min(to, rec.Data.size())};
}

// The bytes [start, start+length) of `Data`, as held.
std::string dataSlice(const MarcRec& rec, long start, long length) {
    auto [from, to] = dataRange(rec, start, length);
    return rec.Data.substr(from, to - from);
}

void setLeaderNumber(MarcRec& rec, std::size_t at, long n) {
    rec.Leader.resize(24, ' ');
    rec.Leader.replace(at, 5, MarcFormat5(n));
}

long leaderNumber(const MarcRec& rec, std::size_t at) {
    return at + 5 <= rec.Leader.size() ? digitsValue(rec.Leader.substr(at, 5)) : 0;
}

void adjustRecordLength(MarcRec& rec, long delta) {
    setLeaderNumber(rec, 0, leaderNumber(rec, 0) + delta);
    setLeaderNumber(rec, 12, 12L * rec.FieldCount + 25);
}

// Data rebuilt in directory order, each Start the running offset.
void rebuildData(MarcRec& rec) {
    std::string data;
    long at = 0;
    for (auto& e : rec.Dir) {
        std::string bytes = dataSlice(rec, e.Start, e.Length);
        e.Start = static_cast<std::int32_t>(at);
        at += e.Length;
        data += bytes;
    }
    rec.Data = data + kRecordEnd;
}

// Next field of `tag` from the cursor's field index, or -1 with the cursor past the end.
int seekField(const MarcRec& rec, const std::string& tag) {
    int n = std::min<int>(rec.FieldCount, static_cast<int>(rec.Dir.size()));
    for (; g_MarcCursor.Field < n; ++g_MarcCursor.Field)
        if (rec.Dir[g_MarcCursor.Field].Tag == tag) return g_MarcCursor.Field;
    return -1;
}

std::string trimBlanks(std::string_view s) {
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return "";
    std::size_t e = s.find_last_not_of(' ');
    return std::string(s.substr(b, e - b + 1));
}

}  // namespace

MarcFieldRec MakeMarcField(const std::string& tag, const std::string& ind,
                           const std::string& data) {
    return MarcFieldRec{tag, ind, data};
}

void MarcResetCursor() {
    g_MarcCursor = MarcScanCursor{};
}

int GbkCharBytes(char32_t cp) {
    if (cp < 0x80) return 1;
    // Every MARC length is counted character by character: the count of each character of
    // the basic plane is worked out once. Characters beyond it have no GBK form.
    static const std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> b(0x10000, 1);
        std::string one;
        for (char32_t c = 0x80; c < 0x10000; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF) continue;  // not characters
            one.clear();
            appendUtf8(one, c);
            b[c] = static_cast<std::uint8_t>(gbkLength(one));
        }
        return b;
    }();
    return cp < 0x10000 ? bytes[cp] : 1;
}

std::size_t Utf8OffsetOfAnsi(std::string_view text, std::size_t pos) {
    return utf8Offsets(text, pos, pos).first;
}

std::string MidAnsi(std::string_view text, long start, long length) {
    if (text.empty()) return "";
    std::size_t from = Utf8OffsetOfAnsi(text, start > 1 ? start - 1 : 0);
    if (length < 0) return std::string(text.substr(from));
    std::size_t to = Utf8OffsetOfAnsi(text, (start > 1 ? start - 1 : 0) + length);
    return std::string(text.substr(from, to - from));
}

std::string MarcDataToText(std::string_view data) {
    return UnicodeMarcMode ? std::string(data) : gbkToUtf8(data);
}

std::string MarcTextToData(std::string_view text) {
    return UnicodeMarcMode ? std::string(text) : utf8ToGbk(text);
}

std::size_t MarcTextBytes(std::string_view text) {
    return gbkLength(text);
}

std::string MarcFormat5(long n) {
    std::string s = std::to_string(std::max(0L, n) % 100000);
    return std::string(5 - s.size(), '0') + s;
}

int MarcTypeIndex(const MarcRec& rec) {
    switch (rec.MarcType.empty() ? ' ' : rec.MarcType[0]) {
        case 'U':
            return 1;
        case 'c':
            return 2;
        case 'u':
            return 3;
        default:
            return 0;
    }
}

std::string MarcFieldRaw(const MarcRec& rec, int entry) {
    if (entry < 0 || entry >= static_cast<int>(rec.Dir.size())) return "";
    const MarcDirEntry& e = rec.Dir[entry];
    std::string bytes = dataSlice(rec, e.Start, e.Length);
    if (!bytes.empty() && bytes.back() == kFieldEnd) bytes.pop_back();
    return bytes;
}

std::string MarcFieldContent(const MarcRec& rec, int entry) {
    return MarcDataToText(MarcFieldRaw(rec, entry));
}

std::string MarcFindField(const MarcRec& rec, const std::string& tag) {
    int i = seekField(rec, tag);
    return i < 0 ? "" : MarcFieldContent(rec, i);
}

std::string MarcNextField(const MarcRec& rec, const std::string& tag) {
    int i = seekField(rec, tag);
    if (i < 0) return "";
    ++g_MarcCursor.Field;
    return MarcFieldContent(rec, i);
}

std::string MarcGetSubField(std::string_view field, char code) {
    const char mark[2] = {kSubfieldMark, code};
    std::size_t p = field.find(std::string_view(mark, 2));
    if (p == std::string_view::npos) return "";
    std::size_t end = field.find(kSubfieldMark, p + 2);
    return std::string(field.substr(p + 2, end == std::string_view::npos ? end : end - p - 2));
}

std::string MarcNextSubField(std::string_view field, char code) {
    const char mark[2] = {kSubfieldMark, code};
    std::size_t from = g_MarcCursor.Sub > 1 ? static_cast<std::size_t>(g_MarcCursor.Sub - 1) : 0;
    if (from >= field.size()) return "";
    std::size_t p = field.find(std::string_view(mark, 2), from);
    if (p == std::string_view::npos) return "";
    std::size_t end = field.find(kSubfieldMark, p + 2);
    if (end == std::string_view::npos) end = field.size();
    g_MarcCursor.Sub = static_cast<int>(end) + 1;
    return std::string(field.substr(p + 2, end - p - 2));
}

std::string MarcGetSubFieldSeq(const MarcRec& rec, const std::string& ref) {
    std::string tag = ref.substr(0, 3);
    char code = ref.size() > 3 ? ref[3] : ' ';
    for (;;) {
        std::string field = MarcFindField(rec, tag);
        if (tag <= "009") {
            g_MarcCursor.Sub = 1;
            ++g_MarcCursor.Field;
            return field;
        }
        if (field.size() <= 2) {
            MarcResetCursor();
            return "";
        }
        std::string value = MarcNextSubField(std::string_view(field).substr(2), code);
        if (!value.empty()) return value;
        ++g_MarcCursor.Field;
        g_MarcCursor.Sub = 1;
    }
}

std::string MarcGetEmbedded(const MarcRec& rec, const std::string& ref) {
    if (ref.size() < 8) return "";
    std::string link = ref.substr(0, 3);
    std::string marker = std::string(1, kSubfieldMark) + ref.substr(3, 4);
    std::string embeddedTag = ref.substr(4, 3);
    const std::string nextEmbedded = std::string(1, kSubfieldMark) + "1";
    for (;;) {
        std::string field = MarcFindField(rec, link);
        if (field.size() <= 2) {
            MarcResetCursor();
            return "";
        }
        field.erase(0, 2);
        std::size_t from =
            g_MarcCursor.Sub > 1 ? static_cast<std::size_t>(g_MarcCursor.Sub - 1) : 0;
        std::size_t p = from < field.size() ? field.find(marker, from) : std::string::npos;
        std::string result;
        if (p != std::string::npos) {
            g_MarcCursor.Sub = static_cast<int>(p) + 2;
            std::size_t end = field.find(nextEmbedded, p + 5);
            std::string embedded =
                field.substr(p + 5, end == std::string::npos ? end : end - p - 5);
            result = embeddedTag == "001"
                         ? embedded
                         : MarcGetSubField(embedded.size() > 2 ? embedded.substr(2) : "", ref[7]);
        }
        if (!result.empty()) return result;
        ++g_MarcCursor.Field;
        g_MarcCursor.Sub = 1;
    }
}

std::string MarcFieldDisplay(std::string_view field) {
    if (field.empty()) return "";
    std::string out;
    std::string_view body = field.size() > 2 ? field.substr(2) : std::string_view();
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] == kSubfieldMark) {
            out += ' ';
            ++i;
        } else {
            out += body[i];
        }
    }
    return trimBlanks(out);
}

std::string MarcGetData(const MarcRec& rec, const std::string& refList) {
    std::size_t pos = 0;
    while (pos <= refList.size()) {
        std::size_t comma = refList.find(',', pos);
        std::string ref =
            trimBlanks(refList.substr(pos, comma == std::string::npos ? comma : comma - pos));
        pos = comma == std::string::npos ? refList.size() + 1 : comma + 1;
        if (ref.empty()) continue;
        MarcResetCursor();
        std::string value;
        if (ref.size() == 3)
            value = MarcFieldDisplay(MarcFindField(rec, ref));
        else if (ref.size() == 8 && ref.substr(0, 3) >= "400" && ref.substr(0, 3) <= "499" &&
                 rec.MarcType == "C")
            value = MarcGetEmbedded(rec, ref);
        else
            value = MarcGetSubFieldSeq(rec, ref);
        if (!value.empty()) return value;
    }
    return "";
}

std::string MarcToIso(const MarcRec& rec) {
    std::string out = rec.Leader;
    for (const auto& e : rec.Dir) {
        std::string len = MarcFormat5(e.Length).substr(1);
        out += e.Tag + len + MarcFormat5(e.Start);
    }
    out += kFieldEnd;
    out += MarcDataToText(rec.Data);
    return out;
}

bool IsPositionalTag(const std::string& tag) {
    if (trimBlanks(tag).empty()) return false;
    return tag == "HDR" || (tag < "009" && tag != "003");
}

void MarcAddField(MarcRec& rec, const MarcFieldRec& field) {
    std::string bytes = MarcTextToData(field.Ind + field.FieldData + kFieldEnd);
    long length = static_cast<long>(MarcTextBytes(field.Ind + field.FieldData)) + 1;
    if (rec.Data.empty() || rec.Data.back() != kRecordEnd) rec.Data += kRecordEnd;
    rec.Data.insert(rec.Data.size() - 1, bytes);
    MarcDirEntry e{field.Tag, 0, static_cast<std::int32_t>(length)};
    if (!rec.Dir.empty()) e.Start = rec.Dir.back().Start + rec.Dir.back().Length;
    rec.Dir.push_back(e);
    rec.FieldCount = static_cast<std::int16_t>(rec.Dir.size());
    adjustRecordLength(rec, length + 12);
}

void MarcSetSubField(MarcRec& rec, const std::string& ref, const std::string& value) {
    std::string tag = ref.substr(0, 3);
    char code = ref.size() > 3 ? ref[3] : ' ';
    auto it =
        std::find_if(rec.Dir.begin(), rec.Dir.end(), [&](const auto& e) { return e.Tag == tag; });
    if (it == rec.Dir.end()) {
        MarcAddField(rec, MakeMarcField(tag, "  ", std::string(1, kSubfieldMark) + code + value));
        return;
    }
    std::string content = MarcDataToText(dataSlice(rec, it->Start, it->Length));
    if (content.empty() || content.back() != kFieldEnd) content += kFieldEnd;
    const char mark[2] = {kSubfieldMark, code};
    std::size_t p = content.find(std::string_view(mark, 2));
    std::string updated;
    if (p != std::string::npos) {
        std::size_t next = content.find(kSubfieldMark, p + 2);
        updated = content.substr(0, p + 2) + value +
                  (next == std::string::npos ? std::string(1, kFieldEnd) : content.substr(next));
    } else {
        updated = content.substr(0, content.size() - 1) + kSubfieldMark + code + value + kFieldEnd;
    }
    auto [from, to] = dataRange(rec, it->Start, it->Length);
    rec.Data.replace(from, to - from, MarcTextToData(updated));
    long delta = static_cast<long>(MarcTextBytes(updated)) - it->Length;
    it->Length = static_cast<std::int32_t>(it->Length + delta);
    for (auto later = it + 1; later != rec.Dir.end(); ++later)
        later->Start = static_cast<std::int32_t>(later->Start + delta);
    adjustRecordLength(rec, delta);
}

void MarcDeleteField(MarcRec& rec, const std::string& tag) {
    for (std::size_t i = 0; i < rec.Dir.size();) {
        if (rec.Dir[i].Tag != tag) {
            ++i;
            continue;
        }
        MarcDirEntry gone = rec.Dir[i];
        auto [from, to] = dataRange(rec, gone.Start, gone.Length);
        rec.Data.erase(from, to - from);
        rec.Dir.erase(rec.Dir.begin() + static_cast<long>(i));
        for (std::size_t j = i; j < rec.Dir.size(); ++j)
            rec.Dir[j].Start -= gone.Length;
        rec.FieldCount = static_cast<std::int16_t>(rec.Dir.size());
        adjustRecordLength(rec, -(gone.Length + 12L));
    }
}

void MarcSortFields(MarcRec& rec) {
    std::stable_sort(rec.Dir.begin(), rec.Dir.end(),
                     [](const MarcDirEntry& a, const MarcDirEntry& b) { return a.Tag < b.Tag; });
    rebuildData(rec);
}

void MarcControlNoFirst(MarcRec& rec) {
    auto it =
        std::find_if(rec.Dir.begin(), rec.Dir.end(), [](const auto& e) { return e.Tag == "001"; });
    if (it == rec.Dir.begin() || it == rec.Dir.end()) return;
    std::rotate(rec.Dir.begin(), it, it + 1);
    rebuildData(rec);
}

void MarcParse(MarcRec& rec, std::string iso) {
    for (std::size_t p = iso.find("\r\n"); p != std::string::npos; p = iso.find("\r\n", p + 2))
        iso.replace(p, 2, "  ");
    rec.Dir.clear();
    rec.FieldCount = 0;
    rec.Data.clear();
    if (trimBlanks(iso).empty()) return;
    rec.Leader = UnicodeMarcMode ? MidAnsi(iso, 1, 24) : gbkToUtf8(iso.substr(0, 24));
    rec.Leader.resize(24, ' ');
    long base = digitsValue(rec.Leader.substr(12, 5));
    long count = std::lround((base - 25) / 12.0);
    std::string directory = UnicodeMarcMode
                                ? MidAnsi(iso, 25, std::max(0L, count) * 12)
                                : iso.substr(std::min<std::size_t>(24, iso.size()),
                                             static_cast<std::size_t>(std::max(0L, count)) * 12);
    count = std::clamp<long>(count, 0, static_cast<long>(directory.size() / 12));
    count = std::min<long>(count, 32767);
    rec.Data = UnicodeMarcMode
                   ? MidAnsi(iso, base + 1, -1)
                   : (static_cast<std::size_t>(base) < iso.size() ? iso.substr(base) : "");
    for (long i = 0; i < count; ++i) {
        std::string_view e(directory.data() + i * 12, 12);
        rec.Dir.push_back({std::string(e.substr(0, 3)),
                           static_cast<std::int32_t>(digitsValue(e.substr(7, 5))),
                           static_cast<std::int32_t>(digitsValue(e.substr(3, 4)))});
    }
    rec.FieldCount = static_cast<std::int16_t>(count);
}

void MarcPackLeader(MarcRec& rec) {
    long base = 12L * static_cast<long>(rec.Dir.size()) + 25;
    long dataBytes = UnicodeMarcMode ? static_cast<long>(gbkLength(rec.Data))
                                     : static_cast<long>(rec.Data.size());
    setLeaderNumber(rec, 12, base);
    setLeaderNumber(rec, 0, base + dataBytes);
}
