// The rooms file of RoomRecords.
#include "records/room_record.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/record_fields.h"
#include "records/record_file.h"

#include <array>

namespace records {

using platform::DataFolder;
using platform::RecordBuffer;

RoomRecord RoomRecord::Decode(std::string_view bytes) {
    const RecordBuffer buffer(fields::Padded(bytes, kLength));
    RoomRecord room;
    room.Room = fields::Text(buffer, 0, kRoomWidth);
    room.RoomType = fields::Text(buffer, 3, kRoomTypeWidth);
    room.Rate = buffer.Single(8);
    room.Clean = fields::Text(buffer, 12, 1);
    room.Vacant = fields::Text(buffer, 13, 1);
    room.Service = fields::Text(buffer, 14, 1);
    room.Comment = fields::Text(buffer, 15, kCommentWidth);
    room.RateLock = fields::Text(buffer, 95, kRateLockWidth);
    room.SpareText = fields::Text(buffer, 105, kSpareTextWidth);
    return room;
}

std::string RoomRecord::Encode() const {
    RecordBuffer buffer(kLength);
    buffer.SetText(0, kRoomWidth, Room);
    buffer.SetText(3, kRoomTypeWidth, RoomType);
    buffer.SetSingle(8, Rate);
    buffer.SetText(12, 1, Clean);
    buffer.SetText(13, 1, Vacant);
    buffer.SetText(14, 1, Service);
    buffer.SetText(15, kCommentWidth, Comment);
    buffer.SetText(95, kRateLockWidth, RateLock);
    buffer.SetText(105, kSpareTextWidth, SpareText);
    return buffer.bytes();
}

bool RoomRecord::RateLocked() const {
    return platform::RTrim(RateLock) == "1";
}

void RoomRecord::SetRateLocked(bool locked) {
    RateLock = platform::Fixed(locked ? "1" : "", kRateLockWidth);
}

namespace {

RecordFile<RoomRecord> RoomsFile(const DataFolder& folder) {
    return RecordFile<RoomRecord>(folder.File(kRoomsFile));
}

struct TextField {
    size_t offset;
    size_t width;
};

// Every text field of the record, in file order.
constexpr std::array<TextField, 8> kTextFields{{
    {0, RoomRecord::kRoomWidth},
    {3, RoomRecord::kRoomTypeWidth},
    {12, 1},
    {13, 1},
    {14, 1},
    {15, RoomRecord::kCommentWidth},
    {95, RoomRecord::kRateLockWidth},
    {105, RoomRecord::kSpareTextWidth},
}};

} // namespace

RoomRecord ReadRoom(const DataFolder& folder, long n) {
    return RoomsFile(folder).Read(n);
}

void WriteRoom(const DataFolder& folder, long n, const RoomRecord& room) {
    // A stored room keeps the bytes of every field this write leaves as it was: a comment
    // or spare text of zero bytes stays zero bytes.
    RoomsFile(folder).WriteKeepingText(n, room, kTextFields);
}

long AppendRoom(const DataFolder& folder, const RoomRecord& room) {
    return RoomsFile(folder).Append(room);
}

long RoomCount(const DataFolder& folder) {
    return RoomsFile(folder).Count();
}

std::vector<RoomRecord> ReadAllRooms(const DataFolder& folder) {
    return RoomsFile(folder).ReadAll();
}

std::optional<long> FindRoom(const DataFolder& folder, std::string_view room3) {
    const std::string key = platform::Fixed(room3, RoomRecord::kRoomWidth);
    return RoomsFile(folder).Find([&](const RoomRecord& room) { return room.Room == key; });
}

} // namespace records
