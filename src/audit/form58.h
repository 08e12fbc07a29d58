// "Authorization": asks for the access code before the totals repair window opens.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form58 final : public AppForm {
public:
    static constexpr const char* kName = "Form58";
    explicit Form58(App& app);

    platform::Label Label1{*this, "Label1", {.caption = "Enter Authorization Code", .at = {16, 14, 260, 20}}};
    platform::TextBox Text1{*this, "Text1", {.at = {16, 40, 170, 26}}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "GO --->", .at = {196, 38, 90, 30}}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Text1_KeyPress(int& KeyAscii);
    void Command1_Click();
};

} // namespace vantreth
