#include "form60.h"

#include "callacct/form61.h"
#include "printing/call_reports.h"

namespace vantreth {

using namespace platform;

Form60::Form60(App& app) : AppForm(app, kName, "Phone Log Reports", {220, 120, 600, 440}) {
    SetKeyPreview(true);
    Combo1.on_click = [this] { Combo1_Click(); };
    Combo2.on_click = [this] { Combo2_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command1.on_click = [this] { Command1_Click(); };
}

void Form60::Form_Load() {
    Show();
    for (const char* month :
         {"1  -January", "2  -February", "3  -March", "4  -April", "5  -May", "6  -June", "7  -July",
          "8  -August", "9  -September", "10 -October", "11 -November", "12 -Decemeber"})
        Combo2.AddItem(month);
    for (const char* year : {"2004", "2005", "2006", "2007", "2008", "2009", "2010"})
        Combo1.AddItem(year);
}

// The "Cancel / Esc" button answers the Esc key.
void Form60::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        Command1_Click();
    }
}

// The year only opens the way to the month: the dates offered run back from today.
void Form60::Combo1_Click() {
    Combo2.SetEnabled(true);
}

void Form60::Combo2_Click() {
    app().Load(app().Get<Form61>());
}

void Form60::Command2_Click() {
    printing::PrintCallReport(app().printer(), app().data(), Label1.Caption());
}

void Form60::Command1_Click() {
    app().Unload(*this);
}

} // namespace vantreth
