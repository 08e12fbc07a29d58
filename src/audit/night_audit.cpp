// The night audit's gate, room-rent posting, refusals, day number and housekeeping report.
#include "audit/night_audit.h"

#include "platform/decimal.h"
#include "platform/engine.h"

#include "platform/text.h"
#include "printing/housekeeping_report.h"
#include "records/arrivals.h"
#include "records/counters.h"
#include "records/filenames.h"
#include "records/posting_codes.h"
#include "records/room_record.h"

namespace vantreth::audit {

using platform::RTrim;
using platform::Trim;

AuditGate CheckAuditGate(std::string_view shift, std::optional<double> dropSheetFlag,
                         std::string_view timeText) {
    if (shift == "A" || shift == "B")
        return AuditGate::NotShiftC;
    if (dropSheetFlag.value_or(0) != 1 && shift == "C")
        return AuditGate::NoDropSheet;
    if (timeText.find('P') != std::string_view::npos)
        return AuditGate::Afternoon;
    return AuditGate::Open;
}

std::vector<std::string> DueOutToday(const std::vector<records::GuestRecord>& guests,
                                     std::string_view today) {
    const std::string todayText = RTrim(today);
    std::vector<std::string> lines;
    for (const records::GuestRecord& guest : guests) {
        if (guest.IsFree() || RTrim(guest.DepartureDate) != todayText)
            continue;
        lines.push_back(platform::Fixed(guest.Room, 3) + "  " + Trim(guest.DepartureDate));
    }
    return lines;
}

bool RentPostedToday(const std::vector<records::StayLedgerLine>& ledger, std::string_view today) {
    for (const records::StayLedgerLine& line : ledger)
        if (line.PostDate == today && line.Code == records::kRoomRent.code)
            return true;
    return false;
}

records::StayLedgerLine NightRentLedgerLine(const records::GuestRecord& guest, const NightContext& night) {
    return {.Room = platform::Fixed(guest.Room, 3),
            .Shift = night.shift,
            .PostDate = night.today,
            .Code = std::string(records::kRoomRent.code),
            .Description = std::string(kRoomRentDescription),
            .Amount = guest.Rate,
            .TaxValue = static_cast<float>(night.taxRate)}; // the rate, not an amount
}

records::DayTotals AddNightToTotals(records::DayTotals totals, float rate, double taxRate, bool taxExempt) {
    records::AddRoomRent(totals,
                         records::ChargeRoomRent(platform::Decimal::Of(rate), taxExempt ? 0.0 : taxRate));
    return totals;
}

NightPosting PostNight(const platform::DataFolder& data, const records::GuestRecord& guest,
                       const NightContext& night) {
    const platform::FilePath ledger = records::StayLedgerPath(data, guest);
    if (RentPostedToday(records::ReadStayLedger(ledger), night.today))
        return NightPosting::AlreadyPosted;
    const records::DayTotals totals = records::ReadDayTotals(data, night.today);

    records::PostToStay(data, ledger, NightRentLedgerLine(guest, night), night.clerk);
    records::AddRoomsRented(data, night.today, 1);
    records::WriteDayTotals(data, night.today,
                            AddNightToTotals(totals, guest.Rate, night.taxRate, guest.IsTaxExempt()));
    return NightPosting::Posted;
}

NightCharges ChargeRoomAndTax(const platform::DataFolder& data,
                              const std::vector<records::GuestRecord>& guests, const NightContext& night) {
    NightCharges charges;
    for (const records::GuestRecord& guest : guests) {
        if (guest.IsFree())
            continue;
        try {
            // Each room's posting is whole or not there: a failure leaves no part of it.
            NightPosting posting = NightPosting::Posted;
            platform::AllOrNothing(data, [&] { posting = PostNight(data, guest, night); });
            if (posting == NightPosting::Posted)
                ++charges.posted;
            else
                ++charges.alreadyPosted;
        } catch (const platform::IoError& error) {
            charges.failedRooms.push_back(platform::Fixed(guest.Room, 3));
            if (charges.firstError.empty())
                charges.firstError = error.reason();
        }
    }
    platform::DescribeStep(data, "Night audit of " + night.today + ": room and tax charged to " +
                                     std::to_string(charges.posted) + " rooms");
    return charges;
}

std::string FailedPostingsMessage(const NightCharges& charges) {
    std::string rooms;
    for (const std::string& room : charges.failedRooms)
        rooms += (rooms.empty() ? "" : ", ") + RTrim(room);
    return "Room rent could not be charged for room(s) " + rooms + " (" + charges.firstError +
           "). Please check their folios, then press \"Charge Room and Tax\" again.";
}

bool ReservationArrivesToday(const platform::DataFolder& data, std::string_view today) {
    return !records::ReservationsArrivingOn(data, today, records::ArrivalMatch::OuterBlanks).empty();
}

double NextDayNumber(double day) {
    const double next = day + 1;
    return next >= 8 ? 1 : next;
}

double NewDayNumber(std::optional<double> storedDay, const platform::Date& newDate) {
    if (!storedDay)
        return platform::IsoWeekday(newDate);
    return NextDayNumber(*storedDay);
}

void PrintAuditHousekeepingReport(platform::Printer& printer, const platform::DataFolder& data,
                                  std::string_view motelName, std::string_view today) {
    // Everything is read before the first line, so a file error prints nothing.
    const std::vector<records::GuestRecord> guests = records::ReadAllGuests(data, records::kGuestFile);
    const std::vector<records::RoomRecord> rooms = records::ReadAllRooms(data);
    const printing::HousekeepingCounts counts = printing::CountHousekeeping(rooms, guests, today);

    printer.EndDoc();
    printer.FontSize(10);
    printer.Print();
    printer.Print(printing::HousekeepingTitle(motelName));
    printer.Print();
    printer.Print();
    printer.Print(printing::HousekeepingDateLine(today, counts));
    printer.Print();
    printer.Print();
    printer.Print(printing::kHousekeepingHeader);
    printer.Print(std::string(printing::kHousekeepingRuleWidth, '-'));
    printer.FontBold(true);
    for (const records::RoomRecord& room : rooms)
        printer.Print(
            printing::HousekeepingRoomLine(room, printing::DepartureDateOf(guests, room.Room), today, false));
    printer.FontBold(false);
    printer.EndDoc();
}

} // namespace vantreth::audit
