// serials: the desktop client.
#include <QScreen>

#include "app/SerialsApplication.h"
#include "app/basQKMain.h"
#include "app/basQKRegister.h"
#include "app/frmMain.h"
#include "app/frmQKLogo.h"
#include "common/basQKEnv.h"
#include "common/gui/GuiPresenter.h"
#include "common/gui/GuiStartup.h"

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--home") LIB_SetProgramDir(argv[i + 1]);
    SerialsApplication app(argc, argv);
    LIB_RegisterProcedures();
    QApplication::setApplicationName("serials");
    LIB_InitGuiApplication(app);
    GuiPresenter presenter;
    LIB_SetPresenter(&presenter);

    frmQKLogo logo;
    frmMain* mainWindow = nullptr;
    QObject::connect(&logo, &frmQKLogo::loggedIn, [&](bool) {
        // One main window for the whole run: a new login refreshes it.
        if (mainWindow) {
            mainWindow->refreshOperator();
            return;
        }
        mainWindow = new frmMain;
        mainWindow->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(mainWindow, &frmMain::reloginRequested, [&] {
            logo.enterReloginMode();
            logo.show();
            logo.raise();
            logo.activateWindow();
        });
        mainWindow->showMaximized();
    });
    logo.adjustSize();
    if (QScreen* screen = QApplication::primaryScreen())
        logo.move(screen->availableGeometry().center() - logo.rect().center());
    logo.show();
    QApplication::processEvents();
    QK_Main(logo);
    return app.exec();
}
