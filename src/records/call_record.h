// CallRecord: one call as the call box sends it, a fixed-width text of 58 characters;
// PhoneLogLine: the day's log of those records ("phonelog/" + DateDigits).
//
//   columns  field                     columns  field
//    11-15   call date, as printed      35-40   amount charged (decimal text)
//    17-20   extension ("1000" desk)    42-53   number called
//    23-27   call time "hh:mm" (24 h)
// The other columns belong to the box's own format and are never read.
//
// A PhoneLogLine holds one quoted text item: the record as received. A double quote or a
// line break inside a record would break the file, so they are stored as "'" and a blank;
// any other control character (a NUL from a noisy line) is stored as a blank. Logs of
// earlier versions hold such characters unchanged; they are read back as they stand.
#pragma once

#include "platform/files.h"

#include <string>
#include <string_view>
#include <vector>

namespace records {

struct CallRecord {
    static constexpr size_t kLength = 58;
    inline static constexpr std::string_view kFrontDeskExtension = "1000";

    std::string text; // the characters as received

    std::string Date() const;           // columns 11-15
    std::string ExtensionField() const; // columns 17-20, blanks kept
    std::string Extension() const;      // the same, trimmed at both ends
    std::string Time() const;           // columns 23-27
    std::string AmountField() const;    // columns 35-40, as received
    std::string Number() const;         // columns 42-53
    // The amount as a number (Val of columns 35-40), held as a Single.
    float Amount() const;
    // The text of the phone charge: the time, two blanks, the number (19 characters).
    std::string ChargeDescription() const;
    // Whether the record holds a control character (codes 0 to 31 and 127).
    bool HasControlCharacters() const;
    // Puts a blank in the place of every control character; the columns stay where they are.
    void BlankControlCharacters();
};

// Appends one record to the day's log (the file is created by the first append).
void AppendPhoneLogLine(const platform::DataFolder& folder, std::string_view dateText,
                        const CallRecord& record);
// The day's records in file order; none when the day has no log.
std::vector<CallRecord> ReadPhoneLog(const platform::DataFolder& folder, std::string_view dateText);

} // namespace records
