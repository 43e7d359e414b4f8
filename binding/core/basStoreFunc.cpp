#include "binding/core/basStoreFunc.h"

#include <cstdio>

#include "binding/core/BindDb.h"
#include "common/OperatorState.h"
#include "common/basLibOpLog.h"
#include "db/DbTransaction.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

using binddb::cell;
using binddb::kDbFailed;
using binddb::kRefused;
using binddb::number;
using binddb::refuse;

namespace {

std::string q(const std::string& v) {
    return LIB_SqlStr(v);
}

std::string money(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

// What an accessioned volume carries besides the operator's entry.
struct Volume {
    std::string marcRecNo, location, disLocation, year, volPeri, carrier, getMode, asordNo, callNo,
        attachment;
    double price = 0;
};

// The operator's section for a property-number class, and the class's prefix.
struct Section {
    std::string code, prefix;
};

int sectionFor(const std::string& classType, Section& s) {
    LibArray a;
    if (LIB_DB_Select("SELECT section_code FROM section_wkr   WHERE wkr=" + q(g_strWkrNo) +
                          "    AND CLASS_TYPE_CODE=" + q(classType),
                      a) < 0)
        return kDbFailed;
    if (a.recordCount() == 0) return refuse("E操作员没有该类型的财产号区段，请先设置财产号区段！");
    s.code = cell(a, 0, 0);
    if (LIB_DB_Select("SELECT prop_prefix FROM max_number WHERE class_type_code=" + q(classType),
                      a) < 0)
        return kDbFailed;
    s.prefix = a.recordCount() ? cell(a, 0, 0) : "";
    return 0;
}

// Width of the section's numbers: the digits of the range's last number.
int sectionWidth(const Section& s, int& width, bool& exhausted) {
    LibArray a;
    if (LIB_DB_Select("SELECT min_prop_no,max_prop_no FROM section_max_number WHERE section_code=" +
                          q(s.code),
                      a) < 0)
        return kDbFailed;
    exhausted = a.recordCount() == 0 || a(0, 2).num() > a(1, 2).num();
    width = a.recordCount() ? static_cast<int>(formatNumber(a(1, 2).num()).size()) : 0;
    return 0;
}

std::string propText(const Section& s, long long serial, int width) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld", width, serial);
    return s.prefix + buf;
}

// The oldest-numbered recycled number of the section released before today, locked; 0: none.
int recycled(const Section& s, long long& serial) {
    LibArray a;
    if (LIB_DB_Select("SELECT prop_serial FROM recycle_section WHERE section_code=" + q(s.code) +
                          " AND use_date<" + q(binddb::today()) +
                          " ORDER BY prop_serial LIMIT 1    FOR UPDATE",
                      a) < 0)
        return kDbFailed;
    serial = a.recordCount() ? number(a, 0, 0) : 0;
    return 0;
}

// Takes a property number of the class inside the caller's transaction.
int takePropNo(const std::string& classType, std::string& propNo) {
    Section s;
    int width = 0;
    bool exhausted = false;
    long long serial = 0;
    int rc = sectionFor(classType, s);
    if (rc < 0) return rc;
    if (sectionWidth(s, width, exhausted) < 0 || recycled(s, serial) < 0) return kDbFailed;
    if (serial > 0) {
        propNo = propText(s, serial, width);
        return LIB_DB_CallProc("DELETE_RECYCLE_SEC " + q(s.code) + "," + std::to_string(serial));
    }
    if (exhausted) return refuse("E财产号区段已用完，请设置新的财产号区段！");
    LIB_DB_ParamAdd("PROPSERIAL", 0, kParamOutput);
    rc = LIB_DB_Execute("Begin UPDATE_SECTION_MAX_NUMBER(" + q(s.code) + ",:PROPSERIAL); end;");
    serial = LIB_DB_ParamValue("PROPSERIAL").integer();
    LIB_DB_ParamRemove("PROPSERIAL");
    if (rc < 0) return kDbFailed;
    propNo = propText(s, serial, width);
    return 0;
}

// The batch must exist and be of the kind; gives its property-number class.
int batchClass(const std::string& batchNo, int checkType, std::string& classType) {
    LibArray a;
    if (LIB_DB_Select("SELECT class_type_code FROM m_peri_check_acct WHERE peri_batch_no=" +
                          q(batchNo) + " AND check_type=" + std::to_string(checkType),
                      a) < 0)
        return kDbFailed;
    if (a.recordCount() == 0) return refuse("E验收批次不存在，请先选择验收批次！");
    classType = cell(a, 0, 0);
    return 0;
}

// Property number and barcode may be in neither holdings table yet.
int checkUnique(const StoreEntry& e) {
    LibArray a;
    for (const char* table : {"item", "indi_acct"}) {
        if (LIB_DB_Select(
                "SELECT prop_no FROM " + std::string(table) + " WHERE prop_no=" + q(e.propNo), a) <
            0)
            return kDbFailed;
        if (a.recordCount() > 0) return refuse("E财产号重复!");
        if (LIB_DB_Select(
                "SELECT bar_code FROM " + std::string(table) + " WHERE bar_code=" + q(e.barCode),
                a) < 0)
            return kDbFailed;
        if (a.recordCount() > 0) return refuse("E条码号重复!");
    }
    return 0;
}

// A loan grade or circulation type given must be one in use.
int checkCirculation(const StoreEntry& e) {
    LibArray a;
    if (!e.lendGrade.empty()) {
        if (LIB_DB_Select("SELECT lend_grd FROM lend_grd WHERE code_use_flag='1' AND lend_grd=" +
                              q(e.lendGrade),
                          a) < 0)
            return kDbFailed;
        if (a.recordCount() == 0) return refuse("E借阅等级" + e.lendGrade + "不存在！");
    }
    if (!e.circType.empty()) {
        if (LIB_DB_Select("SELECT circ_type_code FROM circ_type_code WHERE code_use_flag='1' AND "
                          "circ_type_code=" +
                              q(e.circType),
                          a) < 0)
            return kDbFailed;
        if (a.recordCount() == 0) return refuse("E流通类型" + e.circType + "不存在！");
    }
    return 0;
}

// indi_acct before item: a property number taken meanwhile by another workstation then
// fails on PK_INDI_ACCT, which the operator is told about as "财产号重复!".
int writeVolume(const std::string& batchNo, const Volume& v, StoreEntry& e) {
    if (e.barCode.empty()) return refuse("E条码号不能为空。");
    std::string callNo = e.callNo.empty() ? v.callNo : e.callNo;
    if (callNo.empty()) return refuse("E索书号不能为空。");
    int rc = checkUnique(e);
    if (rc < 0 || (rc = checkCirculation(e)) < 0) return rc;
    std::string dis = e.disLocation.empty() ? v.disLocation : e.disLocation;
    std::string attachment = e.attachment.empty() ? v.attachment : e.attachment;
    std::string common =
        q(e.propNo) + "," + q(e.barCode) + "," + q(callNo) + "," + q(e.bookStatCode) + "," +
        q(v.location) + "," + q(dis) + "," + q(v.marcRecNo) + "," + q(v.year) + "," + q(v.volPeri) +
        "," + money(v.price) + "," + q(v.carrier) + "," + q(v.getMode) + "," + q(v.asordNo) + ",";
    std::string today = binddb::today();
    if (LIB_DB_CallProc("insert_indi_acct " + common + q(batchNo) + "," + q(today) + "," +
                        q(binddb::now()) + "," + q(attachment) + "," + q(g_strWkrNo) + "," +
                        q(e.remark)) < 0 ||
        LIB_DB_CallProc("insert_item " + common + q(today) + "," + q(attachment) + "," +
                        q(g_strWkrNo) + "," + q(e.remark) + "," + q(e.circType) + "," +
                        q(e.lendGrade)) < 0)
        return kDbFailed;
    e.callNo = callNo;
    return 0;
}

int prepareEntry(const std::string& batchNo, int checkType, StoreEntry& e) {
    std::string classType;
    int rc = batchClass(batchNo, checkType, classType);
    if (rc < 0) return rc;
    return e.propNo.empty() || e.fromSection ? takePropNo(classType, e.propNo) : 0;
}

int boundVolume(const std::string& bindNo, Volume& v, int& flag) {
    LibArray a;
    if (LIB_DB_Select(
            "SELECT m_peri_bind_detl.marc_rec_no,m_peri_item.location,m_peri_item.dis_location,"
            "bgn_end_year,bgn_end_vol,carrier_code,get_mode_code,call_no,bound_edit_price,"
            "bound_flag FROM m_peri_bind_detl LEFT JOIN m_peri_item ON m_peri_item.bind_no="
            "m_peri_bind_detl.bind_no WHERE m_peri_bind_detl.bind_no=" +
                q(bindNo) + " ORDER BY m_peri_item.peri_id LIMIT 1",
            a) < 0)
        return kDbFailed;
    if (a.recordCount() == 0) return refuse("E合订本不能为空。");
    v = {cell(a, 0, 0), cell(a, 1, 0), cell(a, 2, 0), cell(a, 3, 0), cell(a, 4, 0),
         cell(a, 5, 0), cell(a, 6, 0), bindNo,        cell(a, 7, 0), "",
         a(8, 2).num()};
    flag = static_cast<int>(number(a, 9, 0));
    // A record made before its title had a call number takes the one given out since.
    return v.callNo.empty() ? intRecordCallNo(v.marcRecNo, v.callNo) : 0;
}

int storeBound(const std::string& batchNo, const std::string& bindNo, StoreEntry& e) {
    Volume v;
    int flag = 0;
    int rc = boundVolume(bindNo, v, flag);
    if (rc < 0) return rc;
    if (flag == 2) return refuse("E该合订本已经登录入藏！");
    if ((rc = prepareEntry(batchNo, 0, e)) < 0 || (rc = writeVolume(batchNo, v, e)) < 0) return rc;
    if (LIB_DB_Execute(" UPDATE m_peri_bind_detl SET bound_flag=2, call_no=" + q(e.callNo) +
                       " WHERE bind_no=" + q(bindNo)) < 0 ||
        LIB_WriteOpLog("50039", v.marcRecNo, bindNo, e.propNo) < 0 ||
        LIB_AddJobQty("512", 1, 1, v.price) < 0)
        return kDbFailed;
    return 0;
}

int setChecked(const std::string& bindNo, bool checked) {
    if (checked)
        return LIB_DB_Execute(" UPDATE m_peri_bind_detl SET bind_chk_wkr=" + q(g_strWkrNo) +
                              ",bind_chk_date=" + q(binddb::today()) +
                              ",bound_flag=1 WHERE bind_no=" + q(bindNo) + " AND bound_flag<2");
    return LIB_DB_Execute(
        " UPDATE m_peri_bind_detl SET bind_chk_wkr=NULL,bind_chk_date=NULL"
        ",bound_flag=0 WHERE bind_no=" +
        q(bindNo) + " AND bound_flag=1");
}

}  // namespace

int intSaveCheckAcct(const CheckAcct& b) {
    if (b.batchNo.empty()) {
        LIB_ShowMsg("E验收批次号不能为空。");
        return -1;
    }
    return binddb::inTransaction([&]() {
        LibArray a;
        if (LIB_DB_Select(
                "SELECT count(*) FROM m_peri_check_acct WHERE peri_batch_no=" + q(b.batchNo), a) <
            0)
            return kDbFailed;
        std::string date = b.date.empty() ? binddb::today() : b.date;
        std::string wkr = b.respWkr.empty() ? g_strWkrNo : b.respWkr;
        if (number(a, 0, 0) > 0)
            return LIB_DB_Execute(
                " UPDATE m_peri_check_acct SET class_type_code=" + q(b.classTypeCode) +
                ",peri_batch_date=" + q(date) + ",resp_wkr=" + q(wkr) + ",remark=" + q(b.remark) +
                ",check_type=" + std::to_string(b.checkType) +
                " WHERE peri_batch_no=" + q(b.batchNo));
        return LIB_DB_Execute(
            " INSERT INTO m_peri_check_acct(peri_batch_no,class_type_code,peri_batch_date,"
            "resp_wkr,remark,check_type) VALUES ( " +
            q(b.batchNo) + "," + q(b.classTypeCode) + "," + q(date) + "," + q(wkr) + "," +
            q(b.remark) + "," + std::to_string(b.checkType) + ")");
    });
}

namespace {
const char* const kAcctColumns =
    "SELECT peri_batch_no,class_type_code,peri_batch_date,resp_wkr,remark,check_type FROM "
    "m_peri_check_acct";
CheckAcct acctFrom(const LibArray& a, int i) {
    return {cell(a, 0, i), cell(a, 1, i), cell(a, 2, i),
            cell(a, 3, i), cell(a, 4, i), static_cast<int>(number(a, 5, i))};
}
}  // namespace

int intLoadCheckAcct(const std::string& batchNo, CheckAcct& batch) {
    LibArray a;
    if (LIB_DB_Select(kAcctColumns + std::string(" WHERE peri_batch_no=") + q(batchNo), a) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    if (a.recordCount() == 0) {
        LIB_ShowMsg("E验收批次不存在，请先选择验收批次！");
        return -1;
    }
    batch = acctFrom(a, 0);
    return 0;
}

int intListCheckAccts(int checkType, std::vector<CheckAcct>& batches) {
    LibArray a;
    if (LIB_DB_Select(kAcctColumns + std::string(" WHERE check_type=") + std::to_string(checkType) +
                          " ORDER BY peri_batch_no",
                      a) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    batches.clear();
    for (int i = 0; i < a.recordCount(); ++i)
        batches.push_back(acctFrom(a, i));
    return 0;
}

int intDeleteCheckAcct(const std::string& batchNo) {
    return binddb::inTransaction([&]() {
        LibArray a;
        if (LIB_DB_Select("SELECT count(*) FROM indi_acct WHERE chk_batch_no=" + q(batchNo), a) < 0)
            return kDbFailed;
        if (number(a, 0, 0) > 0) return refuse("E该验收批次已有入藏记录，不能删除！");
        return LIB_DB_Execute(" DELETE from m_peri_check_acct WHERE peri_batch_no=" + q(batchNo));
    });
}

int intPeekPropNo(const std::string& classType, std::string& propNo) {
    // Taken inside a transaction that is then rolled back: nothing is kept.
    std::string taken;
    int rc = 0;
    {
        DbTransaction tx;
        if (!tx.ok()) {
            LIB_DB_ShowError();
            return -1;
        }
        try {
            rc = takePropNo(classType, taken);
        } catch (const DbError& e) {
            dbRecordFailure(kSrcSelect, "LIB_DB_Select", e.oraText());
            rc = kDbFailed;
        }
    }
    if (rc == kRefused) return -1;
    if (rc < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    propNo = taken;
    return 0;
}

int intCheckBound(const std::string& bindNo, bool undo) {
    return binddb::inTransaction([&]() {
        if (setChecked(bindNo, !undo) < 0) return kDbFailed;
        return LIB_WriteOpLog("50037", bindNo, "0", "0", undo ? "撤销验收" : "验收");
    });
}

int intStoreBound(const std::string& batchNo, const std::string& bindNo, StoreEntry& entry) {
    StoreEntry e = entry;
    int rc = binddb::inTransaction([&]() { return storeBound(batchNo, bindNo, e); });
    if (rc == 0) entry = e;
    return rc;
}

int intReceiveBound(const BindRecord& r, const StoreEntry& entry, bool store,
                    const std::string& batchNo) {
    for (auto [value, message] : {std::pair{&entry.propNo, "E财产号不能为空。"},
                                  std::pair{&entry.barCode, "E条码号不能为空。"},
                                  std::pair{&entry.callNo, "E索书号不能为空。"}})
        if (value->empty()) {
            LIB_ShowMsg(message);
            return -1;
        }
    StoreEntry e = entry;
    return binddb::inTransaction([&]() {
        LibArray a;
        if (!e.fromSection) {
            if (LIB_DB_Select(" SELECT prop_no FROM item WHERE prop_no=" + q(e.propNo), a) < 0)
                return kDbFailed;
            if (a.recordCount() > 0) return refuse("E财产号重复!");
        }
        if (LIB_DB_Execute(" UPDATE m_peri_bind_detl SET m_title=" + q(r.title) +
                           ", bgn_end_year=" + q(r.bgnEndYear) + ", bgn_end_vol=" + q(r.bgnEndVol) +
                           ", bound_edit_price=" + money(r.boundEditPrice) +
                           ", bound_price=" + money(r.boundPrice) + ", book_size=" + q(r.bookSize) +
                           ", color=" + q(r.color) + ", frame=" + q(r.frame) +
                           ", call_no=" + q(e.callNo) + ", carrier_code=" + q(r.carrierCode) +
                           ", remark=" + q(r.remark) + ", qty_of_bind=" +
                           std::to_string(r.qtyOfBind) + " WHERE bind_no=" + q(r.bindNo)) < 0 ||
            setChecked(r.bindNo, true) < 0 ||
            LIB_WriteOpLog("50037", r.marcRecNo, r.bindNo, "0", r.title) < 0 ||
            LIB_AddJobQty("511", 1, 1, r.boundPrice) < 0)
            return kDbFailed;
        return store ? storeBound(batchNo, r.bindNo, e) : 0;
    });
}

int intStoreSingle(const std::string& batchNo, const BoundCopy& copy, StoreEntry& entry) {
    StoreEntry e = entry;
    int rc = binddb::inTransaction([&]() {
        std::string key = " WHERE m_peri_item.peri_id=" + q(copy.periId) +
                          " AND m_peri_item.location=" + q(copy.location) +
                          " AND m_peri_item.dis_location=" + q(copy.disLocation) +
                          " AND m_peri_item.item_no=" + std::to_string(copy.itemNo);
        LibArray a;
        if (LIB_DB_Select(
                "SELECT m_peri_ord_detl.marc_rec_no,m_peri_chk_vol.publ_year,"
                "m_peri_chk_vol.cover_vol,m_peri_chk_vol.cover_issue,m_peri_chk_vol.carrier_code,"
                "m_peri_ord_detl.get_mode_code,m_peri_chk_vol.asord_no,m_peri_chk_vol.attachment,"
                "m_peri_ord_detl.peri_price FROM m_peri_item,m_peri_chk_vol,m_peri_ord_detl" +
                    key +
                    " AND m_peri_chk_vol.peri_id=m_peri_item.peri_id"
                    " AND m_peri_ord_detl.publ_code=m_peri_chk_vol.publ_code"
                    " AND m_peri_ord_detl.peri_ord_year=m_peri_chk_vol.peri_ord_year"
                    " AND m_peri_ord_detl.asord_no=m_peri_chk_vol.asord_no"
                    " AND (item_stat='0' OR item_stat='1' OR item_stat='2') ",
                a) < 0)
            return kDbFailed;
        if (a.recordCount() == 0) return refuse("E无该期刊单刊信息，请重新查询！");
        BindIssue issue;
        issue.coverVol = cell(a, 2, 0);
        issue.coverIssue = cell(a, 3, 0);
        std::string callNo;
        if (intRecordCallNo(cell(a, 0, 0), callNo) < 0) return kDbFailed;
        Volume v{cell(a, 0, 0), copy.location,        copy.disLocation,
                 cell(a, 1, 0), strIssueLabel(issue), cell(a, 4, 0),
                 cell(a, 5, 0), cell(a, 6, 0),        callNo,
                 cell(a, 7, 0), a(8, 2).num()};
        int rc = prepareEntry(batchNo, 1, e);
        if (rc == 0) rc = writeVolume(batchNo, v, e);
        if (rc < 0) return rc;
        if (LIB_DB_Execute(" UPDATE m_peri_item SET item_stat='4' ,remark=" + q(e.propNo) + key) <
                0 ||
            LIB_WriteOpLog("50041", v.marcRecNo, copy.periId, e.propNo) < 0 ||
            LIB_AddJobQty("512", 1, 1, v.price) < 0)
            return kDbFailed;
        return 0;
    });
    if (rc == 0) entry = e;
    return rc;
}

int intUndoStore(const std::string& propNo) {
    return binddb::inTransaction([&]() {
        LibArray a;
        if (LIB_DB_Select(" SELECT count(*) FROM lend_lst WHERE prop_no=" + q(propNo), a) < 0)
            return kDbFailed;
        if (number(a, 0, 0) > 0) return refuse("E该册正在借出，不能撤销入藏！");
        if (LIB_DB_Select(
                "SELECT indi_acct.asord_no,indi_acct.marc_rec_no,m_peri_check_acct."
                "class_type_code,(SELECT count(*) FROM m_peri_bind_detl WHERE bind_no="
                "indi_acct.asord_no) FROM indi_acct LEFT JOIN m_peri_check_acct ON "
                "m_peri_check_acct.peri_batch_no=indi_acct.chk_batch_no WHERE indi_acct.prop_no=" +
                    q(propNo),
                a) < 0)
            return kDbFailed;
        if (a.recordCount() == 0) return refuse("E财产号不存在！");
        std::string asordNo = cell(a, 0, 0), marc = cell(a, 1, 0), classType = cell(a, 2, 0);
        bool bound = number(a, 3, 0) > 0;
        if (LIB_DB_Execute("DELETE FROM item WHERE prop_no=" + q(propNo)) < 0 ||
            LIB_DB_Execute("DELETE FROM indi_acct WHERE prop_no=" + q(propNo)) < 0)
            return kDbFailed;
        int rc = bound ? LIB_DB_Execute(" UPDATE m_peri_bind_detl SET bound_flag=1 WHERE bind_no=" +
                                        q(asordNo))
                       : LIB_DB_Execute(
                             " UPDATE m_peri_item SET remark='',item_stat='2' WHERE "
                             "remark=" +
                             q(propNo));
        if (rc < 0) return kDbFailed;
        // A number of the operator's section goes back to it, free again from tomorrow.
        LibArray sec;
        if (LIB_DB_Select("SELECT section_wkr.section_code,max_number.prop_prefix FROM "
                          "section_wkr,max_number WHERE max_number.class_type_code="
                          "section_wkr.class_type_code AND section_wkr.wkr=" +
                              q(g_strWkrNo) + " AND section_wkr.class_type_code=" + q(classType),
                          sec) < 0)
            return kDbFailed;
        if (sec.recordCount() > 0) {
            std::string prefix = cell(sec, 1, 0);
            std::string digits = propNo.substr(std::min(prefix.size(), propNo.size()));
            if (propNo.rfind(prefix, 0) == 0 && !digits.empty() && digits.size() <= 12 &&
                digits.find_first_not_of("0123456789") == std::string::npos &&
                LIB_DB_CallProc("INSERT_RECYCLE_SEC " + q(cell(sec, 0, 0)) + "," +
                                std::to_string(std::stoll(digits)) + "," + q(binddb::today())) < 0)
                return kDbFailed;
        }
        return LIB_WriteOpLog(bound ? "50040" : "50042", marc, asordNo, propNo);
    });
}

int intListSingleCopies(const BindTitle& title, const std::string& year,
                        std::vector<SingleCopy>& copies) {
    LibArray a;
    if (LIB_DB_Select(
            "SELECT m_peri_item.peri_id,m_peri_item.location,m_peri_item.dis_location,"
            "m_peri_chk_vol.cover_vol,m_peri_chk_vol.cover_issue,m_peri_chk_vol.publ_year,"
            "m_peri_item.item_no,m_peri_item.item_stat,m_peri_item.remark"
            " FROM m_peri_chk_vol,m_peri_item WHERE m_peri_item.peri_id=m_peri_chk_vol.peri_id"
            " AND m_peri_chk_vol.publ_code=" +
                q(title.publCode) + " AND m_peri_chk_vol.peri_ord_year=" + q(title.periOrdYear) +
                " AND m_peri_chk_vol.asord_no=" + q(title.asordNo) + " AND m_peri_item.location=" +
                q(title.location) + " AND m_peri_item.dis_location=" + q(title.disLocation) +
                (year.empty() ? "" : " AND m_peri_chk_vol.publ_year=" + q(year)) +
                " AND m_peri_item.item_stat IN ('0','1','2','4') ORDER BY "
                "lpad(m_peri_chk_vol.cover_vol,20,'0'),lpad(m_peri_chk_vol.cover_issue,20,'0'),"
                "m_peri_item.item_no",
            a) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    copies.clear();
    for (int i = 0; i < a.recordCount(); ++i) {
        SingleCopy c;
        c.copy = {cell(a, 0, i),
                  cell(a, 1, i),
                  cell(a, 2, i),
                  cell(a, 3, i),
                  cell(a, 4, i),
                  cell(a, 5, i),
                  static_cast<int>(number(a, 6, i))};
        c.itemStat = cell(a, 7, i);
        if (c.itemStat == "4") c.propNo = cell(a, 8, i);
        copies.push_back(c);
    }
    return 0;
}

namespace {

int listCodes(const std::string& sql, std::vector<CodeName>& out) {
    LibArray a;
    if (LIB_DB_Select(sql, a) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    out.clear();
    for (int i = 0; i < a.recordCount(); ++i)
        out.push_back({cell(a, 0, i), cell(a, 1, i)});
    return 0;
}

}  // namespace

int intListLendGrades(std::vector<CodeName>& grades) {
    return listCodes(
        "SELECT lend_grd,remark FROM lend_grd WHERE code_use_flag='1' order by lend_grd", grades);
}

int intListCircTypes(std::vector<CodeName>& types) {
    return listCodes(
        "SELECT circ_type_code,circ_type_name FROM circ_type_code WHERE code_use_flag='1'"
        " ORDER BY circ_type_code",
        types);
}

int intListPropClasses(std::vector<CodeName>& classes) {
    return listCodes(
        "SELECT class_type_code,class_type_name FROM max_number ORDER BY class_type_code", classes);
}
