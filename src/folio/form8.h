// "Move Guest": moves an in-house guest to another room. The guest record takes the new
// room, the room left becomes dirty and vacant, the room moved into occupied, the stay's
// ledger follows the guest to the name of the new room, and the move is logged for the
// night audit.
#pragma once

#include "app/app.h"
#include "records/guest_record.h"
#include "records/room_record.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vantreth {

// The line of the list of occupied rooms: Room, two blanks, last name, a blank, first name.
std::string OccupiedRoomLine(const records::GuestRecord& guest);
// The line of the list of rooms to move into: Room, three blanks, RoomType as stored.
std::string FreeRoomLine(const records::RoomRecord& room);
// A room is offered to move into when it is neither occupied nor out of order and not dirty.
bool OfferedForMove(const records::RoomRecord& room);

// A move checked against the files, before anything is written.
struct MovePlan {
    std::string problem; // what the clerk is told when the move cannot be made; empty = go ahead
    long guestSlot = 0;
    records::GuestRecord guest; // as read, still in the old room
    std::string fromRoom;       // 3-character room keys
    std::string toRoom;
    std::optional<long> fromRecord; // the room left; a room missing from the rooms file is left alone
    long toRecord = 0;
    platform::FilePath fromLedger;
    platform::FilePath toLedger;
};

// Checks a move of the guest in `fromRoom` to `toRoom` (room numbers as typed or taken from
// the lists, at most their first 3 characters count).
MovePlan PlanMove(const platform::DataFolder& folder, std::string_view fromRoom, std::string_view toRoom);

// Makes a move that PlanMove allowed: the ledger is carried first, so that a failure there
// leaves every record as it was; then the guest record, both rooms, the day's move log, and
// last the flag the night audit reads.
void MakeMove(const platform::DataFolder& folder, const MovePlan& plan, const std::string& shift,
              const std::string& clerk, const platform::DateTime& now);

class Form8 final : public AppForm {
public:
    static constexpr const char* kName = "Form8";
    explicit Form8(App& app);

    platform::Label Label2{*this,
                           "Label2",
                           {.caption = "Move Guest From Room To Room",
                            .at = {16, 12, 648, 30},
                            .fontSize = 14,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::Label Label1{
        *this, "Label1", {.caption = "Select the room the guest is in now--->", .at = {16, 64, 340, 22}}};
    platform::ComboBox Combo1{
        *this, "Combo1", {.caption = "select room", .at = {364, 60, 300, 28}, .fixedFont = true}};
    platform::Label Label3{
        *this,
        "Label3",
        {.caption = "Now select a new room to put them in--->", .at = {16, 108, 340, 22}, .visible = false}};
    platform::ComboBox Combo2{
        *this,
        "Combo2",
        {.caption = "select room", .at = {364, 104, 300, 28}, .visible = false, .fixedFont = true}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Make Change Now", .at = {150, 158, 180, 32}, .visible = false}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Cancel / Esc", .at = {350, 158, 180, 32}}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Combo1_Click();
    void Command1_Click();
    void Command2_Click();
};

} // namespace vantreth
