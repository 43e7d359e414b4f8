// Number and code checks of order details.
#include "ordering/core/basOrdCheck.h"

#include "db/SqlText.h"
#include "db/basLibDB.h"

namespace {

// UTF-8 of the full-width forms: EF BC 90..99 digits, EF BC 8E point, EF BC 8D minus.
std::string halfWidth(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
        if (i + 2 < s.size() && b(i) == 0xEF && b(i + 1) == 0xBC) {
            const unsigned char c = b(i + 2);
            if (c >= 0x90 && c <= 0x99) {
                out += static_cast<char>('0' + (c - 0x90));
                i += 2;
                continue;
            }
            if (c == 0x8E || c == 0x8D) {
                out += c == 0x8E ? '.' : '-';
                i += 2;
                continue;
            }
        }
        // The ideographic space is a blank like any other.
        if (i + 2 < s.size() && b(i) == 0xE3 && b(i + 1) == 0x80 && b(i + 2) == 0x80) {
            out += ' ';
            i += 2;
            continue;
        }
        out += s[i];
    }
    return out;
}

bool allDigits(const std::string& s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

std::string located(const OrdSubscriber& s) {
    return "订户【" + s.location + "】";
}

}  // namespace

std::string strOrdNumberText(const std::string& typed) {
    return sqltext::trim(halfWidth(typed));
}

void NormalizeOrdNumbers(OrdDetail& d) {
    for (auto field : {&OrdDetail::price, &OrdDetail::totalPrice, &OrdDetail::forePrice,
                       &OrdDetail::foreTotalPrice})
        d.*field = strOrdNumberText(d.*field);
    for (OrdSubscriber& s : d.subs) {
        s.count = strOrdNumberText(s.count);
        for (OrdFundLine& f : s.funds) {
            f.qty = strOrdNumberText(f.qty);
            f.amount = strOrdNumberText(f.amount);
        }
        for (OrdDistLine& t : s.dists)
            t.qty = strOrdNumberText(t.qty);
    }
}

std::string strOrdCopiesError(const std::string& text, const std::string& field) {
    const std::string v = strOrdNumberText(text);
    // Leading zeros are allowed; the digit count bounds the value before it is converted.
    const std::string digits = v.substr(std::min(v.find_first_not_of('0'), v.size()));
    if (!allDigits(v) || digits.empty() || digits.size() > 4 || std::stoll(digits) > kOrdMaxCopies)
        return " " + field + "必须是1到" + std::to_string(kOrdMaxCopies) + "之间的整数！";
    return "";
}

std::string strOrdAmountError(const std::string& text, const std::string& field) {
    const std::string v = strOrdNumberText(text);
    if (v.empty()) return "";
    if (v[0] == '-') return " " + field + "不能为负数！";
    const std::size_t point = v.find('.');
    const std::string whole = v.substr(0, point);
    const std::string part = point == std::string::npos ? "0" : v.substr(point + 1);
    if (!allDigits(whole.empty() ? "0" : whole) || !allDigits(part))
        return " " + field + "必须是数字！";
    if (point != std::string::npos && part.size() > 2) return " " + field + "最多两位小数！";
    const std::string digits = whole.substr(std::min(whole.find_first_not_of('0'), whole.size()));
    if (digits.size() > 10) return " " + field + "不能超过9999999999.99！";
    return "";
}

std::vector<std::string> OrdPriceErrors(const OrdDetail& d) {
    std::vector<std::string> e;
    const std::pair<std::string OrdDetail::*, const char*> prices[] = {
        {&OrdDetail::price, "单价"},
        {&OrdDetail::totalPrice, "年价"},
        {&OrdDetail::forePrice, "外币单价"},
        {&OrdDetail::foreTotalPrice, "外币年价"}};
    for (const auto& [field, name] : prices)
        if (std::string m = strOrdAmountError(d.*field, name); !m.empty()) e.push_back(m);
    return e;
}

int intLoadOrdCodeTables(OrdCodeTables& t) {
    const std::pair<std::set<std::string>*, const char*> tables[] = {
        {&t.publishers, "SELECT publ_code FROM publish_busi"},
        {&t.locations, "SELECT location FROM location_lst"},
        {&t.getModes, "SELECT get_mode_code FROM get_mode_code"},
        {&t.carriers, "SELECT carrier_code FROM carrier_code"},
        {&t.currencies, "SELECT money_code FROM money_type"},
        {&t.funds, "SELECT fund_src_code FROM fund_src_code"},
        {&t.freqNames, "SELECT publ_freq_name FROM publ_freq"}};
    for (const auto& [set, sql] : tables) {
        LibArray rows;
        g_strSQL = sql;
        if (LIB_DB_Select(g_strSQL, rows) < 0) return -1;
        set->clear();
        for (int r = 2; r < rows.rows(); ++r)
            set->insert(sqltext::trim(rows(0, r).str()));
    }
    return 0;
}

std::vector<std::string> OrdCodeErrors(const OrdDetail& d, const OrdCodeTables& t) {
    std::vector<std::string> e;
    auto check = [&](const std::string& code, const std::set<std::string>& table,
                     const std::string& what) {
        if (!sqltext::trim(code).empty() && !table.count(sqltext::trim(code)))
            e.push_back(" " + what + "【" + code + "】不存在，请重新选择！");
    };
    check(d.pub, t.publishers, "发行商");
    check(d.getMode, t.getModes, "获得方式");
    check(d.publFreq, t.freqNames, "出版频率");
    check(d.carrier, t.carriers, "载体类型");
    check(d.moneyType, t.currencies, "币种");
    for (const OrdSubscriber& s : d.subs) {
        check(s.location, t.locations, "订户");
        for (const OrdFundLine& f : s.funds)
            check(f.fundSrc, t.funds, located(s) + "经费项目");
        for (const OrdDistLine& l : s.dists)
            check(l.distLoca, t.locations, located(s) + "分配地");
    }
    return e;
}
