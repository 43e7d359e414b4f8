// Check-in operations. Reads are bulk (a fixed number of queries per load, whatever the number
// of issues); each change runs in one DbTransaction with its log row and workload inside it, so
// that a failure at any statement leaves nothing.
#include "checkin/core/basChkIn.h"

#include <algorithm>
#include <map>
#include <set>

#include "common/OperatorState.h"
#include "common/basLibOpLog.h"
#include "db/DbTransaction.h"
#include "db/RawSelect.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/basOrdFunc.h"

namespace {

std::string q(const std::string& v) {
    return LIB_SqlStr(v);
}

std::string keyWhere(const ChkOrderKey& k, const std::string& table = "") {
    std::string t = table.empty() ? "" : table + ".";
    return " WHERE " + t + "publ_code=" + q(k.publCode) + " AND " + t +
           "peri_ord_year=" + q(k.periOrdYear) + " AND " + t + "asord_no=" + q(k.asordNo);
}

std::string inList(const std::vector<std::string>& ids) {
    std::string s;
    for (const auto& id : ids)
        s += (s.empty() ? "" : ",") + q(id);
    return "(" + s + ")";
}

std::string cell(const LibArray& a, int col, int row) {
    return a(col, row).str();
}

int cellInt(const LibArray& a, int col, int row) {
    return static_cast<int>(a(col, row).integer());
}

// A change that failed: rolled back first, then shown.
int failed(DbTransaction& tx) {
    tx.rollback();
    LIB_DB_ShowError();
    return -1;
}

// The issues named in a log row: the first few cover numbers, then how many more.
std::string issuesText(const std::vector<std::string>& periIds) {
    std::string s;
    for (std::size_t i = 0; i < periIds.size() && i < 10; ++i)
        s += (i ? "," : "") + periIds[i];
    if (periIds.size() > 10) s += " 等" + std::to_string(periIds.size()) + "期";
    return s;
}

int writeLog(const std::string& code, const ChkInOrderLine& line, const std::string& location,
             const std::string& what) {
    std::string title = line.title.size() > 180 ? line.title.substr(0, 180) : line.title;
    return LIB_WriteOpLog(code, line.marcRecNo.empty() ? "0" : line.marcRecNo, line.key.publCode,
                          line.key.periOrdYear, title, line.key.asordNo + " " + location, what);
}

// Removes the first-read notices, claims and owed copies of the issues (inside the caller's
// transaction).
int deleteIssueDependants(const std::string& idsSql) {
    for (const char* t : {"m_prio_read_noti", "m_aslack_rec", "m_peri_chk_lack"})
        if (LIB_DB_Execute(std::string("DELETE FROM ") + t + " WHERE peri_id IN " + idsSql) < 0)
            return -1;
    return 0;
}

std::string orZero(const std::string& v) {
    std::string t = sqltext::trim(v);
    return t.empty() ? "NULL" : formatNumber(LibVar(t).num());
}

// "12" when both ends are equal, else "12-13".
std::string span(const std::string& first, const std::string& last) {
    return first == last ? first : first + "-" + last;
}

}  // namespace

int renumberChkIssues(const ChkOrderKey& key) {
    LibArray rows;
    if (LIB_DB_Select(
            " SELECT peri_id,peri_no FROM m_peri_chk_vol " + keyWhere(key) + " ORDER BY peri_no ",
            rows) < 0)
        return -1;
    bool renumbered = false;
    for (int r = 2; r < rows.rows(); ++r) {
        int want = r - 1;
        if (cellInt(rows, 1, r) == want) continue;
        if (LIB_DB_Execute(" UPDATE m_peri_chk_vol  SET peri_no=" + std::to_string(want) +
                           " WHERE peri_id=" + q(cell(rows, 0, r))) < 0)
            return -1;
        renumbered = true;
    }
    // The owed copies carry the running numbers.
    return renumbered ? intRefreshLineFinish(key.publCode, key.periOrdYear, key.asordNo) : 0;
}

int ChkInLocation::distributedQty() const {
    int n = 0;
    for (const auto& d : dists)
        n += d.qty;
    return n;
}

ArrivalState IssueArrival(const ChkInIssue& issue, int subscribed, const std::string& today) {
    if (issue.received > 0)
        return issue.received >= subscribed ? ArrivalState::Arrived : ArrivalState::Partial;
    const std::string& due = issue.aslackDate.empty() ? issue.expectDate : issue.aslackDate;
    return !due.empty() && due < today.substr(0, 10) ? ArrivalState::Late : ArrivalState::Expected;
}

std::string ArrivalText(ArrivalState state) {
    switch (state) {
        case ArrivalState::Arrived:
            return "已到";
        case ArrivalState::Partial:
            return "部分到";
        case ArrivalState::Late:
            return "逾期未到";
        case ArrivalState::Expected:
            break;
    }
    return "未到";
}

std::string ArrivalTip(const ChkInIssue& issue, int subscribed) {
    return "复本：" + std::to_string(subscribed) + "  已签：" + std::to_string(issue.received) +
           "  未签：" + std::to_string(std::max(0, subscribed - issue.received));
}

std::string PeriTypeLabel(const std::string& periType) {
    static const std::map<std::string, std::string> labels{{"0", "普通刊"}, {"1", "增刊"},
                                                           {"2", "副刊"},   {"3", "索引刊"},
                                                           {"4", "附件"},   {"9", "合刊"}};
    auto it = labels.find(periType);
    return it == labels.end() ? periType : it->second;
}

int PickScannedIssue(const std::vector<ChkInIssue>& issues, int subscribed,
                     const std::string& addOn) {
    for (std::size_t i = 0; i < issues.size(); ++i) {
        const ChkInIssue& it = issues[i];
        if (it.received >= subscribed) continue;
        if (addOn.empty() || LibVar(it.coverIssue).integer() == LibVar(addOn).integer())
            return static_cast<int>(i);
    }
    return -1;
}

int intLoadChkOrderLine(const ChkOrderKey& key, ChkInOrderLine& line) {
    // A price read back from NULL would be 0: these columns say which prices are empty.
    static const char* const kPrices[] = {"peri_price", "peri_total_price", "fore_price",
                                          "fore_total_price"};
    std::string nullMarks;
    for (const char* c : kPrices)
        nullMarks += std::string(nullMarks.empty() ? "" : ",") + "CASE WHEN " + c +
                     " IS NULL THEN 1 ELSE 0 END";
    LibArray a;
    if (LIB_DB_Select(
            " SELECT "
            "get_mode_code,carrier_code,publ_freq,money_code,kind_no,peri_type,peri_ord_qty,"
            "peri_price,peri_total_price,fore_price,fore_total_price,remark,"
            "m_peri_ord_detl.marc_rec_no,ord_flag,marc.m_title,marc.m_isbn," +
                nullMarks +
                " FROM m_peri_ord_detl LEFT JOIN marc ON "
                "marc.marc_rec_no=m_peri_ord_detl.marc_rec_no" +
                keyWhere(key, "m_peri_ord_detl"),
            a) < 0)
        return -1;
    line = ChkInOrderLine{};
    line.key = key;
    if (a.recordCount() == 0) return 1;
    line.getMode = cell(a, 0, 2);
    line.carrier = cell(a, 1, 2);
    line.publFreq = cell(a, 2, 2);
    line.moneyCode = cell(a, 3, 2);
    line.kindNo = cell(a, 4, 2);
    line.periType = cell(a, 5, 2);
    line.periOrdQty = cellInt(a, 6, 2);
    line.periPrice = cell(a, 7, 2);
    line.periTotalPrice = cell(a, 8, 2);
    line.forePrice = cell(a, 9, 2);
    line.foreTotalPrice = cell(a, 10, 2);
    line.remark = cell(a, 11, 2);
    line.marcRecNo = cell(a, 12, 2);
    line.ordFlag = cell(a, 13, 2);
    line.title = cell(a, 14, 2);
    line.issn = cell(a, 15, 2);
    std::string* prices[] = {&line.periPrice, &line.periTotalPrice, &line.forePrice,
                             &line.foreTotalPrice};
    for (int i = 0; i < 4; ++i)
        if (a(16 + i, 2).integer() == 1) prices[i]->clear();
    return 0;
}

int intLoadChkLocations(const ChkOrderKey& key, std::vector<ChkInLocation>& locations) {
    LibArray subs, dists;
    if (LIB_DB_Select(" SELECT s.location,s.sub_peri_qty,c.location FROM m_sub_ord_lst s"
                      " LEFT JOIN m_peri_chk_cfg c ON c.publ_code=s.publ_code AND "
                      "c.peri_ord_year=s.peri_ord_year AND c.asord_no=s.asord_no AND "
                      "c.location=s.location" +
                          keyWhere(key, "s") + " ORDER BY s.location ",
                      subs) < 0 ||
        LIB_DB_Select(" SELECT location,dist_loca,dist_qty,label FROM m_peri_ord_dist_lst" +
                          keyWhere(key) + " ORDER BY location,dist_loca",
                      dists) < 0)
        return -1;
    locations.clear();
    for (int r = 2; r < subs.rows(); ++r) {
        ChkInLocation l;
        l.location = cell(subs, 0, r);
        l.subQty = cellInt(subs, 1, r);
        l.configured = !cell(subs, 2, r).empty();
        for (int d = 2; d < dists.rows(); ++d)
            if (cell(dists, 0, d) == l.location)
                l.dists.push_back({cell(dists, 1, d), cellInt(dists, 2, d), cell(dists, 3, d)});
        locations.push_back(std::move(l));
    }
    return 0;
}

int intLoadChkIssues(const ChkOrderKey& key, const std::string& location,
                     std::vector<ChkInIssue>& issues) {
    // One statement and one round trip: each issue's copies at the location are counted beside
    // it through the copy key's index, instead of a second pass over the title's copies. The
    // rows go straight into the issues, without the result array in between.
    RawResult a;
    if (LIB_DB_SelectRaw(
            " SELECT v.peri_id,v.cover_vol,v.cover_issue,v.cover_issue_total,v.carrier_code,"
            " v.expect_date,v.aslack_date,v.publ_year,v.remark,v.attachment,v.issue_title,"
            " v.peri_no,v.finish_flag,v.peri_type,v.begin_vol,v.end_vol,v.begin_issue,"
            " v.end_issue,(SELECT count(*) FROM m_peri_item i WHERE i.peri_id=v.peri_id"
            " AND i.location=" +
                q(location) + ") AS received FROM m_peri_chk_vol v" + keyWhere(key, "v") +
                " ORDER BY v.peri_no",
            a) < 0)
        return -1;
    issues.clear();
    issues.reserve(a.rows.size());
    for (const std::vector<LibVar>& row : a.rows) {
        ChkInIssue i;
        i.periId = row[0].str();
        i.coverVol = row[1].str();
        i.coverIssue = row[2].str();
        i.coverIssueTotal = row[3].str();
        i.carrierCode = row[4].str();
        i.expectDate = row[5].str();
        i.aslackDate = row[6].str();
        i.publYear = row[7].str();
        i.remark = row[8].str();
        i.attachment = row[9].str();
        i.issueTitle = row[10].str();
        i.periNo = static_cast<int>(row[11].integer());
        i.finishFlag = row[12].str();
        i.periType = row[13].str();
        i.beginVol = row[14].str();
        i.endVol = row[15].str();
        i.beginIssue = row[16].str();
        i.endIssue = row[17].str();
        i.received = static_cast<int>(row[18].integer());
        issues.push_back(std::move(i));
    }
    return 0;
}

int intLoadChkYears(const ChkOrderKey& key, std::vector<std::string>& years) {
    LibArray a;
    if (LIB_DB_Select(" SELECT DISTINCT publ_year  FROM m_peri_chk_vol " + keyWhere(key) +
                          " ORDER BY publ_year",
                      a) < 0)
        return -1;
    years.clear();
    for (int r = 2; r < a.rows(); ++r)
        years.push_back(cell(a, 0, r));
    return 0;
}

int intFindIssueLine(const std::string& periId, ChkOrderKey& key) {
    LibArray a;
    if (LIB_DB_Select("SELECT publ_code,peri_ord_year,asord_no FROM m_peri_chk_vol WHERE peri_id=" +
                          q(periId),
                      a) < 0)
        return -1;
    if (a.recordCount() == 0) return 1;
    key = {cell(a, 0, 2), cell(a, 1, 2), cell(a, 2, 2)};
    return 0;
}

bool LocationAllowed(const std::string& location) {
    if (g_blnSpecialRight) return true;
    for (int r = 2; r < g_arrUserLoca.rows(); ++r)
        if (sqltext::upper(sqltext::trim(g_arrUserLoca(0, r).str())) ==
            sqltext::upper(sqltext::trim(location)))
            return true;
    return false;
}

bool CheckLocationRight(const std::string& location) {
    if (LocationAllowed(location)) return true;
    LIB_ShowMsg("E你没有操作该订户的权限。");
    return false;
}

int intCheckInIssues(const ChkInOrderLine& line, const ChkInLocation& location,
                     const std::vector<std::string>& periIds, int maxCopies) {
    if (!CheckLocationRight(location.location)) return -1;
    if (periIds.empty()) return 0;
    DbTransaction tx;
    if (!tx.ok()) return failed(tx);
    LibArray counts;
    if (LIB_DB_Select(" SELECT peri_id,dis_location,count(*) FROM m_peri_item  WHERE location=" +
                          q(location.location) + " AND peri_id IN " + inList(periIds) +
                          " GROUP BY peri_id,dis_location",
                      counts) < 0)
        return failed(tx);
    std::map<std::pair<std::string, std::string>, int> have;
    for (int r = 2; r < counts.rows(); ++r)
        have[{cell(counts, 0, r), cell(counts, 1, r)}] = cellInt(counts, 2, r);
    const std::string now = LIB_DB_GetServerDate();
    if (now.empty()) return failed(tx);
    // Every new copy goes in one statement: one round trip however many copies arrive.
    std::string values;
    int added = 0, issues = 0;
    for (const auto& id : periIds) {
        int before = added;
        for (const ChkInDist& d : location.dists) {
            auto it = have.find({id, d.distLoca});
            for (int no = (it == have.end() ? 0 : it->second) + 1;
                 no <= d.qty && (maxCopies < 0 || added - before < maxCopies); ++no, ++added)
                values += std::string(values.empty() ? "" : ",") + "(" + q(id) + "," +
                          q(location.location) + "," + q(d.distLoca) + "," + std::to_string(no) +
                          ",'0'," + q(now) + "," + q(g_strWkrNo) + ")";
        }
        if (added > before) ++issues;
    }
    if (added > 0 &&
        (LIB_DB_Execute(" INSERT INTO m_peri_item(peri_id,location,dis_location,item_no,"
                        " item_stat,chk_date,wkr_no) VALUES " +
                        values) < 0 ||
         intRefreshIssueFinish("peri_id IN " + inList(periIds)) < 0))
        return failed(tx);
    if (added > 0 && (LIB_AddJobQty("505", issues, added, 0) < 0 ||
                      writeLog("50023", line, location.location, issuesText(periIds)) < 0))
        return failed(tx);
    if (tx.commit() < 0) return failed(tx);
    return added;
}

int intUndoCheckIn(const ChkInOrderLine& line, const ChkInLocation& location,
                   const std::vector<std::string>& periIds) {
    if (!CheckLocationRight(location.location)) return -1;
    if (periIds.empty()) return 0;
    DbTransaction tx;
    if (!tx.ok()) return failed(tx);
    const std::string ids = inList(periIds);
    const std::string loca = q(location.location);
    LibArray before;
    if (LIB_DB_Select(
            "SELECT count(*) FROM m_peri_item WHERE location=" + loca + " AND peri_id IN " + ids,
            before) < 0)
        return failed(tx);
    // Per sub-location: the copies numbered above those already processed further go; a copy
    // that has been processed stays whatever its number.
    for (const ChkInDist& d : location.dists)
        if (LIB_DB_Execute(
                " DELETE FROM m_peri_item  WHERE location=" + loca +
                " AND dis_location=" + q(d.distLoca) + " AND peri_id IN " + ids +
                " AND item_stat='0' AND item_no>(SELECT count(*) FROM m_peri_item p WHERE "
                "p.peri_id=m_peri_item.peri_id AND p.location=m_peri_item.location AND "
                "p.dis_location=m_peri_item.dis_location AND p.item_stat<>'0')") < 0)
            return failed(tx);
    LibArray after;
    if (LIB_DB_Select(
            "SELECT count(*) FROM m_peri_item WHERE location=" + loca + " AND peri_id IN " + ids,
            after) < 0)
        return failed(tx);
    int removed = cellInt(before, 0, 2) - cellInt(after, 0, 2);
    if (removed > 0 && (intRefreshIssueFinish("peri_id IN " + ids) < 0 ||
                        writeLog("50024", line, location.location, issuesText(periIds)) < 0))
        return failed(tx);
    if (tx.commit() < 0) return failed(tx);
    return removed;
}

int intCombineIssues(const ChkInOrderLine& line, const std::string& location,
                     const std::vector<std::string>& periIds) {
    if (!CheckLocationRight(location)) return -1;
    if (periIds.size() < 2) return 1;
    if (LIB_ShowMsg("Q是否确认合并选择卷期。") != kMsgOk) return 1;
    DbTransaction tx;
    if (!tx.ok()) return failed(tx);
    const std::string ids = inList(periIds);
    LibArray rows, copies;
    if (LIB_DB_Select("SELECT peri_id,cover_vol,cover_issue,peri_type,begin_vol,end_vol,"
                      "begin_issue,end_issue,code1 FROM m_peri_chk_vol WHERE peri_id IN " +
                          ids + " ORDER BY peri_no",
                      rows) < 0 ||
        LIB_DB_Select("SELECT count(*) FROM m_peri_item WHERE peri_id IN " + ids, copies) < 0)
        return failed(tx);
    if (rows.recordCount() < 2) return 1;
    for (int r = 2; r < rows.rows(); ++r) {
        std::string t = cell(rows, 3, r);
        if (t != "0" && t != "9") {
            LIB_ShowMsg("E期刊类型不对，不能合并。");
            return -1;
        }
    }
    if (cellInt(copies, 0, 2) > 0) {
        LIB_ShowMsg("E已有签收信息，不能合并。");
        return -1;
    }
    // An issue combined before brings its own first and last numbers and its count.
    auto firstOf = [&](int r, int col, int beginCol) {
        std::string b = cell(rows, beginCol, r);
        return cell(rows, 3, r) == "9" && !b.empty() ? b : cell(rows, col, r);
    };
    const int last = rows.rows() - 1;
    std::string bVol = firstOf(2, 1, 4), bIss = firstOf(2, 2, 6);
    std::string eVol = firstOf(last, 1, 5), eIss = firstOf(last, 2, 7);
    long long merged = 0;
    for (int r = 2; r < rows.rows(); ++r)
        merged += cell(rows, 3, r) == "9" ? std::max<long long>(1, rows(8, r).integer()) : 1;
    // The combined issue is a run of its own that was never claimed as such: the claims of
    // every issue in it go, the first one's included; its first-read notices stay.
    std::string first = cell(rows, 0, 2);
    std::vector<std::string> others;
    for (int r = 3; r < rows.rows(); ++r)
        others.push_back(cell(rows, 0, r));
    const std::string otherIds = inList(others);
    if (LIB_DB_Execute("UPDATE m_peri_chk_vol SET cover_vol=" + q(span(bVol, eVol)) +
                       ",cover_issue=" + q(span(bIss, eIss)) + ",begin_vol=" + q(bVol) +
                       ",end_vol=" + q(eVol) + ",begin_issue=" + q(bIss) + ",end_issue=" + q(eIss) +
                       ",peri_type='9',code1=" + q(std::to_string(merged)) +
                       " WHERE peri_id=" + q(first)) < 0 ||
        LIB_DB_Execute("DELETE FROM m_aslack_rec WHERE peri_id=" + q(first)) < 0 ||
        intRefreshIssueLack("peri_id=" + q(first)) < 0 || deleteIssueDependants(otherIds) < 0 ||
        LIB_DB_Execute("DELETE FROM m_peri_chk_vol WHERE peri_id IN " + otherIds) < 0 ||
        renumberChkIssues(line.key) < 0 ||
        writeLog("50028", line, location, issuesText(periIds)) < 0)
        return failed(tx);
    if (tx.commit() < 0) return failed(tx);
    return 0;
}

int intDeleteIssues(const ChkInOrderLine& line, const std::string& location,
                    const std::vector<std::string>& periIds) {
    if (!CheckLocationRight(location)) return -1;
    if (periIds.empty()) return 0;
    if (LIB_ShowMsg("Q是否确认删除选择卷期。") != kMsgOk) return 0;
    DbTransaction tx;
    if (!tx.ok()) return failed(tx);
    LibArray withCopies;
    if (LIB_DB_Select(
            " SELECT DISTINCT peri_id FROM m_peri_item  WHERE peri_id IN " + inList(periIds),
            withCopies) < 0)
        return failed(tx);
    std::set<std::string> kept;
    for (int r = 2; r < withCopies.rows(); ++r)
        kept.insert(cell(withCopies, 0, r));
    std::vector<std::string> gone;
    for (const auto& id : periIds)
        if (!kept.count(id)) gone.push_back(id);
    if (gone.empty()) return 0;
    const std::string ids = inList(gone);
    if (deleteIssueDependants(ids) < 0 ||
        LIB_DB_Execute("DELETE FROM m_peri_chk_vol WHERE peri_id IN " + ids + " AND " +
                       keyWhere(line.key).substr(7)) < 0 ||
        renumberChkIssues(line.key) < 0 || writeLog("50027", line, location, issuesText(gone)) < 0)
        return failed(tx);
    if (tx.commit() < 0) return failed(tx);
    return static_cast<int>(gone.size());
}

int intDeleteAllIssues(const ChkInOrderLine& line, const std::string& location) {
    if (!CheckLocationRight(location)) return -1;
    if (LIB_ShowMsg("Q是否确认删除所有卷期信息。") != kMsgOk) return 1;
    DbTransaction tx;
    if (!tx.ok()) return failed(tx);
    const std::string ids = "(SELECT peri_id FROM m_peri_chk_vol" + keyWhere(line.key) + ")";
    if (deleteIssueDependants(ids) < 0 ||
        LIB_DB_Execute("DELETE FROM m_peri_item WHERE peri_id IN " + ids) < 0 ||
        LIB_DB_Execute("DELETE FROM m_peri_chk_vol" + keyWhere(line.key)) < 0 ||
        LIB_DB_Execute("UPDATE m_peri_chk_cfg SET finish_flag='0'" + keyWhere(line.key)) < 0 ||
        LIB_DB_Execute("UPDATE m_peri_ord_detl SET ord_flag='1'" + strOrdVersionBump() +
                       keyWhere(line.key)) < 0 ||
        writeLog("50029", line, location, "全部卷期") < 0)
        return failed(tx);
    if (tx.commit() < 0) return failed(tx);
    return 0;
}

int intDeleteSubLocation(const ChkInOrderLine& line, const ChkInLocation& location) {
    if (!CheckLocationRight(location.location)) return -1;
    if (LIB_ShowMsg("Q是否确认删除选择订户。") != kMsgOk) return 1;
    DbTransaction tx;
    if (!tx.ok()) return failed(tx);
    const std::string where = keyWhere(line.key) + " AND location=" + q(location.location);
    const std::string ids = "(SELECT peri_id FROM m_peri_chk_vol" + keyWhere(line.key) + ")";
    LibArray copies, cfgLeft;
    if (LIB_DB_Select("SELECT count(*) FROM m_peri_item WHERE location=" + q(location.location) +
                          " AND peri_id IN " + ids,
                      copies) < 0)
        return failed(tx);
    if (cellInt(copies, 0, 2) > 0) {
        tx.rollback();
        LIB_ShowMsg("E该订户已有签收信息，不可删除。");
        return -1;
    }
    for (const char* t :
         {"m_peri_ord_dist_lst", "m_peri_sub_fund_out", "m_peri_chk_cfg", "m_sub_ord_lst"})
        if (LIB_DB_Execute(std::string("DELETE FROM ") + t + where) < 0) return failed(tx);
    if (LIB_DB_Execute("UPDATE m_peri_ord_detl SET peri_ord_qty=peri_ord_qty-" +
                       std::to_string(location.subQty) + strOrdVersionBump() + keyWhere(line.key)) <
            0 ||
        LIB_DB_Select("SELECT count(*) FROM m_peri_chk_cfg" + keyWhere(line.key), cfgLeft) < 0)
        return failed(tx);
    if (cellInt(cfgLeft, 0, 2) == 0 &&
        (deleteIssueDependants(ids) < 0 ||
         LIB_DB_Execute("DELETE FROM m_peri_chk_vol" + keyWhere(line.key)) < 0 ||
         LIB_DB_Execute("UPDATE m_peri_ord_detl SET ord_flag='1'" + strOrdVersionBump() +
                        keyWhere(line.key)) < 0))
        return failed(tx);
    // The issues left may have all their copies now that this location wants none.
    if (intRefreshLineFinish(line.key.publCode, line.key.periOrdYear, line.key.asordNo) < 0 ||
        writeLog("50027", line, location.location, "删除订户 " + location.location) < 0)
        return failed(tx);
    if (tx.commit() < 0) return failed(tx);
    return 0;
}

int intLoadLocaRecs(const std::string& marcRecNo, std::vector<LocaRec>& recs) {
    LibArray a;
    if (LIB_DB_Select("SELECT publ_year,bgn_end_vol,location FROM m_peri_loca_rec WHERE "
                      "marc_rec_no=" +
                          q(marcRecNo) + " ORDER BY publ_year,location",
                      a) < 0)
        return -1;
    recs.clear();
    for (int r = 2; r < a.rows(); ++r)
        recs.push_back({cell(a, 0, r), cell(a, 1, r), cell(a, 2, r)});
    return 0;
}

int intSaveLocaRecs(const std::string& marcRecNo, const std::vector<LocaRec>& recs) {
    for (const LocaRec& r : recs) {
        if (!CheckLocationRight(r.location)) return -1;
        std::string y = sqltext::trim(r.publYear);
        if (y.size() != 4 || !std::all_of(y.begin(), y.end(), ::isdigit)) {
            LIB_ShowMsg("E年度应为四位数字：" + r.publYear);
            return -1;
        }
    }
    DbTransaction tx;
    if (!tx.ok()) return failed(tx);
    for (const LocaRec& r : recs) {
        const std::string key =
            q(marcRecNo) + "," + q(r.location) + "," + q(sqltext::trim(r.publYear));
        if (LIB_DB_Execute(" DELETE FROM m_peri_loca_rec  WHERE marc_rec_no=" + q(marcRecNo) +
                           " AND location=" + q(r.location) +
                           " AND publ_year=" + q(sqltext::trim(r.publYear))) < 0)
            return failed(tx);
        std::string text = sqltext::trim(r.statement);
        if (!text.empty() &&
            LIB_DB_Execute(" INSERT INTO "
                           "m_peri_loca_rec(marc_rec_no,location,publ_year,bgn_end_vol) VALUES( " +
                           key + "," + q(text) + ")") < 0)
            return failed(tx);
    }
    if (tx.commit() < 0) return failed(tx);
    return 0;
}

int intLoadBoundVolumes(const std::string& marcRecNo, LibArray& rows) {
    return LIB_DB_Select(
        " SELECT call_no,prop_no,bar_code,dis_location,year|| '-'||vol_peri,book_stat_code,"
        " price,carrier_code,in_date,rec_flag_upt_date,attachment,resp_wkr,remark "
        " FROM indi_acct  WHERE marc_rec_no=" +
            q(marcRecNo) + " ORDER BY location,year|| '-'||vol_peri ",
        rows);
}

int intSaveChkOrderLine(const ChkInOrderLine& line, const std::string& location) {
    if (!CheckLocationRight(location)) return -1;
    DbTransaction tx;
    if (!tx.ok()) return failed(tx);
    if (LIB_DB_Execute(
            " UPDATE m_peri_ord_detl SET get_mode_code=" + q(line.getMode) +
            ",carrier_code=" + q(line.carrier) + ",publ_freq=" + q(line.publFreq) +
            ",money_code=" + q(line.moneyCode) + ",kind_no=" + q(line.kindNo) +
            ",peri_type=" + q(line.periType) + ",peri_ord_qty=" + std::to_string(line.periOrdQty) +
            ",peri_price=" + orZero(line.periPrice) + ",peri_total_price=" +
            orZero(line.periTotalPrice) + ",fore_price=" + orZero(line.forePrice) +
            ",fore_total_price=" + orZero(line.foreTotalPrice) + ",remark=" + q(line.remark) +
            ",marc_rec_no=" + q(line.marcRecNo) + strOrdVersionBump() + keyWhere(line.key)) < 0)
        return failed(tx);
    if (tx.commit() < 0) return failed(tx);
    return 0;
}
