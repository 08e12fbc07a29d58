// "Canceled Reservations": the reservations canceled in a chosen year, one line per
// cancellation, with a printout of the list.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form68 final : public AppForm {
public:
    static constexpr const char* kName = "Form68";
    explicit Form68(App& app);

    platform::ComboBox Combo1{*this, "Combo1", {.caption = "Choose Year", .at = {16, 16, 160, 28}}};
    platform::Label Label1{*this, "Label1", {.caption = "Name", .at = {20, 56, 120, 20}}};
    platform::Label Label2{*this, "Label2", {.caption = "Res. Date", .at = {268, 56, 100, 20}}};
    platform::Label Label3{*this, "Label3", {.caption = "Date Canceled", .at = {388, 56, 120, 20}}};
    platform::Label Label4{*this, "Label4", {.caption = "Clerk", .at = {540, 56, 60, 20}}};
    platform::ListBox List1{*this, "List1", {.at = {16, 78, 620, 360}, .fixedFont = true}};
    platform::CommandButton Command4{
        *this, "Command4", {.caption = "Print", .at = {648, 78, 68, 32}, .enabled = false}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Exit", .at = {648, 118, 68, 32}}};
    // A second pair that lies below the window's client area, out of the clerk's reach.
    platform::CommandButton Command3{
        *this, "Command3", {.caption = "Print", .at = {16, 512, 68, 32}, .enabled = false}};
    platform::CommandButton Command2{*this, "Command2", {.caption = "Exit", .at = {96, 512, 68, 32}}};

private:
    void Form_Load() override;
    void Combo1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command4_Click();
};

} // namespace vantreth
