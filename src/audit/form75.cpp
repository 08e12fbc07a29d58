// "Petty Cash Out".
#include "audit/form75.h"

#include "audit/cash_entries.h"
#include "platform/text.h"

namespace vantreth {

using namespace platform;

Form75::Form75(App& app) : AppForm(app, kName, "Petty Cash Out", {320, 200, 360, 168}) {
    SetKeyPreview(true);
    Text1.on_key_press = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
}

void Form75::Form_Load() {
    Show();
    Text1.SetFocus();
}

// The cancel button is captioned "Cancel / Esc", so the Esc key cancels too.
void Form75::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        app().Unload(*this);
    }
}

void Form75::Text1_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyReturn)
        return;
    KeyAscii = 0;
    Command2.SetFocus();
}

void Form75::Command1_Click() {
    app().Unload(*this);
}

void Form75::Command2_Click() {
    if (!IsEntryAmountText(Text1.Text())) {
        MsgBox(kEntryAmountWarning, vbOKOnly, "WARNING");
        Text1.SetFocus();
        return;
    }
    const CashEntry entry{.dateText = app().clock().DateText(),
                          .timeText = app().clock().TimeText(),
                          .shift = app().gShift,
                          .clerk = app().gClerk,
                          .amount = Val(Text1.Text())};
    RecordPettyCashOut(app().data(), entry);
    app().Unload(*this);
}

} // namespace vantreth
