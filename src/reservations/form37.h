// "Todays Reservations": the reservations arriving today, in file order; a double click
// opens the reservation in Edit Reservation.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form37 final : public AppForm {
public:
    static constexpr const char* kName = "Form37";
    explicit Form37(App& app);

    platform::Label Label1{*this,
                           "Label1",
                           {.caption = "Todays Reservations",
                            .at = {16, 10, 368, 28},
                            .fontSize = 14,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::ListBox List1{*this, "List1", {.at = {16, 46, 368, 260}, .fixedFont = true}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Cancel / Esc", .at = {132, 318, 136, 32}}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void List1_DblClick();
    void Command1_Click();
};

} // namespace vantreth
