// The lines of the history read into its entries, as the file layer's reader would read
// them, with the damage found on the way. Used by the history's own readers only.
#pragma once

#include "records/history.h"
#include "records/history_stream.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace records {

// One line of the entry being read.
struct EntryLine {
    uint64_t place = 0;
    size_t length = 0;
};

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
    // The items of its lines, kept only by a scanner told to (HistoryScanner::KeepItems).
    RawItem items[3][kMostItems];
};

// The damage a pass notes, as it words it.
enum class Damage : uint8_t { Unreadable, EntryCutShort, OutOfPlace, TypeMismatch };

struct DamageFound {
    Damage what;
    uint8_t why = 0; // Unreadable: which of the reasons a line cannot be read
    uint64_t a = 0;  // the line (the first line of an entry cut short)
    uint64_t b = 0;  // the entry's last line, or the count of items
    std::string Text() const;
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
    // The entries carry the items of their lines, for DecodeEntry.
    void KeepItems() { m_keepItems = true; }

    void Run();

private:
    void TakeLine(std::string_view text, size_t number, uint64_t place);

    // The keys on the line being read.
    void KeepKeys(std::string_view text);

    void FinishEntry(size_t number);

    void DropEntry(size_t last);

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
    bool m_keepItems = false;
};

// The entry a scanner kept the items of (HistoryScanner::KeepItems), read from `stream`
// while it is in view, into `e`: every item is set, and text items take the room their field
// already has.
void DecodeEntry(const HistoryStream& stream, const ScannedEntry& scanned, Literals& literals,
                 HistoryEntry& e);

} // namespace records
