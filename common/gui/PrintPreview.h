// Print preview of a printed list (common/print/ListPrint.h) for the screens.
#pragma once

#include <QString>

class QWidget;

void printedListPreview(const QString& html, QWidget* parent);
