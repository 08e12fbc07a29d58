// "Check In Now--->": every record a new stay writes, each payment type, the deposit, the
// do-not-rent warning, and the checks that refuse a check-in without writing anything.
#include "checkin/checkin_fixture.h"

#include "records/counters.h"
#include "records/day_totals.h"
#include "records/direct_bill.h"
#include "records/posting_codes.h"
#include "records/shift_cash.h"
#include "records/stay_ledger.h"
#include "stay/checkin_commit.h"

#include <fstream>
#include <functional>
#include <map>

namespace vantreth {
namespace {

using records::DayDetailLine;
using records::StayLedgerLine;
using testing::CheckInFixture;

constexpr size_t kVacant = 13, kService = 14;

StayLedgerLine Ledger(const std::string& room, const std::string& code, const std::string& text, float amount,
                      float tax = 0, const std::string& shift = "A") {
    return {.Room = room,
            .Shift = shift,
            .PostDate = "12/6/26",
            .Code = code,
            .Description = text,
            .Amount = amount,
            .TaxValue = tax};
}

DayDetailLine Detail(const std::string& room, const std::string& code, const std::string& text, float amount,
                     const std::string& shift = "A") {
    return {.Room = room,
            .Shift = shift,
            .PostDate = "12/6/26",
            .Code = code,
            .Description = text,
            .Amount = amount,
            .Clerk = "JD"};
}

std::string NoRentRecord(const std::string& last, const std::string& first) {
    return platform::Fixed(last, 15) + platform::Fixed(first, 15) + std::string(50, '\0');
}

class CheckInCommitTest : public CheckInFixture {
public:
    platform::FilePath LedgerOf(const std::string& name) const { return OnDisk("dailycharge/" + name); }
    std::vector<StayLedgerLine> StayLines(const std::string& name = "dailycharge101SMITHJOHN12626") const {
        return records::ReadStayLedger(LedgerOf(name));
    }
    std::vector<DayDetailLine> DetailLines() { return records::ReadDayDetail(app().data(), "12/6/26"); }
    records::DayTotals Totals() { return records::ReadDayTotals(app().data(), "12/6/26"); }
    records::GuestRecord Guest(long n) { return records::ReadGuest(app().data(), records::kGuestFile, n); }
};

// The whole stay of a cash guest, checked against the files' bytes and items.
TEST_F(CheckInCommitTest, CashCheckInWritesEveryRecord) {
    Open();
    const std::string roomsBefore = ReadBytes("rooms");
    FillIn();
    Retype(checkIn().Text11, "acme tools");
    Retype(checkIn().Text12, "12 main st");
    Retype(checkIn().Text13, "springfield");
    Retype(checkIn().Text14, "il");
    Retype(checkIn().Text15, "62701");
    Retype(checkIn().Text16, "555-1234");
    Retype(checkIn().Text19, "2");
    Retype(checkIn().Text20, "late arrival");
    ASSERT_EQ(checkIn().Text7.Text(), "55");
    CommitWithoutDeposit();
    EXPECT_EQ(LastBox().title, "Phone Deposit?");
    EXPECT_EQ(LastBox().prompt,
              "If the guest is giving you cash for a phone deposit, enter the amount below. If not, "
              "just press 'Enter' or click OK.");

    records::GuestRecord expected;
    expected.LastName = platform::Fixed("SMITH", 15);
    expected.FirstName = platform::Fixed("JOHN", 15);
    expected.Company = platform::Fixed("ACME TOOLS", 20);
    expected.Street = platform::Fixed("12 MAIN ST", 25);
    expected.City = platform::Fixed("SPRINGFIELD", 20);
    expected.State = "IL";
    expected.Zip = "62701 ";
    expected.Phone = platform::Fixed("555-1234", 15);
    expected.RegCard = "R1234 ";
    expected.Clerk = "JD";
    expected.Room = "101";
    expected.Adults = 1;
    expected.Children = 2;
    expected.Nights = 1;
    expected.TaxExempt = 0;
    expected.PayCode = "L";
    expected.CheckInTime = "3:45:12 PM";
    expected.ArrivalDate = platform::Fixed("12/6/26", 10);
    expected.CheckOutTime = std::string(10, ' ');
    expected.DepartureDate = platform::Fixed("12/7/26", 10);
    expected.Rate = 50;
    expected.CardNumber = platform::Fixed("none", 40);
    expected.CardExpiry = platform::Fixed("none", 10);
    expected.DBNumber = std::string(8, ' ');
    expected.FolioNumber = "1    ";
    expected.Comment = platform::Fixed("LATE ARRIVAL", 160);
    const std::string guestBytes = ReadBytes("guest");
    EXPECT_EQ(guestBytes, expected.Encode());
    ASSERT_EQ(guestBytes.size(), 467u);
    EXPECT_EQ(guestBytes.substr(126, 3), "101");
    EXPECT_EQ(guestBytes.substr(145, 11), "L3:45:12 PM");
    EXPECT_EQ(guestBytes.substr(244, 13), std::string(8, ' ') + "1    ");
    EXPECT_EQ(guestBytes.substr(417), std::string(50, ' ')) << "the reservation fields are blank";

    EXPECT_EQ(ReadBytes("folio"), std::string("\x00\x00\x80\x3f", 4)) << "LastFolio 1 as a Single";

    EXPECT_EQ(ReadBytes("dailycharge/dailycharge101SMITHJOHN12626"),
              "\"101\",\"A\",\"12/6/26\",\"E\",\"ROOM RENT\",50,5,\"-----\",\"-----\",\"-----\"\r\n"
              "\"101\",\"A\",\"12/6/26\",\"L\",\"CASH REC.\",55,0,\"-----\",\"-----\",\"-----\"\r\n");
    EXPECT_EQ(DetailLines(), (std::vector<DayDetailLine>{Detail("101", "E", "ROOM RENT", 50),
                                                         Detail("101", "L", "CASH REC.", 55)}));

    records::DayTotals totals;
    totals.RoomRent = 50;
    totals.GrossRent = 55;
    totals.Tax = 5;
    totals.Cash = 55;
    EXPECT_EQ(Totals(), totals);

    const records::ShiftCash cash = records::ReadShiftCash(app().data(), "A", "12/6/26");
    EXPECT_EQ(cash.Shift, "A");
    EXPECT_EQ(cash.Clerk, "JD");
    EXPECT_EQ(cash.DateText, platform::Fixed("12/6/26", 10));
    EXPECT_EQ(cash.CashFromRent, 55);

    EXPECT_EQ(records::ReadShiftRentals(app().data(), "A", "12/6/26"),
              (std::vector<records::ShiftRentalLine>{{"101", "A", "JD", {15, 45, 12}}}));
    EXPECT_EQ(ReadBytes("shiftrentals/A12626"), "\"101\",\"A\",\"JD\",#15:45:12#\r\n");
    EXPECT_EQ(records::ReadRoomsRented(app().data(), "12/6/26").RoomsRented, 1);

    std::string rooms = roomsBefore;
    rooms[kVacant] = 'N';
    rooms[kService] = 'O';
    EXPECT_EQ(ReadBytes("rooms"), rooms) << "only room 101's Vacant and Service change";
}

TEST_F(CheckInCommitTest, CommitGreysTheWindowAndAsksDuplicate) {
    Open();
    FillIn();
    app().gHistoryFromButton = 1;
    CommitWithoutDeposit();
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &checkIn().Command2, &checkIn().Command6, &checkIn().Command3, &checkIn().Frame1,
             &checkIn().Frame3, &checkIn().Frame4, &checkIn().Frame5, &checkIn().Frame6, &checkIn().Frame7})
        EXPECT_FALSE(c->Enabled()) << c->Name();
    EXPECT_TRUE(IsLoaded("form2"));
    EXPECT_TRUE(IsLoaded("Form15"));
    EXPECT_EQ(app().gDuplicatePromptOpen, 1);
    EXPECT_EQ(app().gHistoryFromButton, 0);
}

TEST_F(CheckInCommitTest, TaxExemptStayKeepsTheLineTaxButAddsNoDayTax) {
    Open();
    FillIn();
    checkIn().Check1.UserClick();
    ASSERT_EQ(checkIn().Text7.Text(), "50");
    CommitWithoutDeposit();
    EXPECT_EQ(Guest(1).TaxExempt, 1);
    EXPECT_EQ(StayLines()[0], Ledger("101", "E", "ROOM RENT", 50, 5));
    const records::DayTotals totals = Totals();
    EXPECT_EQ(totals.RoomRent, 50);
    EXPECT_EQ(totals.GrossRent, 50);
    EXPECT_EQ(totals.Tax, 0);
}

TEST_F(CheckInCommitTest, DayTotalsAreRoundedAfterEachAddition) {
    records::WriteTaxRate(app().data(), 0.0725);
    records::DayTotals before;
    before.RoomRent = 100;
    before.GrossRent = 107.25f;
    before.Tax = 7.25f;
    records::WriteDayTotals(app().data(), "12/6/26", before);
    Open();
    FillIn();
    Retype(checkIn().Text2, "33.33");
    Retype(checkIn().Text7, "");
    Commit();
    const records::DayTotals totals = Totals();
    EXPECT_EQ(totals.RoomRent, 133.33f);
    EXPECT_EQ(totals.GrossRent, 143.0f) << "107.25 + 35.746425";
    EXPECT_EQ(totals.Tax, 9.67f) << "7.25 + 2.416425";
    EXPECT_EQ(totals.Cash, 0);
    EXPECT_EQ(StayLines(), (std::vector<StayLedgerLine>{Ledger("101", "E", "ROOM RENT", 33.33f, 2.42f)}));
}

TEST_F(CheckInCommitTest, EmptyCashBoxPostsNoCashAndNoShiftCash) {
    Open();
    FillIn();
    Retype(checkIn().Text7, "");
    Commit();
    EXPECT_EQ(StayLines().size(), 1u);
    EXPECT_EQ(DetailLines().size(), 1u);
    EXPECT_EQ(Totals().Cash, 0);
    EXPECT_FALSE(Exists("shiftcash/A12626"));
}

TEST(DepositTest, AskedOnlyWhenTheWholeStayIsPaidInCash) {
    struct Case {
        const char* cash;
        bool asked;
    };
    const Case cases[] = {{"55", true}, {"55.00", true}, {"60", false}, {"50", false}};
    for (const Case& c : cases) {
        stay::CheckInEntry entry{.payment = "CASH or CHECK", .cash = c.cash, .totalStay = "55"};
        EXPECT_EQ(stay::AsksForDeposit(entry), c.asked) << "cash " << c.cash;
    }
    EXPECT_TRUE(stay::AsksForDeposit({.payment = "CASH or CHECK", .cash = "", .totalStay = "0"}))
        << "an empty cash box equals a total of 0";
    EXPECT_FALSE(stay::AsksForDeposit({.payment = "VISA/MASTER", .cash = "", .totalStay = ""}));
}

TEST_F(CheckInCommitTest, CashOtherThanTheTotalIsPostedWithoutADepositPrompt) {
    Open();
    FillIn();
    Retype(checkIn().Text7, "60");
    Commit();
    EXPECT_EQ(StayLines()[1], Ledger("101", "L", "CASH REC.", 60));
    EXPECT_EQ(records::ReadShiftCash(app().data(), "A", "12/6/26").CashFromRent, 60);
}

TEST_F(CheckInCommitTest, ZeroTotalWithEmptyCashAsksForADeposit) {
    Open();
    FillIn();
    Retype(checkIn().Text2, "0");
    Retype(checkIn().Text7, "");
    CommitWithoutDeposit();
    EXPECT_EQ(LastBox().title, "Phone Deposit?");
    EXPECT_EQ(StayLines(), (std::vector<StayLedgerLine>{Ledger("101", "E", "ROOM RENT", 0)}));
}

TEST_F(CheckInCommitTest, DepositIsPostedAsCashEverywhere) {
    Open();
    FillIn();
    const std::string deposit = "20";
    Commit(&deposit);
    EXPECT_EQ(StayLines(), (std::vector<StayLedgerLine>{Ledger("101", "E", "ROOM RENT", 50, 5),
                                                        Ledger("101", "L", "CASH REC.", 55),
                                                        Ledger("101", "L", "CASH REC.", 20)}));
    EXPECT_EQ(DetailLines().back(), Detail("101", "L", "CASH REC.", 20));
    EXPECT_EQ(Totals().Cash, 75);
    EXPECT_EQ(records::ReadShiftCash(app().data(), "A", "12/6/26").CashFromRent, 75);
}

TEST_F(CheckInCommitTest, DepositAnswersThatPostNothing) {
    struct Case {
        std::string answer;
        const char* room;
        const char* ledger;
    };
    const Case cases[] = {{"", "101 NQ1  ", "dailycharge101SMITHJOHN12626"},
                          {"0", "104 K11  ", "dailycharge104SMITHJOHN12626"},
                          {" 0.00 ", "12  SNQ3 ", "dailycharge12 SMITHJOHN12626"}};
    float cash = 0;
    for (const Case& c : cases) {
        Open();
        FillIn(c.room);
        cash += static_cast<float>(platform::Val(checkIn().Text7.Text()));
        Commit(&c.answer);
        EXPECT_EQ(StayLines(c.ledger).size(), 2u) << "answer \"" << c.answer << "\"";
        EXPECT_EQ(Totals().Cash, cash) << "answer \"" << c.answer << "\"";
        Form<Form15>().Command2.UserClick();
    }
}

// Mended: a deposit typed as something other than an amount is asked for again.
TEST_F(CheckInCommitTest, DepositThatIsNotAnAmountIsAskedAgain) {
    Open();
    FillIn();
    dialogs().Answer(platform::vbYes);
    dialogs().Input("abc");
    dialogs().Answer(platform::vbOK);
    dialogs().Input("-5");
    dialogs().Answer(platform::vbOK);
    dialogs().Input("12.5");
    checkIn().Command2.UserClick();
    ExpectNoPendingAnswers();
    const auto& shown = dialogs().shown();
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_EQ(shown[2].title, "WARNING");
    EXPECT_EQ(shown[2].prompt, stay::kBadDepositMessage);
    EXPECT_EQ(shown[4].title, "WARNING");
    EXPECT_EQ(StayLines().back(), Ledger("101", "L", "CASH REC.", 12.5f));
    EXPECT_EQ(Totals().Cash, 67.5f);
}

// Each card in a room of its own, two nights each.
TEST_F(CheckInCommitTest, CardPaymentPostsTheStayTotalToTheCardsField) {
    struct Case {
        const char* payment;
        const char* code;
        records::DayTotalsField field;
        const char* room;
        float rate;
        const char* total;
    };
    const Case cases[] = {
        {"VISA/MASTER", "N", records::DayTotalsField::VisaMaster, "101 NQ1  ", 50, "110"},
        {"AMERICAN EX.", "M", records::DayTotalsField::AmericanExpress, "102 NDD1 ", 49.99f, "109.98"},
        {"DISCOVER", "P", records::DayTotalsField::Discover, "12  SNQ3 ", 80, "176"},
        {"DINERS", "O", records::DayTotalsField::Diners, "104 K11  ", 45, "99"}};
    long slot = 0;
    for (const Case& c : cases) {
        Open();
        FillIn(c.room, c.payment);
        EXPECT_FALSE(checkIn().Text7.Enabled()) << c.payment;
        checkIn().Text1.UserClick();
        checkIn().Text1.UserType('2');
        ASSERT_EQ(checkIn().Label25.Caption(), c.total) << c.payment;
        Commit();
        const records::GuestRecord guest = Guest(++slot);
        EXPECT_EQ(guest.PayCode, c.code) << c.payment;
        const float total = static_cast<float>(platform::Val(c.total));
        const std::string room = platform::Left(c.room, 3);
        const std::vector<StayLedgerLine> lines =
            records::ReadStayLedger(records::StayLedgerPath(app().data(), guest));
        ASSERT_EQ(lines.size(), 2u) << c.payment;
        EXPECT_EQ(lines[1], Ledger(room, c.code, c.payment, total)) << c.payment;
        EXPECT_EQ(DetailLines().back(), Detail(room, c.code, c.payment, total)) << c.payment;
        EXPECT_EQ(Totals().Amount(c.field), total) << c.payment;
        EXPECT_EQ(Totals().Cash, 0) << c.payment;
        EXPECT_FALSE(Exists("shiftcash/A12626")) << c.payment;
        Form<Form15>().Command2.UserClick();
    }
}

TEST_F(CheckInCommitTest, DirectBillStoresTheAccountCodeAndPostsNoPayment) {
    records::DirectBillAccount account;
    account.CompanyName = platform::Fixed("ACME TOOLS", 80);
    account.DBNumber = platform::Fixed("1001", 7);
    account.Balance = 250.5f;
    records::AppendAccount(app().data(), account);
    Open();
    FillIn("101 NQ1  ", "DIRECT BILL");
    ASSERT_TRUE(checkIn().Combo5.UserPick("1001 ACME TOOLS"));
    Commit();
    const records::GuestRecord guest = Guest(1);
    EXPECT_EQ(guest.PayCode, "Q");
    EXPECT_EQ(guest.DBNumber, "1001    ");
    EXPECT_EQ(StayLines(), (std::vector<StayLedgerLine>{Ledger("101", "E", "ROOM RENT", 50, 5)}));
    const records::DayTotals totals = Totals();
    EXPECT_EQ(totals.Cash + totals.VisaMaster + totals.AmericanExpress + totals.Discover + totals.Diners, 0);
}

TEST_F(CheckInCommitTest, AdditionalFeeIsPostedAsPetOrOther) {
    Open();
    FillIn();
    checkIn().Command6.UserClick();
    ASSERT_TRUE(Form<Form64>().Combo1.UserPick("ROLL AWAY"));
    Form<Form64>().Text1.UserTypeText("10");
    dialogs().Answer(platform::vbOK);
    Form<Form64>().Command2.UserClick();
    ASSERT_EQ(checkIn().Text7.Text(), "65");
    CommitWithoutDeposit();
    EXPECT_EQ(StayLines(), (std::vector<StayLedgerLine>{Ledger("101", "E", "ROOM RENT", 50, 5),
                                                        Ledger("101", "J", "ROLL AWAY", 10),
                                                        Ledger("101", "L", "CASH REC.", 65)}));
    EXPECT_EQ(DetailLines(), (std::vector<DayDetailLine>{Detail("101", "E", "ROOM RENT", 50),
                                                         Detail("101", "J", "ROLL AWAY", 10),
                                                         Detail("101", "L", "CASH REC.", 65)}));
    const records::DayTotals totals = Totals();
    EXPECT_EQ(totals.RoomRent, 50);
    EXPECT_EQ(totals.PetOther, 10);
    EXPECT_EQ(totals.Cash, 65);
}

TEST_F(CheckInCommitTest, EarlyMorningCheckInOnShiftADepartsADayEarlier) {
    struct Case {
        int hour;
        const char* shift;
        const char* room;
        const char* departure;
    };
    // The afternoon last: a morning after it is past midnight, when the date hold sets the
    // business date back.
    const Case cases[] = {{4, "A", "101 NQ1  ", "12/7/26"},
                          {4, "B", "104 K11  ", "12/8/26"},
                          {16, "A", "102 NDD1 ", "12/8/26"}};
    long slot = 0;
    for (const Case& c : cases) {
        // As the Change Shift window does: the shift file and the shared variables.
        records::WriteShift(app().data(), {c.shift, "JD"});
        app().gShift = c.shift;
        SetNow(12, 6, 2026, c.hour, 10, 0);
        Open();
        FillIn(c.room);
        checkIn().Text1.UserClick();
        checkIn().Text1.UserType('2');
        Retype(checkIn().Text7, "");
        Commit();
        const records::GuestRecord guest = Guest(++slot);
        EXPECT_EQ(guest.DepartureDate, platform::Fixed(c.departure, 10)) << c.hour << ":10 shift " << c.shift;
        EXPECT_EQ(guest.Nights, 2);
        Form<Form15>().Command2.UserClick();
    }
}

TEST_F(CheckInCommitTest, CheckInTimeIsCutToTenCharacters) {
    SetNow(12, 6, 2026, 23, 45, 12);
    Open();
    FillIn();
    Retype(checkIn().Text7, "");
    Commit();
    EXPECT_EQ(Guest(1).CheckInTime, "11:45:12 P");
    EXPECT_EQ(records::ReadShiftRentals(app().data(), "A", "12/6/26")[0].TimeRented,
              (platform::TimeOfDay{23, 45, 12}));
}

TEST_F(CheckInCommitTest, NewStayTakesTheFirstFreeSlotAndBlanksTheReservationFields) {
    records::GuestRecord old;
    old.LastName = platform::Fixed("GONE", 15);
    old.FirstName = platform::Fixed("GUEST", 15);
    old.Room = "104";
    old.CashDeposit = platform::Fixed("99", 10);
    old.ConfirmationNumber = platform::Fixed("C123", 10);
    records::GuestRecord inHouse = old;
    inHouse.LastName = platform::Fixed("STAYING", 15);
    inHouse.Room = "102";
    old.ClearStay();
    records::WriteGuest(app().data(), records::kGuestFile, 1, inHouse);
    records::WriteGuest(app().data(), records::kGuestFile, 2, old);
    records::WriteGuest(app().data(), records::kGuestFile, 3, inHouse);
    Open();
    FillIn();
    Retype(checkIn().Text7, "");
    Commit();
    EXPECT_EQ(records::GuestCount(app().data(), records::kGuestFile), 3);
    const records::GuestRecord slot2 = Guest(2);
    EXPECT_EQ(slot2.LastName, platform::Fixed("SMITH", 15));
    EXPECT_EQ(slot2.CashDeposit, std::string(10, ' '));
    EXPECT_EQ(slot2.ConfirmationNumber, std::string(10, ' '));
    EXPECT_EQ(Guest(3), inHouse);
}

TEST_F(CheckInCommitTest, FullGuestFileGrowsByOneRecord) {
    records::GuestRecord inHouse;
    inHouse.LastName = platform::Fixed("STAYING", 15);
    inHouse.Room = "102";
    records::WriteGuest(app().data(), records::kGuestFile, 1, inHouse);
    Open();
    FillIn();
    Retype(checkIn().Text7, "");
    Commit();
    EXPECT_EQ(records::GuestCount(app().data(), records::kGuestFile), 2);
    EXPECT_EQ(Guest(2).Room, "101");
}

TEST_F(CheckInCommitTest, FolioNumberFollowsTheCounterAndIsCutToFiveCharacters) {
    struct Case {
        float last;
        const char* room;
        const char* stored;
    };
    const Case cases[] = {
        {41, "101 NQ1  ", "42   "}, {99998, "102 NDD1 ", "99999"}, {99999, "104 K11  ", "10000"}};
    long slot = 0;
    for (const Case& c : cases) {
        records::WriteFolioCounter(app().data(), {c.last});
        Open();
        FillIn(c.room);
        Retype(checkIn().Text7, "");
        Commit();
        EXPECT_EQ(Guest(++slot).FolioNumber, c.stored) << "last folio " << c.last;
        EXPECT_EQ(records::ReadFolioCounter(app().data()).LastFolio, c.last + 1) << "last folio " << c.last;
        Form<Form15>().Command2.UserClick();
    }
}

TEST_F(CheckInCommitTest, TwoCharacterRoomKeepsItsBlankInTheLedgerName) {
    Open();
    FillIn("12  SNQ3 ");
    Retype(checkIn().Text7, "");
    Commit();
    EXPECT_EQ(Guest(1).Room, "12 ");
    EXPECT_EQ(StayLines("dailycharge12 SMITHJOHN12626"),
              (std::vector<StayLedgerLine>{Ledger("12 ", "E", "ROOM RENT", 80, 8)}));
    EXPECT_EQ(records::ReadRoom(app().data(), 3).Service, "O");
}

TEST_F(CheckInCommitTest, LedgerShiftComesFromTheShiftFileAndShiftFilesFromTheCurrentShift) {
    Open();
    records::WriteShift(app().data(), {"B", "XY"});
    FillIn();
    CommitWithoutDeposit();
    EXPECT_EQ(StayLines()[0].Shift, "B");
    EXPECT_EQ(DetailLines()[0].Shift, "B");
    EXPECT_EQ(DetailLines()[0].Clerk, "JD");
    EXPECT_EQ(records::ReadShiftRentals(app().data(), "A", "12/6/26").size(), 1u);
    EXPECT_EQ(records::ReadShiftCash(app().data(), "A", "12/6/26").CashFromRent, 55);
}

TEST_F(CheckInCommitTest, RoomMissingFromTheRoomFileIsStillCheckedIn) {
    Open();
    FillIn();
    WriteBytes("rooms", "");
    AddRoom(testing::Room({.room = "102", .type = "NDD1", .rate = 49.99f, .comment = "QUIET"}));
    const std::string rooms = ReadBytes("rooms");
    CommitWithoutDeposit();
    EXPECT_EQ(ReadBytes("rooms"), rooms);
    EXPECT_EQ(Guest(1).Room, "101");
    EXPECT_EQ(records::ReadRoomsRented(app().data(), "12/6/26").RoomsRented, 1);
}

TEST_F(CheckInCommitTest, DoNotRentMatchWarnsOncePerRecordThenAsks) {
    WriteBytes("norent",
               NoRentRecord("SMITH", "JOHN") + NoRentRecord("DOE", "JANE") + NoRentRecord(" SMITH ", "JOHN"));
    Open();
    FillIn("101 NQ1  ", "CASH or CHECK", "SMITH", "JOHN");
    dialogs().ClearShown();
    dialogs().Answer(platform::vbOK);
    dialogs().Answer(platform::vbOK);
    dialogs().Answer(platform::vbNo);
    const auto before = DataImage(testing::EmptyFiles::LeftOut);
    checkIn().Command2.UserClick();
    ExpectNoPendingAnswers();
    const auto& shown = dialogs().shown();
    ASSERT_EQ(shown.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(shown[i].title, "WARNING");
        EXPECT_EQ(
            shown[i].prompt,
            "The first and last name matches a name in the no rent list. Just thought I would let you know.");
    }
    EXPECT_EQ(shown[2].title, "Check In");
    EXPECT_EQ(shown[2].prompt, "Are you sure you want to check this guest in now?");
    EXPECT_EQ(shown[2].style, platform::vbYesNo | platform::vbQuestion);
    EXPECT_EQ(DataImage(testing::EmptyFiles::LeftOut), before) << "No writes nothing";
}

TEST_F(CheckInCommitTest, LowerCaseNameDoesNotMatchTheDoNotRentList) {
    WriteBytes("norent", NoRentRecord("SMITH", "JOHN"));
    Open();
    FillIn();
    dialogs().ClearShown();
    dialogs().Answer(platform::vbNo);
    checkIn().Command2.UserClick();
    ASSERT_EQ(dialogs().shown().size(), 1u);
    EXPECT_EQ(LastBox().title, "Check In");
}

TEST_F(CheckInCommitTest, AnsweringNoWritesNothingAndTheNextPressStartsAgain) {
    Open();
    FillIn();
    const auto before = DataImage(testing::EmptyFiles::LeftOut);
    dialogs().Answer(platform::vbNo);
    checkIn().Command2.UserClick();
    EXPECT_EQ(DataImage(testing::EmptyFiles::LeftOut), before);
    EXPECT_TRUE(checkIn().Command2.Enabled());
    EXPECT_FALSE(IsLoaded("Form15"));

    Retype(checkIn().Text17, "");
    dialogs().Answer(platform::vbOK);
    checkIn().Command2.UserClick();
    EXPECT_EQ(LastBox().title, "WARNING") << "the checks run again";
    EXPECT_EQ(DataImage(testing::EmptyFiles::LeftOut), before);
}

// Every refusal: its message, the box given the focus, and not one byte written.
TEST_F(CheckInCommitTest, RefusedCheckInWritesNothing) {
    struct Case {
        const char* what;
        std::function<void(CheckInCommitTest&)> arrange;
        std::string message;
        std::string focus;
    };
    auto typeNights = [](const char* text) {
        return [text](CheckInCommitTest& t) {
            t.FillIn();
            t.checkIn().Text1.UserClick();
            t.checkIn().Text1.UserTypeText(text);
        };
    };
    const std::vector<Case> cases = {
        {"no room chosen",
         [](CheckInCommitTest& t) {
             t.checkIn().Text1.UserClick();
             t.checkIn().Text1.UserType('2');
             // The first name first: the last name's change then enables "Check In Now--->".
             t.Retype(t.checkIn().Text10, "JOHN");
             t.Retype(t.checkIn().Text9, "SMITH");
             t.Retype(t.checkIn().Text17, "R1");
         },
         "You did not select a room. Select a room or click 'Cancel' to exit this module.", "Combo1"},
        {"no registration card",
         [](CheckInCommitTest& t) {
             t.FillIn();
             t.Retype(t.checkIn().Text17, "");
         },
         "You did not Enter a regcard #. Enter a number or click 'Cancel' to exit this module.", "Text17"},
        {"direct bill without an account", [](CheckInCommitTest& t) { t.FillIn("101 NQ1  ", "DIRECT BILL"); },
         "You did not select a direct bill. Select a direct bill or click 'Cancel' to exit this module.",
         "Combo5"},
        {"no payment chosen",
         [](CheckInCommitTest& t) {
             ASSERT_TRUE(t.checkIn().Combo1.UserPick("101 NQ1  "));
             // The first name first: the last name's change then enables "Check In Now--->".
             t.Retype(t.checkIn().Text10, "JOHN");
             t.Retype(t.checkIn().Text9, "SMITH");
             t.Retype(t.checkIn().Text17, "R1");
         },
         "You did not choose a payment. Choose a payment or click 'Cancel' to exit this module.", "Combo2"},
        {"nights not a number", typeNights("x"), stay::ProblemMessage(stay::EntryProblem::BadNights),
         "Text1"},
        {"part of a night", typeNights("2.5"), stay::ProblemMessage(stay::EntryProblem::BadNights), "Text1"},
        {"no night: the departure would be the arrival", typeNights("0"),
         stay::ProblemMessage(stay::EntryProblem::BadNights), "Text1"},
        {"rate with parts of a cent",
         [](CheckInCommitTest& t) {
             t.FillIn();
             t.Retype(t.checkIn().Text2, "45.505");
         },
         records::kCentsMessage, "Text2"},
        {"cash with parts of a cent",
         [](CheckInCommitTest& t) {
             t.FillIn();
             t.Retype(t.checkIn().Text7, "100.0015");
         },
         records::kCentsMessage, "Text7"},
        // A record keeps every cent only up to 131,071.99: 131,072.01 would be kept as 131,072.
        {"rate past what a record keeps to the cent",
         [](CheckInCommitTest& t) {
             t.FillIn();
             t.Retype(t.checkIn().Text2, "131072.01");
         },
         records::kAmountTooLargeMessage, "Text2"},
        {"cash past what a record keeps to the cent",
         [](CheckInCommitTest& t) {
             t.FillIn();
             t.Retype(t.checkIn().Text7, "150000.01");
         },
         records::kAmountTooLargeMessage, "Text7"},
        {"rate not a number",
         [](CheckInCommitTest& t) {
             t.FillIn();
             t.Retype(t.checkIn().Text2, "fifty");
         },
         "The rate you typed is not a number. Please type the rate in dollars, like 45.50.", "Text2"},
        {"children not a number",
         [](CheckInCommitTest& t) {
             t.FillIn();
             t.Retype(t.checkIn().Text19, "x");
         },
         stay::ProblemMessage(stay::EntryProblem::BadChildren), "Text19"},
        {"cash not a number",
         [](CheckInCommitTest& t) {
             t.FillIn();
             t.Retype(t.checkIn().Text7, "55 bucks");
         },
         stay::ProblemMessage(stay::EntryProblem::BadCash), "Text7"},
        {"negative cash",
         [](CheckInCommitTest& t) {
             t.FillIn();
             t.Retype(t.checkIn().Text7, "-5");
         },
         stay::ProblemMessage(stay::EntryProblem::BadCash), "Text7"},
        {"room already taken",
         [](CheckInCommitTest& t) {
             records::GuestRecord inHouse;
             inHouse.LastName = platform::Fixed("STAYING", 15);
             inHouse.Room = "101";
             records::WriteGuest(t.app().data(), records::kGuestFile, 1, inHouse);
             t.FillIn();
         },
         "Room 101 already has a guest checked in. Select another room or click 'Cancel' to exit this "
         "module.",
         "Combo1"},
        {"no tax rate",
         [](CheckInCommitTest& t) {
             t.FillIn();
             std::filesystem::remove(t.DataFile("tax"));
         },
         "The tax rate has not been set. Set the tax rates from the Main Menu before checking a guest in.",
         "Command2"},
        // Last: the folio it leaves behind stays.
        {"a stay of these names arrived in this room today and was checked out",
         [](CheckInCommitTest& t) {
             records::GuestRecord gone;
             gone.LastName = platform::Fixed("SMITH", 15);
             gone.FirstName = platform::Fixed("JOHN", 15);
             gone.Room = "101";
             gone.ArrivalDate = platform::Fixed(t.app().clock().DateText(), 10);
             records::AppendStayLedgerLine(records::StayLedgerPath(t.app().data(), gone), {.Code = "E"});
             t.FillIn();
         },
         stay::ProblemMessage(stay::EntryProblem::LedgerTaken), "Combo1"},
    };
    for (const Case& c : cases) {
        Restart();
        std::filesystem::remove(DataFile("guest"));
        records::WriteTaxRate(app().data(), 0.1);
        Open();
        c.arrange(*this);
        const auto before = DataImage(testing::EmptyFiles::LeftOut);
        dialogs().ClearShown();
        dialogs().Answer(platform::vbOK);
        ASSERT_TRUE(checkIn().Command2.Usable()) << c.what;
        checkIn().Command2.UserClick();
        ExpectNoPendingAnswers();
        ASSERT_EQ(dialogs().shown().size(), 1u) << c.what;
        EXPECT_EQ(LastBox().title, "WARNING") << c.what;
        EXPECT_EQ(LastBox().prompt, c.message) << c.what;
        ASSERT_NE(checkIn().ActiveControl(), nullptr) << c.what;
        EXPECT_EQ(checkIn().ActiveControl()->Name(), c.focus) << c.what;
        EXPECT_EQ(DataImage(testing::EmptyFiles::LeftOut), before) << c.what;
        EXPECT_FALSE(IsLoaded("Form15")) << c.what;
        checkIn().Command3.UserClick();
    }
}

TEST_F(CheckInCommitTest, RefusalsPutThePlaceholdersBack) {
    Open();
    FillIn("101 NQ1  ", "DIRECT BILL");
    checkIn().Combo5.SetText("");
    dialogs().Answer(platform::vbOK);
    checkIn().Command2.UserClick();
    EXPECT_EQ(checkIn().Combo5.Text(), "select direct bill client");

    records::GuestRecord inHouse;
    inHouse.LastName = platform::Fixed("STAYING", 15);
    inHouse.Room = "101";
    records::WriteGuest(app().data(), records::kGuestFile, 1, inHouse);
    ASSERT_TRUE(checkIn().Combo2.UserPick("VISA/MASTER"));
    dialogs().Answer(platform::vbOK);
    checkIn().Command2.UserClick();
    EXPECT_EQ(checkIn().Combo1.Text(), "select room");
}

TEST(CheckEntryTest, ChecksRunInTheirOrder) {
    const stay::CheckInEntry good{.roomChoice = "101 NQ1  ",
                                  .regCard = "R1",
                                  .nights = "1",
                                  .rate = "50",
                                  .payment = "CASH or CHECK",
                                  .cash = "55"};
    EXPECT_FALSE(stay::CheckEntry(good));
    struct Case {
        std::function<void(stay::CheckInEntry&)> change;
        stay::EntryProblem problem;
        const char* what;
    };
    using P = stay::EntryProblem;
    const Case cases[] = {
        {[](auto& e) {
             e.roomChoice = "";
             e.regCard = "";
         },
         P::NoRoom, "empty room before regcard"},
        {[](auto& e) { e.roomChoice = "select room"; }, P::NoRoom, "placeholder room"},
        {[](auto& e) {
             e.regCard = "";
             e.payment = "choose payment";
         },
         P::NoRegCard, "regcard before payment"},
        {[](auto& e) {
             e.payment = "DIRECT BILL";
             e.account = "select direct bill client";
         },
         P::NoDirectBill, "placeholder account"},
        {[](auto& e) {
             e.payment = "choose payment";
             e.nights = "x";
         },
         P::NoPayment, "payment before nights"},
        {[](auto& e) { e.nights = ""; }, P::BadNights, "empty nights"},
        {[](auto& e) { e.nights = "10000"; }, P::BadNights, "too many nights"},
        {[](auto& e) { e.rate = ""; }, P::BadRate, "empty rate"},
        {[](auto& e) { e.children = "two"; }, P::BadChildren, "children in words"},
        {[](auto& e) { e.cash = "1e3"; }, P::BadCash, "cash with an exponent"},
    };
    for (const Case& c : cases) {
        stay::CheckInEntry entry = good;
        c.change(entry);
        EXPECT_EQ(stay::CheckEntry(entry), c.problem) << c.what;
    }
    stay::CheckInEntry card = good;
    card.payment = "VISA/MASTER";
    card.cash = "not looked at";
    EXPECT_FALSE(stay::CheckEntry(card)) << "the cash box counts only for cash";
    for (const char* nights : {"1", "9999"}) {
        stay::CheckInEntry entry = good;
        entry.nights = nights;
        EXPECT_FALSE(stay::CheckEntry(entry)) << nights << " nights";
    }
}

} // namespace
} // namespace vantreth
