#include "ordering/core/OrdTransfer.h"

#include <algorithm>
#include <map>
#include <set>

#include "common/OperatorState.h"
#include "db/DbTransaction.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/core/basBMStore.h"
#include "ordering/core/OrdCopyRows.h"
#include "ordering/core/basOrdFunc.h"

namespace {

// Characters an order number may have (asord_no).
constexpr std::size_t kAsordNoWidth = 40;

std::string catalogueKey(const std::string& publ, const std::string& year) {
    return "publ_code=" + LIB_SqlStr(publ) + " AND peri_ord_year=" + LIB_SqlStr(year);
}

std::string catalogueWhere(const std::string& publ, const std::string& year) {
    return " WHERE " + catalogueKey(publ, year);
}

std::string inList(const std::vector<std::string>& values) {
    std::string out;
    for (const std::string& v : values)
        out += (out.empty() ? "(" : ",") + LIB_SqlStr(v);
    return out + ")";
}

std::string lines(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& s : items)
        out += "\n" + s;
    return out;
}

std::size_t characters(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

}  // namespace

int intStandardOrdNumbers(const std::string& publ, const std::string& year,
                          const std::vector<std::string>& asordNos,
                          std::vector<std::pair<std::string, std::string>>& written) {
    written.clear();
    if (asordNos.empty()) return 0;
    std::vector<std::pair<std::string, std::string>> out;
    bool ok = false;
    {
        DbTransaction tx;
        ok = tx.ok();
        LibArray rows;
        const std::string where = catalogueWhere(publ, year);
        g_strSQL = "SELECT asord_no, fmt_asord_no FROM m_peri_ord_detl" + where +
                   " AND asord_no IN " + inList(asordNos) + " ORDER BY asord_no";
        ok = ok && LIB_DB_Select(g_strSQL, rows) == 0;
        for (int r = 2; ok && r < rows.rows(); ++r) {
            const std::string no = rows(0, r).str(), formatted = strFormatAsordNo(no);
            out.emplace_back(no, formatted);
            // A number already in its normal form keeps its row version.
            if (rows(1, r).str() == formatted) continue;
            g_strSQL = "UPDATE m_peri_ord_detl SET fmt_asord_no=" + LIB_SqlStr(formatted) +
                       strOrdVersionBump() + where + " AND asord_no=" + LIB_SqlStr(no);
            ok = LIB_DB_Execute(g_strSQL) == 0;
        }
        ok = ok && tx.commit() == 0;
    }
    if (!ok) {
        LIB_DB_ShowError();
        return -1;
    }
    written = std::move(out);
    return 0;
}

std::string strRenamedAsordNo(const std::string& asordNo) {
    return asordNo + ":A";
}

int intRenameOrdDetail(const std::string& publ, const std::string& year, const std::string& asordNo,
                       OrdRenameResult& result) {
    result = {};
    if (asordNo.find(":A") != std::string::npos) {
        LIB_ShowMsg("E此刊已经改名了（带有:A标志），不能再改名复制");
        return -1;
    }
    const std::string newNo = strRenamedAsordNo(asordNo);
    if (characters(newNo) > kAsordNoWidth) {
        LIB_ShowMsg("E征订号" + newNo + "超过" + std::to_string(kAsordNoWidth) +
                    "个字符，不能改名复制！");
        return -1;
    }
    const std::string where = catalogueWhere(publ, year);
    LibArray rows;
    g_strSQL = "SELECT asord_no, marc_rec_no FROM m_peri_ord_detl" + where + " AND asord_no IN " +
               inList({asordNo, newNo});
    if (LIB_DB_Select(g_strSQL, rows) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    std::string marcNo;
    bool found = false, taken = false;
    for (int r = 2; r < rows.rows(); ++r) {
        if (rows(0, r).str() == newNo) taken = true;
        if (rows(0, r).str() == asordNo) {
            found = true;
            marcNo = sqltext::trim(rows(1, r).str());
        }
    }
    if (!found) {
        LIB_ShowMsg("E订购目录中没有征订号为" + asordNo + "的订购明细！");
        return -1;
    }
    if (taken) {
        LIB_ShowMsg("E征订号为" + newNo + "的订购明细已经存在，不能再改名复制！");
        return -1;
    }
    MarcRec rec;
    // A failed read shows only in the error record: an empty record is also a missing one.
    if (!marcNo.empty()) rec = MarcLoad(marcNo);
    if (!marcNo.empty() && g_ErrInfo.lngSource != kSrcNone) {
        LIB_DB_ShowError();
        return -1;
    }
    if (rec.Dir.empty()) {
        LIB_ShowMsg("E征订号为" + asordNo + "的订购明细没有书目记录，不能改名复制！");
        return -1;
    }
    // Numbering commits on its own, before the copy's transaction begins.
    const std::string number = MarcNewNumber(kMarcBib);
    if (number.empty()) {
        LIB_DB_ShowError();
        return -1;
    }
    rec.Kind = kMarcBib;
    rec.RecNo = MarcRecNoText(number);
    enum class Outcome { Done, Failed, RecordFailed };
    const Outcome outcome = [&] {
        DbTransaction tx;
        if (!tx.ok()) return Outcome::Failed;
        if (!MarcSave(rec, 1, 0, "")) return Outcome::RecordFailed;
        const std::string renamed = LIB_SqlStr(newNo);
        if (intCopyOrdRows(where + " AND asord_no=" + LIB_SqlStr(asordNo),
                           {{"asord_no", renamed},
                            {"marc_rec_no", LIB_SqlStr(rec.RecNo)},
                            {"ord_flag", "'0'"},
                            {"fmt_asord_no", LIB_SqlStr(strFormatAsordNo(newNo))}},
                           {{"asord_no", renamed}}) < 0)
            return Outcome::Failed;
        return tx.commit() == 0 ? Outcome::Done : Outcome::Failed;
    }();
    if (outcome == Outcome::Failed) LIB_DB_ShowError();
    if (outcome != Outcome::Done) return -1;
    result.asordNo = newNo;
    result.marcNo = rec.RecNo;
    return 0;
}

int intTransferOrdDetails(const std::string& publ, const std::string& year,
                          const std::vector<std::string>& asordNos, const std::string& toPubl,
                          const std::string& toYear, OrdXferMode mode, OrdXferResult& result) {
    result = {};
    if (sqltext::trim(toPubl).empty() || sqltext::trim(toYear).empty()) {
        LIB_ShowMsg("E请选择目的订购目录！");
        return -1;
    }
    if (toPubl == publ && toYear == year) {
        LIB_ShowMsg("E目的订购目录就是原订购目录，请选择其他订购目录！");
        return -1;
    }
    if (asordNos.empty()) return 0;
    enum class Outcome { Done, Failed, NoTarget, Sent };
    std::vector<std::string> sent;
    OrdXferResult r;
    const Outcome outcome = [&] {
        DbTransaction tx;
        if (!tx.ok()) return Outcome::Failed;
        const std::string from = catalogueKey(publ, year), to = catalogueKey(toPubl, toYear);
        LibArray cats;
        g_strSQL = "SELECT publ_code, peri_ord_year, peri_ord_flag FROM m_peri_ord_lst WHERE (" +
                   from + ") OR (" + to + ")";
        if (LIB_DB_Select(g_strSQL, cats) < 0) return Outcome::Failed;
        bool targetFound = false, sourceSent = false;
        for (int i = 2; i < cats.rows(); ++i) {
            const bool source = cats(0, i).str() == publ && cats(1, i).str() == year;
            if (source) sourceSent = cats(2, i).str() == "1";
            if (!source) targetFound = true;
        }
        if (!targetFound) return Outcome::NoTarget;
        LibArray rows;
        g_strSQL =
            "SELECT publ_code, peri_ord_year, asord_no, ord_flag FROM m_peri_ord_detl "
            "WHERE ((" +
            from + ") OR (" + to + ")) AND asord_no IN " + inList(asordNos);
        if (LIB_DB_Select(g_strSQL, rows) < 0) return Outcome::Failed;
        std::map<std::string, std::string> state;  // the source's details: number -> ord_flag
        std::set<std::string> present;             // the target's numbers
        for (int i = 2; i < rows.rows(); ++i) {
            if (rows(0, i).str() == publ && rows(1, i).str() == year)
                state[rows(2, i).str()] = rows(3, i).str();
            else
                present.insert(rows(2, i).str());
        }
        std::set<std::string> seen;
        for (const std::string& no : asordNos) {
            auto it = state.find(no);
            if (it == state.end() || !seen.insert(no).second) continue;
            if (mode == OrdXferMode::Move && sqltext::trim(it->second) != "0") sent.push_back(no);
            (present.count(no) ? r.existing : r.copied).push_back(no);
        }
        if (!sent.empty()) return Outcome::Sent;
        if (!r.copied.empty()) {
            const std::string where = " WHERE " + from + " AND asord_no IN " + inList(r.copied);
            const OrdCopyValues key{{"publ_code", LIB_SqlStr(toPubl)},
                                    {"peri_ord_year", LIB_SqlStr(toYear)}};
            OrdCopyValues detail = key;
            if (mode == OrdXferMode::Copy) {
                // A copy is a new order of the operator's; out of a sent catalogue it
                // continues a subscription, as a renewal does.
                detail["ord_flag"] = "'0'";
                detail["resp_wkr"] = LIB_SqlStr(g_strWkrNo);
                if (sourceSent) detail["new_ord_flag"] = "'1'";
            }
            if (intCopyOrdRows(where, detail, key) < 0) return Outcome::Failed;
            if (mode == OrdXferMode::Move && intDeleteOrdRows(where) < 0) return Outcome::Failed;
        }
        return tx.commit() == 0 ? Outcome::Done : Outcome::Failed;
    }();
    switch (outcome) {
        case Outcome::Failed:
            LIB_DB_ShowError();
            return -1;
        case Outcome::NoTarget:
            LIB_ShowMsg("E目的订购目录" + toPubl + " " + toYear + "不存在！");
            return -1;
        case Outcome::Sent:
            LIB_ShowMsg("E下列征订号已经发订，不能移出原目录（可以复制）：" + lines(sent));
            return -1;
        case Outcome::Done:
            break;
    }
    if (!r.existing.empty()) LIB_ShowMsg("I下列征订号在该目录中已经存在：" + lines(r.existing));
    if (!r.copied.empty()) LIB_ShowMsg("I成功将纪录移动到指定目录中！");
    result = std::move(r);
    return 0;
}

int intMergeOrdCata(const std::string& publ, const std::string& year, const std::string& toPubl,
                    const std::string& toYear, OrdXferResult& result) {
    result = {};
    LibArray rows;
    g_strSQL =
        "SELECT asord_no FROM m_peri_ord_detl" + catalogueWhere(publ, year) + " ORDER BY asord_no";
    if (LIB_DB_Select(g_strSQL, rows) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    std::vector<std::string> all;
    for (int r = 2; r < rows.rows(); ++r)
        all.push_back(rows(0, r).str());
    return intTransferOrdDetails(publ, year, all, toPubl, toYear, OrdXferMode::Copy, result);
}
