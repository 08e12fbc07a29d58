// "History": finds a returning guest among the checked-out stays and copies the name,
// address and phone into the check-in window, so the clerk need not type them again.
#pragma once

#include "app/app.h"
#include "records/history.h"

#include <string>
#include <string_view>
#include <vector>

namespace vantreth {

// The line of a stay found while typing: folio number as stored, "SMITH, JOHN", four
// blanks, street, city, state and zip.
std::string HistoryPrefixLine(const records::HistoryEntry& entry);
// The line of a stay found by "Find Now": "SMITH  JOHN", and the street in its whole
// field so that the cities line up.
std::string HistoryWholeNameLine(const records::HistoryEntry& entry);
// What "Find Now" lists when no stay has the name: three blank lines and the apology.
std::vector<std::string> HistoryNotFoundLines();

class Form14 final : public AppForm {
public:
    static constexpr const char* kName = "Form14";
    explicit Form14(App& app);

    platform::Label Label1{*this, "Label1", {.caption = "Check name from history", .at = {16, 12, 220, 22}}};
    platform::TextBox Text1{*this, "Text1", {.at = {16, 38, 220, 28}}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Find Now", .at = {248, 36, 110, 30}}};
    platform::Label Label2{*this, "Label2", {.caption = "(Enter to exit)", .at = {370, 42, 140, 22}}};
    platform::Label Label3{*this, "Label3", {.caption = "Click on a name", .at = {16, 78, 220, 20}}};
    platform::ListBox List1{*this, "List1", {.at = {16, 100, 828, 230}, .fixedFont = true}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Cancel / Esc", .at = {704, 342, 140, 32}}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Text1_Change();
    void Text1_KeyPress(int& KeyAscii);
    void Command1_Click();
    void Command2_Click();
    void List1_Click();

    // Closes the window and hands the focus back to the window that asked.
    void CloseHistory();
    void FocusCheckIn(bool picked);
    // The name box emptied after "Find Now" found nobody must leave its apology listed.
    bool m_keepList = false;
};

} // namespace vantreth
