// A new issue takes the table's next key inside its transaction, as prediction does: two desks
// adding at the same moment collide on the key and the second rolls back whole.
#include "checkin/core/IssueEdit.h"

#include <cstdio>
#include <map>

#include "checkin/core/basChkConfig.h"
#include "common/OperatorState.h"
#include "common/basLibOpLog.h"
#include "db/DbTransaction.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/basOrdFunc.h"

namespace {

std::string q(const std::string& v) {
    return LIB_SqlStr(v);
}

std::string cell(const LibArray& a, int col, int row) {
    return a(col, row).str();
}

int cellInt(const LibArray& a, int col, int row) {
    return a(col, row).str().empty() ? 0 : static_cast<int>(a(col, row).num());
}

std::string keyWhere(const ChkOrderKey& k) {
    return " WHERE publ_code=" + q(k.publCode) + " AND peri_ord_year=" + q(k.periOrdYear) +
           " AND asord_no=" + q(k.asordNo);
}

int failed(DbTransaction& tx) {
    tx.rollback();
    LIB_DB_ShowError();
    return -1;
}

int refused(DbTransaction& tx, const std::string& message) {
    tx.rollback();
    LIB_ShowMsg(message);
    return -1;
}

int writeLog(const std::string& code, const ChkInOrderLine& line, const std::string& location,
             const std::string& what) {
    std::string title = line.title.size() > 180 ? line.title.substr(0, 180) : line.title;
    return LIB_WriteOpLog(code, line.marcRecNo.empty() ? "0" : line.marcRecNo, line.key.publCode,
                          line.key.periOrdYear, title, line.key.asordNo + " " + location, what);
}

// The claim columns of the order line that a hand-made issue needs.
struct LineDates {
    int daysOfAslack = 0;
    std::string carrierCode, attachment;
    int qtyOfVol = 0;
};

int loadLineDates(const ChkOrderKey& key, LineDates& d) {
    LibArray a;
    if (LIB_DB_Select("SELECT days_of_aslack,carrier_code,attachment,qty_of_vol FROM "
                      "m_peri_ord_detl" +
                          keyWhere(key),
                      a) < 0)
        return -1;
    if (a.recordCount() == 0) return 0;
    d.daysOfAslack = cellInt(a, 0, 2);
    d.carrierCode = cell(a, 1, 2);
    d.attachment = cell(a, 2, 2);
    d.qtyOfVol = cellInt(a, 3, 2);
    return 0;
}

// Where issues added to an order line go: the table's next keys (read inside the caller's
// transaction) and the numbers after the line's last issue.
struct NewIssues {
    LineDates line;
    std::string maxKey, firstKey;
    int firstNo = 1;
};

int placeNewIssues(const ChkOrderKey& key, NewIssues& at) {
    LibArray max, last;
    if (loadLineDates(key, at.line) < 0 ||
        LIB_DB_Select(" SELECT max(peri_id) FROM m_peri_chk_vol ", max) < 0 ||
        LIB_DB_Select("SELECT max(peri_no) FROM m_peri_chk_vol" + keyWhere(key), last) < 0)
        return -1;
    at.maxKey = cell(max, 0, 2);
    char next[24];
    std::snprintf(next, sizeof next, "%010lld", at.maxKey.empty() ? 1 : std::stoll(at.maxKey) + 1);
    at.firstKey = next;
    at.firstNo = cellInt(last, 0, 2) + 1;
    return 0;
}

// Brings the copies of the issue at the location to the wanted counts per sub-location.
// 1 when a copy that has left the desk would have to go (nothing written), -1 on failure.
int rewriteCopies(const std::string& periId, const std::string& location,
                  const std::vector<IssueCopyCount>& counts, const std::string& now) {
    LibArray have;
    if (LIB_DB_Select(
            "SELECT dis_location,item_no,item_stat FROM m_peri_item WHERE peri_id=" + q(periId) +
                " AND location=" + q(location) + " ORDER BY dis_location,item_no",
            have) < 0)
        return -1;
    std::map<std::string, std::vector<std::pair<int, std::string>>> copies;
    for (int r = 2; r < have.rows(); ++r)
        copies[cell(have, 0, r)].push_back({cellInt(have, 1, r), cell(have, 2, r)});
    for (const IssueCopyCount& c : counts)
        for (const auto& [no, stat] : copies[c.disLocation])
            if (no > c.copies && stat != "0") return 1;
    std::string values;
    for (const IssueCopyCount& c : counts) {
        const auto& list = copies[c.disLocation];
        const int n = static_cast<int>(list.size());
        if (c.copies < n && LIB_DB_Execute(" DELETE FROM m_peri_item  WHERE peri_id=" + q(periId) +
                                           " AND location=" + q(location) +
                                           " AND dis_location=" + q(c.disLocation) +
                                           " AND item_no>" + std::to_string(c.copies)) < 0)
            return -1;
        int no = list.empty() ? 0 : list.back().first;
        for (int k = n; k < c.copies; ++k)
            values += std::string(values.empty() ? "" : ",") + "(" + q(periId) + "," + q(location) +
                      "," + q(c.disLocation) + "," + std::to_string(++no) + ",'0'," + q(now) + "," +
                      q(g_strWkrNo) + ")";
    }
    if (!values.empty() &&
        LIB_DB_Execute(" INSERT INTO m_peri_item(peri_id,location,dis_location,item_no,"
                       " item_stat,chk_date,wkr_no) VALUES " +
                       values) < 0)
        return -1;
    return 0;
}

// The run as prediction's input: a title of "other" frequency with `count` issues, all on the
// first date, numbered from the run's first numbers.
ChkPredictInput batchNumbering(const IssueBatch& b) {
    ChkPredictInput in;
    in.code = 'z';
    in.qtyOfYear = b.count;
    in.chkBgnDate = b.firstDate;
    in.begVol = b.begVol;
    in.begIssue = b.begIssue;
    in.begTotal = b.begTotal;
    in.perVol = b.perVol;
    in.volBegIssue = b.volBegIssue;
    in.issueContinue = b.issueContinue;
    return in;
}

// A cover number written in digits or as a Roman numeral; 0 for anything else.
int numberOf(const std::string& text) {
    const std::string t = sqltext::trim(text);
    if (!t.empty() && t.size() < 9 && t.find_first_not_of("0123456789") == std::string::npos)
        return std::stoi(t);
    return chkRomanValue(t).value_or(0);
}

}  // namespace

int loadIssueDetail(const std::string& periId, const std::string& location, IssueDetail& d) {
    // Read before `d` is cleared: the key may be the detail's own.
    const std::string key = q(periId), loca = q(location);
    d = IssueDetail{};
    LibArray v, items, claims, notices;
    if (LIB_DB_Select("SELECT peri_id,cover_vol,cover_issue,cover_issue_total,expect_date,"
                      "aslack_date,publ_year,attachment,issue_title,remark,peri_type,peri_no "
                      "FROM m_peri_chk_vol WHERE peri_id=" +
                          key,
                      v) < 0 ||
        LIB_DB_Select("SELECT dis_location,item_no,item_stat,chk_date,conn_date FROM m_peri_item "
                      "WHERE peri_id=" +
                          key + " AND location=" + loca + " ORDER BY dis_location,item_no",
                      items) < 0 ||
        LIB_DB_Select("SELECT aslack_detl_date,aslack_wkr,aslack_detl_qty,remark FROM "
                      "m_aslack_rec WHERE peri_id=" +
                          key + " AND location=" + loca + " ORDER BY aslack_detl_date",
                      claims) < 0 ||
        LIB_DB_Select("SELECT n.prio_reader_code,r.prio_reader_name,n.send_noti_date FROM "
                      "m_prio_read_noti n LEFT JOIN prio_reader r ON "
                      "r.prio_reader_code=n.prio_reader_code WHERE n.peri_id=" +
                          key + " AND n.location=" + loca +
                          " ORDER BY n.send_noti_date,n.prio_reader_code",
                      notices) < 0)
        return -1;
    if (v.recordCount() == 0) return 1;
    IssueDraft& i = d.issue;
    i.periId = cell(v, 0, 2);
    i.coverVol = cell(v, 1, 2);
    i.coverIssue = cell(v, 2, 2);
    i.coverIssueTotal = cell(v, 3, 2);
    i.expectDate = cell(v, 4, 2);
    i.aslackDate = cell(v, 5, 2);
    i.publYear = cell(v, 6, 2);
    i.attachment = cell(v, 7, 2);
    i.issueTitle = cell(v, 8, 2);
    i.remark = cell(v, 9, 2);
    i.periType = cell(v, 10, 2);
    i.periNo = cellInt(v, 11, 2);
    for (int r = 2; r < items.rows(); ++r)
        d.copies.push_back({cell(items, 0, r), cell(items, 2, r), cell(items, 3, r),
                            cell(items, 4, r), cellInt(items, 1, r)});
    for (int r = 2; r < claims.rows(); ++r)
        d.claims.push_back(
            {cell(claims, 0, r), cell(claims, 1, r), cell(claims, 3, r), cellInt(claims, 2, r)});
    for (int r = 2; r < notices.rows(); ++r)
        d.notices.push_back({cell(notices, 0, r), cell(notices, 1, r), cell(notices, 2, r)});
    return 0;
}

std::string issueDraftProblem(const IssueDraft& issue) {
    if (sqltext::trim(issue.coverVol).empty() && sqltext::trim(issue.coverIssue).empty() &&
        sqltext::trim(issue.coverIssueTotal).empty())
        return "卷，期，总期不能全部为空。";
    return {};
}

int saveIssue(const ChkInOrderLine& line, const std::string& location, IssueDraft& issue,
              const std::vector<IssueCopyCount>& counts) {
    if (!CheckLocationRight(location)) return -1;
    if (std::string problem = issueDraftProblem(issue); !problem.empty()) {
        LIB_ShowMsg("E" + problem);
        return -1;
    }
    IssueDraft i = issue;
    DbTransaction tx;
    if (!tx.ok()) return failed(tx);
    const std::string now = LIB_DB_GetServerDate();
    if (now.empty()) return failed(tx);
    if (i.publYear.empty() && i.expectDate.size() >= 4) i.publYear = i.expectDate.substr(0, 4);
    const std::string fields = ",cover_vol=" + q(i.coverVol) + ",cover_issue=" + q(i.coverIssue) +
                               ",cover_issue_total=" + q(i.coverIssueTotal) +
                               ",expect_date=" + q(i.expectDate) + ",publ_year=" + q(i.publYear) +
                               ",attachment=" + q(i.attachment) +
                               ",issue_title=" + q(i.issueTitle) + ",remark=" + q(i.remark) +
                               ",peri_type=" + q(i.periType);
    if (i.periId.empty()) {
        NewIssues at;
        if (placeNewIssues(line.key, at) < 0) return failed(tx);
        const LineDates& ld = at.line;
        i.periId = at.firstKey;
        i.periNo = at.firstNo;
        if (i.aslackDate.empty()) i.aslackDate = chkAddDays(i.expectDate, ld.daysOfAslack);
        if (LIB_DB_Execute(
                " INSERT INTO m_peri_chk_vol(publ_code,peri_ord_year,asord_no,peri_id,cover_vol,"
                " cover_issue,cover_issue_total,carrier_code,expect_date,aslack_date,publ_year,"
                " remark,attachment,issue_title,peri_no,finish_flag,peri_type) VALUES( " +
                q(line.key.publCode) + "," + q(line.key.periOrdYear) + "," + q(line.key.asordNo) +
                "," + q(i.periId) + "," + q(i.coverVol) + "," + q(i.coverIssue) + "," +
                q(i.coverIssueTotal) + "," + q(ld.carrierCode) + "," + q(i.expectDate) + "," +
                q(i.aslackDate) + "," + q(i.publYear) + "," + q(i.remark) + "," + q(i.attachment) +
                "," + q(i.issueTitle) + "," + std::to_string(i.periNo) + ",'0'," + q(i.periType) +
                ")") < 0)
            return failed(tx);
    } else if (LIB_DB_Execute(" UPDATE m_peri_chk_vol SET aslack_date=" + q(i.aslackDate) + fields +
                              " WHERE peri_id=" + q(i.periId)) < 0) {
        return failed(tx);
    }
    const int copies = rewriteCopies(i.periId, location, counts, now);
    if (copies < 0) return failed(tx);
    if (copies > 0) return refused(tx, "E已交接的复本不能删除。");
    if (intRefreshIssueFinish("peri_id=" + q(i.periId)) < 0 ||
        writeLog("50026", line, location, i.periId) < 0)
        return failed(tx);
    if (tx.commit() < 0) return failed(tx);
    issue = i;
    return 0;
}

std::string issueBatchProblem(const IssueBatch& b) {
    const ChkPredictInput in = batchNumbering(b);
    if (std::string problem = chkValidate(in); !problem.empty()) return problem;
    if (b.count <= 0) return "新增期数不能为空。";
    if (!chkIsDate(b.firstDate)) return "起始日期不正确。";
    return {};
}

int issueBatchDefaults(const ChkInOrderLine& line, IssueBatch& b) {
    LineDates ld;
    LibArray last;
    if (loadLineDates(line.key, ld) < 0 ||
        LIB_DB_Select("SELECT cover_vol,cover_issue,cover_issue_total,expect_date FROM "
                      "m_peri_chk_vol" +
                          keyWhere(line.key) + " ORDER BY peri_no DESC",
                      last) < 0)
        return -1;
    b = IssueBatch{};
    b.perVol = ld.qtyOfVol;
    b.count = 1;
    if (last.recordCount() == 0) return 0;
    const int vol = numberOf(cell(last, 0, 2)), iss = numberOf(cell(last, 1, 2)),
              total = numberOf(cell(last, 2, 2));
    // A run that closes its volume opens the next one at its first issue.
    const bool volumeFull = vol > 0 && b.perVol > 0 && iss >= b.perVol;
    b.begVol = volumeFull ? vol + 1 : vol;
    b.begIssue = iss > 0 ? (volumeFull ? 1 : iss + 1) : 0;
    b.begTotal = total > 0 ? total + 1 : 0;
    ChkPredictInput in;
    in.code = chkFreqCode(line.publFreq);
    in.beginDate = chkAddDays(cell(last, 3, 2), 1);
    in.chkBgnDate = in.beginDate;
    b.firstDate = chkIsFreqCode(in.code) ? chkExpectDate(in, 0) : in.beginDate;
    return 0;
}

int addIssueBatch(const ChkInOrderLine& line, const std::string& location, const IssueBatch& b) {
    if (!CheckLocationRight(location)) return -1;
    if (std::string problem = issueBatchProblem(b); !problem.empty()) {
        LIB_ShowMsg("E" + problem);
        return -1;
    }
    DbTransaction tx;
    if (!tx.ok()) return failed(tx);
    NewIssues at;
    if (placeNewIssues(line.key, at) < 0) return failed(tx);
    const LineDates& ld = at.line;
    // The numbering is prediction's own; the dates follow the title's frequency from the first
    // date, or all fall on it for a title without a regular one.
    ChkPredictInput numbers = batchNumbering(b);
    numbers.roman = QK_bolLuoMa;
    ChkPredictInput dates;
    dates.code = chkFreqCode(line.publFreq);
    dates.beginDate = dates.chkBgnDate = b.firstDate;
    std::vector<ChkVolRow> rows = chkPredict(numbers, at.maxKey);
    const int firstNo = at.firstNo;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        ChkVolRow& r = rows[k];
        if (chkIsFreqCode(dates.code)) r.expectDate = chkExpectDate(dates, static_cast<int>(k));
        r.aslackDate = chkAddDays(r.expectDate, ld.daysOfAslack);
        r.publYear = r.expectDate.substr(0, 4);
        r.periNo = firstNo + static_cast<int>(k);
    }
    if (chkInsertIssues(line.key, ld.carrierCode, ld.attachment, rows) < 0 ||
        LIB_DB_Execute(" UPDATE m_peri_ord_detl SET qty_of_vol=" + std::to_string(b.perVol) +
                       strOrdVersionBump() + keyWhere(line.key)) < 0 ||
        renumberChkIssues(line.key) < 0 ||
        writeLog("50025", line, location,
                 rows.front().periId + "-" + rows.back().periId + " " +
                     std::to_string(rows.size()) + "期") < 0)
        return failed(tx);
    if (tx.commit() < 0) return failed(tx);
    return static_cast<int>(rows.size());
}
