// The rooms file: one 115-byte RoomRecord per room, in the order the rooms were added.
//
//   offset width field
//        0     3 Room        room number, blank-padded ("12 ")
//        3     5 RoomType    type code ("NQ1", "SNQ3", ...)
//        8     4 Rate        Single, nightly rate before tax
//       12     1 Clean       "Y" clean, "N" dirty
//       13     1 Vacant      "Y" vacant, "N" not vacant
//       14     1 Service     "A" available, "O" occupied, "X" out of order
//       15    80 Comment     housekeeping comment, upper case
//       95    10 RateLock    "1" + 9 blanks = rate locked; anything else unlocked
//      105    10 SpareText   kept as read
//
// Text fields hold their stored fixed-width text, blanks included, so that comparisons
// "as stored" (the 3-character room key) work on the struct. A shorter value assigned
// to a field is blank-padded, a longer one cut, when the record is written.
#pragma once

#include "platform/files.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace records {

struct RoomRecord {
    static constexpr int kLength = 115;
    static constexpr size_t kRoomWidth = 3;
    static constexpr size_t kRoomTypeWidth = 5;
    static constexpr size_t kCommentWidth = 80;
    static constexpr size_t kRateLockWidth = 10;
    static constexpr size_t kSpareTextWidth = 10;

    std::string Room = std::string(kRoomWidth, ' ');
    std::string RoomType = std::string(kRoomTypeWidth, ' ');
    float Rate = 0;
    std::string Clean = " ";
    std::string Vacant = " ";
    std::string Service = " ";
    std::string Comment = std::string(kCommentWidth, ' ');
    std::string RateLock = std::string(kRateLockWidth, ' ');
    std::string SpareText = std::string(kSpareTextWidth, ' ');

    static RoomRecord Decode(std::string_view bytes);
    std::string Encode() const; // all 115 bytes

    // The rate is kept when the rate tables are applied.
    bool RateLocked() const;
    void SetRateLocked(bool locked);

    friend bool operator==(const RoomRecord&, const RoomRecord&) = default;
};

// Record n (from 1). A record past the end of the file reads as blanks and a zero rate.
RoomRecord ReadRoom(const platform::DataFolder& folder, long n);
// Writes record n. When the file holds record n, every text field whose text the write
// leaves as it was keeps its stored bytes (zero bytes are not turned into blanks).
void WriteRoom(const platform::DataFolder& folder, long n, const RoomRecord& room);
// Writes the room at record count + 1 and returns that record number.
long AppendRoom(const platform::DataFolder& folder, const RoomRecord& room);
long RoomCount(const platform::DataFolder& folder);
std::vector<RoomRecord> ReadAllRooms(const platform::DataFolder& folder);
// The first record whose Room equals the key taken as a 3-character field ("12" finds
// "12 "); nullopt when there is none.
std::optional<long> FindRoom(const platform::DataFolder& folder, std::string_view room3);

} // namespace records
