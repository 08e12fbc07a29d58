// Working on one stored reservation without its window: finding it, saving the clerk's
// edits, payments taken toward it, cancelling it, and checking its guest in.
#pragma once

#include "platform/files.h"
#include "records/cancel_record.h"
#include "records/guest_record.h"
#include "stay/checkin_commit.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantreth::reservations {

// The slot the lists hand over: Room equal to the room key as stored, and ArrivalDate
// without trailing blanks equal to the date key. The first match wins.
std::optional<long> FindByListKeys(const platform::DataFolder& data, std::string_view dateKey,
                                   std::string_view roomKey);
// The slot of the reservation open in the edit window: Room equal to the room as loaded,
// ArrivalDate trimmed equal to the arrival as loaded, trimmed. The first match wins.
std::optional<long> FindOpenReservation(const platform::DataFolder& data, std::string_view arrival,
                                        std::string_view room);
// The reservation the edit window loaded, found as FindOpenReservation finds it and still
// holding that reservation (the same confirmation and folio numbers): once it is checked
// in or cancelled, another reservation of the same room and day is not it.
std::optional<long> FindLoadedReservation(const platform::DataFolder& data, std::string_view arrival,
                                          std::string_view room, const records::GuestRecord& asLoaded);
// Reservations whose ArrivalDate without trailing blanks is the date text.
int CountArrivals(const platform::DataFolder& data, std::string_view dateText);

// The edit window's boxes and value labels, as the clerk left them.
struct ReservationBoxes {
    std::string lastName, firstName, company, street, city, state, zip, phone, regCard;
    std::string adults, children, clerk, comment;
    std::string arrival, departure, payCode, dbNumber, cardNumber, cardExpiry, rate;
    std::string room;         // the room label
    std::string cashDeposit;  // "Cash Received"
    std::string cardDeposit;  // "Credit Card Received"
    std::string confirmation; // "CN#"
    std::string reservedOn;   // "Reservation made on"
    // The rate box's text as loaded (stay::RateAsLoaded); none for a reservation not loaded.
    std::optional<std::string> loadedRate;
    // The count boxes' texts as loaded (their shortest text); none for a stay not loaded.
    std::optional<std::string> loadedAdults, loadedChildren;
    // The date boxes' texts as loaded (right-trimmed); none for a reservation not loaded.
    std::optional<std::string> loadedArrival, loadedDeparture;
};

// What the load shows of a stored reservation.
ReservationBoxes BoxesFromRecord(const records::GuestRecord& reservation);

// Why a save is refused; each names the box to correct.
enum class EditProblem {
    NoArrival,
    NoLastName,
    NoFirstName,
    BadArrival,
    NoDeparture,
    BadDeparture,
    BadAdults,
    BadChildren,
    BadRate,
    RateCents,
    RateTooLarge,
    DepartureNotAfterArrival
};
std::string EditProblemMessage(EditProblem problem);
// The checks that come before the room label is looked at: the three blanks.
std::optional<EditProblem> CheckRequired(const ReservationBoxes& boxes);
// The checks of what would be written: dates as the system writes them ("12/6/26"; a
// two-digit year is placed by currentYear), numbers that are numbers.
std::optional<EditProblem> CheckValues(const ReservationBoxes& boxes, int currentYear);
// A date text in the system's own form, the form every date comparison relies on.
bool IsSystemDateText(std::string_view text, int currentYear);

// The reservation's fields that the window carries, from the boxes (names, address and
// comment in capitals); Nights, TaxExempt, times, FolioNumber, ReservedOn, SpareText and
// CardDeposit are left as they are.
void ApplyBoxes(records::GuestRecord& reservation, const ReservationBoxes& boxes);
enum class SaveResult {
    Saved,
    Gone,         // the reservation is no longer on file (checked in or cancelled): nothing written
    RoomReserved, // the new room or nights are held by another reservation: nothing written
};
inline constexpr const char* kGoneMessage =
    "This reservation is no longer in the reservations file. It may have been checked in or canceled "
    "meanwhile. Your changes were not saved.";
std::string RoomReservedMessage(std::string_view room);
// Writes the boxes into the slot of the reservation loaded (FindLoadedReservation). A
// reservation that is gone is not written again. A reservation moved to another room or
// to other nights must not land on a room another reservation holds on one of them.
SaveResult SaveReservation(const platform::DataFolder& data, const ReservationBoxes& boxes,
                           std::string_view arrival, std::string_view room,
                           const records::GuestRecord& asLoaded, int currentYear);

// The amount typed into a payment box: one leading "$" is dropped; an empty answer is 0;
// nullopt when the rest is not a plain non-negative number.
std::optional<double> AnswerAmount(std::string_view answer);
inline constexpr const char* kBadAmountMessage =
    "The amount you typed is not a number. Type the amount in dollars, like 20.00.";
// What the clerk is told of a payment answer that is refused (not a number, or parts of a
// cent); nullopt when AnswerAmount takes it.
std::optional<std::string> AnswerProblem(std::string_view answer);
// A deposit text after a payment: Str form of the sum, not rounded, in the 10-character field.
// The deposit is posted as a Single at check-in, so a sum that a Single does not keep to the
// cent throws platform::AmountTooLarge and the payment is refused.
std::string AddToDeposit(std::string_view depositText, double amount);
// Card payments go to the day's column of the card; only card pay codes take one.
bool IsCardPayCode(std::string_view payCode);
inline constexpr const char* kNotACardMessage =
    "The pay code is not a credit card (N, M, P or O). Please change the pay code before taking a credit "
    "payment.";
// A card deposit is kept under the one card that took it: a further card payment on the
// reservation must be made on that card. The refusal, or nullopt when the payment may go.
std::optional<std::string> OtherCardRefusal(const records::GuestRecord& reservation,
                                            std::string_view payCode);

enum class Payment { Cash, Card };
// Adds the amount to the deposit field of the slot and posts it to the day (cash: the
// day's Cash and the shift's CashFromRent; card: the card's column of the day, and the
// card is noted as the deposit's card). Returns the new deposit text.
std::string TakePayment(const platform::DataFolder& data, long slot, Payment kind, double amount,
                        std::string_view payCode, std::string_view shift, std::string_view clerk,
                        std::string_view dateText);

// The log record of a cancellation made on the date text.
records::CancelRecord MakeCancelRecord(std::string_view lastName, std::string_view firstName,
                                       std::string_view clerk, std::string_view dateText,
                                       std::string_view reservedOn);
// Logs the cancellation in the year and day files, then frees the slot when there is one.
void CancelReservation(const platform::DataFolder& data, const records::CancelRecord& record,
                       std::string_view dateText, std::optional<long> slot);

// Why a check-in is refused.
enum class CheckInProblem {
    NoPayCode,
    NoRate,
    NoLastName,
    NoFirstName,
    BadPayCode,
    BadRate,
    BadAdults,
    BadChildren,
    NoDeparture, // every stay has a departure: a blank one would hold no night of the room
    BadDeparture,
    RateCents,
    RateTooLarge,
    DepartureNotAfterArrival, // the departure is not after today, the stay's arrival
    LedgerTaken,              // a stay of these names arrived in this room today and was checked out
    NoTaxRate,
    RoomOccupied,
    NoReservation,
    NoDirectBill,
    BadDirectBill,
    DepositCardUnknown,
};
std::string CheckInProblemMessage(CheckInProblem problem);
// The checks that need only the boxes, in the order the clerk hears of them.
std::optional<CheckInProblem> CheckCheckInBoxes(const ReservationBoxes& boxes, int currentYear);

// The in-house record of the guest: the boxes as typed, the reservation's Nights,
// TaxExempt and FolioNumber, the clerk on duty, arrival today.
records::GuestRecord BuildInHouseRecord(const ReservationBoxes& boxes,
                                        const records::GuestRecord& reservation,
                                        const stay::CheckInSession& session);

// Everything the check-in writes, worked out before the first write.
struct ReservationCheckIn {
    long guestSlot = 1;
    long reservationSlot = 1;
    records::GuestRecord guest;
    records::GuestRecord reservation; // as stored, blanked by the write
    stay::CheckInSession session;
    double cashDeposit = 0; // taken before arrival, as stored
    double cardDeposit = 0;
    std::string depositCard;       // the pay code of the card that took the card deposit
    std::optional<double> cashNow; // pay code "L": the answer, when one was given
    double cardNow = 0;            // a card pay code: the charge now
    std::optional<long> roomRecord;
};

// The card a card deposit is posted under at check-in: the card that took it, else (a
// reservation that names none) the pay code when it is a card. nullopt: not known.
std::optional<std::string> CheckInDepositCard(const records::GuestRecord& reservation,
                                              std::string_view payCode);
// The checks against the files, read when the clerk checks the guest in: a direct bill
// stay must name an account on file, and a card deposit must have a known card.
// The checks of the day of the check-in: the departure after `today`, and no folio of a stay
// checked out under the new stay's name (records::NewStayLedgerTaken).
std::optional<CheckInProblem> CheckCheckInDay(const platform::DataFolder& data, const ReservationBoxes& boxes,
                                              const platform::Date& today);
std::optional<CheckInProblem> CheckCheckInStored(const platform::DataFolder& data,
                                                 const ReservationBoxes& boxes, long reservationSlot);
ReservationCheckIn PlanReservationCheckIn(const platform::DataFolder& data, const ReservationBoxes& boxes,
                                          long reservationSlot, const stay::CheckInSession& session,
                                          std::optional<double> cashNow, double cardNow);
// Guest record, the reservation blanked, shift rentals, the stay's ledger, day detail,
// day totals, shift cash, room status, rooms rented; in that order.
void WriteReservationCheckIn(const platform::DataFolder& data, const ReservationCheckIn& plan);

} // namespace vantreth::reservations
