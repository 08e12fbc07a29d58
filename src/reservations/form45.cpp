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

// Back to Add Reservation for the same date: its room list is built again, so the room
// of the reservation just stored is no longer offered, and no room stays picked.
void Form45::Command1_Click() {
    ShowFreeRooms(app().Get<Form26>().Text3.Text());
    app().Unload(*this);
}

void Form45::Command2_Click() {
    ShowFreeRooms(Text1.Text());
    app().Unload(*this);
}

void Form45::ShowFreeRooms(const std::string& date) {
    Form26& addReservation = app().Get<Form26>();
    addReservation.Combo1.Clear();
    for (const std::string& room :
         reservations::FreeRoomsForFurtherArrival(app().data(), date, app().clock().Today().year))
        addReservation.Combo1.AddItem(room);
    addReservation.Combo1.SetText("select room");
    addReservation.Text3.SetText(date);
    addReservation.Combo1.SetFocus();
}

} // namespace vantreth
