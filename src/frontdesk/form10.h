// "Set Room Status": the clerk changes a room's clean, vacant and service letters and its
// housekeeping comment by hand, or marks every room clean.
#pragma once

#include "app/app.h"

#include <string>
#include <string_view>

namespace vantreth {

// The status letter in capitals when the typed text is one of the allowed letters, in
// either case ("y" with "YN" gives "Y"); "" for anything else, an empty box included.
std::string StatusLetter(std::string_view typed, std::string_view allowed);

class Form10 final : public AppForm {
public:
    static constexpr const char* kName = "Form10";
    explicit Form10(App& app);

    platform::ComboBox Combo1{
        *this, "Combo1", {.caption = "select room", .at = {16, 16, 220, 28}, .fixedFont = true}};
    platform::Label Label17{
        *this,
        "Label17",
        {.at = {256, 8, 120, 44}, .fontSize = 22, .bold = true, .align = platform::Align::Center}};
    platform::Label Label6{*this, "Label6", {.at = {392, 16, 40, 20}, .visible = false}};
    platform::Label Label1{*this, "Label1", {.caption = "Clean", .at = {16, 62, 80, 20}}};
    platform::Label Label2{*this, "Label2", {.caption = "Vacant", .at = {112, 62, 80, 20}}};
    platform::Label Label3{*this, "Label3", {.caption = "Service", .at = {208, 62, 80, 20}}};
    platform::TextBox Text2{*this, "Text2", {.at = {16, 84, 40, 28}, .maxLength = 1}};
    platform::TextBox Text3{*this, "Text3", {.at = {112, 84, 40, 28}, .maxLength = 1}};
    platform::TextBox Text4{*this, "Text4", {.at = {208, 84, 40, 28}, .maxLength = 1}};
    platform::Frame Frame1{*this, "Frame1", {.caption = "Comment", .at = {16, 124, 480, 64}}};
    platform::TextBox Text1{*this, "Text1", {.at = {12, 24, 456, 28}, .frame = &Frame1, .maxLength = 50}};
    platform::Frame Frame2{*this, "Frame2", {.caption = "Codes", .at = {16, 198, 480, 118}}};
    platform::Label Label7{
        *this, "Label7", {.caption = "Clean Codes", .at = {12, 22, 140, 20}, .frame = &Frame2, .bold = true}};
    platform::Label Label8{
        *this, "Label8", {.caption = "Y = Clean", .at = {12, 44, 140, 20}, .frame = &Frame2}};
    platform::Label Label9{
        *this, "Label9", {.caption = "N = Dirty", .at = {12, 66, 140, 20}, .frame = &Frame2}};
    platform::Label Label10{
        *this,
        "Label10",
        {.caption = "Vacant Now", .at = {164, 22, 140, 20}, .frame = &Frame2, .bold = true}};
    platform::Label Label11{
        *this, "Label11", {.caption = "Y = Vacant", .at = {164, 44, 140, 20}, .frame = &Frame2}};
    platform::Label Label12{
        *this, "Label12", {.caption = "N = Non-Vacant", .at = {164, 66, 140, 20}, .frame = &Frame2}};
    platform::Label Label13{
        *this, "Label13", {.caption = "Service", .at = {316, 22, 150, 20}, .frame = &Frame2, .bold = true}};
    platform::Label Label14{
        *this, "Label14", {.caption = "A = Available", .at = {316, 44, 150, 20}, .frame = &Frame2}};
    platform::Label Label15{
        *this, "Label15", {.caption = "O = Occuppied", .at = {316, 66, 150, 20}, .frame = &Frame2}};
    platform::Label Label16{
        *this, "Label16", {.caption = "X = Out of Order", .at = {316, 88, 150, 20}, .frame = &Frame2}};
    platform::CommandButton Command3{*this, "Command3", {.caption = "Change Now", .at = {16, 330, 140, 32}}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Set All Rooms to Clean", .at = {168, 330, 200, 32}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Cancel / Esc", .at = {380, 330, 116, 32}}};

private:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Combo1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Text2_Click();
    void Text3_Click();
    void Text4_Click();

    // Writes the four boxes to the shown room. True when written, or when no room is
    // shown (nothing to write); false when a letter was refused (the clerk was told).
    bool SaveShownRoom();
};

} // namespace vantreth
