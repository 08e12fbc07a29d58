// The day picker of the daily totals report.
#include "audit/form49.h"

#include "audit/form48.h"
#include "audit/totals_windows.h"

namespace vantreth {

using namespace platform;

// Always opens at the same place, beside the totals window.
Form49::Form49(App& app) : AppForm(app, kName, "Totals Report", {620, 140, 480, 356}) {
    SetKeyPreview(true);
    List1.on_dbl_click = [this] { List1_DblClick(); };
    Command1.on_click = [this] { Command1_Click(); };
}

void Form49::Form_Load() {
    Show();
    for (const std::string& date : audit::DayPickerDates(app().clock().Today()))
        List1.AddItem(date);
}

void Form49::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        Command1_Click();
    }
}

void Form49::List1_DblClick() {
    if (List1.ListIndex() < 0)
        return;
    app().Get<Form48>().ShowFigures(audit::ReadDailyTotalsFigures(app().data(), List1.Text()));
    app().Unload(*this);
}

void Form49::Command1_Click() {
    app().Unload(*this);
    app().Unload("Form48");
}

} // namespace vantreth
