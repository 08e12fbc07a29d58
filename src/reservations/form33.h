// "Reservation - Arrival Date": asks the arrival date for Add Reservation, lists the rooms
// free on it there and opens History for a returning guest.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form33 final : public AppForm {
public:
    static constexpr const char* kName = "Form33";
    explicit Form33(App& app);

    platform::Frame Frame1{*this, "Frame1", {.caption = "Arrival Date", .at = {12, 12, 316, 76}}};
    platform::Label Label1{
        *this, "Label1", {.caption = "Arriving On", .at = {16, 32, 96, 20}, .frame = &Frame1}};
    platform::TextBox Text1{*this, "Text1", {.at = {116, 28, 120, 26}, .frame = &Frame1}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Cancel / Esc", .at = {12, 100, 150, 32}}};
    platform::CommandButton Command2{*this, "Command2", {.caption = "Continue", .at = {178, 100, 150, 32}}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Form_QueryClose() override;
    void Text1_KeyPress(int& KeyAscii);
    void Command1_Click();
    void Command2_Click();
};

} // namespace vantreth
