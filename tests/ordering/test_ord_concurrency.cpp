// Order imports meeting other writers. Several serialsctl processes importing into one new
// catalogue at the same moment: every valid detail saved, one catalogue, the workload counters
// exact. And an import while another connection holds the write lock past the busy timeout:
// every detail is saved whole, or reported and absent.
#include <gtest/gtest.h>

#include <fstream>

#include "ordering/core/basOrdFile.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/CtlRun.h"
#include "tests/support/FaultSteps.h"
#include "tests/support/HeldWriteLock.h"

namespace {

constexpr int kDetailsPerFile = 5;

// An order file of `count` details numbered "<prefix>-1".. into catalogue YZFX 209901, each of
// one subscriber with two copies.
std::string orderFile(const std::string& prefix, int count) {
    std::string text;
    for (int j = 1; j <= count; ++j)
        text += "D,YZFX,209901," + prefix + "-" + std::to_string(j) +
                ",,0,01,月刊,01,CNY,10,,,,TP3,0,\nS,QK01,1,2,全年,\nF,01,2,,\nT,QK01,1,\n"
                "T,QKYL,1,TP3/12\n";
    return text;
}

class OrdParallel : public CtlTest {};
SERIALS_ON_BOTH_BACKENDS(OrdParallel);

TEST_P(OrdParallel, ImportsIntoOneNewCatalogueSaveEveryDetail) {
    for (int processes : {2, 4, 8}) {
        TestHome home(GetParam(), OrdTestInstall());
        std::string script;
        for (int i = 0; i < processes; ++i) {
            const std::string tag = "p" + std::to_string(i);
            const std::string path = home.dir() + "/TMP/" + tag + ".csv";
            std::ofstream(path) << orderFile("P" + std::to_string(i), kDetailsPerFile);
            script +=
                "( " +
                ctlCommand(binary, home.dir(),
                           {"--user", "DY01", "--password", "1234", "order", "import", path}, tag) +
                "; echo $? >" + home.dir() + "/TMP/" + tag + ".rc ) & ";
        }
        ASSERT_EQ(std::system((script + "wait").c_str()), 0);
        for (int i = 0; i < processes; ++i) {
            const std::string tag = home.dir() + "/TMP/p" + std::to_string(i);
            EXPECT_EQ(slurp(tag + ".rc"), "0\n")
                << processes << " processes, " << i << ": " << slurp(tag + ".2");
        }
        ScriptedPresenter presenter;
        LIB_SetPresenter(&presenter);
        openSession(home);
        const int details = processes * kDetailsPerFile;
        EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_lst WHERE peri_ord_year='209901'"), "1");
        EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl WHERE peri_ord_year='209901'"),
                  std::to_string(details));
        EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_dist_lst WHERE peri_ord_year='209901'"),
                  std::to_string(2 * details));
        EXPECT_EQ(scalar("SELECT sum(kind) FROM wkr_job_qty WHERE job_type='502'"),
                  std::to_string(details));
        EXPECT_EQ(scalar("SELECT sum(volume) FROM wkr_job_qty WHERE job_type='502'"),
                  std::to_string(2 * details));
        EXPECT_EQ(scalar("SELECT count(*) FROM wkr_job_qty WHERE job_type='502'"), "1");
        resetProcessState();
    }
}

class OrdLocked : public OrdDbTest {};
SERIALS_ON_BOTH_BACKENDS(OrdLocked);

TEST_P(OrdLocked, ImportUnderAHeldWriteLockSavesDetailsWholeOrNotAtAll) {
    const bool sqlite = GetParam() == kSqlite;
    const std::string path = home->dir() + "/TMP/locked.csv";
    std::ofstream(path) << orderFile("L", 4);
    // Another workstation holds the write lock a little longer than the busy timeout (SQLite)
    // or for a while (PostgreSQL, which waits for it).
    HeldWriteLock held("m_peri_ord_detl", std::chrono::milliseconds(sqlite ? 6000 : 1500));
    int saved = 0;
    std::vector<std::string> skipped;
    std::string error;
    ASSERT_EQ(intImportOrdFile(path, saved, skipped, error), 0) << error;
    held.join();

    EXPECT_EQ(saved + static_cast<int>(skipped.size()), 4);
    if (sqlite) {
        EXPECT_GE(skipped.size(), 1u) << "the lock outlasted the busy timeout";
        EXPECT_TRUE(contains(presenter.bodies(), "该记录已经被锁定!"));
    }
    for (const ShownMessage& shown : presenter.shown)
        EXPECT_FALSE(shown.inTransaction) << shown.body;
    for (int j = 1; j <= 4; ++j) {
        const std::string no = "L-" + std::to_string(j);
        bool reported = false;
        for (const std::string& s : skipped)
            reported = reported || s.find(" " + no) != std::string::npos;
        const std::string where = " WHERE asord_no='" + no + "'";
        const std::string expected = reported ? "0" : "1";
        EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl" + where), expected) << no;
        EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst" + where), expected) << no;
        EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_sub_fund_out" + where), expected) << no;
        EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_dist_lst" + where), reported ? "0" : "2")
            << no;
    }
}

}  // namespace
