// Message texts: codes looked up in the message table, the type letter, detail substitution,
// and the text helpers that go with them.
#include <gtest/gtest.h>

#include "common/basQKEnv.h"
#include "common/basSysPara.h"
#include "db/basLibMsg.h"
#include "tests/support/ScriptedPresenter.h"

namespace {

class Messages : public ::testing::Test {
protected:
    void SetUp() override {
        g_arrMsg = LibArray(2, 5);
        g_arrMsg(0, 2) = "EQK683";
        g_arrMsg(1, 2) = "期刊%s不能删除！\\N请先删除其记到数据。";
        g_arrMsg(0, 3) = "ECM012";
        g_arrMsg(1, 3) = "数据库操作出错！";
        g_arrMsg(0, 4) = "WQK001";
        g_arrMsg(1, 4) = "确实要删除吗？";
        connectSessionReporting();
        g_arrSysPara = LibArray(2, 3);
        g_arrSysPara(0, 2) = "1";
        g_arrSysPara(1, 2) = "期刊管理系统";
        LIB_SetPresenter(&presenter);
    }
    void TearDown() override {
        g_arrMsg = LibArray();
        g_arrSysPara = LibArray();
        LIB_SetPresenter(nullptr);
    }
    ScriptedPresenter presenter;
};

TEST_F(Messages, CodeIsLookedUpAndDetailReplacesPercentS) {
    EXPECT_EQ(LIB_GetMsgText("EQK683《读者》"), "期刊《读者》不能删除！\n请先删除其记到数据。");
    EXPECT_EQ(LIB_GetMsgText("ECM012"), "数据库操作出错！");
}

TEST_F(Messages, TextThatIsNoCodeComesBackUnchanged) {
    EXPECT_EQ(LIB_GetMsgText("I保存成功"), "I保存成功");
    EXPECT_EQ(LIB_GetMsgText(""), "");
}

TEST_F(Messages, BoxTakesTitleFromParameterOneAndTypeFromFirstLetter) {
    EXPECT_EQ(LIB_ShowMsg("I保存成功"), kMsgOk);
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].type, 'I');
    EXPECT_EQ(presenter.shown[0].title, "期刊管理系统");
    EXPECT_EQ(presenter.shown[0].body, "保存成功");
}

TEST_F(Messages, QuestionsReturnTheOperatorsAnswer) {
    presenter.replies.push_back({kMsgCancel, {}});
    EXPECT_EQ(LIB_ShowMsg("WQK001"), kMsgCancel);
    EXPECT_EQ(presenter.shown.back().body, "确实要删除吗？");
    presenter.replies.push_back({kMsgOk, {}});
    EXPECT_EQ(LIB_ShowMsg("S继续吗？"), kMsgOk);
}

TEST_F(Messages, TextWithoutTypeLetterLosesItsFirstCharacter) {
    LIB_ShowMsg("保存成功");
    EXPECT_EQ(presenter.shown.back().body, "存成功");
}

TEST(TextHelpers, ReplaceContinuesAfterEachReplacement) {
    int start = 0;
    EXPECT_EQ(LIB_Replace("aaa", "a", "aa", start), "aaaaaa");
    EXPECT_EQ(start, 7);
    start = 3;
    EXPECT_EQ(LIB_Replace("a-b-c", "-", "+", start), "a-b+c");
    start = 1;
    EXPECT_EQ(LIB_Replace("", "a", "b", start), "");
    EXPECT_EQ(LIB_Replace("abc", "", "b", start), "abc");
}

TEST(TextHelpers, SplitKeepsEmptyPieces) {
    EXPECT_EQ(LIB_Split("a,,b", ","), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(LIB_Split("a", ","), (std::vector<std::string>{"a"}));
    EXPECT_TRUE(LIB_Split("", ",").empty());
    EXPECT_EQ(LIB_Split("a::b", "::"), (std::vector<std::string>{"a", "b"}));
}

TEST(SystemParameters, ConversionFollowsTheCode) {
    g_arrSysPara = LibArray(2, 6);
    const char* rows[][2] = {{"4", "1"}, {"20", "A4_纸"}, {"14", "a,b,c"}, {"3", "1"}};
    for (int i = 0; i < 4; ++i) {
        g_arrSysPara(0, i + 2) = rows[i][0];
        g_arrSysPara(1, i + 2) = rows[i][1];
    }
    EXPECT_EQ(LIB_GetSysPara(4).num(), 1);
    EXPECT_EQ(LIB_GetSysPara(3).str(), "1");
    EXPECT_EQ(LIB_GetSysPara(20).str(), "A4 纸");
    EXPECT_EQ(LIB_GetSysPara(28).num(), -1);
    EXPECT_EQ(LIB_GetSysParaList(142), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(LIB_GetSysPara(11).num(), 0);
    g_arrSysPara = LibArray();
}

}  // namespace
