#include "printing/letterhead.h"

#include "platform/text.h"

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

std::string LetterheadDocumentName(std::string_view report, std::string_view label, std::string_view key,
                                   std::string_view who) {
    std::string name(report);
    if (const std::string k = platform::Trim(key); !k.empty())
        name += ", " + std::string(label) + " " + k;
    if (const std::string w = platform::Trim(who); !w.empty())
        name += ", " + w;
    return name;
}

} // namespace printing
