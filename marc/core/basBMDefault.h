// Records made from a short list of (tag+code, value) items, with the default fixed field and
// leader their format and document type call for; and the small identifier utilities used by
// storage, indexing and searching (publication year, numbers in text, ISBN forms, ISSN from an
// EAN-13 bar code).
#pragma once

#include <string>
#include <vector>

#include "marc/core/basBMFunc.h"

struct MarcItem {
    std::string Key;  // tag + subfield code, "200a"
    std::string Value;
};

// `rec` carries MarcType and DocTypeCode; on return its leader, directory and data hold the
// record. `today` is the server date "yyyy-mm-dd".
bool MarcBuildFromItems(const std::vector<MarcItem>& items, MarcRec& rec, const std::string& today);
// The default fixed-field line (tag + indicators + content), empty when none applies.
std::string MarcDefaultFixedLine(const MarcRec& rec, const std::string& today);
// The default leader with "00000" for record length and base address; empty when none applies.
std::string MarcDefaultLeader(const MarcRec& rec);

std::string YearDigits(const std::string& text);
double NumberFromText(const std::string& text);
std::string IsbnOtherForm(const std::string& isbn);
std::string EanToIssn(const std::string& code);
