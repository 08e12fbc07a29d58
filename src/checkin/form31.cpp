#include "form31.h"

#include "checkin/form2.h"
#include "checkin/form32.h"
#include "stay/checkin_commit.h"

namespace vantreth {

using namespace platform;

Form31::Form31(App& app) : AppForm(app, kName, "Select Payment Type", {400, 260, 280, 150}) {
    List1.on_key_press = [this](int& KeyAscii) { List1_KeyPress(KeyAscii); };
}

void Form31::Form_Load() {
    Show();
    List1.AddItem("CASH or CHECK");
    List1.AddItem("CREDIT");
    List1.AddItem("DIRECT BILL");
}

// Enter copies the entry into the check-in's payment list; any key sets the panels for
// the entry chosen and closes this window.
void Form31::List1_KeyPress(int& KeyAscii) {
    form2& checkIn = app().Get<form2>();
    app().Load(checkIn);
    const std::string chosen = List1.Text();
    if (KeyAscii == vbKeyReturn)
        checkIn.Combo2.SetText(chosen);
    if (chosen == "CASH or CHECK") {
        checkIn.Combo5.Clear();
        checkIn.Frame3.SetEnabled(true);
        checkIn.Frame2.SetEnabled(false);
        checkIn.Frame4.SetEnabled(false);
        checkIn.Text7.SetText(stay::StayTotalAsCash(checkIn.Label25.Caption()));
        checkIn.Frame5.SetEnabled(true);
        checkIn.Text9.SetFocus();
    } else if (chosen == "CREDIT") {
        checkIn.Frame3.SetEnabled(false);
        checkIn.Frame4.SetEnabled(false);
        checkIn.Frame2.SetEnabled(true);
        checkIn.Text7.SetText("");
        checkIn.Combo4.SetFocus();
    } else if (chosen == "DIRECT BILL") {
        checkIn.Frame3.SetEnabled(false);
        checkIn.Frame2.SetEnabled(false);
        checkIn.Frame4.SetEnabled(true);
        checkIn.Combo5.SetText("select direct bill client");
        // Deleted accounts are not offered: a stay billed to one would never be listed or billed.
        for (const std::string& entry : stay::DirectBillList(app().data()))
            checkIn.Combo5.AddItem(entry);
        checkIn.Combo5.SetFocus();
        app().Load(app().Get<Form32>());
    }
    app().Unload(*this);
}

} // namespace vantreth
