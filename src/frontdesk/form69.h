// "Optional Rates": the five fixed nightly rates the clerk may charge instead of the
// room's own rate at check-in and reservation; a rate of 0 is an empty slot.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form69 final : public AppForm {
public:
    static constexpr const char* kName = "Form69";
    explicit Form69(App& app);

    platform::Label Label1{*this,
                           "Label1",
                           {.caption = "Set Optional Rates",
                            .at = {16, 10, 360, 28},
                            .fontSize = 14,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::Label Label2{*this,
                           "Label2",
                           {.caption =
                                "These rates are the optional rates that appear in the small drop down menu "
                                "on the check in screen. During check in, you may choose one of these rates "
                                "rather than the normal rates given.",
                            .at = {16, 44, 360, 100}}};
    platform::Frame Frame1{*this, "Frame1", {.caption = "Enter Rates", .at = {16, 152, 360, 200}}};
    platform::Label Label3{
        *this, "Label3", {.caption = "Rate 1 $", .at = {20, 28, 80, 20}, .frame = &Frame1}};
    platform::TextBox Text1{*this, "Text1", {.at = {104, 24, 120, 28}, .frame = &Frame1}};
    platform::Label Label4{
        *this, "Label4", {.caption = "Rate 2 $", .at = {20, 62, 80, 20}, .frame = &Frame1}};
    platform::TextBox Text2{*this, "Text2", {.at = {104, 58, 120, 28}, .frame = &Frame1}};
    platform::Label Label5{
        *this, "Label5", {.caption = "Rate 3 $", .at = {20, 96, 80, 20}, .frame = &Frame1}};
    platform::TextBox Text3{*this, "Text3", {.at = {104, 92, 120, 28}, .frame = &Frame1}};
    platform::Label Label6{
        *this, "Label6", {.caption = "Rate 4 $", .at = {20, 130, 80, 20}, .frame = &Frame1}};
    platform::TextBox Text4{*this, "Text4", {.at = {104, 126, 120, 28}, .frame = &Frame1}};
    platform::Label Label7{
        *this, "Label7", {.caption = "Rate 5 $", .at = {20, 164, 80, 20}, .frame = &Frame1}};
    platform::TextBox Text5{*this, "Text5", {.at = {104, 160, 120, 28}, .frame = &Frame1}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Save Changes", .at = {16, 366, 160, 32}}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Exit", .at = {216, 366, 160, 32}}};

private:
    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
    void Text1_KeyPress(int& KeyAscii) { platform::EnterMovesFocus(KeyAscii, Text2); }
    void Text2_KeyPress(int& KeyAscii) { platform::EnterMovesFocus(KeyAscii, Text3); }
    void Text3_KeyPress(int& KeyAscii) { platform::EnterMovesFocus(KeyAscii, Text4); }
    void Text4_KeyPress(int& KeyAscii) { platform::EnterMovesFocus(KeyAscii, Text5); }
    void Text5_KeyPress(int& KeyAscii) { platform::EnterMovesFocus(KeyAscii, Command2); }
};

} // namespace vantreth
