// The cash-in entry window shared by "Cash from Vending" and "Cash from Other": one amount,
// added to the day's cash and to one field of the shift's cash.
#pragma once

#include "app/app.h"
#include "records/shift_cash.h"


namespace vantreth {

class CashInForm : public AppForm {
public:
    platform::Label Label1;
    platform::Label Label2{
        *this, "Label2", {.caption = "Amount $", .at = {48, 62, 80, 22}, .align = platform::Align::Right}};
    platform::TextBox Text1{*this, "Text1", {.at = {136, 58, 140, 28}}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Enter Payment", .at = {36, 112, 136, 32}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Cancel / Esc", .at = {188, 112, 136, 32}}};

protected:
    CashInForm(App& app, const char* name, const char* caption, const char* heading,
               records::ShiftCashField field);

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Text1_KeyPress(int& KeyAscii);
    void Command1_Click();
    void Command2_Click();

    records::ShiftCashField m_field;
};

} // namespace vantreth
