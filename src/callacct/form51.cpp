#include "form51.h"

#include "printing/call_reports.h"

namespace vantreth {

Form51::Form51(App& app) : AppForm(app, kName, "Call Report", {0, 0, 312, 60}) {}

// Never shown. It unloads itself once printed, so that every night audit that loads it
// prints the day's calls, also a second audit in the same run of the program.
void Form51::Form_Load() {
    const std::string today = app().clock().DateText();
    app().Unload(*this);
    printing::PrintCallReport(app().printer(), app().data(), today);
}

} // namespace vantreth
