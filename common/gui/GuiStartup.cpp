#include "common/gui/GuiStartup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "common/gui/StdKeys.h"

bool LIB_LoadQtChinese(QApplication& app) {
    auto* qt = new QTranslator(&app);
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!qt->load(QLocale(QLocale::Chinese, QLocale::China), "qt", "_", dir)) {
        delete qt;
        return false;
    }
    QApplication::installTranslator(qt);
    return true;
}

void LIB_InitGuiApplication(QApplication& app) {
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    LIB_LoadQtChinese(app);
    LIB_ApplyFocusStyle(app);
}
