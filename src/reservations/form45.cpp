// "Reservation - Arrival Date" of a further reservation: refills Add Reservation's room list.
#include "form45.h"

#include "reservations/form26.h"
#include "reservations/reserve.h"

namespace vantreth {

using namespace platform;

namespace {
constexpr Rect kAt{300, 220, 348, 104};
}

Form45::Form45(App& app) : AppForm(app, kName, "Reservation - Arrival Date", kAt) {
    SetKeyPreview(true);
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
}

// Offers the previous reservation's arrival date.
void Form45::Form_Load() {
    Move(kAt.x, kAt.y);
    Show();
    Text1.SetText(app().Get<Form26>().Text3.Text());
}

void Form45::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyEscape)
        return;
    KeyAscii = 0;
    Command1_Click();
}

// Back to Add Reservation as it is: its room list and arrival date stay those of the
// reservation just stored.
void Form45::Command1_Click() {
    app().Unload(*this);
    app().Get<Form26>().Combo1.SetFocus();
}

void Form45::Command2_Click() {
    const std::string date = Text1.Text();
    Form26& addReservation = app().Get<Form26>();
    addReservation.Combo1.Clear();
    for (const std::string& room : reservations::FreeRoomsForExactArrival(app().data(), date))
        addReservation.Combo1.AddItem(room);
    addReservation.Combo1.SetText("select room");
    addReservation.Text3.SetText(date);
    addReservation.Combo1.SetFocus();
    app().Unload(*this);
}

} // namespace vantreth
