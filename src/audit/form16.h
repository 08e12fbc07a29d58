// "Change Date": the night audit's move to the next business day, on shift "A" with the
// initials of the clerk who takes over; the day of the week and the room rates follow.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form16 final : public AppForm {
public:
    static constexpr const char* kName = "Form16";
    explicit Form16(App& app);

    platform::Label Label1{
        *this,
        "Label1",
        {.caption = "This will allow you to change the system date to prepare the program for a new day.",
         .at = {16, 12, 408, 40}}};
    platform::Label Label2{
        *this,
        "Label2",
        {.caption = "Please make sure you have completed the previous audit duties before changing date.",
         .at = {16, 56, 408, 40}}};
    platform::Label Label5{
        *this, "Label5", {.caption = "The date I will change to is", .at = {16, 110, 244, 22}}};
    platform::TextBox Text1{*this, "Text1", {.at = {268, 106, 120, 26}}};
    platform::Label Label3{
        *this, "Label3", {.caption = "The shift I will change to is", .at = {16, 144, 244, 22}}};
    platform::TextBox Text2{*this, "Text2", {.at = {268, 140, 40, 26}}};
    platform::Label Label4{*this, "Label4", {.caption = "New initials to use", .at = {16, 178, 244, 22}}};
    platform::TextBox Text3{*this, "Text3", {.at = {268, 174, 60, 26}}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Change Now", .at = {40, 222, 160, 32}}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Cancel / Esc", .at = {240, 222, 160, 32}}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Command1_Click();
    void Command2_Click();
    void Text2_Change();
    void Text3_KeyPress(int& KeyAscii);
};

} // namespace vantreth
