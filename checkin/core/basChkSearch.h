// Finding the order lines to check in: the search fields of the search-path settings file
// QKINDEX.INI, the order-line search with its year, language, acquisition-mode and carrier
// filters, and the reading of a scanned bar code (ISSN, or EAN-13 with its add-on).
#pragma once

#include <string>
#include <vector>

#include "db/LibArray.h"

// One entry of the search-field list. kind: "IDX" (catalogue index group), "LABEL",
// "ASORDNO", "PUBL".
struct ChkSearchField {
    std::string caption, kind, group;
};

// The entries of the section "期刊签到检索途径" of CFG/QKINDEX.INI, or of the built-in file
// when the program tree has none; entries of an unknown kind are left out.
std::vector<ChkSearchField> LoadChkSearchFields();
std::vector<ChkSearchField> ParseChkSearchFields(const std::string& iniText);
// The built-in QKINDEX.INI.
const std::string& DefaultQkIndexText();

struct ChkSearchQuery {
    ChkSearchField field;
    std::string text;
    // Year filter: empty for any year; a year ("2026") or a year batch; or a range.
    std::string year;
    bool yearRange = false;
    std::string yearFrom, yearTo;
    // "" any, "CHI" Chinese, "FOREIGN" every other language.
    std::string language;
    std::string getMode, carrier;
};

// Order lines found (not those still unsent): publ_code, peri_ord_year, asord_no, m_title,
// m_isbn, lang_code, get_mode_code, carrier_code, marc_rec_no. Refusals and "no row" are shown.
// 0 found, 1 refused or none found, -1 failed (shown).
int intChkSearch(const ChkSearchQuery& query, LibArray& rows);
// Subscription years of the order catalogues, newest first.
int intLoadOrdYears(std::vector<std::string>& years);

// A scanned code: the ISSN it carries and the issue number of its add-on ("" without one).
struct ScannedCode {
    std::string issn, addOn;
};
// An EAN-13 of a serial (977...) with an optional 2- or 5-digit add-on, or an ISSN typed or
// scanned as it is; nullopt-like empty issn for anything else.
ScannedCode ReadScannedCode(const std::string& code);
