// The phone log read back: the night audit's call report window, and "Phone Log Reports"
// with its date picker listing and printing a chosen day.
#include "callacct/call_maker.h"
#include "callacct/form51.h"
#include "callacct/form60.h"
#include "callacct/form61.h"
#include "printing/call_reports.h"
#include "support/app_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vantreth {
namespace {

using testing::Call;

std::vector<std::string> Lines(const platform::PrintJob& job) {
    std::vector<std::string> lines;
    for (const platform::PrintedPage& page : job.pages)
        for (const platform::PrintedLine& line : page.lines)
            lines.push_back(line.text);
    return lines;
}

class PhoneLogReportsTest : public testing::AppFixture {
protected:
    PhoneLogReportsTest() { SetNow(3, 10, 2026, 23, 30, 0); }

    void Log(const std::string& day, const records::CallRecord& call) {
        records::AppendPhoneLogLine(app().data(), day, call);
    }
    std::vector<std::string> TakeOnlyJob() {
        std::vector<platform::PrintJob> jobs = printer().TakeJobs();
        EXPECT_EQ(jobs.size(), 1u);
        return jobs.empty() ? std::vector<std::string>{} : Lines(jobs[0]);
    }
    void OpenReports() {
        app().Dispatch([&] { app().Load(Form<Form60>()); });
    }
    // Picks a year and a month in "Phone Log Reports", which opens "Choose Date".
    void PickMonth(const std::string& month, const std::string& year = "2006") {
        Form<Form60>().Combo1.UserPick(year);
        ASSERT_TRUE(Form<Form60>().Combo2.UserPick(month)) << month;
        ASSERT_TRUE(IsLoaded("Form61"));
    }
    void DoubleClickDate(const std::string& date) {
        const std::vector<std::string>& dates = Form<Form61>().List1.Items();
        const auto at = std::find(dates.begin(), dates.end(), date);
        ASSERT_NE(at, dates.end()) << date << " is not offered";
        Form<Form61>().List1.UserDblClick(static_cast<int>(at - dates.begin()));
    }
};

TEST_F(PhoneLogReportsTest, CallReportWindowPrintsTodaysCallsEachTimeItIsLoaded) {
    const records::CallRecord desk = Call("1000", "  2.10", "15:42", "18005551212 ", "03/10");
    const records::CallRecord room = Call(" 101", "  1.25", "00:15", "555-123-4567", "03/10");
    Log("3/10/26", desk);
    Log("3/10/26", room);
    Log("3/9/26", Call(" 102", "  5.00"));

    for (int audit = 1; audit <= 2; ++audit) {
        app().Dispatch([&] { app().Load("Form51"); });
        const std::vector<std::string> lines = TakeOnlyJob();
        ASSERT_EQ(lines.size(), 7u) << "audit " << audit;
        EXPECT_EQ(lines[0], "                       Call Accounting Report for 3/10/26");
        EXPECT_EQ(lines[5], printing::CallReportLine(desk).lines()[0]);
        EXPECT_EQ(lines[6], printing::CallReportLine(room).lines()[0]);
        EXPECT_FALSE(Form<Form51>().Visible());
    }
}

// A log written before control characters were blanked holds a NUL or a CR inside a
// record: the record reads back whole, its characters kept, and nothing is reported damaged.
TEST_F(PhoneLogReportsTest, OldLogWithNulOrCrInsideARecordPrintsEveryCall) {
    std::string withNul = Call(" 101", "  1.25").text;
    withNul[45] = '\0';
    std::string withCr = Call(" 102", "  2.50").text;
    withCr[55] = '\r';
    const records::CallRecord plain = Call(" 103", "  3.75");
    WriteBytes("phonelog/31026", "\"" + withNul + "\"\r\n\"" + withCr + "\"\r\n\"" + plain.text + "\"\r\n");

    app().Dispatch([&] { app().Load("Form51"); });
    const std::vector<std::string> lines = TakeOnlyJob();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[5], printing::CallReportLine({withNul}).lines()[0]);
    EXPECT_EQ(lines[6], printing::CallReportLine({withCr}).lines()[0]);
    EXPECT_EQ(lines[7], printing::CallReportLine(plain).lines()[0]);
    EXPECT_TRUE(dialogs().shown().empty()) << dialogs().shown().front().title;
}

TEST_F(PhoneLogReportsTest, ReportsWindowOpensWithItsListsAndNothingChosen) {
    OpenReports();
    Form60& reports = Form<Form60>();
    EXPECT_TRUE(reports.Visible());
    EXPECT_EQ(reports.Combo1.Items(),
              (std::vector<std::string>{"2004", "2005", "2006", "2007", "2008", "2009", "2010"}));
    ASSERT_EQ(reports.Combo2.ListCount(), 12);
    EXPECT_EQ(reports.Combo2.List(0), "1  -January");
    EXPECT_EQ(reports.Combo2.List(9), "10 -October");
    EXPECT_EQ(reports.Combo2.List(11), "12 -Decemeber");
    EXPECT_EQ(reports.Combo1.Text(), "Year");
    EXPECT_EQ(reports.Combo2.Text(), "Select Month");
    EXPECT_EQ(reports.Combo1.ListIndex(), -1);
    EXPECT_EQ(reports.Combo2.ListIndex(), -1);
    EXPECT_FALSE(reports.Combo2.Enabled());
    EXPECT_FALSE(reports.Command2.Enabled());

    reports.Combo2.UserPick("3  -March");
    EXPECT_FALSE(IsLoaded("Form61")) << "the month waits for a year";
}

TEST(PhoneLogDatesTest, OffersTheMonthsLastThirtyOneDaysNewestFirst) {
    struct Case {
        platform::Date today;
        int month;
        std::vector<std::string> some; // the first, 29th, 30th and last offered
    };
    const Case cases[] = {
        {{2026, 3, 10}, 2, {"2/28/26", "2/28/25", "2/27/25", "2/26/25"}},
        {{2024, 3, 10}, 2, {"2/29/24", "2/1/24", "2/28/23", "2/27/23"}},
        {{2026, 12, 6}, 12, {"12/6/26", "12/9/25", "12/8/25", "12/7/25"}},
        {{2026, 3, 10}, 3, {"3/10/26", "3/13/25", "3/12/25", "3/11/25"}},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> dates = PhoneLogDatesOffered(c.today, c.month);
        ASSERT_EQ(dates.size(), 31u) << "month " << c.month;
        EXPECT_EQ((std::vector<std::string>{dates[0], dates[28], dates[29], dates[30]}), c.some)
            << "month " << c.month << " from " << platform::DateText(c.today);
    }
    EXPECT_TRUE(PhoneLogDatesOffered({2026, 3, 10}, 0).empty());
    EXPECT_TRUE(PhoneLogDatesOffered({2026, 3, 10}, 13).empty());
}

TEST_F(PhoneLogReportsTest, ChooseDateOffersThePickedMonthWhateverTheYear) {
    OpenReports();
    for (const char* year : {"2004", "2010"}) {
        PickMonth("2  -February", year);
        EXPECT_TRUE(Form<Form61>().Visible());
        EXPECT_EQ(Form<Form61>().List1.Items(), PhoneLogDatesOffered({2026, 3, 10}, 2)) << year;
        EXPECT_EQ(Form<Form61>().List1.List(0), "2/28/26") << year;
        Form<Form61>().Command1.UserClick();
    }
}

TEST_F(PhoneLogReportsTest, DoubleClickListsTheDaysCallsAndPrintPrintsThatDay) {
    const records::CallRecord desk = Call("1000", "  2.10", "15:42", "18005551212 ", "02/27");
    const records::CallRecord cordless = Call("400 ", "   .00", "24:00", "911         ", "02/27");
    Log("2/27/26", desk);
    Log("2/27/26", cordless);
    OpenReports();
    PickMonth("2  -February");
    DoubleClickDate("2/27/26");

    Form60& reports = Form<Form60>();
    EXPECT_FALSE(IsLoaded("Form61"));
    EXPECT_EQ(reports.List1.Items(), (std::vector<std::string>{
                                         "02/27    FRONT DESK    03:42    PM      2.10    18005551212 ",
                                         "02/27    CORDLESS    12:00    AM       .00    911         ",
                                     }));
    EXPECT_EQ(reports.Label1.Caption(), "2/27/26");
    EXPECT_TRUE(reports.Command2.Enabled());

    reports.Command2.UserClick();
    const std::vector<std::string> fromWindow = TakeOnlyJob();
    ASSERT_FALSE(fromWindow.empty());
    EXPECT_EQ(fromWindow[0], "                       Call Accounting Report for 2/27/26");
    EXPECT_TRUE(IsLoaded("Form60")) << "the window stays open";

    // The night audit of that day prints the same lines under its own heading.
    SetNow(2, 27, 2026, 23, 30, 0);
    app().Dispatch([&] { app().Load("Form51"); });
    const std::vector<std::string> fromAudit = TakeOnlyJob();
    ASSERT_EQ(fromAudit.size(), fromWindow.size());
    EXPECT_TRUE(std::equal(fromAudit.begin() + 1, fromAudit.end(), fromWindow.begin() + 1));
    EXPECT_EQ(fromWindow.size(), 7u);
}

TEST_F(PhoneLogReportsTest, DayWithoutCallsSaysSoAndDisablesPrint) {
    Log("2/27/26", Call(" 101", "  1.25"));
    OpenReports();
    PickMonth("2  -February");
    DoubleClickDate("2/27/26");
    PickMonth("2  -February");

    dialogs().Answer(platform::vbOK);
    DoubleClickDate("2/26/26");
    EXPECT_EQ(LastBox().prompt, "No phone Log Report for that date.");
    EXPECT_EQ(LastBox().title, "ATTENTION!");
    Form60& reports = Form<Form60>();
    EXPECT_EQ(reports.List1.ListCount(), 0);
    EXPECT_FALSE(reports.Command2.Enabled());
    EXPECT_EQ(reports.Label1.Caption(), "");
    EXPECT_TRUE(IsLoaded("Form61")) << "the clerk can pick another date";
}

TEST_F(PhoneLogReportsTest, EscClosesBothWindows) {
    OpenReports();
    PickMonth("5  -May");
    Form<Form61>().UserKey(platform::vbKeyEscape);
    EXPECT_FALSE(IsLoaded("Form61"));
    Form<Form60>().UserKey(platform::vbKeyEscape);
    EXPECT_FALSE(IsLoaded("Form60"));
}

} // namespace
} // namespace vantreth
