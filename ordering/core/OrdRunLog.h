// The log file of a long ordering run (renewal, batch ordering): one time-stamped line per
// event, flushed as it is written so that a run that stops half-way still leaves its account.
#pragma once

#include <fstream>
#include <string>

class OrdRunLog {
public:
    enum class Mode { Rewrite, Append };
    OrdRunLog(const std::string& path, Mode mode);
    void line(const std::string& text);
    // "yyyy-mm-dd hh:mm:ss" of the workstation's clock.
    static std::string stamp();

private:
    std::ofstream out_;
};
