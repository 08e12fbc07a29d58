#include "form32.h"

#include "checkin/form2.h"
#include "stay/checkin_commit.h"

namespace vantreth {

using namespace platform;

Form32::Form32(App& app) : AppForm(app, kName, "Select Direct Bill Account", {360, 220, 440, 270}) {
    List1.on_key_press = [this](int& KeyAscii) { List1_KeyPress(KeyAscii); };
}

// Deleted accounts are left out: a stay billed to one would never be listed or billed.
void Form32::Form_Load() {
    Show();
    for (const std::string& entry : stay::DirectBillList(app().data()))
        List1.AddItem(entry);
}

// Enter copies the chosen account into the check-in's account list; any key then
// opens the guest panel and closes this window.
void Form32::List1_KeyPress(int& KeyAscii) {
    form2& checkIn = app().Get<form2>();
    app().Load(checkIn);
    if (KeyAscii == vbKeyReturn)
        checkIn.Combo5.SetText(List1.Text());
    checkIn.Frame5.SetEnabled(true);
    checkIn.Text9.SetFocus();
    app().Unload(*this);
}

} // namespace vantreth
