// Creating a database: the schema, the reference data a new database needs, and optionally the
// demo data, applied from SQL files built into the program, in one transaction.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "db/DbBackend.h"

struct EmbeddedSql {
    const char* path;  // "db/schema/10_system.sql"
    const char* content;
};
const std::vector<EmbeddedSql>& embeddedSqlFiles();

struct InstallOptions {
    bool demo = false;
    bool unicodeMarc = false;  // MARC chunk columns as national-character text
    bool force = false;        // drop this system's tables when the database has them
    // ${NAME} in the scripts is replaced by the value (MARC_CHUNK is set from unicodeMarc).
    std::map<std::string, std::string> variables;
    // Runs in the install's transaction after the data is in (the layers above hash the seeded
    // passwords here); throws DbError to undo the install.
    std::function<void(DbBackend&)> finish;
};

// The tables this system's schema creates, in lower case. init-db drops only these.
std::vector<std::string> schemaTableNames();

// YEAR, LAST_YEAR and NEXT_YEAR for the demo data: the year of the day it is installed.
void addDemoYearVariables(InstallOptions& options);

// Splits a script into statements: each ends with ";" as the last character of a line.
std::vector<std::string> splitSqlScript(const std::string& script);

// Installs into an open backend. Tables of other applications in the same database are left
// alone. Returns 0, or -1 with `message` saying what went wrong (and nothing changed). `progress`
// is told each file as it is applied.
int installDatabase(DbBackend& db, const InstallOptions& options, std::string& message,
                    const std::function<void(const std::string&)>& progress = {});
