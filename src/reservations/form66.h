// "Date Chart": today and the 371 days after it; a double click shows the room
// availability of that day in the Room Availability Report.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form66 final : public AppForm {
public:
    static constexpr const char* kName = "Form66";
    explicit Form66(App& app);

    platform::Label Label1{*this,
                           "Label1",
                           {.caption = "Double click on a date to check for room availability",
                            .at = {12, 10, 236, 40},
                            .align = platform::Align::Center}};
    platform::ListBox List1{*this, "List1", {.at = {12, 56, 236, 372}}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Close", .at = {70, 440, 120, 32}}};

private:
    void Form_Load() override;
    void List1_DblClick();
    void Command1_Click();
};

} // namespace vantreth
