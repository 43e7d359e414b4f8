// The schema version a database carries and the numbered steps that bring an older database up
// to the program's. A database records its version in sys_schema_version; one made before
// versions were recorded is at version 1. Step files are db/upgrade/NNN_name.sql, built into
// the program; each runs in a transaction of its own together with the new version number.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "db/DbBackend.h"

struct UpgradeStep {
    int number = 0;
    std::string name;  // the file name
    std::string sql;
};

// The built-in steps, by number: only files whose names start with digits count.
std::vector<UpgradeStep> embeddedUpgradeSteps();
// The version this program works on: the highest step number, 1 when there is none.
int programSchemaVersion(const std::vector<UpgradeStep>& steps = embeddedUpgradeSteps());

// The database's version: 0 for a database without tables. Throws DbError.
int databaseSchemaVersion(DbBackend& db);
// Records the version, inside the caller's transaction. Throws DbError.
void recordSchemaVersion(DbBackend& db, int version);

// Applies every step above the database's version, each in one transaction. Returns 0, or -1
// with `message` naming the step that failed (that step is rolled back, earlier ones stay).
int upgradeDatabase(DbBackend& db, const std::vector<UpgradeStep>& steps, std::string& message,
                    const std::function<void(const UpgradeStep&)>& progress = {});

// Empty when the database's version is the program's; otherwise what the operator must be told,
// naming the command to run.
std::string schemaVersionProblem(int databaseVersion, int programVersion);
