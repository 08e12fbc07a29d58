// "Edit Room Properties": the type, rate and rate lock of one room that is not occupied.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form18 final : public AppForm {
public:
    static constexpr const char* kName = "Form18";
    explicit Form18(App& app);

    platform::ComboBox Combo1{
        *this, "Combo1", {.caption = "select room", .at = {20, 20, 170, 28}, .fixedFont = true}};
    platform::Label Label1{*this, "Label1", {.caption = "Room", .at = {210, 24, 50, 22}}};
    platform::Label Label2{*this, "Label2", {.at = {262, 20, 70, 28}, .fontSize = 14, .bold = true}};
    platform::Label Label3{*this, "Label3", {.caption = "Room Type", .at = {20, 66, 100, 22}}};
    platform::ComboBox Combo2{*this, "Combo2", {.at = {128, 62, 120, 28}}};
    platform::Label Label4{*this, "Label4", {.caption = "Rate $", .at = {20, 104, 100, 22}}};
    platform::TextBox Text2{*this, "Text2", {.at = {128, 100, 120, 28}}};
    platform::CheckBox Check1{
        *this, "Check1", {.caption = "Make this rate unchangeable", .at = {20, 140, 300, 24}}};
    platform::Label Label5{
        *this,
        "Label5",
        {.caption = "NOTE: By checking this box, this rate will stay this amount no matter if the "
                    "rate is changed for all rooms with this type made from the other rate menu.",
         .at = {20, 168, 320, 58}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Save Changes", .at = {20, 236, 150, 34}, .enabled = false}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Cancel / Esc", .at = {190, 236, 150, 34}}};

    platform::Frame Frame1{*this, "Frame1", {.caption = "Room Types", .at = {360, 12, 300, 290}}};
    platform::Label Label6{
        *this,
        "Label6",
        {.caption = "NK1=non smoking single king", .at = {12, 24, 276, 20}, .frame = &Frame1}};
    platform::Label Label7{
        *this, "Label7", {.caption = "K11=smoking single king", .at = {12, 50, 276, 20}, .frame = &Frame1}};
    platform::Label Label8{
        *this,
        "Label8",
        {.caption = "NQ1=non smoking single queen", .at = {12, 76, 276, 20}, .frame = &Frame1}};
    platform::Label Label9{
        *this, "Label9", {.caption = "Q11=smoking single queen", .at = {12, 102, 276, 20}, .frame = &Frame1}};
    platform::Label Label10{
        *this, "Label10", {.caption = "NDD1=non smoking double", .at = {12, 128, 276, 20}, .frame = &Frame1}};
    platform::Label Label11{
        *this, "Label11", {.caption = "DD1=smoking double", .at = {12, 154, 276, 20}, .frame = &Frame1}};
    platform::Label Label12{
        *this,
        "Label12",
        {.caption = "PNQ1=non smoking single handicap", .at = {12, 180, 276, 20}, .frame = &Frame1}};
    platform::Label Label13{
        *this,
        "Label13",
        {.caption = "PQ1=smoking single handicap", .at = {12, 206, 276, 20}, .frame = &Frame1}};
    platform::Label Label14{
        *this,
        "Label14",
        {.caption = "SNQ1=non smoking single sweet", .at = {12, 232, 276, 20}, .frame = &Frame1}};
    platform::Label Label15{
        *this,
        "Label15",
        {.caption = "SQ1=smoking single sweet", .at = {12, 258, 276, 20}, .frame = &Frame1}};

private:
    void Form_Load() override;
    void Combo1_Click();
    void Command1_Click();
    void Command2_Click();
};

} // namespace vantreth
