// CancelRecord: one cancelled reservation, 112 bytes, appended to the year file (the data
// folder + the last two characters of the date text) and to the day file
// "notes/" + DateDigits.
//
//   offset width field
//        0    40 GuestName      last and first name, one blank between
//       40     2 Clerk
//       42    10 CanceledOn     date text
//       52    10 ReservedOn     date text
//       62    50 Reserved       five 10-byte fields never written (zero bytes), kept as read
//
// Text fields hold their stored fixed-width text.
#pragma once

#include "platform/files.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace records {

struct CancelRecord {
    static constexpr int kLength = 112;

    std::string GuestName = std::string(40, ' ');
    std::string Clerk = std::string(2, ' ');
    std::string CanceledOn = std::string(10, ' ');
    std::string ReservedOn = std::string(10, ' ');
    std::string Reserved = std::string(50, '\0');

    static CancelRecord Decode(std::string_view bytes);
    std::string Encode() const; // all 112 bytes

    friend bool operator==(const CancelRecord&, const CancelRecord&) = default;
};

// Every record of the file, records 1 to length / 112 (a missing file is created empty).
std::vector<CancelRecord> ReadCancelRecords(const platform::FilePath& file);
// Writes the record at record count + 1.
void AppendCancelRecord(const platform::FilePath& file, const CancelRecord& record);

} // namespace records
