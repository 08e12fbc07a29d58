// Calendar arithmetic, the date and time texts, and the business clock whose date is
// the real local date moved by an offset kept in the data folder.
#include "platform/clock.h"

#include "platform/files.h"
#include "platform/journal.h"
#include "platform/text.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

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

namespace {

DateTime RealNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
            {local.tm_hour, local.tm_min, std::min(local.tm_sec, 59)}};
}

// What the offset file holds. A missing or empty file (blanks and line ends only) is no
// offset; a file that is there but cannot be read, or whose first line is not a whole number
// of days in range, is damaged. Both give offset 0.
struct StoredOffset {
    long days = 0;
    bool damaged = false;
};

StoredOffset ReadOffsetFile(const std::filesystem::path& file) {
    constexpr size_t kMostBytes = 4096; // far more than any offset line
    // Through the file layer, so that a step reads the date it moved itself.
    std::string text;
    try {
        if (FileSize(file) < 0)
            return {};
        text = ReadFileAt(file, 0, kMostBytes);
    } catch (const FolderNotWhole&) {
        throw; // not the file's fault: the date stays as it was
    } catch (const IoError& e) {
        return {0, e.reason() != std::strerror(ENOENT) && e.reason() != std::strerror(ENOTDIR)};
    }
    const size_t got = text.size();

    constexpr const char* kSpace = " \t\r\n";
    if (text.find_first_not_of(kSpace) == std::string::npos)
        return {};
    const size_t lineEnd = text.find('\n');
    if (lineEnd == std::string::npos && got == kMostBytes)
        return {0, true};
    std::string line = text.substr(0, lineEnd);
    const size_t first = line.find_first_not_of(" \t\r");
    const size_t last = line.find_last_not_of(" \t\r");
    line = first == std::string::npos ? std::string() : line.substr(first, last - first + 1);
    char* stop = nullptr;
    errno = 0;
    const long days = std::strtol(line.c_str(), &stop, 10);
    // The whole line must be the number: a NUL byte (a file zeroed by a crash) is not one.
    if (stop == line.c_str() || stop != line.c_str() + line.size() || errno != 0 || days <= -3650000 ||
        days >= 3650000)
        return {0, true};
    return {days, false};
}

} // namespace

BusinessClock::BusinessClock(std::filesystem::path offsetFile) : m_file(std::move(offsetFile)) {
    Reload();
}

void BusinessClock::Reload() {
    StoredOffset stored;
    try {
        stored = ReadOffsetFile(m_file);
    } catch (const FolderNotWhole&) {
        return; // the files cannot be read now: the date stays as it was
    }
    m_offset = stored.days;
    m_damaged = stored.damaged;
}

DateTime BusinessClock::Now() {
    DateTime now = RealNow();
    now.date = AddDays(now.date, m_offset);
    return now;
}

void BusinessClock::SetDate(const Date& date) {
    long offset = DaysFromCivil(date) - DaysFromCivil(RealNow().date);
    ReplaceFileContent(m_file, std::to_string(offset) + "\n");
    WhenUndone([this, old = m_offset, damaged = m_damaged] {
        m_offset = old;
        m_damaged = damaged;
    });
    m_offset = offset;
    m_damaged = false;
}

void FakeClock::Advance(long seconds) {
    long total = m_now.time.hour * 3600L + m_now.time.minute * 60L + m_now.time.second + seconds;
    long days = total >= 0 ? total / 86400 : -((-total + 86399) / 86400);
    total -= days * 86400;
    m_now.date = AddDays(m_now.date, days);
    m_now.time = {static_cast<int>(total / 3600), static_cast<int>(total / 60 % 60),
                  static_cast<int>(total % 60)};
}

} // namespace platform
