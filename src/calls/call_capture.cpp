// Framing the call box's characters into records and posting each record.
#include "calls/call_capture.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/day_totals.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/posting_codes.h"
#include "records/stay_ledger.h"

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

} // namespace vantreth
