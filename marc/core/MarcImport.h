// Loading an ISO 2709 file into the database: each good record saved as a new record (its own
// transaction, a new number and 001), each broken one reported with its position and skipped.
#pragma once

#include <functional>
#include <string>

#include "marc/core/MarcIso.h"

enum class MarcFormat { Cnmarc, Usmarc };

struct MarcImportReport {
    int saved = 0;
    int skipped = 0;
    int failed = 0;  // parsed but the database refused it
};

// Fills the header columns of a record read from a file: format, document type from the
// leader's bibliographic level, language and country from the coded fields.
void MarcFillHeader(MarcRec& rec, MarcFormat format);

// `notice` hears one line per skipped or failed record and a progress line now and then.
MarcImportReport MarcImportFile(const std::string& bytes, MarcFormat format, MarcEncoding enc,
                                const std::function<void(const std::string&)>& notice);

// The demonstration records built into the program (cnmarc_*.mrc in GBK, usmarc_*.mrc in
// UTF-8), imported like any file; returns the report over all of them.
MarcImportReport MarcLoadDemoRecords(const std::function<void(const std::string&)>& notice);
