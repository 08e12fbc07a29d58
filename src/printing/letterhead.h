// The motel's letterhead at the top of a guest's folio, from the installation settings.
#pragma once

#include "platform/printer.h"
#include "platform/settings.h"

namespace printing {

// Ends any document still open, sets 10 point, and prints the blank line, the motel's name,
// street and town, two blank lines, its telephone and two more blank lines.
void StartFolioDocument(platform::Printer& printer, const platform::Settings& motel);

} // namespace printing
