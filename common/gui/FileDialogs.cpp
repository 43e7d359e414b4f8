#include "common/gui/FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include "common/gui/LayoutMemory.h"

namespace {

QString folderKey(const QString& kind) {
    return "files/" + kind;
}

void rememberFolder(const QString& kind, const QString& path) {
    if (!path.isEmpty()) LIB_SetLayoutValue(folderKey(kind), QFileInfo(path).absolutePath());
}

}  // namespace

QString LIB_FileFolder(const QString& kind) {
    QString dir = LIB_LayoutValue(folderKey(kind)).toString();
    if (!dir.isEmpty() && QDir(dir).exists()) return dir;
    dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(dir).exists() ? dir : QDir::homePath();
}

QString LIB_WithExtension(const QString& path, const QString& filter) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    QRegularExpressionMatch m = QRegularExpression("\\*\\.(\\w+)").match(filter);
    return m.hasMatch() ? path + "." + m.captured(1) : path;
}

QString LIB_SaveFileName(QWidget* parent, const QString& caption, const QString& kind,
                         const QString& suggestedName, const QString& filter) {
    const QString start = QDir(LIB_FileFolder(kind)).filePath(suggestedName);
    // Overwriting is asked by the caller in the system's own words.
    QString path = QFileDialog::getSaveFileName(parent, caption, start, filter, nullptr,
                                                QFileDialog::DontConfirmOverwrite);
    path = LIB_WithExtension(path, filter);
    rememberFolder(kind, path);
    return path;
}

QString LIB_OpenFileName(QWidget* parent, const QString& caption, const QString& kind,
                         const QString& filter) {
    QString path = QFileDialog::getOpenFileName(parent, caption, LIB_FileFolder(kind), filter);
    rememberFolder(kind, path);
    return path;
}
