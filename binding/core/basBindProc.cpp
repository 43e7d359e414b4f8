// Bodies of the binding and accession procedures. Each runs on the caller's connection and so
// joins its transaction. Numbers are handed out by one atomic UPDATE ... RETURNING, so that two
// workstations can never be given the same class serial or property number.
#include "binding/core/basBindProc.h"

#include <string>

#include "db/ProcRegistry.h"
#include "db/basLibDB.h"

namespace {

constexpr int kErrNoClass = 20401;
constexpr int kErrRangeUsed = 20402;

enum class Col { Text, Number };

struct Column {
    const char* name;
    Col kind;
};

std::string literal(const LibVar& v, Col kind) {
    if (kind == Col::Text) return v.isNull() ? "NULL" : LIB_SqlStr(v.str());
    if (v.isNull() || v.isEmpty() || v.str().find_first_not_of(' ') == std::string::npos)
        return "NULL";
    return formatNumber(v.num());
}

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

void insertItem(ProcCall& c) {
    insertRow(c, "item",
              {{"prop_no", Col::Text},
               {"bar_code", Col::Text},
               {"call_no", Col::Text},
               {"book_stat_code", Col::Text},
               {"location", Col::Text},
               {"dis_location", Col::Text},
               {"marc_rec_no", Col::Text},
               {"year", Col::Text},
               {"vol_peri", Col::Text},
               {"price", Col::Number},
               {"carrier_code", Col::Text},
               {"get_mode_code", Col::Text},
               {"asord_no", Col::Text},
               {"in_date", Col::Text},
               {"attachment", Col::Text},
               {"resp_wkr", Col::Text},
               {"remark", Col::Text}});
}

void insertIndiAcct(ProcCall& c) {
    insertRow(c, "indi_acct",
              {{"prop_no", Col::Text},
               {"bar_code", Col::Text},
               {"call_no", Col::Text},
               {"book_stat_code", Col::Text},
               {"location", Col::Text},
               {"dis_location", Col::Text},
               {"marc_rec_no", Col::Text},
               {"year", Col::Text},
               {"vol_peri", Col::Text},
               {"price", Col::Number},
               {"carrier_code", Col::Text},
               {"get_mode_code", Col::Text},
               {"asord_no", Col::Text},
               {"chk_batch_no", Col::Text},
               {"in_date", Col::Text},
               {"rec_flag_upt_date", Col::Text},
               {"attachment", Col::Text},
               {"resp_wkr", Col::Text},
               {"remark", Col::Text}});
}

void insertCallNo(ProcCall& c) {
    insertRow(c, "call_no_lst",
              {{"call_no", Col::Text}, {"marc_rec_no", Col::Text}, {"cls_id", Col::Text}});
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
    insertRow(c, "recycle_section",
              {{"section_code", Col::Text}, {"prop_serial", Col::Number}, {"use_date", Col::Text}});
}

void deleteRecycled(ProcCall& c) {
    c.expectArgs(2);
    c.db().execute("DELETE FROM recycle_section WHERE section_code=" + LIB_SqlStr(c.text(0)) +
                   " AND prop_serial=" + literal(c.arg(1), Col::Number));
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
