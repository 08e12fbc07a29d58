// "Change Day of Week": the clerk sets the system's day of the week, which decides whether
// the weekday or the weekend rate table is applied to the rooms.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form56 final : public AppForm {
public:
    static constexpr const char* kName = "Form56";
    explicit Form56(App& app);

    platform::Label Label1{
        *this, "Label1", {.caption = "Click on a day", .at = {16, 12, 200, 20}, .bold = true}};
    platform::ListBox List1{*this, "List1", {.at = {16, 38, 200, 152}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Cancel / Esc", .at = {16, 202, 200, 32}}};

private:
    void Form_Load() override;
    void List1_Click();
    void Command1_Click();
};

} // namespace vantreth
