// The cash entry window: one amount, checked to be a number, then written and the window
// unloaded. "Cash from Vending" and "Cash from Other" use it as it is, adding the amount to
// the day's cash and to one field of the shift's cash; "Petty Cash Out" gives it its own
// words and what Enter writes.
#pragma once

#include "app/app.h"
#include "audit/cash_entries.h"
#include "records/shift_cash.h"

#include <functional>

namespace vantreth {

// How one cash entry window reads: its title, its heading, the words before the amount box
// and the caption of the button that enters the amount.
struct CashEntryWording {
    const char* caption = "";
    const char* heading = "";
    const char* amountLabel = "Amount $";
    int amountLabelWidth = 80;
    const char* enterButton = "Enter Payment";
};

// An amount box of a cash entry: a text that is no amount (IsEntryAmountText) is told to the
// clerk and the box gets the focus. True when refused.
bool RefusedEntryAmount(platform::Form& window, platform::TextBox& box);

class CashInForm : public AppForm {
public:
    platform::Label Label1;
    platform::Label Label2;
    platform::TextBox Text1{*this, "Text1", {.at = {136, 58, 140, 28}}};
    platform::CommandButton Command2;
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Cancel / Esc", .at = {188, 112, 136, 32}}};

protected:
    // A cash-in window: the amount goes to the day's cash and to `field` of the shift's cash.
    CashInForm(App& app, const char* name, const char* caption, const char* heading,
               records::ShiftCashField field);
    // A window of the same layout with its own words; `record` writes the entered amount.
    CashInForm(App& app, const char* name, const CashEntryWording& wording,
               std::function<void(const CashEntry&)> record);

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Text1_KeyPress(int& KeyAscii);
    void Command1_Click();
    void Command2_Click();

    std::function<void(const CashEntry&)> m_record;
};

} // namespace vantreth
