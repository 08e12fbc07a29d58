// "Set Rates": the weekday and weekend rate tables, one nightly rate per rate group; saving
// the table of today's kind applies it to the rooms at once.
#pragma once

#include "app/app.h"
#include "records/room_record.h"
#include "records/settings_files.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantreth {

// The locked room's line in the list of rooms whose rate did not change: Room (3
// characters as stored), two blanks and the rate with a leading blank ("12   45.5").
std::string LockedRoomLine(const records::RoomRecord& room);

// The rate typed into a "Change to" box: nullopt for an empty box (the stored rate stays),
// else the rate. `valid` is false when the text is not a non-negative number.
struct TypedRate {
    bool valid = true;
    std::optional<float> rate;
};
TypedRate ReadTypedRate(const std::string& text);

class Form59 final : public AppForm {
public:
    static constexpr const char* kName = "Form59";
    explicit Form59(App& app);

    platform::Frame Frame1{*this, "Frame1", {.caption = "Weekday Rates (Mon-Thu)", .at = {16, 16, 270, 204}}};
    platform::Label Label1{
        *this, "Label1", {.caption = "Current", .at = {84, 24, 80, 20}, .frame = &Frame1, .bold = true}};
    platform::Label Label2{
        *this, "Label2", {.caption = "Change to", .at = {172, 24, 88, 20}, .frame = &Frame1, .bold = true}};
    platform::Label Label3{*this, "Label3", {.caption = "SINGLE", .at = {12, 54, 68, 20}, .frame = &Frame1}};
    platform::Label Label7{*this, "Label7", {.at = {84, 54, 80, 20}, .frame = &Frame1}};
    platform::TextBox Text1{*this, "Text1", {.at = {172, 50, 84, 28}, .frame = &Frame1}};
    platform::Label Label4{*this, "Label4", {.caption = "DOUBLE", .at = {12, 90, 68, 20}, .frame = &Frame1}};
    platform::Label Label8{*this, "Label8", {.at = {84, 90, 80, 20}, .frame = &Frame1}};
    platform::TextBox Text2{*this, "Text2", {.at = {172, 86, 84, 28}, .frame = &Frame1}};
    platform::Label Label5{*this, "Label5", {.caption = "JQZ", .at = {12, 126, 68, 20}, .frame = &Frame1}};
    platform::Label Label9{*this, "Label9", {.at = {84, 126, 80, 20}, .frame = &Frame1}};
    platform::TextBox Text3{*this, "Text3", {.at = {172, 122, 84, 28}, .frame = &Frame1}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "UPDATE", .at = {84, 162, 120, 32}, .frame = &Frame1}};

    platform::Frame Frame2{
        *this, "Frame2", {.caption = "Weekend Rates (Fri-Sun)", .at = {302, 16, 270, 204}}};
    platform::Label Label10{
        *this, "Label10", {.caption = "Current", .at = {84, 24, 80, 20}, .frame = &Frame2, .bold = true}};
    platform::Label Label11{
        *this, "Label11", {.caption = "Change to", .at = {172, 24, 88, 20}, .frame = &Frame2, .bold = true}};
    platform::Label Label12{
        *this, "Label12", {.caption = "SINGLE", .at = {12, 54, 68, 20}, .frame = &Frame2}};
    platform::Label Label20{*this, "Label20", {.at = {84, 54, 80, 20}, .frame = &Frame2}};
    platform::TextBox Text6{*this, "Text6", {.at = {172, 50, 84, 28}, .frame = &Frame2}};
    platform::Label Label13{
        *this, "Label13", {.caption = "DOUBLE", .at = {12, 90, 68, 20}, .frame = &Frame2}};
    platform::Label Label19{*this, "Label19", {.at = {84, 90, 80, 20}, .frame = &Frame2}};
    platform::TextBox Text5{*this, "Text5", {.at = {172, 86, 84, 28}, .frame = &Frame2}};
    platform::Label Label14{*this, "Label14", {.caption = "JQZ", .at = {12, 126, 68, 20}, .frame = &Frame2}};
    platform::Label Label18{*this, "Label18", {.at = {84, 126, 80, 20}, .frame = &Frame2}};
    platform::TextBox Text4{*this, "Text4", {.at = {172, 122, 84, 28}, .frame = &Frame2}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "UPDATE", .at = {84, 162, 120, 32}, .frame = &Frame2}};

    platform::ListBox List1{*this, "List1", {.at = {16, 234, 160, 124}, .visible = false, .fixedFont = true}};
    platform::Label Label24{*this,
                            "Label24",
                            {.caption =
                                 "<--- These rooms rates did not change. There rates were chosen not to "
                                 "change. To allow these rates to change with all others, go into 'Edit "
                                 "room properties' and un check the keep rate option.",
                             .at = {188, 234, 384, 104},
                             .visible = false}};
    platform::CommandButton Command3{
        *this, "Command3", {.caption = "Cancel / Esc", .at = {224, 372, 140, 32}}};

private:
    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Text1_KeyPress(int& KeyAscii) { platform::EnterMovesFocus(KeyAscii, Text2); }
    void Text2_KeyPress(int& KeyAscii) { platform::EnterMovesFocus(KeyAscii, Text3); }
    void Text3_KeyPress(int& KeyAscii) { platform::EnterMovesFocus(KeyAscii, Command1); }
    void Text6_KeyPress(int& KeyAscii) { platform::EnterMovesFocus(KeyAscii, Text5); }
    void Text5_KeyPress(int& KeyAscii) { platform::EnterMovesFocus(KeyAscii, Text4); }
    void Text4_KeyPress(int& KeyAscii) { platform::EnterMovesFocus(KeyAscii, Command2); }

    // Saves the table from the three boxes (an empty box keeps its rate) and shows it.
    // Nothing is saved, and nullopt returned, when a box holds no valid rate.
    std::optional<records::RateTable> SaveTable(std::string_view fileName, platform::TextBox& single,
                                                platform::TextBox& dbl, platform::TextBox& jqz,
                                                platform::Label& singleShown, platform::Label& doubleShown,
                                                platform::Label& jqzShown);
    // The day number, or nullopt (and the clerk told) when it was never set.
    std::optional<double> DayOfWeek();
};

} // namespace vantreth
