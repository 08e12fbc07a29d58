// "Duplicate?": "Yes" keeps the guest and payment for a further reservation, "No" closes
// Add Reservation.
#include "form44.h"

#include "app/front_desk_service.h"
#include "platform/text.h"
#include "records/reservation_files.h"
#include "reservations/form26.h"
#include "reservations/form45.h"

namespace vantreth {

using namespace platform;

namespace {
constexpr Rect kAt{280, 220, 400, 120};
}

Form44::Form44(App& app) : AppForm(app, kName, "Duplicate?", kAt) {
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
}

void Form44::Form_Load() {
    Move(kAt.x, kAt.y);
    Show();
    Command2.SetFocus();
}

// The further reservation gets its own confirmation number. The guest and payment stay as
// they are; the deposit was taken with the reservation just stored, so its amounts are
// emptied rather than stored and posted a second time.
void Form44::Command1_Click() {
    Form26& addReservation = app().Get<Form26>();
    addReservation.Label27.SetCaption(CStr(records::IssueConfirmationNumber(app().data())));
    addReservation.Text7.SetText("");
    addReservation.Text4.SetText("");
    addReservation.Frame5.SetEnabled(false);
    addReservation.Frame2.SetEnabled(false);
    addReservation.Frame4.SetEnabled(false);
    addReservation.Frame3.SetEnabled(false);
    addReservation.Combo2.SetEnabled(false);
    addReservation.Command2.SetEnabled(true);
    app().Load(app().Get<Form45>());
    app().Unload(*this);
}

void Form44::Command2_Click() {
    app().Unload(*this);
    app().Unload(app().Get<Form26>());
    ReturnToFrontDesk(app());
}

} // namespace vantreth
