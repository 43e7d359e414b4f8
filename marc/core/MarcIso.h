// ISO 2709 files: splitting a file into records, checking each record's structure before it is
// taken, and writing records back in a file encoding. CNMARC files are GBK, MARC 21 files UTF-8;
// inside the file every length counts bytes of the file's encoding, in memory GBK bytes, so a
// record is re-measured on the way in and on the way out.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "marc/core/basBMFunc.h"

enum class MarcEncoding { Gbk, Utf8 };

// "gbk" / "utf-8" (also "utf8"); false for anything else.
bool MarcParseEncoding(const std::string& name, MarcEncoding& enc);

// Reads the records of a file held in memory, one at a time. A record whose structure is broken
// (lengths that are not digits or do not fit, a directory that points outside the data, a
// missing terminator, text not in the encoding) is reported and skipped; reading goes on with
// the next record. Never reads outside the buffer, which must outlive the reader.
class MarcIsoReader {
public:
    MarcIsoReader(std::string_view file, MarcEncoding enc) : file_(file), enc_(enc) {}

    enum class Result { Record, Skipped, End };
    // Record: `rec` holds the next record (leader, directory, data; header columns untouched).
    // Skipped: `problem` says why the record at `offset` was not taken.
    Result next(MarcRec& rec, std::string& problem);
    // Byte offset in the file of the record last returned or skipped, and its ordinal from 1.
    std::size_t offset() const { return start_; }
    std::size_t ordinal() const { return ordinal_; }

private:
    std::string check(std::string_view raw) const;
    bool take(std::string_view raw, MarcRec& rec, std::string& problem) const;

    std::string_view file_;
    MarcEncoding enc_;
    std::size_t pos_ = 0;
    std::size_t start_ = 0;
    std::size_t ordinal_ = 0;
};

// The record as an ISO 2709 record in the encoding: leader (record length and base address
// recomputed), directory measured in that encoding, data, record terminator.
std::string MarcIsoWrite(const MarcRec& rec, MarcEncoding enc);
