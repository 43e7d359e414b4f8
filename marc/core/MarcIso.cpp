// Splitting the stream finds each record by its length or its terminator; parsing then takes
// what the record's own numbers allow and repairs the rest the way a cataloguer would read it.
// When the file is GBK and the process holds GBK bytes, field bytes are copied as they are: no
// conversion, and bytes that GBK would not round-trip are kept.
#include "marc/core/MarcIso.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "db/Gbk.h"
#include "db/basLibDB.h"
#include "marc/core/MarcCharset.h"

namespace {

constexpr std::size_t kBlock = 1 << 20;
// Longer than any record can be: a stretch without a terminator this long is not a record.
constexpr std::size_t kLongestScan = 4 * 99999;
constexpr long kMaxRecord = 99999;
constexpr long kMaxField = 9999;

bool digitsAt(std::string_view s, std::size_t at, std::size_t n, long& value) {
    if (at + n > s.size()) return false;
    value = 0;
    for (std::size_t i = at; i < at + n; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        value = value * 10 + (s[i] - '0');
    }
    return true;
}

// Tag, field length in four digits and start in five, as the directory holds them.
void appendDirectoryEntry(std::string& out, const std::string& tag, long length, long start) {
    char entry[12];
    for (int i = 0; i < 3; ++i)
        entry[i] = i < static_cast<int>(tag.size()) ? tag[i] : ' ';
    for (int i = 6; i >= 3; --i, length /= 10)
        entry[i] = static_cast<char>('0' + length % 10);
    for (int i = 11; i >= 7; --i, start /= 10)
        entry[i] = static_cast<char>('0' + start % 10);
    out.append(entry, sizeof entry);
}

bool validTag(std::string_view tag) {
    return tag.size() == 3 &&
           std::all_of(tag.begin(), tag.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A tag as the user can read it: printable ASCII as it is, any other byte in hexadecimal.
std::string shownTag(std::string_view tag) {
    std::string out;
    for (unsigned char c : tag) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        }
    }
    return out;
}

std::string entryName(std::size_t entry) {
    return "第 " + std::to_string(entry + 1) + " 个目次项";
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
    if (name == "marc-8" || name == "marc8" || name == "MARC-8") {
        enc = MarcEncoding::Marc8;
        return true;
    }
    return false;
}

MarcIsoReader::MarcIsoReader(std::istream& in, MarcEncoding enc)
    : in_(&in), enc_(enc), recordEnc_(enc) {}

MarcIsoReader::MarcIsoReader(std::string_view file, MarcEncoding enc)
    : data_(file), enc_(enc), recordEnc_(enc) {}

MarcIsoReader::~MarcIsoReader() = default;

bool MarcIsoReader::more() {
    if (!in_ || !*in_) return false;
    own_.erase(0, pos_);
    consumed_ += pos_;
    pos_ = 0;
    std::size_t had = own_.size();
    own_.resize(had + kBlock);
    in_->read(own_.data() + had, static_cast<std::streamsize>(kBlock));
    own_.resize(had + static_cast<std::size_t>(in_->gcount()));
    data_ = own_;
    return own_.size() > had;
}

bool MarcIsoReader::ensure(std::size_t n) {
    while (available() < n)
        if (!more()) return false;
    return true;
}

// The bytes of the next record. A record whose length is right is cut by it; otherwise up to
// the next terminator, or, when a record that was cut short runs into the next one, up to
// where a record length reaches exactly that terminator.
std::string MarcIsoReader::nextRaw(bool& unreadable) {
    unreadable = false;
    long length = 0;
    if (ensure(5) && digitsAt(data_, pos_, 5, length) && length >= 26 &&
        ensure(static_cast<std::size_t>(length)) && data_[pos_ + length - 1] == kRecordEnd) {
        std::string raw(data_.substr(pos_, static_cast<std::size_t>(length)));
        pos_ += raw.size();
        return raw;
    }
    std::size_t end = std::string_view::npos;
    for (std::size_t from = pos_;;) {
        end = data_.find(kRecordEnd, from);
        if (end != std::string_view::npos || available() > kLongestScan) break;
        from = data_.size() - pos_;
        if (!more()) break;
        from += pos_;
    }
    if (end == std::string_view::npos && available() > kLongestScan) {
        unreadable = true;
        std::string raw(data_.substr(pos_, kLongestScan));
        pos_ += raw.size();
        return raw;
    }
    std::size_t size = end == std::string_view::npos ? available() : end + 1 - pos_;
    for (std::size_t p = 1; end != std::string_view::npos && p + 26 <= size; ++p) {
        if (digitsAt(data_, pos_ + p, 5, length) && p + static_cast<std::size_t>(length) == size) {
            size = p;
            break;
        }
    }
    std::string raw(data_.substr(pos_, size));
    pos_ += size;
    return raw;
}

MarcIsoReader::Result MarcIsoReader::next(MarcRec& rec, std::string& problem) {
    repairs_.clear();
    refused_ = 0;
    // Line breaks and blanks between records are common in hand-made files.
    for (;;) {
        while (pos_ < data_.size() &&
               (data_[pos_] == '\n' || data_[pos_] == '\r' || data_[pos_] == ' '))
            ++pos_;
        if (pos_ < data_.size() || !more()) break;
    }
    if (pos_ >= data_.size()) return Result::End;
    start_ = consumed_ + pos_;
    ++ordinal_;
    bool unreadable = false;
    std::string raw = nextRaw(unreadable);
    if (unreadable) {
        problem = "找不到记录结束符，无法读取";
        return Result::Skipped;
    }
    return take(std::move(raw), rec, problem) ? Result::Record : Result::Skipped;
}

bool MarcIsoReader::decodeField(std::string_view bytes, std::string& text, std::size_t entry) {
    switch (recordEnc_) {
        case MarcEncoding::Gbk:
            text = gbkToUtf8(bytes);
            return true;
        case MarcEncoding::Marc8:
            if (!marc8_) marc8_ = std::make_unique<Marc8Decoder>();
            if (!marc8_->decode(bytes, text))
                note(entryName(entry) + "的字段含非 MARC-8 字节，已略去");
            return true;
        default:
            if (isValidUtf8(bytes)) {
                text.assign(bytes);
            } else {
                text.clear();
                for (std::size_t p = 0; p < bytes.size();)
                    appendUtf8(text, nextCodePoint(bytes, p));
                note(entryName(entry) + "的字段含无效的 UTF-8 字节，已替换为 U+FFFD");
            }
            return true;
    }
}

bool MarcIsoReader::take(std::string raw, MarcRec& rec, std::string& problem) {
    if (raw.size() < 25) {
        problem = "记录过短，无法读取";
        return false;
    }
    long declared = 0;
    if (!digitsAt(raw, 0, 5, declared) || static_cast<std::size_t>(declared) != raw.size())
        note("头标记录长度与实际长度 " + std::to_string(raw.size()) + " 不符，按实际长度读取");
    bool crlf = false;
    for (std::size_t p = raw.find("\r\n"); p != std::string::npos; p = raw.find("\r\n", p + 2)) {
        raw.replace(p, 2, "  ");
        crlf = true;
    }
    if (crlf) note("记录中的回车换行已替换为两个空格");
    if (raw.back() == kRecordEnd)
        raw.pop_back();
    else
        note("缺少记录结束符");

    recordEnc_ = enc_;
    if (enc_ == MarcEncoding::ByLeader)
        recordEnc_ = raw[9] == 'a' ? MarcEncoding::Utf8 : MarcEncoding::Marc8;
    bool asBytes = keepBytes_ || (recordEnc_ == MarcEncoding::Gbk && !UnicodeMarcMode);

    long base = 0;
    bool baseRead = digitsAt(raw, 12, 5, base);
    if (!baseRead || base < 25 || static_cast<std::size_t>(base) > raw.size() ||
        raw[base - 1] != kFieldEnd) {
        std::size_t dirEnd = raw.find(kFieldEnd, 24);
        if (dirEnd == std::string::npos) {
            problem = "找不到目次区，无法读取";
            return false;
        }
        long found = static_cast<long>(dirEnd) + 1;
        note("数据基地址 " + raw.substr(12, 5) + " 不正确，按目次区结束位置读作 " +
             std::to_string(found));
        base = found;
    }
    long count = std::lround((base - 25) / 12.0);
    if ((base - 25) % 12 != 0) note("目次项数不是整数，取整为 " + std::to_string(count));
    count = std::min<long>(count, static_cast<long>((raw.size() - 24) / 12));
    std::string_view all(raw);
    std::string_view data = all.substr(static_cast<std::size_t>(base));

    std::string leader = raw.substr(0, 24);
    rec.Leader = recordEnc_ == MarcEncoding::Gbk && !keepBytes_ ? gbkToUtf8(leader) : leader;
    rec.Leader.resize(24, ' ');
    // Text converted from MARC-8 is Unicode from here on.
    if (recordEnc_ == MarcEncoding::Marc8 && !keepBytes_) rec.Leader[9] = 'a';
    rec.Dir.clear();
    rec.Data.clear();
    long at = 0;
    std::string text;
    for (long i = 0; i < count && i < 32767; ++i) {
        std::size_t entry = static_cast<std::size_t>(i);
        std::string_view e = all.substr(24 + entry * 12, 12);
        long length = 0, start = 0;
        if (!digitsAt(e, 3, 4, length) || !digitsAt(e, 7, 5, start)) {
            if (!digitsAt(e, 3, 4, length)) length = 0;
            if (!digitsAt(e, 7, 5, start)) start = 0;
            note(entryName(entry) + "的长度或起始位置不是数字，按 0 读取");
        }
        std::string_view tag = e.substr(0, 3);
        if (!validTag(tag)) {
            ++refused_;
            note(entryName(entry) + "（记录内位置 " + std::to_string(24 + entry * 12) +
                 "）的字段标识符“" + shownTag(tag) + "”不是三位数字，该字段未收");
            continue;
        }
        if (static_cast<std::size_t>(start) >= data.size() || length == 0) {
            ++refused_;
            note(entryName(entry) + "（字段 " + std::string(tag) + "）不在数据区内，该字段未收");
            continue;
        }
        std::string_view bytes =
            data.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
        if (bytes.size() < static_cast<std::size_t>(length))
            note(entryName(entry) + "（字段 " + std::string(tag) + "）超出数据区，已截断");
        if (!bytes.empty() && bytes.back() == kFieldEnd)
            bytes.remove_suffix(1);
        else
            note(entryName(entry) + "（字段 " + std::string(tag) + "）缺少字段结束符");
        long inMemory = 0;
        if (asBytes) {
            rec.Data.append(bytes);
            inMemory = static_cast<long>(bytes.size());
        } else {
            decodeField(bytes, text, entry);
            inMemory = static_cast<long>(MarcTextBytes(text));
            rec.Data += MarcTextToData(text);
        }
        rec.Data += kFieldEnd;
        rec.Dir.push_back({std::string(tag), static_cast<std::int32_t>(at),
                           static_cast<std::int32_t>(inMemory + 1)});
        at += inMemory + 1;
    }
    rec.Data += kRecordEnd;
    rec.FieldCount = static_cast<std::int16_t>(rec.Dir.size());
    MarcPackLeader(rec);
    return true;
}

std::string MarcIsoWrite(const MarcRec& rec, MarcEncoding enc, std::string* problem) {
    std::string directory, data;
    directory.reserve(rec.Dir.size() * 12);
    data.reserve(rec.Data.size());
    bool rawBytes = enc == MarcEncoding::AsHeld || (enc == MarcEncoding::Gbk && !UnicodeMarcMode);
    bool gbk = enc == MarcEncoding::Gbk;
    auto refuse = [&](const std::string& why) {
        if (problem) *problem = why;
        return std::string();
    };
    std::string_view held(rec.Data);
    std::string converted;
    for (std::size_t i = 0; i < rec.Dir.size(); ++i) {
        const MarcDirEntry& e = rec.Dir[i];
        std::string_view bytes;
        if (rawBytes) {
            // Held as bytes, the directory's offsets are offsets into Data.
            auto start = static_cast<std::size_t>(std::max(0, e.Start));
            bytes = start < held.size()
                        ? held.substr(start, static_cast<std::size_t>(std::max(0, e.Length)))
                        : std::string_view();
            if (!bytes.empty() && bytes.back() == kFieldEnd) bytes.remove_suffix(1);
        } else {
            int entry = static_cast<int>(i);
            converted =
                gbk ? utf8ToGbk(MarcFieldContent(rec, entry)) : MarcFieldContent(rec, entry);
            bytes = converted;
        }
        long length = static_cast<long>(bytes.size()) + 1;
        if (length > kMaxField)
            return refuse("字段 " + e.Tag + " 长 " + std::to_string(length) +
                          " 字节，超过 ISO 2709 允许的 9999 字节");
        appendDirectoryEntry(directory, e.Tag, length, static_cast<long>(data.size()));
        data.append(bytes);
        data += kFieldEnd;
    }
    std::string leader = gbk ? utf8ToGbk(rec.Leader) : rec.Leader;
    leader.resize(24, ' ');
    long base = 24 + static_cast<long>(directory.size()) + 1;
    long length = base + static_cast<long>(data.size()) + 1;
    if (length > kMaxRecord)
        return refuse("记录长 " + std::to_string(length) +
                      " 字节，超过 ISO 2709 允许的 99999 字节");
    leader.replace(0, 5, MarcFormat5(length));
    leader.replace(12, 5, MarcFormat5(base));
    std::string out;
    out.reserve(static_cast<std::size_t>(length));
    out += leader;
    out += directory;
    out += kFieldEnd;
    out += data;
    out += kRecordEnd;
    return out;
}
