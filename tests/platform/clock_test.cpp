// Tests of the calendar arithmetic, the date and time texts, and the business clock's
// stored day offset.
#include "platform/clock.h"
#include "support/temp_folder.h"

#include "platform/files.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>

namespace platform {
namespace {

std::string Show(const Date& d) {
    return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day);
}

Date RealToday() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

TEST(ClockTest, DaysFromCivilAndBackAgree) {
    EXPECT_EQ(DaysFromCivil({1970, 1, 1}), 0);
    EXPECT_EQ(DaysFromCivil({2000, 3, 1}), 11017);
    EXPECT_EQ(DaysFromCivil({1969, 12, 31}), -1);
    for (long days = -719000; days <= 2932000; days += 367) {
        Date d = CivilFromDays(days);
        ASSERT_TRUE(IsValidDate(d)) << days << " gives " << Show(d);
        ASSERT_EQ(DaysFromCivil(d), days) << Show(d);
    }
}

TEST(ClockTest, AddDaysCrossesMonthYearAndLeapDay) {
    struct Case {
        Date from;
        long days;
        Date expected;
    };
    const Case cases[] = {
        {{2026, 1, 31}, 1, {2026, 2, 1}},  {{2026, 12, 31}, 1, {2027, 1, 1}},
        {{2028, 2, 28}, 1, {2028, 2, 29}}, {{2028, 2, 29}, 1, {2028, 3, 1}},
        {{2027, 2, 28}, 1, {2027, 3, 1}},  {{2100, 2, 28}, 1, {2100, 3, 1}},
        {{2000, 2, 28}, 1, {2000, 2, 29}}, {{2027, 1, 1}, -1, {2026, 12, 31}},
        {{2028, 3, 1}, -1, {2028, 2, 29}}, {{2026, 12, 6}, 365, {2027, 12, 6}},
        {{2026, 12, 6}, 0, {2026, 12, 6}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AddDays(c.from, c.days), c.expected) << Show(c.from) << " + " << c.days;
}

TEST(ClockTest, IsValidDateKnowsMonthLengths) {
    EXPECT_TRUE(IsValidDate({2028, 2, 29}));
    EXPECT_FALSE(IsValidDate({2027, 2, 29}));
    EXPECT_FALSE(IsValidDate({1900, 2, 29}));
    EXPECT_TRUE(IsValidDate({2000, 2, 29}));
    EXPECT_FALSE(IsValidDate({2026, 4, 31}));
    EXPECT_TRUE(IsValidDate({2026, 12, 31}));
    EXPECT_FALSE(IsValidDate({2026, 13, 1}));
    EXPECT_FALSE(IsValidDate({2026, 0, 1}));
    EXPECT_FALSE(IsValidDate({2026, 1, 0}));
}

TEST(ClockTest, IsoWeekdayCountsFromMonday) {
    EXPECT_EQ(IsoWeekday({2026, 12, 6}), 7); // a Sunday
    EXPECT_EQ(IsoWeekday({2026, 12, 7}), 1);
    EXPECT_EQ(IsoWeekday({1970, 1, 1}), 4);
    EXPECT_EQ(IsoWeekday({1969, 12, 29}), 1);
    EXPECT_EQ(IsoWeekday({2000, 2, 29}), 2);
}

TEST(ClockTest, DateTextIsMonthDayTwoDigitYear) {
    struct Case {
        Date date;
        const char* text;
        const char* digits;
    };
    const Case cases[] = {
        {{2026, 12, 6}, "12/6/26", "12626"},
        {{2007, 1, 5}, "1/5/07", "1507"},
        {{2000, 10, 31}, "10/31/00", "103100"},
        {{1999, 7, 4}, "7/4/99", "7499"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DateText(c.date), c.text) << Show(c.date);
        EXPECT_EQ(DateDigitsOf(c.date), c.digits) << Show(c.date);
    }
}

TEST(ClockTest, TimeTextUsesTwelveHourClock) {
    struct Case {
        TimeOfDay time;
        const char* text;
    };
    const Case cases[] = {
        {{15, 45, 12}, "3:45:12 PM"},  {{0, 0, 5}, "12:00:05 AM"},  {{12, 30, 0}, "12:30:00 PM"},
        {{11, 59, 59}, "11:59:59 AM"}, {{23, 5, 9}, "11:05:09 PM"}, {{9, 0, 0}, "9:00:00 AM"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TimeText(c.time), c.text) << c.time.hour << ":" << c.time.minute << ":" << c.time.second;
}

TEST(ClockTest, ParseDateAcceptsShortAndLongYears) {
    struct Case {
        const char* text;
        Date expected;
    };
    const Case cases[] = {
        {"12/6/26", {2026, 12, 6}},     {"1/5/2027", {2027, 1, 5}}, {"01/05/2027", {2027, 1, 5}},
        {" 2/29/28 ", {2028, 2, 29}},   {"1/5/07", {2007, 1, 5}},   {"1/1/46", {2046, 1, 1}},
        {"1/1/47", {1947, 1, 1}},       {"6/15/99", {1999, 6, 15}}, {"3/4/5", {2005, 3, 4}},
        {"12/31/1947", {1947, 12, 31}},
    };
    for (const Case& c : cases) {
        auto parsed = ParseDate(c.text, 2026);
        ASSERT_TRUE(parsed.has_value()) << "\"" << c.text << "\"";
        EXPECT_EQ(*parsed, c.expected) << "\"" << c.text << "\"";
    }
}

TEST(ClockTest, ParseDateWindowMovesWithTheCurrentYear) {
    EXPECT_EQ(ParseDate("1/1/50", 2030), (Date{2050, 1, 1}));
    EXPECT_EQ(ParseDate("1/1/51", 2030), (Date{1951, 1, 1}));
    EXPECT_EQ(ParseDate("1/1/19", 2099), (Date{2119, 1, 1}));
    EXPECT_EQ(ParseDate("1/1/20", 2099), (Date{2020, 1, 1}));
}

TEST(ClockTest, ParseDateRejectsInvalidDatesAndJunk) {
    const char* bad[] = {"2/30/27", "13/1/26",   "0/1/26", "1/0/26",   "2/29/27", "",
                         "abc",     "1/5",       "1/5/",   "/5/26",    "1-5-26",  "1/5/26x",
                         "1/5/202", "1/5/20277", "a/5/26", "1/5/26/1", "-1/5/26", "123/5/26"};
    for (const char* text : bad)
        EXPECT_FALSE(ParseDate(text, 2026).has_value()) << "\"" << text << "\"";
}

TEST(ClockTest, ParseTimeReadsBothClocks) {
    struct Case {
        const char* text;
        TimeOfDay expected;
    };
    const Case cases[] = {
        {"3:45:12 PM", {15, 45, 12}},  {"12:00:05 AM", {0, 0, 5}}, {"12:30:00 PM", {12, 30, 0}},
        {"11:59:59 am", {11, 59, 59}}, {"15:45:12", {15, 45, 12}}, {"00:00:00", {0, 0, 0}},
        {" 9:05:00 ", {9, 5, 0}},      {"9:05 PM", {21, 5, 0}},
    };
    for (const Case& c : cases) {
        auto parsed = ParseTime(c.text);
        ASSERT_TRUE(parsed.has_value()) << "\"" << c.text << "\"";
        EXPECT_EQ(*parsed, c.expected) << "\"" << c.text << "\"";
    }
    const char* bad[] = {"", "noon", "24:00:00", "13:00:00 PM", "0:10:00 AM", "9:60:00", "9:00:60", "9::00"};
    for (const char* text : bad)
        EXPECT_FALSE(ParseTime(text).has_value()) << "\"" << text << "\"";
}

TEST(ClockTest, DateAndTimeTextsReadBack) {
    for (long days = DaysFromCivil({1948, 1, 1}); days < DaysFromCivil({2046, 12, 31}); days += 97) {
        Date d = CivilFromDays(days);
        EXPECT_EQ(ParseDate(DateText(d), 2026), d) << DateText(d);
    }
    for (int s = 0; s < 86400; s += 59) {
        TimeOfDay t{s / 3600, s / 60 % 60, s % 60};
        EXPECT_EQ(ParseTime(TimeText(t)), t) << TimeText(t);
    }
}

TEST(ClockTest, FakeClockAdvanceCrossesMidnight) {
    FakeClock clock({{2026, 12, 31}, {23, 59, 50}});
    clock.Advance(15);
    EXPECT_EQ(clock.Today(), (Date{2027, 1, 1}));
    EXPECT_EQ(clock.Now().time, (TimeOfDay{0, 0, 5}));
    EXPECT_EQ(clock.TimeText(), "12:00:05 AM");
    clock.Advance(2 * 86400 + 3600);
    EXPECT_EQ(clock.Today(), (Date{2027, 1, 3}));
    EXPECT_EQ(clock.Now().time, (TimeOfDay{1, 0, 5}));
    clock.Advance(-3606);
    EXPECT_EQ(clock.Today(), (Date{2027, 1, 2}));
    EXPECT_EQ(clock.Now().time, (TimeOfDay{23, 59, 59}));
}

class BusinessClockTest : public ::testing::Test {
protected:
    // The clock's date once with the real date read before and after, to survive midnight.
    static void ExpectOffsetDate(BusinessClock& clock, long offset) {
        Date before = RealToday();
        Date date = clock.Today();
        Date after = RealToday();
        EXPECT_TRUE(date == AddDays(before, offset) || date == AddDays(after, offset))
            << Show(date) << " vs " << Show(before) << " + " << offset;
    }

    vantreth::testing::TempFolder m_temp;
    const std::filesystem::path m_dir = m_temp.path();
};

TEST_F(BusinessClockTest, MissingOffsetFileMeansRealDate) {
    BusinessClock clock(FilePath::Outside(m_dir / "dateoffset"));
    EXPECT_EQ(clock.OffsetDays(), 0);
    ExpectOffsetDate(clock, 0);
}

TEST_F(BusinessClockTest, SetDatePersistsAcrossClockObjects) {
    Date target = AddDays(RealToday(), 40);
    {
        BusinessClock clock(FilePath::Outside(m_dir / "dateoffset"));
        clock.SetDate(target);
        EXPECT_EQ(clock.Today(), target);
    }
    BusinessClock again(FilePath::Outside(m_dir / "dateoffset"));
    EXPECT_EQ(again.OffsetDays(), 40);
    ExpectOffsetDate(again, 40);

    again.SetDate(AddDays(RealToday(), -3));
    BusinessClock third(FilePath::Outside(m_dir / "dateoffset"));
    EXPECT_EQ(third.OffsetDays(), -3);
    ExpectOffsetDate(third, -3);
}

TEST_F(BusinessClockTest, DamagedOffsetFileMeansZeroAndSaysSo) {
    using namespace std::string_literals;
    struct Case {
        std::string content;
        long offset;
        bool damaged;
    };
    const Case cases[] = {
        {"", 0, false},
        {"\n", 0, false},
        {"  \r\n\t\n", 0, false},
        {"12\n", 12, false},
        {" -12 \r\n", -12, false},
        {"+5", 5, false},
        {"3649999\n", 3649999, false},
        {"12\nmore lines\n", 12, false}, // only the first line counts
        {"junk\n", 0, true},
        {"12abc", 0, true},
        {"99999999999999999999", 0, true},
        {"3650000", 0, true},
        {"-3650000\n", 0, true},
        {"\n12\n", 0, true},
        {"\0\0\0\0"s, 0, true}, // zeroed by a crash
        {std::string(5000, '1'), 0, true},
    };
    const std::filesystem::path file = m_dir / "dateoffset";
    for (const Case& c : cases) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << c.content;
        BusinessClock clock(FilePath::Outside(file));
        EXPECT_EQ(clock.OffsetDays(), c.offset) << "\"" << c.content << "\"";
        EXPECT_EQ(clock.Damaged(), c.damaged) << "\"" << c.content << "\"";
    }

    std::filesystem::remove(file);
    EXPECT_FALSE(BusinessClock(FilePath::Outside(file)).Damaged()) << "a missing file";
    std::filesystem::create_directory(file);
    EXPECT_TRUE(BusinessClock(FilePath::Outside(file)).Damaged()) << "a folder in its place";
}

TEST_F(BusinessClockTest, ReloadReadsTheFileAgain) {
    const std::filesystem::path file = m_dir / "dateoffset";
    std::ofstream(file) << "7\n";
    BusinessClock clock(FilePath::Outside(file));
    ASSERT_EQ(clock.OffsetDays(), 7);

    std::ofstream(file, std::ios::trunc) << "-2\n";
    EXPECT_EQ(clock.OffsetDays(), 7) << "read once, not on every use";
    clock.Reload();
    EXPECT_EQ(clock.OffsetDays(), -2);
    ExpectOffsetDate(clock, -2);

    std::ofstream(file, std::ios::trunc) << "junk\n";
    clock.Reload();
    EXPECT_EQ(clock.OffsetDays(), 0);
    EXPECT_TRUE(clock.Damaged());

    clock.SetDate(AddDays(RealToday(), 3));
    EXPECT_FALSE(clock.Damaged()) << "a saved date mends the file";
    std::filesystem::remove(file);
    clock.Reload();
    EXPECT_EQ(clock.OffsetDays(), 0);
    EXPECT_FALSE(clock.Damaged());
}

TEST_F(BusinessClockTest, SetDateThatCannotBeSavedThrowsAndKeepsTheDate) {
    BusinessClock clock(FilePath::Outside(m_dir / "missing" / "dateoffset"));
    EXPECT_THROW(clock.SetDate(AddDays(RealToday(), 5)), IoError);
    EXPECT_EQ(clock.OffsetDays(), 0);
    ExpectOffsetDate(clock, 0);
}

} // namespace
} // namespace platform
