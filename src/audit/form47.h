// "Reports Menu": opens the daily and monthly totals, the phone log and the canceled
// reservations windows.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form47 final : public AppForm {
public:
    static constexpr const char* kName = "Form47";
    explicit Form47(App& app);

    platform::Label Label1{*this,
                           "Label1",
                           {.caption = "Reports Menu",
                            .at = {16, 12, 288, 28},
                            .fontSize = 14,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::Frame Frame1{*this, "Frame1", {.caption = "Options", .at = {16, 48, 288, 232}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Totals Report (daily)", .at = {24, 28, 240, 30}, .frame = &Frame1}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Totals Report (monthly)", .at = {24, 66, 240, 30}, .frame = &Frame1}};
    platform::CommandButton Command3{
        *this, "Command3", {.caption = "Phone Log Report", .at = {24, 104, 240, 30}, .frame = &Frame1}};
    platform::CommandButton Command4{
        *this, "Command4", {.caption = "Canceled Reservations", .at = {24, 142, 240, 30}, .frame = &Frame1}};
    platform::CommandButton Command5{
        *this, "Command5", {.caption = "Exit", .at = {24, 188, 240, 30}, .frame = &Frame1}};

private:
    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
};

} // namespace vantreth
