#include "binding/core/basBindFunc.h"

#include <cstdio>
#include <map>
#include <tuple>

#include "binding/core/BindDb.h"
#include "common/OperatorState.h"
#include "common/basLibOpLog.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/core/MarcSearch.h"
#include "marc/core/basBMStore.h"

using binddb::cell;
using binddb::kDbFailed;
using binddb::number;
using binddb::refuse;

namespace {

// Volume and issue compare as numbers padded to 20 characters, so "2" comes before "10".
const char* const kIssueOrder =
    "lpad(m_peri_chk_vol.cover_vol,20,'0'),lpad(m_peri_chk_vol.cover_issue,20,'0')";
// Copies that may still be bound: at the desk, handed over, or back from an undone accession.
const char* const kAvailable = "m_peri_item.item_stat<='2'";
// Titles are read and written in chunks, so that a whole year's list never becomes one
// statement too long for either database.
constexpr std::size_t kChunk = 100;

std::string q(const std::string& v) {
    return LIB_SqlStr(v);
}

std::string titleKey(const std::string& publ, const std::string& year, const std::string& asord,
                     const std::string& loca, const std::string& dis) {
    return publ + '\x1F' + year + '\x1F' + asord + '\x1F' + loca + '\x1F' + dis;
}
std::string titleKey(const BindTitle& t) {
    return titleKey(t.publCode, t.periOrdYear, t.asordNo, t.location, t.disLocation);
}

// Order line, location and sub-location of each title, ORed.
std::string titleCondition(const std::vector<const BindTitle*>& titles) {
    std::string out;
    for (const BindTitle* t : titles)
        out += std::string(out.empty() ? "" : " OR ") +
               "(m_peri_chk_vol.publ_code=" + q(t->publCode) +
               " AND m_peri_chk_vol.peri_ord_year=" + q(t->periOrdYear) +
               " AND m_peri_chk_vol.asord_no=" + q(t->asordNo) +
               " AND m_peri_item.location=" + q(t->location) +
               " AND m_peri_item.dis_location=" + q(t->disLocation) + ")";
    return "(" + out + ")";
}

// The available issues of each title of the chunk, in issue order, by title key. Grouping
// counts the copies and makes the rows distinct.
int loadIssues(const std::vector<const BindTitle*>& titles, const std::string& year,
               std::map<std::string, std::vector<BindIssue>>& out) {
    std::string sql =
        " SELECT m_peri_chk_vol.begin_issue,m_peri_chk_vol.cover_vol,"
        "m_peri_chk_vol.cover_issue, m_peri_chk_vol.publ_year,m_peri_chk_vol.peri_type,"
        "m_peri_chk_vol.end_issue,m_peri_chk_vol.peri_id, m_peri_chk_vol.publ_code,"
        "m_peri_chk_vol.peri_ord_year,m_peri_chk_vol.asord_no,m_peri_item.location,"
        "m_peri_item.dis_location,count(*),m_peri_ord_detl.peri_price"
        " FROM m_peri_chk_vol,m_peri_item,m_peri_ord_detl"
        " WHERE m_peri_item.peri_id=m_peri_chk_vol.peri_id"
        " AND m_peri_ord_detl.publ_code=m_peri_chk_vol.publ_code"
        " AND m_peri_ord_detl.peri_ord_year=m_peri_chk_vol.peri_ord_year"
        " AND m_peri_ord_detl.asord_no=m_peri_chk_vol.asord_no AND " +
        std::string(kAvailable) + " AND " + titleCondition(titles);
    if (!year.empty()) sql += " AND m_peri_chk_vol.publ_year=" + q(year);
    sql +=
        " GROUP BY m_peri_chk_vol.begin_issue,m_peri_chk_vol.cover_vol,"
        "m_peri_chk_vol.cover_issue,m_peri_chk_vol.publ_year,m_peri_chk_vol.peri_type,"
        "m_peri_chk_vol.end_issue,m_peri_chk_vol.peri_id,m_peri_chk_vol.publ_code,"
        "m_peri_chk_vol.peri_ord_year,m_peri_chk_vol.asord_no,m_peri_item.location,"
        "m_peri_item.dis_location,m_peri_ord_detl.peri_price ORDER BY " +
        std::string(kIssueOrder) + ",m_peri_chk_vol.peri_id";
    LibArray a;
    if (LIB_DB_Select(sql, a) < 0) return kDbFailed;
    for (int i = 0; i < a.recordCount(); ++i) {
        BindIssue is{
            cell(a, 6, i),     cell(a, 1, i), cell(a, 2, i), cell(a, 3, i),
            cell(a, 4, i),     cell(a, 0, i), cell(a, 5, i), static_cast<int>(number(a, 12, i)),
            a(13, i + 2).num()};
        out[titleKey(cell(a, 7, i), cell(a, 8, i), cell(a, 9, i), cell(a, 10, i), cell(a, 11, i))]
            .push_back(is);
    }
    return 0;
}

// Binding settings of a title at its location: check-in configuration and order line.
struct BindSettings {
    std::string color, frame, bookSizeCode, getModeCode, carrierCode;
    int bindItemQty = 0, keepQty = 0, bindCopyQty = 0;
};

int loadSettings(const std::vector<const BindTitle*>& titles,
                 std::map<std::string, BindSettings>& out) {
    std::string cond;
    for (const BindTitle* t : titles)
        cond += std::string(cond.empty() ? "" : " OR ") +
                "(m_peri_chk_cfg.publ_code=" + q(t->publCode) +
                " AND m_peri_chk_cfg.peri_ord_year=" + q(t->periOrdYear) +
                " AND m_peri_chk_cfg.asord_no=" + q(t->asordNo) +
                " AND m_peri_chk_cfg.location=" + q(t->location) + ")";
    LibArray a;
    if (LIB_DB_Select(
            " SELECT m_peri_chk_cfg.color,m_peri_chk_cfg.frame,m_peri_ord_detl.book_size_code,"
            " m_peri_ord_detl.bind_item_qty,m_peri_chk_cfg.issue_keep_qty,"
            "m_peri_chk_cfg.bind_copy_qty,m_peri_ord_detl.get_mode_code,"
            "m_peri_ord_detl.carrier_code,m_peri_chk_cfg.publ_code,m_peri_chk_cfg.peri_ord_year,"
            "m_peri_chk_cfg.asord_no,m_peri_chk_cfg.location"
            " FROM m_peri_chk_cfg,m_peri_ord_detl"
            " WHERE m_peri_ord_detl.publ_code=m_peri_chk_cfg.publ_code"
            " AND m_peri_ord_detl.peri_ord_year=m_peri_chk_cfg.peri_ord_year"
            " AND m_peri_ord_detl.asord_no=m_peri_chk_cfg.asord_no AND (" +
                cond + ")",
            a) < 0)
        return kDbFailed;
    for (int i = 0; i < a.recordCount(); ++i) {
        BindSettings s{cell(a, 0, i),
                       cell(a, 1, i),
                       cell(a, 2, i),
                       cell(a, 6, i),
                       cell(a, 7, i),
                       static_cast<int>(number(a, 3, i)),
                       static_cast<int>(number(a, 4, i)),
                       static_cast<int>(number(a, 5, i))};
        for (const BindTitle* t : titles)
            if (t->publCode == cell(a, 8, i) && t->periOrdYear == cell(a, 9, i) &&
                t->asordNo == cell(a, 10, i) && t->location == cell(a, 11, i))
                out[titleKey(*t)] = s;
    }
    return 0;
}

// What a record takes from the catalogue: the spine title (516$a of a Chinese record, 246$a of
// a Western one, else the title) and the call number (the one given out in call_no_lst wins
// over 905$d), and the ISSN.
struct RecordFacts {
    std::string spine, callNo, isbn;
};

int loadRecordFacts(const std::vector<const BindTitle*>& titles,
                    std::map<std::string, RecordFacts>& out) {
    std::vector<std::string> recNos;
    for (const BindTitle* t : titles)
        if (!out.count(t->marcRecNo)) {
            recNos.push_back(t->marcRecNo);
            out[t->marcRecNo].spine = t->title;
        }
    if (recNos.empty()) return 0;
    LibArray a;
    if (LIB_DB_Select("SELECT marc_rec_no,min(call_no) FROM call_no_lst WHERE marc_rec_no IN " +
                          binddb::inList(recNos) + " GROUP BY marc_rec_no",
                      a) < 0)
        return kDbFailed;
    for (int i = 0; i < a.recordCount(); ++i)
        out[cell(a, 0, i)].callNo = cell(a, 1, i);
    if (LIB_DB_Select(
            "SELECT marc_rec_no,m_isbn FROM marc WHERE marc_rec_no IN " + binddb::inList(recNos),
            a) < 0)
        return kDbFailed;
    for (int i = 0; i < a.recordCount(); ++i)
        out[cell(a, 0, i)].isbn = cell(a, 1, i);
    for (const std::string& no : recNos) {
        // MarcLoad returns an empty record both when there is none and when a read failed;
        // only the error record tells them apart.
        MarcRec rec = MarcLoad(no);
        if (g_ErrInfo.lngSource != kSrcNone) return kDbFailed;
        if (rec.RecNo.empty()) continue;
        RecordFacts& f = out[no];
        std::string tag = rec.MarcType == "U" ? "246" : "516";
        // Each look-up starts at the first field: the scan cursor is shared.
        MarcResetCursor();
        std::string spine = MarcGetSubField(MarcFindField(rec, tag), 'a');
        if (!spine.empty()) f.spine = spine;
        MarcResetCursor();
        if (f.callNo.empty()) f.callNo = MarcGetSubField(MarcFindField(rec, "905"), 'd');
    }
    return 0;
}

std::string range(const std::string& first, const std::string& last) {
    return first == last ? first : first + "-" + last;
}

std::string money(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

struct PriceList {
    std::map<std::string, double> price;      // by book-size code
    std::map<std::string, std::string> name;  // book-size names
};

int loadPrices(const std::string& binder, PriceList& p) {
    LibArray a;
    if (LIB_DB_Select(
            " SELECT book_size_code,bind_price FROM bind_price  WHERE bookbinder_code=" + q(binder),
            a) < 0)
        return kDbFailed;
    for (int i = 0; i < a.recordCount(); ++i)
        p.price[cell(a, 0, i)] = a(1, i + 2).num();
    if (LIB_DB_Select(" SELECT book_size_code,book_size_name FROM book_size ", a) < 0)
        return kDbFailed;
    for (int i = 0; i < a.recordCount(); ++i)
        p.name[cell(a, 0, i)] = cell(a, 1, i);
    return 0;
}

// Marks the highest available copy of each issue at the location as bound in the record; the
// values are bound, so that the few shapes (by run length) are prepared once per connection.
BoundStatement takeCopiesStatement(const std::string& bindNo, const std::string& location,
                                   const std::string& disLocation,
                                   const std::vector<std::string>& periIds) {
    BoundStatement st{"", {bindNo, location, disLocation}};
    std::string ids;
    for (const std::string& id : periIds) {
        st.args.emplace_back(id);
        ids += (ids.empty() ? "$" : ",$") + std::to_string(st.args.size());
    }
    st.sql =
        " UPDATE m_peri_item AS a SET  item_stat='3',  remark=$1, bind_no=$1"
        " WHERE item_stat<='2' AND location=$2 AND dis_location=$3 AND peri_id IN (" +
        ids +
        ") AND item_no=(SELECT max(b.item_no)  FROM m_peri_item b  WHERE b.item_stat<='2'"
        " AND b.location=a.location AND b.dis_location=a.dis_location AND a.peri_id=b.peri_id) ";
    return st;
}

int takeCopies(const std::string& bindNo, const std::string& location,
               const std::string& disLocation, const std::vector<std::string>& periIds) {
    return LIB_DB_ExecuteBatch({takeCopiesStatement(bindNo, location, disLocation, periIds)});
}

// A copy taken out of a record goes back to where it was before binding.
const char* const kCopyBack =
    " item_stat=CASE WHEN conn_date IS NULL OR conn_date='' THEN '0' ELSE '1' END,"
    " remark=NULL, bind_no=NULL";

struct Run {
    const BindTitle* title;
    std::vector<BindIssue> issues;
};

const std::vector<std::string> kRecordInsertColumns{
    "bind_no",         "marc_rec_no",   "get_mode_code",    "carrier_code",
    "bookbinder_code", "bind_batch_no", "bound_flag",       "m_title",
    "bgn_end_year",    "bgn_end_vol",   "bound_edit_price", "call_no",
    "m_isbn",          "qty_of_bind",   "book_size",        "color",
    "frame",           "bound_price"};

// The record's row (for one multi-row insert of the chunk) and the update that takes its
// copies, which must follow the insert in the batch.
void addRecord(const Run& run, const BindSettings& s, const RecordFacts& facts,
               const BindCreate& req, const PriceList& prices, const std::string& bindNo,
               std::vector<std::vector<LibVar>>& rows, std::vector<BoundStatement>& takes) {
    std::vector<std::string> ids;
    double value = 0;
    for (const BindIssue& i : run.issues) {
        ids.push_back(i.periId);
        value += i.price;
    }
    const BindIssue& first = run.issues.front();
    const BindIssue& last = run.issues.back();
    auto price = prices.price.find(s.bookSizeCode);
    auto size = prices.name.find(s.bookSizeCode);
    rows.push_back({bindNo, run.title->marcRecNo, s.getModeCode, s.carrierCode, req.binder,
                    req.batchNo, 0, facts.spine, range(first.publYear, last.publYear),
                    range(strIssueLabel(first), strIssueLabel(last)), money(value), facts.callNo,
                    facts.isbn, static_cast<int>(run.issues.size()),
                    size == prices.name.end() ? std::string() : size->second, s.color, s.frame,
                    price == prices.price.end() ? LibVar::null() : LibVar(money(price->second))});
    takes.push_back(takeCopiesStatement(bindNo, run.title->location, run.title->disLocation, ids));
}

std::string bumpBindNo(const std::string& bindNo) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%010lld", std::stoll(bindNo) + 1);
    return buf;
}

}  // namespace

std::string strIssueLabel(const BindIssue& issue) {
    if (issue.coverVol.empty()) return issue.coverIssue;
    return issue.coverVol + "(" + issue.coverIssue + ")";
}

int intFindBindTitles(const BindSearch& s, std::vector<BindTitle>& titles) {
    titles.clear();
    if (s.text.find_first_not_of(' ') == std::string::npos) {
        LIB_ShowMsg("E查询内容不能为空。");
        return -1;
    }
    if (s.keep && s.year.empty()) {
        LIB_ShowMsg("E使用保留期数必须指定年度。");
        return -1;
    }
    std::string cond;
    switch (s.field) {
        case BindSearchField::IndexGroup:
            cond =
                " AND marc.marc_rec_no IN (SELECT marc_rec_no FROM marc_idx WHERE marc_idx_grp=" +
                q(s.group) + " AND marc_idx_cont LIKE " +
                MarcSqlText(MarcSearchKey(s.group, s.text) + "%") + ")";
            break;
        case BindSearchField::PublCode:
            cond = " AND m_peri_ord_detl.publ_code LIKE " + q(s.text + "%");
            break;
        case BindSearchField::AsordNo:
            cond = " AND m_peri_ord_detl.asord_no=" + q(s.text);
            break;
    }
    if (!s.year.empty()) cond += " AND m_peri_chk_vol.publ_year=" + q(s.year);
    LibArray a;
    if (LIB_DB_Select(
            "SELECT marc.marc_rec_no,marc.m_title,m_peri_ord_detl.publ_code,"
            "m_peri_ord_detl.peri_ord_year,m_peri_ord_detl.asord_no,m_peri_item.location,"
            "m_peri_item.dis_location,count(DISTINCT m_peri_item.peri_id),count(*)"
            " FROM m_peri_ord_detl,m_peri_chk_cfg,m_peri_chk_vol,m_peri_item,marc"
            " WHERE marc.marc_rec_no=m_peri_ord_detl.marc_rec_no"
            " AND m_peri_chk_cfg.publ_code=m_peri_ord_detl.publ_code"
            " AND m_peri_chk_cfg.peri_ord_year=m_peri_ord_detl.peri_ord_year"
            " AND m_peri_chk_cfg.asord_no=m_peri_ord_detl.asord_no"
            " AND m_peri_chk_vol.publ_code=m_peri_ord_detl.publ_code"
            " AND m_peri_chk_vol.peri_ord_year=m_peri_ord_detl.peri_ord_year"
            " AND m_peri_chk_vol.asord_no=m_peri_ord_detl.asord_no"
            " AND m_peri_item.peri_id=m_peri_chk_vol.peri_id"
            " AND m_peri_chk_cfg.location=m_peri_item.location  AND " +
                std::string(kAvailable) + cond +
                " GROUP BY marc.marc_rec_no,marc.m_title,m_peri_ord_detl.publ_code,"
                "m_peri_ord_detl.peri_ord_year,m_peri_ord_detl.asord_no,m_peri_item.location,"
                "m_peri_item.dis_location"
                " ORDER BY marc.marc_rec_no,m_peri_item.location,m_peri_item.dis_location,"
                "m_peri_ord_detl.publ_code,m_peri_ord_detl.peri_ord_year,m_peri_ord_detl.asord_no",
            a) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    for (int i = 0; i < a.recordCount(); ++i)
        titles.push_back({cell(a, 0, i), cell(a, 1, i), cell(a, 2, i), cell(a, 3, i), cell(a, 4, i),
                          cell(a, 5, i), cell(a, 6, i), static_cast<int>(number(a, 7, i)),
                          static_cast<int>(number(a, 8, i))});
    if (titles.empty()) {
        LIB_ShowMsg("E无该期刊单刊信息，请重新查询！");
        return -1;
    }
    return 0;
}

namespace {

// The issues of the titles that go into records: kept issues left out when asked.
int issuesToBind(const std::vector<const BindTitle*>& chunk, const std::string& year, bool keep,
                 const std::map<std::string, BindSettings>& settings,
                 std::map<std::string, std::vector<BindIssue>>& issues) {
    if (loadIssues(chunk, year, issues) < 0) return kDbFailed;
    if (!keep) return 0;
    for (const BindTitle* t : chunk) {
        auto s = settings.find(titleKey(*t));
        auto& list = issues[titleKey(*t)];
        std::size_t kept = s == settings.end() ? 0 : static_cast<std::size_t>(s->second.keepQty);
        list.resize(list.size() > kept ? list.size() - kept : 0);
    }
    return 0;
}

}  // namespace

int intLoadBindIssues(const BindTitle& title, const std::string& year, bool keep,
                      std::vector<BindIssue>& issues) {
    std::vector<const BindTitle*> one{&title};
    std::map<std::string, BindSettings> settings;
    std::map<std::string, std::vector<BindIssue>> found;
    if (loadSettings(one, settings) < 0 || issuesToBind(one, year, keep, settings, found) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    issues = found[titleKey(title)];
    return 0;
}

int intRecordCallNo(const std::string& marcRecNo, std::string& callNo) {
    BindTitle t;
    t.marcRecNo = marcRecNo;
    std::map<std::string, RecordFacts> facts;
    if (loadRecordFacts({&t}, facts) < 0) return kDbFailed;
    callNo = facts[marcRecNo].callNo;
    return 0;
}

std::string strNextBindNo(const std::string& year) {
    LibArray a;
    if (LIB_DB_Select(
            " SELECT max(bind_no) FROM m_peri_bind_detl  WHERE bind_no LIKE " + q(year + "%"), a) <
        0)
        return "";
    std::string max = a.recordCount() ? cell(a, 0, 0) : "";
    return max.empty() ? year + "000001" : bumpBindNo(max);
}

int intCreateBindRecords(const BindCreate& req, const std::vector<BindTitle>& titles,
                         std::vector<std::string>& bindNos) {
    if (req.batchNo.empty() || req.binder.empty()) {
        LIB_ShowMsg("E装订批次不能为空。");
        return -1;
    }
    if (!req.keep) {
        LIB_ShowMsg("E装订单刊不能为空。");
        return -1;
    }
    if (*req.keep && req.year.empty()) {
        LIB_ShowMsg("E使用保留期数必须指定年度。");
        return -1;
    }
    std::vector<std::string> made;
    int rc = binddb::inTransaction([&]() {
        std::string bindNo = strNextBindNo(binddb::today().substr(0, 4));
        if (bindNo.empty()) return kDbFailed;
        PriceList prices;
        if (loadPrices(req.binder, prices) < 0) return kDbFailed;
        long long volumes = 0;
        std::map<std::string, RecordFacts> facts;
        for (std::size_t from = 0; from < titles.size(); from += kChunk) {
            std::vector<const BindTitle*> chunk;
            for (std::size_t i = from; i < titles.size() && i < from + kChunk; ++i)
                chunk.push_back(&titles[i]);
            std::map<std::string, BindSettings> settings;
            std::map<std::string, std::vector<BindIssue>> issues;
            if (loadSettings(chunk, settings) < 0 ||
                issuesToBind(chunk, req.year, *req.keep, settings, issues) < 0 ||
                loadRecordFacts(chunk, facts) < 0)
                return kDbFailed;
            std::vector<std::vector<LibVar>> rows;
            std::vector<BoundStatement> takes;
            for (const BindTitle* t : chunk) {
                const BindSettings& s = settings[titleKey(*t)];
                if (req.copies < 1 || req.copies > s.bindCopyQty)
                    return refuse("E装订复本数不能为零或者超过最大值。");
                const auto& list = issues[titleKey(*t)];
                std::size_t per = s.bindItemQty > 0 ? s.bindItemQty : list.size();
                for (std::size_t at = 0; at < list.size(); at += per) {
                    // Copy k of the run binds the issues that still have a k-th copy.
                    for (int k = 1; k <= req.copies; ++k) {
                        Run run{t, {}};
                        for (std::size_t i = at; i < list.size() && i < at + per; ++i)
                            if (list[i].copies >= k) run.issues.push_back(list[i]);
                        if (run.issues.empty()) continue;
                        addRecord(run, s, facts[t->marcRecNo], req, prices, bindNo, rows, takes);
                        made.push_back(bindNo);
                        bindNo = bumpBindNo(bindNo);
                        volumes += 1;
                    }
                }
            }
            // The chunk's records and their copies travel in one round trip.
            std::vector<BoundStatement> batch;
            if (LIB_DB_AddInsertRows(batch, "m_peri_bind_detl", kRecordInsertColumns, rows) < 0)
                return kDbFailed;
            batch.insert(batch.end(), takes.begin(), takes.end());
            if (LIB_DB_ExecuteBatch(batch) < 0) return kDbFailed;
        }
        if (made.empty()) return refuse("E无该期刊单刊信息，请重新查询！");
        if (LIB_WriteOpLog("50036", req.binder, req.batchNo, "0",
                           made.front() + "-" + made.back()) < 0 ||
            LIB_AddJobQty("510", static_cast<long long>(titles.size()), volumes, 0) < 0)
            return kDbFailed;
        return 0;
    });
    if (rc == 0) bindNos.insert(bindNos.end(), made.begin(), made.end());
    return rc;
}

namespace {

BindRecord recordFrom(const LibArray& a, int i) {
    BindRecord r;
    r.bindNo = cell(a, 0, i);
    r.marcRecNo = cell(a, 1, i);
    r.getModeCode = cell(a, 2, i);
    r.carrierCode = cell(a, 3, i);
    r.binder = cell(a, 4, i);
    r.batchNo = cell(a, 5, i);
    r.boundFlag = static_cast<int>(number(a, 6, i));
    r.title = cell(a, 7, i);
    r.bgnEndYear = cell(a, 8, i);
    r.bgnEndVol = cell(a, 9, i);
    r.boundEditPrice = a(10, i + 2).num();
    r.callNo = cell(a, 11, i);
    r.isbn = cell(a, 12, i);
    r.qtyOfBind = static_cast<int>(number(a, 13, i));
    r.bookSize = cell(a, 14, i);
    r.color = cell(a, 15, i);
    r.frame = cell(a, 16, i);
    r.boundPrice = a(17, i + 2).num();
    r.remark = cell(a, 18, i);
    r.bindName = cell(a, 19, i);
    r.propNo = cell(a, 20, i);
    return r;
}

// The record with its catalogue title and, once accessioned, its property number.
const char* const kRecordColumns =
    "SELECT d.bind_no,d.marc_rec_no,d.get_mode_code,d.carrier_code,d.bookbinder_code,"
    "d.bind_batch_no,d.bound_flag,d.m_title,d.bgn_end_year,d.bgn_end_vol,d.bound_edit_price,"
    "d.call_no,d.m_isbn,d.qty_of_bind,d.book_size,d.color,d.frame,d.bound_price,d.remark,"
    "marc.m_title,indi_acct.prop_no FROM m_peri_bind_detl d"
    " LEFT JOIN marc ON marc.marc_rec_no=d.marc_rec_no"
    " LEFT JOIN indi_acct ON indi_acct.asord_no=d.bind_no ";

}  // namespace

int intLoadBindRecord(const std::string& bindNo, BindRecord& record) {
    LibArray a;
    if (LIB_DB_Select(kRecordColumns + std::string(" WHERE d.bind_no=") + q(bindNo), a) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    if (a.recordCount() == 0) {
        LIB_ShowMsg("E合订本不能为空。");
        return -1;
    }
    record = recordFrom(a, 0);
    return 0;
}

namespace {

int listRecords(const std::string& where, std::vector<BindRecord>& records) {
    LibArray a;
    if (LIB_DB_Select(kRecordColumns + where + " ORDER BY d.bind_no", a) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    records.clear();
    for (int i = 0; i < a.recordCount(); ++i)
        records.push_back(recordFrom(a, i));
    return 0;
}

}  // namespace

int intListBindRecords(const std::string& binder, const std::string& batchNo,
                       std::vector<BindRecord>& records) {
    return listRecords(binder.empty() && batchNo.empty() ? ""
                                                         : " WHERE d.bookbinder_code=" + q(binder) +
                                                               " AND d.bind_batch_no=" + q(batchNo),
                       records);
}

int intListBindRecordsByFlag(int boundFlag, std::vector<BindRecord>& records) {
    return listRecords(" WHERE d.bound_flag=" + std::to_string(boundFlag), records);
}

int intLoadBoundCopies(const std::string& bindNo, std::vector<BoundCopy>& copies) {
    LibArray a;
    if (LIB_DB_Select("SELECT m_peri_item.peri_id,m_peri_item.location,m_peri_item.dis_location,"
                      "m_peri_item.item_no,m_peri_chk_vol.cover_vol,m_peri_chk_vol.cover_issue,"
                      "m_peri_chk_vol.publ_year FROM m_peri_item,m_peri_chk_vol"
                      " WHERE m_peri_chk_vol.peri_id=m_peri_item.peri_id AND m_peri_item.bind_no=" +
                          q(bindNo) + " ORDER BY " + kIssueOrder,
                      a) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    copies.clear();
    for (int i = 0; i < a.recordCount(); ++i)
        copies.push_back({cell(a, 0, i), cell(a, 1, i), cell(a, 2, i), cell(a, 4, i), cell(a, 5, i),
                          cell(a, 6, i), static_cast<int>(number(a, 3, i))});
    return 0;
}

namespace {

// The order-line price of one issue.
int issuePrice(const std::string& periId, std::string& price) {
    LibArray a;
    if (LIB_DB_Select("SELECT m_peri_ord_detl.peri_price FROM m_peri_ord_detl,m_peri_chk_vol"
                      " WHERE m_peri_ord_detl.publ_code=m_peri_chk_vol.publ_code"
                      " AND m_peri_ord_detl.peri_ord_year=m_peri_chk_vol.peri_ord_year"
                      " AND m_peri_ord_detl.asord_no=m_peri_chk_vol.asord_no"
                      " AND m_peri_chk_vol.peri_id=" +
                          q(periId),
                      a) < 0)
        return kDbFailed;
    price = a.recordCount() && !cell(a, 0, 0).empty() ? cell(a, 0, 0) : "0";
    return 0;
}

// Puts the highest available copy of the issue into the record.
int addIssue(const std::string& bindNo, const std::string& periId, const std::string& location,
             const std::string& disLocation) {
    LibArray a;
    if (LIB_DB_Select("SELECT count(*) FROM m_peri_item WHERE bind_no=" + q(bindNo) +
                          " AND peri_id=" + q(periId),
                      a) < 0)
        return kDbFailed;
    if (number(a, 0, 0) > 0) return refuse("E该合订本中相同单刊已经存在。");
    if (LIB_DB_Select(
            "SELECT count(*) FROM m_peri_item WHERE item_stat<='2' AND peri_id=" + q(periId) +
                " AND location=" + q(location) + " AND dis_location=" + q(disLocation),
            a) < 0)
        return kDbFailed;
    if (number(a, 0, 0) == 0) return refuse("E无该期刊单刊信息，请重新查询！");
    std::string price;
    if (issuePrice(periId, price) < 0 || takeCopies(bindNo, location, disLocation, {periId}) < 0)
        return kDbFailed;
    return LIB_DB_Execute(
        "UPDATE m_peri_bind_detl SET  qty_of_bind=qty_of_bind+1,"
        " bound_edit_price=bound_edit_price+" +
        price + " WHERE bind_no=" + q(bindNo));
}

int removeIssue(const std::string& bindNo, const BoundCopy& c) {
    std::string price;
    if (issuePrice(c.periId, price) < 0) return kDbFailed;
    if (LIB_DB_Execute("UPDATE m_peri_item SET" + std::string(kCopyBack) +
                       " WHERE bind_no=" + q(bindNo) + " AND peri_id=" + q(c.periId) +
                       " AND location=" + q(c.location) + " AND dis_location=" + q(c.disLocation) +
                       " AND item_no=" + std::to_string(c.itemNo)) < 0)
        return kDbFailed;
    return LIB_DB_Execute(
        "UPDATE m_peri_bind_detl SET  qty_of_bind=qty_of_bind-1 ,"
        " bound_edit_price=bound_edit_price-" +
        price + " WHERE bind_no=" + q(bindNo));
}

int recordExists(const std::string& bindNo, std::string& marcRecNo) {
    LibArray a;
    if (LIB_DB_Select("SELECT marc_rec_no FROM m_peri_bind_detl WHERE bind_no=" + q(bindNo), a) < 0)
        return kDbFailed;
    if (bindNo.empty() || a.recordCount() == 0) return refuse("E合订本不能为空。");
    marcRecNo = cell(a, 0, 0);
    return 0;
}

int logEdit(const std::string& bindNo, const std::string& what) {
    return LIB_WriteOpLog("50038", bindNo, "0", "0", what);
}

}  // namespace

int intAddBindIssue(const std::string& bindNo, const std::string& periId,
                    const std::string& location, const std::string& disLocation) {
    return binddb::inTransaction([&]() {
        std::string marc;
        int rc = recordExists(bindNo, marc);
        if (rc < 0) return rc;
        rc = addIssue(bindNo, periId, location, disLocation);
        return rc < 0 ? rc : logEdit(bindNo, "+" + periId);
    });
}

int intRemoveBindIssue(const std::string& bindNo, const BoundCopy& copy) {
    if (copy.periId.empty()) {
        LIB_ShowMsg("E请选择要删除的单刊。");
        return -1;
    }
    if (LIB_ShowMsg("Q是否确认删除选择单刊。") != kMsgOk) return 1;
    return binddb::inTransaction([&]() {
        int rc = removeIssue(bindNo, copy);
        return rc < 0 ? rc : logEdit(bindNo, "-" + copy.periId);
    });
}

int intMoveBindIssue(const std::string& fromBindNo, const BoundCopy& copy,
                     const std::string& toBindNo) {
    if (copy.periId.empty()) {
        LIB_ShowMsg("E请选择要剪切的单刊。");
        return -1;
    }
    if (toBindNo.empty()) {
        LIB_ShowMsg("E请选择要粘贴的合订本。");
        return -1;
    }
    // Asked before the transaction: a question must never hold the write lock.
    LibArray titles;
    if (LIB_DB_Select("SELECT count(DISTINCT marc_rec_no) FROM m_peri_bind_detl WHERE bind_no IN " +
                          binddb::inList({fromBindNo, toBindNo}),
                      titles) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    if (number(titles, 0, 0) > 1 &&
        LIB_ShowMsg("Q不同种刊不应装订在一起，是否确认一定要装订在一起。") != kMsgOk)
        return 1;
    return binddb::inTransaction([&]() {
        std::string fromMarc, toMarc;
        int rc = recordExists(fromBindNo, fromMarc);
        if (rc == 0) rc = recordExists(toBindNo, toMarc);
        if (rc < 0) return rc;
        rc = removeIssue(fromBindNo, copy);
        if (rc == 0) rc = addIssue(toBindNo, copy.periId, copy.location, copy.disLocation);
        return rc < 0 ? rc : logEdit(toBindNo, fromBindNo + ">" + copy.periId);
    });
}

int intSaveBindRecord(const BindRecord& r) {
    return binddb::inTransaction([&]() {
        if (LIB_DB_Execute("UPDATE m_peri_bind_detl SET m_title=" + q(r.title) +
                           ", bgn_end_year=" + q(r.bgnEndYear) + ", bgn_end_vol=" + q(r.bgnEndVol) +
                           ", call_no=" + q(r.callNo) + ", book_size=" + q(r.bookSize) +
                           ", color=" + q(r.color) + ", frame=" + q(r.frame) +
                           ", bound_price=" + money(r.boundPrice) + ", remark=" + q(r.remark) +
                           " WHERE bind_no=" + q(r.bindNo)) < 0)
            return kDbFailed;
        return logEdit(r.bindNo, r.title);
    });
}

int intDeleteBindRecords(const std::vector<std::string>& bindNos) {
    if (bindNos.empty()) {
        LIB_ShowMsg("E请选择要删除的合订本。");
        return -1;
    }
    if (LIB_ShowMsg("Q是否确认删除选择合订本。") != kMsgOk) return 1;
    std::string in = binddb::inList(bindNos);
    return binddb::inTransaction([&]() {
        LibArray a;
        if (LIB_DB_Select("SELECT count(*) FROM lend_lst WHERE prop_no IN (SELECT prop_no FROM "
                          "indi_acct WHERE asord_no IN " +
                              in + ")",
                          a) < 0)
            return kDbFailed;
        if (number(a, 0, 0) > 0) return refuse("E该合订本已借出，不能删除！");
        if (LIB_DB_Execute(" DELETE FROM item WHERE prop_no IN (SELECT prop_no FROM indi_acct "
                           "WHERE asord_no IN " +
                           in + ")") < 0 ||
            LIB_DB_Execute(" DELETE FROM indi_acct WHERE asord_no IN " + in) < 0)
            return kDbFailed;
        if (LIB_DB_Execute("UPDATE m_peri_item SET" + std::string(kCopyBack) +
                           " WHERE bind_no IN " + in) < 0 ||
            LIB_DB_Execute(" DELETE FROM m_peri_bind_detl  WHERE bind_no IN " + in) < 0)
            return kDbFailed;
        return LIB_WriteOpLog("50038", bindNos.front(), "0", "0",
                              "删除:" + std::to_string(bindNos.size()));
    });
}

int intSaveBindBatch(const BindBatch& b) {
    if (b.binder.empty() || b.batchNo.empty()) {
        LIB_ShowMsg("E装订批次不能为空。");
        return -1;
    }
    return binddb::inTransaction([&]() {
        std::string key =
            " WHERE bookbinder_code=" + q(b.binder) + " AND bind_batch_no=" + q(b.batchNo);
        LibArray a;
        if (LIB_DB_Select(" SELECT count(*) FROM m_bind_batch_lst " + key, a) < 0) return kDbFailed;
        std::string respWkr = b.respWkr.empty() ? g_strWkrNo : b.respWkr;
        if (number(a, 0, 0) > 0)
            return LIB_DB_Execute(" UPDATE m_bind_batch_lst SET remark=" + q(b.remark) +
                                  ", send_bind_date=" + q(b.sendDate) + ", resp_wkr=" + q(respWkr) +
                                  key);
        return LIB_DB_Execute(
            " INSERT INTO m_bind_batch_lst(bookbinder_code,bind_batch_no, remark,send_bind_date,"
            "resp_wkr) VALUES( " +
            q(b.binder) + "," + q(b.batchNo) + "," + q(b.remark) + "," + q(b.sendDate) + "," +
            q(respWkr) + ")");
    });
}

int intListBindBatches(const std::string& binder, const std::string& from, const std::string& to,
                       std::optional<bool> used, std::vector<BindBatch>& batches) {
    std::string sql =
        "SELECT bookbinder_code,bind_batch_no,remark,send_bind_date,resp_wkr,(SELECT count(*) "
        "FROM m_peri_bind_detl WHERE m_peri_bind_detl.bookbinder_code=m_bind_batch_lst."
        "bookbinder_code AND m_peri_bind_detl.bind_batch_no=m_bind_batch_lst.bind_batch_no)"
        " FROM m_bind_batch_lst WHERE bookbinder_code=" +
        q(binder);
    if (!from.empty()) sql += " AND send_bind_date>=" + q(from);
    if (!to.empty()) sql += " AND send_bind_date<=" + q(to);
    if (used)
        sql += std::string(*used ? " AND (bind_batch_no IN " : " AND ( bind_batch_no NOT IN ") +
               " (SELECT DISTINCT bind_batch_no FROM m_peri_bind_detl)) ";
    LibArray a;
    if (LIB_DB_Select(sql + " ORDER BY bind_batch_no", a) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    batches.clear();
    for (int i = 0; i < a.recordCount(); ++i)
        batches.push_back({cell(a, 0, i), cell(a, 1, i), cell(a, 2, i), cell(a, 3, i),
                           cell(a, 4, i), static_cast<int>(number(a, 5, i))});
    return 0;
}

int intDeleteBindBatch(const std::string& binder, const std::string& batchNo) {
    if (LIB_ShowMsg("Q是否确认删除选择批次。") != kMsgOk) return 1;
    return binddb::inTransaction([&]() {
        std::string key =
            " WHERE bookbinder_code=" + q(binder) + " AND bind_batch_no=" + q(batchNo);
        LibArray a;
        if (LIB_DB_Select("SELECT count(*) FROM m_peri_bind_detl" + key, a) < 0) return kDbFailed;
        if (number(a, 0, 0) > 0) return refuse("E该批次已有合订本，不能删除！");
        return LIB_DB_Execute("DELETE FROM m_bind_batch_lst" + key);
    });
}

int intSendBindBatch(const std::string& binder, const std::string& batchNo) {
    return binddb::inTransaction([&]() {
        std::string key =
            " WHERE bookbinder_code=" + q(binder) + " AND bind_batch_no=" + q(batchNo);
        LibArray a;
        if (LIB_DB_Select("SELECT count(*) FROM m_peri_bind_detl" + key, a) < 0) return kDbFailed;
        if (number(a, 0, 0) == 0) return refuse("E该批次没有合订本，不能送装订！");
        if (LIB_DB_Execute(" UPDATE m_bind_batch_lst SET send_bind_date=" + q(binddb::today()) +
                           ", resp_wkr=" + q(g_strWkrNo) + key) < 0)
            return kDbFailed;
        return LIB_WriteOpLog("50036", binder, batchNo, "0", "送装订");
    });
}

int intBindPrice(const std::string& binder, const std::string& sizeCode, double& price,
                 std::string& sizeName) {
    PriceList p;
    if (loadPrices(binder, p) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    price = p.price.count(sizeCode) ? p.price[sizeCode] : 0;
    sizeName = p.name.count(sizeCode) ? p.name[sizeCode] : "";
    return 0;
}

int intListBinders(std::vector<CodeName>& binders) {
    LibArray a;
    if (LIB_DB_Select(
            " SELECT bookbinder_code,bookbinder_name FROM bookbinder ORDER BY bookbinder_code ",
            a) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    binders.clear();
    for (int i = 0; i < a.recordCount(); ++i)
        binders.push_back({cell(a, 0, i), cell(a, 1, i)});
    return 0;
}

int intLoadBindChoices(BindChoices& c) {
    LibArray dis, years, groups, sizes;
    if (LIB_DB_Select(" SELECT DISTINCT dis_location FROM m_peri_item ORDER BY dis_location ",
                      dis) < 0 ||
        LIB_DB_Select(" SELECT DISTINCT publ_year FROM m_peri_chk_vol ORDER BY publ_year ", years) <
            0 ||
        LIB_DB_Select("SELECT DISTINCT marc_idx_grp,marc_idx_grp_name FROM marc_idx_para"
                      " ORDER BY marc_idx_grp",
                      groups) < 0 ||
        LIB_DB_Select(" SELECT book_size_code,book_size_name FROM book_size WHERE "
                      "code_use_flag='1' ORDER BY book_size_code",
                      sizes) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    c = {};
    if (intListBinders(c.binders) < 0) return -1;
    for (int i = 0; i < dis.recordCount(); ++i)
        c.disLocations.push_back(cell(dis, 0, i));
    for (int i = 0; i < years.recordCount(); ++i)
        c.years.push_back(cell(years, 0, i));
    for (auto [from, to] : {std::pair{&groups, &c.groups}, std::pair{&sizes, &c.bookSizes}})
        for (int i = 0; i < from->recordCount(); ++i)
            to->push_back({cell(*from, 0, i), cell(*from, 1, i)});
    return 0;
}
