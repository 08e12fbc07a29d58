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

// A stay is one night at least: its departure comes after its arrival, so that the room lists
// hold the room for the nights the stay takes. Every window where a stay's dates are typed
// refuses a departure that does not, with kDepartureNotAfterArrival. True when either text is
// no date: the windows' own date checks speak of those.
bool DepartsAfterArrival(std::string_view arrival, std::string_view departure, int currentYear);
inline constexpr const char* kDepartureNotAfterArrival =
    "The departure date must come after the arrival date: a stay is one night at least. Please fix the "
    "departure date.";

} // namespace records
