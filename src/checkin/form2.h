// "Check In": the walk-in check-in. The clerk picks a free room, the nights and the rate,
// the payment type and the guest's details; "Check In Now--->" writes the new stay.
#pragma once

#include "app/app.h"
#include "app/guest_boxes.h"
#include "app/returning_guest.h"
#include "stay/checkin_commit.h"

#include <optional>

namespace vantreth {

class form2 final : public AppForm, public TakesReturningGuest {
public:
    static constexpr const char* kName = "form2";
    explicit form2(App& app);

    // Room, nights, rate, price and payment type.
    platform::Frame Frame1{*this, "Frame1", {.caption = "Room/Payments ", .at = {12, 12, 430, 252}}};
    platform::Label Label1{*this, "Label1", {.caption = "Room", .at = {12, 28, 80, 20}, .frame = &Frame1}};
    platform::ComboBox Combo1{*this,
                              "Combo1",
                              {.caption = "select room",
                               .at = {96, 24, 190, 28},
                               .frame = &Frame1,
                               .fixedFont = true,
                               .listOnly = true}};
    platform::Label Label2{*this, "Label2", {.caption = "Days", .at = {296, 28, 40, 20}, .frame = &Frame1}};
    platform::TextBox Text1{*this, "Text1", {.caption = "1", .at = {340, 24, 60, 26}, .frame = &Frame1}};
    platform::Label Label3{*this, "Label3", {.caption = "Rate", .at = {12, 64, 80, 20}, .frame = &Frame1}};
    platform::TextBox Text2{*this, "Text2", {.at = {96, 60, 80, 26}, .frame = &Frame1, .enabled = false}};
    platform::Label Label4{*this, "Label4", {.caption = "Total", .at = {186, 64, 44, 20}, .frame = &Frame1}};
    platform::Label Label24{*this, "Label24", {.at = {232, 62, 72, 24}, .frame = &Frame1, .bold = true}};
    platform::CheckBox Check1{
        *this,
        "Check1",
        {.caption = "Taxempt", .at = {312, 60, 100, 26}, .frame = &Frame1, .enabled = false}};
    platform::Label Label7{
        *this, "Label7", {.caption = "Total Stay", .at = {12, 100, 84, 20}, .frame = &Frame1}};
    platform::Label Label25{*this, "Label25", {.at = {96, 98, 110, 24}, .frame = &Frame1, .bold = true}};
    platform::Label Label8{
        *this, "Label8", {.caption = "Payment", .at = {12, 136, 80, 20}, .frame = &Frame1}};
    platform::ComboBox Combo2{*this,
                              "Combo2",
                              {.caption = "choose payment",
                               .at = {96, 132, 190, 28},
                               .frame = &Frame1,
                               .enabled = false,
                               .listOnly = true}};
    platform::Label Label10{
        *this, "Label10", {.caption = "Other Rate", .at = {12, 172, 84, 20}, .frame = &Frame1}};
    platform::ComboBox Combo3{*this,
                              "Combo3",
                              {.caption = "select another rate",
                               .at = {96, 168, 190, 28},
                               .frame = &Frame1,
                               .enabled = false,
                               .listOnly = true}};
    platform::CommandButton Command5{
        *this,
        "Command5",
        {.caption = "Take 10% Off", .at = {296, 166, 120, 32}, .frame = &Frame1, .enabled = false}};
    platform::CommandButton Command1{
        *this,
        "Command1",
        {.caption = "Re-Calculate Total", .at = {96, 206, 190, 32}, .frame = &Frame1, .enabled = false}};

    // The payment panels: cash, card (never used), direct bill.
    platform::Frame Frame3{
        *this, "Frame3", {.caption = "Cash Information", .at = {12, 272, 430, 88}, .enabled = false}};
    platform::Label Label31{
        *this,
        "Label31",
        {.caption = "Amount Guest is Giving You for this stay", .at = {12, 24, 400, 20}, .frame = &Frame3}};
    platform::TextBox Text7{*this, "Text7", {.at = {12, 48, 120, 26}, .frame = &Frame3}};
    platform::Frame Frame2{
        *this,
        "Frame2",
        {.caption = "Credit Information", .at = {12, 368, 430, 64}, .enabled = false, .visible = false}};
    platform::ComboBox Combo4{
        *this,
        "Combo4",
        {.caption = "select type", .at = {12, 24, 200, 28}, .frame = &Frame2, .listOnly = true}};
    platform::Frame Frame4{
        *this, "Frame4", {.caption = "Direct Bill Information", .at = {12, 440, 430, 112}, .enabled = false}};
    platform::ComboBox Combo5{*this,
                              "Combo5",
                              {.caption = "select direct bill client",
                               .at = {12, 24, 400, 28},
                               .frame = &Frame4,
                               .listOnly = true}};
    platform::Label Label6{
        *this,
        "Label6",
        {.caption = "Present Balance", .at = {12, 60, 128, 20}, .frame = &Frame4, .visible = false}};
    platform::Label Label9{
        *this, "Label9", {.at = {144, 60, 100, 20}, .frame = &Frame4, .visible = false, .bold = true}};
    platform::Label Label27{
        *this,
        "Label27",
        {.caption = "before today", .at = {248, 60, 110, 20}, .frame = &Frame4, .visible = false}};
    platform::Label Label26{*this, "Label26", {.at = {12, 84, 200, 20}, .frame = &Frame4, .visible = false}};

    // The guest.
    platform::Frame Frame5{
        *this, "Frame5", {.caption = "Guest Information", .at = {456, 12, 430, 330}, .enabled = false}};
    platform::Label Label11{*this, "Label11", {.caption = "Last", .at = {12, 30, 70, 20}, .frame = &Frame5}};
    platform::TextBox Text9{*this, "Text9", {.at = {86, 26, 150, 26}, .frame = &Frame5, .maxLength = 15}};
    platform::Label Label12{
        *this, "Label12", {.caption = "First", .at = {244, 30, 40, 20}, .frame = &Frame5}};
    platform::TextBox Text10{*this, "Text10", {.at = {286, 26, 132, 26}, .frame = &Frame5, .maxLength = 15}};
    platform::Label Label13{
        *this, "Label13", {.caption = "Company", .at = {12, 66, 70, 20}, .frame = &Frame5}};
    platform::TextBox Text11{*this, "Text11", {.at = {86, 62, 200, 26}, .frame = &Frame5, .maxLength = 20}};
    platform::CommandButton Command4{
        *this, "Command4", {.caption = "History", .at = {296, 60, 122, 30}, .frame = &Frame5}};
    platform::Label Label14{
        *this, "Label14", {.caption = "Street", .at = {12, 102, 70, 20}, .frame = &Frame5}};
    platform::TextBox Text12{*this, "Text12", {.at = {86, 98, 240, 26}, .frame = &Frame5, .maxLength = 25}};
    platform::Label Label15{*this, "Label15", {.caption = "City", .at = {12, 138, 70, 20}, .frame = &Frame5}};
    platform::TextBox Text13{*this, "Text13", {.at = {86, 134, 190, 26}, .frame = &Frame5, .maxLength = 20}};
    platform::Label Label16{
        *this, "Label16", {.caption = "State", .at = {286, 138, 44, 20}, .frame = &Frame5}};
    platform::TextBox Text14{*this, "Text14", {.at = {334, 134, 40, 26}, .frame = &Frame5, .maxLength = 2}};
    platform::Label Label17{*this, "Label17", {.caption = "Zip", .at = {12, 174, 70, 20}, .frame = &Frame5}};
    platform::TextBox Text15{*this, "Text15", {.at = {86, 170, 80, 26}, .frame = &Frame5, .maxLength = 6}};
    platform::Label Label18{
        *this, "Label18", {.caption = "Phone", .at = {176, 174, 50, 20}, .frame = &Frame5}};
    platform::TextBox Text16{*this, "Text16", {.at = {230, 170, 150, 26}, .frame = &Frame5, .maxLength = 15}};
    platform::Label Label19{
        *this, "Label19", {.caption = "Reg.Card", .at = {12, 210, 70, 20}, .frame = &Frame5}};
    platform::TextBox Text17{*this, "Text17", {.at = {86, 206, 80, 26}, .frame = &Frame5, .maxLength = 6}};
    platform::Label Label20{
        *this, "Label20", {.caption = "Adults", .at = {176, 210, 52, 20}, .frame = &Frame5}};
    platform::TextBox Text18{*this, "Text18", {.at = {230, 206, 40, 26}, .frame = &Frame5, .maxLength = 1}};
    platform::Label Label21{
        *this, "Label21", {.caption = "Chil.", .at = {280, 210, 42, 20}, .frame = &Frame5}};
    platform::TextBox Text19{*this, "Text19", {.at = {324, 206, 40, 26}, .frame = &Frame5, .maxLength = 2}};
    platform::Label Label22{
        *this, "Label22", {.caption = "Clerk", .at = {12, 246, 70, 20}, .frame = &Frame5}};
    platform::TextBox Text21{*this, "Text21", {.at = {86, 242, 40, 26}, .frame = &Frame5, .maxLength = 2}};
    platform::Label Label23{
        *this, "Label23", {.caption = "Comment", .at = {12, 282, 70, 20}, .frame = &Frame5}};
    platform::TextBox Text20{*this, "Text20", {.at = {86, 278, 332, 26}, .frame = &Frame5, .maxLength = 160}};

    // The one additional fee of the stay.
    platform::Frame Frame7{
        *this,
        "Frame7",
        {.caption = "Additional Fee", .at = {456, 350, 430, 96}, .enabled = false, .visible = false}};
    platform::Label Label5{
        *this,
        "Label5",
        {.caption = "The following fee will be added to folio:", .at = {12, 24, 400, 20}, .frame = &Frame7}};
    platform::Label Label28{*this, "Label28", {.at = {12, 54, 140, 22}, .frame = &Frame7, .bold = true}};
    platform::Label Label29{*this, "Label29", {.caption = "For", .at = {156, 54, 30, 20}, .frame = &Frame7}};
    platform::Label Label30{*this, "Label30", {.at = {190, 54, 70, 22}, .frame = &Frame7, .bold = true}};
    platform::CommandButton Command7{
        *this, "Command7", {.caption = "delete this charge", .at = {266, 48, 152, 32}, .frame = &Frame7}};

    platform::Frame Frame6{*this, "Frame6", {.at = {456, 460, 430, 92}}};
    platform::CommandButton Command6{
        *this,
        "Command6",
        {.caption = "Additional Fee", .at = {10, 30, 134, 32}, .frame = &Frame6, .enabled = false}};
    platform::CommandButton Command3{
        *this, "Command3", {.caption = "Cancel / Esc", .at = {148, 30, 134, 32}, .frame = &Frame6}};
    platform::CommandButton Command2{
        *this,
        "Command2",
        {.caption = "Check In Now--->", .at = {286, 30, 134, 32}, .frame = &Frame6, .enabled = false}};

    // The nightly price with tax into Label24 and the stay total into Label25.
    void RecomputeStayTotal();
    // Lists the clean rooms that are for sale and not promised to today's arrivals.
    void FillFreeRoomList();

    void ShowReturningGuest(const records::HistoryEntry& entry, const std::string& clerk) override;

private:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Form_Click() override;

    void Check1_Click();
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();
    void Combo3_DropDown();
    void Combo4_Click();
    void Combo5_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Text1_Change();
    void Text1_Click();
    void Text1_KeyPress(int& KeyAscii);
    void Text2_Change();
    void Text2_KeyPress(int& KeyAscii);
    void Text7_Change();
    void Text9_Change();
    void Text10_Change();
    void Text10_KeyPress(int& KeyAscii);
    void Text17_KeyPress(int& KeyAscii);
    void Text20_KeyPress(int& KeyAscii);

    // Brings "Duplicate?" and, when asked, "ATTENTION" back in front of this window.
    void BringPromptsToFront(bool attentionToo);
    // Warns once for each do-not-rent record that carries the typed names.
    void WarnIfNoRent();
    // Focus to the last name while the guest's state is still empty, else to the reg. card.
    void FocusGuestDetails();
    // The check-in as the boxes hold it.
    stay::CheckInEntry EntryFromBoxes() const;
    // Everything checked before the first write: the tax rate to check in with, or nothing
    // when the check-in was refused (the clerk told, the box at fault focused).
    std::optional<double> CheckedTaxRate(const stay::CheckInEntry& entry);
    // The cash the guest gives for a phone deposit, asked until it is an amount or nothing.
    double AskPhoneDeposit();
    // A saved check-in leaves the window's commands and frames greyed.
    void LockAfterCheckIn();

    GuestEntry m_guest;
};

} // namespace vantreth
