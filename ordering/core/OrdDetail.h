// An order detail as the ordering screens, the order file and serialsctl hold it: named fields
// for what the order list edits and shows, the check-in columns a save must carry over, and the
// subscribers with their fund and distribution lines. Values stay as typed text until the
// validation parses them; codes are codes, the grids show their names.
#pragma once

#include <string>
#include <vector>

struct OrdFundLine {
    std::string fundSrc;  // fund_src_code
    std::string qty;      // sub_qty
    std::string amount;   // sub_amt
    std::string remark;
    bool operator==(const OrdFundLine&) const = default;
};

struct OrdDistLine {
    std::string distLoca;
    std::string qty;  // dist_qty
    std::string label;
    bool operator==(const OrdDistLine&) const = default;
};

struct OrdSubscriber {
    std::string location;
    std::string chkFlag;  // chk_stat: "1" checks issues in
    std::string count;    // sub_peri_qty
    std::string region;   // peri_region
    std::string remark;
    std::vector<OrdFundLine> funds;
    std::vector<OrdDistLine> dists;
    bool operator==(const OrdSubscriber&) const = default;
};

// Columns of a saved detail that the order list does not edit (set by sending and check-in).
struct OrdKeptColumns {
    std::string bookSize, daysOfItems, payDate, qtyOfVol, daysOfAslack, bindItemQty, chkBgnDate,
        fstReceDate, qtyOfYear, attachment, aslackYsno, aslackSecond, aslackThird;
    bool operator==(const OrdKeptColumns&) const = default;
};

// A catalogue record to be made for a detail that has none: its format and what the librarian
// typed for it. Codes are those of the code tables (language chi, country CN).
struct OrdNewMarc {
    std::string marcType;  // "C" CNMARC, "U" USMARC; empty: no record to make
    std::string title, issn, publisher, place, language, country;
    bool operator==(const OrdNewMarc&) const = default;
};

enum class RowState { Unchanged, New, Modified };

struct OrdDetail {
    std::string pub;      // publ_code
    std::string ordYear;  // peri_ord_year: year and batch
    std::string asordNo;
    std::string periType;  // peri_type 0-3; empty on a new detail until the operator chooses
    std::string status;    // ord_flag: 0 not sent, 1 sent, 2 checking in
    std::string title, issn, publisher, pubYear, country, language;  // of the catalogue record
    std::string endFlag;                                             // end_ord_flag: "1" finished
    std::string marcNo;
    std::string newFlag;   // new_ord_flag: 0 new title, 1 renewal
    std::string fAsordNo;  // the normalised order number
    std::string key;       // grid and tree key (strOrdRowKey)
    std::string getMode, carrier, moneyType;
    std::string publFreq;   // the frequency's name
    std::string sumCopies;  // peri_ord_qty as loaded or saved; sumCount() adds up the subscribers
    std::string kindNo;
    std::string price, totalPrice, forePrice, foreTotalPrice;
    std::string remark;

    OrdKeptColumns kept;
    std::vector<OrdSubscriber> subs;
    RowState state = RowState::New;
    // The order number as saved (empty for a detail never saved).
    std::string savedAsordNo;
    // The row version read with the detail: a save refuses when another workstation moved it.
    long long version = 0;
    // Taken over from a pre-order catalogue and not saved yet.
    bool temporary = false;
    // The pre-order record a temporary detail's catalogue record is copied from at its save.
    std::string asordMarcRecNo;
    // The record an unsaved detail without one gets at its save, in the save's transaction.
    OrdNewMarc newMarc;

    // Sum of the subscribers' copies, as text.
    std::string sumCount() const;
};
