// "Guest List": every guest in the house by name with the room, and the printed Guest
// Listing Report.
#pragma once

#include "app/app.h"
#include "records/guest_record.h"

#include <string>
#include <vector>

namespace vantreth {

// The sort key of a guest: last name, first name and room as one run of text.
std::string GuestListKey(const records::GuestRecord& guest);
// The line shown for a guest: room, two blanks, "LAST, FIRST".
std::string GuestListLine(const records::GuestRecord& guest);

class Form7 final : public AppForm {
public:
    static constexpr const char* kName = "Form7";
    explicit Form7(App& app);

    platform::ListBox List1{*this, "List1", {.at = {16, 16, 388, 316}, .fixedFont = true}};
    platform::ListBox List2{*this, "List2", {.at = {16, 16, 388, 316}, .visible = false, .sorted = true}};
    platform::CommandButton Command3{
        *this, "Command3", {.caption = "&Print Guest List", .at = {16, 348, 150, 32}}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Exit", .at = {184, 348, 100, 32}}};
    platform::CommandButton Command2{*this, "Command2", {.caption = "Exit", .at = {304, 348, 100, 32}}};

private:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
};

} // namespace vantreth
