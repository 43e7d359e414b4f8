// upgrade-db: brings a database of an older schema version up to this program's, step by step.
#include <iostream>

#include "app/ctl/Ctl.h"
#include "common/basQKEnv.h"
#include "db/SchemaUpgrade.h"
#include "db/basLibDB.h"
#include "marc/core/TitleWords.h"

namespace {

// The step that added the title-word table; its rows are computed here, not in SQL.
constexpr int kTitleWordsStep = 6;

int upgradeDb(const std::vector<std::string>& args) {
    if (!args.empty()) {
        std::cerr << "用法: serialsctl upgrade-db\n";
        return 2;
    }
    if (LIB_ReadEnvironment() < 0) {
        std::cerr << "系统环境出错：无法读取 " << LIB_ProgramDir() << "/mavren.ini\n";
        return 1;
    }
    try {
        auto db = LIB_DB_OpenBackend(LIB_DB_ConnectParams());
        const auto steps = embeddedUpgradeSteps();
        const int target = programSchemaVersion(steps);
        const int from = databaseSchemaVersion(*db);
        if (from > target) {
            std::cerr << schemaVersionProblem(from, target) << "\n";
            return 1;
        }
        std::string message;
        if (upgradeDatabase(*db, steps, message, [](const UpgradeStep& s) {
                std::cerr << "  " << s.name << "\n";
            }) < 0) {
            std::cerr << "升级失败: " << message << "\n";
            return 1;
        }
        if (from < kTitleWordsStep && target >= kTitleWordsStep) {
            g_OraDatabase = std::move(db);
            const int done = MarcTitleWordsRebuild([](int n, int total) {
                std::cerr << "  已索引 " << n << " / " << total << " 条书目记录\n";
            });
            if (done < 0) {
                std::cerr << "题名词索引未能建立，请再运行 serialsctl marc reindex: "
                          << g_ErrInfo.strDesc << "\n";
                return 1;
            }
        }
        if (from == target)
            std::cout << "数据库已是版本 " << target << "，无需升级。\n";
        else
            std::cout << "数据库已由版本 " << from << " 升级到版本 " << target << "。\n";
        return 0;
    } catch (const DbError& e) {
        std::cerr << "与数据库连接失败: " << e.oraText() << "\n";
        return 1;
    }
}

}  // namespace

void registerUpgradeVerbs() {
    ctlVerbs().push_back({"upgrade-db", "upgrade-db",
                          "把旧版本的数据库逐步升级到本程序的结构版本（每步一个事务）", false,
                          nullptr, upgradeDb});
}
