// "Monthly Totals Report": a picked month's day by day totals on the screen, and the
// monthly totals report printed for it.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form30 final : public AppForm {
public:
    static constexpr const char* kName = "Form30";
    explicit Form30(App& app);

    platform::ComboBox Combo2{
        *this, "Combo2", {.caption = "Year", .at = {16, 12, 120, 28}, .listOnly = true}};
    platform::ComboBox Combo1{
        *this,
        "Combo1",
        {.caption = "Select Month", .at = {148, 12, 180, 28}, .enabled = false, .listOnly = true}};

    // Headings over the list's columns (10 px a character of its font).
    platform::Label Label1{*this, "Label1", {.caption = "DATE", .at = {20, 52, 66, 20}, .bold = true}};
    platform::Label Label2{*this, "Label2", {.caption = "RENT", .at = {90, 52, 86, 20}, .bold = true}};
    platform::Label Label3{*this, "Label3", {.caption = "G.RENT", .at = {180, 52, 86, 20}, .bold = true}};
    platform::Label Label4{*this, "Label4", {.caption = "TAXES", .at = {270, 52, 86, 20}, .bold = true}};
    platform::Label Label5{*this, "Label5", {.caption = "CASH", .at = {360, 52, 116, 20}, .bold = true}};
    platform::Label Label6{*this, "Label6", {.caption = "OTHER", .at = {480, 52, 86, 20}, .bold = true}};
    platform::Label Label7{*this, "Label7", {.caption = "PHONE", .at = {570, 52, 86, 20}, .bold = true}};
    platform::Label Label8{*this, "Label8", {.caption = "ROOMS", .at = {660, 52, 70, 20}, .bold = true}};
    platform::ListBox List1{
        *this, "List1", {.at = {16, 76, 740, 300}, .fixedFont = true, .fontSize = 12, .bold = true}};

    platform::Label Label9{*this, "Label9", {.caption = "TOTALS", .at = {20, 386, 66, 20}, .bold = true}};
    platform::Label Label10{*this, "Label10", {.at = {90, 386, 86, 20}}};
    platform::Label Label11{*this, "Label11", {.at = {180, 386, 86, 20}}};
    platform::Label Label13{*this, "Label13", {.at = {270, 386, 86, 20}}};
    platform::Label Label12{*this, "Label12", {.at = {360, 386, 116, 20}}};
    platform::Label Label14{*this, "Label14", {.at = {480, 386, 86, 20}}};
    platform::Label Label15{*this, "Label15", {.at = {570, 386, 86, 20}}};
    platform::Label Label16{*this, "Label16", {.at = {660, 386, 70, 20}}};
    platform::Label Label17{*this, "Label17", {.caption = "CITY TAX", .at = {20, 416, 80, 20}, .bold = true}};
    platform::Label Label18{*this, "Label18", {.at = {104, 416, 100, 20}}};
    platform::Label Label19{
        *this, "Label19", {.caption = "STATE TAX", .at = {220, 416, 90, 20}, .bold = true}};
    platform::Label Label20{*this, "Label20", {.at = {314, 416, 100, 20}}};

    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Print Report", .at = {460, 448, 140, 32}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Cancel / Esc", .at = {616, 448, 140, 32}}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Combo2_Click();
    void Combo1_Click();
    void Command2_Click();
    void Command1_Click();

    // Both the year and the month have been picked from their lists.
    bool MonthAndYearPicked() const;
    // The list and the totals labels for the picked month and year.
    void ShowMonth();
};

} // namespace vantreth
