#include "form66.h"

#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/room_record.h"
#include "reservations/form65.h"
#include "reservations/room_availability.h"

namespace vantreth {

Form66::Form66(App& app) : AppForm(app, kName, "Date Chart", {640, 80, 260, 488}) {
    List1.on_dbl_click = [this] { List1_DblClick(); };
    Command1.on_click = [this] { Command1_Click(); };
    // The chart serves the report: Esc in it is the report's "Cancel / Esc".
    SetEscPartOf(app.Get<Form65>());
}

void Form66::Form_Load() {
    Show();
    for (std::string& day : DateChart(app().clock().Today()))
        List1.AddItem(std::move(day));
}

void Form66::List1_DblClick() {
    if (List1.ListIndex() < 0)
        return;
    const std::string day = List1.Text();
    const RoomGroupCounts counts = CountAvailableRooms(
        records::ReadAllRooms(app().data()), records::GuestSlots(app().data(), records::kReservationsFile),
        day, app().clock().Today().year);
    Form65& report = app().Get<Form65>();
    report.ShowCounts(counts);
    report.Label1.SetCaption(day);
    app().Unload(*this);
}

void Form66::Command1_Click() {
    app().Unload(*this);
}

} // namespace vantreth
