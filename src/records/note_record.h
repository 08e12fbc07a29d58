// NoteRecord: one note of the day's posted notes file (PostedNotesFile), 510 bytes.
//
//   offset width field
//        0   500 NoteText   blank-padded; 500 blanks = a free slot
//      500    10 NoteDate   date text of the day the note was added
//
// Records are numbered from 1; the count is the file length / 510.
#pragma once

#include "platform/files.h"

#include <string>
#include <string_view>
#include <vector>

namespace records {

struct NoteRecord {
    static constexpr int kLength = 510;
    static constexpr size_t kTextWidth = 500;
    static constexpr size_t kDateWidth = 10;

    std::string NoteText = std::string(kTextWidth, ' ');
    std::string NoteDate = std::string(kDateWidth, ' ');

    static NoteRecord Decode(std::string_view bytes);
    std::string Encode() const; // all 510 bytes

    // NoteText is all blanks.
    bool IsFree() const;

    friend bool operator==(const NoteRecord&, const NoteRecord&) = default;
};

// The notes of the day whose date text is given, record 1 first.
std::vector<NoteRecord> ReadAllNotes(const platform::DataFolder& folder, std::string_view dateText);
long NoteCount(const platform::DataFolder& folder, std::string_view dateText);
void WriteNote(const platform::DataFolder& folder, std::string_view dateText, long n, const NoteRecord& note);
// The first free slot, else record count + 1.
long FindFreeNoteSlot(const platform::DataFolder& folder, std::string_view dateText);
// Writes the note into FindFreeNoteSlot's slot and returns the slot number.
long AddNote(const platform::DataFolder& folder, std::string_view dateText, const NoteRecord& note);

} // namespace records
