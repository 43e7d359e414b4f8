// Reading checks the structure first and only then converts, so a broken record costs nothing
// but its report. When the file is GBK and the process holds GBK bytes, field bytes are copied
// as they are: no conversion, and bytes that GBK would not round-trip are kept.
#include "marc/core/MarcIso.h"

#include "db/Gbk.h"
#include "db/basLibDB.h"

namespace {

bool digitsAt(std::string_view s, std::size_t at, std::size_t n, long& value) {
    if (at + n > s.size()) return false;
    value = 0;
    for (std::size_t i = at; i < at + n; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        value = value * 10 + (s[i] - '0');
    }
    return true;
}

bool rawBytesInMemory(MarcEncoding enc) {
    return enc == MarcEncoding::Gbk && !UnicodeMarcMode;
}

std::string decode(std::string_view bytes, MarcEncoding enc) {
    return enc == MarcEncoding::Gbk ? gbkToUtf8(bytes) : std::string(bytes);
}

std::string encode(std::string_view text, MarcEncoding enc) {
    return enc == MarcEncoding::Gbk ? utf8ToGbk(text) : std::string(text);
}

std::string directoryEntry(const std::string& tag, long length, long start) {
    std::string t = tag;
    t.resize(3, ' ');
    return t + MarcFormat5(length).substr(1) + MarcFormat5(start);
}

}  // namespace

bool MarcParseEncoding(const std::string& name, MarcEncoding& enc) {
    if (name == "gbk" || name == "GBK") {
        enc = MarcEncoding::Gbk;
        return true;
    }
    if (name == "utf-8" || name == "utf8" || name == "UTF-8") {
        enc = MarcEncoding::Utf8;
        return true;
    }
    return false;
}

MarcIsoReader::Result MarcIsoReader::next(MarcRec& rec, std::string& problem) {
    // Line breaks and blanks between records are common in hand-made files.
    while (pos_ < file_.size() &&
           (file_[pos_] == '\n' || file_[pos_] == '\r' || file_[pos_] == ' '))
        ++pos_;
    if (pos_ >= file_.size()) return Result::End;
    start_ = pos_;
    ++ordinal_;
    std::string_view rest = file_.substr(pos_);
    long length = 0;
    std::string_view raw;
    if (digitsAt(rest, 0, 5, length) && length >= 26 &&
        static_cast<std::size_t>(length) <= rest.size() && rest[length - 1] == kRecordEnd) {
        raw = rest.substr(0, length);
    } else {
        std::size_t end = rest.find(kRecordEnd);
        raw = rest.substr(0, end == std::string_view::npos ? rest.size() : end + 1);
        // A truncated record runs into the next one: that one starts where a record length
        // reaches exactly this terminator, and is kept.
        for (std::size_t p = 1; end != std::string_view::npos && p + 26 <= end + 1; ++p) {
            if (digitsAt(rest, p, 5, length) && p + static_cast<std::size_t>(length) == end + 1) {
                raw = rest.substr(0, p);
                break;
            }
        }
        pos_ += raw.size();
        problem =
            end == std::string_view::npos ? "记录不完整：缺少记录结束符" : "记录长度与实际长度不符";
        return Result::Skipped;
    }
    pos_ += raw.size();
    problem = check(raw);
    if (!problem.empty()) return Result::Skipped;
    return take(raw, rec, problem) ? Result::Record : Result::Skipped;
}

std::string MarcIsoReader::check(std::string_view raw) const {
    long base = 0;
    if (!digitsAt(raw, 12, 5, base)) return "数据基地址不是数字";
    if (base < 25 || (base - 25) % 12 != 0 || static_cast<std::size_t>(base) > raw.size() - 1)
        return "数据基地址不正确";
    if (raw[base - 1] != kFieldEnd) return "目次区缺少字段结束符";
    long dataLength = static_cast<long>(raw.size()) - base - 1;
    for (long at = 24; at + 12 <= base - 1; at += 12) {
        long length = 0, start = 0;
        if (!digitsAt(raw, at + 3, 4, length) || !digitsAt(raw, at + 7, 5, start))
            return "目次项不是数字（第 " + std::to_string((at - 24) / 12 + 1) + " 项）";
        if (length < 1 || start + length > dataLength)
            return "目次项超出数据区（第 " + std::to_string((at - 24) / 12 + 1) + " 项）";
        if (raw[base + start + length - 1] != kFieldEnd)
            return "字段缺少结束符（第 " + std::to_string((at - 24) / 12 + 1) + " 项）";
    }
    if (enc_ == MarcEncoding::Utf8 && !isValidUtf8(raw)) return "记录不是有效的 UTF-8 文本";
    return "";
}

bool MarcIsoReader::take(std::string_view raw, MarcRec& rec, std::string& problem) const {
    long base = 0;
    digitsAt(raw, 12, 5, base);
    long count = (base - 25) / 12;
    if (count > 32767) {
        problem = "字段过多";
        return false;
    }
    rec.Leader = decode(raw.substr(0, 24), enc_);
    rec.Leader.resize(24, ' ');
    rec.Dir.clear();
    rec.Data.clear();
    bool rawBytes = rawBytesInMemory(enc_);
    long at = 0;
    for (long i = 0; i < count; ++i) {
        std::string_view e = raw.substr(24 + i * 12, 12);
        long length = 0, start = 0;
        digitsAt(e, 3, 4, length);
        digitsAt(e, 7, 5, start);
        std::string_view bytes = raw.substr(base + start, length);
        long inMemory = length;
        if (rawBytes) {
            rec.Data.append(bytes);
        } else {
            std::string text = decode(bytes, enc_);
            inMemory = static_cast<long>(MarcTextBytes(text));
            rec.Data += MarcTextToData(text);
        }
        rec.Dir.push_back({std::string(e.substr(0, 3)), static_cast<std::int32_t>(at),
                           static_cast<std::int32_t>(inMemory)});
        at += inMemory;
    }
    rec.Data += kRecordEnd;
    rec.FieldCount = static_cast<std::int16_t>(count);
    MarcPackLeader(rec);
    return true;
}

std::string MarcIsoWrite(const MarcRec& rec, MarcEncoding enc) {
    std::string directory, data;
    bool rawBytes = rawBytesInMemory(enc);
    for (std::size_t i = 0; i < rec.Dir.size(); ++i) {
        std::string bytes = rawBytes ? MarcFieldRaw(rec, static_cast<int>(i))
                                     : encode(MarcFieldContent(rec, static_cast<int>(i)), enc);
        bytes += kFieldEnd;
        directory += directoryEntry(rec.Dir[i].Tag, static_cast<long>(bytes.size()),
                                    static_cast<long>(data.size()));
        data += bytes;
    }
    std::string leader = encode(rec.Leader, enc);
    leader.resize(24, ' ');
    long base = 24 + static_cast<long>(directory.size()) + 1;
    leader.replace(0, 5, MarcFormat5(base + static_cast<long>(data.size()) + 1));
    leader.replace(12, 5, MarcFormat5(base));
    return leader + directory + kFieldEnd + data + kRecordEnd;
}
