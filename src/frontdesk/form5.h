// "Change Shift": the incoming clerk picks the shift and types two initials.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form5 final : public AppForm {
public:
    static constexpr const char* kName = "Form5";
    explicit Form5(App& app);

    platform::Label Label3{*this,
                           "Label3",
                           {.caption = "Change Shift",
                            .at = {16, 10, 328, 28},
                            .fontSize = 14,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::Label Label1{*this, "Label1", {.caption = "Click on a Shift", .at = {16, 46, 328, 20}}};
    platform::Label Label7{
        *this, "Label7", {.caption = "1st", .at = {28, 72, 80, 18}, .align = platform::Align::Center}};
    platform::Label Label8{
        *this, "Label8", {.caption = "2nd", .at = {140, 72, 80, 18}, .align = platform::Align::Center}};
    platform::Label Label9{
        *this, "Label9", {.caption = "3rd", .at = {252, 72, 80, 18}, .align = platform::Align::Center}};
    platform::CommandButton Command3{*this, "Command3", {.caption = "A", .at = {28, 92, 80, 32}}};
    platform::CommandButton Command4{*this, "Command4", {.caption = "B", .at = {140, 92, 80, 32}}};
    platform::CommandButton Command5{*this, "Command5", {.caption = "C", .at = {252, 92, 80, 32}}};
    platform::Label Label5{*this, "Label5", {.caption = "Shift", .at = {28, 140, 60, 20}, .visible = false}};
    platform::Label Label4{*this, "Label4", {.at = {92, 140, 40, 20}, .visible = false, .bold = true}};
    platform::Label Label2{
        *this, "Label2", {.caption = "Initials", .at = {150, 140, 60, 20}, .visible = false}};
    platform::TextBox Text1{*this, "Text1", {.at = {214, 136, 60, 26}, .visible = false}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Change Now", .at = {28, 176, 140, 32}}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Cancel / Esc", .at = {192, 176, 140, 32}}};
    platform::Label Label6{*this,
                           "Label6",
                           {.caption =
                                "NOTE: Please make sure you print your shift cash drop sheet report before "
                                "changing shifts. Thanks.",
                            .at = {16, 220, 328, 40}}};

private:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click() { PickShift("A"); }
    void Command4_Click() { PickShift("B"); }
    void Command5_Click() { PickShift("C"); }
    void Text1_KeyPress(int& KeyAscii);

    void PickShift(const std::string& letter);
    // Saves the shift record and shows the new shift on the front desk.
    void Commit(const std::string& clerk);
};

} // namespace vantreth
