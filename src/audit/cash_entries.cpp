// Cash in and petty cash out.
#include "audit/cash_entries.h"

#include "folio/folio_postings.h"
#include "platform/decimal.h"
#include "platform/text.h"
#include "records/day_totals.h"
#include "records/petty_cash.h"

namespace vantreth {

bool IsEntryAmountText(std::string_view text) {
    return platform::Trim(text).empty() || IsAmountText(text);
}

void RecordCashIn(const platform::DataFolder& folder, const CashEntry& entry, records::ShiftCashField field) {
    const platform::Decimal amount = platform::Decimal::Of(entry.amount);
    records::AddToDayTotals(folder, entry.dateText, records::DayTotalsField::Cash, amount);
    records::AddToShiftCash(folder, entry.shift, entry.clerk, entry.dateText, field, amount);
}

void RecordPettyCashOut(const platform::DataFolder& folder, const CashEntry& entry) {
    records::PettyCashRecord record;
    record.Amount = static_cast<float>(entry.amount);
    record.Clerk = platform::Fixed(entry.clerk, 2);
    record.TimeText = platform::Fixed(entry.timeText, 12);
    record.DateText = platform::Fixed(entry.dateText, 10);
    record.SetShiftLetter(entry.shift);
    records::AppendPettyCash(folder, entry.dateText, record);
    records::AddToDayTotals(folder, entry.dateText, records::DayTotalsField::Cash,
                            -platform::Decimal::Of(entry.amount));
}

} // namespace vantreth
