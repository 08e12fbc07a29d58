// "Direct Bill Payments": a company pays on its account; the window also prints the
// account's billing notice.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form23 final : public AppForm {
public:
    static constexpr const char* kName = "Form23";
    explicit Form23(App& app);

    platform::Label Label1{*this,
                           "Label1",
                           {.caption = "Direct Bill Payment",
                            .at = {16, 12, 568, 28},
                            .fontSize = 14,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::ComboBox Combo1{
        *this, "Combo1", {.caption = "Select a client ", .at = {16, 52, 568, 28}, .listOnly = true}};
    platform::Label Label2{*this, "Label2", {.at = {16, 90, 568, 22}, .bold = true}};
    platform::Label Label5{*this, "Label5", {.caption = "Current Balance", .at = {16, 126, 130, 20}}};
    platform::Label Label6{*this, "Label6", {.caption = "$", .at = {150, 126, 12, 20}}};
    platform::Label Label7{*this, "Label7", {.at = {166, 124, 120, 24}, .bold = true}};
    platform::Label Label3{*this, "Label3", {.caption = "Payment", .at = {16, 162, 130, 20}}};
    platform::Label Label4{*this, "Label4", {.caption = "$", .at = {150, 162, 12, 20}}};
    platform::TextBox Text1{*this, "Text1", {.at = {166, 158, 120, 26}, .enabled = false}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Enter Payment", .at = {16, 204, 176, 32}, .enabled = false}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Cancel / Esc", .at = {212, 204, 176, 32}}};
    platform::CommandButton Command3{
        *this, "Command3", {.caption = "Print Billing Notice", .at = {408, 204, 176, 32}, .enabled = false}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Combo1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
};

} // namespace vantreth
