// "Drawer Balance": the current shift's cash by kind less the petty cash paid out on that
// shift, the rooms rented on the shift, and the printed cash drop sheet. Printing the sheet
// on shift "C" raises the "cdropyes" flag that lets the night audit start.
#pragma once

#include "app/app.h"

#include <string>

namespace vantreth {

class Form6 final : public AppForm {
public:
    static constexpr const char* kName = "Form6";
    explicit Form6(App& app);

    platform::Label Label19{*this,
                            "Label19",
                            {.caption = "Shift Cash Drop Report",
                             .at = {16, 10, 528, 28},
                             .fontSize = 14,
                             .bold = true,
                             .align = platform::Align::Center}};
    platform::Label Label1{*this, "Label1", {.caption = "DATE:", .at = {24, 52, 200, 22}}};
    platform::Label Label10{*this, "Label10", {.at = {232, 52, 120, 22}}};
    platform::Label Label2{*this, "Label2", {.caption = "SHIFT", .at = {24, 82, 200, 22}}};
    platform::Label Label11{*this, "Label11", {.at = {232, 82, 120, 22}}};
    platform::Label Label3{*this, "Label3", {.caption = "CLERK", .at = {24, 112, 200, 22}}};
    platform::Label Label12{*this, "Label12", {.at = {232, 112, 120, 22}}};
    platform::Label Label4{*this, "Label4", {.caption = "CASH FROM RENT", .at = {24, 142, 200, 22}}};
    platform::Label Label13{*this, "Label13", {.at = {232, 142, 120, 22}}};
    platform::Label Label5{*this, "Label5", {.caption = "CASH FROM VENDING", .at = {24, 172, 200, 22}}};
    platform::Label Label14{*this, "Label14", {.at = {232, 172, 120, 22}}};
    platform::Label Label6{*this, "Label6", {.caption = "CASH FROM DIRECT BILL", .at = {24, 202, 200, 22}}};
    platform::Label Label15{*this, "Label15", {.at = {232, 202, 120, 22}}};
    platform::Label Label7{*this, "Label7", {.caption = "CASH FROM OTHER", .at = {24, 232, 200, 22}}};
    platform::Label Label16{*this, "Label16", {.at = {232, 232, 120, 22}}};
    platform::Label Label20{*this, "Label20", {.caption = "PETTY CASH OUT -", .at = {24, 262, 200, 22}}};
    platform::Label Label21{*this, "Label21", {.at = {232, 262, 120, 22}}};
    platform::Label Label8{
        *this, "Label8", {.caption = "TOTAL SHIFT CASH", .at = {24, 292, 200, 22}, .bold = true}};
    platform::Label Label17{*this, "Label17", {.at = {232, 292, 120, 22}, .bold = true}};
    platform::Label Label9{*this, "Label9", {.caption = "AMOUNT YOU'RE DROPPING", .at = {24, 326, 200, 22}}};
    platform::TextBox Text1{*this, "Text1", {.at = {232, 322, 120, 28}}};
    platform::Label Label18{*this, "Label18", {.caption = "Rooms Rented", .at = {384, 52, 152, 22}}};
    platform::ListBox List1{*this, "List1", {.at = {384, 78, 152, 272}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Print and Esc", .at = {120, 370, 150, 32}}};
    platform::CommandButton Command2{*this, "Command2", {.caption = "Esc", .at = {290, 370, 150, 32}}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Command1_Click();
    void Command2_Click();

    // The shift's cash, its petty cash and its total, as the files hold them now.
    void ShowDrawer();
};

} // namespace vantreth
