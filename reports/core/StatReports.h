// Statistical reports: read-only summaries over the order, check-in and holdings tables. Each
// report takes its filters, runs as few statements as its result allows and gives a StatTable:
// the grid's columns and rows (grouped into sections where the report groups), the total row
// and footer, and the header lines the printed report carries. Nothing is written.
#pragma once

#include <functional>
#include <string>
#include <vector>

// One entry of a filter list: what the list shows and the code behind it ("" for "<不定>").
struct StatChoice {
    std::string label;
    std::string code;
};

inline constexpr const char* kStatAny = "<不定>";

// The shared filter lists, in list order; position 0 is always "<不定>".
std::vector<StatChoice> statPublisherChoices();  // publisher names; code = publ_code
// " 中文期刊", " 其他", then the other serial document types (class flag "1").
std::vector<StatChoice> statDocTypeChoices();
// " 中文", " 西文", then every other language.
std::vector<StatChoice> statLanguageChoices();
// Order years, newest first; -1 after reporting a failure.
int statOrderYears(std::vector<std::string>& years);

// The shared filters. Document type and language are list positions (0 "<不定>", 1 Chinese,
// 2 other, 3 and later the code kept for the entry).
struct StatFilter {
    std::string year;      // empty: the report does nothing
    std::string publCode;  // empty: "<不定>"
    int docType = 0;
    std::string docTypeCode;
    int language = 0;
    std::string languageCode;
};

// The filter from list choices; false when a code is not in its list.
bool statFilterFromCodes(StatFilter& f, const std::string& docType, const std::string& language);

struct StatSection {
    std::string heading;  // "【…】"; empty for a report without groups
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> total;  // the group's own total row; empty when none
};

struct StatTable {
    std::string title;
    std::vector<std::string> header;  // filter lines of the printed header
    std::vector<std::string> columns;
    std::vector<bool> numeric;  // per column: written as a number to spreadsheets
    std::vector<StatSection> sections;
    std::vector<std::string> total;  // the last grid row ("合计", "总计"); empty when none
    std::string footer;
    int rowCount() const;
    // The grid as shown: section headings as one-cell rows, rows, section totals, the total.
    std::vector<std::vector<std::string>> gridRows() const;
    // The same rows handed to `row` one by one, for readers of a long report that need no copy.
    void forEachGridRow(const std::function<void(const std::vector<std::string>&)>& row) const;
};

// How a report ended: rows, nothing found (the message already shown), a refused input (the
// message shown) or a database failure (reported through the central reporter).
enum class StatResult { Rows, Empty, Refused, Failed };

// Annual distribution of orders by location: by distribution location or by subscriber.
enum class StatBasis { Distribution, Subscriber };
StatResult statLocaAll(const StatFilter& f, StatBasis basis, StatTable& out);

// Locations the per-title report offers for the basis and filter.
int statLocaList(const StatFilter& f, StatBasis basis, std::vector<std::string>& locations);
// Per-title distribution; `location` empty for every location.
StatResult statLoca(const StatFilter& f, StatBasis basis, const std::string& location,
                    StatTable& out);

// Counts grouped by one attribute of the title or order.
enum class StatAttr { Country, Language, Publisher, Frequency };
StatResult statOther(const StatFilter& f, StatAttr attr, StatTable& out);

// Arrivals: one row per issue received at a subscriber and distribution location.
StatResult statArrival(const StatFilter& f, bool showBound, StatTable& out);

// Operator workload over a year ("yyyy"), month ("yyyy-mm"), day ("yyyy-mm-dd") or an
// interval of days.
enum class StatPeriod { Year, Month, Day, Interval };
StatResult statJob(const std::string& wkrNo, StatPeriod period, const std::string& from,
                   const std::string& to, StatTable& out);

// Property account list over a property-number range; `docType` empty for "<不定>".
StatResult statIndiAcct(const std::string& from, const std::string& to, const std::string& docType,
                        StatTable& out);

// Statistics by classification: titles under the categories of a statistics type, matched by
// the order's class number or by the class of the call number.
enum class StatClassBy { ClassNumber, CallNumber };
StatResult statSort(const StatFilter& f, StatClassBy by, const std::string& statType,
                    StatTable& out);
// Statistics types offered, and the custom templates (code, name, statistics type).
int statTypes(std::vector<StatChoice>& types);
struct StatTemplate {
    std::string code, name, statType;
};
int statTemplates(std::vector<StatTemplate>& templates);
// Whether a class number falls under a comma-separated list of classes and "lo~hi" ranges.
bool statClassMatches(const std::string& cls, const std::string& compList);

// Money as the reports show it: two decimals.
std::string statMoney(double value);

// Periodical query: titles found through a search path, then one title's orders, checked-in
// issues and bound volumes.
struct StatSearchPath {
    std::string caption;
    std::string group;  // index group, or "99" for the order number
};
inline constexpr const char* kStatPathOrderNo = "99";
// The configured search paths that find titles: index groups and the order number.
std::vector<StatSearchPath> statSearchPaths();
// Titles: 刊名, ISSN, 出版者, 出版年, 记录号.
StatResult statSearchTitles(const StatSearchPath& path, const std::string& text, StatTable& out);
// The title's orders, optionally of one year.
StatResult statTitleOrders(const std::string& recNo, const std::string& year, StatTable& out);
// The title's expected issues with the copies ordered and checked in at each place.
StatResult statTitleIssues(const std::string& recNo, const std::string& year, StatTable& out);
// The title's bound volumes, optionally at one location and of one year.
StatResult statTitleBound(const std::string& recNo, const std::string& location,
                          const std::string& year, StatTable& out);
