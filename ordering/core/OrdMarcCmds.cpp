// A detail's record: read for its short display from the summary columns, deleted through the
// catalogue layer's whole-record procedure once the detail lets go of it, made from a few typed
// items and linked; and the templates of a new detail.
#include "ordering/core/OrdMarcCmds.h"

#include "db/DbTransaction.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/core/MarcImport.h"
#include "marc/core/basBMDefault.h"
#include "marc/core/basBMStore.h"
#include "ordering/core/basOrdFunc.h"

namespace {

// The document type of a serial in the record header.
constexpr const char* kSerialDocType = "11";
// What the template proposes for a foreign title when nothing was ordered in another currency.
constexpr const char* kForeignMoney = "USD";

std::string padded(std::string s, std::size_t width) {
    s.resize(width, ' ');
    return s;
}

}  // namespace

int intOrdMarcShort(const std::string& recNo, std::string& text) {
    text.clear();
    LibArray rows;
    g_strSQL =
        "SELECT m_title, m_author, m_publisher, m_pub_year, m_isbn, marc_rec_no FROM marc WHERE "
        "marc_rec_no=" +
        LIB_SqlStr(recNo);
    if (LIB_DB_SelectWide(g_strSQL, rows) < 0) return -1;
    if (rows.recordCount() == 0) return 0;
    static const char* const kCaptions[] = {"题名",   "责任者",    "出版者",
                                            "出版年", "ISSN/ISBN", "记录号"};
    for (int c = 0; c < static_cast<int>(std::size(kCaptions)); ++c)
        text += std::string(c ? "\n" : "") + kCaptions[c] + "：" + rows(c, 2).str();
    return 0;
}

int intDeleteOrdMarc(const std::string& publ, const std::string& year, const std::string& asordNo,
                     long long version, const std::string& recNo, bool ask) {
    if (sqltext::trim(recNo).empty()) {
        LIB_ShowMsg("I该订购明细没有书目记录！");
        return -1;
    }
    if (ask && LIB_ShowMsg("Q是否确定删除该订购明细的书目记录？") != kMsgOk) return 1;
    const std::string rec = LIB_SqlStr(recNo);
    enum class Outcome { Deleted, Failed, InUse, ChangedElsewhere };
    std::string users;
    const Outcome outcome = [&] {
        DbTransaction tx;
        if (!tx.ok()) return Outcome::Failed;
        // Who else holds the record, in one query: other details, items, bound volumes.
        LibArray rows;
        g_strSQL = "SELECT (SELECT count(*) FROM m_peri_ord_detl WHERE marc_rec_no=" + rec +
                   " AND NOT (publ_code=" + LIB_SqlStr(publ) +
                   " AND peri_ord_year=" + LIB_SqlStr(year) +
                   " AND asord_no=" + LIB_SqlStr(asordNo) +
                   ")), (SELECT count(*) FROM item WHERE marc_rec_no=" + rec +
                   "), (SELECT count(*) FROM m_peri_bind_detl WHERE marc_rec_no=" + rec + ")";
        if (LIB_DB_Select(g_strSQL, rows) < 0) return Outcome::Failed;
        static const char* const kUsers[] = {"其他订购明细", "馆藏", "合订本"};
        for (int c = 0; c < 3; ++c)
            if (rows(c, 2).integer() > 0)
                users += (users.empty() ? "" : "、") + std::string(kUsers[c]);
        if (!users.empty()) return Outcome::InUse;
        long long released = 0;
        g_strSQL = "UPDATE m_peri_ord_detl SET marc_rec_no=NULL" + strOrdVersionBump() +
                   " WHERE publ_code=" + LIB_SqlStr(publ) +
                   " AND peri_ord_year=" + LIB_SqlStr(year) +
                   " AND asord_no=" + LIB_SqlStr(asordNo) + " AND marc_rec_no=" + rec +
                   " AND COALESCE(row_version,0)=" + std::to_string(version);
        if (dbExecuteCounted(g_strSQL, released) < 0) return Outcome::Failed;
        if (released != 1) return Outcome::ChangedElsewhere;
        g_strSQL = "BM_DeleteWholeMarc " + rec;
        if (LIB_DB_CallProc(g_strSQL) < 0 || tx.commit() < 0) return Outcome::Failed;
        return Outcome::Deleted;
    }();
    if (outcome == Outcome::Failed) LIB_DB_ShowError();
    if (outcome == Outcome::InUse) LIB_ShowMsg("E该书目记录还有" + users + "使用，不能删除！");
    if (outcome == Outcome::ChangedElsewhere) LIB_ShowMsg("E" + strOrdChangedElsewhere(asordNo));
    return outcome == Outcome::Deleted ? 0 : -1;
}

void ApplyOrdTemple(OrdDetail& d, OrdTemple temple, const OrdUsualCodes& distributor,
                    const OrdUsualCodes& library) {
    const bool chinese = temple == OrdTemple::CNPublish;
    d.newMarc.marcType = chinese ? "C" : "U";
    d.newMarc.language = chinese ? "chi" : "eng";
    d.newMarc.country = chinese ? "CN" : "US";
    d.language = d.newMarc.language;
    d.country = d.newMarc.country;
    if (sqltext::trim(d.moneyType).empty()) {
        if (chinese)
            d.moneyType = "CNY";
        else if (!distributor.foreignMoney.empty())
            d.moneyType = distributor.foreignMoney;
        else
            d.moneyType = !library.foreignMoney.empty() ? library.foreignMoney : kForeignMoney;
    }
    FillUsualCodes(d, distributor, library);
}

std::string strOrdNewMarcError(const OrdNewMarc& m) {
    if (m.marcType != "C" && m.marcType != "U") return "请选择书目格式！";
    if (sqltext::trim(m.title).empty()) return "请输入刊名！";
    return "";
}

MarcRec OrdNewMarcRecord(const OrdNewMarc& m, const std::string& today) {
    MarcRec rec;
    rec.Kind = kMarcBib;
    rec.MarcType = m.marcType;
    rec.DocTypeCode = kSerialDocType;
    const bool cnmarc = m.marcType == "C";
    const std::string language = sqltext::lower(sqltext::trim(m.language));
    const std::string country = sqltext::upper(sqltext::trim(m.country));
    std::vector<MarcItem> items;
    auto add = [&](const char* key, const std::string& value) {
        if (std::string v = sqltext::trim(value); !v.empty()) items.push_back({key, v});
    };
    if (cnmarc) {
        add("011a", m.issn);
        add("101a", language);
        add("102a", country);
        add("200a", m.title);
        add("210a", m.place);
        add("210c", m.publisher);
    } else {
        add("022a", m.issn);
        add("245a", m.title);
        add("260a", m.place);
        add("260b", m.publisher);
    }
    MarcBuildFromItems(items, rec, today);
    if (!cnmarc) {
        // The fixed field carries the country (the header reads its first two characters) and
        // the language.
        MarcResetCursor();
        std::string fixed = padded(MarcGetSubFieldSeq(rec, "008"), 40);
        if (!country.empty()) fixed.replace(15, 3, padded(sqltext::lower(country), 3));
        if (!language.empty()) fixed.replace(35, 3, padded(language, 3));
        MarcDeleteField(rec, "008");
        MarcAddField(rec, MakeMarcField("008", "", fixed));
        MarcSortFields(rec);
    }
    MarcFillHeader(rec, cnmarc ? MarcFormat::Cnmarc : MarcFormat::Usmarc);
    return rec;
}

void SetOrdNewMarc(OrdDetail& d, const OrdNewMarc& m) {
    d.newMarc = m;
    d.title = sqltext::trim(m.title);
    d.issn = sqltext::trim(m.issn);
    d.publisher = sqltext::trim(m.publisher);
    d.language = sqltext::lower(sqltext::trim(m.language));
    d.country = sqltext::upper(sqltext::trim(m.country));
}

int intOrdRecordToMake(const OrdDetail& d, MarcRec& rec) {
    rec = MarcRec{};
    if (!sqltext::trim(d.marcNo).empty()) return 0;
    if (!d.newMarc.marcType.empty()) {
        const std::string today = LIB_DB_GetServerDate().substr(0, 10);
        if (today.empty()) return -1;
        rec = OrdNewMarcRecord(d.newMarc, today);
    } else if (!sqltext::trim(d.asordMarcRecNo).empty()) {
        // A pre-order record with only its summary columns has nothing to copy.
        rec = AsordMarcLoad(d.asordMarcRecNo);
    }
    if (rec.Dir.empty()) {
        rec = MarcRec{};
        return 0;
    }
    const std::string number = MarcNewNumber(kMarcBib);
    if (number.empty()) return -1;
    rec.Kind = kMarcBib;
    rec.RecNo = MarcRecNoText(number);
    return 0;
}

int intAddOrdMarc(const std::string& publ, const std::string& year, const std::string& asordNo,
                  long long version, const OrdNewMarc& m, std::string& recNo) {
    recNo.clear();
    if (const std::string error = strOrdNewMarcError(m); !error.empty()) {
        LIB_ShowMsg("E" + error);
        return -1;
    }
    OrdDetail wanted;
    wanted.newMarc = m;
    MarcRec rec;
    if (intOrdRecordToMake(wanted, rec) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    const std::string key = " WHERE publ_code=" + LIB_SqlStr(publ) +
                            " AND peri_ord_year=" + LIB_SqlStr(year) +
                            " AND asord_no=" + LIB_SqlStr(asordNo);
    enum class Outcome { Done, Failed, RecordFailed, HasRecord, ChangedElsewhere };
    const Outcome outcome = [&] {
        DbTransaction tx;
        if (!tx.ok()) return Outcome::Failed;
        LibArray now;
        g_strSQL =
            "SELECT COALESCE(marc_rec_no,''), COALESCE(row_version,0) FROM m_peri_ord_detl" + key;
        if (LIB_DB_Select(g_strSQL, now) < 0) return Outcome::Failed;
        if (now.recordCount() != 1) return Outcome::ChangedElsewhere;
        if (!sqltext::trim(now(0, 2).str()).empty()) return Outcome::HasRecord;
        if (now(1, 2).integer() != version) return Outcome::ChangedElsewhere;
        if (!MarcSave(rec, 1, 0, "")) return Outcome::RecordFailed;
        long long linked = 0;
        g_strSQL = "UPDATE m_peri_ord_detl SET marc_rec_no=" + LIB_SqlStr(rec.RecNo) +
                   strOrdVersionBump() + key +
                   " AND COALESCE(row_version,0)=" + std::to_string(version);
        if (dbExecuteCounted(g_strSQL, linked) < 0) return Outcome::Failed;
        if (linked != 1) return Outcome::ChangedElsewhere;
        return tx.commit() == 0 ? Outcome::Done : Outcome::Failed;
    }();
    if (outcome == Outcome::Failed) LIB_DB_ShowError();
    if (outcome == Outcome::HasRecord) LIB_ShowMsg("E该订购明细已有书目记录！");
    if (outcome == Outcome::ChangedElsewhere) LIB_ShowMsg("E" + strOrdChangedElsewhere(asordNo));
    if (outcome != Outcome::Done) return -1;
    recNo = rec.RecNo;
    return 0;
}
