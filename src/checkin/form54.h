// "Add Note": a note of up to 500 characters added to today's posted notes.
#pragma once

#include "app/app.h"
#include "records/note_record.h"

#include <string_view>

namespace vantreth {

class Form54 final : public AppForm {
public:
    static constexpr const char* kName = "Form54";
    explicit Form54(App& app);

    platform::TextBox Text1{*this, "Text1", {.at = {16, 16, 448, 150}, .multiLine = true}};
    platform::Label Label1{*this, "Label1", {.caption = "500 characters or less", .at = {16, 172, 448, 20}}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Add Now", .at = {16, 204, 140, 32}}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Cancel / Esc", .at = {172, 204, 140, 32}}};

private:
    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
};

// The note as stored: the text cut to 500 characters or blank-padded, dated today.
records::NoteRecord MakeNote(std::string_view text, std::string_view today);

} // namespace vantreth
