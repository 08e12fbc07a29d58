// The sequential ledgers of a stay and a day: the stay's own ledger (its folio), the
// day's posting log, and the rooms rented on a shift; and the stay's balance.
//
// StayLedgerLine, ten items: Room, Shift, PostDate, Code, Description (texts), Amount,
// TaxValue (numbers), TaxFlag, Filler1, Filler2 (texts).
// DayDetailLine ("detail/" + DateDigits), eleven items: Room, Shift, PostDate, Code,
// Description (texts), Amount (number), Clerk, Filler1..Filler4 (texts).
// ShiftRentalLine ("shiftrentals/" + shift + DateDigits), four items: Room, Shift, Clerk
// (texts), TimeRented (a time literal, #15:45:12#).
//
// Texts are written whole, trailing blanks included, and read back as written.
//
// Posting codes (records/posting_codes.h): charges "E" room rent, "J" pet or other, "G"
// phone charge; payments "L" cash or check, "N" Visa/Master, "M" American Express,
// "P" Discover, "O" Diners.
#pragma once

#include "platform/clock.h"
#include "platform/decimal.h"
#include "platform/files.h"
#include "records/guest_record.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace records {

inline constexpr std::string_view kFiller = "-----";

struct StayLedgerLine {
    std::string Room;
    std::string Shift;
    std::string PostDate;
    std::string Code;
    std::string Description;
    float Amount = 0;
    float TaxValue = 0;                         // for show only; no reader uses it
    std::string TaxFlag = std::string(kFiller); // "N" = the line carries no tax
    std::string Filler1 = std::string(kFiller);
    std::string Filler2 = std::string(kFiller);

    platform::SeqLine ToSeqLine() const;
    friend bool operator==(const StayLedgerLine&, const StayLedgerLine&) = default;
};

struct DayDetailLine {
    std::string Room;
    std::string Shift;
    std::string PostDate;
    std::string Code;
    std::string Description;
    float Amount = 0;
    std::string Clerk;
    std::string Filler1 = std::string(kFiller);
    std::string Filler2 = std::string(kFiller);
    std::string Filler3 = std::string(kFiller);
    std::string Filler4 = std::string(kFiller);

    platform::SeqLine ToSeqLine() const;
    friend bool operator==(const DayDetailLine&, const DayDetailLine&) = default;
};

struct ShiftRentalLine {
    std::string Room;
    std::string Shift;
    std::string Clerk;
    platform::TimeOfDay TimeRented;

    // The time as the system's time text ("3:45:12 PM").
    std::string TimeRentedText() const { return platform::TimeText(TimeRented); }
    platform::SeqLine ToSeqLine() const;
    friend bool operator==(const ShiftRentalLine&, const ShiftRentalLine&) = default;
};

// The stay's ledger file, named from the guest record's Room, LastName, FirstName and
// ArrivalDate (see StayLedgerFile); a ledger made before names went through StoredText,
// still under the name as typed, is found there.
platform::FilePath StayLedgerPath(const platform::DataFolder& folder, const GuestRecord& guest);
// A new stay would find a ledger under its name already: a stay of the same names arrived in
// the same room on the same day and has been checked out. A check-in that went on would add
// the new stay to that stay's folio, so every check-in refuses it.
bool NewStayLedgerTaken(const platform::DataFolder& folder, const GuestRecord& guest);

// Appends one line; the file is created by the first append. Reading throws IoError
// when the file does not exist. A damaged line (cut short, unreadable, or not the line's
// count of items) is skipped and noted for the clerk (the engine's damage log, Engine::damage), as in
// every reader of a day or stay file below.
void AppendStayLedgerLine(const platform::FilePath& ledger, const StayLedgerLine& line);
std::vector<StayLedgerLine> ReadStayLedger(const platform::FilePath& ledger);

void AppendDayDetailLine(const platform::DataFolder& folder, std::string_view dateText,
                         const DayDetailLine& line);
std::vector<DayDetailLine> ReadDayDetail(const platform::DataFolder& folder, std::string_view dateText);

// The day detail line of a posting: the ledger line's room, shift, date, code, description
// and amount, and the clerk who posted it.
DayDetailLine DetailLineOf(const StayLedgerLine& line, std::string_view clerk);

// Where a posting goes: both files, as a rule; a few postings reach only one of them.
enum class PostTo { LedgerAndDetail, LedgerOnly, DetailOnly };

// Writes one posting of a stay: the line in the stay's ledger, then its line in the day's
// detail (the day file of the line's PostDate), with the clerk.
void PostToStay(const platform::DataFolder& folder, const platform::FilePath& ledger,
                const StayLedgerLine& line, std::string_view clerk, PostTo to = PostTo::LedgerAndDetail);

void AppendShiftRentalLine(const platform::DataFolder& folder, std::string_view shift,
                           std::string_view dateText, const ShiftRentalLine& line);
std::vector<ShiftRentalLine> ReadShiftRentals(const platform::DataFolder& folder, std::string_view shift,
                                              std::string_view dateText);

// What a line charges or pays before its sign: for a room-rent line ("E") whose TaxFlag
// is not "N" of a stay that is not tax exempt, the gross rent the guest was quoted
// (Amount plus Amount x tax rate, rounded to the cent: ChargeRoomRent); for every other
// line its Amount.
platform::Decimal LineCharge(const StayLedgerLine& line, double taxRate, bool taxExempt);
// The tax shown for a taxed room-rent line: its gross rent less its Amount, to 2
// decimals, so that Amount and tax add up to the line's charge; 0 for every other line.
platform::Decimal LineTax(const StayLedgerLine& line, double taxRate, bool taxExempt);

// The stay's sums by kind, as the folios print them: each taken exactly from its lines and
// never held as a Single, so a sum past what a Single keeps to the cent still shows every cent.
struct StayLedgerSums {
    platform::Decimal roomRent;        // Amount of the "E" lines
    platform::Decimal tax;             // each "E" line's charge less its Amount (rent + tax = charged)
    platform::Decimal visaMaster;      // "N"
    platform::Decimal americanExpress; // "M"
    platform::Decimal discover;        // "P"
    platform::Decimal diners;          // "O"
    platform::Decimal cash;            // "L"
};
StayLedgerSums SumStayLedger(const std::vector<StayLedgerLine>& lines, double taxRate, bool taxExempt);

// The stay's balance: from 0, line by line in file order, exactly in decimals: "E" adds
// its LineCharge, "J" and "G" add Amount, "L", "N", "M", "P" and "O" subtract it, any other
// code changes nothing (the code table's charges and payments); the balance is rounded to
// 2 decimals after each line. A stay paid what its nights were quoted comes to 0. The
// balance is a decimal sum, never a Single: 150,000.02 paid down by 100,000 leaves 50,000.02.
platform::Decimal StayBalance(const std::vector<StayLedgerLine>& lines, double taxRate, bool taxExempt);
// The balance after one more line (the running balance of a folio).
platform::Decimal AddToStayBalance(const platform::Decimal& balance, const StayLedgerLine& line,
                                   double taxRate, bool taxExempt);

} // namespace records
