// The Guest Listing Report's lines and printing.
#include "printing/guest_listing_report.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/filenames.h"

namespace printing {

namespace {
constexpr std::string_view kTitle = "                       Guest Listing Report for "; // 23 blanks
const std::string kBlankName(15, ' ');
} // namespace

bool IsListedGuest(const records::GuestRecord& guest) {
    return guest.LastName != kBlankName && guest.FirstName != kBlankName;
}

std::string GuestListingTitle(std::string_view today) {
    return std::string(kTitle) + std::string(today);
}

std::string GuestListingRule() {
    return std::string(kGuestListingRuleWidth, '-');
}

platform::PrintItems GuestListingLine(const records::GuestRecord& guest) {
    platform::PrintItems items;
    items.Text(guest.Room + "  " + platform::RTrim(guest.LastName))
        .Tab(21)
        .Text(guest.Clerk)
        .Tab(28)
        .Text(guest.RegCard)
        .Tab(37)
        .Text(guest.FolioNumber)
        .Tab(43)
        .Text(platform::StoredStr(guest.Rate))
        .Tab(52)
        .Text(guest.PayCode)
        .Tab(57)
        .Text(guest.DepartureDate);
    return items;
}

void PrintGuestListingReport(platform::Printer& printer, const std::vector<records::GuestRecord>& guests,
                             std::string_view today, GuestListingStart start) {
    printer.EndDoc();
    printer.FontSize(10);
    if (start == GuestListingStart::BlankLine)
        printer.Print();
    printer.Print(GuestListingTitle(today));
    printer.Print();
    printer.Print();
    printer.Print(kGuestListingHeader);
    printer.Print(GuestListingRule());
    for (const records::GuestRecord& guest : guests) {
        if (!IsListedGuest(guest))
            continue;
        printer.Print(GuestListingLine(guest));
        printer.Print(GuestListingRule());
    }
    printer.EndDoc();
}

void PrintGuestListingReport(platform::Printer& printer, const platform::DataFolder& folder,
                             std::string_view today, GuestListingStart start) {
    const std::vector<records::GuestRecord> guests = records::ReadAllGuests(folder, records::kGuestFile);
    PrintGuestListingReport(printer, guests, today, start);
}

} // namespace printing
