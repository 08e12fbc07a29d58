// Taking a reservation: arrival date checks, free rooms, overbooking and Reserve Now's records.
#include "reservations/reserve.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/counters.h"
#include "records/day_totals.h"
#include "records/filenames.h"
#include "records/posting_codes.h"
#include "records/reservation_files.h"
#include "records/room_record.h"
#include "records/shift_cash.h"
#include "reservations/reservation_edit.h"
#include "reservations/room_availability.h"
#include "stay/checkin_commit.h"
#include "stay/guest_entry.h"

#include <algorithm>

namespace vantreth::reservations {

using namespace platform;
using records::GuestField;
using records::GuestRecord;
using records::GuestSlots;

double MonthNumber(std::string_view dateText) {
    return Val(Left(dateText, 2));
}

std::optional<ArrivalDateProblem> CheckArrivalDateText(std::string_view text) {
    if (MonthNumber(text) > 12)
        return ArrivalDateProblem::BadMonth;
    if (Left(text, 1) == "/")
        return ArrivalDateProblem::SlashFirst;
    if (Mid(text, 2, 1) == "/" && Mid(text, 3, 1) == "/")
        return ArrivalDateProblem::SlashSecondAndThird;
    // The year's first digit is not looked at, so "1/5/04" passes.
    const long length = static_cast<long>(text.size());
    for (long i = 2; i <= length - 2; ++i) {
        if (Mid(text, i - 1, 1) == "/" && Mid(text, i, 1) == "0")
            return ArrivalDateProblem::ZeroBeforeDay;
    }
    if (Left(text, 1) == "0")
        return ArrivalDateProblem::ZeroBeforeMonth;
    return std::nullopt;
}

std::string ArrivalDateMessage(ArrivalDateProblem problem) {
    switch (problem) {
    case ArrivalDateProblem::BadMonth:
        return "The month is invalid. Please Fix.";
    case ArrivalDateProblem::ZeroBeforeDay:
        return "Do not put an 0 before the day of the month. For example, it would be 1/5/04 not 1/05/04. "
               "Please Fix.";
    case ArrivalDateProblem::ZeroBeforeMonth:
        return "Do not put an 0 at the beginning of the month. For example, it would be 1/5/04 not 01/5/04. "
               "Please Fix.";
    case ArrivalDateProblem::SlashFirst:
    case ArrivalDateProblem::SlashSecondAndThird:
        break;
    }
    return std::string();
}

namespace {

std::string RoomListItem(const records::RoomRecord& room) {
    return room.Room + " " + room.RoomType;
}

// `holds(slots, n)` says whether slot n holds its room; only the fields it asks for are read.
template <class Offered, class Holds>
std::vector<std::string> RoomsNotHeld(const DataFolder& data, Offered offered, Holds holds) {
    const GuestSlots reservations(data, records::kReservationsFile);
    std::vector<std::string> list;
    for (const records::RoomRecord& room : records::ReadAllRooms(data)) {
        if (!offered(room))
            continue;
        bool held = false;
        for (long n = 1; n <= reservations.Count() && !held; ++n)
            held = reservations.Field(n, GuestField::Room) == room.Room && holds(reservations, n);
        if (!held)
            list.push_back(RoomListItem(room));
    }
    return list;
}

std::string_view ArrivalOf(const GuestSlots& slots, long n) {
    return slots.Field(n, GuestField::ArrivalDate);
}

std::string_view DepartureOf(const GuestSlots& slots, long n) {
    return slots.Field(n, GuestField::DepartureDate);
}

bool InService(const records::RoomRecord& room) {
    return room.Service != "X";
}

} // namespace

std::vector<std::string> FreeRoomsForArrival(const DataFolder& data, std::string_view arrival,
                                             int currentYear) {
    return RoomsNotHeld(data, InService, [&](const GuestSlots& slots, long n) {
        return !RTrim(slots.Field(n, GuestField::LastName)).empty() &&
               DatesHoldRoomOn(ArrivalOf(slots, n), DepartureOf(slots, n), arrival, currentYear);
    });
}

std::vector<std::string> FreeRoomsForFurtherArrival(const DataFolder& data, std::string_view arrival,
                                                    int currentYear) {
    return RoomsNotHeld(data, InService, [&](const GuestSlots& slots, long n) {
        return DatesHoldRoomOn(ArrivalOf(slots, n), DepartureOf(slots, n), arrival, currentYear);
    });
}

std::optional<StayNights> NightsOf(std::string_view arrival, std::string_view departure, int currentYear) {
    const std::optional<Date> from = ParseDate(arrival, currentYear);
    if (!from)
        return std::nullopt;
    const std::optional<Date> until = ParseDate(departure, currentYear);
    if (until && DaysFromCivil(*until) > DaysFromCivil(*from))
        return StayNights{*from, *until};
    return StayNights{*from, AddDays(*from, 1)};
}

std::vector<std::string> FreeRoomsForStay(const DataFolder& data, std::string_view arrival,
                                          std::string_view departure, int currentYear) {
    const auto offered = [](const records::RoomRecord& room) {
        return room.Service != "O" && room.Service != "X" && room.Clean != "N";
    };
    const std::optional<StayNights> nights = NightsOf(arrival, departure, currentYear);
    if (!nights) {
        // An arrival that is no date can only be matched as text.
        const std::string text = RTrim(arrival);
        return RoomsNotHeld(data, offered, [&](const GuestSlots& slots, long n) {
            return RTrim(ArrivalOf(slots, n)) == text;
        });
    }
    return RoomsNotHeld(data, offered, [&](const GuestSlots& slots, long n) {
        return DatesHoldRoomDuring(ArrivalOf(slots, n), DepartureOf(slots, n), nights->from, nights->until,
                                   currentYear);
    });
}

std::optional<long> ReservationHolding(const DataFolder& data, std::string_view room3,
                                       const StayNights& nights, int currentYear,
                                       std::optional<long> except) {
    const std::string room = Fixed(room3, 3);
    const GuestSlots slots(data, records::kReservationsFile);
    for (long n = 1; n <= slots.Count(); ++n) {
        if (n != except && slots.Field(n, GuestField::Room) == room &&
            DatesHoldRoomDuring(ArrivalOf(slots, n), DepartureOf(slots, n), nights.from, nights.until,
                                currentYear))
            return n;
    }
    return std::nullopt;
}

bool OverbooksGuest(std::string_view arrival, std::string_view departure, int currentYear) {
    const std::optional<Date> from = ParseDate(arrival, currentYear);
    const std::optional<Date> until = ParseDate(departure, currentYear);
    if (from && until)
        return DaysFromCivil(*from) < DaysFromCivil(*until);
    if (MonthNumber(arrival) < MonthNumber(departure))
        return true;
    return Left(arrival, 2) == Left(departure, 2) && Val(Mid(departure, 3, 2)) > Val(Mid(arrival, 3, 2));
}

bool RoomOverbooked(const DataFolder& data, std::string_view room3, std::string_view arrival,
                    int currentYear) {
    const std::string room = Fixed(room3, 3);
    const GuestSlots guests(data, records::kGuestFile);
    for (long n = 1; n <= guests.Count(); ++n) {
        if (!guests.IsFree(n) && guests.Field(n, GuestField::Room) == room &&
            OverbooksGuest(arrival, DepartureOf(guests, n), currentYear))
            return true;
    }
    return false;
}

namespace {

// An amount box holds nothing or a number, which may be negative (money given back).
bool IsAmountText(std::string_view text) {
    const std::string amount = Trim(text);
    if (amount.empty())
        return true;
    return IsNonNegativeNumber(amount[0] == '-' ? std::string_view(amount).substr(1)
                                                : std::string_view(amount));
}

// A stay is one night at least: its departure comes after its arrival.
bool IsWholeNights(std::string_view nights) {
    const double n = Val(nights);
    return IsNonNegativeNumber(nights) && n == static_cast<long>(n) && n >= 1 && n <= 9999;
}

bool BlankOrTypedAmount(std::string_view text) {
    return Trim(text).empty() || IsTypedAmount(text);
}

bool BlankOrFits(std::string_view text) {
    return Trim(text).empty() || FitsAmount(text);
}

} // namespace

std::string ReservationProblemMessage(ReservationProblem problem, std::string_view confirmationNumber) {
    switch (problem) {
    case ReservationProblem::NoRoom:
        return stay::ProblemMessage(stay::EntryProblem::NoRoom);
    case ReservationProblem::NoLastName:
        return "You did not type the guest's last name. Type the last name or click 'Cancel' to exit this "
               "module.";
    case ReservationProblem::BadArrival:
        return "The arrival date is not a date. Type the date like 1/5/04. Please Fix.";
    case ReservationProblem::BadNights:
        return stay::ProblemMessage(stay::EntryProblem::BadNights);
    case ReservationProblem::BadRate:
        return stay::ProblemMessage(stay::EntryProblem::BadRate);
    case ReservationProblem::NoDirectBill:
        return stay::ProblemMessage(stay::EntryProblem::NoDirectBill);
    case ReservationProblem::BadCash:
        return "The cash amount is not a number. Type the amount in dollars, like 50.00, or leave the box "
               "empty.";
    case ReservationProblem::BadCard:
        return "The credit card amount is not a number. Type the amount in dollars, like 50.00, or leave the "
               "box empty.";
    case ReservationProblem::RateCents:
    case ReservationProblem::CashCents:
    case ReservationProblem::CardCents:
        return records::kCentsMessage;
    case ReservationProblem::RateTooLarge:
    case ReservationProblem::CashTooLarge:
    case ReservationProblem::CardTooLarge:
        return records::kAmountTooLargeMessage;
    case ReservationProblem::AlreadyStored:
        return "This reservation has already been made under confirmation number " +
               Trim(confirmationNumber) + ". It was not stored again.";
    case ReservationProblem::RoomReserved:
        return "This room is already reserved for one of these nights. Please choose another room.";
    }
    return std::string();
}

std::optional<ReservationProblem> CheckReservation(const ReservationEntry& entry, int currentYear) {
    if (entry.roomChoice.empty() || entry.roomChoice == "select room")
        return ReservationProblem::NoRoom;
    // A slot without names counts as free and would be handed to the next reservation.
    if (Trim(entry.lastName).empty())
        return ReservationProblem::NoLastName;
    if (!ParseDate(entry.arrival, currentYear))
        return ReservationProblem::BadArrival;
    if (!IsWholeNights(entry.nights))
        return ReservationProblem::BadNights;
    // A room typed rather than picked leaves the rate box empty: the rate is then 0.
    if (!Trim(entry.rate).empty() && !IsNonNegativeNumber(entry.rate))
        return ReservationProblem::BadRate;
    if (entry.payment == stay::kDirectBill &&
        (entry.account.empty() || entry.account == "select direct bill client"))
        return ReservationProblem::NoDirectBill;
    if (!IsAmountText(entry.cashAmount))
        return ReservationProblem::BadCash;
    if (!IsAmountText(entry.cardAmount))
        return ReservationProblem::BadCard;
    if (!BlankOrTypedAmount(entry.rate))
        return ReservationProblem::RateCents;
    if (!BlankOrTypedAmount(entry.cashAmount))
        return ReservationProblem::CashCents;
    if (!BlankOrTypedAmount(entry.cardAmount))
        return ReservationProblem::CardCents;
    if (!BlankOrFits(entry.rate))
        return ReservationProblem::RateTooLarge;
    if (!BlankOrFits(entry.cashAmount))
        return ReservationProblem::CashTooLarge;
    if (!BlankOrFits(entry.cardAmount))
        return ReservationProblem::CardTooLarge;
    return std::nullopt;
}

std::optional<ReservationProblem> CheckAgainstStored(const DataFolder& data, const ReservationEntry& entry,
                                                     int currentYear) {
    const std::string number = Trim(entry.confirmationNumber);
    const GuestSlots slots(data, records::kReservationsFile);
    // A slot keeps its confirmation number when the reservation is checked in or cancelled.
    for (long n = 1; n <= slots.Count(); ++n)
        if (!number.empty() && Trim(slots.Field(n, GuestField::ConfirmationNumber)) == number)
            return ReservationProblem::AlreadyStored;
    const Date arrival = *ParseDate(entry.arrival, currentYear);
    const long nights = std::max(1L, static_cast<long>(Val(entry.nights)));
    if (ReservationHolding(data, Left(entry.roomChoice, 3), {arrival, AddDays(arrival, nights)}, currentYear))
        return ReservationProblem::RoomReserved;
    return std::nullopt;
}

std::string PayCodeText(std::string_view payment) {
    return std::string(1, stay::PayCodeFor(payment).value_or(' '));
}

std::string DepositText(std::string_view amount) {
    return Val(amount) != 0 ? std::string(amount) : std::string();
}

std::string CashTaken(const ReservationEntry& entry) {
    return entry.payment == stay::kCashOrCheck ? entry.cashAmount : std::string();
}

std::string CardTaken(const ReservationEntry& entry) {
    return IsCardPayCode(PayCodeText(entry.payment)) ? entry.cardAmount : std::string();
}

std::optional<std::string> DepositCard(const GuestRecord& reservation) {
    const std::string card = Left(reservation.SpareText, 1);
    if (IsCardPayCode(card))
        return card;
    if (RTrim(reservation.SpareText).empty() && IsCardPayCode(reservation.PayCode))
        return reservation.PayCode;
    return std::nullopt;
}

GuestRecord BuildReservation(const ReservationEntry& entry, float folioNumber,
                             const ReservationSession& session) {
    const Date arrival = *ParseDate(entry.arrival, session.today.year);
    const std::string payCode = PayCodeText(entry.payment);
    GuestRecord r;
    stay::PutGuestDetails(r, entry, stay::Letters::Capitals);
    r.Set(GuestField::Clerk, entry.clerk);
    r.Set(GuestField::Room, Left(entry.roomChoice, 3));
    r.Nights = static_cast<float>(Val(entry.nights));
    r.TaxExempt = entry.taxExempt ? 1.0f : 0.0f;
    r.Set(GuestField::PayCode, payCode);
    r.Set(GuestField::CheckInTime, "none");
    // Kept in the system's own date form, which every reader compares with the date text.
    r.Set(GuestField::ArrivalDate, DateText(arrival));
    r.Set(GuestField::CheckOutTime, "");
    r.Set(GuestField::DepartureDate, DateText(AddDays(arrival, static_cast<long>(Val(entry.nights)))));
    r.Rate = static_cast<float>(Val(entry.rate));
    r.SpareAmount = 0;
    r.Set(GuestField::CardNumber, entry.cardNumber);
    r.Set(GuestField::CardExpiry, entry.cardExpiry);
    r.Set(GuestField::DBNumber, payCode == records::kDirectBill.code ? Left(entry.account, 4) : "");
    r.Set(GuestField::FolioNumber, CStr(folioNumber));
    r.Set(GuestField::ReservedOn, DateText(session.today));
    r.Set(GuestField::CardDeposit, DepositText(CardTaken(entry)));
    // The card that took the deposit, for the payments and the check-in that follow.
    r.Set(GuestField::SpareText, RTrim(r.CardDeposit).empty() ? "" : payCode);
    r.Set(GuestField::ConfirmationNumber, entry.confirmationNumber);
    r.Set(GuestField::CashDeposit, DepositText(CashTaken(entry)));
    return r;
}

StoredReservation StoreReservation(const DataFolder& data, const ReservationEntry& entry,
                                   const ReservationSession& session) {
    const std::string today = DateText(session.today);
    records::FolioCounter folio = records::ReadFolioCounter(data);
    folio.LastFolio += 1;
    StoredReservation stored;
    stored.slot = records::FindFreeGuestSlot(data, records::kReservationsFile);
    stored.record = BuildReservation(entry, folio.LastFolio, session);

    records::AppendReservationMadeLine(data, today, records::MadeLineOf(stored.record));
    records::MarkReservationsMadeToday(data);

    if (const Decimal cash = Decimal::Parse(CashTaken(entry)); cash != Decimal()) {
        records::AddToDayTotals(data, today, records::DayTotalsField::Cash, cash);
        records::AddToShiftCash(data, session.shift, session.clerk, today,
                                records::ShiftCashField::CashFromRent, cash);
    }
    // A card deposit goes to its card's column as taken, not rounded to cents.
    if (const Decimal card = Decimal::Parse(CardTaken(entry)); card != Decimal()) {
        const records::DayTotalsField column = *records::DayTotalsFieldForCode(stored.record.PayCode);
        records::DayTotals totals = records::ReadDayTotals(data, today);
        const Decimal after = Decimal::Of(totals.Amount(column)) + card;
        platform::RequireFitsSingleToTheCent(after, "The day's card total");
        totals.Amount(column) = after.ToSingle();
        records::WriteDayTotals(data, today, totals);
    }

    records::WriteGuest(data, records::kReservationsFile, stored.slot, stored.record);
    records::WriteFolioCounter(data, folio);
    return stored;
}

} // namespace vantreth::reservations
