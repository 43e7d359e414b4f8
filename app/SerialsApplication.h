// The client's application object. Every event passes through notify(): an exception that a
// screen's handler lets escape is reported as a run-time error (ECM206 and its log line), the
// open transaction is rolled back, and the client goes on with the next event.
#pragma once

#include <QApplication>

class SerialsApplication : public QApplication {
public:
    SerialsApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};
