// The name list of Find Checked Out Guest: the stays whose last name begins with the
// typed text; a double click shows the chosen stay in Form52.
#pragma once

#include "app/app.h"
#include "records/history.h"

#include <string>
#include <string_view>

namespace vantreth {

// The entry's line: folio number as stored, the arrival date in a column of 7 and three
// blanks, the names ("SMITH, " and the first name as stored, 15 characters), street,
// city, state and zip.
std::string HistoryNameListLine(const records::HistoryEntry& entry);
// The first characters of the last name as stored equal the typed text (case counts).
bool LastNameBeginsWith(const records::HistoryEntry& entry, std::string_view typed);
// The folio number a line of the list begins with: its whole five-character column.
double FolioNumberOfLine(std::string_view line);

class Form57 final : public AppForm {
public:
    static constexpr const char* kName = "Form57";
    explicit Form57(App& app);

    platform::Label Label1{*this, "Label1", {.caption = "Last Name from history", .at = {16, 12, 220, 22}}};
    platform::TextBox Text1{*this, "Text1", {.at = {16, 38, 220, 28}}};
    platform::Label Label2{*this, "Label2", {.caption = "('Enter' to exit)", .at = {248, 42, 160, 22}}};
    platform::Label Label3{*this, "Label3", {.caption = "Folio", .at = {16, 78, 48, 20}}};
    platform::Label Label4{*this, "Label4", {.caption = "Arrived", .at = {64, 78, 80, 20}}};
    platform::ListBox List1{*this, "List1", {.at = {16, 100, 868, 240}, .fixedFont = true}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Cancel / Esc", .at = {744, 352, 140, 32}}};

private:
    void Form_Load() override;
    void Text1_Change();
    void List1_DblClick();
    void Command2_Click();
};

} // namespace vantreth
