// The order and pre-order search. One statement per search: the details (or items) joined with
// their record's summary columns and the distributor's name, filtered, ordered and cut to a page.
#include "ordering/core/OrdSearch.h"

#include <cctype>

#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "marc/core/SearchInput.h"
#include "marc/core/basBMStore.h"
#include "ordering/core/basOrdFunc.h"

namespace {

bool isYear(const std::string& y) {
    if (y.size() != 4) return false;
    for (unsigned char c : y)
        if (!std::isdigit(c)) return false;
    return true;
}

// A summary column containing the text, Latin letters in either case.
std::string containsText(const std::string& column, const std::string& text) {
    return "upper(" + column + ") LIKE upper(" + MarcSqlText("%" + sqltext::likePrefix(text)) +
           ")" + sqltext::kLikeEscape;
}

std::string matchClause(const OrdSearchQuery& q, const std::string& yearColumn) {
    const std::string text = sqltext::trim(q.text);
    std::string where;
    switch (q.field) {
        case OrdSearchField::Title:
            where = containsText("M.m_title", text);
            break;
        case OrdSearchField::Publisher:
            where = containsText("M.m_publisher", text);
            break;
        case OrdSearchField::Issn: {
            // Catalogued with its hyphen; typed with or without it.
            const std::string issn = MarcIssnInput(text);
            where = "upper(M.m_isbn) LIKE " +
                    LIB_SqlStr(sqltext::likePrefix(sqltext::upper(issn.empty() ? text : issn))) +
                    sqltext::kLikeEscape;
            break;
        }
        case OrdSearchField::AsordNo:
            where = "(A.asord_no LIKE " + LIB_SqlStr(sqltext::likePrefix(text)) +
                    sqltext::kLikeEscape + " OR A.asord_no=" + LIB_SqlStr(strFormatAsordNo(text)) +
                    " OR A.fmt_asord_no=" + LIB_SqlStr(strFormatAsordNo(text)) + ")";
            break;
    }
    // Both year columns begin with the four-digit year, so the bounds keep to their index.
    if (!q.fromYear.empty()) where += " AND " + yearColumn + ">=" + LIB_SqlStr(q.fromYear);
    if (!q.toYear.empty()) where += " AND " + yearColumn + "<=" + LIB_SqlStr(q.toYear + "99");
    return where;
}

}  // namespace

std::string strOrdSearchRefusal(const OrdSearchQuery& q) {
    if (sqltext::trim(q.text).empty()) return "请输入检索内容！";
    if ((!q.fromYear.empty() && !isYear(q.fromYear)) || (!q.toYear.empty() && !isYear(q.toYear)))
        return "年度必须是四位数字！";
    if (!q.fromYear.empty() && !q.toYear.empty() && q.fromYear > q.toYear)
        return "起始年度不能大于终止年度！";
    return "";
}

int intOrdSearch(const OrdSearchQuery& q, std::vector<OrdSearchHit>& out, bool& more) {
    out.clear();
    more = false;
    const bool order = q.kind == OrdSearchKind::Order;
    if (order)
        g_strSQL =
            "SELECT A.publ_code, nvl(B.publ_name,''), A.peri_ord_year, A.asord_no, M.m_title, "
            "M.m_isbn, M.m_publisher, A.peri_price, A.peri_total_price, A.peri_ord_qty, "
            "A.ord_flag, A.marc_rec_no, " +
            strOrdRowKeySql("A") +
            " FROM m_peri_ord_detl A LEFT JOIN marc M ON M.marc_rec_no=A.marc_rec_no "
            "LEFT JOIN publish_busi B ON B.publ_code=A.publ_code WHERE " +
            matchClause(q, "A.peri_ord_year") +
            " ORDER BY A.peri_ord_year DESC, A.publ_code, A.asord_no";
    else
        g_strSQL =
            "SELECT A.publ_code, nvl(B.publ_name,''), A.publ_year_month, A.asord_no, M.m_title, "
            "M.m_isbn, M.m_publisher, A.peri_price, A.peri_year_price, '', '', "
            "A.asord_marc_rec_no, " +
            strAsordRowKeySql("A") +
            " FROM peri_asord_detl A LEFT JOIN asord_marc M ON "
            "M.asord_marc_rec_no=A.asord_marc_rec_no LEFT JOIN publish_busi B ON "
            "B.publ_code=A.publ_code WHERE " +
            matchClause(q, "A.publ_year_month") +
            " ORDER BY A.publ_year_month DESC, A.publ_code, A.asord_no";
    g_strSQL += " LIMIT " + std::to_string(kOrdSearchMaxRows + 1);
    LibArray rows;
    if (LIB_DB_SelectWide(g_strSQL, rows) < 0) return -1;
    constexpr std::string OrdSearchHit::*kFields[] = {
        &OrdSearchHit::publ,      &OrdSearchHit::publName, &OrdSearchHit::year,
        &OrdSearchHit::asordNo,   &OrdSearchHit::title,    &OrdSearchHit::issn,
        &OrdSearchHit::publisher, &OrdSearchHit::price,    &OrdSearchHit::totalPrice,
        &OrdSearchHit::copies,    &OrdSearchHit::status,   &OrdSearchHit::marcNo,
        &OrdSearchHit::key};
    for (int r = 2; r < rows.rows(); ++r) {
        if (static_cast<int>(out.size()) == kOrdSearchMaxRows) {
            more = true;
            break;
        }
        OrdSearchHit h;
        for (int c = 0; c < static_cast<int>(std::size(kFields)); ++c)
            h.*kFields[c] = rows(c, r).str();
        out.push_back(std::move(h));
    }
    return 0;
}

bool OrdSearchFieldFromName(const std::string& name, OrdSearchField& field) {
    static const std::pair<const char*, OrdSearchField> kNames[] = {
        {"title", OrdSearchField::Title},
        {"issn", OrdSearchField::Issn},
        {"no", OrdSearchField::AsordNo},
        {"publisher", OrdSearchField::Publisher}};
    for (const auto& [n, f] : kNames)
        if (name == n) {
            field = f;
            return true;
        }
    return false;
}
