#include "common/basCodeFunc.h"

#include <chrono>

#include "db/basLibDB.h"

LibArray g_arrLocation, g_arrLocaGroup, g_arrDepartment, g_arrDocType, g_arrCarrier, g_arrGetMode,
    g_arrLanguage, g_arrCountry, g_arrClassifica, g_arrClsGroup, g_arrCircRule, g_arrRuleComp,
    g_arrGroupRuleComp, g_arrCircTypeSort, g_arrCircType, g_arrReaderType, g_arrLendGrd,
    g_arrViolate, g_arrLimitType, g_arrCloseDay, g_arrOpenTime, g_arrStatType, g_arrStatTemplate,
    g_arrWorker;
LibArray g_arrLocaSort;
LibArray g_arrPayMode, g_arrFundSrc, g_arrMoneyType, g_arrMaxNumber;
LibArray g_arrPublFreq, g_arrPeriLevel;
LibArray g_arrPublisher;

namespace {

struct Load {
    LibArray* target;
    const char* sql;
};

int loadAll(std::initializer_list<Load> loads) {
    for (const Load& l : loads) {
        g_strSQL = l.sql;
        if (LIB_DB_Select(g_strSQL, *l.target) < 0) {
            LIB_DB_ShowError();
            return -1;
        }
    }
    return 0;
}

int daysInYear(int year) {
    using namespace std::chrono;
    return (sys_days{std::chrono::year{year + 1} / January / 1} -
            sys_days{std::chrono::year{year} / January / 1})
        .count();
}

// Week starts (Mondays) after 1 January up to and including 1 January of the next year.
int weeksInYear(int year) {
    using namespace std::chrono;
    sys_days from{std::chrono::year{year} / January / 1},
        to{std::chrono::year{year + 1} / January / 1};
    int n = 0;
    for (sys_days d = from + days{1}; d <= to; d += days{1})
        if (weekday{d} == Monday) ++n;
    return n;
}

}  // namespace

int LIB_LoadCodeTables() {
    return loadAll({
        {&g_arrCircRule,
         "SELECT circ_rule_code, circ_rule_name FROM circ_rule WHERE code_use_flag='1' ORDER BY "
         "circ_rule_code"},
        {&g_arrRuleComp,
         "SELECT circ_rule_code, reader_type, circ_type_code, lend_days, lend_qty FROM rule_comp"},
        {&g_arrLocation,
         "SELECT location, location_name, loca_group FROM location_lst WHERE code_use_flag='1' "
         "ORDER BY location"},
        {&g_arrStatType,
         "SELECT stat_type_code, stat_type_name FROM stat_type_code WHERE code_use_flag='1' ORDER "
         "BY stat_type_code"},
        {&g_arrCircType,
         "SELECT circ_type_code, circ_type_name, circ_sort_code FROM circ_type_code WHERE "
         "code_use_flag='1' ORDER BY circ_type_code"},
        {&g_arrCircTypeSort,
         "SELECT circ_sort_code, circ_sort_name FROM circ_type_sort WHERE code_use_flag='1' ORDER "
         "BY circ_sort_code"},
        {&g_arrClassifica,
         "SELECT cls_id, cls_name FROM classifica_code WHERE code_use_flag='1' ORDER BY cls_id"},
        {&g_arrClsGroup,
         "SELECT cls_group_code, cls_group_name, cls_id, comp_cls FROM cls_group WHERE "
         "code_use_flag='1' ORDER BY cls_group_code"},
        {&g_arrStatTemplate,
         "SELECT template_code, template_name, stat_type_code FROM stat_template WHERE "
         "code_use_flag='1' ORDER BY template_code"},
        {&g_arrDocType,
         "SELECT doc_type_code, doc_type_name, class_flag FROM doc_type_code WHERE "
         "code_use_flag='1' ORDER BY doc_type_code"},
        {&g_arrCarrier,
         "SELECT carrier_code, carrier_name FROM carrier_code WHERE code_use_flag='1' ORDER BY "
         "carrier_code"},
        {&g_arrGetMode,
         "SELECT get_mode_code, get_mode_name FROM get_mode_code WHERE code_use_flag='1' ORDER BY "
         "get_mode_code"},
        {&g_arrLanguage,
         "SELECT lang_code, lang_name FROM language_code WHERE code_use_flag='1' ORDER BY "
         "lang_code"},
        {&g_arrCountry,
         "SELECT country_code, country_name FROM country_code WHERE code_use_flag='1' ORDER BY "
         "country_code"},
        {&g_arrReaderType,
         "SELECT reader_type, reader_type_name FROM reader_type WHERE code_use_flag='1' ORDER BY "
         "reader_type"},
        {&g_arrLendGrd,
         "SELECT lend_grd, remark FROM lend_grd WHERE code_use_flag='1' ORDER BY lend_grd"},
        {&g_arrViolate,
         "SELECT violate_code, violate_name, fine_amt FROM violate_code WHERE code_use_flag='1' "
         "ORDER BY violate_code"},
        {&g_arrWorker, "SELECT wkr_no, wkr_name FROM lib_worker ORDER BY wkr_no"},
        {&g_arrCloseDay, "SELECT close_date, remark FROM close_day ORDER BY close_date"},
        {&g_arrOpenTime, "SELECT week_day, bgn_time, end_time FROM open_time ORDER BY week_day"},
        {&g_arrDepartment,
         "SELECT dept_code, dept_name FROM department WHERE code_use_flag='1' ORDER BY dept_code"},
        {&g_arrLocaGroup,
         "SELECT loca_group, loca_group_name FROM loca_group WHERE code_use_flag='1' ORDER BY "
         "loca_group"},
        {&g_arrGroupRuleComp, "SELECT loca_group, circ_rule_code FROM group_rule_comp"},
        {&g_arrLimitType,
         "SELECT limit_type, limit_type_name FROM limit_type WHERE code_use_flag='1' ORDER BY "
         "limit_type"},
    });
}

int LIB_LoadLocationOrder(int operType) {
    std::string sql =
        operType == -1
            ? "SELECT location, location_name FROM location_lst WHERE code_use_flag='1' ORDER BY "
              "location"
            : "SELECT a.location, a.location_name FROM location_lst a, location_sort b WHERE "
              "a.location=b.location AND b.oper_type=" +
                  std::to_string(operType) + " ORDER BY b.sequence";
    g_strSQL = sql;
    if (LIB_DB_Select(g_strSQL, g_arrLocaSort) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    return 0;
}

int LIB_LoadAcqCodes() {
    return loadAll({
        {&g_arrPayMode,
         "SELECT pay_mode_code, pay_mode_name FROM pay_mode_code ORDER BY pay_mode_code"},
        {&g_arrFundSrc,
         "SELECT fund_src_code, fund_src_name FROM fund_src_code ORDER BY fund_src_code"},
        {&g_arrMoneyType, "SELECT money_code, money_name FROM money_type ORDER BY money_code"},
        {&g_arrMaxNumber,
         "SELECT class_type_code, class_type_name, prop_prefix, check_batch_prefix, "
         "batch_serial_width FROM max_number ORDER BY class_type_code"},
    });
}

int LIB_LoadSerialLists() {
    return loadAll({
        {&g_arrPublFreq, "SELECT publ_freq, publ_freq_name FROM publ_freq ORDER BY publ_freq"},
        {&g_arrMoneyType, "SELECT money_code, money_name FROM money_type ORDER BY money_code"},
        {&g_arrPeriLevel, "SELECT level_code, level_name FROM peri_level ORDER BY level_code"},
    });
}

int LIB_LoadPublishers(int operType) {
    std::string sql =
        "SELECT a.publ_code, a.publ_name, a.publ_email, a.publ_address, a.publ_tele, "
        "a.publ_contact FROM publish_busi a";
    if (operType != -1)
        sql += ", publish_sort b WHERE a.publ_code=b.publ_code AND b.oper_type=" +
               std::to_string(operType);
    sql += " ORDER BY a.publ_code";
    g_strSQL = sql;
    if (LIB_DB_Select(g_strSQL, g_arrPublisher) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    return 0;
}

void LIB_ResetCodeTables() {
    for (LibArray* t :
         {&g_arrLocation,      &g_arrLocaGroup,    &g_arrDepartment,   &g_arrDocType,
          &g_arrCarrier,       &g_arrGetMode,      &g_arrLanguage,     &g_arrCountry,
          &g_arrClassifica,    &g_arrClsGroup,     &g_arrCircRule,     &g_arrRuleComp,
          &g_arrGroupRuleComp, &g_arrCircTypeSort, &g_arrCircType,     &g_arrReaderType,
          &g_arrLendGrd,       &g_arrViolate,      &g_arrLimitType,    &g_arrCloseDay,
          &g_arrOpenTime,      &g_arrStatType,     &g_arrStatTemplate, &g_arrWorker,
          &g_arrLocaSort,      &g_arrPayMode,      &g_arrFundSrc,      &g_arrMoneyType,
          &g_arrMaxNumber,     &g_arrPublFreq,     &g_arrPeriLevel,    &g_arrPublisher})
        *t = LibArray();
}

std::string LIB_CodeName(const LibArray& table, const std::string& code) {
    for (int row = 2; row < table.rows(); ++row)
        if (table(0, row).str() == code)
            return table.cols() > 1 ? table(1, row).str() : std::string();
    return {};
}

std::string LIB_CodeByName(const LibArray& table, const std::string& name) {
    for (int row = 2; row < table.rows() && table.cols() > 1; ++row)
        if (table(1, row).str() == name) return table(0, row).str();
    return {};
}

std::string LIB_LocationName(const std::string& code) {
    std::string name = LIB_CodeName(g_arrLocation, code);
    return name.empty() ? code : name;
}

std::string strPeriStatusName(const std::string& code) {
    if (code == "1") return "改名刊";
    if (code == "2") return "停刊";
    if (code == "3") return "停订刊";
    return "正常刊";
}

std::string strOrderStateName(const std::string& code) {
    if (code == "1") return "已发订";
    if (code == "2") return "开始签收";
    if (code == "3") return "签收完成";
    return "未发订";
}

std::string strSubKindName(const std::string& code) {
    return code == "0" ? "新订刊" : "续订刊";
}

std::string strFlagMark(const std::string& code) {
    return code == "1" ? "F" : "";
}

int LIB_IssuesPerYear(const std::string& freqName, int year) {
    struct Fixed {
        const char* name;
        int issues;
    };
    static constexpr Fixed kFixed[] = {
        {"旬刊", 36},    {"双周刊", 26}, {"半月刊", 24}, {"月刊", 12},  {"双月刊", 6}, {"季刊", 4},
        {"每年三次", 3}, {"半年刊", 2},  {"年刊", 1},    {"双年刊", 1}, {"三年刊", 1}};
    if (freqName == "日刊") return daysInYear(year);
    if (freqName == "双日刊") return (daysInYear(year) + 1) / 2;
    if (freqName == "周刊") return weeksInYear(year);
    if (freqName == "半周刊") return weeksInYear(year) * 2;
    for (const Fixed& f : kFixed)
        if (freqName == f.name) return f.issues;
    return 0;
}
