#include "checkin/core/GenerateDemo.h"

#include <string>

#include "checkin/core/basChkConfig.h"
#include "db/basLibDB.h"

namespace {

// The order line that shows its numbers in Roman numerals.
constexpr const char* kRomanLine = "0024-A";

}  // namespace

int ChkConfigureDemoOrders() {
    // Lines the demo data already carries in a later state (bound, accessioned) keep it.
    LibArray lines;
    g_strSQL =
        "SELECT d.publ_code,d.peri_ord_year,d.asord_no,s.location,d.ord_flag FROM "
        "m_peri_ord_detl d JOIN m_sub_ord_lst s ON s.publ_code=d.publ_code AND "
        "s.peri_ord_year=d.peri_ord_year AND s.asord_no=d.asord_no WHERE d.ord_flag<>'0' AND "
        "s.chk_stat='1' AND NOT EXISTS (SELECT 1 FROM m_peri_chk_cfg c WHERE "
        "c.publ_code=d.publ_code AND c.peri_ord_year=d.peri_ord_year AND c.asord_no=d.asord_no "
        "AND c.location=s.location) AND NOT EXISTS (SELECT 1 FROM m_peri_chk_vol v WHERE "
        "v.publ_code=d.publ_code AND v.peri_ord_year=d.peri_ord_year AND v.asord_no=d.asord_no) "
        "ORDER BY d.peri_ord_year,d.publ_code,d.asord_no,s.location";
    if (LIB_DB_Select(g_strSQL, lines) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    const bool roman = QK_bolLuoMa;
    for (int r = 2; r < lines.rows(); ++r) {
        const ChkOrderKey key{lines(0, r).str(), lines(1, r).str(), lines(2, r).str()};
        ChkConfigForm f;
        if (intLoadChkConfig(key, lines(3, r).str(), f) != 0) {
            LIB_DB_ShowError();
            return -1;
        }
        const int year = std::stoi(key.periOrdYear.substr(0, 4));
        const bool western = key.publCode == "TSJK";
        f.roman = key.asordNo == kRomanLine;
        f.line.fstReceDate = western ? 10 : 8;
        f.line.qtyOfVol = f.line.qtyOfYear;
        f.cfg.begVol = year - (western ? 1960 : 1985);
        f.cfg.begIssue = 1;
        f.cfg.begTotalIssue = (f.cfg.begVol - 1) * f.line.qtyOfYear + 1;
        f.cfg.bindYsno = "1";
        if (intSaveChkConfig(f) < 0) return -1;
        // A line whose check-in was finished stays finished.
        if (lines(4, r).str() == "3" &&
            LIB_DB_Execute("UPDATE m_peri_ord_detl SET ord_flag='3' WHERE publ_code=" +
                           LIB_SqlStr(key.publCode) +
                           " AND peri_ord_year=" + LIB_SqlStr(key.periOrdYear) +
                           " AND asord_no=" + LIB_SqlStr(key.asordNo)) < 0) {
            LIB_DB_ShowError();
            return -1;
        }
    }
    QK_bolLuoMa = roman;
    return 0;
}
