// File dialogs that open where the operator last saved or opened a file of the same kind (the
// Documents folder the first time), suggest a name and add the extension when it is left off.
#pragma once

#include <QString>

class QWidget;

// `kind` names the kind of file ("orderfile", "export"); `filter` is a Qt filter such as
// "订购断点文件 (*.csv)", whose first pattern gives the extension. Empty when cancelled.
QString LIB_SaveFileName(QWidget* parent, const QString& caption, const QString& kind,
                         const QString& suggestedName, const QString& filter);
QString LIB_OpenFileName(QWidget* parent, const QString& caption, const QString& kind,
                         const QString& filter);

// The folder a dialog of that kind opens in.
QString LIB_FileFolder(const QString& kind);
// `path` with the filter's extension when it has none.
QString LIB_WithExtension(const QString& path, const QString& filter);
