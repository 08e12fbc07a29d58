// The rooms-rented-per-shift printout window.
#include "audit/shift_rentals_form.h"

#include "printing/shift_rentals_report.h"

namespace vantreth {

ShiftRentalsForm::ShiftRentalsForm(App& app, const char* name, const char* shift, const char* label)
    : AppForm(app, name, "", {0, 0, 320, 80}),
      Label1(*this, "Label1", {.caption = label, .at = {16, 24, 288, 22}}), m_shift(shift) {}

void ShiftRentalsForm::Form_Load() {
    try {
        printing::PrintShiftRentals(app().printer(), app().data(), m_shift, app().clock().DateText());
    } catch (...) {
        app().Unload(*this);
        throw;
    }
    app().Unload(*this);
}

} // namespace vantreth
