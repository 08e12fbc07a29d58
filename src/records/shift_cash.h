// ShiftCash: one shift's cash, record 1 of "shiftcash/" + shift letter + DateDigits,
// 75 bytes.
//
//   offset width field
//        0     1 Shift
//        1     2 Clerk
//        3    10 DateText
//       13     4 CashFromRent        Single amounts from here on
//       17     4 SpareAmount1
//       21     4 SpareAmount2
//       25     4 SpareAmount3
//       29     4 SpareAmount4
//       33     4 CashFromDirectBill
//       37     4 CashFromVending
//       41     4 CashFromOther
//       45    10 SpareText1          never written
//       55    10 SpareText2
//       65    10 SpareText3
//
// Text fields hold their stored fixed-width text; a new file reads as blanks and zeros.
#pragma once

#include "platform/decimal.h"
#include "platform/files.h"

#include <string>
#include <string_view>

namespace records {

enum class ShiftCashField {
    CashFromRent,
    SpareAmount1,
    SpareAmount2,
    SpareAmount3,
    SpareAmount4,
    CashFromDirectBill,
    CashFromVending,
    CashFromOther,
};

struct ShiftCash {
    static constexpr int kLength = 75;

    std::string Shift = std::string(1, ' ');
    std::string Clerk = std::string(2, ' ');
    std::string DateText = std::string(10, ' ');
    float CashFromRent = 0;
    float SpareAmount1 = 0;
    float SpareAmount2 = 0;
    float SpareAmount3 = 0;
    float SpareAmount4 = 0;
    float CashFromDirectBill = 0;
    float CashFromVending = 0;
    float CashFromOther = 0;
    std::string SpareText1 = std::string(10, ' ');
    std::string SpareText2 = std::string(10, ' ');
    std::string SpareText3 = std::string(10, ' ');

    static ShiftCash Decode(std::string_view bytes);
    std::string Encode() const; // all 75 bytes

    float& Amount(ShiftCashField field);
    float Amount(ShiftCashField field) const;

    friend bool operator==(const ShiftCash&, const ShiftCash&) = default;
};

ShiftCash ReadShiftCash(const platform::DataFolder& folder, std::string_view shift,
                        std::string_view dateText);
void WriteShiftCash(const platform::DataFolder& folder, std::string_view shift, std::string_view dateText,
                    const ShiftCash& cash);
// The shift's cash taken: reads record 1 of the shift's file for the date afresh, sets
// Shift, Clerk and DateText to the given shift, clerk and date text, adds the amount to
// the field rounded to 2 decimals, writes the record back; returns the new value.
float AddToShiftCash(const platform::DataFolder& folder, std::string_view shift, std::string_view clerk,
                     std::string_view dateText, ShiftCashField field, const platform::Decimal& amount);

} // namespace records
