// The motel's letterhead: the four lines at the head of the billing notices and of the
// printed folios, from the installation settings, each printed exactly as it stands.
#pragma once

#include "platform/printer.h"
#include "records/motel_settings.h"

#include <array>
#include <string>
#include <string_view>

namespace printing {

// The name line, the street line, the town line and the telephone line.
std::array<std::string, records::kLetterheadLines> LetterheadLines(const records::MotelSettings& motel);

// Ends any document still open, sets 10 point, and prints the blank line, the letterhead's
// name, street and town lines, two blank lines, its telephone line and two more blank lines.
void StartFolioDocument(platform::Printer& printer, const records::MotelSettings& motel);

// The name of a document that starts with the letterhead (see platform::Printer::Title), by
// what it is: "<report>, <label> <key>, <who>", e.g. "Folio, room 12, ANN LEE"; a blank
// key or who is left out.
std::string LetterheadDocumentName(std::string_view report, std::string_view label, std::string_view key,
                                   std::string_view who);

} // namespace printing
