// serialsctl verbs of the order manager: send and cancel a send, check-in progress, the printed
// order list as PDF, the details' spreadsheet, the order mail to the distributor, normalised
// numbers, the title change copy, and copying or moving details to another catalogue.
#include <algorithm>
#include <iostream>

#include "app/ctl/Ctl.h"
#include "common/print/ListPrint.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/OrdListPrint.h"
#include "ordering/core/OrdOutput.h"
#include "ordering/core/OrdRefresh.h"
#include "ordering/core/OrdSend.h"
#include "ordering/core/OrdTransfer.h"
#include "ordering/core/basOrdList.h"

namespace {

int usageError() {
    std::cerr << "用法: serialsctl " << kOrderManagerUsage << "\n";
    return 2;
}

// The named order numbers, or every detail of the catalogue when none is named; false after
// the message when a name is not in the catalogue.
bool pickDetails(const std::string& publ, const std::string& year,
                 const std::vector<std::string>& named, std::vector<std::string>& out) {
    std::vector<OrdDetail> details;
    if (intLoadOrdDetails(publ, year, details) < 0) {
        LIB_DB_ShowError();
        return false;
    }
    out.clear();
    for (const OrdDetail& d : details)
        out.push_back(d.savedAsordNo);
    if (named.empty()) return true;
    for (const std::string& n : named)
        if (std::find(out.begin(), out.end(), n) == out.end()) {
            std::cerr << "征订号 " << n << " 不在该订购目录中\n";
            return false;
        }
    out = named;
    return true;
}

int send(const std::vector<std::string>& args, bool on) {
    if (args.size() < 2) return usageError();
    std::vector<std::string> nos;
    if (!pickDetails(args[0], args[1], {args.begin() + 2, args.end()}, nos)) return 1;
    OrdSendResult r;
    int rc = on ? intSendOrdDetails(args[0], args[1], nos, r)
                : intUnsendOrdDetails(args[0], args[1], nos, r);
    if (rc != 0) return 1;
    std::cout << (on ? "已发订 " : "已取消发订 ") << r.changed.size() << " 条订购明细，目录"
              << (r.catalogueSent ? "已发订" : "未发订") << "\n";
    return 0;
}

int progress(const std::vector<std::string>& args) {
    if (args.size() < 2) return usageError();
    std::vector<std::string> nos;
    if (!pickDetails(args[0], args[1], {args.begin() + 2, args.end()}, nos)) return 1;
    std::vector<OrdChkProgress> rows;
    if (intGetOrdChkProgress(args[0], args[1], nos, rows) < 0) {
        LIB_DB_ShowError();
        return 1;
    }
    for (const OrdChkProgress& p : rows)
        std::cout << p.asordNo << "  " << strOrdChkProgress(p) << "\n";
    return 0;
}

int print(const std::vector<std::string>& args) {
    OrdPrintBy by = OrdPrintBy::Catalogue;
    std::string pdf;
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--by" && i + 1 < args.size()) {
            const std::string v = args[++i];
            if (v == "location")
                by = OrdPrintBy::Location;
            else if (v == "distribution")
                by = OrdPrintBy::Distribution;
            else
                return usageError();
        } else if (args[i] == "--pdf" && i + 1 < args.size()) {
            pdf = args[++i];
        } else {
            return usageError();
        }
    }
    if (args.size() < 2 || pdf.empty()) return usageError();
    PrintSession session;
    QString html;
    if (!ordListHtml(args[0], args[1], by, html)) {
        LIB_DB_ShowError();
        return 1;
    }
    if (!printedListToPdf(html, QString::fromStdString(pdf))) {
        std::cerr << "写入文件失败 " << pdf << "\n";
        return 1;
    }
    std::cout << "已写入 " << pdf << "\n";
    return 0;
}

int exportSheet(const std::vector<std::string>& args) {
    if (args.size() != 4 || args[2] != "--xlsx") return usageError();
    std::string error;
    if (intWriteOrdSheet(args[0], args[1], args[3], error) < 0) {
        std::cerr << error << "\n";
        return 1;
    }
    std::cout << "已写入 " << args[3] << "\n";
    return 0;
}

int mail(const std::vector<std::string>& args) {
    if (args.size() != 2) return usageError();
    SupplierMail m;
    if (intPrepareOrdMail(args[0], m) < 0) {
        LIB_DB_ShowError();
        return 1;
    }
    if (std::string problem = mailProblem(m); !problem.empty()) {
        LIB_ShowMsg("E" + problem);
        return 1;
    }
    std::string error;
    if (intSendOrdMail(args[0], args[1], m, error) < 0) {
        LIB_ShowMsg("E" + error);
        return 1;
    }
    LIB_ShowMsg("I 发送邮件成功！");
    return 0;
}

// Each detail is its own transaction: a failure stops the run with the earlier ones kept.
int refresh(const std::vector<std::string>& args) {
    const bool freq = args.size() == 6 && args[5] == "--freq";
    if ((args.size() != 5 && !freq) || args[2] != "--from") return usageError();
    std::vector<AsordPair> pairs;
    if (intPairWithAsord(args[0], args[1], args[3], args[4], pairs) < 0) {
        LIB_DB_ShowError();
        return 1;
    }
    if (freq && intRefreshOrdFreqs(args[0], args[1], pairs) < 0) return 1;
    for (const AsordPair& p : pairs)
        if (!freq && intUpdateOrdPrice(args[0], args[1], p.ordAsordNo, p.price, p.sumPrice) < 0)
            return 1;
    std::cout << pairs.size() << " 条订购明细与征订目录对应\n";
    LIB_ShowMsg(freq ? "I完成频率刷新操作！" : "I完成价格刷新操作！");
    return 0;
}

int standard(const std::vector<std::string>& args) {
    if (args.size() < 2) return usageError();
    std::vector<std::string> nos;
    if (!pickDetails(args[0], args[1], {args.begin() + 2, args.end()}, nos)) return 1;
    std::vector<std::pair<std::string, std::string>> written;
    if (intStandardOrdNumbers(args[0], args[1], nos, written) < 0) return 1;
    for (const auto& [no, formatted] : written)
        std::cout << no << "  " << formatted << "\n";
    std::cout << "已规范 " << written.size() << " 条征订号\n";
    return 0;
}

int rename(const std::vector<std::string>& args) {
    if (args.size() != 3) return usageError();
    OrdRenameResult r;
    if (intRenameOrdDetail(args[0], args[1], args[2], r) < 0) return 1;
    std::cout << "已改名复制为 " << r.asordNo << "，新书目记录 " << r.marcNo << "\n";
    return 0;
}

// PUBL BATCH [ASORDNO...] --to PUBL BATCH; no number: the whole catalogue.
int transfer(const std::vector<std::string>& args, OrdXferMode mode) {
    auto to = std::find(args.begin(), args.end(), "--to");
    if (args.size() < 5 || to == args.end() || args.end() - to != 3 || to - args.begin() < 2)
        return usageError();
    std::vector<std::string> nos;
    if (!pickDetails(args[0], args[1], {args.begin() + 2, to}, nos)) return 1;
    OrdXferResult r;
    if (intTransferOrdDetails(args[0], args[1], nos, *(to + 1), *(to + 2), mode, r) < 0) return 1;
    std::cout << (mode == OrdXferMode::Move ? "已移动 " : "已复制 ") << r.copied.size()
              << " 条订购明细到 " << *(to + 1) << " " << *(to + 2) << "，已存在而跳过 "
              << r.existing.size() << " 条\n";
    return 0;
}

}  // namespace

const char* const kOrderManagerUsage =
    "order send|unsend|progress PUBL BATCH [ASORDNO...] | order print PUBL BATCH [--by "
    "location|distribution] --pdf FILE | order export PUBL BATCH --xlsx FILE | order mail PUBL "
    "BATCH | order refresh-prices PUBL BATCH --from PUBL YEARMONTH [--freq] | order standard PUBL "
    "BATCH [ASORDNO...] | order rename PUBL BATCH ASORDNO | order move|copy PUBL BATCH "
    "[ASORDNO...] --to PUBL BATCH";

int runOrderManagerVerb(const std::string& verb, const std::vector<std::string>& args) {
    if (verb == "send") return send(args, true);
    if (verb == "unsend") return send(args, false);
    if (verb == "progress") return progress(args);
    if (verb == "print") return print(args);
    if (verb == "export") return exportSheet(args);
    if (verb == "mail") return mail(args);
    if (verb == "refresh-prices") return refresh(args);
    if (verb == "standard") return standard(args);
    if (verb == "rename") return rename(args);
    if (verb == "move") return transfer(args, OrdXferMode::Move);
    if (verb == "copy") return transfer(args, OrdXferMode::Copy);
    return -1;
}
