#include "ordering/core/OrdOutput.h"

#include <algorithm>
#include <cstdio>

#include "common/XlsxWriter.h"
#include "common/basCodeFunc.h"
#include "common/basQKEnv.h"
#include "db/basLibDB.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/core/basOrdList.h"

namespace {

std::string money(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

}  // namespace

int intGetOrdPrintGroups(const std::string& publ, const std::string& year, OrdPrintBy by,
                         std::vector<OrdPrintGroup>& out) {
    out.clear();
    std::string place = "''", copies = "A.peri_ord_qty", join, order = "";
    if (by == OrdPrintBy::Location) {
        place = "S.location";
        copies = "S.sub_peri_qty";
        join =
            " JOIN m_sub_ord_lst S ON S.publ_code=A.publ_code AND "
            "S.peri_ord_year=A.peri_ord_year AND S.asord_no=A.asord_no";
        order = "S.location, ";
    } else if (by == OrdPrintBy::Distribution) {
        place = "T.dist_loca";
        copies = "T.dist_qty";
        join =
            " JOIN m_peri_ord_dist_lst T ON T.publ_code=A.publ_code AND "
            "T.peri_ord_year=A.peri_ord_year AND T.asord_no=A.asord_no";
        order = "T.dist_loca, ";
    }
    g_strSQL = "SELECT " + place +
               ", A.asord_no, M.m_isbn, M.m_title, A.carrier_code, A.peri_price, "
               "A.peri_total_price, " +
               copies +
               ", A.new_ord_flag, A.remark, A.publ_freq FROM m_peri_ord_detl A LEFT JOIN marc M "
               "ON M.marc_rec_no=A.marc_rec_no" +
               join + " WHERE A.publ_code=" + LIB_SqlStr(publ) +
               " AND A.peri_ord_year=" + LIB_SqlStr(year) + " ORDER BY " + order +
               "A.fmt_asord_no, A.asord_no";
    LibArray a;
    if (LIB_DB_SelectWide(g_strSQL, a) < 0) return -1;
    for (int r = 2; r < a.rows(); ++r) {
        const std::string where = a(0, r).str();
        if (out.empty() || out.back().place != where) out.push_back({where, {}});
        OrdPrintRow row{a(1, r).str(), a(2, r).str(), a(3, r).str(), a(4, r).str(), a(5, r).str(),
                        a(6, r).str(), a(7, r).str(), a(8, r).str(), a(9, r).str(), a(10, r).str()};
        auto& rows = out.back().rows;
        // Copies that reach one distribution location from several subscribers are one line.
        if (!rows.empty() && rows.back().asordNo == row.asordNo)
            rows.back().copies =
                std::to_string(LibVar(rows.back().copies).integer() + LibVar(row.copies).integer());
        else
            rows.push_back(std::move(row));
    }
    return 0;
}

OrdPrintTotals OrdPrintSum(const OrdPrintGroup& g) {
    OrdPrintTotals t;
    for (const OrdPrintRow& r : g.rows) {
        ++t.titles;
        ++(r.newFlag == "0" ? t.newTitles : t.renewals);
        const long long n = LibVar(r.copies).integer();
        t.copies += n;
        t.amount += LibVar(r.totalPrice).num() * static_cast<double>(n);
    }
    return t;
}

std::vector<std::string> OrdPrintColumns() {
    return {"订购号", "刊号", "刊名",     "载体", "单价",    "年价",
            "复本数", "总价", "新续订刊", "附注", "出版频率"};
}

std::vector<std::string> OrdPrintCells(const OrdPrintRow& r) {
    const double total = LibVar(r.totalPrice).num() * LibVar(r.copies).num();
    return {r.asordNo,
            r.issn,
            r.title,
            strOrdGridText("Carrier", r.carrier),
            r.price,
            r.totalPrice,
            r.copies,
            money(total),
            strSubKindName(r.newFlag),
            r.remark,
            r.freq};
}

std::string strOrdPrintFooter(const OrdPrintTotals& t) {
    return "注：所订期刊合计 " + std::to_string(t.titles) + " 种 （重订刊 " +
           std::to_string(t.renewals) + " 种，新订刊 " + std::to_string(t.newTitles) +
           " 种） 总价：" + money(t.amount) + "  总份数：" + std::to_string(t.copies);
}

std::string strOrdPrintHeading(const std::string& publName, const std::string& year, OrdPrintBy by,
                               const std::string& place) {
    std::string h = "发行商：" + publName + "    订购年月：" + year.substr(0, 4) + "-" +
                    (year.size() > 4 ? year.substr(4) : "") + "    制表日期：" +
                    LIB_GetSysInfo(1).str().substr(0, 10);
    if (by == OrdPrintBy::Location)
        h += "    订户：" + LIB_LocationName(place) + "（" + place + "）";
    if (by == OrdPrintBy::Distribution)
        h += "    分配地：" + LIB_LocationName(place) + "（" + place + "）";
    return h;
}

std::vector<std::string> OrdSheetColumns() {
    return {"征订号",   "刊名", "ISSN", "分类号", "订购总数", "订购状态", "获得方式", "出版频率",
            "载体类型", "币种", "单价", "年价",   "外汇单价", "外汇年价", "备注"};
}

int intWriteOrdSheet(const std::string& publ, const std::string& year, const std::string& path,
                     std::string& error, const std::vector<std::string>& only) {
    std::vector<OrdDetail> details;
    if (intLoadOrdDetails(publ, year, details) < 0) {
        error = g_ErrInfo.strDesc;
        return -1;
    }
    XlsxWriter x(path);
    x.addSheet(publ + "_" + year);
    const std::vector<std::string> columns = OrdSheetColumns();
    for (std::size_t c = 0; c < columns.size(); ++c)
        x.writeHeading(0, static_cast<int>(c), columns[c]);
    x.setColumnWidth(1, 30);
    int row = 1;
    for (const OrdDetail& d : details) {
        if (!only.empty() && std::find(only.begin(), only.end(), d.savedAsordNo) == only.end())
            continue;
        const std::string text[] = {d.asordNo,
                                    d.title,
                                    d.issn,
                                    d.kindNo,
                                    "",
                                    strPeriStatusName(d.periType),
                                    strOrdGridText("GetMode", d.getMode),
                                    d.publFreq,
                                    strOrdGridText("Carrier", d.carrier),
                                    strOrdGridText("MoneyType", d.moneyType)};
        for (int c = 0; c < 10; ++c)
            if (c != 4) x.writeText(row, c, text[c]);
        x.writeNumber(row, 4, LibVar(d.sumCopies).num());
        const std::string* amounts[] = {&d.price, &d.totalPrice, &d.forePrice, &d.foreTotalPrice};
        for (int i = 0; i < 4; ++i)
            if (!amounts[i]->empty()) x.writeNumber(row, 10 + i, LibVar(*amounts[i]).num());
        x.writeText(row, 14, d.remark);
        ++row;
    }
    return x.close(error);
}

int intPrepareOrdMail(const std::string& publ, SupplierMail& mail) {
    if (prepareSupplierMail(publ, mail) < 0) return -1;
    mail.subject = " [" + (mail.toName.empty() ? publ : mail.toName) + "] 订单";
    mail.body = "本期订单数据详见附件，格式为xls文件，数据格式未加密。\r\n发订日期： " +
                LIB_DB_GetServerDate().substr(0, 10) + "\r\n联系电话：" + mail.telephone +
                "\r\n收到订单后，请务必来电确认。\r\n";
    return 0;
}

int intSendOrdMail(const std::string& publ, const std::string& year, const SupplierMail& mail,
                   std::string& error) {
    const std::string dir = g_strPath[5].empty() ? std::string("/tmp/") : g_strPath[5];
    const std::string file = dir + publ + "_" + year + ".xlsx";
    if (intWriteOrdSheet(publ, year, file, error) < 0) return -1;
    const int rc = sendSupplierMail(mail, {file}, error);
    std::remove(file.c_str());
    return rc;
}
