#include "ordering/core/OrdSend.h"

#include <map>

#include "db/DbTransaction.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/basOrdFunc.h"

namespace {

std::string catalogueWhere(const std::string& publ, const std::string& year) {
    return " WHERE publ_code=" + LIB_SqlStr(publ) + " AND peri_ord_year=" + LIB_SqlStr(year);
}

std::string inList(const std::vector<std::string>& values) {
    std::string out;
    for (const std::string& v : values)
        out += (out.empty() ? "(" : ",") + LIB_SqlStr(v);
    return out + ")";
}

// A value read from the database written back as a literal; empty text is NULL, which number
// columns need on PostgreSQL.
std::string literal(const std::string& v) {
    return sqltext::trim(v).empty() ? std::string("NULL") : LIB_SqlStr(v);
}

// Order numbers of the named details whose ord_flag is one of `states`.
int detailsInState(const std::string& publ, const std::string& year,
                   const std::vector<std::string>& asordNos, const std::string& states,
                   std::vector<std::string>& out) {
    out.clear();
    if (asordNos.empty()) return 0;
    LibArray rows;
    g_strSQL = "SELECT asord_no FROM m_peri_ord_detl" + catalogueWhere(publ, year) +
               " AND asord_no IN " + inList(asordNos) + " AND ord_flag IN " + states +
               " ORDER BY asord_no";
    if (LIB_DB_Select(g_strSQL, rows) < 0) return -1;
    for (int r = 2; r < rows.rows(); ++r)
        out.push_back(rows(0, r).str());
    return 0;
}

// Columns a send carries over from the earlier batch, in the look-back's select order.
const char* const kCarried[] = {"fst_rece_date", "qty_of_year",  "chk_bgn_date",  "days_of_items",
                                "attachment",    "qty_of_vol",   "aslack_ysno",   "days_of_aslack",
                                "aslack_second", "aslack_third", "bind_item_qty", "book_size_code"};

// The earlier sent batch of each order number: its distributor and batch, then the carried
// columns. When one batch holds the number under several distributors, the sending one wins.
int lookBack(const std::string& publ, const std::string& year,
             const std::vector<std::string>& asordNos,
             std::map<std::string, std::vector<std::string>>& out) {
    std::string cols;
    for (const char* c : kCarried)
        cols += std::string(", B.") + c;
    const std::string other = " ord_flag<>'0' AND peri_ord_year<>" + LIB_SqlStr(year);
    g_strSQL = "SELECT B.asord_no, B.publ_code, B.peri_ord_year" + cols +
               " FROM m_peri_ord_detl B WHERE B.asord_no IN " + inList(asordNos) + " AND B." +
               other +
               " AND B.peri_ord_year=(SELECT max(C.peri_ord_year) FROM m_peri_ord_detl C WHERE "
               "C.asord_no=B.asord_no AND C." +
               other + ") ORDER BY B.asord_no, CASE WHEN B.publ_code=" + LIB_SqlStr(publ) +
               " THEN 0 ELSE 1 END, B.publ_code";
    LibArray rows;
    if (LIB_DB_Select(g_strSQL, rows) < 0) return -1;
    for (int r = 2; r < rows.rows(); ++r) {
        auto& row = out[rows(0, r).str()];
        if (!row.empty()) continue;
        for (int c = 1; c < rows.cols(); ++c)
            row.push_back(rows(c, r).str());
    }
    return 0;
}

const char* const kCfgCopied =
    "auto_update_loca, beg_vol, beg_issue, beg_total_issue, bind_ysno, bind_copy_qty, "
    "pres_copy_qty, exch_copy_qty, issue_keep_qty, color, frame, issue_continue, vol_beg_issue";

// The detail's check-in settings and state, then one configuration row per subscriber that
// checks in: copied from the earlier batch's row of that location when there is one.
bool sendOne(const std::string& publ, const std::string& year, const std::string& asordNo,
             const std::vector<std::string>* earlier) {
    const std::string y = year.substr(0, 4);
    const std::string key = catalogueWhere(publ, year) + " AND asord_no=" + LIB_SqlStr(asordNo);
    std::string set;
    if (earlier) {
        for (std::size_t i = 0; i < std::size(kCarried); ++i) {
            std::string v = (*earlier)[i + 2];
            const std::string col = kCarried[i];
            if (col == "fst_rece_date" && sqltext::trim(v).empty()) v = "1";
            if (col == "chk_bgn_date") v = strCarriedChkBgnDate(v, year);
            if (col == "aslack_ysno" && sqltext::trim(v).empty()) v = "1";
            set += col + "=" + literal(v) + ", ";
        }
    } else {
        set = "fst_rece_date='1', chk_bgn_date=" + LIB_SqlStr(y + "-01-01") + ", aslack_ysno='1', ";
    }
    if (LIB_DB_Execute("UPDATE m_peri_ord_detl SET " + set + "ord_flag='1'" + strOrdVersionBump() +
                       key) < 0)
        return false;
    const std::string cfgKey = " S.publ_code=" + LIB_SqlStr(publ) +
                               " AND S.peri_ord_year=" + LIB_SqlStr(year) +
                               " AND S.asord_no=" + LIB_SqlStr(asordNo) + " AND S.chk_stat='1'";
    const std::string missing =
        " AND NOT EXISTS (SELECT 1 FROM m_peri_chk_cfg X WHERE X.publ_code=S.publ_code AND "
        "X.peri_ord_year=S.peri_ord_year AND X.asord_no=S.asord_no AND X.location=S.location)";
    const std::string head =
        "INSERT INTO m_peri_chk_cfg (publ_code, peri_ord_year, asord_no, location, begin_date, "
        "end_date, finish_flag, ";
    const std::string period = LIB_SqlStr(y + "-01-01") + ", " + LIB_SqlStr(y + "-12-31") + ", '0'";
    if (earlier) {
        std::string copied;
        for (std::string c : sqltext::split(kCfgCopied, ','))
            copied += ", C." + sqltext::trim(c);
        g_strSQL = head + kCfgCopied +
                   ") SELECT S.publ_code, S.peri_ord_year, S.asord_no, S.location, " + period +
                   copied +
                   " FROM m_sub_ord_lst S JOIN m_peri_chk_cfg C ON C.location=S.location AND "
                   "C.publ_code=" +
                   LIB_SqlStr((*earlier)[0]) + " AND C.peri_ord_year=" + LIB_SqlStr((*earlier)[1]) +
                   " AND C.asord_no=S.asord_no WHERE" + cfgKey + missing;
        if (LIB_DB_Execute(g_strSQL) < 0) return false;
    }
    g_strSQL = head +
               "auto_update_loca, bind_ysno, bind_copy_qty) SELECT S.publ_code, S.peri_ord_year, "
               "S.asord_no, S.location, " +
               period + ", '1', '1', S.sub_peri_qty FROM m_sub_ord_lst S WHERE" + cfgKey + missing;
    return LIB_DB_Execute(g_strSQL) == 0;
}

int finish(bool ok, DbTransaction& tx) {
    if (ok && tx.commit() == 0) return 0;
    tx.rollback();
    LIB_DB_ShowError();
    return -1;
}

}  // namespace

std::string strCarriedChkBgnDate(const std::string& earlier, const std::string& year) {
    const std::string y = year.substr(0, 4);
    const std::string d = sqltext::trim(earlier);
    auto digits = [&](std::size_t from, std::size_t n) {
        for (std::size_t i = from; i < from + n; ++i)
            if (i >= d.size() || d[i] < '0' || d[i] > '9') return false;
        return true;
    };
    if (d.size() != 10 || !digits(0, 4) || d[4] != '-' || !digits(5, 2) || d[7] != '-' ||
        !digits(8, 2))
        return y + "-01-01";
    const int month = std::stoi(d.substr(5, 2)), day = std::stoi(d.substr(8, 2));
    if (month < 1 || month > 12 || day < 1 || day > 31) return y + "-01-01";
    const int yy = std::stoi(y);
    const bool leap = (yy % 4 == 0 && yy % 100 != 0) || yy % 400 == 0;
    if (month == 2 && day == 29 && !leap) return y + "-02-28";
    return y + d.substr(4);
}

int intSendOrdDetails(const std::string& publ, const std::string& year,
                      const std::vector<std::string>& asordNos, OrdSendResult& result, bool ask) {
    result = {};
    if (ask && LIB_ShowMsg("Q是否确认发订选择订购明细") != kMsgOk) return 1;
    DbTransaction tx;
    bool ok = tx.ok();
    std::vector<std::string> toSend;
    std::map<std::string, std::vector<std::string>> earlier;
    ok = ok && detailsInState(publ, year, asordNos, "('0')", toSend) == 0;
    ok = ok && (toSend.empty() || lookBack(publ, year, toSend, earlier) == 0);
    for (const std::string& no : toSend) {
        if (!ok) break;
        auto it = earlier.find(no);
        ok = sendOne(publ, year, no, it == earlier.end() ? nullptr : &it->second);
    }
    if (ok && !toSend.empty())
        ok = LIB_DB_Execute("UPDATE m_peri_ord_lst SET peri_ord_flag='1'" +
                            catalogueWhere(publ, year)) == 0;
    LibArray state;
    ok =
        ok && LIB_DB_Select("SELECT peri_ord_flag FROM m_peri_ord_lst" + catalogueWhere(publ, year),
                            state) == 0;
    if (finish(ok, tx) < 0) return -1;
    result.changed = toSend;
    result.catalogueSent = state.recordCount() > 0 && state(0, 2).str() == "1";
    return 0;
}

int intUnsendOrdDetails(const std::string& publ, const std::string& year,
                        const std::vector<std::string>& asordNos, OrdSendResult& result, bool ask) {
    result = {};
    if (ask && LIB_ShowMsg("Q是否确认取消发订选择订购明细") != kMsgOk) return 1;
    DbTransaction tx;
    bool ok = tx.ok();
    std::vector<std::string> sent;
    ok = ok && detailsInState(publ, year, asordNos, "('1')", sent) == 0;
    if (ok && !sent.empty()) {
        const std::string keys = catalogueWhere(publ, year) + " AND asord_no IN " + inList(sent);
        ok = LIB_DB_Execute("UPDATE m_peri_ord_detl SET ord_flag='0'" + strOrdVersionBump() +
                            keys) == 0 &&
             LIB_DB_Execute("DELETE FROM m_peri_chk_cfg" + keys) == 0;
    }
    LibArray left;
    ok = ok && LIB_DB_Select("SELECT count(*) FROM m_peri_ord_detl" + catalogueWhere(publ, year) +
                                 " AND ord_flag>'0'",
                             left) == 0;
    const bool stillSent = ok && left.recordCount() > 0 && left(0, 2).integer() > 0;
    if (ok && !stillSent)
        ok = LIB_DB_Execute("UPDATE m_peri_ord_lst SET peri_ord_flag='0'" +
                            catalogueWhere(publ, year)) == 0;
    if (finish(ok, tx) < 0) return -1;
    result.changed = sent;
    result.catalogueSent = stillSent;
    return 0;
}

int intGetOrdChkProgress(const std::string& publ, const std::string& year,
                         const std::vector<std::string>& asordNos,
                         std::vector<OrdChkProgress>& out) {
    out.clear();
    if (asordNos.empty()) return 0;
    // An issue counts as checked in when its received copies reach the detail's total.
    g_strSQL =
        "SELECT D.asord_no, count(V.peri_id), sum(CASE WHEN (SELECT count(*) FROM m_peri_item I "
        "WHERE I.peri_id=V.peri_id)=D.peri_ord_qty THEN 1 ELSE 0 END) FROM m_peri_ord_detl D "
        "LEFT JOIN m_peri_chk_vol V ON V.publ_code=D.publ_code AND "
        "V.peri_ord_year=D.peri_ord_year AND V.asord_no=D.asord_no WHERE D.publ_code=" +
        LIB_SqlStr(publ) + " AND D.peri_ord_year=" + LIB_SqlStr(year) + " AND D.asord_no IN " +
        inList(asordNos) + " AND D.ord_flag<>'0' GROUP BY D.asord_no ORDER BY D.asord_no";
    LibArray rows;
    if (LIB_DB_Select(g_strSQL, rows) < 0) return -1;
    for (int r = 2; r < rows.rows(); ++r)
        out.push_back({rows(0, r).str(), static_cast<int>(rows(1, r).integer()),
                       static_cast<int>(rows(2, r).integer())});
    return 0;
}

std::string strOrdChkProgress(const OrdChkProgress& p) {
    return "开始签收，未完成（已订" + std::to_string(p.ordered) + "期，已签" +
           std::to_string(p.checkedIn) + "期）";
}
