// Order manager operations that rewrite or copy whole details: normalised order numbers, the
// title change copy (a copy under the number + ":A" with a copy of the title's catalogue
// record), and copying or moving details into another order catalogue. Each is one
// transaction; refusals and failures are shown once it has been rolled back.
#pragma once

#include <string>
#include <utility>
#include <vector>

// Recomputes the normalised order number of each named detail and writes it. `written` gets
// (order number, normalised number) of the details found. One transaction. 0, or -1 (error
// shown after the rollback).
int intStandardOrdNumbers(const std::string& publ, const std::string& year,
                          const std::vector<std::string>& asordNos,
                          std::vector<std::pair<std::string, std::string>>& written);

// The order number a title change copy gets: the number followed by ":A".
std::string strRenamedAsordNo(const std::string& asordNo);

// The copy a title change made.
struct OrdRenameResult {
    std::string asordNo;  // the number + ":A"
    std::string marcNo;   // the new catalogue record
};
// Title change copy of one detail: refused for a number that carries ":A" already, for a copy
// that exists, and for a detail without a catalogue record. Otherwise its record is saved as a
// new record (with its index rows), and the detail with its subscriber, fund and distribution
// lines is copied to the new number with the new record, not sent. The record number is drawn
// before the transaction (numbering commits on its own). 0, or -1 (message shown).
int intRenameOrdDetail(const std::string& publ, const std::string& year, const std::string& asordNo,
                       OrdRenameResult& result);

enum class OrdXferMode {
    Copy,  // the source details stay; a copy out of a sent catalogue becomes a renewal
    Move,  // the source details go; refused for details already sent
};
struct OrdXferResult {
    std::vector<std::string> copied;    // order numbers written into the target
    std::vector<std::string> existing;  // skipped: the target has them already
};
// Copies or moves the named details of one catalogue into another with all their lines. Numbers
// the target has already are skipped and listed ("下列征订号在该目录中已经存在："); the end is
// "成功将纪录移动到指定目录中！". Refused without a target ("请选择目的订购目录！"), for a
// target that does not exist or is the source, and for a move of a sent or checking-in detail.
// One transaction. 0, or -1 (message shown).
int intTransferOrdDetails(const std::string& publ, const std::string& year,
                          const std::vector<std::string>& asordNos, const std::string& toPubl,
                          const std::string& toYear, OrdXferMode mode, OrdXferResult& result);
// Copies every detail of one catalogue into another, as above.
int intMergeOrdCata(const std::string& publ, const std::string& year, const std::string& toPubl,
                    const std::string& toYear, OrdXferResult& result);
