// The rooms file's 115-byte RoomRecord.
#include "records/filenames.h"
#include "records/rerate_rooms.h"
#include "records/room_record.h"
#include "records_fixture.h"

#include <string>

namespace records {
namespace {

using testing::Bytes;
using testing::RecordsTest;
using testing::Show;

const std::string kRoom12 = "12 DD1  " + Bytes({0x00, 0x00, 0x36, 0x42}) + "YYA" + std::string(80, ' ') +
                            std::string(10, ' ') + std::string(10, ' ');

RoomRecord Room12() {
    RoomRecord room;
    room.Room = "12";
    room.RoomType = "DD1";
    room.Rate = 45.5f;
    room.Clean = "Y";
    room.Vacant = "Y";
    room.Service = "A";
    return room;
}

TEST(RoomRecordTest, EncodesFieldsPackedWithBlankPaddedText) {
    const std::string bytes = Room12().Encode();
    ASSERT_EQ(bytes.size(), 115u);
    EXPECT_EQ(bytes, kRoom12) << Show(bytes);
}

TEST(RoomRecordTest, DecodesEveryFieldAtItsOffset) {
    const std::string comment = "NEEDS NEW LAMP" + std::string(66, ' ');
    const std::string bytes =
        "7  SNQ3 " + Bytes({0x00, 0x00, 0x96, 0x42}) + "NNO" + comment + "1         " + "SPARE     ";
    const RoomRecord room = RoomRecord::Decode(bytes);
    EXPECT_EQ(room.Room, "7  ");
    EXPECT_EQ(room.RoomType, "SNQ3 ");
    EXPECT_EQ(room.Rate, 75.0f);
    EXPECT_EQ(room.Clean, "N");
    EXPECT_EQ(room.Vacant, "N");
    EXPECT_EQ(room.Service, "O");
    EXPECT_EQ(room.Comment, comment);
    EXPECT_EQ(room.RateLock, "1         ");
    EXPECT_EQ(room.SpareText, "SPARE     ");
    EXPECT_EQ(room.Encode(), bytes) << "a decoded record encodes back to the same bytes";
}

TEST(RoomRecordTest, LongValuesAreCutToTheFieldWidth) {
    RoomRecord room = Room12();
    room.Room = "1234";
    room.RoomType = "SNQ1XY";
    const RoomRecord back = RoomRecord::Decode(room.Encode());
    EXPECT_EQ(back.Room, "123");
    EXPECT_EQ(back.RoomType, "SNQ1X");
    EXPECT_EQ(back.Clean, "Y") << "cutting a field must not shift the fields after it";
}

TEST(RoomRecordTest, OnlyALockOfExactlyOneIsLocked) {
    struct Case {
        const char* lock;
        bool locked;
    };
    const Case cases[] = {{"1         ", true},  {"1", true},           {"          ", false},
                          {" 1        ", false}, {"11        ", false}, {"0         ", false}};
    for (const Case& c : cases) {
        RoomRecord room;
        room.RateLock = c.lock;
        EXPECT_EQ(room.RateLocked(), c.locked) << "RateLock \"" << c.lock << "\"";
    }
}

TEST(RoomRecordTest, SetRateLockedWritesOneOrTenBlanks) {
    RoomRecord room;
    room.SetRateLocked(true);
    EXPECT_EQ(room.RateLock, "1         ");
    room.SetRateLocked(false);
    EXPECT_EQ(room.RateLock, "          ");
}

using RoomsFileTest = RecordsTest;

TEST_F(RoomsFileTest, WriteRoomPutsRecordNAtItsOffset) {
    WriteRoom(folder(), 2, Room12());
    const std::string raw = ReadRaw(folder().File(kRoomsFile));
    ASSERT_EQ(raw.size(), 230u);
    EXPECT_EQ(raw.substr(0, 115), std::string(115, '\0')) << "record 1 was never written";
    EXPECT_EQ(raw.substr(115), kRoom12) << Show(raw.substr(115));
    EXPECT_EQ(RoomCount(folder()), 2);
}

TEST_F(RoomsFileTest, ReadRoomDecodesTheStoredBytes) {
    WriteRaw(folder().File(kRoomsFile), kRoom12);
    EXPECT_EQ(ReadRoom(folder(), 1), RoomRecord::Decode(kRoom12));
    EXPECT_EQ(ReadRoom(folder(), 1).Rate, 45.5f);
}

TEST_F(RoomsFileTest, ReadingPastTheEndGivesBlanksAndZero) {
    const RoomRecord room = ReadRoom(folder(), 3);
    EXPECT_EQ(room.Room, "   ");
    EXPECT_EQ(room.RoomType, "     ");
    EXPECT_EQ(room.Rate, 0.0f);
    EXPECT_EQ(room.Service, " ");
    EXPECT_EQ(room.RateLock, std::string(10, ' '));
    EXPECT_FALSE(room.RateLocked());
    EXPECT_EQ(RoomCount(folder()), 0) << "reading creates the file empty and does not grow it";
}

TEST_F(RoomsFileTest, RoomCountIgnoresAPartialLastRecord) {
    WriteRaw(folder().File(kRoomsFile), kRoom12 + kRoom12 + "12 DD1");
    EXPECT_EQ(RoomCount(folder()), 2);
    EXPECT_EQ(ReadAllRooms(folder()).size(), 2u);
}

TEST_F(RoomsFileTest, AppendRoomGoesAfterTheLastRecord) {
    EXPECT_EQ(AppendRoom(folder(), Room12()), 1);
    RoomRecord second = Room12();
    second.Room = "120";
    EXPECT_EQ(AppendRoom(folder(), second), 2);
    const std::vector<RoomRecord> rooms = ReadAllRooms(folder());
    ASSERT_EQ(rooms.size(), 2u);
    EXPECT_EQ(rooms[0].Room, "12 ");
    EXPECT_EQ(rooms[1].Room, "120");
}

TEST_F(RoomsFileTest, FindRoomComparesTheThreeCharacterFieldAndTakesTheFirstMatch) {
    for (const char* number : {"120", "12", "3", "12"}) {
        RoomRecord room = Room12();
        room.Room = number;
        AppendRoom(folder(), room);
    }
    struct Case {
        const char* key;
        std::optional<long> record;
    };
    const Case cases[] = {
        {"12 ", 2}, {"12", 2}, {"120", 1}, {"3  ", 3}, {"1", std::nullopt}, {"  3", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindRoom(folder(), c.key), c.record) << "key \"" << c.key << "\"";
}

// A room as an older writer left it: comment, lock and spare text never filled (zero bytes),
// the comment of the second room only partly.
const std::string kZeroFilled = "12 DD1  " + Bytes({0x00, 0x00, 0x36, 0x42}) + "YYA" + std::string(80, '\0') +
                                std::string(10, '\0') + std::string(10, '\0');
const std::string kHalfFilled = "14 NQ1  " + Bytes({0x00, 0x00, 0x36, 0x42}) + "NNX" + "LAMP" +
                                std::string(76, '\0') + "1" + std::string(9, '\0') + std::string(10, '\0');

TEST_F(RoomsFileTest, ARewriteKeepsTheBytesOfEveryFieldItDoesNotChange) {
    struct Case {
        const char* what;
        const std::string& stored;
        void (*change)(RoomRecord&);
        // The bytes that differ from the stored record: offset and new bytes.
        size_t offset;
        std::string bytes;
    };
    const Case cases[] = {
        {"nothing", kZeroFilled, [](RoomRecord&) {}, 0, ""},
        {"the rate", kZeroFilled, [](RoomRecord& r) { r.Rate = 50; }, 8, Bytes({0x00, 0x00, 0x48, 0x42})},
        {"the type", kZeroFilled, [](RoomRecord& r) { r.RoomType = "SNQ3"; }, 3, "SNQ3 "},
        {"the lock, cleared over zero bytes", kZeroFilled, [](RoomRecord& r) { r.SetRateLocked(false); }, 0,
         ""},
        {"the comment", kZeroFilled, [](RoomRecord& r) { r.Comment = "NEW LAMP"; }, 15,
         "NEW LAMP" + std::string(72, ' ')},
        {"the lock of a half-filled room", kHalfFilled, [](RoomRecord& r) { r.SetRateLocked(false); }, 95,
         std::string(10, ' ')},
    };
    for (const Case& c : cases) {
        WriteRaw(folder().File(kRoomsFile), kRoom12 + c.stored);
        RoomRecord room = ReadRoom(folder(), 2);
        c.change(room);
        WriteRoom(folder(), 2, room);
        std::string expected = c.stored;
        expected.replace(c.offset, c.bytes.size(), c.bytes);
        const std::string raw = ReadRaw(folder().File(kRoomsFile));
        EXPECT_EQ(raw.substr(0, 115), kRoom12) << c.what;
        EXPECT_EQ(raw.substr(115), expected) << c.what << ": " << Show(raw.substr(115));
    }
}

TEST_F(RoomsFileTest, ReRatingKeepsEveryOtherByteOfTheRooms) {
    WriteRaw(folder().File(kRoomsFile), kZeroFilled + kHalfFilled);
    RateTable table;
    table.SingleRate = 60;
    table.DoubleRate = 50;
    EXPECT_EQ(ReRateRooms(folder(), table).size(), 1u) << "the half-filled room is locked";
    std::string expected = kZeroFilled + kHalfFilled;
    expected.replace(8, 4, Bytes({0x00, 0x00, 0x48, 0x42}));
    EXPECT_EQ(ReadRaw(folder().File(kRoomsFile)), expected) << Show(ReadRaw(folder().File(kRoomsFile)));
}

} // namespace
} // namespace records
