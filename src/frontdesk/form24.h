// "Change Rates on Room Type": one rate for every room of a type, locked rooms included.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form24 final : public AppForm {
public:
    static constexpr const char* kName = "Form24";
    explicit Form24(App& app);

    platform::ComboBox Combo1{
        *this, "Combo1", {.caption = "select room type", .at = {20, 20, 180, 28}, .listOnly = true}};
    platform::Label Label4{*this, "Label4", {.at = {220, 20, 100, 28}, .fontSize = 14, .bold = true}};
    platform::Label Label1{*this, "Label1", {.caption = "Current Rate", .at = {20, 66, 110, 22}}};
    platform::Label Label2{*this, "Label2", {.at = {136, 66, 100, 22}, .bold = true}};
    platform::Label Label3{*this, "Label3", {.caption = "New Rate $", .at = {20, 102, 110, 22}}};
    platform::TextBox Text1{*this, "Text1", {.at = {136, 98, 100, 28}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Save Changes", .at = {20, 144, 140, 34}}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Cancel / Esc", .at = {176, 144, 140, 34}}};

private:
    void Form_Load() override;
    void Combo1_Click();
    void Command1_Click();
    void Command2_Click();
};

} // namespace vantreth
