// Re-rating the rooms from a rate table.
#include "records/rerate_rooms.h"

#include "records/filenames.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

namespace records {

std::vector<RoomRecord> ReRateRooms(const platform::DataFolder& folder, const RateTable& table) {
    std::vector<RoomRecord> locked;
    const std::vector<RoomRecord> rooms = ReadAllRooms(folder);
    for (size_t i = 0; i < rooms.size(); ++i) {
        RoomRecord room = rooms[i];
        if (room.RateLocked()) {
            locked.push_back(room);
            continue;
        }
        const std::optional<float> rate = table.RateForType(room.RoomType);
        if (!rate)
            continue;
        room.Rate = *rate;
        WriteRoom(folder, static_cast<long>(i) + 1, room);
    }
    return locked;
}

std::optional<RateTable> ReadSavedRateTable(const platform::DataFolder& folder, std::string_view fileName) {
    const platform::FilePath file = folder.File(fileName);
    const long long size = platform::FileSize(file);             // as the running step sees it
    if (size < static_cast<long long>(RateTable::kBytesWritten)) // -1: missing
        return std::nullopt;
    return ReadRateTable(folder, fileName);
}

std::string_view RateTableFileForDay(double day) {
    return day <= 4 ? kWeekdayFile : kWeekendFile;
}

std::optional<std::vector<RoomRecord>> ReRateRoomsForDay(const platform::DataFolder& folder, double day) {
    const std::optional<RateTable> table = ReadSavedRateTable(folder, RateTableFileForDay(day));
    if (!table)
        return std::nullopt;
    return ReRateRooms(folder, *table);
}

} // namespace records
