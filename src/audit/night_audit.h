// The night audit's work without its windows: the gate that lets the audit start, the
// posting of one night's room rent and tax to every stay, the refusals of the posting and
// of the change of date, the next day number, and the audit's housekeeping report.
#pragma once

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/printer.h"
#include "records/day_totals.h"
#include "records/guest_record.h"
#include "records/posting_codes.h"
#include "records/stay_ledger.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantreth::audit {

// ---- the gate ----

enum class AuditGate {
    Open,
    NotShiftC,   // shift "A" or "B"
    NoDropSheet, // shift "C" before its cash drop sheet was printed
    Afternoon,   // a time text with a "P": refused without a message
};

inline constexpr std::string_view kNotShiftCMessage =
    "Night audit duties are to be performed on C shift only.";
inline constexpr std::string_view kNoDropSheetMessage =
    "I'm showing that you didn't print your drop sheet. Please do that before continuing.";

// dropSheetFlag: the one value of "cdropyes"; a missing file counts as 0 (not printed).
// A shift letter other than "A", "B" or "C" is held only to the time test.
AuditGate CheckAuditGate(std::string_view shift, std::optional<double> dropSheetFlag,
                         std::string_view timeText);

// ---- room rent and tax ----

inline constexpr std::string_view kChargeQuestion =
    "This will charge room rent and tax now for stayovers. Continue?";
inline constexpr std::string_view kDueOutMessage = "Cannot proceed. Showing guest(s) due to check out today.";
inline constexpr std::string_view kNoTaxRateMessage =
    "The tax rate has not been set. Set the tax rates from the Main Menu before charging room rent.";
inline constexpr std::string_view kRoomRentDescription = records::kRoomRent.text;

// Who posts the night and for which day.
struct NightContext {
    std::string shift;
    std::string clerk;
    std::string today; // the business date's text
    double taxRate = 0;
};

// The list lines of the in-house guests due out today, in record order: the 3-character
// room, two blanks, the trimmed departure date. Empty when nobody leaves today.
std::vector<std::string> DueOutToday(const std::vector<records::GuestRecord>& guests, std::string_view today);

// The stay has a room-rent line ("E") dated exactly today.
bool RentPostedToday(const std::vector<records::StayLedgerLine>& ledger, std::string_view today);

// The night's room-rent line of a stay; its TaxValue is the tax rate itself.
records::StayLedgerLine NightRentLedgerLine(const records::GuestRecord& guest, const NightContext& night);

// The day's totals with one night of the stay added (records::AddRoomRent): RoomRent +
// rate, GrossRent + the night's gross rent (rate + rate x tax rate to the cent; the rate
// alone for a tax-exempt stay), Tax + the difference, so that the three add up.
records::DayTotals AddNightToTotals(records::DayTotals totals, float rate, double taxRate, bool taxExempt);

enum class NightPosting { Posted, AlreadyPosted };

// Posts one night of an in-house stay unless its ledger shows today's room rent: the
// ledger line and the day's detail line, one more room rented, the day's totals, in this
// order. Everything that is read is read before the first write. Throws IoError (a ledger
// that cannot be read, a day file that cannot be written).
NightPosting PostNight(const platform::DataFolder& data, const records::GuestRecord& guest,
                       const NightContext& night);

struct NightCharges {
    int posted = 0;
    int alreadyPosted = 0;
    std::vector<std::string> failedRooms; // 3-character rooms whose posting stopped on a file error
    std::string firstError;               // the reason of the first of them
};

// Posts the night to every in-house stay of the guests given (record order). A stay whose
// posting fails is left as far as it got and the walk goes on with the next one.
NightCharges ChargeRoomAndTax(const platform::DataFolder& data,
                              const std::vector<records::GuestRecord>& guests, const NightContext& night);

// The clerk's warning after a walk in which some stays could not be posted.
std::string FailedPostingsMessage(const NightCharges& charges);

// ---- change of date ----

inline constexpr std::string_view kReservationsTodayMessage =
    "Cannot proceed. Showing reservations due in today. Please either cancel these reservations or change "
    "their arrival date.";

// A reservation of the file arrives today (blanks around both dates ignored).
bool ReservationArrivesToday(const platform::DataFolder& data, std::string_view today);

// The day number after `day`: one more, and 1 after 7 (any result of 8 or more).
double NextDayNumber(double day);
// The new day's number: the stored one moved on, or, when "dayofweek" was never written,
// the calendar weekday of the new date (1 = Monday).
double NewDayNumber(std::optional<double> storedDay, const platform::Date& newDate);

// ---- housekeeping ----

// The housekeeping report for the new business day as the audit prints it: an empty line
// before the title, and the room lines in bold. No afternoon rule: the audit runs at night.
void PrintAuditHousekeepingReport(platform::Printer& printer, const platform::DataFolder& data,
                                  std::string_view motelName, std::string_view today);

} // namespace vantreth::audit
