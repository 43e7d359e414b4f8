// Every multi-row ordering operation, with each of its steps failed in turn (begin, every
// statement, commit): the order and log tables are left as they were and the error is shown
// only after the rollback. Also the catalogue that an import creates when it is missing.
#include <gtest/gtest.h>

#include "ordering/core/basOrdFunc.h"
#include "ordering/core/basOrdList.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/FaultSteps.h"

namespace {

class OrdFaults : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(intNewOrdCata("YZFX", "202601"), 0);
        for (const char* no : {"2-15", "2-16"}) {
            OrdDetail d = CompleteDetail("YZFX", "202601", no);
            ASSERT_EQ(intSaveOrdDetail(d, false), 0);
            keys.push_back(d.key);
        }
        g_OraDatabase->execute("DELETE FROM log_detl");
        g_OraDatabase->execute("DELETE FROM wkr_job_qty");
        probe = &ProbeBackend::install();
    }
    static std::string tables() {
        return tableRows({"m_peri_ord_lst", "m_peri_ord_detl", "m_sub_ord_lst",
                          "m_peri_sub_fund_out", "m_peri_ord_dist_lst", "log_detl", "wkr_job_qty"});
    }
    // Fails each step of the operation; its begin and its commit must be among them.
    void expectEveryStepSafe(const std::function<bool()>& op) {
        auto failed = failEachStep(*probe, presenter, op, tables);
        EXPECT_TRUE(contains(failed, "begin"));
        EXPECT_TRUE(contains(failed, "commit"));
    }
    std::vector<std::string> keys;
    ProbeBackend* probe = nullptr;
};
SERIALS_ON_BOTH_BACKENDS(OrdFaults);

TEST_P(OrdFaults, NewDetail) {
    expectEveryStepSafe([] {
        OrdDetail d = CompleteDetail("YZFX", "202601", "2-17");
        return intSaveOrdDetail(d, false) == 0;
    });
    EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst WHERE asord_no='2-17'"), "2");
}

TEST_P(OrdFaults, DeletedDetails) {
    expectEveryStepSafe([&] { return intDeleteOrdDetails(keys, false, false) == 0; });
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl"), "0");
}

TEST_P(OrdFaults, DeletedDetailsWithTheirRecords) {
    expectEveryStepSafe([&] { return intDeleteOrdDetails(keys, false, true) == 0; });
    EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst"), "0");
}

TEST_P(OrdFaults, NewCatalogue) {
    expectEveryStepSafe([] { return intNewOrdCata("TSJK", "202601") == 0; });
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_lst WHERE publ_code='TSJK'"), "1");
}

TEST_P(OrdFaults, RenamedCatalogue) {
    expectEveryStepSafe([] { return intRenameOrdCata("YZFX", "202601", "TSJK", "202602") == 0; });
    EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst WHERE publ_code='TSJK'"), "4");
}

TEST_P(OrdFaults, DeletedCatalogue) {
    expectEveryStepSafe([] { return intDeleteOrdCata("YZFX", "202601", false) == 0; });
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_lst"), "0");
}

TEST_P(OrdFaults, CatalogueCreatedWhenMissing) {
    expectEveryStepSafe([] { return intEnsureOrdCata("TSJK", "202601") == 0; });
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl WHERE log_type='50016'"), "1");
    // Once it exists it is left as it is, and nothing is logged.
    g_OraDatabase->execute("UPDATE m_peri_ord_lst SET resp_wkr='ZG01' WHERE publ_code='TSJK'");
    EXPECT_EQ(intEnsureOrdCata("TSJK", "202601"), 0);
    EXPECT_EQ(scalar("SELECT resp_wkr FROM m_peri_ord_lst WHERE publ_code='TSJK'"), "ZG01");
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl WHERE log_type='50016'"), "1");
}

}  // namespace
