// Loading an ISO 2709 file into the database, read record by record from a stream: each record
// saved as a new record (its own transaction, a new number and 001), each repair noted, each
// record that cannot be read reported with its position and skipped.
#pragma once

#include <functional>
#include <istream>
#include <string>

#include "marc/core/MarcIso.h"

enum class MarcFormat { Cnmarc, Usmarc };

// What a file of the format is read as unless told otherwise: GBK for CNMARC; for MARC 21 what
// each record's leader says (UTF-8 or MARC-8).
inline MarcEncoding MarcDefaultEncoding(MarcFormat format) {
    return format == MarcFormat::Usmarc ? MarcEncoding::ByLeader : MarcEncoding::Gbk;
}

struct MarcImportReport {
    int saved = 0;
    int skipped = 0;        // could not be read at all
    int failed = 0;         // read, but the database or the format refused it
    int repaired = 0;       // saved after a repair
    int refusedFields = 0;  // fields left out of saved records (bad tags, outside the data)
    std::size_t bytesRead = 0;
    double seconds = 0;    // since the import began
    bool stopped = false;  // the listener stopped it before the end of the file

    int records() const { return saved + skipped + failed; }
    // Records a second so far.
    long rate() const { return seconds > 0 ? static_cast<long>(records() / seconds) : 0; }
    // Every record of the file is in the database, whole.
    bool complete() const { return skipped == 0 && failed == 0 && refusedFields == 0 && !stopped; }
};

// The counts of an import as one line for the operator.
std::string MarcImportSummary(const MarcImportReport& r);

// Fills the header columns of a record read from a file: format, document type from the
// leader's bibliographic level, language and country from the coded fields.
void MarcFillHeader(MarcRec& rec, MarcFormat format);

struct MarcImportListener {
    // One line per repair, skipped or failed record.
    std::function<void(const std::string&)> notice;
    // The counts so far, now and then during the import.
    std::function<void(const MarcImportReport&)> progress;
    // Asked between records: true stops the import once the records read so far are saved,
    // each whole.
    std::function<bool()> stop;
};

// An import that saved at least this many records ends by bringing the planner's statistics of
// the catalogue tables up to date.
inline constexpr int kMarcAnalyzeAfter = 1000;

MarcImportReport MarcImportStream(std::istream& in, MarcFormat format, MarcEncoding enc,
                                  const MarcImportListener& listener);

// The demonstration records built into the program (cnmarc_*.mrc in GBK, usmarc_*.mrc in
// UTF-8), imported like any file; returns the report over all of them.
MarcImportReport MarcLoadDemoRecords(const std::function<void(const std::string&)>& notice);
