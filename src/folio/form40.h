// "Check Back In": re-opens a stay checked out today, in its old room or another free one,
// over the folio window, whose room list it rebuilds.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form40 final : public AppForm {
public:
    static constexpr const char* kName = "Form40";
    explicit Form40(App& app);

    platform::Label Label1{*this,
                           "Label1",
                           {.caption = "Check Guest Back In",
                            .at = {16, 12, 428, 30},
                            .fontSize = 14,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::Label Label2{*this,
                           "Label2",
                           {.caption = "double click on a guest to check back in",
                            .at = {16, 48, 428, 20},
                            .align = platform::Align::Center}};
    platform::ListBox List1{*this, "List1", {.at = {16, 74, 428, 200}}};
    platform::ComboBox Combo1{
        *this,
        "Combo1",
        {.caption = "Select A Room", .at = {16, 286, 300, 28}, .visible = false, .fixedFont = true}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Cancel / Esc", .at = {152, 330, 156, 32}}};

private:
    void Form_Load() override;
    void List1_DblClick();
    void Combo1_Click();
    void Command1_Click();
};

} // namespace vantreth
