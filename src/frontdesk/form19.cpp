#include "form19.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/settings_files.h"

namespace vantreth {

using namespace platform;

std::string TaxRateProblem(const std::string& text) {
    if (Trim(text).empty())
        return ""; // an empty box is no tax: it reads as 0
    if (!IsNonNegativeNumber(text))
        return "The tax rate you typed is not a number. Please type the rate as a fraction, like 0.06 for 6 "
               "%. "
               "Type 0 when there is no tax.";
    if (Val(text) >= 1)
        return "The tax rate is too high. Please type the rate as a fraction: type 0.06 for 6 %.";
    return "";
}

Form19::Form19(App& app) : AppForm(app, kName, "Tax Code", {340, 200, 304, 192}) {
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
}

void Form19::Form_Load() {
    Show();
    Text1.SetText(CStr(records::ReadStateTax(app().data())));
    Text2.SetText(CStr(records::ReadCityTax(app().data())));
}

// A box still showing the stored rate as loaded is that rate left as it is: written back byte
// for byte, before and without any check of typed text.
void Form19::Command1_Click() {
    const float stored[2] = {records::ReadStateTax(app().data()), records::ReadCityTax(app().data())};
    TextBox* boxes[2] = {&Text1, &Text2};
    Decimal rates[2];
    float values[2] = {};
    for (int i = 0; i < 2; ++i) {
        if (LeftAsLoaded(*boxes[i], CStr(stored[i]))) {
            rates[i] = Decimal::Of(stored[i]);
            values[i] = stored[i];
            continue;
        }
        const std::string problem = TaxRateProblem(boxes[i]->Text());
        if (!problem.empty()) {
            MsgBox(problem, vbOKOnly, "WARNING");
            boxes[i]->SetFocus();
            return;
        }
        rates[i] = Decimal::Parse(boxes[i]->Text());
        values[i] = static_cast<float>(Val(boxes[i]->Text()));
    }
    const double total = (rates[1] + rates[0]).ToDouble();
    records::WriteTaxRate(app().data(), total);
    app().gTaxRate = total;
    records::WriteStateTax(app().data(), values[0]);
    records::WriteCityTax(app().data(), values[1]);
    app().Unload(*this);
}

void Form19::Command2_Click() {
    app().Unload(*this);
}

} // namespace vantreth
