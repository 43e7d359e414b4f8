// Loading, validating and saving order details. A save is one transaction: the old detail's rows
// go (the delete procedure takes its lines with it), the detail and its lines are written again,
// and the workload and log rows are added before the commit; any failure rolls all of it back.
#include "ordering/core/basOrdList.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "common/OperatorState.h"
#include "common/basLibOpLog.h"
#include "db/DbTransaction.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/core/basBMStore.h"
#include "ordering/core/OrdMarcCmds.h"
#include "ordering/core/basOrdCheck.h"
#include "ordering/core/basOrdFunc.h"

namespace {

// Columns of a saved detail that the order list does not edit, kept across a save, in
// select-list order.
constexpr std::pair<const char*, std::string OrdKeptColumns::*> kKeptColumns[] = {
    {"book_size_code", &OrdKeptColumns::bookSize},
    {"days_of_items", &OrdKeptColumns::daysOfItems},
    {"pay_date", &OrdKeptColumns::payDate},
    {"qty_of_vol", &OrdKeptColumns::qtyOfVol},
    {"days_of_aslack", &OrdKeptColumns::daysOfAslack},
    {"bind_item_qty", &OrdKeptColumns::bindItemQty},
    {"chk_bgn_date", &OrdKeptColumns::chkBgnDate},
    {"fst_rece_date", &OrdKeptColumns::fstReceDate},
    {"qty_of_year", &OrdKeptColumns::qtyOfYear},
    {"attachment", &OrdKeptColumns::attachment},
    {"aslack_ysno", &OrdKeptColumns::aslackYsno},
    {"aslack_second", &OrdKeptColumns::aslackSecond},
    {"aslack_third", &OrdKeptColumns::aslackThird}};

// Fields of the detail query, in select-list order.
constexpr std::string OrdDetail::*kDetailFields[] = {&OrdDetail::pub,
                                                     &OrdDetail::ordYear,
                                                     &OrdDetail::asordNo,
                                                     &OrdDetail::periType,
                                                     &OrdDetail::status,
                                                     &OrdDetail::title,
                                                     &OrdDetail::issn,
                                                     &OrdDetail::publisher,
                                                     &OrdDetail::pubYear,
                                                     &OrdDetail::country,
                                                     &OrdDetail::language,
                                                     &OrdDetail::endFlag,
                                                     &OrdDetail::marcNo,
                                                     &OrdDetail::newFlag,
                                                     &OrdDetail::fAsordNo,
                                                     &OrdDetail::kindNo,
                                                     &OrdDetail::sumCopies,
                                                     &OrdDetail::getMode,
                                                     &OrdDetail::carrier,
                                                     &OrdDetail::publFreq,
                                                     &OrdDetail::moneyType,
                                                     &OrdDetail::price,
                                                     &OrdDetail::totalPrice,
                                                     &OrdDetail::forePrice,
                                                     &OrdDetail::foreTotalPrice,
                                                     &OrdDetail::remark,
                                                     &OrdDetail::key};

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
    const std::string publ = d.pub, year = d.ordYear, no = d.asordNo;
    const OrdKeptColumns& k = d.kept;
    if (existed && callProc("delete02_m_peri_ord_detl " + args({publ, year, d.savedAsordNo})) < 0)
        return -1;
    std::string status = existed ? d.status : "0";
    if (callProc("insert_m_peri_ord_detl " + args({publ,
                                                   year,
                                                   no,
                                                   d.carrier,
                                                   d.getMode,
                                                   d.marcNo,
                                                   k.bookSize,
                                                   d.moneyType,
                                                   orZero(k.daysOfItems),
                                                   d.price,
                                                   d.totalPrice,
                                                   d.forePrice,
                                                   d.foreTotalPrice,
                                                   d.sumCount(),
                                                   k.payDate,
                                                   g_strWkrNo,
                                                   status.empty() ? "0" : status,
                                                   d.newFlag,
                                                   d.remark,
                                                   d.publFreq,
                                                   d.kindNo,
                                                   orZero(k.qtyOfVol),
                                                   orZero(k.daysOfAslack),
                                                   orZero(k.bindItemQty),
                                                   k.chkBgnDate,
                                                   k.fstReceDate,
                                                   d.periType,
                                                   strFormatAsordNo(no)})) < 0)
        return -1;
    if (existed) {
        // The check-in columns past the procedure's list come back as they were.
        g_strSQL = "UPDATE m_peri_ord_detl SET end_ord_flag=" + LIB_SqlStr(d.endFlag) +
                   ", qty_of_year=" + number(k.qtyOfYear) +
                   ", attachment=" + LIB_SqlStr(k.attachment) +
                   ", aslack_ysno=" + LIB_SqlStr(k.aslackYsno) +
                   ", aslack_second=" + number(k.aslackSecond) +
                   ", aslack_third=" + number(k.aslackThird) +
                   ", row_version=" + std::to_string(d.version + 1) + catalogueWhere(publ, year) +
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
    // A subscriber added or given more copies reopens the issues already expected.
    if (existed && intRefreshLineFinish(publ, year, no) < 0) return -1;
    long long copies = LibVar(d.sumCount()).integer();
    if (LIB_AddJobQty("502", 1, copies, LibVar(d.totalPrice).num() * copies) < 0) return -1;
    return LIB_WriteOpLog("50018", d.marcNo, publ, year, d.title + ":" + no);
}

// Inside the save's transaction: the edits that would leave check-in rows without their order
// once check-in has begun: a new order number, a subscriber removed, the copies of a subscriber
// with received items changed, and the frequency the issues were predicted with.
int checkInRefusals(const OrdDetail& d, std::vector<std::string>& out) {
    out.clear();
    std::string freqRefusal;
    if (intCheckInFreqRefusal(d.pub, d.ordYear, {{d.savedAsordNo, d.publFreq}}, freqRefusal) < 0)
        return -1;
    if (!freqRefusal.empty()) out.push_back(freqRefusal);
    const std::string key = " S.publ_code=" + LIB_SqlStr(d.pub) +
                            " AND S.peri_ord_year=" + LIB_SqlStr(d.ordYear) +
                            " AND S.asord_no=" + LIB_SqlStr(d.savedAsordNo);
    const std::string sameOrder =
        "V.publ_code=S.publ_code AND V.peri_ord_year=S.peri_ord_year AND V.asord_no=S.asord_no";
    LibArray rows;
    g_strSQL =
        "SELECT S.location, S.sub_peri_qty, (SELECT count(*) FROM m_peri_item I, m_peri_chk_vol "
        "V WHERE I.peri_id=V.peri_id AND " +
        sameOrder + " AND I.location=S.location), (SELECT " + strOrdCheckInBegunSql("V") +
        " FROM m_peri_ord_detl V WHERE " + sameOrder + ") FROM m_sub_ord_lst S WHERE" + key +
        " ORDER BY S.location";
    if (LIB_DB_Select(g_strSQL, rows) < 0) return -1;
    if (rows.recordCount() == 0 || rows(3, 2).integer() == 0) return 0;
    if (sqltext::trim(d.asordNo) != d.savedAsordNo)
        out.push_back(" 已经开始签收，不能修改征订号！");
    for (int r = 2; r < rows.rows(); ++r) {
        const std::string location = rows(0, r).str();
        auto it = std::find_if(d.subs.begin(), d.subs.end(),
                               [&](const OrdSubscriber& s) { return s.location == location; });
        if (it == d.subs.end())
            out.push_back(" 订户【" + location + "】已经开始签收，不能删除！");
        else if (rows(2, r).integer() > 0 && LibVar(it->count).integer() != rows(1, r).integer())
            out.push_back(" 订户【" + location + "】已有签收信息，不能修改复本数！");
    }
    return 0;
}

}  // namespace

std::string OrdDetail::sumCount() const {
    long long n = 0;
    for (const OrdSubscriber& s : subs)
        n += LibVar(s.count).integer();
    return std::to_string(n);
}

OrdDetail NewOrdDetail(const std::string& publ, const std::string& year) {
    OrdDetail d;
    d.pub = publ;
    d.ordYear = year;
    d.status = "0";
    d.newFlag = "0";
    d.sumCopies = "0";
    return d;
}

int intLoadOrdDetails(const std::string& publ, const std::string& year,
                      std::vector<OrdDetail>& out) {
    out.clear();
    std::string where =
        " WHERE A.publ_code=" + LIB_SqlStr(publ) + " AND A.peri_ord_year=" + LIB_SqlStr(year);
    std::string kept;
    for (const auto& [column, field] : kKeptColumns)
        kept += std::string(", A.") + column;
    // A number read back from NULL would be 0: these prices say whether they are empty.
    const std::pair<std::string OrdDetail::*, const char*> kNullablePrices[] = {
        {&OrdDetail::price, "peri_price"},
        {&OrdDetail::forePrice, "fore_price"},
        {&OrdDetail::foreTotalPrice, "fore_total_price"}};
    std::string emptyMarks;
    for (const auto& [field, column] : kNullablePrices)
        emptyMarks += std::string(", CASE WHEN A.") + column + " IS NULL THEN 1 ELSE 0 END";
    g_strSQL =
        "SELECT A.publ_code, A.peri_ord_year, A.asord_no, A.peri_type, A.ord_flag, M.m_title, "
        "M.m_isbn, M.m_publisher, M.m_pub_year, M.country_code, M.lang_code, A.end_ord_flag, "
        "A.marc_rec_no, A.new_ord_flag, A.fmt_asord_no, A.kind_no, A.peri_ord_qty, "
        "A.get_mode_code, A.carrier_code, A.publ_freq, A.money_code, A.peri_price, "
        "A.peri_total_price, A.fore_price, A.fore_total_price, A.remark, " +
        strOrdRowKeySql("A") + kept + emptyMarks + ", COALESCE(A.row_version,0)" +
        " FROM m_peri_ord_detl A LEFT JOIN marc M ON M.marc_rec_no=A.marc_rec_no" + where +
        " ORDER BY A.asord_no";
    LibArray rows;
    if (LIB_DB_SelectWide(g_strSQL, rows) < 0) return -1;
    const int nFields = static_cast<int>(std::size(kDetailFields));
    std::unordered_map<std::string, std::size_t> byNo;
    out.reserve(rows.recordCount());
    for (int r = 2; r < rows.rows(); ++r) {
        OrdDetail d;
        d.state = RowState::Unchanged;
        for (int c = 0; c < nFields; ++c)
            d.*kDetailFields[c] = rows(c, r).str();
        int c = nFields;
        for (const auto& [column, field] : kKeptColumns)
            d.kept.*field = rows(c++, r).str();
        for (const auto& [field, column] : kNullablePrices)
            if (rows(c++, r).num() == 1) (d.*field).clear();
        d.version = rows(c, r).integer();
        d.savedAsordNo = d.asordNo;
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
    auto add = [&](std::string m) {
        if (!m.empty()) e.push_back(std::move(m));
    };
    const std::string who = "订户【" + s.location + "】";
    if (blank(s.location)) e.push_back(" 必须选择订户！");
    add(strOrdCopiesError(s.count, who + "复本数"));
    if (s.funds.empty()) e.push_back(" " + who + "必须选择经费项目！");
    for (const OrdFundLine& f : s.funds) {
        // A line without a fund source would charge its money to no fund.
        if (blank(f.fundSrc)) e.push_back(" " + who + "经费项目不能为空！");
        const std::string line = who + "经费【" + f.fundSrc + "】";
        add(strOrdCopiesError(f.qty, line + "复本数"));
        add(strOrdAmountError(f.amount, line + "金额"));
    }
    if (s.chkFlag == "1") {
        if (s.dists.empty()) {
            e.push_back(" " + who + "签收必须选择分配地！");
        } else {
            bool counted = strOrdCopiesError(s.count, "").empty();
            long long sum = 0;
            for (const OrdDistLine& t : s.dists) {
                if (blank(t.distLoca)) e.push_back(" " + who + "分配地不能为空！");
                std::string m =
                    strOrdCopiesError(t.qty, who + "分配地【" + t.distLoca + "】分配数");
                counted = counted && m.empty();
                add(std::move(m));
                sum += LibVar(strOrdNumberText(t.qty)).integer();
            }
            if (counted && sum != LibVar(strOrdNumberText(s.count)).integer())
                e.push_back(" " + who +
                            (paneCheck ? "设定的复本数不符！" : "设定的复本数与分配数不符！"));
        }
    }
    return e;
}

std::vector<std::string> OrdDetailErrors(const OrdDetail& d) {
    struct Required {
        std::string OrdDetail::*field;
        const char* message;
    };
    static constexpr Required kRequired[] = {
        {&OrdDetail::asordNo, " 必须输入征订号！"},   {&OrdDetail::periType, " 必须选择订购状态！"},
        {&OrdDetail::getMode, " 必须选择获得方式！"}, {&OrdDetail::publFreq, " 必须选择出版频率！"},
        {&OrdDetail::carrier, " 必须选择载体类型！"}, {&OrdDetail::moneyType, " 必须选择币种！"},
        {&OrdDetail::totalPrice, " 必须输入总价！"}};
    std::vector<std::string> e;
    for (const Required& r : kRequired)
        if (blank(d.*r.field)) e.push_back(r.message);
    for (std::string& m : OrdPriceErrors(d))
        e.push_back(std::move(m));
    // A detail from a template makes its record at the save: it needs a title.
    if (blank(d.marcNo) && !d.newMarc.marcType.empty() && blank(d.newMarc.title))
        e.push_back(" 必须输入刊名！");
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
    NormalizeOrdNumbers(d);
    auto errors = OrdDetailErrors(d);
    if (!errors.empty()) {
        LIB_ShowMsg("E" + strOrdErrorText(errors, d.asordNo));
        return -1;
    }
    const std::string no = sqltext::trim(d.asordNo);
    d.asordNo = no;
    const bool existed = !d.savedAsordNo.empty();
    // A detail without a record gets one in the save's transaction: made from what the
    // librarian typed, or copied from the pre-order record of a title taken over.
    MarcRec made;
    if (intOrdRecordToMake(d, made) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    const std::string newRecNo = made.RecNo;
    // Refusals are shown once the transaction is rolled back, never while it holds locks.
    enum class Outcome { Saved, Failed, NumberTaken, RecordFailed, ChangedElsewhere, CheckInBegun };
    std::vector<std::string> refusals;
    Outcome outcome = [&] {
        DbTransaction tx;
        if (!tx.ok()) return Outcome::Failed;
        if (existed) {
            // Claims the version read with the detail; another save, a send or check-in since
            // then has moved it on, and this save would write their columns back.
            long long claimed = 0;
            g_strSQL = "UPDATE m_peri_ord_detl SET row_version=COALESCE(row_version,0)+1" +
                       catalogueWhere(d.pub, d.ordYear) +
                       " AND asord_no=" + LIB_SqlStr(d.savedAsordNo) +
                       " AND COALESCE(row_version,0)=" + std::to_string(d.version);
            if (dbExecuteCounted(g_strSQL, claimed) < 0) return Outcome::Failed;
            if (claimed != 1) return Outcome::ChangedElsewhere;
            if (checkInRefusals(d, refusals) < 0) return Outcome::Failed;
            if (!refusals.empty()) return Outcome::CheckInBegun;
        }
        if (!existed || d.savedAsordNo != no) {
            LibArray hit;
            g_strSQL = "  SELECT asord_no FROM m_peri_ord_detl " +
                       catalogueWhere(d.pub, d.ordYear) + " AND asord_no=" + LIB_SqlStr(no);
            if (LIB_DB_Select(g_strSQL, hit) < 0) return Outcome::Failed;
            if (hit.recordCount() > 0) return Outcome::NumberTaken;
        }
        if (!newRecNo.empty()) {
            if (!MarcSave(made, 1, 0, "")) return Outcome::RecordFailed;  // it reports itself
            d.marcNo = newRecNo;
        }
        if (writeDetail(d, existed) < 0 || tx.commit() < 0) {
            if (!newRecNo.empty()) d.marcNo = "";
            return Outcome::Failed;
        }
        return Outcome::Saved;
    }();
    if (outcome == Outcome::NumberTaken) LIB_ShowMsg("E该征订号已存在，请重新输入征订号！");
    if (outcome == Outcome::CheckInBegun) LIB_ShowMsg("E" + strOrdErrorText(refusals, no));
    if (outcome == Outcome::ChangedElsewhere)
        LIB_ShowMsg("E" + strOrdChangedElsewhere(d.savedAsordNo));
    if (outcome == Outcome::Failed) LIB_DB_ShowError();
    if (outcome != Outcome::Saved) return -1;
    d.sumCopies = d.sumCount();
    d.fAsordNo = strFormatAsordNo(no);
    d.key = strOrdRowKey(d.pub, d.ordYear, no, d.marcNo);
    if (!existed) d.status = "0";
    d.version = existed ? d.version + 1 : 0;
    d.savedAsordNo = no;
    d.state = RowState::Unchanged;
    d.temporary = false;
    d.newMarc = {};
    if (report) LIB_ShowMsg("I数据成功保存！");
    return 0;
}

void RecalcFundAmounts(OrdDetail& d) {
    const std::string total = d.totalPrice;
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
                             strOrdVersionBump() + catalogueWhere(publ, year) +
                             " AND asord_no=" + LIB_SqlStr(asordNo)});
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
        d.asordNo = rows(2, r).str();
        // The pre-order record is not a catalogue record: the detail gets its own at save.
        d.asordMarcRecNo = rows(3, r).str();
        d.country = rows(4, r).str();
        d.language = rows(5, r).str();
        d.price = rows(6, r).str();
        d.totalPrice = rows(7, r).str();
        d.carrier = rows(8, r).str();
        d.publFreq = rows(9, r).str();
        d.moneyType = rows(10, r).str();
        d.kindNo = rows(11, r).str();
        d.title = rows(12, r).str();
        d.issn = rows(13, r).str();
        d.publisher = rows(14, r).str();
        d.pubYear = rows(15, r).str();
        d.fAsordNo = strFormatAsordNo(d.asordNo);
        out.push_back(std::move(d));
    }
    return 0;
}

int intUpdateOrdPrice(const std::string& publ, const std::string& year, const std::string& asordNo,
                      const std::string& price, const std::string& totalPrice) {
    std::string key = catalogueWhere(publ, year) + " AND asord_no=" + LIB_SqlStr(asordNo);
    return runInTransaction(
        {"update m_peri_ord_detl set peri_price = " + number(price) +
             ", peri_total_price=" + number(totalPrice) + strOrdVersionBump() + key,
         "update m_peri_sub_fund_out set sub_amt=" + number(totalPrice) + "*sub_qty" + key});
}

int intUpdateOrdFreq(const std::string& publ, const std::string& year, const std::string& asordNo,
                     const std::string& freqName) {
    std::string refusal;
    const bool written = [&] {
        DbTransaction tx;
        if (!tx.ok() || intCheckInFreqRefusal(publ, year, {{asordNo, freqName}}, refusal) < 0 ||
            !refusal.empty())
            return false;
        g_strSQL = "update m_peri_ord_detl set publ_freq = " + LIB_SqlStr(freqName) +
                   strOrdVersionBump() + catalogueWhere(publ, year) +
                   " AND asord_no=" + LIB_SqlStr(asordNo);
        return LIB_DB_Execute(g_strSQL) >= 0 && tx.commit() >= 0;
    }();
    if (written) return 0;
    if (refusal.empty())
        LIB_DB_ShowError();
    else
        LIB_ShowMsg("E" + refusal);
    return -1;
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
    constexpr std::string OrdDetail::*kFields[] = {
        &OrdDetail::asordNo,   &OrdDetail::title,      &OrdDetail::issn,     &OrdDetail::publisher,
        &OrdDetail::price,     &OrdDetail::totalPrice, &OrdDetail::publFreq, &OrdDetail::carrier,
        &OrdDetail::moneyType, &OrdDetail::kindNo,     &OrdDetail::remark,   &OrdDetail::marcNo,
        &OrdDetail::key};
    for (int r = 2; r < rows.rows(); ++r) {
        OrdDetail d;
        d.state = RowState::Unchanged;
        for (int c = 0; c < static_cast<int>(std::size(kFields)); ++c)
            d.*kFields[c] = rows(c, r).str();
        d.savedAsordNo = d.asordNo;
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
        t.annual += LibVar(d.totalPrice).num() * static_cast<double>(copies);
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
