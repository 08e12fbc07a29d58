#include "form27.h"

#include "app/front_desk_service.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "reservations/reservation_lists.h"

namespace vantreth {

Form27::Form27(App& app) : AppForm(app, kName, "Edit Reservation", {260, 110, 480, 480}) {
    List1.on_dbl_click = [this] { List1_DblClick(); };
    Command1.on_click = [this] { Command1_Click(); };
}

void Form27::Form_Load() {
    Show();
    const records::GuestSlots slots(app().data(), records::kReservationsFile);
    for (long n = 1; n <= slots.Count(); ++n)
        if (ListedForEditing(slots, n))
            List1.AddItem(EditListLine(slots, n));
}

void Form27::List1_DblClick() {
    if (List1.ListIndex() < 0)
        return;
    const ReservationKey key = EditListKey(List1.Text());
    app().gResDateKey = key.date;
    app().gResRoomKey = key.room;
    app().Load("Form36");
    app().Unload(*this);
}

void Form27::Command1_Click() {
    app().Unload(*this);
    FrontDeskWindow(app()).SetWindowState(platform::WindowState::Maximized);
}

} // namespace vantreth
