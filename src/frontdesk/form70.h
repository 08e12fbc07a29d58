// "ATTENTION": the notice shown when the clerk opens the list of optional rates and none
// is set; gAttentionOpen tells the check-in window that it is up.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form70 final : public AppForm {
public:
    static constexpr const char* kName = "Form70";
    explicit Form70(App& app);

    platform::Label Label1{
        *this,
        "Label1",
        {.caption = "There are no optional rates listed at this time. To add optional rates, from "
                    "front desk menu, choose 'Main Menu' then 'Administration' then choose 'Set "
                    "Optional Rates'. ",
         .at = {16, 16, 340, 100}}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Close", .at = {126, 128, 120, 32}}};

private:
    void Form_Load() override;
    void Form_Unload() override;
    void Command1_Click();
};

} // namespace vantreth
