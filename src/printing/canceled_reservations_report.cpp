// The canceled reservations printout.
#include "printing/canceled_reservations_report.h"

#include "platform/text.h"
#include "records/filenames.h"

#include <vector>

namespace printing {

std::string CanceledReservationsTitle(std::string_view motelName, std::string_view year) {
    return platform::Space(15) + std::string(motelName) + " Canceled Reservations for year " +
           std::string(year);
}

platform::PrintItems CanceledReservationLine(const records::CancelRecord& record) {
    platform::PrintItems items;
    items.Text(platform::RTrim(record.GuestName))
        .Tab(27)
        .Text(record.ReservedOn)
        .Tab(47)
        .Text(record.CanceledOn)
        .Tab(64)
        .Text(record.Clerk);
    return items;
}

void PrintCanceledReservations(platform::Printer& printer, const platform::DataFolder& folder,
                               std::string_view motelName, std::string_view year) {
    const std::vector<records::CancelRecord> cancellations =
        records::ReadCancelRecords(records::CancelYearFile(folder, year));

    printer.FontSize(10);
    printer.EndDoc();
    printer.FontSize(10);
    printer.Print();
    printer.Print(CanceledReservationsTitle(motelName, year));
    printer.Print();
    printer.Print();
    printer.Print(kCanceledReservationsHeader);
    printer.Print(std::string(kCanceledReservationsRuleWidth, '-'));
    for (const records::CancelRecord& record : cancellations)
        printer.Print(CanceledReservationLine(record));
    printer.EndDoc();
}

} // namespace printing
