// The call accounting report of one day's phone log, and the on-screen line of a call in
// the "Phone Log Reports" window.
#pragma once

#include "platform/files.h"
#include "platform/printer.h"
#include "records/call_record.h"

#include <string>
#include <string_view>
#include <vector>

namespace printing {

inline constexpr std::string_view kCallReportHeader =
    "DATE     EXTENSION          TIME          AMOUNT          NUMBER";
inline constexpr int kCallReportRuleWidth = 78;
inline constexpr std::string_view kNoCallsToday = "                               No Calls Today";

std::string CallReportTitle(std::string_view dateText);

// "FRONT DESK" for "1000", "CORDLESS" for "400 ", otherwise the four characters as received.
std::string CallExtensionText(const records::CallRecord& call);
// The hour of the 24-hour time on the 12-hour clock ("13:05" gives "01:05"); minutes kept.
std::string CallTimeText(const records::CallRecord& call);
// "PM" from 12 up to 23 o'clock, "AM" otherwise (24:00 is midnight).
std::string CallTimeSuffix(const records::CallRecord& call);

// Date; Tab(10) extension; Tab(29) time, a blank and AM/PM; Tab(43) amount; Tab(59) number.
platform::PrintItems CallReportLine(const records::CallRecord& call);
// The window's list line: the same fields, each pair parted by four blanks.
std::string CallListLine(const records::CallRecord& call);

// Prints the report of the day's log as one document, headed with `dateText`.
void PrintCallReport(platform::Printer& printer, const platform::DataFolder& folder,
                     std::string_view dateText);

} // namespace printing
