// The small settings and flag files of the data folder: the rate tables, the optional
// rates, the state and city tax rates, the intro flag, the date-hold status, the number
// files (day of week, total tax rate, sleepers flag) and the day's list of guests due out.
//
// A write of a random-access settings record puts only the bytes listed below; the rest
// of the record is never read or written and keeps whatever the file holds there.
//
// RateTable, record 1 of "weekday" / "weekend", record length 15, 12 bytes written:
//   0 SingleRate, 4 DoubleRate, 8 JqzRate (Singles)
// OptionalRates, record 1 of "oprates", record length 50, 20 bytes written:
//   0 Rate1, 4 Rate2, 8 Rate3, 12 Rate4, 16 Rate5 (Singles; 0 = empty slot)
// "intro", "statetax", "citytax": record 1, record length 10, 4 bytes written: one Single
// DateStatusRecord, record 1 of "datestatus", record length 10, 8 bytes written:
//   0 RolledBack, 4 Spare (Singles)
// "dayofweek", "tax", "sleeperstoday": sequential files holding one number item.
// "sleepers/" + DateDigits: one quoted text item per line (SleeperLineText).
#pragma once

#include "platform/files.h"
#include "records/guest_record.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace records {

struct RateTable {
    static constexpr int kLength = 15;
    static constexpr int kBytesWritten = 12;

    float SingleRate = 0; // NK1, K11, NQ1, Q11, PNQ1, PQ1
    float DoubleRate = 0; // NDD1, DD1
    float JqzRate = 0;    // every type beginning with "S"

    static RateTable Decode(std::string_view bytes);
    std::string Encode() const; // the 12 bytes a write puts

    // The rate of the type's group (trailing blanks of the type ignored); nullopt for a
    // type in no group, whose rooms keep their rate.
    std::optional<float> RateForType(std::string_view roomType) const;

    friend bool operator==(const RateTable&, const RateTable&) = default;
};

// fileName: kWeekdayFile or kWeekendFile. A new file reads as three zero rates.
RateTable ReadRateTable(const platform::DataFolder& folder, std::string_view fileName);
void WriteRateTable(const platform::DataFolder& folder, std::string_view fileName, const RateTable& table);

struct OptionalRates {
    static constexpr int kLength = 50;
    static constexpr int kBytesWritten = 20;

    float Rate1 = 0;
    float Rate2 = 0;
    float Rate3 = 0;
    float Rate4 = 0;
    float Rate5 = 0;

    static OptionalRates Decode(std::string_view bytes);
    std::string Encode() const; // the 20 bytes a write puts

    friend bool operator==(const OptionalRates&, const OptionalRates&) = default;
};

OptionalRates ReadOptionalRates(const platform::DataFolder& folder);
void WriteOptionalRates(const platform::DataFolder& folder, const OptionalRates& rates);

// One Single in record 1 of a 10-byte-record file; a new file reads as 0.
inline constexpr int kSingleSettingLength = 10;
struct SingleSetting {
    static constexpr int kLength = kSingleSettingLength;

    float Value = 0;

    static SingleSetting Decode(std::string_view bytes);
    std::string Encode() const; // the 4 bytes a write puts
};
float ReadSingleSetting(const platform::DataFolder& folder, std::string_view fileName);
void WriteSingleSetting(const platform::DataFolder& folder, std::string_view fileName, float value);
float ReadIntroFlag(const platform::DataFolder& folder); // 1 = do not show the guide
void WriteIntroFlag(const platform::DataFolder& folder, float value);
float ReadStateTax(const platform::DataFolder& folder);
void WriteStateTax(const platform::DataFolder& folder, float rate);
float ReadCityTax(const platform::DataFolder& folder);
void WriteCityTax(const platform::DataFolder& folder, float rate);

struct DateStatusRecord {
    static constexpr int kLength = 10;
    static constexpr int kBytesWritten = 8;

    float RolledBack = 0; // 1 = the date was set back during this AM period
    float Spare = 0;

    static DateStatusRecord Decode(std::string_view bytes);
    std::string Encode() const; // the 8 bytes a write puts

    friend bool operator==(const DateStatusRecord&, const DateStatusRecord&) = default;
};

DateStatusRecord ReadDateStatus(const platform::DataFolder& folder);
void WriteDateStatus(const platform::DataFolder& folder, const DateStatusRecord& status);

// A sequential file of one number item. Reading gives nullopt when the file does not
// exist, and likewise when it holds no complete line (empty, or its only line cut short);
// a first item that is a date or time throws IoError. Writing replaces the file.
std::optional<double> ReadNumberFile(const platform::DataFolder& folder, std::string_view fileName);
void WriteNumberFile(const platform::DataFolder& folder, std::string_view fileName, double value);
void WriteNumberFile(const platform::DataFolder& folder, std::string_view fileName, int value);

std::optional<double> ReadDayOfWeek(const platform::DataFolder& folder); // 1 = Monday ... 7 = Sunday
void WriteDayOfWeek(const platform::DataFolder& folder, int day);
std::optional<double> ReadTaxRate(const platform::DataFolder& folder); // total rate as a fraction
void WriteTaxRate(const platform::DataFolder& folder, double rate);
std::optional<double> ReadSleepersToday(const platform::DataFolder& folder);
void WriteSleepersToday(const platform::DataFolder& folder, int value);

// The line of the day's list of guests due out: Room (3 characters as stored), two
// blanks, Trim(LastName), ", ", Trim(FirstName).
std::string SleeperLineText(const GuestRecord& guest);
void AppendSleeperLine(const platform::DataFolder& folder, std::string_view dateText,
                       const GuestRecord& guest);
// The day's lines; throws IoError when the day has no file.
std::vector<std::string> ReadSleeperLines(const platform::DataFolder& folder, std::string_view dateText);

} // namespace records
