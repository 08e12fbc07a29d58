// Applying a rate table to the rooms file: every room whose rate is not locked takes the
// rate of its type's group; rooms of a type in no group keep theirs. Used when a rate
// table is saved, when the day of the week is set and at the night audit's change of date.
#pragma once

#include "platform/files.h"
#include "records/room_record.h"
#include "records/settings_files.h"

#include <optional>
#include <string_view>
#include <vector>

namespace records {

// Applies the table to every room that is not rate-locked and returns the locked rooms it
// passed over, in file order. Only the rooms given a rate are written back.
std::vector<RoomRecord> ReRateRooms(const platform::DataFolder& folder, const RateTable& table);

// The rate table as last saved; nullopt when its file does not exist or was never saved
// (shorter than the 12 bytes a save writes). A table saved with zero rates is returned.
std::optional<RateTable> ReadSavedRateTable(const platform::DataFolder& folder, std::string_view fileName);

// The table that a day number calls for: "weekday" for 4 or less, "weekend" for 5 or more.
std::string_view RateTableFileForDay(double day);

// Applies the day's table as saved and returns the locked rooms passed over. A table that
// was never saved re-rates nothing (nullopt), rather than setting every rate to 0.
std::optional<std::vector<RoomRecord>> ReRateRoomsForDay(const platform::DataFolder& folder, double day);

} // namespace records
