// Blanking a room's guest record by hand: which record the typed room finds, what is
// blanked in it, and that nothing else in the data folder changes.
#include "support/app_fixture.h"
#include "support/builders.h"

#include "checkin/form29.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/guest_record.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>

namespace vantreth {
namespace {

using testing::AppFixture;

records::GuestRecord Guest(const std::string& room, const std::string& last, const std::string& first) {
    return testing::Guest(room, last, first,
                          {.Company = "ACME",
                           .Nights = 2,
                           .PayCode = "L",
                           .ArrivalDate = "12/6/26",
                           .Rate = 45.5f,
                           .FolioNumber = "17",
                           .Comment = "QUIET ROOM"});
}

// Record n (from 1) of a guest file's bytes.
std::string Slot(const std::string& bytes, long n) {
    constexpr size_t kLength = records::GuestRecord::kLength;
    return bytes.substr(static_cast<size_t>(n - 1) * kLength, kLength);
}

class Form29Test : public AppFixture {
protected:
    Form29Test() {
        SetNow(12, 6, 2026, 9, 0, 0);
        // Slot 1 is an old, checked-out stay of room 101.
        records::GuestRecord old = Guest("101", "OLDGUEST", "ANN");
        old.ClearStay();
        records::WriteGuest(app().data(), records::kGuestFile, 1, old);
        records::WriteGuest(app().data(), records::kGuestFile, 2, Guest("101", "SMITH", "JOHN"));
        records::WriteGuest(app().data(), records::kGuestFile, 3, Guest("12", "JONES", "MARY"));
        records::WriteGuest(app().data(), records::kGuestFile, 4, Guest("102", "BROWN", "BOB"));
        platform::AppendLine(records::StayLedgerFile(app().data(), "101", "SMITH", "JOHN", "12/6/26"),
                             platform::SeqLine().Text("101").Text("A").Text("12/6/26").Text("E"));
        original = ReadBytes("guest");
    }

    // The clerk types the room and clicks "CHECK OUT".
    void CheckOut(const std::string& room) {
        app().Dispatch([&] { app().Load(app().Get<Form29>()); });
        ASSERT_TRUE(Form<Form29>().Visible());
        Form<Form29>().Text1.UserTypeText(room);
        Form<Form29>().Command1.UserClick();
    }

    std::string original;
};

TEST_F(Form29Test, CheckOutBlanksRoomAndNamesOfThatRoomsStayOnly) {
    struct Case {
        const char* typed;
        long slot;
    };
    const Case cases[] = {{"101", 2}, {"12 ", 3}, {"102", 4}};
    for (const Case& c : cases) {
        WriteBytes("guest", original);
        const testing::FolderImage before = DataImage();
        CheckOut(c.typed);

        records::GuestRecord expected = records::GuestRecord::Decode(Slot(original, c.slot));
        expected.ClearStay();
        const std::string bytes = ReadBytes("guest");
        ASSERT_EQ(bytes.size(), original.size()) << "typed \"" << c.typed << "\"";
        for (long n = 1; n <= 4; ++n) {
            const std::string record = Slot(bytes, n);
            if (n == c.slot)
                EXPECT_EQ(record, expected.Encode()) << "typed \"" << c.typed << "\", slot " << n;
            else
                EXPECT_EQ(record, Slot(original, n)) << "typed \"" << c.typed << "\" changed slot " << n;
        }
        // The room's stay is gone but its ledger and every other file are as they were.
        testing::FolderImage after = DataImage();
        after["guest"] = before.at("guest");
        EXPECT_EQ(after, before) << "typed \"" << c.typed << "\"";
        EXPECT_TRUE(dialogs().shown().empty()) << "typed \"" << c.typed << "\"";
        app().Dispatch([&] { app().Unload(app().Get<Form29>()); });
    }
}

TEST_F(Form29Test, ARoomWithoutAStayChangesNothing) {
    // A short room is found only with the trailing blank its room field keeps.
    for (const char* typed : {"999", "10", "1", "", "   ", "01", "12", " 12", "10 "}) {
        CheckOut(typed);
        EXPECT_EQ(ReadBytes("guest"), original) << "typed \"" << typed << "\"";
        EXPECT_TRUE(dialogs().shown().empty()) << "typed \"" << typed << "\"";
        app().Dispatch([&] { app().Unload(app().Get<Form29>()); });
    }
}

TEST_F(Form29Test, ANumberLongerThanARoomFindsNoStay) {
    // The box takes three characters; a longer text is not cut to another room's number.
    CheckOut("1012");
    EXPECT_EQ(Form<Form29>().Text1.Text(), "101");
    EXPECT_EQ(TypedRoomKey("1012"), std::nullopt);
    EXPECT_EQ(BlankGuestOfRoom(app().data(), "1012"), std::nullopt);
    EXPECT_EQ(BlankGuestOfRoom(app().data(), "1022"), std::nullopt);
    EXPECT_EQ(Slot(ReadBytes("guest"), 4), Slot(original, 4)) << "room 102 was checked out";
}

TEST_F(Form29Test, OnlyTheFirstStayOfTheRoomIsBlanked) {
    records::WriteGuest(app().data(), records::kGuestFile, 5, Guest("12", "DOUBLE", "BOOKED"));
    EXPECT_EQ(BlankGuestOfRoom(app().data(), "12 "), 3);
    EXPECT_EQ(records::ReadGuest(app().data(), records::kGuestFile, 5), Guest("12", "DOUBLE", "BOOKED"));
    // Once blanked the first is no stay any more, so the second is next.
    EXPECT_EQ(BlankGuestOfRoom(app().data(), "12 "), 5);
    EXPECT_EQ(BlankGuestOfRoom(app().data(), "12 "), std::nullopt);
}

TEST_F(Form29Test, AMissingGuestFileIsNoStay) {
    std::filesystem::remove(DataFile("guest"));
    EXPECT_EQ(BlankGuestOfRoom(app().data(), "101"), std::nullopt);
    EXPECT_EQ(ReadBytes("guest"), "");
}

} // namespace
} // namespace vantreth
