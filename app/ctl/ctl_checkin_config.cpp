// serialsctl verbs of check-in configuration: predict the expected issues of a configuration
// without a database (CSV), and configure an order line at a location, predicting its issues
// with the screen's checks, and fill a database with a generated library.
#include <cctype>
#include <iostream>
#include <map>

#include "app/ctl/Ctl.h"
#include "checkin/core/Generate.h"
#include "checkin/core/basChkConfig.h"
#include "checkin/core/basChkPredict.h"
#include "common/RightCodes.h"
#include "db/DbStatistics.h"
#include "db/basLibDB.h"

namespace {

const char* const kPredictUsage =
    "checkin predict --code C --begin YYYY-MM-DD --end YYYY-MM-DD --start-day N "
    "[--chk-begin YYYY-MM-DD] [--qty-of-year N] [--aslack-days N] [--vol V] [--issue S] "
    "[--per-vol Q] [--vol-begin-issue F] [--total T] [--continue] [--roman] [--max-peri-id KEY]";
const char* const kConfigUsage =
    "checkin config PUBL BATCH ASORDNO LOCATION [--begin D] [--end D] [--start-day N] "
    "[--chk-begin D] [--qty-of-year N] [--aslack-days N] [--vol V] [--issue S] [--per-vol Q] "
    "[--vol-begin-issue F] [--total T] [--continue] [--roman] [--bind-copies N] "
    "[--gift-copies N] [--exchange-copies N] [--attachment TEXT]";

bool allDigits(const std::string& s) {
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return !s.empty();
}
// A count small enough for an int.
bool isNumber(const std::string& s) {
    return s.size() <= 9 && allDigits(s);
}

// Applies the options shared by both verbs to a form; false after printing what is wrong.
// `extra` receives the options only one verb knows (name to value).
bool applyOptions(const std::vector<std::string>& args, std::size_t from, ChkConfigForm& f,
                  std::map<std::string, std::string>& extra) {
    const std::map<std::string, int*> numbers{{"--start-day", &f.line.fstReceDate},
                                              {"--qty-of-year", &f.line.qtyOfYear},
                                              {"--aslack-days", &f.line.daysOfAslack},
                                              {"--vol", &f.cfg.begVol},
                                              {"--issue", &f.cfg.begIssue},
                                              {"--per-vol", &f.line.qtyOfVol},
                                              {"--vol-begin-issue", &f.cfg.volBegIssue},
                                              {"--total", &f.cfg.begTotalIssue},
                                              {"--bind-copies", &f.cfg.bindCopyQty},
                                              {"--gift-copies", &f.cfg.presCopyQty},
                                              {"--exchange-copies", &f.cfg.exchCopyQty}};
    const std::map<std::string, std::string*> dates{{"--begin", &f.cfg.beginDate},
                                                    {"--end", &f.cfg.endDate},
                                                    {"--chk-begin", &f.line.chkBgnDate}};
    for (std::size_t i = from; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--continue") {
            f.cfg.issueContinue = "1";
            continue;
        }
        if (a == "--roman") {
            f.roman = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            std::cerr << "选项 " << a << " 缺少取值。\n";
            return false;
        }
        const std::string& v = args[++i];
        if (auto n = numbers.find(a); n != numbers.end()) {
            if (!isNumber(v)) {
                std::cerr << "选项 " << a << " 的取值应为非负整数：" << v << "\n";
                return false;
            }
            *n->second = std::stoi(v);
        } else if (auto d = dates.find(a); d != dates.end()) {
            if (!chkIsDate(v)) {
                std::cerr << "选项 " << a << " 的取值应为日期 YYYY-MM-DD：" << v << "\n";
                return false;
            }
            *d->second = v;
        } else if (a == "--attachment") {
            f.line.attachment = v;
        } else if (a == "--code" || a == "--max-peri-id") {
            extra[a] = v;
        } else {
            std::cerr << "未知选项: " << a << "\n";
            return false;
        }
    }
    return true;
}

int predict(const std::vector<std::string>& args) {
    ChkConfigForm f;
    std::map<std::string, std::string> extra;
    if (!applyOptions(args, 0, f, extra)) return 2;
    const std::string code = extra.count("--code") ? extra["--code"] : "";
    if (code.size() != 1 ||
        !chkIsFreqCode(static_cast<char>(std::tolower(static_cast<unsigned char>(code[0]))))) {
        std::cerr << "--code 应为出版频率代码 a 至 o、u、y 或 z 之一。\n用法: serialsctl "
                  << kPredictUsage << "\n";
        return 2;
    }
    if (f.cfg.beginDate.empty() || f.cfg.endDate.empty()) {
        std::cerr << "必须给出 --begin 和 --end。\n用法: serialsctl " << kPredictUsage << "\n";
        return 2;
    }
    const bool keyed = extra.count("--max-peri-id") > 0;
    const std::string maxKey = keyed ? extra["--max-peri-id"] : "";
    if (!maxKey.empty() && (maxKey.size() > 10 || !allDigits(maxKey))) {
        std::cerr << "--max-peri-id 应为不超过十位的数字：" << maxKey << "\n";
        return 2;
    }
    f.freqCode = static_cast<char>(std::tolower(static_cast<unsigned char>(code[0])));
    // Without a check-in begin date, the one the screen would default to.
    if (f.line.chkBgnDate.empty()) f.line.chkBgnDate = f.cfg.beginDate.substr(0, 4) + "-01-01";
    const ChkPredictInput in = chkPredictInput(f);
    const std::string error = chkValidate(in);
    if (!error.empty()) {
        std::cerr << error << "\n";
        return 1;
    }
    std::cout << (keyed ? "peri_id," : "")
              << "peri_no,cover_vol,cover_issue,cover_issue_total,expect_date,aslack_date,"
                 "publ_year\n";
    for (const ChkVolRow& r : chkPredict(in, maxKey))
        std::cout << (keyed ? r.periId + "," : "") << r.periNo << "," << r.coverVol << ","
                  << r.coverIssue << "," << r.coverIssueTotal << "," << r.expectDate << ","
                  << r.aslackDate << "," << r.publYear << "\n";
    return 0;
}

int config(const std::vector<std::string>& args) {
    if (args.size() < 4) {
        std::cerr << "用法: serialsctl " << kConfigUsage << "\n";
        return 2;
    }
    ChkConfigForm f;
    const int found = intLoadChkConfig({args[0], args[1], args[2]}, args[3], f);
    if (found < 0) {
        LIB_DB_ShowError();
        return 1;
    }
    if (found == 1) {
        std::cerr << "没有该订购明细：" << args[0] << " " << args[1] << " " << args[2] << "\n";
        return 1;
    }
    std::map<std::string, std::string> extra;
    if (!applyOptions(args, 4, f, extra)) return 2;
    if (!extra.empty()) {
        std::cerr << "未知选项: " << extra.begin()->first << "\n";
        return 2;
    }
    if (intSaveChkConfig(f) < 0) return 1;
    std::cout << "已保存签收配置：" << args[2] << " " << f.title << "，" << args[3] << "\n";
    return 0;
}

const char* const kGenerateUsage = "generate --titles N --years Y [--seed S]";

int generate(const std::vector<std::string>& args) {
    GenerateContext ctx;
    std::map<std::string, int*> numbers{{"--titles", &ctx.options.titles},
                                        {"--years", &ctx.options.years}};
    int seed = 1;
    numbers["--seed"] = &seed;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        auto n = numbers.find(args[i]);
        if (n == numbers.end() || i + 1 >= args.size() || !isNumber(args[i + 1])) {
            std::cerr << "用法: serialsctl " << kGenerateUsage << "\n";
            return 2;
        }
        *n->second = std::stoi(args[i + 1]);
    }
    if (ctx.options.titles < 1 || ctx.options.years < 1 || ctx.options.years > 100) {
        std::cerr << "--titles 至少为 1，--years 在 1 至 100 之间。\n";
        return 2;
    }
    ctx.options.seed = static_cast<unsigned>(seed);
    ctx.progress = [](const std::string& step, long long done, long long total) {
        std::cerr << "\r" << step << " " << done << "/" << total << (done == total ? "\n" : "")
                  << std::flush;
    };
    if (GenerateLibrary(ctx) < 0) return 1;
    // The planner has no statistics for the new rows until autovacuum reaches them, and searches
    // on a library just made could run for minutes meanwhile.
    if (LIB_DB_Analyze(ctx.tablesWritten) < 0) {
        LIB_DB_ShowError();
        return 1;
    }
    for (const auto& [table, rows] : ctx.written)
        std::cout << table << "\t" << rows << "\n";
    return 0;
}

}  // namespace

void registerCheckinConfigVerbs() {
    ctlVerbs().push_back({"checkin predict", kPredictUsage,
                          "按出版频率预测期刊卷期（不连接数据库），以 CSV 输出", false, nullptr,
                          predict});
    ctlVerbs().push_back({"checkin config", kConfigUsage,
                          "设置订购明细在订户处的签收配置并预测卷期", true, rights::kCheckIn,
                          config});
    ctlVerbs().push_back({"generate", kGenerateUsage,
                          "生成图书馆规模的测试数据：书目、订购、签收预测与到刊", true,
                          rights::kMaintenance, generate});
}
