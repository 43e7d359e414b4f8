// Binding and accession tests on both backends: a title with its order line, check-in
// configuration, expected issues and received copies written straight into the tables, the way
// check-in leaves them; ZD01 logged in, the server date pinned.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/basQKLogin.h"
#include "db/basLibDB.h"
#include "marc/core/basBMDefault.h"
#include "marc/core/basBMIndex.h"
#include "marc/core/basBMStore.h"
#include "tests/support/TestDb.h"

struct TitleSpec {
    std::string publ = "TSTB", ordYear = "202501", asordNo = "B-1";
    std::string location = "QK01", disLocation = "QK01";
    std::string publYear = "2025";
    int issues = 14;  // issues 1..n, in volume `volume`
    std::string volume = "33";
    int copies = 1;      // copies received of every issue
    int perVolume = 6;   // bind_item_qty
    int keep = 2;        // issue_keep_qty
    int bindCopies = 2;  // bind_copy_qty
    std::string price = "12.50";
    int firstPeriId = 1;
    std::string spine = "测试学报合订本";  // 516$a
    std::string callNo;                    // 905$d
};

inline std::string periIdOf(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%010d", n);
    return buf;
}

inline void exec(const std::string& sql) {
    g_OraDatabase->execute(sql);
}

// A Chinese record with a title, spine title and optional call number; its number.
inline std::string insertRecord(const TitleSpec& t) {
    MarcRec rec;
    rec.MarcType = "C";
    rec.DocTypeCode = "11";
    rec.LangCode = "chi";
    rec.CountryCode = "cn";
    rec.MarcUseFlag = "0";
    std::vector<MarcItem> items{{"200a", "测试学报"}, {"011a", "1000-0001"}};
    if (!t.spine.empty()) items.push_back({"516a", t.spine});
    if (!t.callNo.empty()) items.push_back({"905d", t.callNo});
    MarcBuildFromItems(items, rec, "2026-01-15");
    EXPECT_TRUE(MarcSave(rec, 0, 0, "")) << g_ErrInfo.strDesc;
    return rec.RecNo;
}

// The order line, its configuration at the location, the issues and their copies.
inline std::string insertTitle(const TitleSpec& t) {
    std::string marc = insertRecord(t);
    std::string key = "'" + t.publ + "','" + t.ordYear + "','" + t.asordNo + "'";
    exec(
        "INSERT INTO m_peri_ord_detl (publ_code,peri_ord_year,asord_no,carrier_code,"
        "get_mode_code,marc_rec_no,book_size_code,peri_price,bind_item_qty,ord_flag) VALUES (" +
        key + ",'01','01','" + marc + "','01'," + t.price + "," + std::to_string(t.perVolume) +
        ",'2')");
    exec(
        "INSERT INTO m_peri_chk_cfg (publ_code,peri_ord_year,asord_no,location,bind_ysno,"
        "bind_copy_qty,issue_keep_qty,color,frame) VALUES (" +
        key + ",'" + t.location + "','1'," + std::to_string(t.bindCopies) + "," +
        std::to_string(t.keep) + ",'深蓝','精装')");
    for (int i = 1; i <= t.issues; ++i) {
        std::string id = periIdOf(t.firstPeriId + i - 1);
        exec(
            "INSERT INTO m_peri_chk_vol (peri_id,publ_code,peri_ord_year,asord_no,cover_vol,"
            "cover_issue,publ_year,peri_no,finish_flag,peri_type) VALUES ('" +
            id + "'," + key + ",'" + t.volume + "','" + std::to_string(i) + "','" + t.publYear +
            "'," + std::to_string(i) + ",'0','0')");
        for (int c = 1; c <= t.copies; ++c)
            exec(
                "INSERT INTO m_peri_item (peri_id,location,dis_location,item_no,item_stat,"
                "chk_date,wkr_no) VALUES ('" +
                id + "','" + t.location + "','" + t.disLocation + "'," + std::to_string(c) +
                ",'0','2026-01-10 09:00:00','JD01')");
    }
    return marc;
}

// Every row of the tables binding and accession write, as sorted text, to compare before and
// after a failed operation.
inline std::string bindSnapshot() {
    return tableSnapshot({"m_peri_item", "m_peri_bind_detl", "m_bind_batch_lst", "item",
                          "indi_acct", "m_peri_check_acct", "call_no_lst", "max_class_serial",
                          "section_max_number", "recycle_section", "log_detl", "wkr_job_qty"});
}

// ZD01's property-number sections (bound volumes from 1, single issues from 501) and an
// accession batch of each kind: QH000001 for bound volumes, QD000001 for single issues.
inline void insertAccessionSetup() {
    exec(
        "INSERT INTO section_lst (section_code,section_name,class_type_code) VALUES "
        "('S11','期刊部合订本','11'),('S15','期刊部单册','15')");
    exec(
        "INSERT INTO section_wkr (wkr,class_type_code,section_code) VALUES "
        "('ZD01','11','S11'),('ZD01','15','S15')");
    exec(
        "INSERT INTO section_max_number (section_code,min_prop_no,max_prop_no) VALUES "
        "('S11',1,9999999),('S15',501,999999)");
    exec(
        "INSERT INTO m_peri_check_acct (peri_batch_no,class_type_code,peri_batch_date,resp_wkr,"
        "remark,check_type) VALUES ('QH000001','11','2026-01-15','ZD01','合订本',0),"
        "('QD000001','15','2026-01-15','ZD01','单册',1)");
}

class BindDbTest : public DbTest {
protected:
    InstallOptions installOptions() const override { return demoInstall(); }
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_EQ(LIB_LoadMarcIndexParams(), 0) << g_ErrInfo.strDesc;
        LIB_SetComputerName(kDemoComputer);
        ASSERT_TRUE(LIB_Login("ZD01", "1234"));
        LIB_DB_PinServerDate("2026-01-15 10:00:00");
        // The demo's binding rows out of the way: each test writes its own.
        for (const char* t :
             {"item", "indi_acct", "m_peri_item", "m_peri_chk_lack", "m_peri_chk_vol",
              "m_peri_chk_cfg", "m_peri_bind_detl", "m_bind_batch_lst", "m_peri_check_acct",
              "call_no_lst", "max_class_serial", "section_wkr", "section_max_number", "section_lst",
              "recycle_section"})
            exec(std::string("DELETE FROM ") + t);
        exec(
            "INSERT INTO m_bind_batch_lst (bookbinder_code,bind_batch_no,send_bind_date,"
            "resp_wkr) VALUES ('ZD01','2026-01','','ZD01')");
    }
};
