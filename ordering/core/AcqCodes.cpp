// Reading the acquisitions code lists.
#include "ordering/core/AcqCodes.h"

#include "db/SqlText.h"
#include "db/basLibDB.h"

namespace {

int readCodes(const std::string& sql, std::vector<AcqCode>& out) {
    out.clear();
    LibArray rows;
    g_strSQL = sql;
    if (LIB_DB_Select(g_strSQL, rows) < 0) return -1;
    for (int r = 2; r < rows.rows(); ++r)
        out.push_back({sqltext::trim(rows(0, r).str()), rows(1, r).str()});
    return 0;
}

}  // namespace

int intGetAcqPayModes(std::vector<AcqCode>& out) {
    return readCodes(
        "SELECT pay_mode_code,pay_mode_name FROM pay_mode_code WHERE code_use_flag='1' ORDER BY "
        "pay_mode_code",
        out);
}

int intGetAcqFundSources(std::vector<AcqCode>& out) {
    return readCodes("SELECT fund_src_code,fund_src_name FROM fund_src_code WHERE fund_src_code<>" +
                         LIB_SqlStr(kAcqGiftFund) + " ORDER BY fund_src_code",
                     out);
}

int intGetAcqMoneyTypes(std::vector<AcqCode>& out) {
    return readCodes("SELECT money_code,money_name FROM money_type ORDER BY money_code", out);
}

std::string strAcqName(const std::vector<AcqCode>& list, const std::string& code) {
    const std::string key = sqltext::trim(code);
    for (const AcqCode& c : list)
        if (c.code == key) return c.name;
    return "";
}

int intGetAcqPropClasses(std::vector<AcqPropClass>& out) {
    out.clear();
    LibArray rows;
    g_strSQL =
        "SELECT class_type_code, class_type_name, prop_prefix, check_batch_prefix, "
        "batch_serial_width FROM max_number ORDER BY class_type_code";
    if (LIB_DB_Select(g_strSQL, rows) < 0) return -1;
    for (int r = 2; r < rows.rows(); ++r)
        out.push_back({sqltext::trim(rows(0, r).str()), rows(1, r).str(), rows(2, r).str(),
                       rows(3, r).str(), static_cast<int>(rows(4, r).integer())});
    return 0;
}

const std::vector<AcqCode>& AcqPartnerKinds() {
    static const std::vector<AcqCode> kinds{
        {"0", "赠送对象"}, {"1", "交换对象"}, {"2", "赠送并交换对象"}};
    return kinds;
}
