// "Direct Bill Menu": the way to the company accounts, their payments and printouts.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form21 final : public AppForm {
public:
    static constexpr const char* kName = "Form21";
    explicit Form21(App& app);

    platform::Label Label1{*this,
                           "Label1",
                           {.caption = "Direct Bill  Menu",
                            .at = {16, 12, 308, 28},
                            .fontSize = 14,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::Frame Frame1{*this, "Frame1", {.caption = "Options", .at = {16, 50, 308, 296}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Add Direct Bill Account", .at = {24, 28, 260, 32}, .frame = &Frame1}};
    platform::CommandButton Command2{
        *this,
        "Command2",
        {.caption = "Edit Direct Bill Account", .at = {24, 70, 260, 32}, .frame = &Frame1}};
    platform::CommandButton Command6{
        *this, "Command6", {.caption = "Direct Bill Payments", .at = {24, 112, 260, 32}, .frame = &Frame1}};
    platform::CommandButton Command3{
        *this, "Command3", {.caption = "Print Accounts List", .at = {24, 154, 260, 32}, .frame = &Frame1}};
    platform::CommandButton Command4{
        *this,
        "Command4",
        {.caption = "Print Billing Statements", .at = {24, 196, 260, 32}, .frame = &Frame1}};
    platform::CommandButton Command5{
        *this, "Command5", {.caption = "Exit", .at = {24, 246, 260, 32}, .frame = &Frame1}};

private:
    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
};

} // namespace vantreth
