// The walk-in check-in without its window: the price of a stay, the payment types, the
// checks of what the clerk entered, and the commit that writes every record of a new stay.
#pragma once

#include "platform/clock.h"
#include "platform/files.h"
#include "records/guest_record.h"
#include "records/posting_codes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantreth::stay {

// The payment list of the check-in, in the order the clerk sees it: the pay codes' entries
// of the code table (records/posting_codes.h).
inline constexpr std::string_view kCashOrCheck = records::kCash.paymentItem;
inline constexpr std::string_view kDirectBill = records::kDirectBill.paymentItem;
const std::vector<std::string>& PaymentList();
// The pay code of a payment list entry ("CASH or CHECK" L ... "DIRECT BILL" Q); nullopt for
// any other text, "choose payment" included.
std::optional<char> PayCodeFor(std::string_view payment);
// The ledger text of a card payment code ("N" VISA/MASTER, "M", "P", "O"); "" for L and Q.
std::string CardTextFor(char payCode);

// The nightly price with tax and the stay total, as the price labels show them.
struct StayPrice {
    std::string nightly; // rate + rate x tax, rounded to the cent (records::ChargeRoomRent)
    std::string total;   // nightly x nights, not rounded
};
// The price from the rate and nights texts (their leading numbers); no tax while exempt.
StayPrice PriceStay(std::string_view rateText, std::string_view nightsText, bool taxExempt, double taxRate);
// The stay total as the cash box takes it when the program writes it there: rounded to the
// cent (platform::AmountText); an empty total stays empty.
std::string StayTotalAsCash(std::string_view totalText);
// The rate less 10 %, rounded to the cent as the program writes every amount it works out
// (platform::AmountText: 49.95 gives 44.96, 59.95 gives 53.96).
std::string TenPercentOff(std::string_view rateText);

// The expected departure: today plus the nights (rounded to whole days); a check-in from
// 3 to 5 o'clock in the morning on shift "A" belongs to the night before, so it counts
// from yesterday.
std::string DepartureDateText(const platform::Date& today, std::string_view timeText, std::string_view shift,
                              double nights);

// The clean rooms that are for sale and not promised to a reservation arriving today, as
// the room list shows them: room (3 characters), a blank, room type (5 characters).
std::vector<std::string> FreeRoomList(const platform::DataFolder& data, std::string_view todayText);

// The optional rates that are set, in slot order, as the rate list shows them: rounded to the
// cent, since a pick writes the text into the rate box.
std::vector<std::string> OptionalRateList(const platform::DataFolder& data);

// Direct-bill accounts whose company name is not blank: code, a blank, company name.
std::vector<std::string> DirectBillList(const platform::DataFolder& data);
// The present balance of the account whose code is the first four characters of the
// entry (the last such account wins), rounded to cents; nullopt when none has that code.
std::optional<double> DirectBillBalance(const platform::DataFolder& data, std::string_view entry);

// What the clerk entered in the check-in window, as the commit reads it.
struct CheckInEntry {
    std::string roomChoice; // "101 NQ1  "
    std::string lastName, firstName, company, street, city, state, zip, phone, regCard, clerk;
    std::string adults, children, nights, rate;
    bool taxExempt = false;
    std::string payment; // the payment list's text
    std::string account; // the direct-bill account list's text
    std::string comment;
    std::string cash;        // what the guest gives in cash
    std::string totalStay;   // the stay total shown
    bool feeShowing = false; // the additional-fee panel is enabled and its amount not empty
    std::string feeDescription, feeAmount;
};

// Why the commit refuses an entry; each has its own message and box to correct.
enum class EntryProblem {
    NoRoom,
    NoRegCard,
    NoDirectBill,
    NoPayment,
    BadNights,
    BadRate,
    BadChildren,
    BadCash,
    RateCents, // the rate or the cash has parts of a cent
    CashCents,
    RateTooLarge, // the rate or the cash is beyond what a record keeps to the cent
    CashTooLarge,
    RoomTaken,
    NoTaxRate,
    LedgerTaken, // a stay of these names arrived in this room today and was checked out
};
std::string ProblemMessage(EntryProblem problem, std::string_view room3 = {});
// The checks that need only the entry, in the order the clerk hears of them.
std::optional<EntryProblem> CheckEntry(const CheckInEntry& entry);
// A deposit answer is taken when it is empty (none) or a non-negative number.
bool DepositAnswerValid(std::string_view answer);
inline constexpr const char* kBadDepositMessage =
    "The deposit you typed is not a number. Type the amount in dollars, like 20.00, or leave the box empty.";

// The cash deposit is asked for only when the guest pays the whole stay in cash.
bool AsksForDeposit(const CheckInEntry& entry);

// Who commits and when.
struct CheckInSession {
    std::string postingShift; // the shift letter of the shift file, for the ledger lines
    std::string shift;        // gShift
    std::string clerk;        // gClerk
    double taxRate = 0;       // the tax file's rate
    platform::Date today;
    platform::TimeOfDay time;
};

// Everything the commit writes, worked out before the first write.
struct CheckInPlan {
    long slot = 1;
    float folioNumber = 1;
    records::GuestRecord guest;
    CheckInSession session;
    std::string todayText;
    bool feeShowing = false;
    std::string feeDescription;
    double fee = 0;
    std::optional<double> cash;     // a "CASH REC." line for the cash typed
    std::optional<double> card;     // a card line for the stay total
    double deposit = 0;             // a further "CASH REC." line when not 0
    std::optional<long> roomRecord; // the room marked occupied
};

// The guest record of the stay (fields 1 to 27 from the entry, the rest blank).
records::GuestRecord BuildGuestRecord(const CheckInEntry& entry, float folioNumber,
                                      const CheckInSession& session);
// Reads what the commit needs (folio counter, free slot, room record) and works out every
// record. The entry must have passed CheckEntry.
// The entry, checked in today, would carry on the folio of a stay checked out
// (records::NewStayLedgerTaken).
bool LedgerTaken(const platform::DataFolder& data, const CheckInEntry& entry, const platform::Date& today);
CheckInPlan PlanCheckIn(const platform::DataFolder& data, const CheckInEntry& entry,
                        const CheckInSession& session, double deposit);
// Writes the stay: guest record, folio counter, ledger lines, day detail, day totals,
// shift cash, room status, deposit, shift rentals, rooms rented; in that order.
void WriteCheckIn(const platform::DataFolder& data, const CheckInPlan& plan);

} // namespace vantreth::stay
