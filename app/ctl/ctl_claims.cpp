// serialsctl claims: list the issues due for a claim (to the screen, CSV or XLSX), record them,
// or record and mail one supplier's claims, so that claims can run every morning unattended.
// Record and mail runs always leave a line in the operation log, also when nothing was due.
#include <iostream>
#include <map>

#include "app/ctl/Ctl.h"
#include "checkin/core/basChkClaim.h"
#include "common/OperatorState.h"
#include "common/RightCodes.h"
#include "common/basLibOpLog.h"
#include "db/DbTransaction.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

namespace {

const char* const kUsage =
    "claims list [过滤条件] [--claimed|--after-later] [--csv FILE|--xlsx FILE] | "
    "claims record [过滤条件] --yes | claims mail --publ CODE [过滤条件] [--dry-run]";

const char* const kFilterHelp =
    "过滤条件: --year YYYY --location CODE --asord NO --get-mode CODE --doc-type CODE "
    "--publ CODE（可重复） --index GROUP --text TEXT，或 --all（全部订购）";

int usageError(const std::string& why = "") {
    if (!why.empty()) std::cerr << why << "\n";
    std::cerr << "用法: serialsctl " << kUsage << "\n" << kFilterHelp << "\n";
    return 2;
}

struct Options {
    ClaimFilter filter;
    ClaimList list = ClaimList::ToClaim;
    std::string csv, xlsx;
    bool yes = false;
    bool dryRun = false;
    bool all = false;
};

// Reads the options; false (after the usage text) on a word it does not know.
bool parse(const std::vector<std::string>& args, Options& o) {
    std::map<std::string, std::string*> values = {{"--year", &o.filter.year},
                                                  {"--location", &o.filter.location},
                                                  {"--asord", &o.filter.asordNo},
                                                  {"--get-mode", &o.filter.getMode},
                                                  {"--doc-type", &o.filter.docType},
                                                  {"--index", &o.filter.idxGroup},
                                                  {"--text", &o.filter.searchText},
                                                  {"--csv", &o.csv},
                                                  {"--xlsx", &o.xlsx}};
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto v = values.find(a);
        if (v != values.end() && i + 1 < args.size()) {
            *v->second = args[++i];
        } else if (a == "--publ" && i + 1 < args.size()) {
            o.filter.publCodes.push_back(args[++i]);
        } else if (a == "--claimed") {
            o.list = ClaimList::Claimed;
        } else if (a == "--after-later") {
            o.list = ClaimList::ToClaimAfterLater;
        } else if (a == "--yes") {
            o.yes = true;
        } else if (a == "--dry-run") {
            o.dryRun = true;
        } else if (a == "--all") {
            o.all = true;
        } else {
            usageError("不认识的参数: " + a);
            return false;
        }
    }
    if (!o.filter.searchText.empty() && o.filter.idxGroup.empty()) {
        usageError("--text 需要 --index 指定检索途径");
        return false;
    }
    return true;
}

// The search; 0 with rows, 1 when nothing is due (said on stderr), -1 on failure (reported).
int find(const Options& o, std::vector<ClaimCandidate>& rows) {
    ClaimFilter f = o.filter;
    f.anyOrder = o.all;
    return intFindClaims(f, o.list, rows);
}

std::string today() {
    return LIB_DB_GetServerDate().substr(0, 10);
}

void printRows(const std::vector<ClaimCandidate>& rows, bool newClaim) {
    LibArray a(static_cast<int>(claimListHeaders().size()) + 1, static_cast<int>(rows.size()) + 2);
    a(0, 0) = "刊名";
    for (std::size_t c = 0; c < claimListHeaders().size(); ++c)
        a(static_cast<int>(c) + 1, 0) = claimListHeaders()[c];
    std::string date = today();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        auto cells = claimListRow(rows[r], date, g_strWkrNo, newClaim);
        a(0, static_cast<int>(r) + 2) = rows[r].title;
        for (std::size_t c = 0; c < cells.size(); ++c)
            a(static_cast<int>(c) + 1, static_cast<int>(r) + 2) = cells[c];
    }
    std::cout << LibArrayPrinter::format(a);
}

// One log line for a run that claimed nothing, so that every run can be traced.
int logEmptyRun(const std::string& publ) {
    DbTransaction tx;
    if (!tx.ok() || LIB_WriteOpLog("50032", publ, "0", "0", "没有缺刊") < 0 || tx.commit() < 0) {
        LIB_DB_ShowError();
        return 1;
    }
    return 0;
}

int list(const std::vector<std::string>& args) {
    Options o;
    if (!parse(args, o)) return 2;
    std::vector<ClaimCandidate> rows;
    int rc = find(o, rows);
    if (rc != 0) return rc < 0 ? 1 : 0;
    bool newClaim = o.list != ClaimList::Claimed;
    std::string error;
    if (!o.csv.empty() && claimWriteCsv(o.csv, rows, today(), newClaim, error) < 0) {
        std::cerr << error << "\n";
        return 1;
    }
    if (!o.xlsx.empty() && claimWriteXlsx(o.xlsx, rows, today(), newClaim, error) < 0) {
        std::cerr << error << "\n";
        return 1;
    }
    if (o.csv.empty() && o.xlsx.empty()) printRows(rows, newClaim);
    std::cout << "共 " << rows.size() << " 期\n";
    return 0;
}

int record(const std::vector<std::string>& args) {
    Options o;
    if (!parse(args, o)) return 2;
    if (!o.yes) return usageError("记录催缺须加 --yes 确认");
    if (o.list == ClaimList::Claimed) return usageError("--claimed 只能用于 claims list");
    std::vector<ClaimCandidate> rows;
    int rc = find(o, rows);
    if (rc < 0) return 1;
    if (rc > 0) return logEmptyRun(o.filter.publCodes.empty() ? "*" : o.filter.publCodes[0]);
    // One transaction per supplier: a failure keeps nothing of that supplier, the others stand.
    std::map<std::string, std::vector<ClaimCandidate>> bySupplier;
    for (ClaimCandidate& c : rows)
        bySupplier[c.publCode].push_back(std::move(c));
    int failed = 0;
    for (const auto& [publ, claims] : bySupplier) {
        if (claimRecord(claims) < 0) {
            std::cerr << publ << "：催缺未记录\n";
            LIB_DB_ShowError();
            ++failed;
            continue;
        }
        std::cout << publ << "：已催缺 " << claims.size() << " 期\n";
    }
    if (failed) return 1;
    LIB_ShowMsg("I催缺完成！");
    return 0;
}

int mail(const std::vector<std::string>& args) {
    Options o;
    if (!parse(args, o)) return 2;
    if (o.filter.publCodes.size() != 1) return usageError("邮件催缺必须选择一个发行商。");
    if (o.list == ClaimList::Claimed) return usageError("--claimed 只能用于 claims list");
    const std::string publ = o.filter.publCodes[0];
    std::vector<ClaimCandidate> rows;
    int rc = find(o, rows);
    if (rc < 0) return 1;
    if (rc > 0) return o.dryRun ? 0 : logEmptyRun(publ);
    ClaimMail m;
    if (claimPrepareMail(publ, today(), m) < 0) {
        LIB_DB_ShowError();
        return 1;
    }
    if (o.dryRun) {
        std::cout << "发信人: " << m.from << "\n收信人: " << m.to << "\n主题: " << m.subject
                  << "\n\n"
                  << m.body << "\n";
        printRows(rows, true);
        std::cout << "（未发送，未记录）\n";
        return 0;
    }
    if (std::string problem = claimMailProblem(m); !problem.empty()) {
        LIB_ShowMsg("E" + problem);
        return 1;
    }
    std::string error;
    bool dbFailed = false;
    if (claimSendMail(m, rows, error, dbFailed) < 0) {
        if (dbFailed)
            LIB_DB_ShowError();
        else
            LIB_ShowMsg("E" + error);
        return 1;
    }
    std::cout << publ << "：已催缺 " << rows.size() << " 期，邮件发往 " << m.to << "\n";
    LIB_ShowMsg("I 发送邮件成功！");
    return 0;
}

int claims(const std::vector<std::string>& args) {
    if (args.empty()) return usageError();
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "list") return list(rest);
    if (args[0] == "record") return record(rest);
    if (args[0] == "mail") return mail(rest);
    return usageError();
}

}  // namespace

void registerClaimVerbs() {
    ctlVerbs().push_back({"claims", kUsage,
                          "期刊催缺：列出应催缺的期刊，记录催缺，向一个发行商邮件催缺", true,
                          rights::kClaims, claims});
}
