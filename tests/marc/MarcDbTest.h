// Fixtures for catalogue tests on a database: both backends, and both storage modes of the MARC
// tables. MARC_BOTH_MODES(name) defines one test body that runs in each mode.
#pragma once

#include <string>
#include <vector>

#include "db/basLibDB.h"
#include "marc/core/basBMDefault.h"
#include "marc/core/basBMIndex.h"
#include "marc/core/basBMStore.h"
#include "tests/support/TestDb.h"

class MarcDbTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_EQ(LIB_LoadMarcIndexParams(), 0) << g_ErrInfo.strDesc;
        LIB_DB_PinServerDate("2024-03-15 10:00:00");
    }
};

class MarcDbUnicodeTest : public MarcDbTest {
protected:
    InstallOptions installOptions() const override { return unicodeMarcInstall(); }
};

#define MARC_BOTH_MODES(Suite, Name) \
    void Suite##_##Name##_body();    \
    TEST_P(Suite, Name) {            \
        Suite##_##Name##_body();     \
    }                                \
    TEST_P(Suite##Unicode, Name) {   \
        Suite##_##Name##_body();     \
    }                                \
    void Suite##_##Name##_body()

// A record of the format from (tag+code, value) items, with the default fixed field.
inline MarcRec marcFromItems(const std::string& type, const std::vector<MarcItem>& items,
                             const std::string& docType = "11") {
    MarcRec rec;
    rec.MarcType = type;
    rec.DocTypeCode = docType;
    rec.LangCode = type == "C" ? "chi" : "eng";
    rec.CountryCode = type == "C" ? "cn" : "us";
    rec.MarcUseFlag = "0";
    MarcBuildFromItems(items, rec, "2024-03-15");
    return rec;
}

// Index keys a record has in a group, in the order written.
inline std::vector<std::string> indexKeys(const std::string& recNo, const std::string& group) {
    std::vector<std::string> keys;
    RawResult r = g_OraDatabase->query(
        "SELECT marc_idx_cont FROM marc_idx WHERE marc_rec_no=" + LIB_SqlStr(recNo) +
        " AND marc_idx_grp=" + LIB_SqlStr(group) + " ORDER BY marc_idx_cont");
    for (const auto& row : r.rows)
        keys.push_back(row[0].str());
    return keys;
}
