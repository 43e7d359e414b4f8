#include "ordering/core/OrdListPrint.h"

#include "common/print/ListPrint.h"
#include "db/basLibDB.h"

bool ordListHtml(const std::string& publ, const std::string& year, OrdPrintBy by, QString& html) {
    std::vector<OrdPrintGroup> groups;
    if (intGetOrdPrintGroups(publ, year, by, groups) < 0) return false;
    // An empty catalogue still prints its heading and zero counts.
    if (groups.empty() && by == OrdPrintBy::Catalogue) groups.push_back({});
    LibArray name;
    if (LIB_DB_Select("SELECT publ_name FROM publish_busi WHERE publ_code=" + LIB_SqlStr(publ),
                      name) < 0)
        return false;
    const std::string publName = name.recordCount() ? name(0, 2).str() : "";
    std::vector<PrintSection> sections;
    for (const OrdPrintGroup& g : groups) {
        PrintSection s;
        s.heading = QString::fromStdString(
            strOrdPrintHeading(publName.empty() ? publ : publName, year, by, g.place));
        for (const OrdPrintRow& r : g.rows) {
            QStringList cells;
            for (const std::string& c : OrdPrintCells(r))
                cells << QString::fromStdString(c);
            s.rows.push_back(cells);
        }
        s.total = QString::fromStdString(strOrdPrintFooter(OrdPrintSum(g)));
        sections.push_back(std::move(s));
    }
    QStringList columns;
    for (const std::string& c : OrdPrintColumns())
        columns << QString::fromStdString(c);
    html = printedListHtml("期刊订购清单", columns, sections, printedByFooter());
    return true;
}
