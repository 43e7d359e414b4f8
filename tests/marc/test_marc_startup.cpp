// Start-up reads the catalogue configuration: the index groups as the database has them, and
// the field definitions, where a settings file in the program tree replaces the built-in one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/basQKEnv.h"
#include "app/basQKMain.h"
#include "marc/core/MarcFieldDefs.h"
#include "tests/marc/MarcDbTest.h"

namespace {

class MarcStartup : public MarcDbTest {
protected:
    // The definitions are process-wide: later tests get the built-in ones back.
    void TearDown() override {
        MarcDbTest::TearDown();
        LIB_LoadMarcFieldDefs();
    }
};

TEST_P(MarcStartup, ReadsIndexGroupsAndTheLibrarysOwnFieldNames) {
    ASSERT_EQ(
        LIB_DB_Execute(
            "INSERT INTO marc_idx_para (use_type, marc_type_id, marc_idx_grp, marc_idx_grp_name, "
            "stopword_flag, marc_field) VALUES (0, 0, '15', '馆藏地', 0, '905a')"),
        0);
    std::string dir = home->dir() + "/CFG/BM/BaseParam";
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "/BM_CN_FieldInfo.ini")
        << "[200]\nName=本馆题名字段\na=题名\n[905]\nName=馆藏\n";
    QuietStartup view;
    ASSERT_EQ(QK_Main(view), 0);
    EXPECT_EQ(MarcIdxElement(0, 15, 0).Fields, "905a");
    EXPECT_EQ(MarcIdxElement(0, 1, 1).Grp, "01");
    MarcRec cn, us;
    cn.MarcType = "C";
    us.MarcType = "U";
    EXPECT_EQ(GetMarcFieldName("200", cn), "本馆题名字段");
    EXPECT_EQ(GetMarcFieldName("701", cn),
              "非Marc字段");  // the library's file names only its fields
    EXPECT_EQ(GetMarcFieldName("245", us), "Title Statement");
}

SERIALS_ON_BOTH_BACKENDS(MarcStartup);

}  // namespace
