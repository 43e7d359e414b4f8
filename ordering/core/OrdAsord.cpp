// The review file, the publishing-house lookup, the usual codes and the already-ordered check.
#include "ordering/core/OrdAsord.h"

#include <algorithm>
#include <map>
#include <set>

#include "common/OperatorState.h"
#include "db/DbTransaction.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/core/SearchInput.h"
#include "marc/core/basBMFunc.h"
#include "marc/core/basBMStore.h"
#include "ordering/core/basOrdCheck.h"
#include "ordering/core/basOrdFile.h"
#include "ordering/core/basOrdFunc.h"

namespace {

// The fields of a review-file line, in file order.
constexpr std::string OrdDetail::*kAsordFields[] = {
    &OrdDetail::asordNo,   &OrdDetail::title,      &OrdDetail::issn,     &OrdDetail::publisher,
    &OrdDetail::price,     &OrdDetail::totalPrice, &OrdDetail::publFreq, &OrdDetail::carrier,
    &OrdDetail::moneyType, &OrdDetail::kindNo,     &OrdDetail::remark};

LibVar numberOrNull(const std::string& text) {
    return text.empty() ? LibVar::null() : LibVar(LibVar(text).num());
}

LibVar textOrNull(const std::string& text) {
    return text.empty() ? LibVar::null() : LibVar(text);
}

std::string trimmed(const std::string& s) {
    return sqltext::trim(s);
}

// Characters of UTF-8 text: the bytes that do not continue a character.
std::size_t characters(const std::string& s) {
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// The texts the pre-order tables hold in columns of a fixed width, and that width.
struct TextLimit {
    std::string OrdDetail::*field;
    const char* caption;
    std::size_t width;
};
constexpr TextLimit kTextLimits[] = {{&OrdDetail::asordNo, "征订号", 40},
                                     {&OrdDetail::issn, "ISSN", 40},
                                     {&OrdDetail::kindNo, "类号", 40},
                                     {&OrdDetail::remark, "备注", 200}};

}  // namespace

int intReadAsordFile(const std::string& path, std::vector<OrdDetail>& items, std::string& error) {
    items.clear();
    std::string text;
    std::vector<OrdCsvRecord> records;
    if (intReadOrdText(path, text, error) < 0 || !SplitOrdCsv(text, records, error)) return -1;
    if (!records.empty() && records[0].field(0).rfind("征订号", 0) == 0)
        records.erase(records.begin());
    OrdCodeTables codes;
    if (intLoadOrdCodeTables(codes) < 0) {
        error = g_ErrInfo.strDesc;
        return -1;
    }
    std::set<std::string> seen;
    for (const OrdCsvRecord& r : records) {
        OrdDetail d;
        for (std::size_t i = 0; i < std::size(kAsordFields); ++i)
            d.*kAsordFields[i] = trimmed(r.field(i));
        NormalizeOrdNumbers(d);
        std::vector<std::string> wrong = OrdPriceErrors(d);
        std::vector<std::string> codeErrors = OrdCodeErrors(d, codes);
        wrong.insert(wrong.end(), codeErrors.begin(), codeErrors.end());
        if (d.asordNo.empty()) wrong.insert(wrong.begin(), " 必须输入征订号！");
        for (const TextLimit& l : kTextLimits)
            if (characters(d.*l.field) > l.width)
                wrong.push_back(std::string(" ") + l.caption + "不能超过" +
                                std::to_string(l.width) + "个字符！");
        // The listed title and publisher are cut as a record's summary columns are.
        d.title = AnsiCut(d.title, kMarcTitleColumn);
        d.publisher = AnsiCut(d.publisher, kMarcTitleColumn);
        if (!d.asordNo.empty() && !seen.insert(d.asordNo).second)
            wrong.push_back(" 征订号【" + d.asordNo + "】在文件中重复！");
        if (!wrong.empty()) {
            error = "第 " + std::to_string(r.line) + " 行：";
            for (const std::string& w : wrong)
                error += w;
            items.clear();
            return -1;
        }
        items.push_back(std::move(d));
    }
    return 0;
}

int intAddAsordItems(const std::string& publ, const std::string& yearMonth,
                     std::vector<OrdDetail> items, std::vector<std::string>& existing) {
    existing.clear();
    DbTransaction tx;
    if (!tx.ok()) return -1;
    LibArray held;
    g_strSQL = "SELECT asord_no FROM peri_asord_detl WHERE publ_code=" + LIB_SqlStr(publ) +
               " AND publ_year_month=" + LIB_SqlStr(yearMonth);
    if (LIB_DB_Select(g_strSQL, held) < 0) return -1;
    std::set<std::string> numbers;
    for (int r = 2; r < held.rows(); ++r)
        numbers.insert(trimmed(held(0, r).str()));
    std::erase_if(items, [&](const OrdDetail& d) {
        if (!numbers.count(d.asordNo)) return false;
        existing.push_back(d.asordNo);
        return true;
    });
    const int titled = static_cast<int>(std::count_if(
        items.begin(), items.end(), [](const OrdDetail& d) { return !d.title.empty(); }));
    std::vector<std::string> recNos;
    if (titled > 0) {
        // Inside the transaction the numbering runs under a savepoint and goes back with it.
        recNos = MarcNewNumbers(kMarcAsord, titled);
        if (recNos.empty()) return -1;
    }
    const std::string today = LIB_DB_GetServerDate().substr(0, 10);
    std::vector<std::vector<LibVar>> records, details;
    std::size_t next = 0;
    for (OrdDetail& d : items) {
        std::string recNo;
        if (!d.title.empty()) {
            recNo = recNos[next++];
            records.push_back(
                {recNo, g_strWkrNo, today, d.title, textOrNull(d.publisher), textOrNull(d.issn)});
        }
        if (d.totalPrice.empty()) d.totalPrice = strAnnualPrice(d.price, d.publFreq, yearMonth);
        details.push_back({publ, yearMonth, d.asordNo, textOrNull(recNo), textOrNull(d.moneyType),
                           numberOrNull(d.price), numberOrNull(d.totalPrice), textOrNull(d.remark),
                           "0", textOrNull(d.publFreq), textOrNull(d.kindNo), textOrNull(d.carrier),
                           strFormatAsordNo(d.asordNo)});
    }
    std::vector<BoundStatement> batch;
    if (LIB_DB_AddInsertRows(
            batch, "asord_marc",
            {"asord_marc_rec_no", "cata_oper", "cata_date", "m_title", "m_publisher", "m_isbn"},
            records) < 0 ||
        LIB_DB_AddInsertRows(batch, "peri_asord_detl",
                             {"publ_code", "publ_year_month", "asord_no", "asord_marc_rec_no",
                              "money_code", "peri_price", "peri_year_price", "remark", "flag",
                              "publ_freq", "kind_no", "carrier_code", "fmt_asord_no"},
                             details) < 0)
        return -1;
    if (!batch.empty() && LIB_DB_ExecuteBatch(batch) < 0) return -1;
    if (tx.commit() < 0) return -1;
    return static_cast<int>(items.size());
}

int intImportAsordFile(const std::string& publ, const std::string& yearMonth,
                       const std::string& path, AsordImportResult& out) {
    out = {};
    std::vector<OrdDetail> items;
    std::string error;
    if (intReadAsordFile(path, items, error) < 0) {
        LIB_ShowMsg("E" + error);
        return -1;
    }
    bool missing = false;
    const bool added = [&] {
        DbTransaction tx;
        if (!tx.ok()) return false;
        LibArray cata;
        g_strSQL = "SELECT publ_code FROM peri_asord_cata WHERE publ_code=" + LIB_SqlStr(publ) +
                   " AND publ_year_month=" + LIB_SqlStr(yearMonth);
        if (LIB_DB_Select(g_strSQL, cata) < 0) return false;
        missing = cata.recordCount() == 0;
        if (missing) return false;
        out.added = intAddAsordItems(publ, yearMonth, std::move(items), out.existing);
        return out.added >= 0 && tx.commit() >= 0;
    }();
    if (added) return 0;
    if (missing)
        LIB_ShowMsg("E征订目录 " + publ + " " + yearMonth + " 不存在！");
    else
        LIB_DB_ShowError();
    out = {};
    return -1;
}

std::string strAsordImportReport(const AsordImportResult& r) {
    std::string report = "已导入 " + std::to_string(r.added) + " 条征订信息。";
    if (!r.existing.empty()) {
        report += "\n下列征订号在该目录中已经存在：";
        for (const std::string& no : r.existing)
            report += "\n" + no;
    }
    return report;
}

int intGetOrdPress(const std::string& codeOrName, OrdPress& out) {
    out = {};
    const std::string key = trimmed(codeOrName);
    if (key.empty()) return 0;
    // A code names one house; a name may be shared, and then the code decides.
    g_strSQL =
        "SELECT press_name,press_address,country_code,area_code FROM press WHERE press_code=" +
        LIB_SqlStr(key) + " OR press_name=" + LIB_SqlStr(key) +
        " ORDER BY CASE WHEN press_code=" + LIB_SqlStr(key) + " THEN 0 ELSE 1 END, press_code";
    LibArray rows;
    if (LIB_DB_Select(g_strSQL, rows) < 0) return -1;
    if (rows.recordCount() == 0) return 0;
    out = {rows(0, 2).str(), rows(1, 2).str(), rows(2, 2).str(), rows(3, 2).str()};
    return 1;
}

std::string strOrdPressLine(const std::string& codeOrName, int found, const OrdPress& press) {
    if (trimmed(codeOrName).empty()) return "";
    if (found <= 0) return "出版社：" + codeOrName + "（出版社代码表中没有）";
    std::string line = "出版社：" + press.name;
    if (!press.address.empty()) line += "  地址：" + press.address;
    if (!press.country.empty()) line += "  国别：" + press.country;
    if (!press.area.empty()) line += "  地区：" + press.area;
    return line;
}

int intGetOrdUsualCodes(const std::string& publ, OrdUsualCodes& distributor,
                        OrdUsualCodes& library) {
    distributor = library = {};
    // Per code: the uses by all details and by the distributor's, one statement for the three.
    const std::string ofPubl =
        ", COUNT(*), SUM(CASE WHEN publ_code=" + LIB_SqlStr(publ) + " THEN 1 ELSE 0 END)";
    auto part = [&](const char* kind, const char* column) {
        return std::string("SELECT '") + kind + "', " + column + ofPubl +
               " FROM m_peri_ord_detl WHERE " + column + " IS NOT NULL AND " + column +
               "<>'' GROUP BY " + column;
    };
    g_strSQL = part("G", "get_mode_code") + " UNION ALL " + part("C", "carrier_code") +
               " UNION ALL " + part("M", "money_code");
    LibArray rows;
    if (LIB_DB_Select(g_strSQL, rows) < 0) return -1;
    struct Best {
        std::string code;
        long long uses = 0;
    };
    std::map<std::string, Best> byPubl, byLibrary;
    auto take = [](Best& best, const std::string& code, long long uses) {
        if (uses > best.uses || (uses == best.uses && uses > 0 && code < best.code))
            best = {code, uses};
    };
    for (int r = 2; r < rows.rows(); ++r) {
        const std::string kind = rows(0, r).str(), code = trimmed(rows(1, r).str());
        take(byLibrary[kind], code, rows(2, r).integer());
        take(byPubl[kind], code, rows(3, r).integer());
        // The usual currency of foreign titles: the most used one that is not the yuan.
        if (kind == "M" && code != "CNY") {
            take(byLibrary["F"], code, rows(2, r).integer());
            take(byPubl["F"], code, rows(3, r).integer());
        }
    }
    auto fill = [](OrdUsualCodes& c, std::map<std::string, Best>& best) {
        c.getMode = best["G"].code;
        c.carrier = best["C"].code;
        c.moneyType = best["M"].code;
        c.foreignMoney = best["F"].code;
    };
    fill(distributor, byPubl);
    fill(library, byLibrary);
    return 0;
}

bool IsChineseTitle(const OrdDetail& d) {
    const std::string country = sqltext::upper(trimmed(d.country));
    const std::string language = sqltext::lower(trimmed(d.language));
    if (!country.empty() || !language.empty()) return country == "CN" || language == "chi";
    // UTF-8 lead bytes E4 to E9 start the CJK unified ideographs.
    return std::any_of(d.title.begin(), d.title.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b >= 0xE4 && b <= 0xE9;
    });
}

void FillUsualCodes(OrdDetail& d, const OrdUsualCodes& distributor, const OrdUsualCodes& library) {
    const std::pair<std::string OrdDetail::*, std::string OrdUsualCodes::*> fields[] = {
        {&OrdDetail::getMode, &OrdUsualCodes::getMode},
        {&OrdDetail::carrier, &OrdUsualCodes::carrier},
        {&OrdDetail::moneyType, &OrdUsualCodes::moneyType}};
    for (const auto& [mine, usual] : fields) {
        std::string& value = d.*mine;
        if (trimmed(value).empty())
            value = !(distributor.*usual).empty() ? distributor.*usual : library.*usual;
    }
    if (trimmed(d.moneyType).empty() && IsChineseTitle(d)) d.moneyType = "CNY";
}

bool IsSameOrdTitle(const OrdDetail& a, const OrdDetail& b) {
    if (!trimmed(a.marcNo).empty() && trimmed(a.marcNo) == trimmed(b.marcNo)) return true;
    const std::string issnA = MarcIssnInput(a.issn), issnB = MarcIssnInput(b.issn);
    if (!issnA.empty() && !issnB.empty()) return issnA == issnB;
    return !trimmed(a.title).empty() && trimmed(a.title) == trimmed(b.title);
}

int intFindOrderedAlready(const std::string& publ, const std::string& year,
                          const std::vector<OrdDetail>& offers,
                          const std::vector<OrdDetail>& listed, OrdOrderedAlready& out) {
    out = {};
    g_strSQL =
        "SELECT D.asord_no, D.marc_rec_no, M.m_title, M.m_isbn FROM m_peri_ord_detl D LEFT JOIN "
        "marc M ON M.marc_rec_no=D.marc_rec_no WHERE D.publ_code=" +
        LIB_SqlStr(publ) + " AND D.peri_ord_year=" + LIB_SqlStr(year);
    LibArray rows;
    if (LIB_DB_SelectWide(g_strSQL, rows) < 0) return -1;
    std::vector<OrdDetail> ordered = listed;
    for (int r = 2; r < rows.rows(); ++r) {
        OrdDetail d;
        d.asordNo = trimmed(rows(0, r).str());
        d.marcNo = rows(1, r).str();
        d.title = rows(2, r).str();
        d.issn = rows(3, r).str();
        ordered.push_back(std::move(d));
    }
    for (const OrdDetail& offer : offers) {
        const std::string no = trimmed(offer.asordNo);
        auto has = [&](auto pred) { return std::any_of(ordered.begin(), ordered.end(), pred); };
        if (has([&](const OrdDetail& o) { return trimmed(o.asordNo) == no; }))
            out.sameNumber.push_back(no);
        else if (has([&](const OrdDetail& o) { return IsSameOrdTitle(offer, o); }))
            out.sameTitle.push_back(no);
    }
    return 0;
}
