// "Emergency Check Out": frees a room and its guest record without a folio, a history
// entry or a balance check, for a stay whose folio cannot be handled the normal way.
#pragma once

#include "app/app.h"

#include <string>

namespace vantreth {

// Blanks the Room and the names of the first occupied guest slot whose Room is exactly
// `room` (all 3 characters), then makes every room record of that number dirty, vacant
// and available. False, with nothing written, when no guest holds the room.
bool EmergencyCheckOut(const platform::DataFolder& data, const std::string& room);

class Form55 final : public AppForm {
public:
    static constexpr const char* kName = "Form55";
    explicit Form55(App& app);

    platform::Label Label1{*this, "Label1", {.caption = "Room Number", .at = {24, 26, 110, 22}}};
    platform::TextBox Text1{*this, "Text1", {.at = {140, 22, 70, 28}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Check Out Now", .at = {24, 72, 130, 32}, .enabled = false}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Cancel / Esc", .at = {170, 72, 130, 32}}};

private:
    void Form_Load() override;
    void Text1_Change();
    void Command1_Click();
    void Command2_Click();
};

} // namespace vantreth
