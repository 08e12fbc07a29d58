#include "form7.h"

#include "app/front_desk_service.h"
#include "platform/text.h"
#include "printing/guest_listing_report.h"
#include "records/filenames.h"

namespace vantreth {

using namespace platform;

std::string GuestListKey(const records::GuestRecord& guest) {
    return RTrim(guest.LastName) + RTrim(guest.FirstName) + guest.Room;
}

std::string GuestListLine(const records::GuestRecord& guest) {
    return guest.Room + "  " + RTrim(guest.LastName) + ", " + RTrim(guest.FirstName);
}

Form7::Form7(App& app) : AppForm(app, kName, "Guest List", {300, 120, 420, 396}) {
    SetKeyPreview(true);
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
}

// The hidden sorted list orders the keys; each key then finds its guest in the file.
void Form7::Form_Load() {
    Show();
    const std::vector<records::GuestRecord> guests =
        records::ReadAllGuests(app().data(), records::kGuestFile);
    for (const records::GuestRecord& guest : guests)
        if (printing::IsListedGuest(guest))
            List2.AddItem(GuestListKey(guest));
    // Two guests can share a key (names that run together the same way in the same
    // room); each is listed once, in file order.
    std::vector<bool> listed(guests.size(), false);
    for (int i = 0; i < List2.ListCount(); ++i) {
        for (size_t n = 0; n < guests.size(); ++n) {
            if (listed[n] || !printing::IsListedGuest(guests[n]) || GuestListKey(guests[n]) != List2.List(i))
                continue;
            listed[n] = true;
            List1.AddItem(GuestListLine(guests[n]));
            break;
        }
    }
    Command1.SetFocus();
}

// However the window closes, the front desk comes back: the "G" key had unloaded it.
void Form7::Form_Unload() {
    ReturnToFrontDesk(app());
}

void Form7::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        app().Unload(*this);
    }
}

void Form7::Command1_Click() {
    app().Unload(*this);
}

void Form7::Command2_Click() {
    app().Unload(*this);
}

void Form7::Command3_Click() {
    printing::PrintGuestListingReport(app().printer(), app().data(), app().clock().DateText(),
                                      printing::GuestListingStart::BlankLine);
}

} // namespace vantreth
