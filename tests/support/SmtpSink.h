// A loopback SMTP server for the mail tests (tests/checkin/smtp_sink.py) and a port on which
// nothing listens.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/support/CtlRun.h"
#include "tests/support/FreePort.h"

// The python SMTP sink of tests/checkin, running for the life of the object.
class SmtpSink {
public:
    explicit SmtpSink(const std::string& dir) : out_(dir + "/sink") {
        std::string cmd = "python3 " SERIALS_TEST_SCRIPTS "/smtp_sink.py " + out_ +
                          " >/dev/null 2>&1 & echo $! >" + out_ + ".pid";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
        for (int i = 0; i < 200 && !std::filesystem::exists(out_ + ".port"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        port = slurp(out_ + ".port");
        EXPECT_FALSE(port.empty()) << "the SMTP sink did not start";
    }
    ~SmtpSink() {
        std::string pid = slurp(out_ + ".pid");
        if (!pid.empty()) kill(std::stoi(pid), SIGTERM);
    }
    // The n-th message as read_mail.py prints it; empty when it never came.
    std::string message(int n) const {
        std::string eml = out_ + "." + std::to_string(n) + ".eml";
        if (!std::filesystem::exists(eml)) return "";
        std::string cmd =
            "python3 " SERIALS_TEST_SCRIPTS "/read_mail.py " + eml + " >" + out_ + ".txt 2>&1";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << slurp(out_ + ".txt");
        return slurp(out_ + ".txt");
    }
    std::string envelope(int n) const { return slurp(out_ + "." + std::to_string(n) + ".env"); }
    std::string port;

private:
    std::string out_;
};

// A port on which nothing listens.
inline std::string closedPort() {
    return std::to_string(freeLoopbackPort());
}
