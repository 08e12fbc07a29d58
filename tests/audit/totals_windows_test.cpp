// The monthly totals window (its list, totals and print) and the totals repair window with
// its authorization: the access code, each button's write byte by byte, the refusals and
// the reprinted page.
#include "support/app_fixture.h"

#include "audit/cash_entries.h"
#include "audit/form30.h"
#include "audit/form35.h"
#include "audit/form58.h"
#include "audit/totals_windows.h"
#include "records/counters.h"
#include "records/day_totals.h"
#include "records/posting_codes.h"
#include "records/settings_files.h"

#include <cstring>
#include <string>
#include <vector>

namespace vantreth {
namespace {

// A Single as its 4 stored bytes.
std::string Single(float v) {
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &v, 4);
    return bytes;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

class MonthlyTotalsTest : public testing::AppFixture {
protected:
    MonthlyTotalsTest() {
        SetNow(12, 6, 2026, 10, 0, 0);
        records::WriteCityTax(app().data(), 0.03f);
        records::WriteStateTax(app().data(), 0.06f);
    }
    void Day(const std::string& date, float rent, float grossRent, float tax, float cash, float other,
             float phone, float rooms) {
        records::DayTotals t;
        t.RoomRent = rent;
        t.GrossRent = grossRent;
        t.Tax = tax;
        t.Cash = cash;
        t.PetOther = other;
        t.PhoneCharges = phone;
        records::WriteDayTotals(app().data(), date, t);
        records::WriteRoomsRented(app().data(), date, records::RoomsRentedRecord{rooms});
    }
    // March 2026: a listed day, a day with rent but no gross rent, and a listed 31st.
    void StoreMarch() {
        Day("3/5/26", 100, 110, 10, 50.5f, 2, 1.25f, 4);
        Day("3/15/26", 200, 0, 20, 0, 0, 0, 3);
        Day("3/31/26", 59.99f, 59.99f, 7.2f, -5, 0, 0, 1);
    }
    Form30& Open() {
        app().Dispatch([&] { app().Load(app().Get<Form30>()); });
        return Form<Form30>();
    }
    std::vector<std::string> Totals() {
        Form30& w = Form<Form30>();
        return {w.Label10.Caption(), w.Label11.Caption(), w.Label13.Caption(),
                w.Label12.Caption(), w.Label14.Caption(), w.Label15.Caption(),
                w.Label16.Caption(), w.Label18.Caption(), w.Label20.Caption()};
    }
    std::vector<std::vector<std::string>> PrintedPages() {
        Form<Form30>().Command2.UserClick();
        std::vector<std::vector<std::string>> pages;
        for (const platform::PrintJob& job : printer().TakeJobs())
            pages.push_back(SplitLines(job.Text()));
        return pages;
    }
};

TEST_F(MonthlyTotalsTest, OpensWithMonthDisabledUntilAYearIsClickedAndListsYearsUpToThisYear) {
    Form30& w = Open();
    EXPECT_EQ(w.Caption(), "Monthly Totals Report");
    EXPECT_FALSE(w.Combo1.Enabled());
    EXPECT_EQ(w.Combo1.Text(), "Select Month");
    EXPECT_EQ(w.Combo2.Text(), "Year");
    ASSERT_EQ(w.Combo1.ListCount(), 12);
    EXPECT_EQ(w.Combo1.List(0), "1  -January");
    EXPECT_EQ(w.Combo1.List(9), "10 -October");
    EXPECT_EQ(w.Combo1.List(11), "12 -Decemeber");
    ASSERT_EQ(w.Combo2.ListCount(), 23) << "2004 to 2026";
    EXPECT_EQ(w.Combo2.List(0), "2004");
    EXPECT_EQ(w.Combo2.List(22), "2026");
    EXPECT_EQ(audit::YearItems(2015).size(), 17u) << "never fewer than 2004 to 2020";

    w.Combo2.UserPick("2026");
    EXPECT_TRUE(w.Combo1.Enabled());
    EXPECT_EQ(w.List1.ListCount(), 0);
}

TEST_F(MonthlyTotalsTest, MonthPickListsDaysWithRentAndGrossRentAndSumsEveryDay) {
    StoreMarch();
    Form30& w = Open();
    w.Combo2.UserPick("2026");
    w.Combo1.UserPick("3  -March");
    ASSERT_EQ(w.List1.ListCount(), 2);
    EXPECT_EQ(w.List1.List(0), "3/5/26  100      110      10       50.5        2        1.25     4");
    EXPECT_EQ(w.List1.List(1), "3/31/26 59.99    59.99    7.2     -5           0        0        1");
    // rent 359.99 x 0.03 = 10.7997 and x 0.06 = 21.5994
    const std::vector<std::string> expected = {"359.99", "169.99", "37.2", "45.5", "2",
                                               "1.25",   "8",      "10.8", "21.6"};
    EXPECT_EQ(Totals(), expected);
    EXPECT_FALSE(Exists("totals/totals3126")) << "reading a day without figures makes no file";
}

// Days of large figures: each is shown and printed as the exact amount its file keeps, and
// the month's sums past what a Single holds keep every cent on the screen and on paper.
TEST_F(MonthlyTotalsTest, LargeDaysAreListedSummedAndPrintedToTheCent) {
    Day("4/1/26", 100000.01f, 110000.01f, 10000, 131071.99f, 99999.99f, 0.01f, 3);
    Day("4/2/26", 112345.68f, 123580.25f, 11234.57f, 0.02f, 0.01f, 0, 4);
    Form30& w = Open();
    w.Combo2.UserPick("2026");
    w.Combo1.UserPick("4  -April");
    ASSERT_EQ(w.List1.ListCount(), 2);
    EXPECT_EQ(w.List1.List(0), "4/1/26  100000.01 110000.01 10000    131071.99   99999.99 .01      3");
    EXPECT_EQ(w.List1.List(1), "4/2/26  112345.68 123580.25 11234.57 .02         .01      0        4");
    // rent 212345.69 x 0.03 = 6370.3707 and x 0.06 = 12740.7414
    const std::vector<std::string> expected = {"212345.69", "233580.26", "21234.57", "131072.01", "100000",
                                               ".01",       "7",         "6370.37",  "12740.74"};
    EXPECT_EQ(Totals(), expected);
    const std::vector<std::vector<std::string>> pages = PrintedPages();
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_GE(pages[0].size(), 9u);
    EXPECT_EQ(pages[0][6].substr(0, 27), "4/1/26   100000.01 110000.0");
    // A row wider than its columns goes on at the next line, as every printed row does.
    const std::vector<std::string> totals(pages[0].end() - 2, pages[0].end());
    EXPECT_EQ(totals[0], "TOTALS   212345.69 233580.26 21234.57 131072.01");
    EXPECT_EQ(totals[1], std::string(47, ' ') + "100000      .01       7");
}

TEST_F(MonthlyTotalsTest, FebruaryVisitsDaysUpToThe31stAndAnEmptyMonthShowsZeros) {
    Day("2/31/26", 10, 10, 1, 0, 0, 0, 1); // no calendar day, yet its file is read
    Form30& w = Open();
    w.Combo2.UserPick("2026");
    w.Combo1.UserPick("2  -February");
    ASSERT_EQ(w.List1.ListCount(), 1);
    EXPECT_EQ(w.List1.List(0).substr(0, 7), "2/31/26");
    w.Combo1.UserPick("4  -April");
    EXPECT_EQ(w.List1.ListCount(), 0);
    EXPECT_EQ(Totals(), std::vector<std::string>(9, "0"));
    EXPECT_FALSE(Exists("totals/totals43026"));
}

TEST_F(MonthlyTotalsTest, PrintGivesTheTotalsPageThenTheContinuedPageWithTheShownTaxes) {
    StoreMarch();
    WriteBytes("totals/totals3126", ""); // a day's file without any figure
    Form30& w = Open();
    w.Combo2.UserPick("2026");
    w.Combo1.UserPick("3  -March");
    const std::vector<std::vector<std::string>> pages = PrintedPages();
    ASSERT_EQ(pages.size(), 2u) << "no card page";
    const std::vector<std::string>& first = pages[0];
    ASSERT_GE(first.size(), 7u);
    EXPECT_EQ(first[0], "");
    EXPECT_EQ(first[1], "                 Monthly Totals Report for the month of March");
    EXPECT_EQ(first[6].substr(0, 12), "3/5/26   100");
    EXPECT_EQ(first[8].substr(0, 13), "3/31/26  59.9");
    EXPECT_EQ(first[first.size() - 1].substr(0, 15), "TOTALS   359.99");

    const std::string tab25(24, ' ');
    // Average rent: (100/4 + 200/3 + 59.99/1) / 3 counted days; average rooms: 8 shown / 3.
    const std::vector<std::string> continued = {
        "",
        "            Monthly Totals Report for the month of March (continued)",
        "",
        std::string(81, '-'),
        "",
        "",
        tab25 + "Average Rent .....  50.55 ",
        "",
        tab25 + "Average Rooms ....  2.67 ",
        "",
        "",
        tab25 + "City Tax ......... 10.8",
        "",
        tab25 + "State TAx ........ 21.6"};
    EXPECT_EQ(pages[1], continued);
    EXPECT_TRUE(Exists("totals/totals3126")) << "the print deletes nothing";
}

TEST_F(MonthlyTotalsTest, AYearChangeShowsAndPrintsThatYearsMonth) {
    StoreMarch();
    Day("3/5/25", 80, 88, 8, 0, 0, 0, 2);
    Form30& w = Open();
    w.Combo2.UserPick("2026");
    w.Combo1.UserPick("3  -March");
    w.Combo2.UserPick("2025");
    ASSERT_EQ(w.List1.ListCount(), 1);
    EXPECT_EQ(w.List1.List(0), "3/5/25  80       88       8        0           0        0        2");
    // rent 80 x 0.03 = 2.4 and x 0.06 = 4.8
    EXPECT_EQ(Totals(), (std::vector<std::string>{"80", "88", "8", "0", "0", "0", "2", "2.4", "4.8"}));

    const std::vector<std::vector<std::string>> pages = PrintedPages();
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_GE(pages[0].size(), 7u);
    EXPECT_EQ(pages[0][6].substr(0, 11), "3/5/25   80");
    EXPECT_EQ(pages[1][8], std::string(24, ' ') + "Average Rooms ....  2 ") << "2 rooms / 1 counted day";
    EXPECT_EQ(pages[1][11], std::string(24, ' ') + "City Tax ......... 2.4");
    EXPECT_EQ(pages[1][13], std::string(24, ' ') + "State TAx ........ 4.8");

    w.Combo2.UserPick("2026");
    EXPECT_EQ(w.List1.ListCount(), 2) << "and back again";
    EXPECT_EQ(w.Label10.Caption(), "359.99");
}

TEST_F(MonthlyTotalsTest, PrintWaitsForAYearAndAMonth) {
    StoreMarch();
    Form30& w = Open();
    const std::vector<std::string> before = {ReadBytes("totals/totals3526"), ReadBytes("roomsrented/3526")};
    for (const char* year : {"", "2026"}) {
        if (*year)
            w.Combo2.UserPick(year);
        dialogs().Answer(platform::vbOK);
        w.Command2.UserClick();
        EXPECT_EQ(LastBox().title, "WARNING") << year;
        EXPECT_EQ(LastBox().prompt, "Please pick a year and then a month before you print the report.")
            << year;
        EXPECT_TRUE(printer().TakeJobs().empty()) << year;
        EXPECT_EQ(w.ActiveControl(), *year ? &w.Combo1 : &w.Combo2) << year;
    }
    EXPECT_FALSE(Exists("totals/totalsSe1ar"));
    EXPECT_FALSE(Exists("roomsrented/Se1ar"));
    EXPECT_EQ((std::vector<std::string>{ReadBytes("totals/totals3526"), ReadBytes("roomsrented/3526")}),
              before);
    ExpectNoPendingAnswers();

    w.Combo1.UserPick("3  -March");
    EXPECT_EQ(PrintedPages().size(), 2u);
}

TEST(MonthListRowTest, ATextThatFillsOrPassesItsColumnIsFollowedDirectlyByTheNext) {
    EXPECT_EQ(audit::MonthListRow("12/15/26", -5, 123456.7f, 0, 0, 0, 0, 10),
              "12/15/26-5        123456.7 0        0           0        0        10");
}

// ---- Totals repair and its authorization ----

class TotalsRepairTest : public testing::AppFixture {
protected:
    TotalsRepairTest() { SetNow(12, 6, 2026, 23, 30, 0); }
    Form58& OpenAuthorization() {
        app().Dispatch([&] { app().Load(app().Get<Form58>()); });
        return Form<Form58>();
    }
    Form35& OpenRepair() {
        Form58& auth = OpenAuthorization();
        auth.Text1.UserTypeText("harborLANTERNS");
        auth.Command1.UserClick();
        EXPECT_TRUE(IsLoaded("Form35"));
        return Form<Form35>();
    }
    // Today's totals with every field filled, as the night audit would leave them.
    records::DayTotals StoreToday() {
        records::DayTotals t;
        t.DateText = "12/6/26   ";
        t.RoomRent = 300;
        t.GrossRent = 320;
        t.Tax = 36;
        t.Cash = 150.5f;
        t.PetOther = 10;
        t.PhoneCharges = 2.5f;
        t.VisaMaster = 100;
        t.AmericanExpress = 50;
        t.Discover = 25;
        t.Diners = 5;
        t.SpareText1 = "SPARE-ONE ";
        records::WriteDayTotals(app().data(), "12/6/26", t);
        return t;
    }
    // The 80 stored bytes of a totals record.
    static std::string TotalsBytes(const records::DayTotals& t) {
        std::string bytes = t.DateText;
        for (float v : {t.RoomRent, t.GrossRent, t.Tax, t.Cash, t.PetOther, t.PhoneCharges, t.VisaMaster,
                        t.AmericanExpress, t.Discover, t.Diners})
            bytes += Single(v);
        return bytes + t.SpareText1 + t.SpareText2 + t.SpareText3;
    }
};

TEST_F(TotalsRepairTest, OnlyTheExactAccessCodeOpensTheRepairWindow) {
    const std::string refused[] = {"harborlanterns",  "HARBORLANTERNS", "harborLANTERNS ",
                                   " harborLANTERNS", "harborLANTERN",  ""};
    for (const std::string& typed : refused) {
        Restart();
        Form58& auth = OpenAuthorization();
        auth.Text1.UserTypeText(typed);
        auth.Command1.UserClick();
        EXPECT_TRUE(IsLoaded("Form58")) << "'" << typed << "'";
        EXPECT_FALSE(IsLoaded("Form35")) << "'" << typed << "'";
        EXPECT_EQ(auth.Text1.Text(), typed);
        EXPECT_TRUE(dialogs().shown().empty()) << "a wrong code is refused without a word";
    }
    Restart();
    Form58& auth = OpenAuthorization();
    EXPECT_EQ(auth.Caption(), "Authorization");
    EXPECT_EQ(auth.ActiveControl(), &auth.Text1);
    auth.Text1.UserTypeText("harborLANTERNS");
    auth.Text1.UserType(platform::vbKeyReturn);
    EXPECT_EQ(auth.ActiveControl(), &auth.Command1);
    EXPECT_EQ(auth.Text1.Text(), "harborLANTERNS");
    auth.Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form58"));
    EXPECT_TRUE(IsLoaded("Form35"));
}

TEST(AccessCodeTest, DigestMatchesKnownSha256Values) {
    EXPECT_EQ(audit::Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(audit::Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // 56 bytes: the length no longer fits the first block.
    EXPECT_EQ(audit::Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

TEST_F(TotalsRepairTest, ReComputeReplacesTheFourAmountsUnroundedAndKeepsTheRest) {
    records::DayTotals t = StoreToday();
    Form35& w = OpenRepair();
    w.Text5.UserTypeText("150.55");
    w.Text1.UserTypeText("");
    w.Text6.UserTypeText("12.5");
    w.Text7.UserTypeText("-3");
    w.Command7.UserClick();
    t.RoomRent = 150.55f;
    t.GrossRent = 0;
    t.Tax = 12.5f;
    t.Cash = -3;
    EXPECT_EQ(ReadBytes("totals/totals12626"), TotalsBytes(t));
}

TEST_F(TotalsRepairTest, ReComputeWithEmptyBoxesZeroesTheFourAmountsOfANewDay) {
    Form35& w = OpenRepair();
    w.Command7.UserClick();
    EXPECT_EQ(ReadBytes("totals/totals12626"), TotalsBytes(records::DayTotals{}));
}

TEST_F(TotalsRepairTest, AmountThatIsNotANumberIsRefusedBeforeAnythingIsWritten) {
    StoreToday();
    const std::string before = ReadBytes("totals/totals12626");
    Form35& w = OpenRepair();
    w.Text5.UserTypeText("100");
    w.Text6.UserTypeText("12,50");
    dialogs().Answer(platform::vbOK);
    w.Command7.UserClick();
    EXPECT_EQ(LastBox().title, "WARNING");
    EXPECT_EQ(LastBox().prompt, kEntryAmountWarning);
    EXPECT_EQ(w.ActiveControl(), &w.Text6);
    EXPECT_EQ(ReadBytes("totals/totals12626"), before);

    w.Text2.UserTypeText("abc");
    dialogs().Answer(platform::vbOK);
    w.Command4.UserClick();
    EXPECT_EQ(LastBox().prompt, kEntryAmountWarning);
    EXPECT_EQ(w.ActiveControl(), &w.Text2);
    EXPECT_FALSE(Exists("shiftcash/C12626"));

    // Parts of a cent are refused the same way, in each box.
    w.Text6.SetText("12.505");
    dialogs().Answer(platform::vbOK);
    w.Command7.UserClick();
    EXPECT_EQ(LastBox().prompt, records::kCentsMessage);
    EXPECT_EQ(w.ActiveControl(), &w.Text6);
    EXPECT_EQ(ReadBytes("totals/totals12626"), before);
    w.Text2.SetText("87.456");
    dialogs().Answer(platform::vbOK);
    w.Command4.UserClick();
    EXPECT_EQ(LastBox().prompt, records::kCentsMessage);
    EXPECT_FALSE(Exists("shiftcash/C12626"));
}

TEST_F(TotalsRepairTest, SetTotalEntryZeroesOnlyTheCash) {
    records::DayTotals t = StoreToday();
    OpenRepair().Command8.UserClick();
    t.Cash = 0;
    EXPECT_EQ(ReadBytes("totals/totals12626"), TotalsBytes(t));
}

TEST_F(TotalsRepairTest, SetShiftCashWritesTheRoundedCashFromRentOfThePickedShift) {
    Form35& w = OpenRepair();
    EXPECT_EQ(w.Combo1.Text(), "C");
    w.Combo1.UserPick("B");
    EXPECT_EQ(w.ActiveControl(), &w.Text2);
    w.Text2.UserTypeText("87.45");
    w.Text2.UserType(platform::vbKeyReturn);
    EXPECT_EQ(w.ActiveControl(), &w.Command4);
    w.Command4.UserClick();
    const std::string expected =
        std::string(13, ' ') + Single(87.45f) + std::string(28, '\0') + std::string(30, ' ');
    EXPECT_EQ(ReadBytes("shiftcash/B12626"), expected);
    EXPECT_FALSE(Exists("shiftcash/C12626"));
}

TEST_F(TotalsRepairTest, SetRoomsRentedWritesTheTypedDayAndRefusesAMissingDayOrCount) {
    Form35& w = OpenRepair();
    w.Text3.UserTypeText("11526");
    w.Text3.UserType(platform::vbKeyReturn);
    EXPECT_EQ(w.ActiveControl(), &w.Text4);
    w.Text4.UserTypeText("14");
    w.Text4.UserType(platform::vbKeyReturn);
    EXPECT_EQ(w.ActiveControl(), &w.Command5);
    w.Command5.UserClick();
    EXPECT_EQ(ReadBytes("roomsrented/11526"), Single(14) + std::string(5, ' '));

    struct Case {
        std::string date, rooms;
        const char* warning;
    } refused[] = {
        {"", "3", audit::kDateDigitsWarning},        {"12a6", "3", audit::kDateDigitsWarning},
        {"1234567", "3", audit::kDateDigitsWarning}, {"12726", "two", audit::kRoomsCountWarning},
        {"12726", "-2", audit::kRoomsCountWarning},
    };
    for (const Case& c : refused) {
        w.Text3.SetText(c.date);
        w.Text4.SetText(c.rooms);
        dialogs().Answer(platform::vbOK);
        w.Command5.UserClick();
        EXPECT_EQ(LastBox().prompt, c.warning) << c.date << " / " << c.rooms;
        EXPECT_EQ(w.ActiveControl(), c.warning == audit::kDateDigitsWarning ? &w.Text3 : &w.Text4) << c.date;
    }
    EXPECT_FALSE(Exists("roomsrented/12726"));
    EXPECT_FALSE(Exists("roomsrented/_"));

    w.Text3.SetText("12/7/26");
    w.Text4.SetText("");
    w.Command5.UserClick();
    EXPECT_EQ(ReadBytes("roomsrented/12726"), Single(0) + std::string(5, ' ')) << "slashes are left out";
}

TEST_F(TotalsRepairTest, PrintGivesTodaysPageWithOneTaxLineAndNoLeadingBlank) {
    StoreToday();
    records::WriteRoomsRented(app().data(), "12/6/26", records::RoomsRentedRecord{5});
    Form35& w = OpenRepair();
    w.Command2.UserClick();
    std::vector<platform::PrintJob> jobs = printer().TakeJobs();
    ASSERT_EQ(jobs.size(), 1u);
    const std::vector<std::string> lines = SplitLines(jobs[0].Text());
    const std::string c(26, ' ');
    ASSERT_EQ(lines.size(), 27u) << jobs[0].Text();
    EXPECT_EQ(lines[0], c + "Totals Report for 12/6/26");
    EXPECT_EQ(lines[4], c + "Room Rent........ 300 ");
    EXPECT_EQ(lines[8], c + "Tax.............. 36 ");
    EXPECT_EQ(lines[10], c + "Cash............. 150.5 ");
    EXPECT_EQ(lines[26], c + "TOTAL ROOMS TODAY: 5");
    EXPECT_FALSE(Exists("statetax")) << "no tax rate is read";
    w.UserKey(platform::vbKeyEscape);
    EXPECT_FALSE(IsLoaded("Form35"));
}

} // namespace
} // namespace vantreth
