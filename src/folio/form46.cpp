// The Do Not Rent List window.
#include "form46.h"

#include "app/front_desk_service.h"

namespace vantreth {

using namespace platform;

Form46::Form46(App& app) : AppForm(app, kName, "Do Not Rent List", {260, 120, 500, 380}) {
    SetKeyPreview(true);
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
    Text1.on_key_press = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
    Text2.on_key_press = [this](int& KeyAscii) { Text2_KeyPress(KeyAscii); };
    List1.on_dbl_click = [this] { List1_DblClick(); };
}

void Form46::Form_Load() {
    Show();
    FillList();
}

// The main menu unloaded the front desk to open this window: however it closes, the
// front desk comes back and rebuilds itself.
void Form46::Form_Unload() {
    ReturnToFrontDesk(app());
}

void Form46::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        app().Unload(*this);
    }
}

void Form46::Command1_Click() {
    app().Unload(*this);
    ReturnToFrontDesk(app());
}

void Form46::Command2_Click() {
    Text1.SetVisible(true);
    Text2.SetVisible(true);
    Label3.SetVisible(true);
    Label4.SetVisible(true);
    Command3.SetVisible(true);
    Text1.SetFocus();
}

void Form46::Text1_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyReturn)
        return;
    KeyAscii = 0;
    Text2.SetFocus();
}

void Form46::Text2_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyReturn)
        return;
    KeyAscii = 0;
    Command3.SetFocus();
}

// A last name of blanks only counts as empty: stored, it would be a removed entry.
void Form46::Command3_Click() {
    if (records::AddNoRent(app().data(), Text1.Text(), Text2.Text()) != 0)
        FillList();
    HideEntry();
}

// The entry is found again by both names rather than by the joined line, so "VAN DER" "BERG"
// and "VAN" "DER BERG" stay two people.
void Form46::List1_DblClick() {
    const int index = List1.ListIndex();
    if (index < 0 || index >= static_cast<int>(m_entries.size()))
        return;
    if (MsgBox("Do you want this person taken off of the no rent list?", vbYesNo | vbQuestion, "Take Off?") !=
        vbYes)
        return;
    const records::NoRentEntry chosen = m_entries[static_cast<size_t>(index)];
    records::RemoveNoRent(app().data(), chosen.lastName, chosen.firstName);
    FillList();
}

void Form46::FillList() {
    m_entries = records::ReadNoRentList(app().data());
    List1.Clear();
    for (const records::NoRentEntry& entry : m_entries)
        List1.AddItem(entry.line);
}

void Form46::HideEntry() {
    Text1.SetText("");
    Text2.SetText("");
    Text1.SetVisible(false);
    Text2.SetVisible(false);
    Label3.SetVisible(false);
    Label4.SetVisible(false);
    Command3.SetVisible(false);
}

} // namespace vantreth
