// Changing chosen fields of many order details of one catalogue at once: the same value for
// every detail, checked as a save checks it, written in one transaction that refuses when
// another workstation changed one of the details since they were read, or when a field that
// check-in depends on would change under a detail whose check-in has begun.
#pragma once

#include <string>
#include <vector>

#include "ordering/core/OrdDetail.h"

// A field multi-modify can change.
struct OrdMultiField {
    const char* key;      // the grid key
    const char* caption;  // as the detail pane names it
    const char* column;   // of m_peri_ord_detl
    std::string OrdDetail::*field;
    // The refusal of an empty value; null when the field may be emptied.
    const char* required;
    // The frequency, which check-in's expected issues follow: changed only where check-in has
    // not begun (intCheckInFreqRefusal).
    bool frozenByCheckIn;
};
const std::vector<OrdMultiField>& OrdMultiModifyFields();
// The field of a grid key; null for a key multi-modify does not change.
const OrdMultiField* OrdMultiModifyField(const std::string& key);

struct OrdFieldChange {
    std::string key;  // grid key
    std::string value;
};

// A detail as the list read it: its saved number and the row version read with it.
struct OrdMultiTarget {
    std::string asordNo;
    long long version = 0;
};

// The messages of a change list before anything is written: unknown or repeated fields, empty
// required values, states and codes that do not exist. Empty when the changes may be written.
struct OrdCodeTables;
std::vector<std::string> OrdMultiModifyErrors(const std::vector<OrdFieldChange>& changes,
                                              const OrdCodeTables& tables);

// Sets the changed fields of every target detail of the catalogue in one transaction, each
// detail's row version counted up. Messages are shown after the rollback. 0 written (`changed`
// details), 1 nothing chosen, -1 refused or failed (nothing written).
int intOrdMultiModify(const std::string& publ, const std::string& year,
                      const std::vector<OrdMultiTarget>& targets,
                      const std::vector<OrdFieldChange>& changes, int& changed);
