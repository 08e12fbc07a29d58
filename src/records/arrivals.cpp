// Reservations arriving on a date.
#include "records/arrivals.h"

#include "records/filenames.h"
#include "records/guest_record.h"

#include "platform/clock.h"

#include <optional>

namespace records {

namespace {

std::string_view Stripped(std::string_view text, ArrivalMatch match) {
    const size_t last = text.find_last_not_of(' ');
    if (last == std::string_view::npos)
        return {};
    text = text.substr(0, last + 1);
    if (match == ArrivalMatch::OuterBlanks)
        text.remove_prefix(text.find_first_not_of(' '));
    return text;
}

} // namespace

bool ArrivesOn(std::string_view arrivalDate, std::string_view dateText, ArrivalMatch match) {
    return Stripped(arrivalDate, match) == Stripped(dateText, match);
}

std::vector<long> ReservationsArrivingOn(const platform::DataFolder& folder, std::string_view dateText,
                                         ArrivalMatch match) {
    const std::string_view date = Stripped(dateText, match);
    const GuestSlots slots(folder, kReservationsFile);
    std::vector<long> arriving;
    for (long n = 1; n <= slots.Count(); ++n)
        if (Stripped(slots.Field(n, GuestField::ArrivalDate), match) == date)
            arriving.push_back(n);
    return arriving;
}

bool DepartsAfterArrival(std::string_view arrival, std::string_view departure, int currentYear) {
    const std::optional<platform::Date> from = platform::ParseDate(arrival, currentYear);
    const std::optional<platform::Date> until = platform::ParseDate(departure, currentYear);
    return !from || !until || platform::DaysFromCivil(*until) > platform::DaysFromCivil(*from);
}

} // namespace records
