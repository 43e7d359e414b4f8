// The candidate search is one statement over the copies still owed (m_peri_chk_lack), which
// the writers of copies, subscribers, issues and claims keep with each open issue's received
// copies and claims, so a whole library is read without counting anything; only the date
// arithmetic of the claim intervals is done here, on the rows the statement returns.
#include "checkin/core/basChkClaim.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>

#include "common/Mailer.h"
#include "common/OperatorState.h"
#include "common/XlsxWriter.h"
#include "common/basLibOpLog.h"
#include "common/basQKEnv.h"
#include "db/DbTransaction.h"
#include "db/LargeRead.h"
#include "db/RawSelect.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/core/MarcSearch.h"
#include "ordering/core/basOrdFunc.h"

namespace {

const char* const kClaimLog = "50032";

int toInt(const LibVar& v) {
    return v.isNumber() || !v.str().empty() ? static_cast<int>(v.num()) : 0;
}

std::string joinedKeys(const std::vector<std::string>& codes) {
    std::string out;
    for (const std::string& c : codes)
        out += (out.empty() ? "" : ",") + LIB_SqlStr(c);
    return out;
}

// The order, supplier, record and title-index conditions of the filter; `location` names the
// column holding the subscriber location.
std::string filterSql(const ClaimFilter& f, const std::string& indexPattern,
                      const std::string& location) {
    std::string sql;
    if (!f.year.empty()) sql += " AND a.peri_ord_year LIKE " + LIB_SqlStr(f.year + "%");
    if (!f.location.empty()) sql += " AND " + location + "=" + LIB_SqlStr(f.location);
    if (!f.asordNo.empty()) sql += " AND a.asord_no=" + LIB_SqlStr(f.asordNo);
    if (!f.getMode.empty()) sql += " AND b.get_mode_code=" + LIB_SqlStr(f.getMode);
    if (!f.docType.empty()) sql += " AND m.doc_type_code=" + LIB_SqlStr(f.docType);
    if (!f.publCodes.empty()) sql += " AND a.publ_code IN (" + joinedKeys(f.publCodes) + ")";
    if (!indexPattern.empty())
        sql +=
            " AND m.marc_rec_no IN (SELECT marc.marc_rec_no FROM marc_idx,marc"
            " WHERE marc.marc_rec_no=marc_idx.marc_rec_no AND marc_idx.marc_idx_grp=" +
            LIB_SqlStr(f.idxGroup) + " AND marc_idx.marc_idx_cont LIKE " + indexPattern + ")";
    return sql;
}

// The columns every list shows, in candidateFrom's order, up to the subscribed copies.
std::string issueColumns(const std::string& location) {
    return "a.peri_id,a.publ_code," + location +
           ",a.peri_ord_year,a.asord_no,m.m_title,m.m_isbn,a.publ_year,"
           "COALESCE(a.cover_vol,'')||'卷'||COALESCE(a.cover_issue,'')||'期' AS cover,"
           "a.expect_date,";
}

const char* const kIssueJoin =
    " AND a.publ_code=b.publ_code AND a.peri_ord_year=b.peri_ord_year AND a.asord_no=b.asord_no"
    " AND m.marc_rec_no=b.marc_rec_no AND a.finish_flag='0' AND b.aslack_ysno='1'"
    " AND a.aslack_date<";

// The issues to claim start from the copies still owed, kept by every writer of copies,
// subscribers, issues and claims: the rows already hold the received copies and the claims, so
// nothing is counted here. CROSS JOIN keeps SQLite, which has no statistics, starting there.
std::string owedStatement(const ClaimFilter& f, ClaimList list, const std::string& today,
                          const std::string& indexPattern) {
    std::string sql = "SELECT " + issueColumns("l.location") +
                      "l.sub_qty,b.aslack_second,b.aslack_third,m.marc_rec_no,b.publ_freq,"
                      "a.peri_no,l.rece_qty,l.aslack_cnt,l.aslack_last,l.label"
                      " FROM m_peri_chk_lack l CROSS JOIN m_peri_chk_vol a"
                      " CROSS JOIN m_peri_ord_detl b CROSS JOIN marc m"
                      " WHERE a.peri_id=l.peri_id AND l.aslack_cnt<3 AND l.sub_qty>l.rece_qty" +
                      kIssueJoin + LIB_SqlStr(today) + filterSql(f, indexPattern, "l.location");
    if (list == ClaimList::ToClaimAfterLater)
        sql +=
            " AND EXISTS (SELECT 1 FROM m_peri_item n,m_peri_chk_vol v"
            " WHERE n.peri_id=v.peri_id AND v.publ_code=a.publ_code"
            " AND v.peri_ord_year=a.peri_ord_year AND v.asord_no=a.asord_no"
            " AND n.location=l.location AND v.peri_no>a.peri_no)";
    return sql + " ORDER BY a.peri_no,a.publ_code,a.peri_ord_year,a.asord_no,l.location";
}

// Issues claimed already may have all their copies at the location by now, so they come from
// every open issue's subscribers. The received copies are counted in an inner step that a LIMIT
// no library reaches keeps apart: folded into the outer query, both databases would count them
// again for each row they return.
std::string claimedStatement(const ClaimFilter& f, const std::string& today,
                             const std::string& indexPattern) {
    const std::string claims =
        " FROM m_aslack_rec r WHERE r.peri_id=u.peri_id"
        " AND r.location=u.location) AS ";
    return "SELECT t.* FROM (SELECT u.*,(SELECT COUNT(r.peri_id)" + claims +
           "aslack_cnt,(SELECT MAX(r.aslack_detl_date)" + claims + "aslack_last," +
           strLocationLabelSql("u", "u.location") + " AS label FROM (SELECT " +
           issueColumns("c.location") +
           "c.sub_peri_qty,b.aslack_second,b.aslack_third,m.marc_rec_no,b.publ_freq,a.peri_no,"
           "(SELECT COUNT(i.peri_id) FROM m_peri_item i WHERE i.peri_id=a.peri_id"
           " AND i.location=c.location) AS rece_qty"
           " FROM m_peri_chk_vol a,m_peri_ord_detl b,marc m,m_sub_ord_lst c"
           " WHERE c.publ_code=a.publ_code AND c.peri_ord_year=a.peri_ord_year"
           " AND c.asord_no=a.asord_no" +
           kIssueJoin + LIB_SqlStr(today) + filterSql(f, indexPattern, "c.location") +
           " LIMIT 2147483647) u) t WHERE t.aslack_cnt>0 ORDER BY t.aslack_last DESC,t.peri_no,"
           "t.publ_code,t.peri_ord_year,t.asord_no,t.location";
}

std::string candidateStatement(const ClaimFilter& f, ClaimList list, const std::string& today,
                               const std::string& indexPattern) {
    return list == ClaimList::Claimed ? claimedStatement(f, today, indexPattern)
                                      : owedStatement(f, list, today, indexPattern);
}

ClaimCandidate candidateFrom(const std::vector<LibVar>& row) {
    ClaimCandidate c;
    c.periId = row[0].str();
    c.publCode = row[1].str();
    c.location = row[2].str();
    c.periOrdYear = row[3].str();
    c.asordNo = row[4].str();
    c.title = row[5].str();
    c.issn = row[6].str();
    c.publYear = row[7].str();
    c.cover = row[8].str();
    c.expectDate = row[9].str();
    c.subQty = toInt(row[10]);
    c.aslackSecond = toInt(row[11]);
    c.aslackThird = toInt(row[12]);
    c.marcRecNo = row[13].str();
    c.publFreq = row[14].str();
    c.periNo = toInt(row[15]);
    c.received = toInt(row[16]);
    c.claimCount = toInt(row[17]);
    c.lastClaimDate = row[18].str();
    c.label = row[19].str();
    c.qty = std::max(c.missing(), 0);
    return c;
}

}  // namespace

std::string claimDateAdd(const std::string& date, int days) {
    int y = 0;
    unsigned m = 0, d = 0;
    if (date.size() < 10 || std::sscanf(date.c_str(), "%4d-%2u-%2u", &y, &m, &d) != 3) return "";
    std::chrono::year_month_day ymd{std::chrono::year{y}, std::chrono::month{m},
                                    std::chrono::day{d}};
    if (!ymd.ok()) return "";
    std::chrono::year_month_day moved{std::chrono::sys_days{ymd} + std::chrono::days{days}};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", static_cast<int>(moved.year()),
                  static_cast<unsigned>(moved.month()), static_cast<unsigned>(moved.day()));
    return buf;
}

bool claimIsDue(int missing, int claimCount, const std::string& lastClaimDate, int aslackSecond,
                int aslackThird, const std::string& today) {
    if (missing <= 0) return false;
    if (claimCount == 0) return true;
    if (claimCount > 2) return false;
    std::string next =
        claimDateAdd(lastClaimDate.substr(0, 10), claimCount == 1 ? aslackSecond : aslackThird);
    return !next.empty() && today >= next;
}

int claimLoadChoices(std::vector<std::string>& years, std::vector<std::string>& locations,
                     std::vector<std::pair<std::string, std::string>>& groups) {
    LibArray y, l, g;
    if (LIB_DB_Select("select distinct substr(peri_ord_year,1,4) as year from m_peri_ord_lst "
                      "ORDER BY year desc ",
                      y) < 0 ||
        LIB_DB_Select("SELECT DISTINCT location FROM m_sub_ord_lst ORDER BY location", l) < 0 ||
        LIB_DB_Select("SELECT marc_idx_grp,MIN(marc_idx_grp_name) FROM marc_idx_para "
                      "GROUP BY marc_idx_grp ORDER BY marc_idx_grp",
                      g) < 0)
        return -1;
    years.clear();
    locations.clear();
    groups.clear();
    for (int r = 2; r < y.rows(); ++r)
        years.push_back(y(0, r).str());
    for (int r = 2; r < l.rows(); ++r)
        locations.push_back(l(0, r).str());
    for (int r = 2; r < g.rows(); ++r)
        groups.emplace_back(g(0, r).str(), g(1, r).str());
    return 0;
}

std::string claimSearchStatement(const ClaimFilter& filter, ClaimList list,
                                 const std::string& today) {
    return candidateStatement(filter, list, today, "");
}

ClaimSearchResult claimSearch(const ClaimFilter& f, ClaimList list, const std::string& today,
                              std::vector<ClaimCandidate>& rows) {
    rows.clear();
    if (!f.anyOrder && f.year.empty() && f.location.empty() && f.asordNo.empty() &&
        f.getMode.empty() && f.searchText.empty())
        return ClaimSearchResult::NoCondition;
    std::string pattern;
    if (!f.searchText.empty()) {
        std::string key = MarcSearchKey(f.idxGroup, f.searchText);
        if (key.empty()) return ClaimSearchResult::BadSearchText;
        pattern = MarcIndexLikePattern(key);
    }
    // The rows go straight into candidates as they are fetched: a whole library's are never also
    // held as cells.
    DbTransaction tx;
    if (!tx.ok() || LIB_DB_PrepareLargeRead() < 0 ||
        LIB_DB_SelectEach(candidateStatement(f, list, today, pattern),
                          [&](const std::vector<RawColumn>&, const std::vector<LibVar>& row) {
                              ClaimCandidate c = candidateFrom(row);
                              if (list == ClaimList::Claimed ||
                                  claimIsDue(c.missing(), c.claimCount, c.lastClaimDate,
                                             c.aslackSecond, c.aslackThird, today))
                                  rows.push_back(std::move(c));
                          }) < 0 ||
        tx.commit() < 0) {
        rows.clear();
        return ClaimSearchResult::DbError;
    }
    return rows.empty() ? ClaimSearchResult::Nothing : ClaimSearchResult::Found;
}

int intFindClaims(const ClaimFilter& filter, ClaimList list, std::vector<ClaimCandidate>& rows) {
    std::string today = LIB_DB_GetServerDate().substr(0, 10);
    if (today.empty()) {
        LIB_DB_ShowError();
        return -1;
    }
    switch (claimSearch(filter, list, today, rows)) {
        case ClaimSearchResult::Found:
            return 0;
        case ClaimSearchResult::Nothing:
            LIB_ShowMsg(list == ClaimList::Claimed ? "E没有已经催缺的期刊！" : "E没有缺刊！");
            return 1;
        case ClaimSearchResult::NoCondition:
            LIB_ShowMsg("EQK001");
            return -1;
        case ClaimSearchResult::BadSearchText:
            LIB_ShowMsg("EBM003");
            return -1;
        case ClaimSearchResult::DbError:
            LIB_DB_ShowError();
            return -1;
    }
    return -1;
}

int claimRecord(const std::vector<ClaimCandidate>& rows) {
    std::string today = LIB_DB_GetServerDate().substr(0, 10);
    if (today.empty()) return -1;
    DbTransaction tx;
    if (!tx.ok()) return -1;
    std::map<std::string, int> perSupplier;
    for (const ClaimCandidate& c : rows) {
        std::string sql =
            " INSERT INTO m_aslack_rec(peri_id,location,aslack_detl_date,aslack_wkr,"
            "aslack_detl_qty,remark) VALUES  ( " +
            LIB_SqlStr(c.periId) + "," + LIB_SqlStr(c.location) + "," + LIB_SqlStr(today) + "," +
            LIB_SqlStr(g_strWkrNo) + "," + std::to_string(c.qty) + "," + LIB_SqlStr(c.remark) + ")";
        const std::string key =
            " WHERE peri_id=" + LIB_SqlStr(c.periId) + " AND location=" + LIB_SqlStr(c.location);
        if (LIB_DB_Execute(sql) < 0 ||
            LIB_DB_Execute("UPDATE m_peri_chk_lack SET aslack_cnt=aslack_cnt+1,aslack_last=CASE"
                           " WHEN aslack_last>" +
                           LIB_SqlStr(today) + " THEN aslack_last ELSE " + LIB_SqlStr(today) +
                           " END" + key) < 0)
            return -1;
        ++perSupplier[c.publCode];
    }
    for (const auto& [publ, count] : perSupplier)
        if (LIB_WriteOpLog(kClaimLog, publ, std::to_string(count)) < 0) return -1;
    return tx.commit();
}

int intRecordClaims(const std::vector<ClaimCandidate>& rows) {
    if (claimRecord(rows) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    LIB_ShowMsg("I催缺完成！");
    return 0;
}

const std::vector<std::string>& claimListHeaders() {
    static const std::vector<std::string> headers = {"发行商",   "年度批次", "征订号",   "ISSN",
                                                     "出版年度", "卷期信息", "应到日期", "催缺次数",
                                                     "应到复本", "实到复本", "催缺复本", "经手人",
                                                     "催缺日期", "出版频率", "排架号"};
    return headers;
}

std::vector<std::string> claimListRow(const ClaimCandidate& c, const std::string& claimDate,
                                      const std::string& operatorNo, bool newClaim) {
    return {c.publCode,
            c.periOrdYear,
            c.asordNo,
            c.issn,
            c.publYear,
            c.cover,
            c.expectDate,
            std::to_string(c.claimCount + (newClaim ? 1 : 0)),
            std::to_string(c.subQty),
            std::to_string(c.received),
            std::to_string(c.qty),
            operatorNo,
            claimDate,
            c.publFreq,
            c.label};
}

int claimWriteXlsx(const std::string& path, const std::vector<ClaimCandidate>& rows,
                   const std::string& claimDate, bool newClaim, std::string& error) {
    XlsxWriter x(path);
    x.addSheet("催缺期刊列表");
    const auto& headers = claimListHeaders();
    for (std::size_t col = 0; col < headers.size(); ++col) {
        x.writeHeading(0, static_cast<int>(col), headers[col]);
        x.setColumnWidth(static_cast<int>(col), col == 5 ? 16 : 11);
    }
    int row = 1;
    for (const ClaimCandidate& c : rows) {
        auto cells = claimListRow(c, claimDate, g_strWkrNo, newClaim);
        for (std::size_t col = 0; col < cells.size(); ++col) {
            bool count = col >= 7 && col <= 10;
            if (count)
                x.writeNumber(row, static_cast<int>(col), std::stod(cells[col]));
            else
                x.writeText(row, static_cast<int>(col), cells[col]);
        }
        ++row;
    }
    return x.close(error);
}

int claimWriteCsv(const std::string& path, const std::vector<ClaimCandidate>& rows,
                  const std::string& claimDate, bool newClaim, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = "无法创建文件 " + path;
        return -1;
    }
    auto line = [&out](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            std::string v = cells[i];
            bool quote = v.find_first_of(",\"\r\n") != std::string::npos;
            std::string q;
            for (char ch : v)
                q += ch == '"' ? std::string("\"\"") : std::string(1, ch);
            out << (i ? "," : "") << (quote ? "\"" + q + "\"" : q);
        }
        out << "\r\n";
    };
    line(claimListHeaders());
    for (const ClaimCandidate& c : rows)
        line(claimListRow(c, claimDate, g_strWkrNo, newClaim));
    out.close();
    if (!out) {
        error = "写入文件失败 " + path;
        return -1;
    }
    return 0;
}

int claimPrepareMail(const std::string& publCode, const std::string& claimDate, ClaimMail& mail) {
    if (prepareSupplierMail(publCode, mail) < 0) return -1;
    mail.subject = " 催缺期刊列表";
    mail.body = " 催缺单 \r\n催缺日期： " + claimDate + "\r\n联系电话：" + mail.telephone +
                "\r\n数据详见附件，格式为xls文件，数据格式未加密。\r\n";
    return 0;
}

std::string claimMailProblem(const ClaimMail& mail) {
    return mailProblem(mail);
}

int claimSendMail(const ClaimMail& mail, const std::vector<ClaimCandidate>& rows,
                  std::string& error, bool& dbFailed) {
    dbFailed = false;
    readMailSettings(g_strPath[0] + "mavren.ini");
    if (!QK_bolSmtp) {
        error = "未设置邮件服务器（mavren.ini 的 [MAIL] 节）。";
        return -1;
    }
    std::string today = LIB_DB_GetServerDate().substr(0, 10);
    std::string dir = g_strPath[5].empty() ? std::string("/tmp/") : g_strPath[5];
    std::string publ = rows.empty() ? std::string("claims") : rows.front().publCode;
    std::string file = dir + publ + "_" + today + ".xlsx";
    if (claimWriteXlsx(file, rows, today, true, error) < 0) return -1;

    DbTransaction tx;
    if (!tx.ok() || claimRecord(rows) < 0) {
        dbFailed = true;
        std::remove(file.c_str());
        return -1;
    }
    const int rc = sendSupplierMail(mail, {file}, error);
    std::remove(file.c_str());
    if (rc < 0) return -1;
    if (tx.commit() < 0) {
        dbFailed = true;
        return -1;
    }
    return 0;
}
