// "Edit Guest": corrects the guest record of the stay on show in the folio window, which
// stays open behind it and follows the pay code and departure date while the clerk types.
#pragma once

#include "app/app.h"
#include "folio/edit_guest.h"

#include <optional>
#include <string>

namespace vantreth {

class Form4;

class Form9 final : public AppForm {
public:
    static constexpr const char* kName = "Form9";
    explicit Form9(App& app);

    platform::Frame Frame5{*this, "Frame5", {.caption = "Guest Information", .at = {12, 10, 656, 424}}};

    platform::Label Label7{*this, "Label7", {.caption = "Last", .at = {12, 32, 84, 20}, .frame = &Frame5}};
    platform::TextBox Text9{*this, "Text9", {.at = {100, 28, 200, 26}, .frame = &Frame5}};
    platform::Label Label8{*this, "Label8", {.caption = "First", .at = {320, 32, 84, 20}, .frame = &Frame5}};
    platform::TextBox Text10{*this, "Text10", {.at = {408, 28, 200, 26}, .frame = &Frame5}};

    platform::Label Label9{*this, "Label9", {.caption = "Company", .at = {12, 66, 84, 20}, .frame = &Frame5}};
    platform::TextBox Text11{*this, "Text11", {.at = {100, 62, 240, 26}, .frame = &Frame5}};

    platform::Label Label10{
        *this, "Label10", {.caption = "Street", .at = {12, 100, 84, 20}, .frame = &Frame5}};
    platform::TextBox Text12{*this, "Text12", {.at = {100, 96, 280, 26}, .frame = &Frame5}};

    platform::Label Label11{*this, "Label11", {.caption = "City", .at = {12, 134, 84, 20}, .frame = &Frame5}};
    platform::TextBox Text13{*this, "Text13", {.at = {100, 130, 200, 26}, .frame = &Frame5}};
    platform::Label Label12{
        *this, "Label12", {.caption = "State", .at = {320, 134, 48, 20}, .frame = &Frame5}};
    platform::TextBox Text14{*this, "Text14", {.at = {372, 130, 44, 26}, .frame = &Frame5}};
    platform::Label Label13{*this, "Label13", {.caption = "Zip", .at = {436, 134, 36, 20}, .frame = &Frame5}};
    platform::TextBox Text15{*this, "Text15", {.at = {476, 130, 80, 26}, .frame = &Frame5}};

    platform::Label Label14{
        *this, "Label14", {.caption = "Phone", .at = {12, 168, 84, 20}, .frame = &Frame5}};
    platform::TextBox Text16{*this, "Text16", {.at = {100, 164, 160, 26}, .frame = &Frame5}};
    platform::Label Label15{
        *this, "Label15", {.caption = "Reg.Card", .at = {320, 168, 84, 20}, .frame = &Frame5}};
    platform::TextBox Text17{*this, "Text17", {.at = {408, 164, 80, 26}, .frame = &Frame5}};

    platform::Label Label16{
        *this, "Label16", {.caption = "Adults", .at = {12, 202, 84, 20}, .frame = &Frame5}};
    platform::TextBox Text18{*this, "Text18", {.at = {100, 198, 56, 26}, .frame = &Frame5}};
    platform::Label Label17{
        *this, "Label17", {.caption = "Chil.", .at = {176, 202, 48, 20}, .frame = &Frame5}};
    platform::TextBox Text19{*this, "Text19", {.at = {228, 198, 56, 26}, .frame = &Frame5}};

    platform::Label Label18{
        *this, "Label18", {.caption = "Comment", .at = {12, 236, 84, 20}, .frame = &Frame5}};
    platform::TextBox Text20{*this, "Text20", {.at = {100, 232, 540, 26}, .frame = &Frame5}};

    platform::Label Label19{
        *this, "Label19", {.caption = "Departing:", .at = {12, 270, 84, 20}, .frame = &Frame5}};
    platform::TextBox Text5{*this, "Text5", {.at = {100, 266, 100, 26}, .frame = &Frame5}};
    platform::Label Label20{
        *this, "Label20", {.caption = "Pay Code", .at = {220, 270, 72, 20}, .frame = &Frame5}};
    platform::TextBox Text1{*this, "Text1", {.at = {296, 266, 40, 26}, .frame = &Frame5}};
    platform::Label Label21{
        *this, "Label21", {.caption = "DB#:", .at = {356, 270, 40, 20}, .frame = &Frame5}};
    platform::TextBox Text2{*this, "Text2", {.at = {400, 266, 96, 26}, .frame = &Frame5}};

    platform::Label Label22{
        *this, "Label22", {.caption = "Card No.", .at = {12, 304, 84, 20}, .frame = &Frame5}};
    platform::TextBox Text3{*this, "Text3", {.at = {100, 300, 320, 26}, .frame = &Frame5}};
    platform::Label Label23{
        *this, "Label23", {.caption = "Expire Date", .at = {436, 304, 96, 20}, .frame = &Frame5}};
    platform::TextBox Text4{*this, "Text4", {.at = {536, 300, 104, 26}, .frame = &Frame5}};

    platform::Label Label27{*this, "Label27", {.caption = "Rate", .at = {12, 338, 84, 20}, .frame = &Frame5}};
    platform::TextBox Text6{*this, "Text6", {.at = {100, 334, 100, 26}, .frame = &Frame5}};

    platform::Label Label28{*this, "Label28", {.caption = "Room", .at = {12, 382, 44, 20}, .frame = &Frame5}};
    platform::Label Label25{*this, "Label25", {.at = {60, 382, 40, 20}, .frame = &Frame5, .bold = true}};
    platform::Label Label29{
        *this, "Label29", {.caption = "Arrived:", .at = {116, 382, 68, 20}, .frame = &Frame5}};
    platform::Label Label6{*this, "Label6", {.at = {188, 382, 96, 20}, .frame = &Frame5, .bold = true}};
    platform::Label Label30{
        *this, "Label30", {.caption = "Arrive Time:", .at = {296, 382, 100, 20}, .frame = &Frame5}};
    platform::Label Label24{*this, "Label24", {.at = {400, 382, 100, 20}, .frame = &Frame5, .bold = true}};
    platform::Label Label31{
        *this, "Label31", {.caption = "Clerk", .at = {520, 382, 48, 20}, .frame = &Frame5}};
    platform::Label Label1{*this, "Label1", {.at = {572, 382, 40, 20}, .frame = &Frame5, .bold = true}};
    // The pay code as loaded, put back into the folio window by Cancel.
    platform::Label Label26{*this, "Label26", {.at = {612, 382, 24, 20}, .frame = &Frame5, .visible = false}};

    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Save Changes", .at = {176, 446, 150, 32}}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Cancel / Esc", .at = {354, 446, 150, 32}}};

    // The stay the window loaded (slot and record as read); nullopt when the room held no
    // guest. Save writes this stay and no other.
    const std::optional<LoadedStay>& Editing() const { return m_loaded; }

private:
    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
    void Text1_Change();
    void Text1_Click();
    void Text1_KeyPress(int& KeyAscii);
    void Text5_Change();

    GuestEdit Boxes() const;
    void FillBoxes(const GuestEdit& edit);
    // The folio window, when it is open.
    Form4* Folio();
    // The folio window, when it is open and shows the stay being edited: only then do its
    // labels follow the boxes.
    Form4* FolioOfThisStay();

    std::optional<LoadedStay> m_loaded;
    std::string m_room; // the room asked for at load
};

} // namespace vantreth
