// One stored reservation: its identity, the save of the edit window, payments toward it,
// its cancellation and the check-in of its guest.
#include "reservations/reservation_edit.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/arrivals.h"
#include "records/counters.h"
#include "records/day_totals.h"
#include "records/direct_bill.h"
#include "records/filenames.h"
#include "records/posting_codes.h"
#include "records/room_record.h"
#include "records/shift_cash.h"
#include "records/stay_ledger.h"
#include "reservations/reserve.h"
#include "stay/guest_entry.h"

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

bool BlankOrTypedAmount(std::string_view text) {
    return Trim(text).empty() || IsTypedAmount(text);
}

// The day's column of a card pay code; the day's Cash is no card column, so "L" has none.
std::optional<records::DayTotalsField> CardColumn(std::string_view payCode) {
    if (!records::IsCardCode(payCode))
        return std::nullopt;
    return records::DayTotalsFieldForCode(payCode);
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
    return static_cast<int>(
        records::ReservationsArrivingOn(data, dateText, records::ArrivalMatch::TrailingBlanks).size());
}

ReservationBoxes BoxesFromRecord(const GuestRecord& r) {
    ReservationBoxes boxes{.clerk = r.Clerk,
                           .arrival = RTrim(r.ArrivalDate),
                           .room = r.Room,
                           .cashDeposit = r.CashDeposit,
                           .cardDeposit = r.CardDeposit,
                           .confirmation = r.ConfirmationNumber,
                           .reservedOn = r.ReservedOn};
    stay::StayBoxesFromRecord(boxes, r);
    boxes.loadedArrival = boxes.arrival;
    return boxes;
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
    case EditProblem::NoDeparture:
        return "The departure date is blank. Please fix.";
    case EditProblem::BadDeparture:
        return "The departure date is not a date like 12/7/26. Please fix.";
    case EditProblem::BadAdults:
        return "The number of adults is not a number. Please fix.";
    case EditProblem::BadChildren:
        return "The number of children is not a number. Please fix.";
    case EditProblem::BadRate:
        return "The rate is not a number. Please fix.";
    case EditProblem::RateCents:
        return records::kCentsMessage;
    case EditProblem::RateTooLarge:
        return records::kAmountTooLargeMessage;
    case EditProblem::DepartureNotAfterArrival:
        return records::kDepartureNotAfterArrival;
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

// A box still showing what was loaded is the stored value left as it is: not judged as typed.
std::optional<EditProblem> CheckValues(const ReservationBoxes& boxes, int currentYear) {
    const bool arrivalAsLoaded = stay::LeftAsLoaded(boxes.arrival, boxes.loadedArrival);
    const bool departureAsLoaded = stay::DepartureUntouched(boxes);
    if (!arrivalAsLoaded && !IsSystemDateText(boxes.arrival, currentYear))
        return EditProblem::BadArrival;
    // A reservation without a departure would hold no night of its room.
    if (!departureAsLoaded && Trim(boxes.departure).empty())
        return EditProblem::NoDeparture;
    if (!departureAsLoaded && !IsSystemDateText(boxes.departure, currentYear))
        return EditProblem::BadDeparture;
    if (!(arrivalAsLoaded && departureAsLoaded) &&
        !records::DepartsAfterArrival(boxes.arrival, boxes.departure, currentYear))
        return EditProblem::DepartureNotAfterArrival;
    if (!stay::AdultsUntouched(boxes) && !BlankOrNumber(boxes.adults))
        return EditProblem::BadAdults;
    if (!stay::ChildrenUntouched(boxes) && !BlankOrNumber(boxes.children))
        return EditProblem::BadChildren;
    // The rate is judged as typed only when the clerk changed it.
    if (stay::RateUntouched(boxes))
        return std::nullopt;
    if (!BlankOrNumber(boxes.rate))
        return EditProblem::BadRate;
    if (!BlankOrTypedAmount(boxes.rate))
        return EditProblem::RateCents;
    if (!Trim(boxes.rate).empty() && !FitsAmount(boxes.rate))
        return EditProblem::RateTooLarge;
    return std::nullopt;
}

void ApplyBoxes(GuestRecord& r, const ReservationBoxes& boxes) {
    const GuestRecord stored = r;
    stay::PutGuestDetails(r, boxes, stay::Letters::Capitals);
    stay::KeepCountsLeftAsLoaded(r, stored, boxes);
    r.Set(GuestField::Clerk, boxes.clerk);
    // Dates are compared as text everywhere; a blank in front would hide the reservation.
    if (!stay::LeftAsLoaded(boxes.arrival, boxes.loadedArrival))
        r.Set(GuestField::ArrivalDate, Trim(boxes.arrival));
    if (!stay::DepartureUntouched(boxes))
        r.Set(GuestField::DepartureDate, Trim(boxes.departure));
    r.Set(GuestField::PayCode, boxes.payCode);
    r.Set(GuestField::DBNumber, boxes.dbNumber);
    r.Set(GuestField::CardNumber, boxes.cardNumber);
    r.Set(GuestField::CardExpiry, boxes.cardExpiry);
    if (!stay::RateUntouched(boxes))
        r.Rate = static_cast<float>(Val(boxes.rate));
    r.Set(GuestField::Room, boxes.room);
    r.Set(GuestField::CashDeposit, boxes.cashDeposit);
    r.Set(GuestField::ConfirmationNumber, boxes.confirmation);
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

std::optional<std::string> AnswerProblem(std::string_view answer) {
    if (!AnswerAmount(answer))
        return std::string(kBadAmountMessage);
    std::string text = Trim(answer);
    if (!text.empty() && text[0] == '$')
        text.erase(0, 1);
    if (Trim(text).empty())
        return std::nullopt;
    if (const char* refusal = records::TypedAmountRefusal(text))
        return std::string(refusal);
    return std::nullopt;
}

std::string AddToDeposit(std::string_view depositText, double amount) {
    const Decimal deposit = Decimal::Parse(depositText) + Decimal::Of(amount);
    platform::RequireFitsSingleToTheCent(deposit, "The deposit on this reservation");
    return Fixed(platform::AmountStr(deposit), 10);
}

bool IsCardPayCode(std::string_view payCode) {
    return records::IsCardCode(payCode);
}

std::optional<std::string> OtherCardRefusal(const GuestRecord& reservation, std::string_view payCode) {
    if (Val(reservation.CardDeposit) == 0)
        return std::nullopt;
    const std::optional<std::string> card = DepositCard(reservation);
    if (!card || *card == payCode)
        return std::nullopt;
    return "The credit card deposit on this reservation was taken on " +
           std::string(records::CardText(*card)) + " (" + *card +
           "). Take this payment on the same card, or charge the card when the guest checks in.";
}

std::string TakePayment(const DataFolder& data, long slot, Payment kind, double amount,
                        std::string_view payCode, std::string_view shift, std::string_view clerk,
                        std::string_view dateText) {
    GuestRecord record = records::ReadGuest(data, kReservationsFile, slot);
    std::string& deposit = kind == Payment::Cash ? record.CashDeposit : record.CardDeposit;
    deposit = AddToDeposit(deposit, amount);
    if (kind == Payment::Card && CardColumn(payCode))
        record.Set(GuestField::SpareText, payCode);
    records::WriteGuest(data, kReservationsFile, slot, record);

    if (kind == Payment::Cash) {
        records::AddToDayTotals(data, dateText, records::DayTotalsField::Cash, Decimal::Of(amount));
        records::AddToShiftCash(data, shift, clerk, dateText, records::ShiftCashField::CashFromRent,
                                Decimal::Of(amount));
    } else if (const auto column = CardColumn(payCode)) {
        records::AddToDayTotals(data, dateText, *column, Decimal::Of(amount));
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
    case CheckInProblem::NoDeparture:
        return EditProblemMessage(EditProblem::NoDeparture);
    case CheckInProblem::BadDeparture:
        return EditProblemMessage(EditProblem::BadDeparture);
    case CheckInProblem::RateCents:
        return records::kCentsMessage;
    case CheckInProblem::RateTooLarge:
        return records::kAmountTooLargeMessage;
    case CheckInProblem::DepartureNotAfterArrival:
        return records::kDepartureNotAfterArrival;
    case CheckInProblem::LedgerTaken:
        return stay::ProblemMessage(stay::EntryProblem::LedgerTaken);
    case CheckInProblem::NoTaxRate:
        return stay::ProblemMessage(stay::EntryProblem::NoTaxRate);
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
    if (!records::IsPayCode(boxes.payCode))
        return CheckInProblem::BadPayCode;
    // A direct bill stay is billed to its account at check-out: without one, to nobody.
    if (boxes.payCode == records::kDirectBill.code && Trim(boxes.dbNumber).empty())
        return CheckInProblem::NoDirectBill;
    // A stored rate left as it is goes in as stored; a typed one is judged.
    if (!stay::RateUntouched(boxes)) {
        if (!IsNonNegativeNumber(boxes.rate))
            return CheckInProblem::BadRate;
        if (!IsTypedAmount(boxes.rate))
            return CheckInProblem::RateCents;
        if (!FitsAmount(boxes.rate))
            return CheckInProblem::RateTooLarge;
    }
    if (!stay::AdultsUntouched(boxes) && !BlankOrNumber(boxes.adults))
        return CheckInProblem::BadAdults;
    if (!stay::ChildrenUntouched(boxes) && !BlankOrNumber(boxes.children))
        return CheckInProblem::BadChildren;
    // The stay holds its room up to its departure: without one it would hold no night.
    if (Trim(boxes.departure).empty())
        return CheckInProblem::NoDeparture;
    if (!IsSystemDateText(boxes.departure, currentYear))
        return CheckInProblem::BadDeparture;
    return std::nullopt;
}

GuestRecord BuildInHouseRecord(const ReservationBoxes& boxes, const GuestRecord& reservation,
                               const stay::CheckInSession& session) {
    GuestRecord guest;
    stay::PutGuestDetails(guest, boxes, stay::Letters::AsTyped);
    stay::KeepCountsLeftAsLoaded(guest, reservation, boxes);
    guest.Set(GuestField::Clerk, session.clerk);
    guest.Set(GuestField::Room, boxes.room);
    guest.Nights = reservation.Nights;
    guest.TaxExempt = reservation.TaxExempt;
    guest.Set(GuestField::PayCode, boxes.payCode);
    guest.Set(GuestField::CheckInTime, TimeText(session.time));
    guest.Set(GuestField::ArrivalDate, DateText(session.today));
    guest.Set(GuestField::CheckOutTime, "");
    guest.Set(GuestField::DepartureDate, Trim(boxes.departure));
    // The reservation's rate left as it is goes into the stay byte for byte.
    guest.Rate = stay::RateUntouched(boxes) ? reservation.Rate : static_cast<float>(Val(boxes.rate));
    guest.SpareAmount = 0;
    guest.Set(GuestField::CardNumber, boxes.cardNumber);
    guest.Set(GuestField::CardExpiry, boxes.cardExpiry);
    guest.Set(GuestField::DBNumber, boxes.dbNumber);
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

std::optional<CheckInProblem> CheckCheckInDay(const DataFolder& data, const ReservationBoxes& boxes,
                                              const Date& today) {
    const std::string departure = Trim(boxes.departure);
    if (!records::DepartsAfterArrival(DateText(today), departure, today.year))
        return CheckInProblem::DepartureNotAfterArrival;
    if (records::NewStayLedgerTaken(
            data, BuildInHouseRecord(boxes, GuestRecord{}, stay::CheckInSession{.today = today})))
        return CheckInProblem::LedgerTaken;
    return std::nullopt;
}

std::optional<CheckInProblem> CheckCheckInStored(const DataFolder& data, const ReservationBoxes& boxes,
                                                 long reservationSlot) {
    if (boxes.payCode == records::kDirectBill.code &&
        !records::FindAccount(data, records::ChargingKey(boxes.dbNumber)))
        return CheckInProblem::BadDirectBill;
    const GuestRecord reservation = records::ReadGuest(data, kReservationsFile, reservationSlot);
    if (Val(reservation.CardDeposit) != 0 && !CheckInDepositCard(reservation, boxes.payCode))
        return CheckInProblem::DepositCardUnknown;
    return std::nullopt;
}

ReservationCheckIn PlanReservationCheckIn(const DataFolder& data, const ReservationBoxes& boxes,
                                          long reservationSlot, const stay::CheckInSession& session,
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
    if (plan.guest.PayCode == records::kCash.code)
        plan.cashNow = cashNow;
    if (IsCardPayCode(plan.guest.PayCode))
        plan.cardNow = cardNow;
    plan.roomRecord = records::FindRoom(data, plan.guest.Room);
    return plan;
}

namespace {

// A ledger line of the stay on the day of its check-in, under the shift on duty.
records::StayLedgerLine LedgerLine(const ReservationCheckIn& plan, std::string_view code,
                                   std::string_view description, double amount) {
    return {.Room = plan.guest.Room,
            .Shift = plan.session.shift,
            .PostDate = DateText(plan.session.today),
            .Code = std::string(code),
            .Description = std::string(description),
            .Amount = static_cast<float>(amount)};
}

} // namespace

void WriteReservationCheckIn(const DataFolder& data, const ReservationCheckIn& plan) {
    using records::DayTotalsField;
    using records::PostTo;
    const GuestRecord& guest = plan.guest;
    const stay::CheckInSession& session = plan.session;
    const std::string today = DateText(session.today);
    const platform::FilePath ledger = records::StayLedgerPath(data, guest);
    const auto post = [&](std::string_view code, std::string_view description, double amount,
                          PostTo to = PostTo::LedgerAndDetail) {
        records::PostToStay(data, ledger, LedgerLine(plan, code, description, amount), session.clerk, to);
    };

    // A deposit a Single does not keep to the cent would post another figure than was paid.
    platform::RequireFitsSingleToTheCent(Decimal::Parse(plan.reservation.CashDeposit), "The cash deposit");
    platform::RequireFitsSingleToTheCent(Decimal::Parse(plan.reservation.CardDeposit), "The card deposit");

    records::WriteGuest(data, kGuestFile, plan.guestSlot, guest);
    GuestRecord reservation = plan.reservation;
    reservation.ClearReservation();
    records::WriteGuest(data, kReservationsFile, plan.reservationSlot, reservation);

    records::AppendShiftRentalLine(
        data, session.shift, today,
        {.Room = guest.Room, .Shift = session.shift, .Clerk = session.clerk, .TimeRented = session.time});

    const double rate = AmountValue(guest.Rate); // the rate as shown, not its binary Single
    const records::PostingCode& rentCode = records::kRoomRent;
    // The rent line carries the tax of the rate as shown, also for an exempt stay, and the
    // shift letter of the shift file; its detail line the shift on duty.
    records::StayLedgerLine rent = LedgerLine(plan, rentCode.code, rentCode.text, rate);
    rent.Shift = session.postingShift;
    rent.TaxValue =
        records::ChargeRoomRent(Decimal::Of(guest.Rate), session.taxRate).tax.Rounded(2).ToSingle();
    records::PostToStay(data, ledger, rent, session.clerk, PostTo::LedgerOnly);
    post(rentCode.code, rentCode.text, rate, PostTo::DetailOnly);
    records::AddRoomRentToDayTotals(data, today, Decimal::Of(guest.Rate), session.taxRate,
                                    guest.IsTaxExempt());

    // Deposits reach the ledger only: the day and the shift had them when they were taken.
    const records::PostingCode& cashCode = records::kCash;
    if (plan.cashDeposit != 0)
        post(cashCode.code, cashCode.text, plan.cashDeposit, PostTo::LedgerOnly);

    if (guest.PayCode == cashCode.code) {
        const double cash = plan.cashNow.value_or(0);
        // No ledger line for nothing taken; the day's detail has it all the same.
        post(cashCode.code, cashCode.text, cash, cash != 0 ? PostTo::LedgerAndDetail : PostTo::DetailOnly);
        if (plan.cashNow)
            records::AddToShiftCash(data, session.shift, session.clerk, today,
                                    records::ShiftCashField::CashFromRent, Decimal::Of(cash));
        if (cash != 0)
            records::AddToDayTotals(data, today, DayTotalsField::Cash, Decimal::Of(cash));
    }

    // A card deposit stays under the card that took it, whatever the pay code is now.
    if (plan.cardDeposit != 0)
        post(plan.depositCard, records::CardText(plan.depositCard), plan.cardDeposit, PostTo::LedgerOnly);

    if (const auto column = CardColumn(guest.PayCode); column && plan.cardNow != 0) {
        post(guest.PayCode, records::CardText(guest.PayCode), plan.cardNow);
        records::AddToDayTotals(data, today, *column, Decimal::Of(plan.cardNow));
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
