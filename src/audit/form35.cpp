// The totals repair window.
#include "audit/form35.h"

#include "audit/cash_entries.h"
#include "audit/cash_in_form.h"
#include "audit/totals_windows.h"
#include "platform/text.h"

namespace vantreth {

using namespace platform;

Form35::Form35(App& app) : AppForm(app, kName, "", {160, 140, 690, 280}) {
    SetKeyPreview(true);
    Combo1.on_click = [this] { Combo1_Click(); };
    Command7.on_click = [this] { Command7_Click(); };
    Command8.on_click = [this] { Command8_Click(); };
    Command4.on_click = [this] { Command4_Click(); };
    Command5.on_click = [this] { Command5_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command11.on_click = [this] { Command11_Click(); };
    EnterMovesTo(Text5, Text1);
    EnterMovesTo(Text1, Text6);
    EnterMovesTo(Text6, Text7);
    EnterMovesTo(Text7, Command7);
    EnterMovesTo(Text2, Command4);
    EnterMovesTo(Text3, Text4);
    EnterMovesTo(Text4, Command5);
}

void Form35::EnterMovesTo(TextBox& box, Control& next) {
    box.on_key_press = [&next](int& KeyAscii) {
        if (KeyAscii == vbKeyReturn) {
            KeyAscii = 0;
            next.SetFocus();
        }
    };
}

void Form35::Form_Load() {
    Show();
    Combo1.AddItem("A");
    Combo1.AddItem("B");
    Combo1.AddItem("C");
}

void Form35::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        Command11_Click();
    }
}

void Form35::Combo1_Click() {
    Text2.SetFocus();
}

void Form35::Refuse(TextBox& box, const char* message) {
    MsgBox(message, vbOKOnly, "WARNING");
    box.SetFocus();
}

// Every box is checked before the record is touched: a typing slip must not zero a total.
void Form35::Command7_Click() {
    for (TextBox* box : {&Text5, &Text1, &Text6, &Text7}) {
        if (RefusedEntryAmount(*this, *box) || RefusedCents(*box))
            return;
    }
    audit::RecomputeDayTotals(app().data(), app().clock().DateText(), static_cast<float>(Val(Text5.Text())),
                              static_cast<float>(Val(Text1.Text())), static_cast<float>(Val(Text6.Text())),
                              static_cast<float>(Val(Text7.Text())));
}

void Form35::Command8_Click() {
    audit::ClearDayCash(app().data(), app().clock().DateText());
}

void Form35::Command4_Click() {
    if (RefusedEntryAmount(*this, Text2) || RefusedCents(Text2))
        return;
    audit::SetShiftCashFromRent(app().data(), Combo1.Text(), app().clock().DateText(), Val(Text2.Text()));
}

void Form35::Command5_Click() {
    const std::string digits = audit::TypedDateDigits(Text3.Text());
    if (digits.empty()) {
        Refuse(Text3, audit::kDateDigitsWarning);
        return;
    }
    if (!audit::IsRoomsCountText(Text4.Text())) {
        Refuse(Text4, audit::kRoomsCountWarning);
        return;
    }
    audit::SetRoomsRented(app().data(), digits, static_cast<float>(Val(Text4.Text())));
}

void Form35::Command2_Click() {
    audit::PrintRepairTotalsPage(app().data(), app().printer(), app().clock().DateText());
}

void Form35::Command11_Click() {
    app().Unload(*this);
}

} // namespace vantreth
