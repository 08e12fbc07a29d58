// "Tax Code": the state and the city tax rates, typed as fractions; their sum is the total
// tax rate that every price with tax is figured from.
#pragma once

#include "app/app.h"

#include <string>

namespace vantreth {

// What is wrong with a typed tax rate, as the clerk is told it; "" when it is a fraction
// from 0 up to (not including) 1, or an empty box, which reads as 0.
std::string TaxRateProblem(const std::string& text);

class Form19 final : public AppForm {
public:
    static constexpr const char* kName = "Form19";
    explicit Form19(App& app);

    platform::Label Label1{*this, "Label1", {.caption = "State Tax", .at = {16, 16, 240, 20}}};
    platform::TextBox Text1{*this, "Text1", {.at = {16, 38, 120, 28}}};
    platform::Label Label2{
        *this, "Label2", {.caption = "City or local Tax (if any)", .at = {16, 78, 240, 20}}};
    platform::TextBox Text2{*this, "Text2", {.at = {16, 100, 120, 28}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Save Changes", .at = {16, 144, 130, 32}}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Cancel / Esc", .at = {158, 144, 130, 32}}};

private:
    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
};

} // namespace vantreth
