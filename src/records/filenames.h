// Every data file name the program uses: the fixed names in the data folder, the
// per-day and per-shift files (named by DateDigits of the date text) and the stay ledgers.
#pragma once

#include "platform/files.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace records {

// Files directly in the data folder.
inline constexpr std::string_view kRoomsFile = "rooms";
inline constexpr std::string_view kGuestFile = "guest";
inline constexpr std::string_view kReservationsFile = "reservations";
inline constexpr std::string_view kShiftFile = "shift";
inline constexpr std::string_view kFolioFile = "folio";
inline constexpr std::string_view kWeekdayFile = "weekday";
inline constexpr std::string_view kWeekendFile = "weekend";
inline constexpr std::string_view kOptionalRatesFile = "oprates";
inline constexpr std::string_view kTaxFile = "tax";
inline constexpr std::string_view kStateTaxFile = "statetax";
inline constexpr std::string_view kCityTaxFile = "citytax";
inline constexpr std::string_view kDayOfWeekFile = "dayofweek";
inline constexpr std::string_view kIntroFile = "intro";
inline constexpr std::string_view kDateStatusFile = "datestatus";
inline constexpr std::string_view kSleepersTodayFile = "sleeperstoday";
inline constexpr std::string_view kNoRentFile = "norent";
inline constexpr std::string_view kMovedYesFile = "movedyes";
inline constexpr std::string_view kCashDropYesFile = "cdropyes";
inline constexpr std::string_view kConfirmationNumberFile = "cnumber";
inline constexpr std::string_view kReservationsTodayYesFile = "restodayyes";
inline constexpr std::string_view kDbPaymentYesNoFile = "dbpaymentyesno";
// The installation settings (MotelSettings), as "key = value" lines.
inline constexpr std::string_view kSettingsFile = "settings";
// The single old totals file (DayTotals records, one per day). The name "totals" is the
// totals/ sub-folder's, so the file is kept beside it as "oldtotals".
inline constexpr std::string_view kOldTotalsFile = "oldtotals";

// The sub-folder of the saved reports (a PDF each).
inline constexpr std::string_view kPrintFolder = "print";

// Every sub-folder the files named here lie in, and the print folder, each once: the
// folders a new data folder is given (DataFolder::EnsureLayout) and the ones cleared of
// interrupted saves at start-up.
const std::vector<std::string>& DataSubFolders();

// Files in sub-folders under a fixed name.
platform::FilePath HistoryFile(const platform::DataFolder& folder); // history/history
// history/history.keys: the index of the history's keys, one record per entry (see history.cpp)
platform::FilePath HistoryKeysFile(const platform::DataFolder& folder);
platform::FilePath DbMemberFile(const platform::DataFolder& folder); // directbill/dbmember
platform::FilePath DbNumberFile(const platform::DataFolder& folder); // directbill/dbnumber

// Files named by the day: sub-folder, then a fixed prefix (only "totals" has one), then
// DateDigits of the date text.
enum class DayFile {
    Sleepers,          // sleepers/12626
    Detail,            // detail/12626
    Totals,            // totals/totals12626
    RoomsRented,       // roomsrented/12626
    DbDaily,           // dbdaily/12626
    DbPayments,        // dbpayments/12626
    PettyCash,         // directbill/12626
    Dates,             // dates/12626
    Move,              // move/12626
    Notes,             // notes/12626
    ReservationsToday, // reservationstoday/12626
    PhoneLog,          // phonelog/12626
};
platform::FilePath DayFilePath(const platform::DataFolder& folder, DayFile file, std::string_view dateText);

// Files named by the shift letter and the day: shiftcash/A12626, shiftrentals/A12626.
enum class ShiftFile { ShiftCash, ShiftRentals };
platform::FilePath ShiftFilePath(const platform::DataFolder& folder, ShiftFile file, std::string_view shift,
                                 std::string_view dateText);

// The cancelled-reservations year file: the last two characters of the date text, in the
// data folder itself ("3/5/04" gives the file "04").
platform::FilePath CancelYearFile(const platform::DataFolder& folder, std::string_view dateText);

// The day's posted notes: postednotes/ + DateDigits ("postednotes/12626"). They have a
// folder of their own because notes/ + DateDigits is the cancelled-reservations day file.
platform::FilePath PostedNotesFile(const platform::DataFolder& folder, std::string_view dateText);

// The record length of a file that holds one record only (record 1), by its name relative to
// the data folder ("folio", "roomsrented/12626"): no write to such a file reaches further.
// nullopt for every other file.
std::optional<long long> OneRecordFileLength(std::string_view relative);

// The one rule for a typed name (or any text) that is stored: a double quote becomes an
// apostrophe and a control character (a line break, a tab) a blank, the way a quoted item
// of a sequential file keeps it. The guest record, the ledger's file name and the history
// line all hold a name through this rule, so they always agree (O"NEIL is O'NEIL in each).
std::string StoredText(std::string_view typed);
// A typed name as the guest record keeps it: StoredText, upper-cased, cut or padded to
// the field's width.
std::string StoredName(std::string_view typed, size_t width);

// A stay's ledger: dailycharge/ "dailycharge" + the 3-character room as stored (an inner
// blank kept) + last name and first name without trailing blanks + DateDigits of the
// arrival date. dailycharge/dailycharge101SMITHJOHN12626. The names go through StoredText,
// so a record and the history entry made from it name the same file.
platform::FilePath StayLedgerFile(const platform::DataFolder& folder, std::string_view room3,
                                  std::string_view lastName, std::string_view firstName,
                                  std::string_view arrivalDate);

} // namespace records
