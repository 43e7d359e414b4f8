// serialsctl order search: the order manager's search across catalogues, printed as a table or
// as CSV for a spreadsheet or another program.
#include <iostream>

#include "app/ctl/Ctl.h"
#include "db/LibArray.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "ordering/core/OrdSearch.h"
#include "ordering/core/basOrdFunc.h"

const char* const kOrderSearchUsage =
    "order search TEXT [--asord] [--field title|issn|no|publisher] [--from YEAR] [--to YEAR] "
    "[--csv]";

namespace {

int usageError(const std::string& why = "") {
    if (!why.empty()) std::cerr << why << "\n";
    std::cerr << "用法: serialsctl " << kOrderSearchUsage << "\n";
    return 2;
}

std::vector<std::vector<std::string>> hitRows(const OrdSearchQuery& q,
                                              const std::vector<OrdSearchHit>& hits) {
    const bool order = q.kind == OrdSearchKind::Order;
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"发行商", "发行商名称", order ? "年度批次" : "发行年月", "征订号", "刊名",
                    "ISSN", "出版社", "单价", "年价"});
    if (order) {
        rows[0].push_back("订购总数");
        rows[0].push_back("签收状态");
    }
    for (const OrdSearchHit& h : hits) {
        rows.push_back({h.publ, h.publName, h.year, h.asordNo, h.title, h.issn, h.publisher,
                        h.price, h.totalPrice});
        if (order) {
            rows.back().push_back(h.copies);
            rows.back().push_back(strOrdGridText("Status", h.status));
        }
    }
    return rows;
}

}  // namespace

int runOrderSearch(const std::vector<std::string>& args) {
    OrdSearchQuery q;
    bool csv = false;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--asord") {
            q.kind = OrdSearchKind::Asord;
        } else if (a == "--csv") {
            csv = true;
        } else if (a == "--field" && hasValue) {
            if (!OrdSearchFieldFromName(args[++i], q.field))
                return usageError("未知的检索字段：" + args[i]);
        } else if (a == "--from" && hasValue) {
            q.fromYear = args[++i];
        } else if (a == "--to" && hasValue) {
            q.toYear = args[++i];
        } else if (a.rfind("--", 0) == 0) {
            return usageError("未知的选项：" + a);
        } else {
            words.push_back(a);
        }
    }
    for (const std::string& w : words)
        q.text += (q.text.empty() ? "" : " ") + w;
    if (std::string refusal = strOrdSearchRefusal(q); !refusal.empty()) return usageError(refusal);
    std::vector<OrdSearchHit> hits;
    bool more = false;
    if (intOrdSearch(q, hits, more) < 0) {
        LIB_DB_ShowError();
        return 1;
    }
    const auto rows = hitRows(q, hits);
    if (csv) {
        for (const auto& row : rows) {
            std::string line;
            for (std::size_t c = 0; c < row.size(); ++c)
                line += (c ? "," : "") + sqltext::csvField(row[c]);
            std::cout << line << "\r\n";
        }
    } else {
        LibArray table(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()) + 1);
        for (std::size_t c = 0; c < rows[0].size(); ++c) {
            table(static_cast<int>(c), 0) = rows[0][c];
            for (std::size_t r = 1; r < rows.size(); ++r)
                table(static_cast<int>(c), static_cast<int>(r) + 1) = rows[r][c];
        }
        std::cout << LibArrayPrinter::format(table);
    }
    std::cerr << "征订检索结果：" << hits.size() << " 条"
              << (more ? "（只列出前 " + std::to_string(kOrdSearchMaxRows) + " 条，请缩小范围）"
                       : std::string())
              << "\n";
    return 0;
}
