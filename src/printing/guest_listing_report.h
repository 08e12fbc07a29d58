// The Guest Listing Report: every guest in the house, in the order of the guest file,
// with clerk, registration card, folio, rate, pay code and departure date. Printed from
// the Guest List window and by the night audit.
#pragma once

#include "platform/files.h"
#include "platform/printer.h"
#include "records/guest_record.h"

#include <string>
#include <string_view>
#include <vector>

namespace printing {

inline constexpr int kGuestListingRuleWidth = 78;
inline constexpr std::string_view kGuestListingHeader =
    "ROOM LAST           CLERK  REGCARD  FOLIO  RATE    PAY  DEPART";

// The Guest List window's copy starts with an empty line; the night audit's starts with the title.
enum class GuestListingStart { BlankLine, Title };

// A guest in the house: last and first name both not blank.
bool IsListedGuest(const records::GuestRecord& guest);

std::string GuestListingTitle(std::string_view today);
std::string GuestListingRule();
// One guest: room, two blanks and last name from column 1, then Tab(21) clerk, Tab(28)
// registration card, Tab(37) folio, Tab(43) Str(rate), Tab(52) pay code, Tab(57) departure.
// Text fields are printed as stored, trailing blanks included.
platform::PrintItems GuestListingLine(const records::GuestRecord& guest);

// The whole report as one document: the guests given, in their order, free slots skipped.
void PrintGuestListingReport(platform::Printer& printer, const std::vector<records::GuestRecord>& guests,
                             std::string_view today, GuestListingStart start);
// Reads "guest" whole before the first line, so a file error prints nothing.
void PrintGuestListingReport(platform::Printer& printer, const platform::DataFolder& folder,
                             std::string_view today, GuestListingStart start);

} // namespace printing
