// "Posted Notes" and "Add Note": listing today's notes, adding one through the window,
// the slot an empty note leaves free, the 500-character cut and the buttons that do nothing.
#include "support/app_fixture.h"

#include "checkin/form53.h"
#include "checkin/form54.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/note_record.h"

#include <string>
#include <vector>

namespace vantreth {
namespace {

using testing::AppFixture;

records::NoteRecord Note(const std::string& text, const std::string& date) {
    records::NoteRecord note;
    note.NoteText = platform::Fixed(text, 500);
    note.NoteDate = platform::Fixed(date, 10);
    return note;
}

class NotesTest : public AppFixture {
protected:
    NotesTest() { SetNow(12, 6, 2026, 9, 0, 0); }

    Form53& posted() { return Form<Form53>(); }
    Form54& adding() { return Form<Form54>(); }

    void OpenPosted() {
        app().Dispatch([&] { app().Load(app().Get<Form53>()); });
        ASSERT_TRUE(posted().Visible());
    }

    // From "Posted Notes": "Add a Note", the text typed, "Add Now".
    void AddThroughWindows(const std::string& text) {
        posted().Command1.UserClick();
        ASSERT_TRUE(IsLoaded("Form54"));
        ASSERT_TRUE(adding().Visible());
        ASSERT_TRUE(adding().Text1.HasFocus());
        adding().Text1.UserTypeText(text);
        adding().Command1.UserClick();
    }

    std::vector<std::string> ListLines() { return posted().List1.Items(); }
    std::string NotesBytes(const std::string& digits = "12626") { return ReadBytes("postednotes/" + digits); }
};

TEST_F(NotesTest, PostedNotesListsEveryRecordOfTodayWithABlankLineAfterEach) {
    records::AddNote(app().data(), "12/6/26", Note("ICE MACHINE BROKEN", "12/6/26"));
    records::WriteNote(app().data(), "12/6/26", 2, Note("", "12/6/26"));
    records::WriteNote(app().data(), "12/6/26", 3, Note("  WAKE UP 101 AT 6  ", "12/6/26"));
    records::AddNote(app().data(), "12/5/26", Note("YESTERDAY", "12/5/26"));

    OpenPosted();

    const std::vector<std::string> expected = {"12/6/26     ICE MACHINE BROKEN", " ", "12/6/26     ", " ",
                                               "12/6/26       WAKE UP 101 AT 6", " "};
    EXPECT_EQ(ListLines(), expected);
    EXPECT_LT(posted().At().x, 50);
    EXPECT_LT(posted().At().y, 50);
}

TEST_F(NotesTest, PostedNotesOnADayWithoutNotesIsEmpty) {
    OpenPosted();
    EXPECT_TRUE(ListLines().empty());
    EXPECT_TRUE(dialogs().shown().empty()) << LastBox().prompt;
}

TEST_F(NotesTest, AddNowStoresTheNoteAndRefillsTheListWithThePaddedText) {
    OpenPosted();
    AddThroughWindows("CALL MR. SMITH ABOUT THE BILL");

    EXPECT_FALSE(IsLoaded("Form54"));
    EXPECT_TRUE(IsLoaded("Form53"));
    EXPECT_EQ(NotesBytes(), platform::Fixed("CALL MR. SMITH ABOUT THE BILL", 500) + "12/6/26   ");
    const std::vector<std::string> expected = {
        "12/6/26     " + platform::Fixed("CALL MR. SMITH ABOUT THE BILL", 500), " "};
    EXPECT_EQ(ListLines(), expected);

    // Opened afresh, the same note shows without its padding.
    app().Dispatch([&] { app().Unload(posted()); });
    OpenPosted();
    EXPECT_EQ(ListLines(), (std::vector<std::string>{"12/6/26     CALL MR. SMITH ABOUT THE BILL", " "}));
}

TEST_F(NotesTest, NotesNeverTouchTheCancellationDayFile) {
    const std::string cancellations(3 * 112, 'R');
    WriteBytes("notes/12626", cancellations);

    OpenPosted();
    AddThroughWindows("GROUP ARRIVES FRIDAY");
    AddThroughWindows("POOL CLOSED");

    EXPECT_EQ(ReadBytes("notes/12626"), cancellations);
    EXPECT_EQ(NotesBytes().size(), 2u * 510);
    EXPECT_EQ(ListLines().size(), 4u);
}

TEST_F(NotesTest, AnEmptyNoteIsAFreeSlotThatTheNextNoteTakes) {
    OpenPosted();
    AddThroughWindows("FIRST");
    AddThroughWindows("");
    EXPECT_EQ(NotesBytes(), Note("FIRST", "12/6/26").Encode() + Note("", "12/6/26").Encode());
    EXPECT_EQ(ListLines()[2], "12/6/26     " + std::string(500, ' '));

    AddThroughWindows("SECOND");
    EXPECT_EQ(NotesBytes(), Note("FIRST", "12/6/26").Encode() + Note("SECOND", "12/6/26").Encode());
    EXPECT_EQ(ListLines().size(), 4u);
}

TEST_F(NotesTest, ANoteOfMoreThan500CharactersKeepsItsFirst500) {
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "NOTE " + std::to_string(1000 + i) + " ";
    ASSERT_GT(text.size(), 500u);
    OpenPosted();
    AddThroughWindows(text);
    EXPECT_EQ(NotesBytes(), text.substr(0, 500) + "12/6/26   ");
    EXPECT_EQ(ListLines()[0], "12/6/26     " + text.substr(0, 500));
}

TEST_F(NotesTest, ALineBreakTypedIntoTheNoteIsKept) {
    OpenPosted();
    posted().Command1.UserClick();
    adding().Text1.UserTypeText("LINE ONE");
    adding().Text1.UserType(platform::vbKeyReturn);
    adding().Text1.UserTypeText("LINE TWO");
    adding().Command1.UserClick();
    EXPECT_EQ(NotesBytes(), platform::Fixed("LINE ONE\r\nLINE TWO", 500) + "12/6/26   ");
}

TEST_F(NotesTest, TheNotesOfEachDayAreKeptApart) {
    OpenPosted();
    AddThroughWindows("MONDAY NOTE");
    app().Dispatch([&] { app().Unload(posted()); });

    SetNow(12, 7, 2026, 9, 0, 0);
    OpenPosted();
    EXPECT_TRUE(ListLines().empty());
    AddThroughWindows("TUESDAY NOTE");
    EXPECT_EQ(NotesBytes("12726"), Note("TUESDAY NOTE", "12/7/26").Encode());
    EXPECT_EQ(NotesBytes("12626"), Note("MONDAY NOTE", "12/6/26").Encode());
}

TEST_F(NotesTest, DeleteSelectedLeavesTheListAndTheFileAsTheyAre) {
    records::AddNote(app().data(), "12/6/26", Note("KEEP ME", "12/6/26"));
    const std::string stored = NotesBytes();
    OpenPosted();
    const std::vector<std::string> before = ListLines();
    posted().List1.UserClick(0);

    posted().Command2.UserClick();

    EXPECT_EQ(ListLines(), before);
    EXPECT_EQ(NotesBytes(), stored);
    EXPECT_TRUE(IsLoaded("Form53"));
    EXPECT_TRUE(dialogs().shown().empty()) << LastBox().prompt;
}

TEST_F(NotesTest, CancelAndCloseWriteNothing) {
    records::AddNote(app().data(), "12/6/26", Note("KEEP ME", "12/6/26"));
    const std::string stored = NotesBytes();
    OpenPosted();
    posted().Command1.UserClick();
    adding().Text1.UserTypeText("NEVER STORED");

    // Esc presses "Cancel / Esc".
    adding().UserKey(platform::vbKeyEscape);
    EXPECT_FALSE(IsLoaded("Form54"));
    EXPECT_TRUE(IsLoaded("Form53"));
    EXPECT_EQ(NotesBytes(), stored);
    EXPECT_TRUE(IsLoaded("Form53"));
    EXPECT_EQ(NotesBytes(), stored);

    posted().Command3.UserClick();
    EXPECT_FALSE(IsLoaded("Form53"));
    EXPECT_EQ(NotesBytes(), stored);
}

TEST(NoteLinesTest, PaddingIsDroppedUnlessAsked) {
    const std::vector<records::NoteRecord> notes = {Note("A", "1/2/27"), Note("", "1/2/27")};
    EXPECT_EQ(PostedNoteLines(notes, false),
              (std::vector<std::string>{"1/2/27      A", " ", "1/2/27      ", " "}));
    EXPECT_EQ(PostedNoteLines(notes, true),
              (std::vector<std::string>{"1/2/27      A" + std::string(499, ' '), " ",
                                        "1/2/27      " + std::string(500, ' '), " "}));
}

TEST(NoteLinesTest, MakeNoteCutsOrPadsToTheRecordsWidths) {
    const records::NoteRecord note = MakeNote(std::string(501, 'n') + "!", "12/6/26");
    EXPECT_EQ(note.NoteText, std::string(500, 'n'));
    EXPECT_EQ(note.NoteDate, "12/6/26   ");
    EXPECT_TRUE(MakeNote("", "12/6/26").IsFree());
}

} // namespace
} // namespace vantreth
