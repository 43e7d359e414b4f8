#include "db/SchemaUpgrade.h"

#include <algorithm>
#include <cctype>

#include "db/SchemaInstaller.h"

namespace {
const std::string kFolder = "db/upgrade/";

void ensureVersionTable(DbBackend& db) {
    for (const std::string& t : db.tableNames())
        if (t == "sys_schema_version") return;
    db.begin();
    try {
        db.execute("CREATE TABLE sys_schema_version (version INTEGER NOT NULL)");
        db.execute("INSERT INTO sys_schema_version (version) VALUES (1)");
        db.commit();
    } catch (const DbError&) {
        if (db.isOpen() && db.inTransaction()) db.rollback();
        throw;
    }
}
}  // namespace

std::vector<UpgradeStep> embeddedUpgradeSteps() {
    std::vector<UpgradeStep> steps;
    for (const EmbeddedSql& f : embeddedSqlFiles()) {
        std::string path = f.path;
        if (path.rfind(kFolder, 0) != 0) continue;
        std::string name = path.substr(kFolder.size());
        std::size_t digits = 0;
        while (digits < name.size() && std::isdigit(static_cast<unsigned char>(name[digits])))
            ++digits;
        if (digits == 0) continue;  // pending steps wait to be numbered
        steps.push_back({std::stoi(name.substr(0, digits)), name, f.content});
    }
    std::sort(steps.begin(), steps.end(),
              [](const UpgradeStep& a, const UpgradeStep& b) { return a.number < b.number; });
    return steps;
}

int programSchemaVersion(const std::vector<UpgradeStep>& steps) {
    return steps.empty() ? 1 : std::max(1, steps.back().number);
}

int databaseSchemaVersion(DbBackend& db) {
    auto tables = db.tableNames();
    if (tables.empty()) return 0;
    if (std::find(tables.begin(), tables.end(), "sys_schema_version") == tables.end()) return 1;
    RawResult r = db.query("SELECT max(version) FROM sys_schema_version");
    return r.rows.empty() || r.rows[0][0].isNull() ? 1 : static_cast<int>(r.rows[0][0].num());
}

void recordSchemaVersion(DbBackend& db, int version) {
    db.execute("DELETE FROM sys_schema_version");
    db.execute("INSERT INTO sys_schema_version (version) VALUES (" + std::to_string(version) + ")");
}

int upgradeDatabase(DbBackend& db, const std::vector<UpgradeStep>& steps, std::string& message,
                    const std::function<void(const UpgradeStep&)>& progress) {
    const UpgradeStep* current = nullptr;
    try {
        int version = databaseSchemaVersion(db);
        if (version == 0) {
            message = "数据库中没有数据表：请用 serialsctl init-db 建库。";
            return -1;
        }
        ensureVersionTable(db);
        for (const UpgradeStep& step : steps) {
            if (step.number <= version) continue;
            current = &step;
            if (progress) progress(step);
            db.begin();
            for (const std::string& stmt : splitSqlScript(step.sql))
                db.execute(stmt);
            // A step's new foreign keys are enforced like those of a new database.
            db.afterSchema();
            recordSchemaVersion(db, step.number);
            db.commit();
            version = step.number;
        }
        return 0;
    } catch (const DbError& e) {
        if (db.isOpen() && db.inTransaction()) db.rollback();
        message = (current ? "升级步骤 " + current->name + " 失败，该步未作任何改动：" : "") +
                  e.oraText();
        return -1;
    }
}

std::string schemaVersionProblem(int databaseVersion, int programVersion) {
    if (databaseVersion == programVersion) return {};
    if (databaseVersion < programVersion)
        return "数据库结构版本为 " + std::to_string(databaseVersion) + "，本程序需要版本 " +
               std::to_string(programVersion) +
               "。请先由系统管理员运行 serialsctl upgrade-db 升级数据库，再启动本程序。";
    return "数据库结构版本为 " + std::to_string(databaseVersion) + "，比本程序所支持的版本 " +
           std::to_string(programVersion) + " 新。请改用与数据库相符的新版程序。";
}
