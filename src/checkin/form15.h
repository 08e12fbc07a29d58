// "Duplicate?": after a check-in, offers to check the same guest into a further room.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form15 final : public AppForm {
public:
    static constexpr const char* kName = "Form15";
    explicit Form15(App& app);

    platform::Label Label1{*this,
                           "Label1",
                           {.caption = "Would you like to duplicate this folio for another guest?",
                            .at = {16, 16, 300, 44},
                            .align = platform::Align::Center}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Yes", .at = {40, 72, 110, 32}}};
    platform::CommandButton Command2{*this, "Command2", {.caption = "No", .at = {182, 72, 110, 32}}};

private:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_QueryClose() override;
    void Command1_Click();
    void Command2_Click();
};

} // namespace vantreth
