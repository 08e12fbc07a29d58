// "Reservations": the reservations menu. Leads to Add Reservation, the list of
// reservations to edit and the canceled reservations, and cancels every reservation
// due in today in one step.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form25 final : public AppForm {
public:
    static constexpr const char* kName = "Form25";
    explicit Form25(App& app);

    platform::Label Label1{*this,
                           "Label1",
                           {.caption = "Reservations",
                            .at = {16, 10, 328, 28},
                            .fontSize = 14,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::Frame Frame1{*this, "Frame1", {.caption = "Options", .at = {16, 46, 328, 232}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Add Reservation", .at = {16, 24, 296, 32}, .frame = &Frame1}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Edit Reservation", .at = {16, 64, 296, 32}, .frame = &Frame1}};
    platform::CommandButton Command4{
        *this,
        "Command4",
        {.caption = "Cancel All Reservations Due Today", .at = {16, 104, 296, 32}, .frame = &Frame1}};
    platform::CommandButton Command5{
        *this,
        "Command5",
        {.caption = "View Canceled Reservations", .at = {16, 144, 296, 32}, .frame = &Frame1}};
    platform::CommandButton Command3{
        *this, "Command3", {.caption = "Exit", .at = {16, 184, 296, 32}, .frame = &Frame1}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
};

} // namespace vantreth
