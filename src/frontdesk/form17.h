// "Administration": the set-up functions (rooms, taxes, rates, day of the week), opened
// from the Main Menu.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form17 final : public AppForm {
public:
    static constexpr const char* kName = "Form17";
    explicit Form17(App& app);

    platform::Frame Frame1{*this, "Frame1", {.caption = "Options", .at = {16, 12, 288, 424}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Edit Room Properties", .at = {16, 28, 256, 34}, .frame = &Frame1}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Change Tax Code", .at = {16, 70, 256, 34}, .frame = &Frame1}};
    platform::CommandButton Command4{
        *this,
        "Command4",
        {.caption = "Emergency Room Check Out", .at = {16, 112, 256, 34}, .frame = &Frame1}};
    platform::CommandButton Command5{
        *this,
        "Command5",
        {.caption = "Set The Day of The Week", .at = {16, 154, 256, 34}, .frame = &Frame1}};
    platform::CommandButton Command6{
        *this,
        "Command6",
        {.caption = "Set Rates Days / Weekends", .at = {16, 196, 256, 34}, .frame = &Frame1}};
    platform::CommandButton Command7{
        *this,
        "Command7",
        {.caption = "Change Rates on Room Type", .at = {16, 238, 256, 34}, .frame = &Frame1}};
    platform::CommandButton Command8{
        *this, "Command8", {.caption = "Set Optional Rates", .at = {16, 280, 256, 34}, .frame = &Frame1}};
    platform::CommandButton Command9{
        *this, "Command9", {.caption = "Repair Day Totals", .at = {16, 322, 256, 34}, .frame = &Frame1}};
    platform::CommandButton Command3{
        *this, "Command3", {.caption = "Exit", .at = {16, 376, 256, 34}, .frame = &Frame1}};

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

    // The menu closes and the other window takes its place.
    void CloseAndOpen(const char* window);
};

} // namespace vantreth
