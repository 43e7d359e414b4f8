#include "checkin/core/basChkConfig.h"

#include <algorithm>
#include <cctype>

#include "common/basCodeFunc.h"
#include "common/basLibOpLog.h"
#include "db/DbTransaction.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/basOrdFunc.h"

bool QK_bolLuoMa = false;

namespace {

// Expected issues go in and claim dates are rewritten this many rows a statement.
constexpr std::size_t kRowsPerStatement = 500;

std::string q(const std::string& v) {
    return LIB_SqlStr(v);
}
std::string q(int v) {
    return LIB_SqlStr(std::to_string(v));
}

int cellInt(const LibArray& a, int col, int row) {
    return static_cast<int>(a(col, row).integer());
}
std::string cellText(const LibArray& a, int col, int row) {
    return sqltext::trim(a(col, row).str());
}

// The issues of the order line, as a condition.
std::string lineIssues(const ChkOrderKey& k) {
    return "publ_code=" + q(k.publCode) + " AND peri_ord_year=" + q(k.periOrdYear) +
           " AND asord_no=" + q(k.asordNo);
}

std::string keyWhere(const ChkOrderKey& k) {
    return " WHERE " + lineIssues(k);
}

std::string updateOrderLineSql(const ChkConfigForm& f) {
    const ChkOrderLine& l = f.line;
    return " UPDATE m_peri_ord_detl SET fst_rece_date=" + q(l.fstReceDate) +
           ",qty_of_year=" + q(l.qtyOfYear) + ",chk_bgn_date=" + q(l.chkBgnDate) +
           ",days_of_items=" + q(l.daysOfItems) + ",attachment=" + q(sqltext::trim(l.attachment)) +
           ",qty_of_vol=" + q(l.qtyOfVol) + ",aslack_ysno=" + q(l.aslackYsno) +
           ",days_of_aslack=" + q(l.daysOfAslack) + ",aslack_second=" + q(l.aslackSecond) +
           ",aslack_third=" + q(l.aslackThird) + ",bind_item_qty=" + q(l.bindItemQty) +
           ",book_size_code=" + q(l.bookSizeCode) + ",ord_flag='2',code1=" + q(l.code1) +
           strOrdVersionBump() + keyWhere(l.key);
}

std::string configSql(const ChkConfigForm& f) {
    const ChkConfig& c = f.cfg;
    const ChkOrderKey& k = f.line.key;
    if (f.cfgExists)
        return " UPDATE m_peri_chk_cfg SET begin_date=" + q(c.beginDate) +
               ",end_date=" + q(c.endDate) + ",auto_update_loca=" + q(c.autoUpdateLoca) +
               ",beg_vol=" + q(c.begVol) + ",beg_issue=" + q(c.begIssue) +
               ",beg_total_issue=" + q(c.begTotalIssue) + ",bind_ysno=" + q(c.bindYsno) +
               ",bind_copy_qty=" + q(c.bindCopyQty) + ",pres_copy_qty=" + q(c.presCopyQty) +
               ",exch_copy_qty=" + q(c.exchCopyQty) + ",issue_keep_qty=" + q(c.issueKeepQty) +
               ",color=" + q(c.color) + ",frame=" + q(c.frame) + ",finish_flag=" + q(c.finishFlag) +
               ",issue_continue=" + q(c.issueContinue) + ",vol_beg_issue=" + q(c.volBegIssue) +
               keyWhere(k) + " AND location=" + q(c.location);
    return " INSERT INTO m_peri_chk_cfg(publ_code,peri_ord_year,asord_no,location,begin_date,"
           "end_date,auto_update_loca,beg_vol,beg_issue,beg_total_issue,bind_ysno,bind_copy_qty,"
           "pres_copy_qty,exch_copy_qty,issue_keep_qty,color,frame,finish_flag,issue_continue,"
           "vol_beg_issue) VALUES(" +
           q(k.publCode) + "," + q(k.periOrdYear) + "," + q(k.asordNo) + "," + q(c.location) + "," +
           q(c.beginDate) + "," + q(c.endDate) + "," + q(c.autoUpdateLoca) + "," + q(c.begVol) +
           "," + q(c.begIssue) + "," + q(c.begTotalIssue) + "," + q(c.bindYsno) + "," +
           q(c.bindCopyQty) + "," + q(c.presCopyQty) + "," + q(c.exchCopyQty) + "," +
           q(c.issueKeepQty) + "," + q(c.color) + "," + q(c.frame) + "," + q(c.finishFlag) + "," +
           q(c.issueContinue) + "," + q(c.volBegIssue) + ")";
}

// Later confirmations: the accompanying material and the claim date of every existing row,
// a chunk of rows a statement.
int rewriteClaimDates(const ChkConfigForm& f, const LibArray& rows) {
    const std::string attachment = sqltext::trim(f.line.attachment);
    for (int first = 2; first < rows.rows(); first += static_cast<int>(kRowsPerStatement)) {
        const int last = std::min(rows.rows(), first + static_cast<int>(kRowsPerStatement));
        std::string cases, ids;
        for (int r = first; r < last; ++r) {
            const std::string id = q(cellText(rows, 0, r));
            cases +=
                " WHEN " + id + " THEN " + q(chkAddDays(cellText(rows, 1, r), f.line.daysOfAslack));
            ids += (ids.empty() ? "" : ",") + id;
        }
        g_strSQL = " UPDATE m_peri_chk_vol SET  attachment=" + q(attachment) +
                   ", aslack_date=CASE peri_id" + cases + " ELSE aslack_date END" +
                   keyWhere(f.line.key) + " AND peri_id IN (" + ids + ")";
        if (LIB_DB_Execute(g_strSQL) < 0) return -1;
    }
    // The owed copies carry the claim dates.
    return rows.rows() > 2 ? intRefreshIssueLack(lineIssues(f.line.key)) : 0;
}

}  // namespace

int chkInsertIssues(const ChkOrderKey& k, const std::string& carrierCode,
                    const std::string& attachmentText, const std::vector<ChkVolRow>& rows) {
    const std::string fixed = q(k.publCode) + "," + q(k.periOrdYear) + "," + q(k.asordNo);
    const std::string carrier = q(carrierCode);
    const std::string attachment = q(sqltext::trim(attachmentText));
    for (std::size_t first = 0; first < rows.size(); first += kRowsPerStatement) {
        g_strSQL =
            " INSERT INTO m_peri_chk_vol(peri_id,publ_code,peri_ord_year,asord_no,cover_vol,"
            " cover_issue,cover_issue_total,carrier_code,expect_date,aslack_date,publ_year,"
            " attachment,peri_no,finish_flag,peri_type) VALUES";
        const std::size_t last = std::min(rows.size(), first + kRowsPerStatement);
        for (std::size_t i = first; i < last; ++i) {
            const ChkVolRow& r = rows[i];
            g_strSQL += std::string(i == first ? "( " : ",(") + q(r.periId) + "," + fixed + "," +
                        q(r.coverVol) + "," + q(r.coverIssue) + "," + q(r.coverIssueTotal) + "," +
                        carrier + "," + q(r.expectDate) + "," + q(r.aslackDate) + "," +
                        q(r.publYear) + "," + attachment + "," + std::to_string(r.periNo) +
                        ",'0','0')";
        }
        if (LIB_DB_Execute(g_strSQL) < 0) return -1;
    }
    // New issues owe every subscriber its copies from the start.
    return rows.empty() ? 0 : intRefreshIssueLack(lineIssues(k));
}

namespace {

// Steps inside the transaction; -1 at the first failing statement.
int saveAndPredict(const ChkConfigForm& f) {
    if (LIB_DB_Execute(updateOrderLineSql(f)) < 0) return -1;
    if (LIB_DB_Execute(configSql(f)) < 0) return -1;
    LibArray existing;
    g_strSQL = " SELECT peri_id,expect_date FROM m_peri_chk_vol " + keyWhere(f.line.key) +
               " ORDER BY peri_id";
    if (LIB_DB_Select(g_strSQL, existing) < 0) return -1;
    if (existing.recordCount() > 0) {
        if (rewriteClaimDates(f, existing) < 0) return -1;
    } else {
        LibArray max;
        if (LIB_DB_Select(" SELECT max(peri_id) FROM m_peri_chk_vol ", max) < 0) return -1;
        const std::vector<ChkVolRow> rows = chkPredict(chkPredictInput(f), cellText(max, 0, 2));
        if (chkInsertIssues(f.line.key, f.line.carrierCode, f.line.attachment, rows) < 0) return -1;
    }
    return LIB_WriteOpLog("50022", f.line.marcRecNo, f.line.key.publCode, f.line.key.periOrdYear,
                          f.title + ":" + f.line.key.asordNo, f.cfg.location);
}

}  // namespace

char chkFreqCode(const std::string& publFreq) {
    const std::string text = sqltext::trim(publFreq);
    if (text.size() == 1) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
        return chkIsFreqCode(c) ? c : '\0';
    }
    const std::string code = LIB_CodeByName(g_arrPublFreq, text);
    return code.size() == 1 ? chkFreqCode(code) : '\0';
}

std::string chkFreqName(char code) {
    return LIB_CodeName(g_arrPublFreq, std::string(1, code));
}

int intLoadChkConfig(const ChkOrderKey& key, const std::string& location, ChkConfigForm& form) {
    form = ChkConfigForm{};
    form.line.key = key;
    form.cfg.location = location;
    LibArray a;
    g_strSQL =
        " SELECT d.fst_rece_date,d.qty_of_year,d.chk_bgn_date,d.days_of_items,d.attachment,"
        "d.qty_of_vol,d.aslack_ysno,d.days_of_aslack,d.aslack_second,d.aslack_third,"
        "d.bind_item_qty,d.book_size_code,d.carrier_code,d.marc_rec_no,d.code1,d.publ_freq,"
        "m.m_title,s.sub_peri_qty FROM m_peri_ord_detl d"
        " LEFT JOIN marc m ON m.marc_rec_no=d.marc_rec_no"
        " LEFT JOIN m_sub_ord_lst s ON s.publ_code=d.publ_code AND s.peri_ord_year=d.peri_ord_year"
        " AND s.asord_no=d.asord_no AND s.location=" +
        q(location) + " WHERE d.publ_code=" + q(key.publCode) +
        " AND d.peri_ord_year=" + q(key.periOrdYear) + " AND d.asord_no=" + q(key.asordNo);
    if (LIB_DB_Select(g_strSQL, a) < 0) return -1;
    if (a.recordCount() == 0) return 1;
    ChkOrderLine& l = form.line;
    l.fstReceDate = cellInt(a, 0, 2);
    l.qtyOfYear = cellInt(a, 1, 2);
    l.chkBgnDate = cellText(a, 2, 2);
    l.daysOfItems = cellInt(a, 3, 2);
    l.attachment = cellText(a, 4, 2);
    l.qtyOfVol = cellInt(a, 5, 2);
    l.aslackYsno = cellText(a, 6, 2);
    l.daysOfAslack = cellInt(a, 7, 2);
    l.aslackSecond = cellInt(a, 8, 2);
    l.aslackThird = cellInt(a, 9, 2);
    l.bindItemQty = cellInt(a, 10, 2);
    l.bookSizeCode = cellText(a, 11, 2);
    l.carrierCode = cellText(a, 12, 2);
    l.marcRecNo = cellText(a, 13, 2);
    l.code1 = cellText(a, 14, 2);
    l.publFreq = cellText(a, 15, 2);
    form.title = cellText(a, 16, 2);
    form.locationCopies = cellInt(a, 17, 2);
    form.freqCode = chkFreqCode(l.publFreq);
    const std::string year = key.periOrdYear.substr(0, 4);
    if (l.chkBgnDate.empty()) l.chkBgnDate = year + "-01-01";
    form.roman = QK_bolLuoMa;

    LibArray c;
    g_strSQL =
        " SELECT begin_date,end_date,auto_update_loca,beg_vol,beg_issue,beg_total_issue,"
        "bind_ysno,bind_copy_qty,pres_copy_qty,exch_copy_qty,issue_keep_qty,color,frame,"
        "finish_flag,issue_continue,vol_beg_issue FROM m_peri_chk_cfg" +
        keyWhere(key) + " AND location=" + q(location);
    if (LIB_DB_Select(g_strSQL, c) < 0) return -1;
    ChkConfig& g = form.cfg;
    form.cfgExists = c.recordCount() > 0;
    if (!form.cfgExists) {
        g.beginDate = year + "-01-01";
        g.endDate = year + "-12-31";
        g.finishFlag = "0";
        g.bindCopyQty = form.locationCopies;
        return 0;
    }
    g.beginDate = cellText(c, 0, 2);
    g.endDate = cellText(c, 1, 2);
    g.autoUpdateLoca = cellText(c, 2, 2);
    g.begVol = cellInt(c, 3, 2);
    g.begIssue = cellInt(c, 4, 2);
    g.begTotalIssue = cellInt(c, 5, 2);
    g.bindYsno = cellText(c, 6, 2);
    g.bindCopyQty = cellInt(c, 7, 2);
    g.presCopyQty = cellInt(c, 8, 2);
    g.exchCopyQty = cellInt(c, 9, 2);
    g.issueKeepQty = cellInt(c, 10, 2);
    g.color = cellText(c, 11, 2);
    g.frame = cellText(c, 12, 2);
    g.finishFlag = cellText(c, 13, 2);
    g.issueContinue = cellText(c, 14, 2);
    g.volBegIssue = cellInt(c, 15, 2);
    return 0;
}

int intLoadChkConfigChoices(ChkConfigChoices& choices) {
    choices = ChkConfigChoices{};
    auto column = [](const std::string& sql, std::vector<std::string>& out) {
        LibArray a;
        if (LIB_DB_Select(sql, a) < 0) return -1;
        for (int r = 2; r < a.rows(); ++r)
            if (!cellText(a, 0, r).empty()) out.push_back(cellText(a, 0, r));
        return 0;
    };
    if (column(" SELECT DISTINCT attachment FROM m_peri_ord_detl ", choices.attachments) < 0 ||
        column(" SELECT DISTINCT color  FROM m_peri_chk_cfg  ORDER BY color", choices.colors) < 0 ||
        column(" SELECT DISTINCT frame  FROM m_peri_chk_cfg  ORDER BY frame", choices.frames) < 0)
        return -1;
    LibArray sizes;
    if (LIB_DB_Select(" SELECT book_size_code,book_size_name  FROM book_size  WHERE "
                      "code_use_flag='1'  ORDER BY book_size_code ",
                      sizes) < 0)
        return -1;
    for (int r = 2; r < sizes.rows(); ++r)
        choices.bookSizes.emplace_back(cellText(sizes, 0, r), cellText(sizes, 1, r));
    return 0;
}

ChkPredictInput chkPredictInput(const ChkConfigForm& f) {
    ChkPredictInput in;
    in.code = f.freqCode;
    in.beginDate = f.cfg.beginDate;
    in.endDate = f.cfg.endDate;
    in.chkBgnDate = f.line.chkBgnDate;
    in.startDay = f.line.fstReceDate;
    in.qtyOfYear = f.line.qtyOfYear;
    in.aslackDays = f.line.daysOfAslack;
    in.begVol = f.cfg.begVol;
    in.begIssue = f.cfg.begIssue;
    in.perVol = f.line.qtyOfVol;
    in.volBegIssue = f.cfg.volBegIssue;
    in.begTotal = f.cfg.begTotalIssue;
    in.issueContinue = f.cfg.issueContinue == "1";
    in.roman = f.roman;
    return in;
}

std::string chkConfigError(const ChkConfigForm& f) {
    std::string e = chkValidate(chkPredictInput(f));
    if (!e.empty()) return e;
    if (f.cfg.bindCopyQty + f.cfg.presCopyQty + f.cfg.exchCopyQty != f.locationCopies)
        return "装订，赠送，交换复本数之和应该等于订户复本数。";
    return {};
}

int intSaveChkConfig(const ChkConfigForm& form) {
    if (!chkIsFreqCode(form.freqCode)) {
        LIB_Presenter().show('W', kChkConfigCaption,
                             "该期刊的出版频率“" + form.line.publFreq + "”无法预测卷期。");
        return -1;
    }
    const std::string error = chkConfigError(form);
    if (!error.empty()) {
        LIB_Presenter().show('W', kChkConfigCaption, error);
        return -1;
    }
    QK_bolLuoMa = form.roman;
    {
        DbTransaction tx;
        if (tx.ok() && saveAndPredict(form) == 0 && tx.commit() == 0) return 0;
    }
    LIB_DB_ShowError();
    return -1;
}
