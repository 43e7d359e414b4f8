#include "ordering/core/OrdCopyRows.h"

#include <vector>

#include "db/basLibDB.h"

namespace {

// The detail's columns as the order tables list them, the finished mark last.
const char* const kDetailColumns[] = {
    "publ_code",        "peri_ord_year",  "asord_no",         "carrier_code",  "get_mode_code",
    "marc_rec_no",      "book_size_code", "money_code",       "days_of_items", "peri_price",
    "peri_total_price", "fore_price",     "fore_total_price", "peri_ord_qty",  "pay_date",
    "resp_wkr",         "ord_flag",       "new_ord_flag",     "remark",        "publ_freq",
    "kind_no",          "qty_of_vol",     "days_of_aslack",   "bind_item_qty", "chk_bgn_date",
    "fst_rece_date",    "peri_type",      "fmt_asord_no",     "end_ord_flag"};

struct LineTable {
    const char* table;
    std::vector<const char*> columns;
};
const LineTable kLineTables[] = {
    {"m_sub_ord_lst",
     {"publ_code", "peri_ord_year", "asord_no", "location", "peri_region", "sub_peri_qty",
      "chk_stat", "remark"}},
    {"m_peri_sub_fund_out",
     {"publ_code", "peri_ord_year", "asord_no", "location", "fund_src_code", "sub_qty", "sub_amt",
      "remark", "bala_flag"}},
    {"m_peri_ord_dist_lst",
     {"publ_code", "peri_ord_year", "asord_no", "location", "dist_loca", "dist_qty", "label"}},
};

int copyTable(const char* table, const std::vector<const char*>& columns,
              const OrdCopyValues& replaced, const std::string& where) {
    std::string names, values;
    for (const char* c : columns) {
        auto it = replaced.find(c);
        names += std::string(names.empty() ? "" : ", ") + c;
        values += (values.empty() ? "" : ", ") + (it == replaced.end() ? c : it->second);
    }
    g_strSQL = "INSERT INTO " + std::string(table) + " (" + names + ") SELECT " + values +
               " FROM " + table + where;
    return LIB_DB_Execute(g_strSQL);
}

}  // namespace

int intCopyOrdRows(const std::string& where, const OrdCopyValues& detail,
                   const OrdCopyValues& lines) {
    const std::vector<const char*> columns(std::begin(kDetailColumns), std::end(kDetailColumns));
    if (copyTable("m_peri_ord_detl", columns, detail, where) < 0) return -1;
    for (const LineTable& t : kLineTables)
        if (copyTable(t.table, t.columns, lines, where) < 0) return -1;
    return 0;
}

int intDeleteOrdRows(const std::string& where) {
    // Lines before their detail: their keys point at it.
    for (auto t = std::rbegin(kLineTables); t != std::rend(kLineTables); ++t) {
        g_strSQL = "DELETE FROM " + std::string(t->table) + where;
        if (LIB_DB_Execute(g_strSQL) < 0) return -1;
    }
    g_strSQL = "DELETE FROM m_peri_ord_detl" + where;
    return LIB_DB_Execute(g_strSQL);
}
