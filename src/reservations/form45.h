// "Reservation - Arrival Date" for a further reservation of the same guest: asks its
// arrival date and lists the rooms free on it in Add Reservation.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form45 final : public AppForm {
public:
    static constexpr const char* kName = "Form45";
    explicit Form45(App& app);

    platform::Label Label1{*this, "Label1", {.caption = "Arriving On", .at = {16, 20, 96, 20}}};
    platform::TextBox Text1{*this, "Text1", {.at = {116, 16, 120, 26}}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Cancel / Esc", .at = {16, 58, 150, 32}}};
    platform::CommandButton Command2{*this, "Command2", {.caption = "Continue", .at = {182, 58, 150, 32}}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Command1_Click();
    void Command2_Click();
    // Add Reservation's room list for a further reservation arriving on `date`.
    void ShowFreeRooms(const std::string& date);
};

} // namespace vantreth
