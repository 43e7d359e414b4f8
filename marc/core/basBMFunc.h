// The catalogue record in memory: header columns, ISO 2709 leader, directory and data section,
// and every read, edit and serialisation of it. Edits keep the leader's record length and base
// address and every directory offset consistent.
//
// Lengths and offsets always count GBK bytes. How `Data` holds the text depends on the storage
// mode probed at connect (UnicodeMarcMode): off, it holds the GBK bytes themselves; on, it holds
// UTF-8 text, cut by GBK byte positions through MidAnsi. Field contents handed to callers are
// always UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr char kSubfieldMark = '\x1F';
constexpr char kFieldEnd = '\x1E';
constexpr char kRecordEnd = '\x1D';

enum MarcKind : std::int16_t { kMarcBib = 0, kMarcAsord = 1, kMarcAuth = 2 };

struct MarcDirEntry {
    std::string Tag;  // 3 characters
    std::int32_t Start = 0;
    std::int32_t Length = 0;  // including the field terminator
};

struct MarcRec {
    std::int16_t Kind = kMarcBib;
    std::string RecNo;
    std::string MarcType = " ";
    std::string DocTypeCode = "  ";
    std::string LangCode = "   ";
    std::string CountryCode = "  ";
    std::string MarcUseFlag = " ";
    std::string CataOper = "    ";
    std::string CataDate = "          ";
    std::string Leader = std::string(24, ' ');
    std::int16_t FieldCount = 0;
    std::vector<MarcDirEntry> Dir;
    std::string Data;
};

struct MarcFieldRec {
    std::string Tag;
    std::string Ind;
    std::string FieldData;
};
MarcFieldRec MakeMarcField(const std::string& tag, const std::string& ind, const std::string& data);

// The sequential-lookup cursor, one per process: field index from 0, subfield position from 1.
struct MarcScanCursor {
    int Field = 0;
    int Sub = 1;
};
extern MarcScanCursor g_MarcCursor;
void MarcResetCursor();

// Byte positions in GBK over UTF-8 text.
std::string MidAnsi(std::string_view text, long start, long length);
// UTF-8 offset of the first character that starts at or after GBK byte `pos`.
std::size_t Utf8OffsetOfAnsi(std::string_view text, std::size_t pos);
int GbkCharBytes(char32_t cp);

// Text of a field of `Data` as the process holds it, and the reverse.
std::string MarcDataToText(std::string_view data);
std::string MarcTextToData(std::string_view text);
std::size_t MarcTextBytes(std::string_view text);

int MarcTypeIndex(const MarcRec& rec);

// Reading.
// A field's bytes as `Data` holds them, without the field terminator.
std::string MarcFieldRaw(const MarcRec& rec, int entry);
std::string MarcFieldContent(const MarcRec& rec, int entry);
std::string MarcFindField(const MarcRec& rec, const std::string& tag);
std::string MarcNextField(const MarcRec& rec, const std::string& tag);
std::string MarcGetSubField(std::string_view field, char code);
std::string MarcNextSubField(std::string_view field, char code);
std::string MarcGetSubFieldSeq(const MarcRec& rec, const std::string& ref);
std::string MarcGetEmbedded(const MarcRec& rec, const std::string& ref);
std::string MarcFieldDisplay(std::string_view field);
std::string MarcGetData(const MarcRec& rec, const std::string& refList);
std::string MarcToIso(const MarcRec& rec);
bool IsPositionalTag(const std::string& tag);

// Editing.
void MarcAddField(MarcRec& rec, const MarcFieldRec& field);
void MarcSetSubField(MarcRec& rec, const std::string& ref, const std::string& value);
void MarcDeleteField(MarcRec& rec, const std::string& tag);
void MarcSortFields(MarcRec& rec);
void MarcControlNoFirst(MarcRec& rec);

// Parses an ISO 2709 record held the way `Data` is held (GBK bytes, or UTF-8 text in Unicode
// mode) into leader, directory and data; the header columns are left as they are. Anything
// malformed parses as far as it goes and never reads outside the text.
void MarcParse(MarcRec& rec, std::string iso);
// Leader positions 1-5 and 13-17 from the directory and data as they stand.
void MarcPackLeader(MarcRec& rec);
std::string MarcFormat5(long n);
