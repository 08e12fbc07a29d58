// "Duplicate?": after a reservation is stored, offers a further one for the same guest.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form44 final : public AppForm {
public:
    static constexpr const char* kName = "Form44";
    explicit Form44(App& app);

    platform::Label Label1{
        *this,
        "Label1",
        {.caption = "Would you like to duplicate this information for another reservation?",
         .at = {16, 16, 368, 44}}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Yes", .at = {16, 72, 120, 32}}};
    platform::CommandButton Command2{*this, "Command2", {.caption = "No", .at = {264, 72, 120, 32}}};

private:
    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
};

} // namespace vantreth
