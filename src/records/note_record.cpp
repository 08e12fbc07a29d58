// The day's posted notes.
#include "records/note_record.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/record_fields.h"
#include "records/record_file.h"

namespace records {

using platform::DataFolder;
using platform::RecordBuffer;

namespace {

RecordFile<NoteRecord> NotesFile(const DataFolder& folder, std::string_view dateText) {
    return RecordFile<NoteRecord>(PostedNotesFile(folder, dateText));
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
    return NotesFile(folder, dateText).ReadAll();
}

long NoteCount(const DataFolder& folder, std::string_view dateText) {
    return NotesFile(folder, dateText).Count();
}

void WriteNote(const DataFolder& folder, std::string_view dateText, long n, const NoteRecord& note) {
    NotesFile(folder, dateText).Write(n, note);
}

long FindFreeNoteSlot(const DataFolder& folder, std::string_view dateText) {
    const RecordFile<NoteRecord> file = NotesFile(folder, dateText);
    return file.Find([](const NoteRecord& note) { return note.IsFree(); }).value_or(file.Count() + 1);
}

long AddNote(const DataFolder& folder, std::string_view dateText, const NoteRecord& note) {
    const long slot = FindFreeNoteSlot(folder, dateText);
    WriteNote(folder, dateText, slot, note);
    return slot;
}

} // namespace records
