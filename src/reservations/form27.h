// "Edit Reservation": every reservation on file, sorted by arrival date text and room; a
// double click opens the reservation in Edit Reservation.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form27 final : public AppForm {
public:
    static constexpr const char* kName = "Form27";
    explicit Form27(App& app);

    platform::Label Label2{*this,
                           "Label2",
                           {.caption = "Edit Reservation",
                            .at = {16, 10, 448, 28},
                            .fontSize = 14,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::Label Label5{*this,
                           "Label5",
                           {.caption = "(double click on a reservation)",
                            .at = {16, 40, 448, 20},
                            .align = platform::Align::Center}};
    platform::Label Label3{*this, "Label3", {.caption = "Arriving", .at = {20, 68, 90, 20}}};
    platform::Label Label1{*this, "Label1", {.caption = "Room", .at = {120, 68, 60, 20}}};
    platform::Label Label4{*this, "Label4", {.caption = "Last Name", .at = {212, 68, 120, 20}}};
    platform::ListBox List1{*this, "List1", {.at = {16, 90, 448, 330}, .sorted = true, .fixedFont = true}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Cancel / Esc", .at = {172, 432, 136, 32}}};

private:
    void Form_Load() override;
    void List1_DblClick();
    void Command1_Click();
};

} // namespace vantreth
