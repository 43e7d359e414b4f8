// serialsctl verbs of the order manager: send and cancel a send, check-in progress.
#include <algorithm>
#include <iostream>

#include "app/ctl/Ctl.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/OrdSend.h"
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

}  // namespace

const char* const kOrderManagerUsage = "order send|unsend|progress PUBL BATCH [ASORDNO...]";

int runOrderManagerVerb(const std::string& verb, const std::vector<std::string>& args) {
    if (verb == "send") return send(args, true);
    if (verb == "unsend") return send(args, false);
    if (verb == "progress") return progress(args);
    return -1;
}
