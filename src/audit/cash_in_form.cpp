// The cash-in entry window.
#include "audit/cash_in_form.h"

#include "audit/cash_entries.h"
#include "platform/text.h"

namespace vantreth {

using namespace platform;

CashInForm::CashInForm(App& app, const char* name, const char* caption, const char* heading,
                       records::ShiftCashField field)
    : AppForm(app, name, caption, {320, 200, 360, 168}), Label1(*this, "Label1",
                                                                {.caption = heading,
                                                                 .at = {16, 14, 328, 26},
                                                                 .fontSize = 12,
                                                                 .bold = true,
                                                                 .align = Align::Center}),
      m_field(field) {
    SetKeyPreview(true);
    Text1.on_key_press = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
}

void CashInForm::Form_Load() {
    Show();
    Text1.SetFocus();
}

// The cancel button is captioned "Cancel / Esc", so the Esc key cancels too.
void CashInForm::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        app().Unload(*this);
    }
}

void CashInForm::Text1_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyReturn)
        return;
    KeyAscii = 0;
    Command2.SetFocus();
}

void CashInForm::Command1_Click() {
    app().Unload(*this);
}

void CashInForm::Command2_Click() {
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
    RecordCashIn(app().data(), entry, m_field);
    app().Unload(*this);
}

} // namespace vantreth
