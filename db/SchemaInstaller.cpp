#include "db/SchemaInstaller.h"

#include <algorithm>
#include <chrono>

#include "db/SchemaUpgrade.h"
#include "db/SqlText.h"

namespace {
bool inFolder(const std::string& path, const char* folder) {
    return path.rfind(folder, 0) == 0;
}
}  // namespace

void addDemoYearVariables(InstallOptions& options) {
    using namespace std::chrono;
    int year = static_cast<int>(year_month_day{floor<days>(system_clock::now())}.year());
    options.variables["YEAR"] = std::to_string(year);
    options.variables["LAST_YEAR"] = std::to_string(year - 1);
    options.variables["NEXT_YEAR"] = std::to_string(year + 1);
}

std::vector<std::string> splitSqlScript(const std::string& script) {
    std::vector<std::string> out;
    std::string cur;
    for (const std::string& line : sqltext::split(script, '\n')) {
        std::string t = sqltext::trim(line);
        if (t.rfind("--", 0) == 0) continue;
        if (t.empty() && sqltext::trim(cur).empty()) continue;
        cur += line + "\n";
        if (!t.empty() && t.back() == ';') {
            std::string stmt = sqltext::trim(cur);
            stmt.pop_back();
            out.push_back(sqltext::trim(stmt));
            cur.clear();
        }
    }
    if (!sqltext::trim(cur).empty()) out.push_back(sqltext::trim(cur));
    return out;
}

std::vector<std::string> schemaTableNames() {
    std::vector<std::string> out;
    for (const EmbeddedSql& f : embeddedSqlFiles()) {
        if (!inFolder(f.path, "db/schema/")) continue;
        for (const std::string& stmt : splitSqlScript(f.content)) {
            std::size_t at = sqltext::findKeyword(stmt, "table");
            if (sqltext::findKeyword(stmt, "create") != 0 || at == std::string::npos) continue;
            std::string rest = sqltext::trim(std::string_view(stmt).substr(at + 5));
            out.push_back(sqltext::lower(rest.substr(0, rest.find_first_of(" (\n\t"))));
        }
    }
    return out;
}

int installDatabase(DbBackend& db, const InstallOptions& options, std::string& message,
                    const std::function<void(const std::string&)>& progress) {
    std::string file;
    std::size_t number = 0;
    try {
        std::vector<std::string> ours;
        auto schema = schemaTableNames();
        for (const auto& t : db.tableNames())
            if (std::find(schema.begin(), schema.end(), sqltext::lower(t)) != schema.end())
                ours.push_back(t);
        if (!ours.empty() && !options.force) {
            message = "数据库中已有本系统的 " + std::to_string(ours.size()) +
                      " 个数据表，未作任何改动；确需重建请加 --force。";
            return -1;
        }
        db.begin();
        db.dropTables(ours);
        db.beforeSchema();
        std::map<std::string, std::string> vars = options.variables;
        vars["MARC_CHUNK"] = options.unicodeMarc ? "VARCHAR(4000)" : "VARCHAR(2000)";
        auto apply = [&](const char* folder) {
            for (const EmbeddedSql& f : embeddedSqlFiles()) {
                if (!inFolder(f.path, folder)) continue;
                file = f.path;
                if (progress) progress(file);
                number = 0;
                for (const std::string& stmt : splitSqlScript(f.content)) {
                    ++number;
                    std::string sql = stmt;
                    for (const auto& [name, value] : vars)
                        sql = sqltext::replaceAll(sql, "${" + name + "}", value);
                    db.execute(sql);
                }
            }
        };
        apply("db/schema/");
        // Derived from the tables (SQLite's foreign-key triggers), so that seed data is checked.
        db.afterSchema();
        apply("db/seed/");
        if (options.demo) apply("db/demo/");
        file.clear();
        if (options.finish) options.finish(db);
        recordSchemaVersion(db, programSchemaVersion());
        db.commit();
        return 0;
    } catch (const DbError& e) {
        if (db.isOpen() && db.inTransaction()) db.rollback();
        message = file.empty() ? e.oraText()
                               : file + " 第 " + std::to_string(number) + " 条语句: " + e.oraText();
        return -1;
    }
}
