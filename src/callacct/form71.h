// "Call Accounting": which call box and cable call capture works with, and a mail link to
// the support address.
#pragma once

#include "app/app.h"

#include <string>

namespace vantreth {

// The link that starts a new mail to the support address.
std::string SupportMailLink(const std::string& address);

class Form71 final : public AppForm {
public:
    static constexpr const char* kName = "Form71";
    explicit Form71(App& app);

    platform::Label Label1{
        *this,
        "Label1",
        {.caption =
             "The call accounting part of the software works with a hotel call accounting box. If you "
             "have this, then the only thing you will need is a serial cable to go from the box to the "
             "computer. The cable will need to be a 24 pin male to 9 pin female cable. Keep in mind that "
             "Vantreth has to be running in order for the software to capture the calls and apply them "
             "to guests folio.",
         .at = {16, 16, 480, 160}}};
    // The support address, filled in from the settings when the window loads.
    platform::Label Label46{*this,
                            "Label46",
                            {.at = {16, 188, 480, 22},
                             .toolTip = "Click to write to support",
                             .bold = true,
                             .align = platform::Align::Center}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Close", .at = {186, 226, 140, 32}}};

private:
    void Form_Load() override;
    void Label46_Click();
    void Command1_Click();
};

} // namespace vantreth
