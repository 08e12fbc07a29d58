// "View Folio": the in-house guest's account. Shows the stay's ledger with a running
// balance, posts charges and payments by code, prints the folio and checks the guest out.
#pragma once

#include "app/app.h"
#include "folio/folio_postings.h"

#include <optional>

namespace vantreth {

class Form4 final : public AppForm {
public:
    static constexpr const char* kName = "Form4";
    explicit Form4(App& app);

    platform::Label Label16{*this, "Label16", {.caption = "Room#", .at = {16, 16, 56, 20}}};
    platform::TextBox Text3{*this, "Text3", {.at = {76, 12, 48, 26}, .maxLength = 3}};
    platform::ComboBox Combo1{
        *this, "Combo1", {.caption = "Select Room", .at = {140, 12, 320, 26}, .fixedFont = true}};
    platform::Label Label19{*this, "Label19", {.at = {760, 16, 120, 20}, .align = platform::Align::Right}};

    platform::Label Label1{
        *this, "Label1", {.caption = "Last, First", .at = {16, 48, 300, 22}, .bold = true}};
    platform::Label Label2{*this, "Label2", {.caption = "Pay=", .at = {326, 50, 40, 20}}};
    platform::Label Label7{*this, "Label7", {.at = {368, 50, 24, 20}, .bold = true}};
    platform::Label Label3{*this, "Label3", {.caption = "Rm:", .at = {402, 50, 32, 20}}};
    platform::Label Label8{*this, "Label8", {.at = {436, 50, 40, 20}, .bold = true}};
    platform::Label Label4{*this, "Label4", {.caption = "Folio:", .at = {486, 50, 48, 20}}};
    platform::Label Label9{*this, "Label9", {.at = {536, 50, 56, 20}, .bold = true}};
    platform::Label Label5{*this, "Label5", {.caption = "In:", .at = {602, 50, 28, 20}}};
    platform::Label Label10{*this, "Label10", {.at = {632, 50, 96, 20}, .bold = true}};
    platform::Label Label6{*this, "Label6", {.caption = "Out:", .at = {738, 50, 36, 20}}};
    platform::Label Label11{*this, "Label11", {.at = {776, 50, 104, 20}, .bold = true}};

    platform::Label Label22{*this, "Label22", {.at = {16, 78, 430, 20}}};
    platform::Label Label32{
        *this,
        "Label32",
        {.caption = "Balance before this stay", .at = {470, 78, 200, 20}, .visible = false}};
    platform::Label Label33{*this, "Label33", {.caption = "$", .at = {674, 78, 12, 20}, .visible = false}};
    platform::Label Label34{*this, "Label34", {.at = {688, 78, 110, 20}, .visible = false}};

    platform::ListBox List1{*this, "List1", {.at = {16, 104, 868, 300}, .fixedFont = true}};

    platform::Label Label21{*this, "Label21", {.caption = "E=", .at = {16, 416, 28, 20}, .visible = false}};
    platform::Label Label23{*this, "Label23", {.at = {44, 416, 70, 20}, .visible = false}};
    platform::Label Label24{*this, "Label24", {.caption = "L=", .at = {120, 416, 28, 20}, .visible = false}};
    platform::Label Label25{*this, "Label25", {.at = {148, 416, 70, 20}, .visible = false}};
    platform::Label Label26{*this, "Label26", {.caption = "G=", .at = {224, 416, 28, 20}, .visible = false}};
    platform::Label Label27{*this, "Label27", {.at = {252, 416, 70, 20}, .visible = false}};
    platform::Label Label28{*this, "Label28", {.caption = "J=", .at = {328, 416, 28, 20}, .visible = false}};
    platform::Label Label29{*this, "Label29", {.at = {356, 416, 70, 20}, .visible = false}};
    platform::Label Label30{*this, "Label30", {.caption = "CC=", .at = {432, 416, 36, 20}, .visible = false}};
    platform::Label Label31{*this, "Label31", {.at = {470, 416, 80, 20}, .visible = false}};
    platform::Label Label17{*this, "Label17", {.caption = "Balance.............", .at = {580, 414, 170, 22}}};
    platform::Label Label20{*this, "Label20", {.caption = "$", .at = {752, 414, 12, 22}, .bold = true}};
    platform::Label Label18{
        *this, "Label18", {.caption = "balance", .at = {766, 414, 118, 22}, .bold = true}};

    platform::Frame Frame1{*this, "Frame1", {.caption = "Add Charges/Payments", .at = {16, 446, 560, 130}}};
    platform::Label Label12{*this, "Label12", {.caption = "Code", .at = {12, 24, 60, 20}, .frame = &Frame1}};
    platform::ComboBox Combo3{*this, "Combo3", {.at = {12, 46, 60, 26}, .frame = &Frame1}};
    platform::Label Label13{
        *this, "Label13", {.caption = "Amount", .at = {84, 24, 90, 20}, .frame = &Frame1}};
    platform::TextBox Text2{*this, "Text2", {.at = {84, 46, 90, 26}, .frame = &Frame1}};
    platform::Label Label14{
        *this, "Label14", {.caption = "Tax Code", .at = {186, 24, 70, 20}, .frame = &Frame1}};
    platform::TextBox Text1{*this, "Text1", {.at = {186, 46, 70, 26}, .frame = &Frame1, .maxLength = 1}};
    platform::Label Label15{
        *this, "Label15", {.caption = "Comment", .at = {268, 24, 280, 20}, .frame = &Frame1}};
    platform::TextBox Text4{*this, "Text4", {.at = {268, 46, 280, 26}, .frame = &Frame1, .maxLength = 32}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Do Now-->", .at = {12, 86, 120, 32}, .frame = &Frame1}};
    platform::ComboBox Combo2{*this, "Combo2", {.caption = "CODE NAMES", .at = {590, 446, 170, 26}}};

    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Cancel / Esc", .at = {590, 484, 140, 32}}};
    platform::CommandButton Command3{
        *this, "Command3", {.caption = "Print Folio", .at = {740, 484, 140, 32}, .enabled = false}};
    platform::CommandButton Command4{
        *this, "Command4", {.caption = "Check Out", .at = {590, 524, 140, 32}, .enabled = false}};
    platform::CommandButton Command5{
        *this, "Command5", {.caption = "Edit Guest Info.", .at = {740, 524, 140, 32}, .enabled = false}};
    platform::CommandButton Command6{
        *this, "Command6", {.caption = "Check Back In", .at = {590, 564, 140, 32}}};
    platform::Frame Frame2{*this, "Frame2", {.caption = "Options", .at = {740, 560, 140, 62}}};
    platform::CommandButton Command7{
        *this, "Command7", {.caption = "(future)", .at = {10, 22, 120, 30}, .frame = &Frame2}};

    // The "Select Room" list as the window's start fills it from "guest"; the windows that
    // change a stay call this to rebuild it.
    void FillRoomList();

private:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Form_Click() override;
    void Combo1_Click();
    void Combo2_Change();
    void Combo3_Click();
    void Text1_Click();
    void Text2_Change();
    void Text2_KeyPress(int& KeyAscii);
    void Text3_Click();
    void Text3_KeyPress(int& KeyAscii);
    void Text4_Click();
    void Text4_KeyPress(int& KeyAscii);
    void Label17_DblClick();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();

    // The slot of the stay on show; nullopt when none is, or when that slot no longer holds
    // that stay (its folio number and room) because it left or moved meanwhile.
    std::optional<long> SlotOnShow();
    // The check-out state of the stay on show, read now; nullopt, the clerk told why, when
    // the stay is gone or its ledger is missing.
    std::optional<CheckOutState> CheckOutStateOnShow();
    // The balance rule on that state; false, the clerk told why, when the guest cannot leave
    // (`answered`: the clerk has said Yes to the check-out).
    bool CheckOutAllowed(const CheckOutState& state, bool answered);
    // The check-out's writes, on a state CheckOutAllowed let through.
    void CheckOut(const CheckOutState& state);
    // Shows the folio of the guest in that slot; false when its ledger is missing.
    bool ShowFolio(long slot);
    // Lists the stay's ledger under the heading and sets the balance label.
    bool ListLedger(long slot, bool blankExemptTax);
    void SetSumsVisible(bool visible);
    void SetDirectBillVisible(bool visible);
    // After a check-out: no guest on show.
    void ClearFolio();

    // The stay on show: its slot and folio number as shown.
    long m_slot = 0;
    std::string m_folio;
};

} // namespace vantreth
