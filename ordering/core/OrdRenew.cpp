// Renewal runs in two phases per source catalogue: first the reads and the questions, with no
// transaction open, then one transaction that writes the catalogue and copies its details in
// groups with INSERT ... SELECT, a few statements per group however many details it holds.
#include "ordering/core/OrdRenew.h"

#include <algorithm>
#include <map>
#include <set>

#include "common/OperatorState.h"
#include "common/basLibOpLog.h"
#include "common/basQKEnv.h"
#include "db/DbTransaction.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/OrdCopyRows.h"
#include "ordering/core/OrdRunLog.h"
#include "ordering/core/basOrdFunc.h"

namespace {

// publish_sort rows of the serials department.
constexpr int kSerialsOperType = 4;

bool s_running = false;

struct RunGuard {
    RunGuard() { s_running = true; }
    ~RunGuard() { s_running = false; }
};

// One source catalogue and the details of it that the filters let through.
struct SourceCata {
    std::string publ, batch, target;
    bool sent = false;
    std::vector<std::string> asordNos;
};

void tell(const std::string& text) {
    LIB_Presenter().show('I', "提示", text);
}

bool ask(const std::string& question) {
    return LIB_Presenter().show('Q', "提示", question) == kMsgOk;
}

// Keep (true) or replace what exists, as decided in advance or asked now.
bool keepExisting(RenewAnswer decided, const std::string& question) {
    if (decided == RenewAnswer::Ask) return ask(question);
    return decided == RenewAnswer::Keep;
}

std::string sqlList(const std::vector<std::string>& values) {
    std::string out;
    for (const std::string& v : values)
        out += (out.empty() ? "" : ",") + LIB_SqlStr(v);
    return out;
}

std::string typeFilter(const RenewOptions& o) {
    std::string filter;
    auto add = [&](bool on, const char* condition) {
        if (on) filter += (filter.empty() ? "" : " OR ") + std::string(condition);
    };
    add(o.renamed, "peri_type='1'");
    add(o.ceased, "peri_type='2'");
    add(o.stopped, "peri_type='3'");
    add(o.normal, " (peri_type not in('1','2','3') or peri_type is null) ");
    return filter.empty() ? "1=0" : filter;
}

std::string targetPrefix(const RenewOptions& o) {
    return o.byYear ? o.newYear : o.newCata;
}

bool allDigits(const std::string& s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

// The conditions of a start, each refused with its message. True when the run may go on.
bool startAllowed(const RenewOptions& o) {
    if (s_running) return tell("操作正在执行！"), false;
    if (o.sourceYear.size() != 4 || !allDigits(o.sourceYear))
        return tell("没有可以复制的往年数据！"), false;
    if (o.byYear && (o.newYear.size() != 4 || !allDigits(o.newYear)))
        return tell("请输入新的年度！"), false;
    if (!o.byYear && !IsValidOrdYear(o.newCata)) return tell("请输入新的订购目录！"), false;
    if (o.publs.empty()) return tell("请选择发行商！"), false;
    // Clearing the target would otherwise delete the very orders about to be copied.
    if (targetPrefix(o).substr(0, 4) == o.sourceYear)
        return tell("新的年度不能与源年度相同！"), false;
    return true;
}

int selectRows(const std::string& sql, LibArray& rows) {
    g_strSQL = sql;
    return LIB_DB_Select(g_strSQL, rows);
}

// The source catalogues with their details, in two queries for the whole run.
int readSources(const RenewOptions& o, std::vector<SourceCata>& out) {
    const std::string serials = " IN (SELECT publ_code FROM publish_sort WHERE oper_type=" +
                                std::to_string(kSerialsOperType) + ")";
    const std::string year = " LIKE " + LIB_SqlStr(o.sourceYear + "%");
    LibArray cats;
    if (selectRows("SELECT publ_code, peri_ord_year, peri_ord_flag FROM m_peri_ord_lst WHERE "
                   "peri_ord_year" +
                       year + " AND publ_code IN (" + sqlList(o.publs) + ") AND publ_code" +
                       serials + " ORDER BY publ_code, peri_ord_year",
                   cats) < 0)
        return -1;
    std::map<std::pair<std::string, std::string>, std::size_t> index;
    for (int r = 2; r < cats.rows(); ++r) {
        SourceCata c;
        c.publ = cats(0, r).str();
        c.batch = cats(1, r).str();
        c.sent = cats(2, r).str() == "1";
        c.target = o.byYear ? o.newYear + c.batch.substr(4, 2) : o.newCata;
        index[{c.publ, c.batch}] = out.size();
        out.push_back(c);
    }
    std::string offered;
    if (o.onlyOffered)
        offered =
            " AND EXISTS (SELECT 1 FROM peri_asord_detl P WHERE P.publ_code=D.publ_code "
            "AND P.asord_no=D.asord_no AND P.publ_year_month LIKE " +
            LIB_SqlStr(targetPrefix(o).substr(0, 4) + "%") + ")";
    LibArray details;
    if (selectRows("SELECT D.publ_code, D.peri_ord_year, D.asord_no FROM m_peri_ord_detl D "
                   "WHERE D.peri_ord_year" +
                       year + " AND D.publ_code IN (" + sqlList(o.publs) + ") AND (" +
                       typeFilter(o) + ")" + offered +
                       " ORDER BY D.publ_code, D.peri_ord_year, D.asord_no",
                   details) < 0)
        return -1;
    for (int r = 2; r < details.rows(); ++r) {
        auto it = index.find({details(0, r).str(), details(1, r).str()});
        if (it != index.end()) out[it->second].asordNos.push_back(details(2, r).str());
    }
    return 0;
}

// The catalogues of the chosen distributors under the new year (or the named batch), deleted
// in one transaction when the operator agrees. 0 go on, 1 stop (declined), -1 failed.
int clearTarget(const RenewOptions& o, OrdRunLog& log) {
    if (!ask("此操作将删除新年度批次下所选发行商已经存在的全部订购信息，且不可恢复，要继续嘛？"))
        return 1;
    LibArray cats;
    if (selectRows("SELECT publ_code, peri_ord_year FROM m_peri_ord_lst WHERE publ_code IN (" +
                       sqlList(o.publs) + ") AND peri_ord_year LIKE " +
                       LIB_SqlStr(targetPrefix(o) + "%") + " ORDER BY publ_code, peri_ord_year",
                   cats) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    if (cats.recordCount() == 0) return 0;
    const bool remove = o.existing == RenewAnswer::Ask
                            ? ask("新年度批次下所选发行商存在订购信息，是否删除这些订购信息？")
                            : o.existing == RenewAnswer::Replace;
    if (!remove) return 0;
    {
        DbTransaction tx;
        bool ok = tx.ok();
        for (int r = 2; ok && r < cats.rows(); ++r) {
            g_strSQL =
                "delete02_m_peri_ord_lst " + LIB_SqlStr(cats(0, r)) + "," + LIB_SqlStr(cats(1, r));
            ok = LIB_DB_CallProc(g_strSQL) == 0;
        }
        if (ok && tx.commit() == 0) {
            for (int r = 2; r < cats.rows(); ++r)
                log.line("删除 发行商[" + cats(0, r).str() + "] 年度批次[" + cats(1, r).str() +
                         "] 的订购信息");
            return 0;
        }
    }
    log.line("删除新年度批次的订购信息出错：" + g_ErrInfo.strDesc);
    LIB_DB_ShowError();
    return -1;
}

// What the operator decided for one catalogue before its transaction.
struct CataPlan {
    bool exists = false, replaceCata = false;
    std::vector<std::string> replaceDetails;
    std::vector<std::string> copy;
    int kept = 0;
};

int planCatalogue(const RenewOptions& o, const SourceCata& c, CataPlan& plan) {
    const std::string where =
        " WHERE publ_code=" + LIB_SqlStr(c.publ) + " AND peri_ord_year=" + LIB_SqlStr(c.target);
    LibArray rows;
    if (selectRows("SELECT count(*) FROM m_peri_ord_lst" + where, rows) < 0) return -1;
    plan.exists = rows(0, 2).integer() > 0;
    plan.replaceCata =
        plan.exists && !keepExisting(o.existing, "存在发行商[" + c.publ + "]，年度批次[" +
                                                     c.target + "]的订单，是否保留原有？");
    std::set<std::string> present;
    if (plan.exists && !plan.replaceCata) {
        if (selectRows("SELECT asord_no FROM m_peri_ord_detl" + where, rows) < 0) return -1;
        for (int r = 2; r < rows.rows(); ++r)
            present.insert(rows(0, r).str());
    }
    for (const std::string& no : c.asordNos) {
        if (!present.count(no)) {
            plan.copy.push_back(no);
        } else if (keepExisting(o.existing, "存在发行商[" + c.publ + "]，年度批次[" + c.target +
                                                "]，征订号[" + no +
                                                "]的订购明细，是否保留原有？")) {
            ++plan.kept;
        } else {
            plan.replaceDetails.push_back(no);
            plan.copy.push_back(no);
        }
    }
    return 0;
}

class CatalogueCopy {
public:
    CatalogueCopy(const RenewOptions& o, const SourceCata& c, const CataPlan& p, int total,
                  const RenewProgressFn& progress)
        : o_(o), c_(c), p_(p), total_(total), progress_(progress) {}

    // The catalogue's writes in the caller's transaction; copied counts what is written.
    // 0, 1 stopped by the operator after whole details, -1 failed (g_ErrInfo).
    int run(int doneBefore, int& copied) {
        if (writeCatalogue() < 0) return -1;
        for (const std::string& no : p_.replaceDetails)
            if (call("delete02_m_peri_ord_detl " + LIB_SqlStr(c_.publ) + "," +
                     LIB_SqlStr(c_.target) + "," + LIB_SqlStr(no)) < 0)
                return -1;
        const std::size_t step = static_cast<std::size_t>(std::max(1, o_.detailsPerStep));
        for (std::size_t from = 0; from < p_.copy.size(); from += step) {
            std::vector<std::string> group(
                p_.copy.begin() + static_cast<long>(from),
                p_.copy.begin() + static_cast<long>(std::min(p_.copy.size(), from + step)));
            if (copyGroup(group) < 0) return -1;
            copied += static_cast<int>(group.size());
            RenewProgress now{
                doneBefore + copied, total_,
                "正在续订 发行商[" + c_.publ + "] 年度批次[" + c_.batch + "]→[" + c_.target + "]"};
            if (progress_ && !progress_(now)) return 1;
        }
        return 0;
    }

private:
    static int call(const std::string& procedure) {
        g_strSQL = procedure;
        return LIB_DB_CallProc(g_strSQL);
    }
    static int exec(const std::string& sql) {
        g_strSQL = sql;
        return LIB_DB_Execute(g_strSQL);
    }

    int writeCatalogue() {
        if (p_.exists && !p_.replaceCata) return 0;
        if (p_.replaceCata && call("delete02_m_peri_ord_lst " + LIB_SqlStr(c_.publ) + "," +
                                   LIB_SqlStr(c_.target)) < 0)
            return -1;
        const std::string date = LIB_DB_GetServerDate().substr(0, 10);
        if (date.empty()) return -1;
        const std::string tail = ", " + LIB_SqlStr(date) + ", " + LIB_SqlStr(g_strWkrNo) + ", '0'";
        if (o_.byYear)
            return exec(
                "INSERT INTO m_peri_ord_lst (publ_code, peri_ord_year, peri_ord_date, "
                "resp_wkr, peri_ord_flag) SELECT publ_code, " +
                LIB_SqlStr(o_.newYear) + " || substr(peri_ord_year, 5,2)" + tail +
                " FROM m_peri_ord_lst WHERE publ_code=" + LIB_SqlStr(c_.publ) +
                " AND peri_ord_year=" + LIB_SqlStr(c_.batch));
        return exec(
            "INSERT INTO m_peri_ord_lst (publ_code, peri_ord_year, peri_ord_date, "
            "resp_wkr, peri_ord_flag) VALUES (" +
            LIB_SqlStr(c_.publ) + ", " + LIB_SqlStr(c_.target) + tail + ")");
    }

    int copyGroup(const std::vector<std::string>& group) {
        const std::string where = " WHERE publ_code=" + LIB_SqlStr(c_.publ) +
                                  " AND peri_ord_year=" + LIB_SqlStr(c_.batch) +
                                  " AND asord_no IN (" + sqlList(group) + ")";
        const std::string batch = LIB_SqlStr(c_.target);
        // A sent source makes every copy a renewal; an unsent one keeps each title's flag.
        return intCopyOrdRows(where,
                              {{"peri_ord_year", batch},
                               {"resp_wkr", LIB_SqlStr(g_strWkrNo)},
                               {"ord_flag", "'0'"},
                               {"new_ord_flag", c_.sent ? "'1'" : "new_ord_flag"}},
                              {{"peri_ord_year", batch}});
    }

    const RenewOptions& o_;
    const SourceCata& c_;
    const CataPlan& p_;
    int total_;
    const RenewProgressFn& progress_;
};

std::string optionsText(const RenewOptions& o) {
    std::string publs;
    for (const std::string& p : o.publs)
        publs += (publs.empty() ? "" : ",") + p;
    std::string types;
    for (auto [on, name] : {std::pair{o.normal, "正常刊"}, std::pair{o.renamed, "改名刊"},
                            std::pair{o.ceased, "停刊"}, std::pair{o.stopped, "停订刊"}})
        if (on) types += std::string(types.empty() ? "" : ",") + name;
    const char* answer = o.existing == RenewAnswer::Ask    ? "逐一询问"
                         : o.existing == RenewAnswer::Keep ? "保留原有"
                                                           : "删除原有";
    return "续订开始：源年度[" + o.sourceYear + "]，" +
           (o.byYear ? "按年度[" + o.newYear + "]" : "到订购目录[" + o.newCata + "]") +
           "，发行商[" + publs + "]，订购状态[" + types + "]" +
           (o.onlyOffered ? "，只复制征订目录中有的刊" : "") + "，已有订购信息：" + answer +
           "，出错时" + (o.onError == RenewOnError::StopRun ? "停止续订" : "继续下一发行商");
}

}  // namespace

std::string strRenewLogPath() {
    return g_strPath[4] + "OrdRenew.log";
}

bool IsRenewRunning() {
    return s_running;
}

int intRenewSourceYears(std::vector<std::string>& years) {
    years.clear();
    LibArray rows;
    if (selectRows("SELECT DISTINCT substr(peri_ord_year,1,4) FROM m_peri_ord_lst ORDER BY 1 DESC",
                   rows) < 0)
        return -1;
    for (int r = 2; r < rows.rows(); ++r)
        years.push_back(rows(0, r).str());
    return 0;
}

int intRenewPublishers(const std::string& year, LibArray& rows) {
    return selectRows(
        "SELECT B.publ_code, B.publ_name FROM publish_busi B WHERE B.publ_code IN (SELECT "
        "L.publ_code FROM m_peri_ord_lst L WHERE L.peri_ord_year LIKE " +
            LIB_SqlStr(year + "%") +
            ") AND B.publ_code IN (SELECT publ_code FROM publish_sort WHERE oper_type=" +
            std::to_string(kSerialsOperType) + ") ORDER BY B.publ_code",
        rows);
}

int intRenewOrders(const RenewOptions& o, RenewResult& result, const RenewProgressFn& progress) {
    result = {};
    if (!startAllowed(o)) return 1;
    RunGuard running;
    std::vector<SourceCata> sources;
    if (readSources(o, sources) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    if (sources.empty()) return tell("没有可以复制的往年数据！"), 1;
    OrdRunLog log(strRenewLogPath(), OrdRunLog::Mode::Rewrite);
    log.line(optionsText(o));
    if (int cleared = clearTarget(o, log); cleared != 0) {
        if (cleared > 0) log.line("未确认，续订未执行");
        return cleared;
    }
    int total = 0;
    for (const SourceCata& c : sources)
        total += static_cast<int>(c.asordNos.size());
    int done = 0;
    std::string failedPubl;
    for (const SourceCata& c : sources) {
        if (c.publ == failedPubl) continue;  // that distributor's copy ended at its failure
        const std::string name =
            "发行商[" + c.publ + "] 年度批次[" + c.batch + "]→[" + c.target + "]";
        CataPlan plan;
        int copied = 0, outcome = planCatalogue(o, c, plan);
        if (outcome == 0) {
            DbTransaction tx;
            outcome = tx.ok() ? CatalogueCopy(o, c, plan, total, progress).run(done, copied) : -1;
            if (outcome >= 0 && (LIB_WriteOpLog("50020", c.publ, c.batch, c.target,
                                                "复制 " + std::to_string(copied) + " 条") < 0 ||
                                 tx.commit() < 0))
                outcome = -1;
        }
        if (outcome < 0) {
            log.line(name + "：出错，已回滚：" + g_ErrInfo.strDesc);
            LIB_DB_ShowError();
            ++result.failed;
            failedPubl = c.publ;
            done += static_cast<int>(c.asordNos.size());
            if (o.onError == RenewOnError::StopRun) break;
            continue;
        }
        ++result.catalogues;
        result.copied += copied;
        result.kept += plan.kept;
        done += copied + plan.kept;
        log.line(name + "：复制 " + std::to_string(copied) + " 条，保留原有 " +
                 std::to_string(plan.kept) + " 条" +
                 (plan.replaceDetails.empty()
                      ? ""
                      : "，替换原有 " + std::to_string(plan.replaceDetails.size()) + " 条"));
        if (outcome == 1) {
            result.aborted = true;
            log.line("操作被中止：已复制的订购明细都是完整的");
            break;
        }
    }
    log.line("续订结束：目录 " + std::to_string(result.catalogues) + " 个，复制明细 " +
             std::to_string(result.copied) + " 条，保留原有 " + std::to_string(result.kept) +
             " 条，出错目录 " + std::to_string(result.failed) + " 个");
    if (result.failed > 0) {
        LIB_Presenter().show('E', "提示", "续订过程中出现错误，请查看日志！");
        return -1;
    }
    tell(result.aborted ? "操作已中止！" : "操作成功完成！");
    return 0;
}
