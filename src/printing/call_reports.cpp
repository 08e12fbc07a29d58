// The call accounting report's lines and printing.
#include "printing/call_reports.h"

#include "platform/text.h"

namespace printing {

using records::CallRecord;

std::string CallReportTitle(std::string_view dateText) {
    return "                       Call Accounting Report for " + std::string(dateText);
}

std::string CallExtensionText(const CallRecord& call) {
    const std::string field = call.ExtensionField();
    if (field == "1000")
        return "FRONT DESK";
    if (field == "400 ")
        return "CORDLESS";
    return field;
}

std::string CallTimeSuffix(const CallRecord& call) {
    const double hour = platform::Val(platform::Left(call.Time(), 2));
    return hour >= 12 && hour < 24 ? "PM" : "AM";
}

std::string CallTimeText(const CallRecord& call) {
    const std::string time = call.Time();
    const std::string hour = platform::Left(time, 2);
    static constexpr std::string_view kAfternoon[][2] = {
        {"13", "01"}, {"14", "02"}, {"15", "03"}, {"16", "04"}, {"17", "05"}, {"18", "06"},
        {"19", "07"}, {"20", "08"}, {"21", "09"}, {"22", "10"}, {"23", "11"}, {"24", "12"},
    };
    for (const auto& [from, to] : kAfternoon)
        if (hour == from)
            return std::string(to) + platform::Mid(time, 3);
    return time;
}

platform::PrintItems CallReportLine(const CallRecord& call) {
    platform::PrintItems items;
    items.Text(call.Date())
        .Tab(10)
        .Text(CallExtensionText(call))
        .Tab(29)
        .Text(CallTimeText(call) + " " + CallTimeSuffix(call))
        .Tab(43)
        .Text(call.AmountField())
        .Tab(59)
        .Text(call.Number());
    return items;
}

std::string CallListLine(const CallRecord& call) {
    const std::string gap(4, ' ');
    return call.Date() + gap + CallExtensionText(call) + gap + CallTimeText(call) + gap +
           CallTimeSuffix(call) + gap + call.AmountField() + gap + call.Number();
}

void PrintCallReport(platform::Printer& printer, const platform::DataFolder& folder,
                     std::string_view dateText) {
    // Read first: a log that cannot be read prints nothing rather than half a report.
    const std::vector<CallRecord> calls = records::ReadPhoneLog(folder, dateText);

    printer.EndDoc();
    printer.FontSize(10);
    printer.Print(CallReportTitle(dateText));
    printer.Print();
    printer.Print();
    printer.Print(kCallReportHeader);
    printer.Print(std::string(kCallReportRuleWidth, '='));
    for (const CallRecord& call : calls)
        printer.Print(CallReportLine(call));
    if (calls.empty()) {
        printer.Print();
        printer.Print();
        printer.Print(kNoCallsToday);
    }
    printer.EndDoc();
}

} // namespace printing
