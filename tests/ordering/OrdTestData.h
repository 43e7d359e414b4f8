// Order details for the ordering tests: a complete detail of the demo code tables, and a
// catalogue created through the same routine the screens use.
#pragma once

#include <string>

#include "ordering/basOrdList.h"

// A valid detail: two subscribers (QK01 checks in 2 copies sent to QK01 and QKYL; WWQK takes
// 1 copy without checking in), each with a fund line.
inline OrdDetail CompleteDetail(const std::string& publ, const std::string& year,
                                const std::string& asordNo) {
    OrdDetail d = NewOrdDetail(publ, year);
    d.set("AsordNo", asordNo);
    d.set("GetMode", "01");
    d.set("PublFreq", "月刊");
    d.set("Carrier", "01");
    d.set("MoneyType", "CNY");
    d.set("Price", "12.5");
    d.set("TotalPrice", "150");
    d.set("KindNo", "TP3");
    d.set("Remark", "核心期刊");
    d.subs = {
        {"QK01",
         "1",
         "2",
         "全年",
         "主馆",
         {{"01", "2", "300", ""}},
         {{"QK01", "1", ""}, {"QKYL", "1", "TP3/12"}}},
        {"WWQK", "0", "1", "上半年", "", {{"02", "1", "150", "外刊"}}, {}},
    };
    return d;
}
