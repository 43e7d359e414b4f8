// Runs the serialsctl binary (named by SERIALSCTL, which ctest sets) on a test home, as ROOT
// unless the arguments name an operator, and collects its exit code and output.
#pragma once

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
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The binary, or "" when SERIALSCTL is not set.
inline std::string serialsctlBinary() {
    const char* ctl = std::getenv("SERIALSCTL");
    return ctl ? ctl : "";
}

inline CtlResult runSerialsctl(const TestHome& home, std::vector<std::string> args) {
    if (args.empty() || args[0] != "--user")
        args.insert(args.begin(), {"--user", "ROOT", "--password", "ROOT"});
    std::string cmd = "SERIALS_COMPUTER_NAME=" + std::string(kDemoComputer) + " " +
                      shellQuote(serialsctlBinary()) + " --home " + shellQuote(home.dir());
    for (const auto& a : args)
        cmd += " " + shellQuote(a);
    std::string out = home.dir() + "/TMP/out", err = home.dir() + "/TMP/err";
    int status = std::system((cmd + " >" + out + " 2>" + err + " </dev/null").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
}
