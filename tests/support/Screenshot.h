// Pictures of a screen for a person to look at: with SERIALS_SCREENSHOT_DIR set, the widget is
// drawn at 1280×800 and at 1920×1080 into NAME-WxH.png there. Nothing happens otherwise.
#pragma once

#include <QApplication>
#include <QString>
#include <QWidget>
#include <cstdlib>

inline void saveScreenshots(QWidget& w, const QString& name) {
    const char* dir = std::getenv("SERIALS_SCREENSHOT_DIR");
    if (!dir) return;
    const QSize before = w.size();
    for (const QSize& size : {QSize(1280, 800), QSize(1920, 1080)}) {
        w.resize(size);
        QApplication::processEvents();
        w.grab().save(
            QString("%1/%2-%3x%4.png").arg(dir, name).arg(size.width()).arg(size.height()));
    }
    w.resize(before);
}
