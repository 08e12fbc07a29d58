#include "form21.h"

#include "directbill/form20.h"
#include "directbill/form22.h"
#include "directbill/form23.h"
#include "printing/direct_bill_reports.h"

namespace vantreth {

using namespace platform;

Form21::Form21(App& app) : AppForm(app, kName, "Direct Bill Menu", {330, 150, 340, 362}) {
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
    Command4.on_click = [this] { Command4_Click(); };
    Command5.on_click = [this] { Command5_Click(); };
    Command6.on_click = [this] { Command6_Click(); };
}

void Form21::Form_Load() {
    Show();
}

// The add window replaces the menu.
void Form21::Command1_Click() {
    app().Unload(*this);
    app().Load(app().Get<Form20>());
}

void Form21::Command2_Click() {
    app().Load(app().Get<Form22>());
}

void Form21::Command3_Click() {
    printing::PrintCustomerList(app().printer(), app().data());
}

void Form21::Command4_Click() {
    if (MsgBox("This will print a billing notice for Direct Bill accounts with a balance due. Continue?",
               vbYesNo | vbQuestion, "Print") != vbYes)
        return;
    printing::PrintBillingStatements(app().printer(), app().data(), app().settings(),
                                     app().clock().DateText());
}

void Form21::Command5_Click() {
    app().Unload(*this);
}

void Form21::Command6_Click() {
    app().Load(app().Get<Form23>());
}

} // namespace vantreth
