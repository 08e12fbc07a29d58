// "Out of Order Rooms": the rooms out of order (Service "X") with their comments, and the
// printout of the same list.
#pragma once

#include "app/app.h"
#include "records/room_record.h"

#include <string>

namespace vantreth {

// Room + 2 blanks + RoomType + 1 blank + Comment, all three as stored.
std::string OutOfOrderEntry(const records::RoomRecord& room);

class Form28 final : public AppForm {
public:
    static constexpr const char* kName = "Form28";
    explicit Form28(App& app);

    // Wide enough for the whole 80-character comment in the fixed font.
    platform::ListBox List1{*this, "List1", {.at = {16, 16, 780, 300}, .fixedFont = true}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Exit", .at = {520, 328, 130, 32}}};
    platform::CommandButton Command2{*this, "Command2", {.caption = "&Print", .at = {666, 328, 130, 32}}};

private:
    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
};

} // namespace vantreth
