#include "form25.h"

#include "app/front_desk_service.h"
#include "reservations/reservation_lists.h"

namespace vantreth {

using namespace platform;

Form25::Form25(App& app) : AppForm(app, kName, "Reservations", {330, 170, 360, 294}) {
    SetKeyPreview(true);
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
    Command4.on_click = [this] { Command4_Click(); };
    Command5.on_click = [this] { Command5_Click(); };
}

void Form25::Form_Load() {
    Show();
}

void Form25::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyEscape)
        return;
    KeyAscii = 0;
    app().Unload(*this);
    ReturnToFrontDesk(app());
}

void Form25::Command1_Click() {
    app().Unload(*this);
    app().Unload(kFrontDeskWindow);
    app().Load("Form26");
}

void Form25::Command2_Click() {
    app().Unload(*this);
    app().Load("Form27");
}

void Form25::Command3_Click() {
    app().Unload(*this);
}

void Form25::Command4_Click() {
    if (MsgBox("Are you sure you want to cancel all reservations due in today?", vbYesNo | vbQuestion,
               "Cancel") != vbYes)
        return;
    CancelAllDueToday(app().data(), app().gClerk, app().clock().DateText());
    MsgBox("All reservations due in today have been canceled.", vbOKOnly, "Canceled");
    // The front desk is built afresh so that its count of today's arrivals is right.
    app().Unload(*this);
    RebuildFrontDesk(app());
}

void Form25::Command5_Click() {
    app().Load("Form68");
}

} // namespace vantreth
