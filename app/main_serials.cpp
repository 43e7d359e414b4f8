// serials: the desktop client.
#include <QApplication>
#include <QScreen>

#include "app/GuiPresenter.h"
#include "app/basQKEnv.h"
#include "app/basQKMain.h"
#include "app/basQKRegister.h"
#include "app/frmQKLogo.h"

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--home") LIB_SetProgramDir(argv[i + 1]);
    QApplication app(argc, argv);
    LIB_RegisterProcedures();
    QApplication::setApplicationName("serials");
    GuiPresenter presenter;
    LIB_SetPresenter(&presenter);
    frmQKLogo logo;
    logo.adjustSize();
    if (QScreen* screen = QApplication::primaryScreen())
        logo.move(screen->availableGeometry().center() - logo.rect().center());
    logo.show();
    QApplication::processEvents();
    QK_Main(logo);
    return app.exec();
}
