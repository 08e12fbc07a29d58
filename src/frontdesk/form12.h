// "Main Menu": the back-office functions, opened on top of the front desk. Most buttons
// close the menu and open another window; the two printouts print and close it.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form12 final : public AppForm {
public:
    static constexpr const char* kName = "Form12";
    explicit Form12(App& app);

    platform::Label Label1{*this,
                           "Label1",
                           {.caption = "Main Menu",
                            .at = {16, 10, 528, 30},
                            .fontSize = 16,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::Frame Frame1{*this, "Frame1", {.caption = "Options", .at = {16, 48, 528, 324}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Night Audit ", .at = {16, 28, 240, 34}, .frame = &Frame1}};
    platform::CommandButton Command10{
        *this,
        "Command10",
        {.caption = "Enter Cash From Vending", .at = {272, 28, 240, 34}, .frame = &Frame1}};
    platform::CommandButton Command11{
        *this, "Command11", {.caption = "Enter Cash From Other", .at = {16, 70, 240, 34}, .frame = &Frame1}};
    platform::CommandButton Command12{
        *this, "Command12", {.caption = "Enter Petty Cash Out", .at = {272, 70, 240, 34}, .frame = &Frame1}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Administration", .at = {16, 112, 240, 34}, .frame = &Frame1}};
    platform::CommandButton Command3{
        *this,
        "Command3",
        {.caption = "Find Checked Out Guest", .at = {272, 112, 240, 34}, .frame = &Frame1}};
    platform::CommandButton Command4{
        *this, "Command4", {.caption = "Direct Bill Options", .at = {16, 154, 240, 34}, .frame = &Frame1}};
    platform::CommandButton Command5{
        *this,
        "Command5",
        {.caption = "Print Housekeeping Rpt.", .at = {272, 154, 240, 34}, .frame = &Frame1}};
    platform::CommandButton Command7{
        *this,
        "Command7",
        {.caption = "Print Out of Order Rooms", .at = {16, 196, 240, 34}, .frame = &Frame1}};
    platform::CommandButton Command8{
        *this, "Command8", {.caption = "Do Not Rent To.....", .at = {272, 196, 240, 34}, .frame = &Frame1}};
    platform::CommandButton Command9{
        *this, "Command9", {.caption = "Reports Menu", .at = {16, 238, 240, 34}, .frame = &Frame1}};
    platform::CommandButton Command6{
        *this, "Command6", {.caption = "Exit", .at = {272, 238, 240, 34}, .frame = &Frame1}};
    platform::CommandButton Command13{
        *this, "Command13", {.caption = "Close", .at = {144, 280, 240, 34}, .frame = &Frame1}};

private:
    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command11_Click();
    void Command12_Click();
    void Command13_Click();

    // The menu closes and the other window takes its place.
    void CloseAndOpen(const char* window);
};

} // namespace vantreth
