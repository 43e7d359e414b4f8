// serialsctl verbs of ordering: list catalogues, show a catalogue's details with their lines,
// import an order file (same validation and save as the order list) or a review file (as the
// pre-order list takes it), delete a catalogue or some of its details.
#include <algorithm>
#include <iostream>

#include "app/ctl/Ctl.h"
#include "common/RightCodes.h"
#include "common/basCodeFunc.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/OrdAsord.h"
#include "ordering/core/OrdBatch.h"
#include "ordering/core/OrdRenew.h"
#include "ordering/core/basOrdFile.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/core/basOrdList.h"

namespace {

const char* const kUsage =
    "order catalogues [--year YYYY|YYYYNN] | order show PUBL BATCH | order import FILE | "
    "order review-import PUBL YEARMONTH FILE | "
    "order delete PUBL BATCH [ASORDNO...] | "
    "order renew --from YYYY (--to YYYY|--into YYYYNN) [--types 0,1,2,3] [--offered] "
    "[--existing ask|keep|replace] [--on-error next|stop] PUBL... | "
    "order batch --list | order batch PUBL BATCH [--new] --subscriber LOC --fund CODE "
    "--copies N [--check-in --dist LOC:N[:LABEL]...] DOCID...";

int usageError() {
    std::cerr << "用法: serialsctl " << kUsage << " | " << kOrderManagerUsage << " | "
              << kOrderSearchUsage << "\n";
    return 2;
}

int catalogues(const std::vector<std::string>& args) {
    std::string from, to;
    if (args.size() == 2 && args[0] == "--year") {
        from = to = args[1];
        if (args[1].size() == 4) {
            from += "00";
            to += "99";
        }
    } else if (!args.empty()) {
        return usageError();
    }
    LibArray rows;
    if (intGetOrdCata(from, to, rows) < 0) {
        LIB_DB_ShowError();
        return 1;
    }
    const char* names[] = {"发行商", "发行商名称", "年度批次", "订购日期", "发订", "明细数"};
    for (int c = 0; c < rows.cols() && c < 6; ++c)
        rows(c, 0) = names[c];
    for (int r = 2; r < rows.rows(); ++r)
        rows(4, r) = rows(4, r).str() == "1" ? "已发订" : "未发订";
    std::cout << LibArrayPrinter::format(rows);
    return 0;
}

int show(const std::vector<std::string>& args) {
    if (args.size() != 2) return usageError();
    std::vector<OrdDetail> details;
    if (intLoadOrdDetails(args[0], args[1], details) < 0) {
        LIB_DB_ShowError();
        return 1;
    }
    for (const OrdDetail& d : details) {
        std::cout << d.asordNo << "  " << d.title << "  [" << strOrderStateName(d.status) << "，"
                  << strPeriStatusName(d.periType) << "，" << strSubKindName(d.newFlag) << "]\n"
                  << "    记录号 " << d.marcNo << "，" << strOrdGridText("GetMode", d.getMode)
                  << "，" << d.publFreq << "，" << strOrdGridText("Carrier", d.carrier) << "，单价 "
                  << d.price << " 年价 " << d.totalPrice << " "
                  << strOrdGridText("MoneyType", d.moneyType) << "，订购总数 " << d.sumCopies
                  << (d.remark.empty() ? "" : "，" + d.remark) << "\n";
        for (const OrdSubscriber& s : d.subs) {
            std::cout << "    订户 " << LIB_LocationName(s.location) << " (" << s.location << ") "
                      << s.count << " 份，" << (s.chkFlag == "1" ? "签收" : "不签收")
                      << (s.region.empty() ? "" : "，" + s.region) << "\n";
            for (const OrdFundLine& f : s.funds)
                std::cout << "      经费 " << LIB_CodeName(g_arrFundSrc, f.fundSrc) << " ("
                          << f.fundSrc << ") " << f.qty << " 份 " << f.amount << "\n";
            for (const OrdDistLine& t : s.dists)
                std::cout << "      分配 " << LIB_LocationName(t.distLoca) << " (" << t.distLoca
                          << ") " << t.qty << " 份" << (t.label.empty() ? "" : " " + t.label)
                          << "\n";
        }
    }
    std::cout << "共 " << details.size() << " 种\n";
    return 0;
}

int import(const std::vector<std::string>& args) {
    if (args.size() != 1) return usageError();
    int saved = 0;
    std::vector<std::string> skipped;
    std::string error;
    if (intImportOrdFile(args[0], saved, skipped, error) < 0) {
        std::cerr << error << "\n";
        return 1;
    }
    for (const std::string& s : skipped)
        std::cerr << "未保存：" << s << "\n";
    std::cout << "已保存 " << saved << " 条订购明细，跳过 " << skipped.size() << " 条\n";
    return skipped.empty() ? 0 : 1;
}

// A distributor's review file into its pre-order catalogue, as the pre-order list takes it.
int reviewImport(const std::vector<std::string>& args) {
    if (args.size() != 3) return usageError();
    AsordImportResult result;
    if (intImportAsordFile(args[0], args[1], args[2], result) < 0) return 1;
    std::cout << strAsordImportReport(result) << "\n";
    return 0;
}

int remove(const std::vector<std::string>& args) {
    if (args.size() < 2) return usageError();
    if (args.size() == 2) return intDeleteOrdCata(args[0], args[1]) == 0 ? 0 : 1;
    std::vector<OrdDetail> details;
    if (intLoadOrdDetails(args[0], args[1], details) < 0) {
        LIB_DB_ShowError();
        return 1;
    }
    std::vector<std::string> keys;
    for (std::size_t i = 2; i < args.size(); ++i) {
        auto it = std::find_if(details.begin(), details.end(),
                               [&](const OrdDetail& d) { return d.savedAsordNo == args[i]; });
        if (it == details.end()) {
            std::cerr << "征订号 " << args[i] << " 不在该订购目录中\n";
            return 1;
        }
        keys.push_back(it->key);
    }
    return intDeleteOrdDetails(keys) == 0 ? 0 : 1;
}

// The renewal screen's choices as options; distributors are the remaining arguments.
bool renewOptions(const std::vector<std::string>& args, RenewOptions& o) {
    o.normal = o.renamed = true;
    o.ceased = o.stopped = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--offered") {
            o.onlyOffered = true;
        } else if (!a.starts_with("--")) {
            o.publs.push_back(a);
        } else if (!hasValue) {
            return false;
        } else if (a == "--from") {
            o.sourceYear = args[++i];
        } else if (a == "--to") {
            o.byYear = true;
            o.newYear = args[++i];
        } else if (a == "--into") {
            o.byYear = false;
            o.newCata = args[++i];
        } else if (a == "--types") {
            const std::string& t = args[++i];
            if (t.find_first_not_of("0123,") != std::string::npos) return false;
            o.normal = t.find('0') != std::string::npos;
            o.renamed = t.find('1') != std::string::npos;
            o.ceased = t.find('2') != std::string::npos;
            o.stopped = t.find('3') != std::string::npos;
        } else if (a == "--existing") {
            const std::string& v = args[++i];
            if (v != "ask" && v != "keep" && v != "replace") return false;
            o.existing = v == "ask"    ? RenewAnswer::Ask
                         : v == "keep" ? RenewAnswer::Keep
                                       : RenewAnswer::Replace;
        } else if (a == "--on-error") {
            const std::string& v = args[++i];
            if (v != "next" && v != "stop") return false;
            o.onError = v == "stop" ? RenewOnError::StopRun : RenewOnError::NextDistributor;
        } else {
            return false;
        }
    }
    return true;
}

int renew(const std::vector<std::string>& args) {
    RenewOptions o;
    if (!renewOptions(args, o)) return usageError();
    RenewResult result;
    int lastPercent = -1;
    int rc = intRenewOrders(o, result, [&](const RenewProgress& p) {
        int percent = p.total > 0 ? p.done * 100 / p.total : 100;
        if (percent / 10 != lastPercent / 10)
            std::cerr << p.text << "  " << p.done << "/" << p.total << "\n";
        lastPercent = percent;
        return true;
    });
    if (rc == 1) return 1;
    std::cout << "续订目录 " << result.catalogues << " 个，复制订购明细 " << result.copied
              << " 条，保留原有 " << result.kept << " 条，出错目录 " << result.failed
              << " 个\n日志：" << strRenewLogPath() << "\n";
    return rc == 0 ? 0 : 1;
}

// Intake records turned into order details; "--list" shows the records not yet ordered.
int batch(const std::vector<std::string>& args) {
    if (args.size() == 1 && args[0] == "--list") {
        LibArray rows;
        if (intGetBatchOrdRecords(rows) < 0) {
            LIB_DB_ShowError();
            return 1;
        }
        std::cout << LibArrayPrinter::format(rows);
        return 0;
    }
    if (args.size() < 2) return usageError();
    BatchOrdRequest r;
    r.publ = args[0];
    r.year = args[1];
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--new") {
            r.newCata = true;
        } else if (a == "--check-in") {
            r.checkIn = true;
        } else if (!a.starts_with("--")) {
            r.docIds.push_back(a);
        } else if (!hasValue) {
            return usageError();
        } else if (a == "--subscriber") {
            r.subscriber = args[++i];
        } else if (a == "--fund") {
            r.fundSrc = args[++i];
        } else if (a == "--copies") {
            r.counts = args[++i];
        } else if (a == "--dist") {
            std::vector<std::string> parts = LIB_Split(args[++i], ":");
            if (parts.size() < 2 || parts.size() > 3) return usageError();
            r.dists.push_back({parts[0], parts[1], parts.size() == 3 ? parts[2] : ""});
        } else {
            return usageError();
        }
    }
    BatchOrdResult result;
    const int rc = intBatchOrder(r, result);
    if (rc == 1) return 1;
    std::cout << "已订购 " << result.ordered << " 条，未订购 " << result.failed << " 条\n日志："
              << result.logPath << "\n";
    return rc == 0 ? 0 : 1;
}

int order(const std::vector<std::string>& args) {
    if (args.empty()) return usageError();
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "catalogues") return catalogues(rest);
    if (args[0] == "show") return show(rest);
    if (args[0] == "import") return import(rest);
    if (args[0] == "review-import") return reviewImport(rest);
    if (args[0] == "delete") return remove(rest);
    if (args[0] == "renew") return renew(rest);
    if (args[0] == "batch") return batch(rest);
    if (args[0] == "search") return runOrderSearch(rest);
    if (int rc = runOrderManagerVerb(args[0], rest); rc >= 0) return rc;
    return usageError();
}

}  // namespace

void registerOrderVerbs() {
    ctlVerbs().push_back(
        {"order", kUsage,
         "订购目录与订购明细：列出目录、显示明细、导入订购文件或征订文件、删除目录或明细、续订、"
         "批量订购",
         true, rights::kOrdering, order});
}
