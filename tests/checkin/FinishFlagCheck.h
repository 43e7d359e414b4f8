// The issues whose finish_flag disagrees with their copies, worked out here from plain reads of
// the tables rather than by the statement the program keeps the flag with: an issue is finished
// when its order line has a receiving location and each receiving location has as many copies
// as it subscribes.
#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "db/basLibDB.h"

inline std::vector<std::string> wrongFinishFlags() {
    using Line = std::tuple<std::string, std::string, std::string>;
    std::map<Line, std::vector<std::pair<std::string, long long>>> receivers;
    for (const auto& row : g_OraDatabase
                               ->query("SELECT publ_code,peri_ord_year,asord_no,location,"
                                       "sub_peri_qty FROM m_sub_ord_lst WHERE chk_stat='1'")
                               .rows)
        receivers[{row[0].str(), row[1].str(), row[2].str()}].emplace_back(row[3].str(),
                                                                           row[4].integer());
    std::map<std::pair<std::string, std::string>, long long> copies;
    for (const auto& row : g_OraDatabase
                               ->query("SELECT peri_id,location,COUNT(*) FROM m_peri_item GROUP BY "
                                       "peri_id,location")
                               .rows)
        copies[{row[0].str(), row[1].str()}] = row[2].integer();
    std::vector<std::string> wrong;
    for (const auto& row :
         g_OraDatabase
             ->query("SELECT peri_id,publ_code,peri_ord_year,asord_no,finish_flag FROM "
                     "m_peri_chk_vol ORDER BY peri_id")
             .rows) {
        const std::string id = row[0].str();
        const auto& locations = receivers[{row[1].str(), row[2].str(), row[3].str()}];
        bool finished = !locations.empty();
        for (const auto& [location, wanted] : locations)
            if (copies[{id, location}] < wanted) finished = false;
        if (row[4].str() != (finished ? "1" : "0")) wrong.push_back(id);
    }
    return wrong;
}
