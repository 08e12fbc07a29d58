// "Add Reservation": the clerk picks a free room for the arrival date, the nights and the
// rate, the payment with any deposit, types the guest's details and stores the reservation.
#pragma once

#include "app/app.h"
#include "app/guest_boxes.h"
#include "app/returning_guest.h"

namespace vantreth {

class Form26 final : public AppForm, public TakesReturningGuest {
public:
    static constexpr const char* kName = "Form26";
    explicit Form26(App& app);

    // Room, nights, rate and price.
    platform::Frame Frame1{*this, "Frame1", {.caption = "Room/Payments ", .at = {12, 12, 440, 258}}};
    platform::Label Label9{
        *this, "Label9", {.caption = "Arriving", .at = {12, 28, 70, 20}, .frame = &Frame1}};
    platform::TextBox Text3{*this, "Text3", {.at = {86, 24, 100, 26}, .frame = &Frame1}};
    platform::ComboBox Combo1{*this,
                              "Combo1",
                              {.caption = "select room",
                               .at = {196, 24, 150, 28},
                               .frame = &Frame1,
                               .sorted = true,
                               .fixedFont = true}};
    platform::Label Label1{*this, "Label1", {.caption = "Days", .at = {354, 28, 38, 20}, .frame = &Frame1}};
    platform::TextBox Text1{*this, "Text1", {.caption = "1", .at = {394, 24, 34, 26}, .frame = &Frame1}};
    platform::Label Label2{*this, "Label2", {.caption = "Rate", .at = {12, 64, 70, 20}, .frame = &Frame1}};
    platform::TextBox Text2{*this, "Text2", {.at = {86, 60, 100, 26}, .frame = &Frame1, .enabled = false}};
    platform::Label Label3{*this, "Label3", {.caption = "Total", .at = {196, 64, 44, 20}, .frame = &Frame1}};
    platform::Label Label24{*this, "Label24", {.at = {242, 62, 84, 24}, .frame = &Frame1, .bold = true}};
    platform::Label Label23{
        *this, "Label23", {.caption = "Taxempt", .at = {334, 64, 66, 20}, .frame = &Frame1}};
    platform::CheckBox Check1{*this, "Check1", {.at = {402, 60, 26, 26}, .frame = &Frame1, .enabled = false}};
    platform::Label Label4{
        *this, "Label4", {.caption = "Total Stay", .at = {12, 100, 80, 20}, .frame = &Frame1}};
    platform::Label Label25{*this, "Label25", {.at = {96, 98, 130, 24}, .frame = &Frame1, .bold = true}};
    platform::ComboBox Combo3{*this,
                              "Combo3",
                              {.caption = "select another rate",
                               .at = {12, 134, 190, 28},
                               .frame = &Frame1,
                               .enabled = false,
                               .listOnly = true}};
    platform::CommandButton Command5{
        *this,
        "Command5",
        {.caption = "Take 10% Off", .at = {212, 132, 130, 32}, .frame = &Frame1, .enabled = false}};
    platform::CommandButton Command1{
        *this,
        "Command1",
        {.caption = "Re-Calculate Total", .at = {12, 172, 190, 32}, .frame = &Frame1, .enabled = false}};
    platform::ComboBox Combo2{*this,
                              "Combo2",
                              {.caption = "choose payment",
                               .at = {12, 214, 190, 28},
                               .frame = &Frame1,
                               .enabled = false,
                               .listOnly = true}};

    // The payment panels: card deposit, direct bill account, cash deposit.
    platform::Frame Frame2{
        *this, "Frame2", {.caption = "Credit Information", .at = {12, 280, 440, 156}, .enabled = false}};
    platform::Label Label28{
        *this,
        "Label28",
        {.caption = "If credit card payment today", .at = {12, 24, 240, 20}, .frame = &Frame2}};
    platform::Label Label29{*this, "Label29", {.caption = "$", .at = {12, 52, 14, 20}, .frame = &Frame2}};
    platform::TextBox Text4{*this, "Text4", {.at = {28, 48, 100, 26}, .frame = &Frame2}};
    platform::Label Label30{*this, "Label30", {.at = {140, 50, 200, 22}, .frame = &Frame2, .bold = true}};
    platform::Label Label5{
        *this, "Label5", {.caption = "Card Number", .at = {12, 88, 100, 20}, .frame = &Frame2}};
    platform::TextBox Text5{*this, "Text5", {.at = {116, 84, 230, 26}, .frame = &Frame2, .maxLength = 25}};
    platform::Label Label6{
        *this, "Label6", {.caption = "Expire Date", .at = {12, 124, 100, 20}, .frame = &Frame2}};
    platform::TextBox Text6{*this, "Text6", {.at = {116, 120, 100, 26}, .frame = &Frame2, .maxLength = 10}};
    platform::Frame Frame4{
        *this, "Frame4", {.caption = "Direct Bill Information", .at = {12, 444, 440, 64}, .enabled = false}};
    platform::ComboBox Combo5{
        *this, "Combo5", {.at = {12, 24, 414, 28}, .frame = &Frame4, .sorted = true, .listOnly = true}};
    platform::Frame Frame3{
        *this, "Frame3", {.caption = "Cash Information", .at = {12, 516, 440, 88}, .enabled = false}};
    platform::Label Label7{
        *this,
        "Label7",
        {.caption = "Amount Guest is Giving You today", .at = {12, 24, 300, 20}, .frame = &Frame3}};
    platform::Label Label8{*this, "Label8", {.caption = "$", .at = {12, 52, 14, 20}, .frame = &Frame3}};
    platform::TextBox Text7{*this, "Text7", {.at = {28, 48, 100, 26}, .frame = &Frame3}};

    // The guest.
    platform::Frame Frame5{
        *this, "Frame5", {.caption = "Guest Information", .at = {466, 12, 420, 420}, .enabled = false}};
    platform::CommandButton Command4{
        *this, "Command4", {.caption = "History", .at = {296, 20, 110, 30}, .frame = &Frame5}};
    platform::Label Label10{*this, "Label10", {.caption = "Last", .at = {12, 62, 70, 20}, .frame = &Frame5}};
    platform::TextBox Text9{*this, "Text9", {.at = {86, 58, 150, 26}, .frame = &Frame5, .maxLength = 15}};
    platform::Label Label11{
        *this, "Label11", {.caption = "First", .at = {244, 62, 40, 20}, .frame = &Frame5}};
    platform::TextBox Text10{*this, "Text10", {.at = {286, 58, 120, 26}, .frame = &Frame5, .maxLength = 15}};
    platform::Label Label12{
        *this, "Label12", {.caption = "Company", .at = {12, 98, 70, 20}, .frame = &Frame5}};
    platform::TextBox Text11{*this, "Text11", {.at = {86, 94, 200, 26}, .frame = &Frame5, .maxLength = 20}};
    platform::Label Label13{
        *this, "Label13", {.caption = "Street", .at = {12, 134, 70, 20}, .frame = &Frame5}};
    platform::TextBox Text12{*this, "Text12", {.at = {86, 130, 240, 26}, .frame = &Frame5, .maxLength = 25}};
    platform::Label Label14{*this, "Label14", {.caption = "City", .at = {12, 170, 70, 20}, .frame = &Frame5}};
    platform::TextBox Text13{*this, "Text13", {.at = {86, 166, 190, 26}, .frame = &Frame5, .maxLength = 20}};
    platform::Label Label15{
        *this, "Label15", {.caption = "State", .at = {286, 170, 44, 20}, .frame = &Frame5}};
    platform::TextBox Text14{*this, "Text14", {.at = {334, 166, 40, 26}, .frame = &Frame5, .maxLength = 2}};
    platform::Label Label16{*this, "Label16", {.caption = "Zip", .at = {12, 206, 70, 20}, .frame = &Frame5}};
    platform::TextBox Text15{*this, "Text15", {.at = {86, 202, 80, 26}, .frame = &Frame5, .maxLength = 6}};
    platform::Label Label17{
        *this, "Label17", {.caption = "Phone", .at = {176, 206, 50, 20}, .frame = &Frame5}};
    platform::TextBox Text16{*this, "Text16", {.at = {230, 202, 150, 26}, .frame = &Frame5, .maxLength = 15}};
    platform::Label Label18{
        *this, "Label18", {.caption = "Reg.Card", .at = {12, 242, 70, 20}, .frame = &Frame5}};
    platform::TextBox Text17{
        *this, "Text17", {.at = {86, 238, 80, 26}, .frame = &Frame5, .enabled = false, .maxLength = 6}};
    platform::Label Label19{
        *this, "Label19", {.caption = "Adults", .at = {176, 242, 52, 20}, .frame = &Frame5}};
    platform::TextBox Text18{*this, "Text18", {.at = {230, 238, 40, 26}, .frame = &Frame5, .maxLength = 1}};
    platform::Label Label20{
        *this, "Label20", {.caption = "Chil.", .at = {280, 242, 42, 20}, .frame = &Frame5}};
    platform::TextBox Text19{*this, "Text19", {.at = {324, 238, 40, 26}, .frame = &Frame5, .maxLength = 1}};
    platform::Label Label22{
        *this, "Label22", {.caption = "Clerk", .at = {12, 278, 70, 20}, .frame = &Frame5}};
    platform::TextBox Text21{*this, "Text21", {.at = {86, 274, 40, 26}, .frame = &Frame5, .maxLength = 2}};
    platform::Label Label21{
        *this, "Label21", {.caption = "Comment", .at = {12, 314, 70, 20}, .frame = &Frame5}};
    platform::TextBox Text20{
        *this, "Text20", {.at = {86, 310, 320, 94}, .frame = &Frame5, .maxLength = 160, .multiLine = true}};

    platform::Label Label26{*this, "Label26", {.caption = "CN#", .at = {466, 446, 40, 22}}};
    platform::Label Label27{*this, "Label27", {.at = {510, 444, 140, 24}, .bold = true}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Reserve Now--->", .at = {466, 490, 200, 36}, .enabled = false}};
    platform::CommandButton Command3{
        *this, "Command3", {.caption = "Cancel / Esc", .at = {686, 490, 200, 36}}};

    void ShowReturningGuest(const records::HistoryEntry& entry, const std::string& clerk) override;

private:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_KeyPress(int& KeyAscii) override;

    void Check1_Click();
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();
    void Combo3_DropDown();
    void Combo5_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Text1_Change();
    void Text1_Click();
    void Text1_KeyPress(int& KeyAscii);
    void Text2_Change();
    void Text2_KeyPress(int& KeyAscii);
    void Text7_Change();
    void Text10_Change();
    void Text4_KeyPress(int& KeyAscii);

    // The nightly price with tax and the stay, from the rate and nights boxes; the stay
    // rounded to cents when asked.
    void ShowTotals(double taxRate, bool roundStay = false);
    // The tax rate unless the tax exempt box is checked.
    double TaxUnlessExempt() const;

    GuestEntry m_guest;
};

} // namespace vantreth
