// The rooms rented per shift: tolerant reading of the rentals file and its printout.
#include "printing/shift_rentals_report.h"

#include "records/filenames.h"

#include <optional>

namespace printing {

ShiftRentalsRead ReadShiftRentalsAsFarAsReadable(const platform::DataFolder& folder, std::string_view shift,
                                                 std::string_view dateText) {
    ShiftRentalsRead read;
    std::optional<platform::SeqReader> reader;
    try {
        reader.emplace(records::ShiftFilePath(folder, records::ShiftFile::ShiftRentals, shift, dateText));
    } catch (const platform::IoError&) {
        return read;
    }
    read.opened = true;
    // A damaged line is skipped; the lines before and after it stand.
    reader->ForEachLine(4, [&] {
        RentalItems rental;
        rental.Room = reader->ReadText();
        rental.Shift = reader->ReadText();
        rental.Clerk = reader->ReadText();
        rental.TimeRented = reader->ReadText();
        read.lines.push_back(std::move(rental));
    });
    return read;
}

std::string ShiftRentalsTitle(std::string_view shift, std::string_view dateText) {
    return "                    Rooms Rented On " + std::string(shift) + " Shift for " +
           std::string(dateText);
}

std::string NoShiftRentalsText(std::string_view shift) {
    return "                        No Rooms Rented On " + std::string(shift) + " Shift";
}

platform::PrintItems ShiftRentalLineItems(const RentalItems& rental) {
    platform::PrintItems items;
    items.Text(rental.Room)
        .Tab(8)
        .Text(rental.Shift)
        .Tab(16)
        .Text(rental.Clerk)
        .Tab(24)
        .Text(rental.TimeRented);
    return items;
}

void PrintShiftRentals(platform::Printer& printer, const platform::DataFolder& folder, std::string_view shift,
                       std::string_view dateText) {
    const ShiftRentalsRead read = ReadShiftRentalsAsFarAsReadable(folder, shift, dateText);
    const std::string rule(kShiftRentalsRuleWidth, '-');

    printer.EndDoc();
    printer.FontSize(10);
    printer.FontBold(false);
    printer.Print(ShiftRentalsTitle(shift, dateText));
    printer.Print();
    printer.Print();
    printer.Print(rule);
    printer.Print(kShiftRentalsHeader);
    printer.Print(rule);
    for (const RentalItems& rental : read.lines)
        printer.Print(ShiftRentalLineItems(rental));
    if (read.lines.empty()) {
        printer.Print();
        printer.Print();
        printer.Print(NoShiftRentalsText(shift));
    }
    printer.EndDoc();
}

} // namespace printing
