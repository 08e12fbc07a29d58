// "Add Direct Bill Account": a new company account under the next account number.
#pragma once

#include "app/app.h"
#include "directbill/direct_bill_accounts.h"

namespace vantreth {

class Form20 final : public AppForm {
public:
    static constexpr const char* kName = "Form20";
    explicit Form20(App& app);

    platform::Label Label14{*this, "Label14", {.caption = "DB Number:", .at = {16, 18, 150, 20}}};
    platform::Label Label16{*this, "Label16", {.at = {172, 16, 100, 24}, .fontSize = 12, .bold = true}};

    platform::Label Label1{*this, "Label1", {.caption = "Company Name", .at = {16, 56, 150, 20}}};
    platform::TextBox Text1{*this, "Text1", {.at = {172, 52, 440, 26}, .maxLength = 80}};
    platform::Label Label2{*this, "Label2", {.caption = "Contact Last Name", .at = {16, 90, 150, 20}}};
    platform::TextBox Text2{*this, "Text2", {.at = {172, 86, 180, 26}, .maxLength = 20}};
    platform::Label Label3{*this, "Label3", {.caption = "Contact First Name", .at = {16, 124, 150, 20}}};
    platform::TextBox Text3{*this, "Text3", {.at = {172, 120, 180, 26}, .maxLength = 20}};
    platform::Label Label4{*this, "Label4", {.caption = "Address", .at = {16, 158, 150, 20}}};
    platform::TextBox Text4{*this, "Text4", {.at = {172, 154, 340, 26}, .maxLength = 40}};
    platform::Label Label5{*this, "Label5", {.caption = "City", .at = {16, 192, 150, 20}}};
    platform::TextBox Text5{*this, "Text5", {.at = {172, 188, 260, 26}, .maxLength = 30}};
    platform::Label Label6{*this, "Label6", {.caption = "State", .at = {16, 226, 150, 20}}};
    platform::TextBox Text6{*this, "Text6", {.at = {172, 222, 40, 26}, .maxLength = 2}};
    platform::Label Label7{*this, "Label7", {.caption = "Zip", .at = {16, 260, 150, 20}}};
    platform::TextBox Text7{*this, "Text7", {.at = {172, 256, 80, 26}, .maxLength = 6}};
    platform::Label Label8{*this, "Label8", {.caption = "Telephone 1", .at = {16, 294, 150, 20}}};
    platform::TextBox Text8{*this, "Text8", {.at = {172, 290, 150, 26}, .maxLength = 15}};
    platform::Label Label9{*this, "Label9", {.caption = "Telephone 2", .at = {16, 328, 150, 20}}};
    platform::TextBox Text9{*this, "Text9", {.at = {172, 324, 150, 26}, .maxLength = 15}};
    platform::Label Label10{*this, "Label10", {.caption = "Fax", .at = {16, 362, 150, 20}}};
    platform::TextBox Text10{*this, "Text10", {.at = {172, 358, 150, 26}, .maxLength = 15}};
    platform::Label Label11{*this, "Label11", {.caption = "Cell", .at = {16, 396, 150, 20}}};
    platform::TextBox Text11{*this, "Text11", {.at = {172, 392, 150, 26}, .maxLength = 15}};
    platform::Label Label12{*this, "Label12", {.caption = "Current Balance $", .at = {16, 430, 150, 20}}};
    platform::TextBox Text12{*this, "Text12", {.at = {172, 426, 120, 26}}};
    platform::Label Label13{*this, "Label13", {.caption = "Tax Exempt", .at = {16, 464, 150, 20}}};
    platform::ComboBox Combo1{*this, "Combo1", {.at = {172, 460, 80, 28}}};

    platform::CommandButton Command1{*this, "Command1", {.caption = "Save", .at = {172, 508, 140, 32}}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Cancel / Esc", .at = {328, 508, 140, 32}}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Command1_Click();
    void Command2_Click();
    // Enter in Text1 to Text11 moves on to the next box.
};

} // namespace vantreth
