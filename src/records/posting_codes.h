// The posting and pay codes: one letter each, shared by every window that handles money.
// The table below is the one place that says what a code means.
//
// A charge adds its amount to the stay's balance, a payment subtracts it; room rent ("E")
// also carries the tax and adds to the day's GrossRent and Tax. "Q" direct bill is a way to
// pay, not a posting: it posts nothing at check-in and charges the company account at
// check-out. Any other text is no code and changes nothing.
#pragma once

#include "records/day_totals.h"

#include <array>
#include <optional>
#include <string_view>

namespace records {

// What every box that takes money says to an amount with parts of a cent (see
// platform::IsTypedAmount); nothing is written then.
inline constexpr const char* kCentsMessage =
    "The amount you typed has more than two decimals. Please type it in dollars and cents, like 15.00.";

// What they say to an amount beyond platform::kLargestSingleCents, which a record cannot keep to the
// cent; nothing is written then either.
inline constexpr const char* kAmountTooLargeMessage =
    "The amount you typed is too large: the files keep an amount to the cent only up to 131071.99. "
    "Please type a smaller amount.";
// The refusal of a typed amount (a number, as the box's own check found): kCentsMessage,
// kAmountTooLargeMessage, or nullptr when the amount is taken.
const char* TypedAmountRefusal(std::string_view text);

enum class CodeKind { Charge, Payment, DirectBill };

// What the folio puts into its posting boxes when the code is chosen; an empty text leaves
// its box as it is.
struct PostingDefaults {
    bool amountIsRate = false; // the amount box gets the stay's rate
    std::string_view amount;   // else this text
    std::string_view comment;
    std::string_view taxCode;
};

struct PostingCode {
    std::string_view code;
    std::string_view name; // in the folio's legend of the codes: "E=Room Rent"
    CodeKind kind;
    std::string_view text; // the description the program writes on the code's lines; empty: none of its own
    bool card;             // a credit card: `text` is the card's name
    std::optional<DayTotalsField> column; // the day's totals field the amount adds to
    bool shiftCash;                       // also taken into the shift's cash (CashFromRent)
    PostingDefaults defaults;
    std::string_view paymentItem; // the entry of the check-in's payment list; empty: none

    // A line of the stay ledger: a charge or a payment.
    bool IsPosting() const { return kind != CodeKind::DirectBill; }
    // A way to pay a stay: a payment or direct bill.
    bool IsPayCode() const { return kind != CodeKind::Charge; }
    // How the amount counts in the stay's balance: +1, -1, or 0 for direct bill.
    int BalanceSign() const { return kind == CodeKind::Charge ? 1 : kind == CodeKind::Payment ? -1 : 0; }
};

// In the order of the folio's code list; the payment list takes the pay codes in this order.
// One row a code:
// clang-format off
inline constexpr std::array<PostingCode, 9> kPostingCodes{{
    {"E", "Room Rent", CodeKind::Charge, "ROOM RENT", false, DayTotalsField::RoomRent, false,
     {true, "", "ROOM RENT", "Y"}, ""},
    {"J", "Pet or Other", CodeKind::Charge, "", false, DayTotalsField::PetOther, false,
     {false, "10.00", "PET FEE", "N"}, ""},
    {"G", "Phone Charge", CodeKind::Charge, "", false, DayTotalsField::PhoneCharges, false,
     {}, ""},
    {"L", "Cash", CodeKind::Payment, "CASH REC.", false, DayTotalsField::Cash, true,
     {false, "", "CASH REC.", "N"}, "CASH or CHECK"},
    {"N", "Visa/Master", CodeKind::Payment, "VISA/MASTER", true, DayTotalsField::VisaMaster, false,
     {false, "", "VISA/MASTER", "N"}, "VISA/MASTER"},
    {"M", "American Ex.", CodeKind::Payment, "AMERICAN EX.", true, DayTotalsField::AmericanExpress, false,
     {false, "", "AMERICAN EX.", "N"}, "AMERICAN EX."},
    {"P", "Discover", CodeKind::Payment, "DISCOVER", true, DayTotalsField::Discover, false,
     {false, "", "DISCOVER", "N"}, "DISCOVER"},
    {"O", "Diners", CodeKind::Payment, "DINERS", true, DayTotalsField::Diners, false,
     {false, "", "DINERS", "N"}, "DINERS"},
    {"Q", "Direct Bill", CodeKind::DirectBill, "", false, std::nullopt, false,
     {}, "DIRECT BILL"},
}};
// clang-format on

// The rows the program posts by itself.
inline constexpr const PostingCode& kRoomRent = kPostingCodes[0];
inline constexpr const PostingCode& kPetOther = kPostingCodes[1];
inline constexpr const PostingCode& kPhoneCharge = kPostingCodes[2];
inline constexpr const PostingCode& kCash = kPostingCodes[3];
inline constexpr const PostingCode& kDirectBill = kPostingCodes[8];

// The code's row; nullptr for any other text (codes are upper case: "e" is none).
const PostingCode* FindPostingCode(std::string_view code);
// The row whose payment list entry is the text ("CASH or CHECK" L ... "DIRECT BILL" Q);
// nullptr for any other text.
const PostingCode* FindPaymentItem(std::string_view item);

bool IsPostingCode(std::string_view code); // "E" to "O"
bool IsPayCode(std::string_view code);     // "L" to "O", and "Q"
bool IsCardCode(std::string_view code);    // "N", "M", "P", "O"
// The card's name for a card code ("VISA/MASTER"); empty for any other code.
std::string_view CardText(std::string_view code);
// How the code's amount counts in the stay's balance: +1, -1, or 0 ("Q", or no code).
int BalanceSign(std::string_view code);

} // namespace records
