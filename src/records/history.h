// The history file: the stays checked out, one entry each, and its searches.
//
// HistoryEntry ("history/history"): three lines per stay, 13 + 9 + 10 items, copied from
// the GuestRecord at check-out. Texts carry their whole fixed-width field:
//   line 1: LastName 15, FirstName 15, Company 20, Street 25, City 20, State 2, Zip 6,
//           Phone 15, RegCard 6, Clerk 2, Room 3, Adults, Children
//   line 2: Nights, TaxExempt (1 or 0), PayCode 1, CheckInTime 10, ArrivalDate 10,
//           CheckOutTime 10, CheckOutDate (a date literal, or the departure text 10 at a
//           direct-bill check-out), Rate, SpareAmount
//   line 3: CardNumber 40, CardExpiry 10, DBNumber ("none", or the account code 8 at a
//           direct-bill check-out), FolioNumber 5, Comment 160, ReservedOn 10,
//           SpareText 10, CardDeposit 10, ConfirmationNumber 10, CashDeposit 10
#pragma once

#include "platform/clock.h"
#include "platform/files.h"
#include "records/guest_record.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace records {

struct HistoryEntry {
    std::string LastName = std::string(15, ' ');
    std::string FirstName = std::string(15, ' ');
    std::string Company = std::string(20, ' ');
    std::string Street = std::string(25, ' ');
    std::string City = std::string(20, ' ');
    std::string State = std::string(2, ' ');
    std::string Zip = std::string(6, ' ');
    std::string Phone = std::string(15, ' ');
    std::string RegCard = std::string(6, ' ');
    std::string Clerk = std::string(2, ' ');
    std::string Room = std::string(3, ' ');
    float Adults = 0;
    float Children = 0;
    float Nights = 0;
    float TaxExempt = 0;
    std::string PayCode = std::string(1, ' ');
    std::string CheckInTime = std::string(10, ' ');
    std::string ArrivalDate = std::string(10, ' ');
    std::string CheckOutTime = std::string(10, ' ');
    // The check-out date as text (a date literal reads back as the date text).
    std::string CheckOutDate = std::string(10, ' ');
    // Set when the item is a date literal (an ordinary check-out); the entry then writes
    // this date as a literal, otherwise CheckOutDate as quoted text.
    std::optional<platform::Date> CheckOutDateLiteral;
    float Rate = 0;
    float SpareAmount = 0;
    std::string CardNumber = std::string(40, ' ');
    std::string CardExpiry = std::string(10, ' ');
    std::string DBNumber = "none";
    std::string FolioNumber = std::string(5, ' ');
    std::string Comment = std::string(160, ' ');
    std::string ReservedOn = std::string(10, ' ');
    std::string SpareText = std::string(10, ' ');
    std::string CardDeposit = std::string(10, ' ');
    std::string ConfirmationNumber = std::string(10, ' ');
    std::string CashDeposit = std::string(10, ' ');

    // The three lines as written.
    std::vector<platform::SeqLine> ToSeqLines() const;
    friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};

// The entry of an ordinary check-out: the guest's fields, CheckOutTime the time text cut
// to 10 characters, CheckOutDate today as a date literal, DBNumber "none".
HistoryEntry HistoryForCheckOut(const GuestRecord& guest, std::string_view timeText,
                                const platform::Date& today);
// The entry of a direct-bill check-out: as above, but CheckOutDate the stored
// DepartureDate text and DBNumber the stay's 8-character account code.
HistoryEntry HistoryForDirectBillCheckOut(const GuestRecord& guest, std::string_view timeText);

// Appends the entry's lines to the history, and its record to the index of the history's
// keys when that covers the whole history so far, in one step.
void AppendHistoryEntry(const platform::DataFolder& folder, const HistoryEntry& entry);
// Every entry in file order; none when no guest has checked out yet (no file). An entry
// with a damaged line (cut short, unreadable, or not its line's count of items) is
// skipped, the entries after it still read, and the damage noted for the clerk.
std::vector<HistoryEntry> ReadHistory(const platform::DataFolder& folder);

// The items a search of the history decides on.
enum class HistoryKey { LastName, RegCard, ArrivalDate, CheckOutDate, FolioNumber, DBNumber };
using HistoryKeyTest = std::function<bool(std::string_view)>;

// The history searches: calls `found` with every entry, in file order, whose item `key`
// (its text as the entry holds it, e.g. LastName with its trailing blanks) `wanted`
// accepts; the entries ReadHistory gives, damage skipped and noted the same way. The keys
// are read from the index of the history's keys (history/history.keys, one record per entry,
// caught up with the history's end first and written back as a step of its own where the
// folder takes changes), and an entry is read whole from the history, where the index says it
// lies, only when its key is wanted: a search takes the same little memory however long the
// history grows, and reads far less than the history.
void ScanHistory(const platform::DataFolder& folder, HistoryKey key, const HistoryKeyTest& wanted,
                 const std::function<void(const HistoryEntry&)>& found);
// ScanHistory, `found` also given the entry's place among the readable entries of the file
// (from 0): two scans of one file place their entries alike, so their finds can be merged
// in file order.
void ScanHistoryPlaced(const platform::DataFolder& folder, HistoryKey key, const HistoryKeyTest& wanted,
                       const std::function<void(const HistoryEntry&, size_t)>& found);
// One scan for several keys at once: `found` gets every entry one of them accepts, with its
// place and which did (bit i for keys[i]).
struct HistoryKeyWanted {
    HistoryKey key;
    HistoryKeyTest wanted;
};
void ScanHistoryPlaced(const platform::DataFolder& folder, const std::vector<HistoryKeyWanted>& keys,
                       const std::function<void(const HistoryEntry&, size_t, unsigned)>& found);
// The history searched from its newest entry back: `found` gets the entries one of the keys
// accepts, newest first, with their places and which keys did. The walk ends early once
// `more` says no older entry is wanted for its own sake and the entries left are known (from
// the index of the history's keys) each to hold a check-out date literal before the day the
// date text `checkOutDay` names, or an account code in DBNumber: none of them is an ordinary
// check-out of that day. Otherwise it goes back to the first entry.
void ScanHistoryFromEnd(const platform::DataFolder& folder, const std::vector<HistoryKeyWanted>& keys,
                        std::string_view checkOutDay, const std::function<bool()>& more,
                        const std::function<void(const HistoryEntry&, size_t, unsigned)>& found);
// Brings the index of the history's keys (history/history.keys) up to the history's end, as
// the first search would.
void CatchUpHistoryIndex(const platform::DataFolder& folder);
// The entries ScanHistory finds, in file order.
std::vector<HistoryEntry> FindInHistory(const platform::DataFolder& folder, HistoryKey key,
                                        const HistoryKeyTest& wanted);

} // namespace records
