// The one-file totals report's lines and printing.
#include "printing/totals_report.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/record_file.h"

#include <utility>

namespace printing {

using records::DayTotals;

std::string TotalsReportTitle(std::string_view today) {
    return "                          Totals Report for " + std::string(today);
}

std::vector<platform::PrintItems> TotalsReportAmountLines(const DayTotals& totals) {
    const std::pair<const char*, float> amounts[] = {
        {"                          Room Rent........", totals.RoomRent},
        {"                          Gross Rent.......", totals.GrossRent},
        {"                          Tax..............", totals.Tax},
        {"                          Cash.............", totals.Cash},
        {"                          Pet or Other.....", totals.PetOther},
        {"                          Phone............", totals.PhoneCharges},
        {"                          Visa/Master......", totals.VisaMaster},
        {"                          American Ex......", totals.AmericanExpress},
        {"                          Discover.........", totals.Discover},
        {"                          Diners...........", totals.Diners},
    };
    std::vector<platform::PrintItems> lines;
    for (const auto& [label, amount] : amounts) {
        platform::PrintItems items;
        items.Text(label).Value(amount);
        lines.push_back(items);
    }
    return lines;
}

void PrintTotalsReport(platform::Printer& printer, const DayTotals& totals, std::string_view today) {
    printer.EndDoc();
    printer.FontSize(10);
    printer.Print(TotalsReportTitle(today));
    printer.Print(std::string(kTotalsReportRuleWidth, '-'));
    printer.Print();
    printer.Print();
    const std::vector<platform::PrintItems> lines = TotalsReportAmountLines(totals);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            printer.Print();
        printer.Print(lines[i]);
    }
    printer.EndDoc();
}

std::vector<DayTotals> ReadOldTotalsFile(const platform::DataFolder& folder) {
    const platform::FilePath path = folder.File(records::kOldTotalsFile);
    // Nothing writes this file: when it is not there, there is nothing to read.
    if (!platform::FileExists(path))
        return {};
    return records::RecordFile<DayTotals>(path).ReadAll();
}

int PrintOldTotalsReports(platform::Printer& printer, const platform::DataFolder& folder,
                          std::string_view today) {
    int printed = 0;
    for (const DayTotals& totals : ReadOldTotalsFile(folder)) {
        if (platform::RTrim(totals.DateText) != today)
            continue;
        PrintTotalsReport(printer, totals, today);
        ++printed;
    }
    return printed;
}

} // namespace printing
