// "About The Author": a few words about the program, the motel it is set up for and where
// to write for help; its one button closes it.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form74 final : public AppForm {
public:
    static constexpr const char* kName = "Form74";
    explicit Form74(App& app);

    platform::Label Label1{*this,
                           "Label1",
                           {.caption = "Vantreth",
                            .at = {16, 12, 448, 32},
                            .fontSize = 16,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::Label Label2{*this, "Label2", {.at = {16, 52, 448, 84}}};
    platform::Label Label3{*this, "Label3", {.at = {16, 144, 448, 42}}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Close", .at = {170, 198, 140, 32}}};

private:
    void Form_Load() override;
    void Command1_Click();
};

} // namespace vantreth
