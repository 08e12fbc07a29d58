// The history file read a line at a time, and the items of its lines as the file layer's
// reader would give them: where each item lies, and what a literal among them reads as.
// Used by the history's own readers only (history.cpp and the pieces beside it).
#pragma once

#include "platform/files.h"
#include "records/history_scan.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace records {

// The most items a line of the history has.
constexpr size_t kMostItems = 13;

// One item of a line as it lies in the file: the text between the quotes of a quoted item,
// the text without the blanks around it of a bare one (a number, a date literal).
struct RawItem {
    uint32_t offset = 0; // from the start of the line
    uint32_t length = 0;
    bool quoted = false;
};

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The items of one line (without its line end), read by the rules of the file layer's own
// reader (platform::SeqReader): the count of items, the first kMostItems of them, and
// false with `why` for a line that cannot be read. Only the places are found here, no
// text is copied, so that passing over an entry costs little.
bool SplitItemsOneByOne(std::string_view line, RawItem (&items)[kMostItems], size_t& count, std::string& why);

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

inline RawItem ItemBetween(std::string_view line, size_t start, size_t end) {
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
inline bool MayBeLiteral(std::string_view text, const RawItem& item) {
    return !item.quoted && item.length >= 2 && text.front() == '#' && text.back() == '#';
}

// A bare item that may be a literal, as the file layer reads it. The form the program
// writes, #yyyy-mm-dd# with a real date, is read here directly; any other through the file
// layer itself.
platform::SeqItem LiteralItem(std::string_view text);

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
    explicit HistoryStream(platform::FilePath file, uint64_t from = 0, size_t linesBefore = 0);
    // Bytes already in memory, the first of which starts a line at place `base`, after
    // `linesBefore` lines.
    HistoryStream(std::string_view bytes, uint64_t base, size_t linesBefore = 0) {
        Reset(bytes, base, linesBefore);
    }
    // Reads other bytes in memory from their start, as if made anew with them.
    void Reset(std::string_view bytes, uint64_t base, size_t linesBefore = 0);
    ~HistoryStream();
    HistoryStream(const HistoryStream&) = delete;
    HistoryStream& operator=(const HistoryStream&) = delete;

    // The next line, its number in the file (from 1) and its place (bytes from the start of
    // the file). A last line without its line end is left out and noted as damage.
    bool NextLine(std::string_view& line, size_t& number, uint64_t& place) {
        for (;;) {
            if (!SkipLineEnd())
                return false;
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
        settled = m_inLineEnd && SkipLineEnd();
        return m_base + m_begin;
    }

    // Where the last line was cut short before its line end, if it was.
    const std::string& CutShort() const { return m_cutShort; }

    // Hands the damage found over to the clerk's reports, as SeqReader does, with the
    // version of the file read to its end.
    void ReportDamage(const std::vector<std::string>& damage) const;

private:
    static constexpr size_t kPiece = 256 * 1024;
    // Mapped pages left behind are handed back this many bytes at a time.
    static constexpr size_t kGiveBack = 1024 * 1024;

    // Takes the line end after the last line read, if not taken yet: CRs, then at most one
    // LF. false when the file ends within it.
    bool SkipLineEnd() {
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
        return true;
    }

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
    bool Fill();

    // The next piece of the mapped file, at least as long as what is in view so that a
    // long line is looked at a few times only.
    bool MapMore();

    // The next piece read from the disk, or as the step sees it.
    bool ReadMore();

    // Reads at most `most` bytes to the end of the buffer: from the disk, or as the step sees it.
    ssize_t ReadPiece(size_t most);

    static uint64_t PageSize();

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

} // namespace records
