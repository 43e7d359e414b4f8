// Sending order details to the distributor and taking a send back, with the check-in
// configuration rows a send prepares for each subscriber that checks issues in, and the
// check-in progress of sent details.
//
// The configuration rows belong to check-in, which sits above ordering; a send writes them here
// with plain SQL on their table, so that the whole send stays one ordering transaction.
#pragma once

#include <string>
#include <vector>

// What a send or a cancelled send changed: the order numbers whose state moved, and the
// catalogue's send state afterwards.
struct OrdSendResult {
    std::vector<std::string> changed;
    bool catalogueSent = false;
};

// Sends the catalogue's details named by order number (those not sent yet; the others are
// skipped) after "Q是否确认发订选择订购明细" unless `ask` is false. Each takes the check-in
// settings of the latest earlier sent batch of its order number, or the first-time values
// (check-in from 1 January of the batch year, claims wanted), and gets one configuration row per
// subscriber that checks in. One transaction. 0 done, 1 not confirmed, -1 failed (error shown
// after the rollback).
int intSendOrdDetails(const std::string& publ, const std::string& year,
                      const std::vector<std::string>& asordNos, OrdSendResult& result,
                      bool ask = true);

// Takes the send of the named details back (those sent and not checking in yet) after
// "Q是否确认取消发订选择订购明细" unless `ask` is false: their configuration rows go, and the
// catalogue returns to not sent when no detail of it is sent any more. One transaction.
// 0 done, 1 not confirmed, -1 failed (error shown after the rollback).
int intUnsendOrdDetails(const std::string& publ, const std::string& year,
                        const std::vector<std::string>& asordNos, OrdSendResult& result,
                        bool ask = true);

// Check-in progress of one sent detail: issues expected and issues whose copies all arrived.
struct OrdChkProgress {
    std::string asordNo;
    int ordered = 0;
    int checkedIn = 0;
};
// The progress of the named details that are sent, by order number, in one query.
// 0, or -1 with the failure in g_ErrInfo.
int intGetOrdChkProgress(const std::string& publ, const std::string& year,
                         const std::vector<std::string>& asordNos,
                         std::vector<OrdChkProgress>& out);
// "开始签收，未完成（已订n期，已签m期）".
std::string strOrdChkProgress(const OrdChkProgress& p);

// The check-in begin date a renewal takes over: the earlier batch's month and day in the year
// of `year` (a year batch); 1 January when the earlier date is not a date.
std::string strCarriedChkBgnDate(const std::string& earlier, const std::string& year);
