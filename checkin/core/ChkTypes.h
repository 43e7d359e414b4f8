// Rows shared by check-in configuration, prediction and check-in: the check-in columns of an
// order line (m_peri_ord_detl), a location's configuration (m_peri_chk_cfg) and an expected
// issue (m_peri_chk_vol). Counts are numbers; an empty count is 0.
#pragma once

#include <string>

// The order key every check-in row carries.
struct ChkOrderKey {
    std::string publCode;
    std::string periOrdYear;
    std::string asordNo;
};

// The check-in columns of an order line, with what the configuration screen reads beside them.
struct ChkOrderLine {
    ChkOrderKey key;
    int fstReceDate = 0;  // start day within each slot period, 1 = the slot day itself
    int qtyOfYear = 0;
    std::string chkBgnDate;  // "yyyy-mm-dd"
    int daysOfItems = 0;
    std::string attachment;
    int qtyOfVol = 0;
    std::string aslackYsno;  // '1' claims wanted
    int daysOfAslack = 0;
    int aslackSecond = 0;
    int aslackThird = 0;
    int bindItemQty = 0;
    std::string bookSizeCode;
    std::string carrierCode;
    std::string marcRecNo;
    std::string code1;
    std::string publFreq;  // as the order side stores it: the frequency name
};

// The configuration of one order line at one receiving location.
struct ChkConfig {
    std::string location;
    std::string beginDate;  // subscription period, "yyyy-mm-dd"
    std::string endDate;
    std::string autoUpdateLoca;  // '1' / '0'
    int begVol = 0;
    int begIssue = 0;
    int begTotalIssue = 0;
    std::string bindYsno;
    int bindCopyQty = 0;
    int presCopyQty = 0;
    int exchCopyQty = 0;
    int issueKeepQty = 0;
    std::string color;
    std::string frame;
    std::string finishFlag;
    std::string issueContinue;  // '1': issue numbers run on across volumes
    int volBegIssue = 0;
};

// One expected issue as prediction writes it (finish_flag and peri_type are '0').
struct ChkVolRow {
    std::string periId;
    int periNo = 0;  // 1-based within the order line
    std::string coverVol;
    std::string coverIssue;
    std::string coverIssueTotal;
    std::string expectDate;
    std::string aslackDate;
    std::string publYear;
};
