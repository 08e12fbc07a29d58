// "Night Audit": closes the business day in a fixed order of steps, each button enabled by
// the step before it. It opens only on shift "C", after the drop sheet, and not after noon.
#pragma once

#include "app/app.h"

#include <array>
#include <optional>

namespace vantreth {

class Form13 final : public AppForm {
public:
    static constexpr const char* kName = "Form13";
    explicit Form13(App& app);

    platform::Label Label1{*this,
                           "Label1",
                           {.caption = "Night Audit",
                            .at = {16, 10, 576, 32},
                            .fontSize = 16,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::Frame Frame1{*this, "Frame1", {.caption = "Options", .at = {16, 52, 268, 338}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Charge Room and Tax", .at = {16, 28, 236, 32}, .frame = &Frame1}};
    platform::CommandButton Command3{
        *this,
        "Command3",
        {.caption = "Totals Report", .at = {16, 70, 236, 32}, .frame = &Frame1, .enabled = false}};
    platform::CommandButton Command7{*this,
                                     "Command7",
                                     {.caption = "Daily Room Detail Report",
                                      .at = {16, 112, 236, 32},
                                      .frame = &Frame1,
                                      .enabled = false}};
    platform::CommandButton Command4{
        *this,
        "Command4",
        {.caption = "Change Date", .at = {16, 154, 236, 32}, .frame = &Frame1, .enabled = false}};
    platform::CommandButton Command2{
        *this,
        "Command2",
        {.caption = "Guest Listing Report", .at = {16, 196, 236, 32}, .frame = &Frame1, .enabled = false}};
    platform::CommandButton Command5{
        *this,
        "Command5",
        {.caption = "Housekeeping Report", .at = {16, 238, 236, 32}, .frame = &Frame1, .enabled = false}};
    platform::CommandButton Command6{
        *this, "Command6", {.caption = "Exit", .at = {16, 290, 236, 32}, .frame = &Frame1}};
    platform::Label Label2{
        *this,
        "Label2",
        {.caption = "Departing today, please check folio", .at = {300, 60, 292, 22}, .visible = false}};
    platform::ListBox List1{*this, "List1", {.at = {300, 86, 292, 304}, .visible = false, .fixedFont = true}};

    // At the start of every step: while the window is open, the steps as they stand, which
    // the saved steps left, are kept; with the window closed no audit is under way.
    void StepBegins() override;
    // A failed step brings the window back with the steps kept (Form_Load): the failed step
    // can be run again, the steps done stay done, and the gate is not asked again.
    bool ComesBackAfterAFailedStep() const override { return m_place.has_value(); }

private:
    static constexpr size_t kSteps = 6;
    // The step buttons in the order of the audit.
    std::array<platform::CommandButton*, kSteps> StepButtons();

    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();

    // Loads a window that prints as it loads; unloaded first, so that a second run of the
    // step prints again even though the window stayed loaded from the first.
    void LoadToPrint(const char* window);
    // Closes the audit and lets the front desk rebuild itself from the data folder.
    void CloseAndRebuildFrontDesk();

    std::optional<std::array<bool, kSteps>> m_place; // which step buttons are usable
};

} // namespace vantreth
