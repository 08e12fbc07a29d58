// Emergency Check Out: the caution on opening, the button that a three-character room
// number makes available, the guest slot and room record written byte for byte, the
// refusal of a room without a guest, and the ways out.
#include "support/app_fixture.h"
#include "support/builders.h"

#include "folio/form55.h"
#include "frontdesk/form1.h"
#include "frontdesk/form12.h"
#include "frontdesk/form17.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/room_record.h"
#include "records/settings_files.h"
#include "records/stay_ledger.h"

#include <filesystem>
#include <string>
#include <vector>

namespace vantreth {
namespace {

using platform::Fixed;

constexpr size_t kGuestLength = 467, kRoomLength = 115;
constexpr size_t kLastName = 0, kFirstName = 15, kGuestRoom = 126;
constexpr size_t kClean = 12, kVacant = 13, kService = 14;

const std::string kCaution =
    "Checking out this way is to only be used if the program is not working properly "
    "due to an error of some sort with one of the folios.";

records::GuestRecord Guest(const std::string& room, const std::string& last, const std::string& first) {
    return testing::Guest(room, last, first,
                          {.Company = "ACME",
                           .Clerk = "JD",
                           .PayCode = "L",
                           .ArrivalDate = "12/5/26",
                           .DepartureDate = "12/7/26",
                           .Rate = 49.95f,
                           .FolioNumber = "17",
                           .Comment = "LATE ARRIVAL"});
}

records::RoomRecord Room(const std::string& number, const std::string& service) {
    return testing::Room(
        {.room = number, .type = "NQ1", .rate = 49.95f, .service = service, .comment = "NEEDS TOWELS"});
}

// The bytes with one field of record n (from 1) replaced.
std::string With(std::string bytes, size_t recordLength, long n, size_t offset, const std::string& value) {
    bytes.replace(static_cast<size_t>(n - 1) * recordLength + offset, value.size(), value);
    return bytes;
}

// Deleting a stay: Room, LastName and FirstName blanked in place.
std::string Released(const std::string& guestBytes, long slot) {
    std::string bytes = With(guestBytes, kGuestLength, slot, kLastName, std::string(15, ' '));
    bytes = With(bytes, kGuestLength, slot, kFirstName, std::string(15, ' '));
    return With(bytes, kGuestLength, slot, kGuestRoom, "   ");
}

// Dirty, vacant and available.
std::string Freed(const std::string& roomBytes, long n) {
    std::string bytes = With(roomBytes, kRoomLength, n, kClean, "N");
    bytes = With(bytes, kRoomLength, n, kVacant, "Y");
    return With(bytes, kRoomLength, n, kService, "A");
}

class EmergencyCheckOutTest : public testing::AppFixture {
protected:
    EmergencyCheckOutTest() {
        SetNow(12, 6, 2026, 9, 0, 0);
        records::WriteIntroFlag(app().data(), 1.0f);
        records::AppendRoom(app().data(), Room("101", "O"));
        records::AppendRoom(app().data(), Room("102", "O"));
        records::AppendRoom(app().data(), Room("12", "O"));
        records::AppendRoom(app().data(), Room("110", "A"));
        AddGuest(Guest("101", "SMITH", "JOHN"));
        AddGuest(Guest("102", "JONES", "MARY"));
        AddGuest(Guest("12", "BAKER", "SUE"));
    }

    Form55& window() { return Form<Form55>(); }
    void AddGuest(const records::GuestRecord& guest) {
        records::AddGuest(app().data(), records::kGuestFile, guest);
        records::StayLedgerLine rent;
        rent.Room = guest.Room;
        rent.Shift = "A";
        rent.PostDate = "12/5/26";
        rent.Code = "E";
        rent.Description = "ROOM RENT";
        rent.Amount = 49.95f;
        records::AppendStayLedgerLine(records::StayLedgerPath(app().data(), guest), rent);
    }

    // The clerk's way in: Main Menu, Administration, "Emergency Room Check Out".
    void Open() {
        StartProgram();
        Form<Form1>().Command3.UserClick();
        Form<Form12>().Command2.UserClick();
        dialogs().Answer(platform::vbOK);
        Form<Form17>().Command4.UserClick();
        ASSERT_TRUE(window().Loaded());
        guests = ReadBytes("guest");
        rooms = ReadBytes("rooms");
    }

    void CheckOut(const std::string& room) {
        window().Text1.UserTypeText(room);
        window().Command1.UserClick();
    }

    void ExpectNothingWritten(const std::string& what) {
        EXPECT_EQ(ReadBytes("guest"), guests) << what;
        EXPECT_EQ(ReadBytes("rooms"), rooms) << what;
    }

    std::string guests, rooms;
};

TEST_F(EmergencyCheckOutTest, OpensWithACautionOverTheFrontDesk) {
    Open();
    EXPECT_EQ(LastBox().prompt, kCaution);
    EXPECT_EQ(LastBox().title, "Caution");
    EXPECT_EQ(LastBox().style, platform::vbOKOnly);
    EXPECT_TRUE(window().Visible());
    EXPECT_FALSE(IsLoaded("Form17")) << "the Administration menu closed itself";
    EXPECT_TRUE(IsLoaded("Form1"));
    EXPECT_FALSE(window().Command1.Enabled());
}

TEST_F(EmergencyCheckOutTest, CheckOutNowBecomesAvailableAtTheThirdCharacterAndStaysSo) {
    Open();
    window().Text1.UserTypeText("12");
    EXPECT_FALSE(window().Command1.Enabled()) << "12";
    window().Command1.UserClick();
    ExpectNothingWritten("a click on the unavailable button");
    window().Text1.UserType('2');
    EXPECT_TRUE(window().Command1.Enabled()) << "122";
    window().Text1.UserType(platform::vbKeyBack);
    EXPECT_EQ(window().Text1.Text(), "12");
    EXPECT_TRUE(window().Command1.Enabled()) << "back to 12";
}

TEST_F(EmergencyCheckOutTest, BlanksTheGuestSlotAndReleasesTheRoom) {
    const std::filesystem::path ledger =
        records::StayLedgerPath(app().data(), records::ReadGuest(app().data(), records::kGuestFile, 2))
            .path();
    Open();
    const std::string ledgerBytes = ReadBytes(std::filesystem::relative(ledger, dataRoot()).string());
    CheckOut("102");
    EXPECT_EQ(ReadBytes("guest"), Released(guests, 2));
    EXPECT_EQ(ReadBytes("rooms"), Freed(rooms, 2));
    EXPECT_FALSE(window().Loaded());
    EXPECT_EQ(dialogs().shown().size(), 1u) << "no box after the caution";

    EXPECT_EQ(ReadBytes(std::filesystem::relative(ledger, dataRoot()).string()), ledgerBytes)
        << "the stay's ledger stays on disk as it was";
    EXPECT_FALSE(Exists("history/history"));
    for (const char* folder : {"detail", "totals", "shiftcash", "dbdaily"})
        EXPECT_TRUE(!Exists(folder) || std::filesystem::is_empty(DataFile(folder))) << folder;

    EXPECT_EQ(records::FindFreeGuestSlot(app().data(), records::kGuestFile), 2) << "the slot is free again";
    EXPECT_TRUE(IsLoaded("Form1"));
}

TEST_F(EmergencyCheckOutTest, TwoCharacterRoomNeedsItsBlank) {
    Open();
    CheckOut("12 ");
    EXPECT_EQ(ReadBytes("guest"), Released(guests, 3));
    EXPECT_EQ(ReadBytes("rooms"), Freed(rooms, 3));
}

// Broken files are what this window is for: the first guest of the room is checked out,
// and every room record of that number is released.
TEST_F(EmergencyCheckOutTest, TakesTheFirstGuestOfTheRoomAndEveryRecordOfTheRoom) {
    AddGuest(Guest("101", "SECOND", "GUEST"));
    records::AppendRoom(app().data(), Room("101", "O"));
    Open();
    CheckOut("101");
    EXPECT_EQ(ReadBytes("guest"), Released(guests, 1));
    EXPECT_EQ(ReadBytes("rooms"), Freed(Freed(rooms, 1), 5));
}

TEST_F(EmergencyCheckOutTest, GuestWithOnlyALastNameCanBeCheckedOut) {
    AddGuest(Guest("110", "NOFIRST", ""));
    Open();
    CheckOut("110");
    EXPECT_EQ(ReadBytes("guest"), Released(guests, 4));
    EXPECT_EQ(ReadBytes("rooms"), Freed(rooms, 4));
}

TEST_F(EmergencyCheckOutTest, GuestWhoseRoomIsNotInTheRoomsFileIsStillCheckedOut) {
    AddGuest(Guest("999", "LOST", "ROOM"));
    Open();
    CheckOut("999");
    EXPECT_EQ(ReadBytes("guest"), Released(guests, 4));
    EXPECT_EQ(ReadBytes("rooms"), rooms);
    EXPECT_FALSE(window().Loaded());
}

// Releasing a room that no guest holds would mark it dirty while the clerk believes a
// guest was checked out: refused with a message, nothing written, the window stays.
TEST_F(EmergencyCheckOutTest, RoomWithoutAGuestIsRefused) {
    struct Case {
        std::string typed;
        std::string why;
    };
    const Case cases[] = {
        {"110", "a vacant room"},
        {"555", "no such room"},
        {"1011", "the room compares on all its characters"},
        {"12", "a two-character room without its blank"},
        {"   ", "blanks"},
        {"120", "a free slot that still names the room"},
    };
    for (const Case& c : cases) {
        Restart();
        records::GuestRecord left = Guest("120", "", "");
        AddGuest(Guest("120", "LEFT", "TODAY"));
        records::WriteGuest(app().data(), records::kGuestFile, 4, left);
        Open();
        window().Text1.UserTypeText(c.typed + "x"); // "12" alone does not make the button available
        window().Text1.UserType(platform::vbKeyBack);
        ASSERT_EQ(window().Text1.Text(), c.typed);
        dialogs().Answer(platform::vbOK);
        window().Command1.UserClick();
        EXPECT_EQ(LastBox().prompt,
                  "There is no guest checked into room " + c.typed + ". Nothing was checked out.")
            << c.why;
        EXPECT_EQ(LastBox().title, "WARNING") << c.why;
        ExpectNothingWritten(c.why);
        EXPECT_TRUE(window().Loaded()) << c.why;
        EXPECT_TRUE(window().Text1.HasFocus()) << c.why;
        window().Command2.UserClick();
    }
    ExpectNoPendingAnswers();
}

TEST_F(EmergencyCheckOutTest, ARefusedRoomCanBeCorrected) {
    Open();
    dialogs().Answer(platform::vbOK);
    CheckOut("110");
    ASSERT_TRUE(window().Loaded());
    for (int i = 0; i < 3; ++i)
        window().Text1.UserType(platform::vbKeyBack);
    CheckOut("101");
    EXPECT_EQ(ReadBytes("guest"), Released(guests, 1));
    EXPECT_FALSE(window().Loaded());
}

TEST_F(EmergencyCheckOutTest, CancelAndTheCloseBoxWriteNothing) {
    Open();
    window().Text1.UserTypeText("101");
    window().Command2.UserClick();
    EXPECT_FALSE(window().Loaded());
    ExpectNothingWritten("Cancel / Esc");

    Form<Form1>().Command3.UserClick();
    Form<Form12>().Command2.UserClick();
    dialogs().Answer(platform::vbOK);
    Form<Form17>().Command4.UserClick();
    window().Text1.UserTypeText("101");
    window().UserClose();
    EXPECT_FALSE(window().Loaded());
    ExpectNothingWritten("close box");
    EXPECT_TRUE(IsLoaded("Form1"));
}

// The window has no key handler of its own, so Esc does not close it.
TEST_F(EmergencyCheckOutTest, EscCancelsWithoutWriting) {
    Open();
    window().Text1.UserTypeText("101");
    window().UserKey(platform::vbKeyEscape);
    EXPECT_FALSE(window().Loaded());
    ExpectNothingWritten("Esc");
}

} // namespace
} // namespace vantreth
