// Bodies of the order procedures. Each runs on the caller's connection and so joins its
// transaction; arguments arrive evaluated, and every value is written back quoted (text) or
// as a plain number, an empty number becoming NULL so that PostgreSQL accepts it.
#include "ordering/core/basOrdProc.h"

#include <string>

#include "db/ProcRegistry.h"
#include "db/basLibDB.h"

namespace {

std::string catalogueWhere(const std::string& publ, const std::string& year) {
    return " WHERE publ_code=" + LIB_SqlStr(publ) + " AND peri_ord_year=" + LIB_SqlStr(year);
}

// The detail's lines, then (for a catalogue) the details: children before their parents.
const char* const kLineTables[] = {"m_peri_ord_dist_lst", "m_peri_sub_fund_out", "m_sub_ord_lst"};

void insertOrdLst(ProcCall& c) {
    procInsertRow(c, "m_peri_ord_lst",
                  {{"publ_code", ProcCol::Text},
                   {"peri_ord_year", ProcCol::Text},
                   {"peri_ord_date", ProcCol::Text},
                   {"resp_wkr", ProcCol::Text},
                   {"peri_ord_flag", ProcCol::Text}});
}

// Re-keys a catalogue: the catalogue row first (its primary key refuses a catalogue that exists
// already), then every row that carries the key, check-in rows included.
void updateWholeOrdLst(ProcCall& c) {
    c.expectArgs(7);
    std::string where = catalogueWhere(c.text(0), c.text(1));
    std::string to =
        " SET publ_code=" + LIB_SqlStr(c.text(2)) + ", peri_ord_year=" + LIB_SqlStr(c.text(3));
    // A catalogue with sent details stays sent whatever the caller passes.
    long long sent =
        c.db()
            .query("SELECT count(*) FROM m_peri_ord_detl" + where + " AND ord_flag>'0'")
            .rows.at(0)
            .at(0)
            .integer();
    std::string flag = sent > 0 ? "1" : c.text(6);
    if (c.db().execute("UPDATE m_peri_ord_lst" + to + ", peri_ord_date=" + LIB_SqlStr(c.text(4)) +
                       ", resp_wkr=" + LIB_SqlStr(c.text(5)) +
                       ", peri_ord_flag=" + LIB_SqlStr(flag) + where) == 0)
        raiseApplicationError(20101, "order catalogue not found");
    for (const char* t :
         {"m_peri_ord_detl", "m_sub_ord_lst", "m_peri_ord_dist_lst", "m_peri_sub_fund_out",
          "m_peri_chk_cfg", "m_peri_chk_vol", "m_peri_chk_lack"})
        c.db().execute(std::string("UPDATE ") + t + to + where);
}

void deleteOrdLst(ProcCall& c) {
    c.expectArgs(2);
    std::string where = catalogueWhere(c.text(0), c.text(1));
    for (const char* t : kLineTables)
        c.db().execute(std::string("DELETE FROM ") + t + where);
    c.db().execute("DELETE FROM m_peri_ord_detl" + where);
    c.db().execute("DELETE FROM m_peri_ord_lst" + where);
}

void insertOrdDetl(ProcCall& c) {
    procInsertRow(c, "m_peri_ord_detl",
                  {{"publ_code", ProcCol::Text},
                   {"peri_ord_year", ProcCol::Text},
                   {"asord_no", ProcCol::Text},
                   {"carrier_code", ProcCol::Text},
                   {"get_mode_code", ProcCol::Text},
                   {"marc_rec_no", ProcCol::Text},
                   {"book_size_code", ProcCol::Text},
                   {"money_code", ProcCol::Text},
                   {"days_of_items", ProcCol::Number},
                   {"peri_price", ProcCol::Number},
                   {"peri_total_price", ProcCol::Number},
                   {"fore_price", ProcCol::Number},
                   {"fore_total_price", ProcCol::Number},
                   {"peri_ord_qty", ProcCol::Number},
                   {"pay_date", ProcCol::Text},
                   {"resp_wkr", ProcCol::Text},
                   {"ord_flag", ProcCol::Text},
                   {"new_ord_flag", ProcCol::Text},
                   {"remark", ProcCol::Text},
                   {"publ_freq", ProcCol::Text},
                   {"kind_no", ProcCol::Text},
                   {"qty_of_vol", ProcCol::Number},
                   {"days_of_aslack", ProcCol::Number},
                   {"bind_item_qty", ProcCol::Number},
                   {"chk_bgn_date", ProcCol::Text},
                   {"fst_rece_date", ProcCol::Text},
                   {"peri_type", ProcCol::Text},
                   {"fmt_asord_no", ProcCol::Text}});
}

void deleteOrdDetl(ProcCall& c) {
    c.expectArgs(3);
    std::string where =
        catalogueWhere(c.text(0), c.text(1)) + " AND asord_no=" + LIB_SqlStr(c.text(2));
    for (const char* t : kLineTables)
        c.db().execute(std::string("DELETE FROM ") + t + where);
    c.db().execute("DELETE FROM m_peri_ord_detl" + where);
}

void insertSubOrdLst(ProcCall& c) {
    procInsertRow(c, "m_sub_ord_lst",
                  {{"publ_code", ProcCol::Text},
                   {"peri_ord_year", ProcCol::Text},
                   {"asord_no", ProcCol::Text},
                   {"location", ProcCol::Text},
                   {"peri_region", ProcCol::Text},
                   {"sub_peri_qty", ProcCol::Number},
                   {"chk_stat", ProcCol::Text},
                   {"remark", ProcCol::Text}});
}

void insertSubFundOut(ProcCall& c) {
    procInsertRow(c, "m_peri_sub_fund_out",
                  {{"publ_code", ProcCol::Text},
                   {"peri_ord_year", ProcCol::Text},
                   {"asord_no", ProcCol::Text},
                   {"location", ProcCol::Text},
                   {"fund_src_code", ProcCol::Text},
                   {"sub_qty", ProcCol::Number},
                   {"sub_amt", ProcCol::Number},
                   {"remark", ProcCol::Text}});
}

void insertOrdDistLst(ProcCall& c) {
    procInsertRow(c, "m_peri_ord_dist_lst",
                  {{"publ_code", ProcCol::Text},
                   {"peri_ord_year", ProcCol::Text},
                   {"asord_no", ProcCol::Text},
                   {"location", ProcCol::Text},
                   {"dist_loca", ProcCol::Text},
                   {"dist_qty", ProcCol::Number},
                   {"label", ProcCol::Text}});
}

}  // namespace

void registerOrderProcedures() {
    LIB_DB_RegisterProc("insert_m_peri_ord_lst", insertOrdLst);
    LIB_DB_RegisterProc("update_m_whole_ordlst", updateWholeOrdLst);
    LIB_DB_RegisterProc("delete02_m_peri_ord_lst", deleteOrdLst);
    LIB_DB_RegisterProc("insert_m_peri_ord_detl", insertOrdDetl);
    LIB_DB_RegisterProc("delete02_m_peri_ord_detl", deleteOrdDetl);
    LIB_DB_RegisterProc("insert_m_sub_ord_lst", insertSubOrdLst);
    LIB_DB_RegisterProc("insert_m_peri_sub_fund_out", insertSubFundOut);
    LIB_DB_RegisterProc("insert_m_peri_ord_dist_lst", insertOrdDistLst);
}
