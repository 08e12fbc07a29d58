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

void Form19::Command1_Click() {
    for (TextBox* box : {&Text1, &Text2}) {
        const std::string problem = TaxRateProblem(box->Text());
        if (!problem.empty()) {
            MsgBox(problem, vbOKOnly, "WARNING");
            box->SetFocus();
            return;
        }
    }
    const double total = (Decimal::Parse(Text2.Text()) + Decimal::Parse(Text1.Text())).ToDouble();
    records::WriteTaxRate(app().data(), total);
    app().gTaxRate = total;
    records::WriteStateTax(app().data(), static_cast<float>(Val(Text1.Text())));
    records::WriteCityTax(app().data(), static_cast<float>(Val(Text2.Text())));
    app().Unload(*this);
}

void Form19::Command2_Click() {
    app().Unload(*this);
}

} // namespace vantreth
