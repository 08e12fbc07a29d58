// "Input Rooms": adds rooms to the inventory, one at a time.
#pragma once

#include "app/app.h"

namespace vantreth {

// Why a typed room number cannot be used, or "" when it can: up to 3 characters, not
// empty, and nothing that would break a file name or a comma-separated line.
std::string RoomNumberProblem(const std::string& room);

class Form3 final : public AppForm {
public:
    static constexpr const char* kName = "Form3";
    explicit Form3(App& app);

    platform::Label Label1{*this, "Label1", {.caption = "Room Number", .at = {20, 20, 110, 22}}};
    platform::TextBox Text1{*this, "Text1", {.at = {136, 16, 80, 28}}};
    platform::Label Label2{*this, "Label2", {.caption = "Room Type", .at = {20, 58, 110, 22}}};
    platform::ComboBox Combo1{*this, "Combo1", {.caption = "Type", .at = {136, 54, 120, 28}}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Add Room", .at = {20, 100, 116, 34}}};
    platform::CommandButton Command2{*this, "Command2", {.caption = "Cancel", .at = {144, 100, 116, 34}}};
    platform::Label Label13{*this, "Label13", {.caption = "Last room added:", .at = {20, 148, 130, 22}}};
    platform::Label Label14{*this, "Label14", {.at = {156, 148, 80, 22}, .bold = true}};

    platform::Frame Frame1{*this, "Frame1", {.caption = "Room Types", .at = {284, 12, 260, 248}}};
    platform::Label Label3{
        *this, "Label3", {.caption = "NQ1 = non smoking single", .at = {12, 24, 236, 20}, .frame = &Frame1}};
    platform::Label Label4{
        *this, "Label4", {.caption = "Q11 = smoking single", .at = {12, 50, 236, 20}, .frame = &Frame1}};
    platform::Label Label5{
        *this, "Label5", {.caption = "NDD1 = non smoking double", .at = {12, 76, 236, 20}, .frame = &Frame1}};
    platform::Label Label6{
        *this, "Label6", {.caption = "DD1 =  smoking double", .at = {12, 102, 236, 20}, .frame = &Frame1}};
    platform::Label Label7{
        *this,
        "Label7",
        {.caption = "SNQ1 = non smoking small JQZ", .at = {12, 128, 236, 20}, .frame = &Frame1}};
    platform::Label Label8{
        *this, "Label8", {.caption = "SQ1 = smoking small JQZ", .at = {12, 154, 236, 20}, .frame = &Frame1}};
    platform::Label Label9{
        *this,
        "Label9",
        {.caption = "SNQ3 = non smoking large JQZ", .at = {12, 180, 236, 20}, .frame = &Frame1}};
    platform::Label Label10{
        *this, "Label10", {.caption = "SQ3 = smoking Large JQZ", .at = {12, 206, 236, 20}, .frame = &Frame1}};

private:
    void Form_Load() override;
    void Text1_KeyPress(int& KeyAscii);
    void Combo1_Click();
    void Command1_Click();
    void Command2_Click();
};

} // namespace vantreth
