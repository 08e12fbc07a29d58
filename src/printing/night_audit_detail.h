// The night audit's room detail report and day reports: the day's postings, the room
// moves, the possible sleepers and the reservations made, each page its own document.
// The moves, sleepers and reservations pages print only what their day flags announce and
// set those flags back to 0.
#pragma once

#include "platform/files.h"
#include "platform/printer.h"

#include <string_view>

namespace printing {

// The four pages in order for the business date. Afterwards "movedyes" is 0, and
// "sleeperstoday" and "restodayyes" are 0 when they held 1.
void PrintNightAuditDetailReport(const platform::DataFolder& folder, platform::Printer& printer,
                                 std::string_view dateText);

// Every line of the day's detail file.
void PrintRoomDetailPage(const platform::DataFolder& folder, platform::Printer& printer,
                         std::string_view dateText);
// The day's moves when "movedyes" is not 0; then writes 0 to "movedyes" in any case.
void PrintRoomMovesPage(const platform::DataFolder& folder, platform::Printer& printer,
                        std::string_view dateText);
// The day's list of guests due out when "sleeperstoday" holds 1; then writes 0 to it.
void PrintSleepersPage(const platform::DataFolder& folder, platform::Printer& printer,
                       std::string_view dateText);
// The day's reservations made when "restodayyes" holds 1; then writes 0 to it.
void PrintReservationsMadePage(const platform::DataFolder& folder, platform::Printer& printer,
                               std::string_view dateText);

} // namespace printing
