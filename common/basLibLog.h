// The local log file: one file a day in the LOG directory, "yyyy-mm-dd_Log.log", each line
// "yyyy-mm-dd hh:mm:ss;text". Start-up failures and database errors are written here.
#pragma once

#include <string>

enum LogMode { kLogAppend = 0, kLogOverwrite = 1 };

// Writes one line; `source` names the caller and is not written. 0, or -1 with a file error
// (source 1007) in g_ErrInfo.
int B_WriteLogFile(const std::string& source, const std::string& text, int mode = kLogAppend);
// The path of today's log file.
std::string LIB_LogFilePath();
