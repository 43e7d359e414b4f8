#include "common/print/ListPrint.h"

#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include "common/OperatorState.h"
#include "common/basQKEnv.h"

QString printedByFooter() {
    return "制表日期：" + QString::fromStdString(LIB_GetSysInfo(1).str()).left(10).toHtmlEscaped() +
           "&nbsp;&nbsp;&nbsp;&nbsp;制表人员：" +
           QString::fromStdString(g_strWkrNo).toHtmlEscaped();
}

QString printedListHtml(const QString& title, const QStringList& columns,
                        const std::vector<PrintSection>& sections, const QString& footer) {
    QString h = "<html><body style='font-size:8pt'>";
    bool first = true;
    for (const PrintSection& s : sections) {
        if (!first) h += "<p style='page-break-before:always'></p>";
        first = false;
        h += "<h2 align=center>" + title.toHtmlEscaped() + "</h2><p>" + s.heading.toHtmlEscaped() +
             "</p><table border=1 cellspacing=0 cellpadding=2 width=100%><tr>";
        for (const QString& c : columns)
            h += "<th>" + c.toHtmlEscaped() + "</th>";
        h += "</tr>";
        for (const QStringList& row : s.rows) {
            h += "<tr>";
            for (const QString& cell : row)
                h += "<td>" + cell.toHtmlEscaped() + "</td>";
            h += "</tr>";
        }
        h += "</table><p>" + s.total.toHtmlEscaped() + "</p><p>" + footer + "</p>";
    }
    return h + "</body></html>";
}

bool printedListToPdf(const QString& html, const QString& path) {
    QFile::remove(path);
    {
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        QTextDocument doc;
        doc.setHtml(html);
        doc.print(&pdf);
    }
    return QFile(path).size() > 0;
}

PrintSession::PrintSession() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "serialsctl";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = new QGuiApplication(argc, argv);
}

PrintSession::~PrintSession() {
    delete app_;
}
