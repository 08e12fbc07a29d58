// "Totals Report": one picked day's totals with the state and city tax and the rooms
// rented, printed as the daily totals page.
#pragma once

#include "app/app.h"
#include "audit/totals_windows.h"

#include <array>

namespace vantreth {

class Form48 final : public AppForm {
public:
    static constexpr const char* kName = "Form48";
    explicit Form48(App& app);

    platform::Label Label21{
        *this,
        "Label21",
        {.caption = "TOTALS REPORT FOR", .at = {16, 12, 200, 24}, .fontSize = 12, .bold = true}};
    platform::Label Label22{*this, "Label22", {.at = {220, 12, 140, 24}, .fontSize = 12, .bold = true}};

    platform::Label Label1{*this, "Label1", {.caption = "ROOM RENT", .at = {16, 52, 140, 20}}};
    platform::Label Label11{*this, "Label11", {.at = {164, 52, 110, 20}, .bold = true}};
    platform::Label Label2{*this, "Label2", {.caption = "GROSS RENT", .at = {16, 78, 140, 20}}};
    platform::Label Label12{*this, "Label12", {.at = {164, 78, 110, 20}, .bold = true}};
    platform::Label Label3{*this, "Label3", {.caption = "TOTAL TAX", .at = {16, 104, 140, 20}}};
    platform::Label Label13{*this, "Label13", {.at = {164, 104, 110, 20}, .bold = true}};
    platform::Label Label4{*this, "Label4", {.caption = "CASH", .at = {16, 130, 140, 20}}};
    platform::Label Label14{*this, "Label14", {.at = {164, 130, 110, 20}, .bold = true}};
    platform::Label Label5{*this, "Label5", {.caption = "PET/OTHER", .at = {16, 156, 140, 20}}};
    platform::Label Label15{*this, "Label15", {.at = {164, 156, 110, 20}, .bold = true}};
    platform::Label Label6{*this, "Label6", {.caption = "PHONE", .at = {16, 182, 140, 20}}};
    platform::Label Label16{*this, "Label16", {.at = {164, 182, 110, 20}, .bold = true}};
    platform::Label Label7{*this, "Label7", {.caption = "VISA/MASTER", .at = {16, 208, 140, 20}}};
    platform::Label Label17{*this, "Label17", {.at = {164, 208, 110, 20}, .bold = true}};
    platform::Label Label8{*this, "Label8", {.caption = "AMERICAN EX.", .at = {16, 234, 140, 20}}};
    platform::Label Label18{*this, "Label18", {.at = {164, 234, 110, 20}, .bold = true}};
    platform::Label Label9{*this, "Label9", {.caption = "DISCOVER", .at = {16, 260, 140, 20}}};
    platform::Label Label19{*this, "Label19", {.at = {164, 260, 110, 20}, .bold = true}};
    platform::Label Label10{*this, "Label10", {.caption = "DINERS", .at = {16, 286, 140, 20}}};
    platform::Label Label20{*this, "Label20", {.at = {164, 286, 110, 20}, .bold = true}};

    platform::Label Label27{*this, "Label27", {.caption = "STATE TAX", .at = {300, 52, 164, 20}}};
    platform::Label Label25{*this, "Label25", {.at = {468, 52, 100, 20}, .bold = true}};
    platform::Label Label28{*this, "Label28", {.caption = "CITY TAX", .at = {300, 78, 164, 20}}};
    platform::Label Label26{*this, "Label26", {.at = {468, 78, 100, 20}, .bold = true}};
    platform::Label Label23{*this, "Label23", {.caption = "TOTAL ROOMS RENTED", .at = {300, 130, 164, 20}}};
    platform::Label Label24{*this, "Label24", {.at = {468, 130, 100, 20}, .bold = true}};

    platform::CommandButton Command3{
        *this, "Command3", {.caption = "Print Report", .at = {16, 324, 170, 32}}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "View another day", .at = {202, 324, 170, 32}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Cancel / Esc", .at = {398, 324, 170, 32}}};

    // Shows the day's figures in the value labels and the date.
    void ShowFigures(const audit::DailyTotalsFigures& figures);

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    // Label11 to Label20, in the order of the amounts.
    std::array<platform::Label*, 10> ValueLabels();
};

} // namespace vantreth
