// Set Room Status: showing a room, the click toggles, the letter checks, and the ways back
// to the front desk, each checked against the rooms file byte for byte.
#include "support/app_fixture.h"
#include "support/builders.h"
#include "support/pseudo_terminal.h"

#include "callacct/form50.h"
#include "frontdesk/form1.h"
#include "frontdesk/form10.h"
#include "platform/text.h"
#include "records/room_record.h"
#include "records/settings_files.h"

#include <vector>

namespace vantreth {
namespace {

using testing::AppFixture;

// A room of these tests: rate 45.50 and spare text, which the window must keep as they are.
records::RoomRecord KeptRoom(testing::RoomSpec spec) {
    spec.rate = 45.5f;
    spec.spare = "spare";
    return testing::Room(spec);
}

// The rooms file's bytes with one letter of one record replaced.
std::string WithByte(std::string bytes, long record, size_t offset, char letter) {
    const size_t at = static_cast<size_t>(record - 1) * records::RoomRecord::kLength + offset;
    return bytes.substr(0, at) + letter + bytes.substr(at + 1);
}

constexpr size_t kClean = 12, kVacant = 13, kService = 14;

class Form10Test : public AppFixture {
protected:
    Form10Test() {
        records::WriteIntroFlag(app().data(), 1.0f);
        records::AppendRoom(app().data(),
                            KeptRoom({.room = "101", .type = "NQ1", .comment = "NEEDS TOWELS"}));
        records::AppendRoom(
            app().data(),
            KeptRoom({.room = "12", .type = "SNQ3", .clean = "N", .vacant = "N", .service = "X"}));
        records::AppendRoom(app().data(),
                            KeptRoom({.room = "103", .type = "DD1", .clean = "N", .service = "O"}));
        records::AppendRoom(app().data(), KeptRoom({.room = "104", .type = "Q11", .clean = "N"}));
        original = ReadBytes("rooms");
    }

    Form10& status() { return Form<Form10>(); }

    // The clerk opens the window from the front desk with the "V" key.
    void Open() {
        StartProgram();
        Form<Form1>().UserKey('V');
        ASSERT_TRUE(IsLoaded("Form10"));
        ASSERT_FALSE(IsLoaded("Form1"));
    }

    void Show(const std::string& entry) { ASSERT_TRUE(status().Combo1.UserPick(entry)) << entry; }

    void ExpectBackAtFrontDesk() {
        EXPECT_FALSE(IsLoaded("Form10"));
        EXPECT_TRUE(IsLoaded("Form1"));
        EXPECT_TRUE(Form<Form1>().Visible());
    }

    std::string original;
};

TEST(StatusLetterTest, AcceptsAllowedLettersInEitherCaseAsCapitals) {
    struct Case {
        const char* typed;
        const char* allowed;
        const char* expected;
    };
    const Case cases[] = {
        {"Y", "YN", "Y"}, {"n", "YN", "N"}, {"o", "AOX", "O"}, {"x", "AOX", "X"}, {"A", "AOX", "A"},
        {"", "YN", ""},   {" ", "YN", ""},  {"O", "YN", ""},   {"YN", "YN", ""},  {"N", "AOX", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StatusLetter(c.typed, c.allowed), c.expected)
            << "typed \"" << c.typed << "\" allowed " << c.allowed;
}

TEST_F(Form10Test, ListsEveryRoomWithItsTypeAsStored) {
    Open();
    EXPECT_EQ(status().Combo1.Items(),
              (std::vector<std::string>{"101  NQ1  ", "12   SNQ3 ", "103  DD1  ", "104  Q11  "}));
    EXPECT_EQ(status().Combo1.Text(), "select room");
    EXPECT_EQ(status().Label6.Caption(), "");
    EXPECT_EQ(status().ActiveControl(), &status().Combo1);
}

TEST_F(Form10Test, ChoosingARoomShowsItsLettersAndComment) {
    Open();
    Show("101  NQ1  ");
    EXPECT_EQ(status().Label6.Caption(), "101");
    EXPECT_EQ(status().Label17.Caption(), "101");
    EXPECT_EQ(status().Text2.Text(), "Y");
    EXPECT_EQ(status().Text3.Text(), "Y");
    EXPECT_EQ(status().Text4.Text(), "A");
    EXPECT_EQ(status().Text1.Text(), "NEEDS TOWELS");

    Show("12   SNQ3 ");
    EXPECT_EQ(status().Label6.Caption(), "12 ") << "the key keeps its trailing blank";
    EXPECT_EQ(status().Text1.Text(), "");
}

TEST_F(Form10Test, OccupiedRoomLocksVacancyAndServiceUntilAnotherRoomIsChosen) {
    Open();
    Show("103  DD1  ");
    EXPECT_FALSE(status().Text3.Enabled());
    EXPECT_FALSE(status().Text4.Enabled());
    status().Text4.UserClick();
    EXPECT_EQ(status().Text4.Text(), "O");

    // The Clean letter and the comment of an occupied room can still be changed.
    Retype(status().Text1, "smoke smell");
    status().Text2.UserClick();
    EXPECT_EQ(
        ReadBytes("rooms"),
        original.substr(0, 2 * 115) +
            KeptRoom({.room = "103", .type = "DD1", .service = "O", .comment = "SMOKE SMELL"}).Encode() +
            original.substr(3 * 115));

    Show("101  NQ1  ");
    EXPECT_TRUE(status().Text3.Enabled());
    EXPECT_TRUE(status().Text4.Enabled());
}

TEST_F(Form10Test, CleanClickStoresEachFlipAtOnce) {
    Open();
    Show("101  NQ1  ");
    status().Text2.UserClick();
    EXPECT_EQ(status().Text2.Text(), "N");
    EXPECT_EQ(ReadBytes("rooms"), WithByte(original, 1, kClean, 'N'));
    status().Text2.UserClick();
    EXPECT_EQ(status().Text2.Text(), "Y");
    EXPECT_EQ(ReadBytes("rooms"), original);
}

TEST_F(Form10Test, VacantClickStoresOnlyWhenItBecomesNonVacant) {
    Open();
    Show("101  NQ1  ");
    status().Text3.UserClick();
    EXPECT_EQ(status().Text3.Text(), "N");
    EXPECT_EQ(ReadBytes("rooms"), WithByte(original, 1, kVacant, 'N'));

    Show("12   SNQ3 ");
    status().Text3.UserClick();
    EXPECT_EQ(status().Text3.Text(), "Y");
    EXPECT_EQ(ReadBytes("rooms"), WithByte(original, 1, kVacant, 'N')) << "N to Y is only shown";
}

TEST_F(Form10Test, ServiceClickFlipsAvailableAndOutOfOrderOnlyInTheBox) {
    Open();
    Show("101  NQ1  ");
    status().Text4.UserClick();
    EXPECT_EQ(status().Text4.Text(), "X");
    status().Text4.UserClick();
    EXPECT_EQ(status().Text4.Text(), "A");
    status().Text4.UserClick();
    EXPECT_EQ(ReadBytes("rooms"), original);

    // A later Clean click stores all four boxes as they stand.
    status().Text2.UserClick();
    EXPECT_EQ(ReadBytes("rooms"), WithByte(WithByte(original, 1, kClean, 'N'), 1, kService, 'X'));
}

TEST_F(Form10Test, LetterBoxesTakeOneCharacter) {
    Open();
    Show("101  NQ1  ");
    for (platform::TextBox* box : {&status().Text2, &status().Text3, &status().Text4}) {
        Retype(*box, "NY", "N");
    }
}

TEST_F(Form10Test, ChangeNowStoresTypedLettersInCapitalsAndStays) {
    Open();
    Show("101  NQ1  ");
    Retype(status().Text2, "n");
    Retype(status().Text3, "n");
    Retype(status().Text4, "o");
    Retype(status().Text1, "late check-in");
    status().Command3.UserClick();

    const std::string expected =
        KeptRoom({.room = "101", .type = "NQ1", .clean = "N", .service = "O", .comment = "LATE CHECK-IN"})
            .Encode() +
        original.substr(115);
    EXPECT_EQ(ReadBytes("rooms"), expected);
    EXPECT_TRUE(IsLoaded("Form10"));
    EXPECT_EQ(status().Label6.Caption(), "");
    for (platform::TextBox* box : {&status().Text2, &status().Text3, &status().Text4, &status().Text1})
        EXPECT_EQ(box->Text(), "") << box->Name();
    EXPECT_EQ(status().Combo1.Text(), "select room");
    EXPECT_EQ(status().ActiveControl(), &status().Combo1);

    // With no room shown nothing is checked or written.
    status().Command3.UserClick();
    EXPECT_EQ(ReadBytes("rooms"), expected);
}

TEST_F(Form10Test, RefusesAnyOtherLetterWithoutWriting) {
    struct Case {
        const char* box;
        const char* typed;
    };
    const Case cases[] = {{"Text2", ""},  {"Text2", "o"}, {"Text2", "A"}, {"Text3", ""},  {"Text3", "x"},
                          {"Text3", "0"}, {"Text4", ""},  {"Text4", "y"}, {"Text4", "N"}, {"Text4", " "}};
    Open();
    for (const Case& c : cases) {
        Show("101  NQ1  ");
        auto& box = static_cast<platform::TextBox&>(*status().Find(c.box));
        Retype(box, c.typed);
        Retype(status().Text1, "changed");
        dialogs().Answer(platform::vbOK);
        status().Command3.UserClick();
        EXPECT_EQ(LastBox().title, "WARNING") << c.box << " \"" << c.typed << "\"";
        EXPECT_EQ(ReadBytes("rooms"), original) << c.box << " \"" << c.typed << "\"";
        EXPECT_EQ(status().ActiveControl(), &box) << c.box << " \"" << c.typed << "\"";
        EXPECT_EQ(status().Label6.Caption(), "101") << "the room stays shown";
    }
    ExpectNoPendingAnswers();
}

// Older files can hold letters the boxes would not take typed: left in their boxes as
// loaded, they are kept as stored while the rest of the room is saved.
TEST_F(Form10Test, LettersLeftAsLoadedAreKeptAsStored) {
    const char* stored[][3] = {{" ", " ", " "}, {"y", "n", "a"}, {"Y", "?", "X"}};
    for (const auto& letters : stored) {
        const auto room = [&](const char* comment) {
            return KeptRoom({.room = "104",
                             .type = "Q11",
                             .clean = letters[0],
                             .vacant = letters[1],
                             .service = letters[2],
                             .comment = comment});
        };
        records::WriteRoom(app().data(), 4, room(""));
        if (!IsLoaded("Form10"))
            Open();
        Show("104  Q11  ");
        Retype(status().Text1, "paint");
        status().Command3.UserClick();
        EXPECT_EQ(status().Label6.Caption(), "") << letters[0] << letters[1] << letters[2] << ": saved";
        EXPECT_EQ(ReadBytes("rooms"), original.substr(0, 3 * 115) + room("PAINT").Encode())
            << letters[0] << letters[1] << letters[2];
    }
}

TEST_F(Form10Test, RefusalTellsWhichLettersTheBoxTakes) {
    Open();
    Show("101  NQ1  ");
    Retype(status().Text4, "q");
    dialogs().Answer(platform::vbOK);
    status().Command3.UserClick();
    EXPECT_EQ(
        LastBox().prompt,
        "The Service code must be A (available), O (occupied) or X (out of order). Please type A, O or X.");
}

TEST_F(Form10Test, CancelSavesAndReturnsToTheFrontDesk) {
    Open();
    Show("12   SNQ3 ");
    status().Text3.UserClick(); // N to Y, shown only
    Retype(status().Text4, "a");
    status().Command1.UserClick();
    EXPECT_EQ(ReadBytes("rooms"), WithByte(WithByte(original, 2, kVacant, 'Y'), 2, kService, 'A'));
    ExpectBackAtFrontDesk();
}

TEST_F(Form10Test, CancelWithARefusedLetterStaysOpen) {
    Open();
    Show("101  NQ1  ");
    Retype(status().Text2, "");
    dialogs().Answer(platform::vbOK);
    status().Command1.UserClick();
    EXPECT_EQ(LastBox().title, "WARNING");
    EXPECT_TRUE(IsLoaded("Form10"));
    EXPECT_FALSE(IsLoaded("Form1"));
    EXPECT_EQ(ReadBytes("rooms"), original);
}

TEST_F(Form10Test, CancelWithNoRoomShownWritesNothing) {
    Open();
    status().Command1.UserClick();
    EXPECT_EQ(ReadBytes("rooms"), original);
    ExpectBackAtFrontDesk();
}

TEST_F(Form10Test, EscDiscardsWhatWasOnlyShown) {
    Open();
    Show("12   SNQ3 ");
    status().Text3.UserClick();
    Retype(status().Text1, "discard me");
    status().UserKey(platform::vbKeyEscape);
    EXPECT_EQ(ReadBytes("rooms"), original);
    ExpectBackAtFrontDesk();
}

TEST_F(Form10Test, SetAllRoomsToCleanOnYesOnly) {
    Open();
    EXPECT_EQ(Form<Form1>().Label6.Caption(), "1");
    dialogs().Answer(platform::vbNo);
    status().Command2.UserClick();
    EXPECT_EQ(LastBox().prompt, "Are you sure you want to make all rooms clean?");
    EXPECT_EQ(LastBox().title, "Set To Clean");
    EXPECT_EQ(ReadBytes("rooms"), original);
    ExpectBackAtFrontDesk();

    Form<Form1>().UserKey('v');
    dialogs().Answer(platform::vbYes);
    status().Command2.UserClick();
    EXPECT_EQ(ReadBytes("rooms"),
              WithByte(WithByte(WithByte(original, 2, kClean, 'Y'), 3, kClean, 'Y'), 4, kClean, 'Y'));
    ExpectBackAtFrontDesk();
    EXPECT_EQ(Form<Form1>().Label6.Caption(), "2") << "the board is rebuilt from the file";
}

TEST_F(Form10Test, CloseBoxBringsTheFrontDeskBack) {
    Open();
    Show("101  NQ1  ");
    Retype(status().Text2, "n");
    status().UserClose();
    EXPECT_EQ(ReadBytes("rooms"), original) << "the close box does not save";
    ExpectBackAtFrontDesk();
}

// Port 1 of the call-capture window is a pseudo-terminal here, so the port really opens.
TEST_F(Form10Test, LeavingClosesTheCallBoxPortAndUnloadsTheCaptureWindow) {
    testing::PseudoTerminal callBox;
    ASSERT_TRUE(callBox.Opened());
    const std::string device = callBox.device();
    Form50& calls = Form<Form50>();
    calls.MSComm1.SetDevices([device](int port) { return port == 1 ? device : std::string(); });

    Open();
    ASSERT_TRUE(calls.MSComm1.PortOpen());
    std::vector<std::string> unloaded;
    bool openWhenUnloaded = true;
    app().on_unloaded = [&](platform::Form& form) {
        unloaded.push_back(form.Name());
        if (form.Name() == "Form50")
            openWhenUnloaded = calls.MSComm1.PortOpen();
    };
    status().UserKey(platform::vbKeyEscape);
    app().on_unloaded = nullptr;

    EXPECT_EQ(unloaded, (std::vector<std::string>{"Form50", "Form10"}));
    EXPECT_FALSE(openWhenUnloaded);
    EXPECT_TRUE(IsLoaded("Form50")) << "the front desk loads it again";
    EXPECT_TRUE(calls.MSComm1.PortOpen());
    calls.MSComm1.SetPortOpen(false);
}

} // namespace
} // namespace vantreth
