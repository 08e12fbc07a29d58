#include "form11.h"

#include "frontdesk/form28.h"
#include "platform/text.h"
#include "records/arrivals.h"
#include "records/filenames.h"

namespace vantreth {

using namespace platform;

std::vector<std::string> UnsoldRoomEntries(const std::vector<records::RoomRecord>& rooms,
                                           const std::vector<records::GuestRecord>& reservations,
                                           std::string_view today) {
    std::vector<std::string> entries;
    for (const records::RoomRecord& room : rooms) {
        if (room.Service == "X" || room.Service == "O")
            continue;
        const std::string room3 = Fixed(room.Room, records::RoomRecord::kRoomWidth);
        bool reserved = false;
        // Both names must be filled in: a slot with either name blank holds no reservation.
        for (const records::GuestRecord& slot : reservations) {
            const bool named = !RTrim(slot.LastName).empty() && !RTrim(slot.FirstName).empty();
            if (named && Fixed(slot.Room, 3) == room3 &&
                records::ArrivesOn(slot.ArrivalDate, today, records::ArrivalMatch::TrailingBlanks))
                reserved = true;
        }
        std::string entry = room3 + "  " + Fixed(room.RoomType, 5) + " " + Fixed(room.Clean, 1);
        if (reserved)
            entry += "-R";
        entries.push_back(entry);
    }
    return entries;
}

Form11::Form11(App& app) : AppForm(app, kName, "Unsold Rooms", {320, 140, 508, 380}) {
    SetKeyPreview(true);
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
}

void Form11::Form_Load() {
    Show();
    const std::vector<records::RoomRecord> rooms = records::ReadAllRooms(app().data());
    const std::vector<records::GuestRecord> reservations =
        records::ReadAllGuests(app().data(), records::kReservationsFile);
    for (std::string& entry : UnsoldRoomEntries(rooms, reservations, app().clock().DateText()))
        List1.AddItem(std::move(entry));
    Command1.SetFocus();
}

void Form11::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        Command1_Click();
    }
}

// Brings the front desk back in case it is gone; nothing changes when it is still open.
void Form11::Command1_Click() {
    app().Unload(*this);
    app().Load("Form1");
}

void Form11::Command2_Click() {
    app().Unload(*this);
}

void Form11::Command3_Click() {
    app().Load(app().Get<Form28>());
}

} // namespace vantreth
