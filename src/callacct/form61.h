// "Choose Date": the days of the month picked in "Phone Log Reports", newest first; a
// double click lists that day's calls there.
#pragma once

#include "app/app.h"

#include <string>
#include <vector>

namespace vantreth {

inline constexpr int kPhoneLogDatesOffered = 31;

// The date texts of the last 31 days of that month (1 to 12) counted back from today,
// into earlier years when needed; none for any other month number.
std::vector<std::string> PhoneLogDatesOffered(const platform::Date& today, int month);

class Form61 final : public AppForm {
public:
    static constexpr const char* kName = "Form61";
    explicit Form61(App& app);

    platform::Label Label1{
        *this, "Label1", {.caption = "Double Click on a Date For The Report", .at = {16, 12, 308, 20}}};
    platform::ListBox List1{*this, "List1", {.at = {16, 40, 308, 300}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Cancel / Esc", .at = {100, 352, 140, 32}}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void List1_DblClick();
    void Command1_Click();
};

} // namespace vantreth
