// "Reservation - Arrival Date": the date checks and the free rooms of Add Reservation.
#include "form33.h"

#include "app/front_desk_service.h"
#include "platform/text.h"
#include "reservations/form26.h"
#include "reservations/reserve.h"

namespace vantreth {

using namespace platform;

Form33::Form33(App& app) : AppForm(app, kName, "Reservation - Arrival Date", {300, 200, 340, 146}) {
    SetKeyPreview(true);
    Text1.on_key_press = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
}

// A date handed over by the availability report is offered instead of today's.
void Form33::Form_Load() {
    Show();
    ZOrder();
    Text1.SetText(app().gPresetArrivalDate.empty() ? app().clock().DateText() : app().gPresetArrivalDate);
    Text1.SetFocus();
}

void Form33::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyEscape)
        return;
    KeyAscii = 0;
    Command1_Click();
}

void Form33::Text1_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyReturn)
        return;
    KeyAscii = 0;
    Command2.SetFocus();
}

void Form33::Command1_Click() {
    app().gPresetArrivalDate = "";
    app().Unload(*this);
    app().Unload(app().Get<Form26>());
    ReturnToFrontDesk(app());
}

// The close box does what Cancel does: Add Reservation goes with this window and the
// front desk comes back.
void Form33::Form_QueryClose() {
    Command1_Click();
}

void Form33::Command2_Click() {
    const std::string date = Text1.Text();
    if (const auto problem = reservations::CheckArrivalDateText(date)) {
        const std::string message = reservations::ArrivalDateMessage(*problem);
        if (!message.empty())
            MsgBox(message, vbOKOnly, "WARNING");
        Text1.SetFocus();
        return;
    }
    app().gPresetArrivalDate = "";
    Form26& addReservation = app().Get<Form26>();
    for (const std::string& room :
         reservations::FreeRoomsForArrival(app().data(), date, app().clock().Today().year))
        addReservation.Combo1.AddItem(room);
    addReservation.Text3.SetText(date);
    app().Unload(*this);
    addReservation.SetWindowState(WindowState::Maximized);
    addReservation.Combo1.SetFocus();
    app().gHistoryForReservation = 1;
    app().Load("Form14");
}

} // namespace vantreth
