// The shift file: record 1 holds the current shift letter and the clerk's initials.
//
//   offset width field
//        0     1 Shift   "A", "B" or "C"
//        1     2 Clerk   initials, blank-padded
//
// Text fields hold their stored fixed-width text; a new file reads as blanks.
#pragma once

#include "platform/files.h"

#include <string>
#include <string_view>

namespace records {

struct ShiftRecord {
    static constexpr int kLength = 3;

    std::string Shift = " ";
    std::string Clerk = "  ";

    static ShiftRecord Decode(std::string_view bytes);
    std::string Encode() const; // all 3 bytes

    friend bool operator==(const ShiftRecord&, const ShiftRecord&) = default;
};

ShiftRecord ReadShift(const platform::DataFolder& folder);
void WriteShift(const platform::DataFolder& folder, const ShiftRecord& shift);

} // namespace records
