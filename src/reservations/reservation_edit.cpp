// One stored reservation: its identity, the save of the edit window, payments toward it,
// its cancellation and the check-in of its guest.
#include "reservations/reservation_edit.h"

#include "checkin/guest_entry.h"
#include "platform/text.h"
#include "records/counters.h"
#include "records/day_totals.h"
#include "records/filenames.h"
#include "records/history.h"
#include "records/room_record.h"
#include "records/shift_cash.h"
#include "records/stay_ledger.h"
#include "reservations/reserve.h"

namespace vantreth::reservations {

using namespace platform;
using records::GuestField;
using records::GuestRecord;
using records::GuestSlots;
using records::kGuestFile;
using records::kReservationsFile;

namespace {

bool BlankOrNumber(std::string_view text) {
    return Trim(text).empty() || IsNonNegativeNumber(text);
}

// The day's column of a card pay code; the day's Cash is no card column, so "L" has none.
std::optional<records::DayTotalsField> CardColumn(std::string_view payCode) {
    if (payCode == "N")
        return records::DayTotalsField::VisaMaster;
    if (payCode == "M")
        return records::DayTotalsField::AmericanExpress;
    if (payCode == "P")
        return records::DayTotalsField::Discover;
    if (payCode == "O")
        return records::DayTotalsField::Diners;
    return std::nullopt;
}

} // namespace

std::optional<long> FindByListKeys(const DataFolder& data, std::string_view dateKey,
                                   std::string_view roomKey) {
    const GuestSlots slots(data, kReservationsFile);
    for (long n = 1; n <= slots.Count(); ++n)
        if (slots.Field(n, GuestField::Room) == roomKey &&
            RTrim(slots.Field(n, GuestField::ArrivalDate)) == dateKey)
            return n;
    return std::nullopt;
}

std::optional<long> FindOpenReservation(const DataFolder& data, std::string_view arrival,
                                        std::string_view room) {
    const std::string date = Trim(arrival);
    const GuestSlots slots(data, kReservationsFile);
    for (long n = 1; n <= slots.Count(); ++n)
        if (slots.Field(n, GuestField::Room) == room && Trim(slots.Field(n, GuestField::ArrivalDate)) == date)
            return n;
    return std::nullopt;
}

std::optional<long> FindLoadedReservation(const DataFolder& data, std::string_view arrival,
                                          std::string_view room, const GuestRecord& asLoaded) {
    const std::string date = Trim(arrival);
    const GuestSlots slots(data, kReservationsFile);
    for (long n = 1; n <= slots.Count(); ++n)
        if (slots.Field(n, GuestField::Room) == room &&
            Trim(slots.Field(n, GuestField::ArrivalDate)) == date &&
            slots.Field(n, GuestField::ConfirmationNumber) == asLoaded.ConfirmationNumber &&
            slots.Field(n, GuestField::FolioNumber) == asLoaded.FolioNumber && !slots.IsFree(n))
            return n;
    return std::nullopt;
}

int CountArrivals(const DataFolder& data, std::string_view dateText) {
    const std::string today = RTrim(dateText);
    const GuestSlots slots(data, kReservationsFile);
    int count = 0;
    for (long n = 1; n <= slots.Count(); ++n)
        if (RTrim(slots.Field(n, GuestField::ArrivalDate)) == today)
            ++count;
    return count;
}

ReservationBoxes BoxesFromRecord(const GuestRecord& r) {
    return ReservationBoxes{.lastName = RTrim(r.LastName),
                            .firstName = RTrim(r.FirstName),
                            .company = RTrim(r.Company),
                            .street = RTrim(r.Street),
                            .city = RTrim(r.City),
                            .state = RTrim(r.State),
                            .zip = RTrim(r.Zip),
                            .phone = RTrim(r.Phone),
                            .regCard = RTrim(r.RegCard),
                            .adults = CStr(r.Adults),
                            .children = CStr(r.Children),
                            .clerk = r.Clerk,
                            .comment = RTrim(r.Comment),
                            .arrival = RTrim(r.ArrivalDate),
                            .departure = RTrim(r.DepartureDate),
                            .payCode = RTrim(r.PayCode),
                            .dbNumber = RTrim(r.DBNumber),
                            .cardNumber = RTrim(r.CardNumber),
                            .cardExpiry = RTrim(r.CardExpiry),
                            .rate = CStr(r.Rate),
                            .room = r.Room,
                            .cashDeposit = r.CashDeposit,
                            .cardDeposit = r.CardDeposit,
                            .confirmation = r.ConfirmationNumber,
                            .reservedOn = r.ReservedOn};
}

std::string EditProblemMessage(EditProblem problem) {
    switch (problem) {
    case EditProblem::NoArrival:
        return "The arrival date is blank. Please fix.";
    case EditProblem::NoLastName:
        return "The last name is blank. Please fix.";
    case EditProblem::NoFirstName:
        return "The first name is blank. Please fix.";
    case EditProblem::BadArrival:
        return "The arrival date is not a date like 12/6/26. Please fix.";
    case EditProblem::BadDeparture:
        return "The departure date is not a date like 12/7/26. Please fix.";
    case EditProblem::BadAdults:
        return "The number of adults is not a number. Please fix.";
    case EditProblem::BadChildren:
        return "The number of children is not a number. Please fix.";
    case EditProblem::BadRate:
        return "The rate is not a number. Please fix.";
    }
    return std::string();
}

// Blank names are refused as well as empty ones: a slot whose names are blank counts as
// free and would be given to the next reservation.
std::optional<EditProblem> CheckRequired(const ReservationBoxes& boxes) {
    if (Trim(boxes.arrival).empty())
        return EditProblem::NoArrival;
    if (Trim(boxes.lastName).empty())
        return EditProblem::NoLastName;
    if (Trim(boxes.firstName).empty())
        return EditProblem::NoFirstName;
    return std::nullopt;
}

bool IsSystemDateText(std::string_view text, int currentYear) {
    const std::optional<Date> date = ParseDate(text, currentYear);
    return date && IsValidDate(*date) && DateText(*date) == Trim(text);
}

std::optional<EditProblem> CheckValues(const ReservationBoxes& boxes, int currentYear) {
    if (!IsSystemDateText(boxes.arrival, currentYear))
        return EditProblem::BadArrival;
    if (!Trim(boxes.departure).empty() && !IsSystemDateText(boxes.departure, currentYear))
        return EditProblem::BadDeparture;
    if (!BlankOrNumber(boxes.adults))
        return EditProblem::BadAdults;
    if (!BlankOrNumber(boxes.children))
        return EditProblem::BadChildren;
    if (!BlankOrNumber(boxes.rate))
        return EditProblem::BadRate;
    return std::nullopt;
}

void ApplyBoxes(GuestRecord& r, const ReservationBoxes& boxes) {
    checkin::PutGuestDetails(r, boxes, checkin::Letters::Capitals);
    r.Clerk = Fixed(boxes.clerk, 2);
    // Dates are compared as text everywhere; a blank in front would hide the reservation.
    r.ArrivalDate = Fixed(Trim(boxes.arrival), 10);
    r.DepartureDate = Fixed(Trim(boxes.departure), 10);
    r.PayCode = Fixed(boxes.payCode, 1);
    r.DBNumber = Fixed(boxes.dbNumber, 8);
    r.CardNumber = Fixed(boxes.cardNumber, 40);
    r.CardExpiry = Fixed(boxes.cardExpiry, 10);
    r.Rate = static_cast<float>(Val(boxes.rate));
    r.Room = Fixed(boxes.room, 3);
    r.CashDeposit = Fixed(boxes.cashDeposit, 10);
    r.ConfirmationNumber = Fixed(boxes.confirmation, 10);
}

std::string RoomReservedMessage(std::string_view room) {
    return "Room " + RTrim(room) +
           " is already reserved for one of these nights. Please choose another room.";
}

SaveResult SaveReservation(const DataFolder& data, const ReservationBoxes& boxes, std::string_view arrival,
                           std::string_view room, const GuestRecord& asLoaded, int currentYear) {
    const std::optional<long> slot = FindLoadedReservation(data, arrival, room, asLoaded);
    if (!slot)
        return SaveResult::Gone;
    const GuestRecord stored = records::ReadGuest(data, kReservationsFile, *slot);
    GuestRecord record = stored;
    ApplyBoxes(record, boxes);
    const bool moved = record.Room != stored.Room || record.ArrivalDate != stored.ArrivalDate ||
                       record.DepartureDate != stored.DepartureDate;
    if (moved) {
        const std::optional<StayNights> nights =
            NightsOf(record.ArrivalDate, record.DepartureDate, currentYear);
        if (nights && ReservationHolding(data, record.Room, *nights, currentYear, *slot))
            return SaveResult::RoomReserved;
    }
    records::WriteGuest(data, kReservationsFile, *slot, record);
    return SaveResult::Saved;
}

std::optional<double> AnswerAmount(std::string_view answer) {
    std::string text = Trim(answer);
    if (!text.empty() && text[0] == '$')
        text.erase(0, 1);
    if (Trim(text).empty())
        return 0.0;
    if (!IsNonNegativeNumber(text))
        return std::nullopt;
    return Val(text);
}

std::string AddToDeposit(std::string_view depositText, double amount) {
    return Fixed(Str(Val(depositText) + amount), 10);
}

bool IsCardPayCode(std::string_view payCode) {
    return CardColumn(payCode).has_value();
}

std::optional<std::string> OtherCardRefusal(const GuestRecord& reservation, std::string_view payCode) {
    if (Val(reservation.CardDeposit) == 0)
        return std::nullopt;
    const std::optional<std::string> card = DepositCard(reservation);
    if (!card || *card == payCode)
        return std::nullopt;
    return "The credit card deposit on this reservation was taken on " + checkin::CardTextFor((*card)[0]) +
           " (" + *card +
           "). Take this payment on the same card, or charge the card when the guest checks in.";
}

std::string TakePayment(const DataFolder& data, long slot, Payment kind, double amount,
                        std::string_view payCode, std::string_view shift, std::string_view clerk,
                        std::string_view dateText) {
    GuestRecord record = records::ReadGuest(data, kReservationsFile, slot);
    std::string& deposit = kind == Payment::Cash ? record.CashDeposit : record.CardDeposit;
    deposit = AddToDeposit(deposit, amount);
    if (kind == Payment::Card && CardColumn(payCode))
        record.SpareText = Fixed(payCode, 10);
    records::WriteGuest(data, kReservationsFile, slot, record);

    if (kind == Payment::Cash) {
        records::AddToDayTotals(data, dateText, records::DayTotalsField::Cash, amount);
        records::AddToShiftCash(data, shift, clerk, dateText, records::ShiftCashField::CashFromRent, amount);
    } else if (const auto column = CardColumn(payCode)) {
        records::AddToDayTotals(data, dateText, *column, amount);
    } else {
        records::WriteDayTotals(data, dateText, records::ReadDayTotals(data, dateText));
    }
    return deposit;
}

records::CancelRecord MakeCancelRecord(std::string_view lastName, std::string_view firstName,
                                       std::string_view clerk, std::string_view dateText,
                                       std::string_view reservedOn) {
    records::CancelRecord record;
    record.GuestName = Fixed(RTrim(lastName) + " " + RTrim(firstName), 40);
    record.Clerk = Fixed(clerk, 2);
    record.CanceledOn = Fixed(RTrim(dateText), 10);
    record.ReservedOn = Fixed(reservedOn, 10);
    return record;
}

void CancelReservation(const DataFolder& data, const records::CancelRecord& record, std::string_view dateText,
                       std::optional<long> slot) {
    records::AppendCancelRecord(records::CancelYearFile(data, dateText), record);
    records::AppendCancelRecord(records::DayFilePath(data, records::DayFile::Notes, dateText), record);
    if (!slot)
        return;
    GuestRecord reservation = records::ReadGuest(data, kReservationsFile, *slot);
    reservation.ClearReservation();
    records::WriteGuest(data, kReservationsFile, *slot, reservation);
}

std::string CheckInProblemMessage(CheckInProblem problem) {
    switch (problem) {
    case CheckInProblem::NoPayCode:
        return "There is no paycode chosen.";
    case CheckInProblem::NoRate:
        return "There is no rate chosen.";
    case CheckInProblem::NoLastName:
        return "The last name is blank.";
    case CheckInProblem::NoFirstName:
        return "The first name is blank.";
    case CheckInProblem::BadPayCode:
        return "The paycode is invalid. Please change to a valid paycode.";
    case CheckInProblem::BadRate:
        return EditProblemMessage(EditProblem::BadRate);
    case CheckInProblem::BadAdults:
        return EditProblemMessage(EditProblem::BadAdults);
    case CheckInProblem::BadChildren:
        return EditProblemMessage(EditProblem::BadChildren);
    case CheckInProblem::BadDeparture:
        return EditProblemMessage(EditProblem::BadDeparture);
    case CheckInProblem::NoTaxRate:
        return checkin::ProblemMessage(checkin::EntryProblem::NoTaxRate);
    case CheckInProblem::RoomOccupied:
        return "It appears this room is currently occupied. Please choose another room.";
    case CheckInProblem::NoReservation:
        return "This reservation is no longer in the reservations file. It may have been checked in or "
               "canceled already. Please exit out then return and try again.";
    case CheckInProblem::NoDirectBill:
        return "You did not enter a direct bill number.";
    case CheckInProblem::BadDirectBill:
        return "The Direct Bill number you entered is not a valid DB number.";
    case CheckInProblem::DepositCardUnknown:
        return "This reservation holds a credit card deposit, but not the card it was taken on. Change the "
               "paycode to the card that took the deposit (N, M, P or O).";
    }
    return std::string();
}

std::optional<CheckInProblem> CheckCheckInBoxes(const ReservationBoxes& boxes, int currentYear) {
    if (boxes.payCode.empty())
        return CheckInProblem::NoPayCode;
    if (boxes.rate.empty())
        return CheckInProblem::NoRate;
    if (Trim(boxes.lastName).empty())
        return CheckInProblem::NoLastName;
    if (Trim(boxes.firstName).empty())
        return CheckInProblem::NoFirstName;
    if (boxes.payCode != "L" && boxes.payCode != "Q" && !IsCardPayCode(boxes.payCode))
        return CheckInProblem::BadPayCode;
    // A direct bill stay is billed to its account at check-out: without one, to nobody.
    if (boxes.payCode == "Q" && Trim(boxes.dbNumber).empty())
        return CheckInProblem::NoDirectBill;
    if (!IsNonNegativeNumber(boxes.rate))
        return CheckInProblem::BadRate;
    if (!BlankOrNumber(boxes.adults))
        return CheckInProblem::BadAdults;
    if (!BlankOrNumber(boxes.children))
        return CheckInProblem::BadChildren;
    if (!Trim(boxes.departure).empty() && !IsSystemDateText(boxes.departure, currentYear))
        return CheckInProblem::BadDeparture;
    return std::nullopt;
}

GuestRecord BuildInHouseRecord(const ReservationBoxes& boxes, const GuestRecord& reservation,
                               const checkin::CheckInSession& session) {
    GuestRecord guest;
    checkin::PutGuestDetails(guest, boxes, checkin::Letters::AsTyped);
    guest.Clerk = Fixed(session.clerk, 2);
    guest.Room = Fixed(boxes.room, 3);
    guest.Nights = reservation.Nights;
    guest.TaxExempt = reservation.TaxExempt;
    guest.PayCode = Fixed(boxes.payCode, 1);
    guest.CheckInTime = Fixed(TimeText(session.time), 10);
    guest.ArrivalDate = Fixed(DateText(session.today), 10);
    guest.CheckOutTime = Space(10);
    guest.DepartureDate = Fixed(Trim(boxes.departure), 10);
    guest.Rate = static_cast<float>(Val(boxes.rate));
    guest.SpareAmount = 0;
    guest.CardNumber = Fixed(boxes.cardNumber, 40);
    guest.CardExpiry = Fixed(boxes.cardExpiry, 10);
    guest.DBNumber = Fixed(boxes.dbNumber, 8);
    guest.FolioNumber = reservation.FolioNumber;
    return guest;
}

std::optional<std::string> CheckInDepositCard(const GuestRecord& reservation, std::string_view payCode) {
    if (const std::optional<std::string> card = DepositCard(reservation))
        return card;
    if (IsCardPayCode(payCode))
        return std::string(payCode);
    return std::nullopt;
}

std::optional<CheckInProblem> CheckCheckInStored(const DataFolder& data, const ReservationBoxes& boxes,
                                                 long reservationSlot) {
    if (boxes.payCode == "Q" && !records::FindAccount(data, records::ChargingKey(boxes.dbNumber)))
        return CheckInProblem::BadDirectBill;
    const GuestRecord reservation = records::ReadGuest(data, kReservationsFile, reservationSlot);
    if (Val(reservation.CardDeposit) != 0 && !CheckInDepositCard(reservation, boxes.payCode))
        return CheckInProblem::DepositCardUnknown;
    return std::nullopt;
}

ReservationCheckIn PlanReservationCheckIn(const DataFolder& data, const ReservationBoxes& boxes,
                                          long reservationSlot, const checkin::CheckInSession& session,
                                          std::optional<double> cashNow, double cardNow) {
    ReservationCheckIn plan;
    plan.session = session;
    plan.reservationSlot = reservationSlot;
    plan.reservation = records::ReadGuest(data, kReservationsFile, reservationSlot);
    plan.guest = BuildInHouseRecord(boxes, plan.reservation, session);
    plan.guestSlot = records::FindFreeGuestSlot(data, kGuestFile);
    // The deposits as stored: the labels show what the window loaded.
    plan.cashDeposit = Val(plan.reservation.CashDeposit);
    plan.cardDeposit = Val(plan.reservation.CardDeposit);
    plan.depositCard = CheckInDepositCard(plan.reservation, plan.guest.PayCode).value_or(plan.guest.PayCode);
    if (plan.guest.PayCode == "L")
        plan.cashNow = cashNow;
    if (IsCardPayCode(plan.guest.PayCode))
        plan.cardNow = cardNow;
    plan.roomRecord = records::FindRoom(data, plan.guest.Room);
    return plan;
}

namespace {

class Posting {
public:
    Posting(const DataFolder& data, const ReservationCheckIn& plan)
        : m_data(data), m_plan(plan), m_today(DateText(plan.session.today)),
          m_ledger(records::StayLedgerPath(data, plan.guest)) {}

    const std::string& today() const { return m_today; }

    void Ledger(const std::string& shift, const std::string& code, const std::string& description,
                double amount, double taxValue = 0) const {
        records::AppendStayLedgerLine(m_ledger, {.Room = m_plan.guest.Room,
                                                 .Shift = shift,
                                                 .PostDate = m_today,
                                                 .Code = code,
                                                 .Description = description,
                                                 .Amount = static_cast<float>(amount),
                                                 .TaxValue = static_cast<float>(taxValue)});
    }
    void Ledger(const std::string& code, const std::string& description, double amount) const {
        Ledger(m_plan.session.shift, code, description, amount);
    }
    void Detail(const std::string& code, const std::string& description, double amount) const {
        records::AppendDayDetailLine(m_data, m_today,
                                     {.Room = m_plan.guest.Room,
                                      .Shift = m_plan.session.shift,
                                      .PostDate = m_today,
                                      .Code = code,
                                      .Description = description,
                                      .Amount = static_cast<float>(amount),
                                      .Clerk = m_plan.session.clerk});
    }

private:
    const DataFolder& m_data;
    const ReservationCheckIn& m_plan;
    std::string m_today;
    std::filesystem::path m_ledger;
};

} // namespace

void WriteReservationCheckIn(const DataFolder& data, const ReservationCheckIn& plan) {
    using records::DayTotalsField;
    const GuestRecord& guest = plan.guest;
    const checkin::CheckInSession& session = plan.session;
    const Posting post(data, plan);
    const std::string& today = post.today();

    records::WriteGuest(data, kGuestFile, plan.guestSlot, guest);
    GuestRecord reservation = plan.reservation;
    reservation.ClearReservation();
    records::WriteGuest(data, kReservationsFile, plan.reservationSlot, reservation);

    records::AppendShiftRentalLine(
        data, session.shift, today,
        {.Room = guest.Room, .Shift = session.shift, .Clerk = session.clerk, .TimeRented = session.time});

    const double rate = AmountValue(guest.Rate); // the rate as shown, not its binary Single
    // The rent line carries the tax of the rate as shown, also for an exempt stay.
    post.Ledger(session.postingShift, "E", "ROOM RENT", rate, rate * session.taxRate);
    post.Detail("E", "ROOM RENT", rate);
    const double tax = guest.IsTaxExempt() ? 0.0 : session.taxRate;
    records::AddToDayTotals(data, today, DayTotalsField::RoomRent, rate);
    records::AddToDayTotals(data, today, DayTotalsField::GrossRent, rate + rate * tax);
    if (!guest.IsTaxExempt())
        records::AddToDayTotals(data, today, DayTotalsField::Tax, rate * tax);

    // Deposits reach the ledger only: the day and the shift had them when they were taken.
    if (plan.cashDeposit != 0)
        post.Ledger("L", "CASH REC.", plan.cashDeposit);

    if (guest.PayCode == "L") {
        const double cash = plan.cashNow.value_or(0);
        if (cash != 0)
            post.Ledger("L", "CASH REC.", cash);
        post.Detail("L", "CASH REC.", cash);
        if (plan.cashNow)
            records::AddToShiftCash(data, session.shift, session.clerk, today,
                                    records::ShiftCashField::CashFromRent, cash);
        if (cash != 0)
            records::AddToDayTotals(data, today, DayTotalsField::Cash, cash);
    }

    // A card deposit stays under the card that took it, whatever the pay code is now.
    if (plan.cardDeposit != 0)
        post.Ledger(plan.depositCard, checkin::CardTextFor(plan.depositCard[0]), plan.cardDeposit);

    const std::string cardName = checkin::CardTextFor(guest.PayCode[0]);

    if (const auto column = CardColumn(guest.PayCode); column && plan.cardNow != 0) {
        post.Ledger(guest.PayCode, cardName, plan.cardNow);
        post.Detail(guest.PayCode, cardName, plan.cardNow);
        records::AddToDayTotals(data, today, *column, plan.cardNow);
    }

    if (plan.roomRecord) {
        records::RoomRecord room = records::ReadRoom(data, *plan.roomRecord);
        room.Service = "O";
        room.Vacant = "N";
        records::WriteRoom(data, *plan.roomRecord, room);
    }
    records::AddRoomsRented(data, today, 1);
}

} // namespace vantreth::reservations
