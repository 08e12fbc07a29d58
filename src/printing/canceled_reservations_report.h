// The printed list of one year's canceled reservations, from the "Canceled Reservations"
// window.
#pragma once

#include "platform/files.h"
#include "platform/printer.h"
#include "records/cancel_record.h"

#include <string>
#include <string_view>

namespace printing {

inline constexpr int kCanceledReservationsRuleWidth = 92;
inline constexpr std::string_view kCanceledReservationsHeader =
    "NAME                      DATE MADE           DATE CANCELED    CLERK";

std::string CanceledReservationsTitle(std::string_view motelName, std::string_view year);
// The name, Tab(27) the date made, Tab(47) the date canceled, Tab(64) the clerk, as stored.
platform::PrintItems CanceledReservationLine(const records::CancelRecord& record);

// Prints every cancellation of the year file named by the last two characters of `year`
// ("2004" reads "04"), in the order they were logged, as one document.
void PrintCanceledReservations(platform::Printer& printer, const platform::DataFolder& folder,
                               std::string_view motelName, std::string_view year);

} // namespace printing
