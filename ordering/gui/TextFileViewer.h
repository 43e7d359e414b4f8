// A read-only window on a text file (run logs, batch logs), opened from the screen that wrote it.
#pragma once

#include <QDialog>

class QPlainTextEdit;

class TextFileViewer : public QDialog {
    Q_OBJECT
public:
    TextFileViewer(const QString& title, const QString& path, QWidget* parent = nullptr);
    QPlainTextEdit* txtContent = nullptr;
};
