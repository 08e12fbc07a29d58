// The day's totals record.
#include "records/day_totals.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/record_fields.h"

namespace records {

using platform::DataFolder;
using platform::RandomFile;
using platform::RecordBuffer;

namespace {

size_t OffsetOf(DayTotalsField field) {
    return 10 + 4 * static_cast<size_t>(field);
}

constexpr DayTotalsField kAllFields[] = {
    DayTotalsField::RoomRent,   DayTotalsField::GrossRent,       DayTotalsField::Tax,
    DayTotalsField::Cash,       DayTotalsField::PetOther,        DayTotalsField::PhoneCharges,
    DayTotalsField::VisaMaster, DayTotalsField::AmericanExpress, DayTotalsField::Discover,
    DayTotalsField::Diners,
};

RandomFile TotalsFile(const DataFolder &folder, std::string_view dateText) {
    return RandomFile(DayFilePath(folder, DayFile::Totals, dateText), DayTotals::kLength);
}

} // namespace

float &DayTotals::Amount(DayTotalsField field) {
    switch (field) {
    case DayTotalsField::RoomRent:
        return RoomRent;
    case DayTotalsField::GrossRent:
        return GrossRent;
    case DayTotalsField::Tax:
        return Tax;
    case DayTotalsField::Cash:
        return Cash;
    case DayTotalsField::PetOther:
        return PetOther;
    case DayTotalsField::PhoneCharges:
        return PhoneCharges;
    case DayTotalsField::VisaMaster:
        return VisaMaster;
    case DayTotalsField::AmericanExpress:
        return AmericanExpress;
    case DayTotalsField::Discover:
        return Discover;
    case DayTotalsField::Diners:
        return Diners;
    }
    return RoomRent;
}

float DayTotals::Amount(DayTotalsField field) const {
    return const_cast<DayTotals *>(this)->Amount(field);
}

DayTotals DayTotals::Decode(std::string_view bytes) {
    const RecordBuffer buffer(fields::Padded(bytes, kLength));
    DayTotals totals;
    totals.DateText = fields::Text(buffer, 0, 10);
    for (DayTotalsField field : kAllFields)
        totals.Amount(field) = buffer.Single(OffsetOf(field));
    totals.SpareText1 = fields::Text(buffer, 50, 10);
    totals.SpareText2 = fields::Text(buffer, 60, 10);
    totals.SpareText3 = fields::Text(buffer, 70, 10);
    return totals;
}

std::string DayTotals::Encode() const {
    RecordBuffer buffer(kLength);
    buffer.SetText(0, 10, DateText);
    for (DayTotalsField field : kAllFields)
        buffer.SetSingle(OffsetOf(field), Amount(field));
    buffer.SetText(50, 10, SpareText1);
    buffer.SetText(60, 10, SpareText2);
    buffer.SetText(70, 10, SpareText3);
    return buffer.bytes();
}

std::optional<DayTotalsField> DayTotalsFieldForCode(std::string_view code) {
    if (code == "E")
        return DayTotalsField::RoomRent;
    if (code == "J")
        return DayTotalsField::PetOther;
    if (code == "G")
        return DayTotalsField::PhoneCharges;
    if (code == "L")
        return DayTotalsField::Cash;
    if (code == "N")
        return DayTotalsField::VisaMaster;
    if (code == "M")
        return DayTotalsField::AmericanExpress;
    if (code == "P")
        return DayTotalsField::Discover;
    if (code == "O")
        return DayTotalsField::Diners;
    return std::nullopt;
}

DayTotals ReadDayTotals(const DataFolder &folder, std::string_view dateText) {
    return DayTotals::Decode(TotalsFile(folder, dateText).Get(1));
}

void WriteDayTotals(const DataFolder &folder, std::string_view dateText, const DayTotals &totals) {
    TotalsFile(folder, dateText).Put(1, totals.Encode());
}

float AddToDayTotals(const DataFolder &folder, std::string_view dateText, DayTotalsField field,
                     double amount) {
    DayTotals totals = ReadDayTotals(folder, dateText);
    float &value = totals.Amount(field);
    value = platform::AddAmount(value, amount);
    WriteDayTotals(folder, dateText, totals);
    return value;
}

} // namespace records
