#include "common/basLibLog.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>

#include "common/basQKEnv.h"
#include "db/basLibDB.h"

namespace {
std::string localStamp(const char* format) {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, format, &tm);
    return buf;
}
}  // namespace

std::string LIB_LogFilePath() {
    return g_strPath[4] + localStamp("%Y-%m-%d") + "_Log.log";
}

int B_WriteLogFile(const std::string& source, const std::string& text, int mode) {
    std::string path = LIB_LogFilePath();
    std::ofstream out(path, mode == kLogOverwrite ? std::ios::trunc : std::ios::app);
    if (out) out << localStamp("%Y-%m-%d %H:%M:%S") << ";" << text << "\n";
    if (out) out.flush();
    if (out) return 0;
    g_ErrInfo.lngSource = kSrcFile;
    g_ErrInfo.lngOraErr = -1;
    g_ErrInfo.strDesc = path + ": " + std::strerror(errno);
    g_ErrInfo.strFunc = source;
    return -1;
}
