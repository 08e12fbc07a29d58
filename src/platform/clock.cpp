// The business clock: its date is the real local date moved by an offset kept in the data
// folder.
#include "platform/clock.h"

#include "platform/engine.h"
#include "platform/files.h"
#include "platform/text.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace platform {

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

StoredOffset ReadOffsetFile(const FilePath& file) {
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

BusinessClock::BusinessClock(FilePath offsetFile) : m_file(std::move(offsetFile)) {
    Reload();
}

void BusinessClock::OpenIn(const DataFolder& folder) {
    m_file = folder.FileAt(m_file.path());
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
    WhenUndone(m_file, [this, old = m_offset, damaged = m_damaged] {
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
