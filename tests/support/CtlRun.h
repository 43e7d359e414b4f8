// Running serialsctl as a separate process on a test home, capturing what it prints.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestDb.h"

struct CtlResult {
    int code;
    std::string out;
    std::string err;
};

inline std::string shellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The command line serialsctl would be started with; output goes to files named by `tag`.
inline std::string ctlCommand(const std::string& binary, const std::string& homeDir,
                              const std::vector<std::string>& args,
                              const std::string& tag = "out") {
    std::string cmd = shellQuote(binary) + " --home " + shellQuote(homeDir);
    for (const auto& a : args)
        cmd += " " + shellQuote(a);
    return cmd + " >" + homeDir + "/TMP/" + tag + ".1 2>" + homeDir + "/TMP/" + tag +
           ".2 </dev/null";
}

inline CtlResult runCtl(const std::string& binary, const std::string& homeDir,
                        const std::vector<std::string>& args) {
    int status = std::system(ctlCommand(binary, homeDir, args).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(homeDir + "/TMP/out.1"),
            slurp(homeDir + "/TMP/out.2")};
}

// Tests of serialsctl on both backends: skipped without PostgreSQL, or when not run through
// ctest (which names the binary in SERIALSCTL).
class CtlTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (GetParam() == kPostgres && !postgresAvailable()) GTEST_SKIP() << "no PostgreSQL";
        const char* ctl = std::getenv("SERIALSCTL");
        if (!ctl) GTEST_SKIP() << "SERIALSCTL is not set (run through ctest)";
        binary = ctl;
    }
    std::string binary;
};

// The binary, or "" when SERIALSCTL is not set.
inline std::string serialsctlBinary() {
    const char* ctl = std::getenv("SERIALSCTL");
    return ctl ? ctl : "";
}

// serialsctl on a test home from the demo workstation, as ROOT unless the arguments name an
// operator themselves.
inline CtlResult runSerialsctl(const TestHome& home, std::vector<std::string> args) {
    if (args.empty() || args[0] != "--user")
        args.insert(args.begin(), {"--user", "ROOT", "--password", "ROOT"});
    std::string cmd = "SERIALS_COMPUTER_NAME=" + shellQuote(kDemoComputer) + " " +
                      ctlCommand(serialsctlBinary(), home.dir(), args);
    int status = std::system(cmd.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(home.dir() + "/TMP/out.1"),
            slurp(home.dir() + "/TMP/out.2")};
}
