// Bodies of the binding and accession procedures. Each runs on the caller's connection and so
// joins its transaction. Numbers are handed out by one atomic UPDATE ... RETURNING, so that two
// workstations can never be given the same class serial or property number.
#include "binding/core/basBindProc.h"

#include <string>
#include <vector>

#include "db/ProcRegistry.h"
#include "db/basLibDB.h"

namespace {

constexpr int kErrNoClass = 20401;
constexpr int kErrRangeUsed = 20402;

// An item and its property-account row begin with the same columns, in the same order.
std::vector<ProcColumn> copyColumns(std::initializer_list<ProcColumn> rest) {
    std::vector<ProcColumn> cols{{"prop_no", ProcCol::Text},      {"bar_code", ProcCol::Text},
                                 {"call_no", ProcCol::Text},      {"book_stat_code", ProcCol::Text},
                                 {"location", ProcCol::Text},     {"dis_location", ProcCol::Text},
                                 {"marc_rec_no", ProcCol::Text},  {"year", ProcCol::Text},
                                 {"vol_peri", ProcCol::Text},     {"price", ProcCol::Number},
                                 {"carrier_code", ProcCol::Text}, {"get_mode_code", ProcCol::Text},
                                 {"asord_no", ProcCol::Text}};
    cols.insert(cols.end(), rest);
    return cols;
}

void insertItem(ProcCall& c) {
    procInsertRow(c, "item",
                  copyColumns({{"in_date", ProcCol::Text},
                               {"attachment", ProcCol::Text},
                               {"resp_wkr", ProcCol::Text},
                               {"remark", ProcCol::Text},
                               {"circ_type_code", ProcCol::Text},
                               {"lend_grd", ProcCol::Text}}));
}

void insertIndiAcct(ProcCall& c) {
    procInsertRow(c, "indi_acct",
                  copyColumns({{"chk_batch_no", ProcCol::Text},
                               {"in_date", ProcCol::Text},
                               {"rec_flag_upt_date", ProcCol::Text},
                               {"attachment", ProcCol::Text},
                               {"resp_wkr", ProcCol::Text},
                               {"remark", ProcCol::Text}}));
}

void insertCallNo(ProcCall& c) {
    procInsertRow(
        c, "call_no_lst",
        {{"call_no", ProcCol::Text}, {"marc_rec_no", ProcCol::Text}, {"cls_id", ProcCol::Text}});
}

// doc_type_code, cls_id, cls_no, grp_code, class_prefix: a new class series at 0.
void insertClassSerial(ProcCall& c) {
    c.expectArgs(5);
    c.db().execute(
        "INSERT INTO max_class_serial (doc_type_code,cls_id,cls_no,grp_code,class_prefix,"
        "max_serial) VALUES (" +
        LIB_SqlStr(c.text(0)) + "," + LIB_SqlStr(c.text(1)) + "," + LIB_SqlStr(c.text(2)) + "," +
        LIB_SqlStr(c.text(3)) + "," + LIB_SqlStr(c.text(4)) + ",0)");
}

// doc_type_code, cls_id, cls_no, grp_code, :SERIAL. The class's next serial is stored and
// returned in one statement; the row stays locked until the caller commits or rolls back.
void takeClassSerial(ProcCall& c) {
    c.expectArgs(5);
    RawResult r = c.db().query(
        "UPDATE max_class_serial SET max_serial=coalesce(max_serial,0)+1 WHERE doc_type_code=" +
        LIB_SqlStr(c.text(0)) + " AND cls_id=" + LIB_SqlStr(c.text(1)) + " AND cls_no=" +
        LIB_SqlStr(c.text(2)) + " AND grp_code=" + LIB_SqlStr(c.text(3)) + " RETURNING max_serial");
    if (r.rows.empty()) raiseApplicationError(kErrNoClass, "分类种次号不存在");
    c.setOut(4, r.rows[0][0].num());
}

// section_code, :PROPSERIAL. The next number of the section's range, which moves on by one.
void takeSectionNumber(ProcCall& c) {
    c.expectArgs(2);
    RawResult r = c.db().query(
        "UPDATE section_max_number SET min_prop_no=min_prop_no+1 WHERE section_code=" +
        LIB_SqlStr(c.text(0)) + " AND min_prop_no<=max_prop_no RETURNING min_prop_no-1");
    if (r.rows.empty()) raiseApplicationError(kErrRangeUsed, "财产号区段已用完");
    c.setOut(1, r.rows[0][0].num());
}

// section_code, prop_serial, use_date: a number given back to the section.
void insertRecycled(ProcCall& c) {
    procInsertRow(c, "recycle_section",
                  {{"section_code", ProcCol::Text},
                   {"prop_serial", ProcCol::Number},
                   {"use_date", ProcCol::Text}});
}

void deleteRecycled(ProcCall& c) {
    c.expectArgs(2);
    c.db().execute("DELETE FROM recycle_section WHERE section_code=" + LIB_SqlStr(c.text(0)) +
                   " AND prop_serial=" + procLiteral(c.arg(1), ProcCol::Number));
}

}  // namespace

void registerBindingProcedures() {
    LIB_DB_RegisterProc("insert_item", insertItem);
    LIB_DB_RegisterProc("insert_indi_acct", insertIndiAcct);
    LIB_DB_RegisterProc("insert_call_no_lst", insertCallNo);
    LIB_DB_RegisterProc("INSERT_max_class_serial", insertClassSerial);
    LIB_DB_RegisterProc("update01_max_class_serial", takeClassSerial);
    LIB_DB_RegisterProc("UPDATE_SECTION_MAX_NUMBER", takeSectionNumber);
    LIB_DB_RegisterProc("INSERT_RECYCLE_SEC", insertRecycled);
    LIB_DB_RegisterProc("DELETE_RECYCLE_SEC", deleteRecycled);
}
