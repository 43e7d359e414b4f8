// The acquisitions code lists the acquisitions screens offer, each read in one statement:
// payment modes in use, fund sources (without the gift fund, which pays for nothing), currencies
// by code, the property-number classes, and the kinds of gift and exchange partner. Also the
// built-in acquisitions settings file that init-db lays into CFG/cf/.
#pragma once

#include <string>
#include <vector>

struct AcqCode {
    std::string code, name;
    bool operator==(const AcqCode&) const = default;
};

// pay_mode_code rows in use (code_use_flag '1'), by code. 0, or -1 (g_ErrInfo).
int intGetAcqPayModes(std::vector<AcqCode>& out);
// The fund source the acquisitions lists leave out: gifts are recorded against it, never paid.
inline constexpr const char* kAcqGiftFund = "09";
// fund_src_code rows but kAcqGiftFund, by code. 0, or -1 (g_ErrInfo).
int intGetAcqFundSources(std::vector<AcqCode>& out);
// money_type rows by money_code. 0, or -1 (g_ErrInfo).
int intGetAcqMoneyTypes(std::vector<AcqCode>& out);
// The name of `code` in `list`, or "" when it has none.
std::string strAcqName(const std::vector<AcqCode>& list, const std::string& code);

// A property-number class of max_number.
struct AcqPropClass {
    std::string code, name, propPrefix, batchPrefix;
    int serialWidth = 0;
};
// max_number rows by class code. 0, or -1 (g_ErrInfo).
int intGetAcqPropClasses(std::vector<AcqPropClass>& out);

// Gift and exchange partner kinds (prsn_exch_obj.obj_type): 0 赠送对象, 1 交换对象,
// 2 赠送并交换对象.
const std::vector<AcqCode>& AcqPartnerKinds();

// The sample cf/cfCfg.ini, built in.
const std::string& DefaultAcqCfgText();
