#include "printing/letterhead.h"

namespace printing {

std::array<std::string, records::kLetterheadLines> LetterheadLines(const records::MotelSettings& motel) {
    return motel.Letterhead();
}

void StartFolioDocument(platform::Printer& printer, const records::MotelSettings& motel) {
    const std::array<std::string, records::kLetterheadLines> letterhead = LetterheadLines(motel);
    printer.EndDoc();
    printer.FontSize(10);
    printer.Print();
    printer.Print(letterhead[0]);
    printer.Print(letterhead[1]);
    printer.Print(letterhead[2]);
    printer.Print();
    printer.Print();
    printer.Print(letterhead[3]);
    printer.Print();
    printer.Print();
}

} // namespace printing
