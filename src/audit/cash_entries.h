// Cash that passes through the drawer outside the folios: vending and other cash taken in
// (the day's cash and the shift's cash), and petty cash paid out (the day's petty cash file
// and the day's cash). Plain functions shared by the entry windows.
#pragma once

#include "platform/files.h"
#include "records/shift_cash.h"

#include <string>
#include <string_view>

namespace vantreth {

// The amount box may be left empty (an amount of 0) or hold a decimal number with an
// optional sign; anything else is refused before a file is touched.
bool IsEntryAmountText(std::string_view text);
inline constexpr const char* kEntryAmountWarning =
    "The amount you typed is not a number. Please type the amount in dollars, like 10.00.";

struct CashEntry {
    std::string dateText;
    std::string timeText;
    std::string shift;
    std::string clerk;
    double amount = 0;
};

// Adds the amount to the day's Cash, then to the field of the shift's cash record (which
// takes the shift, clerk and date); each rounded to 2 decimals.
void RecordCashIn(const platform::DataFolder& folder, const CashEntry& entry, records::ShiftCashField field);

// Writes the payment, with the shift that paid it, as the next record of the day's petty
// cash file, then takes it off the day's Cash. The shift's cash is left alone: that shift's
// drawer balance subtracts it.
void RecordPettyCashOut(const platform::DataFolder& folder, const CashEntry& entry);

} // namespace vantreth
