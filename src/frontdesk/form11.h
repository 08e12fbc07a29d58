// "Unsold Rooms": the rooms that can still be sold tonight (neither occupied nor out of
// order, dirty ones included) with their clean flag, and "-R" on rooms reserved for a
// guest arriving today.
#pragma once

#include "app/app.h"
#include "records/guest_record.h"
#include "records/room_record.h"

#include <string>
#include <string_view>
#include <vector>

namespace vantreth {

// One entry per unsold room in file order: Room + 2 blanks + RoomType + 1 blank + Clean
// (as stored), + "-R" when a reservation for today holds the room.
std::vector<std::string> UnsoldRoomEntries(const std::vector<records::RoomRecord>& rooms,
                                           const std::vector<records::GuestRecord>& reservations,
                                           std::string_view today);

class Form11 final : public AppForm {
public:
    static constexpr const char* kName = "Form11";
    explicit Form11(App& app);

    platform::ListBox List1{*this, "List1", {.at = {16, 16, 240, 320}, .fixedFont = true}};
    platform::Label Label1{*this, "Label1", {.caption = "Y= Clean     N= Dirty", .at = {16, 344, 240, 22}}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Exit", .at = {272, 16, 220, 32}}};
    platform::CommandButton Command2{*this, "Command2", {.caption = "Exit", .at = {272, 56, 220, 32}}};
    platform::CommandButton Command3{
        *this, "Command3", {.caption = "show out of order rooms", .at = {272, 96, 220, 32}}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
};

} // namespace vantreth
