// The totals repair window: puts today's day totals, one shift's cash from rent and any
// day's rooms rented right by hand, and reprints today's totals page. Reached only through
// the Authorization window.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form35 final : public AppForm {
public:
    static constexpr const char* kName = "Form35";
    explicit Form35(App& app);

    platform::Frame Frame1{*this, "Frame1", {.caption = "Re Do Total File", .at = {16, 12, 300, 204}}};
    platform::Label Label1{*this, "Label1", {.caption = "Rent", .at = {16, 30, 70, 20}, .frame = &Frame1}};
    platform::TextBox Text5{*this, "Text5", {.at = {96, 26, 120, 26}, .frame = &Frame1}};
    platform::Label Label2{*this, "Label2", {.caption = "Grent", .at = {16, 62, 70, 20}, .frame = &Frame1}};
    platform::TextBox Text1{*this, "Text1", {.at = {96, 58, 120, 26}, .frame = &Frame1}};
    platform::Label Label6{*this, "Label6", {.caption = "Tax", .at = {16, 94, 70, 20}, .frame = &Frame1}};
    platform::TextBox Text6{*this, "Text6", {.at = {96, 90, 120, 26}, .frame = &Frame1}};
    platform::Label Label5{*this, "Label5", {.caption = "Cash", .at = {16, 126, 70, 20}, .frame = &Frame1}};
    platform::TextBox Text7{*this, "Text7", {.at = {96, 122, 120, 26}, .frame = &Frame1}};
    platform::CommandButton Command7{
        *this, "Command7", {.caption = "Re-Compute ", .at = {96, 160, 150, 30}, .frame = &Frame1}};

    platform::ComboBox Combo1{*this, "Combo1", {.caption = "C", .at = {336, 24, 60, 28}, .listOnly = true}};
    platform::TextBox Text2{*this, "Text2", {.at = {404, 25, 110, 26}}};
    platform::CommandButton Command4{
        *this, "Command4", {.caption = "SET SHIFT CASH", .at = {524, 23, 150, 30}}};

    platform::Label Label3{*this, "Label3", {.caption = "date (no slashes)", .at = {336, 80, 140, 20}}};
    platform::TextBox Text3{*this, "Text3", {.at = {484, 76, 110, 26}}};
    platform::Label Label4{*this, "Label4", {.caption = "no. of rooms", .at = {336, 112, 140, 20}}};
    platform::TextBox Text4{*this, "Text4", {.at = {484, 108, 110, 26}}};
    platform::CommandButton Command5{
        *this, "Command5", {.caption = "set rooms rented", .at = {484, 142, 150, 30}}};

    platform::CommandButton Command8{
        *this, "Command8", {.caption = "Set Total Entry", .at = {16, 232, 150, 32}}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Print Totals Report", .at = {180, 232, 180, 32}}};
    platform::CommandButton Command11{*this, "Command11", {.caption = "ESC", .at = {594, 232, 80, 32}}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Combo1_Click();
    void Command7_Click();
    void Command8_Click();
    void Command4_Click();
    void Command5_Click();
    void Command2_Click();
    void Command11_Click();

    // Enter in a box moves the focus to the next place; other keys type as usual.
    void EnterMovesTo(platform::TextBox& box, platform::Control& next);
    // A clear "WARNING" and the focus back in the box.
    void Refuse(platform::TextBox& box, const char* message);
};

} // namespace vantreth
