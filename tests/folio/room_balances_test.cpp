// Room Balances: each occupied room's balance added up from its ledger with the tax rule
// and the rounding after every line, who is listed, a missing ledger, and the ways out.
#include "support/app_fixture.h"
#include "support/builders.h"

#include "folio/form62.h"
#include "frontdesk/form1.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/settings_files.h"
#include "records/stay_ledger.h"

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace vantreth {
namespace {

using platform::Fixed;

records::GuestRecord Guest(const std::string& room, const std::string& last, const std::string& first,
                           bool taxExempt = false) {
    return testing::Guest(
        room, last, first,
        {.TaxExempt = taxExempt ? 1.0f : 0.0f, .ArrivalDate = "12/5/26", .DepartureDate = "12/7/26"});
}

struct Posting {
    std::string code;
    float amount;
    std::string taxFlag = "-----";
};

class RoomBalancesTest : public testing::AppFixture {
protected:
    RoomBalancesTest() {
        SetNow(12, 6, 2026, 9, 0, 0);
        records::WriteIntroFlag(app().data(), 1.0f);
    }
    Form62& balances() { return Form<Form62>(); }
    Form1& desk() { return Form<Form1>(); }

    // Checks the guest in with the ledger lines given.
    void CheckIn(const records::GuestRecord& guest, const std::vector<Posting>& postings) {
        records::AddGuest(app().data(), records::kGuestFile, guest);
        std::ofstream(records::StayLedgerPath(app().data(), guest).path(),
                      std::ios::app); // a ledger, even an empty one
        for (const Posting& p : postings) {
            records::StayLedgerLine line;
            line.Room = guest.Room;
            line.Shift = "A";
            line.PostDate = "12/5/26";
            line.Code = p.code;
            line.Description = "POSTING";
            line.Amount = p.amount;
            line.TaxFlag = p.taxFlag;
            records::AppendStayLedgerLine(records::StayLedgerPath(app().data(), guest), line);
        }
    }
    void OpenByButton() {
        StartProgram();
        desk().Command16.UserClick();
        ASSERT_TRUE(balances().Loaded());
    }
};

std::string Describe(const std::vector<Posting>& postings) {
    std::ostringstream out;
    for (const Posting& p : postings)
        out << p.code << " " << p.amount << " " << p.taxFlag << "; ";
    return out.str();
}

TEST_F(RoomBalancesTest, BalanceFollowsTheTaxRuleAndRoundsAfterEveryLine) {
    struct Case {
        double taxRate;
        bool taxExempt;
        std::vector<Posting> postings;
        std::string line;
    };
    const std::vector<Case> cases = {
        {0.1, false, {{"E", 50}, {"E", 50, "N"}, {"E", 50}}, "101   160"},
        {0.1, false, {{"E", 50, "N"}, {"E", 50, "Y"}}, "101   105"}, // each line afresh
        {0.1, true, {{"E", 50}, {"E", 50, "Y"}}, "101   100"},       // tax exempt
        {0.1, false, {{"E", 45.5f}, {"L", 20}, {"J", 10}, {"G", 1.25f}}, "101   41.3"},
        {0.1, false, {{"E", 50}, {"N", 20}, {"M", 10}, {"P", 5}, {"O", 15}}, "101   5"},
        {0.1, false, {{"E", 50}, {"L", 100}}, "101  -45"},             // money owed to the guest
        {0.1, false, {{"E", 50}, {"X", 999}, {"e", 999}}, "101   55"}, // other codes change nothing
        // 0.1605 rounded once would be .16
        {0.07, false, {{"E", 0.05f}, {"E", 0.05f}, {"E", 0.05f}}, "101   .15"},
        {0.1, false, {}, "101   0"}, // an empty ledger
        // Past 131,072 every cent is kept: the balance is a decimal sum, never a Single.
        {0.1, false, {{"J", 99999.99f}, {"J", 50000.02f}}, "101   150000.01"},
        {0.1, false, {{"J", 99999.99f}, {"J", 50000.02f}, {"L", 100000}}, "101   50000.01"},
    };
    for (const Case& c : cases) {
        Restart();
        std::filesystem::remove(DataFile("guest"));
        std::filesystem::remove_all(DataFile("dailycharge"));
        std::filesystem::create_directory(DataFile("dailycharge"));
        records::WriteTaxRate(app().data(), c.taxRate);
        CheckIn(Guest("101", "SMITH", "JOHN", c.taxExempt), c.postings);
        EXPECT_EQ(RoomBalanceLines(app().data()), std::vector<std::string>{c.line})
            << "rate " << c.taxRate << (c.taxExempt ? " exempt " : " ") << Describe(c.postings);
    }
}

TEST_F(RoomBalancesTest, ListsEveryRecordWithALastNameInFileOrder) {
    records::WriteTaxRate(app().data(), 0.1);
    CheckIn(Guest("105", "SMITH", "MARY"), {{"E", 40}});
    CheckIn(Guest("301", "CHECKED", "OUT"), {{"E", 10}});
    CheckIn(Guest("210", "ADAMS", "JOHN"), {{"E", 60}, {"L", 66}});
    CheckIn(Guest("12", "NOFIRST", ""), {{"J", 10}});
    CheckIn(Guest("220", "", "NOLAST"), {{"J", 10}});
    records::GuestRecord gone = records::ReadGuest(app().data(), records::kGuestFile, 2);
    gone.ClearStay();
    records::WriteGuest(app().data(), records::kGuestFile, 2, gone);

    OpenByButton();
    EXPECT_EQ(balances().List1.Items(), (std::vector<std::string>{"105   44", "210   0", "12    10"}));
    EXPECT_TRUE(desk().Loaded());
}

TEST_F(RoomBalancesTest, EmptyGuestFileShowsAnEmptyList) {
    OpenByButton();
    EXPECT_EQ(balances().List1.ListCount(), 0);
}

TEST_F(RoomBalancesTest, MissingTaxFileCountsAsNoTax) {
    CheckIn(Guest("101", "SMITH", "JOHN"), {{"E", 50}});
    ASSERT_FALSE(Exists("tax"));
    OpenByButton();
    EXPECT_EQ(balances().List1.Items(), std::vector<std::string>{"101   50"});
}

// The window still opens and shows the other rooms; no box interrupts it.
TEST_F(RoomBalancesTest, MissingLedgerIsNamedOnItsRoomsLine) {
    records::WriteTaxRate(app().data(), 0.1);
    CheckIn(Guest("101", "SMITH", "JOHN"), {{"E", 50}});
    records::AddGuest(app().data(), records::kGuestFile, Guest("102", "NOLEDGER", "ANN"));
    CheckIn(Guest("103", "BAKER", "SUE"), {{"J", 10}});
    OpenByButton();
    EXPECT_EQ(balances().List1.Items(),
              (std::vector<std::string>{"101   55", "102  ERROR: Cannot find the guests folio information",
                                        "103   10"}));
    EXPECT_TRUE(dialogs().shown().empty());
}

TEST_F(RoomBalancesTest, ShowsTheFileAsItWasWhenOpened) {
    records::WriteTaxRate(app().data(), 0.1);
    const records::GuestRecord guest = Guest("101", "SMITH", "JOHN");
    CheckIn(guest, {{"E", 50}});
    OpenByButton();
    records::StayLedgerLine cash;
    cash.Room = guest.Room;
    cash.Code = "L";
    cash.Amount = 55;
    records::AppendStayLedgerLine(records::StayLedgerPath(app().data(), guest), cash);
    EXPECT_EQ(balances().List1.Items(), std::vector<std::string>{"101   55"});
    balances().Command1.UserClick();
    desk().UserKey('Q');
    EXPECT_EQ(balances().List1.Items(), std::vector<std::string>{"101   0"})
        << "a new load reads the ledger again";
}

TEST_F(RoomBalancesTest, EveryWayOutLeavesTheFrontDeskAsItWas) {
    struct Way {
        const char* name;
        std::function<void(Form62&)> leave;
    };
    const Way ways[] = {
        {"Exit", [](Form62& f) { f.Command1.UserClick(); }},
        {"Esc", [](Form62& f) { f.UserKey(platform::vbKeyEscape); }},
        {"close box", [](Form62& f) { f.UserClose(); }},
    };
    for (const Way& way : ways) {
        for (const char key : {'Q', 'q', '\0'}) {
            Restart();
            StartProgram();
            desk().Label5.SetCaption("marker");
            if (key)
                desk().UserKey(key);
            else
                desk().Command16.UserClick();
            ASSERT_TRUE(balances().Loaded()) << way.name << " key " << key;
            ASSERT_TRUE(desk().Loaded()) << way.name << " key " << key;
            way.leave(balances());
            EXPECT_FALSE(balances().Loaded()) << way.name << " key " << key;
            EXPECT_TRUE(desk().Loaded()) << way.name << " key " << key;
            EXPECT_EQ(desk().Label5.Caption(), "marker") << way.name << " key " << key << ": not reloaded";
        }
    }
}

TEST_F(RoomBalancesTest, OtherKeysDoNothing) {
    OpenByButton();
    balances().UserKey('x');
    balances().UserKey(platform::vbKeyReturn);
    EXPECT_TRUE(balances().Loaded());
}

} // namespace
} // namespace vantreth
