#include "checkin/core/GenerateDemo.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "checkin/core/basChkConfig.h"
#include "checkin/core/basChkIn.h"
#include "checkin/core/basChkPredict.h"
#include "common/OperatorState.h"
#include "db/basLibDB.h"

namespace {

// The order line that shows its numbers in Roman numerals.
constexpr const char* kRomanLine = "0024-A";

// The sent demo order lines with the locations that check them in, in a fixed order. Lines the
// demo data already carries in a later state of their own (claimed, bound, accessioned) are
// left as they are: with `configured`, the lines the configuration step has predicted.
int loadDemoLines(LibArray& lines, bool configured) {
    g_strSQL =
        "SELECT d.publ_code,d.peri_ord_year,d.asord_no,s.location,d.ord_flag FROM "
        "m_peri_ord_detl d JOIN m_sub_ord_lst s ON s.publ_code=d.publ_code AND "
        "s.peri_ord_year=d.peri_ord_year AND s.asord_no=d.asord_no WHERE d.ord_flag<>'0' AND "
        "s.chk_stat='1' AND " +
        std::string(configured ? "" : "NOT ") +
        "EXISTS (SELECT 1 FROM m_peri_chk_cfg c WHERE c.publ_code=d.publ_code AND "
        "c.peri_ord_year=d.peri_ord_year AND c.asord_no=d.asord_no AND c.location=s.location) "
        "AND NOT EXISTS (SELECT 1 FROM m_peri_chk_vol v JOIN m_peri_item i ON "
        "i.peri_id=v.peri_id WHERE v.publ_code=d.publ_code AND v.peri_ord_year=d.peri_ord_year "
        "AND v.asord_no=d.asord_no) " +
        std::string(configured ? ""
                               : "AND NOT EXISTS (SELECT 1 FROM m_peri_chk_vol v WHERE "
                                 "v.publ_code=d.publ_code AND v.peri_ord_year=d.peri_ord_year "
                                 "AND v.asord_no=d.asord_no) ") +
        "ORDER BY d.peri_ord_year,d.publ_code,d.asord_no,s.location";
    if (LIB_DB_Select(g_strSQL, lines) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    return 0;
}

enum class DemoArrivals { Complete, Partial, Missing };

// The demo check-in librarian receives at every receiving location while the demo is made,
// whoever (if anyone) is logged in; the session is as it was afterwards.
class DemoReceiver {
public:
    DemoReceiver() : wkr_(g_strWkrNo), special_(g_blnSpecialRight) {
        g_strWkrNo = "JD01";
        g_blnSpecialRight = true;
    }
    ~DemoReceiver() {
        g_strWkrNo = wkr_;
        g_blnSpecialRight = special_;
    }
    DemoReceiver(const DemoReceiver&) = delete;
    DemoReceiver& operator=(const DemoReceiver&) = delete;

private:
    std::string wkr_;
    bool special_;
};

int receiveLine(const ChkOrderKey& key, const std::string& location, DemoArrivals how,
                const std::string& today) {
    ChkInOrderLine line;
    std::vector<ChkInLocation> locations;
    std::vector<ChkInIssue> issues;
    if (intLoadChkOrderLine(key, line) != 0 || intLoadChkLocations(key, locations) < 0 ||
        intLoadChkIssues(key, location, issues) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    const auto loca = std::find_if(locations.begin(), locations.end(),
                                   [&](const ChkInLocation& l) { return l.location == location; });
    if (loca == locations.end()) return 0;
    std::vector<std::string> full, part;
    // The day and time each issue came, for the copies' check-in dates.
    std::string arrived;
    for (const ChkInIssue& i : issues) {
        // Issues come up to a week after their expected day; the latest may not be here yet.
        const std::string day =
            i.expectDate.empty() ? "" : chkAddDays(i.expectDate, i.periNo * 5 % 8);
        if (day.empty() || day > today) continue;
        if (how == DemoArrivals::Missing && i.periNo % 5 == 3) continue;
        (how == DemoArrivals::Partial && i.periNo % 3 == 2 ? part : full).push_back(i.periId);
        const int minute = 9 * 60 + i.periNo * 37 % 480;  // through the working day
        char time[16];
        std::snprintf(time, sizeof time, " %02d:%02d:00", minute / 60, minute % 60);
        arrived += " WHEN " + LIB_SqlStr(i.periId) + " THEN " + LIB_SqlStr(day + time);
    }
    if (intCheckInIssues(line, *loca, full) < 0 || intCheckInIssues(line, *loca, part, 1) < 0)
        return -1;
    // Received now, through the real check-in; dated as the days they came, so that the demo
    // looks like a desk that has been working all along.
    if (arrived.empty()) return 0;
    if (LIB_DB_Execute("UPDATE m_peri_item SET chk_date=CASE peri_id" + arrived +
                       " END WHERE location=" + LIB_SqlStr(location) +
                       " AND peri_id IN (SELECT peri_id FROM m_peri_chk_vol WHERE publ_code=" +
                       LIB_SqlStr(key.publCode) +
                       " AND peri_ord_year=" + LIB_SqlStr(key.periOrdYear) +
                       " AND asord_no=" + LIB_SqlStr(key.asordNo) + ")") < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    return 0;
}

}  // namespace

int ChkReceiveDemoArrivals() {
    LibArray lines;
    if (loadDemoLines(lines, true) < 0) return -1;
    const std::string today = LIB_DB_GetServerDate().substr(0, 10);
    if (today.empty()) {
        LIB_DB_ShowError();
        return -1;
    }
    DemoReceiver receiver;
    for (int r = 2; r < lines.rows(); ++r) {
        const int k = r - 2;
        const DemoArrivals how = lines(4, r).str() == "3" || k % 3 == 0 ? DemoArrivals::Complete
                                 : k % 3 == 1                           ? DemoArrivals::Partial
                                                                        : DemoArrivals::Missing;
        if (receiveLine({lines(0, r).str(), lines(1, r).str(), lines(2, r).str()},
                        lines(3, r).str(), how, today) < 0)
            return -1;
    }
    return 0;
}

int ChkConfigureDemoOrders() {
    LibArray lines;
    if (loadDemoLines(lines, false) < 0) return -1;
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
