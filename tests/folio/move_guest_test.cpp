// Move Guest: the two room lists, a move checked against every file it touches, the checks
// that refuse a move before anything is written, and the ways out of the window.
#include "support/app_fixture.h"
#include "support/builders.h"

#include "folio/form8.h"
#include "frontdesk/form1.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/move_log.h"
#include "records/room_record.h"
#include "records/settings_files.h"
#include "records/shift_record.h"
#include "records/stay_ledger.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace vantreth {
namespace {

using platform::Fixed;
using testing::AppFixture;
using testing::LedgerLine;

// A room of these tests: rate 45.50 and a comment, rate lock and spare text, which the window must keep as
// they are.
records::RoomRecord KeptRoom(testing::RoomSpec spec) {
    spec.rate = 45.5f;
    spec.comment = "CHECK THE TV";
    spec.rateLocked = true;
    spec.spare = "spare";
    return testing::Room(spec);
}

records::GuestRecord Guest(const std::string& last, const std::string& first, const std::string& room) {
    return testing::Guest(room, last, first,
                          {.Company = "ACME",
                           .Adults = 2,
                           .Nights = 3,
                           .PayCode = "L",
                           .CheckInTime = "3:45:12 PM",
                           .ArrivalDate = "12/5/26",
                           .DepartureDate = "12/8/26",
                           .Rate = 45.5f,
                           .FolioNumber = "17"});
}

class MoveGuestTest : public AppFixture {
protected:
    static constexpr const char* kSmith104 = "dailycharge/dailycharge104SMITHJOHN12526";
    static constexpr const char* kSmith210 = "dailycharge/dailycharge210SMITHJOHN12526";

    MoveGuestTest() {
        records::WriteIntroFlag(app().data(), 1.0f);
        records::WriteShift(app().data(), {"A", "JD"});
        SetNow(12, 6, 2026, 14, 5, 9);

        for (const records::RoomRecord& room : {
                 KeptRoom({.room = "101", .type = "NQ1", .service = "O"}),
                 KeptRoom({.room = "104", .type = "Q11", .service = "O"}),
                 KeptRoom({.room = "12", .type = "SNQ3"}),
                 KeptRoom({.room = "210", .type = "DD1"}),
                 KeptRoom({.room = "211", .type = "NQ1", .clean = "N"}),
                 KeptRoom({.room = "212", .type = "NDD1", .service = "X"}),
             })
            records::AppendRoom(app().data(), room);

        // Slot 2 is free: a checked-out stay that keeps its other fields.
        records::WriteGuest(app().data(), records::kGuestFile, 1, Guest("JONES", "MARY", "101"));
        records::GuestRecord gone = Guest("OLDSTAY", "PAT", "210");
        gone.ClearStay();
        records::WriteGuest(app().data(), records::kGuestFile, 2, gone);
        smith = Guest("SMITH", "JOHN", "104");
        records::WriteGuest(app().data(), records::kGuestFile, 3, smith);

        const auto ledger = records::StayLedgerPath(app().data(), smith);
        records::AppendStayLedgerLine(ledger, LedgerLine("104", "E", "ROOM RENT", 45.5f));
        records::AppendStayLedgerLine(ledger, LedgerLine("104", "J", "PET, SMALL DOG", 10));
        records::AppendStayLedgerLine(ledger, LedgerLine("104", "L", "CASH REC.", 20.25f));
        records::AppendStayLedgerLine(records::StayLedgerPath(app().data(), Guest("JONES", "MARY", "101")),
                                      LedgerLine("101", "E", "ROOM RENT", 45.5f));
        smithLedger = ReadBytes(kSmith104);
    }

    Form8& move() { return Form<Form8>(); }

    // The clerk opens the window from the front desk with its key; the front desk stays.
    void Open() {
        if (!IsLoaded("Form1"))
            StartProgram();
        Form<Form1>().UserKey('6');
        ASSERT_TRUE(IsLoaded("Form8"));
        ASSERT_TRUE(IsLoaded("Form1"));
    }

    void Pick(platform::ComboBox& box, const std::string& line) { ASSERT_TRUE(box.UserPick(line)) << line; }

    // The rooms file as expected: the six rooms with the letters of the ones given changed.
    std::string RoomsWith(const std::map<std::string, std::string>& letters) {
        return testing::RoomsFileWith(records::ReadAllRooms(app().data()), letters);
    }

    records::GuestRecord smith;
    std::string smithLedger;
};

TEST(MoveGuestLinesTest, ListLinesKeepTheRoomFieldAndTheStoredType) {
    records::GuestRecord guest;
    guest.Room = "12 ";
    guest.LastName = Fixed("O'NEIL", 15);
    guest.FirstName = Fixed("ANN MARIE", 15);
    EXPECT_EQ(OccupiedRoomLine(guest), "12   O'NEIL ANN MARIE");
    records::RoomRecord room;
    room.Room = "12 ";
    room.RoomType = "SNQ3 ";
    EXPECT_EQ(FreeRoomLine(room), "12    SNQ3 ");
}

TEST(MoveGuestLinesTest, OffersRoomsThatAreNeitherOccupiedOutOfOrderNorDirty) {
    struct Case {
        const char* clean;
        const char* service;
        bool offered;
    };
    const Case cases[] = {
        {"Y", "A", true},  {" ", " ", true},  {"Y", "O", false}, {"Y", "X", false},
        {"N", "A", false}, {"N", "O", false}, {"y", "a", true},
    };
    for (const Case& c : cases) {
        records::RoomRecord room;
        room.Clean = c.clean;
        room.Service = c.service;
        EXPECT_EQ(OfferedForMove(room), c.offered)
            << "Clean \"" << c.clean << "\" Service \"" << c.service << "\"";
    }
}

TEST_F(MoveGuestTest, ListsOccupiedRoomsAndRoomsToMoveInto) {
    StartProgram();
    Form<Form1>().Command13.UserClick();
    ASSERT_TRUE(IsLoaded("Form8"));
    EXPECT_TRUE(IsLoaded("Form1"));
    EXPECT_EQ(move().Combo1.Items(), (std::vector<std::string>{"101  JONES MARY", "104  SMITH JOHN"}));
    EXPECT_EQ(move().Combo2.Items(), (std::vector<std::string>{"12    SNQ3 ", "210   DD1  "}));
    EXPECT_EQ(move().Combo1.Text(), "select room");
    EXPECT_EQ(move().Combo2.Text(), "select room");
    EXPECT_FALSE(move().Label3.Visible());
    EXPECT_FALSE(move().Combo2.Visible());
    EXPECT_FALSE(move().Command1.Visible());

    Pick(move().Combo1, "104  SMITH JOHN");
    EXPECT_TRUE(move().Label3.Visible());
    EXPECT_TRUE(move().Combo2.Visible());
    EXPECT_TRUE(move().Command1.Visible());
}

TEST_F(MoveGuestTest, MoveChangesGuestRoomsLedgerLogAndFlag) {
    const std::string guests = ReadBytes("guest");
    const std::string jonesLedger = ReadBytes("dailycharge/dailycharge101JONESMARY12526");
    Open();
    Pick(move().Combo1, "104  SMITH JOHN");
    Pick(move().Combo2, "210   DD1  ");
    const std::string rooms = RoomsWith({{"104", "NYA"}, {"210", "YNO"}});
    move().Command1.UserClick();

    EXPECT_FALSE(IsLoaded("Form8"));
    EXPECT_TRUE(IsLoaded("Form1"));

    records::GuestRecord moved = smith;
    moved.Room = "210";
    EXPECT_EQ(records::ReadGuest(app().data(), records::kGuestFile, 3), moved);
    EXPECT_EQ(ReadBytes("guest"), guests.substr(0, 2 * 467 + 126) + "210" + guests.substr(2 * 467 + 129));
    EXPECT_EQ(ReadBytes("rooms"), rooms);

    EXPECT_FALSE(Exists(kSmith104));
    EXPECT_EQ(ReadBytes(kSmith210), smithLedger);
    EXPECT_EQ(ReadBytes("dailycharge/dailycharge101JONESMARY12526"), jonesLedger);

    EXPECT_EQ(ReadBytes("move/12626"), "\"A\",\"JD\",\"104\",\"210\",#14:05:09#\r\n");
    EXPECT_EQ(records::ReadMovedYes(app().data()), 1.0f);
    EXPECT_EQ(ReadBytes("movedyes").substr(0, 4), std::string("\x00\x00\x80\x3f", 4));
}

// The second move is typed rather than picked, into a room whose number has two digits.
TEST_F(MoveGuestTest, TwoMovesOfADayAreLoggedInOrder) {
    Open();
    Pick(move().Combo1, "104  SMITH JOHN");
    Pick(move().Combo2, "210   DD1  ");
    move().Command1.UserClick();
    ASSERT_FALSE(IsLoaded("Form8"));

    SetNow(12, 6, 2026, 15, 30, 0);
    Open();
    EXPECT_EQ(move().Combo1.Items(), (std::vector<std::string>{"101  JONES MARY", "210  SMITH JOHN"}));
    EXPECT_EQ(move().Combo2.Items(), (std::vector<std::string>{"12    SNQ3 "})) << "104 is dirty now";
    Pick(move().Combo1, "210  SMITH JOHN");
    Retype(move().Combo2, "12");
    move().Command1.UserClick();
    ASSERT_FALSE(IsLoaded("Form8"));

    EXPECT_EQ(records::ReadGuest(app().data(), records::kGuestFile, 3).Room, "12 ");
    EXPECT_EQ(ReadBytes("rooms"), RoomsWith({{"104", "NYA"}, {"210", "NYA"}, {"12 ", "YNO"}}));
    EXPECT_FALSE(Exists(kSmith210));
    EXPECT_EQ(ReadBytes("dailycharge/dailycharge12 SMITHJOHN12526"), smithLedger);
    EXPECT_EQ(ReadBytes("move/12626"), "\"A\",\"JD\",\"104\",\"210\",#14:05:09#\r\n"
                                       "\"A\",\"JD\",\"210\",\"12 \",#15:30:00#\r\n");
}

TEST_F(MoveGuestTest, RefusedNewRoomsChangeNothingAndKeepTheWindowOpen) {
    struct Case {
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {"", "You did not select a room from the list."},
        {"select room", "You did not select a room from the list."},
        {"101", "Room 101 is occupied. Please select another room."},
        {"211", "Room 211 is dirty. Please select another room."},
        {"212", "Room 212 is out of order. Please select another room."},
        {"999", "There is no room 999. Please select a room from the list."},
        {"104", "The guest is already in room 104. Please select another room."},
    };
    Open();
    Pick(move().Combo1, "104  SMITH JOHN");
    const testing::FolderImage before = DataImage();
    ASSERT_TRUE(before.count("rooms") && before.count("guest") && before.count(kSmith104));
    for (const Case& c : cases) {
        Retype(move().Combo2, c.typed);
        dialogs().Answer(platform::vbOK);
        move().Command1.UserClick();
        EXPECT_EQ(LastBox().prompt, c.message) << "typed \"" << c.typed << "\"";
        EXPECT_EQ(LastBox().title, "Error") << "typed \"" << c.typed << "\"";
        EXPECT_TRUE(IsLoaded("Form8")) << "typed \"" << c.typed << "\"";
        EXPECT_EQ(DataImage(), before) << "typed \"" << c.typed << "\"";
    }
    ExpectNoPendingAnswers();
}

// The room letters say available, but a guest record still holds the room.
TEST_F(MoveGuestTest, RefusesARoomAGuestIsIn) {
    records::AddGuest(app().data(), records::kGuestFile, Guest("BROWN", "AL", "210"));
    Open();
    Pick(move().Combo1, "104  SMITH JOHN");
    Pick(move().Combo2, "210   DD1  ");
    const testing::FolderImage before = DataImage();
    dialogs().Answer(platform::vbOK);
    move().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt, "Room 210 is occupied. Please select another room.");
    EXPECT_EQ(DataImage(), before);
}

TEST_F(MoveGuestTest, RefusesARoomWithoutAGuest) {
    Open();
    Pick(move().Combo1, "104  SMITH JOHN");
    Retype(move().Combo1, "105");
    Pick(move().Combo2, "210   DD1  ");
    const testing::FolderImage before = DataImage();
    dialogs().Answer(platform::vbOK);
    move().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt,
              "There is no guest in room 105. Please select the room the guest is in now from the list.");
    EXPECT_EQ(LastBox().title, "Error");
    EXPECT_EQ(DataImage(), before);
}

TEST_F(MoveGuestTest, MissingLedgerStopsTheMoveBeforeAnythingIsWritten) {
    platform::DeleteFile(records::StayLedgerPath(app().data(), smith));
    Open();
    Pick(move().Combo1, "104  SMITH JOHN");
    Pick(move().Combo2, "210   DD1  ");
    const testing::FolderImage before = DataImage();
    dialogs().Answer(platform::vbOK);
    move().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt,
              "The folio of the guest in room 104 (dailycharge104SMITHJOHN12526) could not be "
              "found. The guest was not moved.");
    EXPECT_EQ(DataImage(), before);
    EXPECT_TRUE(IsLoaded("Form8"));
}

// A past stay of the same guest in room 210 with the same arrival date kept its folio.
TEST_F(MoveGuestTest, LedgerNameOfAnotherStayStopsTheMove) {
    const std::string past =
        "\"210\",\"C\",\"12/5/26\",\"E\",\"ROOM RENT\",39,0,\"-----\",\"-----\",\"-----\"\r\n";
    WriteBytes(kSmith210, past);
    Open();
    Pick(move().Combo1, "104  SMITH JOHN");
    Pick(move().Combo2, "210   DD1  ");
    const testing::FolderImage before = DataImage();
    dialogs().Answer(platform::vbOK);
    move().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt,
              "Another folio named dailycharge210SMITHJOHN12526 already exists. The guest was "
              "not moved, so that the two folios are not mixed.");
    EXPECT_EQ(DataImage(), before);
    EXPECT_EQ(ReadBytes(kSmith210), past);
    EXPECT_EQ(ReadBytes(kSmith104), smithLedger);
}

TEST_F(MoveGuestTest, EscapeAndCancelLeaveEverythingUnchanged) {
    for (const bool escape : {true, false}) {
        Open();
        Pick(move().Combo1, "104  SMITH JOHN");
        Pick(move().Combo2, "210   DD1  ");
        const testing::FolderImage before = DataImage();
        if (escape)
            move().UserKey(platform::vbKeyEscape);
        else
            move().Command2.UserClick();
        EXPECT_FALSE(IsLoaded("Form8")) << (escape ? "Escape" : "Cancel");
        EXPECT_TRUE(IsLoaded("Form1")) << (escape ? "Escape" : "Cancel");
        EXPECT_TRUE(Form<Form1>().Visible());
        EXPECT_EQ(DataImage(), before) << (escape ? "Escape" : "Cancel");
    }
    EXPECT_FALSE(Exists("move/12626"));
    EXPECT_FALSE(Exists("movedyes"));
}

} // namespace
} // namespace vantreth
