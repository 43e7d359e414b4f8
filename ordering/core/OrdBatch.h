// Batch ordering: records of the gift and exchange intake (prsn_exch_detl) become order details
// of one catalogue in one step, with the subscriber, fund source, copies and distribution given
// once. Each record is its own transaction; what fails is written to the day's batch log. Also
// the acquisitions settings file cf/cfCfg.ini.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ordering/core/basOrdList.h"

// Acquisition mode of a received record: gifts '07' domestic (country CN) and '06' foreign,
// exchanges '04' domestic and '05' foreign. exchType: '0' gift, '1' exchange.
std::string strBatchGetMode(const std::string& exchType, const std::string& countryCode);

struct BatchOrdRequest {
    std::string publ;                 // cmbPubl
    std::string year;                 // cmbYear / txtYear: the catalogue's year batch
    bool newCata = false;             // optMulu: create the catalogue
    std::string subscriber;           // cmbSubscriber
    std::string fundSrc;              // cmbFundSrc
    std::string counts;               // txtCounts
    bool checkIn = false;             // chkCheck
    std::vector<OrdDistLine> dists;   // spdDistLoca
    std::vector<std::string> docIds;  // the chosen intake records
};

struct BatchOrdResult {
    int ordered = 0;
    int failed = 0;  // records skipped or rolled back
    std::string logPath;
};

// The request's refusal, "" when it may run: the catalogue, the order data and the
// distribution lines, in the order the screen checks them.
std::string strBatchOrdRefusal(const BatchOrdRequest& r);
// Runs the batch: the checks (refused with their message, nothing written), a new catalogue in
// its own transaction, then one transaction per record; progress after each record. Ends with
// "批量订购完成！" or, when a record failed, "批量订购出现了错误，参考日志文件".
// 0 all ordered, 1 refused, -1 some record failed (see the log).
int intBatchOrder(const BatchOrdRequest& r, BatchOrdResult& result,
                  const std::function<void(int done, int total)>& progress = {});
// The day's batch log, "BatchOrder_yyyy-mm-dd.log" in the log directory.
std::string strBatchOrdLogPath();

// Intake records not yet ordered: doc_id, marc_rec_no, title, exch_type, obj_code,
// country_code, asord_no, publ_freq, money_code, peri_price, in_date, and the partner's kind
// (obj_type). 0, or -1 (g_ErrInfo).
int intGetBatchOrdRecords(LibArray& rows);
// Unsent catalogues of the distributor: their year batches. 0, or -1 (g_ErrInfo).
int intGetUnsentBatches(const std::string& publ, std::vector<std::string>& years);
// A subscriber's fund sources: fund_src_code, fund_src_name. 0, or -1 (g_ErrInfo).
int intGetSubscriberFunds(const std::string& location, LibArray& rows);
// The next intake document number: the greatest doc_id plus one, ten digits.
int intNextExchDocId(std::string& docId);

// cf/cfCfg.ini under the configuration directory. Each numbered list runs "000", "001", ...
// up to the first missing key; each value is split at its first ":".
struct AcqCfgItem {
    std::string code, name;
    bool operator==(const AcqCfgItem&) const = default;
};
struct AcqSettings {
    std::vector<AcqCfgItem> indexFields;  // INDEX FIELD: index group and caption
    std::vector<AcqCfgItem> fundTypes;    // FUND_TYPE: code and name
    std::vector<AcqCfgItem> findSame;     // FIND_SAME: MARC field and caption
    int marcInfoNum = 0;                  // MARCINFO_NUM 001: record lines shown
};
// Reads the file once per call; a missing file gives empty lists. 0, or -1 when unreadable.
int intLoadAcqSettings(AcqSettings& s);
std::string strAcqSettingsPath();
