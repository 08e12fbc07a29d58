// "Add Additional Fee": puts one fee into the check-in window's fee panel and stay total.
#include "form64.h"

#include "checkin/form2.h"
#include "platform/decimal.h"
#include "platform/text.h"

namespace vantreth {

using namespace platform;

Form64::Form64(App& app) : AppForm(app, kName, "Add Additional Fee", {360, 220, 336, 180}) {
    Combo1.on_click = [this] { Combo1_Click(); };
    Text1.on_change = [this] { Text1_Change(); };
    Text1.on_key_press = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
}

void Form64::Form_Load() {
    Show();
    Combo1.AddItem("PET");
    Combo1.AddItem("ROLL AWAY");
    Combo1.AddItem("OTHER");
}

void Form64::Combo1_Click() {
    Text1.SetEnabled(true);
    Text1.SetFocus();
}

void Form64::Text1_Change() {
    Command2.SetEnabled(!Text1.Text().empty());
}

void Form64::Text1_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyReturn)
        return;
    KeyAscii = 0;
    Command2.SetEnabled(true);
    Command2.SetFocus();
}

// The window holds one fee: a fee of this stay already shown (the panel is enabled) is
// taken out of the totals before the new one replaces it, so the total matches the fee
// that will be posted.
void Form64::Command2_Click() {
    if (!IsNonNegativeNumber(Text1.Text())) {
        MsgBox("The amount you typed is not a number. Please type the amount in dollars, like 10.00.",
               vbOKOnly, "WARNING");
        Text1.SetFocus();
        return;
    }
    if (RefusedCents(Text1))
        return;
    form2& checkIn = app().Get<form2>();
    if (checkIn.Frame7.Enabled() && !checkIn.Label30.Caption().empty()) {
        const Decimal shown = Decimal::Parse(checkIn.Label30.Caption());
        checkIn.Label25.SetCaption((Decimal::Parse(checkIn.Label25.Caption()) - shown).Text());
        if (Val(checkIn.Text7.Text()) > 0)
            checkIn.Text7.SetText((Decimal::Parse(checkIn.Text7.Text()) - shown).Text());
    }

    checkIn.Frame7.SetEnabled(true);
    checkIn.Frame7.SetVisible(true);
    checkIn.Label28.SetCaption(Combo1.Text());
    checkIn.Label30.SetCaption(Text1.Text());
    app().Unload(*this);

    checkIn.Label25.SetCaption(
        (Decimal::Parse(checkIn.Label25.Caption()) + Decimal::Parse(checkIn.Label30.Caption())).Text());
    const double cash = Val(checkIn.Text7.Text());
    if (cash == 0) {
        MsgBox("I added the amount to the total stay charge.", vbOKOnly, "ATTENTION");
    } else if (cash > 0) {
        if (checkIn.Text7.Text() != checkIn.Label25.Caption())
            checkIn.Text7.SetText(
                (Decimal::Parse(checkIn.Label30.Caption()) + Decimal::Parse(checkIn.Text7.Text())).Text());
        MsgBox("I added the amount to the total stay and also increased the amount the guest is giving you "
               "in cash.",
               vbOKOnly, "ATTENTION");
    }

    checkIn.ZOrder();
    if (checkIn.Text9.Text().empty())
        checkIn.Text9.SetFocus();
    if (!checkIn.Text9.Text().empty() && !checkIn.Text10.Text().empty())
        checkIn.Command2.SetFocus();
}

void Form64::Command1_Click() {
    app().Unload(*this);
    form2& checkIn = app().Get<form2>();
    if (checkIn.Combo2.Text() != "choose payment")
        checkIn.Text9.SetFocus();
    else
        checkIn.Combo2.SetFocus();
}

} // namespace vantreth
