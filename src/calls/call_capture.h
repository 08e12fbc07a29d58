// Call capture without a window: cutting the characters from the call box into records,
// and handling one record (the phone log, then the phone charge to the room's guest).
#pragma once

#include "platform/files.h"
#include "records/call_record.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantreth {

// Polls without a character after which a partial record is taken as finished: at 300
// baud a character follows the one before within about four polls, so a second of
// silence means the box sent a short record or noise.
inline constexpr int kCallQuietPolls = 100;

// Adds what arrived in one poll to the buffer. A partial record left from before a
// silence of kCallQuietPolls polls is dropped first, so that a short record or noise
// cannot shift every later record out of line; the complete records before it stay.
void GatherCallCharacters(std::string& buffer, std::string_view arrived, int quietPolls);

// The first complete record, taken off the front of the buffer; nullopt while fewer than
// 58 characters wait. Several records that arrive together come out one by one.
std::optional<records::CallRecord> TakeCallRecord(std::string& buffer);

struct CallPostingContext {
    std::string dateText; // the business date at the moment of handling
    std::string shift;    // gShift
    std::string clerk;    // gClerk
};

// Logs the record, then charges it (code "G") to the first in-house guest whose Room is
// the trimmed extension: a line in the stay's ledger and one in the day's detail, and
// PhoneCharges of the day's totals. The front desk's extension is never charged. Returns the
// guest's slot, or nullopt when nothing was charged. A call whose amount a Single cannot
// hold (the box sent "1e39"), or that would take the day's PhoneCharges past what a Single
// holds to the cent, is logged but charged to no one; `refused`, when given, is set for such
// a call of an in-house guest, so that the clerk can be told.
std::optional<long> HandleCallRecord(const platform::DataFolder& folder, const records::CallRecord& call,
                                     const CallPostingContext& context, bool* refused = nullptr);

// The box that tells the clerk of the records that held characters the phone log cannot
// keep (a NUL from a noisy line): they were stored and charged with blanks in their place.
std::string ControlCharactersMessage(const std::vector<records::CallRecord>& calls);

// The box that tells the clerk of the calls that were logged but not charged.
std::string RefusedCallsMessage(const std::vector<records::CallRecord>& calls);

} // namespace vantreth
