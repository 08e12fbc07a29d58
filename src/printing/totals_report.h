// The totals report printed from the single old totals file: one report for each of
// the file's records that carries today's date.
#pragma once

#include "platform/files.h"
#include "platform/printer.h"
#include "records/day_totals.h"

#include <string>
#include <string_view>
#include <vector>

namespace printing {

inline constexpr int kTotalsReportRuleWidth = 72;

std::string TotalsReportTitle(std::string_view today);
// The ten amount lines in printed order: the label, then the amount as a value.
std::vector<platform::PrintItems> TotalsReportAmountLines(const records::DayTotals& totals);

// Prints one report for these totals as one document.
void PrintTotalsReport(platform::Printer& printer, const records::DayTotals& totals, std::string_view today);

// Every record of the old totals file ("oldtotals" in the data folder, beside the totals/
// sub-folder), record 1 first. When there is no such file there are none and nothing is
// created.
std::vector<records::DayTotals> ReadOldTotalsFile(const platform::DataFolder& folder);

// One report for each record of the old totals file whose DateText, without trailing
// blanks, is today's date text. Returns how many were printed.
int PrintOldTotalsReports(platform::Printer& printer, const platform::DataFolder& folder,
                          std::string_view today);

} // namespace printing
