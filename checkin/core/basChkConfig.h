// Check-in configuration of one order line at one receiving location: loading what the
// configuration screen shows, its checks, and the save that predicts the expected issues.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "checkin/core/ChkTypes.h"
#include "checkin/core/basChkPredict.h"

// The Roman-numeral setting of the last confirmation; it holds until the program ends.
extern bool QK_bolLuoMa;

// The one link between the two forms of a frequency: the order side stores the name of the
// publ_freq code table, prediction works on the one-letter code. A stored one-letter code is
// taken as it is. '\0' when the text names no frequency.
char chkFreqCode(const std::string& publFreq);
// The name of a code ("" when unknown).
std::string chkFreqName(char code);

// Everything the configuration screen shows and confirms.
struct ChkConfigForm {
    ChkOrderLine line;
    ChkConfig cfg;
    bool cfgExists = false;
    char freqCode = '\0';
    int locationCopies = 0;  // sub_peri_qty of the location
    std::string title;
    bool roman = false;
};

// Reads the order line, its title, the location's copies and the configuration row. A missing
// check-in begin date defaults to the subscription year's 1 January, a missing configuration
// to the subscription year, with every copy of the location set aside for binding.
// 0; 1 when there is no such order line; -1 with the failure in g_ErrInfo.
int intLoadChkConfig(const ChkOrderKey& key, const std::string& location, ChkConfigForm& form);

// The values offered in the screen's drop-downs.
struct ChkConfigChoices {
    std::vector<std::string> attachments;
    std::vector<std::pair<std::string, std::string>> bookSizes;  // code, name
    std::vector<std::string> colors;
    std::vector<std::string> frames;
};
// 0, or -1 with the failure in g_ErrInfo.
int intLoadChkConfigChoices(ChkConfigChoices& choices);

// The prediction's input as the form gives it.
ChkPredictInput chkPredictInput(const ChkConfigForm& form);
// The first check the form fails, as the message shown; empty when it passes them all.
std::string chkConfigError(const ChkConfigForm& form);

// Checks, then in one transaction: the order line's check-in columns, the configuration row,
// the expected issues (predicted once; later confirmations rewrite only the accompanying
// material and the claim dates) and the operation log. 0 when saved; -1 when refused (the
// message was shown) or failed (the database error was shown after the rollback).
int intSaveChkConfig(const ChkConfigForm& form);

// Inserts predicted issues of the order line ('0' for finish_flag and peri_type), many rows a
// statement, and the copies they owe, inside the caller's transaction. 0, or -1 at the first
// failing statement.
int chkInsertIssues(const ChkOrderKey& key, const std::string& carrierCode,
                    const std::string& attachment, const std::vector<ChkVolRow>& rows);

// The caption of the configuration screen, also the title of its messages.
inline constexpr const char* kChkConfigCaption = "签收配置";
