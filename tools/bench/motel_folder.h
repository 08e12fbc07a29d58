// A made-up data folder of a 60-room motel after some years of business, written through
// the program's own record code: the rooms, the guests in house, the reservations file,
// the history of checked-out stays, a ledger per stay and the day files.
#pragma once

#include "platform/clock.h"

#include <filesystem>
#include <string>
#include <vector>

namespace vantreth::bench {

struct MotelFolderPlan {
    int years = 10;
    int rooms = 60;
    int reservationSlots = 2000;
    // The business date the folder ends on; the days before it are the motel's past.
    platform::Date today{2026, 12, 6};
    unsigned seed = 20261206;
};

struct MotelFolderFacts {
    long checkedOut = 0;   // entries of history/history
    long inHouse = 0;      // stays in the guest file
    long ledgers = 0;      // stay ledgers written
    long reservations = 0; // reservations not cancelled
    long slots = 0;        // records of the reservations file
    long days = 0;         // days of business
    long long historyBytes = 0;
    // A registration card and an arrival date text that the history holds, for the searches.
    std::string someRegCard;
    std::string someArrivalDate;
    // The most frequent last name.
    std::string commonLastName;
};

// Writes the folder (which must not hold a motel yet); files are written directly, in
// bulk, outside any clerk action.
MotelFolderFacts WriteMotelFolder(const std::filesystem::path& root, const MotelFolderPlan& plan);

} // namespace vantreth::bench
