#include "tests/support/PgCluster.h"

#include "tests/support/FreePort.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
std::string findBinDir() {
    if (const char* d = std::getenv("SERIALS_PG_BINDIR"); d && *d) return d;
    std::string best;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator("/usr/lib/postgresql", ec))
        if (fs::exists(e.path() / "bin/initdb") && e.path().string() > best)
            best = e.path().string();
    return best.empty() ? "" : best + "/bin";
}
}  // namespace

PgCluster::PgCluster() : binDir_(findBinDir()) {
    if (binDir_.empty()) return;
    char tmpl[] = "/tmp/serials-pgtest.XXXXXX";
    if (!mkdtemp(tmpl)) return;
    dataDir_ = tmpl;
    if (geteuid() == 0 && run("chown postgres:postgres " + dataDir_) != 0) return;
    port_ = freeLoopbackPort();
    available_ = run("'" + binDir_ + "/initdb' -D " + dataDir_ +
                     " -U postgres --auth=trust --locale=C -E UTF8 >/dev/null 2>&1") == 0;
}

PgCluster::~PgCluster() {
    if (!dataDir_.empty()) {
        run("'" + binDir_ + "/pg_ctl' -D " + dataDir_ + " -m immediate stop >/dev/null 2>&1");
        std::error_code ec;
        fs::remove_all(dataDir_, ec);
    }
}

int PgCluster::run(const std::string& command) const {
    // The server refuses to run as root: hand it to the postgres account.
    std::string full = geteuid() == 0 && command.rfind("chown", 0) != 0
                           ? "runuser -u postgres -- sh -c \"" + command + "\""
                           : command;
    return std::system(full.c_str());
}

bool PgCluster::start() {
    return run("'" + binDir_ + "/pg_ctl' -D " + dataDir_ + " -l " + dataDir_ +
               "/server.log -w -o '-p " + std::to_string(port_) +
               " -k /tmp -c listen_addresses=127.0.0.1 -c fsync=off' start >/dev/null") == 0;
}

bool PgCluster::stop() {
    return run("'" + binDir_ + "/pg_ctl' -D " + dataDir_ + " -m fast -w stop >/dev/null") == 0;
}
