// Re-opening a stay checked out today: lists, the re-created record and the writes.
#include "folio/check_back_in.h"
#include "platform/engine.h"

#include "folio/folio_postings.h"
#include "platform/decimal.h"
#include "platform/text.h"
#include "records/arrivals.h"
#include "records/filenames.h"
#include "records/ledger_rename.h"
#include "records/stay_ledger.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>

namespace vantreth {

using namespace platform;

std::string CheckedOutLine(const records::HistoryEntry& entry) {
    return Trim(entry.Room) + "  " + Trim(entry.LastName) + "  " + Trim(entry.FirstName);
}

bool CheckedOutOn(const records::HistoryEntry& entry, std::string_view todayText) {
    return Trim(entry.CheckOutDate) == Trim(todayText);
}

namespace {

// A direct-bill check-out writes the account code as item 25, an ordinary one "none".
bool ChargedToAnAccount(const records::HistoryEntry& entry) {
    const std::string code = Trim(entry.DBNumber);
    return !code.empty() && code != "none";
}

// The stays a check-out charged to one account from one room.
struct ChargeGroup {
    std::string room; // trimmed
    std::string key;  // the account's key (ChargingKey)
    friend auto operator<=>(const ChargeGroup&, const ChargeGroup&) = default;
};

ChargeGroup GroupOf(const records::HistoryEntry& entry) {
    return {Trim(entry.Room), records::ChargingKey(entry.DBNumber)};
}

// The day's direct-bill log lines of one room and account. A check-out writes the stay's
// balance; a check back in writes the opposite of the charge it takes back, from the room
// the stay left, and only after that charge. So a line is a take-back when a charge of the
// opposite amount before it is still open (not yet matched by a take-back), else a charge.
struct GroupLog {
    struct Line {
        size_t place; // among the group's lines
        float amount;
    };
    std::vector<Line> charges;   // the check-outs, in order
    std::vector<Line> takeBacks; // the check backs in, in order
};

std::map<ChargeGroup, GroupLog> LogOfTheDay(const DataFolder& folder, std::string_view todayText) {
    std::map<ChargeGroup, GroupLog> groups;
    if (!FileExists(records::DayFilePath(folder, records::DayFile::DbDaily, todayText)))
        return groups;
    std::map<ChargeGroup, std::map<float, int>> open;
    std::map<ChargeGroup, size_t> places;
    for (const records::DbDailyLine& line : records::ReadDbDaily(folder, todayText)) {
        const std::string account = Trim(line.Account);
        const ChargeGroup group{Trim(line.Room), records::ChargingKey(account.substr(0, account.find(' ')))};
        GroupLog& log = groups[group];
        std::map<float, int>& openOf = open[group];
        const size_t place = places[group]++;
        if (int& opposite = openOf[-line.Amount]; opposite > 0) {
            --opposite;
            log.takeBacks.push_back({place, line.Amount});
        } else {
            ++openOf[line.Amount];
            log.charges.push_back({place, line.Amount});
        }
    }
    return groups;
}

// Whether a take-back of the day's log is the one of a charge.
enum class TakenBack { No, Yes, Unsure };

// Whether the group's charge `index` was taken back. A take-back pairs with one charge of the
// opposite amount before it, each charge with one take-back at most; when charges of one
// amount are alike, which of them a take-back undid may be open. Every pairing that gives each
// take-back its own earlier charge, and takes back the charges in `takenBack` (those whose
// stays are known to have come back), is looked at: the charge is taken back, or not, when
// all of them say so, and unsure otherwise (or when none is left).
TakenBack ChargeTakenBackState(const GroupLog& log, size_t index, const std::set<size_t>& takenBack) {
    const float amount = log.charges[index].amount;
    std::vector<size_t> alike; // the charges of that amount, by index
    for (size_t i = 0; i < log.charges.size(); ++i)
        if (log.charges[i].amount == amount)
            alike.push_back(i);
    std::vector<size_t> undoing; // the places of the take-backs of that amount
    for (const GroupLog::Line& line : log.takeBacks)
        if (line.amount == -amount)
            undoing.push_back(line.place);
    if (std::none_of(undoing.begin(), undoing.end(), [&](size_t p) { return p > log.charges[index].place; }))
        return TakenBack::No;

    bool sawTaken = false, sawOpen = false;
    long budget = 100000; // pairings looked at; a log this tangled is left unsure
    std::vector<bool> used(log.charges.size(), false);
    const std::function<void(size_t)> pair = [&](size_t t) {
        if (--budget < 0 || (sawTaken && sawOpen))
            return;
        if (t == undoing.size()) {
            for (size_t i : takenBack)
                if (!used[i])
                    return;
            (used[index] ? sawTaken : sawOpen) = true;
            return;
        }
        for (size_t i : alike) {
            if (used[i] || log.charges[i].place > undoing[t])
                continue;
            used[i] = true;
            pair(t + 1);
            used[i] = false;
        }
    };
    pair(0);
    if (budget < 0 || sawTaken == sawOpen)
        return TakenBack::Unsure;
    return sawTaken ? TakenBack::Yes : TakenBack::No;
}

// A direct-bill check-out keeps the stay's planned departure where an ordinary one writes
// the day, so whether it was made today is read from the day's direct-bill log instead:
// the day's charges from a room to an account are that room's and account's latest
// direct-bill check-outs, one each (a later day's log has the later ones), the latest
// check-out with the latest charge. Each comes with its place in the history file, its
// group and the index of its charge there.
struct DirectBillCheckOut {
    size_t place;
    records::HistoryEntry entry;
    ChargeGroup group;
    size_t charge;
};
// The day's check-outs, read in one scan of the history file: the ordinary ones by their date,
// each with its place in the file, and the direct-bill ones by the day's log.
struct CheckOutsToday {
    std::vector<std::pair<size_t, records::HistoryEntry>> ordinary;
    std::vector<DirectBillCheckOut> directBill;
    std::map<ChargeGroup, GroupLog> log;
};
// The day's direct-bill check-outs still looked for, walking back from the newest entry: the
// latest of each room's and account's, as many as the day's log has charges of theirs.
class DirectBillWanted {
public:
    explicit DirectBillWanted(const std::map<ChargeGroup, GroupLog>& log) : m_log(log) {
        for (const auto& [group, groupLog] : log)
            if (!groupLog.charges.empty())
                ++m_openOfKey[group.key];
    }
    // Whether a check-out charged to `code` may still be one of them.
    bool MayTake(std::string_view code) const {
        if (m_openOfKey.empty())
            return false;
        const std::string trimmed = Trim(code);
        if (trimmed.empty() || trimmed == "none")
            return false;
        const auto open = m_openOfKey.find(records::ChargingKey(code));
        return open != m_openOfKey.end() && open->second > 0;
    }
    // Takes the entry when its group still wants a check-out (entries come newest first).
    void Take(const records::HistoryEntry& entry, size_t place) {
        const ChargeGroup group = GroupOf(entry);
        const auto log = m_log.find(group);
        if (log == m_log.end())
            return;
        std::vector<std::pair<size_t, records::HistoryEntry>>& taken = m_byGroup[group];
        if (taken.size() >= log->second.charges.size())
            return;
        taken.emplace_back(place, entry);
        if (taken.size() == log->second.charges.size())
            --m_openOfKey[group.key];
    }
    bool Open() const {
        return std::any_of(m_openOfKey.begin(), m_openOfKey.end(),
                           [](const auto& open) { return open.second > 0; });
    }
    // The latest check-outs pair with the latest charges, the one before with the one before.
    void PairWithCharges(std::vector<DirectBillCheckOut>& paired) {
        for (auto& [group, newestFirst] : m_byGroup) {
            const size_t charges = m_log.at(group).charges.size();
            for (size_t i = newestFirst.size(); i-- > 0;) {
                auto& [place, entry] = newestFirst[i];
                paired.push_back({place, std::move(entry), group, charges - 1 - i});
            }
        }
    }

private:
    const std::map<ChargeGroup, GroupLog>& m_log;
    std::map<std::string, size_t> m_openOfKey; // the groups of each account key still wanting one
    std::map<ChargeGroup, std::vector<std::pair<size_t, records::HistoryEntry>>> m_byGroup;
};

// The day's check-outs, read from the newest entry of the history back, only as far as today's
// reach: the ordinary ones by their date, each with its place in the file, and the direct-bill
// ones by the day's log.
CheckOutsToday FindCheckOutsToday(const DataFolder& folder, std::string_view todayText) {
    const std::string today = Trim(todayText);
    CheckOutsToday found;
    found.log = LogOfTheDay(folder, todayText);
    DirectBillWanted directBill(found.log);
    constexpr unsigned kByDate = 1, kByAccount = 2;
    records::ScanHistoryFromEnd(
        folder,
        {{records::HistoryKey::CheckOutDate, [&](std::string_view date) { return Trim(date) == today; }},
         {records::HistoryKey::DBNumber, [&](std::string_view code) { return directBill.MayTake(code); }}},
        today, [&] { return directBill.Open(); },
        [&](const records::HistoryEntry& entry, size_t place, unsigned accepted) {
            if ((accepted & kByDate) != 0 && !ChargedToAnAccount(entry))
                found.ordinary.emplace_back(place, entry);
            if ((accepted & kByAccount) != 0)
                directBill.Take(entry, place);
        });
    std::reverse(found.ordinary.begin(), found.ordinary.end());
    directBill.PairWithCharges(found.directBill);
    return found;
}

} // namespace

std::vector<records::HistoryEntry> CheckedOutToday(const DataFolder& folder, std::string_view todayText) {
    CheckOutsToday found = FindCheckOutsToday(folder, todayText);
    std::vector<std::pair<size_t, records::HistoryEntry>> placed = std::move(found.ordinary);
    for (DirectBillCheckOut& checkOut : found.directBill)
        placed.emplace_back(checkOut.place, std::move(checkOut.entry));
    std::sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<records::HistoryEntry> entries;
    for (auto& [place, entry] : placed)
        entries.push_back(std::move(entry));
    return entries;
}

std::optional<records::HistoryEntry> FindCheckedOut(const std::vector<records::HistoryEntry>& today,
                                                    std::string_view line, int index) {
    const std::string wanted = Trim(line);
    if (index >= 0 && static_cast<size_t>(index) < today.size() &&
        CheckedOutLine(today[static_cast<size_t>(index)]) == wanted)
        return today[static_cast<size_t>(index)];
    for (const records::HistoryEntry& entry : today)
        if (CheckedOutLine(entry) == wanted)
            return entry;
    return std::nullopt;
}

std::string BackInRoomLine(const records::RoomRecord& room) {
    return room.Room + " " + Trim(room.RoomType) + (room.Clean == "N" ? "--dirty" : "");
}

bool ReservedToday(const std::vector<records::GuestRecord>& reservations, std::string_view room3,
                   std::string_view todayText) {
    const std::string room = Fixed(room3, 3);
    for (const records::GuestRecord& reservation : reservations)
        if (reservation.Room == room &&
            records::ArrivesOn(reservation.ArrivalDate, todayText, records::ArrivalMatch::TrailingBlanks))
            return true;
    return false;
}

// A dirty room is offered too (marked), but, like a clean one, not when a reservation
// arrives in it today: the arriving guest would find it taken.
bool OfferedForCheckBackIn(const records::RoomRecord& room,
                           const std::vector<records::GuestRecord>& reservations,
                           std::string_view todayText) {
    if (room.Service == "X" || room.Service == "O")
        return false;
    return !ReservedToday(reservations, room.Room, todayText);
}

std::vector<std::string> BackInRoomLines(const DataFolder& folder, std::string_view todayText) {
    const std::vector<records::GuestRecord> reservations =
        records::ReadAllGuests(folder, records::kReservationsFile);
    std::vector<std::string> lines;
    for (const records::RoomRecord& room : records::ReadAllRooms(folder))
        if (OfferedForCheckBackIn(room, reservations, todayText))
            lines.push_back(BackInRoomLine(room));
    return lines;
}

records::GuestRecord GuestFromHistory(const records::HistoryEntry& entry, std::string_view room3,
                                      std::string_view tomorrowText) {
    records::GuestRecord guest;
    guest.LastName = Fixed(entry.LastName, 15);
    guest.FirstName = Fixed(entry.FirstName, 15);
    guest.Company = Fixed(entry.Company, 20);
    guest.Street = Fixed(entry.Street, 25);
    guest.City = Fixed(entry.City, 20);
    guest.State = Fixed(entry.State, 2);
    guest.Zip = Fixed(entry.Zip, 6);
    guest.Phone = Fixed(entry.Phone, 15);
    guest.RegCard = Fixed(entry.RegCard, 6);
    guest.Clerk = Fixed(entry.Clerk, 2);
    guest.Room = Fixed(room3, 3);
    guest.Adults = entry.Adults;
    guest.Children = entry.Children;
    guest.Nights = 1;
    guest.TaxExempt = entry.TaxExempt;
    guest.PayCode = Fixed(entry.PayCode, 1);
    guest.CheckInTime = Fixed(entry.CheckInTime, 10);
    guest.ArrivalDate = Fixed(entry.ArrivalDate, 10);
    guest.CheckOutTime = std::string(10, ' ');
    guest.DepartureDate = Fixed(tomorrowText, 10);
    guest.Rate = entry.Rate;
    guest.SpareAmount = entry.SpareAmount;
    guest.CardNumber = Fixed(entry.CardNumber, 40);
    guest.CardExpiry = Fixed(entry.CardExpiry, 10);
    guest.DBNumber = std::string(8, ' ');
    guest.FolioNumber = Fixed(entry.FolioNumber, 5);
    guest.Comment = Fixed(entry.Comment, 160);
    // The stay comes back as it left, reservation details included.
    guest.ReservedOn = Fixed(entry.ReservedOn, 10);
    guest.SpareText = Fixed(entry.SpareText, 10);
    guest.CardDeposit = Fixed(entry.CardDeposit, 10);
    guest.ConfirmationNumber = Fixed(entry.ConfirmationNumber, 10);
    guest.CashDeposit = Fixed(entry.CashDeposit, 10);
    return guest;
}

namespace {

bool SameStay(const records::GuestRecord& a, const records::GuestRecord& b) {
    return a.LastName == b.LastName && a.FirstName == b.FirstName && a.ArrivalDate == b.ArrivalDate &&
           a.FolioNumber == b.FolioNumber;
}

// Two check-outs of one stay: a stay keeps its folio number, arrival date and names
// through a check back in and a move.
bool SameStay(const records::HistoryEntry& a, const records::HistoryEntry& b) {
    return Trim(a.FolioNumber) == Trim(b.FolioNumber) && Trim(a.ArrivalDate) == Trim(b.ArrivalDate) &&
           Trim(a.LastName) == Trim(b.LastName) && Trim(a.FirstName) == Trim(b.FirstName);
}

// The later check-out of the same stay, when the entry has one: the entry is then an
// earlier check-out, whose ledger has moved on with the stay.
std::optional<records::HistoryEntry> LaterCheckOut(const DataFolder& folder,
                                                   const records::HistoryEntry& entry) {
    // Two check-outs of one stay carry the same folio number: only those are read whole.
    const std::string folio = Trim(entry.FolioNumber);
    const std::vector<records::HistoryEntry> history = records::FindInHistory(
        folder, records::HistoryKey::FolioNumber, [&](std::string_view n) { return Trim(n) == folio; });
    size_t at = history.size();
    for (size_t i = history.size(); i-- > 0;)
        if (history[i] == entry) {
            at = i;
            break;
        }
    for (size_t i = at + 1; i < history.size(); ++i)
        if (SameStay(history[i], entry))
            return history[i];
    return std::nullopt;
}

// The stay of the entry is in the house again: it was checked back in since.
bool InTheHouse(const std::vector<records::GuestRecord>& guests, const records::HistoryEntry& entry) {
    const records::GuestRecord stay = GuestFromHistory(entry, entry.Room, "");
    for (const records::GuestRecord& guest : guests)
        if (!guest.IsFree() && SameStay(guest, stay))
            return true;
    return false;
}

// What the check-out of the entry charged its account, its line in the day's direct-bill
// log (see FindCheckOutsToday), and whether a check back in took it back already.
struct DayCharge {
    float amount = 0;
    TakenBack takenBack = TakenBack::No;
};
// Nullopt when the entry is no check-out of today. When charges alike leave open which was
// taken back, a stay of one of them that came back (in the house, or checked out again since)
// tells: it came back by a check back in, which took its charge back.
std::optional<DayCharge> ChargedAtCheckOut(const DataFolder& folder, const records::HistoryEntry& entry,
                                           std::string_view todayText,
                                           const std::vector<records::GuestRecord>& guests) {
    const CheckOutsToday found = FindCheckOutsToday(folder, todayText);
    const DirectBillCheckOut* mine = nullptr;
    for (const DirectBillCheckOut& checkOut : found.directBill)
        if (checkOut.entry == entry)
            mine = &checkOut; // the latest, should two entries be alike
    if (mine == nullptr)
        return std::nullopt;
    const GroupLog& log = found.log.at(mine->group);
    DayCharge charge{log.charges[mine->charge].amount, ChargeTakenBackState(log, mine->charge, {})};
    if (charge.takenBack != TakenBack::Unsure)
        return charge;
    std::set<size_t> cameBack;
    for (const DirectBillCheckOut& other : found.directBill)
        if (other.group == mine->group && other.charge != mine->charge &&
            log.charges[other.charge].amount == charge.amount &&
            (InTheHouse(guests, other.entry) || LaterCheckOut(folder, other.entry)))
            cameBack.insert(other.charge);
    if (!cameBack.empty())
        charge.takenBack = ChargeTakenBackState(log, mine->charge, cameBack);
    return charge;
}

// Checked back in already (and not checked out since): a second record would make two
// in-house stays of one folio.
std::string AlreadyInTheHouse(const std::vector<records::GuestRecord>& guests,
                              const records::GuestRecord& back) {
    for (const records::GuestRecord& guest : guests)
        if (!guest.IsFree() && SameStay(guest, back))
            return "This guest is already checked in, in room " + RTrim(guest.Room) +
                   ". The guest was not checked back in again.";
    return "";
}

std::string EarlierCheckOut(const DataFolder& folder, const records::HistoryEntry& entry) {
    const std::optional<records::HistoryEntry> later = LaterCheckOut(folder, entry);
    if (!later)
        return "";
    return "This is an earlier check-out of this stay: it was checked back in and checked out again "
           "later, from room " +
           Trim(later->Room) +
           ", and its folio went with it. Please pick the guest's last check-out. The guest was not "
           "checked back in.";
}

// The room can take the stay: it exists, holds no guest, is not out of order and is not
// reserved for a guest arriving today. Sets the plan's room record.
std::string RoomRefusal(const DataFolder& folder, const std::string& room, std::string_view todayText,
                        BackInPlan& plan) {
    const std::string shown = RTrim(room);
    const std::optional<long> record = records::FindRoom(folder, room);
    if (!record)
        return "There is no room " + shown + ". Please select a room from the list.";
    plan.roomRecord = *record;
    const records::RoomRecord target = records::ReadRoom(folder, *record);
    if (target.Service == "O" || records::FindGuestByRoom(folder, records::kGuestFile, room))
        return "Room " + shown + " is occupied. Please select another room.";
    if (target.Service == "X")
        return "Room " + shown + " is out of order. Please select another room.";
    if (ReservedToday(records::ReadAllGuests(folder, records::kReservationsFile), room, todayText))
        return "Room " + shown + " is reserved for a guest arriving today. Please select another room.";
    return "";
}

std::string LedgerMissing(const BackInPlan& plan) {
    return "The folio of this guest (" + plan.fromLedger.filename().string() +
           ") could not be found. The guest was not checked back in.";
}

// The stay's ledger is there, is no in-house stay's, and can go to the new room's name.
// Sets the plan's ledger names.
std::string LedgerRefusal(const DataFolder& folder, const std::vector<records::GuestRecord>& guests,
                          const records::HistoryEntry& entry, BackInPlan& plan) {
    records::GuestRecord before = plan.guest;
    before.Room = Fixed(entry.Room, 3);
    plan.fromLedger = records::StayLedgerPath(folder, before);
    plan.toLedger = records::StayLedgerPath(folder, plan.guest);

    // A stay of the same name, room and arrival day in the house shares the ledger's name:
    // the ledger is that stay's too and must stay where it is.
    for (const records::GuestRecord& guest : guests) {
        if (guest.IsFree())
            continue;
        const platform::FilePath theirs = records::StayLedgerPath(folder, guest);
        if (theirs == plan.fromLedger || theirs == plan.toLedger)
            return "The folio " + theirs.filename().string() + " is also the folio of " +
                   RTrim(guest.LastName) + ", " + RTrim(guest.FirstName) + " in room " + RTrim(guest.Room) +
                   ", who is checked in. The guest was not checked back in, so that the two stays do not "
                   "share one folio.";
    }
    if (!plan.roomChanged)
        return FileExists(plan.fromLedger) ? "" : LedgerMissing(plan);
    switch (records::CheckLedgerCarry(plan.fromLedger, plan.toLedger)) {
    case records::LedgerCarry::Missing:
        return LedgerMissing(plan);
    case records::LedgerCarry::NameTaken:
        return "Another folio named " + plan.toLedger.filename().string() +
               " already exists. The guest was not checked back in, so that the two folios are not mixed.";
    default:
        return "";
    }
}

// A direct-bill check-out's charge to take back: exactly what the check-out charged, whatever
// the tax rate or the ledger says today. Bills the re-opened stay to the account again.
std::string ChargeRefusal(const DataFolder& folder, const std::vector<records::GuestRecord>& guests,
                          const records::HistoryEntry& entry, std::string_view todayText, BackInPlan& plan) {
    if (!ChargedToAnAccount(entry))
        return "";
    ChargeTakenBack charge;
    charge.key = records::ChargingKey(entry.DBNumber);
    charge.room = Fixed(entry.Room, 3);
    charge.dateText = std::string(todayText);
    const std::optional<long> account = records::FindAccount(folder, charge.key);
    if (!account)
        return "This stay was charged to direct bill account " + Trim(entry.DBNumber) +
               " when the guest checked out, and that account cannot be found, so the charge cannot "
               "be taken back. The guest was not checked back in.";
    charge.account = records::DbDailyAccountText(records::ReadAccount(folder, *account));
    const std::optional<DayCharge> charged = ChargedAtCheckOut(folder, entry, todayText, guests);
    if (!charged)
        return "This stay was charged to direct bill account " + Trim(entry.DBNumber) +
               " when the guest checked out, and that charge cannot be found in today's direct "
               "bill log, so it cannot be taken back. The guest was not checked back in.";
    if (charged->takenBack == TakenBack::Yes)
        return "This stay's charge of " + CStr(charged->amount) + " to direct bill account " +
               charge.account +
               " was taken off the account already today, when the stay was checked back in before. "
               "The guest was not checked back in.";
    if (charged->takenBack == TakenBack::Unsure)
        return "Today's direct bill log holds more than one charge of " + CStr(charged->amount) +
               " from room " + Trim(entry.Room) + " to direct bill account " + charge.account +
               ", and not each of them was taken off the account again: whether this stay's was cannot be "
               "told, so it is not taken back. The guest was not checked back in.";
    charge.amount = charged->amount;
    plan.guest.DBNumber = Fixed(entry.DBNumber, 8);
    plan.chargeTakenBack = charge;
    return "";
}

} // namespace

BackInPlan PlanCheckBackIn(const DataFolder& folder, const records::HistoryEntry& entry,
                           std::string_view room3, const Date& today) {
    BackInPlan plan;
    const std::string room = Fixed(Left(room3, 3), 3);
    const std::string todayText = DateText(today);
    plan.guest = GuestFromHistory(entry, room, DateText(AddDays(today, 1)));
    plan.roomChanged = Fixed(entry.Room, 3) != room;

    const std::vector<records::GuestRecord> guests = records::ReadAllGuests(folder, records::kGuestFile);
    plan.problem = AlreadyInTheHouse(guests, plan.guest);
    if (plan.problem.empty())
        plan.problem = EarlierCheckOut(folder, entry);
    if (plan.problem.empty())
        plan.problem = RoomRefusal(folder, room, todayText, plan);
    if (plan.problem.empty()) {
        plan.slot = records::FindFreeGuestSlot(folder, records::kGuestFile);
        plan.problem = LedgerRefusal(folder, guests, entry, plan);
    }
    if (plan.problem.empty())
        plan.problem = ChargeRefusal(folder, guests, entry, todayText, plan);
    return plan;
}

void MakeCheckBackIn(const DataFolder& folder, const BackInPlan& plan, std::string_view shift) {
    platform::DescribeStep(folder, "Check back in of " + platform::Trim(plan.guest.FirstName) + " " +
                                       platform::Trim(plan.guest.LastName) + " to room " +
                                       platform::Trim(plan.guest.Room));
    records::LedgerCarry carried = records::LedgerCarry::SameName;
    if (plan.roomChanged) {
        carried = records::CarryStayLedger(plan.fromLedger, plan.toLedger);
        if (!records::CarryAllowed(carried))
            throw IoError(plan.fromLedger, "The folio could not be carried to the new room");
    }
    try {
        records::WriteGuest(folder, records::kGuestFile, plan.slot, plan.guest);
    } catch (const IoError&) {
        if (carried != records::LedgerCarry::SameName)
            records::CarryStayLedger(plan.toLedger, plan.fromLedger);
        throw;
    }
    records::RoomRecord room = records::ReadRoom(folder, plan.roomRecord);
    room.Clean = "Y";
    room.Vacant = "N";
    room.Service = "O";
    records::WriteRoom(folder, plan.roomRecord, room);

    if (const std::optional<ChargeTakenBack>& charge = plan.chargeTakenBack) {
        const std::optional<long> account =
            records::ChargeAccount(folder, charge->key, -Decimal::Of(charge->amount));
        if (!account)
            throw IoError(records::DbMemberFile(folder), "The account of the stay's charge is gone");
        records::DbDailyLine line;
        line.Room = charge->room;
        line.Shift = std::string(shift);
        line.PostDate = charge->dateText;
        line.Account = charge->account;
        line.Amount = (-Decimal::Of(charge->amount)).Rounded(2).ToSingle();
        records::AppendDbDailyLine(folder, charge->dateText, line);
    }
}

std::string ChargeTakenBackMessage(const ChargeTakenBack& charge) {
    return "This stay was charged to direct bill account " + charge.account +
           " when the guest checked out. That "
           "charge of " +
           platform::StoredText(charge.amount) +
           " has been taken off the account again, and the stay is billed to "
           "the account as before: the whole stay will be charged to it when the guest checks out.";
}

} // namespace vantreth
