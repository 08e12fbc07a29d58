#include "form5.h"
#include "platform/engine.h"

#include "frontdesk/form1.h"
#include "platform/text.h"
#include "records/shift_record.h"

namespace vantreth {

using namespace platform;

Form5::Form5(App& app) : AppForm(app, kName, "Change Shift", {300, 180, 360, 276}) {
    SetKeyPreview(true);
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
    Command4.on_click = [this] { Command4_Click(); };
    Command5.on_click = [this] { Command5_Click(); };
    Text1.on_key_press = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
}

void Form5::Form_Load() {
    Show();
}

// However the window closes, the front desk comes back: the "S" key had unloaded it.
void Form5::Form_Unload() {
    app().Load(app().Get<Form1>());
}

void Form5::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        app().Unload(*this);
    }
}

void Form5::PickShift(const std::string& letter) {
    Label5.SetVisible(true);
    Label4.SetVisible(true);
    Label2.SetVisible(true);
    Text1.SetVisible(true);
    Label4.SetCaption(letter);
    Text1.SetText("");
    Text1.SetFocus();
}

// The second initial commits the shift. Only a printable key counts as an initial:
// Backspace still edits the box and Enter does nothing.
void Form5::Text1_KeyPress(int& KeyAscii) {
    if (Text1.Text().size() != 1 || KeyAscii < 32 || KeyAscii == 127)
        return;
    std::string initials = Text1.Text() + static_cast<char>(KeyAscii);
    KeyAscii = 0;
    Text1.SetText(initials);
    Commit(UCase(initials));
    if (app().gShift == "B") {
        Form1& frontDesk = app().Get<Form1>();
        frontDesk.Label36.SetVisible(false);
        app().gSleepersDone = 0;
        frontDesk.List1.SetVisible(false);
    }
    app().Unload(*this);
}

void Form5::Command1_Click() {
    if (Label4.Caption().empty() || Text1.Text().empty()) {
        MsgBox(
            "You did not select a shift and/or initials. Please fix or click 'Cancel' to exit this module.",
            vbOKOnly, "WARNING");
        return;
    }
    Commit(Text1.Text());
    app().Unload(*this);
}

void Form5::Command2_Click() {
    app().Unload(*this);
    app().Load(app().Get<Form1>());
}

void Form5::Commit(const std::string& clerk) {
    records::ShiftRecord record;
    record.Shift = Fixed(Label4.Caption(), 1);
    record.Clerk = Fixed(clerk, 2);
    platform::DescribeStep(app().data(),
                           "Change of shift to shift " + record.Shift + ", clerk " + Trim(record.Clerk));
    records::WriteShift(app().data(), record);

    Form1& frontDesk = app().Get<Form1>();
    app().Load(frontDesk);
    frontDesk.Label25.SetCaption(record.Shift);
    frontDesk.Label26.SetCaption(record.Clerk);
    app().gShift = record.Shift;
    app().gClerk = record.Clerk;
}

} // namespace vantreth
