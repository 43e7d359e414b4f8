// One joined query: the index rows of the group narrowed by key prefix, with the record headers.
#include "marc/core/MarcSearch.h"

#include <cctype>

#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "marc/core/SearchInput.h"
#include "marc/core/TitleWords.h"
#include "marc/core/basBMDefault.h"
#include "marc/core/basBMIndex.h"
#include "marc/core/basBMStore.h"

std::string MarcSearchKey(const std::string& group, const std::string& text) {
    std::string t = MarcBlankNormalise(sqltext::trim(EanToIssn(sqltext::trim(text))));
    if (GroupUsesStopwords(group)) t = MarcBlankNormalise(sqltext::trim(StopwordStrip(t)));
    return MarcKeyUpper(AnsiCut(t, g_intMarcKeyLen));
}

std::string MarcIndexLikePattern(const std::string& key) {
    bool ascii = true;
    for (unsigned char c : key)
        ascii = ascii && c < 0x80;
    std::string like = sqltext::likePrefix(key);
    return (ascii ? LIB_SqlStr(like) : "unistr(" + LIB_SqlStr(ToUnistrLiteral(like)) + ")") +
           sqltext::kLikeEscape;
}

namespace {

// An ISBN is catalogued in either form, so a search in one form also looks for the other.
std::string otherIsbnForm(const std::string& text) {
    std::string t = sqltext::trim(text);
    for (char c : t)
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '-' && c != 'X' && c != 'x')
            return "";
    return EanToIssn(t) == t ? IsbnOtherForm(t) : "";
}

}  // namespace

int MarcIndexSearch(const std::string& group, const std::string& typed, LibArray& rows, int limit) {
    std::string text = typed;
    if (group == kMarcIsbnGroup)
        if (std::string bare = MarcIsbnInput(typed); !bare.empty()) text = bare;
    std::string match =
        "marc_idx.marc_idx_cont LIKE " + MarcIndexLikePattern(MarcSearchKey(group, text));
    if (std::string other = otherIsbnForm(text); !other.empty())
        match = "(" + match + " OR marc_idx.marc_idx_cont LIKE " +
                MarcIndexLikePattern(MarcSearchKey(group, other)) + ")";
    return MarcListCandidates(
        "SELECT marc_idx.marc_rec_no FROM marc_idx WHERE "
        "marc_idx.marc_idx_grp=" +
            LIB_SqlStr(group) + " AND " + match,
        "marc_idx.marc_idx_cont", rows, limit);
}

int MarcListCandidates(std::string candidates, const std::string& keyOrder, LibArray& rows,
                       int limit) {
    // Twice the page, as a record may match by more than one key.
    if (limit > 0) candidates += " ORDER BY " + keyOrder + " LIMIT " + std::to_string(2 * limit);
    std::string sql =
        "SELECT marc.marc_rec_no,marc.m_title,marc.m_author,marc.m_publisher,marc.m_isbn "
        "FROM marc WHERE marc.marc_rec_no IN (" +
        candidates + ") ORDER BY gbk(marc.m_title),marc.marc_rec_no";
    if (limit > 0) sql += " LIMIT " + std::to_string(limit);
    return LIB_DB_Select(sql, rows);
}

int MarcFindRecords(const std::string& group, const std::string& text, LibArray& rows, int limit) {
    if (group == kMarcTitleWordsGroup) return MarcTitleWordSearch(text, rows, limit);
    return MarcIndexSearch(group, text, rows, limit);
}
