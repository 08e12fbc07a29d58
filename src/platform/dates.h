// Dates and times of day: calendar arithmetic and the texts the windows and files use.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct Date {
    int year = 2000;
    int month = 1;
    int day = 1;
    friend bool operator==(const Date&, const Date&) = default;
};

struct TimeOfDay {
    int hour = 0; // 0..23
    int minute = 0;
    int second = 0;
    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

struct DateTime {
    Date date;
    TimeOfDay time;
};

long DaysFromCivil(const Date& d);
Date CivilFromDays(long days);
Date AddDays(const Date& d, long days);
bool IsValidDate(const Date& d);
// 1 = Monday ... 7 = Sunday.
int IsoWeekday(const Date& d);

// "12/6/26": month/day/two-digit year without leading zeros.
std::string DateText(const Date& d);
// "3:45:12 PM": 12-hour clock, hour without a leading zero.
std::string TimeText(const TimeOfDay& t);
// "12626": the date text with every "/" removed.
std::string DateDigitsOf(const Date& d);
// Parses M/D/YY or M/D/YYYY (blanks around are ignored). A two-digit year is put in the
// hundred years that ends 20 years after `currentYear`.
std::optional<Date> ParseDate(std::string_view text, int currentYear);
// Parses "h:mm:ss AM" / "h:mm:ss PM" or 24-hour "hh:mm:ss".
std::optional<TimeOfDay> ParseTime(std::string_view text);

} // namespace platform
