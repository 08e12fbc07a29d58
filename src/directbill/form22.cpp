#include "form22.h"

#include "directbill/account_boxes.h"
#include "platform/decimal.h"
#include "platform/text.h"
#include "printing/direct_bill_reports.h"
#include "records/direct_bill_files.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace vantreth {

using namespace platform;
using records::DirectBillAccount;

namespace {

// The balance box's text for a stored balance: rounded to the cent.
std::string BalanceText(float balance) {
    return AmountText(Decimal::Of(balance));
}

} // namespace

Form22::Form22(App& app) : AppForm(app, kName, "Edit Direct Bill Account", {270, 60, 676, 640}) {
    SetKeyPreview(true);
    Combo1.on_click = [this] { Combo1_Click(); };
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
    Command4.on_click = [this] { Command4_Click(); };
}

void Form22::Form_Load() {
    Show();
    FillAccountList();
    Combo1.SetFocus();
}

void Form22::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        Command2_Click();
    }
}

void Form22::FillAccountList() {
    for (const std::string& line : directbill::AccountListLines(app().data(), directbill::kEditListSeparator))
        Combo1.AddItem(line);
}

void Form22::SetBoxTexts(const directbill::AccountTexts& texts) {
    TextBox* boxes[] = {&Text1, &Text2, &Text3, &Text4,  &Text5, &Text6,
                        &Text7, &Text8, &Text9, &Text10, &Text11};
    for (size_t i = 0; i < texts.size(); ++i)
        boxes[i]->SetText(texts[i]);
}

void Form22::ClearAccount() {
    Label5.SetCaption("");
    SetBoxTexts({});
    Text12.SetText("");
    Command1.SetEnabled(false);
    Command4.SetEnabled(false);
    Command3.SetEnabled(false);
}

// The list line begins with the account's four-digit code. A line whose code finds no
// account empties the window, so that Save Changes cannot write the boxes of an
// earlier pick over another account.
void Form22::Combo1_Click() {
    const std::string code = Left(Combo1.Text(), 4);
    const std::optional<long> n = records::FindAccount(app().data(), code);
    if (!n) {
        ClearAccount();
        Text1.SetFocus();
        return;
    }
    const DirectBillAccount account = records::ReadAccount(app().data(), *n);
    Label5.SetCaption(code);
    SetBoxTexts(directbill::AccountTextsOf(account));
    Text12.SetText(BalanceText(account.Balance));
    Combo2.Clear();
    Combo2.AddItem("N");
    Combo2.AddItem("Y");
    Combo2.SetText(RTrim(account.TaxExempt));
    Command4.SetEnabled(true);
    Command1.SetEnabled(true);
    Command3.SetEnabled(directbill::EditNoticeAllowed(account.Balance));
    Text1.SetFocus();
}

// Stored as typed; an emptied balance box is a balance of 0. An empty company name would
// delete the account without the questions of Delete Account, and a balance that is not a
// number would be stored as 0: both are refused before anything is written.
void Form22::Command1_Click() {
    const double code = Val(Label5.Caption());
    const std::vector<DirectBillAccount> accounts = records::ReadAllAccounts(app().data());
    const auto found = std::find_if(accounts.begin(), accounts.end(),
                                    [&](const DirectBillAccount& a) { return Val(a.DBNumber) == code; });
    // A balance box still showing the stored balance as loaded is that balance left as it
    // is: written back byte for byte, before and without any check of typed text.
    const bool untouched = found != accounts.end() && LeftAsLoaded(Text12, BalanceText(found->Balance));
    if (RefusedAccountBoxes(*this, untouched))
        return;
    if (found != accounts.end()) {
        if (!untouched && RefusedCents(Text12))
            return;
        DirectBillAccount account = *found;
        directbill::SetAccountTexts(account, AccountBoxTexts(*this), false);
        if (!untouched)
            account.Balance = directbill::TypedBalance(Text12.Text());
        account.TaxExempt = Fixed(Left(Combo2.Text(), 1), 1);
        records::RewriteAccount(app().data(), static_cast<long>(found - accounts.begin()) + 1, account);
    }
    app().Unload(*this);
}

void Form22::Command2_Click() {
    app().Unload(*this);
}

// The notice shows the stored balance; the balance box only decides whether it prints.
void Form22::Command3_Click() {
    if (Val(Text12.Text()) == 0)
        return;
    const std::optional<DirectBillAccount> account = records::FindLiveAccount(app().data(), Label5.Caption());
    if (account)
        printing::PrintBillingNotice(app().printer(), app().settings(), app().clock().DateText(), *account,
                                     printing::NoticeForm::Full);
}

void Form22::Command4_Click() {
    if (MsgBox("Are you sure you want to delete this account?", vbYesNo | vbQuestion, "Delete Account") !=
        vbYes)
        return;
    if (MsgBox("Are you really sure you want to delete this account?", vbYesNo | vbQuestion,
               "Delete Account") != vbYes)
        return;
    const std::optional<long> n = records::FindAccount(app().data(), Label5.Caption());
    if (!n)
        return;
    DirectBillAccount account = records::ReadAccount(app().data(), *n);
    account.CompanyName = std::string(account.CompanyName.size(), ' ');
    records::RewriteAccount(app().data(), *n, account);
    MsgBox("Account has been deleted.", vbOKOnly, "ATTENTION");

    ClearAccount();
    Combo1.Clear();
    FillAccountList();
    Combo1.SetText("Select A Direct Bill Account Here");
    Combo1.SetFocus();
}

} // namespace vantreth
