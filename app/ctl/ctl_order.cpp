// serialsctl verbs of ordering: list catalogues, show a catalogue's details with their lines,
// import an order file (same validation and save as the order list), delete a catalogue or
// some of its details.
#include <algorithm>
#include <iostream>

#include "app/ctl/Ctl.h"
#include "common/RightCodes.h"
#include "common/basCodeFunc.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/basOrdFile.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/core/basOrdList.h"

namespace {

const char* const kUsage =
    "order catalogues [--year YYYY|YYYYNN] | order show PUBL BATCH | order import FILE | "
    "order delete PUBL BATCH [ASORDNO...]";

int usageError() {
    std::cerr << "用法: serialsctl " << kUsage << " | " << kOrderManagerUsage << "\n";
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

int order(const std::vector<std::string>& args) {
    if (args.empty()) return usageError();
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "catalogues") return catalogues(rest);
    if (args[0] == "show") return show(rest);
    if (args[0] == "import") return import(rest);
    if (args[0] == "delete") return remove(rest);
    if (int rc = runOrderManagerVerb(args[0], rest); rc >= 0) return rc;
    return usageError();
}

}  // namespace

void registerOrderVerbs() {
    ctlVerbs().push_back({"order", kUsage,
                          "订购目录与订购明细：列出目录、显示明细、导入订购文件、删除目录或明细",
                          true, rights::kOrdering, order});
}
