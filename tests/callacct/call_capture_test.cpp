// Call capture without its window: cutting the characters into 58-character records, and
// handling a record (the phone log, the guest's ledger, the day's detail and totals).
#include "calls/call_capture.h"

#include "callacct/call_maker.h"
#include "records/day_totals.h"
#include "records/stay_ledger.h"
#include "support/app_fixture.h"

#include <string>
#include <vector>

namespace vantreth {
namespace {

using testing::Call;
using testing::Guest;

std::vector<std::string> TakeAll(std::string& buffer) {
    std::vector<std::string> taken;
    while (std::optional<records::CallRecord> call = TakeCallRecord(buffer))
        taken.push_back(call->text);
    return taken;
}

TEST(CallFramingTest, CutsRecordsOfFiftyEightAndKeepsTheRest) {
    const std::string a = Call(" 101", "  1.25").text;
    const std::string b = Call(" 102", "  2.50").text;
    struct Case {
        std::string what;
        std::string before;
        std::string arrived;
        int quietPolls;
        std::vector<std::string> records;
        std::string after;
    };
    const Case cases[] = {
        {"57 characters wait", "", a.substr(0, 57), 0, {}, a.substr(0, 57)},
        {"the 58th arrives", a.substr(0, 57), a.substr(57), 3, {a}, ""},
        {"a record and the start of the next", "", a + b.substr(0, 20), 0, {a}, b.substr(0, 20)},
        {"two records in one poll", a.substr(0, 10), a.substr(10) + b, 1, {a, b}, ""},
        {"a short record, then silence, then a whole one", a.substr(0, 57), b, kCallQuietPolls, {b}, ""},
        {"a pause shorter than the silence", a.substr(0, 30), a.substr(30), kCallQuietPolls - 1, {a}, ""},
        {"silence alone keeps the partial record", a.substr(0, 30), "", kCallQuietPolls, {}, a.substr(0, 30)},
        {"whole records waiting through a silence stay", a + b, a, kCallQuietPolls, {a, b, a}, ""},
        {"only the partial tail after them goes", a + b + a.substr(0, 20), b, kCallQuietPolls, {a, b, b}, ""},
    };
    for (const Case& c : cases) {
        std::string buffer = c.before;
        GatherCallCharacters(buffer, c.arrived, c.quietPolls);
        EXPECT_EQ(TakeAll(buffer), c.records) << c.what;
        EXPECT_EQ(buffer, c.after) << c.what;
    }
}

TEST(CallRecordTest, AmountIsTheNumberAtTheStartOfItsColumns) {
    struct Case {
        std::string field;
        float amount;
    };
    const Case cases[] = {{"  1.25", 1.25f}, {"  .333", 0.333f}, {"      ", 0.0f},  {"  FREE", 0.0f},
                          {"1 2.50", 12.5f}, {"  3.5A", 3.5f},   {"100.00", 100.0f}};
    for (const Case& c : cases)
        EXPECT_EQ(Call(" 101", c.field).Amount(), c.amount) << "amount \"" << c.field << "\"";
}

class CallPostingTest : public testing::AppFixture {
protected:
    CallPostingTest() {
        SetNow(12, 6, 2026, 21, 15, 0);
        smith = Guest("101", "SMITH", "JOHN", {.ArrivalDate = "12/5/26"});
        records::WriteGuest(app().data(), records::kGuestFile, 1,
                            Guest("", "", "", {.ArrivalDate = "12/5/26"}));
        records::WriteGuest(app().data(), records::kGuestFile, 2, smith);
    }

    std::optional<long> Handle(const records::CallRecord& call) {
        return HandleCallRecord(app().data(), call, {"12/6/26", "B", "JD"});
    }
    std::string Log() const { return ReadBytes("phonelog/12626"); }
    std::string Ledger(const records::GuestRecord& guest) {
        return ReadBytes(
            records::StayLedgerPath(app().data(), guest).path().lexically_relative(dataRoot()).string());
    }
    float PhoneCharges() { return records::ReadDayTotals(app().data(), "12/6/26").PhoneCharges; }

    records::GuestRecord smith;
};

TEST_F(CallPostingTest, ChargesTheRoomsGuestInLedgerDetailAndTotals) {
    const records::CallRecord call = Call(" 101", "  1.25", "21:14", "555-123-4567", "12/05");
    EXPECT_EQ(Handle(call), 2);

    EXPECT_EQ(Log(), "\"" + call.text + "\"\r\n");
    EXPECT_EQ(Ledger(smith), "\"101\",\"B\",\"12/6/26\",\"G\",\"21:14  555-123-4567\",1.25,0,"
                             "\"-----\",\"-----\",\"-----\"\r\n");
    EXPECT_EQ(ReadBytes("detail/12626"),
              "\"101\",\"B\",\"12/6/26\",\"G\",\"21:14  555-123-4567\",1.25,\"JD\","
              "\"-----\",\"-----\",\"-----\",\"-----\"\r\n");
    EXPECT_EQ(PhoneCharges(), 1.25f);
    EXPECT_EQ(records::StayBalance(records::ReadStayLedger(records::StayLedgerPath(app().data(), smith)), 0.1,
                                   false),
              platform::Decimal::Of(1.25f))
        << "the folio's balance takes the phone charge";
}

TEST_F(CallPostingTest, ExtensionMatchesTheStoredRoomExactlyAfterTrimming) {
    records::WriteGuest(app().data(), records::kGuestFile, 3,
                        Guest("12", "JONES", "MARY", {.ArrivalDate = "12/5/26"}));
    records::WriteGuest(app().data(), records::kGuestFile, 4,
                        Guest("7", "LEE", "ANN", {.ArrivalDate = "12/5/26"}));
    struct Case {
        std::string field;
        std::optional<long> slot;
    };
    const Case cases[] = {
        {" 101", 2},
        {"101 ", 2},
        {"1010", std::nullopt},
        {" 12 ", std::nullopt},
        {"12  ", std::nullopt},
        {"   7", std::nullopt},
        {"    ", std::nullopt},
        {"102 ", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Handle(Call(c.field, "  1.00")), c.slot) << "extension \"" << c.field << "\"";
    EXPECT_EQ(PhoneCharges(), 2.0f) << "two charges of 1.00 to room 101";
}

TEST_F(CallPostingTest, FrontDeskAndUnmatchedCallsAreOnlyLogged) {
    const records::CallRecord desk = Call("1000", "  3.00");
    const records::CallRecord nobody = Call(" 999", "  4.00");
    EXPECT_EQ(Handle(desk), std::nullopt);
    EXPECT_EQ(Handle(nobody), std::nullopt);
    EXPECT_EQ(Log(), "\"" + desk.text + "\"\r\n\"" + nobody.text + "\"\r\n");
    EXPECT_FALSE(Exists("detail/12626"));
    EXPECT_FALSE(Exists("totals/totals12626"));
    EXPECT_FALSE(platform::FileExists(records::StayLedgerPath(app().data(), smith)));
}

TEST_F(CallPostingTest, OnlyTheFirstSlotWithTheRoomIsCharged) {
    const records::GuestRecord second = Guest("101", "BROWN", "JIM", {.ArrivalDate = "12/5/26"});
    records::WriteGuest(app().data(), records::kGuestFile, 3, second);
    EXPECT_EQ(Handle(Call("101 ", "  1.00")), 2);
    EXPECT_NE(Ledger(smith), "");
    EXPECT_FALSE(platform::FileExists(records::StayLedgerPath(app().data(), second)));
}

TEST_F(CallPostingTest, AmountPostsAsReadAndTheDaysTotalIsRounded) {
    records::AddToDayTotals(app().data(), "12/6/26", records::DayTotalsField::PhoneCharges,
                            platform::Decimal::Of(2.10));
    Handle(Call(" 101", "  .333"));
    Handle(Call(" 101", "      "));
    const std::vector<records::StayLedgerLine> ledger =
        records::ReadStayLedger(records::StayLedgerPath(app().data(), smith));
    ASSERT_EQ(ledger.size(), 2u);
    EXPECT_EQ(ledger[0].Amount, 0.333f);
    EXPECT_EQ(ledger[1].Amount, 0.0f) << "no digits post a charge of 0";
    EXPECT_EQ(records::ReadDayDetail(app().data(), "12/6/26").at(0).Amount, 0.333f);
    EXPECT_EQ(PhoneCharges(), 2.43f);
}

TEST_F(CallPostingTest, MissingGuestFileIsNotCreatedAndTheCallOnlyLogged) {
    std::filesystem::remove(DataFile("guest"));
    EXPECT_EQ(Handle(Call(" 101", "  1.00")), std::nullopt);
    EXPECT_FALSE(Exists("guest"));
    EXPECT_NE(Log(), "");
}

} // namespace
} // namespace vantreth
