// "Greetings": the first-run guide. It lists the settings a new installation needs, each
// with a button that opens the window for it, and stays open while the clerk works down
// the list. Its check box stops it from opening with the front desk.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form67 final : public AppForm {
public:
    static constexpr const char* kName = "Form67";
    explicit Form67(App& app);

    platform::Label Label1{*this,
                           "Label1",
                           {.caption = "I'm showing that this is your first time installing Vantreth. There "
                                       "are a few things you need to do right now.",
                            .at = {16, 12, 568, 44},
                            .bold = true}};
    platform::Label Label2{*this,
                           "Label2",
                           {.caption = "First of all, you need to set your tax amount. To do that now, ",
                            .at = {16, 68, 456, 42}}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "click here", .at = {488, 72, 96, 30}}};
    platform::Label Label3{
        *this,
        "Label3",
        {.caption = "The next thing you need to do is set your room properties. To do that,",
         .at = {16, 118, 456, 42}}};
    platform::CommandButton Command2{*this, "Command2", {.caption = "click here", .at = {488, 122, 96, 30}}};
    platform::Label Label4{
        *this,
        "Label4",
        {.caption = "Now you need to go ahead and set your rates for your rooms. To do that,",
         .at = {16, 168, 456, 42}}};
    platform::CommandButton Command4{*this, "Command4", {.caption = "click here", .at = {488, 172, 96, 30}}};
    platform::Label Label5{
        *this,
        "Label5",
        {.caption = "You will need to set the day of the week. To do that,", .at = {16, 218, 456, 42}}};
    platform::CommandButton Command5{*this, "Command5", {.caption = "click here", .at = {488, 222, 96, 30}}};
    platform::Label Label7{
        *this,
        "Label7",
        {.caption = "Lastly you need to set the current shift. To do that,", .at = {16, 268, 456, 42}}};
    platform::CommandButton Command6{*this, "Command6", {.caption = "click here", .at = {488, 272, 96, 30}}};
    platform::CheckBox Check1{
        *this, "Check1", {.caption = "Don't show this window again", .at = {16, 328, 300, 26}}};
    platform::CommandButton Command3{*this, "Command3", {.caption = "Exit", .at = {488, 324, 96, 32}}};

private:
    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Check1_Click();
};

} // namespace vantreth
