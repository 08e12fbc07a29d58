// "Do Not Rent List": the clerk adds a last and first name to the list of people the motel
// will not rent to, or takes one off; the check-in warns when a guest's names are on it.
#pragma once

#include "app/app.h"
#include "records/norent_record.h"

#include <vector>

namespace vantreth {

class Form46 final : public AppForm {
public:
    static constexpr const char* kName = "Form46";
    explicit Form46(App& app);

    platform::Label Label1{*this,
                           "Label1",
                           {.caption =
                                "The purpose of this module is to add someone to the list that we don't want "
                                "renting here anymore for whatever reason.",
                            .at = {16, 12, 468, 56}}};
    platform::Label Label2{
        *this,
        "Label2",
        {.caption = "Upon check in, the program will warn that this person is on the no rent list.",
         .at = {16, 72, 468, 38}}};
    platform::Label Label5{
        *this, "Label5", {.caption = "To take someone off of the list,", .at = {16, 118, 260, 20}}};
    platform::Label Label6{*this, "Label6", {.caption = "double click on a name.", .at = {16, 138, 260, 20}}};
    platform::ListBox List1{*this, "List1", {.at = {16, 164, 260, 200}}};
    platform::CommandButton Command2{*this, "Command2", {.caption = "Add", .at = {296, 164, 188, 32}}};
    platform::Label Label4{*this, "Label4", {.caption = "Last", .at = {296, 210, 44, 20}, .visible = false}};
    platform::TextBox Text1{*this, "Text1", {.at = {344, 206, 140, 26}, .visible = false, .maxLength = 15}};
    platform::Label Label3{*this, "Label3", {.caption = "First", .at = {296, 244, 44, 20}, .visible = false}};
    platform::TextBox Text2{*this, "Text2", {.at = {344, 240, 140, 26}, .visible = false, .maxLength = 15}};
    platform::CommandButton Command3{
        *this, "Command3", {.caption = "Add Now", .at = {296, 278, 188, 32}, .visible = false}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Cancel / Esc", .at = {296, 332, 188, 32}}};

private:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Text1_KeyPress(int& KeyAscii);
    void Text2_KeyPress(int& KeyAscii);
    void List1_DblClick();

    // Rebuilds List1 from the file.
    void FillList();
    void HideEntry();

    // The live entries behind the lines of List1, in the same order.
    std::vector<records::NoRentEntry> m_entries;
};

} // namespace vantreth
