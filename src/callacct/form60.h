// "Phone Log Reports": lists the calls of a chosen day and prints that day's call report.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form60 final : public AppForm {
public:
    static constexpr const char* kName = "Form60";
    explicit Form60(App& app);

    platform::Label Label2{*this,
                           "Label2",
                           {.caption = "Phone Log Report",
                            .at = {16, 12, 568, 28},
                            .fontSize = 14,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::ComboBox Combo1{*this, "Combo1", {.caption = "Year", .at = {16, 52, 160, 28}}};
    platform::ComboBox Combo2{
        *this, "Combo2", {.caption = "Select Month", .at = {192, 52, 200, 28}, .enabled = false}};
    platform::ListBox List1{*this, "List1", {.at = {16, 92, 568, 262}, .fixedFont = true}};
    // The date text of the day listed; it names the day that "Print" prints.
    platform::Label Label1{*this, "Label1", {.at = {16, 366, 200, 20}, .visible = false}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Print", .at = {290, 392, 140, 32}, .enabled = false}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Cancel / Esc", .at = {444, 392, 140, 32}}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Combo1_Click();
    void Combo2_Click();
    void Command2_Click();
    void Command1_Click();
};

} // namespace vantreth
