// The history file: its entries, appended and searched through the index of their keys.
#include "records/history.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/history_index.h"

#include <algorithm>
#include <cstdint>

namespace records {

using platform::DataFolder;
using platform::Fixed;
using platform::SeqLine;

namespace {

HistoryEntry FromGuest(const GuestRecord& g, std::string_view timeText) {
    HistoryEntry e;
    e.LastName = g.LastName;
    e.FirstName = g.FirstName;
    e.Company = g.Company;
    e.Street = g.Street;
    e.City = g.City;
    e.State = g.State;
    e.Zip = g.Zip;
    e.Phone = g.Phone;
    e.RegCard = g.RegCard;
    e.Clerk = g.Clerk;
    e.Room = g.Room;
    e.Adults = g.Adults;
    e.Children = g.Children;
    e.Nights = g.Nights;
    e.TaxExempt = g.IsTaxExempt() ? 1.0f : 0.0f;
    e.PayCode = g.PayCode;
    e.CheckInTime = g.CheckInTime;
    e.ArrivalDate = g.ArrivalDate;
    e.CheckOutTime = Fixed(timeText, 10);
    e.Rate = g.Rate;
    e.SpareAmount = g.SpareAmount;
    e.CardNumber = g.CardNumber;
    e.CardExpiry = g.CardExpiry;
    e.FolioNumber = g.FolioNumber;
    e.Comment = g.Comment;
    e.ReservedOn = g.ReservedOn;
    e.SpareText = g.SpareText;
    e.CardDeposit = g.CardDeposit;
    e.ConfirmationNumber = g.ConfirmationNumber;
    e.CashDeposit = g.CashDeposit;
    return e;
}

} // namespace

HistoryEntry HistoryForCheckOut(const GuestRecord& guest, std::string_view timeText,
                                const platform::Date& today) {
    HistoryEntry e = FromGuest(guest, timeText);
    e.CheckOutDateLiteral = today;
    e.CheckOutDate = platform::DateText(today);
    e.DBNumber = "none";
    return e;
}

HistoryEntry HistoryForDirectBillCheckOut(const GuestRecord& guest, std::string_view timeText) {
    HistoryEntry e = FromGuest(guest, timeText);
    e.CheckOutDateLiteral.reset();
    e.CheckOutDate = Fixed(guest.DepartureDate, 10);
    e.DBNumber = Fixed(guest.DBNumber, 8);
    return e;
}

std::vector<SeqLine> HistoryEntry::ToSeqLines() const {
    std::vector<SeqLine> lines(3);
    SeqLine& l1 = lines[0];
    l1.Text(Fixed(LastName, 15)).Text(Fixed(FirstName, 15)).Text(Fixed(Company, 20)).Text(Fixed(Street, 25));
    l1.Text(Fixed(City, 20)).Text(Fixed(State, 2)).Text(Fixed(Zip, 6)).Text(Fixed(Phone, 15));
    l1.Text(Fixed(RegCard, 6)).Text(Fixed(Clerk, 2)).Text(Fixed(Room, 3)).Number(Adults).Number(Children);

    SeqLine& l2 = lines[1];
    l2.Number(Nights).Number(TaxExempt).Text(Fixed(PayCode, 1)).Text(Fixed(CheckInTime, 10));
    l2.Text(Fixed(ArrivalDate, 10)).Text(Fixed(CheckOutTime, 10));
    if (CheckOutDateLiteral)
        l2.DateLit(*CheckOutDateLiteral);
    else
        l2.Text(Fixed(CheckOutDate, 10));
    l2.Number(Rate).Number(SpareAmount);

    SeqLine& l3 = lines[2];
    l3.Text(Fixed(CardNumber, 40)).Text(Fixed(CardExpiry, 10)).Text(DBNumber).Text(Fixed(FolioNumber, 5));
    l3.Text(Fixed(Comment, 160)).Text(Fixed(ReservedOn, 10)).Text(Fixed(SpareText, 10));
    l3.Text(Fixed(CardDeposit, 10)).Text(Fixed(ConfirmationNumber, 10)).Text(Fixed(CashDeposit, 10));
    return lines;
}

void ScanHistory(const DataFolder& folder, HistoryKey key, const HistoryKeyTest& wanted,
                 const std::function<void(const HistoryEntry&)>& found) {
    ScanHistoryPlaced(folder, key, wanted, [&](const HistoryEntry& entry, size_t) { found(entry); });
}

void ScanHistoryPlaced(const DataFolder& folder, HistoryKey key, const HistoryKeyTest& wanted,
                       const std::function<void(const HistoryEntry&, size_t)>& found) {
    ScanHistoryPlaced(folder, {{key, wanted}},
                      [&](const HistoryEntry& entry, size_t place, unsigned) { found(entry, place); });
}

void ScanHistoryPlaced(const DataFolder& folder, const std::vector<HistoryKeyWanted>& keys,
                       const std::function<void(const HistoryEntry&, size_t, unsigned)>& found) {
    if (!platform::FileExists(HistoryFile(folder)))
        return;           // no guest has checked out yet
    size_t delivered = 0; // the entries before this place were handed on
    WithIndex(folder, [&](IndexedHistory& history) {
        HistoryEntry entry;
        size_t place = 0;
        history.Forward([&](const IndexRecord& record) {
            if (!record.IsEntry())
                return true;
            bool read = false;
            const unsigned accepted = Accepted(history, record, keys, entry, read);
            if (accepted != 0 && place >= delivered) {
                if (!read)
                    history.Read(record, entry);
                found(entry, place, accepted);
                delivered = place + 1;
            }
            ++place;
            return true;
        });
        history.ReportDamage();
    });
}

void ScanHistoryFromEnd(const DataFolder& folder, const std::vector<HistoryKeyWanted>& keys,
                        std::string_view checkOutDay, const std::function<bool()>& more,
                        const std::function<void(const HistoryEntry&, size_t, unsigned)>& found) {
    if (!platform::FileExists(HistoryFile(folder)))
        return;
    size_t delivered = SIZE_MAX; // the entries from this place on were handed on
    WithIndex(folder, [&](IndexedHistory& history) {
        const std::optional<long> floor = DayFloor(history.whole(), checkOutDay);
        HistoryEntry entry;
        size_t place = history.whole().entries;
        history.Backward([&](const IndexRecord& record) {
            if (!record.IsEntry())
                return true;
            --place;
            if (floor && (record.Kinds() & kLiteralDay) != 0 && record.Day() < *floor && !more())
                return false;
            bool read = false;
            const unsigned accepted = Accepted(history, record, keys, entry, read);
            if (accepted != 0 && place < delivered) {
                if (!read)
                    history.Read(record, entry);
                found(entry, place, accepted);
                delivered = place;
            }
            return true;
        });
        history.ReportDamage();
    });
}

void CatchUpHistoryIndex(const DataFolder& folder) {
    if (platform::FileExists(HistoryFile(folder)))
        WithIndex(folder, [](IndexedHistory&) {});
}

void AppendHistoryEntry(const DataFolder& folder, const HistoryEntry& entry) {
    const platform::FilePath history = HistoryFile(folder);
    const auto append = [&] {
        const long long before = std::max(platform::FileSize(history), 0LL);
        // The index takes the entry when it covers the whole history so far.
        std::optional<IndexHeader> index =
            before == 0 ? IndexHeader{} : TrustedIndex(history, HistoryKeysFile(folder), before);
        platform::AppendLines(history, entry.ToSeqLines());
        if (index && index->covered == static_cast<uint64_t>(before))
            IndexAppended(folder, *index, before);
    };
    platform::Engine* engine = folder.engine();
    if (engine != nullptr && platform::RunningStep(*engine) == nullptr)
        platform::RunAsStep(*engine, "Changing the file " + history.filename().string(), append);
    else
        append();
}

std::vector<HistoryEntry> FindInHistory(const DataFolder& folder, HistoryKey key,
                                        const HistoryKeyTest& wanted) {
    std::vector<HistoryEntry> entries;
    ScanHistory(folder, key, wanted, [&](const HistoryEntry& entry) { entries.push_back(entry); });
    return entries;
}

std::vector<HistoryEntry> ReadHistory(const DataFolder& folder) {
    return FindInHistory(folder, HistoryKey::LastName, [](std::string_view) { return true; });
}

} // namespace records
