// The business clock. The business date is the real local date moved by a whole number
// of days that is kept in the data folder, so that "setting the system date" never
// touches the machine; the time of day is always the real one. Tests use FakeClock.
#pragma once

#include "dates.h"
#include "files.h"

#include <filesystem>
#include <string>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime Now() = 0;
    // Moves the business date; the time of day is not affected.
    virtual void SetDate(const Date& date) = 0;
    // Reads the stored date again (after a failed action put the stored one back).
    virtual void Reload() {}

    Date Today() { return Now().date; }
    std::string DateText() { return platform::DateText(Now().date); }
    std::string TimeText() { return platform::TimeText(Now().time); }
};

// Real local time plus a day offset stored as text in `offsetFile`. A missing or empty
// offset file means offset 0; so does a damaged one (see Damaged). SetDate throws IoError
// when the offset cannot be saved, and then leaves the date unchanged.
class BusinessClock final : public Clock {
public:
    explicit BusinessClock(FilePath offsetFile);
    // The offset file is read and changed from now on through `folder`'s engine, when it lies
    // in that folder (the program hands the clock its data folder once it opened it).
    void OpenIn(const DataFolder& folder);
    DateTime Now() override;
    void SetDate(const Date& date) override;
    // Reads the offset file again, as the constructor does.
    void Reload() override;
    long OffsetDays() const { return m_offset; }
    // True when the offset file was there and not empty but could not be read as a day
    // offset (not a whole number, out of range, unreadable): the business date fell back to
    // the computer's date. A missing or empty file (nothing but blanks and line ends) is not
    // damaged. Cleared by SetDate.
    bool Damaged() const { return m_damaged; }

private:
    FilePath m_file;
    long m_offset = 0;
    bool m_damaged = false;
};

// A clock that stands still until told otherwise.
class FakeClock final : public Clock {
public:
    FakeClock() = default;
    explicit FakeClock(DateTime now) : m_now(now) {}
    DateTime Now() override { return m_now; }
    void SetDate(const Date& date) override { m_now.date = date; }
    void Set(DateTime now) { m_now = now; }
    void SetTime(TimeOfDay t) { m_now.time = t; }
    // Moves forward by whole seconds, across midnight into the next day.
    void Advance(long seconds);

private:
    DateTime m_now{{2026, 12, 6}, {9, 0, 0}};
};

} // namespace platform
