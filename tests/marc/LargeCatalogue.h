// A large catalogue made in a few statements, for searches that must stay fast however many
// records there are: `count` header rows numbered 9000000001 on, titled "Journal number N" except
// record 7777, "近代历史档案", each with its title key and title words, as an import leaves them.
#pragma once

#include <string>

#include "db/basLibDB.h"
#include "marc/core/TitleWords.h"

// The number of records indexed, or -1 (error in g_ErrInfo).
inline int makeLargeCatalogue(int count) {
    const std::string n = std::to_string(count);
    g_OraDatabase->execute(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" + n +
        ") INSERT INTO marc (marc_rec_no,marc_type,m_title,m_author,m_isbn) "
        "SELECT CAST(9000000000+i AS VARCHAR(10)),'C',"
        "CASE WHEN i=7777 THEN '近代历史档案' ELSE 'Journal number ' || CAST(i AS VARCHAR(10)) END,"
        "'Author ' || CAST(i AS VARCHAR(10)),'' FROM n");
    g_OraDatabase->execute(
        "INSERT INTO marc_idx (marc_rec_no,marc_idx_grp,marc_idx_tag,marc_idx_cont) "
        "SELECT marc_rec_no,'01','200a',UPPER(m_title) FROM marc");
    return MarcTitleWordsRebuild();
}
