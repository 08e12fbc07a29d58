// The history file, the company accounts and the day's direct-bill log.
#include "records/history.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/record_fields.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The readers of the history keep this many bytes readable past the end of what they read,
// so that a line's last bytes can be looked at 16 at a time.
constexpr size_t kSlack = 64;

// Lines up to this length (every line the program writes) may be read from bit masks.
constexpr size_t kMaskedLength = 4096;
constexpr size_t kMaskWords = kMaskedLength / 64;

// The number of set bits, without a call into the compiler's library on machines where
// std::popcount would make one.
int CountBits(uint64_t x) {
    x = x - ((x >> 1) & 0x5555555555555555ULL);
    x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
    x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0fULL;
    return static_cast<int>((x * 0x0101010101010101ULL) >> 56);
}

// The item of a line in the written form that lies between `start` and `end` (a comma or
// the line's end): a text in quotes, or a bare item without the blanks around it.
RawItem ItemBetween(std::string_view line, size_t start, size_t end) {
    RawItem item;
    if (start < end && line[start] == '"') {
        item.offset = static_cast<uint32_t>(start + 1);
        item.length = static_cast<uint32_t>(end - start - 2);
        item.quoted = true;
        return item;
    }
    while (start < end && IsBlank(line[start]))
        ++start;
    while (end > start && line[end - 1] == ' ')
        --end;
    item.offset = static_cast<uint32_t>(start);
    item.length = static_cast<uint32_t>(end - start);
    return item;
}

// The items of one line, as the scan needs them: how many, and where any of them lies. A
// line in the form the program writes (a quote that opens a text comes right after a comma
// or at the line's start, the one that closes it right before a comma or at the line's
// end, no NUL byte) is read from bit masks of its quotes and commas, 16 bytes at a time,
// without going item by item; any other line is split item by item. Both give what the
// file layer's reader gives. Up to kSlack bytes after the line must be readable.
class LineItems {
public:
    // False, with `why`, for a line that cannot be read. `mayHoldNul`: false when the caller
    // knows the line holds no NUL byte.
    bool Read(std::string_view line, std::string& why, bool mayHoldNul = true) {
        m_line = line;
        m_masked = false;
#if defined(__SSE2__)
        if (line.size() <= kMaskedLength) {
            bool unreadable = false;
            if (ReadMasked(mayHoldNul, unreadable))
                return true;
            if (unreadable) {
                why = "unreadable bytes";
                return false;
            }
        }
#endif
        return SplitItemsOneByOne(line, m_items, m_count, why);
    }

    size_t count() const {
        return m_count;
    }

    // Item i (below count() and kMostItems).
    RawItem Item(size_t i) const {
        if (!m_masked)
            return m_items[i];
        // The commas before and after the item.
        size_t start = 0, end = m_line.size(), seen = 0;
        for (size_t w = 0; w < m_words; ++w) {
            for (uint64_t bits = m_commas[w]; bits != 0; bits &= bits - 1) {
                const size_t at = (w << 6) + static_cast<size_t>(std::countr_zero(bits));
                if (seen + 1 == i)
                    start = at + 1;
                if (seen == i) {
                    end = at;
                    return ItemBetween(m_line, start, end);
                }
                ++seen;
            }
        }
        return ItemBetween(m_line, start, end);
    }

    // Whether a bare item among the first 64 may begin with "#" (a literal): bit i for item i.
    uint64_t ItemsWithHash() const {
        if (!m_masked) {
            uint64_t items = 0;
            for (size_t i = 0; i < std::min(m_count, kMostItems); ++i)
                if (!m_items[i].quoted && m_items[i].length > 0 && m_line[m_items[i].offset] == '#')
                    items |= uint64_t{1} << i;
            return items;
        }
        uint64_t items = 0;
        for (size_t at = m_line.find('#'); at != std::string_view::npos; at = m_line.find('#', at + 1)) {
            const size_t w = at >> 6;
            const uint64_t bit = uint64_t{1} << (at & 63);
            if ((m_inside[w] & bit) != 0)
                continue; // within a quoted text
            size_t item = static_cast<size_t>(CountBits(m_commas[w] & (bit - 1)));
            for (size_t before = 0; before < w; ++before)
                item += static_cast<size_t>(CountBits(m_commas[before]));
            if (item < 64)
                items |= uint64_t{1} << item;
        }
        return items;
    }

    // Every item (up to kMostItems), in order.
    void Items(RawItem (&items)[kMostItems]) const {
        if (!m_masked) {
            std::copy(std::begin(m_items), std::end(m_items), std::begin(items));
            return;
        }
        size_t start = 0, n = 0;
        for (size_t w = 0; w < m_words && n < kMostItems; ++w) {
            for (uint64_t bits = m_commas[w]; bits != 0 && n < kMostItems; bits &= bits - 1) {
                const size_t at = (w << 6) + static_cast<size_t>(std::countr_zero(bits));
                items[n++] = ItemBetween(m_line, start, at);
                start = at + 1;
            }
        }
        if (n < kMostItems)
            items[n] = ItemBetween(m_line, start, m_line.size());
    }

private:
#if defined(__SSE2__)
    // True when the line is in the written form; `unreadable` when it holds a NUL byte.
    bool ReadMasked(bool mayHoldNul, bool& unreadable) {
        const char* data = m_line.data();
        const size_t n = m_line.size();
        m_words = (n + 63) / 64;
        uint64_t opening[kMaskWords], closing[kMaskWords];
        uint64_t zeros = 0;
        uint64_t inside = 0; // all ones while within a quoted text
        size_t commas = 0;
        const __m128i quote = _mm_set1_epi8('"'), comma = _mm_set1_epi8(','), zero = _mm_setzero_si128();
        for (size_t w = 0; w < m_words; ++w) {
            uint64_t q = 0, c = 0, z = 0;
            for (int k = 0; k < 4; ++k) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + w * 64 + k * 16));
                const int shift = 16 * k;
                q |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, quote))))
                     << shift;
                c |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, comma))))
                     << shift;
                if (mayHoldNul)
                    z |= static_cast<uint64_t>(
                             static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, zero))))
                         << shift;
            }
            if (w + 1 == m_words && n % 64 != 0) {
                const uint64_t inLine = (uint64_t{1} << (n % 64)) - 1;
                q &= inLine;
                c &= inLine;
                z &= inLine;
            }
            zeros |= z;
            // Bit i set when an odd number of quotes lies at or before i: within a text.
            uint64_t odd = q;
            for (int shift = 1; shift < 64; shift *= 2)
                odd ^= odd << shift;
            odd ^= inside;
            inside = static_cast<uint64_t>(0) - (odd >> 63);
            opening[w] = q & odd;
            closing[w] = q & ~odd;
            m_commas[w] = c & ~odd;
            m_inside[w] = odd;
            commas += static_cast<size_t>(CountBits(m_commas[w]));
        }
        if (zeros != 0) {
            unreadable = true;
            return false;
        }
        if (inside != 0)
            return false; // a text without its closing quote
        for (size_t w = 0; w < m_words; ++w) {
            const uint64_t before = (m_commas[w] << 1) | (w == 0 ? 1 : m_commas[w - 1] >> 63);
            uint64_t after = (m_commas[w] >> 1) | (w + 1 < m_words ? m_commas[w + 1] << 63 : 0);
            if (w + 1 == m_words)
                after |= uint64_t{1} << ((n - 1) % 64);
            if ((opening[w] & ~before) != 0 || (closing[w] & ~after) != 0)
                return false;
        }
        m_count = commas + 1;
        m_masked = true;
        return true;
    }
#endif

    std::string_view m_line;
    size_t m_count = 0;
    bool m_masked = false;
    size_t m_words = 0;
    uint64_t m_commas[kMaskWords]; // masked: the commas between items
    uint64_t m_inside[kMaskWords]; // masked: the bytes within quoted texts (and their opening quotes)
    RawItem m_items[kMostItems];   // split item by item
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

// The history file, read a piece at a time into a buffer that keeps the lines of the entry
// being read (from the pinned place on) and the line being read.
class HistoryStream {
public:
    explicit HistoryStream(std::filesystem::path file) : m_file(std::move(file)) {
        m_buffer.resize(kPiece + kSlack);
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
        ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    ~HistoryStream() {
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
            const char* start = m_buffer.data() + m_begin;
            const size_t available = m_end - m_begin;
            const char* lf = static_cast<const char*>(std::memchr(start, '\n', available));
            const size_t upTo = lf != nullptr ? static_cast<size_t>(lf - start) : available;
            const char* cr = static_cast<const char*>(std::memchr(start, '\r', upTo));
            const char* end = cr != nullptr ? cr : lf;
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

    // Whether the line read at `place` may hold a NUL byte (false when surely not).
    bool MayHoldNul(uint64_t place) const { return m_lastNul && *m_lastNul >= place; }

    // Keeps the bytes from `place` on until Unpin.
    void Pin(uint64_t place) { m_pin = place; }
    void Unpin() { m_pin.reset(); }
    // The bytes at `place`, which must be pinned or on the last line read.
    const char* At(uint64_t place) const { return m_buffer.data() + (place - m_base); }

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
        if (m_buffer.size() - kSlack - m_end < kPiece / 2)
            m_buffer.resize(m_buffer.size() * 2); // a line longer than a piece
        for (;;) {
            const ssize_t got = ReadPiece(m_buffer.size() - kSlack - m_end);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                throw platform::IoError(m_file, std::strerror(errno));
            if (got == 0) {
                m_atEnd = true;
                return false;
            }
            // The last NUL byte read so far, for MayHoldNul.
            if (const void* nul = ::memrchr(m_buffer.data() + m_end, '\0', static_cast<size_t>(got)))
                m_lastNul = m_base + static_cast<uint64_t>(static_cast<const char*>(nul) - m_buffer.data());
            m_end += static_cast<size_t>(got);
            return true;
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

    std::filesystem::path m_file;
    int m_fd = -1;            // -1: the step changed the file
    long long m_stepRead = 0; // the bytes of it read so far
    std::string m_buffer;
    uint64_t m_base = 0; // the place of the buffer's first byte
    size_t m_begin = 0;  // the next byte to look at
    size_t m_end = 0;    // the end of the bytes read
    bool m_atEnd = false;
    bool m_inLineEnd = false;
    size_t m_lineNumber = 0;
    std::optional<uint64_t> m_pin;
    std::optional<uint64_t> m_lastNul;
    std::string m_cutShort;
    std::vector<std::string> m_damage;
};

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
        reading.Read(texts[line], why); // read before, and sound
        reading.Items(items[line]);
    }
    auto raw = [&](size_t line, size_t i) {
        return texts[line].substr(items[line][i].offset, items[line][i].length);
    };
    auto text = [&](std::string& field, size_t line, size_t i) {
        const std::string_view r = raw(line, i);
        if (MayBeLiteral(r, items[line][i]))
            field = literals.Text(r);
        else
            field.assign(r);
    };
    auto number = [&](size_t line, size_t i) { return static_cast<float>(platform::Val(raw(line, i))); };
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
    const std::filesystem::path file = HistoryFile(folder);
    if (!platform::FileExists(file))
        return; // no guest has checked out yet
    HistoryStream stream(file);
    const KeyPlace keyPlace = PlaceOf(key);
    // Lines that cannot be read at all are noted as the file layer notes them, the entries
    // they break after them, as a SeqReader's reader would.
    std::vector<std::string> unreadable;
    EntryLine lines[3];
    RawItem keyItem;
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
        if (!items.Read(text, why, stream.MayHoldNul(place))) {
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
        if (line == keyPlace.line)
            keyItem = items.Item(keyPlace.item);
        lines[line] = {place, text.size()};
        if (++line < 3)
            continue;
        const std::string_view keyText(stream.At(lines[keyPlace.line].place) + keyItem.offset,
                                       keyItem.length);
        if (MayBeLiteral(keyText, keyItem) ? wanted(literals.Text(keyText)) : wanted(keyText)) {
            DecodeEntry(stream, lines, literals, entry);
            found(entry, entries);
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
