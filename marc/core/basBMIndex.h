// The search index of catalogue records: its configuration (index groups and summary items per
// format from marc_idx_para, title fields, stopwords, abbreviated-key settings), read once at
// start-up, and the index rows a saved record gets. Also the word-list and pinyin lookups.
#pragma once

#include <string>
#include <vector>

#include "db/DbBackend.h"
#include "db/LibArray.h"
#include "marc/core/basBMFunc.h"

struct MarcIdxPara {
    std::string Grp;     // two characters
    std::string Fields;  // comma-separated field references
    std::string Name;
    short Stopword = 0;
};

// Longest index key in GBK bytes.
extern int g_intMarcKeyLen;

// Start-up: reads the index configuration; 0, or -1 at the first database error.
int LIB_LoadMarcIndexParams();
// Element (group, format) of use type 0 (index groups) or 1 (summary items); an empty element
// when the group is not configured.
const MarcIdxPara& MarcIdxElement(int useType, int group, int format);
int MarcIdxGroupCount();

// Writes the record's index rows (and class rows), or adds their inserts to a batch.
int MarcIndexBuild(const MarcRec& rec);
int MarcIndexRows(const MarcRec& rec, std::vector<BoundStatement>& batch);
bool GroupUsesStopwords(const std::string& group);
std::string StopwordStrip(const std::string& text);
// Characters written without blanks between words (CJK scripts): a key drops the blanks next to
// them, and the title-word index pairs them.
bool MarcIsCjk(char32_t cp);
// Runs of blanks to one; blanks next to a double-byte character dropped.
std::string MarcBlankNormalise(const std::string& text);
// Upper case as the index keys are stored (Latin letters with and without accents).
std::string MarcKeyUpper(const std::string& text);
// Accented capitals to their base letters; `changed` tells whether any was replaced.
std::string MarcFoldAccents(const std::string& text, bool& changed);
std::string MarcAbbreviate(const std::string& value, const std::string& pattern);
// The summary lookup: the value of summary item `item` for the record.
std::string MarcSummaryItem(int item, const MarcRec& rec);

int WordLookup(const std::string& text, LibArray& rows);
int PinyinLookup(const std::string& character, LibArray& rows);
