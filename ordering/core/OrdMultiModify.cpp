// Multi-modify. The details are read once (version, state, registered issues) and written by
// one UPDATE whose condition names each detail with the version the list read, so a detail
// moved on by another workstation between the read and the write also leaves a count short.
#include "ordering/core/OrdMultiModify.h"

#include <map>
#include <set>

#include "common/basLibOpLog.h"
#include "db/DbTransaction.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/basOrdCheck.h"
#include "ordering/core/basOrdFunc.h"

const std::vector<OrdMultiField>& OrdMultiModifyFields() {
    static const std::vector<OrdMultiField> kFields = {
        {"PeriType", "订购状态", "peri_type", &OrdDetail::periType, " 必须选择订购状态！", false},
        {"GetMode", "获得方式", "get_mode_code", &OrdDetail::getMode, " 必须选择获得方式！", false},
        {"PublFreq", "出版频率", "publ_freq", &OrdDetail::publFreq, " 必须选择出版频率！", true},
        {"Carrier", "载体类型", "carrier_code", &OrdDetail::carrier, " 必须选择载体类型！", false},
        {"MoneyType", "币种", "money_code", &OrdDetail::moneyType, " 必须选择币种！", false},
        {"NewFlag", "新续订刊", "new_ord_flag", &OrdDetail::newFlag, " 必须选择新续订刊！", false},
        {"KindNo", "类号", "kind_no", &OrdDetail::kindNo, nullptr, false},
        {"Remark", "说明", "remark", &OrdDetail::remark, nullptr, false}};
    return kFields;
}

const OrdMultiField* OrdMultiModifyField(const std::string& key) {
    for (const OrdMultiField& f : OrdMultiModifyFields())
        if (key == f.key) return &f;
    return nullptr;
}

std::vector<std::string> OrdMultiModifyErrors(const std::vector<OrdFieldChange>& changes,
                                              const OrdCodeTables& tables) {
    std::vector<std::string> e;
    std::set<std::string> seen;
    // The codes go through the detail's own code check, on a detail holding only them.
    OrdDetail codes;
    for (const OrdFieldChange& c : changes) {
        const OrdMultiField* f = OrdMultiModifyField(c.key);
        if (!f) {
            e.push_back(" 不能批量修改【" + c.key + "】！");
            continue;
        }
        if (!seen.insert(c.key).second) {
            e.push_back(" " + std::string(f->caption) + "只能修改一次！");
            continue;
        }
        const std::string v = sqltext::trim(c.value);
        if (v.empty()) {
            if (f->required) e.push_back(f->required);
            continue;
        }
        codes.*f->field = v;
        if (c.key == "PeriType" && (v.size() != 1 || v[0] < '0' || v[0] > '3'))
            e.push_back(" 订购状态【" + v + "】不存在，请重新选择！");
        if (c.key == "NewFlag" && v != "0" && v != "1")
            e.push_back(" 新续订刊【" + v + "】不存在，请重新选择！");
    }
    for (std::string& m : OrdCodeErrors(codes, tables))
        e.push_back(std::move(m));
    return e;
}

int intOrdMultiModify(const std::string& publ, const std::string& year,
                      const std::vector<OrdMultiTarget>& targets,
                      const std::vector<OrdFieldChange>& changes, int& changed) {
    changed = 0;
    if (targets.empty()) {
        LIB_ShowMsg("I请选择要修改的订购明细！");
        return 1;
    }
    if (changes.empty()) {
        LIB_ShowMsg("I请选择要修改的项目！");
        return 1;
    }
    OrdCodeTables tables;
    if (intLoadOrdCodeTables(tables) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    if (auto errors = OrdMultiModifyErrors(changes, tables); !errors.empty()) {
        std::string text;
        for (const std::string& m : errors)
            text += m + "\n";
        LIB_ShowMsg("E" + text + "记录不能修改！");
        return -1;
    }
    std::string set;
    // The frequency is the one field check-in holds; its rule is the single save's.
    std::vector<OrdFreqChange> freqChanges;
    for (const OrdFieldChange& c : changes) {
        const OrdMultiField* f = OrdMultiModifyField(c.key);
        const std::string v = sqltext::trim(c.value);
        set += std::string(set.empty() ? "" : ", ") + f->column + "=" +
               (v.empty() ? std::string("NULL") : LIB_SqlStr(v));
        if (f->frozenByCheckIn)
            for (const OrdMultiTarget& t : targets)
                freqChanges.push_back({t.asordNo, v});
    }
    const std::string catalogue =
        " WHERE A.publ_code=" + LIB_SqlStr(publ) + " AND A.peri_ord_year=" + LIB_SqlStr(year);
    std::string numbers, versioned;
    for (const OrdMultiTarget& t : targets) {
        numbers += (numbers.empty() ? "" : ",") + LIB_SqlStr(t.asordNo);
        versioned += std::string(versioned.empty() ? "" : " OR ") +
                     "(asord_no=" + LIB_SqlStr(t.asordNo) +
                     " AND COALESCE(row_version,0)=" + std::to_string(t.version) + ")";
    }
    enum class Outcome { Written, Failed, ChangedElsewhere, CheckInBegun };
    std::string refusal;
    const Outcome outcome = [&] {
        DbTransaction tx;
        if (!tx.ok()) return Outcome::Failed;
        LibArray rows;
        g_strSQL = "SELECT A.asord_no, COALESCE(A.row_version,0) FROM m_peri_ord_detl A" +
                   catalogue + " AND A.asord_no IN (" + numbers + ")";
        if (LIB_DB_Select(g_strSQL, rows) < 0) return Outcome::Failed;
        std::map<std::string, int> rowOf;
        for (int r = 2; r < rows.rows(); ++r)
            rowOf[rows(0, r).str()] = r;
        for (const OrdMultiTarget& t : targets) {
            auto it = rowOf.find(t.asordNo);
            if (it == rowOf.end() || rows(1, it->second).integer() != t.version) {
                refusal = strOrdChangedElsewhere(t.asordNo);
                return Outcome::ChangedElsewhere;
            }
        }
        if (intCheckInFreqRefusal(publ, year, freqChanges, refusal) < 0) return Outcome::Failed;
        if (!refusal.empty()) return Outcome::CheckInBegun;
        long long written = 0;
        g_strSQL = "UPDATE m_peri_ord_detl SET " + set + strOrdVersionBump() +
                   " WHERE publ_code=" + LIB_SqlStr(publ) +
                   " AND peri_ord_year=" + LIB_SqlStr(year) + " AND (" + versioned + ")";
        if (dbExecuteCounted(g_strSQL, written) < 0) return Outcome::Failed;
        if (written != static_cast<long long>(targets.size())) {
            refusal = strOrdChangedElsewhere(targets.front().asordNo);
            return Outcome::ChangedElsewhere;
        }
        std::string what;
        for (const OrdFieldChange& c : changes)
            what += std::string(what.empty() ? "" : "、") + OrdMultiModifyField(c.key)->caption;
        if (LIB_WriteOpLog("50018", "", publ, year,
                           "批量修改" + std::to_string(targets.size()) + "条:" + what) < 0 ||
            tx.commit() < 0)
            return Outcome::Failed;
        return Outcome::Written;
    }();
    if (outcome == Outcome::Failed) LIB_DB_ShowError();
    if (outcome == Outcome::ChangedElsewhere || outcome == Outcome::CheckInBegun)
        LIB_ShowMsg("E" + refusal);
    if (outcome != Outcome::Written) return -1;
    changed = static_cast<int>(targets.size());
    return 0;
}
