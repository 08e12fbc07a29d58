#include "form34.h"

#include "printing/totals_report.h"

namespace vantreth {

Form34::Form34(App& app) : AppForm(app, kName, "Form34", {200, 200, 240, 120}) {}

// An invisible window left loaded could neither print again nor let the program end.
void Form34::Form_Load() {
    printing::PrintOldTotalsReports(app().printer(), app().data(), app().clock().DateText());
    app().Unload(*this);
}

} // namespace vantreth
