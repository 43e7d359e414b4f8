#include "checkin/core/basChkPredict.h"

#include <chrono>
#include <cstdio>
#include <string_view>

namespace {

using namespace std::chrono;

std::optional<year_month_day> parseDate(const std::string& s) {
    if (s.size() != 10 || s[4] != '-' || s[7] != '-') return std::nullopt;
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
    const year_month_day d{year{std::stoi(s.substr(0, 4))},
                           month{static_cast<unsigned>(std::stoi(s.substr(5, 2)))},
                           day{static_cast<unsigned>(std::stoi(s.substr(8, 2)))}};
    if (!d.ok()) return std::nullopt;
    return d;
}

std::string formatDate(const year_month_day& d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", static_cast<int>(d.year()),
                  static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()));
    return buf;
}

unsigned isoWeekday(const year_month_day& d) {
    return weekday{sys_days{d}}.iso_encoding();  // 1 Monday .. 7 Sunday
}

year_month_day plusDays(const year_month_day& d, long n) {
    return year_month_day{sys_days{d} + days{n}};
}

// Only ever applied to the 1st, 11th, 16th or 21st, which every month has.
year_month_day plusMonths(const year_month_day& d, int n) {
    return d + months{n};
}

year_month_day firstOfNextMonth(const year_month_day& d) {
    return year_month_day{d.year(), d.month(), day{1}} + months{1};
}

int monthsBetween(const year_month_day& b, const year_month_day& e) {
    return 12 * (static_cast<int>(e.year()) - static_cast<int>(b.year())) +
           (static_cast<int>(static_cast<unsigned>(e.month())) -
            static_cast<int>(static_cast<unsigned>(b.month())));
}

int quarterOf(const year_month_day& d) {
    return (static_cast<int>(static_cast<unsigned>(d.month())) - 1) / 3;
}

// Week starts (Mondays) after b up to and including e.
int mondaysAfter(const year_month_day& b, const year_month_day& e) {
    const sys_days first = sys_days{b} + days{8 - static_cast<int>(isoWeekday(b))};
    if (first > sys_days{e}) return 0;
    return static_cast<int>((sys_days{e} - first).count() / 7) + 1;
}

// The issues-per-volume step: without a volume size the volume never advances.
int volSteps(int n, int q) {
    return q > 0 ? n / q : 0;
}

std::string number(int n, bool roman) {
    return roman ? chkRoman(n) : std::to_string(n);
}

}  // namespace

bool chkIsFreqCode(char code) {
    return (code >= 'a' && code <= 'o') || code == 'u' || code == 'y' || code == 'z';
}

bool chkStartDayEnabled(char code) {
    return code >= 'a' && code <= 'o';
}

bool chkIsDate(const std::string& text) {
    return parseDate(text).has_value();
}

std::string chkAddDays(const std::string& date, int n) {
    auto d = parseDate(date);
    return d ? formatDate(plusDays(*d, n)) : std::string();
}

int chkIssueCount(const ChkPredictInput& in) {
    if (in.code == 'u' || in.code == 'y') return 1;
    if (in.code == 'z') return in.qtyOfYear > 0 ? in.qtyOfYear : 0;
    auto b = parseDate(in.beginDate);
    auto e = parseDate(in.endDate);
    if (!b || !e) return 0;
    const int dayCount = static_cast<int>((sys_days{*e} - sys_days{*b}).count());
    const int weeks = mondaysAfter(*b, *e);
    const int monthCount = monthsBetween(*b, *e);
    const int quarters = 4 * (static_cast<int>(e->year()) - static_cast<int>(b->year())) +
                         quarterOf(*e) - quarterOf(*b);
    const int years = static_cast<int>(e->year()) - static_cast<int>(b->year());
    int n = 0;
    switch (in.code) {
        case 'a':
            n = dayCount + 1;
            break;
        case 'b':
            n = (weeks + 1) * 2;
            break;
        case 'c':
            n = weeks + 1;
            break;
        case 'd':
            n = (weeks + 1) / 2;
            break;
        case 'e':
            n = (monthCount + 1) * 2;
            break;
        case 'f':
            n = monthCount + 1;
            break;
        case 'g':
            n = (monthCount + 1) / 2;
            break;
        case 'h':
            n = quarters + 1;
            break;
        case 'i':
            n = (monthCount + 1) / 4;
            break;
        case 'j':
            n = (years + 1) * 2;
            break;
        case 'k':
            n = years + 1;
            break;
        case 'l':
            n = (years + 1) / 2;
            break;
        case 'm':
            n = (years + 1) / 3;
            break;
        case 'n':
            n = (dayCount + 1) / 2;
            break;
        case 'o':
            n = (monthCount + 1) * 3;
            break;
        default:
            break;
    }
    return n > 0 ? n : 0;
}

std::string chkExpectDate(const ChkPredictInput& in, int i) {
    if (in.code == 'u' || in.code == 'y' || in.code == 'z')
        return parseDate(in.chkBgnDate) ? in.chkBgnDate : std::string();
    auto parsed = parseDate(in.beginDate);
    if (!parsed) return {};
    const year_month_day d0 = *parsed;
    if (in.code == 'a') return formatDate(plusDays(d0, i));
    if (in.code == 'n') return formatDate(plusDays(d0, 2L * i));

    const unsigned dom = static_cast<unsigned>(d0.day());
    year_month_day slot = d0;
    switch (in.code) {
        case 'b': {
            const unsigned wd = isoWeekday(d0);
            year_month_day base = d0;
            if (wd == 2 || wd == 3)
                base = plusDays(d0, 4 - wd);
            else if (wd >= 5)
                base = plusDays(d0, 8 - wd);
            const bool thursday = isoWeekday(base) == 4;
            slot = i % 2 == 0 ? plusDays(base, 7L * (i / 2))
                              : plusDays(base, 7L * ((i + 1) / 2) - (thursday ? 3 : 4));
            break;
        }
        case 'c':
        case 'd': {
            const unsigned wd = isoWeekday(d0);
            const year_month_day base = wd == 1 ? d0 : plusDays(d0, 8 - wd);
            slot = plusDays(base, (in.code == 'c' ? 7L : 14L) * i);
            break;
        }
        case 'e': {
            year_month_day base = d0;
            if (dom >= 2 && dom <= 15)
                base = year_month_day{d0.year(), d0.month(), day{16}};
            else if (dom >= 17)
                base = firstOfNextMonth(d0);
            const bool onFirst = static_cast<unsigned>(base.day()) == 1;
            if (i % 2 == 0) {
                slot = plusMonths(base, i / 2);
            } else if (onFirst) {
                const year_month_day m = plusMonths(base, (i - 1) / 2);
                slot = year_month_day{m.year(), m.month(), day{16}};
            } else {
                const year_month_day m = plusMonths(base, (i + 1) / 2);
                slot = year_month_day{m.year(), m.month(), day{1}};
            }
            break;
        }
        case 'o': {
            static constexpr unsigned kDays[] = {1, 11, 21};
            year_month_day first{d0.year(), d0.month(), day{1}};
            int place = 0;
            if (dom >= 2 && dom <= 11)
                place = 1;
            else if (dom >= 12 && dom <= 21)
                place = 2;
            else if (dom >= 22)
                first = firstOfNextMonth(d0);
            const int t = place + i;
            const year_month_day m = plusMonths(first, t / 3);
            slot = year_month_day{m.year(), m.month(), day{kDays[t % 3]}};
            break;
        }
        default: {  // f to m: the 1st, every k months
            static constexpr std::string_view kCodes = "fghijklm";
            static constexpr int kStep[] = {1, 2, 3, 4, 6, 12, 24, 36};
            const auto k = kCodes.find(in.code);
            if (k == std::string_view::npos) return {};
            const year_month_day base = dom == 1 ? d0 : firstOfNextMonth(d0);
            slot = plusMonths(base, kStep[k] * i);
            break;
        }
    }
    return formatDate(plusDays(slot, in.startDay - 1));
}

std::string chkValidate(const ChkPredictInput& in) {
    if (in.beginDate > in.endDate) return "订购起始日期不能大于订购截止日期。";
    if (in.startDay == 0 && chkStartDayEnabled(in.code)) return "起始天数不能为空。";
    const int v = in.begVol, s = in.begIssue, q = in.perVol;
    if (v == 0 && s == 0 && in.begTotal == 0) return "起始卷，起始期，起始总期不能全部为空。";
    if (v != 0 && s != 0 && q == 0) return "每卷期数不能为空。";
    if (!in.issueContinue && v != 0 && s != 0 && s > q) return "起始期不能大于每卷期数。";
    if (in.issueContinue && in.volBegIssue > s) return "首卷首期不能大于起始期。";
    return {};
}

std::vector<ChkVolRow> chkPredict(const ChkPredictInput& in, const std::string& maxPeriId) {
    long long firstKey = 1;
    if (!maxPeriId.empty()) firstKey = std::stoll(maxPeriId) + 1;
    const int n = chkIssueCount(in);
    const int v = in.begVol, s = in.begIssue, q = in.perVol, f = in.volBegIssue;
    std::vector<ChkVolRow> rows;
    rows.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        ChkVolRow r;
        char key[24];
        std::snprintf(key, sizeof key, "%010lld", firstKey + i);
        r.periId = key;
        r.periNo = i + 1;
        if (v != 0) {
            int vol;
            if (s == 0)
                vol = v + i;
            else if (in.issueContinue && f == 0)
                vol = q > 0 && s % q != 0 ? v + volSteps(s % q + i - 1, q)
                                          : v + volSteps(i + q - 1, q);
            else if (in.issueContinue)
                vol = v + volSteps(i + s - f, q);
            else
                vol = v + volSteps(i + s - 1, q);
            r.coverVol = number(vol, in.roman);
        }
        if (s != 0) {
            int issue = s + i;
            if (!in.issueContinue && v != 0 && q > 0) {
                const int rest = (s + i) % q;
                issue = rest == 0 ? q : rest;
            }
            r.coverIssue = number(issue, in.roman);
        }
        if (in.begTotal != 0) r.coverIssueTotal = number(in.begTotal + i, in.roman);
        r.expectDate = chkExpectDate(in, i);
        r.aslackDate = chkAddDays(r.expectDate, in.aslackDays);
        r.publYear = r.expectDate.substr(0, 4);
        rows.push_back(std::move(r));
    }
    return rows;
}

std::string chkRoman(int n) {
    static const char* const kUnits[] = {"", "Ⅰ", "Ⅱ", "Ⅲ", "IV", "V", "VI", "VⅡ", "VⅢ", "IX"};
    static const char* const kTens[] = {"", "X", "XX", "XXX", "XL", "L", "LX", "LXX", "LXXX", "XC"};
    static const char* const kHundreds[] = {"",  "C",  "CC",  "CCC",  "CD",
                                            "D", "DC", "DCC", "DCCC", "CM"};
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n / 1000), 'M');
    return out + kHundreds[n / 100 % 10] + kTens[n / 10 % 10] + kUnits[n % 10];
}

std::optional<int> chkRomanValue(const std::string& text) {
    auto value = [](char c) {
        switch (c) {
            case 'I':
                return 1;
            case 'V':
                return 5;
            case 'X':
                return 10;
            case 'L':
                return 50;
            case 'C':
                return 100;
            case 'D':
                return 500;
            case 'M':
                return 1000;
            default:
                return 0;
        }
    };
    std::string ascii;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // U+2160..U+2162 are E2 85 A0..A2 in UTF-8.
        if (text.compare(i, 2, "\xE2\x85") == 0 && i + 2 < text.size()) {
            const unsigned char last = static_cast<unsigned char>(text[i + 2]);
            if (last < 0xA0 || last > 0xA2) return std::nullopt;
            ascii.append(last - 0xA0 + 1, 'I');
            i += 2;
        } else {
            ascii += text[i];
        }
    }
    if (ascii.empty()) return std::nullopt;
    int total = 0;
    for (std::size_t i = 0; i < ascii.size(); ++i) {
        const int v = value(ascii[i]);
        if (v == 0) return std::nullopt;
        const int next = i + 1 < ascii.size() ? value(ascii[i + 1]) : 0;
        total += next > v ? -v : v;
    }
    return total;
}
