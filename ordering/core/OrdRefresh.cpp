#include "ordering/core/OrdRefresh.h"

#include <algorithm>

#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/core/basOrdList.h"

int intPairWithAsord(const std::string& publ, const std::string& year, const std::string& asordPubl,
                     const std::string& yearMonth, std::vector<AsordPair>& pairs) {
    pairs.clear();
    LibArray rows;
    g_strSQL =
        "SELECT D.asord_no, P.asord_no, P.peri_price, P.peri_year_price, P.publ_freq FROM "
        "m_peri_ord_detl D JOIN peri_asord_detl P ON P.fmt_asord_no=D.fmt_asord_no WHERE "
        "D.publ_code=" +
        LIB_SqlStr(publ) + " AND D.peri_ord_year=" + LIB_SqlStr(year) +
        " AND P.publ_code=" + LIB_SqlStr(asordPubl) +
        " AND P.publ_year_month=" + LIB_SqlStr(yearMonth) + " ORDER BY D.asord_no, P.asord_no";
    if (LIB_DB_Select(g_strSQL, rows) < 0) return -1;
    for (int r = 2; r < rows.rows(); ++r) {
        // Two items written differently with one normalised number: the first pairs.
        if (!pairs.empty() && pairs.back().ordAsordNo == rows(0, r).str()) continue;
        pairs.push_back({rows(0, r).str(), rows(1, r).str(), rows(2, r).str(), rows(3, r).str(),
                         rows(4, r).str()});
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
