// The history file, the company accounts and the day's direct-bill log.
#include "records/history.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/history_scan.h"
#include "records/record_fields.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace records {

using platform::DataFolder;
using platform::Fixed;
using platform::RecordBuffer;
using platform::SeqLine;
using platform::SeqReader;

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
bool SplitItemsOneByOne(std::string_view line, RawItem (&items)[kMostItems], size_t& count,
                        std::string& why) {
    const char* data = line.data();
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
            const char* close = static_cast<const char*>(std::memchr(data + pos + 1, '"', n - pos - 1));
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
            const char* comma = static_cast<const char*>(std::memchr(data + pos, ',', n - pos));
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

// The words of `classes` for the bytes from `from` to `to`, both included:
// f(index, word, mask of its bytes in the range) for every word the range touches.
template <class F> void ForEachWord(const HistoryByteClasses& classes, size_t from, size_t to, F f) {
    const size_t first = from / 64, last = to / 64;
    for (size_t w = first; w <= last; ++w) {
        uint64_t in = ~uint64_t{0};
        if (w == first)
            in <<= from % 64;
        if (w == last)
            in &= ~uint64_t{0} >> (63 - to % 64);
        f(w, classes[w], in);
    }
}

// The item of a line in the written form that lies between `start` and `end` (a comma or
// the line's end): a text in quotes, or a bare item without the blanks around it.
// (Written field by field into its place: a whole item built aside and then copied would
// be read back before its parts are stored.)
inline void SetItemBetween(RawItem& item, std::string_view line, size_t start, size_t end) {
    item.quoted = start < end && line[start] == '"';
    if (item.quoted) {
        ++start;
        --end;
    } else {
        while (start < end && IsBlank(line[start]))
            ++start;
        while (end > start && line[end - 1] == ' ')
            --end;
    }
    item.offset = static_cast<uint32_t>(start);
    item.length = static_cast<uint32_t>(end - start);
}

RawItem ItemBetween(std::string_view line, size_t start, size_t end) {
    RawItem item;
    SetItemBetween(item, line, start, end);
    return item;
}

// The items of one line, as the scan needs them: how many, and where any of them lies. A
// line in the written form (see HistoryByteClasses) is read from the classes of its bytes,
// without going item by item; any other line is split item by item. Both give what the
// file layer's reader gives.
class LineItems {
public:
    // A line without flaws whose first byte is byte `start` of `classes`, with `commas`
    // between its items; `hashes`: whether it holds a "#" outside its texts.
    void ReadClassified(std::string_view line, const HistoryByteClasses& classes, size_t start, size_t commas,
                        bool hashes) {
        m_line = line;
        m_hashes = hashes;
        m_classes = &classes;
        m_start = start;
        m_count = commas + 1;
    }

    // Any other line; false, with `why`, for a line that cannot be read.
    bool ReadSplit(std::string_view line, std::string& why) {
        m_line = line;
        m_classes = nullptr;
        return SplitItemsOneByOne(line, m_items, m_count, why);
    }

    size_t count() const { return m_count; }

    // Item i (below count() and kMostItems).
    RawItem Item(size_t i) const {
        if (m_classes == nullptr)
            return m_items[i];
        size_t start = 0, seen = 0;
        RawItem item;
        bool done = false;
        ForEachCommaUntil([&](size_t at) {
            if (seen + 1 == i)
                start = at + 1;
            if (seen++ == i) {
                item = ItemBetween(m_line, start, at);
                done = true;
            }
            return done;
        });
        return done ? item : ItemBetween(m_line, start, m_line.size());
    }

    // Whether a bare item among the first 64 may begin with "#" (a literal): bit i for item i.
    uint64_t ItemsWithHash() const {
        uint64_t items = 0;
        if (m_classes == nullptr) {
            for (size_t i = 0; i < std::min(m_count, kMostItems); ++i)
                if (!m_items[i].quoted && m_items[i].length > 0 && m_line[m_items[i].offset] == '#')
                    items |= uint64_t{1} << i;
            return items;
        }
        if (!m_hashes)
            return 0;
        const size_t last = m_start + m_line.size(); // the line's end: no "#" there
        size_t before = 0;                           // the commas in the words before
        ForEachWord(*m_classes, m_start, last, [&](size_t, const HistoryWordClasses& word, uint64_t in) {
            const uint64_t commas = word.commas & in;
            for (uint64_t hashes = word.hashes & in; hashes != 0; hashes &= hashes - 1) {
                const size_t item =
                    before + static_cast<size_t>(CountBits(commas & ((hashes & (0 - hashes)) - 1)));
                if (item < 64)
                    items |= uint64_t{1} << item;
            }
            before += static_cast<size_t>(CountBits(commas));
        });
        return items;
    }

    // Every item (up to kMostItems), in order.
    void Items(RawItem (&items)[kMostItems]) const {
        if (m_classes == nullptr) {
            std::copy(std::begin(m_items), std::end(m_items), std::begin(items));
            return;
        }
        size_t start = 0, n = 0;
        ForEachCommaUntil([&](size_t at) {
            SetItemBetween(items[n++], m_line, start, at);
            start = at + 1;
            return n == kMostItems;
        });
        if (n < kMostItems)
            SetItemBetween(items[n], m_line, start, m_line.size());
    }

private:
    // f(place of the comma in the line) for the commas between items in order, until f
    // returns true.
    template <class F> void ForEachCommaUntil(F f) const {
        const size_t from = m_start, to = m_start + m_line.size();
        for (size_t w = from / 64; w <= to / 64; ++w) {
            uint64_t commas = (*m_classes)[w].commas;
            if (w == from / 64)
                commas &= ~uint64_t{0} << (from % 64);
            for (; commas != 0; commas &= commas - 1) {
                const size_t at = (w << 6) + static_cast<size_t>(std::countr_zero(commas));
                if (at >= to || f(at - from))
                    return;
            }
        }
    }

    std::string_view m_line;
    size_t m_count = 0;
    const HistoryByteClasses* m_classes = nullptr; // null: split item by item
    size_t m_start = 0;                            // the line's first byte among the classes
    bool m_hashes = false;                         // "#" outside texts
    RawItem m_items[kMostItems];                   // split item by item
};

// A bare item between "#" signs may be a date or time literal; the file layer decides.
bool MayBeLiteral(std::string_view text, const RawItem& item) {
    return !item.quoted && item.length >= 2 && text.front() == '#' && text.back() == '#';
}

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A bare item that may be a literal, as the file layer reads it. The form the program
// writes, #yyyy-mm-dd# with a real date, is read here directly; any other through the file
// layer itself.
platform::SeqItem LiteralItem(std::string_view text) {
    if (text.size() == 12 && text[5] == '-' && text[8] == '-' && AllDigits(text.substr(1, 4)) &&
        AllDigits(text.substr(6, 2)) && AllDigits(text.substr(9, 2))) {
        auto value = [&](size_t at, size_t width) {
            int v = 0;
            for (char c : text.substr(at, width))
                v = v * 10 + (c - '0');
            return v;
        };
        const platform::Date date{value(1, 4), value(6, 2), value(9, 2)};
        if (platform::IsValidDate(date)) {
            platform::SeqItem item;
            item.kind = platform::SeqItem::Kind::Date;
            item.date = date;
            return item;
        }
    }
    std::vector<platform::SeqItem> items = platform::ParseSeqText(std::string(text) + "\n");
    return items.size() == 1 ? std::move(items[0]) : platform::SeqItem{};
}

// Reads the items that may be literals, remembering the last one: the entries of a day's
// check-outs carry the same date one after the other.
class Literals {
public:
    const platform::SeqItem& Item(std::string_view raw) {
        if (!m_known || raw != m_raw) {
            m_raw.assign(raw);
            m_item = LiteralItem(raw);
            switch (m_item.kind) {
            case platform::SeqItem::Kind::Date:
                m_text = platform::DateText(m_item.date);
                break;
            case platform::SeqItem::Kind::Time:
                m_text = platform::TimeText(m_item.time);
                break;
            default:
                m_text.assign(raw);
                break;
            }
            m_known = true;
        }
        return m_item;
    }
    // The item's text as SeqReader::ReadText gives it.
    const std::string& Text(std::string_view raw) {
        Item(raw);
        return m_text;
    }
    // Whether SeqReader::ReadNumber reads the item: a date or time is a type mismatch.
    bool ReadsAsNumber(std::string_view raw) {
        const platform::SeqItem::Kind kind = Item(raw).kind;
        return kind != platform::SeqItem::Kind::Date && kind != platform::SeqItem::Kind::Time;
    }

private:
    bool m_known = false;
    std::string m_raw;
    platform::SeqItem m_item;
    std::string m_text;
};

// The history file, a piece at a time: the lines of the entry being read (from the pinned
// place on) and the line being read stay in view, with the classes of their bytes. The
// file is mapped and looked at where it lies, the pages left behind handed back as the
// search goes on, so that a search takes the same little memory however long the history
// grows. A file the running step changed, or one that cannot be mapped, is read into a
// buffer instead.
class HistoryStream {
public:
    // The file from byte `from` (where a line starts) to its end; `linesBefore` lines lie
    // before that place.
    explicit HistoryStream(platform::FilePath file, uint64_t from = 0, size_t linesBefore = 0)
        : m_file(std::move(file)), m_stepRead(static_cast<long long>(from)), m_readAt(from), m_base(from),
          m_lineNumber(linesBefore) {
        // A file the running step changed is read as the step sees it, piece by piece.
        if (platform::ChangedByStep(m_file)) {
            if (platform::FileSize(m_file) < 0)
                throw platform::IoError(m_file, "File not found");
            return;
        }
        do
            m_fd = ::open(m_file.c_str(), O_RDONLY | O_CLOEXEC);
        while (m_fd < 0 && errno == EINTR);
        if (m_fd < 0)
            throw platform::IoError(m_file,
                                    errno == ENOENT ? std::string("File not found") : std::strerror(errno));
        struct stat st;
        if (::fstat(m_fd, &st) == 0 && st.st_size > 0 && static_cast<uint64_t>(st.st_size) > from) {
            const auto size = static_cast<size_t>(st.st_size);
            void* map = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, m_fd, 0);
            if (map != MAP_FAILED) {
                m_map = static_cast<char*>(map);
                m_mapSize = size;
                m_data = m_map + from;
                m_givenBack = from / PageSize() * PageSize();
                ::madvise(map, size, MADV_SEQUENTIAL);
                return;
            }
        }
        ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    // Bytes already in memory, the first of which starts a line at place `base`, after
    // `linesBefore` lines.
    HistoryStream(std::string_view bytes, uint64_t base, size_t linesBefore = 0) {
        Reset(bytes, base, linesBefore);
    }
    // Reads other bytes in memory from their start, as if made anew with them.
    void Reset(std::string_view bytes, uint64_t base, size_t linesBefore = 0) {
        m_base = base;
        m_lineNumber = linesBefore;
        m_data = bytes.data();
        m_begin = 0;
        m_end = bytes.size();
        m_atEnd = true;
        m_inLineEnd = false;
        m_pin.reset();
        m_lastPlace = ~uint64_t{0};
        m_cutShort.clear();
        ClassifyHistoryBytes(bytes, m_classes);
    }
    ~HistoryStream() {
        if (m_map != nullptr)
            ::munmap(m_map, m_mapSize);
        if (m_fd >= 0)
            ::close(m_fd);
    }
    HistoryStream(const HistoryStream&) = delete;
    HistoryStream& operator=(const HistoryStream&) = delete;

    // The next line, its number in the file (from 1) and its place (bytes from the start of
    // the file). A last line without its line end is left out and noted as damage.
    bool NextLine(std::string_view& line, size_t& number, uint64_t& place) {
        for (;;) {
            // The line end: CRs, then at most one LF.
            while (m_inLineEnd) {
                if (m_begin == m_end && !Fill())
                    return false;
                if (m_data[m_begin] == '\r') {
                    ++m_begin;
                    continue;
                }
                if (m_data[m_begin] == '\n')
                    ++m_begin;
                m_inLineEnd = false;
            }
            if (m_begin == m_end && !Fill())
                return false;
            const size_t end = NextLineEnd(m_lastFlawless, m_lastHashes);
            if (end == m_end) {
                if (!Fill()) {
                    m_cutShort = "line " + std::to_string(m_lineNumber + 1) +
                                 ": cut short before its line end, left out";
                    m_begin = m_end;
                    return false;
                }
                continue;
            }
            line = std::string_view(m_data + m_begin, end - m_begin);
            number = ++m_lineNumber;
            place = m_base + m_begin;
            m_lastPlace = place;
            m_begin = end;
            m_inLineEnd = true;
            return true;
        }
    }

    // The items of the line at `place`, `length` bytes long, which must be pinned or the last
    // line read; false, with `why`, for a line that cannot be read.
    bool ReadItems(uint64_t place, size_t length, LineItems& items, std::string& why) const {
        const size_t start = static_cast<size_t>(place - m_base);
        const std::string_view line(m_data + start, length);
        bool flawless = true, hashes = false;
        if (place == m_lastPlace) {
            flawless = m_lastFlawless;
            hashes = m_lastHashes;
        } else {
            // The line's end counts: a flaw there closes a text the line left open.
            ForEachWord(m_classes, start, start + length,
                        [&](size_t, const HistoryWordClasses& word, uint64_t in) {
                            flawless = flawless && (word.flaws & in) == 0;
                            hashes = hashes || (word.hashes & in) != 0;
                        });
        }
        if (!flawless)
            return items.ReadSplit(line, why);
        items.ReadClassified(line, m_classes, start, CommasBefore(start + length) - CommasBefore(start),
                             hashes);
        return true;
    }

    // Keeps the bytes from `place` on until Unpin.
    void Pin(uint64_t place) { m_pin = place; }
    void Unpin() { m_pin.reset(); }
    // The bytes at `place`, which must be pinned or on the last line read.
    const char* At(uint64_t place) const { return m_data + (place - m_base); }

    // After the last line of an entry: takes its line end (CRs, then at most one LF) and
    // gives the place after it. `settled`: whether more bytes appended could not lengthen it
    // (an LF ends it, or a line follows); a line end of CRs at the end of the file is not.
    uint64_t TakeLineEnd(bool& settled) {
        settled = false;
        while (m_inLineEnd) {
            if (m_begin == m_end && !Fill())
                return m_base + m_begin;
            if (m_data[m_begin] == '\r') {
                ++m_begin;
                continue;
            }
            if (m_data[m_begin] == '\n')
                ++m_begin;
            m_inLineEnd = false;
            settled = true;
        }
        return m_base + m_begin;
    }

    // Where the last line was cut short before its line end, if it was.
    const std::string& CutShort() const { return m_cutShort; }

    // Hands the damage found over to the clerk's reports, as SeqReader does, with the
    // version of the file read to its end.
    void ReportDamage(const std::vector<std::string>& damage) const {
        if (damage.empty())
            return;
        struct stat st;
        const long long changed = m_fd < 0 ? -1 // the step's own version
                                  : ::fstat(m_fd, &st) == 0
                                      ? st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec
                                      : 0;
        platform::NoteSeqFileDamage(m_file, m_base + m_end, changed, damage);
    }

private:
    static constexpr size_t kPiece = 256 * 1024;
    // Mapped pages left behind are handed back this many bytes at a time.
    static constexpr size_t kGiveBack = 1024 * 1024;

    // The first CR or LF from m_begin on, m_end when none is in view; whether the line up to
    // it (and it) holds no flaw, and whether it holds a "#" outside its texts.
    size_t NextLineEnd(bool& flawless, bool& hashes) const {
        uint64_t flaws = 0, hashBits = 0;
        uint64_t in = ~uint64_t{0} << (m_begin % 64);
        size_t end = m_end;
        for (size_t w = m_begin / 64; w < m_classes.size(); ++w, in = ~uint64_t{0}) {
            const HistoryWordClasses& word = m_classes[w];
            const uint64_t ends = word.ends & in;
            if (ends != 0) {
                const uint64_t first = ends & (0 - ends);
                in &= first | (first - 1);
                end = std::min(m_end, (w << 6) + static_cast<size_t>(std::countr_zero(ends)));
            }
            flaws |= word.flaws & in;
            hashBits |= word.hashes & in;
            if (ends != 0)
                break;
        }
        flawless = flaws == 0;
        hashes = hashBits != 0;
        return end;
    }

    // The commas between items before byte `at` in view.
    size_t CommasBefore(size_t at) const {
        const HistoryWordClasses& word = m_classes[at / 64];
        return static_cast<size_t>(word.commasBefore) +
               static_cast<size_t>(CountBits(word.commas & ((uint64_t{1} << (at % 64)) - 1)));
    }

    // Brings the next piece into view after what is kept; false at the end of the file.
    bool Fill() {
        if (m_atEnd)
            return false;
        size_t keep = m_begin;
        if (m_pin)
            keep = std::min<size_t>(keep, static_cast<size_t>(*m_pin - m_base));
        if (keep > 0) {
            if (m_map == nullptr)
                std::memmove(m_buffer.data(), m_buffer.data() + keep, m_end - keep);
            else
                m_data += keep;
            m_base += keep;
            m_begin -= keep;
            m_end -= keep;
        }
        const bool more = m_map != nullptr ? MapMore() : ReadMore();
        if (more || keep > 0)
            ClassifyHistoryBytes(std::string_view(m_data, m_end), m_classes);
        m_atEnd = !more;
        return more;
    }

    // The next piece of the mapped file, at least as long as what is in view so that a
    // long line is looked at a few times only.
    bool MapMore() {
        const uint64_t viewed = m_base + m_end;
        if (viewed >= m_mapSize)
            return false;
        const size_t more =
            static_cast<size_t>(std::min<uint64_t>(m_mapSize - viewed, std::max(kPiece, m_end)));
        const uint64_t page = PageSize();
        // The pages behind the view go back (the system keeps them cached); the next ones
        // are mapped in one go rather than a fault at a time.
        const uint64_t behind = m_base / page * page;
        if (behind >= m_givenBack + kGiveBack) {
            ::madvise(m_map + m_givenBack, behind - m_givenBack, MADV_DONTNEED);
            m_givenBack = behind;
        }
        const uint64_t from = viewed / page * page;
        ::madvise(m_map + from, viewed + more - from, kPopulateRead);
        m_data = m_map + m_base;
        m_end += more;
        return true;
    }

    // The next piece read from the disk, or as the step sees it.
    bool ReadMore() {
        if (m_buffer.size() < kPiece)
            m_buffer.resize(kPiece);
        if (m_buffer.size() - m_end < kPiece / 2)
            m_buffer.resize(m_buffer.size() * 2); // a line longer than a piece
        m_data = m_buffer.data();
        for (;;) {
            const ssize_t got = ReadPiece(m_buffer.size() - m_end);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                throw platform::IoError(m_file, std::strerror(errno));
            m_end += static_cast<size_t>(got);
            return got > 0;
        }
    }

    // Reads at most `most` bytes to the end of the buffer: from the disk, or as the step sees it.
    ssize_t ReadPiece(size_t most) {
        if (m_fd >= 0) {
            const ssize_t got = ::pread(m_fd, m_buffer.data() + m_end, most, static_cast<off_t>(m_readAt));
            if (got > 0)
                m_readAt += static_cast<uint64_t>(got);
            return got;
        }
        const std::string piece = platform::ReadFileAt(m_file, m_stepRead, most);
        std::memcpy(m_buffer.data() + m_end, piece.data(), piece.size());
        m_stepRead += static_cast<long long>(piece.size());
        return static_cast<ssize_t>(piece.size());
    }

    // Maps the pages of a range in one go (Linux 5.14 on; older systems fault them in).
#ifdef MADV_POPULATE_READ
    static constexpr int kPopulateRead = MADV_POPULATE_READ;
#else
    static constexpr int kPopulateRead = 22;
#endif

    static uint64_t PageSize() {
        static const uint64_t page = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
        return page;
    }

    platform::FilePath m_file;
    int m_fd = -1;            // -1: the step changed the file
    long long m_stepRead = 0; // the bytes of it read so far
    uint64_t m_readAt = 0;    // where the next read from the disk starts
    char* m_map = nullptr;    // the whole file, when mapped
    size_t m_mapSize = 0;
    uint64_t m_givenBack = 0;     // the mapped pages before this place are handed back
    std::string m_buffer;         // the bytes read, when not mapped
    const char* m_data = nullptr; // the bytes in view: of the map or the buffer
    HistoryByteClasses m_classes; // of the bytes in view
    uint64_t m_base = 0;          // the place of the first byte in view
    size_t m_begin = 0;           // the next byte to look at
    size_t m_end = 0;             // the end of the bytes in view
    bool m_atEnd = false;
    bool m_inLineEnd = false;
    size_t m_lineNumber = 0;
    std::optional<uint64_t> m_pin;
    // The last line read: its place, whether it is in the written form and holds a "#".
    uint64_t m_lastPlace = ~uint64_t{0};
    bool m_lastFlawless = false;
    bool m_lastHashes = false;
    std::string m_cutShort;
};

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

// One line of the entry being read.
struct EntryLine {
    uint64_t place = 0;
    size_t length = 0;
};

// The entry from its three lines, into `e`: every item is set, and text items take the
// room their field already has.
void DecodeEntry(const HistoryStream& stream, const EntryLine (&lines)[3], Literals& literals,
                 HistoryEntry& e) {
    RawItem items[3][kMostItems];
    std::string_view texts[3];
    LineItems reading;
    std::string why;
    for (size_t line = 0; line < 3; ++line) {
        texts[line] = std::string_view(stream.At(lines[line].place), lines[line].length);
        stream.ReadItems(lines[line].place, lines[line].length, reading, why); // read before, and sound
        reading.Items(items[line]);
    }
    auto raw = [&](size_t line, size_t i) {
        return texts[line].substr(items[line][i].offset, items[line][i].length);
    };
    auto text = [&](std::string& field, size_t line, size_t i) {
        const std::string_view r = raw(line, i);
        if (MayBeLiteral(r, items[line][i]))
            field = literals.Text(r);
        else if (field.size() == r.size()) // a field of its usual width: copied in place
            std::copy(r.begin(), r.end(), field.begin());
        else
            field.assign(r);
    };
    auto number = [&](size_t line, size_t i) { return static_cast<float>(NumberOf(raw(line, i))); };
    text(e.LastName, 0, 0);
    text(e.FirstName, 0, 1);
    text(e.Company, 0, 2);
    text(e.Street, 0, 3);
    text(e.City, 0, 4);
    text(e.State, 0, 5);
    text(e.Zip, 0, 6);
    text(e.Phone, 0, 7);
    text(e.RegCard, 0, 8);
    text(e.Clerk, 0, 9);
    text(e.Room, 0, 10);
    e.Adults = number(0, 11);
    e.Children = number(0, 12);
    e.Nights = number(1, 0);
    e.TaxExempt = number(1, 1);
    text(e.PayCode, 1, 2);
    text(e.CheckInTime, 1, 3);
    text(e.ArrivalDate, 1, 4);
    text(e.CheckOutTime, 1, 5);
    e.CheckOutDateLiteral.reset();
    if (MayBeLiteral(raw(1, 6), items[1][6])) {
        const platform::SeqItem& date = literals.Item(raw(1, 6));
        if (date.kind == platform::SeqItem::Kind::Date)
            e.CheckOutDateLiteral = date.date;
    }
    text(e.CheckOutDate, 1, 6);
    e.Rate = number(1, 7);
    e.SpareAmount = number(1, 8);
    text(e.CardNumber, 2, 0);
    text(e.CardExpiry, 2, 1);
    text(e.DBNumber, 2, 2);
    text(e.FolioNumber, 2, 3);
    text(e.Comment, 2, 4);
    text(e.ReservedOn, 2, 5);
    text(e.SpareText, 2, 6);
    text(e.CardDeposit, 2, 7);
    text(e.ConfirmationNumber, 2, 8);
    text(e.CashDeposit, 2, 9);
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

// ---- one pass over the history ----

// The items an index record keeps: the HistoryKey items, in their order.
constexpr size_t kIndexKeys = 6;
constexpr size_t kCheckOutKey = static_cast<size_t>(HistoryKey::CheckOutDate);
constexpr size_t kDbNumberKey = static_cast<size_t>(HistoryKey::DBNumber);

// An entry as a pass over the file finds it: its lines, the texts of its keys as a search
// is given them, its check-out date literal, and the bytes it spans.
struct ScannedEntry {
    EntryLine lines[3];
    std::array<std::string, kIndexKeys> keys;
    std::optional<platform::Date> day;
    uint64_t start = 0;   // where its first line starts
    uint64_t end = 0;     // after the line end of its last line
    size_t lastLine = 0;  // the number of its last line
    bool settled = false; // no byte appended could change where it ends
};

// The damage a pass notes, as it words it.
enum class Damage : uint8_t { Unreadable, EntryCutShort, OutOfPlace, TypeMismatch };
const char* const kUnreadableWhy[] = {"unreadable bytes", "a text without its closing quote",
                                      "characters after a closing quote"};

struct DamageFound {
    Damage what;
    uint8_t why = 0; // Unreadable: which of kUnreadableWhy
    uint64_t a = 0;  // the line (the first line of an entry cut short)
    uint64_t b = 0;  // the entry's last line, or the count of items
    std::string Text() const {
        switch (what) {
        case Damage::Unreadable:
            return "line " + std::to_string(a) + ": " + kUnreadableWhy[why] + ", skipped";
        case Damage::EntryCutShort:
            return "lines " + std::to_string(a) + " to " + std::to_string(b) +
                   ": an entry cut short, skipped";
        case Damage::OutOfPlace:
            return "line " + std::to_string(a) + ": " + std::to_string(b) +
                   " items, out of place in an entry, skipped";
        case Damage::TypeMismatch:
            return "line " + std::to_string(a) + ": Type mismatch, skipped";
        }
        return {};
    }
};

// Reads the lines of a stream into entries, as the file layer's reader would: a line that
// cannot be read is skipped, a line that does not fit where it stands drops the entry begun
// before it, and a line that fits as a first line starts the next entry, so one bad line
// costs one entry. Each entry and each damage is handed on as it is found, in file order.
class HistoryScanner {
public:
    using EntryFound = std::function<void(const ScannedEntry&)>;
    using DamageSeen = std::function<void(const DamageFound&)>;
    HistoryScanner(HistoryStream& stream, Literals& literals, EntryFound entry, DamageSeen damage)
        : m_stream(stream), m_literals(literals), m_found(std::move(entry)), m_damage(std::move(damage)) {}

    // The entries' keys are left out (they are read from the entries whole instead).
    void LeaveKeys() { m_keys = false; }

    void Run() {
        std::string_view text;
        size_t number = 0;
        uint64_t place = 0;
        while (m_stream.NextLine(text, number, place))
            TakeLine(text, number, place);
        DropEntry(m_lastLine);
    }

private:
    void TakeLine(std::string_view text, size_t number, uint64_t place) {
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
        m_entry.lines[m_line] = {place, text.size()};
        if (++m_line == 3)
            FinishEntry(number);
    }

    // The keys on the line being read.
    void KeepKeys(std::string_view text) {
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

    void FinishEntry(size_t number) {
        m_entry.end = m_stream.TakeLineEnd(m_entry.settled);
        m_entry.lastLine = number;
        m_found(m_entry);
        m_line = 0;
        m_stream.Unpin();
    }

    void DropEntry(size_t last) {
        if (m_line != 0)
            m_damage({Damage::EntryCutShort, 0, m_firstLine, last});
        m_line = 0;
        m_stream.Unpin();
    }

    HistoryStream& m_stream;
    Literals& m_literals;
    EntryFound m_found;
    DamageSeen m_damage;
    LineItems m_items;
    std::string m_why;
    ScannedEntry m_entry;
    size_t m_line = 0;      // the line of the entry expected next
    size_t m_firstLine = 0; // where the entry being read began
    size_t m_lastLine = 0;
    bool m_keys = true;
};

// ---- the key index, "history/history.keys" ----
//
// A header, then one record per readable entry of the history and per damage found in it,
// in file order, each kIndexRecord bytes, numbers little-endian:
//   entry:  0 'E', 1 the keys too long for their room (bit k for key k), 2 kinds (bit 0: the
//           check-out date is a date literal, bit 1: neither that nor an account code),
//           4 its place in the history (8), 12 its length (4), 16 the literal's day (4),
//           20 the keys in HistoryKey order, each its length (1) and its text (kKeyWidth)
//   damage: 0 'D', 3 what (Damage), 4 why, 8 the line (8), 16 the other number (8)
// The header: "VHKEYS01", the history bytes covered (8), the lines they hold (8), the
// records (8), the entries among them (8), a hash of the last covered bytes (8), the
// damage records (8), 56 kinds (4: bit 0 the literal days never went back and every entry
// has one or an account code, bit 1 a day was seen), 60 the last day (4), 64 the first (4).
constexpr size_t kIndexRecord = 80;
constexpr std::string_view kIndexMagic = "VHKEYS01";
constexpr size_t kKeyWidth[kIndexKeys] = {15, 6, 10, 10, 5, 8};
constexpr size_t kKeysAt = 20;
constexpr uint8_t kLiteralDay = 1, kIrregular = 2;
// Bytes at the end of the covered part whose hash the header keeps.
constexpr uint64_t kTailChecked = 64 * 1024;

constexpr size_t KeyAt(size_t k) {
    size_t at = kKeysAt;
    for (size_t i = 0; i < k; ++i)
        at += 1 + kKeyWidth[i];
    return at;
}
static_assert(KeyAt(kIndexKeys) <= kIndexRecord);

void PutNumber(std::string& bytes, size_t at, uint64_t value, size_t width) {
    for (size_t i = 0; i < width; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xff);
}
uint64_t NumberAt(std::string_view bytes, size_t at, size_t width) {
    uint64_t value = 0;
    for (size_t i = width; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

uint64_t HashOf(std::string_view bytes) {
    uint64_t hash = 1469598103934665603ULL;
    for (unsigned char c : bytes)
        hash = (hash ^ c) * 1099511628211ULL;
    return hash;
}

bool Charged(std::string_view dbNumber) {
    const std::string code = platform::Trim(dbNumber);
    return !code.empty() && code != "none";
}

std::string EntryRecord(const ScannedEntry& e) {
    std::string r(kIndexRecord, '\0');
    r[0] = 'E';
    uint8_t kinds = e.day ? kLiteralDay : 0;
    if (!e.day && !Charged(e.keys[kDbNumberKey]))
        kinds |= kIrregular;
    r[2] = static_cast<char>(kinds);
    PutNumber(r, 4, e.start, 8);
    PutNumber(r, 12, e.end - e.start, 4);
    PutNumber(r, 16, e.day ? static_cast<uint64_t>(platform::DaysFromCivil(*e.day)) : 0, 4);
    uint8_t tooLong = 0;
    for (size_t k = 0; k < kIndexKeys; ++k) {
        if (e.keys[k].size() > kKeyWidth[k]) {
            tooLong |= static_cast<uint8_t>(1u << k);
            continue;
        }
        r[KeyAt(k)] = static_cast<char>(e.keys[k].size());
        r.replace(KeyAt(k) + 1, e.keys[k].size(), e.keys[k]);
    }
    r[1] = static_cast<char>(tooLong);
    return r;
}

std::string DamageRecord(const DamageFound& d) {
    std::string r(kIndexRecord, '\0');
    r[0] = 'D';
    r[3] = static_cast<char>(d.what);
    r[4] = static_cast<char>(d.why);
    PutNumber(r, 8, d.a, 8);
    PutNumber(r, 16, d.b, 8);
    return r;
}

// One record of the index, as it lies.
struct IndexRecord {
    std::string_view bytes;
    bool IsEntry() const { return bytes[0] == 'E'; }
    uint64_t Offset() const { return NumberAt(bytes, 4, 8); }
    uint64_t Length() const { return NumberAt(bytes, 12, 4); }
    uint8_t Kinds() const { return static_cast<uint8_t>(bytes[2]); }
    long Day() const { return static_cast<long>(static_cast<int32_t>(NumberAt(bytes, 16, 4))); }
    // The key's text; nullopt when it is too long for the record.
    std::optional<std::string_view> Key(size_t k) const {
        if ((static_cast<uint8_t>(bytes[1]) >> k & 1) != 0)
            return std::nullopt;
        return bytes.substr(KeyAt(k) + 1, static_cast<unsigned char>(bytes[KeyAt(k)]));
    }
    DamageFound Noted() const {
        return {static_cast<Damage>(bytes[3]), static_cast<uint8_t>(bytes[4]), NumberAt(bytes, 8, 8),
                NumberAt(bytes, 16, 8)};
    }
};

struct IndexHeader {
    uint64_t covered = 0, lines = 0, records = 0, entries = 0, tailHash = 0, damaged = 0;
    bool ordered = true; // the literal days never went back, and no entry lacks both
    bool days = false;   // a literal day was seen
    long lastDay = 0, firstDay = 0;

    void Add(const IndexRecord& r) {
        ++records;
        if (!r.IsEntry()) {
            ++damaged;
            return;
        }
        ++entries;
        if ((r.Kinds() & kIrregular) != 0)
            ordered = false;
        if ((r.Kinds() & kLiteralDay) == 0)
            return;
        if (days && r.Day() < lastDay)
            ordered = false;
        if (!days)
            firstDay = r.Day();
        days = true;
        lastDay = r.Day();
    }

    std::string Encode() const {
        std::string h(kIndexRecord, '\0');
        h.replace(0, kIndexMagic.size(), kIndexMagic);
        size_t at = 8;
        for (uint64_t n : {covered, lines, records, entries, tailHash, damaged}) {
            PutNumber(h, at, n, 8);
            at += 8;
        }
        PutNumber(h, 56, (ordered ? 1u : 0u) | (days ? 2u : 0u), 4);
        PutNumber(h, 60, static_cast<uint64_t>(lastDay), 4);
        PutNumber(h, 64, static_cast<uint64_t>(firstDay), 4);
        return h;
    }

    static std::optional<IndexHeader> Decode(std::string_view h) {
        if (h.size() != kIndexRecord || h.substr(0, kIndexMagic.size()) != kIndexMagic)
            return std::nullopt;
        IndexHeader header;
        size_t at = 8;
        for (uint64_t* n : {&header.covered, &header.lines, &header.records, &header.entries,
                            &header.tailHash, &header.damaged}) {
            *n = NumberAt(h, at, 8);
            at += 8;
        }
        const uint64_t kinds = NumberAt(h, 56, 4);
        header.ordered = (kinds & 1) != 0;
        header.days = (kinds & 2) != 0;
        header.lastDay = static_cast<int32_t>(NumberAt(h, 60, 4));
        header.firstDay = static_cast<int32_t>(NumberAt(h, 64, 4));
        return header;
    }
};

// ---- the index as a search uses it ----

// The index names bytes that are not the entry it says: it is made anew.
struct StaleIndex {};

// The file's time of change in nanoseconds; -1 when missing or changed by the running step.
long long ChangeTime(const platform::FilePath& file) {
    struct stat st;
    if (platform::ChangedByStep(file) || ::stat(file.c_str(), &st) != 0)
        return -1;
    return st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
}

// The hash of the last bytes of the first `covered` bytes of the history as it is now.
uint64_t TailHash(const platform::FilePath& history, uint64_t covered) {
    const uint64_t n = std::min(covered, kTailChecked);
    return HashOf(platform::ReadFileAt(history, static_cast<long long>(covered - n), n));
}

// The header of an index that covers the first part of the history as it is now (of
// `size` bytes); nullopt for a missing or damaged index, one ahead of the history, one of
// another history (its covered part's end differs), or one the history was changed after
// behind the program's back (written to later than the index, by more than a clock's step).
std::optional<IndexHeader> TrustedIndex(const platform::FilePath& history, const platform::FilePath& keys,
                                        long long size) {
    constexpr long long kTimeSlack = 2'000'000'000LL;
    const long long keysSize = platform::FileSize(keys);
    if (keysSize < static_cast<long long>(kIndexRecord))
        return std::nullopt;
    std::optional<IndexHeader> header = IndexHeader::Decode(platform::ReadFileAt(keys, 0, kIndexRecord));
    if (!header || header->covered > static_cast<uint64_t>(size) ||
        static_cast<uint64_t>(keysSize) != (header->records + 1) * kIndexRecord)
        return std::nullopt;
    const long long historyTime = ChangeTime(history), keysTime = ChangeTime(keys);
    if (historyTime >= 0 && keysTime >= 0 && historyTime > keysTime + kTimeSlack)
        return std::nullopt;
    if (TailHash(history, header->covered) != header->tailHash)
        return std::nullopt;
    return header;
}

// What a pass over the history after the part the index covers adds to it.
struct CaughtUp {
    std::string records;    // every record the pass gave, in order
    IndexHeader whole;      // the index with all of them
    IndexHeader kept;       // with those up to the last entry that ends for good
    size_t keptRecords = 0; // how many of `records` that is
};

CaughtUp CatchUp(HistoryStream& stream, Literals& literals, const IndexHeader& from) {
    CaughtUp up{{}, from, from, 0};
    const auto add = [&](const std::string& record) {
        up.whole.Add(IndexRecord{record});
        up.records += record;
    };
    HistoryScanner scanner(
        stream, literals,
        [&](const ScannedEntry& e) {
            add(EntryRecord(e));
            if (!e.settled)
                return;
            up.kept = up.whole;
            up.kept.covered = e.end;
            up.kept.lines = e.lastLine;
            up.keptRecords = up.records.size() / kIndexRecord;
        },
        [&](const DamageFound& d) { add(DamageRecord(d)); });
    scanner.Run();
    return up;
}

// Writes the header and the records added after the first `fileRecords`; `whole`: the file
// is written anew with them alone.
void WriteIndex(const platform::FilePath& keys, const IndexHeader& header, std::string_view added,
                uint64_t fileRecords, bool whole) {
    if (whole) {
        platform::ReplaceFileContent(keys, header.Encode() + std::string(added));
        return;
    }
    const platform::RandomFile file(keys, static_cast<int>(kIndexRecord));
    if (!added.empty())
        file.Put(static_cast<long>(fileRecords) + 2, added);
    file.Put(1, header.Encode());
}

// Runs the change as a step of its own through the folder's engine (a step already running
// is left alone). A folder that takes no change keeps the index in memory only.
void KeepIndex(const DataFolder& folder, const std::function<void()>& change) {
    platform::Engine* engine = folder.engine();
    try {
        if (engine == nullptr)
            change();
        else if (platform::RunningStep(*engine) == nullptr)
            platform::RunAsStep(*engine, "Bringing the index of the history up to date", change);
    } catch (const platform::IoError&) {
        // looked at only, or the disk failed: nothing was changed, and the search goes on
    }
}

// The bytes of the entries an index names, where they lie: the file mapped once for a
// search, the pages looked at handed back as it goes on; or as the running step sees it.
class EntryBytes {
public:
    explicit EntryBytes(const platform::FilePath& history) : m_file(history) {
        if (platform::ChangedByStep(m_file))
            return;
        m_fd = ::open(m_file.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st;
        if (m_fd < 0 || ::fstat(m_fd, &st) != 0 || st.st_size <= 0)
            return;
        void* map = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_SHARED, m_fd, 0);
        if (map == MAP_FAILED)
            return;
        m_map = static_cast<char*>(map);
        m_size = static_cast<uint64_t>(st.st_size);
    }
    ~EntryBytes() {
        if (m_map != nullptr)
            ::munmap(m_map, m_size);
        if (m_fd >= 0)
            ::close(m_fd);
    }
    EntryBytes(const EntryBytes&) = delete;
    EntryBytes& operator=(const EntryBytes&) = delete;

    // The `length` bytes at `offset`; nullopt when the file is shorter.
    std::optional<std::string_view> At(uint64_t offset, uint64_t length) {
        if (m_map == nullptr) {
            m_read = platform::ReadFileAt(m_file, static_cast<long long>(offset), length);
            if (m_read.size() != length)
                return std::nullopt;
            return std::string_view(m_read);
        }
        if (offset + length > m_size)
            return std::nullopt;
        // The pages looked at since they were last handed back lie between m_low and m_high
        // (and a few around them, mapped with the pages looked at): all go back together.
        m_low = std::min(m_low, offset);
        m_high = std::max(m_high, offset + length);
        if (m_high - m_low > kGiveBack) {
            ::madvise(m_map, m_size, MADV_DONTNEED);
            m_low = offset;
            m_high = offset + length;
        }
        return std::string_view(m_map + offset, length);
    }

private:
    static constexpr uint64_t kGiveBack = 1024 * 1024;
    platform::FilePath m_file;
    int m_fd = -1;
    char* m_map = nullptr;
    uint64_t m_size = 0;
    uint64_t m_low = UINT64_MAX;
    uint64_t m_high = 0;
    std::string m_read;
};

// Whether the entry read whole has the keys and the check-out day its record says.
bool SameKeys(const IndexRecord& record, const HistoryEntry& entry);

// The history and its key index as one search sees them: the index caught up with the end of
// the history (and written back when the folder takes changes), its records in file order.
class IndexedHistory {
public:
    // `anew`: the index on the disk is not trusted, but made again.
    IndexedHistory(const DataFolder& folder, bool anew)
        : m_history(HistoryFile(folder)), m_keys(HistoryKeysFile(folder)), m_bytes(m_history) {
        const long long size = platform::FileSize(m_history);
        const std::optional<IndexHeader> trusted =
            anew ? std::nullopt : TrustedIndex(m_history, m_keys, size);
        const IndexHeader base = trusted.value_or(IndexHeader{});
        m_fileRecords = trusted ? base.records : 0;
        m_fileDamaged = base.damaged > 0;
        m_stream.emplace(m_history, base.covered, base.lines);
        CaughtUp up = CatchUp(*m_stream, m_literals, base);
        m_whole = up.whole;
        if (!trusted || up.keptRecords > 0) {
            up.kept.tailHash = TailHash(m_history, up.kept.covered);
            const std::string_view added(up.records.data(), up.keptRecords * kIndexRecord);
            KeepIndex(folder, [&] { WriteIndex(m_keys, up.kept, added, m_fileRecords, !trusted); });
        }
        m_tail = std::move(up.records);
        m_keyBytes.emplace(m_keys);
    }

    const IndexHeader& whole() const { return m_whole; }

    // f(record) for every record from the first on, or from the last back, until f says no more.
    void Forward(const std::function<bool(const IndexRecord&)>& f, bool fileOnly = false) const {
        constexpr uint64_t kChunk = 8192;
        for (uint64_t at = 0; at < m_fileRecords; at += kChunk) {
            const std::string_view chunk = FileRecords(at, std::min(kChunk, m_fileRecords - at));
            for (size_t i = 0; i < chunk.size(); i += kIndexRecord)
                if (!f(IndexRecord{chunk.substr(i, kIndexRecord)}))
                    return;
        }
        for (size_t i = 0; !fileOnly && i < m_tail.size(); i += kIndexRecord)
            if (!f(IndexRecord{std::string_view(m_tail).substr(i, kIndexRecord)}))
                return;
    }
    void Backward(const std::function<bool(const IndexRecord&)>& f) const {
        for (size_t i = m_tail.size(); i > 0; i -= kIndexRecord)
            if (!f(IndexRecord{std::string_view(m_tail).substr(i - kIndexRecord, kIndexRecord)}))
                return;
        constexpr uint64_t kChunk = 1024;
        for (uint64_t end = m_fileRecords; end > 0;) {
            const uint64_t at = end > kChunk ? end - kChunk : 0;
            const std::string_view chunk = FileRecords(at, end - at);
            for (size_t i = chunk.size(); i > 0; i -= kIndexRecord)
                if (!f(IndexRecord{chunk.substr(i - kIndexRecord, kIndexRecord)}))
                    return;
            end = at;
        }
    }

    // The entry the record names, read whole into `entry`; StaleIndex when the bytes there
    // are not that entry.
    void Read(const IndexRecord& record, HistoryEntry& entry) {
        const std::optional<std::string_view> bytes = m_bytes.At(record.Offset(), record.Length());
        if (!bytes)
            throw StaleIndex{};
        if (!m_entryScanner) {
            m_entryStream.emplace(std::string_view(), 0);
            m_entryScanner.emplace(
                *m_entryStream, m_literals,
                [this](const ScannedEntry& e) {
                    if (++m_entriesRead == 1 && e.start == m_reading.Offset() &&
                        e.end - e.start == m_reading.Length())
                        DecodeEntry(*m_entryStream, e.lines, m_literals, *m_readInto);
                    else
                        m_entriesRead = 2;
                },
                [](const DamageFound&) {});
            m_entryScanner->LeaveKeys();
        }
        m_entryStream->Reset(*bytes, record.Offset());
        m_reading = record;
        m_readInto = &entry;
        m_entriesRead = 0;
        m_entryScanner->Run();
        if (m_entriesRead != 1 || !SameKeys(record, entry))
            throw StaleIndex{};
    }

    // Hands the damage found over to the clerk, as a whole pass over the file does: the lines
    // that could not be read, a last line cut short, then the rest.
    void ReportDamage() const {
        std::vector<std::string> unreadable, other;
        const auto take = [&](const IndexRecord& r) {
            if (!r.IsEntry())
                (r.Noted().what == Damage::Unreadable ? unreadable : other).push_back(r.Noted().Text());
            return true;
        };
        if (m_fileDamaged)
            Forward(take, true);
        for (size_t i = 0; i < m_tail.size(); i += kIndexRecord)
            take(IndexRecord{std::string_view(m_tail).substr(i, kIndexRecord)});
        if (!m_stream->CutShort().empty())
            unreadable.push_back(m_stream->CutShort());
        unreadable.insert(unreadable.end(), other.begin(), other.end());
        m_stream->ReportDamage(unreadable);
    }

private:
    std::string_view FileRecords(uint64_t first, uint64_t count) const {
        const std::optional<std::string_view> records =
            m_keyBytes->At((first + 1) * kIndexRecord, count * kIndexRecord);
        if (!records)
            throw StaleIndex{};
        return *records;
    }

    platform::FilePath m_history;
    platform::FilePath m_keys;
    EntryBytes m_bytes;
    Literals m_literals;
    std::optional<HistoryStream> m_stream; // the part after the index, read to the end
    uint64_t m_fileRecords = 0;            // the records of the index file used
    bool m_fileDamaged = false;
    std::string m_tail; // the records of the part after them
    IndexHeader m_whole;
    mutable std::optional<EntryBytes> m_keyBytes; // the index file's records
    // Reading one entry whole.
    std::optional<HistoryStream> m_entryStream;
    std::optional<HistoryScanner> m_entryScanner;
    IndexRecord m_reading;
    HistoryEntry* m_readInto = nullptr;
    size_t m_entriesRead = 0;
};

const std::string& FieldOf(const HistoryEntry& e, HistoryKey key) {
    switch (key) {
    case HistoryKey::LastName:
        return e.LastName;
    case HistoryKey::RegCard:
        return e.RegCard;
    case HistoryKey::ArrivalDate:
        return e.ArrivalDate;
    case HistoryKey::CheckOutDate:
        return e.CheckOutDate;
    case HistoryKey::FolioNumber:
        return e.FolioNumber;
    case HistoryKey::DBNumber:
        return e.DBNumber;
    }
    return e.LastName;
}

bool SameKeys(const IndexRecord& record, const HistoryEntry& entry) {
    for (size_t k = 0; k < kIndexKeys; ++k) {
        const std::optional<std::string_view> key = record.Key(k);
        if (key && *key != FieldOf(entry, static_cast<HistoryKey>(k)))
            return false;
    }
    const bool literal = (record.Kinds() & kLiteralDay) != 0;
    return literal == entry.CheckOutDateLiteral.has_value() &&
           (!literal || record.Day() == platform::DaysFromCivil(*entry.CheckOutDateLiteral));
}

// Which keys accept the record's entry (bit k for keys[k]), each asked once; `read`: whether
// the entry was read whole into `entry` already (a key too long for the record is read
// from the entry).
unsigned Accepted(IndexedHistory& history, const IndexRecord& record,
                  const std::vector<HistoryKeyWanted>& keys, HistoryEntry& entry, bool& read) {
    unsigned accepted = 0;
    for (size_t k = 0; k < keys.size(); ++k) {
        std::optional<std::string_view> text = record.Key(static_cast<size_t>(keys[k].key));
        if (!text) {
            if (!read)
                history.Read(record, entry);
            read = true;
            text = FieldOf(entry, keys[k].key);
        }
        if (keys[k].wanted(*text))
            accepted |= 1u << k;
    }
    return accepted;
}

// Runs the search over the history and its index; an index found to name wrong bytes is
// made anew and the search run again.
void WithIndex(const DataFolder& folder, const std::function<void(IndexedHistory&)>& search) {
    for (bool anew : {false, true}) {
        try {
            IndexedHistory history(folder, anew);
            search(history);
            return;
        } catch (const StaleIndex&) {
            if (anew)
                throw platform::IoError(HistoryFile(folder), "The history changed while it was read");
        }
    }
}

// The day of the date text `text` when a walk back through the history may end at an entry
// whose check-out date literal is before it: the literal days never went back, each entry
// has one or an account code, and all of them lie within a hundred years of it, so that no
// older entry's date reads as `text`. nullopt when the walk must go to the first entry.
std::optional<long> DayFloor(const IndexHeader& whole, std::string_view text) {
    if (!whole.ordered || !whole.days)
        return std::nullopt;
    const std::string wanted = platform::Trim(text);
    const std::optional<platform::Date> day =
        platform::ParseDate(wanted, platform::CivilFromDays(whole.lastDay).year);
    if (!day || platform::DateText(*day) != wanted)
        return std::nullopt;
    const long floor = platform::DaysFromCivil(*day);
    constexpr long kNearlyACentury = 36000;
    if (whole.firstDay <= floor - kNearlyACentury)
        return std::nullopt;
    return floor;
}

} // namespace

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

namespace {

// Adds the entry appended after the first `before` bytes of the history to its index, which
// covered those bytes (`index`), in the step that appended it. An append that does not read
// back as one whole entry (never made by the program) leaves the index behind: the next
// search catches it up.
void IndexAppended(const DataFolder& folder, const IndexHeader& index, long long before) {
    const platform::FilePath history = HistoryFile(folder);
    const long long after = platform::FileSize(history);
    const std::string bytes =
        platform::ReadFileAt(history, before, static_cast<size_t>(std::max(after - before, 0LL)));
    HistoryStream stream(bytes, static_cast<uint64_t>(before), index.lines);
    Literals literals;
    CaughtUp up = CatchUp(stream, literals, index);
    if (up.keptRecords != 1 || up.records.size() != kIndexRecord ||
        up.kept.covered != static_cast<uint64_t>(after))
        return;
    up.kept.tailHash = TailHash(history, up.kept.covered);
    WriteIndex(HistoryKeysFile(folder), up.kept, up.records, index.records, before == 0);
}

} // namespace

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

} // namespace

RecordFile<DirectBillAccount> AccountsFile(const DataFolder& folder) {
    return RecordFile<DirectBillAccount>(DbMemberFile(folder));
}

DirectBillAccount DirectBillAccount::Decode(std::string_view bytes) {
    const std::string image = fields::Padded(bytes, kLength);
    const RecordBuffer buffer(image);
    DirectBillAccount account;
    for (const TextField& f : kAccountText)
        account.*f.member = fields::Text(buffer, f.offset, f.width);
    account.Balance = buffer.Single(kBalanceOffset);
    account.SpareAmount = image.substr(kSpareAmountOffset, 4);
    return account;
}

std::string DirectBillAccount::Encode() const {
    RecordBuffer buffer(kLength);
    for (const TextField& f : kAccountText)
        buffer.SetText(f.offset, f.width, this->*f.member);
    buffer.SetSingle(kBalanceOffset, Balance);
    std::string image = buffer.bytes();
    image.replace(kSpareAmountOffset, 4, fields::Padded(SpareAmount, 4));
    return image;
}

bool DirectBillAccount::IsDeleted() const {
    return platform::RTrim(CompanyName).empty();
}

DirectBillAccount ReadAccount(const DataFolder& folder, long n) {
    return AccountsFile(folder).Read(n);
}

void WriteAccount(const DataFolder& folder, long n, const DirectBillAccount& account) {
    // A field the write does not change keeps its stored bytes (zero bytes stay zero).
    AccountsFile(folder).WriteKeepingText(n, account, kAccountText);
}

long AppendAccount(const DataFolder& folder, const DirectBillAccount& account) {
    return AccountsFile(folder).Append(account);
}

long AccountCount(const DataFolder& folder) {
    return AccountsFile(folder).Count();
}

std::vector<DirectBillAccount> ReadAllAccounts(const DataFolder& folder) {
    return AccountsFile(folder).ReadAll();
}

std::optional<long> FindAccount(const DataFolder& folder, std::string_view key) {
    return AccountsFile(folder).Find(
        [&](const DirectBillAccount& account) { return platform::RTrim(account.DBNumber) == key; });
}

std::string ChargingKey(std::string_view dbNumber) {
    return platform::CStr(static_cast<long>(platform::Round(platform::Val(dbNumber))));
}

std::optional<long> ChargeAccount(const DataFolder& folder, std::string_view key,
                                  const platform::Decimal& amount) {
    const std::optional<long> n = FindAccount(folder, key);
    if (!n)
        return std::nullopt;
    DirectBillAccount account = ReadAccount(folder, *n);
    account.Balance = platform::AddStoredAmount(
        account.Balance, amount, "The balance of direct bill account " + platform::Trim(account.DBNumber));
    WriteAccount(folder, *n, account);
    return n;
}

SeqLine DbDailyLine::ToSeqLine() const {
    SeqLine line;
    line.Text(Room).Text(Shift).Text(PostDate).Text(Account).Number(Amount);
    return line;
}

std::string DbDailyAccountText(const DirectBillAccount& account) {
    return platform::Trim(account.DBNumber) + " " + platform::Trim(account.CompanyName);
}

void AppendDbDailyLine(const DataFolder& folder, std::string_view dateText, const DbDailyLine& line) {
    platform::AppendLine(DayFilePath(folder, DayFile::DbDaily, dateText), line.ToSeqLine());
}

std::vector<DbDailyLine> ReadDbDaily(const DataFolder& folder, std::string_view dateText) {
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
