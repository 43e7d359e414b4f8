// Printed lists (claim list, hand-over list, order list, binding list, reports): a title,
// sections with their heading, rows and total, and a footer, written to PDF here and shown in
// print preview by common/gui/PrintPreview.h. Needs Qt Gui only, so serialsctl can write PDFs.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

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

// Rendering needs a QGuiApplication; a command-line program without one opens an offscreen one
// for as long as this object lives. Inside the client it does nothing.
class PrintSession {
public:
    PrintSession();
    ~PrintSession();
    PrintSession(const PrintSession&) = delete;
    PrintSession& operator=(const PrintSession&) = delete;

private:
    class QGuiApplication* app_ = nullptr;
};
