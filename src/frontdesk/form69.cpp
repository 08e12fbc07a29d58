#include "form69.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/settings_files.h"

namespace vantreth {

using namespace platform;

Form69::Form69(App& app) : AppForm(app, kName, "Optional Rates", {300, 120, 392, 414}) {
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Text1.on_key_press = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
    Text2.on_key_press = [this](int& KeyAscii) { Text2_KeyPress(KeyAscii); };
    Text3.on_key_press = [this](int& KeyAscii) { Text3_KeyPress(KeyAscii); };
    Text4.on_key_press = [this](int& KeyAscii) { Text4_KeyPress(KeyAscii); };
    Text5.on_key_press = [this](int& KeyAscii) { Text5_KeyPress(KeyAscii); };
}

void Form69::Form_Load() {
    Show();
    const records::OptionalRates rates = records::ReadOptionalRates(app().data());
    Text1.SetText(StoredText(rates.Rate1));
    Text2.SetText(StoredText(rates.Rate2));
    Text3.SetText(StoredText(rates.Rate3));
    Text4.SetText(StoredText(rates.Rate4));
    Text5.SetText(StoredText(rates.Rate5));
    Text1.SetFocus();
}

// A cleared box empties its slot; any other text must be a rate.
void Form69::Command2_Click() {
    TextBox* boxes[] = {&Text1, &Text2, &Text3, &Text4, &Text5};
    // A box still showing the stored rate as loaded is that rate left as it is: written back
    // byte for byte, before and without any check of typed text.
    const records::OptionalRates stored = records::ReadOptionalRates(app().data());
    const float storedValues[5] = {stored.Rate1, stored.Rate2, stored.Rate3, stored.Rate4, stored.Rate5};
    float values[5] = {};
    for (int i = 0; i < 5; ++i) {
        const std::string& text = boxes[i]->Text();
        if (LeftAsLoaded(*boxes[i], StoredText(storedValues[i]))) {
            values[i] = storedValues[i];
            continue;
        }
        if (Trim(text).empty())
            continue;
        if (!IsNonNegativeNumber(text)) {
            MsgBox("The rate you typed is not a number. Please type the rate in dollars, like 45.50, or "
                   "clear the "
                   "box to leave that rate out.",
                   vbOKOnly, "WARNING");
            boxes[i]->SetFocus();
            return;
        }
        if (RefusedCents(*boxes[i]))
            return;
        values[i] = static_cast<float>(Val(text));
    }
    records::WriteOptionalRates(app().data(), {values[0], values[1], values[2], values[3], values[4]});
    app().Unload(*this);
}

void Form69::Command1_Click() {
    app().Unload(*this);
}

} // namespace vantreth
