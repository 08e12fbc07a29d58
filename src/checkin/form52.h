// "Find Checked Out Guest": finds a stay in the history file by last name (through the
// name list Form57), by registration card or by arrival date, shows the guest and the
// stay's folio rebuilt from its ledger, and prints that folio again. It writes no file.
#pragma once

#include "app/app.h"
#include "records/history.h"

#include <string>
#include <string_view>
#include <vector>

namespace vantreth {

// The checks of a typed arrival date, in order. The date must be typed the way the
// history holds it: month/day/year without leading zeros.
enum class ArrivalDateCheck { Ok, DoubleSlash, ZeroDay, ZeroMonth };
ArrivalDateCheck CheckArrivalDateText(std::string_view text);

inline constexpr const char* kZeroDayMessage =
    "Do not put an 0 before the day of the month. For example, it would be 1/5/04 not 1/05/04. Please Fix.";
inline constexpr const char* kZeroMonthMessage =
    "Do not put an 0 at the beginning of the month. For example, it would be 1/5/04 not 01/5/04. Please Fix.";

class Form52 final : public AppForm {
public:
    static constexpr const char* kName = "Form52";
    explicit Form52(App& app);

    platform::Frame Frame1{*this, "Frame1", {.caption = "Choose Method", .at = {16, 12, 200, 196}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Name", .at = {16, 28, 168, 32}, .frame = &Frame1}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Registration Card #", .at = {16, 68, 168, 32}, .frame = &Frame1}};
    platform::CommandButton Command3{
        *this, "Command3", {.caption = "Arrival Date", .at = {16, 108, 168, 32}, .frame = &Frame1}};
    platform::CommandButton Command4{
        *this, "Command4", {.caption = "Cancel / Esc", .at = {16, 148, 168, 32}, .frame = &Frame1}};

    platform::Frame Frame2{
        *this, "Frame2", {.caption = "Entry", .at = {16, 220, 200, 176}, .visible = false}};
    platform::Label Label3{
        *this,
        "Label3",
        {.caption = "Reg. Card#", .at = {12, 30, 86, 22}, .frame = &Frame2, .visible = false}};
    platform::TextBox Text3{
        *this, "Text3", {.at = {100, 26, 86, 28}, .frame = &Frame2, .visible = false, .maxLength = 6}};
    platform::CommandButton Command5{
        *this,
        "Command5",
        {.caption = "Go--->", .at = {100, 60, 86, 30}, .frame = &Frame2, .enabled = false, .visible = false}};
    platform::Label Label4{
        *this,
        "Label4",
        {.caption = "Arrival Date", .at = {12, 102, 86, 22}, .frame = &Frame2, .visible = false}};
    platform::TextBox Text4{
        *this, "Text4", {.at = {100, 98, 86, 28}, .frame = &Frame2, .visible = false, .maxLength = 8}};
    platform::Label Label12{
        *this,
        "Label12",
        {.caption = "ex.  1/25/04", .at = {12, 134, 86, 22}, .frame = &Frame2, .visible = false}};
    platform::CommandButton Command7{*this,
                                     "Command7",
                                     {.caption = "Go--->",
                                      .at = {100, 132, 86, 30},
                                      .frame = &Frame2,
                                      .enabled = false,
                                      .visible = false}};

    platform::Frame Frame3{*this, "Frame3", {.caption = "Guest Info.", .at = {232, 12, 612, 176}}};
    platform::Label Label5{*this, "Label5", {.at = {12, 26, 180, 22}, .frame = &Frame3, .bold = true}};
    platform::Label Label6{*this, "Label6", {.at = {200, 26, 180, 22}, .frame = &Frame3, .bold = true}};
    platform::Label Label1{
        *this, "Label1", {.caption = "RegCard", .at = {400, 26, 80, 22}, .frame = &Frame3}};
    platform::Label Label13{*this, "Label13", {.at = {484, 26, 110, 22}, .frame = &Frame3}};
    platform::Label Label7{*this, "Label7", {.at = {12, 52, 368, 22}, .frame = &Frame3}};
    platform::Label Label2{*this, "Label2", {.caption = "Folio#", .at = {400, 52, 80, 22}, .frame = &Frame3}};
    platform::Label Label14{*this, "Label14", {.at = {484, 52, 110, 22}, .frame = &Frame3}};
    platform::Label Label8{*this, "Label8", {.at = {12, 78, 190, 22}, .frame = &Frame3}};
    platform::Label Label9{*this, "Label9", {.at = {208, 78, 40, 22}, .frame = &Frame3}};
    platform::Label Label10{*this, "Label10", {.at = {254, 78, 126, 22}, .frame = &Frame3}};
    platform::Label Label19{
        *this, "Label19", {.caption = "Pay Code", .at = {400, 78, 80, 22}, .frame = &Frame3}};
    platform::Label Label20{*this, "Label20", {.at = {484, 78, 110, 22}, .frame = &Frame3}};
    platform::Label Label11{*this, "Label11", {.at = {12, 104, 368, 22}, .frame = &Frame3}};
    platform::Label Label21{*this, "Label21", {.caption = "DB#", .at = {400, 104, 80, 22}, .frame = &Frame3}};
    platform::Label Label22{*this, "Label22", {.at = {484, 104, 110, 22}, .frame = &Frame3}};
    platform::Label Label15{
        *this, "Label15", {.caption = "Arrival Time:", .at = {12, 140, 110, 22}, .frame = &Frame3}};
    platform::Label Label16{*this, "Label16", {.at = {126, 140, 120, 22}, .frame = &Frame3}};
    platform::Label Label17{
        *this, "Label17", {.caption = "Depart Time:", .at = {262, 140, 110, 22}, .frame = &Frame3}};
    platform::Label Label18{*this, "Label18", {.at = {376, 140, 120, 22}, .frame = &Frame3}};

    platform::CommandButton Command6{
        *this, "Command6", {.caption = "Print Folio", .at = {232, 200, 140, 32}, .enabled = false}};
    platform::ListBox List1{*this, "List1", {.at = {232, 244, 612, 152}, .fixedFont = true}};

    // Shows the entry's guest with the names the other way round (last name left), as the
    // name list's pick does, and rebuilds its folio; Print Folio is enabled.
    void ShowPickedStay(const records::HistoryEntry& entry);
    // The list's note for a stay that cannot be shown: four blank lines and "NO FURTHER INFO.".
    void ShowNoFurtherInfo();

private:
    void Form_Load() override;
    void Form_Unload() override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Text3_Change();
    void Text3_KeyPress(int& KeyAscii);
    void Text4_Change();
    void Text4_KeyPress(int& KeyAscii);

    // The card and date searches: every matching stay in file order, each shown and
    // confirmed with the clerk until one is taken. True when a stay was shown.
    bool SearchHistory(bool (*matches)(const records::HistoryEntry&, const std::string&),
                       const std::string& key, bool cardSearch);
    void ClearShownStay();
    // The fields of a card or date search (first name left).
    void FillFields(const records::HistoryEntry& entry, const std::string& regCard);
};

} // namespace vantreth
