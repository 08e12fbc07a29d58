// Check Back In: today's check-outs listed from the history file, the rooms a stay may go
// back into, the guest record re-created from the history entry, the room marked occupied,
// the ledger carried when the room changed, and the refusals that write nothing.
#include "support/app_fixture.h"
#include "support/builders.h"

#include "folio/check_back_in.h"
#include "folio/form4.h"
#include "folio/form40.h"
#include "platform/decimal.h"
#include "platform/text.h"
#include "records/direct_bill.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/history.h"
#include "records/ledger_rename.h"
#include "records/room_record.h"
#include "records/settings_files.h"
#include "records/shift_record.h"
#include "records/stay_ledger.h"
#include "stay/guest_entry.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vantreth {
namespace {

using platform::Fixed;
using testing::AppFixture;
using testing::LedgerLine;

constexpr size_t kGuestLength = records::GuestRecord::kLength;
constexpr platform::Date kToday{2026, 12, 6};

// A room of these tests: rate 45.50 and a comment, which the window must keep as they are.
records::RoomRecord KeptRoom(testing::RoomSpec spec) {
    spec.rate = 45.5f;
    spec.comment = "CHECK THE TV";
    return testing::Room(spec);
}

// A guest with the whole card filled in, tax exempt and paying by card.
records::GuestRecord Guest(const std::string& last, const std::string& first, const std::string& room) {
    records::GuestRecord guest = testing::RegisteredGuest(room, last, first);
    guest.TaxExempt = 1;
    guest.PayCode = "N";
    guest.Rate = 39.95f;
    guest.CardNumber = "4111111111111111";
    guest.CardExpiry = "1/28";
    guest.ReservedOn = "12/1/26";
    guest.CardDeposit = "20";
    guest.ConfirmationNumber = "C-7";
    guest.CashDeposit = "0";
    return testing::Stored(guest);
}

records::GuestRecord Reservation(const std::string& room, const std::string& arrival) {
    records::GuestRecord reservation = Guest("RESERVED", "PAT", room);
    reservation.ArrivalDate = Fixed(arrival, 10);
    return reservation;
}

TEST(CheckBackInLinesTest, GuestAndRoomLinesTrimTheirParts) {
    records::HistoryEntry entry;
    entry.Room = "12 ";
    entry.LastName = Fixed("O'NEIL", 15);
    entry.FirstName = Fixed("ANN MARIE", 15);
    EXPECT_EQ(CheckedOutLine(entry), "12  O'NEIL  ANN MARIE");

    EXPECT_EQ(BackInRoomLine(KeptRoom({.room = "104", .type = "NQ1", .clean = "N"})), "104 NQ1--dirty");
    EXPECT_EQ(BackInRoomLine(KeptRoom({.room = "12", .type = "SNQ3"})), "12  SNQ3");
}

TEST(CheckBackInLinesTest, OnlyTodaysCheckOutDateTextMatches) {
    records::HistoryEntry entry;
    struct Case {
        const char* stored;
        bool today;
    };
    for (const Case& c : {Case{"12/6/26", true}, Case{"12/6/26   ", true}, Case{"12/5/26", false},
                          Case{"12/06/26", false}, Case{"", false}}) {
        entry.CheckOutDate = c.stored;
        EXPECT_EQ(CheckedOutOn(entry, "12/6/26"), c.today) << "\"" << c.stored << "\"";
    }
}

TEST(CheckBackInLinesTest, RoomsOfferedAreFreeAndNotReservedForToday) {
    const std::vector<records::GuestRecord> reservations = {
        Reservation("105", "12/6/26"), Reservation("106", "12/6/26"), Reservation("211", "12/7/26"),
        Reservation("12", "12/6/26"),  Reservation("", ""),           Reservation("3", "12/6/2026")};
    struct Case {
        records::RoomRecord room;
        bool offered;
    };
    const Case cases[] = {
        {KeptRoom({.room = "104", .type = "NQ1"}), true},
        {KeptRoom({.room = "104", .type = "NQ1", .clean = "N"}), true},
        {KeptRoom({.room = "101", .type = "NQ1", .service = "O"}), false},
        {KeptRoom({.room = "210", .type = "NQ1", .service = "X"}), false},
        {KeptRoom({.room = "105", .type = "NQ1"}), false},
        {KeptRoom({.room = "106", .type = "NQ1", .clean = "N"}), false},
        {KeptRoom({.room = "211", .type = "NQ1"}), true},
        {KeptRoom({.room = "12", .type = "NQ1"}), false},
        {KeptRoom({.room = "3", .type = "NQ1"}), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OfferedForCheckBackIn(c.room, reservations, "12/6/26"), c.offered)
            << "room \"" << c.room.Room << "\" clean " << c.room.Clean << " service " << c.room.Service;
}

TEST(CheckBackInRecordTest, RecordComesBackFromTheHistoryForOneNightUntilTomorrow) {
    const records::GuestRecord left = Guest("SMITH", "JOHN", "104");
    const records::HistoryEntry entry = records::HistoryForCheckOut(left, "11:02:03 AM", kToday);

    records::GuestRecord expected = left;
    expected.Room = "12 ";
    expected.Nights = 1;
    expected.CheckOutTime = std::string(10, ' ');
    expected.DepartureDate = Fixed("12/7/26", 10);
    EXPECT_EQ(GuestFromHistory(entry, "12", "12/7/26"), expected);
    EXPECT_EQ(GuestFromHistory(entry, "12", "12/7/26").Rate, 39.95f);
}

class CheckBackInTest : public AppFixture {
protected:
    static constexpr const char* kSmith104 = "dailycharge/dailycharge104SMITHJOHN12526";
    static constexpr const char* kSmith12 = "dailycharge/dailycharge12 SMITHJOHN12526";

    CheckBackInTest() {
        records::WriteIntroFlag(app().data(), 1.0f);
        records::WriteShift(app().data(), {"A", "JD"});
        records::WriteTaxRate(app().data(), 0.1);
        SetNow(12, 6, 2026, 14, 5, 9);

        for (const records::RoomRecord& room : {
                 KeptRoom({.room = "101", .type = "NQ1", .service = "O"}),
                 KeptRoom({.room = "104", .type = "Q11", .clean = "N"}),
                 KeptRoom({.room = "105", .type = "NQ1"}),
                 KeptRoom({.room = "106", .type = "DD1", .clean = "N"}),
                 KeptRoom({.room = "12", .type = "SNQ3"}),
                 KeptRoom({.room = "210", .type = "NDD1", .service = "X"}),
                 KeptRoom({.room = "211", .type = "NQ1"}),
             })
            records::AppendRoom(app().data(), room);

        records::WriteGuest(app().data(), records::kReservationsFile, 1, Reservation("105", "12/6/26"));
        records::WriteGuest(app().data(), records::kReservationsFile, 2, Reservation("106", "12/6/26"));
        records::WriteGuest(app().data(), records::kReservationsFile, 3, Reservation("211", "12/7/26"));

        // Slot 2 is the slot SMITH left this morning.
        smith = Guest("SMITH", "JOHN", "104");
        records::WriteGuest(app().data(), records::kGuestFile, 1, Guest("JONES", "MARY", "101"));
        records::GuestRecord gone = smith;
        gone.ClearStay();
        records::WriteGuest(app().data(), records::kGuestFile, 2, gone);

        records::GuestRecord baker = Guest("BAKER", "TOM", "105");
        records::AppendHistoryEntry(app().data(),
                                    records::HistoryForCheckOut(baker, "10:00:00 AM", {2026, 12, 5}));
        // GRAY left yesterday, billed to the account, a day before the planned departure.
        records::GuestRecord gray = Guest("GRAY", "PAT", "106");
        gray.PayCode = "Q";
        gray.DBNumber = Fixed("1234", 8);
        gray.DepartureDate = Fixed("12/6/26", 10);
        records::AppendHistoryEntry(app().data(), records::HistoryForDirectBillCheckOut(gray, "10:10:00 AM"));
        records::AppendDbDailyLine(app().data(), "12/5/26", Charged("106", 80));
        records::AppendHistoryEntry(app().data(), records::HistoryForCheckOut(smith, "11:02:03 AM", kToday));
        doe = Guest("DOE", "JANE", "12");
        doe.PayCode = "Q";
        doe.DBNumber = Fixed("1234", 8);
        doe.DepartureDate = Fixed("12/6/26", 10);
        records::AppendHistoryEntry(app().data(), records::HistoryForDirectBillCheckOut(doe, "11:30:00 AM"));
        records::GuestRecord early = Guest("EARLY", "EVE", "211");
        early.PayCode = "Q";
        early.DBNumber = Fixed("1234", 8);
        early.DepartureDate = Fixed("12/7/26", 10);
        records::AppendHistoryEntry(app().data(),
                                    records::HistoryForDirectBillCheckOut(early, "11:40:00 AM"));
        // What the two direct-bill check-outs charged.
        records::AppendDbDailyLine(app().data(), "12/6/26", Charged("12 ", 39.95f));
        records::AppendDbDailyLine(app().data(), "12/6/26", Charged("211", 45));

        const auto ledger = records::StayLedgerPath(app().data(), smith);
        records::AppendStayLedgerLine(ledger, LedgerLine("104", "E", "ROOM RENT", 39.95f));
        records::AppendStayLedgerLine(ledger, LedgerLine("104", "J", "PET, SMALL DOG", 10));
        records::AppendStayLedgerLine(ledger, LedgerLine("104", "N", "VISA/MASTER", 49.95f));
        records::AppendStayLedgerLine(records::StayLedgerPath(app().data(), doe),
                                      LedgerLine("12", "E", "ROOM RENT", 39.95f));
        smithLedger = ReadBytes(kSmith104);
    }

    Form4& folio() { return Form<Form4>(); }
    Form40& back() { return Form<Form40>(); }

    // A line of the direct-bill log: a stay from `room` charged to account 1234.
    static records::DbDailyLine Charged(const char* room, float amount,
                                        const char* account = "1234 ACME TOOLS") {
        return {.Room = room, .Shift = "A", .PostDate = "12/6/26", .Account = account, .Amount = amount};
    }

    // The folio window is open and the clerk clicks "Check Back In".
    void Open() {
        app().Dispatch([&] { app().Load(folio()); });
        folio().Command6.UserClick();
        ASSERT_TRUE(IsLoaded("Form40"));
    }

    void DoubleClick(const std::string& line) {
        const std::vector<std::string>& items = back().List1.Items();
        const auto it = std::find(items.begin(), items.end(), line);
        ASSERT_NE(it, items.end()) << line;
        back().List1.UserDblClick(static_cast<int>(it - items.begin()));
    }

    // Double-clicks the guest, picks the room and answers the question.
    void CheckBackIn(const std::string& guestLine, const std::string& roomLine,
                     platform::MsgBoxResult answer = platform::vbYes) {
        DoubleClick(guestLine);
        dialogs().Answer(answer);
        ASSERT_TRUE(back().Combo1.UserPick(roomLine)) << roomLine;
    }

    std::string Slot(long n) {
        return ReadBytes("guest").substr(static_cast<size_t>(n - 1) * kGuestLength, kGuestLength);
    }

    // The rooms file as expected: the rooms with the letters of the ones given changed.
    std::string RoomsWith(const std::map<std::string, std::string>& letters) {
        return testing::RoomsFileWith(records::ReadAllRooms(app().data()), letters);
    }

    // SMITH as the check back in writes him into `room`.
    records::GuestRecord SmithBackIn(const std::string& room) {
        records::GuestRecord back = smith;
        back.Room = Fixed(room, 3);
        back.Nights = 1;
        back.CheckOutTime = std::string(10, ' ');
        back.DepartureDate = Fixed("12/7/26", 10);
        return back;
    }

    void ExpectDone() {
        EXPECT_EQ(back().List1.Items(), (std::vector<std::string>{" ", " ", " ", " ", " ", " ",
                                                                  "  The guest was checked back in"}));
        EXPECT_FALSE(back().Combo1.Visible());
        EXPECT_EQ(back().Command1.Caption(), "Exit");
        EXPECT_TRUE(IsLoaded("Form40"));
    }

    records::GuestRecord smith;
    records::GuestRecord doe;
    std::string smithLedger;
};

TEST_F(CheckBackInTest, ListsTodaysCheckOutsInCheckOutOrder) {
    Open();
    EXPECT_EQ(back().List1.Items(),
              (std::vector<std::string>{"104  SMITH  JOHN", "12  DOE  JANE", "211  EARLY  EVE"}))
        << "BAKER and GRAY left yesterday (GRAY's entry carries today's departure); EARLY's carries "
           "tomorrow's";
    EXPECT_FALSE(back().Combo1.Visible());
    EXPECT_EQ(back().Command1.Caption(), "Cancel / Esc");
    EXPECT_TRUE(IsLoaded("Form4"));
}

TEST_F(CheckBackInTest, NoHistoryFileGivesAnEmptyList) {
    std::filesystem::remove(DataFile("history/history"));
    Open();
    EXPECT_EQ(back().List1.ListCount(), 0);
}

TEST_F(CheckBackInTest, DoubleClickOffersFreeRoomsNotReservedForTodayOnce) {
    Open();
    DoubleClick("104  SMITH  JOHN");
    const std::vector<std::string> rooms = {"104 Q11--dirty", "12  SNQ3", "211 NQ1"};
    EXPECT_TRUE(back().Combo1.Visible());
    EXPECT_TRUE(back().Combo1.HasFocus());
    EXPECT_EQ(back().Combo1.Items(), rooms);
    DoubleClick("12  DOE  JANE");
    EXPECT_EQ(back().Combo1.Items(), rooms) << "a second double-click does not add the rooms again";
}

TEST_F(CheckBackInTest, AnsweringNoHidesTheRoomsAndWritesNothing) {
    Open();
    const testing::FolderImage before = DataImage();
    CheckBackIn("104  SMITH  JOHN", "104 Q11--dirty", platform::vbNo);
    EXPECT_EQ(LastBox().prompt, "Are you sure you want to check this guest back in?");
    EXPECT_EQ(LastBox().title, "Check Back In");
    EXPECT_FALSE(back().Combo1.Visible());
    EXPECT_EQ(DataImage(), before);
    EXPECT_EQ(back().List1.ListCount(), 3);
}

TEST_F(CheckBackInTest, SameRoomReopensTheStayInTheFreeSlotWithItsLedger) {
    Open();
    const std::string guests = ReadBytes("guest");
    const std::string rooms = RoomsWith({{"104", "YNO"}});
    CheckBackIn("104  SMITH  JOHN", "104 Q11--dirty");

    ExpectDone();
    EXPECT_EQ(Slot(2), SmithBackIn("104").Encode());
    EXPECT_EQ(ReadBytes("guest").size(), guests.size());
    EXPECT_EQ(Slot(1), guests.substr(0, kGuestLength));
    EXPECT_EQ(ReadBytes("rooms"), rooms);
    EXPECT_EQ(ReadBytes(kSmith104), smithLedger);
    EXPECT_FALSE(Exists(kSmith12));
    EXPECT_EQ(folio().Combo1.Items(), (std::vector<std::string>{"101 JONES MARY", "104 SMITH JOHN"}));

    // The folio shows the stay with its old lines and balance.
    ASSERT_TRUE(folio().Combo1.UserPick("104 SMITH JOHN"));
    EXPECT_EQ(folio().List1.ListCount(), 5);
    EXPECT_EQ(folio().Label18.Caption(), "0");
    EXPECT_EQ(folio().Label11.Caption(), "12/7/26   ");

    back().Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form40"));
}

TEST_F(CheckBackInTest, AnotherRoomCarriesEveryLedgerLineToTheNewRoomsName) {
    Open();
    const std::string rooms = RoomsWith({{"12 ", "YNO"}});
    CheckBackIn("104  SMITH  JOHN", "12  SNQ3");

    ExpectDone();
    EXPECT_EQ(Slot(2), SmithBackIn("12").Encode());
    EXPECT_EQ(ReadBytes("rooms"), rooms) << "room 104 stays as it was";
    EXPECT_FALSE(Exists(kSmith104));
    EXPECT_EQ(ReadBytes(kSmith12), smithLedger);
    EXPECT_EQ(folio().Combo1.Items(), (std::vector<std::string>{"101 JONES MARY", "12  SMITH JOHN"}));
}

// The check-out charged the stay to the account; the check back in takes that charge back
// (with a line in the day's direct-bill log), bills the stay to the account again and says
// so, and the next check-out charges the whole stay once.
TEST_F(CheckBackInTest, DirectBillStayComesBackBilledToItsAccountWithTheChargeTakenBack) {
    records::DirectBillAccount tools;
    tools.CompanyName = Fixed("ACME TOOLS", 80);
    tools.DBNumber = Fixed("1234", 7);
    tools.Balance = 139.95f; // 100 owed before, 39.95 for DOE's stay
    records::AppendAccount(app().data(), tools);
    app().gShift = "B";
    Open();
    DoubleClick("12  DOE  JANE");
    dialogs().Answer(platform::vbYes);
    dialogs().Answer(platform::vbOK);
    ASSERT_TRUE(back().Combo1.UserPick("12  SNQ3"));

    ExpectDone();
    records::GuestRecord expected = doe;
    expected.Nights = 1;
    expected.CheckOutTime = std::string(10, ' ');
    expected.DepartureDate = Fixed("12/7/26", 10);
    EXPECT_EQ(Slot(2), expected.Encode()) << "the account code comes back with the stay";
    EXPECT_EQ(LastBox().title, "Check Back In");
    EXPECT_EQ(
        LastBox().prompt,
        "This stay was charged to direct bill account 1234 ACME TOOLS when the guest checked out. That "
        "charge of 39.95 has been taken off the account again, and the stay is billed to the account as "
        "before: the whole stay will be charged to it when the guest checks out.");
    EXPECT_EQ(records::ReadAccount(app().data(), 1).Balance, 100.0f);
    const std::vector<records::DbDailyLine> day = records::ReadDbDaily(app().data(), "12/6/26");
    ASSERT_EQ(day.size(), 3u);
    EXPECT_EQ(day[2].Room, "12 ");
    EXPECT_EQ(day[2].Shift, "B");
    EXPECT_EQ(day[2].Account, "1234 ACME TOOLS");
    EXPECT_EQ(day[2].Amount, -39.95f);

    back().Command1.UserClick();
    ASSERT_TRUE(folio().Combo1.UserPick("12  DOE JANE"));
    dialogs().Answer(platform::vbYes);
    folio().Command4.UserClick();
    EXPECT_TRUE(records::ReadGuest(app().data(), records::kGuestFile, 2).IsFree());
    EXPECT_EQ(records::ReadAccount(app().data(), 1).Balance, 139.95f) << "charged once for the whole stay";
}

// A direct-bill guest checked out days before the planned departure: the check-out keeps
// that departure, yet the stay is among today's and comes back with exactly its charge
// taken off the account.
TEST_F(CheckBackInTest, DirectBillStayCheckedOutBeforeItsDepartureComesBack) {
    records::DirectBillAccount tools;
    tools.CompanyName = Fixed("ACME TOOLS", 80);
    tools.DBNumber = Fixed("1234", 7);
    tools.Balance = 100;
    records::AppendAccount(app().data(), tools);
    records::GuestRecord king = Guest("KING", "AL", "12");
    king.PayCode = "Q";
    king.DBNumber = Fixed("1234", 8);
    king.DepartureDate = Fixed("12/9/26", 10);
    records::WriteGuest(app().data(), records::kGuestFile, 3, king);
    records::AppendStayLedgerLine(records::StayLedgerPath(app().data(), king),
                                  LedgerLine("12", "E", "ROOM RENT", 40.05f));
    app().Dispatch([&] { app().Load(folio()); });
    ASSERT_TRUE(folio().Combo1.UserPick("12  KING AL"));
    dialogs().Answer(platform::vbYes);
    folio().Command4.UserClick();
    ASSERT_TRUE(records::ReadGuest(app().data(), records::kGuestFile, 3).IsFree());
    const float charged = records::ReadDbDaily(app().data(), "12/6/26").back().Amount;
    ASSERT_EQ(records::ReadAccount(app().data(), 1).Balance, platform::Decimal::Of(100 + charged).ToSingle());

    folio().Command6.UserClick();
    ASSERT_EQ(back().List1.Items().back(), "12  KING  AL");
    DoubleClick("12  KING  AL");
    dialogs().Answer(platform::vbYes);
    dialogs().Answer(platform::vbOK);
    ASSERT_TRUE(back().Combo1.UserPick("12  SNQ3--dirty"));
    ExpectDone();
    EXPECT_EQ(records::ReadAccount(app().data(), 1).Balance, 100.0f);
    EXPECT_EQ(records::ReadDbDaily(app().data(), "12/6/26").back().Amount, -charged);
    EXPECT_EQ(records::ReadGuest(app().data(), records::kGuestFile, 2).DBNumber, king.DBNumber);
}

TEST_F(CheckBackInTest, WithNoFreeSlotTheStayIsAppended) {
    records::WriteGuest(app().data(), records::kGuestFile, 2, Guest("GREEN", "AL", "106"));
    const std::string guests = ReadBytes("guest");
    Open();
    CheckBackIn("104  SMITH  JOHN", "211 NQ1");

    ExpectDone();
    EXPECT_EQ(ReadBytes("guest"), guests + SmithBackIn("211").Encode());
    EXPECT_EQ(folio().Combo1.Items(),
              (std::vector<std::string>{"101 JONES MARY", "106 GREEN AL", "211 SMITH JOHN"}));
}

TEST_F(CheckBackInTest, AStayAlreadyCheckedBackInIsNotOpenedTwice) {
    Open();
    CheckBackIn("104  SMITH  JOHN", "104 Q11--dirty");
    back().Command1.UserClick();
    Open();
    ASSERT_EQ(back().List1.ListCount(), 3) << "the history entry stays";
    const testing::FolderImage before = DataImage();
    DoubleClick("104  SMITH  JOHN");
    dialogs().Answer(platform::vbYes);
    dialogs().Answer(platform::vbOK);
    ASSERT_TRUE(back().Combo1.UserPick("12  SNQ3"));

    EXPECT_EQ(LastBox().prompt,
              "This guest is already checked in, in room 104. The guest was not checked back in again.");
    EXPECT_EQ(LastBox().title, "WARNING");
    EXPECT_EQ(DataImage(), before);
    EXPECT_EQ(back().Command1.Caption(), "Cancel / Esc");
}

TEST_F(CheckBackInTest, ARoomThatHoldsAGuestIsRefusedWhateverItsLetters) {
    Open();
    DoubleClick("104  SMITH  JOHN");
    // A guest moved into 211 after the list was made, its letters not yet updated.
    records::WriteGuest(app().data(), records::kGuestFile, 3, Guest("GREEN", "AL", "211"));
    const testing::FolderImage before = DataImage();
    dialogs().Answer(platform::vbYes);
    dialogs().Answer(platform::vbOK);
    ASSERT_TRUE(back().Combo1.UserPick("211 NQ1"));

    EXPECT_EQ(LastBox().prompt, "Room 211 is occupied. Please select another room.");
    EXPECT_EQ(DataImage(), before);
    EXPECT_TRUE(back().Combo1.Visible());
}

TEST_F(CheckBackInTest, ALedgerNameTakenByAnotherStayIsRefusedBeforeAnythingIsWritten) {
    records::AppendStayLedgerLine(OnDisk(kSmith12), LedgerLine("12", "E", "ROOM RENT", 60));
    Open();
    const testing::FolderImage before = DataImage();
    DoubleClick("104  SMITH  JOHN");
    dialogs().Answer(platform::vbYes);
    dialogs().Answer(platform::vbOK);
    ASSERT_TRUE(back().Combo1.UserPick("12  SNQ3"));

    EXPECT_EQ(LastBox().prompt,
              "Another folio named dailycharge12 SMITHJOHN12526 already exists. The guest was "
              "not checked back in, so that the two folios are not mixed.");
    EXPECT_EQ(DataImage(), before);
}

TEST_F(CheckBackInTest, AMissingLedgerIsReportedWhenTheRoomChanges) {
    std::filesystem::remove(DataFile(kSmith104));
    Open();
    const testing::FolderImage before = DataImage();
    DoubleClick("104  SMITH  JOHN");
    dialogs().Answer(platform::vbYes);
    dialogs().Answer(platform::vbOK);
    ASSERT_TRUE(back().Combo1.UserPick("12  SNQ3"));

    EXPECT_EQ(LastBox().prompt,
              "The folio of this guest (dailycharge104SMITHJOHN12526) could not be found. The guest was not "
              "checked back in.");
    EXPECT_EQ(DataImage(), before);
}

// A refusal says why in a box and writes nothing.
class CheckBackInRefusalTest : public CheckBackInTest {
protected:
    void ExpectRefused(const std::string& guestLine, const std::string& roomLine, const std::string& prompt) {
        Open();
        const testing::FolderImage before = DataImage();
        DoubleClick(guestLine);
        dialogs().Answer(platform::vbYes);
        dialogs().Answer(platform::vbOK);
        ASSERT_TRUE(back().Combo1.UserPick(roomLine)) << roomLine;
        EXPECT_EQ(LastBox().title, "WARNING");
        EXPECT_EQ(LastBox().prompt, prompt);
        EXPECT_EQ(DataImage(), before);
        EXPECT_EQ(back().Command1.Caption(), "Cancel / Esc");
    }
};

// SMITH was checked back in to room 12 and checked out again: his folio went to room 12's
// name, and his first check-out no longer stands for the stay.
TEST_F(CheckBackInRefusalTest, AnEarlierCheckOutOfAStayCheckedOutAgainIsRefused) {
    std::filesystem::rename(DataFile(kSmith104), DataFile(kSmith12));
    records::GuestRecord again = smith;
    again.Room = "12 ";
    records::AppendHistoryEntry(app().data(), records::HistoryForCheckOut(again, "1:10:00 PM", kToday));
    ExpectRefused(
        "104  SMITH  JOHN", "104 Q11--dirty",
        "This is an earlier check-out of this stay: it was checked back in and checked out again later, "
        "from room 12, and its folio went with it. Please pick the guest's last check-out. The guest "
        "was not checked back in.");
}

// Another JOHN SMITH who arrived the same day is in room 104 now: the ledger of that name is
// his, and is not carried away.
TEST_F(CheckBackInRefusalTest, ALedgerAStayInTheHouseUsesIsNotCarriedAway) {
    records::GuestRecord twin = smith;
    twin.FolioNumber = Fixed("18", 5);
    records::WriteGuest(app().data(), records::kGuestFile, 3, twin);
    ExpectRefused(
        "104  SMITH  JOHN", "12  SNQ3",
        "The folio dailycharge104SMITHJOHN12526 is also the folio of SMITH, JOHN in room 104, who is "
        "checked in. The guest was not checked back in, so that the two stays do not share one folio.");
}

TEST_F(CheckBackInRefusalTest, AChargeToAnAccountThatCannotBeFoundIsNotLeftStanding) {
    ExpectRefused(
        "12  DOE  JANE", "12  SNQ3",
        "This stay was charged to direct bill account 1234 when the guest checked out, and that account "
        "cannot be found, so the charge cannot be taken back. The guest was not checked back in.");
}

TEST_F(CheckBackInRefusalTest, AStayWhoseLedgerIsMissingIsNotReopenedInItsRoom) {
    std::filesystem::remove(DataFile(kSmith104));
    ExpectRefused(
        "104  SMITH  JOHN", "104 Q11--dirty",
        "The folio of this guest (dailycharge104SMITHJOHN12526) could not be found. The guest was not "
        "checked back in.");
}

// A double quote typed in a name: the record, the ledger's name and the history line hold
// the name by one rule, so the stay that left is found and comes back with its folio.
TEST_F(CheckBackInTest, ANameWithAQuoteComesBackWithItsFolio) {
    records::GuestRecord quoted = Guest("O\"NEIL", "JO", "211");
    records::WriteGuest(app().data(), records::kGuestFile, 3, quoted);
    const auto ledger = records::StayLedgerPath(app().data(), quoted);
    records::AppendStayLedgerLine(ledger, LedgerLine("211", "E", "ROOM RENT", 39.95f));
    records::AppendStayLedgerLine(ledger, LedgerLine("211", "N", "VISA/MASTER", 39.95f));
    Open();
    ASSERT_TRUE(folio().Combo1.UserPick("211 O\"NEIL JO"));
    dialogs().Answer(platform::vbYes);
    folio().Command4.UserClick();
    ASSERT_TRUE(records::ReadGuest(app().data(), records::kGuestFile, 3).IsFree());
    const records::HistoryEntry left = records::ReadHistory(app().data()).back();
    EXPECT_EQ(
        records::StayLedgerFile(app().data(), left.Room, left.LastName, left.FirstName, left.ArrivalDate),
        ledger)
        << "the history line names the same ledger";

    back().Command1.UserClick();
    folio().Command6.UserClick();
    DoubleClick("211  O'NEIL  JO");
    dialogs().Answer(platform::vbYes);
    ASSERT_TRUE(back().Combo1.UserPick("211 NQ1--dirty"));
    ExpectDone();
    ASSERT_TRUE(folio().Combo1.UserPick("211 O'NEIL JO"));
    EXPECT_EQ(folio().List1.ListCount(), 4) << "heading, rule and the two lines";
    EXPECT_EQ(folio().Label18.Caption(), "0");
}

// The check-in and reservation windows put a typed name into the record by the same rule.
TEST(TypedNameTest, TheGuestWindowsStoreANameByTheOneRule) {
    struct Typed {
        std::string lastName, firstName, company, street, city, state, zip, phone, regCard, adults, children,
            comment;
    };
    const Typed typed{"o\"neil", "jo\tann", "", "", "", "", "", "", "", "2", "0", ""};
    records::GuestRecord capitals;
    stay::PutGuestDetails(capitals, typed, stay::Letters::Capitals);
    EXPECT_EQ(capitals.LastName, Fixed("O'NEIL", 15));
    EXPECT_EQ(capitals.FirstName, Fixed("JO ANN", 15));
    records::GuestRecord asTyped;
    stay::PutGuestDetails(asTyped, typed, stay::Letters::AsTyped);
    EXPECT_EQ(asTyped.LastName, Fixed("o'neil", 15));
}

TEST_F(CheckBackInTest, APlanIsCheckedAgainstTheRoomsFile) {
    const records::HistoryEntry entry = records::HistoryForCheckOut(smith, "11:02:03 AM", kToday);
    struct Case {
        const char* room;
        const char* problem;
    };
    const Case cases[] = {
        {"999", "There is no room 999. Please select a room from the list."},
        {"101", "Room 101 is occupied. Please select another room."},
        {"210", "Room 210 is out of order. Please select another room."},
        {"105", "Room 105 is reserved for a guest arriving today. Please select another room."},
        {"106", "Room 106 is reserved for a guest arriving today. Please select another room."},
        {"104", ""},
        {"211", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlanCheckBackIn(app().data(), entry, c.room, kToday).problem, c.problem)
            << "room " << c.room;
}

// The charge taken back is the check-out's line in the day's direct-bill log, not the ledger
// added up again at today's tax rate (DOE's ledger holds 39.95). The day's charges from one
// room to one account are the latest direct-bill check-outs from there, paired in order; a
// line that takes the charge before it back pairs with none. A check-out the day's log does
// not hold was not made today.
TEST_F(CheckBackInTest, TheChargeTakenBackIsTheLineTheCheckOutWrote) {
    records::DirectBillAccount tools;
    tools.CompanyName = Fixed("ACME TOOLS", 80);
    tools.DBNumber = Fixed("1234", 7);
    records::AppendAccount(app().data(), tools);
    records::GuestRecord roe = Guest("ROE", "RAY", "12");
    roe.PayCode = "Q";
    roe.DBNumber = Fixed("1234", 8);
    roe.DepartureDate = Fixed("12/9/26", 10);
    records::AppendHistoryEntry(app().data(), records::HistoryForDirectBillCheckOut(roe, "1:00:00 PM"));
    records::AppendStayLedgerLine(records::StayLedgerPath(app().data(), roe),
                                  LedgerLine("12", "E", "ROOM RENT", 39.95f));
    const std::vector<records::HistoryEntry> history = records::ReadHistory(app().data());
    const auto stay = [&](const char* last) {
        for (const records::HistoryEntry& e : history)
            if (platform::Trim(e.LastName) == last)
                return e;
        throw std::logic_error("no such check-out");
    };
    struct Case {
        const char* what;
        const char* guest;
        std::vector<records::DbDailyLine> lines;
        std::optional<float> taken; // nullopt: not a check-out of today, refused
    };
    const Case cases[] = {
        {"the line, not the ledger", "ROE", {Charged("12 ", 66)}, 66.0f},
        {"one charge is the latest check-out's", "DOE", {Charged("12 ", 66)}, std::nullopt},
        {"another room's line is not it", "ROE", {Charged("211", 20), Charged("12 ", 66)}, 66.0f},
        {"another account's line is not it",
         "ROE",
         {Charged("12 ", 5, "77 OTHER"), Charged("12 ", 66)},
         66.0f},
        {"the first check-out pairs with the first charge",
         "DOE",
         {Charged("12 ", 66), Charged("12 ", 70)},
         66.0f},
        {"the second with the second", "ROE", {Charged("12 ", 66), Charged("12 ", 70)}, 70.0f},
        {"a charge taken back pairs with no check-out",
         "ROE",
         {Charged("12 ", 66), Charged("12 ", -66), Charged("12 ", 70)},
         70.0f},
        {"no line", "ROE", {}, std::nullopt},
    };
    const platform::FilePath log = records::DayFilePath(app().data(), records::DayFile::DbDaily, "12/6/26");
    for (const Case& c : cases) {
        platform::DeleteFile(log);
        for (const records::DbDailyLine& l : c.lines)
            records::AppendDbDailyLine(app().data(), "12/6/26", l);
        const std::vector<records::HistoryEntry> today = CheckedOutToday(app().data(), "12/6/26");
        EXPECT_EQ(std::count(today.begin(), today.end(), stay(c.guest)), c.taken ? 1 : 0) << c.what;
        const BackInPlan plan = PlanCheckBackIn(app().data(), stay(c.guest), "12", kToday);
        if (c.taken) {
            EXPECT_EQ(plan.problem, "") << c.what;
            ASSERT_TRUE(plan.chargeTakenBack) << c.what;
            EXPECT_EQ(plan.chargeTakenBack->amount, *c.taken) << c.what;
        } else {
            EXPECT_NE(plan.problem.find("cannot be found in today's direct bill log"), std::string::npos)
                << c.what;
        }
    }
}

// KING left room 104 early, billed to the account; LANE was moved into 104 and left from
// there too: two charges from one room to one account. Each stay's check back in takes back
// its own charge, whatever the order, the rooms they come back into, the take-backs already
// in the log and the stays checked out again since; when the log cannot tell which of two
// charges alike was taken back already, the clerk is told and nothing is written.
enum class PairingStep { BackIn, CheckOut, Release, MoveLaneIn };
struct PairingAction {
    PairingStep kind;
    const char* what;      // the guest line (BackIn) or the folio line (CheckOut, Release)
    const char* room = ""; // BackIn: the room line picked
    const char* told = ""; // BackIn: what the last box says, in part
    bool refused = false;  // BackIn: nothing may be written
};
struct PairingCase {
    const char* name;
    float laneRent;
    std::vector<PairingAction> steps;
    float balance;                // the account at the end
    std::vector<float> takenBack; // the lines the check backs in logged, in order
    bool laneLeavesFirst = true;  // else the steps move LANE into 104 and check him out
};

constexpr const char* kAlready = "was taken off the account already today";
constexpr const char* kUnsure = "whether this stay's was cannot be told";
constexpr PairingStep kBackIn = PairingStep::BackIn;

void PrintTo(const PairingCase& c, std::ostream* os) {
    *os << c.name;
}

const PairingCase kPairingCases[] = {
    {"FirstThenSecond",
     76,
     {{kBackIn, "104  KING  AL", "104 Q11--dirty", "charge of 66 has"},
      {kBackIn, "104  LANE  ED", "211 NQ1", "charge of 76 has"}},
     100.5f,
     {-66, -76}},
    {"SecondThenFirst",
     76,
     {{kBackIn, "104  LANE  ED", "104 Q11--dirty", "charge of 76 has"},
      {kBackIn, "104  KING  AL", "211 NQ1", "charge of 66 has"}},
     100.5f,
     {-76, -66}},
    {"FirstBackIntoAnotherRoomAndOutAgain",
     76,
     {{kBackIn, "104  KING  AL", "211 NQ1", "charge of 66 has"},
      {PairingStep::CheckOut, "211 KING AL"},
      {kBackIn, "104  LANE  ED", "104 Q11--dirty", "charge of 76 has"},
      {kBackIn, "211  KING  AL", "211 NQ1--dirty", "charge of 66 has"}},
     100.5f,
     {-66, -76, -66}},
    {"ChargesAlikeTheStayBackInTheHouseHadItsOwnTakenBack",
     66,
     {{kBackIn, "104  KING  AL", "104 Q11--dirty", "charge of 66 has"},
      {kBackIn, "104  LANE  ED", "211 NQ1", "charge of 66 has"}},
     100.5f,
     {-66, -66}},
    {"ChargesAlikeTheStayBackCheckedOutAgainHadItsOwnTakenBack",
     66,
     {{kBackIn, "104  KING  AL", "211 NQ1", "charge of 66 has"},
      {PairingStep::CheckOut, "211 KING AL"},
      {kBackIn, "104  LANE  ED", "104 Q11--dirty", "charge of 66 has"}},
     166.5f,
     {-66, -66}},
    {"ChargesAlikeTheTakeBackBeforeTheSecondChargeIsTheFirsts",
     66,
     {{kBackIn, "104  KING  AL", "104 Q11--dirty", "charge of 66 has"},
      {PairingStep::Release, "104 KING AL"},
      {PairingStep::MoveLaneIn, "106 LANE ED"},
      {PairingStep::CheckOut, "104 LANE ED"},
      {kBackIn, "104  KING  AL", "211 NQ1", kAlready, true},
      {kBackIn, "104  LANE  ED", "211 NQ1", "charge of 66 has"}},
     100.5f,
     {-66, -66},
     false},
    {"ChargesAlikeTheStayBackGoneAgainWithoutACheckOut",
     66,
     {{kBackIn, "104  KING  AL", "104 Q11--dirty", "charge of 66 has"},
      {PairingStep::Release, "104 KING AL"},
      {kBackIn, "104  LANE  ED", "211 NQ1", kUnsure, true},
      {kBackIn, "104  KING  AL", "211 NQ1", kUnsure, true}},
     166.5f,
     {-66}},
    {"AChargeTakenBackAlreadyIsNotTakenBackAgain",
     76,
     {{kBackIn, "104  KING  AL", "104 Q11--dirty", "charge of 66 has"},
      {PairingStep::Release, "104 KING AL"},
      {kBackIn, "104  KING  AL", "211 NQ1", kAlready, true},
      {kBackIn, "104  LANE  ED", "211 NQ1", "charge of 76 has"}},
     100.5f,
     {-66, -76}},
};

class CheckBackInPairingTest : public CheckBackInTest, public ::testing::WithParamInterface<PairingCase> {
protected:
    records::GuestRecord BilledStay(const char* last, const char* first, const char* room, float rent,
                                    long slot) {
        records::GuestRecord guest = Guest(last, first, room);
        guest.PayCode = "Q";
        guest.DBNumber = Fixed("1234", 8);
        guest.DepartureDate = Fixed("12/9/26", 10);
        guest.FolioNumber = Fixed(std::to_string(slot + 40), 5);
        records::WriteGuest(app().data(), records::kGuestFile, slot, guest);
        records::AppendStayLedgerLine(records::StayLedgerPath(app().data(), guest),
                                      LedgerLine(room, "E", "ROOM RENT", rent));
        return guest;
    }

    // The folio window, opened afresh so that its room list shows the guest file as it is.
    void FreshFolio() {
        if (IsLoaded("Form40"))
            back().Command1.UserClick();
        if (IsLoaded("Form4"))
            app().Dispatch([&] { app().Unload(folio()); });
        app().Dispatch([&] { app().Load(folio()); });
    }

    // LANE moves from 106 into 104, left free, as the move does it: his record's room and
    // his ledger's name.
    void MoveLaneIn(const records::GuestRecord& lane) {
        records::GuestRecord moved = lane;
        moved.Room = "104";
        ASSERT_EQ(records::CarryStayLedger(records::StayLedgerPath(app().data(), lane),
                                           records::StayLedgerPath(app().data(), moved)),
                  records::LedgerCarry::Ready);
        records::WriteGuest(app().data(), records::kGuestFile, 4, moved);
    }

    void CheckOut(const std::string& line) {
        FreshFolio();
        ASSERT_TRUE(folio().Combo1.UserPick(line)) << line;
        dialogs().Answer(platform::vbYes);
        folio().Command4.UserClick();
    }
};

TEST_P(CheckBackInPairingTest, EachStayTakesBackItsOwnChargeFromOneRoom) {
    const PairingCase& c = GetParam();
    records::DirectBillAccount tools;
    tools.CompanyName = Fixed("ACME TOOLS", 80);
    tools.DBNumber = Fixed("1234", 7);
    tools.Balance = 100.5f;
    records::AppendAccount(app().data(), tools);
    BilledStay("KING", "AL", "104", 66, 3);
    const records::GuestRecord lane = BilledStay("LANE", "ED", "106", c.laneRent, 4);
    CheckOut("104 KING AL");
    if (c.laneLeavesFirst) {
        MoveLaneIn(lane);
        CheckOut("104 LANE ED");
        ASSERT_EQ(records::ReadAccount(app().data(), 1).Balance,
                  platform::Decimal::Of(166.5 + c.laneRent).ToSingle());
    }

    std::vector<float> takenBack;
    for (const PairingAction& step : c.steps) {
        SCOPED_TRACE(step.what);
        if (step.kind == PairingStep::MoveLaneIn) {
            MoveLaneIn(lane);
            continue;
        }
        if (step.kind == PairingStep::CheckOut) {
            CheckOut(step.what);
            continue;
        }
        if (step.kind == PairingStep::Release) { // an emergency check-out: the record is blanked
            const std::optional<long> slot =
                records::FindGuestByRoom(app().data(), records::kGuestFile, platform::Left(step.what, 3));
            ASSERT_TRUE(slot);
            records::GuestRecord gone = records::ReadGuest(app().data(), records::kGuestFile, *slot);
            gone.ClearStay();
            records::WriteGuest(app().data(), records::kGuestFile, *slot, gone);
            continue;
        }
        FreshFolio();
        folio().Command6.UserClick();
        const testing::FolderImage before = DataImage();
        DoubleClick(step.what);
        dialogs().Answer(platform::vbYes);
        dialogs().Answer(platform::vbOK);
        ASSERT_TRUE(back().Combo1.UserPick(step.room)) << step.room;
        EXPECT_NE(LastBox().prompt.find(step.told), std::string::npos) << LastBox().prompt;
        if (step.refused)
            EXPECT_EQ(DataImage(), before) << "nothing is written";
        else
            takenBack.push_back(records::ReadDbDaily(app().data(), "12/6/26").back().Amount);
    }
    EXPECT_EQ(records::ReadAccount(app().data(), 1).Balance, c.balance);
    EXPECT_EQ(takenBack, c.takenBack);
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckBackInPairingTest, ::testing::ValuesIn(kPairingCases),
                         [](const ::testing::TestParamInfo<PairingCase>& info) {
                             return std::string(info.param.name);
                         });

// When the guest record cannot be written after the ledger was carried, the ledger goes
// back to the old room's name.
TEST_F(CheckBackInTest, ALedgerCarriedBeforeAFailedWriteIsCarriedBack) {
    const records::HistoryEntry entry = records::HistoryForCheckOut(smith, "11:02:03 AM", kToday);
    const BackInPlan plan = PlanCheckBackIn(app().data(), entry, "12", kToday);
    ASSERT_EQ(plan.problem, "");
    ASSERT_TRUE(plan.roomChanged);
    std::filesystem::remove(DataFile("guest"));
    std::filesystem::create_directory(DataFile("guest"));

    EXPECT_THROW(MakeCheckBackIn(app().data(), plan), platform::IoError);
    EXPECT_EQ(ReadBytes(kSmith104), smithLedger);
    EXPECT_FALSE(Exists(kSmith12));
}

// Today's check-outs are found read back from the newest entry, whatever the order the days
// were written in: a day that went back, a check-out of today's date kept as text, and a
// direct-bill check-out charged today but written long before the day's other entries.
TEST_F(CheckBackInTest, TodaysCheckOutsAreFoundWhateverTheOrderOfTheDays) {
    struct Case {
        const char* what;
        std::vector<std::string> days; // each entry's check-out day; "DB": billed to 1234 from 12
        int charges;                   // the day's charges from 12 to 1234
    };
    const Case cases[] = {
        {"in order", {"12/4/26", "12/5/26", "12/6/26", "DB", "12/6/26"}, 1},
        {"a day went back", {"12/6/26", "12/7/26", "12/5/26"}, 0},
        {"today before yesterday", {"12/3/26", "12/6/26", "12/5/26", "12/5/26"}, 0},
        {"the billed one long before", {"DB", "DB", "12/1/26", "12/2/26", "12/5/26", "12/6/26"}, 2},
        {"today's date as text", {"text", "12/4/26", "12/5/26"}, 0},
        {"only older days", {"12/1/26", "12/2/26"}, 0},
    };
    const platform::FilePath log = records::DayFilePath(app().data(), records::DayFile::DbDaily, "12/6/26");
    for (const Case& c : cases) {
        platform::DeleteFile(records::HistoryFile(app().data()));
        platform::DeleteFile(records::HistoryKeysFile(app().data()));
        platform::DeleteFile(log);
        for (size_t i = 0; i < c.days.size(); ++i) {
            records::GuestRecord g = Guest("G" + std::to_string(i), "ANN", "12");
            g.DepartureDate = Fixed(c.days[i] == "text" ? "12/6/26" : "12/9/26", 10);
            g.DBNumber = Fixed(c.days[i] == "DB" ? "1234" : "none", 8);
            const std::optional<platform::Date> day = platform::ParseDate(c.days[i], 2026);
            records::AppendHistoryEntry(app().data(),
                                        day ? records::HistoryForCheckOut(g, "1:00:00 PM", *day)
                                            : records::HistoryForDirectBillCheckOut(g, "1:00:00 PM"));
        }
        for (int i = 0; i < c.charges; ++i)
            records::AppendDbDailyLine(app().data(), "12/6/26",
                                       Charged("12 ", 10.0f + static_cast<float>(i)));
        std::vector<std::string> expected, billed;
        for (const records::HistoryEntry& e : records::ReadHistory(app().data())) {
            if (platform::Trim(e.DBNumber) == "1234")
                billed.push_back(platform::Trim(e.LastName));
            else if (platform::Trim(e.CheckOutDate) == "12/6/26")
                expected.push_back(platform::Trim(e.LastName));
        }
        billed.erase(billed.begin(), billed.end() - c.charges); // the latest ones
        expected.insert(expected.end(), billed.begin(), billed.end());
        std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
            return std::stoi(a.substr(1)) < std::stoi(b.substr(1)); // in the order of check-out
        });
        std::vector<std::string> found;
        for (const records::HistoryEntry& e : CheckedOutToday(app().data(), "12/6/26"))
            found.push_back(platform::Trim(e.LastName));
        EXPECT_EQ(found, expected) << c.what;
    }
}

} // namespace
} // namespace vantreth
