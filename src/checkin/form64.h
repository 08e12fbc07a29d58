// "Add Additional Fee": one extra fee (pet, roll-away bed or other) for the stay being
// checked in; "Do Now" shows it in the check-in window's fee panel and adds it to the total.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form64 final : public AppForm {
public:
    static constexpr const char* kName = "Form64";
    explicit Form64(App& app);

    platform::Label Label1{*this, "Label1", {.caption = "Description", .at = {16, 20, 90, 20}}};
    platform::ComboBox Combo1{*this, "Combo1", {.caption = "Select Description", .at = {110, 16, 200, 28}}};
    platform::Label Label2{*this, "Label2", {.caption = "Amount", .at = {16, 58, 90, 20}}};
    platform::TextBox Text1{*this, "Text1", {.at = {110, 54, 100, 26}, .enabled = false}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Do Now", .at = {40, 100, 120, 32}, .enabled = false}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Cancel", .at = {176, 100, 120, 32}}};

private:
    void Form_Load() override;
    void Combo1_Click();
    void Text1_Change();
    void Text1_KeyPress(int& KeyAscii);
    void Command1_Click();
    void Command2_Click();
};

} // namespace vantreth
