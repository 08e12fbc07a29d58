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

#include "platform/decimal.h"
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
                     const platform::Decimal& amount);

// A room-rent charge. The gross rent is the figure the guest is quoted and pays: the rent
// plus rent x tax rate, rounded to the cent (59.95 at 0.1 is 65.94). The tax is derived
// from it, gross - rent (5.99, not 5.995 rounded to 6.00), so that rent and tax always
// add up to what was charged. An untaxed rent (tax rate 0) has a gross of the rent itself.
struct RoomRentCharge {
    platform::Decimal rent;
    platform::Decimal gross;
    platform::Decimal tax;
};
RoomRentCharge ChargeRoomRent(const platform::Decimal& rent, double taxRate);

// A room-rent charge into the day's figures: RoomRent + the rent and GrossRent + the gross,
// each rounded to 2 decimals as stored; Tax + exactly what those two stored figures grew by
// apart (0 for an untaxed rent), so that a day whose RoomRent and Tax added up to its
// GrossRent still does.
void AddRoomRent(DayTotals& totals, const RoomRentCharge& charge);
// Reads record 1 afresh, adds the room rent (AddRoomRent) and writes it back; an untaxed
// rent (a tax-exempt stay, or a posting whose tax code is "N") is charged at tax rate 0.
void AddRoomRentToDayTotals(const platform::DataFolder& folder, std::string_view dateText,
                            const platform::Decimal& amount, double taxRate, bool untaxed);

} // namespace records
