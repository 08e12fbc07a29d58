// The cash entry window.
#include "audit/cash_in_form.h"

#include "platform/text.h"

namespace vantreth {

using namespace platform;

CashInForm::CashInForm(App& app, const char* name, const char* caption, const char* heading,
                       records::ShiftCashField field)
    : CashInForm(
          app, name, {.caption = caption, .heading = heading},
          [program = &app, field](const CashEntry& entry) { RecordCashIn(program->data(), entry, field); }) {}

CashInForm::CashInForm(App& app, const char* name, const CashEntryWording& wording,
                       std::function<void(const CashEntry&)> record)
    : AppForm(app, name, wording.caption, {320, 200, 360, 168}), Label1(*this, "Label1",
                                                                        {.caption = wording.heading,
                                                                         .at = {16, 14, 328, 26},
                                                                         .fontSize = 12,
                                                                         .bold = true,
                                                                         .align = Align::Center}),
      Label2(*this, "Label2",
             {.caption = wording.amountLabel,
              .at = {48, 62, wording.amountLabelWidth, 22},
              .align = Align::Right}),
      Command2(*this, "Command2", {.caption = wording.enterButton, .at = {36, 112, 136, 32}}),
      m_record(std::move(record)) {
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

bool RefusedEntryAmount(Form& window, TextBox& box) {
    if (IsEntryAmountText(box.Text()))
        return false;
    window.MsgBox(kEntryAmountWarning, vbOKOnly, "WARNING");
    box.SetFocus();
    return true;
}

void CashInForm::Command2_Click() {
    if (RefusedEntryAmount(*this, Text1) || RefusedCents(Text1))
        return;
    const CashEntry entry{.dateText = app().clock().DateText(),
                          .timeText = app().clock().TimeText(),
                          .shift = app().gShift,
                          .clerk = app().gClerk,
                          .amount = Val(Text1.Text())};
    m_record(entry);
    app().Unload(*this);
}

} // namespace vantreth
