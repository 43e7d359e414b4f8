// The copies still owed (m_peri_chk_lack) as the writers left them, and as a rebuild from the
// issues, copies, subscribers and claims gives them: fixtures compare the two after each test, so
// that every check-in and claim operation is seen to keep the table the claim search reads.
#pragma once

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "db/DbTransaction.h"
#include "db/basLibDB.h"
#include "ordering/core/basOrdFunc.h"

inline std::string owedCopies() {
    std::string out;
    for (const auto& row :
         g_OraDatabase
             ->query("SELECT peri_id,location,sub_qty,rece_qty,aslack_cnt,aslack_last,label,"
                     "publ_code,peri_ord_year,asord_no,peri_no,publ_year,cover_vol,cover_issue,"
                     "expect_date,aslack_date FROM m_peri_chk_lack ORDER BY peri_id,location")
             .rows) {
        for (const auto& v : row)
            out += v.str() + "|";
        out += "\n";
    }
    return out;
}

// Rolled back: the table is left as it was.
inline std::string owedCopiesRebuilt() {
    DbTransaction tx;
    if (!tx.ok() || intRefreshIssueLack("") < 0) return "rebuild failed: " + g_ErrInfo.strDesc;
    return owedCopies();
}

// Brings the table up to date for rows written straight into the tables, past the writers.
inline void refreshOwedCopies(const std::string& issueWhere = "") {
    if (intRefreshIssueLack(issueWhere) < 0) throw std::runtime_error(g_ErrInfo.strDesc);
}

// What the writers left against the rebuild, after a test that went through them.
inline void expectOwedCopiesKept() {
    EXPECT_EQ(owedCopies(), owedCopiesRebuilt()) << "the copies still owed were not kept";
}
