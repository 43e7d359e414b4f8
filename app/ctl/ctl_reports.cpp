// serialsctl report: every statistical report with the screen's filters, printed as a table or
// written as CSV, XLSX or PDF, so that a library can run its reports on a schedule.
#include <algorithm>
#include <iostream>
#include <map>

#include "app/ctl/Ctl.h"
#include "common/OperatorState.h"
#include "common/RightCodes.h"
#include "db/LibArray.h"
#include "reports/core/StatExport.h"
#include "reports/core/StatReports.h"

namespace {

const char* const kUsage =
    "report loca-all|loca|other|arrival|job|indi-acct|sort|search|title [过滤条件] "
    "[--csv FILE] [--xlsx FILE] [--pdf FILE]";

const char* const kFilterHelp =
    "过滤条件: --year YYYY --publ CODE --doc-type 中文|其他|CODE --lang 中文|西文|CODE\n"
    "  loca-all, loca: --basis dist|sub；loca: --location CODE\n"
    "  other: --by country|language|publisher|frequency\n"
    "  arrival: --bound（列出合订本）\n"
    "  job: --worker NO --period year|month|day|interval --from DATE [--to DATE]\n"
    "  indi-acct: --from PROPNO --to PROPNO [--doc-type CODE]\n"
    "  sort: --by class|callno，--type CODE 或 --template CODE\n"
    "  search: --path 检索途径（如 题名、订购号） --text 查询内容\n"
    "  title: --recno 记录号 --tab orders|issues|bound [--year YYYY] [--location CODE]";

int usageError(const std::string& why = "") {
    if (!why.empty()) std::cerr << why << "\n";
    std::cerr << "用法: serialsctl " << kUsage << "\n" << kFilterHelp << "\n";
    return 2;
}

struct Options {
    std::map<std::string, std::string> v;
    bool bound = false;
    std::string get(const std::string& k) const {
        auto i = v.find(k);
        return i == v.end() ? "" : i->second;
    }
};

bool parse(const std::vector<std::string>& args, Options& o) {
    static const std::vector<std::string> known{
        "--year",   "--publ",   "--doc-type", "--lang", "--basis", "--location", "--by",
        "--worker", "--period", "--from",     "--to",   "--type",  "--template", "--csv",
        "--xlsx",   "--pdf",    "--path",     "--text", "--recno", "--tab"};
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--bound") {
            o.bound = true;
        } else if (std::find(known.begin(), known.end(), args[i]) != known.end() &&
                   i + 1 < args.size()) {
            o.v[args[i]] = args[i + 1];
            ++i;
        } else {
            usageError("不认识的参数: " + args[i]);
            return false;
        }
    }
    return true;
}

// The shared filters; false (after saying why) on a choice the lists do not hold.
bool sharedFilter(const Options& o, StatFilter& f) {
    f.year = o.get("--year");
    f.publCode = o.get("--publ");
    std::string doc = o.get("--doc-type"), lang = o.get("--lang");
    bool known = statFilterFromCodes(f, doc == "中文" || doc == "其他" ? "" : doc,
                                     lang == "中文" || lang == "西文" ? "" : lang);
    if (doc == "中文") f.docType = 1;
    if (doc == "其他") f.docType = 2;
    if (lang == "中文") f.language = 1;
    if (lang == "西文") f.language = 2;
    if (!known) {
        usageError("文献类型或语种不在代码表中");
        return false;
    }
    return true;
}

void print(const StatTable& t) {
    auto grid = t.gridRows();
    LibArray a(static_cast<int>(t.columns.size()), static_cast<int>(grid.size()) + 2);
    for (std::size_t c = 0; c < t.columns.size(); ++c)
        a(static_cast<int>(c), 0) = t.columns[c];
    for (std::size_t r = 0; r < grid.size(); ++r)
        for (std::size_t c = 0; c < grid[r].size() && c < t.columns.size(); ++c)
            a(static_cast<int>(c), static_cast<int>(r) + 2) = grid[r][c];
    std::cout << t.title << "\n";
    for (const std::string& h : t.header)
        std::cout << h << "\n";
    std::cout << LibArrayPrinter::format(a);
    if (!t.footer.empty()) std::cout << t.footer << "\n";
}

// Runs the named report; 0 with a table, 1 when it failed or found nothing, 2 on bad input.
int runReport(const std::string& name, const Options& o, StatTable& t) {
    StatFilter f;
    if (!sharedFilter(o, f)) return 2;
    bool needsYear = name != "job" && name != "indi-acct" && name != "search" && name != "title";
    if (needsYear && f.year.empty()) return usageError("请选择订购年（--year）");
    StatBasis basis = o.get("--basis") == "sub" ? StatBasis::Subscriber : StatBasis::Distribution;
    StatResult r;
    if (name == "loca-all") {
        r = statLocaAll(f, basis, t);
    } else if (name == "loca") {
        r = statLoca(f, basis, o.get("--location"), t);
    } else if (name == "other") {
        static const std::map<std::string, StatAttr> attrs{{"country", StatAttr::Country},
                                                           {"language", StatAttr::Language},
                                                           {"publisher", StatAttr::Publisher},
                                                           {"frequency", StatAttr::Frequency}};
        auto a = attrs.find(o.get("--by"));
        if (a == attrs.end())
            return usageError("--by 须为 country、language、publisher 或 frequency");
        r = statOther(f, a->second, t);
    } else if (name == "arrival") {
        r = statArrival(f, o.bound, t);
    } else if (name == "job") {
        static const std::map<std::string, StatPeriod> periods{{"year", StatPeriod::Year},
                                                               {"month", StatPeriod::Month},
                                                               {"day", StatPeriod::Day},
                                                               {"interval", StatPeriod::Interval}};
        auto p = periods.find(o.get("--period"));
        if (p == periods.end()) return usageError("--period 须为 year、month、day 或 interval");
        std::string worker = o.get("--worker").empty() ? g_strWkrNo : o.get("--worker");
        r = statJob(worker, p->second, o.get("--from"), o.get("--to"), t);
    } else if (name == "indi-acct") {
        r = statIndiAcct(o.get("--from"), o.get("--to"), o.get("--doc-type"), t);
    } else if (name == "sort") {
        std::string type = o.get("--type");
        if (!o.get("--template").empty()) {
            std::vector<StatTemplate> templates;
            if (statTemplates(templates) < 0) return 1;
            for (const StatTemplate& s : templates)
                if (s.code == o.get("--template")) type = s.statType;
            if (type.empty()) return usageError("没有统计模板 " + o.get("--template"));
        }
        if (type.empty()) return usageError("请用 --type 或 --template 选择统计类型");
        r = statSort(f,
                     o.get("--by") == "callno" ? StatClassBy::CallNumber : StatClassBy::ClassNumber,
                     type, t);
    } else if (name == "search") {
        std::vector<StatSearchPath> paths = statSearchPaths();
        auto p = std::find_if(paths.begin(), paths.end(), [&](const StatSearchPath& s) {
            return s.caption == o.get("--path") || s.group == o.get("--path");
        });
        if (p == paths.end()) return usageError("没有检索途径 " + o.get("--path"));
        r = statSearchTitles(*p, o.get("--text"), t);
    } else if (name == "title") {
        const std::string tab = o.get("--tab"), rec = o.get("--recno");
        if (rec.empty()) return usageError("请用 --recno 指定记录号");
        if (tab == "orders")
            r = statTitleOrders(rec, o.get("--year"), t);
        else if (tab == "issues")
            r = statTitleIssues(rec, o.get("--year"), t);
        else if (tab == "bound")
            r = statTitleBound(rec, o.get("--location"), o.get("--year"), t);
        else
            return usageError("--tab 须为 orders、issues 或 bound");
    } else {
        return usageError("没有报表 " + name);
    }
    if (r == StatResult::Refused) return 2;
    return r == StatResult::Failed ? 1 : 0;
}

int report(const std::vector<std::string>& args) {
    if (args.empty()) return usageError();
    Options o;
    if (!parse({args.begin() + 1, args.end()}, o)) return 2;
    StatTable t;
    if (int rc = runReport(args[0], o, t); rc != 0) return rc;
    std::string error;
    if (!o.get("--csv").empty() && statWriteCsv(o.get("--csv"), t, error) < 0) {
        std::cerr << error << "\n";
        return 1;
    }
    if (!o.get("--xlsx").empty() && statWriteXlsx(o.get("--xlsx"), t, error) < 0) {
        std::cerr << error << "\n";
        return 1;
    }
    if (!o.get("--pdf").empty() && statWritePdf(o.get("--pdf"), t, error) < 0) {
        std::cerr << error << "\n";
        return 1;
    }
    if (o.get("--csv").empty() && o.get("--xlsx").empty() && o.get("--pdf").empty()) print(t);
    return 0;
}

}  // namespace

void registerReportVerbs() {
    ctlVerbs().push_back(
        {"report", kUsage,
         "统计报表：订购分布、到刊、工作量、财产帐、分类统计，输出到屏幕、CSV、XLSX 或 PDF", true,
         rights::kStatistics, report});
}
