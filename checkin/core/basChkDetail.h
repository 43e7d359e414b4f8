// Work on one expected issue and on checked-in copies: a claim for a single issue, first-read
// notices to priority readers, changing the check-in date, and the hand-over of copies from
// the check-in desk to their sub-location (and taking them back), with the hand-over list.
#pragma once

#include <string>
#include <vector>

// The label of an issue type (peri_type); "其他" for a value without one.
std::string strPeriTypeName(const std::string& code);

// Claims one issue at one location with the claim rules of the claim list; the quantity is the
// copies missing when `qty` is 0. Shows "不符合催缺条件，不能够催缺。", the database error, or
// "订购催缺通知发送成功。". 0 when recorded, else -1.
int intClaimOneIssue(const std::string& periId, const std::string& location, int qty,
                     const std::string& remark);

struct PrioReader {
    std::string code, name, email;
};
// The priority readers (prio_reader), by code. -1 with g_ErrInfo set.
int prioReaders(std::vector<PrioReader>& readers);
// Records a first-read notice of the issue for each reader in one transaction, then mails the
// readers who have an address when mail is set up. Shows "至少选择一个以上优先阅览者。", the
// database error, readers the mail did not reach, and "优先阅览通知发送成功。". 0 or -1.
int intSendFirstRead(const std::string& periId, const std::string& location,
                     const std::vector<std::string>& readerCodes);

// Moves the check-in date of the issue's copies at the location to `newDate` ("yyyy-mm-dd"),
// keeping their times. Refused ("不能修改该签收日期。") when a copy has left the check-in desk,
// when the date is not a date, or when it lies after today. 0 or -1.
int intModifyCheckDate(const std::string& periId, const std::string& location,
                       const std::string& newDate);

// One row of the hand-over list: the copies of one issue at one sub-location.
struct TransferRow {
    std::string periId, location, disLocation, connDate, chkDate, title, issn, publYear, cover,
        kindNo, label, periType, totalIssue, asordNo;
    int copies = 0;
};
// The copies checked in from `from` to the end of `to` (23:59:59 included): those still at the
// desk, or those handed over when `handedOver`; `location` narrows to one subscriber when not
// empty. Shows "EQK112" when the range is reversed and "EQK680" when nothing is found.
// 0 with rows, 1 when empty, -1 on failure (shown).
int intTransferList(const std::string& from, const std::string& to, const std::string& location,
                    bool handedOver, std::vector<TransferRow>& rows);

// Hands over `copies` copies of each row, highest copy numbers first, dated today, with the
// log and the workload counter, in one transaction. 0, or -1 after the rollback (not shown).
int transferHandOver(const std::vector<TransferRow>& rows, int copies);
// Takes back `copies` handed-over copies of each row, lowest copy numbers first. 0 or -1.
int transferTakeBack(const std::vector<TransferRow>& rows, int copies);
// The same with the messages of the hand-over screen ("I交接完成！", "I取回完成！").
int intHandOver(const std::vector<TransferRow>& rows, int copies);
int intTakeBack(const std::vector<TransferRow>& rows, int copies);
