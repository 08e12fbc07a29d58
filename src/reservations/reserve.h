// Taking a reservation without its windows: the checks of a typed arrival date, the rooms
// free on a date, the overbooking test against the guests in the house, and Reserve Now's
// checks and records (the reservation, the folio counter, the day's list, the deposits).
#pragma once

#include "platform/clock.h"
#include "platform/files.h"
#include "records/guest_record.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantreth::reservations {

// The month number of a date text: the number its first two characters begin with
// ("1/5/04" gives 1, "12/5/04" 12).
double MonthNumber(std::string_view dateText);

// Why the arrival-date window refuses a typed date. The slash mistakes send the clerk back
// to the box without a message.
enum class ArrivalDateProblem { BadMonth, SlashFirst, SlashSecondAndThird, ZeroBeforeDay, ZeroBeforeMonth };
std::optional<ArrivalDateProblem> CheckArrivalDateText(std::string_view text);
// The warning for the problem; "" for the problems that have none.
std::string ArrivalDateMessage(ArrivalDateProblem problem);

// The room lists of the reservation windows, as room list items: room (3 characters), a
// blank, room type (5 characters). A room is held by a reservation on the nights of its
// stay (HoldsRoomOn); the asked date may be typed in any form ParseDate reads, two-digit
// years placed around `currentYear`.
// The arrival-date window: every room not out of order and not held on `arrival` by a
// named reservation.
std::vector<std::string> FreeRoomsForArrival(const platform::DataFolder& data, std::string_view arrival,
                                             int currentYear);
// A further reservation of the same guest: as above, whatever the names of the slot.
std::vector<std::string> FreeRoomsForFurtherArrival(const platform::DataFolder& data,
                                                    std::string_view arrival, int currentYear);
// Edit Reservation's room list for a stay from `arrival` to `departure`: clean rooms that
// are neither occupied nor out of order and that no reservation (the open one included,
// so its own room is not offered) holds on any of its nights. A departure that is not a
// date after the arrival makes it a stay of one night.
std::vector<std::string> FreeRoomsForStay(const platform::DataFolder& data, std::string_view arrival,
                                          std::string_view departure, int currentYear);
// The nights of a stay: from the arrival up to, not including, the departure; one night
// when the departure is not a date after the arrival. nullopt when the arrival is no date.
struct StayNights {
    platform::Date from, until;
};
std::optional<StayNights> NightsOf(std::string_view arrival, std::string_view departure, int currentYear);
// The first reservation slot, other than `except`, that holds `room3` on one of the nights.
std::optional<long> ReservationHolding(const platform::DataFolder& data, std::string_view room3,
                                       const StayNights& nights, int currentYear,
                                       std::optional<long> except = std::nullopt);

// Whether a guest in the house expected to leave on `departure` is still in the room on
// `arrival`. Both texts are read as dates (two-digit years placed around `currentYear`);
// when either is not a date, the month and day numbers at the start of the texts decide.
bool OverbooksGuest(std::string_view arrival, std::string_view departure, int currentYear);
// Whether any guest now in `room3` is still there on `arrival`.
bool RoomOverbooked(const platform::DataFolder& data, std::string_view room3, std::string_view arrival,
                    int currentYear);

// What the clerk entered in the Add Reservation window, as Reserve Now reads it.
struct ReservationEntry {
    std::string roomChoice; // "101 NQ1  ", or text typed into the room box
    std::string lastName, firstName, company, street, city, state, zip, phone, regCard, clerk;
    std::string adults, children, nights, arrival, rate;
    bool taxExempt = false;
    std::string payment; // the payment list's text
    std::string cardNumber, cardExpiry;
    std::string account; // the direct bill account list's text
    std::string comment;
    std::string cardAmount, cashAmount;
    std::string confirmationNumber;
};

enum class ReservationProblem {
    NoRoom,
    NoLastName,
    BadArrival,
    BadNights,
    BadRate,
    NoDirectBill,
    BadCash,
    BadCard,
    RateCents, // the rate, the cash or the card amount has parts of a cent
    CashCents,
    CardCents,
    RateTooLarge, // the rate, the cash or the card amount is beyond what a record keeps to the cent
    CashTooLarge,
    CardTooLarge,
    AlreadyStored,
    RoomReserved
};
std::string ReservationProblemMessage(ReservationProblem problem, std::string_view confirmationNumber = {});
// The checks made before anything is written, in the order the clerk hears of them.
std::optional<ReservationProblem> CheckReservation(const ReservationEntry& entry, int currentYear);
// The checks against the reservations file, read when the clerk presses Reserve Now: a
// confirmation number is stored once, whatever the clerk clicked since it was stored, and
// no room is booked twice for a night. The entry must have passed CheckReservation.
std::optional<ReservationProblem> CheckAgainstStored(const platform::DataFolder& data,
                                                     const ReservationEntry& entry, int currentYear);

// The pay code of the payment text, blank when none was chosen.
std::string PayCodeText(std::string_view payment);
// The deposit field of an amount box: the text as typed when it holds an amount, else blank.
std::string DepositText(std::string_view amount);
// The amounts a reservation takes: only the amount of the chosen payment's frame (cash
// for "CASH or CHECK", the card amount for a card); an amount left in another frame was
// never taken.
std::string CashTaken(const ReservationEntry& entry);
std::string CardTaken(const ReservationEntry& entry);

// A reservation's SpareText holds the pay code of the card its card deposit was taken on,
// so that the deposit reaches the stay's ledger under that card whatever the pay code is
// changed to later. A reservation stored before the field was kept names no card; its
// pay code, when a card, stands in for it. nullopt when no card is known.
std::optional<std::string> DepositCard(const records::GuestRecord& reservation);

// Who stores the reservation and when.
struct ReservationSession {
    std::string shift; // gShift
    std::string clerk; // gClerk
    platform::Date today;
};

// The reservation record of an entry that passed CheckReservation.
records::GuestRecord BuildReservation(const ReservationEntry& entry, float folioNumber,
                                      const ReservationSession& session);

struct StoredReservation {
    long slot = 0;
    records::GuestRecord record;
};
// Stores an entry that passed CheckReservation: the day's list of reservations made and
// its flag, a cash deposit to the day's cash and the shift's cash from rent, a card
// deposit to its card's column of the day's totals, then the reservation in the first free
// slot and the folio number it took.
StoredReservation StoreReservation(const platform::DataFolder& data, const ReservationEntry& entry,
                                   const ReservationSession& session);

} // namespace vantreth::reservations
