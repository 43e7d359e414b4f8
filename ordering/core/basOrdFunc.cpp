// Shared ordering routines. Catalogue writes run in one transaction each, with the order-tree
// operation logged (50016) before the commit so that a rolled-back change leaves no log row.
#include "ordering/core/basOrdFunc.h"

#include <cctype>
#include <map>
#include <set>

#include "common/OperatorState.h"
#include "common/basCodeFunc.h"
#include "common/basLibOpLog.h"
#include "db/DbTransaction.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/core/MarcSearch.h"
#include "marc/core/SearchInput.h"

namespace {

bool allDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// Picture "0000": a number of up to four digits gets leading zeros, anything else stays.
std::string picture4(const std::string& s) {
    if (!allDigits(s) || s.size() >= 4) return s;
    return std::string(4 - s.size(), '0') + s;
}

// Empty when the server date could not be read (the failure is then in g_ErrInfo).
std::string today() {
    return LIB_DB_GetServerDate().substr(0, 10);
}

// Runs the statements of `work` in one transaction with the tree operation logged; a failure
// is shown once the transaction is rolled back.
template <typename Work>
int inTransaction(const std::string& logKey, Work work) {
    {
        DbTransaction tx;
        if (tx.ok() && work() >= 0 && LIB_WriteOpLog("50016", logKey) >= 0 && tx.commit() == 0)
            return 0;
    }
    LIB_DB_ShowError();
    return -1;
}

std::string cataKey(const std::string& publ, const std::string& year) {
    return LIB_SqlStr(publ) + "," + LIB_SqlStr(year);
}

}  // namespace

std::string strFormatAsordNo(const std::string& asordNo) {
    auto dash = asordNo.find('-');
    if (dash == std::string::npos || dash < 1 || dash > 4) return asordNo;
    return picture4(asordNo.substr(0, dash)) + "-" + picture4(asordNo.substr(dash + 1));
}

std::string strOrdRowKey(const std::string& publ, const std::string& year,
                         const std::string& asordNo, const std::string& marcNo) {
    return publ + "|" + year + "|" + asordNo + "|" + marcNo;
}

std::string strOrdRowKeySql(const std::string& a) {
    return a + ".publ_code||'|'||" + a + ".peri_ord_year||'|'||" + a + ".asord_no||'|'||nvl(" + a +
           ".marc_rec_no,'')";
}

std::string strAsordRowKeySql(const std::string& a) {
    return a + ".publ_code||'|'||" + a + ".publ_year_month||'|'||" + a + ".asord_no||'|'||nvl(" +
           a + ".asord_marc_rec_no,'')";
}

OrdRowKey SplitOrdRowKey(const std::string& key) {
    auto parts = LIB_Split(key, "|");
    parts.resize(4);
    return {parts[0], parts[1], parts[2], parts[3]};
}

int intLookBackDetl(const std::string& year, const std::string& asordNo, LibArray& row) {
    std::string same = " asord_no=" + LIB_SqlStr(asordNo) +
                       " AND ord_flag<>'0' AND peri_ord_year<>" + LIB_SqlStr(year);
    g_strSQL =
        "SELECT publ_code, peri_ord_year, fst_rece_date, qty_of_year, chk_bgn_date, days_of_items, "
        "attachment, qty_of_vol, aslack_ysno, days_of_aslack, aslack_second, aslack_third, "
        "bind_item_qty, book_size_code FROM m_peri_ord_detl WHERE" +
        same + " AND peri_ord_year=(SELECT max(peri_ord_year) FROM m_peri_ord_detl WHERE" + same +
        ") ORDER BY publ_code";
    return LIB_DB_Select(g_strSQL, row);
}

std::string strDecimalTimes(const std::string& value, long long n) {
    std::string v = sqltext::trim(value);
    bool negative = !v.empty() && v[0] == '-';
    if (negative) v.erase(0, 1);
    auto point = v.find('.');
    std::string whole = v.substr(0, point),
                frac = point == std::string::npos ? "" : v.substr(point + 1);
    if ((whole.empty() && frac.empty()) || (!whole.empty() && !allDigits(whole)) ||
        (!frac.empty() && !allDigits(frac)) || whole.size() + frac.size() > 15)
        return "";
    long long units = std::stoll(whole + frac + (whole.empty() && frac.empty() ? "0" : "")) * n;
    std::string digits = std::to_string(units < 0 ? -units : units);
    if (units < 0) negative = !negative;
    if (digits.size() <= frac.size()) digits.insert(0, frac.size() - digits.size() + 1, '0');
    std::string out = digits.substr(0, digits.size() - frac.size());
    std::string dec = digits.substr(digits.size() - frac.size());
    while (!dec.empty() && dec.back() == '0')
        dec.pop_back();
    if (!dec.empty()) out += "." + dec;
    return (negative && out != "0" ? "-" : "") + out;
}

std::string strAnnualPrice(const std::string& price, const std::string& freqName,
                           const std::string& ordYear) {
    if (sqltext::trim(price).empty() || freqName.empty()) return "";
    int n = LIB_IssuesPerYear(freqName, static_cast<int>(LibVar(ordYear.substr(0, 4)).num()));
    return n > 0 ? strDecimalTimes(price, n) : "";
}

int intGetOrdCata(const std::string& fromYear, const std::string& toYear, LibArray& rows) {
    g_strSQL =
        "SELECT A.publ_code, nvl(B.publ_name,''), A.peri_ord_year, A.peri_ord_date, "
        "A.peri_ord_flag, (SELECT count(*) FROM m_peri_ord_detl D WHERE D.publ_code=A.publ_code "
        "AND D.peri_ord_year=A.peri_ord_year) FROM m_peri_ord_lst A LEFT JOIN publish_busi B ON "
        "B.publ_code=A.publ_code WHERE A.peri_ord_flag in ('0','1')";
    if (!fromYear.empty()) g_strSQL += " AND A.peri_ord_year>=" + LIB_SqlStr(fromYear);
    if (!toYear.empty()) g_strSQL += " AND A.peri_ord_year<=" + LIB_SqlStr(toYear);
    g_strSQL += " ORDER BY A.peri_ord_year, A.publ_code";
    return LIB_DB_Select(g_strSQL, rows);
}

bool IsValidOrdYear(const std::string& year) {
    return year.size() == 6 && allDigits(year);
}

int intNewOrdCata(const std::string& publ, const std::string& year) {
    if (publ.empty() || !IsValidOrdYear(year)) {
        LIB_ShowMsg("E请选择发行商并输入六位年度批次（年份四位加批次两位）！");
        return -1;
    }
    return inTransaction(publ + "|" + year, [&] {
        const std::string date = today();
        if (date.empty()) return -1;
        g_strSQL = "insert_m_peri_ord_lst " + cataKey(publ, year) + "," + LIB_SqlStr(date) + "," +
                   LIB_SqlStr(g_strWkrNo) + ",'0'";
        return LIB_DB_CallProc(g_strSQL);
    });
}

int intEnsureOrdCata(const std::string& publ, const std::string& year) {
    if (publ.empty() || !IsValidOrdYear(year)) {
        LIB_ShowMsg("E请选择发行商并输入六位年度批次（年份四位加批次两位）！");
        return -1;
    }
    const std::string date = today();
    if (date.empty()) {
        LIB_DB_ShowError();
        return -1;
    }
    {
        DbTransaction tx;
        long long created = 0;
        g_strSQL =
            "INSERT INTO m_peri_ord_lst (publ_code, peri_ord_year, peri_ord_date, "
            "resp_wkr, peri_ord_flag) VALUES (" +
            cataKey(publ, year) + "," + LIB_SqlStr(date) + "," + LIB_SqlStr(g_strWkrNo) +
            ",'0') ON CONFLICT (publ_code, peri_ord_year) DO NOTHING";
        if (tx.ok() && dbExecuteCounted(g_strSQL, created) == 0 &&
            (created == 0 || LIB_WriteOpLog("50016", publ + "|" + year) == 0) && tx.commit() == 0)
            return 0;
    }
    LIB_DB_ShowError();
    return -1;
}

int intRenameOrdCata(const std::string& publ, const std::string& year, const std::string& newPubl,
                     const std::string& newYear) {
    if (newPubl.empty() || !IsValidOrdYear(newYear)) {
        LIB_ShowMsg("E请选择发行商并输入六位年度批次（年份四位加批次两位）！");
        return -1;
    }
    return inTransaction(newPubl + "|" + newYear, [&] {
        const std::string date = today();
        if (date.empty()) return -1;
        g_strSQL = "update_m_whole_ordlst " + cataKey(publ, year) + "," +
                   cataKey(newPubl, newYear) + "," + LIB_SqlStr(date) + "," +
                   LIB_SqlStr(g_strWkrNo) + ",'0'";
        return LIB_DB_CallProc(g_strSQL);
    });
}

int intDeleteOrdCata(const std::string& publ, const std::string& year, bool ask) {
    if (ask && LIB_ShowMsg("Q是否删除订购目录") != kMsgOk) return 1;
    LibArray state;
    g_strSQL =
        "SELECT A.peri_ord_flag, (SELECT count(*) FROM m_peri_ord_detl D WHERE "
        "D.publ_code=A.publ_code AND D.peri_ord_year=A.peri_ord_year) FROM m_peri_ord_lst A "
        "WHERE A.publ_code=" +
        LIB_SqlStr(publ) + " AND A.peri_ord_year=" + LIB_SqlStr(year);
    if (LIB_DB_Select(g_strSQL, state) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    if (state.recordCount() > 0 && state(0, 2).str() == "1" && state(1, 2).num() > 0) {
        LIB_ShowMsg("E已经发订，且不为空，不可删除！");
        return -1;
    }
    LibArray recs;
    g_strSQL =
        "SELECT DISTINCT marc_rec_no FROM m_peri_ord_detl WHERE publ_code=" + LIB_SqlStr(publ) +
        " AND peri_ord_year=" + LIB_SqlStr(year);
    if (LIB_DB_Select(g_strSQL, recs) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    std::vector<std::string> recNos;
    for (int r = 2; r < recs.rows(); ++r)
        recNos.push_back(recs(0, r).str());
    return inTransaction(publ + "|" + year, [&] {
        g_strSQL = "delete02_m_peri_ord_lst " + cataKey(publ, year);
        if (LIB_DB_CallProc(g_strSQL) < 0) return -1;
        return intDeleteUnorderedMarc(recNos);
    });
}

int intGetSubAcct(LibArray& rows) {
    g_strSQL =
        "SELECT A.location, A.fund_src_code, nvl(B.fund_src_name,'') FROM sub_acct A LEFT JOIN "
        "fund_src_code B ON B.fund_src_code=A.fund_src_code WHERE A.use_flag='1' ORDER BY "
        "A.location, A.fund_src_code";
    return LIB_DB_Select(g_strSQL, rows);
}

std::string strOrdGridText(const std::string& key, const std::string& value) {
    if (key == "PeriType") return strPeriStatusName(value);
    if (key == "Status") return strOrderStateName(value);
    if (key == "NewFlag") return strSubKindName(value);
    if (key == "EndFlag") return strFlagMark(value);
    const LibArray* table = key == "GetMode"     ? &g_arrGetMode
                            : key == "Carrier"   ? &g_arrCarrier
                            : key == "MoneyType" ? &g_arrMoneyType
                            : key == "Country"   ? &g_arrCountry
                            : key == "Language"  ? &g_arrLanguage
                                                 : nullptr;
    if (!table) return value;
    std::string name = LIB_CodeName(*table, value);
    return name.empty() ? value : name;
}

int intDeleteUnorderedMarc(const std::vector<std::string>& recNos) {
    // The records some other detail still orders, found in one query, are kept.
    std::string list;
    for (const std::string& recNo : recNos)
        if (!sqltext::trim(recNo).empty()) list += (list.empty() ? "" : ",") + LIB_SqlStr(recNo);
    if (list.empty()) return 0;
    LibArray still;
    g_strSQL =
        "SELECT DISTINCT marc_rec_no FROM m_peri_ord_detl WHERE marc_rec_no IN (" + list + ")";
    if (LIB_DB_Select(g_strSQL, still) < 0) return -1;
    std::set<std::string> ordered;
    for (int r = 2; r < still.rows(); ++r)
        ordered.insert(still(0, r).str());
    std::set<std::string> done;
    for (const std::string& recNo : recNos) {
        if (sqltext::trim(recNo).empty() || ordered.count(recNo) || !done.insert(recNo).second)
            continue;
        g_strSQL = "BM_DeleteWholeMarc " + LIB_SqlStr(recNo);
        if (LIB_DB_CallProc(g_strSQL) < 0) return -1;
    }
    return 0;
}

int intOrdMarcFind(const std::string& text, LibArray& rows) {
    // Something shaped like an ISSN is one, however it was typed.
    if (std::string issn = MarcIssnInput(text); !issn.empty())
        return MarcIndexSearch("03", issn, rows);
    if (!MarcIsbnInput(text).empty()) return MarcIndexSearch(kMarcIsbnGroup, text, rows);
    for (const char* group : {"01", "03", "02"}) {
        if (MarcIndexSearch(group, text, rows) < 0) return -1;
        if (rows.recordCount() > 0) return 0;
    }
    return 0;
}

int intOrdCheckRepeat(const std::string& publ, const std::string& year, const std::string& asordNo,
                      const std::string& marcNo, const std::string& title,
                      std::vector<std::string>& findings) {
    findings.clear();
    LibArray same;
    if (!title.empty()) {
        if (MarcIndexSearch("01", title, same) < 0) return -1;
        for (int r = 2; r < same.rows(); ++r)
            if (same(0, r).str() != marcNo && same(1, r).str() == title)
                findings.push_back("书目记录 " + same(0, r).str() + " " + same(1, r).str());
    }
    if (marcNo.empty()) return 0;
    LibArray others;
    g_strSQL =
        "SELECT publ_code, peri_ord_year, asord_no FROM m_peri_ord_detl WHERE marc_rec_no=" +
        LIB_SqlStr(marcNo) + " AND substr(peri_ord_year,1,4)=" + LIB_SqlStr(year.substr(0, 4)) +
        " AND NOT (publ_code=" + LIB_SqlStr(publ) + " AND peri_ord_year=" + LIB_SqlStr(year) +
        " AND asord_no=" + LIB_SqlStr(asordNo) + ") ORDER BY peri_ord_year, publ_code, asord_no";
    if (LIB_DB_Select(g_strSQL, others) < 0) return -1;
    for (int r = 2; r < others.rows(); ++r)
        findings.push_back("订购明细 " + others(0, r).str() + " " + others(1, r).str() + " " +
                           others(2, r).str());
    return 0;
}

std::string strOrdVersionBump() {
    return ", row_version=COALESCE(row_version,0)+1";
}

std::string strOrdChangedElsewhere(const std::string& asordNo) {
    return "订购号为：" + asordNo + "的记录已被其他工作站修改或删除，请刷新后重新修改！";
}

std::string strOrdCheckInBegunSql(const std::string& a) {
    return "CASE WHEN " + a +
           ".ord_flag IN ('2','3') OR EXISTS (SELECT 1 FROM m_peri_chk_vol V "
           "WHERE V.publ_code=" +
           a + ".publ_code AND V.peri_ord_year=" + a + ".peri_ord_year AND V.asord_no=" + a +
           ".asord_no) THEN 1 ELSE 0 END";
}

int intCheckInFreqRefusal(const std::string& publ, const std::string& year,
                          const std::vector<OrdFreqChange>& changes, std::string& refusal,
                          std::vector<std::string>* held) {
    refusal.clear();
    if (held) held->clear();
    if (changes.empty()) return 0;
    std::string numbers;
    for (const OrdFreqChange& c : changes)
        numbers += (numbers.empty() ? "" : ",") + LIB_SqlStr(c.asordNo);
    LibArray rows;
    g_strSQL = "SELECT A.asord_no, A.publ_freq, " + strOrdCheckInBegunSql("A") +
               " FROM m_peri_ord_detl A WHERE A.publ_code=" + LIB_SqlStr(publ) +
               " AND A.peri_ord_year=" + LIB_SqlStr(year) + " AND A.asord_no IN (" + numbers + ")";
    if (LIB_DB_Select(g_strSQL, rows) < 0) return -1;
    std::map<std::string, std::string> heldFreq;
    for (int r = 2; r < rows.rows(); ++r)
        if (rows(2, r).integer() == 1) heldFreq[rows(0, r).str()] = sqltext::trim(rows(1, r).str());
    std::string begun;
    for (const OrdFreqChange& c : changes) {
        auto it = heldFreq.find(c.asordNo);
        if (it == heldFreq.end() || it->second == sqltext::trim(c.freq)) continue;
        begun += (begun.empty() ? "" : "、") + c.asordNo;
        if (held) held->push_back(c.asordNo);
    }
    if (!begun.empty()) refusal = "订购号为：" + begun + "的记录已经开始签收，不能修改出版频率！";
    return 0;
}

std::string strLocationLabelSql(const std::string& line, const std::string& location) {
    return "(SELECT MIN(d.label||'') FROM m_peri_ord_dist_lst d WHERE d.publ_code=" + line +
           ".publ_code AND d.peri_ord_year=" + line + ".peri_ord_year AND d.asord_no=" + line +
           ".asord_no AND d.location=" + location + ")";
}

int intRefreshIssueLack(const std::string& issueWhere) {
    const bool all = issueWhere.empty();
    const std::string issues = all ? std::string("m_peri_chk_vol")
                                   : "(SELECT * FROM m_peri_chk_vol WHERE " + issueWhere + ")";
    const std::string stale =
        all ? std::string()
            : " WHERE peri_id IN (SELECT peri_id FROM m_peri_chk_vol WHERE " + issueWhere + ")";
    const std::string claims =
        " FROM m_aslack_rec r WHERE r.peri_id=s.peri_id AND r.location=s.location)";
    // The issue's own columns go along, for the claim search to read without looking it up.
    auto copied = [](const std::string& from) {
        std::string out;
        for (const char* c : {"publ_code", "peri_ord_year", "asord_no", "peri_no", "publ_year",
                              "cover_vol", "cover_issue", "expect_date", "aslack_date"})
            out += "," + from + c;
        return out;
    };
    // The copies are counted in an inner step kept apart by a LIMIT no library reaches, so that
    // neither database counts them again for the comparison.
    const std::string owed =
        "INSERT INTO m_peri_chk_lack(peri_id,location,sub_qty,rece_qty,aslack_cnt,aslack_last,"
        "label" +
        copied("") + ") SELECT s.peri_id,s.location,s.sub_peri_qty,s.rece_qty,(SELECT COUNT(*)" +
        claims + ",(SELECT MAX(r.aslack_detl_date)" + claims + "," +
        strLocationLabelSql("s", "s.location") + copied("s.") +
        " FROM (SELECT a.peri_id,c.location,c.sub_peri_qty,(SELECT COUNT(*) FROM m_peri_item i"
        " WHERE i.peri_id=a.peri_id AND i.location=c.location) AS rece_qty" +
        copied("a.") + " FROM " + issues +
        " a,m_sub_ord_lst c WHERE c.publ_code=a.publ_code AND c.peri_ord_year=a.peri_ord_year"
        " AND c.asord_no=a.asord_no AND a.finish_flag='0' LIMIT 2147483647) s"
        " WHERE s.sub_peri_qty>s.rece_qty";
    if (LIB_DB_Execute("DELETE FROM m_peri_chk_lack" + stale) < 0) return -1;
    return LIB_DB_Execute(owed) < 0 ? -1 : 0;
}

int intRefreshIssueFinish(const std::string& issueWhere) {
    const std::string subscribers =
        "SELECT 1 FROM m_sub_ord_lst s WHERE s.publ_code=m_peri_chk_vol.publ_code"
        " AND s.peri_ord_year=m_peri_chk_vol.peri_ord_year"
        " AND s.asord_no=m_peri_chk_vol.asord_no AND s.chk_stat='1'";
    return LIB_DB_Execute("UPDATE m_peri_chk_vol SET finish_flag=CASE WHEN NOT EXISTS (" +
                          subscribers + ") OR EXISTS (" + subscribers +
                          " AND s.sub_peri_qty>(SELECT COUNT(*) FROM m_peri_item i"
                          " WHERE i.peri_id=m_peri_chk_vol.peri_id AND i.location=s.location))"
                          " THEN '0' ELSE '1' END WHERE " +
                          issueWhere) < 0
               ? -1
               : intRefreshIssueLack(issueWhere);
}

int intRefreshLineFinish(const std::string& publ, const std::string& year,
                         const std::string& asordNo) {
    return intRefreshIssueFinish("publ_code=" + LIB_SqlStr(publ) + " AND peri_ord_year=" +
                                 LIB_SqlStr(year) + " AND asord_no=" + LIB_SqlStr(asordNo));
}
