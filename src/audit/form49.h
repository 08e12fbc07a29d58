// "Totals Report" day picker: the days of the current year up to today; a double click
// shows the day in the daily totals window.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form49 final : public AppForm {
public:
    static constexpr const char* kName = "Form49";
    explicit Form49(App& app);

    platform::Label Label1{
        *this,
        "Label1",
        {.caption = "Choose a day for the report  (double click on a date)", .at = {16, 12, 448, 20}}};
    platform::ListBox List1{*this, "List1", {.at = {16, 40, 200, 300}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Cancel / Esc", .at = {324, 308, 140, 32}}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void List1_DblClick();
    void Command1_Click();
};

} // namespace vantreth
