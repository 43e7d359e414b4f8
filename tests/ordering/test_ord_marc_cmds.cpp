// The record commands of the order list on both backends: a detail's short record display, and
// deleting its record, refused while anything else uses it, whole or not at all.
#include <gtest/gtest.h>

#include "db/basLibMsg.h"
#include "marc/core/MarcImport.h"
#include "ordering/core/OrdMarcCmds.h"
#include "ordering/core/basOrdFunc.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/FaultSteps.h"

namespace {

class OrdMarcCmds : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(MarcLoadDemoRecords({}).saved, 40);
        ASSERT_EQ(intNewOrdCata("YZFX", "202601"), 0);
        own = recordOf("数字出版与传播");
        shared = recordOf("现代情报技术");
        for (auto [no, rec] : {std::pair{"1-1", own}, {"1-2", shared}, {"1-3", shared}}) {
            OrdDetail d = CompleteDetail("YZFX", "202601", no);
            d.marcNo = rec;
            ASSERT_EQ(intSaveOrdDetail(d, false), 0);
        }
    }
    static std::string recordOf(const std::string& title) {
        return scalar("SELECT marc_rec_no FROM marc WHERE m_title='" + title + "'");
    }
    static std::string rowsOf(const std::string& rec) {
        return scalar("SELECT count(*) FROM marc WHERE marc_rec_no='" + rec + "'") + "/" +
               scalar("SELECT count(*) FROM marc_data WHERE marc_rec_no='" + rec + "'") + "/" +
               scalar("SELECT count(*) FROM marc_idx WHERE marc_rec_no='" + rec + "'");
    }
    static std::string tables() {
        return tableRows({"marc", "marc_data", "marc_idx", "m_peri_ord_detl"});
    }
    int remove(const std::string& no, const std::string& rec, long long version = 0) {
        return intDeleteOrdMarc("YZFX", "202601", no, version, rec, false);
    }
    std::string own, shared;
};
SERIALS_ON_BOTH_BACKENDS(OrdMarcCmds);

TEST_P(OrdMarcCmds, TheShortDisplayNamesTheRecord) {
    std::string text;
    ASSERT_EQ(intOrdMarcShort(own, text), 0);
    const auto lines = LIB_Split(text, "\n");
    ASSERT_EQ(lines.size(), 6u) << text;
    EXPECT_EQ(lines[0], "题名：数字出版与传播");
    EXPECT_EQ(lines[2], "出版者：新闻出版研究中心");
    EXPECT_EQ(lines[4],
              "ISSN/ISBN：" + scalar("SELECT m_isbn FROM marc WHERE marc_rec_no='" + own + "'"));
    EXPECT_EQ(lines[5], "记录号：" + own);
    ASSERT_EQ(intOrdMarcShort("9999999999", text), 0);
    EXPECT_EQ(text, "");
}

TEST_P(OrdMarcCmds, AnUnsharedRecordGoesWithItsIndexAndTheDetailKeepsItsOrder) {
    ASSERT_NE(rowsOf(own).substr(0, 2), "0/");
    presenter.replies.push_back({kMsgOk, {}});
    ASSERT_EQ(intDeleteOrdMarc("YZFX", "202601", "1-1", 0, own), 0);
    EXPECT_EQ(presenter.shown.front().body, "是否确定删除该订购明细的书目记录？");
    EXPECT_EQ(rowsOf(own), "0/0/0");
    EXPECT_EQ(scalar("SELECT nvl(marc_rec_no,'-') FROM m_peri_ord_detl WHERE asord_no='1-1'"), "-");
    EXPECT_EQ(scalar("SELECT row_version FROM m_peri_ord_detl WHERE asord_no='1-1'"), "1");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst WHERE asord_no='1-1'"), "2");
    EXPECT_NE(rowsOf(shared).substr(0, 2), "0/");
}

TEST_P(OrdMarcCmds, DeclinedOrUsedElsewhereNothingGoes) {
    const std::string before = tables();
    presenter.replies.push_back({kMsgCancel, {}});
    EXPECT_EQ(intDeleteOrdMarc("YZFX", "202601", "1-1", 0, own), 1);
    EXPECT_EQ(remove("1-2", shared), -1);
    EXPECT_EQ(presenter.bodies().back(), "该书目记录还有其他订购明细使用，不能删除！");
    g_OraDatabase->execute("INSERT INTO item (prop_no, marc_rec_no) VALUES ('Q0000001','" + own +
                           "')");
    EXPECT_EQ(remove("1-1", own), -1);
    EXPECT_EQ(presenter.bodies().back(), "该书目记录还有馆藏使用，不能删除！");
    g_OraDatabase->execute("DELETE FROM item");
    EXPECT_EQ(remove("1-1", ""), -1);
    EXPECT_EQ(presenter.bodies().back(), "该订购明细没有书目记录！");
    EXPECT_EQ(tables(), before);
}

TEST_P(OrdMarcCmds, ADetailChangedSinceItWasReadKeepsItsRecord) {
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET row_version=3 WHERE asord_no='1-1'");
    const std::string before = tables();
    EXPECT_EQ(remove("1-1", own, 2), -1);
    EXPECT_EQ(presenter.bodies().back(), strOrdChangedElsewhere("1-1"));
    EXPECT_EQ(tables(), before);
    EXPECT_EQ(remove("1-1", own, 3), 0);
}

TEST_P(OrdMarcCmds, AFailureAtAnyStepLeavesRecordAndDetail) {
    ProbeBackend& probe = ProbeBackend::install();
    auto failed = failEachStep(
        probe, presenter, [&] { return remove("1-1", own) == 0; }, tables);
    EXPECT_TRUE(contains(failed, "begin"));
    EXPECT_TRUE(contains(failed, "commit"));
    EXPECT_EQ(rowsOf(own), "0/0/0");
}

}  // namespace
