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

void AppendHistoryEntry(const DataFolder& folder, const HistoryEntry& entry) {
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
    explicit HistoryStream(platform::FilePath file) : m_file(std::move(file)) {
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
        if (::fstat(m_fd, &st) == 0 && st.st_size > 0) {
            const auto size = static_cast<size_t>(st.st_size);
            void* map = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, m_fd, 0);
            if (map != MAP_FAILED) {
                m_map = static_cast<char*>(map);
                m_mapSize = size;
                ::madvise(map, size, MADV_SEQUENTIAL);
                return;
            }
        }
        ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
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
        const long long changed = m_fd < 0 ? -1 // the step's own version
                                  : ::fstat(m_fd, &st) == 0
                                      ? st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec
                                      : 0;
        platform::NoteSeqFileDamage(m_file, m_base + m_end, changed, firstFound);
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
        static const uint64_t page = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
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
        if (m_fd >= 0)
            return ::read(m_fd, m_buffer.data() + m_end, most);
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

    platform::FilePath m_file;
    int m_fd = -1;            // -1: the step changed the file
    long long m_stepRead = 0; // the bytes of it read so far
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
    std::vector<std::string> m_damage;
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
    const platform::FilePath file = HistoryFile(folder);
    if (!platform::FileExists(file))
        return; // no guest has checked out yet
    HistoryStream stream(file);
    std::vector<KeyPlace> keyPlaces;
    for (const HistoryKeyWanted& key : keys)
        keyPlaces.push_back(PlaceOf(key.key));
    // Lines that cannot be read at all are noted as the file layer notes them, the entries
    // they break after them, as a SeqReader's reader would.
    std::vector<std::string> unreadable;
    EntryLine lines[3];
    std::vector<RawItem> keyItems(keys.size());
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
    LineItems items;
    Literals literals;
    HistoryEntry entry;
    size_t entries = 0; // the whole entries read so far
    while (stream.NextLine(text, number, place)) {
        if (!stream.ReadItems(place, text.size(), items, why)) {
            unreadable.push_back("line " + std::to_string(number) + ": " + why + ", skipped");
            continue;
        }
        const size_t count = items.count();
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
        if (!NumbersReadable(text, line, items, literals)) {
            if (line == 0)
                stream.NoteDamage("line " + std::to_string(number) + ": Type mismatch, skipped");
            dropEntry(lastLine);
            continue;
        }
        if (line == 0)
            stream.Pin(place);
        for (size_t k = 0; k < keys.size(); ++k)
            if (line == keyPlaces[k].line)
                keyItems[k] = items.Item(keyPlaces[k].item);
        lines[line] = {place, text.size()};
        if (++line < 3)
            continue;
        unsigned accepted = 0;
        for (size_t k = 0; k < keys.size(); ++k) {
            const RawItem& keyItem = keyItems[k];
            const std::string_view keyText(stream.At(lines[keyPlaces[k].line].place) + keyItem.offset,
                                           keyItem.length);
            const HistoryKeyTest& wanted = keys[k].wanted;
            if (MayBeLiteral(keyText, keyItem) ? wanted(literals.Text(keyText)) : wanted(keyText))
                accepted |= 1u << k;
        }
        if (accepted != 0) {
            DecodeEntry(stream, lines, literals, entry);
            found(entry, entries, accepted);
        }
        ++entries;
        line = 0;
        stream.Unpin();
    }
    dropEntry(lastLine);
    stream.ReportDamage(std::move(unreadable));
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
