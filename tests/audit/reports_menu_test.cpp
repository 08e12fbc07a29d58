// The Reports Menu and the daily totals report: which window each menu button opens, the
// day picker's dates, the figures shown for a picked day and the page printed from them.
#include "support/app_fixture.h"

#include "audit/form47.h"
#include "audit/form48.h"
#include "audit/form49.h"
#include "records/counters.h"
#include "records/day_totals.h"
#include "records/settings_files.h"

#include <string>
#include <vector>

namespace vantreth {
namespace {

using platform::CommandButton;

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\n" : "") + lines[i];
    return text;
}

class ReportsMenuTest : public testing::AppFixture {
protected:
    ReportsMenuTest() { SetNow(3, 3, 2026, 10, 0, 0); }
    void OpenMenu() {
        app().Dispatch([&] { app().Load(app().Get<Form47>()); });
        ASSERT_TRUE(IsLoaded("Form47"));
    }
    // The daily totals window with its picker in front.
    void OpenDailyTotals() {
        OpenMenu();
        Form<Form47>().Command1.UserClick();
        ASSERT_TRUE(IsLoaded("Form48"));
        ASSERT_TRUE(IsLoaded("Form49"));
    }
    void Pick(const std::string& date) {
        Form49& picker = Form<Form49>();
        for (int i = 0; i < picker.List1.ListCount(); ++i) {
            if (picker.List1.List(i) == date) {
                picker.List1.UserDblClick(i);
                return;
            }
        }
        ADD_FAILURE() << date << " is not in the day list";
    }
    // 2 March: a day with every kind of figure.
    void StoreBusyDay() {
        records::DayTotals t;
        t.RoomRent = 120;
        t.GrossRent = 130.5f;
        t.Tax = 10.44f;
        t.Cash = 55.25f;
        t.PetOther = 5;
        t.PhoneCharges = 1.5f;
        t.VisaMaster = 40;
        t.Diners = 12.75f;
        records::WriteDayTotals(app().data(), "3/2/26", t);
        records::WriteRoomsRented(app().data(), "3/2/26", records::RoomsRentedRecord{7});
        records::WriteStateTax(app().data(), 0.05f);
        records::WriteCityTax(app().data(), 0.03f);
    }
    std::vector<std::string> ValueCaptions() {
        Form48& w = Form<Form48>();
        return {w.Label11.Caption(), w.Label12.Caption(), w.Label13.Caption(), w.Label14.Caption(),
                w.Label15.Caption(), w.Label16.Caption(), w.Label17.Caption(), w.Label18.Caption(),
                w.Label19.Caption(), w.Label20.Caption(), w.Label25.Caption(), w.Label26.Caption(),
                w.Label24.Caption()};
    }
};

TEST_F(ReportsMenuTest, EachButtonOpensItsWindowAndClosesTheMenuOnlyForPhoneLogAndExit) {
    struct Case {
        CommandButton Form47::*button;
        std::string caption;
        std::string opens; // "" = nothing
        bool menuStays;
    };
    const Case cases[] = {
        {&Form47::Command1, "Totals Report (daily)", "Form48", true},
        {&Form47::Command2, "Totals Report (monthly)", "Form30", true},
        {&Form47::Command3, "Phone Log Report", "Form60", false},
        {&Form47::Command4, "Canceled Reservations", "Form68", true},
        {&Form47::Command5, "Exit", "", false},
    };
    for (const Case& c : cases) {
        Restart();
        OpenMenu();
        CommandButton& button = Form<Form47>().*c.button;
        EXPECT_EQ(button.Caption(), c.caption) << button.Name();
        button.UserClick();
        if (!c.opens.empty()) {
            EXPECT_TRUE(IsLoaded(c.opens)) << button.Name() << " should open " << c.opens;
        }
        EXPECT_EQ(IsLoaded("Form47"), c.menuStays) << button.Name();
    }
}

TEST_F(ReportsMenuTest, DayListRunsFromTodayBackToTheFirstOfJanuary) {
    struct Case {
        int month, day, year;
        int count;
        std::string first, second, last;
    } cases[] = {
        {1, 1, 2026, 1, "1/1/26", "", "1/1/26"},
        {3, 3, 2026, 62, "3/3/26", "3/2/26", "1/1/26"},
        {3, 3, 2024, 63, "3/3/24", "3/2/24", "1/1/24"},
        {12, 31, 2026, 365, "12/31/26", "12/30/26", "1/1/26"},
    };
    for (const Case& c : cases) {
        Restart();
        SetNow(c.month, c.day, c.year, 10, 0, 0);
        OpenDailyTotals();
        const platform::ListBox& list = Form<Form49>().List1;
        ASSERT_EQ(list.ListCount(), c.count) << c.first;
        EXPECT_EQ(list.List(0), c.first);
        EXPECT_EQ(list.List(c.count - 1), c.last) << c.first;
        if (c.count > 1) {
            EXPECT_EQ(list.List(1), c.second);
        }
    }
}

TEST_F(ReportsMenuTest, PickedDayShowsItsFiguresAsPlainNumbersAndClosesThePicker) {
    StoreBusyDay();
    OpenDailyTotals();
    Form48& w = Form<Form48>();
    EXPECT_EQ(w.Label22.Caption(), "");
    EXPECT_EQ(w.Label11.Caption(), "");
    Pick("3/2/26");
    EXPECT_FALSE(IsLoaded("Form49"));
    EXPECT_TRUE(IsLoaded("Form48"));
    EXPECT_EQ(w.Label21.Caption(), "TOTALS REPORT FOR");
    EXPECT_EQ(w.Label22.Caption(), "3/2/26");
    const std::vector<std::string> expected = {"120", "130.5", "10.44", "55.25", "5",   "1.5", "40",
                                               "0",   "0",     "12.75", "6",     "3.6", "7"};
    EXPECT_EQ(ValueCaptions(), expected);
}

// Every figure of a day is the exact amount its file keeps, shown and printed to the cent at
// any amount a record keeps to the cent: 100,000.01 is never cut to "100000".
TEST_F(ReportsMenuTest, LargeFiguresAreShownAndPrintedToTheCent) {
    records::DayTotals t;
    t.RoomRent = 100000.01f;
    t.GrossRent = 110000.01f;
    t.Tax = 10000;
    t.Cash = 131071.99f;
    t.PetOther = 99999.99f;
    t.PhoneCharges = 0.01f;
    t.VisaMaster = 112345.68f;
    t.Diners = -131071.99f;
    records::WriteDayTotals(app().data(), "3/2/26", t);
    records::WriteRoomsRented(app().data(), "3/2/26", records::RoomsRentedRecord{7});
    records::WriteStateTax(app().data(), 0.0725f); // 7250.000725: rounded once to the cent
    records::WriteCityTax(app().data(), 0.0301f);  // 3010.000301
    OpenDailyTotals();
    Pick("3/2/26");
    const std::vector<std::string> expected = {"100000.01", "110000.01", "10000", "131071.99", "99999.99",
                                               ".01",       "112345.68", "0",     "0",         "-131071.99",
                                               "7250",      "3010",      "7"};
    EXPECT_EQ(ValueCaptions(), expected);
    printer().Clear();
    Form<Form48>().Command3.UserClick();
    std::vector<platform::PrintJob> jobs = printer().TakeJobs();
    ASSERT_EQ(jobs.size(), 1u);
    const std::string text = jobs[0].Text();
    for (const char* line :
         {"Room Rent........100000.01\n", "Gross Rent.......110000.01\n", "State Tax........7250\n",
          "Cash.............131071.99\n", "Pet or Other.....99999.99\n", "Visa/Master......112345.68\n",
          "Diners...........-131071.99\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << text;
}

TEST_F(ReportsMenuTest, DayWithoutActivityShowsZerosAndMakesNoDayFiles) {
    StoreBusyDay();
    OpenDailyTotals();
    Pick("3/2/26");
    Form<Form48>().Command2.UserClick();
    ASSERT_TRUE(IsLoaded("Form49"));
    Pick("2/14/26");
    EXPECT_EQ(Form<Form48>().Label22.Caption(), "2/14/26");
    EXPECT_EQ(ValueCaptions(), std::vector<std::string>(13, "0"));
    EXPECT_FALSE(Exists("totals/totals21426"));
    EXPECT_FALSE(Exists("roomsrented/21426"));
}

TEST_F(ReportsMenuTest, PrintGivesTheDailyTotalsPageWithThePickedDateAndTheShownTexts) {
    StoreBusyDay();
    OpenDailyTotals();
    Pick("3/2/26");
    printer().Clear();
    Form<Form48>().Command3.UserClick();
    std::vector<platform::PrintJob> jobs = printer().TakeJobs();
    ASSERT_EQ(jobs.size(), 1u);
    const std::string c = std::string(26, ' ');
    EXPECT_EQ(jobs[0].Text(), Lines({"",
                                     c + "Totals Report for 3/2/26",
                                     std::string(72, '-'),
                                     "",
                                     "",
                                     c + "Room Rent........120",
                                     "",
                                     c + "Gross Rent.......130.5",
                                     "",
                                     c + "Total Taxes......10.44",
                                     "",
                                     c + "State Tax........6",
                                     "",
                                     c + "City Tax.........3.6",
                                     "",
                                     c + "Cash.............55.25",
                                     "",
                                     c + "Pet or Other.....5",
                                     "",
                                     c + "Phone............1.5",
                                     "",
                                     c + "Visa/Master......40",
                                     "",
                                     c + "American Ex......0",
                                     "",
                                     c + "Discover.........0",
                                     "",
                                     c + "Diners...........12.75",
                                     "",
                                     "",
                                     "",
                                     std::string(24, ' ') + "TOTAL ROOMS TODAY: 7"}));
    EXPECT_TRUE(IsLoaded("Form48"));
}

TEST_F(ReportsMenuTest, PrintBeforeAnyPickHasAnEmptyDateAndEmptyValues) {
    OpenDailyTotals();
    Form<Form49>().Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form48"));
    Form<Form47>().Command1.UserClick();
    app().Dispatch([&] { app().Unload("Form49"); });
    Form<Form48>().Command3.UserClick();
    std::vector<platform::PrintJob> jobs = printer().TakeJobs();
    ASSERT_EQ(jobs.size(), 1u);
    const std::string text = jobs[0].Text();
    EXPECT_NE(text.find("\n" + std::string(26, ' ') + "Totals Report for \n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n" + std::string(26, ' ') + "Room Rent........\n"), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.rfind('\n') + 1), std::string(24, ' ') + "TOTAL ROOMS TODAY: ");
}

TEST_F(ReportsMenuTest, CancelOnThePickerClosesBothWindowsAndOnTheReportOnlyTheReport) {
    OpenDailyTotals();
    Form<Form49>().Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form49"));
    EXPECT_FALSE(IsLoaded("Form48"));
    EXPECT_TRUE(IsLoaded("Form47"));

    Form<Form47>().Command1.UserClick();
    Pick("3/1/26");
    Form<Form48>().Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form48"));
    EXPECT_TRUE(IsLoaded("Form47"));

    Form<Form47>().Command1.UserClick();
    Form<Form49>().UserKey(platform::vbKeyEscape);
    EXPECT_FALSE(IsLoaded("Form48"));
    EXPECT_TRUE(IsLoaded("Form47"));
}

} // namespace
} // namespace vantreth
