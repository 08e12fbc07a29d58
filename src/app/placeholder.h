// Stands in for a window that this version does not have yet: it shows the window's
// caption and a way back. Closing it brings the front desk back the way the real window
// would: reloaded when it had been unloaded, maximised when it had been minimised.
#pragma once

#include "app.h"

namespace vantreth {

class PlaceholderForm final : public AppForm {
public:
    PlaceholderForm(App& app, std::string name, std::string caption);

    platform::Label Label1{*this, "Label1",
                           {.caption = "This window is not available in this version of Vantreth.",
                            .at = {16, 16, 360, 40}}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Close / Esc", .at = {136, 72, 120, 30}}};

private:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Command1_Click();
};

} // namespace vantreth
