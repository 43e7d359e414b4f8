// The checks an order detail's values pass before any save, shared by the order list and the
// order file import: numbers (full-width digits typed through a Chinese input method count as
// digits; signs, separators, zero counts and values beyond their column are refused with the
// field named) and codes (each must exist in its code table).
#pragma once

#include <set>
#include <string>
#include <vector>

#include "ordering/core/OrdDetail.h"

// The typed text with full-width digits, point and minus made ASCII and blanks around it
// dropped; anything else is left for the check to refuse.
std::string strOrdNumberText(const std::string& typed);
// Every number field of the detail and its lines in that form.
void NormalizeOrdNumbers(OrdDetail& d);

// The largest number of copies a line may carry.
constexpr long long kOrdMaxCopies = 9999;
// "" when `text` is a whole number of copies from 1 to kOrdMaxCopies, else " <field>…！".
std::string strOrdCopiesError(const std::string& text, const std::string& field);
// "" when `text` is empty or an amount the price columns hold (not negative, at most two
// decimals, below 10^10), else " <field>…！".
std::string strOrdAmountError(const std::string& text, const std::string& field);
// The messages of the detail's own number fields (unit and annual prices, foreign prices).
std::vector<std::string> OrdPriceErrors(const OrdDetail& d);

// The codes an order detail may carry, read once for a whole import.
struct OrdCodeTables {
    std::set<std::string> publishers, locations, getModes, carriers, currencies, funds, freqNames;
};
// 0, or -1 with the failure in g_ErrInfo.
int intLoadOrdCodeTables(OrdCodeTables& t);
// One message per code of the detail and its lines that its table does not hold.
std::vector<std::string> OrdCodeErrors(const OrdDetail& d, const OrdCodeTables& t);
