// "Totals Report" (daily).
#include "audit/form48.h"

#include "audit/form49.h"

namespace vantreth {

using namespace platform;

Form48::Form48(App& app) : AppForm(app, kName, "Totals Report", {180, 110, 584, 372}) {
    SetKeyPreview(true);
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
}

void Form48::Form_Load() {
    Show();
    app().Load(app().Get<Form49>());
}

void Form48::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        Command1_Click();
    }
}

std::array<Label*, 10> Form48::ValueLabels() {
    return {&Label11, &Label12, &Label13, &Label14, &Label15,
            &Label16, &Label17, &Label18, &Label19, &Label20};
}

void Form48::ShowFigures(const audit::DailyTotalsFigures& figures) {
    Label22.SetCaption(figures.dateText);
    const std::array<Label*, 10> labels = ValueLabels();
    for (size_t i = 0; i < labels.size(); ++i)
        labels[i]->SetCaption(figures.amounts[i]);
    Label25.SetCaption(figures.stateTax);
    Label26.SetCaption(figures.cityTax);
    Label24.SetCaption(figures.roomsRented);
}

void Form48::Command1_Click() {
    app().Unload(*this);
}

void Form48::Command2_Click() {
    app().Load(app().Get<Form49>());
}

// Prints what the window shows, as shown.
void Form48::Command3_Click() {
    audit::DailyTotalsFigures figures;
    figures.dateText = Label22.Caption();
    const std::array<Label*, 10> labels = ValueLabels();
    for (size_t i = 0; i < labels.size(); ++i)
        figures.amounts[i] = labels[i]->Caption();
    figures.stateTax = Label25.Caption();
    figures.cityTax = Label26.Caption();
    figures.roomsRented = Label24.Caption();
    printing::PrintDailyTotalsPage(app().printer(), audit::DailyTotalsWindowPage(figures));
}

} // namespace vantreth
