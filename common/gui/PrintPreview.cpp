#include "common/gui/PrintPreview.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

void printedListPreview(const QString& html, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog preview(&printer, parent);
    QTextDocument doc;
    doc.setHtml(html);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&doc](QPrinter* p) { doc.print(p); });
    preview.exec();
}
