// Multi-modify of order details: only the chosen fields of the chosen details change, every
// value is checked as a save checks it, a detail changed elsewhere or checking in refuses the
// whole change, and a failure at any step leaves the tables as they were; on both backends.
#include <gtest/gtest.h>

#include "ordering/core/OrdMultiModify.h"
#include "ordering/core/OrdRefresh.h"
#include "ordering/core/basOrdCheck.h"
#include "ordering/core/basOrdFunc.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/FaultSteps.h"

namespace {

class OrdMultiModifyTest : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(intNewOrdCata("YZFX", "202601"), 0);
        for (const char* no : {"3-1", "3-2", "3-3"}) {
            OrdDetail d = CompleteDetail("YZFX", "202601", no);
            ASSERT_EQ(intSaveOrdDetail(d, false), 0);
        }
    }
    static std::vector<OrdMultiTarget> targets(std::initializer_list<const char*> nos) {
        std::vector<OrdMultiTarget> out;
        for (const char* no : nos)
            out.push_back({no, std::stoll(column("row_version", no))});
        return out;
    }
    static std::string column(const std::string& col, const std::string& no) {
        return scalar("SELECT " + col + " FROM m_peri_ord_detl WHERE asord_no='" + no + "'");
    }
    static std::string tables() {
        return tableRows({"m_peri_ord_lst", "m_peri_ord_detl", "m_sub_ord_lst",
                          "m_peri_sub_fund_out", "m_peri_ord_dist_lst", "log_detl"});
    }
    int modify(const std::vector<OrdMultiTarget>& t, const std::vector<OrdFieldChange>& c) {
        int n = -7;
        const int rc = intOrdMultiModify("YZFX", "202601", t, c, n);
        if (rc == 0) {
            EXPECT_EQ(n, static_cast<int>(t.size()));
        }
        return rc;
    }
};
SERIALS_ON_BOTH_BACKENDS(OrdMultiModifyTest);

TEST_P(OrdMultiModifyTest, ChangesOnlyTheChosenFieldsOfTheChosenDetails) {
    const std::string before3 = tableRows({"m_sub_ord_lst", "m_peri_sub_fund_out"});
    const std::string price = column("peri_total_price", "3-1");
    ASSERT_EQ(
        modify(targets({"3-1", "3-2"}),
               {{"PublFreq", "季刊"}, {"MoneyType", " USD "}, {"Remark", ""}, {"PeriType", "3"}}),
        0);
    for (const char* no : {"3-1", "3-2"}) {
        EXPECT_EQ(column("publ_freq", no), "季刊") << no;
        EXPECT_EQ(column("money_code", no), "USD") << no;
        EXPECT_EQ(column("nvl(remark,'-')", no), "-") << no;
        EXPECT_EQ(column("peri_type", no), "3") << no;
        EXPECT_EQ(column("row_version", no), "1") << no;
        // What was not chosen stays.
        EXPECT_EQ(column("peri_total_price", no), price) << no;
        EXPECT_EQ(column("get_mode_code", no), "01") << no;
        EXPECT_EQ(column("kind_no", no), "TP3") << no;
    }
    EXPECT_EQ(column("publ_freq", "3-3"), "月刊");
    EXPECT_EQ(column("remark", "3-3"), "核心期刊");
    EXPECT_EQ(column("row_version", "3-3"), "0");
    EXPECT_EQ(tableRows({"m_sub_ord_lst", "m_peri_sub_fund_out"}), before3);
    EXPECT_EQ(
        scalar("SELECT obj_desc1 FROM log_detl WHERE log_type='50018' AND obj_desc1 LIKE '批量%'"),
        "批量修改2条:出版频率、币种、说明、订购状态");
}

TEST_P(OrdMultiModifyTest, AValueASaveWouldRefuseIsRefusedNamingItsField) {
    const std::string before = tables();
    struct Case {
        std::vector<OrdFieldChange> changes;
        std::string message;
    };
    const Case cases[] = {
        {{{"GetMode", "ZZ"}}, " 获得方式【ZZ】不存在，请重新选择！\n记录不能修改！"},
        {{{"PublFreq", "十日刊"}, {"Carrier", "99"}},
         " 出版频率【十日刊】不存在，请重新选择！\n "
         "载体类型【99】不存在，请重新选择！\n记录不能修改！"},
        {{{"MoneyType", "  "}}, " 必须选择币种！\n记录不能修改！"},
        {{{"PeriType", "7"}}, " 订购状态【7】不存在，请重新选择！\n记录不能修改！"},
        {{{"NewFlag", "2"}}, " 新续订刊【2】不存在，请重新选择！\n记录不能修改！"},
        {{{"Price", "10"}}, " 不能批量修改【Price】！\n记录不能修改！"},
        {{{"Remark", "a"}, {"Remark", "b"}}, " 说明只能修改一次！\n记录不能修改！"},
    };
    for (const Case& c : cases) {
        presenter.shown.clear();
        EXPECT_EQ(modify(targets({"3-1", "3-2"}), c.changes), -1) << c.message;
        ASSERT_FALSE(presenter.shown.empty());
        EXPECT_EQ(presenter.shown.back().body, c.message);
    }
    EXPECT_EQ(tables(), before);
}

TEST_P(OrdMultiModifyTest, NothingChosenWritesNothing) {
    const std::string before = tables();
    EXPECT_EQ(modify({}, {{"Remark", "x"}}), 1);
    EXPECT_EQ(presenter.bodies().back(), "请选择要修改的订购明细！");
    EXPECT_EQ(modify(targets({"3-1"}), {}), 1);
    EXPECT_EQ(presenter.bodies().back(), "请选择要修改的项目！");
    EXPECT_EQ(tables(), before);
}

TEST_P(OrdMultiModifyTest, ADetailChangedElsewhereRefusesTheWholeChange) {
    auto read = targets({"3-1", "3-2"});
    // Another workstation saves 3-2 after the list read it.
    std::vector<OrdDetail> other;
    ASSERT_EQ(intLoadOrdDetails("YZFX", "202601", other), 0);
    other[1].remark = "另一工作站";
    other[1].state = RowState::Modified;
    ASSERT_EQ(intSaveOrdDetail(other[1], false), 0);
    const std::string before = tables();
    EXPECT_EQ(modify(read, {{"Remark", "批量"}}), -1);
    EXPECT_EQ(presenter.bodies().back(),
              "订购号为：3-2的记录已被其他工作站修改或删除，请刷新后重新修改！");
    EXPECT_EQ(tables(), before);
    // A deleted detail is refused the same way.
    read = targets({"3-1", "3-3"});
    g_OraDatabase->execute("DELETE FROM m_peri_sub_fund_out WHERE asord_no='3-3'");
    g_OraDatabase->execute("DELETE FROM m_peri_ord_dist_lst WHERE asord_no='3-3'");
    g_OraDatabase->execute("DELETE FROM m_sub_ord_lst WHERE asord_no='3-3'");
    g_OraDatabase->execute("DELETE FROM m_peri_ord_detl WHERE asord_no='3-3'");
    EXPECT_EQ(modify(read, {{"Remark", "批量"}}), -1);
    EXPECT_EQ(presenter.bodies().back(),
              "订购号为：3-3的记录已被其他工作站修改或删除，请刷新后重新修改！");
    EXPECT_EQ(column("remark", "3-1"), "核心期刊");
}

TEST_P(OrdMultiModifyTest, AListReadBeforeAMultiModifyCannotSaveOverIt) {
    std::vector<OrdDetail> list;
    ASSERT_EQ(intLoadOrdDetails("YZFX", "202601", list), 0);
    ASSERT_EQ(modify(targets({"3-1"}), {{"KindNo", "G25"}}), 0);
    list[0].remark = "旧列表";
    list[0].state = RowState::Modified;
    EXPECT_EQ(intSaveOrdDetail(list[0], false), -1);
    EXPECT_EQ(presenter.bodies().back(),
              "订购号为：3-1的记录已被其他工作站修改或删除，请刷新后重新修改！");
    EXPECT_EQ(column("kind_no", "3-1"), "G25");
}

TEST_P(OrdMultiModifyTest, CheckInBegunFreezesTheFrequencyOnly) {
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='2' WHERE asord_no='3-2'");
    // Issues registered for a sent detail count as begun too.
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='1' WHERE asord_no='3-3'");
    g_OraDatabase->execute(
        "INSERT INTO m_peri_chk_vol (peri_id, publ_code, peri_ord_year, asord_no, peri_no) "
        "VALUES ('0000000001','YZFX','202601','3-3',1)");
    const std::string before = tables();
    EXPECT_EQ(modify(targets({"3-1", "3-2", "3-3"}), {{"Remark", "x"}, {"PublFreq", "季刊"}}), -1);
    EXPECT_EQ(presenter.bodies().back(),
              "订购号为：3-2、3-3的记录已经开始签收，不能修改出版频率！");
    EXPECT_EQ(tables(), before);
    EXPECT_EQ(modify(targets({"3-1", "3-2", "3-3"}), {{"MoneyType", "USD"}}), 0);
    EXPECT_EQ(column("money_code", "3-3"), "USD");
    EXPECT_EQ(column("ord_flag", "3-2"), "2");
}

// The single save, multi-modify and the frequency refresh hold a begun detail's frequency by
// one rule: the same refusal, nothing written, and an unchanged frequency is no change.
TEST_P(OrdMultiModifyTest, EveryOrderSideWriterHoldsTheFrequencyOnceCheckInBegan) {
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='2' WHERE asord_no='3-2'");
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='1' WHERE asord_no='3-3'");
    g_OraDatabase->execute(
        "INSERT INTO m_peri_chk_vol (peri_id, publ_code, peri_ord_year, asord_no, peri_no) "
        "VALUES ('0000000001','YZFX','202601','3-3',1)");
    auto loaded = [](const std::string& no) {
        std::vector<OrdDetail> list;
        EXPECT_EQ(intLoadOrdDetails("YZFX", "202601", list), 0);
        for (OrdDetail& d : list)
            if (d.savedAsordNo == no) {
                d.state = RowState::Modified;
                return d;
            }
        ADD_FAILURE() << no;
        return OrdDetail{};
    };
    const std::string held = "订购号为：3-3的记录已经开始签收，不能修改出版频率！";
    const std::string before = tables();

    OrdDetail d = loaded("3-3");
    d.publFreq = "季刊";
    EXPECT_EQ(intSaveOrdDetail(d, false), -1);
    EXPECT_EQ(presenter.bodies().back(), held + "\n订购号为：3-3的记录不能保存！");
    EXPECT_EQ(tables(), before);
    EXPECT_EQ(modify(targets({"3-3"}), {{"PublFreq", "季刊"}}), -1);
    EXPECT_EQ(presenter.bodies().back(), held);
    EXPECT_EQ(intUpdateOrdFreq("YZFX", "202601", "3-3", "季刊"), -1);
    EXPECT_EQ(presenter.bodies().back(), held);
    EXPECT_EQ(tables(), before);

    // The frequency it has, written again, is no change; nor is any other field.
    d = loaded("3-3");
    d.remark = "签收中";
    ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    ASSERT_EQ(modify(targets({"3-2", "3-3"}), {{"PublFreq", " 月刊 "}}), 0);
    d = loaded("3-1");
    d.publFreq = "双月刊";
    ASSERT_EQ(intSaveOrdDetail(d, false), 0);

    // The refresh names the held details once and takes the offer for the others.
    presenter.shown.clear();
    ASSERT_EQ(intRefreshOrdFreqs("YZFX", "202601",
                                 {{"3-1", "3-1", "", "", "季刊"},
                                  {"3-2", "3-2", "", "", "季刊"},
                                  {"3-3", "3-3", "", "", "月刊"}}),
              0);
    EXPECT_EQ(presenter.bodies(),
              std::vector<std::string>{"订购号为：3-2的记录已经开始签收，不能修改出版频率！"});
    EXPECT_EQ(column("publ_freq", "3-1"), "季刊");
    EXPECT_EQ(column("publ_freq", "3-2"), "月刊");
    EXPECT_EQ(column("remark", "3-3"), "签收中");
}

TEST_P(OrdMultiModifyTest, AFailureAtAnyStepLeavesTheTablesAsTheyWere) {
    auto t = targets({"3-1", "3-2", "3-3"});
    ProbeBackend& probe = ProbeBackend::install();
    auto failed = failEachStep(
        probe, presenter,
        [&] {
            return modify(t, {{"GetMode", "02"}, {"Remark", "批量修改"}}) == 0;
        },
        tables);
    EXPECT_TRUE(contains(failed, "begin"));
    EXPECT_TRUE(contains(failed, "commit"));
    EXPECT_EQ(column("get_mode_code", "3-2"), "02");
    EXPECT_EQ(column("row_version", "3-3"), "1");
}

TEST(OrdMultiModifyFields, EveryFieldNamesAColumnAndADetailField) {
    for (const OrdMultiField& f : OrdMultiModifyFields()) {
        EXPECT_EQ(OrdMultiModifyField(f.key), &f);
        EXPECT_NE(std::string(f.column), "");
    }
    EXPECT_EQ(OrdMultiModifyField("AsordNo"), nullptr);
    EXPECT_EQ(OrdMultiModifyField("SumCount"), nullptr);
}

}  // namespace
