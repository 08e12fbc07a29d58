#include "form37.h"

#include "records/filenames.h"
#include "records/guest_record.h"
#include "reservations/reservation_lists.h"

namespace vantreth {

Form37::Form37(App& app) : AppForm(app, kName, "Todays Reservations", {300, 150, 400, 366}) {
    SetKeyPreview(true);
    List1.on_dbl_click = [this] { List1_DblClick(); };
    Command1.on_click = [this] { Command1_Click(); };
}

void Form37::Form_Load() {
    Show();
    const std::string today = app().clock().DateText();
    const records::GuestSlots slots(app().data(), records::kReservationsFile);
    for (long n = 1; n <= slots.Count(); ++n)
        if (ArrivesOn(slots, n, today))
            List1.AddItem(TodayListLine(slots, n));
}

void Form37::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == platform::vbKeyEscape) {
        KeyAscii = 0;
        app().Unload(*this);
    }
}

void Form37::List1_DblClick() {
    if (List1.ListIndex() < 0)
        return;
    const ReservationKey key = TodayListKey(List1.Text(), app().clock().DateText());
    app().gResDateKey = key.date;
    app().gResRoomKey = key.room;
    app().Load("Form36");
    app().Unload(*this);
}

void Form37::Command1_Click() {
    app().Unload(*this);
}

} // namespace vantreth
