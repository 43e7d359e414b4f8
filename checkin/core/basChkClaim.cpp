// The candidate search is one statement over the copies still owed (m_peri_chk_lack), which
// the writers of copies, subscribers, issues and claims keep with each open issue's received
// copies, claims and own columns, so a whole library is read without counting anything or
// looking up each issue; only the date arithmetic of the claim intervals and the list's order are
// done here, on the rows the statement returns.
#include "checkin/core/basChkClaim.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <tuple>

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

// The order, supplier, record and title-index conditions of the filter; `issue` names the table
// holding the issue's order line and `location` the column holding the subscriber location.
std::string filterSql(const ClaimFilter& f, const std::string& indexPattern,
                      const std::string& issue, const std::string& location) {
    std::string sql;
    if (!f.year.empty()) sql += " AND " + issue + ".peri_ord_year LIKE " + LIB_SqlStr(f.year + "%");
    if (!f.location.empty()) sql += " AND " + location + "=" + LIB_SqlStr(f.location);
    if (!f.asordNo.empty()) sql += " AND " + issue + ".asord_no=" + LIB_SqlStr(f.asordNo);
    if (!f.getMode.empty()) sql += " AND b.get_mode_code=" + LIB_SqlStr(f.getMode);
    if (!f.docType.empty()) sql += " AND m.doc_type_code=" + LIB_SqlStr(f.docType);
    if (!f.publCodes.empty())
        sql += " AND " + issue + ".publ_code IN (" + joinedKeys(f.publCodes) + ")";
    if (!indexPattern.empty())
        sql +=
            " AND m.marc_rec_no IN (SELECT marc.marc_rec_no FROM marc_idx,marc"
            " WHERE marc.marc_rec_no=marc_idx.marc_rec_no AND marc_idx.marc_idx_grp=" +
            LIB_SqlStr(f.idxGroup) + " AND marc_idx.marc_idx_cont LIKE " + indexPattern + ")";
    return sql;
}

// The columns every list shows, in addCandidate's order, up to the subscribed copies; `issue`
// names the table holding the issue's columns.
std::string issueColumns(const std::string& issue, const std::string& location) {
    const std::string i = issue + ".";
    return i + "peri_id," + i + "publ_code," + location + "," + i + "peri_ord_year," + i +
           "asord_no,m.m_title,m.m_isbn," + i + "publ_year,COALESCE(" + i +
           "cover_vol,'')||'卷'||COALESCE(" + i + "cover_issue,'')||'期' AS cover," + i +
           "expect_date,";
}

// The order line of the issue in `issue`, claims wanted, and the claim date passed.
std::string lineJoin(const std::string& issue, const std::string& today) {
    const std::string i = " AND " + issue + ".";
    return i + "publ_code=b.publ_code" + i + "peri_ord_year=b.peri_ord_year" + i +
           "asord_no=b.asord_no AND m.marc_rec_no=b.marc_rec_no AND b.aslack_ysno='1'" + i +
           "aslack_date<" + LIB_SqlStr(today);
}

// The issues to claim are the copies still owed, kept by every writer of copies, subscribers,
// issues and claims with the issue's own columns: the rows already hold the received copies and
// the claims, and only the order line and record are reached, by their keys. CROSS JOIN keeps
// SQLite, which has no statistics, starting there.
std::string owedStatement(const ClaimFilter& f, ClaimList list, const std::string& today,
                          const std::string& indexPattern) {
    std::string sql = "SELECT " + issueColumns("l", "l.location") +
                      "l.sub_qty,b.aslack_second,b.aslack_third,m.marc_rec_no,b.publ_freq,"
                      "l.peri_no,l.rece_qty,l.aslack_cnt,l.aslack_last,l.label"
                      " FROM m_peri_chk_lack l CROSS JOIN m_peri_ord_detl b CROSS JOIN marc m"
                      " WHERE l.aslack_cnt<3 AND l.sub_qty>l.rece_qty" +
                      lineJoin("l", today) + filterSql(f, indexPattern, "l", "l.location");
    if (list == ClaimList::ToClaimAfterLater)
        sql +=
            " AND EXISTS (SELECT 1 FROM m_peri_item n,m_peri_chk_vol v"
            " WHERE n.peri_id=v.peri_id AND v.publ_code=l.publ_code"
            " AND v.peri_ord_year=l.peri_ord_year AND v.asord_no=l.asord_no"
            " AND n.location=l.location AND v.peri_no>l.peri_no)";
    return sql;
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
           issueColumns("a", "c.location") +
           "c.sub_peri_qty,b.aslack_second,b.aslack_third,m.marc_rec_no,b.publ_freq,a.peri_no,"
           "(SELECT COUNT(i.peri_id) FROM m_peri_item i WHERE i.peri_id=a.peri_id"
           " AND i.location=c.location) AS rece_qty"
           " FROM m_peri_chk_vol a,m_peri_ord_detl b,marc m,m_sub_ord_lst c"
           " WHERE c.publ_code=a.publ_code AND c.peri_ord_year=a.peri_ord_year"
           " AND c.asord_no=a.asord_no AND a.finish_flag='0'" +
           lineJoin("a", today) + filterSql(f, indexPattern, "a", "c.location") +
           " LIMIT 2147483647) u) t WHERE t.aslack_cnt>0";
}

std::string candidateStatement(const ClaimFilter& f, ClaimList list, const std::string& today,
                               const std::string& indexPattern) {
    return list == ClaimList::Claimed ? claimedStatement(f, today, indexPattern)
                                      : owedStatement(f, list, today, indexPattern);
}

// Whether the row's issue is due for a claim at its location on `today`, read from its cells
// before anything is built, so that a row not yet due costs nothing more.
bool rowIsDue(const std::vector<LibVar>& row, const std::string& today) {
    return claimIsDue(toInt(row[10]) - toInt(row[16]), toInt(row[17]), row[18].str(),
                      toInt(row[11]), toInt(row[12]), today);
}

// A row's candidate, added where it will stay, its texts taken from the cells.
void addCandidate(std::vector<ClaimCandidate>& rows, std::vector<LibVar>& row) {
    ClaimCandidate& c = rows.emplace_back();
    c.periId = row[0].takeStr();
    c.publCode = row[1].takeStr();
    c.location = row[2].takeStr();
    c.periOrdYear = row[3].takeStr();
    c.asordNo = row[4].takeStr();
    c.title = row[5].takeStr();
    c.issn = row[6].takeStr();
    c.publYear = row[7].takeStr();
    c.cover = row[8].takeStr();
    c.expectDate = row[9].takeStr();
    c.subQty = toInt(row[10]);
    c.aslackSecond = toInt(row[11]);
    c.aslackThird = toInt(row[12]);
    c.marcRecNo = row[13].takeStr();
    c.publFreq = row[14].takeStr();
    c.periNo = toInt(row[15]);
    c.received = toInt(row[16]);
    c.claimCount = toInt(row[17]);
    c.lastClaimDate = row[18].takeStr();
    c.label = row[19].takeStr();
    c.qty = std::max(c.missing(), 0);
}

// The lists in their order: by running issue number, then order line and location; the claimed
// list newest claim first. Ordered here rather than by the statement: a database sorts every
// column of a whole library's rows, this only their keys, and the order is the same, byte by
// byte, on both databases. The rows are moved into place, each once, where they lie.
void putInListOrder(std::vector<ClaimCandidate>& rows, ClaimList list) {
    std::vector<std::size_t> from(rows.size());
    for (std::size_t i = 0; i < from.size(); ++i)
        from[i] = i;
    auto key = [&](std::size_t i) {
        const ClaimCandidate& c = rows[i];
        return std::tie(c.periNo, c.publCode, c.periOrdYear, c.asordNo, c.location);
    };
    std::sort(from.begin(), from.end(), [&](std::size_t x, std::size_t y) {
        if (list == ClaimList::Claimed && rows[x].lastClaimDate != rows[y].lastClaimDate)
            return rows[x].lastClaimDate > rows[y].lastClaimDate;
        return key(x) < key(y);
    });
    // Position i takes the row at from[i]; each cycle of that permutation goes round once.
    for (std::size_t start = 0; start < from.size(); ++start) {
        if (from[start] == start) continue;
        ClaimCandidate held = std::move(rows[start]);
        std::size_t i = start;
        while (from[i] != start) {
            const std::size_t next = from[i];
            rows[i] = std::move(rows[next]);
            from[i] = i;
            i = next;
        }
        rows[i] = std::move(held);
        from[i] = i;
    }
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
    // held as cells. The lists to claim hold at most the owed rows, counted first, so that the
    // candidates are never moved to make room.
    DbTransaction tx;
    LibArray owed;
    if (!tx.ok() || LIB_DB_PrepareLargeRead() < 0 ||
        (list != ClaimList::Claimed &&
         LIB_DB_Select("SELECT COUNT(*) FROM m_peri_chk_lack WHERE aslack_cnt<3"
                       " AND sub_qty>rece_qty",
                       owed) < 0))
        return ClaimSearchResult::DbError;
    if (list != ClaimList::Claimed) rows.reserve(static_cast<std::size_t>(owed(0, 2).num()));
    if (LIB_DB_SelectEach(candidateStatement(f, list, today, pattern),
                          [&](const std::vector<RawColumn>&, std::vector<LibVar>& row) {
                              if (list == ClaimList::Claimed || rowIsDue(row, today))
                                  addCandidate(rows, row);
                          }) < 0 ||
        tx.commit() < 0) {
        rows.clear();
        return ClaimSearchResult::DbError;
    }
    putInListOrder(rows, list);
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
