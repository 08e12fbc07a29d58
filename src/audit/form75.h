// "Petty Cash Out": money paid out of the drawer, logged in the day's petty cash file and
// taken off the day's cash.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form75 final : public AppForm {
public:
    static constexpr const char* kName = "Form75";
    explicit Form75(App& app);

    platform::Label Label1{*this,
                           "Label1",
                           {.caption = "Enter Petty Cash Out",
                            .at = {16, 14, 328, 26},
                            .fontSize = 12,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::Label Label2{
        *this, "Label2", {.caption = "Amount", .at = {48, 62, 64, 22}, .align = platform::Align::Right}};
    platform::Label Label3{*this, "Label3", {.caption = "$", .at = {118, 62, 14, 22}}};
    platform::TextBox Text1{*this, "Text1", {.at = {136, 58, 140, 28}}};
    platform::CommandButton Command2{*this, "Command2", {.caption = "Enter Now", .at = {36, 112, 136, 32}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Cancel / Esc", .at = {188, 112, 136, 32}}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Text1_KeyPress(int& KeyAscii);
    void Command1_Click();
    void Command2_Click();
};

} // namespace vantreth
