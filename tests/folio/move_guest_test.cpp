// Move Guest: the two room lists, a move checked against every file it touches, the checks
// that refuse a move before anything is written, and the ways out of the window.
#include "support/app_fixture.h"

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

records::RoomRecord Room(const std::string& number, const std::string& type, const char* clean,
                         const char* vacant, const char* service) {
    records::RoomRecord room;
    room.Room = Fixed(number, 3);
    room.RoomType = Fixed(type, 5);
    room.Rate = 45.5f;
    room.Clean = clean;
    room.Vacant = vacant;
    room.Service = service;
    room.Comment = Fixed("CHECK THE TV", 80);
    room.RateLock = Fixed("1", 10);
    room.SpareText = Fixed("spare", 10);
    return room;
}

records::GuestRecord Guest(const std::string& last, const std::string& first, const std::string& room) {
    records::GuestRecord guest;
    guest.LastName = Fixed(last, 15);
    guest.FirstName = Fixed(first, 15);
    guest.Company = Fixed("ACME", 20);
    guest.Room = Fixed(room, 3);
    guest.Adults = 2;
    guest.Nights = 3;
    guest.PayCode = "L";
    guest.CheckInTime = Fixed("3:45:12 PM", 10);
    guest.ArrivalDate = Fixed("12/5/26", 10);
    guest.DepartureDate = Fixed("12/8/26", 10);
    guest.Rate = 45.5f;
    guest.FolioNumber = Fixed("17", 5);
    return guest;
}

records::StayLedgerLine Posting(const std::string& room, const char* code, const char* description,
                                float amount) {
    records::StayLedgerLine line;
    line.Room = Fixed(room, 3);
    line.Shift = "A";
    line.PostDate = "12/5/26";
    line.Code = code;
    line.Description = description;
    line.Amount = amount;
    return line;
}

// Every file of the data folder with its bytes.
using Snapshot = std::map<std::string, std::string>;

class MoveGuestTest : public AppFixture {
protected:
    static constexpr const char* kSmith104 = "dailycharge/dailycharge104SMITHJOHN12526";
    static constexpr const char* kSmith210 = "dailycharge/dailycharge210SMITHJOHN12526";

    MoveGuestTest() {
        records::WriteIntroFlag(app().data(), 1.0f);
        records::WriteShift(app().data(), {"A", "JD"});
        SetNow(12, 6, 2026, 14, 5, 9);

        for (const records::RoomRecord& room : {
                 Room("101", "NQ1", "Y", "N", "O"),
                 Room("104", "Q11", "Y", "N", "O"),
                 Room("12", "SNQ3", "Y", "Y", "A"),
                 Room("210", "DD1", "Y", "Y", "A"),
                 Room("211", "NQ1", "N", "Y", "A"),
                 Room("212", "NDD1", "Y", "Y", "X"),
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
        records::AppendStayLedgerLine(ledger, Posting("104", "E", "ROOM RENT", 45.5f));
        records::AppendStayLedgerLine(ledger, Posting("104", "J", "PET, SMALL DOG", 10));
        records::AppendStayLedgerLine(ledger, Posting("104", "L", "CASH REC.", 20.25f));
        records::AppendStayLedgerLine(records::StayLedgerPath(app().data(), Guest("JONES", "MARY", "101")),
                                      Posting("101", "E", "ROOM RENT", 45.5f));
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

    void Retype(platform::ComboBox& box, const std::string& text) {
        for (size_t n = box.Text().size(); n > 0; --n)
            box.UserType(platform::vbKeyBack);
        ASSERT_EQ(box.Text(), "") << box.Name();
        box.UserTypeText(text);
        ASSERT_EQ(box.Text(), text) << box.Name();
    }

    Snapshot Files() const {
        Snapshot files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dataRoot()))
            if (entry.is_regular_file()) {
                const std::string relative = std::filesystem::relative(entry.path(), dataRoot()).string();
                files[relative] = ReadBytes(relative);
            }
        return files;
    }

    // The rooms file as expected: the six rooms with the letters of the ones given changed.
    std::string RoomsWith(const std::map<std::string, std::string>& letters) {
        std::string bytes;
        for (records::RoomRecord room : records::ReadAllRooms(app().data())) {
            auto it = letters.find(room.Room);
            if (it != letters.end()) {
                room.Clean = it->second.substr(0, 1);
                room.Vacant = it->second.substr(1, 1);
                room.Service = it->second.substr(2, 1);
            }
            bytes += room.Encode();
        }
        return bytes;
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
    const Snapshot before = Files();
    ASSERT_TRUE(before.count("rooms") && before.count("guest") && before.count(kSmith104));
    for (const Case& c : cases) {
        Retype(move().Combo2, c.typed);
        dialogs().Answer(platform::vbOK);
        move().Command1.UserClick();
        EXPECT_EQ(LastBox().prompt, c.message) << "typed \"" << c.typed << "\"";
        EXPECT_EQ(LastBox().title, "Error") << "typed \"" << c.typed << "\"";
        EXPECT_TRUE(IsLoaded("Form8")) << "typed \"" << c.typed << "\"";
        EXPECT_EQ(Files(), before) << "typed \"" << c.typed << "\"";
    }
    ExpectNoPendingAnswers();
}

// The room letters say available, but a guest record still holds the room.
TEST_F(MoveGuestTest, RefusesARoomAGuestIsIn) {
    records::AddGuest(app().data(), records::kGuestFile, Guest("BROWN", "AL", "210"));
    Open();
    Pick(move().Combo1, "104  SMITH JOHN");
    Pick(move().Combo2, "210   DD1  ");
    const Snapshot before = Files();
    dialogs().Answer(platform::vbOK);
    move().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt, "Room 210 is occupied. Please select another room.");
    EXPECT_EQ(Files(), before);
}

TEST_F(MoveGuestTest, RefusesARoomWithoutAGuest) {
    Open();
    Pick(move().Combo1, "104  SMITH JOHN");
    Retype(move().Combo1, "105");
    Pick(move().Combo2, "210   DD1  ");
    const Snapshot before = Files();
    dialogs().Answer(platform::vbOK);
    move().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt,
              "There is no guest in room 105. Please select the room the guest is in now from the list.");
    EXPECT_EQ(LastBox().title, "Error");
    EXPECT_EQ(Files(), before);
}

TEST_F(MoveGuestTest, MissingLedgerStopsTheMoveBeforeAnythingIsWritten) {
    std::filesystem::remove(DataFile(kSmith104));
    Open();
    Pick(move().Combo1, "104  SMITH JOHN");
    Pick(move().Combo2, "210   DD1  ");
    const Snapshot before = Files();
    dialogs().Answer(platform::vbOK);
    move().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt,
              "The folio of the guest in room 104 (dailycharge104SMITHJOHN12526) could not be "
              "found. The guest was not moved.");
    EXPECT_EQ(Files(), before);
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
    const Snapshot before = Files();
    dialogs().Answer(platform::vbOK);
    move().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt,
              "Another folio named dailycharge210SMITHJOHN12526 already exists. The guest was "
              "not moved, so that the two folios are not mixed.");
    EXPECT_EQ(Files(), before);
    EXPECT_EQ(ReadBytes(kSmith210), past);
    EXPECT_EQ(ReadBytes(kSmith104), smithLedger);
}

TEST_F(MoveGuestTest, EscapeAndCancelLeaveEverythingUnchanged) {
    for (const bool escape : {true, false}) {
        Open();
        Pick(move().Combo1, "104  SMITH JOHN");
        Pick(move().Combo2, "210   DD1  ");
        const Snapshot before = Files();
        if (escape)
            move().UserKey(platform::vbKeyEscape);
        else
            move().Command2.UserClick();
        EXPECT_FALSE(IsLoaded("Form8")) << (escape ? "Escape" : "Cancel");
        EXPECT_TRUE(IsLoaded("Form1")) << (escape ? "Escape" : "Cancel");
        EXPECT_TRUE(Form<Form1>().Visible());
        EXPECT_EQ(Files(), before) << (escape ? "Escape" : "Cancel");
    }
    EXPECT_FALSE(Exists("move/12626"));
    EXPECT_FALSE(Exists("movedyes"));
}

} // namespace
} // namespace vantreth
