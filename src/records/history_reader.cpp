// The lines of the history read into its entries.
#include "records/history_reader.h"

#include "platform/text.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace records {

namespace {

// A history entry is three lines of 13, 9 and 10 items.
constexpr size_t kHistoryLineItems[3] = {13, 9, 10};

// Where each key lies: the line of the entry and the item on it.
struct KeyPlace {
    size_t line;
    size_t item;
};
KeyPlace PlaceOf(HistoryKey key) {
    switch (key) {
    case HistoryKey::LastName:
        return {0, 0};
    case HistoryKey::RegCard:
        return {0, 8};
    case HistoryKey::ArrivalDate:
        return {1, 4};
    case HistoryKey::CheckOutDate:
        return {1, 6};
    case HistoryKey::FolioNumber:
        return {2, 3};
    case HistoryKey::DBNumber:
        return {2, 2};
    }
    return {0, 0};
}

// The value platform::Val gives the item. A plain decimal (digits and at most one point, as
// the program writes its numbers) is read directly, as Val would read it.
double NumberOf(std::string_view item) {
    bool point = false, digit = false;
    for (char c : item) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '.' && !point)
            point = true;
        else
            return platform::Val(item);
    }
    double value = 0;
    if (!digit || std::from_chars(item.data(), item.data() + item.size(), value).ec != std::errc())
        return platform::Val(item);
    return value;
}

// Whether the number items of the line (line 1, 2 or 3 of an entry: 0 to 2) read as numbers.
bool NumbersReadable(std::string_view line, size_t lineOfEntry, const LineItems& items, Literals& literals) {
    static const std::vector<size_t> kNumbers[3] = {{11, 12}, {0, 1, 7, 8}, {}};
    if (kNumbers[lineOfEntry].empty())
        return true;
    const uint64_t withHash = items.ItemsWithHash();
    if (withHash == 0)
        return true;
    for (size_t i : kNumbers[lineOfEntry]) {
        if ((withHash >> i & 1) == 0)
            continue;
        const RawItem item = items.Item(i);
        const std::string_view raw = line.substr(item.offset, item.length);
        if (MayBeLiteral(raw, item) && !literals.ReadsAsNumber(raw))
            return false;
    }
    return true;
}

const char* const kUnreadableWhy[] = {"unreadable bytes", "a text without its closing quote",
                                      "characters after a closing quote"};

// The items of an entry's three lines as DecodeEntry reads them into its fields.
class EntryItems {
public:
    EntryItems(const HistoryStream& stream, const ScannedEntry& scanned, Literals& literals)
        : m_items(scanned.items), m_literals(literals) {
        for (size_t line = 0; line < 3; ++line)
            m_texts[line] =
                std::string_view(stream.At(scanned.lines[line].place), scanned.lines[line].length);
    }

    std::string_view Raw(size_t line, size_t i) const {
        return m_texts[line].substr(m_items[line][i].offset, m_items[line][i].length);
    }
    bool MayBeLiteralAt(size_t line, size_t i) const { return MayBeLiteral(Raw(line, i), m_items[line][i]); }
    void Text(std::string& field, size_t line, size_t i) const {
        const std::string_view r = Raw(line, i);
        if (MayBeLiteral(r, m_items[line][i]))
            field = m_literals.Text(r);
        else if (field.size() == r.size()) // a field of its usual width: copied in place
            std::copy(r.begin(), r.end(), field.begin());
        else
            field.assign(r);
    }
    float Number(size_t line, size_t i) const { return static_cast<float>(NumberOf(Raw(line, i))); }
    Literals& literals() const { return m_literals; }

private:
    const RawItem (&m_items)[3][kMostItems];
    std::string_view m_texts[3];
    Literals& m_literals;
};

void DecodeFirstLine(const EntryItems& items, HistoryEntry& e) {
    items.Text(e.LastName, 0, 0);
    items.Text(e.FirstName, 0, 1);
    items.Text(e.Company, 0, 2);
    items.Text(e.Street, 0, 3);
    items.Text(e.City, 0, 4);
    items.Text(e.State, 0, 5);
    items.Text(e.Zip, 0, 6);
    items.Text(e.Phone, 0, 7);
    items.Text(e.RegCard, 0, 8);
    items.Text(e.Clerk, 0, 9);
    items.Text(e.Room, 0, 10);
    e.Adults = items.Number(0, 11);
    e.Children = items.Number(0, 12);
}

void DecodeSecondLine(const EntryItems& items, HistoryEntry& e) {
    e.Nights = items.Number(1, 0);
    e.TaxExempt = items.Number(1, 1);
    items.Text(e.PayCode, 1, 2);
    items.Text(e.CheckInTime, 1, 3);
    items.Text(e.ArrivalDate, 1, 4);
    items.Text(e.CheckOutTime, 1, 5);
    e.CheckOutDateLiteral.reset();
    if (items.MayBeLiteralAt(1, 6)) {
        const platform::SeqItem& date = items.literals().Item(items.Raw(1, 6));
        if (date.kind == platform::SeqItem::Kind::Date)
            e.CheckOutDateLiteral = date.date;
    }
    items.Text(e.CheckOutDate, 1, 6);
    e.Rate = items.Number(1, 7);
    e.SpareAmount = items.Number(1, 8);
}

void DecodeThirdLine(const EntryItems& items, HistoryEntry& e) {
    items.Text(e.CardNumber, 2, 0);
    items.Text(e.CardExpiry, 2, 1);
    items.Text(e.DBNumber, 2, 2);
    items.Text(e.FolioNumber, 2, 3);
    items.Text(e.Comment, 2, 4);
    items.Text(e.ReservedOn, 2, 5);
    items.Text(e.SpareText, 2, 6);
    items.Text(e.CardDeposit, 2, 7);
    items.Text(e.ConfirmationNumber, 2, 8);
    items.Text(e.CashDeposit, 2, 9);
}

} // namespace

void DecodeEntry(const HistoryStream& stream, const ScannedEntry& scanned, Literals& literals,
                 HistoryEntry& e) {
    const EntryItems items(stream, scanned, literals);
    DecodeFirstLine(items, e);
    DecodeSecondLine(items, e);
    DecodeThirdLine(items, e);
}

std::string DamageFound::Text() const {
    switch (what) {
    case Damage::Unreadable:
        return "line " + std::to_string(a) + ": " + kUnreadableWhy[why] + ", skipped";
    case Damage::EntryCutShort:
        return "lines " + std::to_string(a) + " to " + std::to_string(b) + ": an entry cut short, skipped";
    case Damage::OutOfPlace:
        return "line " + std::to_string(a) + ": " + std::to_string(b) +
               " items, out of place in an entry, skipped";
    case Damage::TypeMismatch:
        return "line " + std::to_string(a) + ": Type mismatch, skipped";
    }
    return {};
}

void HistoryScanner::Run() {
    std::string_view text;
    size_t number = 0;
    uint64_t place = 0;
    while (m_stream.NextLine(text, number, place))
        TakeLine(text, number, place);
    DropEntry(m_lastLine);
}

void HistoryScanner::TakeLine(std::string_view text, size_t number, uint64_t place) {
    if (!m_stream.ReadItems(place, text.size(), m_items, m_why)) {
        const auto why = std::find(std::begin(kUnreadableWhy), std::end(kUnreadableWhy), m_why);
        m_damage({Damage::Unreadable, static_cast<uint8_t>(why - std::begin(kUnreadableWhy)), number, 0});
        return;
    }
    const size_t count = m_items.count();
    if (count != kHistoryLineItems[m_line]) {
        DropEntry(m_lastLine);
        if (count != kHistoryLineItems[0]) {
            m_damage({Damage::OutOfPlace, 0, number, count});
            m_lastLine = number;
            return;
        }
    }
    if (m_line == 0)
        m_firstLine = number;
    m_lastLine = number;
    if (!NumbersReadable(text, m_line, m_items, m_literals)) {
        if (m_line == 0)
            m_damage({Damage::TypeMismatch, 0, number, 0});
        DropEntry(m_lastLine);
        return;
    }
    if (m_line == 0) {
        m_stream.Pin(place);
        m_entry.start = place;
    }
    if (m_keys)
        KeepKeys(text);
    if (m_keepItems)
        m_items.Items(m_entry.items[m_line]);
    m_entry.lines[m_line] = {place, text.size()};
    if (++m_line == 3)
        FinishEntry(number);
}

void HistoryScanner::KeepKeys(std::string_view text) {
    for (size_t k = 0; k < kIndexKeys; ++k) {
        const KeyPlace at = PlaceOf(static_cast<HistoryKey>(k));
        if (at.line != m_line)
            continue;
        const RawItem item = m_items.Item(at.item);
        const std::string_view raw = text.substr(item.offset, item.length);
        const bool literal = MayBeLiteral(raw, item);
        m_entry.keys[k] = literal ? std::string_view(m_literals.Text(raw)) : raw;
        if (k != kCheckOutKey)
            continue;
        m_entry.day.reset();
        if (literal && m_literals.Item(raw).kind == platform::SeqItem::Kind::Date)
            m_entry.day = m_literals.Item(raw).date;
    }
}

void HistoryScanner::FinishEntry(size_t number) {
    m_entry.end = m_stream.TakeLineEnd(m_entry.settled);
    m_entry.lastLine = number;
    m_found(m_entry);
    m_line = 0;
    m_stream.Unpin();
}

void HistoryScanner::DropEntry(size_t last) {
    if (m_line != 0)
        m_damage({Damage::EntryCutShort, 0, m_firstLine, last});
    m_line = 0;
    m_stream.Unpin();
}

} // namespace records
