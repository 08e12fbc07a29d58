// "Print Folio" and "Check Out" in the View Folio window: the printed mark, the balance
// rule, the ordinary and the direct-bill check-out with their history entry, freed slot
// and room, account charge and day line, and the refusals that leave every file as it was.
#include "folio/folio_fixture.h"
#include "support/failing_printer.h"

#include "callacct/call_maker.h"
#include "folio/form9.h"
#include "frontdesk/form1.h"
#include "frontdesk/form12.h"

#include <functional>

#include <gmock/gmock.h>

namespace vantreth {
namespace {

using platform::Fixed;
using records::GuestRecord;
using testing::FolioGuest;
using ::testing::HasSubstr;
using testing::LedgerLine;

constexpr size_t kGuestLength = 467, kCheckOutTime = 166;

class CheckOutTest : public testing::FolioFixture {
protected:
    CheckOutTest() {
        // Paid up: 45.5 + 4.55 tax - 50.05.
        smith = FolioGuest("101", "SMITH", "JOHN");
        AddGuest(smith);
        Post(smith, LedgerLine("101", "E", "ROOM RENT", 45.5f));
        Post(smith, LedgerLine("101", "L", "CASH REC.", 50.05f));

        // Billed to ACME TRUCKING: 100 + 10 tax + 10.5 = 120.5.
        records::DirectBillAccount other;
        other.CompanyName = Fixed("OTHER CO", 80);
        other.DBNumber = Fixed("1000", 7);
        records::AppendAccount(data(), other);
        records::DirectBillAccount acme;
        acme.CompanyName = Fixed("ACME TRUCKING", 80);
        acme.DBNumber = Fixed("1001", 7);
        acme.Balance = 100.5f;
        acme.TaxExempt = "N";
        acme.LastPaymentDate = Fixed("--/--/--", 10);
        acme.LastPaymentAmount = Fixed("0", 10);
        records::AppendAccount(data(), acme);
        bill = FolioGuest("102", "BILL", "BETTY", "Q");
        bill.DBNumber = Fixed("1001", 8);
        AddGuest(bill);
        Post(bill, LedgerLine("102", "E", "ROOM RENT", 100));
        Post(bill, LedgerLine("102", "J", "ROLL AWAY", 10.5f));
    }

    GuestRecord smith;
    GuestRecord bill;

    // Every file a check-out may write, to show that a refusal wrote none of them.
    std::string Files() {
        return ReadBytes("guest") + "|" + ReadBytes("rooms") + "|" + ReadBytes("history/history") + "|" +
               ReadBytes("directbill/dbmember") + "|" + ReadBytes("dbdaily/12626");
    }
    void CheckOut(platform::MsgBoxResult answer = platform::vbYes) {
        dialogs().Answer(answer);
        folio().Command4.UserClick();
    }
    std::vector<std::string> PrintedLines() {
        std::vector<platform::PrintJob> jobs = printer().TakeJobs();
        if (jobs.size() != 1)
            return {"jobs: " + std::to_string(jobs.size())};
        std::vector<std::string> lines;
        for (const platform::PrintedPage& page : jobs[0].pages)
            for (const platform::PrintedLine& line : page.lines)
                lines.push_back(line.text);
        return lines;
    }
    void ExpectWindowReset() {
        Form4& f = folio();
        EXPECT_EQ(f.List1.ListCount(), 0);
        for (platform::Label* label :
             {&f.Label1, &f.Label7, &f.Label8, &f.Label9, &f.Label10, &f.Label11, &f.Label18})
            EXPECT_EQ(label->Caption(), "") << label->Name();
        EXPECT_FALSE(f.Frame1.Enabled());
        EXPECT_FALSE(f.Command3.Enabled());
        EXPECT_FALSE(f.Command4.Enabled());
        EXPECT_FALSE(f.Command5.Enabled());
        EXPECT_FALSE(f.Label23.Visible());
        EXPECT_FALSE(f.Label22.Visible());
        EXPECT_TRUE(f.Text3.HasFocus());
        EXPECT_TRUE(IsLoaded("Form4"));
    }
};

// From a folder open only to be looked at, a report is refused as every change is: the clerk
// gets the folder's one message, nothing is printed and no printer box comes.
TEST_F(CheckOutTest, EveryReportFromAFolderOnlyLookedAtGetsTheFoldersMessage) {
    struct Case {
        const char* report;
        std::function<void()> print;
    };
    const Case cases[] = {
        {"Print Folio",
         [&] {
             Open();
             Choose("101 SMITH JOHN");
             dialogs().Answer(platform::vbOK);
             folio().Command3.UserClick();
         }},
        {"Print Housekeeping Rpt.",
         [&] {
             StartProgram();
             Form<Form1>().Command3.UserClick();
             dialogs().Answer(platform::vbOK);
             Form<Form12>().Command5.UserClick();
         }},
        {"Print Out of Order Rooms",
         [&] {
             StartProgram();
             Form<Form1>().Command3.UserClick();
             dialogs().Answer(platform::vbOK);
             Form<Form12>().Command7.UserClick();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.report);
        RestartLookingOnly("the lock cannot be had");
        const std::string before = Files();
        dialogs().ClearShown();
        c.print();
        EXPECT_TRUE(printer().TakeJobs().empty());
        ASSERT_EQ(dialogs().shown().size(), 1u);
        EXPECT_EQ(LastBox().title, "File Error");
        EXPECT_EQ(LastBox().prompt, "The data folder " + dataRoot().string() +
                                        " is open only to be looked at (the lock cannot be had), so "
                                        "nothing can be changed.\nNothing was saved.");
        EXPECT_EQ(Files(), before);
        ExpectNoPendingAnswers();
    }
}

TEST_F(CheckOutTest, PrintFolioMarksTheGuestPrintedAndPrintsEachTime) {
    Open();
    Choose("101 SMITH JOHN");
    for (int press = 1; press <= 2; ++press) {
        folio().Command3.UserClick();
        EXPECT_EQ(ReadBytes("guest").substr(kCheckOutTime, 10), "-------   ") << press;
        const std::vector<std::string> lines = PrintedLines();
        ASSERT_GT(lines.size(), 20u) << press;
        EXPECT_EQ(lines[1], app().settings().Letterhead()[0]);
        EXPECT_EQ(lines[9], Fixed("JOHN SMITH", 44) + "Arrived: 12/5/26   ");
        EXPECT_EQ(lines[12], std::string(39, ' ') + "Present Time: 3:45:12 PM");
        EXPECT_EQ(lines[13], std::string(46, ' ') + "Today: 12/6/26");
        EXPECT_THAT(lines[18], ::testing::StartsWith("101   A    12/5/26   E     ROOM RENT"));
        EXPECT_EQ(lines[21], std::string(51, ' ') + "Balance....." + "  0");
    }
    GuestRecord marked = smith;
    marked.CheckOutTime = "-------   ";
    EXPECT_EQ(GuestIn(1), marked) << "only the check-out time changes";
}

TEST_F(CheckOutTest, PaidUpGuestChecksOutWithHistorySlotAndRoomAndNoPrintout) {
    const std::string accounts = ReadBytes("directbill/dbmember");
    Open();
    Choose("101 SMITH JOHN");
    CheckOut();
    EXPECT_EQ(LastBox().prompt, "Are you sure you want to check this guest out now?");
    EXPECT_EQ(LastBox().title, "Check Out");

    const std::vector<records::HistoryEntry> history = records::ReadHistory(data());
    ASSERT_EQ(history.size(), 1u);
    const records::HistoryEntry& e = history[0];
    EXPECT_EQ(e.LastName, smith.LastName);
    EXPECT_EQ(e.FirstName, smith.FirstName);
    EXPECT_EQ(e.Room, "101");
    EXPECT_EQ(e.Street, smith.Street);
    EXPECT_EQ(e.Adults, 2.0f);
    EXPECT_EQ(e.TaxExempt, 0.0f);
    EXPECT_EQ(e.PayCode, "L");
    EXPECT_EQ(e.CheckInTime, smith.CheckInTime);
    EXPECT_EQ(e.ArrivalDate, smith.ArrivalDate);
    EXPECT_EQ(e.CheckOutTime, "3:45:12 PM");
    EXPECT_EQ(e.CheckOutDate, "12/6/26");
    EXPECT_TRUE(e.CheckOutDateLiteral.has_value());
    EXPECT_EQ(e.Rate, 45.5f);
    EXPECT_EQ(e.DBNumber, "none");
    EXPECT_EQ(e.FolioNumber, smith.FolioNumber);
    EXPECT_EQ(e.Comment, smith.Comment);
    const std::string raw = ReadBytes("history/history");
    EXPECT_THAT(raw, HasSubstr(",#2026-12-06#,"));
    EXPECT_THAT(raw, HasSubstr("\"none\""));

    GuestRecord freed = smith;
    freed.ClearStay();
    EXPECT_EQ(GuestIn(1), freed) << "names and room blank, every other field kept";
    EXPECT_EQ(GuestIn(2), bill);
    const records::RoomRecord room = records::ReadRoom(data(), 1);
    EXPECT_EQ(room.Clean, "N");
    EXPECT_EQ(room.Vacant, "Y");
    EXPECT_EQ(room.Service, "A");
    EXPECT_EQ(room.Comment, Fixed("QUIET", 80));
    EXPECT_EQ(records::ReadRoom(data(), 2).Service, "O");

    EXPECT_TRUE(printer().TakeJobs().empty());
    EXPECT_FALSE(Exists("dbdaily/12626"));
    EXPECT_EQ(ReadBytes("directbill/dbmember"), accounts);
    ExpectWindowReset();
    EXPECT_EQ(folio().Combo1.Items(), (std::vector<std::string>{"102 BILL BETTY"}));
}

TEST_F(CheckOutTest, BalanceWithoutAccountLineIsRefused) {
    const struct {
        float owed;
        const char* label;
    } cases[] = {{0.01f, ".01"}, {-5, "-5"}, {2, "2"}};
    Open();
    for (const auto& c : cases) {
        GuestRecord guest = FolioGuest("12", "OWES", "OSCAR");
        records::WriteGuest(data(), records::kGuestFile, 3, guest);
        records::AppendStayLedgerLine(
            records::StayLedgerPath(data(), guest),
            LedgerLine("12", c.owed > 0 ? "J" : "L", "X", c.owed > 0 ? c.owed : -c.owed));
        folio().FillRoomList();
        Choose("12  OWES OSCAR");
        ASSERT_EQ(folio().Label18.Caption(), c.label);
        const std::string before = Files();
        dialogs().Answer(platform::vbOK);
        folio().Command4.UserClick();
        EXPECT_EQ(LastBox().prompt, "Cannot check this guest out. Showing a balance due.") << c.label;
        EXPECT_EQ(LastBox().title, "Balance Due") << c.label;
        EXPECT_EQ(Files(), before) << c.label;
        EXPECT_EQ(folio().Label1.Caption(), "OWES, OSCAR");
        platform::DeleteFile(records::StayLedgerPath(data(), guest));
    }
}

TEST_F(CheckOutTest, AnsweringNoWritesNothing) {
    Open();
    Choose("101 SMITH JOHN");
    const std::string before = Files();
    CheckOut(platform::vbNo);
    EXPECT_EQ(Files(), before);
    EXPECT_EQ(folio().Label1.Caption(), "SMITH, JOHN");
    EXPECT_TRUE(folio().Command4.Enabled());

    Choose("102 BILL BETTY");
    CheckOut(platform::vbNo);
    EXPECT_EQ(Files(), before);
    EXPECT_TRUE(printer().TakeJobs().empty());
}

TEST_F(CheckOutTest, DirectBillGuestWithNoBalanceLeavesLikeAnyOther) {
    Post(bill, LedgerLine("102", "L", "CASH REC.", 120.5f));
    const std::string accounts = ReadBytes("directbill/dbmember");
    Open();
    Choose("102 BILL BETTY");
    ASSERT_EQ(folio().Label18.Caption(), "0");
    CheckOut();
    const std::vector<records::HistoryEntry> history = records::ReadHistory(data());
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].DBNumber, "none");
    EXPECT_TRUE(history[0].CheckOutDateLiteral.has_value());
    EXPECT_EQ(ReadBytes("directbill/dbmember"), accounts) << "nothing is charged";
    EXPECT_FALSE(Exists("dbdaily/12626"));
    EXPECT_TRUE(printer().TakeJobs().empty());
    EXPECT_TRUE(GuestIn(2).IsFree());
}

TEST_F(CheckOutTest, DirectBillCheckOutPrintsChargesTheAccountAndLogsTheDay) {
    Open();
    Choose("102 BILL BETTY");
    ASSERT_EQ(folio().Label22.Caption(), "1001  ACME TRUCKING");
    ASSERT_EQ(folio().Label18.Caption(), "120.5");
    CheckOut();

    const std::vector<std::string> lines = PrintedLines();
    ASSERT_GT(lines.size(), 30u);
    EXPECT_EQ(lines[12], std::string(40, ' ') + "Depart Time: 3:45:12 PM");
    EXPECT_THAT(lines[18], ::testing::StartsWith("102   A    12/5/26   E     ROOM RENT"));
    EXPECT_EQ(lines[18].substr(58, 3), "10 ") << "the tax column sits at 59 at check-out";
    EXPECT_EQ(lines[21], std::string(42, ' ') + "Balance this stay....." + " 120.5");
    EXPECT_THAT(lines, ::testing::Contains("DIRECT BILL ACCOUNT: 1001  ACME TRUCKING"));
    EXPECT_THAT(lines,
                ::testing::Contains(std::string(28, ' ') + "Account balance after this stay..... 221"));

    const std::vector<records::HistoryEntry> history = records::ReadHistory(data());
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].CheckOutDate, Fixed("12/7/26", 10)) << "the stored departure date";
    EXPECT_FALSE(history[0].CheckOutDateLiteral.has_value());
    EXPECT_EQ(history[0].DBNumber, "1001    ");
    EXPECT_EQ(history[0].CheckOutTime, "3:45:12 PM");
    EXPECT_THAT(ReadBytes("history/history"), HasSubstr("\"12/7/26   \""));

    const records::DirectBillAccount acme = records::ReadAccount(data(), 2);
    EXPECT_EQ(acme.Balance, 221.0f);
    EXPECT_EQ(acme.LastPaymentDate, Fixed("--/--/--", 10)) << "only Balance changes";
    EXPECT_EQ(records::ReadAccount(data(), 1).Balance, 0.0f);

    const std::vector<records::DbDailyLine> day = records::ReadDbDaily(data(), "12/6/26");
    ASSERT_EQ(day.size(), 1u);
    EXPECT_EQ(day[0].Room, "102");
    EXPECT_EQ(day[0].Shift, "A");
    EXPECT_EQ(day[0].PostDate, "12/6/26");
    EXPECT_EQ(day[0].Account, "1001 ACME TRUCKING");
    EXPECT_EQ(day[0].Amount, 120.5f);

    const GuestRecord slot = GuestIn(2);
    EXPECT_TRUE(slot.IsFree());
    EXPECT_EQ(slot.Room, "   ");
    EXPECT_EQ(slot.CheckOutTime, "3:45:12 PM") << "the check-out time stays in the freed slot";
    const records::RoomRecord room = records::ReadRoom(data(), 2);
    EXPECT_EQ(room.Clean + room.Vacant + room.Service, "NYA");
    ExpectWindowReset();
    EXPECT_FALSE(folio().Label34.Visible());
}

// Midnight passes while "Are you sure" is up and no timer has ticked: the date hold is made
// when the step reads the date, so the step writes the day being worked.
TEST_F(CheckOutTest, ACheckOutAnsweredAfterMidnightIsDatedByTheDayBeingWorked) {
    Open();
    Choose("102 BILL BETTY");
    app().on_modal = [this] { clock().Set({{2026, 12, 7}, {0, 0, 10}}); };
    CheckOut();
    app().on_modal = nullptr;

    EXPECT_TRUE(GuestIn(2).IsFree());
    EXPECT_EQ(clock().DateText(), "12/6/26");
    const std::vector<records::DbDailyLine> day = records::ReadDbDaily(data(), "12/6/26");
    ASSERT_EQ(day.size(), 1u);
    EXPECT_EQ(day[0].PostDate, "12/6/26");
    EXPECT_FALSE(Exists("dbdaily/12726"));
}

TEST_F(CheckOutTest, AccountLineWithBalanceAndCashPayCodeDoesNothing) {
    bill.PayCode = "L";
    records::WriteGuest(data(), records::kGuestFile, 2, bill);
    Open();
    Choose("102 BILL BETTY");
    const std::string before = Files();
    folio().Command4.UserClick(); // no box: an unexpected one would fail the test
    EXPECT_EQ(Files(), before);
    EXPECT_TRUE(folio().Text3.HasFocus());
    EXPECT_EQ(folio().Label1.Caption(), "BILL, BETTY");
}

TEST_F(CheckOutTest, CardPayingGuestWithAccountLineLeavesAtAnyBalance) {
    bill.PayCode = "N";
    records::WriteGuest(data(), records::kGuestFile, 2, bill);
    const std::string accounts = ReadBytes("directbill/dbmember");
    Open();
    Choose("102 BILL BETTY");
    CheckOut();
    EXPECT_TRUE(GuestIn(2).IsFree());
    EXPECT_EQ(records::ReadHistory(data()).at(0).DBNumber, "none");
    EXPECT_EQ(ReadBytes("directbill/dbmember"), accounts) << "the balance is not moved anywhere";
    EXPECT_FALSE(Exists("dbdaily/12626"));
}

// The shown balance may be old: a call can be posted while the folio is on screen.
TEST_F(CheckOutTest, BalanceIsAddedUpAgainAtCheckOut) {
    Open();
    Choose("101 SMITH JOHN");
    ASSERT_EQ(folio().Label18.Caption(), "0");
    Post(smith, LedgerLine("101", "G", "CALL 555-0100", 1.25f));
    const std::string before = Files();
    dialogs().Answer(platform::vbOK);
    folio().Command4.UserClick();
    EXPECT_EQ(LastBox().title, "Balance Due");
    EXPECT_EQ(Files(), before);
    EXPECT_EQ(folio().Label18.Caption(), "1.25");
}

TEST_F(CheckOutTest, MissingLedgerRefusesPrintAndCheckOut) {
    Open();
    Choose("101 SMITH JOHN");
    platform::DeleteFile(records::StayLedgerPath(data(), smith));
    const std::string before = Files();
    for (platform::CommandButton* button : {&folio().Command3, &folio().Command4}) {
        dialogs().Answer(platform::vbOK);
        button->UserClick();
        EXPECT_EQ(LastBox().title, "WARNING") << button->Caption();
        EXPECT_THAT(LastBox().prompt, HasSubstr("Cannot find the guests folio information"));
        EXPECT_EQ(Files(), before) << button->Caption();
    }
    EXPECT_TRUE(printer().TakeJobs().empty());
}

TEST_F(CheckOutTest, GuestNoLongerInTheRoomIsNeitherPrintedNorCheckedOut) {
    Open();
    Choose("101 SMITH JOHN");
    GuestRecord gone = smith;
    gone.ClearStay();
    records::WriteGuest(data(), records::kGuestFile, 1, gone);
    const std::string before = Files();
    for (platform::CommandButton* button : {&folio().Command3, &folio().Command4}) {
        dialogs().Answer(platform::vbOK);
        button->UserClick();
        EXPECT_EQ(LastBox().title, "WARNING") << button->Caption();
        EXPECT_EQ(Files(), before) << button->Caption() << ": no record is created or overwritten";
    }
    EXPECT_TRUE(printer().TakeJobs().empty());
}

TEST_F(CheckOutTest, AccountTheStayCannotBeChargedToStopsTheCheckOut) {
    // "0100" is found for the screen, but the charging key reads it as the number 100.
    records::DirectBillAccount odd;
    odd.CompanyName = Fixed("ODD CODES INC", 80);
    odd.DBNumber = Fixed("0100", 7);
    records::AppendAccount(data(), odd);
    bill.DBNumber = Fixed("0100", 8);
    records::WriteGuest(data(), records::kGuestFile, 2, bill);
    Open();
    Choose("102 BILL BETTY");
    ASSERT_EQ(folio().Label22.Caption(), "0100  ODD CODES INC");
    const std::string before = Files();
    dialogs().Answer(platform::vbOK);
    folio().Command4.UserClick();
    EXPECT_EQ(LastBox().title, "WARNING");
    EXPECT_THAT(LastBox().prompt, HasSubstr("direct bill account"));
    EXPECT_EQ(Files(), before);
    EXPECT_TRUE(printer().TakeJobs().empty());
}

TEST_F(CheckOutTest, PrinterFailureLeavesTheDirectBillGuestCheckedIn) {
    testing::FailingPrinter broken;
    app().printer().SetDevice(broken);
    Open();
    Choose("102 BILL BETTY");
    const std::string before = Files();
    const std::string ledger = ReadBytes("dailycharge/dailycharge102BILLBETTY12526");
    // A call that came while the question was up is posted by the step, and is undone with it.
    const std::string call = testing::Call(" 102", "  1.25").text;
    app().gCallBuffer = call;
    dialogs().Answer(platform::vbYes);
    dialogs().Answer(platform::vbOK); // the printer's error
    folio().Command4.UserClick();
    EXPECT_EQ(LastBox().title, "Printer Error");
    EXPECT_EQ(Files(), before) << "no half check-out";
    EXPECT_EQ(ReadBytes("dailycharge/dailycharge102BILLBETTY12526"), ledger);
    EXPECT_EQ(app().gCallBuffer, call) << "the call waits to be posted again";
    app().printer().SetDevice(printer());
}

// The stay's charge would take the account's balance past what it holds to the cent: the
// check-out is refused whole, with a message, and the guest stays checked in.
TEST_F(CheckOutTest, ChargeThatWouldPassWhatTheAccountHoldsToTheCentIsRefused) {
    records::DirectBillAccount acme = records::ReadAccount(data(), 2);
    acme.Balance = 131000;
    records::WriteAccount(data(), 2, acme);
    Open();
    Choose("102 BILL BETTY");
    const std::string before = Files();
    dialogs().Answer(platform::vbYes);
    dialogs().Answer(platform::vbOK);
    folio().Command4.UserClick();
    EXPECT_EQ(LastBox().title, "Amount Too Large");
    EXPECT_THAT(LastBox().prompt,
                ::testing::StartsWith("The balance of direct bill account 1001 would come to 131120.5,"));
    EXPECT_EQ(Files(), before);
    EXPECT_TRUE(printer().TakeJobs().empty()) << "no folio printed for a check-out not made";
}

TEST_F(CheckOutTest, ElevenCharacterTimeIsCutToTen) {
    SetNow(12, 6, 2026, 10, 15, 30);
    Open();
    Choose("102 BILL BETTY");
    CheckOut();
    EXPECT_EQ(GuestIn(2).CheckOutTime, "10:15:30 A");
    EXPECT_EQ(records::ReadHistory(data()).at(0).CheckOutTime, "10:15:30 A");
    EXPECT_THAT(ReadBytes("history/history"), HasSubstr("\"10:15:30 A\""));
}

TEST_F(CheckOutTest, TwoDirectBillCheckOutsAddTwoDayLines) {
    GuestRecord second = FolioGuest("12", "BILL", "BOB", "Q");
    second.DBNumber = Fixed("1001", 8);
    AddGuest(second);
    Post(second, LedgerLine("12", "J", "ROLL AWAY", 12.35f));
    Open();
    Choose("102 BILL BETTY");
    CheckOut();
    Choose("12  BILL BOB");
    CheckOut();
    const std::vector<records::DbDailyLine> day = records::ReadDbDaily(data(), "12/6/26");
    ASSERT_EQ(day.size(), 2u);
    EXPECT_EQ(day[1].Room, "12 ");
    EXPECT_EQ(day[1].Amount, 12.35f);
    EXPECT_EQ(records::ReadAccount(data(), 2).Balance, 233.35f) << "100.5 + 120.5 + 12.35";
    EXPECT_EQ(records::ReadHistory(data()).size(), 2u);
}

// The folio window's pay-code and account labels follow the Edit Guest boxes before
// anything is saved, and keep an account line that was hidden: check-out goes by the
// stored record and prints the account it charges.
class CheckOutAfterEditTest : public CheckOutTest {
protected:
    // Opens Edit Guest on BILL BETTY, types into it, saves or cancels, and checks her out.
    void EditThenCheckOut(const std::function<void(Form9&)>& typing, bool save, bool refused) {
        Open();
        Choose("102 BILL BETTY");
        folio().Command5.UserClick();
        ASSERT_TRUE(IsLoaded("Form9"));
        typing(Form<Form9>());
        (save ? Form<Form9>().Command1 : Form<Form9>().Command2).UserClick();
        ASSERT_FALSE(IsLoaded("Form9"));
        dialogs().Answer(refused ? platform::vbOK : platform::vbYes);
        folio().Command4.UserClick();
    }
    void TypePayCodeN(Form9& edit) {
        while (!edit.Text1.Text().empty())
            edit.Text1.UserType(platform::vbKeyBack);
        edit.Text1.UserTypeText("N");
    }
};

TEST_F(CheckOutAfterEditTest, APayCodeTypedAndCancelledStillLeavesThroughTheAccount) {
    EditThenCheckOut([this](Form9& edit) { TypePayCodeN(edit); }, false, false);
    EXPECT_TRUE(GuestIn(2).IsFree());
    EXPECT_EQ(records::ReadAccount(data(), 2).Balance, 221.0f) << "ACME TRUCKING is charged";
    EXPECT_THAT(PrintedLines(), ::testing::Contains("DIRECT BILL ACCOUNT: 1001  ACME TRUCKING"));
}

TEST_F(CheckOutAfterEditTest, ACardPayCodeSavedWithoutAccountOwesTheBalance) {
    const std::string accounts = ReadBytes("directbill/dbmember");
    EditThenCheckOut([this](Form9& edit) { TypePayCodeN(edit); }, true, true);
    EXPECT_EQ(LastBox().title, "Balance Due");
    EXPECT_FALSE(GuestIn(2).IsFree());
    EXPECT_EQ(ReadBytes("directbill/dbmember"), accounts);
    EXPECT_FALSE(Exists("history/history"));
}

TEST_F(CheckOutAfterEditTest, TheAccountChargedIsTheAccountPrinted) {
    EditThenCheckOut(
        [](Form9& edit) {
            while (!edit.Text2.Text().empty())
                edit.Text2.UserType(platform::vbKeyBack);
            edit.Text2.UserTypeText("1000");
        },
        true, false);
    EXPECT_EQ(records::ReadAccount(data(), 1).Balance, 120.5f) << "OTHER CO is charged";
    EXPECT_EQ(records::ReadAccount(data(), 2).Balance, 100.5f);
    const std::vector<std::string> lines = PrintedLines();
    EXPECT_THAT(lines, ::testing::Contains("DIRECT BILL ACCOUNT: 1000  OTHER CO"));
    EXPECT_THAT(lines,
                ::testing::Contains(std::string(28, ' ') + "Account balance after this stay..... 120.5"));
    EXPECT_EQ(records::ReadDbDaily(data(), "12/6/26").at(0).Account, "1000 OTHER CO");
}

// A call of the room may come from the call box while "Are you sure ...?" is up. Nothing is
// written while a box is up inside a step, so the call waits; the check-out posts it before
// it reads the balance, and decides on that.
TEST_F(CheckOutTest, ACallThatComesWhileTheQuestionIsUpIsCountedBeforeTheGuestLeaves) {
    // Paid up in cash with an account line: may leave at 0, not owing a call.
    GuestRecord carl = FolioGuest("104", "CASH", "CARL", "L");
    carl.DBNumber = Fixed("1001", 8);
    AddGuest(carl);
    Post(carl, LedgerLine("104", "J", "ROLL AWAY", 10));
    Post(carl, LedgerLine("104", "L", "CASH REC.", 10));
    const struct {
        const char* item;
        const char* extension;
        long slot;
        const char* refusal; // the title of the box that keeps the guest in, or nullptr
        float account;       // ACME TRUCKING's balance after
    } cases[] = {
        {"101 SMITH JOHN", " 101", 1, "Balance Due", 100.5f}, // paid up, now owes the call
        {"104 CASH CARL", " 104", 3, "Check Out", 100.5f},    // the pay code does not settle the call
        {"102 BILL BETTY", " 102", 2, nullptr, 222.25f},      // 100.5 + 120.5 + the call
    };
    Open();
    ASSERT_TRUE(IsLoaded("Form50")) << "call capture runs while the folio is open";
    for (const auto& c : cases) {
        Choose(c.item);
        const GuestRecord guest = GuestIn(c.slot);
        const records::CallRecord call = testing::Call(c.extension, "  1.25");
        bool sent = false;
        app().on_modal = [&] {
            if (sent)
                return;
            sent = true;
            app().gCallBuffer = call.text;
            app().TimePassed(10);
        };
        const bool leaves = c.refusal == nullptr;
        dialogs().Answer(platform::vbYes);
        if (!leaves)
            dialogs().Answer(platform::vbOK);
        folio().Command4.UserClick();
        app().on_modal = nullptr;

        EXPECT_EQ(app().gCallBuffer, "") << c.item;
        const std::vector<records::StayLedgerLine> ledger = Ledger(guest);
        ASSERT_FALSE(ledger.empty());
        EXPECT_EQ(ledger.back().Code, "G") << c.item;
        EXPECT_EQ(ledger.back().Amount, 1.25f) << c.item;
        EXPECT_EQ(GuestIn(c.slot).IsFree(), leaves) << c.item;
        EXPECT_EQ(records::ReadAccount(data(), 2).Balance, c.account) << c.item;
        if (!leaves) {
            EXPECT_EQ(LastBox().title, c.refusal);
            EXPECT_EQ(folio().Label18.Caption(), "1.25") << "the balance shown is the one refused";
        }
    }
    EXPECT_EQ(records::ReadDbDaily(data(), "12/6/26").at(0).Amount, 121.75f);
    EXPECT_EQ(printer().TakeJobs().size(), 1u);
}

TEST_F(CheckOutTest, CheckBackInOpensOverTheFolio) {
    Open();
    if (!app().IsRegistered("Form40"))
        GTEST_SKIP() << "the Check Back In window is not registered in this build";
    folio().Command6.UserClick();
    EXPECT_TRUE(IsLoaded("Form40"));
    EXPECT_TRUE(IsLoaded("Form4"));
}

} // namespace
} // namespace vantreth
