// "Room Availability Report": the rooms still free, by group of room types, on the day
// picked in the date chart; from here a reservation for that day can be started.
#pragma once

#include "app/app.h"
#include "reservations/room_availability.h"

namespace vantreth {

class Form65 final : public AppForm {
public:
    static constexpr const char* kName = "Form65";
    explicit Form65(App& app);

    platform::Label Label2{*this,
                           "Label2",
                           {.caption = "Room Availability Report",
                            .at = {16, 10, 488, 28},
                            .fontSize = 14,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::Label Label1{*this,
                           "Label1",
                           {.caption = "DATE",
                            .at = {16, 44, 488, 24},
                            .fontSize = 12,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::Label Label16{*this, "Label16", {.caption = "NK1", .at = {60, 80, 60, 22}}};
    platform::Label Label17{*this, "Label17", {.at = {124, 80, 60, 22}, .bold = true}};
    platform::Label Label18{*this, "Label18", {.caption = "K11", .at = {60, 106, 60, 22}}};
    platform::Label Label19{*this, "Label19", {.at = {124, 106, 60, 22}, .bold = true}};
    platform::Label Label3{*this, "Label3", {.caption = "NQ1", .at = {60, 132, 60, 22}}};
    platform::Label Label7{*this, "Label7", {.at = {124, 132, 60, 22}, .bold = true}};
    platform::Label Label4{*this, "Label4", {.caption = "Q11", .at = {60, 158, 60, 22}}};
    platform::Label Label8{*this, "Label8", {.at = {124, 158, 60, 22}, .bold = true}};
    platform::Label Label5{*this, "Label5", {.caption = "NDD1", .at = {60, 184, 60, 22}}};
    platform::Label Label9{*this, "Label9", {.at = {124, 184, 60, 22}, .bold = true}};
    platform::Label Label6{*this, "Label6", {.caption = "DD1", .at = {60, 210, 60, 22}}};
    platform::Label Label10{*this, "Label10", {.at = {124, 210, 60, 22}, .bold = true}};
    platform::Label Label11{*this, "Label11", {.caption = "JQZ", .at = {60, 236, 60, 22}}};
    platform::Label Label12{*this, "Label12", {.at = {124, 236, 60, 22}, .bold = true}};
    platform::Label Label15{*this, "Label15", {.caption = "NOTE:", .at = {16, 272, 52, 20}, .bold = true}};
    platform::Label Label13{
        *this,
        "Label13",
        {.caption = "Keep in mind that out of order rooms are not excluded from the report above. "
                    "Rooms that are out of order now may be in service for the date",
         .at = {72, 272, 432, 58}}};
    platform::Label Label14{*this, "Label14", {.caption = "of the report above.", .at = {72, 330, 432, 20}}};
    platform::Frame Frame1{*this, "Frame1", {.caption = "Option", .at = {16, 360, 488, 140}}};
    platform::CommandButton Command3{
        *this,
        "Command3",
        {.caption = "Make a reservation for this date now", .at = {16, 24, 456, 32}, .frame = &Frame1}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Check Again", .at = {16, 62, 456, 32}, .frame = &Frame1}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Cancel / Esc", .at = {16, 100, 456, 32}, .frame = &Frame1}};

    // The counts of one day, each group in its label.
    void ShowCounts(const RoomGroupCounts& counts);

private:
    void Form_Load() override;
    void Form_Unload() override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
};

} // namespace vantreth
