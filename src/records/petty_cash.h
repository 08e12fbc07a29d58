// PettyCashRecord: one payment out of the drawer, in "directbill/" + DateDigits, records
// of 54 bytes of which each write puts only the first 48, so a file of n records is
// 54 x (n - 1) + 48 bytes long.
//
//   offset width field
//        0     4 Amount     Single
//        4     2 Clerk
//        6    12 TimeText   "3:45:12 PM"
//       18    10 DateText
//       28    10 SpareText1 its first byte: the letter of the shift that paid it out
//                            (zero in records written before the shift was kept); the
//                            other nine are zero bytes, kept as read
//       38    10 SpareText2 never set: zero bytes, kept as read
#pragma once

#include "platform/decimal.h"
#include "platform/files.h"

#include <string>
#include <string_view>
#include <vector>

namespace records {

struct PettyCashRecord {
    static constexpr int kLength = 54;
    static constexpr int kBytesWritten = 48;

    float Amount = 0;
    std::string Clerk = std::string(2, ' ');
    std::string TimeText = std::string(12, ' ');
    std::string DateText = std::string(10, ' ');
    std::string SpareText1 = std::string(10, '\0');
    std::string SpareText2 = std::string(10, '\0');

    // The shift that paid it out. A record that names none was written before the shift
    // was kept; it counts as paid on shift "A", so that the day's payments still come off
    // exactly one drawer.
    std::string ShiftLetter() const;
    // Keeps the first letter of the shift; a blank or empty shift keeps none.
    void SetShiftLetter(std::string_view shift);

    static PettyCashRecord Decode(std::string_view bytes);
    std::string Encode() const; // the 48 bytes a write puts

    friend bool operator==(const PettyCashRecord&, const PettyCashRecord&) = default;
};

// Records in a file of this length: the whole part of (length / 54 + 1), 0 when empty.
long PettyCashRecordCount(long fileLength);

// The day's records in the order entered (a missing file is created empty).
std::vector<PettyCashRecord> ReadPettyCash(const platform::DataFolder& folder, std::string_view dateText);
// The petty cash that one shift paid out on the day: the sum of its records' amounts.
platform::Decimal ShiftPettyCashTotal(const platform::DataFolder& folder, std::string_view shift,
                                      std::string_view dateText);
// Writes the record after the last one.
void AppendPettyCash(const platform::DataFolder& folder, std::string_view dateText,
                     const PettyCashRecord& record);

} // namespace records
