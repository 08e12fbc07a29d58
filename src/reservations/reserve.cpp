// Taking a reservation: arrival date checks, free rooms, overbooking and Reserve Now's records.
#include "reservations/reserve.h"

#include "checkin/checkin_commit.h"
#include "platform/text.h"
#include "records/counters.h"
#include "records/day_totals.h"
#include "records/filenames.h"
#include "records/reservation_files.h"
#include "records/room_record.h"
#include "records/shift_cash.h"

namespace vantreth::reservations {

using namespace platform;
using records::GuestRecord;

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

bool NamedSlot(const GuestRecord& slot) {
    return !RTrim(slot.LastName).empty();
}

template <class Holds> std::vector<std::string> RoomsNotHeld(const DataFolder& data, Holds holds) {
    const std::vector<GuestRecord> reservations = records::ReadAllGuests(data, records::kReservationsFile);
    std::vector<std::string> list;
    for (const records::RoomRecord& room : records::ReadAllRooms(data)) {
        if (room.Service == "X")
            continue;
        bool held = false;
        for (const GuestRecord& slot : reservations)
            held = held || (slot.Room == room.Room && holds(slot));
        if (!held)
            list.push_back(RoomListItem(room));
    }
    return list;
}

} // namespace

bool HoldsRoomOn(const GuestRecord& slot, std::string_view arrival) {
    if (!NamedSlot(slot))
        return false;
    if (RTrim(slot.ArrivalDate) == arrival)
        return true;
    const double month = MonthNumber(slot.ArrivalDate);
    if (MonthNumber(arrival) != month)
        return false;
    const long at = month < 10 ? 3 : 4;
    const double day = Val(Mid(arrival, at, 2));
    const double arrivalDay = Val(Mid(slot.ArrivalDate, at, 2));
    const double departureDay = Val(Mid(slot.DepartureDate, at, 2));
    return day == arrivalDay || (day > arrivalDay && day < departureDay);
}

std::vector<std::string> FreeRoomsForArrival(const DataFolder& data, std::string_view arrival) {
    return RoomsNotHeld(data, [&](const GuestRecord& slot) { return HoldsRoomOn(slot, arrival); });
}

std::vector<std::string> FreeRoomsForExactArrival(const DataFolder& data, std::string_view arrival) {
    return RoomsNotHeld(data, [&](const GuestRecord& slot) { return RTrim(slot.ArrivalDate) == arrival; });
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
    for (const GuestRecord& guest : records::ReadAllGuests(data, records::kGuestFile)) {
        if (!guest.IsFree() && guest.Room == room &&
            OverbooksGuest(arrival, guest.DepartureDate, currentYear))
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

bool IsWholeNights(std::string_view nights) {
    const double n = Val(nights);
    return IsNonNegativeNumber(nights) && n == static_cast<long>(n) && n <= 9999;
}

} // namespace

std::string ReservationProblemMessage(ReservationProblem problem) {
    switch (problem) {
    case ReservationProblem::NoRoom:
        return checkin::ProblemMessage(checkin::EntryProblem::NoRoom);
    case ReservationProblem::NoLastName:
        return "You did not type the guest's last name. Type the last name or click 'Cancel' to exit this "
               "module.";
    case ReservationProblem::BadArrival:
        return "The arrival date is not a date. Type the date like 1/5/04. Please Fix.";
    case ReservationProblem::BadNights:
        return checkin::ProblemMessage(checkin::EntryProblem::BadNights);
    case ReservationProblem::BadRate:
        return checkin::ProblemMessage(checkin::EntryProblem::BadRate);
    case ReservationProblem::NoDirectBill:
        return checkin::ProblemMessage(checkin::EntryProblem::NoDirectBill);
    case ReservationProblem::BadCash:
        return "The cash amount is not a number. Type the amount in dollars, like 50.00, or leave the box "
               "empty.";
    case ReservationProblem::BadCard:
        return "The credit card amount is not a number. Type the amount in dollars, like 50.00, or leave the "
               "box empty.";
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
    if (entry.payment == checkin::kDirectBill &&
        (entry.account.empty() || entry.account == "select direct bill client"))
        return ReservationProblem::NoDirectBill;
    if (!IsAmountText(entry.cashAmount))
        return ReservationProblem::BadCash;
    if (!IsAmountText(entry.cardAmount))
        return ReservationProblem::BadCard;
    return std::nullopt;
}

std::string PayCodeText(std::string_view payment) {
    return std::string(1, checkin::PayCodeFor(payment).value_or(' '));
}

std::string DepositText(std::string_view amount) {
    return Val(amount) != 0 ? std::string(amount) : std::string();
}

GuestRecord BuildReservation(const ReservationEntry& entry, float folioNumber,
                             const ReservationSession& session) {
    const Date arrival = *ParseDate(entry.arrival, session.today.year);
    const std::string payCode = PayCodeText(entry.payment);
    GuestRecord r;
    r.LastName = Fixed(UCase(entry.lastName), 15);
    r.FirstName = Fixed(UCase(entry.firstName), 15);
    r.Company = Fixed(UCase(entry.company), 20);
    r.Street = Fixed(UCase(entry.street), 25);
    r.City = Fixed(UCase(entry.city), 20);
    r.State = Fixed(UCase(entry.state), 2);
    r.Zip = Fixed(entry.zip, 6);
    r.Phone = Fixed(entry.phone, 15);
    r.RegCard = Fixed(entry.regCard, 6);
    r.Clerk = Fixed(entry.clerk, 2);
    r.Room = Fixed(Left(entry.roomChoice, 3), 3);
    r.Adults = static_cast<float>(Val(entry.adults));
    r.Children = static_cast<float>(Val(entry.children));
    r.Nights = static_cast<float>(Val(entry.nights));
    r.TaxExempt = entry.taxExempt ? 1.0f : 0.0f;
    r.PayCode = payCode;
    r.CheckInTime = Fixed("none", 10);
    // Kept in the system's own date form, which every reader compares with the date text.
    r.ArrivalDate = Fixed(DateText(arrival), 10);
    r.CheckOutTime = Space(10);
    r.DepartureDate = Fixed(DateText(AddDays(arrival, static_cast<long>(Val(entry.nights)))), 10);
    r.Rate = static_cast<float>(Val(entry.rate));
    r.SpareAmount = 0;
    r.CardNumber = Fixed(entry.cardNumber, 40);
    r.CardExpiry = Fixed(entry.cardExpiry, 10);
    r.DBNumber = payCode == "Q" ? Fixed(Left(entry.account, 4), 8) : Space(8);
    r.FolioNumber = Fixed(CStr(folioNumber), 5);
    r.Comment = Fixed(UCase(entry.comment), 160);
    r.ReservedOn = Fixed(DateText(session.today), 10);
    r.SpareText = Space(10);
    r.CardDeposit = Fixed(DepositText(entry.cardAmount), 10);
    r.ConfirmationNumber = Fixed(entry.confirmationNumber, 10);
    r.CashDeposit = Fixed(DepositText(entry.cashAmount), 10);
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

    if (const double cash = Val(entry.cashAmount); cash != 0) {
        records::AddToDayTotals(data, today, records::DayTotalsField::Cash, cash);
        records::AddToShiftCash(data, session.shift, session.clerk, today,
                                records::ShiftCashField::CashFromRent, cash);
    }
    // A card deposit goes to its card's column as taken, not rounded to cents.
    const std::string payCode = stored.record.PayCode;
    if (const double card = Val(entry.cardAmount); card != 0 && payCode != "L" && payCode != "Q") {
        if (const std::optional<records::DayTotalsField> column = records::DayTotalsFieldForCode(payCode)) {
            records::DayTotals totals = records::ReadDayTotals(data, today);
            totals.Amount(*column) = static_cast<float>(totals.Amount(*column) + card);
            records::WriteDayTotals(data, today, totals);
        }
    }

    records::WriteGuest(data, records::kReservationsFile, stored.slot, stored.record);
    records::WriteFolioCounter(data, folio);
    return stored;
}

} // namespace vantreth::reservations
