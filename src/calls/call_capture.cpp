// Framing the call box's characters into records and posting each record.
#include "calls/call_capture.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/day_totals.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/posting_codes.h"
#include "records/stay_ledger.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <vector>

namespace vantreth {

using records::CallRecord;

void GatherCallCharacters(std::string& buffer, std::string_view arrived, int quietPolls) {
    if (arrived.empty())
        return;
    // Only the tail after the last whole record can be a short record or noise: the whole
    // records before it wait to be posted, however long a box has kept them waiting.
    if (quietPolls >= kCallQuietPolls)
        buffer.resize(buffer.size() - buffer.size() % CallRecord::kLength);
    buffer.append(arrived);
}

std::optional<CallRecord> TakeCallRecord(std::string& buffer) {
    if (buffer.size() < CallRecord::kLength)
        return std::nullopt;
    CallRecord call{buffer.substr(0, CallRecord::kLength)};
    buffer.erase(0, CallRecord::kLength);
    return call;
}

long LastCallPosted(const platform::DataFolder& folder) {
    const std::optional<std::string> text = platform::ReadFile(folder.File(kCallsPostedFile));
    return text ? std::max(0L, std::atol(text->c_str())) : 0;
}

void NoteCallsPosted(const platform::DataFolder& folder, long number) {
    platform::ReplaceFileContent(folder.File(kCallsPostedFile), std::to_string(number) + "\n");
}

// An entry of the received calls: "<number> <record>\n", each character of the record that is
// not printable, and each "%", written as "%" and two hexadecimal digits.
namespace {

std::string Entry(const ReceivedCall& call) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = std::to_string(call.number) + " ";
    for (const char c : call.text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7F || c == '%') {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\n";
}

std::optional<ReceivedCall> ParseEntry(std::string_view line) {
    const size_t blank = line.find(' ');
    if (blank == 0 || blank == std::string_view::npos)
        return std::nullopt;
    ReceivedCall call;
    for (const char c : line.substr(0, blank)) {
        if (c < '0' || c > '9' || call.number > 100000000000L)
            return std::nullopt;
        call.number = call.number * 10 + (c - '0');
    }
    const auto digit = [](char c) -> int {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    for (size_t at = blank + 1; at < line.size(); ++at) {
        if (line[at] != '%') {
            call.text += line[at];
            continue;
        }
        if (at + 2 >= line.size() || digit(line[at + 1]) < 0 || digit(line[at + 2]) < 0)
            return std::nullopt;
        call.text += static_cast<char>(digit(line[at + 1]) * 16 + digit(line[at + 2]));
        at += 2;
    }
    if (call.text.size() != CallRecord::kLength)
        return std::nullopt;
    return call;
}

} // namespace

std::vector<ReceivedCall> ReadReceivedCalls(const platform::DataFolder& folder) {
    const std::filesystem::path file = folder.File(kCallsReceivedFile).path();
    const std::optional<std::string> text = platform::fileops::ReadWhole(file, O_NOFOLLOW);
    std::vector<ReceivedCall> calls;
    if (!text)
        return calls;
    // A line cut short (a write the disk did not take whole) is left out.
    for (size_t at = 0, end; (end = text->find('\n', at)) != std::string::npos; at = end + 1)
        if (std::optional<ReceivedCall> call = ParseEntry(std::string_view(*text).substr(at, end - at)))
            calls.push_back(std::move(*call));
    return calls;
}

void KeepReceivedCalls(const platform::DataFolder& folder, const std::vector<ReceivedCall>& calls) {
    if (calls.empty())
        return;
    // Never a file of a step (see kCallsReceivedFile): changed on the disk by its plain name.
    const std::filesystem::path file = folder.File(kCallsReceivedFile).path();
    // A line left cut short by an earlier write is ended first, so that it spoils no other.
    std::string text = "\n";
    for (const ReceivedCall& call : calls)
        text += Entry(call);
    // Outside every step, it asks no fault source of the folder's engine, whose faults stand
    // for the changes of a step.
    platform::fileops::Fd fd(
        platform::fileops::OpenForChange(nullptr, file, O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW));
    platform::fileops::Write(nullptr, file, fd.get(), text, -1);
    platform::fileops::Sync(nullptr, file, fd.get());
    platform::fileops::Close(file, fd.Release());
}

void ClearReceivedCalls(const platform::DataFolder& folder) {
    platform::fileops::Remove(nullptr, folder.File(kCallsReceivedFile).path());
}

std::optional<long> HandleCallRecord(const platform::DataFolder& folder, const CallRecord& call,
                                     const CallPostingContext& context, bool* refused) {
    records::AppendPhoneLogLine(folder, context.dateText, call);

    const std::string extension = call.Extension();
    if (extension == CallRecord::kFrontDeskExtension)
        return std::nullopt;

    // Rooms are compared as stored: a two-character room keeps its trailing blank, and a
    // free slot's blank Room never equals a non-empty extension.
    const std::vector<records::GuestRecord> guests = records::ReadAllGuests(folder, records::kGuestFile);
    long slot = 0;
    for (long n = 1; n <= static_cast<long>(guests.size()); ++n) {
        if (guests[n - 1].Room == extension) {
            slot = n;
            break;
        }
    }
    if (slot == 0)
        return std::nullopt;
    const records::GuestRecord& guest = guests[slot - 1];

    // A call is never held up by its charge: one the day's total cannot take to the cent is
    // logged and told to the clerk like an amount that is no number, and the calls after it go on.
    const platform::Decimal phoneCharges =
        platform::Decimal::Of(records::ReadDayTotals(folder, context.dateText).PhoneCharges);
    if (!platform::FitsSingle(platform::Val(call.AmountField())) ||
        !platform::FitsSingleToTheCent(phoneCharges + platform::Decimal::Of(call.Amount()))) {
        if (refused != nullptr)
            *refused = true;
        return std::nullopt;
    }
    const records::StayLedgerLine line{.Room = guest.Room,
                                       .Shift = context.shift,
                                       .PostDate = context.dateText,
                                       .Code = std::string(records::kPhoneCharge.code),
                                       .Description = call.ChargeDescription(),
                                       .Amount = call.Amount()};
    records::PostToStay(folder, records::StayLedgerPath(folder, guest), line, context.clerk);
    records::AddToDayTotals(folder, context.dateText, *records::kPhoneCharge.column,
                            platform::Decimal::Of(line.Amount));
    return slot;
}

std::string ControlCharactersMessage(const std::vector<CallRecord>& calls) {
    std::string text = "The call box sent characters that cannot be stored; they were logged as blanks:";
    for (CallRecord call : calls) {
        call.BlankControlCharacters();
        text += "\n\"" + platform::RTrim(call.text) + "\"";
    }
    return text + "\nCheck these calls against the call box if they look wrong.";
}

std::string RefusedCallsMessage(const std::vector<CallRecord>& calls) {
    std::string text = "The call box sent an amount that is not a number that can be charged:";
    for (const CallRecord& call : calls)
        text += "\nroom " + call.Extension() + ", amount \"" + platform::Trim(call.AmountField()) + "\"";
    return text +
           "\nThe calls are in the phone log but were not charged. Post them by hand if they are owed.";
}

std::string NotKeptCallsMessage(const std::vector<CallRecord>& calls) {
    std::string text =
        "These calls from the call box could not be saved, and are lost when the program ends:";
    for (CallRecord call : calls) {
        call.BlankControlCharacters();
        text += "\nroom " + call.Extension() + ", " + platform::Trim(call.Date()) + " " + call.Time() + ", " +
                platform::Trim(call.Number()) + ", amount \"" + platform::Trim(call.AmountField()) + "\"";
    }
    return text + "\nWrite them down and post them by hand if they are owed.";
}

} // namespace vantreth
