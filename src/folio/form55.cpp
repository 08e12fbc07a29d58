#include "form55.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/room_record.h"

namespace vantreth {

using namespace platform;

bool EmergencyCheckOut(const DataFolder& data, const std::string& room) {
    const std::vector<records::GuestRecord> guests = records::ReadAllGuests(data, records::kGuestFile);
    for (size_t n = 0; n < guests.size(); ++n) {
        if (guests[n].IsFree() || guests[n].Room != room)
            continue;
        records::GuestRecord guest = guests[n];
        guest.ClearStay();
        records::WriteGuest(data, records::kGuestFile, static_cast<long>(n) + 1, guest);

        const std::vector<records::RoomRecord> rooms = records::ReadAllRooms(data);
        for (size_t r = 0; r < rooms.size(); ++r) {
            if (rooms[r].Room != room)
                continue;
            records::RoomRecord released = rooms[r];
            released.Clean = "N";
            released.Vacant = "Y";
            released.Service = "A";
            records::WriteRoom(data, static_cast<long>(r) + 1, released);
        }
        return true;
    }
    return false;
}

Form55::Form55(App& app) : AppForm(app, kName, "Emergency Check Out", {360, 200, 324, 128}) {
    Text1.on_change = [this] { Text1_Change(); };
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
}

void Form55::Form_Load() {
    Show();
    MsgBox(
        "Checking out this way is to only be used if the program is not working properly due to an error of "
        "some sort with one of the folios.",
        vbOKOnly, "Caution");
}

// Once available the button stays so, even when the room number is shortened again.
void Form55::Text1_Change() {
    if (Text1.Text().size() > 2)
        Command1.SetEnabled(true);
}

// A room without a guest is refused: releasing it would mark some room dirty and
// vacant while the clerk believes a guest was checked out.
void Form55::Command1_Click() {
    if (!EmergencyCheckOut(app().data(), Text1.Text())) {
        MsgBox("There is no guest checked into room " + Text1.Text() + ". Nothing was checked out.", vbOKOnly,
               "WARNING");
        Text1.SetFocus();
        return;
    }
    app().Unload(*this);
}

void Form55::Command2_Click() {
    app().Unload(*this);
}

} // namespace vantreth
