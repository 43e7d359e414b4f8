// A claim for one issue reuses the rules of the claim list; a hand-over moves one copy per
// statement so that the highest (or lowest) copy number is chosen by the database at that
// moment, as several desks may hand over the same issue.
#include "checkin/core/basChkDetail.h"

#include <map>

#include "checkin/core/basChkClaim.h"
#include "common/Mailer.h"
#include "common/basLibOpLog.h"
#include "common/basQKEnv.h"
#include "db/DbTransaction.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

namespace {

std::string today() {
    return LIB_DB_GetServerDate().substr(0, 10);
}

int intOf(const LibVar& v) {
    return v.str().empty() ? 0 : static_cast<int>(v.num());
}

std::string copyKey(const TransferRow& r) {
    return " WHERE peri_id=" + LIB_SqlStr(r.periId) + " AND location=" + LIB_SqlStr(r.location) +
           " AND dis_location=" + LIB_SqlStr(r.disLocation);
}

// Moves `copies` copies of each row from state `from` to state `to`, taking the highest copy
// number first when handing over and the lowest when taking back.
int moveCopies(const std::vector<TransferRow>& rows, int copies, bool handOver) {
    std::string now = today();
    if (now.empty()) return -1;
    DbTransaction tx;
    if (!tx.ok()) return -1;
    const char* from = handOver ? "'0'" : "'1'";
    const char* pick = handOver ? "max" : "min";
    long long moved = 0;
    for (const TransferRow& r : rows) {
        for (int i = 0; i < copies && i < r.copies; ++i) {
            std::string sql = std::string(" UPDATE m_peri_item SET item_stat=") +
                              (handOver ? "'1',conn_date=" + LIB_SqlStr(now)
                                        : std::string("'0',conn_date=NULL")) +
                              copyKey(r) + " AND item_no=(select " + pick +
                              "(item_no) from m_peri_item " + copyKey(r) +
                              " AND item_stat=" + from + ") ";
            if (LIB_DB_Execute(sql) < 0) return -1;
            ++moved;
        }
        if (LIB_WriteOpLog(handOver ? "50030" : "50031", r.periId, r.location, r.disLocation,
                           r.title) < 0)
            return -1;
    }
    if (handOver && LIB_AddJobQty("507", static_cast<long long>(rows.size()), moved, 0) < 0)
        return -1;
    return tx.commit();
}

}  // namespace

std::string strPeriTypeName(const std::string& code) {
    static const std::map<std::string, std::string> names = {{"0", "普通刊"}, {"1", "增刊"},
                                                             {"2", "副刊"},   {"3", "索引刊"},
                                                             {"4", "附件"},   {"9", "合刊"}};
    auto it = names.find(code);
    return it == names.end() ? "其他" : it->second;
}

int intClaimOneIssue(const std::string& periId, const std::string& location, int qty,
                     const std::string& remark) {
    std::string now = today();
    LibArray line, claims;
    const std::string key = LIB_SqlStr(periId), loca = LIB_SqlStr(location);
    if (now.empty() ||
        LIB_DB_Select(" SELECT aslack_ysno,aslack_second,aslack_third,c.sub_peri_qty,v.aslack_date,"
                      "(SELECT COUNT(i.peri_id) FROM m_peri_item i WHERE i.peri_id=v.peri_id"
                      " AND i.location=c.location),v.publ_code FROM m_peri_ord_detl "
                      "b,m_peri_chk_vol v,m_sub_ord_lst c"
                      " WHERE v.peri_id=" +
                          key + " AND c.location=" + loca +
                          " AND b.publ_code=v.publ_code AND b.peri_ord_year=v.peri_ord_year"
                          " AND b.asord_no=v.asord_no AND c.publ_code=v.publ_code"
                          " AND c.peri_ord_year=v.peri_ord_year AND c.asord_no=v.asord_no",
                      line) < 0 ||
        LIB_DB_Select(" SELECT aslack_detl_date FROM m_aslack_rec WHERE peri_id=" + key +
                          " AND location=" + loca + " ORDER BY aslack_detl_date DESC",
                      claims) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    int missing = line.recordCount() ? intOf(line(3, 2)) - intOf(line(5, 2)) : 0;
    bool due =
        line.recordCount() && line(0, 2).str() == "1" && line(4, 2).str() < now &&
        claimIsDue(missing, claims.recordCount(), claims.recordCount() ? claims(0, 2).str() : "",
                   intOf(line(1, 2)), intOf(line(2, 2)), now);
    if (!due) {
        LIB_ShowMsg("E不符合催缺条件，不能够催缺。");
        return -1;
    }
    ClaimCandidate c;
    c.periId = periId;
    c.location = location;
    c.qty = qty > 0 ? qty : missing;
    c.remark = remark;
    c.publCode = line(6, 2).str();
    if (claimRecord({c}) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    LIB_ShowMsg("I订购催缺通知发送成功。");
    return 0;
}

int prioReaders(std::vector<PrioReader>& readers) {
    LibArray a;
    if (LIB_DB_Select("SELECT prio_reader_code,prio_reader_name,prio_reader_email FROM "
                      "prio_reader ORDER BY prio_reader_code",
                      a) < 0)
        return -1;
    readers.clear();
    for (int r = 2; r < a.rows(); ++r)
        readers.push_back({a(0, r).str(), a(1, r).str(), a(2, r).str()});
    return 0;
}

int intSendFirstRead(const std::string& periId, const std::string& location,
                     const std::vector<std::string>& readerCodes) {
    if (readerCodes.empty()) {
        LIB_ShowMsg("E至少选择一个以上优先阅览者。");
        return -1;
    }
    std::string now = today();
    std::vector<PrioReader> all;
    LibArray issue;
    {
        DbTransaction tx;
        bool ok = !now.empty() && tx.ok() && prioReaders(all) == 0 &&
                  LIB_DB_Select(
                      "SELECT m.m_title,nvl(v.cover_vol,'')||'卷'||"
                      "nvl(v.cover_issue,'')||'期' FROM m_peri_chk_vol v,"
                      "m_peri_ord_detl b,marc m WHERE v.peri_id=" +
                          LIB_SqlStr(periId) +
                          " AND b.publ_code=v.publ_code AND b.peri_ord_year="
                          "v.peri_ord_year AND b.asord_no=v.asord_no"
                          " AND m.marc_rec_no=b.marc_rec_no",
                      issue) == 0;
        for (std::size_t i = 0; ok && i < readerCodes.size(); ++i)
            ok = LIB_DB_Execute(
                     " INSERT INTO m_prio_read_noti(peri_id,location,"
                     " prio_reader_code,send_noti_date) VALUES(" +
                     LIB_SqlStr(periId) + "," + LIB_SqlStr(location) + "," +
                     LIB_SqlStr(readerCodes[i]) + "," + LIB_SqlStr(now) + ")") == 0;
        if (!ok || tx.commit() < 0) {
            tx.rollback();
            LIB_DB_ShowError();
            return -1;
        }
    }
    readMailSettings(g_strPath[0] + "mavren.ini");
    std::string title = issue.recordCount() ? issue(0, 2).str() : "";
    std::string cover = issue.recordCount() ? issue(1, 2).str() : "";
    std::string notReached;
    for (const PrioReader& r : all) {
        bool chosen = false;
        for (const std::string& c : readerCodes)
            chosen = chosen || c == r.code;
        if (!chosen || r.email.empty() || !QK_bolSmtp) continue;
        Mailer m;
        m.From = g_mailAccount.from;
        m.FromName = g_mailAccount.fromName;
        m.Subject = "新刊到馆：" + title + " " + cover;
        m.Body = r.name + "：\r\n您关注的期刊《" + title + "》" + cover + "已到馆，请在" + now +
                 "起到期刊阅览室优先阅览。\r\n";
        m.MailServerUserName = g_mailAccount.user;
        m.MailServerPassWord = g_mailAccount.password;
        m.RequireTls = g_mailAccount.tls;
        m.AddRecipient(r.email, r.name);
        if (m.Send(QK_strSmtpAddr) < 0) notReached += "\n" + r.name + "：" + m.error();
    }
    if (!notReached.empty()) LIB_ShowMsg("W以下读者的通知邮件未能发出：" + notReached);
    LIB_ShowMsg("I优先阅览通知发送成功。");
    return 0;
}

int intModifyCheckDate(const std::string& periId, const std::string& location,
                       const std::string& newDate) {
    std::string now = today();
    LibArray left;
    if (LIB_DB_Select("SELECT COUNT(*) FROM m_peri_item WHERE peri_id=" + LIB_SqlStr(periId) +
                          " AND location=" + LIB_SqlStr(location) + " AND item_stat<>'0'",
                      left) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    if (claimDateAdd(newDate, 0) != newDate || newDate > now || intOf(left(0, 2)) > 0) {
        LIB_ShowMsg("E不能修改该签收日期。");
        return -1;
    }
    DbTransaction tx;
    if (!tx.ok() ||
        LIB_DB_Execute(" UPDATE m_peri_item SET chk_date=" + LIB_SqlStr(newDate) +
                       "||substr(chk_date,11,9) WHERE peri_id=" + LIB_SqlStr(periId) +
                       " AND location=" + LIB_SqlStr(location)) < 0 ||
        LIB_WriteOpLog("50026", periId, location, "0", "签收日期：" + newDate) < 0 ||
        tx.commit() < 0) {
        tx.rollback();
        LIB_DB_ShowError();
        return -1;
    }
    return 0;
}

int intTransferList(const std::string& from, const std::string& to, const std::string& location,
                    bool handedOver, std::vector<TransferRow>& rows) {
    rows.clear();
    if (from > to) {
        LIB_ShowMsg("EQK112");
        return -1;
    }
    std::string sql =
        " SELECT i.peri_id,count(i.peri_id),i.location,i.dis_location,MAX(i.conn_date),"
        "MIN(i.chk_date),m.m_title,m.m_isbn,v.publ_year,"
        "nvl(v.cover_vol,'')||'卷'||nvl(v.cover_issue,'')||'期',b.kind_no,d.label,v.peri_type,"
        "v.cover_issue_total,v.asord_no"
        " FROM m_peri_item i JOIN m_peri_chk_vol v ON v.peri_id=i.peri_id"
        " JOIN m_peri_ord_detl b ON b.publ_code=v.publ_code AND b.peri_ord_year=v.peri_ord_year"
        " AND b.asord_no=v.asord_no JOIN marc m ON m.marc_rec_no=b.marc_rec_no"
        " LEFT JOIN m_peri_ord_dist_lst d ON d.publ_code=v.publ_code"
        " AND d.peri_ord_year=v.peri_ord_year AND d.asord_no=v.asord_no"
        " AND d.location=i.location AND d.dist_loca=i.dis_location"
        " WHERE i.item_stat=" +
        std::string(handedOver ? "'1'" : "'0'") + " AND i.chk_date>=" + LIB_SqlStr(from) +
        " AND i.chk_date<=" + LIB_SqlStr(to + " 23:59:59");
    if (!location.empty()) sql += " AND i.location=" + LIB_SqlStr(location);
    sql +=
        " GROUP BY i.peri_id,i.location,i.dis_location,m.m_title,m.m_isbn,v.publ_year,"
        "v.cover_vol,v.cover_issue,b.kind_no,d.label,v.peri_type,v.cover_issue_total,"
        "v.asord_no,v.peri_no ORDER BY i.location,i.dis_location,v.asord_no,v.peri_no";
    LibArray a;
    if (LIB_DB_Select(sql, a) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    for (int r = 2; r < a.rows(); ++r) {
        TransferRow t;
        t.periId = a(0, r).str();
        t.copies = intOf(a(1, r));
        t.location = a(2, r).str();
        t.disLocation = a(3, r).str();
        t.connDate = a(4, r).str();
        t.chkDate = a(5, r).str();
        t.title = a(6, r).str();
        t.issn = a(7, r).str();
        t.publYear = a(8, r).str();
        t.cover = a(9, r).str();
        t.kindNo = a(10, r).str();
        t.label = a(11, r).str();
        t.periType = strPeriTypeName(a(12, r).str());
        t.totalIssue = a(13, r).str();
        t.asordNo = a(14, r).str();
        rows.push_back(std::move(t));
    }
    if (rows.empty()) {
        LIB_ShowMsg("EQK680");
        return 1;
    }
    return 0;
}

int transferHandOver(const std::vector<TransferRow>& rows, int copies) {
    return moveCopies(rows, copies, true);
}

int transferTakeBack(const std::vector<TransferRow>& rows, int copies) {
    return moveCopies(rows, copies, false);
}

int intHandOver(const std::vector<TransferRow>& rows, int copies) {
    if (LIB_ShowMsg("Q是否交接") != kMsgOk) return -1;
    if (transferHandOver(rows, copies) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    LIB_ShowMsg("I交接完成！");
    return 0;
}

int intTakeBack(const std::vector<TransferRow>& rows, int copies) {
    if (LIB_ShowMsg("Q是否取回") != kMsgOk) return -1;
    if (transferTakeBack(rows, copies) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    LIB_ShowMsg("I取回完成！");
    return 0;
}
