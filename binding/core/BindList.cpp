#include "binding/core/BindList.h"

#include "common/print/ListPrint.h"

namespace {

QString s(const std::string& v) {
    return QString::fromStdString(v);
}

QString money(double v) {
    return QString::number(v, 'f', 2);
}

QString esc(const std::string& v) {
    return s(v).toHtmlEscaped();
}

// One slip on a page of its own; `page` counts the slips.
QString slipHtml(const BindRecord& r, const QString& binder, int page) {
    const std::vector<std::pair<const char*, QString>> rows{{"装订号", esc(r.bindNo)},
                                                            {"装订名", esc(r.bindName)},
                                                            {"书脊题名", esc(r.title)},
                                                            {"起止年度", esc(r.bgnEndYear)},
                                                            {"起止卷期", esc(r.bgnEndVol)},
                                                            {"期数", QString::number(r.qtyOfBind)},
                                                            {"开本", esc(r.bookSize)},
                                                            {"颜色", esc(r.color)},
                                                            {"装帧", esc(r.frame)},
                                                            {"索书号", esc(r.callNo)},
                                                            {"财产号", esc(r.propNo)},
                                                            {"合订本价格", money(r.boundEditPrice)},
                                                            {"装订价格", money(r.boundPrice)},
                                                            {"备注", esc(r.remark)}};
    QString h = "<p style='page-break-before:always'></p><h2 align=center>随书单</h2><p>装订商：" +
                binder.toHtmlEscaped() + "&nbsp;&nbsp;&nbsp;&nbsp;装订批次：" + esc(r.batchNo) +
                "</p><table border=1 cellspacing=0 cellpadding=4 width=60%>";
    for (const auto& [caption, value] : rows)
        h +=
            QString("<tr><th align=left width=30%>") + caption + "</th><td>" + value + "</td></tr>";
    return h + "</table><p align=right>" + QString("第 %1 页").arg(page) + "</p>";
}

}  // namespace

QString bindListHtml(const std::vector<BindRecord>& records,
                     const std::map<std::string, std::string>& binderNames) {
    auto binderName = [&](const std::string& code) {
        auto it = binderNames.find(code);
        return it == binderNames.end() ? s(code) : s(it->second);
    };
    std::vector<PrintSection> sections;
    std::string binder, batch;
    double value = 0, charge = 0;
    auto closeSection = [&] {
        if (sections.empty()) return;
        sections.back().total = QString("合计：%1 册    合订本价格：%2    装订价格：%3")
                                    .arg(sections.back().rows.size())
                                    .arg(money(value), money(charge));
    };
    for (const BindRecord& r : records) {
        if (sections.empty() || r.binder != binder || r.batchNo != batch) {
            closeSection();
            binder = r.binder;
            batch = r.batchNo;
            value = charge = 0;
            sections.push_back(
                {"装订商：" + binderName(binder) + "    装订批次：" + s(batch), {}, {}});
        }
        sections.back().rows.push_back({s(r.bindNo), s(r.bindName), s(r.title), s(r.bgnEndYear),
                                        s(r.bgnEndVol), s(r.callNo), money(r.boundEditPrice),
                                        money(r.boundPrice)});
        value += r.boundEditPrice;
        charge += r.boundPrice;
    }
    closeSection();
    QString html = printedListHtml("期刊装订清单",
                                   {"装订号", "装订名", "书脊题名", "起止年度", "起止卷期",
                                    "索书号", "合订本价格", "装订价格"},
                                   sections, printedByFooter());
    QString slips;
    int page = 0;
    for (const BindRecord& r : records)
        slips += slipHtml(r, binderName(r.binder), ++page);
    return html.replace("</body></html>", slips + "</body></html>");
}

int intBindListHtml(const std::string& binder, const std::string& batchNo, QString& html) {
    std::vector<BindRecord> records;
    std::vector<CodeName> binders;
    if (intListBindRecords(binder, batchNo, records) < 0 || intListBinders(binders) < 0) return -1;
    std::map<std::string, std::string> names;
    for (const CodeName& b : binders)
        names[b.code] = b.name;
    html = bindListHtml(records, names);
    return 0;
}
