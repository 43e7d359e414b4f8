// Code tables: small tables of codes and names, read once at start-up into arrays of the
// result-array form (code in column 0, name in column 1) and answered from memory afterwards.
#pragma once

#include <string>

#include "db/LibArray.h"

// General code tables (start-up step 5).
extern LibArray g_arrLocation;       // location_lst: location, location_name, loca_group
extern LibArray g_arrLocaGroup;      // loca_group
extern LibArray g_arrDepartment;     // department
extern LibArray g_arrDocType;        // doc_type_code: code, name, class_flag
extern LibArray g_arrCarrier;        // carrier_code
extern LibArray g_arrGetMode;        // get_mode_code (acquisition modes)
extern LibArray g_arrLanguage;       // language_code
extern LibArray g_arrCountry;        // country_code
extern LibArray g_arrClassifica;     // classifica_code
extern LibArray g_arrClsGroup;       // cls_group
extern LibArray g_arrCircRule;       // circ_rule
extern LibArray g_arrRuleComp;       // rule_comp
extern LibArray g_arrGroupRuleComp;  // group_rule_comp
extern LibArray g_arrCircTypeSort;   // circ_type_sort
extern LibArray g_arrCircType;       // circ_type_code
extern LibArray g_arrReaderType;     // reader_type
extern LibArray g_arrLendGrd;        // lend_grd
extern LibArray g_arrViolate;        // violate_code
extern LibArray g_arrLimitType;      // limit_type
extern LibArray g_arrCloseDay;       // close_day
extern LibArray g_arrOpenTime;       // open_time
extern LibArray g_arrStatType;       // stat_type_code
extern LibArray g_arrStatTemplate;   // stat_template
extern LibArray g_arrWorker;         // lib_worker: wkr_no, wkr_name
// Locations in the order the serials screens list them (step 7).
extern LibArray g_arrLocaSort;
// Acquisitions codes (step 8).
extern LibArray g_arrPayMode;    // pay_mode_code
extern LibArray g_arrFundSrc;    // fund_src_code
extern LibArray g_arrMoneyType;  // money_type, by money_code
extern LibArray g_arrMaxNumber;  // max_number: code, name, prop_prefix, check_batch_prefix, width
// Serials lists (step 11).
extern LibArray g_arrPublFreq;   // publ_freq: publ_freq, publ_freq_name
extern LibArray g_arrPeriLevel;  // peri_level
// Publishers and distributors, read on demand.
extern LibArray g_arrPublisher;  // publish_busi: publ_code, publ_name, publ_email, ...

// The loaders return 0, or -1 after reporting the failure through LIB_DB_ShowError.
int LIB_LoadCodeTables();
// Locations of operation type `operType` in their listing order; -1 reads location_lst alone.
int LIB_LoadLocationOrder(int operType);
int LIB_LoadAcqCodes();
int LIB_LoadSerialLists();
// Publishers of operation type `operType` (-1: all).
int LIB_LoadPublishers(int operType = -1);

// Empties every code table (between tests; a new start-up loads them again).
void LIB_ResetCodeTables();

// Name for a code (column 1 of the row whose column 0 is the code); "" when there is none.
std::string LIB_CodeName(const LibArray& table, const std::string& code);
// Code for a name; "" when there is none.
std::string LIB_CodeByName(const LibArray& table, const std::string& name);
// The location's name, or the code itself when the location table does not know it.
std::string LIB_LocationName(const std::string& code);

// Display names fixed in the program.
std::string strPeriStatusName(const std::string& code);  // 正常刊, 改名刊, 停刊, 停订刊
std::string strOrderStateName(const std::string& code);  // 未发订, 已发订, 开始签收, 签收完成
std::string strSubKindName(const std::string& code);  // 新订刊, 续订刊
std::string strFlagMark(const std::string& code);     // "F" or ""

// Issues a year for a publication frequency name; 0 for 不详, 不定期, 其它 and unknown names.
// Daily and weekly titles count the days or weeks of that year.
int LIB_IssuesPerYear(const std::string& freqName, int year);
