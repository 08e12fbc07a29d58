// Re-opening a stay checked out today: the list of today's check-outs from the history file,
// the rooms it may go back into, the guest record re-created from the history entry, and the
// re-opening itself (guest record, room occupied, ledger carried when the room changed).
#pragma once

#include "platform/clock.h"
#include "platform/files.h"
#include "records/direct_bill.h"
#include "records/guest_record.h"
#include "records/history.h"
#include "records/room_record.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantreth {

// The line of today's check-outs: room, two blanks, last name, two blanks, first name, each trimmed.
std::string CheckedOutLine(const records::HistoryEntry& entry);
// The entry's check-out date is today (compared as trimmed date texts).
bool CheckedOutOn(const records::HistoryEntry& entry, std::string_view todayText);
// Today's check-outs in the order of check-out; none when there is no history file yet. An
// ordinary check-out is today's by its date; a direct-bill one, whose entry keeps the planned
// departure instead, by its charge in today's direct-bill log, whatever that departure.

std::vector<records::HistoryEntry> CheckedOutToday(const platform::DataFolder& folder,
                                                   std::string_view todayText);
// The entry behind a line of today's list: the `index`-th of today's entries when it has that
// line, else the first entry of today with that line.
std::optional<records::HistoryEntry> FindCheckedOut(const std::vector<records::HistoryEntry>& today,
                                                    std::string_view line, int index);

// The line of the room list: Room as stored, a blank, the trimmed room type, and "--dirty"
// for a dirty room ("104 NQ1--dirty").
std::string BackInRoomLine(const records::RoomRecord& room);
// A reservation slot holds the room with today's arrival date.
bool ReservedToday(const std::vector<records::GuestRecord>& reservations, std::string_view room3,
                   std::string_view todayText);
// A room may take the stay: neither occupied nor out of order, and not reserved for today.
bool OfferedForCheckBackIn(const records::RoomRecord& room,
                           const std::vector<records::GuestRecord>& reservations, std::string_view todayText);
// The lines of every room offered, in the order of the rooms file.
std::vector<std::string> BackInRoomLines(const platform::DataFolder& folder, std::string_view todayText);

// The in-house record of the stay in `room3`: the entry's fields, one night, no check-out
// time, departing `tomorrowText`, no direct-bill account code (the account was charged at
// check-out; a check back in that takes the charge back gives the code back, see below).
records::GuestRecord GuestFromHistory(const records::HistoryEntry& entry, std::string_view room3,
                                      std::string_view tomorrowText);

// A direct-bill check-out charged the stay's balance to its account. Checking the stay back
// in takes that charge off the account again and bills the stay to the account as before,
// so that the check-out to come charges the whole stay once.
struct ChargeTakenBack {
    std::string key;      // the account's key, as the check-out charged it (ChargingKey)
    std::string account;  // the account's code and company, as the day's log names it
    float amount = 0;     // the stay's balance as the check-out charged it
    std::string room;     // the room the stay left from, as the charge's line names it
    std::string dateText; // today, the day of the line that takes the charge back
};

// A check back in checked against the files, before anything is written.
struct BackInPlan {
    std::string problem;        // what the clerk is told when it cannot be made; empty = go ahead
    records::GuestRecord guest; // as it will be written
    long slot = 0;
    long roomRecord = 0;
    bool roomChanged = false;
    platform::FilePath fromLedger;
    platform::FilePath toLedger;
    std::optional<ChargeTakenBack> chargeTakenBack;
};
// Refused, with a message, when the stay is in the house already, when the entry is an
// earlier check-out of a stay that was checked back in and out again since (its ledger has
// moved on), when the room cannot take it, when the stay's ledger is missing or is also the
// ledger of a stay in the house, when the account a direct-bill check-out charged cannot
// be found, when that charge was taken back already, or when the day's log cannot tell
// whether it was (two charges alike from one room to one account, one taken back).
BackInPlan PlanCheckBackIn(const platform::DataFolder& folder, const records::HistoryEntry& entry,
                           std::string_view room3, const platform::Date& today);

// Makes a check back in that PlanCheckBackIn allowed: the ledger first (when the room
// changed), then the guest record, then the room marked clean and occupied, then the
// charge taken back off the account with a line of the day's direct-bill log (on `shift`)
// showing it. When the guest record cannot be written the ledger is carried back.
void MakeCheckBackIn(const platform::DataFolder& folder, const BackInPlan& plan, std::string_view shift = "");

// What the clerk is told after a check back in that took a charge back.
std::string ChargeTakenBackMessage(const ChargeTakenBack& charge);

} // namespace vantreth
