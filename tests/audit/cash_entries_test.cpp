// Cash from Vending, Cash from Other and Petty Cash Out: what each entry writes to the
// day's cash, the shift's cash and the day's petty cash file, and the ways out.
#include "support/app_fixture.h"

#include "audit/form72.h"
#include "audit/form73.h"
#include "audit/form75.h"
#include "records/day_totals.h"
#include "records/petty_cash.h"
#include "records/posting_codes.h"
#include "records/shift_cash.h"

#include <cstring>
#include <utility>
#include <vector>

namespace vantreth {
namespace {

class CashEntriesTest : public testing::AppFixture {
protected:
    CashEntriesTest() {
        SetNow(12, 6, 2026, 15, 45, 12);
        OnShift("A", "JD");
    }
    void OnShift(const std::string& shift, const std::string& clerk) {
        app().gShift = shift;
        app().gClerk = clerk;
    }
    template <class F> F& Open() {
        app().Dispatch([&] { app().Load(app().Get<F>()); });
        return Form<F>();
    }
    // Types the amount and presses Enter twice, as the clerk does.
    template <class F> void Enter(const std::string& amount) {
        F& form = Open<F>();
        form.Text1.UserTypeText(amount);
        form.Text1.UserType(platform::vbKeyReturn);
        form.UserKey(platform::vbKeyReturn);
    }
    float DayCash() { return records::ReadDayTotals(app().data(), "12/6/26").Cash; }
    records::ShiftCash Shift(const std::string& letter) {
        return records::ReadShiftCash(app().data(), letter, "12/6/26");
    }
};

// The three windows share one layout; each keeps its own title and words.
TEST_F(CashEntriesTest, EachWindowShowsItsOwnWords) {
    struct Case {
        const char* window;
        const char* title;
        std::vector<std::pair<std::string, std::string>> words; // control, caption
    } cases[] = {
        {"Form72",
         "Cash from Vending",
         {{"Label1", "Cash Payment From Vending"},
          {"Label2", "Amount $"},
          {"Command2", "Enter Payment"},
          {"Command1", "Cancel / Esc"}}},
        {"Form73",
         "Cash from Other",
         {{"Label1", "Cash Payment From Other"},
          {"Label2", "Amount $"},
          {"Command2", "Enter Payment"},
          {"Command1", "Cancel / Esc"}}},
        {"Form75",
         "Petty Cash Out",
         {{"Label1", "Enter Petty Cash Out"},
          {"Label2", "Amount"},
          {"Label3", "$"},
          {"Command2", "Enter Now"},
          {"Command1", "Cancel / Esc"}}},
    };
    for (const Case& c : cases) {
        platform::Form& form = app().Get(c.window);
        EXPECT_EQ(form.Caption(), c.title) << c.window;
        for (const auto& [name, caption] : c.words) {
            const platform::Control* control = form.Find(name);
            ASSERT_NE(control, nullptr) << c.window << "." << name;
            EXPECT_EQ(control->ValueText(), caption) << c.window << "." << name;
        }
        EXPECT_EQ(form.Find("Label3") != nullptr, std::string(c.window) == "Form75") << c.window;
    }
}

TEST_F(CashEntriesTest, FirstVendingEntryOfTheDayCreatesTheDayAndShiftRecords) {
    ASSERT_FALSE(Exists("totals/totals12626"));
    Enter<Form72>("12.5");
    EXPECT_FALSE(IsLoaded("Form72"));
    EXPECT_EQ(DayCash(), 12.5f);
    const records::ShiftCash cash = Shift("A");
    EXPECT_EQ(cash.CashFromVending, 12.5f);
    EXPECT_EQ(cash.CashFromOther, 0.0f);
    EXPECT_EQ(cash.Shift, "A");
    EXPECT_EQ(cash.Clerk, "JD");
    EXPECT_EQ(cash.DateText, "12/6/26   ");
}

TEST_F(CashEntriesTest, EntriesAddUpPerShiftAndPerDay) {
    Enter<Form72>("5");
    Enter<Form72>("5");
    OnShift("B", "MK");
    Enter<Form72>("3");
    EXPECT_EQ(DayCash(), 13.0f);
    EXPECT_EQ(Shift("A").CashFromVending, 10.0f);
    EXPECT_EQ(Shift("B").CashFromVending, 3.0f);
    EXPECT_EQ(Shift("B").Clerk, "MK");
}

TEST_F(CashEntriesTest, EachCashInWindowRaisesItsOwnFieldAndTakesNegativeAmounts) {
    struct Case {
        const char* window;
        std::string amount;
        float vending;
        float other;
        float dayCash;
        const char* refusal = nullptr;
    } cases[] = {
        {"Form72", "2.125", 0, 0, 0, records::kCentsMessage}, // parts of a cent: never stored
        {"Form72", "2.12", 2.12f, 0, 2.12f},
        {"Form73", "7.25", 2.12f, 7.25f, 9.37f},
        {"Form73", "-10", 2.12f, -2.75f, -0.63f},
        {"Form72", "  4 dollars", 2.12f, -2.75f, -0.63f, kEntryAmountWarning},
        {"Form73", "-0.001", 2.12f, -2.75f, -0.63f, records::kCentsMessage},
    };
    for (const Case& c : cases) {
        const bool refused = c.refusal != nullptr;
        if (refused)
            dialogs().Answer(platform::vbOK);
        if (std::strcmp(c.window, "Form72") == 0)
            Enter<Form72>(c.amount);
        else
            Enter<Form73>(c.amount);
        EXPECT_EQ(Shift("A").CashFromVending, c.vending) << c.window << " " << c.amount;
        EXPECT_EQ(Shift("A").CashFromOther, c.other) << c.window << " " << c.amount;
        EXPECT_FLOAT_EQ(DayCash(), c.dayCash) << c.window << " " << c.amount;
        EXPECT_EQ(IsLoaded(c.window), refused) << c.window << " " << c.amount;
        if (refused) {
            EXPECT_EQ(LastBox().prompt, c.refusal) << c.window << " " << c.amount;
            app().Unload(c.window);
        }
    }
}

TEST_F(CashEntriesTest, TextThatIsNotANumberIsRefusedBeforeAnythingIsWritten) {
    for (const char* amount : {"abc", "12x", "1.2.3", "-"}) {
        Form73& form = Open<Form73>();
        form.Text1.UserTypeText(amount);
        dialogs().Answer(platform::vbOK);
        form.Command2.UserClick();
        EXPECT_EQ(LastBox().title, "WARNING") << amount;
        EXPECT_EQ(LastBox().prompt,
                  "The amount you typed is not a number. Please type the amount in dollars, like 10.00.");
        EXPECT_TRUE(form.Loaded()) << amount;
        EXPECT_TRUE(form.Text1.HasFocus()) << amount;
        app().Unload(form);
    }
    EXPECT_FALSE(Exists("totals/totals12626"));
    EXPECT_FALSE(Exists("shiftcash/A12626"));
}

TEST_F(CashEntriesTest, EmptyAmountRecordsZeroWithTheCurrentShift) {
    Enter<Form73>("");
    EXPECT_FALSE(IsLoaded("Form73"));
    EXPECT_EQ(DayCash(), 0.0f);
    EXPECT_EQ(Shift("A").Shift, "A");
    EXPECT_EQ(Shift("A").Clerk, "JD");
}

TEST_F(CashEntriesTest, CancelAndEscWriteNothing) {
    Form72& vending = Open<Form72>();
    vending.Text1.UserTypeText("5");
    vending.Command1.UserClick();
    EXPECT_FALSE(vending.Loaded());

    Form73& other = Open<Form73>();
    other.Text1.UserTypeText("5");
    other.UserKey(platform::vbKeyEscape);
    EXPECT_FALSE(other.Loaded());

    Form75& petty = Open<Form75>();
    petty.Text1.UserTypeText("5");
    petty.UserKey(platform::vbKeyEscape);
    EXPECT_FALSE(petty.Loaded());
    Open<Form75>().Command1.UserClick();
    EXPECT_FALSE(petty.Loaded());

    EXPECT_FALSE(Exists("totals/totals12626"));
    EXPECT_FALSE(Exists("shiftcash/A12626"));
    EXPECT_FALSE(Exists("directbill/12626"));
}

TEST_F(CashEntriesTest, PettyCashRecordIsWrittenAsItsFirstFortyEightBytes) {
    Enter<Form75>("20");
    EXPECT_FALSE(IsLoaded("Form75"));
    // The first spare byte keeps the shift that paid it out.
    const std::string expected = std::string("\x00\x00\xa0\x41", 4) + "JD" + "3:45:12 PM  " + "12/6/26   " +
                                 "A" + std::string(19, '\0');
    EXPECT_EQ(ReadBytes("directbill/12626"), expected);
}

TEST_F(CashEntriesTest, PettyCashRecordsFollowEachOtherAndLowerTheDayCash) {
    Enter<Form72>("15");
    Enter<Form75>("20");
    EXPECT_EQ(DayCash(), -5.0f);
    EXPECT_EQ(ReadBytes("directbill/12626").size(), 48u);

    OnShift("B", "MK");
    clock().SetTime({16, 0, 0});
    Enter<Form75>("2.5");
    EXPECT_EQ(ReadBytes("directbill/12626").size(), 102u);
    Enter<Form75>("");
    EXPECT_EQ(ReadBytes("directbill/12626").size(), 156u);
    EXPECT_EQ(DayCash(), -7.5f);

    const std::vector<records::PettyCashRecord> all = records::ReadPettyCash(app().data(), "12/6/26");
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].Amount, 20.0f);
    EXPECT_EQ(all[1].Amount, 2.5f);
    EXPECT_EQ(all[1].Clerk, "MK");
    EXPECT_EQ(all[1].TimeText, "4:00:00 PM  ");
    EXPECT_EQ(all[2].Amount, 0.0f);
    EXPECT_EQ(all[0].ShiftLetter(), "A");
    EXPECT_EQ(all[1].ShiftLetter(), "B");
    EXPECT_EQ(ReadBytes("directbill/12626").substr(54, 4), std::string("\x00\x00\x20\x40", 4))
        << "the second record starts at byte 54";

    EXPECT_EQ(Shift("A").CashFromVending, 15.0f) << "petty cash leaves the shift's cash alone";
    EXPECT_FALSE(Exists("shiftcash/B12626"));
}

TEST_F(CashEntriesTest, PettyCashRefusesTextThatIsNotANumber) {
    Form75& form = Open<Form75>();
    form.Text1.UserTypeText("ten");
    dialogs().Answer(platform::vbOK);
    form.Command2.UserClick();
    EXPECT_EQ(LastBox().title, "WARNING");
    EXPECT_TRUE(form.Loaded());
    EXPECT_TRUE(form.Text1.HasFocus());
    EXPECT_FALSE(Exists("directbill/12626"));
    EXPECT_FALSE(Exists("totals/totals12626"));
}

} // namespace
} // namespace vantreth
