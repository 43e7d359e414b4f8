#include "checkin/gui/ClaimPrint.h"

#include <QDate>
#include <QFile>
#include <QMap>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <memory>

#include "common/OperatorState.h"
#include "common/basQKEnv.h"

namespace {

QString esc(const std::string& s) {
    return QString::fromStdString(s).toHtmlEscaped();
}

QString section(const QString& publ, const std::vector<const ClaimCandidate*>& rows,
                const QString& claimDate, bool newClaim) {
    QString h = "<h2 align=center>期刊催缺单</h2><p>催缺日期：" + claimDate.toHtmlEscaped() +
                "&nbsp;&nbsp;&nbsp;&nbsp;发行商：" + publ.toHtmlEscaped() +
                "</p><table border=1 cellspacing=0 cellpadding=2 width=100%><tr>";
    for (const std::string& c : claimListHeaders())
        h += "<th>" + esc(c) + "</th>";
    h += "</tr>";
    int copies = 0;
    for (const ClaimCandidate* c : rows) {
        h += "<tr>";
        for (const std::string& cell :
             claimListRow(*c, claimDate.toStdString(), g_strWkrNo, newClaim))
            h += "<td>" + esc(cell) + "</td>";
        h += "</tr>";
        copies += c->qty;
    }
    h += QString("</table><p>总计：%1 期 %2 本</p>").arg(rows.size()).arg(copies);
    h += "<p>制表日期：" +
         QString::fromStdString(LIB_GetSysInfo(1).str()).left(10).toHtmlEscaped() +
         "&nbsp;&nbsp;&nbsp;&nbsp;制表人员：" + esc(g_strWkrNo) + "</p>";
    return h;
}

}  // namespace

QTextDocument* claimListDocument(const std::vector<ClaimCandidate>& rows, const QString& claimDate,
                                 bool newClaim, QObject* parent) {
    QMap<QString, std::vector<const ClaimCandidate*>> bySupplier;
    for (const ClaimCandidate& c : rows)
        bySupplier[QString::fromStdString(c.publCode)].push_back(&c);
    QString html = "<html><body style='font-size:8pt'>";
    bool first = true;
    for (auto it = bySupplier.cbegin(); it != bySupplier.cend(); ++it) {
        if (!first) html += "<p style='page-break-before:always'></p>";
        html += section(it.key(), it.value(), claimDate, newClaim);
        first = false;
    }
    auto* doc = new QTextDocument(parent);
    doc->setHtml(html + "</body></html>");
    return doc;
}

bool claimListToPdf(const std::vector<ClaimCandidate>& rows, const QString& claimDate,
                    bool newClaim, const QString& path) {
    QFile::remove(path);
    {
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setTitle("期刊催缺单");
        std::unique_ptr<QTextDocument> doc(claimListDocument(rows, claimDate, newClaim, nullptr));
        doc->print(&pdf);
    }
    return QFile(path).size() > 0;
}

void claimListPreview(const std::vector<ClaimCandidate>& rows, const QString& claimDate,
                      bool newClaim, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog preview(&printer, parent);
    QTextDocument* doc = claimListDocument(rows, claimDate, newClaim, &preview);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [doc](QPrinter* p) { doc->print(p); });
    preview.exec();
}
