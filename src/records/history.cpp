// The history file, the company accounts and the day's direct-bill log.
#include "records/history.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/record_fields.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
constexpr size_t kMostItems = 13;

// Where each key lies: the line of the entry and the item on it.
struct KeyPlace {
    size_t line;
    size_t item;
};
KeyPlace PlaceOf(HistoryKey key) {
    switch (key) {
    case HistoryKey::LastName: return {0, 0};
    case HistoryKey::RegCard: return {0, 8};
    case HistoryKey::ArrivalDate: return {1, 4};
    case HistoryKey::CheckOutDate: return {1, 6};
    case HistoryKey::FolioNumber: return {2, 3};
    }
    return {0, 0};
}

// One item of a line as it lies in the file: the text between the quotes of a quoted item,
// the text without the blanks around it of a bare one (a number, a date literal).
struct RawItem {
    uint32_t offset = 0; // from the start of the line
    uint32_t length = 0;
    bool quoted = false;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The items of one line (without its line end), read by the rules of the file layer's own
// reader (platform::SeqReader): the count of items, the first kMostItems of them, and
// false with `why` for a line that cannot be read. Only the places are found here, no
// text is copied, so that passing over an entry costs little.
bool SplitItems(std::string_view line, RawItem (&items)[kMostItems], size_t &count, std::string &why) {
    const char *data = line.data();
    const size_t n = line.size();
    if (std::memchr(data, '\0', n) != nullptr) {
        why = "unreadable bytes";
        return false;
    }
    count = 0;
    size_t pos = 0;
    for (;;) {
        while (pos < n && IsBlank(data[pos]))
            ++pos;
        RawItem item;
        if (pos < n && data[pos] == '"') {
            const char *close = static_cast<const char *>(std::memchr(data + pos + 1, '"', n - pos - 1));
            if (close == nullptr) {
                why = "a text without its closing quote";
                return false;
            }
            item.offset = static_cast<uint32_t>(pos + 1);
            item.length = static_cast<uint32_t>(close - (data + pos + 1));
            item.quoted = true;
            pos = static_cast<size_t>(close - data) + 1;
            while (pos < n && IsBlank(data[pos]))
                ++pos;
            if (pos < n && data[pos] != ',') {
                why = "characters after a closing quote";
                return false;
            }
        } else {
            const size_t start = pos;
            const char *comma = static_cast<const char *>(std::memchr(data + pos, ',', n - pos));
            pos = comma != nullptr ? static_cast<size_t>(comma - data) : n;
            size_t end = pos;
            while (end > start && data[end - 1] == ' ')
                --end;
            item.offset = static_cast<uint32_t>(start);
            item.length = static_cast<uint32_t>(end - start);
        }
        if (count < kMostItems)
            items[count] = item;
        ++count;
        if (pos < n) { // at a comma
            ++pos;
            continue;
        }
        return true;
    }
}

// A bare item between "#" signs may be a date or time literal; the file layer decides.
bool MayBeLiteral(std::string_view text, const RawItem &item) {
    return !item.quoted && item.length >= 2 && text.front() == '#' && text.back() == '#';
}

platform::SeqItem LiteralItem(std::string_view text) {
    std::vector<platform::SeqItem> items = platform::ParseSeqText(std::string(text) + "\n");
    return items.size() == 1 ? std::move(items[0]) : platform::SeqItem{};
}

// The item's text as SeqReader::ReadText gives it.
std::string ItemText(std::string_view text, const RawItem &item) {
    if (!MayBeLiteral(text, item))
        return std::string(text);
    const platform::SeqItem literal = LiteralItem(text);
    switch (literal.kind) {
    case platform::SeqItem::Kind::Date: return platform::DateText(literal.date);
    case platform::SeqItem::Kind::Time: return platform::TimeText(literal.time);
    default: return std::string(text);
    }
}

// Whether SeqReader::ReadNumber would read the item: a date or time literal is a type mismatch.
bool ReadsAsNumber(std::string_view text, const RawItem &item) {
    if (!MayBeLiteral(text, item))
        return true;
    const platform::SeqItem::Kind kind = LiteralItem(text).kind;
    return kind != platform::SeqItem::Kind::Date && kind != platform::SeqItem::Kind::Time;
}

// The history file, read a piece at a time into a buffer that keeps the lines of the entry
// being read (from the pinned place on) and the line being read.
class HistoryStream {
public:
    explicit HistoryStream(std::filesystem::path file) : m_file(std::move(file)) {
        do
            m_fd = ::open(m_file.c_str(), O_RDONLY | O_CLOEXEC);
        while (m_fd < 0 && errno == EINTR);
        if (m_fd < 0)
            throw platform::IoError(m_file, errno == ENOENT ? std::string("File not found") : std::strerror(errno));
        ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
        m_buffer.resize(kPiece);
    }
    ~HistoryStream() { ::close(m_fd); }
    HistoryStream(const HistoryStream &) = delete;
    HistoryStream &operator=(const HistoryStream &) = delete;

    // The next line, its number in the file (from 1) and its place (bytes from the start of
    // the file). A last line without its line end is left out and noted as damage.
    bool NextLine(std::string_view &line, size_t &number, uint64_t &place) {
        for (;;) {
            // The line end: CRs, then at most one LF.
            while (m_inLineEnd) {
                if (m_begin == m_end && !Fill())
                    return false;
                if (m_buffer[m_begin] == '\r') {
                    ++m_begin;
                    continue;
                }
                if (m_buffer[m_begin] == '\n')
                    ++m_begin;
                m_inLineEnd = false;
            }
            if (m_begin == m_end && !Fill())
                return false;
            const char *start = m_buffer.data() + m_begin;
            const size_t available = m_end - m_begin;
            const char *lf = static_cast<const char *>(std::memchr(start, '\n', available));
            const size_t upTo = lf != nullptr ? static_cast<size_t>(lf - start) : available;
            const char *cr = static_cast<const char *>(std::memchr(start, '\r', upTo));
            const char *end = cr != nullptr ? cr : lf;
            if (end == nullptr) {
                if (!Fill()) {
                    m_cutShort = "line " + std::to_string(m_lineNumber + 1) +
                                 ": cut short before its line end, left out";
                    m_begin = m_end;
                    return false;
                }
                continue;
            }
            line = std::string_view(start, static_cast<size_t>(end - start));
            number = ++m_lineNumber;
            place = m_base + m_begin;
            m_begin += line.size();
            m_inLineEnd = true;
            return true;
        }
    }

    // Keeps the bytes from `place` on until Unpin.
    void Pin(uint64_t place) { m_pin = place; }
    void Unpin() { m_pin.reset(); }
    // The bytes at `place`, which must be pinned or on the last line read.
    const char *At(uint64_t place) const { return m_buffer.data() + (place - m_base); }

    void NoteDamage(std::string what) { m_damage.push_back(std::move(what)); }
    // Hands the damage found over to the clerk's reports, as SeqReader does: the lines that
    // could not be read, the last line cut short, then what NoteDamage noted.
    void ReportDamage(std::vector<std::string> firstFound) {
        if (!m_cutShort.empty())
            firstFound.push_back(m_cutShort);
        firstFound.insert(firstFound.end(), m_damage.begin(), m_damage.end());
        if (firstFound.empty())
            return;
        struct stat st;
        const long long changed =
            ::fstat(m_fd, &st) == 0 ? st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec : 0;
        platform::NoteSeqFileDamage(m_file, m_base + m_end, changed, firstFound);
    }

private:
    static constexpr size_t kPiece = 256 * 1024;

    // Reads the next piece after what is kept; false at the end of the file.
    bool Fill() {
        if (m_atEnd)
            return false;
        size_t keep = m_begin;
        if (m_pin)
            keep = std::min<size_t>(keep, static_cast<size_t>(*m_pin - m_base));
        if (keep > 0) {
            std::memmove(m_buffer.data(), m_buffer.data() + keep, m_end - keep);
            m_base += keep;
            m_begin -= keep;
            m_end -= keep;
        }
        if (m_buffer.size() - m_end < kPiece / 2)
            m_buffer.resize(m_buffer.size() * 2); // a line longer than a piece
        for (;;) {
            const ssize_t got = ::read(m_fd, m_buffer.data() + m_end, m_buffer.size() - m_end);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                throw platform::IoError(m_file, std::strerror(errno));
            if (got == 0) {
                m_atEnd = true;
                return false;
            }
            m_end += static_cast<size_t>(got);
            return true;
        }
    }

    std::filesystem::path m_file;
    int m_fd = -1;
    std::string m_buffer;
    uint64_t m_base = 0; // the place of the buffer's first byte
    size_t m_begin = 0;  // the next byte to look at
    size_t m_end = 0;    // the end of the bytes read
    bool m_atEnd = false;
    bool m_inLineEnd = false;
    size_t m_lineNumber = 0;
    std::optional<uint64_t> m_pin;
    std::string m_cutShort;
    std::vector<std::string> m_damage;
};

// One line of the entry being read.
struct EntryLine {
    uint64_t place = 0;
    size_t length = 0;
    RawItem items[kMostItems];
};

// The entry from its three lines.
HistoryEntry DecodeEntry(const HistoryStream &stream, const EntryLine (&lines)[3]) {
    auto raw = [&](size_t line, size_t i) {
        const RawItem &item = lines[line].items[i];
        return std::string_view(stream.At(lines[line].place) + item.offset, item.length);
    };
    auto text = [&](size_t line, size_t i) { return ItemText(raw(line, i), lines[line].items[i]); };
    auto number = [&](size_t line, size_t i) { return static_cast<float>(platform::Val(raw(line, i))); };
    HistoryEntry e;
    e.LastName = text(0, 0);
    e.FirstName = text(0, 1);
    e.Company = text(0, 2);
    e.Street = text(0, 3);
    e.City = text(0, 4);
    e.State = text(0, 5);
    e.Zip = text(0, 6);
    e.Phone = text(0, 7);
    e.RegCard = text(0, 8);
    e.Clerk = text(0, 9);
    e.Room = text(0, 10);
    e.Adults = number(0, 11);
    e.Children = number(0, 12);
    e.Nights = number(1, 0);
    e.TaxExempt = number(1, 1);
    e.PayCode = text(1, 2);
    e.CheckInTime = text(1, 3);
    e.ArrivalDate = text(1, 4);
    e.CheckOutTime = text(1, 5);
    if (MayBeLiteral(raw(1, 6), lines[1].items[6])) {
        const platform::SeqItem date = LiteralItem(raw(1, 6));
        if (date.kind == platform::SeqItem::Kind::Date)
            e.CheckOutDateLiteral = date.date;
    }
    e.CheckOutDate = text(1, 6);
    e.Rate = number(1, 7);
    e.SpareAmount = number(1, 8);
    e.CardNumber = text(2, 0);
    e.CardExpiry = text(2, 1);
    e.DBNumber = text(2, 2);
    e.FolioNumber = text(2, 3);
    e.Comment = text(2, 4);
    e.ReservedOn = text(2, 5);
    e.SpareText = text(2, 6);
    e.CardDeposit = text(2, 7);
    e.ConfirmationNumber = text(2, 8);
    e.CashDeposit = text(2, 9);
    return e;
}

// The number items of each line.
bool NumbersReadable(std::string_view line, size_t lineOfEntry, const RawItem (&items)[kMostItems]) {
    static const std::vector<size_t> kNumbers[3] = {{11, 12}, {0, 1, 7, 8}, {}};
    for (size_t i : kNumbers[lineOfEntry])
        if (!ReadsAsNumber(line.substr(items[i].offset, items[i].length), items[i]))
            return false;
    return true;
}

} // namespace

void ScanHistory(const DataFolder &folder, HistoryKey key, const HistoryKeyTest &wanted,
                 const std::function<void(const HistoryEntry &)> &found) {
    const std::filesystem::path file = HistoryFile(folder);
    if (!platform::FileExists(file))
        return; // no guest has checked out yet
    HistoryStream stream(file);
    const KeyPlace keyPlace = PlaceOf(key);
    // Lines that cannot be read at all are noted as the file layer notes them, the entries
    // they break after them, as a SeqReader's reader would.
    std::vector<std::string> unreadable;
    EntryLine lines[3];
    size_t line = 0;      // the line of the entry expected next
    size_t firstLine = 0; // where the entry being read began
    size_t lastLine = 0;
    // A line that does not fit where it stands drops the entry begun before it; a line
    // that fits as a first line starts the next entry, so one bad line costs one entry.
    auto dropEntry = [&](size_t last) {
        if (line != 0)
            stream.NoteDamage("lines " + std::to_string(firstLine) + " to " + std::to_string(last) +
                              ": an entry cut short, skipped");
        line = 0;
        stream.Unpin();
    };
    std::string_view text;
    size_t number = 0;
    uint64_t place = 0;
    std::string why;
    RawItem items[kMostItems];
    while (stream.NextLine(text, number, place)) {
        size_t count = 0;
        if (!SplitItems(text, items, count, why)) {
            unreadable.push_back("line " + std::to_string(number) + ": " + why + ", skipped");
            continue;
        }
        if (count != kHistoryLineItems[line]) {
            dropEntry(lastLine);
            if (count != kHistoryLineItems[0]) {
                stream.NoteDamage("line " + std::to_string(number) + ": " + std::to_string(count) +
                                  " items, out of place in an entry, skipped");
                lastLine = number;
                continue;
            }
        }
        if (line == 0)
            firstLine = number;
        lastLine = number;
        if (!NumbersReadable(text, line, items)) {
            if (line == 0)
                stream.NoteDamage("line " + std::to_string(number) + ": Type mismatch, skipped");
            dropEntry(lastLine);
            continue;
        }
        if (line == 0)
            stream.Pin(place);
        EntryLine &kept = lines[line];
        kept.place = place;
        kept.length = text.size();
        std::copy(std::begin(items), std::begin(items) + count, std::begin(kept.items));
        if (++line < 3)
            continue;
        const RawItem &keyItem = lines[keyPlace.line].items[keyPlace.item];
        const std::string_view keyText(stream.At(lines[keyPlace.line].place) + keyItem.offset, keyItem.length);
        const bool plain = !MayBeLiteral(keyText, keyItem);
        if (plain ? wanted(keyText) : wanted(ItemText(keyText, keyItem)))
            found(DecodeEntry(stream, lines));
        line = 0;
        stream.Unpin();
    }
    dropEntry(lastLine);
    stream.ReportDamage(std::move(unreadable));
}

std::vector<HistoryEntry> FindInHistory(const DataFolder &folder, HistoryKey key, const HistoryKeyTest &wanted) {
    std::vector<HistoryEntry> entries;
    ScanHistory(folder, key, wanted, [&](const HistoryEntry &entry) { entries.push_back(entry); });
    return entries;
}

std::vector<HistoryEntry> ReadHistory(const DataFolder &folder) {
    return FindInHistory(folder, HistoryKey::LastName, [](std::string_view) { return true; });
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
    // A field the write does not change keeps its stored bytes (zero bytes stay zero).
    const RandomFile file = AccountsFile(folder);
    std::string image = account.Encode();
    if (n >= 1 && n <= file.RecordCount())
        image = fields::KeepUnchangedText(std::move(image), file.Get(n), kAccountText);
    file.Put(n, image);
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
