#include "app/SerialsApplication.h"

#include "db/basLibDB.h"

bool SerialsApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    runTrapped([&] {
        handled = QApplication::notify(receiver, event);
        return 0;
    });
    return handled;
}
