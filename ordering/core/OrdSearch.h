// Finding titles across every order catalogue or every pre-order catalogue at once: by title,
// ISSN, order number or publisher, optionally within a range of years, newest batch first.
#pragma once

#include <string>
#include <vector>

enum class OrdSearchKind { Order, Asord };
enum class OrdSearchField { Title, Issn, AsordNo, Publisher };

struct OrdSearchQuery {
    OrdSearchKind kind = OrdSearchKind::Order;
    OrdSearchField field = OrdSearchField::Title;
    std::string text;
    // Four-digit years bounding the batch (or the issue year-month); empty: no bound.
    std::string fromYear, toYear;
};

// One detail or pre-order item found.
struct OrdSearchHit {
    std::string publ, publName;
    std::string year;  // year batch of an order, issue year-month of a pre-order item
    std::string asordNo, title, issn, publisher;
    std::string price, totalPrice;
    std::string copies;  // orders only
    std::string status;  // ord_flag, orders only
    std::string marcNo;  // the catalogue record, or the pre-order record
    std::string key;     // the row key the data forms use
};

// A search lists at most this many rows; `more` says there were others.
constexpr int kOrdSearchMaxRows = 500;

// The refusal of a query that cannot run ("" when it can): an empty text, a year that is not
// four digits, a range that ends before it begins.
std::string strOrdSearchRefusal(const OrdSearchQuery& q);

// Runs the search in one statement. Titles and publishers match anywhere in the text, ignoring
// the case of Latin letters; an ISSN matches however it is typed; an order number matches from
// its start, or as its normalised form. 0, or -1 with the failure in g_ErrInfo.
int intOrdSearch(const OrdSearchQuery& q, std::vector<OrdSearchHit>& out, bool& more);

// The search field a command-line or settings name stands for (title, issn, no, publisher);
// false for any other name.
bool OrdSearchFieldFromName(const std::string& name, OrdSearchField& field);
