// The order-line search builds one joined statement: the index, label, number or distributor
// condition and the optional filters, every value quoted or normalised as the index keys are.
#include "checkin/core/basChkSearch.h"

#include <algorithm>
#include <filesystem>

#include "common/IniFile.h"
#include "common/basQKEnv.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/core/MarcSearch.h"
#include "marc/core/basBMDefault.h"
#include "marc/core/basBMStore.h"

namespace {

const char* const kSection = "期刊签到检索途径";

bool isAscii(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](unsigned char c) { return c < 0x80; });
}

// A LIKE pattern for a text, through unistr for national characters.
std::string likePattern(const std::string& prefix) {
    std::string like = prefix + "%";
    return isAscii(like) ? LIB_SqlStr(like) : "unistr( " + LIB_SqlStr(ToUnistrLiteral(like)) + ")";
}

bool allDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), ::isdigit);
}

std::string fieldCondition(const ChkSearchQuery& q) {
    const std::string text = sqltext::trim(q.text);
    const ChkSearchField& f = q.field;
    if (f.kind == "IDX")
        return " AND m_peri_ord_detl.marc_rec_no IN (SELECT marc_idx.marc_rec_no FROM marc_idx "
               " WHERE marc_idx.marc_idx_grp=" +
               LIB_SqlStr(f.group) + " AND marc_idx.marc_idx_cont LIKE " +
               likePattern(MarcSearchKey(f.group, text)) + ")";
    if (f.kind == "LABEL")
        return " AND EXISTS (SELECT 1 FROM m_peri_ord_dist_lst WHERE "
               "m_peri_ord_dist_lst.publ_code=m_peri_ord_detl.publ_code AND "
               "m_peri_ord_dist_lst.peri_ord_year=m_peri_ord_detl.peri_ord_year AND "
               "m_peri_ord_dist_lst.asord_no=m_peri_ord_detl.asord_no "
               " AND UPPER(m_peri_ord_dist_lst.label) = " +
               LIB_SqlStr(sqltext::upper(text)) + ")";
    if (f.kind == "ASORDNO") return " AND m_peri_ord_detl.asord_no LIKE " + likePattern(text);
    return " AND m_peri_ord_detl.publ_code=" + LIB_SqlStr(sqltext::upper(text));
}

std::string filters(const ChkSearchQuery& q) {
    std::string s;
    if (q.yearRange) {
        s += " AND substr(m_peri_ord_detl.peri_ord_year,1,4)>=" + LIB_SqlStr(q.yearFrom) +
             " AND substr(m_peri_ord_detl.peri_ord_year,1,4)<=" + LIB_SqlStr(q.yearTo);
    } else if (!q.year.empty()) {
        s += " AND m_peri_ord_detl.peri_ord_year LIKE " + LIB_SqlStr(q.year + "%");
    }
    if (q.language == "CHI")
        s += " AND UPPER(marc.lang_code)='CHI'";
    else if (q.language == "FOREIGN")
        s += " AND UPPER(marc.lang_code)<>'CHI'";
    if (!q.getMode.empty()) s += " AND m_peri_ord_detl.get_mode_code=" + LIB_SqlStr(q.getMode);
    if (!q.carrier.empty()) s += " AND m_peri_ord_detl.carrier_code=" + LIB_SqlStr(q.carrier);
    return s;
}

std::vector<ChkSearchField> fieldsOf(const IniFile& ini) {
    std::vector<ChkSearchField> fields;
    for (int n = 1; n <= 99; ++n) {
        std::vector<std::string> parts = sqltext::split(ini.get(kSection, std::to_string(n)), ',');
        if (parts.size() < 2) continue;
        ChkSearchField f{sqltext::trim(parts[0]), sqltext::upper(sqltext::trim(parts[1])),
                         parts.size() > 2 ? sqltext::trim(parts[2]) : ""};
        bool known = (f.kind == "IDX" && !f.group.empty()) || f.kind == "LABEL" ||
                     f.kind == "ASORDNO" || f.kind == "PUBL";
        if (known && !f.caption.empty()) fields.push_back(f);
    }
    return fields;
}

}  // namespace

std::vector<ChkSearchField> ParseChkSearchFields(const std::string& iniText) {
    return fieldsOf(IniFile::parse(iniText));
}

std::vector<ChkSearchField> LoadChkSearchFields() {
    const std::string local = g_strPath[3] + "QKINDEX.INI";
    if (!g_strPath[3].empty() && std::filesystem::exists(local))
        if (auto f = IniFile::load(local)) return fieldsOf(*f);
    return ParseChkSearchFields(DefaultQkIndexText());
}

int intChkSearch(const ChkSearchQuery& query, LibArray& rows) {
    if (sqltext::trim(query.text).empty()) {
        LIB_ShowMsg("E查询内容不能为空");
        return 1;
    }
    if (query.yearRange && query.yearFrom > query.yearTo) {
        LIB_ShowMsg("E年度区间不正确");
        return 1;
    }
    g_strSQL =
        " SELECT m_peri_ord_detl.publ_code,m_peri_ord_detl.peri_ord_year,"
        "m_peri_ord_detl.asord_no,marc.m_title,marc.m_isbn,marc.lang_code,"
        "m_peri_ord_detl.get_mode_code,m_peri_ord_detl.carrier_code,marc.marc_rec_no "
        " FROM m_peri_ord_detl,marc "
        "   WHERE m_peri_ord_detl.ord_flag<>'0' AND marc.marc_rec_no=m_peri_ord_detl.marc_rec_no" +
        fieldCondition(query) + filters(query) +
        " ORDER BY m_peri_ord_detl.publ_code, m_peri_ord_detl.peri_ord_year,"
        "m_peri_ord_detl.asord_no ";
    if (LIB_DB_Select(g_strSQL, rows) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    if (rows.recordCount() == 0) {
        LIB_ShowMsg("I无该期刊订购信息，请重新查询！");
        return 1;
    }
    return 0;
}

int intLoadOrdYears(std::vector<std::string>& years) {
    LibArray a;
    if (LIB_DB_Select(" SELECT distinct substr(m_peri_ord_lst.peri_ord_year,1,4) "
                      " FROM m_peri_ord_lst  ORDER BY 1 DESC",
                      a) < 0)
        return -1;
    years.clear();
    for (int r = 2; r < a.rows(); ++r)
        years.push_back(a(0, r).str());
    return 0;
}

ScannedCode ReadScannedCode(const std::string& code) {
    std::string digits;
    for (char c : code)
        if (std::isdigit(static_cast<unsigned char>(c)) || c == 'X' || c == 'x')
            digits += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (digits.size() == 8 && allDigits(digits.substr(0, 7)))
        return {digits.substr(0, 4) + "-" + digits.substr(4), ""};
    const std::size_t n = digits.size();
    if ((n == 13 || n == 15 || n == 18) && digits.compare(0, 3, "977") == 0 && allDigits(digits)) {
        std::string issn = EanToIssn(digits.substr(0, 13));
        if (issn.size() != 9) return {};
        // Only the two-digit add-on numbers the issue; a five-digit one is left unread.
        std::string addOn = n == 15 ? digits.substr(13) : "";
        while (addOn.size() > 1 && addOn[0] == '0')
            addOn.erase(0, 1);
        return {issn, addOn};
    }
    return {};
}
