// Record defaults by format and document-type range, and identifier conversions.
#include "marc/core/basBMDefault.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "db/SqlText.h"

namespace {

enum class DocRange { None, Monograph, Serial };

// The numeric value of the code as its leading digits read: a blank or non-numeric code is 0,
// which is the monograph range.
DocRange docRange(const MarcRec& rec) {
    std::string code = sqltext::trim(rec.DocTypeCode);
    int n = 0;
    for (std::size_t i = 0; i < code.size() && std::isdigit(static_cast<unsigned char>(code[i]));
         ++i)
        n = n * 10 + (code[i] - '0');
    if (n <= 10) return DocRange::Monograph;
    return n <= 20 ? DocRange::Serial : DocRange::None;
}

bool allDigits(const std::string& s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

// Accepted publication years: from the first printed books to a little past the present.
constexpr int kFirstYear = 1000;
constexpr int kLastYear = 2999;

}  // namespace

std::string MarcDefaultFixedLine(const MarcRec& rec, const std::string& today) {
    DocRange range = docRange(rec);
    if (range == DocRange::None) return "";
    std::string ymd = today;
    ymd.erase(std::remove(ymd.begin(), ymd.end(), '-'), ymd.end());
    ymd.resize(8, ' ');
    std::string year = ymd.substr(0, 4);
    if (rec.MarcType == "C")
        return std::string("100  ") + kSubfieldMark + "a" + ymd + "d" + year +
               (range == DocRange::Serial ? "9999" : "    ") + "ekmy0chiy50      ea";
    if (rec.MarcType == "U")
        return "008" + ymd.substr(2, 6) + "s" + year + "    " + "xxu" + std::string(17, ' ') +
               "eng d";
    return "";
}

std::string MarcDefaultLeader(const MarcRec& rec) {
    DocRange range = docRange(rec);
    if (range == DocRange::None) return "";
    bool serial = range == DocRange::Serial;
    if (rec.MarcType == "C")
        return std::string("00000") + (serial ? "nas  22" : "nam  22") + "00000" + "   450 ";
    if (rec.MarcType == "U")
        return std::string("00000") + (serial ? "cas a22" : "cam a22") + "00000" + "   4500";
    return "";
}

bool MarcBuildFromItems(const std::vector<MarcItem>& items, MarcRec& rec,
                        const std::string& today) {
    std::vector<std::string> lines;
    for (const MarcItem& item : items) {
        if (item.Key.size() < 4) continue;
        std::string tag = item.Key.substr(0, 3);
        std::string sub = std::string(1, kSubfieldMark) + item.Key[3] + item.Value;
        auto it = std::find_if(lines.begin(), lines.end(),
                               [&](const std::string& l) { return l.compare(0, 3, tag) == 0; });
        if (it != lines.end())
            *it += sub;
        else
            lines.push_back(tag + "  " + sub);
    }
    if (std::string fixed = MarcDefaultFixedLine(rec, today); !fixed.empty())
        lines.push_back(fixed);
    std::sort(lines.begin(), lines.end());
    rec.Dir.clear();
    rec.Data.clear();
    std::string leader = MarcDefaultLeader(rec);
    if (!leader.empty()) rec.Leader = leader;
    for (const std::string& line : lines)
        MarcAddField(rec, MakeMarcField(line.substr(0, 3), "", line.substr(3)));
    if (rec.Data.empty()) rec.Data += kRecordEnd;
    MarcPackLeader(rec);
    return true;
}

std::string YearDigits(const std::string& text) {
    // The first run of digits that reads as a year, as a cataloguer would read "第2版 1998" or
    // "v.2 (1998)"; a longer run such as "19980315" still gives its first four digits.
    std::string t = text;
    auto bracket = t.find('[');
    if (bracket != std::string::npos) t = t.substr(bracket + 1);
    auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    for (std::size_t p = 0; p < t.size();) {
        if (!isDigit(t[p])) {
            ++p;
            continue;
        }
        std::size_t end = p;
        while (end < t.size() && isDigit(t[end]))
            ++end;
        if (end - p >= 4) {
            int year = std::atoi(t.substr(p, 4).c_str());
            if (year >= kFirstYear && year <= kLastYear) return t.substr(p, 4);
        }
        p = end;
    }
    return "";
}

double NumberFromText(const std::string& text) {
    std::string kept;
    for (char c : text)
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') kept += c;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", std::strtod(kept.c_str(), nullptr));
    return std::strtod(buf, nullptr);
}

std::string IsbnOtherForm(const std::string& isbn) {
    bool hyphen = isbn.find('-') != std::string::npos;
    if (hyphen && isbn.size() == 13) return "978-" + isbn.substr(0, 12);
    if (hyphen && isbn.size() == 17) return isbn.substr(4, 12);
    if (!hyphen && isbn.size() == 10) return "978" + isbn.substr(0, 9);
    if (!hyphen && isbn.size() == 13)
        return isbn.compare(0, 3, "977") == 0 ? isbn.substr(3, 7) : isbn.substr(3, 9);
    return "";
}

std::string EanToIssn(const std::string& code) {
    if (code.size() != 13 || code.compare(0, 3, "977") != 0 || !allDigits(code.substr(3, 7)))
        return code;
    std::string seven = code.substr(3, 7);
    int sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += (seven[i] - '0') * (8 - i);
    int check = 11 - sum % 11;
    char c = check == 10 ? 'X' : check == 11 ? '0' : static_cast<char>('0' + check);
    return seven.substr(0, 4) + "-" + seven.substr(4) + c;
}
