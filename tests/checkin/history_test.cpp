// The History window: the prefix search as the clerk types, "Find Now", the pick that
// fills the check-in window's guest boxes, the ways out and where the focus goes, the
// Add Reservation flag, and a data folder without a history file.
#include "support/app_fixture.h"
#include "support/builders.h"

#include "checkin/form14.h"
#include "checkin/form2.h"
#include "platform/text.h"
#include "records/history.h"
#include "records/room_record.h"
#include "records/settings_files.h"

#include <string>
#include <vector>

namespace vantreth {
namespace {

using platform::Fixed;
using records::HistoryEntry;
using testing::AppFixture;

HistoryEntry Stay(const std::string& last, const std::string& first, const std::string& folio,
                  const std::string& street = "12 ELM ST") {
    return testing::HistoryStay({.LastName = last,
                                 .FirstName = first,
                                 .Company = "ACME",
                                 .Street = street,
                                 .City = "DALLAS",
                                 .State = "TX",
                                 .Zip = "75001",
                                 .Phone = "555-0101",
                                 .RegCard = "4411",
                                 .Clerk = "ZZ",
                                 .Room = "101",
                                 .Adults = 2,
                                 .PayCode = "N",
                                 .ArrivalDate = "12/6/26",
                                 .CheckOutDateLiteral = platform::Date{2026, 12, 8},
                                 .FolioNumber = folio,
                                 .Comment = "LIKES A QUIET ROOM"});
}

class HistoryTest : public AppFixture {
protected:
    HistoryTest() {
        SetNow(12, 9, 2026, 10, 0, 0);
        records::WriteTaxRate(app().data(), 0.09);
        app().gClerk = "JD";
    }

    void CheckOut(const HistoryEntry& entry) { records::AppendHistoryEntry(app().data(), entry); }
    void SomeStays() {
        CheckOut(Stay("SMITH", "JOHN", "17"));
        CheckOut(Stay("JONES", "MARY", "18"));
        CheckOut(Stay("SMITHERS", "WAYLON", "19", "1 MAIN"));
        CheckOut(Stay("SMITH", "JOHN", "20", "400 OAK AVENUE"));
        CheckOut(Stay("SMITH", "JANE", "21"));
    }

    // The check-in window opens History beside itself.
    void OpenCheckIn() {
        app().Dispatch([&] { app().Load(app().Get<form2>()); });
        ASSERT_TRUE(IsLoaded("Form14"));
    }

    form2& checkIn() { return Form<form2>(); }
    Form14& history() { return Form<Form14>(); }
    std::vector<std::string> Listed() { return history().List1.Items(); }
};

std::string PrefixLine(const std::string& folio, const std::string& names, const std::string& street) {
    return Fixed(folio, 5) + " " + names + "    " + street + " DALLAS  TX  75001 ";
}

TEST_F(HistoryTest, OpensWithTheCheckInWindowReadyForTheName) {
    OpenCheckIn();
    EXPECT_EQ(history().Caption(), "History");
    EXPECT_TRUE(history().Visible());
    EXPECT_TRUE(history().Text1.HasFocus());
    EXPECT_TRUE(Listed().empty());
}

TEST_F(HistoryTest, TypingListsEveryStayWhoseLastNameBeginsWithTheTextAsTyped) {
    SomeStays();
    OpenCheckIn();
    const std::string smith17 = PrefixLine("17", "SMITH, JOHN", "12 ELM ST");
    const std::string jones18 = PrefixLine("18", "JONES, MARY", "12 ELM ST");
    const std::string smithers19 = PrefixLine("19", "SMITHERS, WAYLON", "1 MAIN");
    const std::string smith20 = PrefixLine("20", "SMITH, JOHN", "400 OAK AVENUE");
    const std::string smith21 = PrefixLine("21", "SMITH, JANE", "12 ELM ST");
    struct Step {
        int key;
        std::vector<std::string> listed;
    };
    const Step steps[] = {
        {'S', {smith17, smithers19, smith20, smith21}},
        {'M', {smith17, smithers19, smith20, smith21}},
        {'I', {smith17, smithers19, smith20, smith21}},
        {'T', {smith17, smithers19, smith20, smith21}},
        {'H', {smith17, smithers19, smith20, smith21}},
        {'E', {smithers19}},
        {platform::vbKeyBack, {smith17, smithers19, smith20, smith21}},
        {platform::vbKeyBack, {smith17, smithers19, smith20, smith21}},
        {platform::vbKeyBack, {smith17, smithers19, smith20, smith21}},
        {platform::vbKeyBack, {smith17, smithers19, smith20, smith21}},
        {platform::vbKeyBack, {smith17, smithers19, smith20, smith21}},
        {'O', {}},
        {platform::vbKeyBack, {smith17, smithers19, smith20, smith21}},
        {platform::vbKeyBack, {}},
        {'J', {jones18}},
        {platform::vbKeyBack, {}},
        {'s', {}},
    };
    for (const Step& step : steps) {
        history().Text1.UserType(step.key);
        EXPECT_EQ(Listed(), step.listed) << "name box \"" << history().Text1.Text() << "\"";
    }
}

TEST_F(HistoryTest, FindNowMatchesTheWholeNameInAnyCaseAndLinesUpTheCities) {
    SomeStays();
    OpenCheckIn();
    history().Text1.UserTypeText("smith");
    EXPECT_TRUE(Listed().empty()) << "lower case finds nothing while typing";
    history().Command1.UserClick();
    const std::vector<std::string> expected = {
        "17    SMITH  JOHN    12 ELM ST                 DALLAS  TX  75001 ",
        "20    SMITH  JOHN    400 OAK AVENUE            DALLAS  TX  75001 ",
        "21    SMITH  JANE    12 ELM ST                 DALLAS  TX  75001 ",
    };
    EXPECT_EQ(Listed(), expected) << "SMITHERS is another name";
    EXPECT_EQ(history().Text1.Text(), "smith");
}

TEST_F(HistoryTest, FindNowWithoutMatchApologisesAndEmptiesTheNameBoxOnly) {
    SomeStays();
    OpenCheckIn();
    history().Text1.UserTypeText("SMIT");
    history().Command1.UserClick();
    const std::vector<std::string> expected = {" ", " ", " ",
                                               std::string(43, ' ') + "Sorry, no one found under that name"};
    EXPECT_EQ(Listed(), expected);
    EXPECT_EQ(history().Text1.Text(), "");
    EXPECT_TRUE(history().Text1.HasFocus());
}

TEST_F(HistoryTest, PickFillsTheGuestBoxesAndSendsTheClerkToTheRoomList) {
    SomeStays();
    OpenCheckIn();
    app().gTaxRate = 0.09;
    history().Text1.UserTypeText("SMITH");
    history().List1.UserClick(2); // the second stay of JOHN SMITH, folio 20, after SMITHERS
    EXPECT_FALSE(IsLoaded("Form14"));
    form2& c = checkIn();
    const std::pair<const platform::TextBox*, std::string> boxes[] = {
        {&c.Text9, "SMITH"},   {&c.Text10, "JOHN"}, {&c.Text11, "ACME"},  {&c.Text12, "400 OAK AVENUE"},
        {&c.Text13, "DALLAS"}, {&c.Text14, "TX"},   {&c.Text15, "75001"}, {&c.Text16, "555-0101"},
        {&c.Text21, "JD"},     {&c.Text17, ""},     {&c.Text20, ""},
    };
    for (const auto& [box, text] : boxes)
        EXPECT_EQ(box->Text(), text) << box->Name();
    EXPECT_TRUE(c.Combo1.HasFocus());
    EXPECT_EQ(app().gHistoryForReservation, 0);
    EXPECT_EQ(app().gTaxRate, 0.09) << "reading the history leaves the tax rate alone";
}

TEST_F(HistoryTest, OpenedByTheHistoryButtonThePickGoesOnToTheRegistrationCard) {
    SomeStays();
    records::AppendRoom(app().data(),
                        testing::Room({.room = "101", .type = "NQ1", .rate = 50, .vacant = " "}));
    OpenCheckIn();
    history().Command2.UserClick();
    form2& c = checkIn();
    ASSERT_GE(c.Combo1.ListCount(), 1);
    c.Combo1.UserPickIndex(0);
    ASSERT_TRUE(c.Combo2.UserPick("VISA/MASTER"));
    ASSERT_TRUE(c.Frame5.Enabled());
    c.Command4.UserClick();
    ASSERT_TRUE(IsLoaded("Form14"));
    EXPECT_EQ(app().gHistoryFromButton, 1);

    history().Text1.UserTypeText("JONES");
    history().List1.UserClick(0);
    EXPECT_EQ(c.Text9.Text(), "JONES");
    EXPECT_EQ(c.Text10.Text(), "MARY");
    EXPECT_TRUE(c.Command2.Enabled()) << "the name boxes' change handlers ran";
    EXPECT_TRUE(c.Text17.HasFocus());

    c.Command4.UserClick();
    history().Command2.UserClick();
    EXPECT_FALSE(IsLoaded("Form14"));
    EXPECT_TRUE(c.Text9.HasFocus()) << "a cancel goes back to the last name";
}

TEST_F(HistoryTest, EveryWayOutClosesTheWindowAndReturnsToTheRoomList) {
    struct Case {
        std::string how;
        void (*close)(Form14&);
    };
    const Case cases[] = {
        {"Cancel / Esc", [](Form14& h) { h.Command2.UserClick(); }},
        {"Escape", [](Form14& h) { h.UserKey(platform::vbKeyEscape); }},
        {"Enter in the empty name box", [](Form14& h) { h.Text1.UserType(platform::vbKeyReturn); }},
        {"Enter twice after a name",
         [](Form14& h) {
             h.Text1.UserTypeText("SMITH");
             h.Text1.UserType(platform::vbKeyReturn);
             if (!h.Command2.HasFocus())
                 return;
             h.UserKey(platform::vbKeyReturn);
         }},
    };
    for (const Case& c : cases) {
        Restart();
        app().gClerk = "JD";
        OpenCheckIn();
        c.close(history());
        EXPECT_FALSE(IsLoaded("Form14")) << c.how;
        EXPECT_TRUE(IsLoaded("form2")) << c.how;
        EXPECT_TRUE(checkIn().Combo1.HasFocus()) << c.how;
        EXPECT_EQ(checkIn().Text9.Text(), "") << c.how;
    }
}

TEST_F(HistoryTest, PickOfABlankOrApologyLineCopiesNothingAndCloses) {
    SomeStays();
    for (int line : {0, 3}) {
        Restart();
        app().gClerk = "JD";
        OpenCheckIn();
        checkIn().Text21.SetText("");
        history().Text1.UserTypeText("NOBODY");
        history().Command1.UserClick();
        history().List1.UserClick(line);
        EXPECT_FALSE(IsLoaded("Form14")) << "line " << line;
        EXPECT_EQ(checkIn().Text9.Text(), "") << "line " << line;
        EXPECT_EQ(checkIn().Text21.Text(), "") << "line " << line;
        EXPECT_TRUE(checkIn().Combo1.HasFocus()) << "line " << line;
    }
}

TEST_F(HistoryTest, WithoutAHistoryFileSearchesFindNothingAndSayNothing) {
    ASSERT_FALSE(Exists("history/history"));
    OpenCheckIn();
    history().Text1.UserTypeText("S");
    EXPECT_TRUE(Listed().empty());
    history().Text1.UserTypeText("MITH");
    history().Command1.UserClick();
    ASSERT_EQ(Listed().size(), 4u);
    EXPECT_EQ(Listed()[3], std::string(43, ' ') + "Sorry, no one found under that name");
    EXPECT_TRUE(dialogs().shown().empty());
    EXPECT_FALSE(Exists("history/history"));
}

TEST_F(HistoryTest, ServingAddReservationLeavesTheCheckInWindowAloneAndClearsTheFlag) {
    SomeStays();
    OpenCheckIn();
    history().Command2.UserClick();
    checkIn().Text1.SetFocus();
    ASSERT_TRUE(checkIn().Text1.HasFocus());

    for (bool pick : {true, false}) {
        app().gHistoryForReservation = 1;
        app().Dispatch([&] { app().Load(app().Get<Form14>()); });
        history().Text1.UserTypeText("SMITH");
        if (pick)
            history().List1.UserClick(0);
        else
            history().UserKey(platform::vbKeyEscape);
        EXPECT_FALSE(IsLoaded("Form14")) << (pick ? "pick" : "escape");
        EXPECT_EQ(app().gHistoryForReservation, 0) << (pick ? "pick" : "escape");
        EXPECT_EQ(checkIn().Text9.Text(), "") << (pick ? "pick" : "escape");
        EXPECT_TRUE(checkIn().Text1.HasFocus()) << (pick ? "pick" : "escape");
    }
}

} // namespace
} // namespace vantreth
