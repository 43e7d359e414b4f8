// The environment every area reads: mavren.ini in the program directory, the connect data
// built from it, and the table of program directories.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "db/LibVar.h"

extern std::string g_strServer;   // LIB_SERVER of [LIB-DATA]: the section with the connection
extern std::string g_strConnect;  // "DRIVER={..};DSN=..;SERVER=..;UID=..;PWD=..;DATABASE=.."
extern std::string g_strDriver;   // DRIVER: SQLite or PostgreSQL
extern std::string g_strDSN;      // DSN: database file (SQLite) or database name
extern std::string g_strHost;     // SERVER: host[:port] of a database server
extern std::string g_strUID;
extern std::string g_strPWD;                   // the password, unscrambled
extern std::array<std::string, 11> g_strPath;  // program directories, each ending in "/"
extern int g_intRet;                           // status of the last start-up step

// The program directory: the executable's own, unless set (--home DIR) before start-up.
void LIB_SetProgramDir(const std::string& dir);
std::string LIB_ProgramDir();

// Reads mavren.ini and fills the globals above; 0, or -1 after writing the log line.
int LIB_ReadEnvironment();
// Points the session's error reporter at the local log and its message boxes at the system
// parameter that titles them (both live above the session). Reading the environment does it.
void connectSessionReporting();
LibVar LIB_GetSysInfo(int n);
// Closes the session (reporting a failure) and ends the program at once with `exitCode`.
[[noreturn]] void LIB_ExitSystem(int exitCode = 0);
// How the program ends; tests replace it with one that throws.
void LIB_SetExitHandler(std::function<void(int)> handler);

// The stored form of a PWD value (three digits a byte) and back. A value that is not in the
// stored form is taken as the plain password.
std::string LIB_EncodePassword(const std::string& plain);
std::string LIB_DecodePassword(const std::string& stored);
