// Batch ordering on both backends: intake records turned into order details of one catalogue
// with the acquisition mode of their source and country, the subscriber, fund and distribution
// lines given once, the intake marked as ordered, the refusals before anything is written,
// records that exist or cannot be read logged in the day's batch log, every step of a record
// failed in turn, and the acquisitions settings file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/basQKEnv.h"
#include "ordering/core/AcqCodes.h"
#include "ordering/core/OrdBatch.h"
#include "ordering/core/basOrdFunc.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/FaultSteps.h"

namespace {

std::string rowsOf(const std::string& sql) {
    std::string out;
    for (const auto& row : g_OraDatabase->query(sql).rows) {
        for (const auto& v : row)
            out += v.str() + "|";
        out += "\n";
    }
    return out;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class OrdBatch : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        marc = "1000000001";
        std::filesystem::remove(strBatchOrdLogPath());
        // A foreign gift, a domestic exchange without an order number of its own, a domestic
        // gift, and a record that has no catalogue record to order.
        g_OraDatabase->execute(
            "INSERT INTO prsn_exch_detl (doc_id, marc_rec_no, exch_type, obj_code, country_code, "
            "asord_no, publ_freq, money_code, peri_price) VALUES "
            "('0000000001','" +
            marc +
            "','0','P1','US','2-15','月刊','USD',10), "
            "('0000000002','" +
            marc +
            "','1','P2','CN',NULL,'季刊','CNY',25), "
            "('0000000003','" +
            marc +
            "','0','P3','CN','2-16','月刊','CNY',8), "
            "('0000000004',NULL,'1','P2','JP','7-7','月刊','JPY',100)");
    }
    static BatchOrdRequest request(std::vector<std::string> ids) {
        BatchOrdRequest r;
        r.publ = "YZFX";
        r.year = "202601";
        r.newCata = true;
        r.subscriber = "QK01";
        r.fundSrc = "01";
        r.counts = "2";
        r.checkIn = true;
        r.dists = {{"QK01", "1", "TP3"}, {"QKYL", "1", ""}};
        r.docIds = std::move(ids);
        return r;
    }
    std::string marc;  // the intake records share one catalogue record
    BatchOrdResult result;
};
SERIALS_ON_BOTH_BACKENDS(OrdBatch);

TEST_P(OrdBatch, RecordsBecomeOrderDetailsWithTheirAcquisitionMode) {
    ASSERT_EQ(intBatchOrder(request({"0000000001", "0000000002", "0000000003"}), result), 0)
        << readFile(result.logPath);
    EXPECT_EQ(presenter.shown.back().body, "批量订购完成！");
    EXPECT_EQ(result.ordered, 3);
    EXPECT_EQ(scalar("SELECT peri_ord_flag FROM m_peri_ord_lst WHERE publ_code='YZFX' AND "
                     "peri_ord_year='202601'"),
              "0");
    EXPECT_EQ(rowsOf("SELECT asord_no, get_mode_code, marc_rec_no, money_code, peri_price, "
                     "peri_total_price, peri_ord_qty, ord_flag, new_ord_flag, publ_freq, "
                     "fmt_asord_no, resp_wkr FROM m_peri_ord_detl ORDER BY asord_no"),
              "0000000002|04|" + marc + "|CNY|25|100|2|0|0|季刊|0000000002|DY01|\n" + "2-15|06|" +
                  marc + "|USD|10|120|2|0|0|月刊|0002-0015|DY01|\n" + "2-16|07|" + marc +
                  "|CNY|8|96|2|0|0|月刊|0002-0016|DY01|\n");
    EXPECT_EQ(rowsOf("SELECT location, sub_peri_qty, chk_stat FROM m_sub_ord_lst WHERE "
                     "asord_no='2-15'"),
              "QK01|2|1|\n");
    EXPECT_EQ(rowsOf("SELECT fund_src_code, sub_qty, sub_amt FROM m_peri_sub_fund_out WHERE "
                     "asord_no='2-15'"),
              "01|2|240|\n");
    EXPECT_EQ(rowsOf("SELECT dist_loca, dist_qty, label FROM m_peri_ord_dist_lst WHERE "
                     "asord_no='2-15' ORDER BY dist_loca"),
              "QK01|1|TP3|\nQKYL|1||\n");
    EXPECT_EQ(rowsOf("SELECT doc_id FROM prsn_exch_detl WHERE trans_flag='1' ORDER BY doc_id"),
              "0000000001|\n0000000002|\n0000000003|\n");
    EXPECT_NE(readFile(result.logPath).find("【新订刊征订号】：   2-16"), std::string::npos);
    std::string next;
    ASSERT_EQ(intNextExchDocId(next), 0);
    EXPECT_EQ(next, "0000000005");
}

TEST_P(OrdBatch, ExistingAndUnreadableRecordsAreLoggedAndTheRestOrdered) {
    ASSERT_EQ(intNewOrdCata("YZFX", "202601"), 0);
    OrdDetail d = CompleteDetail("YZFX", "202601", "2-15");
    ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    BatchOrdRequest r = request({"0000000001", "0000000004", "0000000003", "0000000099"});
    r.newCata = false;
    r.checkIn = false;
    EXPECT_EQ(intBatchOrder(r, result), -1);
    EXPECT_EQ(presenter.shown.back().body, "批量订购出现了错误，参考日志文件");
    EXPECT_EQ(presenter.shown.back().type, 'E');
    EXPECT_EQ(result.ordered, 1);
    EXPECT_EQ(result.failed, 3);
    const std::string log = readFile(result.logPath);
    EXPECT_NE(log.find("批量订购 征订号：【2-15】 已经存在，不能订购"), std::string::npos) << log;
    EXPECT_NE(log.find("0000000004 不能转入！"), std::string::npos) << log;
    EXPECT_NE(log.find("0000000099 不能转入！"), std::string::npos) << log;
    EXPECT_EQ(rowsOf("SELECT asord_no, remark FROM m_peri_ord_detl ORDER BY asord_no"),
              "2-15|核心期刊|\n2-16||\n");
    // Not checking in: no distribution lines.
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_dist_lst WHERE asord_no='2-16'"), "0");
    EXPECT_EQ(scalar("SELECT trans_flag FROM prsn_exch_detl WHERE doc_id='0000000001'"), "");
}

TEST_P(OrdBatch, RefusalsComeBeforeAnythingIsWritten) {
    struct Case {
        std::function<void(BatchOrdRequest&)> change;
        const char* message;
    };
    const Case cases[] = {
        {[](BatchOrdRequest& r) { r.year = ""; }, "请输入订购目录名称！"},
        {[](BatchOrdRequest& r) { r.newCata = false; }, "没有订购目录，请新建一个！"},
        {[](BatchOrdRequest& r) { r.fundSrc = ""; }, "请输入完整的订购信息！"},
        {[](BatchOrdRequest& r) { r.counts = "０"; }, "请输入完整的订购信息！"},
        {[](BatchOrdRequest& r) { r.counts = "-2"; }, "请输入完整的订购信息！"},
        {[](BatchOrdRequest& r) {
             r.dists.push_back({"QK01", "1", ""});
         },
         "分配地重复！"},
        {[](BatchOrdRequest& r) { r.dists[1].qty = "0"; }, "分配数不能为0！"},
        {[](BatchOrdRequest& r) { r.dists.clear(); }, "选择分配地！"},
    };
    const std::string before =
        tableRows({"m_peri_ord_lst", "m_peri_ord_detl", "m_sub_ord_lst", "prsn_exch_detl"});
    for (const Case& c : cases) {
        BatchOrdRequest r = request({"0000000001"});
        c.change(r);
        presenter.shown.clear();
        EXPECT_EQ(intBatchOrder(r, result), 1) << c.message;
        ASSERT_EQ(presenter.shown.size(), 1u) << c.message;
        EXPECT_EQ(presenter.shown[0].body, c.message);
        EXPECT_EQ(presenter.shown[0].type, 'E');
    }
    EXPECT_EQ(tableRows({"m_peri_ord_lst", "m_peri_ord_detl", "m_sub_ord_lst", "prsn_exch_detl"}),
              before);
}

TEST_P(OrdBatch, EveryStepOfARecordFailedInTurn) {
    ASSERT_EQ(intNewOrdCata("YZFX", "202601"), 0);
    BatchOrdRequest r = request({"0000000001"});
    r.newCata = false;
    ProbeBackend& probe = ProbeBackend::install();
    auto failed = failEachStep(
        probe, presenter, [&] { return intBatchOrder(r, result) == 0; },
        [] {
            return tableRows({"m_peri_ord_lst", "m_peri_ord_detl", "m_sub_ord_lst",
                              "m_peri_sub_fund_out", "m_peri_ord_dist_lst", "prsn_exch_detl"});
        });
    EXPECT_TRUE(contains(failed, "begin"));
    EXPECT_TRUE(contains(failed, "commit"));
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_dist_lst"), "2");
    EXPECT_NE(readFile(result.logPath).find("插入分配地："), std::string::npos);
}

TEST_P(OrdBatch, AcquisitionSettingsListsEndAtTheFirstMissingKey) {
    AcqSettings s;
    std::filesystem::remove(strAcqSettingsPath());
    ASSERT_EQ(intLoadAcqSettings(s), 0);
    EXPECT_TRUE(s.indexFields.empty());
    std::filesystem::create_directories(g_strPath[3] + "cf");
    std::ofstream(strAcqSettingsPath()) << "[INDEX FIELD]\n000=01:题名\n001=03:ISSN:连续\n"
                                           "003=09:不读\n[MARCINFO_NUM]\n001=12\n"
                                           "[fund_type]\n000=09\n";
    ASSERT_EQ(intLoadAcqSettings(s), 0);
    EXPECT_EQ(s.indexFields, (std::vector<AcqCfgItem>{{"01", "题名"}, {"03", "ISSN:连续"}}));
    EXPECT_EQ(s.fundTypes, (std::vector<AcqCfgItem>{{"09", ""}}));
    EXPECT_TRUE(s.findSame.empty());
    EXPECT_EQ(s.marcInfoNum, 12);
}

TEST_P(OrdBatch, TheBuiltInSettingsFileIsTheSampleWithItsLists) {
    std::filesystem::create_directories(g_strPath[3] + "cf");
    std::ofstream(strAcqSettingsPath(), std::ios::binary) << DefaultAcqCfgText();
    AcqSettings s;
    ASSERT_EQ(intLoadAcqSettings(s), 0);
    EXPECT_EQ(s.indexFields.size(), 4u);
    EXPECT_EQ(s.fundTypes.front(), (AcqCfgItem{"01", "中文期刊经费"}));
    EXPECT_EQ(s.findSame.front(), (AcqCfgItem{"200", "题名"}));
    EXPECT_EQ(s.marcInfoNum, 12);
}

TEST_P(OrdBatch, AcquisitionsCodeListsAreReadAsTheScreensOfferThem) {
    g_OraDatabase->execute("UPDATE pay_mode_code SET code_use_flag='0' WHERE pay_mode_code='05'");
    std::vector<AcqCode> list;
    ASSERT_EQ(intGetAcqPayModes(list), 0);
    ASSERT_EQ(list.size(), 6u) << "a mode out of use is not offered";
    EXPECT_EQ(list.front(), (AcqCode{"01", "银行转账"}));
    EXPECT_EQ(strAcqName(list, "05"), "");

    ASSERT_EQ(intGetAcqFundSources(list), 0);
    ASSERT_EQ(list.size(), 9u);
    EXPECT_EQ(strAcqName(list, kAcqGiftFund), "") << "gifts are not paid from a fund";
    EXPECT_EQ(list.back(), (AcqCode{"10", "交换"}));

    ASSERT_EQ(intGetAcqMoneyTypes(list), 0);
    std::vector<std::string> codes;
    for (const AcqCode& c : list)
        codes.push_back(c.code);
    EXPECT_EQ(codes,
              (std::vector<std::string>{"CHF", "CNY", "EUR", "GBP", "HKD", "JPY", "TWD", "USD"}));
    EXPECT_EQ(strAcqName(list, " USD "), "美元");

    std::vector<AcqPropClass> classes;
    ASSERT_EQ(intGetAcqPropClasses(classes), 0);
    ASSERT_EQ(classes.size(), 11u);
    EXPECT_EQ(classes[3].code, "11");
    EXPECT_EQ(classes[3].name, "中文期刊合订本");
    EXPECT_EQ(classes[3].propPrefix, "Q");
    EXPECT_EQ(classes[3].batchPrefix, "QH");
    EXPECT_EQ(classes[3].serialWidth, 6);

    EXPECT_EQ(strAcqName(AcqPartnerKinds(), "2"), "赠送并交换对象");
    EXPECT_EQ(AcqPartnerKinds().size(), 3u);
}

}  // namespace
