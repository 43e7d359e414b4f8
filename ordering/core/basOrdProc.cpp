// Bodies of the order procedures. Each runs on the caller's connection and so joins its
// transaction; arguments arrive evaluated, and every value is written back quoted (text) or
// as a plain number, an empty number becoming NULL so that PostgreSQL accepts it.
#include "ordering/core/basOrdProc.h"

#include <string>

#include "db/ProcRegistry.h"
#include "db/basLibDB.h"

namespace {

// How each argument goes into the statement.
enum class Col { Text, Number };

struct Column {
    const char* name;
    Col kind;
};

std::string literal(const LibVar& v, Col kind) {
    if (kind == Col::Text) return v.isNull() ? "NULL" : LIB_SqlStr(v.str());
    if (v.isNull() || v.isEmpty() ||
        (v.isText() && v.str().find_first_not_of(' ') == std::string::npos))
        return "NULL";
    return formatNumber(v.num());
}

// INSERT INTO table (columns) VALUES (the call's arguments, in column order).
void insertRow(ProcCall& c, const char* table, std::initializer_list<Column> cols) {
    c.expectArgs(cols.size());
    std::string names, values;
    std::size_t i = 0;
    for (const Column& col : cols) {
        names += std::string(i ? "," : "") + col.name;
        values += std::string(i ? "," : "") + literal(c.arg(i), col.kind);
        ++i;
    }
    c.db().execute("INSERT INTO " + std::string(table) + " (" + names + ") VALUES (" + values +
                   ")");
}

std::string catalogueWhere(const std::string& publ, const std::string& year) {
    return " WHERE publ_code=" + LIB_SqlStr(publ) + " AND peri_ord_year=" + LIB_SqlStr(year);
}

// The detail's lines, then (for a catalogue) the details: children before their parents.
const char* const kLineTables[] = {"m_peri_ord_dist_lst", "m_peri_sub_fund_out", "m_sub_ord_lst"};

void insertOrdLst(ProcCall& c) {
    insertRow(c, "m_peri_ord_lst",
              {{"publ_code", Col::Text},
               {"peri_ord_year", Col::Text},
               {"peri_ord_date", Col::Text},
               {"resp_wkr", Col::Text},
               {"peri_ord_flag", Col::Text}});
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
    for (const char* t : {"m_peri_ord_detl", "m_sub_ord_lst", "m_peri_ord_dist_lst",
                          "m_peri_sub_fund_out", "m_peri_chk_cfg", "m_peri_chk_vol"})
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
    insertRow(c, "m_peri_ord_detl",
              {{"publ_code", Col::Text},
               {"peri_ord_year", Col::Text},
               {"asord_no", Col::Text},
               {"carrier_code", Col::Text},
               {"get_mode_code", Col::Text},
               {"marc_rec_no", Col::Text},
               {"book_size_code", Col::Text},
               {"money_code", Col::Text},
               {"days_of_items", Col::Number},
               {"peri_price", Col::Number},
               {"peri_total_price", Col::Number},
               {"fore_price", Col::Number},
               {"fore_total_price", Col::Number},
               {"peri_ord_qty", Col::Number},
               {"pay_date", Col::Text},
               {"resp_wkr", Col::Text},
               {"ord_flag", Col::Text},
               {"new_ord_flag", Col::Text},
               {"remark", Col::Text},
               {"publ_freq", Col::Text},
               {"kind_no", Col::Text},
               {"qty_of_vol", Col::Number},
               {"days_of_aslack", Col::Number},
               {"bind_item_qty", Col::Number},
               {"chk_bgn_date", Col::Text},
               {"fst_rece_date", Col::Text},
               {"peri_type", Col::Text},
               {"fmt_asord_no", Col::Text}});
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
    insertRow(c, "m_sub_ord_lst",
              {{"publ_code", Col::Text},
               {"peri_ord_year", Col::Text},
               {"asord_no", Col::Text},
               {"location", Col::Text},
               {"peri_region", Col::Text},
               {"sub_peri_qty", Col::Number},
               {"chk_stat", Col::Text},
               {"remark", Col::Text}});
}

void insertSubFundOut(ProcCall& c) {
    insertRow(c, "m_peri_sub_fund_out",
              {{"publ_code", Col::Text},
               {"peri_ord_year", Col::Text},
               {"asord_no", Col::Text},
               {"location", Col::Text},
               {"fund_src_code", Col::Text},
               {"sub_qty", Col::Number},
               {"sub_amt", Col::Number},
               {"remark", Col::Text}});
}

void insertOrdDistLst(ProcCall& c) {
    insertRow(c, "m_peri_ord_dist_lst",
              {{"publ_code", Col::Text},
               {"peri_ord_year", Col::Text},
               {"asord_no", Col::Text},
               {"location", Col::Text},
               {"dist_loca", Col::Text},
               {"dist_qty", Col::Number},
               {"label", Col::Text}});
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
