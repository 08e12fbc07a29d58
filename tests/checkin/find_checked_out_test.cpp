// Find Checked Out Guest and its name list: the three lookups (last name, registration
// card, arrival date), what each shows, the rebuilt folio, the reprint, the front desk
// around the window, and a data folder without history or ledgers.
#include "support/app_fixture.h"
#include "support/builders.h"

#include "checkin/form52.h"
#include "checkin/form57.h"
#include "frontdesk/form1.h"
#include "frontdesk/form12.h"
#include "platform/text.h"
#include "printing/past_folio.h"
#include "records/filenames.h"
#include "records/history.h"
#include "records/settings_files.h"
#include "records/stay_ledger.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace vantreth {
namespace {

using platform::Fixed;
using platform::vbNo;
using platform::vbOK;
using platform::vbYes;
using platform::WindowState;
using records::HistoryEntry;
using testing::AppFixture;

struct StayData {
    std::string last;
    std::string first;
    std::string folio;
    std::string card = "4411";
    std::string arrival = "12/6/26";
    std::string room = "101";
    std::string payCode = "N";
    std::string dbNumber = "none";
};

HistoryEntry Stay(const StayData& d) {
    return testing::HistoryStay({.LastName = d.last,
                                 .FirstName = d.first,
                                 .Company = "ACME",
                                 .Street = "12 ELM ST",
                                 .City = "DALLAS",
                                 .State = "TX",
                                 .Zip = "75001",
                                 .Phone = "555-0101",
                                 .RegCard = d.card,
                                 .Clerk = "JD",
                                 .Room = d.room,
                                 .PayCode = d.payCode,
                                 .CheckInTime = "3:45:12 PM",
                                 .ArrivalDate = d.arrival,
                                 .CheckOutTime = "11:02:33 AM",
                                 .CheckOutDate = "12/8/26",
                                 .CheckOutDateLiteral = platform::Date{2026, 12, 8},
                                 .DBNumber = d.dbNumber,
                                 .FolioNumber = d.folio});
}

records::StayLedgerLine Posting(const std::string& room, const std::string& code,
                                const std::string& description, float amount) {
    records::StayLedgerLine line;
    line.Room = Fixed(room, 3);
    line.Shift = "A";
    line.PostDate = "12/6/26";
    line.Code = code;
    line.Description = description;
    line.Amount = amount;
    return line;
}

class FindCheckedOutTest : public AppFixture {
protected:
    FindCheckedOutTest() {
        SetNow(12, 9, 2026, 10, 0, 0);
        records::WriteIntroFlag(app().data(), 1.0f);
        records::WriteTaxRate(app().data(), 0.09);
    }

    // Checks out a stay: its history entry and, unless told otherwise, its ledger of one
    // night's room rent and a card payment.
    HistoryEntry CheckedOut(const StayData& d, bool withLedger = true) {
        const HistoryEntry entry = Stay(d);
        records::AppendHistoryEntry(app().data(), entry);
        if (withLedger) {
            const platform::FilePath ledger = printing::PastStayLedgerPath(app().data(), entry);
            records::AppendStayLedgerLine(ledger, Posting(d.room, "E", "ROOM RENT", 50));
            records::AppendStayLedgerLine(ledger, Posting(d.room, "N", "VISA/MASTER", 54.5f));
        }
        return entry;
    }

    // The Main Menu's way in: the front desk is minimised and the window opens.
    void OpenFinder() {
        StartProgram();
        Form<Form1>().Command3.UserClick();
        Form<Form12>().Command3.UserClick();
        ASSERT_TRUE(IsLoaded("Form52"));
    }

    Form52& finder() { return Form<Form52>(); }
    Form57& names() { return Form<Form57>(); }

    std::vector<std::string> FolioList() { return finder().List1.Items(); }

    void SearchCard(const std::string& card) {
        finder().Command2.UserClick();
        finder().Text3.UserTypeText(card);
        finder().Command5.UserClick();
    }
    void SearchDate(const std::string& date) {
        finder().Command3.UserClick();
        finder().Text4.UserTypeText(date);
        finder().Command7.UserClick();
    }
    void PickName(const std::string& prefix, int index) {
        finder().Command1.UserClick();
        names().Text1.UserTypeText(prefix);
        names().List1.UserDblClick(index);
    }
};

const std::vector<std::string> kFolioOf101 = {
    "101  A  12/6/26  E  ROOM RENT" + std::string(19, ' ') + " 50" + std::string(8, ' ') + "4.5   " + " 54.5",
    "101  A  12/6/26  N  VISA/MASTER" + std::string(17, ' ') + " 54.5" + std::string(6, ' ') + "      " +
        " 0",
};

const std::vector<std::string> kNoFurtherInfo = {" ", " ", " ", " ",
                                                 "                            NO FURTHER INFO. AVAILABLE"};

TEST_F(FindCheckedOutTest, FrontDeskStaysMinimisedUntilCancelMaximisesIt) {
    OpenFinder();
    EXPECT_EQ(Form<Form1>().windowState(), WindowState::Minimized);
    EXPECT_EQ(finder().Caption(), "Find Checked Out Guest");
    EXPECT_TRUE(finder().Visible());
    finder().Command4.UserClick();
    EXPECT_FALSE(IsLoaded("Form52"));
    EXPECT_TRUE(IsLoaded("Form1"));
    EXPECT_EQ(Form<Form1>().windowState(), WindowState::Maximized);
}

TEST_F(FindCheckedOutTest, EscapeClosesNeitherWindow) {
    OpenFinder();
    finder().Command1.UserClick();
    names().Text1.UserType(platform::vbKeyEscape);
    finder().UserKey(platform::vbKeyEscape);
    EXPECT_TRUE(IsLoaded("Form52"));
    EXPECT_TRUE(IsLoaded("Form57"));
}

TEST_F(FindCheckedOutTest, ClosingTheWindowTakesTheNameListAlongAndRestoresTheFrontDesk) {
    OpenFinder();
    finder().Command1.UserClick();
    ASSERT_TRUE(IsLoaded("Form57"));
    finder().UserClose();
    EXPECT_FALSE(IsLoaded("Form52"));
    EXPECT_FALSE(IsLoaded("Form57"));
    EXPECT_EQ(Form<Form1>().windowState(), WindowState::Maximized);
}

TEST_F(FindCheckedOutTest, EachMethodShowsOnlyItsOwnEntryControls) {
    struct Case {
        platform::CommandButton Form52::*button;
        bool card;
        bool date;
        bool nameList;
    };
    const Case cases[] = {
        {&Form52::Command1, false, false, true},
        {&Form52::Command2, true, false, false},
        {&Form52::Command3, false, true, false},
    };
    for (const Case& c : cases) {
        Restart();
        OpenFinder();
        Form52& f = finder();
        const std::string name = (f.*c.button).Caption();
        EXPECT_FALSE(f.Frame2.Visible()) << name;
        (f.*c.button).UserClick();
        EXPECT_TRUE(f.Frame2.Visible()) << name;
        EXPECT_EQ(f.Text3.Visible(), c.card) << name;
        EXPECT_EQ(f.Label3.Visible(), c.card) << name;
        EXPECT_EQ(f.Command5.Visible(), c.card) << name;
        EXPECT_EQ(f.Text4.Visible(), c.date) << name;
        EXPECT_EQ(f.Label4.Visible(), c.date) << name;
        EXPECT_EQ(f.Label12.Visible(), c.date) << name;
        EXPECT_EQ(f.Command7.Visible(), c.date) << name;
        EXPECT_EQ(IsLoaded("Form57"), c.nameList) << name;
        EXPECT_EQ(f.Text3.HasFocus(), c.card) << name;
        EXPECT_EQ(f.Text4.HasFocus(), c.date) << name;
    }
}

TEST_F(FindCheckedOutTest, GoButtonsAreEnabledExactlyWhileTheirBoxHoldsTextAndEnterMovesToThem) {
    OpenFinder();
    Form52& f = finder();
    f.Command2.UserClick();
    f.Text3.UserType(platform::vbKeyReturn);
    EXPECT_TRUE(f.Text3.HasFocus()) << "Enter in the empty box keeps the focus";
    EXPECT_EQ(f.Text3.Text(), "");
    f.Text3.UserTypeText("7");
    EXPECT_TRUE(f.Command5.Enabled());
    f.Text3.UserType(platform::vbKeyBack);
    EXPECT_FALSE(f.Command5.Enabled());
    f.Text3.UserTypeText("7");
    f.Text3.UserType(platform::vbKeyReturn);
    EXPECT_TRUE(f.Command5.HasFocus());
    EXPECT_EQ(f.Text3.Text(), "7");

    f.Command3.UserClick();
    EXPECT_FALSE(f.Command7.Enabled());
    f.Text4.UserTypeText("1");
    EXPECT_TRUE(f.Command7.Enabled());
    f.Text4.UserType(platform::vbKeyReturn);
    EXPECT_TRUE(f.Command7.HasFocus());
}

TEST_F(FindCheckedOutTest, NameListFollowsTheTypedPrefixInFileOrderCaseCounting) {
    CheckedOut({"SMITH", "JOHN", "17"});
    CheckedOut({"JONES", "MARY", "18"});
    CheckedOut({"SMYTHE", "ANN", "19", "5000", "12/25/26"});
    CheckedOut({"SMITH", "JOHN", "20", "4411", "12/7/26"});
    OpenFinder();
    finder().Command1.UserClick();
    ASSERT_TRUE(names().Text1.HasFocus());

    const std::string smith17 = "17    12/6/26   SMITH, JOHN           12 ELM ST DALLAS  TX  75001 ";
    // A date longer than its column keeps one blank of the three before the name.
    const std::string smythe19 =
        "19    12/25/26  SMYTHE, ANN" + std::string(12, ' ') + "12 ELM ST DALLAS  TX  75001 ";
    const std::string smith20 = "20    12/7/26   SMITH, JOHN           12 ELM ST DALLAS  TX  75001 ";
    struct Step {
        std::string action; // a key typed, or "\b" for Backspace
        std::vector<std::string> listed;
    };
    const Step steps[] = {
        {"S", {smith17, smythe19, smith20}},
        {"M", {smith17, smythe19, smith20}},
        {"I", {smith17, smith20}},
        {"\b", {smith17, smythe19, smith20}},
        {"\b", {smith17, smythe19, smith20}},
        {"\b", {}},
        {"s", {}},
    };
    for (const Step& step : steps) {
        names().Text1.UserType(static_cast<unsigned char>(step.action[0]));
        EXPECT_EQ(names().List1.Items(), step.listed) << "after typing to \"" << names().Text1.Text() << "\"";
    }
}

TEST_F(FindCheckedOutTest, PickFromTheNameListShowsTheStayLastNameLeftWithItsFolio) {
    CheckedOut({"JONES", "MARY", "16"});
    CheckedOut({"SMITH", "JOHN", "17"});
    OpenFinder();
    PickName("SMITH", 0);
    EXPECT_FALSE(IsLoaded("Form57"));
    const Form52& f = finder();
    const std::map<std::string, std::string> expected = {
        {"Label5", "SMITH"},
        {"Label6", "JOHN"},
        {"Label7", "12 ELM ST"},
        {"Label8", "DALLAS"},
        {"Label9", "TX"},
        {"Label10", "75001"},
        {"Label11", "555-0101       "},
        {"Label13", "4411  "},
        {"Label14", "17   "},
        {"Label16", "3:45:12 PM"},
        {"Label18", "11:02:33 A"},
        {"Label20", "N"},
        {"Label22", "none"},
    };
    for (const auto& [label, caption] : expected)
        EXPECT_EQ(f.Find(label)->ValueText(), caption) << label;
    EXPECT_TRUE(f.Command6.Enabled());
    EXPECT_EQ(f.List1.Items(), kFolioOf101);
    EXPECT_FALSE(f.Text3.Visible());
    EXPECT_FALSE(f.Text4.Visible());
}

TEST_F(FindCheckedOutTest, PickTellsFiveDigitFolioNumbersApart) {
    CheckedOut({"JONES", "MARY", "1234"});
    CheckedOut({"JONAS", "PETER", "12345", "8080", "12/6/26", "102"});
    OpenFinder();
    finder().Command1.UserClick();
    names().Text1.UserTypeText("JONAS");
    ASSERT_EQ(names().List1.ListCount(), 1);
    names().List1.UserDblClick(0);
    EXPECT_EQ(finder().Label5.Caption(), "JONAS");
    EXPECT_EQ(finder().Label14.Caption(), "12345");
}

TEST_F(FindCheckedOutTest, PickOfAStayWhoseLedgerIsGoneShowsItWithNoFurtherInfo) {
    CheckedOut({"SMITH", "JOHN", "17"}, false);
    OpenFinder();
    PickName("SMITH", 0);
    EXPECT_EQ(finder().Label5.Caption(), "SMITH");
    EXPECT_EQ(FolioList(), kNoFurtherInfo);
    EXPECT_FALSE(IsLoaded("Form57"));
}

TEST_F(FindCheckedOutTest, NameListCancelLeavesTheWindowAsItWas) {
    CheckedOut({"SMITH", "JOHN", "17"});
    OpenFinder();
    PickName("SMITH", 0);
    finder().Command1.UserClick();
    names().Text1.UserTypeText("S");
    names().Command2.UserClick();
    EXPECT_FALSE(IsLoaded("Form57"));
    EXPECT_EQ(finder().Label14.Caption(), "17   ");
    EXPECT_EQ(FolioList(), kFolioOf101);
    EXPECT_TRUE(finder().Frame2.Visible());
    EXPECT_FALSE(finder().Text3.Visible());
    EXPECT_FALSE(finder().Text4.Visible());
}

TEST_F(FindCheckedOutTest, CardSearchOffersEachMatchInTurnEachWithItsOwnFolio) {
    CheckedOut({"SMITH", "JOHN", "17"});
    CheckedOut({"JONES", "MARY", "18", "9999"});
    // Same card, another room: its folio starts again from an empty list and zero.
    records::AppendStayLedgerLine(
        printing::PastStayLedgerPath(app().data(),
                                     CheckedOut({"BROWN", "ALAN", "19", "4411", "12/7/26", "12"}, false)),
        Posting("12", "J", "PET FEE", 10));
    OpenFinder();

    struct Seen {
        std::string first, last, card, folio;
        std::vector<std::string> list;
    };
    std::vector<Seen> seen;
    dialogs().on_shown = [&](const platform::ScriptedDialogs::Shown&) {
        const Form52& f = finder();
        seen.push_back({f.Label5.Caption(), f.Label6.Caption(), f.Label13.Caption(), f.Label14.Caption(),
                        f.List1.Items()});
    };
    dialogs().Answer(vbNo);
    dialogs().Answer(vbNo);
    SearchCard("4411");

    ASSERT_EQ(seen.size(), 2u) << "No on the last match ends without the not-found message";
    EXPECT_EQ(LastBox().prompt, "Is this the guest you are looking for?");
    EXPECT_EQ(LastBox().title, "?");
    EXPECT_EQ(LastBox().style, platform::vbYesNo | platform::vbQuestion);
    EXPECT_EQ(seen[0].first, "JOHN") << "first name left after a card search";
    EXPECT_EQ(seen[0].last, "SMITH");
    EXPECT_EQ(seen[0].card, "4411");
    EXPECT_EQ(seen[0].folio, "17   ");
    EXPECT_EQ(seen[0].list, kFolioOf101);
    EXPECT_EQ(seen[1].first, "ALAN");
    EXPECT_EQ(seen[1].folio, "19   ");
    const std::vector<std::string> brown = {"12   A  12/6/26  J  PET FEE" + std::string(21, ' ') + " 10" +
                                            std::string(8, ' ') + std::string(6, ' ') + " 10"};
    EXPECT_EQ(seen[1].list, brown);
    EXPECT_EQ(finder().Text3.Text(), "");
    EXPECT_TRUE(finder().Text3.HasFocus());
    EXPECT_FALSE(finder().Command5.Enabled());
    EXPECT_TRUE(finder().Command6.Enabled());
    ExpectNoPendingAnswers();
}

TEST_F(FindCheckedOutTest, YesTakesTheFirstMatchAndEndsTheSearch) {
    CheckedOut({"SMITH", "JOHN", "17"});
    CheckedOut({"BROWN", "ALAN", "19"});
    OpenFinder();
    dialogs().Answer(vbYes);
    SearchCard("4411");
    EXPECT_EQ(dialogs().shown().size(), 1u);
    EXPECT_EQ(finder().Label14.Caption(), "17   ");
    EXPECT_EQ(FolioList(), kFolioOf101);
}

TEST_F(FindCheckedOutTest, CardSearchWithoutMatchSaysSoAndEmptiesTheShownStay) {
    CheckedOut({"SMITH", "JOHN", "17"});
    OpenFinder();
    PickName("SMITH", 0);
    struct Case {
        std::string typed;
        std::string message;
    };
    const Case cases[] = {
        {"77", "There was no folio found for register card # 77"},
        // Only the stored number is trimmed, so a typed trailing blank never matches.
        {"4411 ", "There was no folio found for register card # 4411 "},
    };
    for (const Case& c : cases) {
        dialogs().Answer(vbOK);
        SearchCard(c.typed);
        EXPECT_EQ(LastBox().prompt, c.message) << "\"" << c.typed << "\"";
        EXPECT_EQ(LastBox().title, "ALERT");
        for (const char* label : {"Label5", "Label6", "Label7", "Label8", "Label9", "Label10", "Label11",
                                  "Label13", "Label14", "Label16", "Label18"})
            EXPECT_EQ(finder().Find(label)->ValueText(), "") << label << " after \"" << c.typed << "\"";
        EXPECT_EQ(finder().Label20.Caption(), "N") << "the pay code keeps its text";
        EXPECT_EQ(finder().Label22.Caption(), "none");
        EXPECT_TRUE(FolioList().empty());
        EXPECT_EQ(finder().Text3.Text(), "");
    }
    // Print Folio stays enabled but finds no stay for the empty folio field.
    EXPECT_TRUE(finder().Command6.Enabled());
    finder().Command6.UserClick();
    EXPECT_TRUE(printer().TakeJobs().empty());
}

TEST_F(FindCheckedOutTest, ArrivalDateMustBeTypedWithoutLeadingZeros) {
    CheckedOut({"SMITH", "JOHN", "17", "4411", "1/5/04"});
    struct Case {
        std::string typed;
        std::string message; // "" = refused without a box
    };
    const Case cases[] = {
        {"1/05/04", kZeroDayMessage},
        {"12/05/04", kZeroDayMessage},
        {"01/5/04", kZeroMonthMessage},
        {"1//04", ""},
    };
    for (const Case& c : cases) {
        Restart();
        OpenFinder();
        if (!c.message.empty())
            dialogs().Answer(vbOK);
        SearchDate(c.typed);
        if (c.message.empty()) {
            EXPECT_TRUE(dialogs().shown().empty()) << c.typed;
        } else {
            ASSERT_EQ(dialogs().shown().size(), 1u) << c.typed;
            EXPECT_EQ(LastBox().prompt, c.message) << c.typed;
            EXPECT_EQ(LastBox().title, "WARNING") << c.typed;
        }
        EXPECT_EQ(finder().Label14.Caption(), "") << c.typed << ": nothing searched";
        EXPECT_EQ(finder().Text4.Text(), c.typed);
        EXPECT_TRUE(finder().Text4.HasFocus()) << c.typed;
        dialogs().ClearShown();
    }
}

TEST_F(FindCheckedOutTest, DateSearchFindsTheStayAsStoredAndKeepsTheTypedDate) {
    CheckedOut({"SMITH", "JOHN", "17", "4411", "1/5/04"});
    CheckedOut({"BROWN", "ALAN", "19", "5150", "01/05/04"});
    OpenFinder();
    dialogs().Answer(vbYes);
    SearchDate("1/5/04");
    EXPECT_EQ(dialogs().shown().size(), 1u) << "01/05/04 is not 1/5/04";
    EXPECT_EQ(finder().Label5.Caption(), "JOHN");
    EXPECT_EQ(finder().Label13.Caption(), "4411  ") << "the stored card number";
    EXPECT_EQ(finder().Text4.Text(), "1/5/04");
    EXPECT_TRUE(finder().Text4.HasFocus());

    dialogs().Answer(vbOK);
    SearchDate("2/5/04");
    EXPECT_EQ(LastBox().prompt, "There was no folio found for that arrival date.");
    EXPECT_EQ(LastBox().title, "ALERT");
    EXPECT_EQ(finder().Label14.Caption(), "");
    EXPECT_EQ(finder().Text4.Text(), "2/5/04");
}

TEST_F(FindCheckedOutTest, CardSearchOfAStayWithoutLedgerStillShowsItAndGoesOn) {
    CheckedOut({"SMITH", "JOHN", "17"}, false);
    CheckedOut({"BROWN", "ALAN", "19"});
    OpenFinder();
    std::vector<std::vector<std::string>> lists;
    dialogs().on_shown = [&](const platform::ScriptedDialogs::Shown&) { lists.push_back(FolioList()); };
    dialogs().Answer(vbNo);
    dialogs().Answer(vbYes);
    SearchCard("4411");
    ASSERT_EQ(lists.size(), 2u) << "the missing ledger does not end the search";
    EXPECT_EQ(lists[0], kNoFurtherInfo);
    EXPECT_EQ(lists[1], kFolioOf101);
}

TEST_F(FindCheckedOutTest, WithoutAnyHistoryEverySearchFindsNothing) {
    ASSERT_FALSE(Exists("history/history"));
    OpenFinder();
    dialogs().Answer(vbOK);
    SearchCard("4411");
    EXPECT_EQ(LastBox().prompt, "There was no folio found for register card # 4411");
    dialogs().Answer(vbOK);
    SearchDate("1/5/04");
    EXPECT_EQ(LastBox().prompt, "There was no folio found for that arrival date.");
    finder().Command1.UserClick();
    names().Text1.UserTypeText("S");
    EXPECT_EQ(names().List1.ListCount(), 0);
    EXPECT_FALSE(finder().Command6.Enabled());
    ExpectNoPendingAnswers();
}

TEST_F(FindCheckedOutTest, PrintFolioReprintsTheShownStayAndWritesNoFile) {
    CheckedOut({"JONES", "MARY", "16", "1000", "12/6/26", "102", "L"});
    CheckedOut({"SMITH", "JOHN", "17", "4411", "12/6/26", "101", "Q", Fixed("1001", 8)});
    OpenFinder();
    PickName("SMITH", 0);
    const auto before = DataImage();
    finder().Command6.UserClick();
    EXPECT_EQ(DataImage(), before);

    std::vector<platform::PrintJob> jobs = printer().TakeJobs();
    ASSERT_EQ(jobs.size(), 1u);
    std::vector<std::string> lines;
    for (const platform::PrintedLine& line : jobs[0].pages.at(0).lines)
        lines.push_back(line.text);
    ASSERT_GE(lines.size(), 20u);
    EXPECT_EQ(lines[1], app().settings().Letterhead()[0]);
    EXPECT_EQ(lines[9], "JOHN SMITH" + std::string(34, ' ') + "Arrived: 12/6/26   ");
    EXPECT_EQ(lines[17], "101   A    12/6/26   E     ROOM RENT" + std::string(13, ' ') + " 50 " +
                             std::string(6, ' ') + "4.5" + std::string(2, ' ') + " 54.5 ");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "DIRECT BILL ACCOUNT: 1001"), lines.end())
        << "pay code Q prints its account code; no accounts file exists";
}

} // namespace
} // namespace vantreth
