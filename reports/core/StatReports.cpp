#include "reports/core/StatReports.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "checkin/core/basChkSearch.h"
#include "common/OperatorState.h"
#include "common/basCodeFunc.h"
#include "db/RawSelect.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/core/MarcSearch.h"

namespace {

std::string q(const std::string& v) {
    return LIB_SqlStr(v);
}

std::string trimmed(const std::string& s) {
    auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string cell(const LibArray& a, int col, int row) {
    return a(col, row).str();
}

// A NULL or empty cell counts as 0. Read as a number, not through its text: writing a number out
// as text and reading it back is most of the cost of a long report's rows.
double number(const LibArray& a, int col, int row) {
    return a(col, row).num();
}

std::string count(long long n) {
    return std::to_string(n);
}

// Names of the codes on a report's rows: a handful of codes recur on every row, so each is
// looked up in its code table once.
class NameCache {
public:
    explicit NameCache(std::string (*lookup)(const std::string&)) : lookup_(lookup) {}
    const std::string& operator()(const std::string& code) {
        auto it = names_.find(code);
        if (it == names_.end()) it = names_.emplace(code, lookup_(code)).first;
        return it->second;
    }

private:
    std::string (*lookup_)(const std::string&);
    std::unordered_map<std::string, std::string> names_;
};

// The publisher list is read once; a list read empty stays empty.
int ensurePublishers() {
    return g_arrPublisher.rows() ? 0 : LIB_LoadPublishers();
}

// The grid shows publishers by name, as the publisher list does.
std::string publName(const std::string& code) {
    ensurePublishers();
    std::string name = LIB_CodeName(g_arrPublisher, code);
    return name.empty() ? code : name;
}

// The shared clauses in their order: year, publisher, document type, language. `ord` and
// `marc` are the aliases of the order detail and the record.
std::string filterClauses(const StatFilter& f, const std::string& ord, const std::string& marc,
                          bool yearByPrefix, bool publisher = true) {
    // A LIKE or a substring of the year cannot use an index, so SQLite would read the lines of
    // every year and join them before filtering; naming the year's few order years lets it start
    // from the year index. PostgreSQL needs the substring beside the list to filter early; the
    // LIKE beside it would turn, in SQLite, into a range that it carries over to the joined
    // tables in place of their order key.
    auto year = [&](const std::string& column) {
        return yearByPrefix ? "substr(" + column + ",1,4)=" + q(f.year)
                            : column + " LIKE " + q(f.year + "%");
    };
    std::string sql =
        (yearByPrefix ? " AND " + year(ord + ".peri_ord_year") : "") + " AND " + ord +
        ".peri_ord_year IN (SELECT DISTINCT peri_ord_year FROM m_peri_ord_detl WHERE " +
        year("peri_ord_year") + ")";
    if (publisher && !f.publCode.empty()) sql += " AND " + ord + ".publ_code=" + q(f.publCode);
    if (f.docType == 1) sql += " AND " + marc + ".doc_type_code='11'";
    if (f.docType == 2) sql += " AND " + marc + ".doc_type_code<>'11'";
    if (f.docType >= 3) sql += " AND " + marc + ".doc_type_code=" + q(f.docTypeCode);
    if (f.language == 1) sql += " AND UPPER(" + marc + ".lang_code)=UPPER('chi')";
    if (f.language == 2) sql += " AND UPPER(" + marc + ".lang_code)<>UPPER('chi')";
    if (f.language >= 3) sql += " AND " + marc + ".lang_code=" + q(f.languageCode);
    return sql;
}

std::string orderJoin(const std::string& a, const std::string& b) {
    return a + ".publ_code=" + b + ".publ_code AND " + a + ".peri_ord_year=" + b +
           ".peri_ord_year AND " + a + ".asord_no=" + b + ".asord_no";
}

std::string choiceLabel(const std::vector<StatChoice>& list, int pos, const std::string& code) {
    if (pos >= 3) {
        for (const StatChoice& c : list)
            if (!c.code.empty() && c.code == code) return trimmed(c.label);
        return code;
    }
    return pos >= 0 && pos < static_cast<int>(list.size()) ? trimmed(list[pos].label) : kStatAny;
}

std::vector<std::string> filterHeader(const StatFilter& f) {
    return {"订购年：" + f.year,
            "发行商：" + (f.publCode.empty() ? std::string(kStatAny) : publName(f.publCode)),
            "文献类型：" + choiceLabel(statDocTypeChoices(), f.docType, f.docTypeCode),
            "语种：" + choiceLabel(statLanguageChoices(), f.language, f.languageCode)};
}

StatResult run(const std::string& sql, LibArray& a) {
    g_strSQL = sql;
    if (LIB_DB_Select(sql, a) < 0) {
        LIB_DB_ShowError();
        return StatResult::Failed;
    }
    return StatResult::Rows;
}

// A long report's rows handed to `row` one by one, straight from the fetch: neither the result
// array nor all the rows as cells are held beside the report's own rows.
StatResult runEach(const std::string& sql, const DbRowFn& row) {
    g_strSQL = sql;
    if (LIB_DB_SelectEach(sql, row) < 0) {
        LIB_DB_ShowError();
        return StatResult::Failed;
    }
    return StatResult::Rows;
}

}  // namespace

std::string statMoney(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", value + (value >= 0 ? 1e-9 : -1e-9));
    return buf;
}

int StatTable::rowCount() const {
    int n = 0;
    for (const StatSection& s : sections)
        n += static_cast<int>(s.rows.size());
    return n;
}

void StatTable::forEachGridRow(
    const std::function<void(const std::vector<std::string>&)>& row) const {
    for (const StatSection& s : sections) {
        if (!s.heading.empty()) row({s.heading});
        for (const auto& r : s.rows)
            row(r);
        if (!s.total.empty()) row(s.total);
    }
    if (!total.empty()) row(total);
}

std::vector<std::vector<std::string>> StatTable::gridRows() const {
    std::vector<std::vector<std::string>> grid;
    forEachGridRow([&grid](const std::vector<std::string>& r) { grid.push_back(r); });
    return grid;
}

std::vector<StatChoice> statPublisherChoices() {
    std::vector<StatChoice> list{{kStatAny, ""}};
    if (ensurePublishers() < 0) return list;
    for (int r = 2; r < g_arrPublisher.rows(); ++r)
        list.push_back({cell(g_arrPublisher, 1, r), cell(g_arrPublisher, 0, r)});
    return list;
}

std::vector<StatChoice> statDocTypeChoices() {
    std::vector<StatChoice> list{{kStatAny, ""}, {" 中文期刊", "11"}, {" 其他", ""}};
    for (int r = 2; r < g_arrDocType.rows(); ++r)
        if (cell(g_arrDocType, 2, r) == "1" && cell(g_arrDocType, 0, r) != "11")
            list.push_back({"   " + cell(g_arrDocType, 1, r), cell(g_arrDocType, 0, r)});
    return list;
}

std::vector<StatChoice> statLanguageChoices() {
    std::vector<StatChoice> list{{kStatAny, ""}, {" 中文", "chi"}, {" 西文", ""}};
    for (int r = 2; r < g_arrLanguage.rows(); ++r) {
        std::string code = cell(g_arrLanguage, 0, r);
        std::string upper = code;
        std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
        if (upper != "CHI") list.push_back({"   " + cell(g_arrLanguage, 1, r), code});
    }
    return list;
}

bool statFilterFromCodes(StatFilter& f, const std::string& docType, const std::string& language) {
    auto position = [](const std::vector<StatChoice>& list, const std::string& code, int& pos,
                       std::string& kept) {
        pos = 0;
        kept.clear();
        if (code.empty()) return true;
        for (std::size_t i = 3; i < list.size(); ++i)
            if (list[i].code == code) {
                pos = static_cast<int>(i);
                kept = code;
                return true;
            }
        return false;
    };
    return position(statDocTypeChoices(), docType, f.docType, f.docTypeCode) &&
           position(statLanguageChoices(), language, f.language, f.languageCode);
}

int statOrderYears(std::vector<std::string>& years) {
    LibArray a;
    if (run("select distinct substr(peri_ord_year,1,4) as year from m_peri_ord_lst ORDER by year "
            "desc",
            a) != StatResult::Rows)
        return -1;
    years.clear();
    for (int r = 2; r < a.rows(); ++r)
        years.push_back(cell(a, 0, r));
    return 0;
}

StatResult statLocaAll(const StatFilter& f, StatBasis basis, StatTable& out) {
    out = {};
    if (f.year.empty()) return StatResult::Refused;
    std::string sql;
    if (basis == StatBasis::Distribution)
        sql =
            "select o.dist_loca,sum(o.dist_qty),sum(o.dist_qty*p.peri_total_price) from "
            "m_peri_ord_dist_lst o,m_peri_ord_detl p,marc m WHERE " +
            orderJoin("o", "p") + " AND p.marc_rec_no=m.marc_rec_no" +
            filterClauses(f, "p", "m", false) + " group by o.dist_loca ORDER BY o.dist_loca";
    else
        sql =
            "SELECT f.location,sum(f.sub_qty),sum(f.sub_amt) FROM m_peri_sub_fund_out f,marc "
            "m,m_peri_ord_detl p WHERE " +
            orderJoin("f", "p") + " AND p.marc_rec_no=m.marc_rec_no" +
            filterClauses(f, "p", "m", true) + " group by f.location ORDER BY f.location";
    LibArray a;
    if (run(sql, a) != StatResult::Rows) return StatResult::Failed;
    out.title = "年度馆藏订购分布统计";
    out.header = filterHeader(f);
    out.columns = {basis == StatBasis::Distribution ? "分配地" : "订户", "复本总数", "总价"};
    out.numeric = {false, true, true};
    StatSection s;
    long long copies = 0;
    double money = 0;
    for (int r = 2; r < a.rows(); ++r) {
        copies += static_cast<long long>(number(a, 1, r));
        money += number(a, 2, r);
        s.rows.push_back({LIB_LocationName(cell(a, 0, r)),
                          count(static_cast<long long>(number(a, 1, r))),
                          statMoney(number(a, 2, r))});
    }
    out.sections.push_back(std::move(s));
    out.total = {"合计", count(copies), statMoney(money)};
    return out.rowCount() ? StatResult::Rows : StatResult::Empty;
}

int statLocaList(const StatFilter& f, StatBasis basis, std::vector<std::string>& locations) {
    locations.clear();
    if (f.year.empty()) return 0;
    std::string col = basis == StatBasis::Subscriber ? "location" : "dist_loca";
    std::string sql = "select distinct " + col +
                      " from m_peri_ord_dist_lst where peri_ord_year LIKE " + q(f.year + "%");
    if (!f.publCode.empty()) sql += " AND publ_code=" + q(f.publCode);
    LibArray a;
    if (run(sql + " ORDER BY " + col, a) != StatResult::Rows) return -1;
    for (int r = 2; r < a.rows(); ++r)
        locations.push_back(cell(a, 0, r));
    return 0;
}

StatResult statLoca(const StatFilter& f, StatBasis basis, const std::string& location,
                    StatTable& out) {
    out = {};
    if (f.year.empty()) return StatResult::Refused;
    bool sub = basis == StatBasis::Subscriber;
    // The annual price, display number and frequency belong to the order line; taking them in
    // the same grouped statement saves the second look-up per row.
    std::string loc = sub ? "f.location" : "o.dist_loca";
    std::string sql = "SELECT p.publ_code,p.asord_no,m.m_title,m.m_isbn,p.marc_rec_no," + loc +
                      (sub ? ",sum(f.sub_qty),sum(f.sub_amt)"
                           : ",sum(o.dist_qty),sum(o.dist_qty*p.peri_total_price)") +
                      ",max(p.peri_total_price),max(p.fmt_asord_no),max(p.publ_freq) FROM "
                      "m_peri_ord_detl p,marc m," +
                      (sub ? "m_peri_sub_fund_out f" : "m_peri_ord_dist_lst o") +
                      " WHERE p.marc_rec_no=m.marc_rec_no AND " + orderJoin(sub ? "f" : "o", "p") +
                      filterClauses(f, "p", "m", false);
    if (!location.empty()) sql += " AND " + loc + "=" + q(location);
    sql += " GROUP BY p.publ_code,p.asord_no,m.m_title,m.m_isbn,p.marc_rec_no," + loc +
           " ORDER BY p.publ_code,p.asord_no," + loc + ",p.marc_rec_no";
    LibArray a;
    if (run(sql, a) != StatResult::Rows) return StatResult::Failed;
    out.title = "年度期刊订购分布明细";
    out.columns = {
        "发行商",  sub ? "订户" : "分配地", "订购号", "刊名", "ISSN", "复本数", "年价", "总价",
        "出版频率"};
    out.numeric = {false, false, false, false, false, true, true, true, false};
    StatSection s;
    long long copies = 0;
    double money = 0;
    for (int r = 2; r < a.rows(); ++r) {
        auto qty = static_cast<long long>(number(a, 6, r));
        copies += qty;
        money += number(a, 7, r);
        std::string shown = cell(a, 9, r).empty() ? cell(a, 1, r) : cell(a, 9, r);
        s.rows.push_back({publName(cell(a, 0, r)), LIB_LocationName(cell(a, 5, r)), shown,
                          cell(a, 2, r), cell(a, 3, r), count(qty), statMoney(number(a, 8, r)),
                          statMoney(number(a, 7, r)), cell(a, 10, r)});
    }
    out.sections.push_back(std::move(s));
    out.total = {"总计", "", "", "", "", count(copies), "", statMoney(money), ""};
    out.header = filterHeader(f);
    out.header.insert(out.header.begin() + 1, "订购总数：" + count(copies));
    if (!location.empty())
        out.header.push_back((sub ? "订户：" : "分配地：") + LIB_LocationName(location));
    return out.rowCount() ? StatResult::Rows : StatResult::Empty;
}

StatResult statOther(const StatFilter& f, StatAttr attr, StatTable& out) {
    out = {};
    if (f.year.empty()) return StatResult::Refused;
    struct AttrDef {
        const char* column;
        const char* caption;
        const char* emptyHeading;
    };
    static const std::map<StatAttr, AttrDef> defs{
        {StatAttr::Country, {"m.country_code", "国别", "[国别为空]"}},
        {StatAttr::Language, {"m.lang_code", "语种", "[语种为空]"}},
        {StatAttr::Publisher, {"m.m_publisher", "出版社", "[出版社为空]"}},
        {StatAttr::Frequency, {"p.publ_freq", "出版频率", "[出版频率为空]"}}};
    const AttrDef& d = defs.at(attr);
    // One statement for every value: the rows come ordered and are grouped here, instead of
    // one statement per distinct value.
    std::string sql = std::string("select ") + d.column +
                      ",p.publ_code,p.peri_ord_year,p.asord_no,m.m_title,m.m_isbn,p.peri_ord_qty,"
                      "p.peri_total_price,p.peri_ord_qty*p.peri_total_price,m.marc_rec_no "
                      "from m_peri_ord_detl p,marc m WHERE p.marc_rec_no=m.marc_rec_no" +
                      filterClauses({f.year, f.publCode, 0, "", 0, ""}, "p", "m", false) +
                      " ORDER BY p.publ_code,p.peri_ord_year,p.asord_no";
    LibArray a;
    if (run(sql, a) != StatResult::Rows) return StatResult::Failed;
    out.title = std::string("按") + d.caption + "统计";
    out.header = {"订购年：" + f.year,
                  "发行商：" + (f.publCode.empty() ? std::string(kStatAny) : publName(f.publCode)),
                  std::string("统计条件：") + d.caption};
    out.columns = {"发行商", "订购批次", "订购号", "刊名", "ISSN", "复本数", "年价", "总价"};
    out.numeric = {false, false, false, false, false, true, true, true};
    std::map<std::string, StatSection> groups;  // by value; the empty value is listed last
    std::map<std::string, std::pair<long long, double>> sums;
    for (int r = 2; r < a.rows(); ++r) {
        std::string value = trimmed(cell(a, 0, r));
        auto qty = static_cast<long long>(number(a, 6, r));
        groups[value].rows.push_back({publName(cell(a, 1, r)), cell(a, 2, r), cell(a, 3, r),
                                      cell(a, 4, r), cell(a, 5, r), count(qty),
                                      statMoney(number(a, 7, r)), statMoney(number(a, 8, r))});
        sums[value].first += qty;
        sums[value].second += number(a, 8, r);
    }
    long long copies = 0;
    double money = 0;
    auto close = [&](const std::string& value) {
        StatSection& s = groups[value];
        s.heading = value.empty() ? d.emptyHeading : "【" + value + "】";
        s.total = {"小计", "",
                   "",     count(static_cast<long long>(s.rows.size())) + " 种",
                   "",     count(sums[value].first),
                   "",     statMoney(sums[value].second)};
        copies += sums[value].first;
        money += sums[value].second;
        out.sections.push_back(std::move(s));
    };
    for (auto& [value, s] : groups)
        if (!value.empty()) close(value);
    if (groups.count("")) close("");
    out.total = {"总计",          "", "", count(out.rowCount()) + " 种", "", count(copies), "",
                 statMoney(money)};
    return out.rowCount() ? StatResult::Rows : StatResult::Empty;
}

StatResult statArrival(const StatFilter& f, bool showBound, StatTable& out) {
    out = {};
    if (f.year.empty()) return StatResult::Refused;
    std::string publClause;
    if (!f.publCode.empty()) {
        publClause = " AND a.publ_code=" + q(f.publCode);
    } else {
        // "<不定>" means every publisher of the list, in one statement.
        if (ensurePublishers() < 0) return StatResult::Failed;
        for (int r = 2; r < g_arrPublisher.rows(); ++r)
            publClause += (publClause.empty() ? " AND a.publ_code IN (" : ",") +
                          q(cell(g_arrPublisher, 0, r));
        if (publClause.empty()) {
            LIB_ShowMsg("I没有结果！");
            return StatResult::Empty;
        }
        publClause += ")";
    }
    // The statement gives a row for each copy; the copies of one issue at one location and
    // distribution place make one row of the report and their number is what arrived. The
    // program puts them in the report's order (the order's key, location, distribution place,
    // issue; codes compared byte by byte, as SQLite does): the server's sort of every copy on
    // those text columns cost as much as the rest of its work. The joins are written in the order
    // orders, titles, distribution places, issues, copies: SQLite keeps a CROSS JOIN's order, and
    // each step then reads its rows by the key of the step before.
    std::string sql =
        "SELECT a.publ_code,a.peri_ord_year,a.asord_no,m.m_title,m.m_isbn,c.location,"
        "c.dis_location,c.peri_id, b.cover_vol ||'卷'|| b.cover_issue||'期' as vol,m.marc_rec_no,"
        "d.dist_qty FROM m_peri_ord_detl a CROSS JOIN marc m CROSS JOIN m_peri_ord_dist_lst d "
        "CROSS JOIN m_peri_chk_vol b CROSS JOIN m_peri_item c WHERE a.marc_rec_no=m.marc_rec_no "
        "AND " +
        orderJoin("a", "d") + " AND " + orderJoin("a", "b") +
        " AND b.peri_id=c.peri_id AND c.location=d.location AND c.dis_location = d.dist_loca" +
        filterClauses(f, "a", "m", true, false) + publClause;
    std::map<std::string, std::string> bound;
    if (showBound) {
        LibArray b;
        if (run("SELECT DISTINCT marc_rec_no,year||' '||vol_peri FROM indi_acct WHERE year=" +
                    q(f.year) + " ORDER by marc_rec_no asc,2",
                b) != StatResult::Rows)
            return StatResult::Failed;
        for (int r = 2; r < b.rows(); ++r) {
            std::string& list = bound[cell(b, 0, r)];
            list += (list.empty() ? "" : "；") + cell(b, 1, r);
        }
    }
    struct Copy {
        std::string publ, year, asord, title, isbn, loca, dist, issue, vol, marc;
        long long qty;
        auto key() const { return std::tie(publ, year, asord, loca, dist, issue); }
    };
    std::vector<Copy> copiesRead;
    if (runEach(sql, [&](const std::vector<RawColumn>& columns, const std::vector<LibVar>& row) {
            auto text = [&](int c) { return LIB_DB_RawText(row[c], columns[c].typeCode); };
            copiesRead.push_back({text(0), text(1), text(2), text(3), text(4), text(5), text(6),
                                  text(7), text(8), text(9),
                                  static_cast<long long>(row[10].num())});
        }) != StatResult::Rows)
        return StatResult::Failed;
    std::sort(copiesRead.begin(), copiesRead.end(),
              [](const Copy& x, const Copy& y) { return x.key() < y.key(); });
    StatSection s;
    NameCache publisher(publName), location(LIB_LocationName);
    const Copy* last = nullptr;
    long long copies = 0;
    auto closeRow = [&] {
        if (copies) s.rows.back()[8] = count(copies);
    };
    for (Copy& c : copiesRead) {
        if (last && last->key() == c.key()) {
            ++copies;
            continue;
        }
        closeRow();
        copies = 1;
        auto b = bound.empty() ? bound.end() : bound.find(c.marc);
        s.rows.push_back({publisher(c.publ), c.year, c.asord, std::move(c.title), std::move(c.isbn),
                          location(c.loca), location(c.dist), count(c.qty), "", std::move(c.vol),
                          b == bound.end() ? "" : b->second});
        last = &c;
    }
    const auto arrived = static_cast<long long>(copiesRead.size());
    closeRow();
    out.title = "期刊到刊统计";
    out.header = filterHeader(f);
    out.columns = {"发行商", "订购批次", "征订号", "刊名", "ISSN",  "订户",
                   "分配地", "订购数",   "实到数", "卷期", "合订本"};
    out.numeric = {false, false, false, false, false, false, false, true, true, false, false};
    out.sections.push_back(std::move(s));
    if (!out.rowCount()) {
        LIB_ShowMsg("I没有结果！");
        return StatResult::Empty;
    }
    out.total = {"总计", "", "", "", "", "", "", "", count(arrived), "", ""};
    out.footer = count(out.rowCount()) + " 条记录  总计：" + count(arrived);
    return StatResult::Rows;
}

namespace {

bool datePrefixValid(const std::string& s, std::size_t length) {
    static const std::string shape = "dddd-dd-dd";
    if (s.size() != length) return false;
    for (std::size_t i = 0; i < length; ++i)
        if (shape[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(s[i])) : s[i] != '-')
            return false;
    return true;
}

}  // namespace

StatResult statJob(const std::string& wkrNo, StatPeriod period, const std::string& from,
                   const std::string& to, StatTable& out) {
    out = {};
    static const std::map<StatPeriod, std::size_t> lengths{{StatPeriod::Year, 4},
                                                           {StatPeriod::Month, 7},
                                                           {StatPeriod::Day, 10},
                                                           {StatPeriod::Interval, 10}};
    std::size_t len = lengths.at(period);
    if (!datePrefixValid(from, len) ||
        (period == StatPeriod::Interval && !datePrefixValid(to, len))) {
        LIB_ShowMsg(period == StatPeriod::Year    ? "E请输入年份（yyyy）！"
                    : period == StatPeriod::Month ? "E请输入月份（yyyy-mm）！"
                                                  : "E请输入日期（yyyy-mm-dd）！");
        return StatResult::Refused;
    }
    // The job names come with the counts: one statement instead of a name look-up per job.
    std::string sql =
        " SELECT w.job_type,j.job_name,SUM(w.kind),SUM(w.volume),SUM(w.amount) FROM wkr_job_qty "
        "w LEFT JOIN job_type j ON j.job_type=w.job_type WHERE w.wkr_no_f=" +
        q(wkrNo);
    if (period == StatPeriod::Interval)
        sql += " AND w.oper_date >= " + q(from) + " AND w.oper_date<=" + q(to);
    else
        sql += " AND w.oper_date LIKE " + q(from + "%");
    sql += " GROUP BY w.job_type,j.job_name ORDER BY w.job_type";
    LibArray a;
    if (run(sql, a) != StatResult::Rows) return StatResult::Failed;
    out.title = "工作量统计";
    std::string who = LIB_CodeName(g_arrWorker, wkrNo);
    out.header = {"操作员：" + wkrNo + (who.empty() ? "" : " " + who),
                  "统计期间：" + (period == StatPeriod::Interval ? from + " —— " + to : from)};
    out.columns = {"类型", "种数", "册数", "价格"};
    out.numeric = {false, true, true, true};
    StatSection s;
    long long kinds = 0, volumes = 0;
    double amount = 0;
    for (int r = 2; r < a.rows(); ++r) {
        auto k = static_cast<long long>(number(a, 2, r));
        auto v = static_cast<long long>(number(a, 3, r));
        kinds += k;
        volumes += v;
        amount += number(a, 4, r);
        std::string name = cell(a, 1, r);
        s.rows.push_back(
            {name.empty() ? cell(a, 0, r) : name, count(k), count(v), statMoney(number(a, 4, r))});
    }
    out.sections.push_back(std::move(s));
    out.total = {"合计", count(kinds), count(volumes), statMoney(amount)};
    return out.rowCount() ? StatResult::Rows : StatResult::Empty;
}

StatResult statIndiAcct(const std::string& from, const std::string& to, const std::string& docType,
                        StatTable& out) {
    out = {};
    if (trimmed(from).empty()) {
        LIB_ShowMsg("E起始财产号为空！");
        return StatResult::Refused;
    }
    if (trimmed(to).empty()) {
        LIB_ShowMsg("E截至财产号为空！");
        return StatResult::Refused;
    }
    std::string sql =
        " SELECT a.in_date,a.prop_no,m.m_title,m.m_author,m.m_publisher,a.year,a.vol_peri,"
        "a.location, a.price,a.book_stat_code, m.marc_rec_no FROM indi_acct A,marc M WHERE "
        "a.marc_rec_no=m.marc_rec_no AND a.prop_no>=" +
        q(trimmed(from)) + " AND a.prop_no<=" + q(trimmed(to));
    if (!docType.empty()) sql += " AND m.doc_type_code=" + q(docType);
    // The whole account runs to a hundred thousand volumes and more.
    StatSection s;
    std::unordered_set<std::string> titles;
    double money = 0;
    NameCache location(LIB_LocationName);
    if (runEach(sql + " ORDER BY a.prop_no",
                [&](const std::vector<RawColumn>& columns, const std::vector<LibVar>& row) {
                    auto text = [&](int c) { return LIB_DB_RawText(row[c], columns[c].typeCode); };
                    const double price = row[8].num();
                    titles.insert(text(10));
                    money += price;
                    s.rows.push_back({text(0), text(1), text(2), text(3), text(4), text(5), text(6),
                                      location(text(7)), statMoney(price), text(9)});
                }) != StatResult::Rows)
        return StatResult::Failed;
    if (s.rows.empty()) {
        LIB_ShowMsg("E没有结果返回");
        return StatResult::Empty;
    }
    out.title = "财产帐清单";
    out.header = {"统计日期：" + LIB_DB_GetServerDate().substr(0, 10),
                  "财产号：" + trimmed(from) + " —— " + trimmed(to)};
    out.columns = {"登陆日期", "财产号", "书名",   "作者", "出版社",
                   "年度",     "卷期",   "馆藏地", "价格", "状态"};
    out.numeric = {false, false, false, false, false, false, false, false, true, false};
    out.sections.push_back(std::move(s));
    out.total = {"合计", "", "", "", "", "", "", "", statMoney(money), ""};
    out.footer =
        "种：" + count(static_cast<long long>(titles.size())) + " 总价：" + statMoney(money);
    return StatResult::Rows;
}

namespace {

// One item of a class list against a class number: a prefix, with "_" standing for any one
// character; class T items count by their first two characters.
bool classItemMatches(const std::string& cls, std::string item) {
    if (item.size() > 2 && item[0] == 'T') item.resize(2);
    if (cls.size() < item.size()) return false;
    for (std::size_t i = 0; i < item.size(); ++i)
        if (item[i] != '_' && item[i] != cls[i]) return false;
    return true;
}

}  // namespace

bool statClassMatches(const std::string& cls, const std::string& compList) {
    std::string c = trimmed(cls);
    if (c.empty()) return false;
    std::size_t start = 0;
    while (start <= compList.size()) {
        std::size_t comma = compList.find(',', start);
        std::string item = trimmed(compList.substr(start, comma - start));
        start = comma == std::string::npos ? compList.size() + 1 : comma + 1;
        if (item.empty()) continue;
        auto tilde = item.find('~');
        if (tilde == std::string::npos) {
            if (classItemMatches(c, item)) return true;
            continue;
        }
        std::string lo = trimmed(item.substr(0, tilde)), hi = trimmed(item.substr(tilde + 1));
        // A range compares the class cut to the length of each end: "N~Q" takes in NQ and Q9.
        if (c.substr(0, lo.size()) >= lo && c.substr(0, hi.size()) <= hi) return true;
    }
    return false;
}

int statTypes(std::vector<StatChoice>& types) {
    LibArray a;
    if (run("SELECT stat_type_name,stat_type_code FROM   stat_type_code WHERE  "
            "substr(stat_type_code,1,1) in ('S','U') ORDER BY stat_type_code",
            a) != StatResult::Rows)
        return -1;
    types.clear();
    for (int r = 2; r < a.rows(); ++r)
        types.push_back({cell(a, 0, r), cell(a, 1, r)});
    return 0;
}

int statTemplates(std::vector<StatTemplate>& templates) {
    LibArray a;
    if (run("SELECT template_code,template_name,stat_type_code FROM stat_template WHERE "
            "code_use_flag='1' ORDER BY template_code",
            a) != StatResult::Rows)
        return -1;
    templates.clear();
    for (int r = 2; r < a.rows(); ++r)
        templates.push_back({cell(a, 0, r), cell(a, 1, r), cell(a, 2, r)});
    return 0;
}

StatResult statSort(const StatFilter& f, StatClassBy by, const std::string& statType,
                    StatTable& out) {
    out = {};
    if (f.year.empty()) return StatResult::Refused;
    // The categories with their class lists, in one statement.
    LibArray cats;
    if (run("SELECT d.sub_stat_code,d.sub_stat_name,c.comp_cls FROM stat_type_detl d LEFT JOIN "
            "stat_cls_comp c ON c.stat_type_code=d.stat_type_code AND "
            "c.sub_stat_code=d.sub_stat_code WHERE d.stat_type_code=" +
                q(statType) + "     AND    d.code_use_flag='1' ORDER BY d.sub_stat_code,c.cls_id",
            cats) != StatResult::Rows)
        return StatResult::Failed;
    struct Category {
        std::string code, name, comp;
        StatSection section;
    };
    std::vector<Category> categories;
    for (int r = 2; r < cats.rows(); ++r) {
        if (categories.empty() || categories.back().code != cell(cats, 0, r))
            categories.push_back({cell(cats, 0, r), cell(cats, 1, r), "", {}});
        std::string& comp = categories.back().comp;
        if (!cell(cats, 2, r).empty()) comp += (comp.empty() ? "" : ",") + cell(cats, 2, r);
    }
    const std::string select =
        "SELECT a.kind_no,m.m_title,b.location,b.sub_peri_qty,b.remark,a.peri_total_price,"
        "a.marc_rec_no";
    const std::string from = " FROM m_peri_ord_detl a, m_sub_ord_lst b ,marc m";
    const std::string where = " WHERE " + orderJoin("b", "a") + " AND m.marc_rec_no=a.marc_rec_no" +
                              filterClauses(f, "a", "m", false);
    const std::string order = " ORDER BY a.kind_no ,a.marc_rec_no,b.location";
    LibArray with, without;
    if (run(select + ",c.call_no" + from + ",call_no_lst c" + where +
                " AND c.marc_rec_no=a.marc_rec_no" + order,
            with) != StatResult::Rows ||
        run(select + from + where +
                " AND a.marc_rec_no NOT in (SELECT marc_rec_no FROM call_no_lst)" + order,
            without) != StatResult::Rows)
        return StatResult::Failed;

    auto row = [](const LibArray& a, int r, const std::string& cls) {
        double qty = number(a, 3, r), price = number(a, 5, r);
        return std::vector<std::string>{cls,
                                        cell(a, 1, r),
                                        LIB_LocationName(cell(a, 2, r)),
                                        count(static_cast<long long>(qty)),
                                        statMoney(price),
                                        statMoney(qty * price),
                                        cell(a, 4, r)};
    };
    StatSection unknown{"【未知类】", {}, {}}, noCallNo{"【未分配索书号】", {}, {}};
    for (int r = 2; r < with.rows(); ++r) {
        std::string callNo = cell(with, 7, r);
        std::string cls = by == StatClassBy::ClassNumber
                              ? trimmed(cell(with, 0, r))
                              : trimmed(callNo.substr(0, callNo.find('/')));
        auto hit = std::find_if(categories.begin(), categories.end(),
                                [&](const Category& c) { return statClassMatches(cls, c.comp); });
        (hit == categories.end() ? unknown : hit->section).rows.push_back(row(with, r, cls));
    }
    for (int r = 2; r < without.rows(); ++r)
        noCallNo.rows.push_back(row(without, r, trimmed(cell(without, 0, r))));

    out.title = "期刊分类统计";
    out.header = filterHeader(f);
    out.header.push_back(std::string("统计方式：") +
                         (by == StatClassBy::ClassNumber ? "按分类号统计" : "按索书号统计"));
    out.columns = {"类号", "刊名", "订户", "复本数", "年价", "总价", "附注"};
    out.numeric = {false, false, false, true, true, true, false};
    long long copies = 0;
    double money = 0;
    auto add = [&](StatSection s) {
        if (s.rows.empty()) return;
        long long n = 0;
        double m = 0;
        std::set<std::string> titles;
        for (const auto& r : s.rows) {
            n += std::stoll(r[3]);
            m += std::stod(r[5]);
            titles.insert(r[1]);
        }
        copies += n;
        money += m;
        s.total = {"小计", count(static_cast<long long>(titles.size())) + " 种",
                   "",     count(n),
                   "",     statMoney(m),
                   ""};
        out.sections.push_back(std::move(s));
    };
    for (Category& c : categories) {
        c.section.heading = "【" + c.code + " " + c.name + "】";
        add(std::move(c.section));
    }
    add(std::move(unknown));
    add(std::move(noCallNo));
    out.total = {"总计", "", "", count(copies), "", statMoney(money), ""};
    return out.rowCount() ? StatResult::Rows : StatResult::Empty;
}

std::vector<StatSearchPath> statSearchPaths() {
    std::vector<StatSearchPath> paths;
    for (const ChkSearchField& f : LoadChkSearchFields()) {
        if (f.kind == "IDX") paths.push_back({f.caption, f.group});
        if (f.kind == "ASORDNO") paths.push_back({f.caption, kStatPathOrderNo});
    }
    return paths;
}

StatResult statSearchTitles(const StatSearchPath& path, const std::string& text, StatTable& out) {
    out = {};
    const std::string t = trimmed(text);
    if (t.empty()) {
        LIB_ShowMsg("E查询内容不能为空");
        return StatResult::Refused;
    }
    std::string sql =
        " SELECT DISTINCT marc.m_title,marc.m_isbn,marc.m_publisher,m_pub_year,marc.marc_rec_no "
        "    FROM m_peri_ord_detl,marc    WHERE m_peri_ord_detl.marc_rec_no=marc.marc_rec_no ";
    if (path.group == kStatPathOrderNo)
        sql += " AND (m_peri_ord_detl.asord_no=" + q(t) +
               " OR m_peri_ord_detl.asord_no=" + q(t + ":A") + ")";
    else
        sql +=
            " AND m_peri_ord_detl.marc_rec_no IN (SELECT distinct marc_idx.marc_rec_no "
            "    FROM marc_idx  WHERE marc_idx.marc_idx_grp=" +
            q(path.group) + " AND marc_idx.marc_idx_cont LIKE " +
            MarcIndexLikePattern(MarcSearchKey(path.group, t)) + ")";
    LibArray a;
    if (run(sql + " ORDER BY marc.marc_rec_no", a) != StatResult::Rows) return StatResult::Failed;
    out.title = "期刊查询";
    out.header = {"检索途径：" + path.caption, "查询内容：" + t};
    out.columns = {"刊名", "ISSN", "出版者", "出版年", "记录号"};
    out.numeric = {false, false, false, false, false};
    StatSection s;
    for (int r = 2; r < a.rows(); ++r)
        s.rows.push_back(
            {cell(a, 0, r), cell(a, 1, r), cell(a, 2, r), cell(a, 3, r), cell(a, 4, r)});
    out.sections.push_back(std::move(s));
    if (!out.rowCount()) {
        LIB_ShowMsg("I无该期刊信息，请重新查询。");
        return StatResult::Empty;
    }
    out.footer = count(out.rowCount()) + " 种";
    return StatResult::Rows;
}

StatResult statTitleOrders(const std::string& recNo, const std::string& year, StatTable& out) {
    out = {};
    std::string sql =
        "SELECT publ_code,peri_ord_year,asord_no,peri_ord_qty,publ_freq,"
        "get_mode_code,carrier_code FROM m_peri_ord_detl WHERE marc_rec_no=" +
        q(recNo);
    if (!year.empty()) sql += " AND peri_ord_year LIKE " + q(year + "%");
    LibArray a;
    if (run(sql + " ORDER BY publ_code,peri_ord_year,asord_no", a) != StatResult::Rows)
        return StatResult::Failed;
    out.title = "期刊查询-订购信息";
    out.columns = {"发行商", "订购批次", "订购号", "复本数", "出版频率", "获得方式", "载体"};
    out.numeric = {false, false, false, true, false, false, false};
    StatSection s;
    long long copies = 0;
    for (int r = 2; r < a.rows(); ++r) {
        auto qty = static_cast<long long>(number(a, 3, r));
        copies += qty;
        std::string mode = LIB_CodeName(g_arrGetMode, cell(a, 5, r));
        std::string carrier = LIB_CodeName(g_arrCarrier, cell(a, 6, r));
        s.rows.push_back({publName(cell(a, 0, r)), cell(a, 1, r), cell(a, 2, r), count(qty),
                          cell(a, 4, r), mode.empty() ? cell(a, 5, r) : mode,
                          carrier.empty() ? cell(a, 6, r) : carrier});
    }
    out.sections.push_back(std::move(s));
    out.total = {"合计", "", "", count(copies), "", "", ""};
    return out.rowCount() ? StatResult::Rows : StatResult::Empty;
}

StatResult statTitleIssues(const std::string& recNo, const std::string& year, StatTable& out) {
    out = {};
    // Every expected issue at every place it is distributed to, with the copies checked in
    // there: one statement, the copies counted in the join.
    std::string sql =
        "SELECT b.peri_ord_year,b.publ_year,b.cover_vol,b.cover_issue,d.location,d.dist_loca,"
        "d.dist_qty,count(c.peri_id),b.peri_no,b.peri_id FROM m_peri_ord_detl a JOIN "
        "m_peri_ord_dist_lst d ON " +
        orderJoin("d", "a") + " JOIN m_peri_chk_vol b ON " + orderJoin("b", "a") +
        " LEFT JOIN m_peri_item c ON c.peri_id=b.peri_id AND c.location=d.location AND "
        "c.dis_location=d.dist_loca WHERE a.marc_rec_no=" +
        q(recNo);
    if (!year.empty()) sql += " AND a.peri_ord_year LIKE " + q(year + "%");
    sql +=
        " GROUP BY b.peri_ord_year,b.publ_year,b.cover_vol,b.cover_issue,d.location,"
        "d.dist_loca,d.dist_qty,b.peri_no,b.peri_id ORDER BY b.peri_ord_year,b.peri_no,"
        "b.peri_id,d.location,d.dist_loca";
    LibArray a;
    if (run(sql, a) != StatResult::Rows) return StatResult::Failed;
    out.title = "期刊查询-现刊信息";
    out.columns = {"订购批次", "出版年", "卷期", "订户", "分配地", "订购数", "实到数"};
    out.numeric = {false, false, false, false, false, true, true};
    StatSection s;
    long long ordered = 0, arrived = 0;
    for (int r = 2; r < a.rows(); ++r) {
        auto o = static_cast<long long>(number(a, 6, r)),
             n = static_cast<long long>(number(a, 7, r));
        ordered += o;
        arrived += n;
        s.rows.push_back({cell(a, 0, r), cell(a, 1, r), cell(a, 2, r) + "卷" + cell(a, 3, r) + "期",
                          LIB_LocationName(cell(a, 4, r)), LIB_LocationName(cell(a, 5, r)),
                          count(o), count(n)});
    }
    out.sections.push_back(std::move(s));
    out.total = {"合计", "", "", "", "", count(ordered), count(arrived)};
    return out.rowCount() ? StatResult::Rows : StatResult::Empty;
}

StatResult statTitleBound(const std::string& recNo, const std::string& location,
                          const std::string& year, StatTable& out) {
    out = {};
    std::string sql =
        " SELECT dis_location,year,vol_peri,prop_no,bar_code,chk_batch_no,asord_no "
        "FROM indi_acct WHERE marc_rec_no=" +
        q(recNo);
    if (!location.empty()) sql += " AND dis_location=" + q(location);
    if (!year.empty()) sql += " AND year=" + q(year);
    LibArray a;
    if (run(sql + " ORDER BY dis_location,year,prop_no", a) != StatResult::Rows)
        return StatResult::Failed;
    out.title = "期刊查询-合订本信息";
    out.columns = {"馆藏地", "年度", "卷期", "财产号", "条码号", "批次号", "订购号"};
    out.numeric = std::vector<bool>(7, false);
    StatSection s;
    for (int r = 2; r < a.rows(); ++r)
        s.rows.push_back({LIB_LocationName(cell(a, 0, r)), cell(a, 1, r), cell(a, 2, r),
                          cell(a, 3, r), cell(a, 4, r), cell(a, 5, r), cell(a, 6, r)});
    out.sections.push_back(std::move(s));
    out.footer = count(out.rowCount()) + " 册";
    return out.rowCount() ? StatResult::Rows : StatResult::Empty;
}
