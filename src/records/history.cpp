// The history file, the company accounts and the day's direct-bill log.
#include "records/history.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/record_fields.h"

#include <array>

namespace records {

using platform::DataFolder;
using platform::Fixed;
using platform::RandomFile;
using platform::RecordBuffer;
using platform::SeqLine;
using platform::SeqReader;

namespace {

HistoryEntry FromGuest(const GuestRecord &g, std::string_view timeText) {
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

HistoryEntry HistoryForCheckOut(const GuestRecord &guest, std::string_view timeText,
                                const platform::Date &today) {
    HistoryEntry e = FromGuest(guest, timeText);
    e.CheckOutDateLiteral = today;
    e.CheckOutDate = platform::DateText(today);
    e.DBNumber = "none";
    return e;
}

HistoryEntry HistoryForDirectBillCheckOut(const GuestRecord &guest, std::string_view timeText) {
    HistoryEntry e = FromGuest(guest, timeText);
    e.CheckOutDateLiteral.reset();
    e.CheckOutDate = Fixed(guest.DepartureDate, 10);
    e.DBNumber = Fixed(guest.DBNumber, 8);
    return e;
}

std::vector<SeqLine> HistoryEntry::ToSeqLines() const {
    std::vector<SeqLine> lines(3);
    SeqLine &l1 = lines[0];
    l1.Text(Fixed(LastName, 15)).Text(Fixed(FirstName, 15)).Text(Fixed(Company, 20)).Text(Fixed(Street, 25));
    l1.Text(Fixed(City, 20)).Text(Fixed(State, 2)).Text(Fixed(Zip, 6)).Text(Fixed(Phone, 15));
    l1.Text(Fixed(RegCard, 6)).Text(Fixed(Clerk, 2)).Text(Fixed(Room, 3)).Number(Adults).Number(Children);

    SeqLine &l2 = lines[1];
    l2.Number(Nights).Number(TaxExempt).Text(Fixed(PayCode, 1)).Text(Fixed(CheckInTime, 10));
    l2.Text(Fixed(ArrivalDate, 10)).Text(Fixed(CheckOutTime, 10));
    if (CheckOutDateLiteral)
        l2.DateLit(*CheckOutDateLiteral);
    else
        l2.Text(Fixed(CheckOutDate, 10));
    l2.Number(Rate).Number(SpareAmount);

    SeqLine &l3 = lines[2];
    l3.Text(Fixed(CardNumber, 40)).Text(Fixed(CardExpiry, 10)).Text(DBNumber).Text(Fixed(FolioNumber, 5));
    l3.Text(Fixed(Comment, 160)).Text(Fixed(ReservedOn, 10)).Text(Fixed(SpareText, 10));
    l3.Text(Fixed(CardDeposit, 10)).Text(Fixed(ConfirmationNumber, 10)).Text(Fixed(CashDeposit, 10));
    return lines;
}

void AppendHistoryEntry(const DataFolder &folder, const HistoryEntry &entry) {
    platform::AppendLines(HistoryFile(folder), entry.ToSeqLines());
}

namespace {

// A history entry is three lines of 13, 9 and 10 items.
constexpr size_t kHistoryLineItems[3] = {13, 9, 10};

// Reads line `line` (0 to 2) of an entry into `e`.
void ReadHistoryLine(SeqReader &reader, size_t line, HistoryEntry &e) {
    auto text = [&] { return reader.ReadText(); };
    auto number = [&] { return static_cast<float>(reader.ReadNumber()); };
    if (line == 0) {
        e.LastName = text();
        e.FirstName = text();
        e.Company = text();
        e.Street = text();
        e.City = text();
        e.State = text();
        e.Zip = text();
        e.Phone = text();
        e.RegCard = text();
        e.Clerk = text();
        e.Room = text();
        e.Adults = number();
        e.Children = number();
    } else if (line == 1) {
        e.Nights = number();
        e.TaxExempt = number();
        e.PayCode = text();
        e.CheckInTime = text();
        e.ArrivalDate = text();
        e.CheckOutTime = text();
        const platform::SeqItem &dateItem = reader.LineItem(6);
        if (dateItem.kind == platform::SeqItem::Kind::Date)
            e.CheckOutDateLiteral = dateItem.date;
        e.CheckOutDate = text();
        e.Rate = number();
        e.SpareAmount = number();
    } else {
        e.CardNumber = text();
        e.CardExpiry = text();
        e.DBNumber = text();
        e.FolioNumber = text();
        e.Comment = text();
        e.ReservedOn = text();
        e.SpareText = text();
        e.CardDeposit = text();
        e.ConfirmationNumber = text();
        e.CashDeposit = text();
    }
}

} // namespace

std::vector<HistoryEntry> ReadHistory(const DataFolder &folder) {
    if (!platform::FileExists(HistoryFile(folder)))
        return {}; // no guest has checked out yet
    SeqReader reader(HistoryFile(folder));
    std::vector<HistoryEntry> entries;
    HistoryEntry e;
    size_t line = 0;       // the line of the entry expected next
    size_t firstLine = 0;  // where the entry being read began
    // A line that does not fit where it stands drops the entry begun before it; a line
    // that fits as a first line starts the next entry, so one bad line costs one entry.
    auto dropEntry = [&](size_t lastLine) {
        if (line != 0)
            reader.NoteDamage("lines " + std::to_string(firstLine) + " to " + std::to_string(lastLine) +
                              ": an entry cut short, skipped");
        line = 0;
        e = HistoryEntry{}; // also what a line that failed half-way filled in
    };
    size_t lastLine = 0;
    while (reader.NextLine()) {
        if (reader.LineSize() != kHistoryLineItems[line]) {
            dropEntry(lastLine);
            if (reader.LineSize() != kHistoryLineItems[0]) {
                reader.SkipLine(std::to_string(reader.LineSize()) + " items, out of place in an entry");
                lastLine = reader.LineNumber();
                continue;
            }
        }
        if (line == 0)
            firstLine = reader.LineNumber();
        lastLine = reader.LineNumber();
        try {
            ReadHistoryLine(reader, line, e);
        } catch (const platform::IoError &error) {
            if (line == 0)
                reader.SkipLine(error.reason());
            dropEntry(lastLine);
            continue;
        }
        if (++line == 3) {
            entries.push_back(std::move(e));
            e = HistoryEntry{};
            line = 0;
        }
    }
    dropEntry(lastLine);
    return entries;
}

namespace {

struct TextField {
    size_t offset;
    size_t width;
    std::string DirectBillAccount::*member;
};

const std::array<TextField, 16> kAccountText{{
    {0, 80, &DirectBillAccount::CompanyName},
    {80, 20, &DirectBillAccount::ContactLastName},
    {100, 20, &DirectBillAccount::ContactFirstName},
    {120, 40, &DirectBillAccount::Address},
    {160, 30, &DirectBillAccount::City},
    {190, 2, &DirectBillAccount::State},
    {192, 6, &DirectBillAccount::Zip},
    {198, 15, &DirectBillAccount::Phone1},
    {213, 15, &DirectBillAccount::Phone2},
    {228, 15, &DirectBillAccount::Fax},
    {243, 15, &DirectBillAccount::Cell},
    {266, 1, &DirectBillAccount::TaxExempt},
    {267, 7, &DirectBillAccount::DBNumber},
    {274, 10, &DirectBillAccount::LastPaymentDate},
    {284, 10, &DirectBillAccount::LastPaymentAmount},
    {294, 10, &DirectBillAccount::SpareText},
}};

constexpr size_t kBalanceOffset = 258;
constexpr size_t kSpareAmountOffset = 262;

RandomFile AccountsFile(const DataFolder &folder) {
    return RandomFile(DbMemberFile(folder), DirectBillAccount::kLength);
}

} // namespace

DirectBillAccount DirectBillAccount::Decode(std::string_view bytes) {
    const std::string image = fields::Padded(bytes, kLength);
    const RecordBuffer buffer(image);
    DirectBillAccount account;
    for (const TextField &f : kAccountText)
        account.*f.member = fields::Text(buffer, f.offset, f.width);
    account.Balance = buffer.Single(kBalanceOffset);
    account.SpareAmount = image.substr(kSpareAmountOffset, 4);
    return account;
}

std::string DirectBillAccount::Encode() const {
    RecordBuffer buffer(kLength);
    for (const TextField &f : kAccountText)
        buffer.SetText(f.offset, f.width, this->*f.member);
    buffer.SetSingle(kBalanceOffset, Balance);
    std::string image = buffer.bytes();
    image.replace(kSpareAmountOffset, 4, fields::Padded(SpareAmount, 4));
    return image;
}

bool DirectBillAccount::IsDeleted() const {
    return platform::RTrim(CompanyName).empty();
}

DirectBillAccount ReadAccount(const DataFolder &folder, long n) {
    return DirectBillAccount::Decode(AccountsFile(folder).Get(n));
}

void WriteAccount(const DataFolder &folder, long n, const DirectBillAccount &account) {
    AccountsFile(folder).Put(n, account.Encode());
}

long AppendAccount(const DataFolder &folder, const DirectBillAccount &account) {
    const RandomFile file = AccountsFile(folder);
    const long n = file.RecordCount() + 1;
    file.Put(n, account.Encode());
    return n;
}

long AccountCount(const DataFolder &folder) {
    return AccountsFile(folder).RecordCount();
}

std::vector<DirectBillAccount> ReadAllAccounts(const DataFolder &folder) {
    const RandomFile file = AccountsFile(folder);
    const long count = file.RecordCount();
    std::vector<DirectBillAccount> accounts;
    accounts.reserve(count);
    for (long n = 1; n <= count; ++n)
        accounts.push_back(DirectBillAccount::Decode(file.Get(n)));
    return accounts;
}

std::optional<long> FindAccount(const DataFolder &folder, std::string_view key) {
    const RandomFile file = AccountsFile(folder);
    const long count = file.RecordCount();
    for (long n = 1; n <= count; ++n) {
        if (platform::RTrim(DirectBillAccount::Decode(file.Get(n)).DBNumber) == key)
            return n;
    }
    return std::nullopt;
}

std::string ChargingKey(std::string_view dbNumber) {
    return platform::CStr(static_cast<long>(platform::Round(platform::Val(dbNumber))));
}

std::optional<long> ChargeAccount(const DataFolder &folder, std::string_view key, double amount) {
    const std::optional<long> n = FindAccount(folder, key);
    if (!n)
        return std::nullopt;
    DirectBillAccount account = ReadAccount(folder, *n);
    account.Balance = platform::AddAmount(account.Balance, amount);
    WriteAccount(folder, *n, account);
    return n;
}

SeqLine DbDailyLine::ToSeqLine() const {
    SeqLine line;
    line.Text(Room).Text(Shift).Text(PostDate).Text(Account).Number(Amount);
    return line;
}

std::string DbDailyAccountText(const DirectBillAccount &account) {
    return platform::Trim(account.DBNumber) + " " + platform::Trim(account.CompanyName);
}

void AppendDbDailyLine(const DataFolder &folder, std::string_view dateText, const DbDailyLine &line) {
    platform::AppendLine(DayFilePath(folder, DayFile::DbDaily, dateText), line.ToSeqLine());
}

std::vector<DbDailyLine> ReadDbDaily(const DataFolder &folder, std::string_view dateText) {
    SeqReader reader(DayFilePath(folder, DayFile::DbDaily, dateText));
    std::vector<DbDailyLine> lines;
    reader.ForEachLine(5, [&] {
        DbDailyLine line;
        line.Room = reader.ReadText();
        line.Shift = reader.ReadText();
        line.PostDate = reader.ReadText();
        line.Account = reader.ReadText();
        line.Amount = static_cast<float>(reader.ReadNumber());
        lines.push_back(std::move(line));
    });
    return lines;
}

} // namespace records
