#include "ordering/core/OrdRefresh.h"

#include <algorithm>
#include <map>

#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/core/basOrdList.h"

int intPairWithAsord(const std::string& publ, const std::string& year, const std::string& asordPubl,
                     const std::string& yearMonth, std::vector<AsordPair>& pairs) {
    pairs.clear();
    LibArray items, details;
    g_strSQL =
        "SELECT asord_no, peri_price, peri_year_price, publ_freq FROM peri_asord_detl "
        "WHERE publ_code=" +
        LIB_SqlStr(asordPubl) + " AND publ_year_month=" + LIB_SqlStr(yearMonth);
    if (LIB_DB_Select(g_strSQL, items) < 0) return -1;
    g_strSQL = "SELECT asord_no FROM m_peri_ord_detl WHERE publ_code=" + LIB_SqlStr(publ) +
               " AND peri_ord_year=" + LIB_SqlStr(year) + " ORDER BY asord_no";
    if (LIB_DB_Select(g_strSQL, details) < 0) return -1;
    std::map<std::string, int> byNumber;
    for (int r = 2; r < items.rows(); ++r)
        byNumber.emplace(strFormatAsordNo(items(0, r).str()), r);
    for (int r = 2; r < details.rows(); ++r) {
        const std::string no = details(0, r).str();
        auto it = byNumber.find(strFormatAsordNo(no));
        if (it == byNumber.end()) continue;
        const int i = it->second;
        pairs.push_back(
            {no, items(0, i).str(), items(1, i).str(), items(2, i).str(), items(3, i).str()});
    }
    return 0;
}

int intRefreshOrdFreqs(const std::string& publ, const std::string& year,
                       const std::vector<AsordPair>& pairs) {
    std::vector<OrdFreqChange> changes;
    for (const AsordPair& p : pairs)
        changes.push_back({p.ordAsordNo, p.freq});
    std::string refusal;
    std::vector<std::string> held;
    if (intCheckInFreqRefusal(publ, year, changes, refusal, &held) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    if (!refusal.empty()) LIB_ShowMsg("E" + refusal);
    for (const AsordPair& p : pairs)
        if (std::find(held.begin(), held.end(), p.ordAsordNo) == held.end() &&
            intUpdateOrdFreq(publ, year, p.ordAsordNo, p.freq) < 0)
            return -1;
    return 0;
}
