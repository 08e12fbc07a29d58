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

// Whether a reservation keeps its room from being offered for arrival `arrival` in the
// arrival-date window: the same arrival text, or in the same month the arrival day, or a
// day after it and before the departure's day (days read at positions fixed by the
// reservation's month; years are not compared).
bool HoldsRoomOn(const records::GuestRecord& slot, std::string_view arrival);
// The rooms offered for `arrival`: every room not out of order and not held (HoldsRoomOn),
// as room list items: room (3 characters), a blank, room type (5 characters).
std::vector<std::string> FreeRoomsForArrival(const platform::DataFolder& data, std::string_view arrival);
// The rooms offered for a further reservation: only a reservation arriving on exactly that
// date text holds its room.
std::vector<std::string> FreeRoomsForExactArrival(const platform::DataFolder& data, std::string_view arrival);

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
    BadCard
};
std::string ReservationProblemMessage(ReservationProblem problem);
// The checks made before anything is written, in the order the clerk hears of them.
std::optional<ReservationProblem> CheckReservation(const ReservationEntry& entry, int currentYear);

// The pay code of the payment text, blank when none was chosen.
std::string PayCodeText(std::string_view payment);
// The deposit field of an amount box: the text as typed when it holds an amount, else blank.
std::string DepositText(std::string_view amount);

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
