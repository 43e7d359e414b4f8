// Start-up: the steps that run, in order, before the operator can log in. Each step reports a
// status line on the splash form; a failing step tells the operator why and ends the program.
#pragma once

#include <string>

class StartupView {
public:
    virtual ~StartupView() = default;
    virtual void setStatus(const std::string& text) = 0;
    virtual void setBusy(bool busy) = 0;
    // The splash form becomes the login form.
    virtual void enterLoginMode() = 0;
};

// Start-up without a window (serialsctl, tests): status lines are not shown, failures are.
class QuietStartup : public StartupView {
public:
    void setStatus(const std::string&) override {}
    void setBusy(bool) override {}
    void enterLoginMode() override {}
};

// Runs the start-up sequence. Returns 0 once the login mode is reached; a failing step ends
// the program through LIB_ExitSystem with exit code 1.
int QK_Main(StartupView& view);
