// The day's totals record.
#include "records/day_totals.h"

#include "platform/decimal.h"
#include "records/filenames.h"
#include "records/posting_codes.h"
#include "records/record_fields.h"
#include "records/record_file.h"

namespace records {

using platform::DataFolder;
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

RecordFile<DayTotals> TotalsFile(const DataFolder& folder, std::string_view dateText) {
    return RecordFile<DayTotals>(DayFilePath(folder, DayFile::Totals, dateText));
}

// The total as the clerk knows it, for a refusal.
std::string DayTotalName(DayTotalsField field, std::string_view dateText) {
    static constexpr const char* kNames[] = {"Room Rent", "Gross Rent",    "Tax",         "Cash",
                                             "Pet/Other", "Phone Charges", "Visa/Master", "American Express",
                                             "Discover",  "Diners"};
    return "The total of " + std::string(kNames[static_cast<size_t>(field)]) + " for " +
           std::string(dateText);
}

} // namespace

float& DayTotals::Amount(DayTotalsField field) {
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
    return const_cast<DayTotals*>(this)->Amount(field);
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
    const PostingCode* row = FindPostingCode(code);
    return row != nullptr ? row->column : std::nullopt;
}

DayTotals ReadDayTotals(const DataFolder& folder, std::string_view dateText) {
    return TotalsFile(folder, dateText).Read(1);
}

void WriteDayTotals(const DataFolder& folder, std::string_view dateText, const DayTotals& totals) {
    TotalsFile(folder, dateText).Write(1, totals);
}

float AddToDayTotals(const DataFolder& folder, std::string_view dateText, DayTotalsField field,
                     const platform::Decimal& amount) {
    DayTotals totals = ReadDayTotals(folder, dateText);
    float& value = totals.Amount(field);
    value = platform::AddStoredAmount(value, amount, DayTotalName(field, dateText));
    WriteDayTotals(folder, dateText, totals);
    return value;
}

RoomRentCharge ChargeRoomRent(const platform::Decimal& rent, double taxRate) {
    RoomRentCharge charge{.rent = rent};
    charge.gross = (rent + rent * platform::Decimal::Of(taxRate)).Rounded(2);
    charge.tax = charge.gross - rent;
    return charge;
}

void AddRoomRent(DayTotals& totals, const RoomRentCharge& charge) {
    using platform::Decimal;
    const Decimal rentBefore = Decimal::Of(totals.RoomRent);
    const Decimal grossBefore = Decimal::Of(totals.GrossRent);
    totals.RoomRent = platform::AddStoredAmount(totals.RoomRent, charge.rent, "The day's Room Rent");
    totals.GrossRent = platform::AddStoredAmount(totals.GrossRent, charge.gross, "The day's Gross Rent");
    const Decimal taxAdded =
        (Decimal::Of(totals.GrossRent) - grossBefore) - (Decimal::Of(totals.RoomRent) - rentBefore);
    totals.Tax = platform::AddStoredAmount(totals.Tax, taxAdded, "The day's Tax");
}

void AddRoomRentToDayTotals(const DataFolder& folder, std::string_view dateText,
                            const platform::Decimal& amount, double taxRate, bool untaxed) {
    DayTotals totals = ReadDayTotals(folder, dateText);
    AddRoomRent(totals, ChargeRoomRent(amount, untaxed ? 0.0 : taxRate));
    WriteDayTotals(folder, dateText, totals);
}

} // namespace records
