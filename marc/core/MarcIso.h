// ISO 2709 files: reading records one at a time from a stream, taking each record as it parses
// (with a note of every repair), and writing records back in a file encoding. CNMARC files are
// GBK, MARC 21 files UTF-8 or MARC-8; inside the file every length counts bytes of the file's
// encoding, in memory GBK bytes, so a record is re-measured on the way in and on the way out.
#pragma once

#include <cstddef>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "marc/core/basBMFunc.h"

// ByLeader: MARC 21 as it marks itself, UTF-8 when leader position 9 is "a", MARC-8 otherwise.
// AsHeld (writing only): the field bytes exactly as a reader in keepBytes() mode took them.
enum class MarcEncoding { Gbk, Utf8, Marc8, ByLeader, AsHeld };

// "gbk", "utf-8" (also "utf8"), "marc-8" (also "marc8"); false for anything else.
bool MarcParseEncoding(const std::string& name, MarcEncoding& enc);

class Marc8Decoder;

// Reads the records of a file one at a time, holding about one record in memory. A record is
// taken as far as it parses: CR LF become two blanks, an off-grid base address is found from
// the directory's terminator, directory numbers that are not digits read as 0, fields that
// overrun the data are cut, and each repair is noted. A field whose tag is not three digits is
// refused and noted. Only a record that cannot be read at all (no directory) is skipped.
class MarcIsoReader {
public:
    MarcIsoReader(std::istream& in, MarcEncoding enc);
    // A file already in memory, which must outlive the reader.
    MarcIsoReader(std::string_view file, MarcEncoding enc);
    ~MarcIsoReader();

    // Fields keep the file's bytes, unconverted and unmeasured, for writing back with AsHeld
    // in the same encoding; the process must hold records as bytes (UnicodeMarcMode off).
    void keepBytes() { keepBytes_ = true; }

    enum class Result { Record, Skipped, End };
    // Record: `rec` holds the next record (leader, directory, data; header columns untouched).
    // Skipped: `problem` says why the record at `offset` could not be read.
    Result next(MarcRec& rec, std::string& problem);
    // For the record last returned: what was repaired, how many fields were refused.
    const std::vector<std::string>& repairs() const { return repairs_; }
    int refusedFields() const { return refused_; }
    // The encoding the record last returned was read in (ByLeader resolved).
    MarcEncoding recordEncoding() const { return recordEnc_; }
    // Byte offset in the file of the record last returned or skipped, and its ordinal from 1.
    std::size_t offset() const { return start_; }
    std::size_t ordinal() const { return ordinal_; }
    // Bytes of the file read so far.
    std::size_t bytesRead() const { return consumed_ + pos_; }

private:
    bool more();
    std::size_t available() const { return data_.size() - pos_; }
    bool ensure(std::size_t n);
    std::string nextRaw(bool& unreadable);
    bool take(std::string raw, MarcRec& rec, std::string& problem);
    bool decodeField(std::string_view bytes, std::string& text, std::size_t entry);
    void note(std::string text) { repairs_.push_back(std::move(text)); }

    std::istream* in_ = nullptr;
    std::string own_;        // what has been read of the stream and not yet taken
    std::string_view data_;  // own_, or the whole file given in memory
    std::size_t pos_ = 0;
    std::size_t consumed_ = 0;  // file offset of data_[0]
    MarcEncoding enc_;
    MarcEncoding recordEnc_;
    bool keepBytes_ = false;
    std::unique_ptr<Marc8Decoder> marc8_;
    std::vector<std::string> repairs_;
    int refused_ = 0;
    std::size_t start_ = 0;
    std::size_t ordinal_ = 0;
};

// The record as an ISO 2709 record in the encoding (Gbk, Utf8 or AsHeld): leader (record length
// and base address recomputed), directory measured in that encoding, data, record terminator.
// Empty when the record would not fit the format (over 99,999 bytes, or a field over 9,999);
// `problem` then says so.
std::string MarcIsoWrite(const MarcRec& rec, MarcEncoding enc, std::string* problem = nullptr);
