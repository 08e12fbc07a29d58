// The monthly totals report: the month's days and name, the three pages line by line,
// which day files are removed, and the guest listing step that may print it.
#include "printing/night_audit_monthly.h"

#include "night_audit_fixture.h"
#include "records/counters.h"
#include "records/day_totals.h"
#include "records/filenames.h"
#include "records/settings_files.h"

#include <gtest/gtest.h>

namespace printing {
namespace {

using testing::Dashes;
using testing::Pad;
using Lines = std::vector<std::string>;

TEST(MonthNameTest, ComesFromTheMonthNumberAtTheStartOfTheDateText) {
    const std::pair<const char*, const char*> cases[] = {
        {"1/31/26", "January"},  {"9/30/26", "September"}, {"10/31/26", "October"},
        {"12/1/26", "December"}, {"13/1/26", ""},          {"", ""},
    };
    for (const auto& [dateText, name] : cases)
        EXPECT_EQ(MonthNameOfDateText(dateText), name) << dateText;
}

TEST(MonthDaysTest, TheAuditWalksFromTheFirstToTheDayBeforeTheBusinessDate) {
    struct Case {
        platform::Date business;
        size_t count;
        const char *first, *last, *lastDigits;
    };
    const Case cases[] = {
        {{2026, 11, 1}, 31, "10/1/26", "10/31/26", "103126"},
        {{2026, 3, 1}, 28, "2/1/26", "2/28/26", "22826"},
        {{2026, 12, 15}, 14, "12/1/26", "12/14/26", "121426"},
        {{2027, 1, 1}, 31, "12/1/26", "12/31/26", "123126"},
    };
    for (const Case& c : cases) {
        const std::vector<MonthDay> days = AuditMonthDays(c.business);
        const std::string label = platform::DateText(c.business);
        ASSERT_EQ(days.size(), c.count) << label;
        EXPECT_EQ(days.front().dateText, c.first) << label;
        EXPECT_EQ(days.back().dateText, c.last) << label;
        EXPECT_EQ(days.back().digits, c.lastDigits) << label;
    }
}

TEST(MonthDaysTest, APickedMonthHas31SlotsNamedWithTwoYearDigits) {
    const std::vector<MonthDay> days = MonthDaySlots("2", "2004");
    ASSERT_EQ(days.size(), 31u);
    EXPECT_EQ(days[4].dateText, "2/5/04");
    EXPECT_EQ(days[4].digits, "2504");
    EXPECT_EQ(days[30].dateText, "2/31/04");
}

TEST(MonthlyContinuedTest, AMonthWithoutACountedDayAveragesToZero) {
    MonthlyRentSums sums;
    sums.roomRent = platform::Decimal::Of(100);
    sums.averageRentSum = platform::Decimal::Of(100);
    const MonthlyContinuedValues values = AuditContinuedValues(sums, 0.03f, 0.05f);
    EXPECT_EQ(values.averageRent, " 0 ");
    EXPECT_EQ(values.averageRooms, " 0 ");
    EXPECT_EQ(values.cityTax, " 3 ");
    EXPECT_EQ(values.stateTax, " 5 ");
}

class NightAuditMonthlyTest : public testing::NightAuditTest {
protected:
    void Day(const char* dateText, float rent, float gross, float tax, float cash, float phone, float rooms,
             float visa, float diners) {
        records::DayTotals t;
        t.RoomRent = rent;
        t.GrossRent = gross;
        t.Tax = tax;
        t.Cash = cash;
        t.PhoneCharges = phone;
        t.VisaMaster = visa;
        t.Diners = diners;
        records::WriteDayTotals(data, dateText, t);
        records::AddRoomsRented(data, dateText, rooms);
    }
    bool TotalsFileExists(const char* dateText) {
        return platform::FileExists(records::DayFilePath(data, records::DayFile::Totals, dateText));
    }
    // October 2026: two days with a line, a day with rent but no gross rent and no rooms,
    // a day with cash only.
    void October() {
        Day("10/5/26", 100, 110, 10, 50, 1.5f, 2, 20, 0);
        Day("10/6/26", 60, 0, 0, 0, 0, 0, 0, 0);
        Day("10/7/26", 0, 0, 0, 5, 0, 0, 0, 0);
        Day("10/12/26", 33.34f, 36.67f, 3.33f, 0, 0, 1, 0, 36.67f);
        records::WriteCityTax(data, 0.03f);
        records::WriteStateTax(data, 0.05f);
    }
};

TEST_F(NightAuditMonthlyTest, AuditPrintsTheTotalsCardAndContinuedPagesOfTheMonthJustEnded) {
    October();

    PrintAuditMonthlyTotals(data, printer, {2026, 11, 1});

    const auto docs = TakeDocuments();
    ASSERT_EQ(docs.size(), 3u);
    const std::string title = "                 Monthly Totals Report for the month of October";
    auto rentLine = [](const std::string& date, const char* rent, const char* gross, const char* tax,
                       const char* cash, const char* other, const char* phone, const char* rooms) {
        return Pad(date, 8) + Pad(rent, 10) + Pad(gross, 10) + Pad(tax, 9) + Pad(cash, 9) + Pad(other, 12) +
               Pad(phone, 10) + rooms;
    };
    EXPECT_EQ(
        docs[0],
        (Lines{title, "", "", "DATE     RENT      GRENT     TAX      CASH     PET/OTHER   PHONE    ROOMS",
               Dashes(81), rentLine("10/5/26", " 100", " 110", " 10", " 50", " 0", " 1.5", " 2"), Dashes(81),
               rentLine("10/12/26", " 33.34", " 36.67", " 3.33", " 0", " 0", " 0", " 1"), Dashes(81), "",
               rentLine("TOTALS", " 193.34", " 146.67", " 13.33", " 55", " 0", " 1.5", " 3")}));
    auto cardLine = [](const std::string& date, const char* visa, const char* amex, const char* discover,
                       const char* diners) {
        return Pad(date, 8) + Pad(visa, 16) + Pad(amex, 17) + Pad(discover, 14) + diners;
    };
    EXPECT_EQ(docs[1], (Lines{title, "", "", "DATE     VISA/MASTER     AMERICAN EX.     DISCOVER      DINERS",
                              Dashes(81), cardLine("10/5/26", " 20", " 0", " 0", " 0"), Dashes(81),
                              cardLine("10/12/26", " 0", " 0", " 0", " 36.67"), Dashes(81), "",
                              cardLine("TOTALS", " 20", " 0", " 0", " 36.67")}));
    // Average rent: (100 / 2 + 60 + 33.34 / 1) over the 2 counted days; rooms 3 / 2.
    const std::string at25(24, ' ');
    EXPECT_EQ(docs[2], (Lines{"", "            Monthly Totals Report for the month of October (continued)",
                              "", Dashes(81), "", "", at25 + "Average Rent .....  71.67 ", "",
                              at25 + "Average Rooms ....  1.5 ", "", "", at25 + "City Tax .........  5.8 ",
                              "", at25 + "State TAx ........  9.67 "}));
}

// A month whose sums need more digits than a Single keeps: the totals line prints the
// exact sums, so its rent and tax still add up to its gross rent.
TEST_F(NightAuditMonthlyTest, TheTotalsOfABigMonthAddUpToTheCent) {
    using platform::Decimal;
    for (int day = 1; day <= 31; ++day)
        Day(("10/" + std::to_string(day) + "/26").c_str(), 5995.95f, 6595.54f, 599.59f, 0, 0, 10, 6595.54f,
            0);
    PrintAuditMonthlyTotals(data, printer, {2026, 11, 1});
    const auto docs = TakeDocuments();
    ASSERT_EQ(docs.size(), 3u);
    auto totalsLine = [](const Lines& doc) {
        for (const std::string& line : doc)
            if (line.starts_with("TOTALS"))
                return line;
        return std::string();
    };
    const std::string rentTotals = totalsLine(docs[0]);
    const Decimal rent = Decimal::Parse(rentTotals.substr(8, 10));
    const Decimal gross = Decimal::Parse(rentTotals.substr(18, 10));
    const Decimal tax = Decimal::Parse(rentTotals.substr(28, 9));
    EXPECT_EQ(rent.Text(), "185874.45") << rentTotals;
    EXPECT_EQ(gross.Text(), "204461.74") << rentTotals;
    EXPECT_EQ((rent + tax).Text(), gross.Text()) << rentTotals;
    EXPECT_EQ(Decimal::Parse(totalsLine(docs[1]).substr(8, 16)).Text(), "204461.74") << totalsLine(docs[1]);
}

// Days of figures past 100,000: every day line and every sum prints the exact figure.
TEST_F(NightAuditMonthlyTest, LargeDaysPrintEveryCentOnEveryPage) {
    Day("10/5/26", 100000.01f, 110000.01f, 10000, 131071.99f, 0.01f, 1, 112345.68f, 100000.02f);
    Day("10/6/26", 100000.02f, 110000.02f, 10000, 0, 0, 1, 0.01f, 0);
    PrintAuditMonthlyTotals(data, printer, {2026, 11, 1});
    const auto docs = TakeDocuments();
    ASSERT_EQ(docs.size(), 3u);
    const struct {
        size_t doc;
        const char* text;
    } cases[] = {
        {0, "10/5/26  100000.01 110000.01"}, {0, " 131071.99"},
        {0, "TOTALS   200000.03 220000.03"}, {0, " 131071.99"},
        {1, "10/5/26  112345.68"},           {1, " 100000.02"},
        {1, "TOTALS   112345.69"},           {2, "Average Rent .....  100000.02 "},
    };
    for (const auto& c : cases) {
        std::string text;
        for (const std::string& line : docs[c.doc])
            text += line + "\n";
        EXPECT_NE(text.find(c.text), std::string::npos) << c.text << "\n" << text;
    }
}

TEST_F(NightAuditMonthlyTest, AuditRemovesOnlyTotalsFilesWithoutAnyAmount) {
    October();
    records::WriteDayTotals(data, "10/1/26", records::DayTotals{}); // a day's file without any amount

    PrintAuditMonthlyTotals(data, printer, {2026, 11, 1});

    EXPECT_FALSE(TotalsFileExists("10/1/26"));
    EXPECT_FALSE(TotalsFileExists("10/31/26"));
    EXPECT_TRUE(TotalsFileExists("10/5/26"));
    EXPECT_TRUE(TotalsFileExists("10/6/26")); // rent without gross rent
    EXPECT_TRUE(TotalsFileExists("10/7/26")); // cash only: kept, so the cash is not lost
    EXPECT_EQ(records::ReadDayTotals(data, "10/7/26").Cash, 5.0f);
    EXPECT_FALSE(platform::FileExists(records::DayFilePath(data, records::DayFile::RoomsRented, "10/1/26")))
        << "reading a day makes no file";
}

TEST_F(NightAuditMonthlyTest, APickedMonthStartsWithABlankLineHasNoCardPageAndDeletesNothing) {
    October();
    records::WriteDayTotals(data, "10/1/26", records::DayTotals{}); // a day's file without any amount

    PrintMonthlyTotalsForMonth(data, printer, "10", "2026");

    const auto docs = TakeDocuments();
    ASSERT_EQ(docs.size(), 2u);
    EXPECT_EQ(docs[0][0], "");
    EXPECT_EQ(docs[0][1], "                 Monthly Totals Report for the month of October");
    EXPECT_EQ(docs[0].back(), Pad("TOTALS", 8) + Pad(" 193.34", 10) + Pad(" 146.67", 10) + Pad(" 13.33", 9) +
                                  Pad(" 55", 9) + Pad(" 0", 12) + Pad(" 1.5", 10) + " 3");
    EXPECT_EQ(docs[1][1], "            Monthly Totals Report for the month of October (continued)");
    EXPECT_TRUE(TotalsFileExists("10/1/26"));
}

TEST_F(NightAuditMonthlyTest, GuestListingStepPrintsTheMonthOnlyWhenTheMonthChanged) {
    EXPECT_FALSE(PrintNightAuditGuestListing(data, printer, {2026, 10, 20}, "10", "10"));
    const auto sameMonth = TakeDocuments();
    ASSERT_EQ(sameMonth.size(), 1u);
    EXPECT_EQ(sameMonth[0][0], "                       Guest Listing Report for 10/20/26");

    EXPECT_TRUE(PrintNightAuditGuestListing(data, printer, {2026, 11, 1}, "10", "11"));
    const auto newMonth = TakeDocuments();
    ASSERT_EQ(newMonth.size(), 4u);
    EXPECT_EQ(newMonth[0][0], "                       Guest Listing Report for 11/1/26");
    EXPECT_EQ(newMonth[1][0], "                 Monthly Totals Report for the month of October");
}

// The average rent is the exact mean of the days' averages, rounded once to the cent (an
// exact half cent to the even cent), however the days' quotients end.
TEST_F(NightAuditMonthlyTest, AverageRentIsTheExactMeanRoundedOnce) {
    struct Case {
        const char* what;
        std::vector<std::pair<float, float>> days; // RoomRent, RoomsRented
        const char* average;
    };
    const Case cases[] = {
        {"a half cent goes to the even cent", {{290.49f, 6}}, " 48.42 "},
        {"thirds that make a whole", {{100, 3}, {200, 3}}, " 50 "},
        {"a mean of thirds", {{100, 3}, {100, 3}, {100, 3}}, " 33.33 "},
        {"a half cent over two days", {{48.41f, 1}, {290.52f, 6}}, " 48.42 "},
    };
    int month = 1;
    for (const Case& c : cases) {
        int day = 1;
        for (const auto& [rent, rooms] : c.days) {
            const std::string dateText = std::to_string(month) + "/" + std::to_string(day++) + "/26";
            Day(dateText.c_str(), rent, rent, 0, 0, 0, rooms, 0, 0);
        }
        PrintAuditMonthlyTotals(data, printer, {2026, month + 1, 1});
        const auto docs = TakeDocuments();
        ASSERT_EQ(docs.size(), 3u) << c.what;
        EXPECT_EQ(docs[2].at(6), std::string(24, ' ') + "Average Rent ..... " + c.average) << c.what;
        ++month;
    }
}

} // namespace
} // namespace printing
