// DayTotals: the day's totals, record 1 of "totals/totals" + DateDigits, 80 bytes.
//
//   offset width field
//        0    10 DateText         never written by the program
//       10     4 RoomRent         Single amounts from here on
//       14     4 GrossRent
//       18     4 Tax
//       22     4 Cash
//       26     4 PetOther
//       30     4 PhoneCharges
//       34     4 VisaMaster
//       38     4 AmericanExpress
//       42     4 Discover
//       46     4 Diners
//       50    10 SpareText1       never written
//       60    10 SpareText2
//       70    10 SpareText3
//
// Text fields hold their stored fixed-width text; a new file reads as blanks and zeros.
#pragma once

#include "platform/files.h"

#include <optional>
#include <string>
#include <string_view>

namespace records {

enum class DayTotalsField {
    RoomRent,
    GrossRent,
    Tax,
    Cash,
    PetOther,
    PhoneCharges,
    VisaMaster,
    AmericanExpress,
    Discover,
    Diners,
};

struct DayTotals {
    static constexpr int kLength = 80;

    std::string DateText = std::string(10, ' ');
    float RoomRent = 0;
    float GrossRent = 0;
    float Tax = 0;
    float Cash = 0;
    float PetOther = 0;
    float PhoneCharges = 0;
    float VisaMaster = 0;
    float AmericanExpress = 0;
    float Discover = 0;
    float Diners = 0;
    std::string SpareText1 = std::string(10, ' ');
    std::string SpareText2 = std::string(10, ' ');
    std::string SpareText3 = std::string(10, ' ');

    static DayTotals Decode(std::string_view bytes);
    std::string Encode() const; // all 80 bytes

    float& Amount(DayTotalsField field);
    float Amount(DayTotalsField field) const;

    friend bool operator==(const DayTotals&, const DayTotals&) = default;
};

// The field a posting code adds to (the code table, records/posting_codes.h): "E" RoomRent
// (room rent also adds to GrossRent and Tax), "J" PetOther, "G" PhoneCharges, "L" Cash,
// "N" VisaMaster, "M" AmericanExpress, "P" Discover, "O" Diners; nullopt for any other code.
std::optional<DayTotalsField> DayTotalsFieldForCode(std::string_view code);

DayTotals ReadDayTotals(const platform::DataFolder& folder, std::string_view dateText);
void WriteDayTotals(const platform::DataFolder& folder, std::string_view dateText, const DayTotals& totals);
// Reads record 1 afresh, adds the amount to the field rounded to 2 decimals (a negative
// amount subtracts), writes the record back; returns the new value of the field.
float AddToDayTotals(const platform::DataFolder& folder, std::string_view dateText, DayTotalsField field,
                     double amount);
// Room rent into the day's totals, field by field as AddToDayTotals adds: RoomRent + the
// amount, GrossRent + the amount and its tax, and Tax + the tax unless the rent is untaxed
// (a tax-exempt stay, or a posting whose tax code is "N"); the tax is amount x tax rate.
void AddRoomRentToDayTotals(const platform::DataFolder& folder, std::string_view dateText, double amount,
                            double taxRate, bool untaxed);

} // namespace records
