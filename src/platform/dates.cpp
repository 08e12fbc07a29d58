// Calendar arithmetic and the date and time texts.
#include "platform/dates.h"
#include "platform/text.h"

#include <algorithm>
#include <cstdio>

namespace platform {

// Days since 1970-01-01 in the proleptic Gregorian calendar.
long DaysFromCivil(const Date& d) {
    long y = d.year - (d.month <= 2 ? 1 : 0);
    long era = (y >= 0 ? y : y - 399) / 400;
    long yoe = y - era * 400;
    long mp = d.month > 2 ? d.month - 3 : d.month + 9;
    long doy = (153 * mp + 2) / 5 + d.day - 1;
    long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Date CivilFromDays(long days) {
    days += 719468;
    long era = (days >= 0 ? days : days - 146096) / 146097;
    long doe = days - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    Date d;
    d.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    d.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    d.year = static_cast<int>(yoe + era * 400 + (d.month <= 2 ? 1 : 0));
    return d;
}

Date AddDays(const Date& d, long days) {
    return CivilFromDays(DaysFromCivil(d) + days);
}

bool IsValidDate(const Date& d) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.year < 1 || d.year > 9999 || d.month < 1 || d.month > 12 || d.day < 1)
        return false;
    bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    return d.day <= kDays[d.month - 1] + (d.month == 2 && leap ? 1 : 0);
}

int IsoWeekday(const Date& d) {
    long days = DaysFromCivil(d); // 1970-01-01 was a Thursday
    long w = (days % 7 + 7 + 3) % 7;
    return static_cast<int>(w) + 1;
}

std::string DateText(const Date& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d/%d/%02d", d.month, d.day, (d.year % 100 + 100) % 100);
    return buf;
}

std::string TimeText(const TimeOfDay& t) {
    int hour = t.hour % 12 == 0 ? 12 : t.hour % 12;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d %s", hour, t.minute, t.second, t.hour < 12 ? "AM" : "PM");
    return buf;
}

std::string DateDigitsOf(const Date& d) {
    std::string out;
    for (char c : DateText(d))
        if (c != '/')
            out += c;
    return out;
}

namespace {

// A field of 1..maxDigits decimal digits.
bool ParseField(std::string_view s, size_t maxDigits, int& value) {
    if (s.empty() || s.size() > maxDigits)
        return false;
    value = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

} // namespace

std::optional<Date> ParseDate(std::string_view text, int currentYear) {
    std::string t = Trim(text);
    size_t first = t.find('/');
    size_t second = first == std::string::npos ? first : t.find('/', first + 1);
    if (second == std::string::npos)
        return std::nullopt;
    std::string_view all(t);
    std::string_view yearText = all.substr(second + 1);
    Date d;
    if (!ParseField(all.substr(0, first), 2, d.month) ||
        !ParseField(all.substr(first + 1, second - first - 1), 2, d.day) ||
        !ParseField(yearText, 4, d.year) || yearText.size() == 3)
        return std::nullopt;
    if (yearText.size() <= 2) {
        int last = currentYear + 20;
        d.year = last - (((last - d.year) % 100) + 100) % 100;
    }
    if (!IsValidDate(d))
        return std::nullopt;
    return d;
}

std::optional<TimeOfDay> ParseTime(std::string_view text) {
    std::string t = UCase(Trim(text));
    int half = 0; // 1 = AM, 2 = PM
    if (t.size() >= 2 && (t.ends_with("AM") || t.ends_with("PM"))) {
        half = t.ends_with("AM") ? 1 : 2;
        t = RTrim(t.substr(0, t.size() - 2));
    }
    std::string_view all(t);
    size_t first = all.find(':');
    if (first == std::string_view::npos)
        return std::nullopt;
    size_t second = all.find(':', first + 1);
    TimeOfDay time;
    std::string_view minuteText =
        all.substr(first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1);
    if (!ParseField(all.substr(0, first), 2, time.hour) || !ParseField(minuteText, 2, time.minute))
        return std::nullopt;
    if (second != std::string_view::npos && !ParseField(all.substr(second + 1), 2, time.second))
        return std::nullopt;
    if (time.minute > 59 || time.second > 59)
        return std::nullopt;
    if (half != 0) {
        if (time.hour < 1 || time.hour > 12)
            return std::nullopt;
        time.hour = time.hour % 12 + (half == 2 ? 12 : 0);
    } else if (time.hour > 23) {
        return std::nullopt;
    }
    return time;
}

} // namespace platform
