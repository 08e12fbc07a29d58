// "Edit Direct Bill Account": pick an account, change or delete it, or print its
// billing notice.
#pragma once

#include "app/app.h"
#include "directbill/direct_bill_accounts.h"

namespace vantreth {

class Form22 final : public AppForm {
public:
    static constexpr const char* kName = "Form22";
    explicit Form22(App& app);

    platform::Label Label16{*this,
                            "Label16",
                            {.caption = "Edit Direct Bill Account",
                             .at = {16, 12, 640, 28},
                             .fontSize = 14,
                             .bold = true,
                             .align = platform::Align::Center}};
    platform::ComboBox Combo1{
        *this,
        "Combo1",
        {.caption = "Select a Direct Bill Account Here", .at = {172, 52, 440, 28}, .listOnly = true}};
    platform::Label Label14{*this, "Label14", {.caption = "DB Number", .at = {16, 94, 150, 20}}};
    platform::Label Label5{*this, "Label5", {.at = {172, 92, 100, 24}, .fontSize = 12, .bold = true}};

    platform::Label Label1{*this, "Label1", {.caption = "Company Name", .at = {16, 132, 150, 20}}};
    platform::TextBox Text1{*this, "Text1", {.at = {172, 128, 440, 26}, .maxLength = 80}};
    platform::Label Label2{*this, "Label2", {.caption = "Contact Last Name", .at = {16, 166, 150, 20}}};
    platform::TextBox Text2{*this, "Text2", {.at = {172, 162, 180, 26}, .maxLength = 20}};
    platform::Label Label3{*this, "Label3", {.caption = "Contact First Name", .at = {16, 200, 150, 20}}};
    platform::TextBox Text3{*this, "Text3", {.at = {172, 196, 180, 26}, .maxLength = 20}};
    platform::Label Label4{*this, "Label4", {.caption = "Address", .at = {16, 234, 150, 20}}};
    platform::TextBox Text4{*this, "Text4", {.at = {172, 230, 340, 26}, .maxLength = 40}};
    platform::Label Label6{*this, "Label6", {.caption = "City", .at = {16, 268, 150, 20}}};
    platform::TextBox Text5{*this, "Text5", {.at = {172, 264, 260, 26}, .maxLength = 30}};
    platform::Label Label7{*this, "Label7", {.caption = "State", .at = {16, 302, 150, 20}}};
    platform::TextBox Text6{*this, "Text6", {.at = {172, 298, 40, 26}, .maxLength = 2}};
    platform::Label Label8{*this, "Label8", {.caption = "Zip", .at = {16, 336, 150, 20}}};
    platform::TextBox Text7{*this, "Text7", {.at = {172, 332, 80, 26}, .maxLength = 6}};
    platform::Label Label9{*this, "Label9", {.caption = "Telephone 1", .at = {16, 370, 150, 20}}};
    platform::TextBox Text8{*this, "Text8", {.at = {172, 366, 150, 26}, .maxLength = 15}};
    platform::Label Label10{*this, "Label10", {.caption = "Telephone 2", .at = {16, 404, 150, 20}}};
    platform::TextBox Text9{*this, "Text9", {.at = {172, 400, 150, 26}, .maxLength = 15}};
    platform::Label Label11{*this, "Label11", {.caption = "Fax", .at = {16, 438, 150, 20}}};
    platform::TextBox Text10{*this, "Text10", {.at = {172, 434, 150, 26}, .maxLength = 15}};
    platform::Label Label12{*this, "Label12", {.caption = "Cell", .at = {16, 472, 150, 20}}};
    platform::TextBox Text11{*this, "Text11", {.at = {172, 468, 150, 26}, .maxLength = 15}};
    platform::Label Label13{*this, "Label13", {.caption = "Current Balance $", .at = {16, 506, 150, 20}}};
    platform::TextBox Text12{*this, "Text12", {.at = {172, 502, 120, 26}}};
    platform::Label Label15{*this, "Label15", {.caption = "Tax Exempt", .at = {16, 540, 150, 20}}};
    platform::ComboBox Combo2{*this, "Combo2", {.at = {172, 536, 80, 28}}};

    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Save Changes", .at = {16, 584, 150, 32}, .enabled = false}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Cancel / Esc", .at = {180, 584, 150, 32}}};
    platform::CommandButton Command3{
        *this, "Command3", {.caption = "Print Billing Notice", .at = {344, 584, 150, 32}, .enabled = false}};
    platform::CommandButton Command4{
        *this, "Command4", {.caption = "Delete Account", .at = {508, 584, 150, 32}, .enabled = false}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Combo1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

    void FillAccountList();
    void SetBoxTexts(const directbill::AccountTexts& texts);
    // Label5 and the entry boxes empty, the buttons that act on an account disabled.
    void ClearAccount();
};

} // namespace vantreth
