// Loading and saving records. Every statement goes through the shared session routines, so a
// failure is in g_ErrInfo and is shown once, by the routine that stops on it.
#include "marc/core/basBMStore.h"

#include <cstdio>
#include <optional>

#include "common/OperatorState.h"
#include "db/DbTransaction.h"
#include "db/Gbk.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/core/basBMDefault.h"
#include "marc/core/basBMIndex.h"

namespace {

constexpr long kChunkBytes = 2000;

const MarcFamily kFamilies[3] = {
    {"marc",
     "marc_rec_no",
     "marc_data",
     {"marc01", "marc02", "marc03"},
     "marc_idx",
     "marc_idx_grp",
     "marc_idx_tag",
     "marc_idx_cont",
     "BM_DeleteMarc",
     "BM_DeleteWholeMarc",
     "Update01_Marc",
     "Insert_Marc",
     "insert_marc_data",
     "INSERT_MARC_IDX",
     "SP_reg_marc_number",
     "marc"},
    {"asord_marc",
     "asord_marc_rec_no",
     "asord_marc_data",
     {"asord_marc01", "asord_marc02", "asord_marc03"},
     "asord_marc_idx",
     "asord_idx_grp",
     "asord_idx_tag",
     "asord_idx_cont",
     "BM_DeleteAsordMarc",
     "BM_DeleteWholeAsordMarc",
     "Update01_Asord_Marc",
     "Insert_Asord_Marc",
     "insert_asord_marc_data",
     "INSERT_asord_MARC_IDX",
     "SP_reg_asord_marc_number",
     "asord_marc"},
    {"au_marc",
     "au_marc_rec_no",
     "au_marc_data",
     {"au_marc_01", "au_marc_02", "au_marc_03"},
     "au_marc_idx",
     "au_idx_grp",
     "au_idx_tag",
     "au_idx_cont",
     "BM_DeleteAUMarc",
     "BM_DeleteWholeAUMarc",
     "Update01_AU_Marc",
     "Insert_AU_Marc",
     "insert_AU_marc_data",
     "INSERT_AU_MARC_IDX",
     "SP_reg_au_marc_number",
     "au_marc"},
};

std::string fixed(const std::string& s, std::size_t width) {
    std::string out = s.substr(0, width);
    out.resize(width, ' ');
    return out;
}

std::string dumpColumns(const MarcFamily& f) {
    std::string cols;
    for (const char* c : f.chunk) {
        std::string n = c;
        for (const char* slice : {",1,500)", ",501,500)", ",1001,500)", ",1501)"})
            cols += std::string(cols.empty() ? "" : ",") + "dump(substr(" + n + slice + ",16)";
    }
    return cols;
}

MarcRec loadFamily(int kind, const std::string& recNo) {
    const MarcFamily& f = MarcFamilyOf(kind);
    MarcRec rec;
    rec.Kind = static_cast<std::int16_t>(kind);
    bool preOrder = kind == kMarcAsord;
    std::string sql = std::string(" SELECT marc_type, doc_type_code, lang_code, country_code") +
                      (preOrder ? "" : ", marc_use_flag, cata_oper, cata_date ") + " FROM " +
                      f.header + " WHERE " + f.key + "=" + LIB_SqlStr(recNo);
    LibArray head;
    if (LIB_DB_Select(sql, head) < 0 || head.recordCount() == 0) return rec;
    rec.RecNo = recNo;
    rec.MarcType = fixed(head(0, 2).str(), 1);
    rec.DocTypeCode = fixed(head(1, 2).str(), 2);
    rec.LangCode = fixed(head(2, 2).str(), 3);
    rec.CountryCode = fixed(head(3, 2).str(), 2);
    if (!preOrder) {
        rec.MarcUseFlag = fixed(head(4, 2).str(), 1);
        rec.CataOper = fixed(head(5, 2).str(), 4);
        rec.CataDate = fixed(head(6, 2).str(), 10);
    }
    std::string where = std::string(" FROM ") + f.data + " WHERE " + f.key + "=" +
                        LIB_SqlStr(recNo) + " ORDER BY data_serial";
    LibArray rows;
    std::string text;
    if (UnicodeMarcMode) {
        if (LIB_DB_Select("SELECT " + dumpColumns(f) + where, rows) < 0) return rec;
        for (int r = 2; r < rows.rows(); ++r)
            for (int c = 0; c < rows.cols(); ++c)
                text += DumpToText(rows(c, r).str());
    } else {
        if (LIB_DB_Select("SELECT *" + where, rows) < 0) return rec;
        int cols[3] = {rows.column(f.chunk[0]), rows.column(f.chunk[1]), rows.column(f.chunk[2])};
        for (int r = 2; r < rows.rows(); ++r)
            for (int c : cols)
                text += rows(c, r).str();
    }
    if (text.empty() || text.back() != kRecordEnd) text += kRecordEnd;
    MarcParse(rec, MarcTextToData(text));
    return rec;
}

// `today` is the server date "yyyy-mm-dd", the cataloguing date of a bibliographic record.
// The values in the order of MarcHeaderColumns.
std::vector<LibVar> headerValues(const MarcRec& rec, bool insert, const std::string& today) {
    if (rec.Kind == kMarcAsord) {
        LibVar stamp = insert ? LibVar(std::string()) : LibVar::null();
        return {rec.RecNo,    rec.DocTypeCode, rec.LangCode, rec.CountryCode,
                rec.MarcType, stamp,           stamp};
    }
    return {rec.RecNo, rec.DocTypeCode, rec.MarcUseFlag, rec.MarcType, sqltext::upper(g_strWkrNo),
            today,     rec.LangCode,    rec.CountryCode};
}

// The same values as the arguments of the header procedures.
std::string headerArgs(const MarcRec& rec, bool insert, const std::string& today) {
    std::string args;
    for (const LibVar& v : headerValues(rec, insert, today))
        args += (args.empty() ? "" : ",") + (v.isNull() ? std::string("NULL") : LIB_SqlStr(v));
    return args;
}

// The record's text in data rows of three chunks, as a multi-row insert.
int addDataRows(std::vector<BoundStatement>& batch, const MarcRec& rec, std::string text) {
    const MarcFamily& f = MarcFamilyOf(rec.Kind);
    std::vector<std::vector<LibVar>> rows;
    for (int serial = 0; !text.empty(); ++serial) {
        std::vector<LibVar> row{rec.RecNo, serial};
        for (int i = 0; i < 3; ++i) {
            std::string chunk = AnsiCut(text, kChunkBytes);
            text.erase(0, chunk.size());
            row.emplace_back(std::move(chunk));
        }
        rows.push_back(std::move(row));
    }
    return LIB_DB_AddInsertRows(batch, f.data,
                                {f.key, "data_serial", f.chunk[0], f.chunk[1], f.chunk[2]}, rows);
}

}  // namespace

const MarcFamily& MarcFamilyOf(int kind) {
    return kFamilies[kind >= 0 && kind <= 2 ? kind : 0];
}

std::vector<std::string> MarcHeaderColumns(int kind) {
    const MarcFamily& f = MarcFamilyOf(kind);
    if (kind == kMarcAsord)
        return {f.key,       "doc_type_code", "lang_code", "country_code",
                "marc_type", "cata_oper",     "cata_date"};
    return {f.key,       "doc_type_code", "marc_use_flag", "marc_type",
            "cata_oper", "cata_date",     "lang_code",     "country_code"};
}

MarcRec MarcLoad(const std::string& recNo) {
    return loadFamily(kMarcBib, recNo);
}

MarcRec AsordMarcLoad(const std::string& recNo) {
    return loadFamily(kMarcAsord, recNo);
}

MarcRec AuMarcLoad(const std::string& recNo) {
    return loadFamily(kMarcAuth, recNo);
}

long AnsiCutLength(std::string_view text, long limit) {
    long bytes = 0, chars = 0;
    std::size_t pos = 0, takenEnd = 0;
    while (pos < text.size()) {
        std::size_t at = pos;
        bytes += GbkCharBytes(nextCodePoint(text, pos));
        if (bytes > limit) {
            pos = at;
            break;
        }
        ++chars;
        takenEnd = pos;
        if (bytes == limit) break;
    }
    while (takenEnd > 0 && text[takenEnd - 1] == ' ') {
        --takenEnd;
        --chars;
    }
    return chars;
}

std::string AnsiCut(std::string_view text, long limit) {
    long chars = AnsiCutLength(text, limit);
    // A piece of nothing but blanks cannot lose them all: it is taken whole.
    if (chars == 0 && !text.empty()) {
        std::size_t pos = 0;
        for (long bytes = 0; pos < text.size() && bytes < limit;
             bytes += GbkCharBytes(nextCodePoint(text, pos))) {
        }
        return std::string(text.substr(0, pos));
    }
    std::size_t pos = 0;
    for (long i = 0; i < chars; ++i)
        nextCodePoint(text, pos);
    return std::string(text.substr(0, pos));
}

std::string ToUnistrLiteral(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 5);
    char buf[8];
    for (char16_t u : utf8ToUtf16(text)) {
        std::snprintf(buf, sizeof buf, "\\%04X", static_cast<unsigned>(u));
        out += buf;
    }
    return out;
}

std::string MarcSqlText(const std::string& value) {
    if (!UnicodeMarcMode || value.empty()) return LIB_SqlStr(value);
    return "unistr(" + LIB_SqlStr(ToUnistrLiteral(value)) + ")";
}

std::string MarcNewNumber(int kind) {
    std::vector<std::string> one = MarcNewNumbers(kind, 1);
    return one.empty() ? "" : one[0];
}

std::vector<std::string> MarcNewNumbers(int kind, int count) {
    const MarcFamily& f = MarcFamilyOf(kind);
    if (count <= 0) return {};
    // The counter moves by `count` in one statement: the numbers are the run ending at the
    // value it returns, and no other client can be given one of them.
    LIB_DB_ParamAdd("MARCNO", 0, kParamOutput);
    int rc = LIB_DB_Execute(std::string("Begin ") + f.newNumber + "(:MARCNO," +
                            std::to_string(count) + "); end;");
    const double last = rc < 0 ? 0 : LIB_DB_ParamValue("MARCNO").num();
    LIB_DB_ParamRemove("MARCNO");
    if (rc < 0) return {};
    std::vector<std::string> numbers;
    for (int i = count - 1; i >= 0; --i)
        numbers.push_back(formatNumber(last - i));
    return numbers;
}

namespace {

// The summary columns of the wide header with their values for the record; none without it.
std::vector<std::pair<std::string, LibVar>> summaryValues(MarcRec& rec, int yearFlag,
                                                          const std::string& yearText) {
    std::vector<std::pair<std::string, LibVar>> out;
    if (!WideMarcTable) return out;
    struct Column {
        const char* name;
        long width;
        int item;
    };
    static const Column bib[] = {{"m_call_no", 40, 4},  {"m_title", kMarcTitleColumn, 0},
                                 {"m_author", 100, 1},  {"m_publisher", 100, 3},
                                 {"m_pub_year", 20, 8}, {"m_isbn", 40, 2}};
    static const Column auth[] = {
        {"m_classno", 40, 13}, {"m_heading", 80, 10}, {"m_see", 40, 11}, {"m_seealso", 40, 12}};
    if (rec.Kind == kMarcAuth) {
        for (const Column& c : auth)
            out.emplace_back(c.name, AnsiCut(MarcSummaryItem(c.item, rec), c.width));
    } else {
        for (const Column& c : bib)
            out.emplace_back(
                c.name,
                AnsiCut(MarcSummaryItem(rec.Kind == kMarcAsord && c.item == 4 ? 7 : c.item, rec),
                        c.width));
    }
    std::string year = yearText;
    if (year.empty() && yearFlag == 0) {
        std::string item = MarcSummaryItem(8, rec);
        year =
            item.find("不") != std::string::npos || item.rfind("n", 0) == 0 ? "" : YearDigits(item);
    }
    if (rec.Kind == kMarcBib && !year.empty()) out.emplace_back("pub_year", year);
    return out;
}

// The UPDATE that writes the summary columns; nothing without the wide header.
void addSummaryUpdate(std::vector<BoundStatement>& batch, MarcRec& rec, int yearFlag,
                      const std::string& yearText) {
    auto values = summaryValues(rec, yearFlag, yearText);
    if (values.empty()) return;
    BoundStatement st;
    std::string set;
    for (auto& [name, value] : values) {
        st.args.push_back(std::move(value));
        set += (set.empty() ? "" : ",") + name + "=$" + std::to_string(st.args.size());
    }
    const MarcFamily& f = MarcFamilyOf(rec.Kind);
    st.args.emplace_back(rec.RecNo);
    st.sql = std::string("UPDATE ") + f.header + " SET " + set + " WHERE " + f.key + "=$" +
             std::to_string(st.args.size());
    batch.push_back(std::move(st));
}

}  // namespace

bool MarcSave(MarcRec& rec, int mode, int yearFlag, const std::string& yearText) {
    const MarcFamily& f = MarcFamilyOf(rec.Kind);
    rec.LangCode = sqltext::upper(rec.LangCode);
    rec.CountryCode = sqltext::upper(rec.CountryCode);
    bool update = !rec.RecNo.empty() && mode != 1;
    // A date that cannot be read stops the save rather than leave the record undated.
    const std::string today = LIB_DB_GetServerDate().substr(0, 10);
    if (today.empty()) {
        LIB_DB_ShowError();
        return false;
    }
    // Mode 0 is a transaction of its own; modes 1 and 2 write inside the caller's.
    std::optional<DbTransaction> tx;
    // Stops the save: its own transaction is rolled back before the error is shown.
    auto fail = [&tx] {
        tx.reset();
        LIB_DB_ShowError();
        return false;
    };
    if (update) {
        if (mode == 0 && !tx.emplace().ok()) return fail();
        if (LIB_DB_CallProc(std::string(" ") + f.deleteData + " " + LIB_SqlStr(rec.RecNo)) < 0)
            return fail();
        if (LIB_DB_CallProc(std::string(" ") + f.update + " " + headerArgs(rec, false, today)) < 0)
            return fail();
    } else {
        if (mode == 0) {
            std::string number = MarcNewNumber(rec.Kind);
            if (number.empty()) return fail();
            rec.RecNo = MarcRecNoText(number);
        }
        MarcDeleteField(rec, "001");
        MarcAddField(rec, MakeMarcField("001", "", rec.RecNo));
        MarcControlNoFirst(rec);
        if (mode == 0 && !tx.emplace().ok()) return fail();
    }
    MarcPackLeader(rec);
    // Five digits of record length and four of field length are all the format has: a longer
    // record would be written with its length cut and read back wrong.
    if (std::string why = MarcFitProblem(rec); !why.empty()) {
        tx.reset();
        LIB_ShowMsg("E" + why + "，不能保存。请删去部分字段或拆分记录后再保存。");
        return false;
    }
    std::string text = MarcToIso(rec);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    // The rows go to the database together, in one round trip where the backend allows: a new
    // record's header with its summary columns, then its data and index rows.
    std::vector<BoundStatement> batch;
    if (!update) {
        std::vector<std::string> columns = MarcHeaderColumns(rec.Kind);
        std::vector<LibVar> row = headerValues(rec, true, today);
        for (auto& [name, value] : summaryValues(rec, yearFlag, yearText)) {
            columns.push_back(name);
            row.push_back(std::move(value));
        }
        if (LIB_DB_AddInsertRows(batch, f.header, columns, {row}) < 0) return fail();
    }
    if (addDataRows(batch, rec, text) < 0 || MarcIndexRows(rec, batch) < 0) return fail();
    if (update) addSummaryUpdate(batch, rec, yearFlag, yearText);
    if (LIB_DB_ExecuteBatch(batch) < 0) return fail();
    if (tx && tx->commit() < 0) return fail();
    return true;
}

const std::vector<std::string>& MarcCatalogueTables() {
    static const std::vector<std::string> tables{"marc", "marc_data", "marc_idx", "lc_class",
                                                 "marc_title_word"};
    return tables;
}

std::string MarcRecNoText(const std::string& number) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%010lld", static_cast<long long>(LibVar(number).num()));
    return buf;
}

std::string MarcFitProblem(const MarcRec& rec) {
    long data = 0;
    for (const MarcDirEntry& e : rec.Dir) {
        if (e.Length > 9999)
            return "字段 " + e.Tag + " 长 " + std::to_string(e.Length) + " 字节，超过 9999 字节";
        data += e.Length;
    }
    long length = 24 + 12 * static_cast<long>(rec.Dir.size()) + 1 + data + 1;
    if (length > 99999) return "记录长 " + std::to_string(length) + " 字节，超过 99999 字节";
    return "";
}

int MarcSummaryUpdate(MarcRec& rec, int yearFlag, const std::string& yearText) {
    std::vector<BoundStatement> batch;
    addSummaryUpdate(batch, rec, yearFlag, yearText);
    return LIB_DB_ExecuteBatch(batch);
}

int MarcListQuery(const std::string& recNos, int kind, LibArray& rows) {
    std::string list;
    for (const std::string& n : sqltext::split(recNos, ','))
        if (std::string t = sqltext::trim(n); !t.empty())
            list += (list.empty() ? "" : ",") + LIB_SqlStr(t);
    if (list.empty()) list = "''";
    std::string sql = kind == kMarcAsord
                          ? "SELECT /*+ INDEX(asord_marc) */  "
                            "ASORD_MARC_REC_NO,DOC_TYPE_CODE,MARC_TYPE,LANG_CODE,COUNTRY_CODE,"
                            "M_CALL_NO,M_TITLE,M_AUTHOR,M_PUBLISHER,M_PUB_YEAR,M_ISBN FROM "
                            "asord_marc WHERE asord_marc_rec_no in (" +
                                list + ")"
                          : "SELECT /*+ INDEX(marc) */  "
                            "MARC_REC_NO,DOC_TYPE_CODE,MARC_TYPE,LANG_CODE,COUNTRY_CODE,M_CALL_NO,"
                            "M_TITLE,M_AUTHOR,M_PUBLISHER,M_PUB_YEAR,M_ISBN,MARC_USE_FLAG FROM "
                            "marc WHERE marc_rec_no in (" +
                                list + ")";
    return LIB_DB_Select(sql, rows);
}
