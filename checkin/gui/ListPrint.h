// Printed lists of the check-in screens (claim list, hand-over list): a title, sections with
// their heading, rows and total, and a footer, shown in print preview or written to PDF.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QWidget;

struct PrintSection {
    QString heading;
    std::vector<QStringList> rows;
    QString total;
};

// The footer every list carries: "制表日期：" today, "制表人员：" the operator.
QString printedByFooter();
QString printedListHtml(const QString& title, const QStringList& columns,
                        const std::vector<PrintSection>& sections, const QString& footer);
// Writes the list to a PDF file (A4 landscape); false when nothing could be written.
bool printedListToPdf(const QString& html, const QString& path);
void printedListPreview(const QString& html, QWidget* parent);
