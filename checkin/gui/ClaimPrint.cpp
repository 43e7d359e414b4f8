#include "checkin/gui/ClaimPrint.h"

#include <map>

#include "common/print/ListPrint.h"
#include "common/OperatorState.h"

QString claimListHtml(const std::vector<ClaimCandidate>& rows, const QString& claimDate,
                      bool newClaim) {
    std::map<std::string, PrintSection> bySupplier;
    std::map<std::string, int> copies;
    for (const ClaimCandidate& c : rows) {
        PrintSection& s = bySupplier[c.publCode];
        s.heading = "催缺日期：" + claimDate + "    发行商：" + QString::fromStdString(c.publCode);
        QStringList cells;
        for (const std::string& cell :
             claimListRow(c, claimDate.toStdString(), g_strWkrNo, newClaim))
            cells << QString::fromStdString(cell);
        s.rows.push_back(cells);
        copies[c.publCode] += c.qty;
    }
    std::vector<PrintSection> sections;
    for (auto& [publ, s] : bySupplier) {
        s.total = QString("总计：%1 期 %2 本").arg(s.rows.size()).arg(copies[publ]);
        sections.push_back(std::move(s));
    }
    QStringList columns;
    for (const std::string& h : claimListHeaders())
        columns << QString::fromStdString(h);
    return printedListHtml("期刊催缺单", columns, sections, printedByFooter());
}
