// "Posted Notes": today's notes, with a button to add one.
#pragma once

#include "app/app.h"
#include "records/note_record.h"

#include <string>
#include <vector>

namespace vantreth {

class Form53 final : public AppForm {
public:
    static constexpr const char* kName = "Form53";
    explicit Form53(App& app);

    platform::ListBox List1{*this, "List1", {.at = {16, 16, 568, 296}, .fixedFont = true}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Add a Note", .at = {16, 324, 160, 32}}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Delete Selected", .at = {220, 324, 160, 32}}};
    platform::CommandButton Command3{*this, "Command3", {.caption = "Close", .at = {424, 324, 160, 32}}};

private:
    void Form_Load() override;
    void Command1_Click();
    void Command3_Click();
};

// Two list lines for every note, free slots included: the date, two blanks and the text
// (without its trailing blanks unless keepPadding), then a line of one blank.
std::vector<std::string> PostedNoteLines(const std::vector<records::NoteRecord>& notes, bool keepPadding);

} // namespace vantreth
