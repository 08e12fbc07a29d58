// A room's guest record blanked by hand: the clerk types the room and clicks "CHECK OUT".
// Only the guest record changes; the room, the stay's ledger and the history are left alone.
#pragma once

#include "app/app.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantreth {

class Form29 final : public AppForm {
public:
    static constexpr const char* kName = "Form29";
    explicit Form29(App& app);

    platform::TextBox Text1{*this, "Text1", {.at = {24, 24, 64, 28}, .maxLength = 3}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "CHECK OUT", .at = {24, 68, 140, 32}}};

private:
    void Form_Load() override;
    void Command1_Click();
};

// The stored 3-character room field that a typed room number stands for: the text exactly
// as typed, so a shorter number finds its room only when typed with the trailing blanks the
// room field keeps ("12 "). Nothing for a text that is not 3 characters or is all blank.
std::optional<std::string> TypedRoomKey(std::string_view typed);

// Blanks Room, LastName and FirstName of the first in-house stay in that room and
// returns its slot; nothing changes (and nothing is returned) when no stay has the room.
std::optional<long> BlankGuestOfRoom(const platform::DataFolder& folder, std::string_view typedRoom);

} // namespace vantreth
