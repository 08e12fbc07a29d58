#include "printing/letterhead.h"

namespace printing {

void StartFolioDocument(platform::Printer& printer, const platform::Settings& motel) {
    printer.EndDoc();
    printer.FontSize(10);
    printer.Print();
    printer.Print(motel.motelName);
    printer.Print(motel.street);
    printer.Print(motel.town);
    printer.Print();
    printer.Print();
    printer.Print(motel.phone);
    printer.Print();
    printer.Print();
}

} // namespace printing
