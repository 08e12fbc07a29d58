// The folio window's arithmetic and record work, without the window: the list of
// in-house guests, the folio lines with their running balance, a posting's four writes
// and the steps of a check-out.
#pragma once

#include "platform/clock.h"
#include "platform/decimal.h"
#include "platform/files.h"
#include "records/direct_bill.h"
#include "records/guest_record.h"
#include "records/stay_ledger.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantreth {

inline constexpr std::string_view kFolioHeading =
    "ROOM   SFT   DATE       CODE  DES.                             AMOUNT    TAX    BALANCE";
inline constexpr int kFolioRuleWidth = 88;
inline constexpr std::string_view kFolioMissingLine =
    "                      ERROR: Cannot find the guests folio information";

// The rate of the "tax" file as a fraction; 0 when the motel never set one.
double FolioTaxRate(const platform::DataFolder& data);

// One "Select Room" item: the room as stored, a blank, the last name, a blank, the first name.
std::string FolioRoomItem(const records::GuestRecord& guest);
// One item per in-house guest, in record order.
std::vector<std::string> FolioRoomItems(const platform::DataFolder& data);
// The first in-house slot whose item equals the text.
std::optional<long> FindGuestByItem(const platform::DataFolder& data, std::string_view item);
// The first in-house slot whose 3-character Room equals the text exactly ("1" does not
// find "1  ").
std::optional<long> FindGuestByRoomExact(const platform::DataFolder& data, std::string_view room);

// The tax column of a folio line: for "E" its tax rounded to 2 decimals without a leading
// blank ("0" when untaxed); "" for every other line.
std::string FolioTaxText(const records::StayLedgerLine& line, double taxRate, bool taxExempt);
// One folio line: room at 0, shift 7, date 13, code 24, description 30, amount 62,
// tax 73, balance 79. A value wider than its column keeps one blank after it.
std::string FolioLine(const records::StayLedgerLine& line, std::string_view taxText,
                      const platform::Decimal& balance);

struct FolioSums {
    platform::Decimal rent;  // "E" amounts before tax
    platform::Decimal cash;  // "L"
    platform::Decimal phone; // "G"
    platform::Decimal other; // "J"
    platform::Decimal cards; // "N", "M", "P", "O"
};

struct FolioListing {
    std::vector<std::string> lines; // one per ledger line, without the heading
    platform::Decimal balance;
    FolioSums sums;
};

// The ledger lines with their running balance. After a posting the window lists a
// tax-exempt stay's "E" lines with an empty tax column (blankExemptTax).
FolioListing ListFolio(const std::vector<records::StayLedgerLine>& ledger, double taxRate, bool taxExempt,
                       bool blankExemptTax = false);

// The stay's ledger; nullopt when the file is not there.
std::optional<std::vector<records::StayLedgerLine>> ReadFolioLedger(const platform::DataFolder& data,
                                                                    const records::GuestRecord& guest);

// What the clerk filled in the posting fields.
struct PostingInput {
    std::string code;       // Code box
    std::string amountText; // Amount box
    std::string taxCode;    // Tax Code box: "N" = no tax on room rent
    std::string comment;    // Comment box
};

// Who posts and when.
struct PostingContext {
    std::string shift;
    std::string clerk;
    std::string dateText;
};

// Why a posting is refused before anything is written; nullopt when it can go ahead.
// The texts are the messages the clerk sees.
std::optional<std::string> PostingProblem(const PostingInput& input);
// The text is a decimal number, with an optional sign.
bool IsAmountText(std::string_view text);

// The defaults a chosen code puts into the posting fields; nullopt fields stay as they are.
struct CodeDefaults {
    std::optional<std::string> amount;
    std::optional<std::string> comment;
    std::optional<std::string> taxCode;
};
CodeDefaults DefaultsForCode(std::string_view code, const records::GuestRecord& guest);

// The ledger line a posting appends (and, with the clerk, its day detail line).
records::StayLedgerLine PostingLedgerLine(const records::GuestRecord& guest, const PostingInput& input,
                                          const PostingContext& context);
// A posting's writes: the stay's ledger line and the day's detail line, the shift's cash
// (code "L"), the day's totals. Check PostingProblem first.
void PostToFolio(const platform::DataFolder& data, const records::GuestRecord& guest,
                 const PostingInput& input, const PostingContext& context, double taxRate);

// Check-out.
enum class CheckOutWay {
    BalanceDue, // refused: a balance is shown and no account line
    Ordinary,   // paid up, or paid by card
    DirectBill, // the balance goes to the company account
    Nothing,    // an account line, a balance, and a pay code that is neither card nor "Q"
};
CheckOutWay ChooseCheckOut(const platform::Decimal& balance, std::string_view accountLine,
                           std::string_view payCode);

// The account a stay is billed to, as the folio shows it: found by the stay's code
// (DBNumber without trailing blanks); the line is the account's code, two blanks and its
// company. An empty line and no record when the stay has no code or no account carries it.
struct StayAccount {
    std::string line;
    std::optional<long> record;
};
StayAccount AccountOfStay(const platform::DataFolder& data, const records::GuestRecord& guest);

// Everything check-out decides on, read from the files at one moment: the stored guest
// record, its ledger and balance, and its account. No window label takes part.
struct CheckOutState {
    records::GuestRecord guest;
    std::vector<records::StayLedgerLine> ledger;
    double taxRate = 0;
    platform::Decimal balance;
    StayAccount account;                // what the folio and the printout name
    std::optional<long> chargedAccount; // what the charge goes to (ChargingKey of the code)
    CheckOutWay way = CheckOutWay::Nothing;
};
// The state of the stay in `slot`; nullopt when its ledger is not there.
std::optional<CheckOutState> ReadCheckOutState(const platform::DataFolder& data, long slot);

// Frees the guest's slot and marks the room dirty, vacant and available.
void ReleaseStay(const platform::DataFolder& data, long slot);
// The ordinary check-out's writes: the history entry, the slot, the room.
void CheckOutOrdinary(const platform::DataFolder& data, long slot, std::string_view timeText,
                      const platform::Date& today);
// The direct-bill check-out's writes: the check-out time, the history entry, the slot, the
// room, the account's balance and the day's direct-bill line. The account (found by
// ChargingKey of the stay's code) must exist: check with FindAccount first.
void CheckOutDirectBill(const platform::DataFolder& data, long slot, std::string_view timeText,
                        const platform::Decimal& stayBalance, std::string_view shift,
                        std::string_view dateText);

} // namespace vantreth
