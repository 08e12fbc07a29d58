// A call whose amount a Single cannot hold is logged, charged to no one, and the clerk is
// told once.
#include "callacct/call_maker.h"
#include "callacct/form50.h"
#include "calls/call_capture.h"
#include "records/day_totals.h"
#include "records/stay_ledger.h"
#include "support/app_fixture.h"

#include <string>

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

    bool refused = false;
    EXPECT_EQ(HandleCallRecord(app().data(), Call(" 101", "3.4e38"), {"12/6/26", "B", "JD"}, &refused), 1)
        << "a large amount that a Single holds is charged";
    EXPECT_FALSE(refused);
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

} // namespace
} // namespace vantreth
