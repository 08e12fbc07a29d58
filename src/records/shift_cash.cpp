// The shift's cash record.
#include "records/shift_cash.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/record_fields.h"
#include "records/record_file.h"

namespace records {

using platform::DataFolder;
using platform::RecordBuffer;

namespace {

size_t OffsetOf(ShiftCashField field) {
    return 13 + 4 * static_cast<size_t>(field);
}

constexpr ShiftCashField kAllFields[] = {
    ShiftCashField::CashFromRent,    ShiftCashField::SpareAmount1,  ShiftCashField::SpareAmount2,
    ShiftCashField::SpareAmount3,    ShiftCashField::SpareAmount4,  ShiftCashField::CashFromDirectBill,
    ShiftCashField::CashFromVending, ShiftCashField::CashFromOther,
};

RecordFile<ShiftCash> CashFile(const DataFolder& folder, std::string_view shift, std::string_view dateText) {
    return RecordFile<ShiftCash>(ShiftFilePath(folder, ShiftFile::ShiftCash, shift, dateText));
}

} // namespace

float& ShiftCash::Amount(ShiftCashField field) {
    switch (field) {
    case ShiftCashField::CashFromRent:
        return CashFromRent;
    case ShiftCashField::SpareAmount1:
        return SpareAmount1;
    case ShiftCashField::SpareAmount2:
        return SpareAmount2;
    case ShiftCashField::SpareAmount3:
        return SpareAmount3;
    case ShiftCashField::SpareAmount4:
        return SpareAmount4;
    case ShiftCashField::CashFromDirectBill:
        return CashFromDirectBill;
    case ShiftCashField::CashFromVending:
        return CashFromVending;
    case ShiftCashField::CashFromOther:
        return CashFromOther;
    }
    return CashFromRent;
}

float ShiftCash::Amount(ShiftCashField field) const {
    return const_cast<ShiftCash*>(this)->Amount(field);
}

ShiftCash ShiftCash::Decode(std::string_view bytes) {
    const RecordBuffer buffer(fields::Padded(bytes, kLength));
    ShiftCash cash;
    cash.Shift = fields::Text(buffer, 0, 1);
    cash.Clerk = fields::Text(buffer, 1, 2);
    cash.DateText = fields::Text(buffer, 3, 10);
    for (ShiftCashField field : kAllFields)
        cash.Amount(field) = buffer.Single(OffsetOf(field));
    cash.SpareText1 = fields::Text(buffer, 45, 10);
    cash.SpareText2 = fields::Text(buffer, 55, 10);
    cash.SpareText3 = fields::Text(buffer, 65, 10);
    return cash;
}

std::string ShiftCash::Encode() const {
    RecordBuffer buffer(kLength);
    buffer.SetText(0, 1, Shift);
    buffer.SetText(1, 2, Clerk);
    buffer.SetText(3, 10, DateText);
    for (ShiftCashField field : kAllFields)
        buffer.SetSingle(OffsetOf(field), Amount(field));
    buffer.SetText(45, 10, SpareText1);
    buffer.SetText(55, 10, SpareText2);
    buffer.SetText(65, 10, SpareText3);
    return buffer.bytes();
}

ShiftCash ReadShiftCash(const DataFolder& folder, std::string_view shift, std::string_view dateText) {
    return CashFile(folder, shift, dateText).Read(1);
}

void WriteShiftCash(const DataFolder& folder, std::string_view shift, std::string_view dateText,
                    const ShiftCash& cash) {
    CashFile(folder, shift, dateText).Write(1, cash);
}

float AddToShiftCash(const DataFolder& folder, std::string_view shift, std::string_view clerk,
                     std::string_view dateText, ShiftCashField field, const platform::Decimal& amount) {
    ShiftCash cash = ReadShiftCash(folder, shift, dateText);
    cash.Shift = platform::Fixed(shift, 1);
    cash.Clerk = platform::Fixed(clerk, 2);
    cash.DateText = platform::Fixed(dateText, 10);
    float& value = cash.Amount(field);
    value = platform::AddStoredAmount(value, amount, "The cash of shift " + platform::Trim(shift));
    WriteShiftCash(folder, shift, dateText, cash);
    return value;
}

} // namespace records
