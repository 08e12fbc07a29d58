#include "form23.h"

#include "directbill/direct_bill_accounts.h"
#include "platform/decimal.h"
#include "platform/text.h"
#include "printing/direct_bill_reports.h"
#include "records/direct_bill_files.h"

#include <optional>

namespace vantreth {

using namespace platform;
using records::DirectBillAccount;

Form23::Form23(App& app) : AppForm(app, kName, "Direct Bill Payments", {300, 200, 600, 256}) {
    SetKeyPreview(true);
    Combo1.on_click = [this] { Combo1_Click(); };
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
}

void Form23::Form_Load() {
    Show();
    for (const std::string& line :
         directbill::AccountListLines(app().data(), directbill::kPaymentListSeparator))
        Combo1.AddItem(line);
    Combo1.SetFocus();
}

void Form23::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        Command2_Click();
    }
}

// A line whose code finds no account empties the shown account, so that a payment can
// never go to the account of an earlier pick.
void Form23::Combo1_Click() {
    Command3.SetEnabled(false);
    const std::optional<long> n = records::FindAccount(app().data(), Left(Combo1.Text(), 4));
    if (n) {
        const DirectBillAccount account = records::ReadAccount(app().data(), *n);
        Label2.SetCaption(account.DBNumber + account.CompanyName);
        Label7.SetCaption(Decimal::Of(account.Balance).Rounded(2).Text());
        Command3.SetEnabled(directbill::PaymentNoticeAllowed(account.Balance));
    } else {
        Label2.SetCaption("");
        Label7.SetCaption("");
    }
    Command1.SetEnabled(true);
    Text1.SetEnabled(true);
    Text1.SetFocus();
}

// The payment must be a number and go to a shown account; otherwise nothing is written,
// not even to the shift's and the day's cash.
void Form23::Command1_Click() {
    if (!records::FindAccount(app().data(), Left(Label2.Caption(), 4))) {
        MsgBox(
            "You did not select a direct bill client. Select a client or click 'Cancel / Esc' to exit this "
            "module.",
            vbOKOnly, "WARNING");
        Combo1.SetFocus();
        return;
    }
    if (!directbill::IsAmountText(Text1.Text())) {
        MsgBox("The payment must be a number. Please fix or click 'Cancel / Esc' to exit this module.",
               vbOKOnly, "WARNING");
        Text1.SetFocus();
        return;
    }
    if (RefusedCents(Text1))
        return;
    const directbill::Payment payment{.shownAccount = Label2.Caption(),
                                      .shownBalance = Label7.Caption(),
                                      .amount = Text1.Text(),
                                      .shift = app().gShift,
                                      .clerk = app().gClerk,
                                      .dateText = app().clock().DateText()};
    if (!directbill::TakePayment(app().data(), payment))
        return;
    Label2.SetCaption("");
    Label7.SetCaption("");
    Text1.SetText("");
    Combo1.SetText("Select a Client");
    Combo1.SetFocus();
}

void Form23::Command2_Click() {
    app().Unload(*this);
}

void Form23::Command3_Click() {
    const std::optional<DirectBillAccount> account = records::FindLiveAccount(
        app().data(), Left(Combo1.Text(), 4), [](const DirectBillAccount& a) { return a.Balance != 0; });
    if (account)
        printing::PrintBillingNotice(app().printer(), app().settings(), app().clock().DateText(), *account,
                                     printing::NoticeForm::Short);
}

} // namespace vantreth
