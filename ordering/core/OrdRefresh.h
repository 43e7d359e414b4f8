// Refreshing a catalogue's prices or frequencies from a distributor's pre-order catalogue: the
// details are paired with the pre-order items by normalised order number, so "2-15" in the
// order finds "0002-0015" in the offer list.
#pragma once

#include <string>
#include <vector>

// A detail and the pre-order item it pairs with, with the values to take over.
struct AsordPair {
    std::string ordAsordNo;
    std::string asordNo;
    std::string price;
    std::string sumPrice;
    std::string freq;
};

// The catalogue's details that have an item in the pre-order catalogue, by order number: one
// query joining the two normalised numbers. 0, or -1 with the failure in g_ErrInfo.
int intPairWithAsord(const std::string& publ, const std::string& year, const std::string& asordPubl,
                     const std::string& yearMonth, std::vector<AsordPair>& pairs);

// Frequency refresh of the paired details, each in its own transaction. Details whose check-in
// has begun keep their frequency: they are named in one refusal, shown before the others are
// written. 0, or -1 after the failure report (the details before it stay written).
int intRefreshOrdFreqs(const std::string& publ, const std::string& year,
                       const std::vector<AsordPair>& pairs);
