// Reservations arriving on a date: the one rule that matches a reservation's ArrivalDate
// with a date text, for every reader that asks which reservations arrive on a day.
#pragma once

#include "platform/files.h"

#include <string_view>
#include <vector>

namespace records {

// How the stored ArrivalDate and the date text are compared:
//   TrailingBlanks  both without their trailing blanks: the front desk's count of today's
//                   arrivals, the rooms held for today's arrivals, today's list;
//   OuterBlanks     both without the blanks at either end: the night audit's refusal to
//                   change the date, cancelling all due today; a date typed with a blank in
//                   front arrives too.
enum class ArrivalMatch { TrailingBlanks, OuterBlanks };

bool ArrivesOn(std::string_view arrivalDate, std::string_view dateText, ArrivalMatch match);

// The slots of the reservations file whose ArrivalDate is the date, in slot order. A
// cancelled or checked-in slot has a blank ArrivalDate: it never arrives on a date.
std::vector<long> ReservationsArrivingOn(const platform::DataFolder& folder, std::string_view dateText,
                                         ArrivalMatch match);

} // namespace records
