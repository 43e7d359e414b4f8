// Loading, validating and saving order details. A save is one transaction: the old detail's rows
// go (the delete procedure takes its lines with it), the detail and its lines are written again,
// and the workload and log rows are added before the commit; any failure rolls all of it back.
#include "ordering/core/basOrdList.h"

#include <cstdio>
#include <unordered_map>

#include "common/OperatorState.h"
#include "common/basLibOpLog.h"
#include "db/DbTransaction.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/core/basBMStore.h"
#include "ordering/core/basOrdFunc.h"

namespace {

// Columns of a saved detail that the order list does not edit, kept across a save.
const char* const kKeptColumns[] = {
    "book_size_code", "days_of_items", "pay_date",      "qty_of_vol",   "days_of_aslack",
    "bind_item_qty",  "chk_bgn_date",  "fst_rece_date", "end_ord_flag", "qty_of_year",
    "attachment",     "aslack_ysno",   "aslack_second", "aslack_third"};

// Grid keys of the detail query, in select-list order.
const char* const kDetailKeys[] = {
    "Pub",      "OrdYear",    "AsordNo",   "PeriType",       "Status",  "Title",    "ISSN",
    "Publish",  "PubYear",    "Country",   "Language",       "EndFlag", "MarcNo",   "NewFlag",
    "FAsordNo", "KindNo",     "SumCount",  "GetMode",        "Carrier", "PublFreq", "MoneyType",
    "Price",    "TotalPrice", "ForePrice", "ForeTotalPrice", "Remark",  "Key"};

std::string catalogueWhere(const std::string& publ, const std::string& year) {
    return " WHERE publ_code=" + LIB_SqlStr(publ) + " AND peri_ord_year=" + LIB_SqlStr(year);
}

bool blank(const std::string& s) {
    return sqltext::trim(s).empty();
}

// The literal list of a procedure call.
std::string args(std::initializer_list<std::string> values) {
    std::string out;
    for (const std::string& v : values)
        out += (out.empty() ? "" : ",") + LIB_SqlStr(v);
    return out;
}

std::string orZero(const std::string& v) {
    return blank(v) ? "0" : v;
}

int callProc(const std::string& call) {
    g_strSQL = call;
    return LIB_DB_CallProc(g_strSQL);
}

// Runs the statements in one transaction; the first failure rolls back and is reported.
int runInTransaction(std::initializer_list<std::string> statements) {
    {
        DbTransaction tx;
        bool ok = tx.ok();
        for (const std::string& sql : statements)
            ok = ok && LIB_DB_Execute(sql) == 0;
        if (ok && tx.commit() == 0) return 0;
    }
    LIB_DB_ShowError();
    return -1;
}

std::string number(const std::string& v) {
    return blank(v) ? std::string("NULL") : formatNumber(LibVar(v).num());
}

// The detail, its subscribers, their fund lines and (for subscribers that check in) their
// distribution lines, with the workload and the log. Inside the caller's transaction.
int writeDetail(OrdDetail& d, bool existed) {
    const std::string publ = d.get("Pub"), year = d.get("OrdYear"), no = d.get("AsordNo");
    const auto& k = d.kept;
    auto kept = [&](const char* c) {
        auto it = k.find(c);
        return it == k.end() ? std::string() : it->second;
    };
    if (existed && callProc("delete02_m_peri_ord_detl " + args({publ, year, d.savedAsordNo})) < 0)
        return -1;
    std::string status = existed ? d.get("Status") : "0";
    if (callProc("insert_m_peri_ord_detl " + args({publ,
                                                   year,
                                                   no,
                                                   d.get("Carrier"),
                                                   d.get("GetMode"),
                                                   d.get("MarcNo"),
                                                   kept("book_size_code"),
                                                   d.get("MoneyType"),
                                                   orZero(kept("days_of_items")),
                                                   d.get("Price"),
                                                   d.get("TotalPrice"),
                                                   d.get("ForePrice"),
                                                   d.get("ForeTotalPrice"),
                                                   d.sumCount(),
                                                   kept("pay_date"),
                                                   g_strWkrNo,
                                                   status.empty() ? "0" : status,
                                                   d.get("NewFlag"),
                                                   d.get("Remark"),
                                                   d.get("PublFreq"),
                                                   d.get("KindNo"),
                                                   orZero(kept("qty_of_vol")),
                                                   orZero(kept("days_of_aslack")),
                                                   orZero(kept("bind_item_qty")),
                                                   kept("chk_bgn_date"),
                                                   kept("fst_rece_date"),
                                                   d.get("PeriType"),
                                                   strFormatAsordNo(no)})) < 0)
        return -1;
    if (existed) {
        // The check-in columns past the procedure's list come back as they were.
        auto num = [&](const char* c) {
            std::string v = kept(c);
            return blank(v) ? std::string("NULL") : formatNumber(LibVar(v).num());
        };
        g_strSQL = "UPDATE m_peri_ord_detl SET end_ord_flag=" + LIB_SqlStr(d.get("EndFlag")) +
                   ", qty_of_year=" + num("qty_of_year") +
                   ", attachment=" + LIB_SqlStr(kept("attachment")) +
                   ", aslack_ysno=" + LIB_SqlStr(kept("aslack_ysno")) +
                   ", aslack_second=" + num("aslack_second") +
                   ", aslack_third=" + num("aslack_third") + catalogueWhere(publ, year) +
                   " AND asord_no=" + LIB_SqlStr(no);
        if (LIB_DB_Execute(g_strSQL) < 0) return -1;
    }
    for (const OrdSubscriber& s : d.subs) {
        if (callProc("insert_m_sub_ord_lst " + args({publ, year, no, s.location, s.region, s.count,
                                                     s.chkFlag, s.remark})) < 0)
            return -1;
        for (const OrdFundLine& f : s.funds)
            if (callProc("insert_m_peri_sub_fund_out " +
                         args({publ, year, no, s.location, f.fundSrc, f.qty, f.amount, f.remark})) <
                0)
                return -1;
        if (s.chkFlag != "1") continue;
        for (const OrdDistLine& t : s.dists)
            if (callProc("insert_m_peri_ord_dist_lst " +
                         args({publ, year, no, s.location, t.distLoca, t.qty, t.label})) < 0)
                return -1;
    }
    long long copies = LibVar(d.sumCount()).integer();
    if (LIB_AddJobQty("502", 1, copies, LibVar(d.get("TotalPrice")).num() * copies) < 0) return -1;
    return LIB_WriteOpLog("50018", d.get("MarcNo"), publ, year, d.get("Title") + ":" + no);
}

}  // namespace

std::string OrdDetail::get(const std::string& key) const {
    auto it = v.find(key);
    return it == v.end() ? std::string() : it->second;
}

std::string OrdDetail::sumCount() const {
    long long n = 0;
    for (const OrdSubscriber& s : subs)
        n += LibVar(s.count).integer();
    return std::to_string(n);
}

OrdDetail NewOrdDetail(const std::string& publ, const std::string& year) {
    OrdDetail d;
    d.set("Pub", publ);
    d.set("OrdYear", year);
    d.set("Status", "0");
    d.set("NewFlag", "0");
    d.set("PeriType", "0");
    d.set("SumCount", "0");
    return d;
}

int intLoadOrdDetails(const std::string& publ, const std::string& year,
                      std::vector<OrdDetail>& out) {
    out.clear();
    std::string where =
        " WHERE A.publ_code=" + LIB_SqlStr(publ) + " AND A.peri_ord_year=" + LIB_SqlStr(year);
    std::string kept;
    for (const char* c : kKeptColumns)
        kept += std::string(", A.") + c;
    // A number read back from NULL would be 0: these prices say whether they are empty.
    const std::pair<const char*, const char*> kNullablePrices[] = {
        {"Price", "peri_price"},
        {"ForePrice", "fore_price"},
        {"ForeTotalPrice", "fore_total_price"}};
    std::string emptyMarks;
    for (const auto& [key, column] : kNullablePrices)
        emptyMarks += std::string(", CASE WHEN A.") + column + " IS NULL THEN 1 ELSE 0 END";
    g_strSQL =
        "SELECT A.publ_code, A.peri_ord_year, A.asord_no, A.peri_type, A.ord_flag, M.m_title, "
        "M.m_isbn, M.m_publisher, M.m_pub_year, M.country_code, M.lang_code, A.end_ord_flag, "
        "A.marc_rec_no, A.new_ord_flag, A.fmt_asord_no, A.kind_no, A.peri_ord_qty, "
        "A.get_mode_code, A.carrier_code, A.publ_freq, A.money_code, A.peri_price, "
        "A.peri_total_price, A.fore_price, A.fore_total_price, A.remark, " +
        strOrdRowKeySql("A") + kept + emptyMarks +
        " FROM m_peri_ord_detl A LEFT JOIN marc M ON M.marc_rec_no=A.marc_rec_no" + where +
        " ORDER BY A.asord_no";
    LibArray rows;
    if (LIB_DB_SelectWide(g_strSQL, rows) < 0) return -1;
    const int nKeys = static_cast<int>(std::size(kDetailKeys));
    std::unordered_map<std::string, std::size_t> byNo;
    out.reserve(rows.recordCount());
    for (int r = 2; r < rows.rows(); ++r) {
        OrdDetail d;
        d.state = RowState::Unchanged;
        for (int c = 0; c < nKeys; ++c)
            d.v[kDetailKeys[c]] = rows(c, r).str();
        int c = nKeys;
        for (const char* column : kKeptColumns)
            d.kept[column] = rows(c++, r).str();
        for (const auto& [key, column] : kNullablePrices)
            if (rows(c++, r).num() == 1) d.v[key].clear();
        d.savedAsordNo = d.get("AsordNo");
        byNo[d.savedAsordNo] = out.size();
        out.push_back(std::move(d));
    }
    // The lines of all details at once, matched to their detail and subscriber in memory.
    std::string lineWhere = where + " ORDER BY A.asord_no, A.location";
    LibArray subs, funds, dists;
    g_strSQL =
        "SELECT A.asord_no, A.location, A.peri_region, A.sub_peri_qty, A.chk_stat, A.remark "
        "FROM m_sub_ord_lst A" +
        lineWhere;
    if (LIB_DB_Select(g_strSQL, subs) < 0) return -1;
    g_strSQL =
        "SELECT A.asord_no, A.location, A.fund_src_code, A.sub_qty, A.sub_amt, A.remark "
        "FROM m_peri_sub_fund_out A" +
        lineWhere + ", A.fund_src_code";
    if (LIB_DB_Select(g_strSQL, funds) < 0) return -1;
    g_strSQL =
        "SELECT A.asord_no, A.location, A.dist_loca, A.dist_qty, A.label "
        "FROM m_peri_ord_dist_lst A" +
        lineWhere + ", A.dist_loca";
    if (LIB_DB_Select(g_strSQL, dists) < 0) return -1;
    std::map<std::pair<std::string, std::string>, OrdSubscriber*> subOf;
    for (int r = 2; r < subs.rows(); ++r) {
        auto it = byNo.find(subs(0, r).str());
        if (it == byNo.end()) continue;
        OrdDetail& d = out[it->second];
        d.subs.push_back({subs(1, r).str(),
                          subs(4, r).str(),
                          subs(3, r).str(),
                          subs(2, r).str(),
                          subs(5, r).str(),
                          {},
                          {}});
    }
    // Pointers are taken once every subscriber vector has its final size.
    for (OrdDetail& d : out)
        for (OrdSubscriber& s : d.subs)
            subOf[{d.savedAsordNo, s.location}] = &s;
    for (int r = 2; r < funds.rows(); ++r)
        if (auto it = subOf.find({funds(0, r).str(), funds(1, r).str()}); it != subOf.end())
            it->second->funds.push_back(
                {funds(2, r).str(), funds(3, r).str(), funds(4, r).str(), funds(5, r).str()});
    for (int r = 2; r < dists.rows(); ++r)
        if (auto it = subOf.find({dists(0, r).str(), dists(1, r).str()}); it != subOf.end())
            it->second->dists.push_back({dists(2, r).str(), dists(3, r).str(), dists(4, r).str()});
    return 0;
}

std::vector<std::string> OrdSubscriberErrors(const OrdSubscriber& s, bool paneCheck) {
    std::vector<std::string> e;
    if (blank(s.location)) e.push_back(" 必须选择订户！");
    if (s.funds.empty()) e.push_back(" 订户【" + s.location + "】必须选择经费项目！");
    if (s.chkFlag == "1") {
        if (s.dists.empty()) {
            e.push_back(" 订户【" + s.location + "】签收必须选择分配地！");
        } else {
            long long sum = 0;
            for (const OrdDistLine& t : s.dists)
                sum += LibVar(t.qty).integer();
            if (sum != LibVar(s.count).integer())
                e.push_back(" 订户【" + s.location +
                            (paneCheck ? "】设定的复本数不符！" : "】设定的复本数与分配数不符！"));
        }
    }
    return e;
}

std::vector<std::string> OrdDetailErrors(const OrdDetail& d) {
    struct Required {
        const char* key;
        const char* message;
    };
    static constexpr Required kRequired[] = {
        {"AsordNo", " 必须输入征订号！"},   {"PeriType", " 必须选择订购状态！"},
        {"GetMode", " 必须选择获得方式！"}, {"PublFreq", " 必须选择出版频率！"},
        {"Carrier", " 必须选择载体类型！"}, {"MoneyType", " 必须选择币种！"},
        {"TotalPrice", " 必须输入总价！"}};
    std::vector<std::string> e;
    for (const Required& r : kRequired)
        if (blank(d.get(r.key))) e.push_back(r.message);
    if (d.subs.empty()) e.push_back(" 必须添加订户！");
    for (const OrdSubscriber& s : d.subs)
        for (std::string& m : OrdSubscriberErrors(s))
            e.push_back(std::move(m));
    return e;
}

std::string strOrdErrorText(const std::vector<std::string>& errors, const std::string& asordNo) {
    std::string text;
    for (const std::string& m : errors)
        text += m + "\n";
    return text + (blank(asordNo) ? "记录不能保存！" : "订购号为：" + asordNo + "的记录不能保存！");
}

int intSaveOrdDetail(OrdDetail& d, bool report) {
    auto errors = OrdDetailErrors(d);
    if (!errors.empty()) {
        LIB_ShowMsg("E" + strOrdErrorText(errors, d.get("AsordNo")));
        return -1;
    }
    const std::string no = sqltext::trim(d.get("AsordNo"));
    d.set("AsordNo", no);
    const bool existed = !d.savedAsordNo.empty();
    // A title taken from a pre-order catalogue gets a catalogue record of its own, copied from
    // its pre-order record. The number is drawn first: numbering commits on its own.
    const std::string asordRec =
        d.kept.count("asord_marc_rec_no") ? d.kept.at("asord_marc_rec_no") : "";
    std::string newRecNo;
    MarcRec offered;
    if (blank(d.get("MarcNo")) && !blank(asordRec)) offered = AsordMarcLoad(asordRec);
    // A pre-order record with only its summary columns has nothing to copy.
    if (!offered.Dir.empty()) {
        std::string number = MarcNewNumber(kMarcBib);
        if (number.empty()) {
            LIB_DB_ShowError();
            return -1;
        }
        char buf[16];
        std::snprintf(buf, sizeof buf, "%010lld", LibVar(number).integer());
        newRecNo = buf;
    }
    // Refusals are shown once the transaction is rolled back, never while it holds locks.
    enum class Outcome { Saved, Failed, NumberTaken, RecordFailed };
    Outcome outcome = [&] {
        DbTransaction tx;
        if (!tx.ok()) return Outcome::Failed;
        if (!existed || d.savedAsordNo != no) {
            LibArray hit;
            g_strSQL = "  SELECT asord_no FROM m_peri_ord_detl " +
                       catalogueWhere(d.get("Pub"), d.get("OrdYear")) +
                       " AND asord_no=" + LIB_SqlStr(no);
            if (LIB_DB_Select(g_strSQL, hit) < 0) return Outcome::Failed;
            if (hit.recordCount() > 0) return Outcome::NumberTaken;
        }
        if (!newRecNo.empty()) {
            MarcRec rec = offered;
            rec.Kind = kMarcBib;
            rec.RecNo = newRecNo;
            if (!MarcSave(rec, 1, 0, "")) return Outcome::RecordFailed;  // it reports itself
            d.set("MarcNo", newRecNo);
        }
        if (writeDetail(d, existed) < 0 || tx.commit() < 0) {
            if (!newRecNo.empty()) d.set("MarcNo", "");
            return Outcome::Failed;
        }
        return Outcome::Saved;
    }();
    if (outcome == Outcome::NumberTaken) LIB_ShowMsg("E该征订号已存在，请重新输入征订号！");
    if (outcome == Outcome::Failed) LIB_DB_ShowError();
    if (outcome != Outcome::Saved) return -1;
    d.set("SumCount", d.sumCount());
    d.set("FAsordNo", strFormatAsordNo(no));
    d.set("Key", strOrdRowKey(d.get("Pub"), d.get("OrdYear"), no, d.get("MarcNo")));
    if (!existed) d.set("Status", "0");
    d.savedAsordNo = no;
    d.state = RowState::Unchanged;
    d.temporary = false;
    if (report) LIB_ShowMsg("I数据成功保存！");
    return 0;
}

void RecalcFundAmounts(OrdDetail& d) {
    const std::string total = d.get("TotalPrice");
    for (OrdSubscriber& s : d.subs)
        for (OrdFundLine& f : s.funds)
            f.amount = strDecimalTimes(total, LibVar(f.qty).integer());
}

int intDeleteOrdDetails(const std::vector<std::string>& keys, bool ask, bool withMarc) {
    if (keys.empty()) return 1;
    std::string cond;
    for (const std::string& key : keys) {
        OrdRowKey k = SplitOrdRowKey(key);
        cond += std::string(cond.empty() ? "" : " OR ") + "(publ_code=" + LIB_SqlStr(k.publ) +
                " AND peri_ord_year=" + LIB_SqlStr(k.year) +
                " AND asord_no=" + LIB_SqlStr(k.asordNo) + ")";
    }
    LibArray sent;
    g_strSQL = "SELECT asord_no FROM m_peri_ord_detl WHERE ord_flag<>'0' AND (" + cond + ")";
    if (LIB_DB_Select(g_strSQL, sent) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    if (sent.recordCount() > 0) {
        LIB_ShowMsg("E行已经发订，不能删除！");
        return -1;
    }
    if (ask && LIB_ShowMsg(withMarc ? "Q是否确定删除订购信息同时删除Marc信息？"
                                    : "Q是否确定删除订购信息？") != kMsgOk)
        return 1;
    {
        DbTransaction tx;
        bool ok = tx.ok();
        std::vector<std::string> recNos;
        for (const std::string& key : keys) {
            if (!ok) break;
            OrdRowKey k = SplitOrdRowKey(key);
            ok = callProc("delete02_m_peri_ord_detl " + args({k.publ, k.year, k.asordNo})) == 0 &&
                 LIB_WriteOpLog("50019", k.marcNo, k.publ, k.year, "删除:" + k.asordNo) == 0;
            recNos.push_back(k.marcNo);
        }
        if (ok && (!withMarc || intDeleteUnorderedMarc(recNos) == 0) && tx.commit() == 0) return 0;
    }
    LIB_DB_ShowError();
    return -1;
}

int intSetEndFlag(const std::string& publ, const std::string& year, const std::string& asordNo,
                  const std::string& flag) {
    return runInTransaction({"update m_peri_ord_detl set end_ord_flag=" + LIB_SqlStr(flag) +
                             catalogueWhere(publ, year) + " AND asord_no=" + LIB_SqlStr(asordNo)});
}

int intCheckOrdCata(const std::string& publ, const std::string& year,
                    std::vector<std::string>& missing) {
    missing.clear();
    std::string where = catalogueWhere(publ, year);
    g_strSQL = "SELECT asord_no FROM m_peri_ord_detl" + where +
               " AND asord_no not in ( select asord_no FROM m_sub_ord_lst " + where +
               ") ORDER BY asord_no";
    LibArray rows;
    if (LIB_DB_Select(g_strSQL, rows) < 0) return -1;
    for (int r = 2; r < rows.rows(); ++r)
        missing.push_back(rows(0, r).str());
    return 0;
}

int intAsordToOrdDetails(const std::string& publ, const std::string& yearMonth,
                         const std::vector<std::string>& asordNos, const std::string& ordPubl,
                         const std::string& ordYear, std::vector<OrdDetail>& out) {
    out.clear();
    g_strSQL =
        "SELECT A.publ_code, A.publ_year_month, A.asord_no, A.asord_marc_rec_no, M.country_code, "
        "M.lang_code, A.peri_price, A.peri_year_price, A.carrier_code, A.publ_freq, "
        "A.money_code, A.kind_no, M.m_title, M.m_isbn, M.m_publisher, M.m_pub_year FROM "
        "peri_asord_detl A LEFT JOIN asord_marc M ON M.asord_marc_rec_no=A.asord_marc_rec_no "
        "WHERE A.publ_code=" +
        LIB_SqlStr(publ) + " AND A.publ_year_month=" + LIB_SqlStr(yearMonth);
    if (!asordNos.empty()) {
        std::string list;
        for (const std::string& n : asordNos)
            list += (list.empty() ? "" : ",") + LIB_SqlStr(n);
        g_strSQL += " AND A.asord_no IN (" + list + ")";
    }
    g_strSQL += " ORDER BY A.asord_no ";
    LibArray rows;
    if (LIB_DB_SelectWide(g_strSQL, rows) < 0) return -1;
    for (int r = 2; r < rows.rows(); ++r) {
        OrdDetail d = NewOrdDetail(ordPubl, ordYear);
        d.temporary = true;
        d.set("AsordNo", rows(2, r).str());
        // The pre-order record is not a catalogue record: the detail gets its own at save.
        d.kept["asord_marc_rec_no"] = rows(3, r).str();
        d.set("Country", rows(4, r).str());
        d.set("Language", rows(5, r).str());
        d.set("Price", rows(6, r).str());
        d.set("TotalPrice", rows(7, r).str());
        d.set("Carrier", rows(8, r).str());
        d.set("PublFreq", rows(9, r).str());
        d.set("MoneyType", rows(10, r).str());
        d.set("KindNo", rows(11, r).str());
        d.set("Title", rows(12, r).str());
        d.set("ISSN", rows(13, r).str());
        d.set("Publish", rows(14, r).str());
        d.set("PubYear", rows(15, r).str());
        d.set("FAsordNo", strFormatAsordNo(d.get("AsordNo")));
        out.push_back(std::move(d));
    }
    return 0;
}

int intUpdateOrdPrice(const std::string& publ, const std::string& year, const std::string& asordNo,
                      const std::string& price, const std::string& totalPrice) {
    std::string key = catalogueWhere(publ, year) + " AND asord_no=" + LIB_SqlStr(asordNo);
    return runInTransaction(
        {"update m_peri_ord_detl set peri_price = " + number(price) +
             ", peri_total_price=" + number(totalPrice) + key,
         "update m_peri_sub_fund_out set sub_amt=" + number(totalPrice) + "*sub_qty" + key});
}

int intUpdateOrdFreq(const std::string& publ, const std::string& year, const std::string& asordNo,
                     const std::string& freqName) {
    return runInTransaction({"update m_peri_ord_detl set publ_freq = " + LIB_SqlStr(freqName) +
                             catalogueWhere(publ, year) + " AND asord_no=" + LIB_SqlStr(asordNo)});
}

int intGetOrdPrintData(const std::string& publ, const std::string& year, LibArray& rows) {
    g_strSQL =
        "SELECT A.asord_no, M.m_isbn, M.m_title, A.carrier_code, A.peri_price, "
        "A.peri_total_price, A.peri_ord_qty, A.new_ord_flag, A.remark, A.publ_freq FROM "
        "m_peri_ord_detl A LEFT JOIN marc M ON M.marc_rec_no=A.marc_rec_no WHERE A.publ_code=" +
        LIB_SqlStr(publ) + " AND A.peri_ord_year=" + LIB_SqlStr(year) + " ORDER BY A.fmt_asord_no ";
    return LIB_DB_SelectWide(g_strSQL, rows);
}

int intGetAsordCata(LibArray& rows) {
    g_strSQL =
        "SELECT A.publ_code, nvl(B.publ_name,''), A.publ_year_month, A.asord_end_date, (SELECT "
        "count(*) FROM peri_asord_detl D WHERE D.publ_code=A.publ_code AND "
        "D.publ_year_month=A.publ_year_month) FROM peri_asord_cata A LEFT JOIN publish_busi B ON "
        "B.publ_code=A.publ_code ORDER BY A.publ_code, A.publ_year_month";
    return LIB_DB_Select(g_strSQL, rows);
}

int intLoadAsordItems(const std::string& publ, const std::string& yearMonth,
                      std::vector<OrdDetail>& out) {
    out.clear();
    g_strSQL =
        "SELECT A.asord_no, M.m_title, M.m_isbn, M.m_publisher, A.peri_price, "
        "A.peri_year_price, A.publ_freq, A.carrier_code, A.money_code, A.kind_no, "
        "A.remark, A.asord_marc_rec_no, " +
        strAsordRowKeySql("A") +
        " FROM peri_asord_detl A LEFT JOIN asord_marc M ON "
        "M.asord_marc_rec_no=A.asord_marc_rec_no WHERE A.publ_code=" +
        LIB_SqlStr(publ) + " AND A.publ_year_month=" + LIB_SqlStr(yearMonth) +
        " ORDER BY A.asord_no";
    LibArray rows;
    if (LIB_DB_SelectWide(g_strSQL, rows) < 0) return -1;
    const char* keys[] = {"AsordNo",    "Title",    "ISSN",    "Publish",   "Price",
                          "TotalPrice", "PublFreq", "Carrier", "MoneyType", "KindNo",
                          "Remark",     "MarcNo",   "Key"};
    for (int r = 2; r < rows.rows(); ++r) {
        OrdDetail d;
        d.state = RowState::Unchanged;
        for (int c = 0; c < 13; ++c)
            d.v[keys[c]] = rows(c, r).str();
        d.savedAsordNo = d.get("AsordNo");
        out.push_back(std::move(d));
    }
    return 0;
}

OrdTotals OrdSumDetails(const std::vector<OrdDetail>& details) {
    OrdTotals t;
    for (const OrdDetail& d : details) {
        ++t.titles;
        const long long copies = LibVar(d.sumCount()).integer();
        t.copies += copies;
        t.annual += LibVar(d.get("TotalPrice")).num() * static_cast<double>(copies);
        for (const OrdSubscriber& s : d.subs)
            for (const OrdFundLine& f : s.funds)
                t.byFund[f.fundSrc] += LibVar(f.amount).num();
    }
    return t;
}

std::string strOrdTotals(const OrdTotals& t, bool byFund) {
    auto money = [](double v) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.2f", v);
        return std::string(buf);
    };
    std::string out = std::to_string(t.titles) + " 种  " + std::to_string(t.copies) + " 册  年价 " +
                      money(t.annual) + " 元";
    if (byFund)
        for (const auto& [fund, amount] : t.byFund)
            out += "  |  " + (fund.empty() ? std::string("（未指定经费）") : fund) + "：" +
                   money(amount);
    return out;
}
