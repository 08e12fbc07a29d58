// The day's posted notes.
#include "records/note_record.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/record_fields.h"

namespace records {

using platform::DataFolder;
using platform::RandomFile;
using platform::RecordBuffer;

namespace {

RandomFile NotesFile(const DataFolder& folder, std::string_view dateText) {
    return RandomFile(PostedNotesFile(folder, dateText), NoteRecord::kLength);
}

} // namespace

NoteRecord NoteRecord::Decode(std::string_view bytes) {
    const RecordBuffer buffer(fields::Padded(bytes, kLength));
    NoteRecord note;
    note.NoteText = fields::Text(buffer, 0, kTextWidth);
    note.NoteDate = fields::Text(buffer, kTextWidth, kDateWidth);
    return note;
}

std::string NoteRecord::Encode() const {
    RecordBuffer buffer(kLength);
    buffer.SetText(0, kTextWidth, NoteText);
    buffer.SetText(kTextWidth, kDateWidth, NoteDate);
    return buffer.bytes();
}

bool NoteRecord::IsFree() const {
    return platform::RTrim(NoteText).empty();
}

std::vector<NoteRecord> ReadAllNotes(const DataFolder& folder, std::string_view dateText) {
    const RandomFile file = NotesFile(folder, dateText);
    const long count = file.RecordCount();
    std::vector<NoteRecord> notes;
    notes.reserve(static_cast<size_t>(count));
    for (long n = 1; n <= count; ++n)
        notes.push_back(NoteRecord::Decode(file.Get(n)));
    return notes;
}

long NoteCount(const DataFolder& folder, std::string_view dateText) {
    return NotesFile(folder, dateText).RecordCount();
}

void WriteNote(const DataFolder& folder, std::string_view dateText, long n, const NoteRecord& note) {
    NotesFile(folder, dateText).Put(n, note.Encode());
}

long FindFreeNoteSlot(const DataFolder& folder, std::string_view dateText) {
    const RandomFile file = NotesFile(folder, dateText);
    const long count = file.RecordCount();
    for (long n = 1; n <= count; ++n) {
        if (NoteRecord::Decode(file.Get(n, static_cast<int>(NoteRecord::kTextWidth))).IsFree())
            return n;
    }
    return count + 1;
}

long AddNote(const DataFolder& folder, std::string_view dateText, const NoteRecord& note) {
    const long slot = FindFreeNoteSlot(folder, dateText);
    WriteNote(folder, dateText, slot, note);
    return slot;
}

} // namespace records
