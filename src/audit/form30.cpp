// "Monthly Totals Report".
#include "audit/form30.h"

#include "audit/totals_windows.h"

namespace vantreth {

using namespace platform;

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

// Only enables the month; what is shown stays until a month is picked.
void Form30::Combo2_Click() {
    Combo1.SetEnabled(true);
}

void Form30::Combo1_Click() {
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

void Form30::Command2_Click() {
    audit::PrintMonthWindowReport(app().data(), app().printer(), Combo1.Text(), Combo2.Text(),
                                  Label16.Caption(), Label18.Caption(), Label20.Caption());
}

void Form30::Command1_Click() {
    app().Unload(*this);
}

} // namespace vantreth
