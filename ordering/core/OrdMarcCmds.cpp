// A detail's record: read for its short display from the summary columns, deleted through the
// catalogue layer's whole-record procedure once the detail lets go of it.
#include "ordering/core/OrdMarcCmds.h"

#include "db/DbTransaction.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/basOrdFunc.h"

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
