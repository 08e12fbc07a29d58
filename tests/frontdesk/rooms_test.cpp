// The room inventory windows: Input Rooms, Edit Room Properties, Change Rates on Room Type.
#include "support/app_fixture.h"
#include "support/builders.h"

#include "frontdesk/form18.h"
#include "frontdesk/form24.h"
#include "frontdesk/form3.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/room_record.h"
#include "records/settings_files.h"

#include <cstring>

namespace vantreth {
namespace {

using platform::vbOK;

std::string SingleBytes(float value) {
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

class RoomsTest : public testing::AppFixture {
protected:
    template <class F> F& Open() {
        app().Dispatch([&] { app().Load(app().Get<F>()); });
        return Form<F>();
    }
    void AddRoom(const std::string& number, const std::string& type) {
        Form3& input = Form<Form3>();
        input.Text1.UserTypeText(number);
        if (!input.Combo1.UserPick(type))
            input.Combo1.SetText(type);
        input.Command1.UserClick();
    }
    std::vector<records::RoomRecord> Rooms() { return records::ReadAllRooms(app().data()); }
};

TEST_F(RoomsTest, AddRoomWritesTheWholeRecordByteForByte) {
    records::WriteDayOfWeek(app().data(), 2);
    records::WriteRateTable(app().data(), records::kWeekdayFile, {45.5f, 55.0f, 89.0f});
    Open<Form3>();
    AddRoom("12", "NDD1");
    std::string expected = "12 NDD1 " + SingleBytes(55.0f) + "YYA" + std::string(80, ' ') +
                           std::string(10, ' ') + std::string(10, ' ');
    EXPECT_EQ(ReadBytes("rooms"), expected);
    Form3& input = Form<Form3>();
    EXPECT_EQ(input.Label14.Caption(), "12");
    EXPECT_EQ(input.Text1.Text(), "");
    EXPECT_EQ(input.Combo1.Text(), "Type");
    EXPECT_TRUE(input.Text1.HasFocus());
}

TEST_F(RoomsTest, NewRoomTakesTodaysGroupRateNotTheLastRoomsRateOrLock) {
    records::WriteDayOfWeek(app().data(), 6);
    records::WriteRateTable(app().data(), records::kWeekendFile, {60.0f, 70.0f, 120.0f});
    records::AppendRoom(app().data(), testing::Room({.room = "101",
                                                     .type = "NQ1",
                                                     .rate = 99.0f,
                                                     .clean = " ",
                                                     .vacant = " ",
                                                     .service = " ",
                                                     .rateLocked = true,
                                                     .spare = "SPARESPARE"}));
    Open<Form3>();
    AddRoom("102", "SQ3");
    AddRoom("103", "XYZ");
    auto rooms = Rooms();
    ASSERT_EQ(rooms.size(), 3u);
    EXPECT_EQ(rooms[1].Rate, 120.0f);
    EXPECT_FALSE(rooms[1].RateLocked());
    EXPECT_EQ(rooms[1].SpareText, std::string(10, ' '));
    EXPECT_EQ(rooms[2].Rate, 0.0f) << "a type in no rate group starts at 0";
}

TEST_F(RoomsTest, NewRoomRateIsZeroWhenNoDayWasChosen) {
    records::WriteRateTable(app().data(), records::kWeekdayFile, {45.5f, 55.0f, 89.0f});
    Open<Form3>();
    AddRoom("101", "NQ1");
    EXPECT_EQ(Rooms().at(0).Rate, 0.0f);
}

TEST_F(RoomsTest, AddRoomRefusesBadNumbersAndWritesNothing) {
    struct Case {
        const char* number;
        const char* prompt;
    };
    const Case cases[] = {
        {"1234", "You put too many numbers in the room number.Please fix."},
        {"", "Please type the room number."},
        {"  ", "Please type the room number."},
        {"1/2", "A room number cannot hold / \\ \" , or control characters. Please fix."},
        {"1\\2", "A room number cannot hold / \\ \" , or control characters. Please fix."},
        {"1,2", "A room number cannot hold / \\ \" , or control characters. Please fix."},
        {"1\"", "A room number cannot hold / \\ \" , or control characters. Please fix."},
    };
    Form3& input = Open<Form3>();
    for (const Case& c : cases) {
        input.Text1.SetText(c.number);
        input.Combo1.UserPick("NQ1");
        dialogs().Answer(vbOK);
        input.Command1.UserClick();
        EXPECT_EQ(LastBox().title, "ATTENTION") << c.number;
        EXPECT_EQ(LastBox().prompt, c.prompt) << c.number;
        EXPECT_TRUE(input.Text1.HasFocus()) << c.number;
    }
    EXPECT_EQ(ReadBytes("rooms"), "");
}

TEST_F(RoomsTest, AddRoomNeedsAType) {
    Form3& input = Open<Form3>();
    input.Text1.UserTypeText("101");
    dialogs().Answer(vbOK);
    input.Command1.UserClick();
    EXPECT_EQ(LastBox().prompt, "You did not select a room type.");
    EXPECT_TRUE(input.Combo1.HasFocus());
    EXPECT_EQ(ReadBytes("rooms"), "");
}

TEST_F(RoomsTest, DuplicateNumberIsRefusedButALongerOneBesideItIsNot) {
    Open<Form3>();
    AddRoom("12", "NQ1");
    dialogs().Answer(vbOK);
    AddRoom("12", "DD1");
    EXPECT_EQ(LastBox().prompt, "This room number already exists.");
    EXPECT_EQ(Form<Form3>().Text1.Text(), "");
    AddRoom("120", "DD1");
    ASSERT_EQ(Rooms().size(), 2u);
    EXPECT_EQ(Rooms()[1].Room, "120");
}

TEST_F(RoomsTest, TypedTypeIsCutToFiveCharacters) {
    Form3& input = Open<Form3>();
    input.Text1.UserTypeText("7");
    for (int i = 0; i < 4; ++i)
        input.Combo1.UserType(platform::vbKeyBack);
    input.Combo1.UserTypeText("ABCDEFG");
    input.Command1.UserClick();
    EXPECT_EQ(Rooms().at(0).RoomType, "ABCDE");
}

TEST_F(RoomsTest, EnterMovesToTheTypeAndAPickMovesToAddRoom) {
    Form3& input = Open<Form3>();
    input.Text1.UserTypeText("5");
    input.Text1.UserType(platform::vbKeyReturn);
    EXPECT_TRUE(input.Combo1.HasFocus());
    EXPECT_EQ(input.Text1.Text(), "5");
    input.Combo1.UserPick("DD1");
    EXPECT_TRUE(input.Command1.HasFocus());
}

class EditRoomTest : public RoomsTest {
protected:
    void SetUp() override {
        records::AppendRoom(app().data(), testing::Room({.room = "12", .type = "NQ1", .rate = 45.5f}));
        records::AppendRoom(
            app().data(),
            testing::Room({.room = "14", .type = "NQ1", .rate = 45.5f, .vacant = "Y", .service = "O"}));
        records::AppendRoom(app().data(),
                            testing::Room({.room = "15", .type = "NQ1", .rate = 45.5f, .rateLocked = true}));
    }
    Form18& edit() { return Form<Form18>(); }
};

TEST_F(EditRoomTest, ListsRoomsThatAreNotOccupied) {
    Open<Form18>();
    EXPECT_EQ(edit().Combo1.Items(), (std::vector<std::string>{"12  NQ1", "15  NQ1"}));
    EXPECT_EQ(edit().Combo1.Text(), "select room");
    EXPECT_FALSE(edit().Command1.Enabled());
}

TEST_F(EditRoomTest, ChoosingARoomShowsItsTypeRateAndLock) {
    Open<Form18>();
    edit().Combo1.UserPick("15  NQ1");
    EXPECT_EQ(edit().Label2.Caption(), "15 ");
    EXPECT_EQ(edit().Combo2.Text(), "NQ1  ");
    EXPECT_EQ(edit().Text2.Text(), "45.5");
    EXPECT_EQ(edit().Check1.Value(), 1);
    EXPECT_TRUE(edit().Command1.Enabled());
}

// Rates past 100,000 show every cent in the windows that show a room's rate.
TEST_F(EditRoomTest, LargeRatesShowEveryCent) {
    for (const auto& [rate, shown] :
         {std::pair{100000.01f, "100000.01"}, {131071.99f, "131071.99"}, {112345.68f, "112345.68"}}) {
        records::RoomRecord room = Rooms()[0];
        room.Rate = rate;
        records::WriteRoom(app().data(), 1, room);
        Open<Form18>();
        edit().Combo1.UserPick("12  NQ1");
        EXPECT_EQ(edit().Text2.Text(), shown);
        app().Dispatch([&] { app().Unload(edit()); });
        Form24& byType = Open<Form24>();
        byType.Combo1.UserPick("NQ1");
        EXPECT_EQ(byType.Label2.Caption(), shown);
        app().Dispatch([&] { app().Unload(byType); });
    }
}

// A rate stored with parts of a cent, left in its box as loaded, is not judged: the room's
// type changes and its rate keeps its bytes.
TEST_F(EditRoomTest, ARateLeftAsLoadedIsKeptByteForByte) {
    for (const float rate : {53.955f, 150000.02f}) {
        records::RoomRecord room = Rooms()[0];
        room.Rate = rate;
        records::WriteRoom(app().data(), 1, room);
        Open<Form18>();
        edit().Combo1.UserPick("12  NQ1");
        edit().Combo2.UserPick("K11");
        dialogs().Answer(vbOK);
        edit().Command1.UserClick();
        EXPECT_EQ(LastBox().prompt, "Changes were recorded.") << rate;
        EXPECT_EQ(Rooms()[0].Rate, rate);
        EXPECT_EQ(Rooms()[0].RoomType, "K11  ") << rate;
        app().Dispatch([&] { app().Unload(edit()); });
    }
}

TEST_F(EditRoomTest, SaveWritesTypeRateAndLockAndKeepsTheRest) {
    Open<Form18>();
    edit().Combo1.UserPick("15  NQ1");
    edit().Combo2.UserPick("K11");
    edit().Text2.SetText("52.25");
    edit().Check1.UserClick();
    dialogs().Answer(vbOK);
    edit().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt, "Changes were recorded.");
    EXPECT_EQ(LastBox().title, "Room Changed");
    records::RoomRecord room = Rooms()[2];
    EXPECT_EQ(room.RoomType, "K11  ");
    EXPECT_EQ(room.Rate, 52.25f);
    EXPECT_EQ(room.RateLock, std::string(10, ' '));
    EXPECT_EQ(room.Clean + room.Vacant + room.Service, "YYA");
    EXPECT_TRUE(edit().Loaded());

    edit().Check1.UserClick();
    dialogs().Answer(vbOK);
    edit().Command1.UserClick();
    EXPECT_EQ(Rooms()[2].RateLock, "1         ");
}

TEST_F(EditRoomTest, RefusesAMissingTypeOrABadRateWithoutWriting) {
    Open<Form18>();
    edit().Combo1.UserPick("12  NQ1");
    const std::string before = ReadBytes("rooms");

    edit().Combo2.SetText("");
    dialogs().Answer(vbOK);
    edit().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt, "The room type selected is invalid. Please choose a valid room type.");
    EXPECT_EQ(edit().Combo2.Text(), "Type");
    dialogs().Answer(vbOK);
    edit().Command1.UserClick();
    EXPECT_EQ(LastBox().title, "WARNING") << "the placeholder Type is not a room type";

    edit().Combo2.UserPick("DD1");
    for (const char* bad : {"abc", "-5", "", "12,50"}) {
        edit().Text2.SetText(bad);
        dialogs().Answer(vbOK);
        edit().Command1.UserClick();
        EXPECT_EQ(LastBox().title, "WARNING") << bad;
        EXPECT_TRUE(edit().Text2.HasFocus()) << bad;
    }
    EXPECT_EQ(ReadBytes("rooms"), before);
}

TEST_F(EditRoomTest, ARoomThatIsNotFoundIsNotReportedAsChanged) {
    Open<Form18>();
    edit().Combo1.SetText("99 NQ1");
    edit().Label2.SetCaption("99 ");
    edit().Command1.SetEnabled(true);
    edit().Combo2.UserPick("DD1");
    edit().Text2.SetText("10");
    dialogs().Answer(vbOK);
    edit().Command1.UserClick();
    EXPECT_NE(LastBox().prompt, "Changes were recorded.");
}

TEST_F(EditRoomTest, ChangeRatesOnRoomTypeSetsEveryRoomOfTheTypeLockedOrNot) {
    Form24& rates = Open<Form24>();
    rates.Combo1.UserPick("NQ1");
    EXPECT_EQ(rates.Label4.Caption(), "NQ1");
    EXPECT_EQ(rates.Label2.Caption(), "45.5");
    EXPECT_TRUE(rates.Text1.HasFocus());
    rates.Text1.UserTypeText("50");
    rates.Command1.UserClick();
    for (const auto& room : Rooms())
        EXPECT_EQ(room.Rate, 50.0f) << room.Room;
    EXPECT_EQ(rates.Text1.Text(), "");
    EXPECT_TRUE(rates.Combo1.HasFocus());
}

TEST_F(EditRoomTest, ChangeRatesWithATypeWithoutRoomsKeepsTheShownRate) {
    Form24& rates = Open<Form24>();
    rates.Combo1.UserPick("NQ1");
    rates.Combo1.UserPick("SQ1");
    EXPECT_EQ(rates.Label2.Caption(), "45.5");
    const std::string before = ReadBytes("rooms");
    rates.Text1.SetText("80");
    rates.Command1.UserClick();
    EXPECT_EQ(ReadBytes("rooms"), before);
}

TEST_F(EditRoomTest, ChangeRatesRefusesNoTypeOrABadRate) {
    Form24& rates = Open<Form24>();
    const std::string before = ReadBytes("rooms");
    rates.Text1.SetText("50");
    dialogs().Answer(vbOK);
    rates.Command1.UserClick();
    EXPECT_EQ(LastBox().title, "WARNING");
    rates.Combo1.UserPick("NQ1");
    rates.Text1.SetText("fifty");
    dialogs().Answer(vbOK);
    rates.Command1.UserClick();
    EXPECT_EQ(LastBox().title, "WARNING");
    EXPECT_EQ(ReadBytes("rooms"), before);
}

} // namespace
} // namespace vantreth
