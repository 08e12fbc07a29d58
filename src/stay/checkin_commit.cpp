// The walk-in check-in's arithmetic, lists, checks and the records of a new stay.
#include "checkin_commit.h"
#include "platform/engine.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/arrivals.h"
#include "records/counters.h"
#include "records/day_totals.h"
#include "records/direct_bill.h"
#include "records/filenames.h"
#include "records/posting_codes.h"
#include "records/room_record.h"
#include "records/settings_files.h"
#include "records/shift_cash.h"
#include "records/stay_ledger.h"
#include "stay/guest_entry.h"

#include <cmath>

namespace vantreth::stay {

using namespace platform;

const std::vector<std::string>& PaymentList() {
    static const std::vector<std::string> list = [] {
        std::vector<std::string> items;
        for (const records::PostingCode& row : records::kPostingCodes)
            if (!row.paymentItem.empty())
                items.emplace_back(row.paymentItem);
        return items;
    }();
    return list;
}

std::optional<char> PayCodeFor(std::string_view payment) {
    if (const records::PostingCode* row = records::FindPaymentItem(payment))
        return row->code[0];
    return std::nullopt;
}

std::string CardTextFor(char payCode) {
    return std::string(records::CardText(std::string_view(&payCode, 1)));
}

StayPrice PriceStay(std::string_view rateText, std::string_view nightsText, bool taxExempt, double taxRate) {
    const Decimal nightly =
        records::ChargeRoomRent(Decimal::Parse(rateText), taxExempt ? 0.0 : taxRate).gross;
    StayPrice price;
    price.nightly = nightly.Text();
    price.total = (nightly * Decimal::Parse(nightsText)).Text();
    return price;
}

std::string StayTotalAsCash(std::string_view totalText) {
    return Trim(totalText).empty() ? std::string(totalText) : AmountText(Decimal::Parse(totalText));
}

std::string TenPercentOff(std::string_view rateText) {
    const Decimal rate = Decimal::Parse(rateText);
    return AmountText(rate - rate * Decimal::Of(0.1));
}

std::string DepartureDateText(const Date& today, std::string_view timeText, std::string_view shift,
                              double nights) {
    Date from = today;
    const std::string first = Left(timeText, 1);
    const bool earlyMorning = (first == "3" || first == "4" || first == "5") &&
                              (Mid(timeText, 9, 1) == "A" || Mid(timeText, 10, 1) == "A");
    if (earlyMorning && RTrim(shift) == "A")
        from = AddDays(from, -1);
    return DateText(AddDays(from, static_cast<long>(Round(nights))));
}

std::vector<std::string> FreeRoomList(const DataFolder& data, std::string_view todayText) {
    const std::vector<records::RoomRecord> rooms = records::ReadAllRooms(data);
    std::optional<records::GuestSlots> reservations;
    std::vector<std::string> list;
    for (const records::RoomRecord& room : rooms) {
        if (room.Service == "X" || room.Service == "O" || room.Clean == "N")
            continue;
        if (!reservations)
            reservations.emplace(data, records::kReservationsFile);
        bool reserved = false;
        for (long n = 1; n <= reservations->Count() && !reserved; ++n)
            reserved = reservations->Field(n, records::GuestField::Room) == room.Room &&
                       records::ArrivesOn(reservations->Field(n, records::GuestField::ArrivalDate), todayText,
                                          records::ArrivalMatch::TrailingBlanks);
        if (!reserved)
            list.push_back(room.Room + " " + room.RoomType);
    }
    return list;
}

std::vector<std::string> OptionalRateList(const DataFolder& data) {
    const records::OptionalRates rates = records::ReadOptionalRates(data);
    std::vector<std::string> list;
    for (float rate : {rates.Rate1, rates.Rate2, rates.Rate3, rates.Rate4, rates.Rate5})
        if (rate != 0)
            list.push_back(AmountText(Decimal::Of(rate)));
    return list;
}

std::vector<std::string> DirectBillList(const DataFolder& data) {
    std::vector<std::string> list;
    for (const records::DirectBillAccount& account : records::ReadAllAccounts(data))
        if (!account.IsDeleted())
            list.push_back(RTrim(account.DBNumber) + " " + RTrim(account.CompanyName));
    return list;
}

std::optional<double> DirectBillBalance(const DataFolder& data, std::string_view entry) {
    const std::string code = Left(entry, 4);
    std::optional<double> balance;
    for (const records::DirectBillAccount& account : records::ReadAllAccounts(data))
        if (RTrim(account.DBNumber) == code)
            balance = Decimal::Of(account.Balance).Rounded(2).ToDouble();
    return balance;
}

std::string ProblemMessage(EntryProblem problem, std::string_view room3) {
    switch (problem) {
    case EntryProblem::NoRoom:
        return "You did not select a room. Select a room or click 'Cancel' to exit this module.";
    case EntryProblem::NoRegCard:
        return "You did not Enter a regcard #. Enter a number or click 'Cancel' to exit this module.";
    case EntryProblem::NoDirectBill:
        return "You did not select a direct bill. Select a direct bill or click 'Cancel' to exit this "
               "module.";
    case EntryProblem::NoPayment:
        return "You did not choose a payment. Choose a payment or click 'Cancel' to exit this module.";
    case EntryProblem::BadNights:
        return "The number of nights must be a whole number from 1 to 9999. Type the nights, like 2.";
    case EntryProblem::BadRate:
        return "The rate you typed is not a number. Please type the rate in dollars, like 45.50.";
    case EntryProblem::BadChildren:
        return "The number of children is not a number. Type a number, like 2, or leave the box empty.";
    case EntryProblem::BadCash:
        return "The amount the guest is giving you is not a number. Type the amount in dollars, like 100.00, "
               "or "
               "leave the box empty.";
    case EntryProblem::RateCents:
    case EntryProblem::CashCents:
        return records::kCentsMessage;
    case EntryProblem::RateTooLarge:
    case EntryProblem::CashTooLarge:
        return records::kAmountTooLargeMessage;
    case EntryProblem::LedgerTaken:
        return "A guest of this name already checked in to this room today and was checked out: that stay's "
               "folio is kept under the same name. If the guest was checked out by mistake, use Check Back "
               "In "
               "to open that stay again. A new stay of this guest needs another room. Nothing was saved.";
    case EntryProblem::RoomTaken:
        return "Room " + RTrim(room3) +
               " already has a guest checked in. Select another room or click 'Cancel' to exit this module.";
    case EntryProblem::NoTaxRate:
        return "The tax rate has not been set. Set the tax rates from the Main Menu before checking a guest "
               "in.";
    }
    return std::string();
}

std::optional<EntryProblem> CheckEntry(const CheckInEntry& entry) {
    if (entry.roomChoice.empty() || entry.roomChoice == "select room")
        return EntryProblem::NoRoom;
    if (entry.regCard.empty())
        return EntryProblem::NoRegCard;
    if (entry.payment == kDirectBill &&
        (entry.account.empty() || entry.account == "select direct bill client"))
        return EntryProblem::NoDirectBill;
    if (!PayCodeFor(entry.payment))
        return EntryProblem::NoPayment;
    // A stay is one night at least: its departure comes after its arrival.
    if (!IsNonNegativeNumber(entry.nights) || Val(entry.nights) != std::floor(Val(entry.nights)) ||
        Val(entry.nights) < 1 || Val(entry.nights) > 9999)
        return EntryProblem::BadNights;
    if (!IsNonNegativeNumber(entry.rate))
        return EntryProblem::BadRate;
    if (!IsTypedAmount(entry.rate))
        return EntryProblem::RateCents;
    if (!FitsAmount(entry.rate))
        return EntryProblem::RateTooLarge;
    if (!Trim(entry.children).empty() && !IsNonNegativeNumber(entry.children))
        return EntryProblem::BadChildren;
    if (entry.payment == kCashOrCheck && !entry.cash.empty() && !IsNonNegativeNumber(entry.cash))
        return EntryProblem::BadCash;
    if (entry.payment == kCashOrCheck && !entry.cash.empty() && !IsTypedAmount(entry.cash))
        return EntryProblem::CashCents;
    if (entry.payment == kCashOrCheck && !entry.cash.empty() && !FitsAmount(entry.cash))
        return EntryProblem::CashTooLarge;
    return std::nullopt;
}

bool DepositAnswerValid(std::string_view answer) {
    return Trim(answer).empty() || IsNonNegativeNumber(answer);
}

bool AsksForDeposit(const CheckInEntry& entry) {
    return entry.payment == kCashOrCheck && Val(entry.cash) == Val(entry.totalStay);
}

records::GuestRecord BuildGuestRecord(const CheckInEntry& entry, float folioNumber,
                                      const CheckInSession& session) {
    using records::GuestField;
    const std::optional<char> payCode = PayCodeFor(entry.payment);
    records::GuestRecord guest;
    PutGuestDetails(guest, entry, Letters::Capitals);
    guest.Set(GuestField::Clerk, entry.clerk);
    guest.Set(GuestField::Room, Left(entry.roomChoice, 3));
    guest.Nights = static_cast<float>(Val(entry.nights));
    guest.TaxExempt = entry.taxExempt ? 1.0f : 0.0f;
    guest.Set(GuestField::PayCode, std::string(1, payCode.value_or(' ')));
    guest.Set(GuestField::CheckInTime, TimeText(session.time));
    guest.Set(GuestField::ArrivalDate, DateText(session.today));
    guest.Set(GuestField::CheckOutTime, "");
    guest.Set(GuestField::DepartureDate,
              DepartureDateText(session.today, TimeText(session.time), session.shift, Val(entry.nights)));
    guest.Rate = static_cast<float>(Val(entry.rate));
    guest.SpareAmount = 0;
    guest.Set(GuestField::CardNumber, "none");
    guest.Set(GuestField::CardExpiry, "none");
    guest.Set(GuestField::DBNumber, guest.PayCode == records::kDirectBill.code ? Left(entry.account, 4) : "");
    guest.Set(GuestField::FolioNumber, CStr(folioNumber));
    return guest;
}

bool LedgerTaken(const DataFolder& data, const CheckInEntry& entry, const Date& today) {
    return records::NewStayLedgerTaken(data, BuildGuestRecord(entry, 0, CheckInSession{.today = today}));
}

CheckInPlan PlanCheckIn(const DataFolder& data, const CheckInEntry& entry, const CheckInSession& session,
                        double deposit) {
    CheckInPlan plan;
    plan.session = session;
    plan.todayText = DateText(session.today);
    plan.folioNumber = records::ReadFolioCounter(data).LastFolio + 1;
    plan.slot = records::FindFreeGuestSlot(data, records::kGuestFile);
    plan.guest = BuildGuestRecord(entry, plan.folioNumber, session);
    plan.feeShowing = entry.feeShowing;
    plan.feeDescription = entry.feeDescription;
    plan.fee = Val(entry.feeAmount);
    if (plan.guest.PayCode == records::kCash.code && !entry.cash.empty())
        plan.cash = Val(entry.cash);
    if (records::IsCardCode(plan.guest.PayCode))
        plan.card = Val(entry.totalStay);
    plan.deposit = deposit;
    plan.roomRecord = records::FindRoom(data, plan.guest.Room);
    return plan;
}

namespace {

// A ledger line of the new stay: the shift letter of the shift file, today.
records::StayLedgerLine LedgerLine(const CheckInPlan& plan, std::string_view code,
                                   std::string_view description, double amount) {
    return {.Room = plan.guest.Room,
            .Shift = plan.session.postingShift,
            .PostDate = plan.todayText,
            .Code = std::string(code),
            .Description = std::string(description),
            .Amount = static_cast<float>(amount)};
}

} // namespace

void WriteCheckIn(const DataFolder& data, const CheckInPlan& plan) {
    using records::DayTotalsField;
    const records::GuestRecord& guest = plan.guest;
    const std::string& today = plan.todayText;
    const CheckInSession& session = plan.session;

    std::string words = "Check-in of " + platform::Trim(guest.FirstName) + " " +
                        platform::Trim(guest.LastName) + " to room " + platform::Trim(guest.Room) + " at " +
                        platform::StoredText(guest.Rate);
    if (plan.cash)
        words += ", " + platform::AmountText(platform::Decimal::Of(*plan.cash)) + " paid in cash";
    if (plan.card)
        words += ", " + platform::AmountText(platform::Decimal::Of(*plan.card)) + " on the card";
    platform::DescribeStep(data, words);
    records::WriteGuest(data, records::kGuestFile, plan.slot, guest);
    records::WriteFolioCounter(data, records::FolioCounter{.LastFolio = plan.folioNumber});

    const platform::FilePath ledger = records::StayLedgerPath(data, guest);
    const double rate = AmountValue(guest.Rate); // the rate as shown, not its binary Single
    // Each posting goes to the stay's ledger and, with the clerk on duty, to the day's detail.
    const auto post = [&](const records::StayLedgerLine& line) {
        records::PostToStay(data, ledger, line, session.clerk);
    };
    records::StayLedgerLine rent = LedgerLine(plan, records::kRoomRent.code, records::kRoomRent.text, rate);
    rent.TaxValue =
        records::ChargeRoomRent(Decimal::Of(guest.Rate), session.taxRate).tax.Rounded(2).ToSingle();
    post(rent);
    if (plan.feeShowing)
        post(LedgerLine(plan, records::kPetOther.code, plan.feeDescription, plan.fee));

    records::AddRoomRentToDayTotals(data, today, Decimal::Of(guest.Rate), session.taxRate,
                                    guest.IsTaxExempt());
    if (plan.feeShowing)
        records::AddToDayTotals(data, today, DayTotalsField::PetOther, Decimal::Of(plan.fee));

    if (plan.cash) {
        post(LedgerLine(plan, records::kCash.code, records::kCash.text, *plan.cash));
        records::AddToDayTotals(data, today, DayTotalsField::Cash, Decimal::Of(*plan.cash));
    }
    if (plan.card) {
        const records::PostingCode& card = *records::FindPostingCode(guest.PayCode);
        records::AddToDayTotals(data, today, *card.column, Decimal::Of(*plan.card));
        post(LedgerLine(plan, card.code, card.text, *plan.card));
    }
    if (plan.cash)
        records::AddToShiftCash(data, session.shift, session.clerk, today,
                                records::ShiftCashField::CashFromRent, Decimal::Of(*plan.cash));

    if (plan.roomRecord) {
        records::RoomRecord room = records::ReadRoom(data, *plan.roomRecord);
        room.Service = "O";
        room.Vacant = "N";
        records::WriteRoom(data, *plan.roomRecord, room);
    }

    if (plan.deposit != 0) {
        post(LedgerLine(plan, records::kCash.code, records::kCash.text, plan.deposit));
        records::AddToShiftCash(data, session.shift, session.clerk, today,
                                records::ShiftCashField::CashFromRent, Decimal::Of(plan.deposit));
        records::AddToDayTotals(data, today, DayTotalsField::Cash, Decimal::Of(plan.deposit));
    }

    records::AppendShiftRentalLine(
        data, session.shift, today,
        records::ShiftRentalLine{
            .Room = guest.Room, .Shift = session.shift, .Clerk = session.clerk, .TimeRented = session.time});
    records::AddRoomsRented(data, today, 1);
}

} // namespace vantreth::stay
