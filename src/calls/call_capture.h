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

// The calls the box sent, kept until they are posted, so that a restart loses none and posts
// none twice. Each whole record gets a number, counted on from the last one ever given:
// kCallsReceivedFile holds the records by number as they arrive, appended and flushed straight
// to the disk (never part of a step, so that it keeps them while every step fails), and
// kCallsPostedFile the number of the last call posted, changed by the step that posts it: after
// any restart the calls after that number are the ones still to post.
inline constexpr std::string_view kCallsReceivedFile = "calls-received";
inline constexpr std::string_view kCallsPostedFile = "calls-posted";

struct ReceivedCall {
    long number = 0;
    std::string text; // the record as received, kLength characters
};

// Where the records waiting in the call buffer stand among the numbered calls, for one run.
struct CallNumbers {
    long first = 0;   // the number of the first whole record in the buffer; 0: the folder not read yet
    long kept = 0;    // the last number kept in kCallsReceivedFile
    long told = 0;    // the last number the clerk was told was not kept
    long cleared = 0; // kCallsReceivedFile holds no number up to this one
};

// The number of the last call posted, as the running step sees it; 0 before the first.
long LastCallPosted(const platform::DataFolder& folder);
// Notes `number` as the last call posted, as a change of the running step.
void NoteCallsPosted(const platform::DataFolder& folder, long number);
// The whole entries of kCallsReceivedFile, in file order; none when it is missing.
std::vector<ReceivedCall> ReadReceivedCalls(const platform::DataFolder& folder);
// Appends the calls to kCallsReceivedFile and flushes it, straight to the disk, never through
// a link. Throws IoError when they are not kept.
void KeepReceivedCalls(const platform::DataFolder& folder, const std::vector<ReceivedCall>& calls);
// Removes kCallsReceivedFile (every call in it was posted), straight from the disk.
void ClearReceivedCalls(const platform::DataFolder& folder);

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

// The box that tells the clerk of the calls neither posted nor kept in the folder: the
// program's end loses them.
std::string NotKeptCallsMessage(const std::vector<records::CallRecord>& calls);

} // namespace vantreth
