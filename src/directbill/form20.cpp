#include "form20.h"

#include "directbill/account_boxes.h"
#include "platform/text.h"
#include "records/direct_bill_files.h"

#include <optional>

namespace vantreth {

using namespace platform;

Form20::Form20(App& app) : AppForm(app, kName, "Add Direct Bill Account", {280, 90, 632, 580}) {
    SetKeyPreview(true);
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Text1.on_key_press = [this](int& KeyAscii) { EnterMovesFocus(KeyAscii, Text2); };
    Text2.on_key_press = [this](int& KeyAscii) { EnterMovesFocus(KeyAscii, Text3); };
    Text3.on_key_press = [this](int& KeyAscii) { EnterMovesFocus(KeyAscii, Text4); };
    Text4.on_key_press = [this](int& KeyAscii) { EnterMovesFocus(KeyAscii, Text5); };
    Text5.on_key_press = [this](int& KeyAscii) { EnterMovesFocus(KeyAscii, Text6); };
    Text6.on_key_press = [this](int& KeyAscii) { EnterMovesFocus(KeyAscii, Text7); };
    Text7.on_key_press = [this](int& KeyAscii) { EnterMovesFocus(KeyAscii, Text8); };
    Text8.on_key_press = [this](int& KeyAscii) { EnterMovesFocus(KeyAscii, Text9); };
    Text9.on_key_press = [this](int& KeyAscii) { EnterMovesFocus(KeyAscii, Text10); };
    Text10.on_key_press = [this](int& KeyAscii) { EnterMovesFocus(KeyAscii, Text11); };
    Text11.on_key_press = [this](int& KeyAscii) { EnterMovesFocus(KeyAscii, Text12); };
}

// The number is issued as the window opens, whether or not the account is saved.
void Form20::Form_Load() {
    Show();
    Combo1.SetText("N");
    Combo1.AddItem("Y");
    Combo1.AddItem("N");
    const std::optional<long> number = records::IssueAccountNumber(app().data());
    if (!number) {
        MsgBox("There are no more direct bill account numbers. No account can be added.", vbOKOnly,
               "WARNING");
        app().Unload(*this);
        return;
    }
    Label16.SetCaption(std::to_string(*number));
}

void Form20::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        Command2_Click();
    }
}

// An account without a company name would count as deleted and never be listed, and a
// balance that is not a number would be stored as 0: both are refused.
void Form20::Command1_Click() {
    if (RefusedAccountBoxes(*this) || RefusedCents(Text12))
        return;
    records::DirectBillAccount account;
    directbill::SetAccountTexts(account, AccountBoxTexts(*this), true);
    account.Balance = directbill::TypedBalance(Text12.Text());
    account.TaxExempt = Fixed(Left(Combo1.Text(), 1), 1);
    account.DBNumber = Fixed(Label16.Caption(), 7);
    account.LastPaymentDate = Fixed("--/--/--", 10);
    account.LastPaymentAmount = Fixed("0", 10);
    records::AppendNewAccount(app().data(), account);
    app().Unload(*this);
}

// Only this button gives the number back.
void Form20::Command2_Click() {
    records::ReturnAccountNumber(app().data());
    app().Unload(*this);
}

} // namespace vantreth
