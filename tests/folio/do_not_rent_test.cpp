// The Do Not Rent List window: opened from the main menu in place of the front desk, adding
// a name with the Enter walk, taking one off after "Take Off?", the inputs that must write
// nothing, and the ways out, which all bring the front desk back.
#include "support/app_fixture.h"

#include "folio/form46.h"
#include "frontdesk/form1.h"
#include "frontdesk/form12.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/norent_record.h"
#include "records/settings_files.h"

#include <functional>
#include <string>
#include <vector>

namespace vantreth {
namespace {

using platform::vbKeyEscape;
using platform::vbKeyReturn;

const std::string kTakeOff = "Do you want this person taken off of the no rent list?";

std::string Image(const std::string& last, const std::string& first) {
    return platform::Fixed(last, 15) + platform::Fixed(first, 15) + std::string(50, '\0');
}
const std::string kHole = std::string(30, ' ') + std::string(50, '\0');

class DoNotRentTest : public testing::AppFixture {
protected:
    DoNotRentTest() {
        SetNow(12, 6, 2026, 9, 0, 0);
        records::WriteIntroFlag(app().data(), 1.0f);
    }
    Form46& list() { return Form<Form46>(); }
    std::string Stored() const { return ReadBytes(std::string(records::kNoRentFile)); }
    void Store(const std::string& bytes) const { WriteBytes(std::string(records::kNoRentFile), bytes); }

    // Front desk, "Main Menu", "Do Not Rent To.....".
    void Open() {
        StartProgram();
        Form<Form1>().Command3.UserClick();
        Form<Form12>().Command8.UserClick();
        ASSERT_TRUE(list().Loaded());
    }
    void AddByClerk(const std::string& last, const std::string& first) {
        list().Command2.UserClick();
        list().Text1.UserTypeText(last);
        list().UserKey(vbKeyReturn);
        list().Text2.UserTypeText(first);
        list().UserKey(vbKeyReturn);
        list().Command3.UserClick();
    }
    bool EntryHidden() {
        return !list().Text1.Visible() && !list().Text2.Visible() && !list().Label3.Visible() &&
               !list().Label4.Visible() && !list().Command3.Visible();
    }
    std::vector<std::string> Lines() { return list().List1.Items(); }
};

TEST_F(DoNotRentTest, OpensInPlaceOfTheFrontDeskListingLiveNamesWithTheEntryHidden) {
    Store(Image("SMITH", "JOHN") + kHole + Image(" DOE", "JANE ") + Image("LEE", ""));
    Open();
    EXPECT_FALSE(IsLoaded("Form1"));
    EXPECT_FALSE(IsLoaded("Form12"));
    EXPECT_TRUE(list().Visible());
    EXPECT_EQ(list().Caption(), "Do Not Rent List");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"SMITH JOHN", "DOE JANE", "LEE "}));
    EXPECT_TRUE(EntryHidden());
}

TEST_F(DoNotRentTest, AddWalksLastFirstAddNowByEnterAndStoresTheNamesAsTyped) {
    Store(Image("DOE", "JANE"));
    Open();
    list().Command2.UserClick();
    EXPECT_TRUE(list().Text1.Visible() && list().Text2.Visible() && list().Label3.Visible() &&
                list().Label4.Visible() && list().Command3.Visible());
    EXPECT_EQ(list().ActiveControl(), &list().Text1);

    list().Text1.UserTypeText("smith");
    list().UserKey(vbKeyReturn);
    EXPECT_EQ(list().ActiveControl(), &list().Text2);
    EXPECT_EQ(list().Text1.Text(), "smith") << "Enter is consumed";
    list().Text2.UserTypeText("john");
    list().UserKey(vbKeyReturn);
    EXPECT_EQ(list().ActiveControl(), &list().Command3);
    list().Command3.UserClick();

    EXPECT_EQ(Stored(), Image("DOE", "JANE") + Image("smith", "john"));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"DOE JANE", "smith john"}));
    EXPECT_TRUE(EntryHidden());
    EXPECT_EQ(list().Text1.Text(), "");
    EXPECT_EQ(list().Text2.Text(), "");
    // The check-in finds the name only when it is typed the same way.
    EXPECT_EQ(records::NoRentMatches(app().data(), "smith", "john"), 1);
    EXPECT_EQ(records::NoRentMatches(app().data(), "SMITH", "JOHN"), 0);
}

TEST_F(DoNotRentTest, NameBoxesTakeNoMoreThanTheFifteenCharactersStored) {
    Open();
    AddByClerk("BARTHOLOMEW-JONES", "MARYELIZABETHANN");
    EXPECT_EQ(Stored(), Image("BARTHOLOMEW-JON", "MARYELIZABETHAN"));
    EXPECT_EQ(records::NoRentMatches(app().data(), "BARTHOLOMEW-JON", "MARYELIZABETHAN"), 1);
}

TEST_F(DoNotRentTest, AddNowWithoutALastNameWritesNothingAndShowsNoBox) {
    for (const std::string& last : std::vector<std::string>{"", "   "}) {
        Restart();
        Store(Image("DOE", "JANE"));
        Open();
        AddByClerk(last, "JOHN");
        EXPECT_EQ(Stored(), Image("DOE", "JANE")) << "last name '" << last << "'";
        EXPECT_EQ(Lines(), std::vector<std::string>{"DOE JANE"}) << "last name '" << last << "'";
        EXPECT_TRUE(EntryHidden()) << "last name '" << last << "'";
        EXPECT_TRUE(dialogs().shown().empty()) << "last name '" << last << "'";
    }
}

TEST_F(DoNotRentTest, TakeOffAsksThenBlanksTheEntryInPlaceAndAddingAfterwardsAppends) {
    Store(Image("SMITH", "JOHN") + Image("DOE", "JANE"));
    Open();
    dialogs().Answer(platform::vbYes);
    list().List1.UserDblClick(0);
    EXPECT_EQ(LastBox().prompt, kTakeOff);
    EXPECT_EQ(LastBox().title, "Take Off?");
    EXPECT_EQ(LastBox().style, platform::vbYesNo | platform::vbQuestion);
    EXPECT_EQ(Stored(), kHole + Image("DOE", "JANE"));
    EXPECT_EQ(Lines(), std::vector<std::string>{"DOE JANE"});

    AddByClerk("SMITH", "JOHN");
    EXPECT_EQ(Stored(), kHole + Image("DOE", "JANE") + Image("SMITH", "JOHN"));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"DOE JANE", "SMITH JOHN"}));
    ExpectNoPendingAnswers();
}

TEST_F(DoNotRentTest, AnsweringNoLeavesTheFileAndTheListAlone) {
    const std::string stored = Image("SMITH", "JOHN") + Image("DOE", "JANE");
    Store(stored);
    Open();
    dialogs().Answer(platform::vbNo);
    list().List1.UserDblClick(1);
    EXPECT_EQ(LastBox().prompt, kTakeOff);
    EXPECT_EQ(Stored(), stored);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"SMITH JOHN", "DOE JANE"}));
}

TEST_F(DoNotRentTest, OfTwoEqualEntriesTheFirstIsTakenOffAndTheOtherStillShows) {
    Store(Image("SMITH", "JOHN") + Image("DOE", "JANE") + Image("SMITH", "JOHN"));
    Open();
    dialogs().Answer(platform::vbYes);
    list().List1.UserDblClick(2);
    EXPECT_EQ(Stored(), kHole + Image("DOE", "JANE") + Image("SMITH", "JOHN"));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"DOE JANE", "SMITH JOHN"}));
}

TEST_F(DoNotRentTest, TakingOffOneOfTwoPeopleWithTheSameLineTakesOffThatPerson) {
    Store(Image("VAN", "DER BERG") + Image("VAN DER", "BERG"));
    Open();
    ASSERT_EQ(Lines(), (std::vector<std::string>{"VAN DER BERG", "VAN DER BERG"}));
    dialogs().Answer(platform::vbYes);
    list().List1.UserDblClick(1);
    EXPECT_EQ(Stored(), Image("VAN", "DER BERG") + kHole);
    EXPECT_EQ(records::NoRentMatches(app().data(), "VAN", "DER BERG"), 1);
}

TEST_F(DoNotRentTest, ANameNoLongerInTheFileWritesNothingAndTheListIsRebuilt) {
    Store(Image("SMITH", "JOHN"));
    Open();
    const std::string changed = kHole + Image("LEE", "ANN");
    Store(changed);
    dialogs().Answer(platform::vbYes);
    list().List1.UserDblClick(0);
    EXPECT_EQ(Stored(), changed);
    EXPECT_EQ(Lines(), std::vector<std::string>{"LEE ANN"});
}

TEST_F(DoNotRentTest, ADoubleClickWithNoNameChosenAsksNothingAndWritesNothing) {
    const std::string stored = Image("SMITH", "JOHN");
    Store(stored);
    Open();
    ASSERT_EQ(list().List1.ListIndex(), -1);
    app().Dispatch([&] { list().List1.on_dbl_click(); });
    EXPECT_TRUE(dialogs().shown().empty());
    EXPECT_EQ(Stored(), stored);
    EXPECT_EQ(Lines(), std::vector<std::string>{"SMITH JOHN"});
}

TEST_F(DoNotRentTest, EveryWayOutBringsTheFrontDeskBack) {
    struct Way {
        const char* name;
        std::function<void(Form46&)> leave;
    };
    const Way ways[] = {
        {"Cancel / Esc button", [](Form46& f) { f.Command1.UserClick(); }},
        {"close box", [](Form46& f) { f.UserClose(); }},
        {"Esc in the list", [](Form46& f) { f.List1.UserKey(vbKeyEscape); }},
        {"Esc in the last-name box",
         [](Form46& f) {
             f.Command2.UserClick();
             f.Text1.UserType(vbKeyEscape);
         }},
    };
    for (const Way& way : ways) {
        Restart();
        Open();
        way.leave(list());
        EXPECT_FALSE(IsLoaded("Form46")) << way.name;
        EXPECT_TRUE(IsLoaded("Form1")) << way.name;
        EXPECT_TRUE(Form<Form1>().Visible()) << way.name;
        EXPECT_FALSE(IsLoaded("Form12")) << way.name;
        EXPECT_FALSE(app().Ended()) << way.name;
    }
}

TEST_F(DoNotRentTest, EntryIsHiddenAgainWhenTheWindowIsOpenedAgain) {
    Open();
    list().Command2.UserClick();
    list().Text1.UserTypeText("HALF");
    list().Command1.UserClick();
    Form<Form1>().Command3.UserClick();
    Form<Form12>().Command8.UserClick();
    EXPECT_TRUE(EntryHidden());
    EXPECT_EQ(list().Text1.Text(), "");
    EXPECT_EQ(Stored(), "");
}

} // namespace
} // namespace vantreth
