// Drawer Balance: the shift's cash less the petty cash paid out on the shift, the rooms rented
// on the shift, the printed drop sheet and the "cdropyes" flag that the night audit waits
// for; and a whole day of drawers that adds up to the day's cash.
#include "support/app_fixture.h"
#include "support/failing_printer.h"

#include "audit/form6.h"
#include "audit/form72.h"
#include "audit/form73.h"
#include "audit/form75.h"
#include "records/day_totals.h"
#include "records/filenames.h"
#include "records/petty_cash.h"
#include "records/settings_files.h"
#include "records/shift_cash.h"
#include "records/shift_record.h"
#include "records/stay_ledger.h"

#include <optional>
#include <string>
#include <vector>

namespace vantreth {
namespace {

class DrawerBalanceTest : public testing::AppFixture {
protected:
    DrawerBalanceTest() {
        SetNow(12, 6, 2026, 23, 30, 0);
        OnShift("C", "JD");
        records::ShiftCash cash;
        cash.CashFromRent = 100;
        cash.CashFromVending = 5.5f;
        cash.CashFromDirectBill = 20;
        records::WriteShiftCash(app().data(), "C", "12/6/26", cash);
        // Petty cash of this shift, and of the morning shift, which is not this drawer's.
        PayOut(5, "JD", "C");
        PayOut(3, "AB", "A");
        PayOut(7.25f, "JD", "C");
    }
    void OnShift(const std::string& shift, const std::string& clerk) {
        records::WriteShift(app().data(), records::ShiftRecord{shift, clerk});
        app().gShift = shift;
        app().gClerk = clerk;
    }
    void PayOut(float amount, const std::string& clerk, const std::string& shift) {
        records::PettyCashRecord record;
        record.Amount = amount;
        record.Clerk = clerk;
        record.SetShiftLetter(shift);
        records::AppendPettyCash(app().data(), "12/6/26", record);
    }
    void Rent(int rooms) {
        for (int i = 1; i <= rooms; ++i)
            records::AppendShiftRentalLine(
                app().data(), app().gShift, "12/6/26",
                records::ShiftRentalLine{std::to_string(100 + i), app().gShift, "JD", {22, i, 0}});
    }
    Form6& Open() {
        app().Dispatch([&] { app().Load(app().Get<Form6>()); });
        return Form<Form6>();
    }
    std::vector<std::string> PrintWithDrop(const std::string& drop) {
        Form6& form = Open();
        form.Text1.UserTypeText(drop);
        form.Command1.UserClick();
        std::vector<platform::PrintJob> jobs = printer().TakeJobs();
        EXPECT_EQ(jobs.size(), 1u);
        std::vector<std::string> lines;
        if (jobs.size() == 1)
            for (const platform::PrintedLine& line : jobs[0].pages.at(0).lines)
                lines.push_back(line.text);
        return lines;
    }
    std::optional<double> Flag() { return records::ReadNumberFile(app().data(), records::kCashDropYesFile); }
};

TEST_F(DrawerBalanceTest, LoadShowsTheShiftCashLessTheShiftsPettyCash) {
    Rent(3);
    Form6& form = Open();
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.Label10.Caption(), "12/6/26");
    EXPECT_EQ(form.Label11.Caption(), "C");
    EXPECT_EQ(form.Label12.Caption(), "JD");
    EXPECT_EQ(form.Label13.Caption(), "100");
    EXPECT_EQ(form.Label14.Caption(), "5.5");
    EXPECT_EQ(form.Label15.Caption(), "20");
    EXPECT_EQ(form.Label16.Caption(), "0");
    EXPECT_EQ(form.Label21.Caption(), "12.25");
    EXPECT_EQ(form.Label17.Caption(), "113.25");
    EXPECT_EQ(form.List1.Items(), (std::vector<std::string>{"101", "102", "103"}));
    EXPECT_TRUE(form.Text1.HasFocus());
}

TEST_F(DrawerBalanceTest, PrintingOnShiftCPrintsTheSheetRaisesTheFlagAndCloses) {
    records::WriteNumberFile(app().data(), records::kCashDropYesFile, 0);
    Rent(10);
    const std::vector<std::string> lines = PrintWithDrop("100");
    EXPECT_FALSE(IsLoaded("Form6"));
    EXPECT_EQ(Flag(), 1.0);

    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines[4], "                     Date: 12/6/26    Shift: C    Initials: JD");
    EXPECT_EQ(lines[5].substr(54, 12), "ROOMS RENTED");
    EXPECT_EQ(lines[6], std::string(54, ' ') + "101  109");
    EXPECT_EQ(lines[15], std::string(25, ' ') + "PETTY CASH OUT - 12.25");
    EXPECT_EQ(lines[17], std::string(24, ' ') + "TOTAL SHIFT CASH  113.25");
    EXPECT_EQ(lines[20], std::string(18, ' ') + "AMOUNT YOU'RE DROPPING  100" + std::string(9, ' ') + "108");
    EXPECT_EQ(lines[24], std::string(19, ' ') + "YOUR DRAWER IS SHORT   13.25 ");
}

// The drawer's figures are the exact amounts the files keep, so the total of the figures shown
// and printed is the drawer's to the cent at any amount a record keeps.
TEST_F(DrawerBalanceTest, EveryCentOfALargeDrawerIsShownAddedAndPrinted) {
    struct Case {
        float rent, vending, petty;
        const char* drop;
        const char* shownRent;
        const char* shownPetty;
        const char* total;
        const char* shortText; // after "YOUR DRAWER IS SHORT  "
    };
    const Case cases[] = {
        {100000.01f, 0, 0.02f, "99999.99", "100000.01", ".02", "99999.99", " 0 "},
        {99999.99f, 0, 0, "99999.99", "99999.99", "0", "99999.99", " 0 "},
        {112345.68f, 0.01f, 0, "112345.68", "112345.68", "0", "112345.69", " .01 "},
        {131071.99f, 0, 0.01f, "131071.98", "131071.99", ".01", "131071.98", " 0 "},
        {131071.99f, 0, 100000.01f, "31071.98", "131071.99", "100000.01", "31071.98", " 0 "},
        {65536.01f, 65536.01f, 0, "131071.99", "65536.01", "0", "131072.02", " .03 "},
        {100000.01f, 0, 0, "100000", "100000.01", "0", "100000.01", " .01 "},
    };
    for (const Case& c : cases) {
        records::ShiftCash cash;
        cash.CashFromRent = c.rent;
        cash.CashFromVending = c.vending;
        records::WriteShiftCash(app().data(), "B", "12/6/26", cash);
        platform::DeleteFile(records::DayFilePath(app().data(), records::DayFile::PettyCash, "12/6/26"));
        if (c.petty != 0)
            PayOut(c.petty, "MK", "B");
        OnShift("B", "MK");
        Form6& form = Open();
        EXPECT_EQ(form.Label13.Caption(), c.shownRent) << c.rent;
        EXPECT_EQ(form.Label21.Caption(), c.shownPetty) << c.rent;
        EXPECT_EQ(form.Label17.Caption(), c.total) << c.rent;
        const std::vector<std::string> lines = PrintWithDrop(c.drop);
        ASSERT_EQ(lines.size(), 25u) << c.rent;
        EXPECT_EQ(lines[7], std::string(26, ' ') + "CASH FROM RENT  " + c.shownRent) << c.rent;
        EXPECT_EQ(lines[15], std::string(25, ' ') + "PETTY CASH OUT - " + c.shownPetty) << c.rent;
        EXPECT_EQ(lines[17], std::string(24, ' ') + "TOTAL SHIFT CASH  " + c.total) << c.rent;
        EXPECT_EQ(lines[24], std::string(19, ' ') + "YOUR DRAWER IS SHORT  " + c.shortText) << c.rent;
    }
}

TEST_F(DrawerBalanceTest, ShiftsAAndBNeverTouchTheFlag) {
    for (const auto& [shift, total] : {std::pair{"A", "-3"}, {"B", " 0"}}) {
        OnShift(shift, "MK");
        const std::vector<std::string> lines = PrintWithDrop("0");
        ASSERT_EQ(lines.size(), 25u) << shift << ": no rentals file, no rooms column";
        EXPECT_EQ(lines[4],
                  std::string("                     Date: 12/6/26    Shift: ") + shift + "    Initials: MK");
        EXPECT_EQ(lines[17], std::string(24, ' ') + "TOTAL SHIFT CASH " + total)
            << shift << ": its own petty cash only";
        EXPECT_FALSE(Exists("cdropyes")) << shift;
        EXPECT_FALSE(IsLoaded("Form6")) << shift;
    }
}

TEST_F(DrawerBalanceTest, EmptyDropPrintsAsZeroAndADropAboveTheTotalIsNegative) {
    EXPECT_EQ(PrintWithDrop("").at(20), std::string(18, ' ') + "AMOUNT YOU'RE DROPPING  0");
    EXPECT_EQ(Form<Form6>().Text1.Text(), "0");
    EXPECT_EQ(PrintWithDrop("120.5").at(24), std::string(19, ' ') + "YOUR DRAWER IS SHORT  -7.25 ");
}

TEST_F(DrawerBalanceTest, EscButtonAndEscKeyNeitherPrintNorRaiseTheFlag) {
    Form6& form = Open();
    form.Text1.UserTypeText("100");
    form.Command2.UserClick();
    EXPECT_FALSE(form.Loaded());
    Open().UserKey(platform::vbKeyEscape);
    EXPECT_FALSE(form.Loaded());
    EXPECT_TRUE(printer().jobs().empty());
    EXPECT_FALSE(Exists("cdropyes"));
}

TEST_F(DrawerBalanceTest, DropThatIsNotANumberIsRefused) {
    Form6& form = Open();
    form.Text1.UserTypeText("1OO");
    dialogs().Answer(platform::vbOK);
    form.Command1.UserClick();
    EXPECT_EQ(LastBox().title, "WARNING");
    EXPECT_EQ(LastBox().prompt,
              "The amount you typed is not a number. Please type the amount in dollars, like 10.00.");
    EXPECT_TRUE(form.Loaded());
    EXPECT_TRUE(form.Text1.HasFocus());
    EXPECT_TRUE(printer().jobs().empty());
    EXPECT_FALSE(Exists("cdropyes"));
}

TEST_F(DrawerBalanceTest, FlagStaysDownWhenTheSheetCannotBePrinted) {
    testing::FailingPrinter failing;
    app().printer().SetDevice(failing);
    Form6& form = Open();
    form.Text1.UserTypeText("100");
    dialogs().Answer(platform::vbOK);
    form.Command1.UserClick();
    EXPECT_EQ(LastBox().title, "Printer Error");
    EXPECT_FALSE(Exists("cdropyes"));
    EXPECT_TRUE(form.Loaded()) << "the clerk can try again";

    app().printer().SetDevice(printer());
    form.Command1.UserClick();
    EXPECT_EQ(Flag(), 1.0);
    EXPECT_EQ(printer().TakeJobs().size(), 1u);
}

TEST_F(DrawerBalanceTest, CashComesFromTheShiftFileAndRoomsFromTheCurrentShift) {
    Rent(2);                                        // shift "C" rentals
    records::WriteShift(app().data(), {"B", "MK"}); // the shift file says "B"
    Form6& form = Open();
    EXPECT_EQ(form.Label11.Caption(), "B");
    EXPECT_EQ(form.Label13.Caption(), "0");
    EXPECT_EQ(form.List1.ListCount(), 2);
}

// A day of three shifts: cash taken on each, petty cash paid out on shift "A" only, and each
// clerk dropping exactly what the drawer holds. Each sheet subtracts its own shift's petty
// cash, every drawer balances, and the three sheets add up to the day's cash.
class DayOfDrawersTest : public testing::AppFixture {
protected:
    DayOfDrawersTest() { SetNow(12, 6, 2026, 8, 0, 0); }
    void OnShift(const std::string& shift, const std::string& clerk) {
        records::WriteShift(app().data(), records::ShiftRecord{shift, clerk});
        app().gShift = shift;
        app().gClerk = clerk;
    }
    template <class F> void Enter(const std::string& amount) {
        app().Dispatch([&] { app().Load(app().Get<F>()); });
        F& form = Form<F>();
        form.Text1.UserTypeText(amount);
        form.Command2.UserClick();
        ASSERT_FALSE(form.Loaded());
    }
    // The sheet printed by a clerk who drops what the window shows as the shift's total.
    std::vector<std::string> DropTheTotal() {
        app().Dispatch([&] { app().Load(app().Get<Form6>()); });
        Form6& form = Form<Form6>();
        form.Text1.UserTypeText(form.Label17.Caption());
        form.Command1.UserClick();
        std::vector<platform::PrintJob> jobs = printer().TakeJobs();
        std::vector<std::string> lines;
        if (jobs.size() == 1)
            for (const platform::PrintedLine& line : jobs[0].pages.at(0).lines)
                lines.push_back(line.text);
        return lines;
    }
};

TEST_F(DayOfDrawersTest, PettyCashOfShiftAIsOnItsSheetOnlyAndTheSheetsAddUpToTheDaysCash) {
    struct Shift {
        const char* letter;
        const char* clerk;
        const char* otherCash;
        const char* vendingCash;
        const char* pettyCash; // "" = none paid out
        const char* pettyLine;
        const char* totalLine;
        double total;
    };
    const Shift shifts[] = {
        {"A", "AB", "20", "", "8.25", "PETTY CASH OUT - 8.25", "TOTAL SHIFT CASH  11.75", 11.75},
        {"B", "MK", "", "5", "", "PETTY CASH OUT - 0", "TOTAL SHIFT CASH  5", 5},
        {"C", "JD", "", "", "", "PETTY CASH OUT - 0", "TOTAL SHIFT CASH  0", 0},
    };
    double sheets = 0;
    for (const Shift& shift : shifts) {
        OnShift(shift.letter, shift.clerk);
        if (*shift.otherCash)
            Enter<Form73>(shift.otherCash);
        if (*shift.vendingCash)
            Enter<Form72>(shift.vendingCash);
        if (*shift.pettyCash)
            Enter<Form75>(shift.pettyCash);
        const std::vector<std::string> lines = DropTheTotal();
        ASSERT_EQ(lines.size(), 25u) << shift.letter;
        EXPECT_EQ(lines[15], std::string(25, ' ') + shift.pettyLine) << shift.letter;
        EXPECT_EQ(lines[17], std::string(24, ' ') + shift.totalLine) << shift.letter;
        EXPECT_EQ(lines[24], std::string(19, ' ') + "YOUR DRAWER IS SHORT   0 ") << shift.letter;
        sheets += shift.total;
    }
    EXPECT_EQ(records::ReadDayTotals(app().data(), "12/6/26").Cash, 16.75f);
    EXPECT_DOUBLE_EQ(sheets, 16.75);
    EXPECT_EQ(records::ReadNumberFile(app().data(), records::kCashDropYesFile), 1.0);
}

// Petty cash paid out while the drawer window stands open is on the sheet it prints.
TEST_F(DayOfDrawersTest, TheSheetReadsThePettyCashWhenItIsPrinted) {
    OnShift("A", "AB");
    Enter<Form73>("20");
    app().Dispatch([&] { app().Load(app().Get<Form6>()); });
    EXPECT_EQ(Form<Form6>().Label17.Caption(), "20");
    Enter<Form75>("8.25");
    Form<Form6>().Text1.UserTypeText("11.75");
    Form<Form6>().Command1.UserClick();
    std::vector<platform::PrintJob> jobs = printer().TakeJobs();
    ASSERT_EQ(jobs.size(), 1u);
    const std::vector<platform::PrintedLine>& lines = jobs[0].pages.at(0).lines;
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines[15].text, std::string(25, ' ') + "PETTY CASH OUT - 8.25");
    EXPECT_EQ(lines[24].text, std::string(19, ' ') + "YOUR DRAWER IS SHORT   0 ");
}

} // namespace
} // namespace vantreth
