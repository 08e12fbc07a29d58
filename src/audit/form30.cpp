// "Monthly Totals Report".
#include "audit/form30.h"

#include "audit/totals_windows.h"

namespace vantreth {

using namespace platform;

namespace {
constexpr const char* kPickMonthWarning = "Please pick a year and then a month before you print the report.";
} // namespace

Form30::Form30(App& app) : AppForm(app, kName, "Monthly Totals Report", {120, 80, 772, 496}) {
    SetKeyPreview(true);
    Combo2.on_click = [this] { Combo2_Click(); };
    Combo1.on_click = [this] { Combo1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command1.on_click = [this] { Command1_Click(); };
}

void Form30::Form_Load() {
    Show();
    for (const char* month : audit::kMonthItems)
        Combo1.AddItem(month);
    for (const std::string& year : audit::YearItems(app().clock().Today().year))
        Combo2.AddItem(year);
}

void Form30::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        Command1_Click();
    }
}

// A year change with a month already picked shows that month of the new year, so the
// screen never mixes one year's days with another's totals.
void Form30::Combo2_Click() {
    Combo1.SetEnabled(true);
    if (MonthAndYearPicked())
        ShowMonth();
}

void Form30::Combo1_Click() {
    if (MonthAndYearPicked())
        ShowMonth();
}

bool Form30::MonthAndYearPicked() const {
    return Combo1.ListIndex() >= 0 && Combo2.ListIndex() >= 0;
}

void Form30::ShowMonth() {
    List1.Clear();
    const audit::MonthFigures figures = audit::ReadMonthFigures(app().data(), Combo1.Text(), Combo2.Text());
    for (const std::string& row : figures.rows)
        List1.AddItem(row);
    Label10.SetCaption(figures.rent);
    Label11.SetCaption(figures.grossRent);
    Label13.SetCaption(figures.tax);
    Label12.SetCaption(figures.cash);
    Label14.SetCaption(figures.other);
    Label15.SetCaption(figures.phone);
    Label16.SetCaption(figures.rooms);
    Label18.SetCaption(figures.cityTax);
    Label20.SetCaption(figures.stateTax);
}

// Without a year and a month there are no days to print: the box prompts are no key.
// The averages and tax lines are figured from the files now, for the month printed.
void Form30::Command2_Click() {
    if (!MonthAndYearPicked()) {
        MsgBox(kPickMonthWarning, vbOKOnly, "WARNING");
        if (Combo2.ListIndex() < 0)
            Combo2.SetFocus();
        else
            Combo1.SetFocus();
        return;
    }
    const audit::MonthFigures figures = audit::ReadMonthFigures(app().data(), Combo1.Text(), Combo2.Text());
    audit::PrintMonthWindowReport(app().data(), app().printer(), Combo1.Text(), Combo2.Text(), figures.rooms,
                                  figures.cityTax, figures.stateTax);
}

void Form30::Command1_Click() {
    app().Unload(*this);
}

} // namespace vantreth
