// Catalogue records in the database: one header row per record, the ISO 2709 text in data rows
// of three chunks (each at most 2000 GBK bytes), index rows and summary columns; reading back
// (through the hex-dump path when the chunk columns are national-character text), saving in one
// transaction, and record numbers issued by the database.
#pragma once

#include <string>
#include <vector>

#include "db/LibArray.h"
#include "marc/core/basBMFunc.h"

// Table and procedure names of one record family (MarcKind).
struct MarcFamily {
    const char* header;
    const char* key;
    const char* data;
    const char* chunk[3];
    const char* index;
    const char* indexGroup;
    const char* indexTag;
    const char* indexKey;
    const char* deleteData;
    const char* deleteWhole;
    const char* update;
    const char* insert;
    const char* insertData;
    const char* insertIndex;
    const char* newNumber;
    const char* numberKind;  // reg_marc_number.marc_kind
};
const MarcFamily& MarcFamilyOf(int kind);
// Header columns of a family in the order its header procedures take their arguments.
std::vector<std::string> MarcHeaderColumns(int kind);

MarcRec MarcLoad(const std::string& recNo);
MarcRec AsordMarcLoad(const std::string& recNo);
MarcRec AuMarcLoad(const std::string& recNo);
// Mode 0: new number when RecNo is empty, own transaction. Mode 1: insert with the caller's
// RecNo in the caller's transaction. Mode 2: update in the caller's transaction.
bool MarcSave(MarcRec& rec, int mode, int yearFlag, const std::string& yearText);
// The catalogue tables a bibliographic record's save writes: header, data, index, class numbers
// and title words.
const std::vector<std::string>& MarcCatalogueTables();
std::string MarcNewNumber(int kind);
// `count` numbers taken in one transaction of their own; empty on a database error.
std::vector<std::string> MarcNewNumbers(int kind, int count);
// A number as the 10-digit record number ("0000000042").
std::string MarcRecNoText(const std::string& number);
// Why the record cannot be written as ISO 2709 (longer than 99,999 bytes, or a field longer
// than 9,999), or empty when it can.
std::string MarcFitProblem(const MarcRec& rec);
// GBK bytes of the listed title (m_title), which the title-word index is made from.
inline constexpr long kMarcTitleColumn = 100;
// 0, or -1 with the failure in g_ErrInfo.
int MarcSummaryUpdate(MarcRec& rec, int yearFlag, const std::string& yearText);
// Rows for a list grid; `recNos` is a comma-separated list of record numbers.
int MarcListQuery(const std::string& recNos, int kind, LibArray& rows);

// Characters of `text` that fit in `limit` GBK bytes, less the blanks that would end the piece.
long AnsiCutLength(std::string_view text, long limit);
// The first AnsiCutLength characters of the text.
std::string AnsiCut(std::string_view text, long limit);
std::string ToUnistrLiteral(std::string_view text);
// A value as SQL: quoted, or through unistr() when the MARC tables are national-character text.
std::string MarcSqlText(const std::string& value);
