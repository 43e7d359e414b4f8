// Call numbers on both backends: the class serial proposed and kept, a new class created only on
// the operator's word, a call number of another record refused with EQK640, a rolled-back serial
// given again, failures leaving nothing; author numbers from the Chinese and Western tables.
#include <gtest/gtest.h>

#include <functional>

#include "binding/core/basCallNo.h"
#include "common/basSysPara.h"
#include "db/DbTransaction.h"
#include "db/basLibDB.h"
#include "tests/binding/BindTestData.h"
#include "tests/support/FaultSteps.h"
#include "tests/support/ProbeBackend.h"

namespace {

class CallNo : public BindDbTest {
protected:
    void SetUp() override {
        BindDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        exec(
            "INSERT INTO max_class_serial (doc_type_code,cls_id,cls_no,grp_code,max_serial) "
            "VALUES ('11','CLC','TP3','01',41)");
    }
    ClassKey key(const std::string& cls = "TP3") { return {"11", "CLC", cls, "01"}; }
    // Fails each step of `op` in turn: the tables unchanged each time, the last run succeeds.
    void failEachStepOf(ProbeBackend& probe, const std::function<int()>& op) {
        std::vector<std::string> failed = failEachStep(
            probe, presenter, [&] { return op() == 0; }, bindSnapshot);
        EXPECT_GT(failed.size(), 3u);
        EXPECT_TRUE(contains(failed, "begin"));
        EXPECT_TRUE(contains(failed, "commit"));
    }
};
SERIALS_ON_BOTH_BACKENDS(CallNo);

TEST_P(CallNo, Serial41ProposesAndKeeps42) {
    int serial = 0;
    ASSERT_EQ(intProposeClassSerial(key(), serial), 0);
    EXPECT_EQ(serial, 42);
    EXPECT_EQ(scalar("SELECT max_serial FROM max_class_serial"), "41");  // only proposed
    ClassKey k = key();
    std::string callNo = "TP3/42";
    ASSERT_EQ(intConfirmCallNo("0000000001", callNo, &k), 0);
    EXPECT_EQ(callNo, "TP3/42");
    EXPECT_EQ(scalar("SELECT max_serial FROM max_class_serial"), "42");
    EXPECT_EQ(scalar("SELECT marc_rec_no||cls_id FROM call_no_lst WHERE call_no='TP3/42'"),
              "0000000001CLC");
    std::vector<std::string> used;
    ASSERT_EQ(intUsedCallNos("TP3", used), 0);
    EXPECT_EQ(used, std::vector<std::string>{"TP3/42"});
    ASSERT_EQ(intUsedCallNos("TP", used), 0);
    EXPECT_TRUE(used.empty());  // TP/… only, not TP3/…
}

TEST_P(CallNo, ANewClassAsksAndStartsAtOne) {
    int serial = 0;
    presenter.replies = {{kMsgCancel, {}}};
    EXPECT_EQ(intProposeClassSerial(key("X9"), serial), 1);
    EXPECT_EQ(presenter.shown.back().body, "未检索到X9类的最大号\r\n    分类种次表中新增该分类？");
    EXPECT_EQ(scalar("SELECT count(*) FROM max_class_serial WHERE cls_no='X9'"), "0");
    presenter.replies = {{kMsgOk, {}}};
    ASSERT_EQ(intProposeClassSerial(key("X9"), serial), 0);
    EXPECT_EQ(serial, 1);
    EXPECT_EQ(scalar("SELECT max_serial FROM max_class_serial WHERE cls_no='X9'"), "0");
    ASSERT_EQ(intTakeClassSerial(key("X9"), serial), 0);
    EXPECT_EQ(serial, 1);
}

TEST_P(CallNo, ACallNumberOfAnotherRecordIsRefusedWithEQK640) {
    exec("INSERT INTO call_no_lst (call_no,marc_rec_no) VALUES ('TP3/7','0000000002')");
    std::string callNo = "TP3/7";
    EXPECT_EQ(intConfirmCallNo("0000000001", callNo, nullptr), -1);
    EXPECT_EQ(presenter.shown.back().type, 'E');
    EXPECT_EQ(presenter.shown.back().body, "索书号TP3/7已被其他书目记录使用，请重新取号！");
    EXPECT_EQ(scalar("SELECT count(*) FROM call_no_lst"), "1");
    // The record that has it may confirm it again.
    EXPECT_EQ(intConfirmCallNo("0000000002", callNo, nullptr), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM call_no_lst"), "1");
}

TEST_P(CallNo, ARolledBackSerialIsGivenAgainAndAKeptOneNever) {
    int serial = 0;
    {
        DbTransaction outer;
        ASSERT_TRUE(outer.ok());
        ASSERT_EQ(intTakeClassSerial(key(), serial), 0);
        EXPECT_EQ(serial, 42);
    }  // rolled back with the outer work
    ASSERT_EQ(intTakeClassSerial(key(), serial), 0);
    EXPECT_EQ(serial, 42);
    ASSERT_EQ(intTakeClassSerial(key(), serial), 0);
    EXPECT_EQ(serial, 43);
}

TEST_P(CallNo, FailureAtAnyStepOfConfirmingLeavesTheSeriesAndTheListAlone) {
    ProbeBackend& probe = ProbeBackend::install();
    ClassKey k = key();
    failEachStepOf(probe, [&] {
        std::string callNo = "TP3";
        return intConfirmCallNo("0000000001", callNo, &k);
    });
    EXPECT_EQ(scalar("SELECT call_no FROM call_no_lst"), "TP3/42");
}

TEST_P(CallNo, ClassSeriesAreListedAddedCorrectedAndDeletedOnlyWhileUnused) {
    exec(
        "INSERT INTO max_class_serial (doc_type_code,cls_id,cls_no,grp_code,max_serial) "
        "VALUES ('11','CLC','I2','01',3),('11','OTHER','A1','01',9)");
    std::vector<ClassSerial> series;
    ASSERT_EQ(intListClassSerials("CLC", series), 0);
    ASSERT_EQ(series.size(), 2u);
    EXPECT_EQ(series[0].key.clsNo, "I2");
    EXPECT_EQ(series[1].key.clsNo, "TP3");
    EXPECT_EQ(series[1].maxSerial, 41);
    ASSERT_EQ(intListClassSerials("", series), 0);
    EXPECT_EQ(series.size(), 3u);

    // A new series, then one that exists already.
    ASSERT_EQ(intSaveClassSerial({key("O4"), "O", 5}, true), 0);
    EXPECT_EQ(scalar("SELECT class_prefix||max_serial FROM max_class_serial WHERE cls_no='O4'"),
              "O5");
    EXPECT_EQ(intSaveClassSerial({key("O4"), "", 0}, true), -1);
    EXPECT_EQ(presenter.shown.back().body, "O4类已有种次号！");
    EXPECT_EQ(intSaveClassSerial({key(""), "", 0}, true), -1);
    EXPECT_EQ(presenter.shown.back().body, "分类号不能为空。");

    // A correction may not go below a serial the class has given out.
    exec(
        "INSERT INTO call_no_lst (call_no,marc_rec_no) VALUES ('TP3/40','0000000001'),"
        "('TP3/7a','0000000002'),('TP31/90','0000000003')");
    EXPECT_EQ(intSaveClassSerial({key(), "", 39}, false), -1);
    EXPECT_EQ(presenter.shown.back().body, "TP3类已取到种次号40，最大种次号不能小于它！");
    EXPECT_EQ(scalar("SELECT max_serial FROM max_class_serial WHERE cls_no='TP3'"), "41");
    ASSERT_EQ(intSaveClassSerial({key(), "", 40}, false), 0);
    int serial = 0;
    ASSERT_EQ(intProposeClassSerial(key(), serial), 0);
    EXPECT_EQ(serial, 41);
    EXPECT_EQ(intSaveClassSerial({key("X9"), "", 1}, false), -1);
    EXPECT_EQ(presenter.shown.back().body, "未检索到X9类的最大号");

    // Deleting asks; a class that has given out a call number keeps its series.
    presenter.replies = {{kMsgCancel, {}}};
    EXPECT_EQ(intDeleteClassSerial(key("O4")), 1);
    presenter.replies = {{kMsgOk, {}}};
    EXPECT_EQ(intDeleteClassSerial(key()), -1);
    EXPECT_EQ(presenter.shown.back().body, "TP3类已有索书号，不能删除！");
    presenter.replies = {{kMsgOk, {}}};
    ASSERT_EQ(intDeleteClassSerial(key("O4")), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM max_class_serial WHERE cls_no IN ('O4','TP3')"), "1");
}

TEST_P(CallNo, FailureAtAnyStepOfAddingOrCorrectingASeriesLeavesTheTablesAlone) {
    ProbeBackend& probe = ProbeBackend::install();
    failEachStepOf(probe, [&] { return intSaveClassSerial({key("O4"), "O", 5}, true); });
    exec("DELETE FROM max_class_serial WHERE cls_no='O4'");
    failEachStepOf(probe, [&] { return intSaveClassSerial({key(), "T", 50}, false); });
    EXPECT_EQ(scalar("SELECT class_prefix||max_serial FROM max_class_serial WHERE cls_no='TP3'"),
              "T50");
}

TEST_P(CallNo, TheAuthorTablesChosenOnTheScreenWinOverParameter20) {
    exec("DELETE FROM cartable");
    exec("INSERT INTO cartable (auth_name,auth_code) VALUES ('SMI','S642')");
    for (const char* t : {"auth_char", "auth_fufen", "pytable"})
        exec(std::string("DELETE FROM ") + t);
    exec(
        "INSERT INTO auth_char (chn_char,code_num,fufen_no,top_py,btm_py) VALUES "
        "('王','31','1','wang','wangz')");
    exec("INSERT INTO pytable (hz,py) VALUES ('王','wang'),('明','ming')");
    exec("INSERT INTO auth_fufen (fufen_no,nametype,inial,num) VALUES ('1','D','M','5')");
    exec("UPDATE sys_comm_para SET sys_para_value='C' WHERE sys_para_code='20'");
    ASSERT_EQ(LIB_LoadSysPara(), 0);
    EXPECT_TRUE(bolChineseAuthorTables());
    EXPECT_EQ(strAuthorNumber("王明"), "031/005");
    EXPECT_EQ(strAuthorNumber("Smith", false), "S642");
    EXPECT_EQ(strAuthorNumber("Smith"), "");
    exec("UPDATE sys_comm_para SET sys_para_value='E' WHERE sys_para_code='20'");
    ASSERT_EQ(LIB_LoadSysPara(), 0);
    EXPECT_FALSE(bolChineseAuthorTables());
    EXPECT_EQ(strAuthorNumber("Smith"), "S642");
    EXPECT_EQ(strAuthorNumber("王明", true), "031/005");
}

TEST_P(CallNo, ChineseAuthorNumberFromTheLongestLeadingPartItsPinyinRangeAndInitial) {
    for (const char* t : {"auth_char", "auth_fufen", "pytable"})
        exec(std::string("DELETE FROM ") + t);
    exec(
        "INSERT INTO auth_char (chn_char,code_num,fufen_no,top_py,btm_py) VALUES "
        "('欧','57','1','ou','ouz'),('欧阳','58','2','ouyang','ouyangz'),"
        "('单','7','1','dan','danz'),('单','28','1','shan','shanz'),('王','31','1','wang','wangz'"
        ")");
    exec(
        "INSERT INTO auth_fufen (fufen_no,nametype,inial,num) VALUES "
        "('1','D','M','5'),('1','S','X','17'),('2','S','X','4'),('2','D','X','3')");
    exec(
        "INSERT INTO pytable (hz,py) VALUES ('王','wang'),('小','xiao'),('明','ming'),"
        "('欧','ou'),('阳','yang'),('修','xiu'),('单','shan')");
    EXPECT_EQ(GetAuthWord("欧阳修"), "欧阳");
    EXPECT_EQ(GetAuthPeiHao("欧阳修"), "58");
    EXPECT_EQ(GetAuthFuFen("欧阳修"), "4");  // not a two-character name: type S
    EXPECT_EQ(strAuthorNumber("欧阳修"), "058/004");
    EXPECT_EQ(strAuthorNumber("王小明"), "031/017");
    EXPECT_EQ(strAuthorNumber("王明"), "031/005");
    EXPECT_EQ(GetAuthPeiHao("单明"), "28");  // the pinyin range picks the reading shan
    EXPECT_EQ(strAuthorNumber("李明"), "");
}

TEST_P(CallNo, WesternAuthorNumberFromTheCutterTableWhenParameter20SaysSo) {
    exec("DELETE FROM cartable");
    exec(
        "INSERT INTO cartable (auth_name,auth_code) VALUES ('MAC','M116'),('MACD','M134'),"
        "('S','S1'),('SMI','S642')");
    EXPECT_EQ(strWesternAuthorNumber("McDonald"), "M134");
    EXPECT_EQ(strWesternAuthorNumber("Smithers"), "S642");
    EXPECT_EQ(strWesternAuthorNumber("Szabo"), "S1");
    EXPECT_EQ(strWesternAuthorNumber("Ng"), "");
    exec("UPDATE sys_comm_para SET sys_para_value='E' WHERE sys_para_code='20'");
    ASSERT_EQ(LIB_LoadSysPara(), 0);
    EXPECT_EQ(strAuthorNumber("Macdonald"), "M134");
}

TEST_P(CallNo, TheSeededAuthorTablesAnswerCommonNames) {
    exec("INSERT INTO pytable (hz,py) VALUES ('张','zhang'),('伟','wei')");
    EXPECT_EQ(GetAuthWord("欧阳修"), "欧阳");
    EXPECT_FALSE(strAuthorNumber("张伟").empty());
    EXPECT_FALSE(strWesternAuthorNumber("Johnson").empty());
}

}  // namespace
