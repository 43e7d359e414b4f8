// Issue prediction as a pure function: a configuration in, the expected issues out, no
// database. The frequency code is the one-letter code of publ_freq (a to o, u, y, z).
//
// Where the rules leave room, the literal reading is taken, everywhere the same way:
// - The count comes from the count rule alone; a slot that falls after the end date is still
//   an expected issue (a weekly year from a Saturday has 53 slots, the last in January).
// - A start day that pushes a slot past the month's end moves it into the next month (the
//   start day is added as days, 31 on 1 February gives 3 March).
// - A period that yields no issue (a biennial title for one year) predicts nothing.
// - A weekly or fortnightly period that begins on a Monday counts the Mondays after it, so the
//   begin date itself is the first slot and the count is one higher than the Mondays after it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "checkin/core/ChkTypes.h"

struct ChkPredictInput {
    char code = 'f';         // lower case
    std::string beginDate;   // "yyyy-mm-dd"
    std::string endDate;     // "yyyy-mm-dd"
    std::string chkBgnDate;  // the date of every issue of u, y and z
    int startDay = 1;        // 1 = on the slot itself
    int qtyOfYear = 0;       // the count of z
    int aslackDays = 0;
    int begVol = 0;              // V
    int begIssue = 0;            // S
    int perVol = 0;              // Q
    int volBegIssue = 0;         // F
    int begTotal = 0;            // T
    bool issueContinue = false;  // C
    bool roman = false;
};

// One of the eighteen codes.
bool chkIsFreqCode(char code);
// The start day is entered for codes a to o only.
bool chkStartDayEnabled(char code);
// The number of expected issues (the count rule); 0 when the dates cannot be read.
int chkIssueCount(const ChkPredictInput& in);
// The expected date of issue i ("yyyy-mm-dd"); empty when the dates cannot be read.
std::string chkExpectDate(const ChkPredictInput& in, int i);
// The first of the validation rules (subscription period, start day, numbering) that the
// input breaks, as the message the operator sees; empty when it passes all.
std::string chkValidate(const ChkPredictInput& in);
// Every expected issue, keyed from the largest peri_id in use (empty: none yet).
std::vector<ChkVolRow> chkPredict(const ChkPredictInput& in, const std::string& maxPeriId);

// Numbers as written on the cover with the Roman-numeral setting: one to three are the single
// characters U+2160..U+2162, seven and eight are "V" with them, tens, hundreds and thousands
// are written with X, L, C, D and M. 0 gives "".
std::string chkRoman(int n);
// The number a Roman numeral of that form (or plain ASCII) stands for; nullopt when it is none.
std::optional<int> chkRomanValue(const std::string& text);

// A "yyyy-mm-dd" date plus days; empty for a text that is no date.
std::string chkAddDays(const std::string& date, int days);
// True for a real date written "yyyy-mm-dd".
bool chkIsDate(const std::string& text);
