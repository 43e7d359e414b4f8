// Batch ordering reads everything it needs first (the records in one query, the catalogue's
// order numbers in another), then writes record by record, each in its own transaction, so
// that one bad record costs only itself.
#include "ordering/core/OrdBatch.h"

#include <cstdio>
#include <map>
#include <set>

#include "common/IniFile.h"
#include "common/OperatorState.h"
#include "common/basQKEnv.h"
#include "db/DbTransaction.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/OrdRunLog.h"
#include "ordering/core/basOrdFunc.h"

namespace {

int selectRows(const std::string& sql, LibArray& rows) {
    g_strSQL = sql;
    return LIB_DB_Select(g_strSQL, rows);
}

std::string args(std::initializer_list<std::string> values) {
    std::string out;
    for (const std::string& v : values)
        out += (out.empty() ? "" : ",") + LIB_SqlStr(v);
    return out;
}

int callProc(const std::string& call) {
    g_strSQL = call;
    return LIB_DB_CallProc(g_strSQL);
}

bool positiveCount(const std::string& text) {
    const std::string t = sqltext::trim(text);
    return !t.empty() && t.size() <= 6 && t.find_first_not_of("0123456789") == std::string::npos &&
           std::stol(t) > 0;
}

// One intake record as the order detail takes it.
struct IntakeRecord {
    std::string docId, marcNo, exchType, country, asordNo, freq, money, price;
};

// The record's order number: the intake's own, else its document number.
std::string orderNumber(const IntakeRecord& rec) {
    const std::string no = sqltext::trim(rec.asordNo);
    return no.empty() ? rec.docId : no;
}

// The writes of one record inside the caller's transaction; `stage` names the failing step.
int writeRecord(const BatchOrdRequest& r, const IntakeRecord& rec, std::string& stage) {
    const std::string no = orderNumber(rec);
    const std::string total = strAnnualPrice(rec.price, rec.freq, r.year);
    stage = "插入订购明细：";
    if (callProc("insert_m_peri_ord_detl " + args({r.publ,
                                                   r.year,
                                                   no,
                                                   "",
                                                   strBatchGetMode(rec.exchType, rec.country),
                                                   rec.marcNo,
                                                   "",
                                                   rec.money,
                                                   "0",
                                                   rec.price,
                                                   total,
                                                   "",
                                                   "",
                                                   r.counts,
                                                   "",
                                                   g_strWkrNo,
                                                   "0",
                                                   "0",
                                                   "",
                                                   rec.freq,
                                                   "",
                                                   "0",
                                                   "0",
                                                   "0",
                                                   "",
                                                   "",
                                                   "0",
                                                   strFormatAsordNo(no)})) < 0)
        return -1;
    stage = "插入订户错误：";
    if (callProc("insert_m_sub_ord_lst " + args({r.publ, r.year, no, r.subscriber, "", r.counts,
                                                 r.checkIn ? "1" : "0", ""})) < 0)
        return -1;
    stage = "插入经费使用表：";
    const long long copies = std::stoll(sqltext::trim(r.counts));
    if (callProc("insert_m_peri_sub_fund_out " +
                 args({r.publ, r.year, no, r.subscriber, r.fundSrc, r.counts,
                       strDecimalTimes(total, copies), ""})) < 0)
        return -1;
    stage = "插入分配地：";
    if (r.checkIn)
        for (const OrdDistLine& d : r.dists)
            if (callProc("insert_m_peri_ord_dist_lst " +
                         args({r.publ, r.year, no, r.subscriber, d.distLoca, d.qty, d.label})) < 0)
                return -1;
    stage = "更新赠送交换记录：";
    g_strSQL = " update prsn_exch_detl set trans_flag='1' where doc_id=" + LIB_SqlStr(rec.docId);
    return LIB_DB_Execute(g_strSQL);
}

}  // namespace

std::string strBatchGetMode(const std::string& exchType, const std::string& countryCode) {
    const bool domestic = sqltext::trim(countryCode) == "CN";
    if (exchType == "1") return domestic ? "04" : "05";
    return domestic ? "07" : "06";
}

std::string strBatchOrdRefusal(const BatchOrdRequest& r) {
    if (sqltext::trim(r.year).empty() || r.publ.empty()) return "E请输入订购目录名称！";
    if (!IsValidOrdYear(r.year)) return "E请输入订购目录名称！";
    if (r.subscriber.empty() || r.fundSrc.empty() || !positiveCount(r.counts))
        return "E请输入完整的订购信息！";
    std::set<std::string> seen;
    for (const OrdDistLine& d : r.dists) {
        if (!seen.insert(d.distLoca).second) return "E分配地重复！";
        if (!positiveCount(d.qty)) return "E分配数不能为0！";
    }
    if (r.checkIn && r.dists.empty()) return "E选择分配地！";
    return "";
}

std::string strBatchOrdLogPath() {
    return g_strPath[4] + "BatchOrder_" + OrdRunLog::stamp().substr(0, 10) + ".log";
}

int intBatchOrder(const BatchOrdRequest& r, BatchOrdResult& result,
                  const std::function<void(int, int)>& progress) {
    result = {};
    result.logPath = strBatchOrdLogPath();
    if (std::string refusal = strBatchOrdRefusal(r); !refusal.empty()) {
        LIB_ShowMsg(refusal);
        return 1;
    }
    const std::string cata =
        " WHERE publ_code=" + LIB_SqlStr(r.publ) + " AND peri_ord_year=" + LIB_SqlStr(r.year);
    LibArray rows;
    if (selectRows("SELECT count(*) FROM m_peri_ord_lst" + cata, rows) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    const bool exists = rows(0, 2).integer() > 0;
    if (!r.newCata && !exists) {
        LIB_ShowMsg("E没有订购目录，请新建一个！");
        return 1;
    }
    if (r.newCata && !exists && intNewOrdCata(r.publ, r.year) < 0) return -1;

    std::set<std::string> present;
    if (selectRows("SELECT asord_no FROM m_peri_ord_detl" + cata, rows) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    for (int i = 2; i < rows.rows(); ++i)
        present.insert(rows(0, i).str());
    std::string ids;
    for (const std::string& id : r.docIds)
        ids += (ids.empty() ? "" : ",") + LIB_SqlStr(id);
    std::map<std::string, IntakeRecord> records;
    if (!ids.empty()) {
        if (selectRows("SELECT doc_id, marc_rec_no, exch_type, country_code, asord_no, publ_freq, "
                       "money_code, peri_price FROM prsn_exch_detl WHERE doc_id IN (" +
                           ids + ")",
                       rows) < 0) {
            LIB_DB_ShowError();
            return -1;
        }
        for (int i = 2; i < rows.rows(); ++i)
            records[rows(0, i).str()] = {rows(0, i).str(), rows(1, i).str(), rows(2, i).str(),
                                         rows(3, i).str(), rows(4, i).str(), rows(5, i).str(),
                                         rows(6, i).str(), rows(7, i).str()};
    }

    OrdRunLog log(result.logPath, OrdRunLog::Mode::Append);
    const int total = static_cast<int>(r.docIds.size());
    for (int i = 0; i < total; ++i) {
        const std::string& id = r.docIds[static_cast<std::size_t>(i)];
        auto it = records.find(id);
        if (it == records.end() || it->second.marcNo.empty()) {
            log.line(id + " 不能转入！");
            ++result.failed;
        } else if (const std::string no = orderNumber(it->second); present.count(no)) {
            log.line("批量订购 征订号：【" + no + "】 已经存在，不能订购");
            ++result.failed;
        } else {
            // Names the step that failed in the log line; the begin and commit name themselves.
            std::string stage = "开始事务：";
            bool written = false;
            {
                DbTransaction tx;
                if (tx.ok() && writeRecord(r, it->second, stage) == 0) {
                    stage = "提交事务：";
                    written = tx.commit() == 0;
                }
            }
            if (written) {
                present.insert(no);
                ++result.ordered;
                log.line("【新订刊征订号】：   " + no);
            } else {
                log.line(stage + g_ErrInfo.strDesc);
                ++result.failed;
            }
        }
        if (progress) progress(i + 1, total);
    }
    if (result.failed > 0) {
        LIB_ShowMsg("E批量订购出现了错误，参考日志文件");
        return -1;
    }
    LIB_ShowMsg("I批量订购完成！");
    return 0;
}

int intGetBatchOrdRecords(LibArray& rows) {
    return selectRows(
        "SELECT E.doc_id, E.marc_rec_no, M.m_title, E.exch_type, E.obj_code, E.country_code, "
        "E.asord_no, E.publ_freq, E.money_code, E.peri_price, E.in_date, O.obj_type FROM "
        "prsn_exch_detl E LEFT JOIN marc M ON M.marc_rec_no=E.marc_rec_no LEFT JOIN "
        "prsn_exch_obj O ON O.obj_code=E.obj_code WHERE E.trans_flag IS NULL OR "
        "E.trans_flag<>'1' ORDER BY E.doc_id",
        rows);
}

int intGetUnsentBatches(const std::string& publ, std::vector<std::string>& years) {
    years.clear();
    LibArray rows;
    if (selectRows("SELECT DISTINCT peri_ord_year FROM m_peri_ord_lst WHERE publ_code=" +
                       LIB_SqlStr(publ) + " AND peri_ord_flag='0' ORDER BY peri_ord_year DESC",
                   rows) < 0)
        return -1;
    for (int i = 2; i < rows.rows(); ++i)
        years.push_back(rows(0, i).str());
    return 0;
}

int intGetSubscriberFunds(const std::string& location, LibArray& rows) {
    return selectRows(
        "SELECT b.fund_src_code,b.fund_src_name FROM sub_acct a,fund_src_code b "
        "WHERE a.location=" +
            LIB_SqlStr(location) + " AND a.fund_src_code=b.fund_src_code ORDER BY b.fund_src_code",
        rows);
}

int intNextExchDocId(std::string& docId) {
    LibArray rows;
    if (selectRows("SELECT MAX(doc_id) FROM prsn_exch_detl", rows) < 0) return -1;
    char text[24];
    std::snprintf(text, sizeof text, "%010lld", rows(0, 2).integer() + 1);
    docId = text;
    return 0;
}

std::string strAcqSettingsPath() {
    return g_strPath[3] + "cf/cfCfg.ini";
}

int intLoadAcqSettings(AcqSettings& s) {
    s = {};
    auto ini = IniFile::load(strAcqSettingsPath());
    if (!ini) return 0;
    auto list = [&](const char* section) {
        std::vector<AcqCfgItem> items;
        for (int n = 0; n < 1000; ++n) {
            char key[4];
            std::snprintf(key, sizeof key, "%03d", n);
            const std::string value = ini->get(section, key);
            if (value.empty()) break;
            const std::size_t colon = value.find(':');
            items.push_back(
                {sqltext::trim(value.substr(0, colon)),
                 colon == std::string::npos ? "" : sqltext::trim(value.substr(colon + 1))});
        }
        return items;
    };
    s.indexFields = list("INDEX FIELD");
    s.fundTypes = list("FUND_TYPE");
    s.findSame = list("FIND_SAME");
    s.marcInfoNum = static_cast<int>(LibVar(ini->get("MARCINFO_NUM", "001", "0")).integer());
    return 0;
}
