// A call whose amount a Single cannot hold is logged, charged to no one, and the clerk is
// told once; a record holding characters the phone log cannot keep is logged with blanks in
// their place, and the clerk is told once.
#include "callacct/call_maker.h"
#include "callacct/form50.h"
#include "calls/call_capture.h"
#include "records/day_totals.h"
#include "records/stay_ledger.h"
#include "support/app_fixture.h"

#include <string>
#include <vector>

namespace vantreth {
namespace {

using testing::Call;
using testing::Guest;

class CallAmountTest : public testing::AppFixture {
protected:
    CallAmountTest() {
        SetNow(12, 6, 2026, 21, 15, 0);
        app().gShift = "B";
        app().gClerk = "JD";
        records::WriteGuest(app().data(), records::kGuestFile, 1, smith);
    }
    std::string Log() const { return ReadBytes("phonelog/12626"); }

    records::GuestRecord smith = Guest("101", "SMITH", "JOHN", {.ArrivalDate = "12/5/26"});
};

TEST_F(CallAmountTest, AnAmountASingleCannotHoldIsLoggedButNotCharged) {
    struct Case {
        const char* extension;
        const char* amount;
        bool refused; // told to the clerk: a guest's call that was not charged
    };
    const Case cases[] = {{" 101", "  1e39", true}, {" 101", " 1E+39", true}, {"1000", "  1e39", false}};
    std::string log;
    for (const Case& c : cases) {
        const records::CallRecord call = Call(c.extension, c.amount);
        bool refused = false;
        EXPECT_EQ(HandleCallRecord(app().data(), call, {"12/6/26", "B", "JD"}, &refused), std::nullopt)
            << c.amount;
        EXPECT_EQ(refused, c.refused) << c.extension << c.amount;
        log += "\"" + call.text + "\"\r\n";
        EXPECT_EQ(Log(), log) << "every call is logged";
    }
    EXPECT_FALSE(platform::FileExists(records::StayLedgerPath(app().data(), smith)));
    EXPECT_FALSE(Exists("detail/12626"));
    EXPECT_FALSE(Exists("totals/totals12626"));

    // What the day's PhoneCharges can hold to the cent is charged; a call past it is not.
    const std::pair<const char*, bool> large[] = {{" 99999", false}, {"3.4e38", true}, {" 40000", true}};
    for (const auto& [amount, notCharged] : large) {
        bool refused = false;
        EXPECT_EQ(HandleCallRecord(app().data(), Call(" 101", amount), {"12/6/26", "B", "JD"}, &refused)
                      .has_value(),
                  !notCharged)
            << amount;
        EXPECT_EQ(refused, notCharged) << amount;
    }
    EXPECT_EQ(records::ReadDayTotals(app().data(), "12/6/26").PhoneCharges, 99999.0f);
}

TEST_F(CallAmountTest, TheClerkIsToldOnceForTheCallsOfOneTick) {
    app().Dispatch([&] { app().Load(Form<Form50>()); });
    app().gCallBuffer =
        Call(" 101", "  1e39").text + Call(" 101", "  2.50").text + Call(" 101", "9e99  ").text;
    dialogs().ClearShown();
    dialogs().Answer(platform::vbOK);
    Form<Form50>().Timer1.Fire();
    ASSERT_EQ(dialogs().shown().size(), 1u);
    EXPECT_EQ(LastBox().title, "Call Accounting");
    EXPECT_NE(LastBox().prompt.find("room 101, amount \"1e39\""), std::string::npos) << LastBox().prompt;
    EXPECT_NE(LastBox().prompt.find("room 101, amount \"9e99\""), std::string::npos) << LastBox().prompt;
    EXPECT_EQ(app().gCallBuffer, "");
    EXPECT_EQ(records::ReadDayTotals(app().data(), "12/6/26").PhoneCharges, 2.5f) << "only the 2.50 call";

    Form<Form50>().Timer1.Fire();
    EXPECT_EQ(dialogs().shown().size(), 1u) << "the calls are not taken nor told again";
    ExpectNoPendingAnswers();
}

TEST_F(CallAmountTest, EveryCharacterOfARecordIsReadBackFromThePhoneLogAsStored) {
    // One record per character code, the character in a column the system never reads and
    // in the number: the log's reader gets every record back, whole and in its place.
    std::vector<std::string> stored;
    for (int code = 0; code < 256; ++code) {
        const std::string c(1, static_cast<char>(code));
        records::CallRecord call = testing::Call(" 101", "  1.25", "15:42", "555-" + c + "23-4567");
        call.text[2] = c[0];
        records::AppendPhoneLogLine(app().data(), "12/6/26", call);
        const std::string kept = code == '"' ? "'" : (code < 32 || code == 127) ? " " : c;
        call.text[2] = kept[0];
        call.text[45] = kept[0];
        stored.push_back(call.text);
    }
    const std::vector<records::CallRecord> log = records::ReadPhoneLog(app().data(), "12/6/26");
    ASSERT_EQ(log.size(), stored.size());
    for (size_t n = 0; n < log.size(); ++n)
        EXPECT_EQ(log[n].text, stored[n]) << "character code " << n;
}

TEST_F(CallAmountTest, ARecordWithControlCharactersIsLoggedWithBlanksAndToldOnce) {
    app().Dispatch([&] { app().Load(Form<Form50>()); });
    std::string noisy = Call(" 101", "  1.25", "21:14", std::string("555-\x07\x00\x1b-4567", 12)).text;
    noisy[3] = '\0';
    const std::string clean = Call(" 101", "  2.50").text;
    app().gCallBuffer = noisy + clean;
    dialogs().ClearShown();
    dialogs().Answer(platform::vbOK);
    Form<Form50>().Timer1.Fire();
    ASSERT_EQ(dialogs().shown().size(), 1u);
    EXPECT_EQ(LastBox().title, "Call Accounting");
    EXPECT_NE(LastBox().prompt.find("555-   -4567"), std::string::npos) << LastBox().prompt;
    EXPECT_EQ(LastBox().prompt.find('\0'), std::string::npos);
    EXPECT_EQ(records::ReadPhoneLog(app().data(), "12/6/26").size(), 2u);
    EXPECT_EQ(records::ReadStayLedger(records::StayLedgerPath(app().data(), smith)).at(0).Description,
              "21:14  555-   -4567");
    Form<Form50>().Timer1.Fire();
    EXPECT_EQ(dialogs().shown().size(), 1u) << "told once";
    ExpectNoPendingAnswers();
}

} // namespace
} // namespace vantreth
