#include "form29.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/guest_record.h"

namespace vantreth {

Form29::Form29(App& app) : AppForm(app, kName, "Form29", {320, 220, 200, 148}) {
    Command1.on_click = [this] { Command1_Click(); };
}

void Form29::Form_Load() {
    Show();
}

// No message and no question, whether a stay was found or not.
void Form29::Command1_Click() {
    BlankGuestOfRoom(app().data(), Text1.Text());
}

std::optional<std::string> TypedRoomKey(std::string_view typed) {
    // A longer number is no room: cutting it would pick another room's guest.
    if (typed.size() != 3 || platform::Trim(typed).empty())
        return std::nullopt;
    return std::string(typed);
}

std::optional<long> BlankGuestOfRoom(const platform::DataFolder& folder, std::string_view typedRoom) {
    const std::optional<std::string> key = TypedRoomKey(typedRoom);
    if (!key)
        return std::nullopt;
    const std::vector<records::GuestRecord> guests = records::ReadAllGuests(folder, records::kGuestFile);
    for (size_t i = 0; i < guests.size(); ++i) {
        records::GuestRecord guest = guests[i];
        if (guest.Room != *key || guest.IsFree())
            continue;
        guest.ClearStay();
        const long slot = static_cast<long>(i) + 1;
        records::WriteGuest(folder, records::kGuestFile, slot, guest);
        return slot;
    }
    return std::nullopt;
}

} // namespace vantreth
