// NoteRecord and the day's posted notes file: its layout, its slot rule and its own folder,
// apart from the cancelled-reservations day file.
#include "records/filenames.h"
#include "records/note_record.h"
#include "records_fixture.h"

#include <filesystem>
#include <string>

namespace records {
namespace {

using testing::RecordsTest;
using testing::Show;

NoteRecord Note(const std::string& text, const std::string& date = "12/6/26") {
    NoteRecord note;
    note.NoteText = text;
    note.NoteDate = date;
    return note;
}

TEST(NoteRecordTest, EncodesTextThenDateBlankPaddedTo510Bytes) {
    struct Case {
        std::string text;
        std::string date;
        std::string bytes;
    };
    const Case cases[] = {
        {"CALL MR. SMITH", "12/6/26", "CALL MR. SMITH" + std::string(486, ' ') + "12/6/26   "},
        {"", "1/1/04", std::string(500, ' ') + "1/1/04    "},
        {std::string(499, 'x') + "yz", "12/31/2026X", std::string(499, 'x') + "y" + "12/31/2026"},
    };
    for (const Case& c : cases) {
        const std::string bytes = Note(c.text, c.date).Encode();
        ASSERT_EQ(bytes.size(), 510u) << "text of " << c.text.size() << " characters";
        EXPECT_EQ(bytes, c.bytes) << "text of " << c.text.size() << " characters, date " << c.date;
    }
}

TEST(NoteRecordTest, DecodesStoredFieldsAndReadsZeroBytesAsBlanks) {
    const NoteRecord note =
        NoteRecord::Decode("PARKING LOT LIGHT OUT" + std::string(479, ' ') + "12/6/26   ");
    EXPECT_EQ(note.NoteText, "PARKING LOT LIGHT OUT" + std::string(479, ' '));
    EXPECT_EQ(note.NoteDate, "12/6/26   ");
    EXPECT_FALSE(note.IsFree());

    const NoteRecord past = NoteRecord::Decode(std::string(510, '\0'));
    EXPECT_EQ(past.NoteText, std::string(500, ' '));
    EXPECT_EQ(past.NoteDate, std::string(10, ' '));
    EXPECT_TRUE(past.IsFree());
}

TEST(NoteRecordTest, OnlyAnAllBlankTextIsAFreeSlot) {
    EXPECT_TRUE(Note("").IsFree());
    EXPECT_TRUE(Note(std::string(500, ' ')).IsFree());
    EXPECT_FALSE(Note(std::string(499, ' ') + ".").IsFree());
    EXPECT_FALSE(Note("\r\n").IsFree());
}

using NotesFileTest = RecordsTest;

TEST_F(NotesFileTest, TheDaysNotesLieInAFolderOfTheirOwnMadeWithTheLayout) {
    EXPECT_EQ(PostedNotesFile(folder(), "12/6/26"), folder().root() / "postednotes" / "12626");
    EXPECT_EQ(PostedNotesFile(folder(), "12/6/26   "), folder().root() / "postednotes" / "12626");
    EXPECT_NE(PostedNotesFile(folder(), "12/6/26"), DayFilePath(folder(), DayFile::Notes, "12/6/26"));
    EXPECT_TRUE(std::filesystem::is_directory(folder().root() / "postednotes"));
}

TEST_F(NotesFileTest, AddingANoteLeavesTheCancellationDayFileAlone) {
    const platform::FilePath cancellations = DayFilePath(folder(), DayFile::Notes, "12/6/26");
    const std::string cancelled(2 * 112, 'C');
    WriteRaw(cancellations, cancelled);

    EXPECT_EQ(AddNote(folder(), "12/6/26", Note("LOST KEY ROOM 12")), 1);

    EXPECT_EQ(ReadRaw(cancellations), cancelled);
    EXPECT_EQ(ReadRaw(PostedNotesFile(folder(), "12/6/26")), Note("LOST KEY ROOM 12").Encode());
}

TEST_F(NotesFileTest, ANoteGoesIntoTheFirstFreeSlotElseAfterTheLast) {
    const std::string day = "12/6/26";
    EXPECT_EQ(AddNote(folder(), day, Note("FIRST")), 1);
    // An empty note is stored as a free slot, so the next note takes the same slot.
    EXPECT_EQ(AddNote(folder(), day, Note("")), 2);
    EXPECT_EQ(AddNote(folder(), day, Note("")), 2);
    EXPECT_EQ(AddNote(folder(), day, Note("SECOND")), 2);
    EXPECT_EQ(AddNote(folder(), day, Note("THIRD")), 3);
    EXPECT_EQ(AddNote(folder(), day, Note("FOURTH")), 4);
    // A slot blanked in the middle is found before the end.
    WriteNote(folder(), day, 2, Note(""));
    EXPECT_EQ(FindFreeNoteSlot(folder(), day), 2);
    EXPECT_EQ(AddNote(folder(), day, Note("FIFTH", "12/7/26")), 2);

    const std::vector<NoteRecord> notes = ReadAllNotes(folder(), day);
    ASSERT_EQ(notes.size(), 4u);
    const char* expected[] = {"FIRST", "FIFTH", "THIRD", "FOURTH"};
    for (size_t i = 0; i < notes.size(); ++i)
        EXPECT_EQ(notes[i].Encode(), Note(expected[i], i == 1 ? "12/7/26" : "12/6/26").Encode())
            << "record " << i + 1;
    EXPECT_EQ(NoteCount(folder(), day), 4);
}

TEST_F(NotesFileTest, EachDayHasItsOwnFile) {
    AddNote(folder(), "12/6/26", Note("TODAY"));
    EXPECT_TRUE(ReadAllNotes(folder(), "12/7/26").empty());
    EXPECT_EQ(ReadAllNotes(folder(), "12/6/26").size(), 1u);
}

TEST_F(NotesFileTest, ACutOffLastRecordIsNoNoteAndIsOverwrittenByTheNext) {
    const platform::FilePath file = PostedNotesFile(folder(), "12/6/26");
    WriteRaw(file, Note("WHOLE").Encode() + "PART");
    EXPECT_EQ(NoteCount(folder(), "12/6/26"), 1);
    EXPECT_EQ(ReadAllNotes(folder(), "12/6/26").size(), 1u);

    EXPECT_EQ(AddNote(folder(), "12/6/26", Note("NEXT")), 2);
    const std::string bytes = ReadRaw(file);
    EXPECT_EQ(bytes, Note("WHOLE").Encode() + Note("NEXT").Encode()) << Show(bytes.substr(510, 20));
}

} // namespace
} // namespace records
