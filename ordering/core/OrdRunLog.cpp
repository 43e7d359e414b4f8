#include "ordering/core/OrdRunLog.h"

#include <ctime>

OrdRunLog::OrdRunLog(const std::string& path, Mode mode)
    : out_(path, mode == Mode::Rewrite ? std::ios::trunc : std::ios::app) {}

std::string OrdRunLog::stamp() {
    char text[32];
    std::time_t now = std::time(nullptr);
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    return text;
}

void OrdRunLog::line(const std::string& text) {
    out_ << stamp() << "  " << text << "\n" << std::flush;
}
