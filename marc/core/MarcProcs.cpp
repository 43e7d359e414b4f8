// Each procedure runs on the caller's connection (so it joins the caller's transaction) and is
// written once for the three families, whose tables differ only in names.
#include "marc/core/MarcProcs.h"

#include "db/ProcRegistry.h"
#include "db/basLibDB.h"
#include "marc/core/basBMStore.h"

namespace {

constexpr int kErrNoRecord = 20101;
constexpr int kErrNoCounter = 20102;
constexpr int kErrBadCount = 20103;

std::string q(const ProcCall& c, std::size_t i) {
    return c.arg(i).isNull() ? "NULL" : LIB_SqlStr(c.text(i));
}

void insertHeader(ProcCall& c, int kind) {
    auto cols = MarcHeaderColumns(kind);
    c.expectArgs(cols.size());
    std::string names, values;
    for (std::size_t i = 0; i < cols.size(); ++i) {
        names += (i ? "," : "") + cols[i];
        values += (i ? "," : "") + q(c, i);
    }
    c.db().execute(std::string("INSERT INTO ") + MarcFamilyOf(kind).header + " (" + names +
                   ") VALUES (" + values + ")");
}

void updateHeader(ProcCall& c, int kind) {
    auto cols = MarcHeaderColumns(kind);
    c.expectArgs(cols.size());
    std::string set;
    for (std::size_t i = 1; i < cols.size(); ++i)
        set += (i > 1 ? "," : "") + cols[i] + "=" + q(c, i);
    const MarcFamily& f = MarcFamilyOf(kind);
    if (c.db().execute(std::string("UPDATE ") + f.header + " SET " + set + " WHERE " + f.key + "=" +
                       q(c, 0)) == 0)
        raiseApplicationError(kErrNoRecord, "记录不存在: " + c.text(0));
}

void insertData(ProcCall& c, int kind) {
    c.expectArgs(5);
    const MarcFamily& f = MarcFamilyOf(kind);
    c.db().execute(std::string("INSERT INTO ") + f.data + " (" + f.key + ",data_serial," +
                   f.chunk[0] + "," + f.chunk[1] + "," + f.chunk[2] + ") VALUES (" + q(c, 0) + "," +
                   std::to_string(static_cast<long long>(c.number(1))) + "," + q(c, 2) + "," +
                   q(c, 3) + "," + q(c, 4) + ")");
}

void insertIndex(ProcCall& c, int kind) {
    c.expectArgs(4);
    const MarcFamily& f = MarcFamilyOf(kind);
    c.db().execute(std::string("INSERT INTO ") + f.index + " (" + f.key + "," + f.indexGroup + "," +
                   f.indexTag + "," + f.indexKey + ") VALUES (" + q(c, 0) + "," + q(c, 1) + "," +
                   q(c, 2) + "," + q(c, 3) + ")");
}

// Data, index, class and title-word rows of a record: what a save replaces.
void deleteRows(ProcCall& c, int kind) {
    c.expectArgs(1);
    const MarcFamily& f = MarcFamilyOf(kind);
    std::string where = std::string(" WHERE ") + f.key + "=" + q(c, 0);
    c.db().execute(std::string("DELETE FROM ") + f.index + where);
    if (kind == kMarcBib) {
        c.db().execute("DELETE FROM lc_class WHERE marc_rec_no=" + q(c, 0));
        c.db().execute("DELETE FROM marc_title_word WHERE marc_rec_no=" + q(c, 0));
    }
    c.db().execute(std::string("DELETE FROM ") + f.data + where);
}

void deleteWhole(ProcCall& c, int kind) {
    deleteRows(c, kind);
    const MarcFamily& f = MarcFamilyOf(kind);
    c.db().execute(std::string("DELETE FROM ") + f.header + " WHERE " + f.key + "=" + q(c, 0));
}

// One statement, so that two clients can never be given the same number. An optional second
// argument takes that many numbers at once; the output is the last of them.
void newNumber(ProcCall& c, int kind) {
    if (c.argCount() != 2) c.expectArgs(1);
    long long count = c.argCount() == 2 ? static_cast<long long>(c.number(1)) : 1;
    if (count < 1) raiseApplicationError(kErrBadCount, "记录号数量无效");
    RawResult r = c.db().query(
        "UPDATE reg_marc_number SET max_rec_no=max_rec_no+" + std::to_string(count) +
        " WHERE marc_kind=" + LIB_SqlStr(MarcFamilyOf(kind).numberKind) + " RETURNING max_rec_no");
    if (r.rows.empty()) raiseApplicationError(kErrNoCounter, "记录号计数器不存在");
    c.setOut(0, r.rows[0][0].num());
}

}  // namespace

void registerMarcProcedures() {
    for (int kind : {kMarcBib, kMarcAsord, kMarcAuth}) {
        const MarcFamily& f = MarcFamilyOf(kind);
        LIB_DB_RegisterProc(f.insert, [kind](ProcCall& c) { insertHeader(c, kind); });
        LIB_DB_RegisterProc(f.update, [kind](ProcCall& c) { updateHeader(c, kind); });
        LIB_DB_RegisterProc(f.insertData, [kind](ProcCall& c) { insertData(c, kind); });
        LIB_DB_RegisterProc(f.insertIndex, [kind](ProcCall& c) { insertIndex(c, kind); });
        LIB_DB_RegisterProc(f.deleteData, [kind](ProcCall& c) { deleteRows(c, kind); });
        LIB_DB_RegisterProc(f.deleteWhole, [kind](ProcCall& c) { deleteWhole(c, kind); });
        LIB_DB_RegisterProc(f.newNumber, [kind](ProcCall& c) { newNumber(c, kind); });
    }
    LIB_DB_RegisterProc("delete01_asord_marc", [](ProcCall& c) { deleteWhole(c, kMarcAsord); });
}
