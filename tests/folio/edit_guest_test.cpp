// Edit Guest: the checks before a save, the record written back byte for byte, the stay's
// ledger carried to the file of a corrected name, and the folio window's labels and room
// list that follow the boxes.
#include "support/app_fixture.h"
#include "support/builders.h"

#include "folio/edit_guest.h"
#include "folio/form4.h"
#include "folio/form9.h"
#include "platform/text.h"
#include "records/arrivals.h"
#include "records/direct_bill.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/posting_codes.h"
#include "records/room_record.h"
#include "records/settings_files.h"
#include "records/shift_record.h"
#include "records/stay_ledger.h"

#include <filesystem>
#include <string>
#include <vector>

namespace vantreth {
namespace {

using platform::Fixed;
using testing::AppFixture;
using testing::LedgerLine;
using testing::RegisteredGuest;

constexpr size_t kGuestLength = records::GuestRecord::kLength;

GuestEdit ValidEdit() {
    GuestEdit edit;
    edit.lastName = "SMITH";
    edit.firstName = "ANN";
    edit.departure = "12/8/26";
    edit.payCode = "L";
    edit.rate = "45.5";
    edit.adults = "2";
    edit.children = "0";
    return edit;
}

std::optional<EditProblem> ProblemOf(const GuestEdit& edit) {
    return CheckGuestEdit(edit, 2026, [](const std::string& code) { return code == "1234"; }).problem;
}

TEST(EditGuestCheckTest, DepartureDateMustBeWrittenAsTheSystemWritesDates) {
    struct Case {
        const char* date;
        std::optional<EditProblem> problem;
    };
    const Case cases[] = {
        {"1/5/04", std::nullopt},
        {"12/25/04", std::nullopt},
        {"1/10/04", std::nullopt},
        {"10/5/04", std::nullopt},
        {"1/05/04", EditProblem::ZeroDay},
        {"12/05/26", EditProblem::ZeroDay},
        {"01/5/04", EditProblem::ZeroMonth},
        {"", EditProblem::NoDeparture},
        {"/1/5/04", EditProblem::BadDateFormat},
        {"1//5", EditProblem::BadDateFormat},
        {"13/45/04", EditProblem::NotADate},
        {"2/30/27", EditProblem::NotADate},
        {"1/5/2004", EditProblem::NotADate},
        {" 1/5/04", EditProblem::NotADate},
        {"1/5", EditProblem::NotADate},
        {"tomorrow", EditProblem::NotADate},
    };
    for (const Case& c : cases) {
        GuestEdit edit = ValidEdit();
        edit.departure = c.date;
        EXPECT_EQ(ProblemOf(edit), c.problem) << "departure \"" << c.date << "\"";
    }
}

TEST(EditGuestCheckTest, RatePayCodeAccountNamesAndCountsAreCheckedInOrder) {
    struct Case {
        const char* what;
        void (*change)(GuestEdit&);
        std::optional<EditProblem> problem;
    };
    const Case cases[] = {
        {"rate empty", [](GuestEdit& e) { e.rate = ""; }, EditProblem::NoRate},
        {"rate empty before a bad date", [](GuestEdit& e) { e.rate = "", e.departure = "01/5/04"; },
         EditProblem::NoRate},
        {"rate a word", [](GuestEdit& e) { e.rate = "forty"; }, EditProblem::BadRate},
        {"rate blanks", [](GuestEdit& e) { e.rate = "  "; }, EditProblem::BadRate},
        {"rate negative", [](GuestEdit& e) { e.rate = "-5"; }, EditProblem::BadRate},
        {"no pay code", [](GuestEdit& e) { e.payCode = ""; }, EditProblem::NoPayCode},
        {"pay code M.", [](GuestEdit& e) { e.payCode = "M."; }, EditProblem::BadPayCode},
        {"pay code X", [](GuestEdit& e) { e.payCode = "X"; }, EditProblem::BadPayCode},
        {"Q without account", [](GuestEdit& e) { e.payCode = "Q"; }, EditProblem::NoDirectBill},
        {"unknown account", [](GuestEdit& e) { e.dbNumber = "9999"; }, EditProblem::BadDirectBill},
        {"account with a blank", [](GuestEdit& e) { e.dbNumber = "1234 "; }, EditProblem::BadDirectBill},
        {"Q with account", [](GuestEdit& e) { e.payCode = "Q", e.dbNumber = "1234"; }, std::nullopt},
        {"names blank", [](GuestEdit& e) { e.lastName = " ", e.firstName = ""; }, EditProblem::NoName},
        {"last name only", [](GuestEdit& e) { e.firstName = ""; }, std::nullopt},
        {"slash in last name", [](GuestEdit& e) { e.lastName = "O/BRIEN"; }, EditProblem::BadLastName},
        {"backslash in last name", [](GuestEdit& e) { e.lastName = "O\\BRIEN"; }, EditProblem::BadLastName},
        {"quote in first name", [](GuestEdit& e) { e.firstName = "A\"NN"; }, EditProblem::BadFirstName},
        {"tab in first name", [](GuestEdit& e) { e.firstName = "A\tNN"; }, EditProblem::BadFirstName},
        {"apostrophe and blank", [](GuestEdit& e) { e.lastName = "O'NEIL", e.firstName = "ANN MARIE"; },
         std::nullopt},
        {"adults a word", [](GuestEdit& e) { e.adults = "two"; }, EditProblem::BadAdults},
        {"adults empty", [](GuestEdit& e) { e.adults = ""; }, std::nullopt},
        {"children a word", [](GuestEdit& e) { e.children = "x"; }, EditProblem::BadChildren},
    };
    for (const Case& c : cases) {
        GuestEdit edit = ValidEdit();
        c.change(edit);
        EXPECT_EQ(ProblemOf(edit), c.problem) << c.what;
    }
}

TEST(EditGuestCheckTest, AccountIsLookedUpOnlyWhenACodeIsTyped) {
    int asked = 0;
    auto lookup = [&](const std::string& code) {
        ++asked;
        return code == "1234";
    };
    GuestEdit edit = ValidEdit();
    EXPECT_FALSE(CheckGuestEdit(edit, 2026, lookup).accountFound);
    EXPECT_EQ(asked, 0);

    edit.dbNumber = "1234";
    const EditCheck found = CheckGuestEdit(edit, 2026, lookup);
    EXPECT_TRUE(found.accountFound) << "pay code L with a valid account becomes a direct-bill stay";
    EXPECT_FALSE(found.problem.has_value());
    EXPECT_EQ(asked, 1);
}

TEST(EditGuestRecordTest, SaveUpperCasesSomeFieldsAndKeepsTheOnesNotShown) {
    const records::GuestRecord before = RegisteredGuest("104", "SMITH", "ANN");
    GuestEdit edit = EditFromRecord(before);
    edit.lastName = "smith-jones";
    edit.firstName = "ann";
    edit.company = "new co";
    edit.street = "2 elm st";
    edit.city = "dayton";
    edit.state = "oh";
    edit.zip = "45402a";
    edit.phone = "555-99x";
    edit.regCard = "ab12";
    edit.comment = "late";
    edit.departure = "12/9/26";
    edit.payCode = "N";
    edit.cardNumber = "4111 visa";
    edit.cardExpiry = "1/28";
    edit.rate = "39.95";
    edit.adults = "3";
    edit.children = "";

    records::GuestRecord expected = before;
    expected.LastName = Fixed("SMITH-JONES", 15);
    expected.FirstName = Fixed("ANN", 15);
    expected.Company = Fixed("NEW CO", 20);
    expected.Street = Fixed("2 ELM ST", 25);
    expected.City = Fixed("DAYTON", 20);
    expected.State = "OH";
    expected.Zip = "45402a";
    expected.Phone = Fixed("555-99x", 15);
    expected.RegCard = Fixed("ab12", 6);
    expected.Comment = Fixed("LATE", 160);
    expected.DepartureDate = Fixed("12/9/26", 10);
    expected.PayCode = "N";
    expected.CardNumber = Fixed("4111 visa", 40);
    expected.CardExpiry = Fixed("1/28", 10);
    expected.Rate = 39.95f;
    expected.Adults = 3;
    expected.Children = 0;
    EXPECT_EQ(ApplyGuestEdit(before, edit), expected);

    edit.lastName = "abcdefghijklmnopq";
    EXPECT_EQ(ApplyGuestEdit(before, edit).LastName, "ABCDEFGHIJKLMNO") << "cut to the field";
}

class EditGuestTest : public AppFixture {
protected:
    static constexpr const char* kAnnLedger = "dailycharge/dailycharge104SMITHANN12526";
    static constexpr const char* kAnneLedger = "dailycharge/dailycharge104SMITHANNE12526";

    EditGuestTest() {
        records::WriteIntroFlag(app().data(), 1.0f);
        records::WriteShift(app().data(), {"A", "JD"});
        records::WriteTaxRate(app().data(), 0.1);
        SetNow(12, 6, 2026, 14, 5, 9);

        records::DirectBillAccount account;
        account.CompanyName = Fixed("ACME TOOLS", 80);
        account.DBNumber = Fixed("1234", 7);
        account.Balance = 100.5f;
        records::AppendAccount(app().data(), account);

        records::WriteGuest(app().data(), records::kGuestFile, 1, RegisteredGuest("101", "JONES", "MARY"));
        ann = RegisteredGuest("104", "SMITH", "ANN");
        records::WriteGuest(app().data(), records::kGuestFile, 2, ann);
        const auto ledger = records::StayLedgerPath(app().data(), ann);
        records::AppendStayLedgerLine(ledger, LedgerLine("104", "E", "ROOM RENT", 45.5f));
        records::AppendStayLedgerLine(ledger, LedgerLine("104", "J", "PET, SMALL DOG", 10));
        records::AppendStayLedgerLine(ledger, LedgerLine("104", "L", "CASH REC.", 20.25f));
        annLedger = ReadBytes(kAnnLedger);
        guests = ReadBytes("guest");
    }

    Form4& folio() { return Form<Form4>(); }
    Form9& edit() { return Form<Form9>(); }

    // The folio window shows room 104 and the clerk clicks "Edit Guest Info.".
    void Open() {
        app().Dispatch([&] { app().Load(folio()); });
        folio().Text3.UserTypeText("104");
        folio().Text3.UserType(platform::vbKeyReturn);
        ASSERT_EQ(folio().Label8.Caption(), "104");
        folio().Command5.UserClick();
        ASSERT_TRUE(IsLoaded("Form9"));
    }

    std::string Slot(long n) {
        return ReadBytes("guest").substr(static_cast<size_t>(n - 1) * kGuestLength, kGuestLength);
    }

    records::GuestRecord ann;
    std::string annLedger;
    std::string guests;
};

TEST_F(EditGuestTest, LoadFillsTheBoxesFromTheStayOnShow) {
    Open();
    EXPECT_EQ(app().gSelectedRoom, "104");
    EXPECT_EQ(edit().Text9.Text(), "SMITH");
    EXPECT_EQ(edit().Text10.Text(), "ANN");
    EXPECT_EQ(edit().Text11.Text(), "ACME");
    EXPECT_EQ(edit().Text14.Text(), "IL");
    EXPECT_EQ(edit().Text18.Text(), "2");
    EXPECT_EQ(edit().Text19.Text(), "1");
    EXPECT_EQ(edit().Text20.Text(), "QUIET ROOM");
    EXPECT_EQ(edit().Text5.Text(), "12/8/26");
    EXPECT_EQ(edit().Text1.Text(), "L");
    EXPECT_EQ(edit().Text2.Text(), "");
    EXPECT_EQ(edit().Text3.Text(), "none");
    EXPECT_EQ(edit().Text6.Text(), "45.5");
    EXPECT_EQ(edit().Label25.Caption(), "104");
    EXPECT_EQ(edit().Label6.Caption(), "12/5/26   ");
    EXPECT_EQ(edit().Label24.Caption(), "3:45:12 PM");
    EXPECT_EQ(edit().Label1.Caption(), "JD");
    EXPECT_EQ(edit().Label26.Caption(), "L");
    EXPECT_EQ(app().gEditOldLast, "SMITH");
    EXPECT_EQ(app().gEditOldFirst, "ANN");
    EXPECT_TRUE(edit().Text9.HasFocus());
    EXPECT_TRUE(IsLoaded("Form4"));
}

TEST_F(EditGuestTest, ChangingTheCompanyRewritesTheRecordAndKeepsTheLedger) {
    Open();
    folio().Combo1.SetText("104 SMITH ANN");
    Retype(edit().Text11, "new co");
    edit().Command1.UserClick();

    EXPECT_FALSE(IsLoaded("Form9"));
    records::GuestRecord expected = ann;
    expected.Company = Fixed("NEW CO", 20);
    EXPECT_EQ(Slot(2), expected.Encode());
    EXPECT_EQ(ReadBytes("guest").substr(0, kGuestLength), guests.substr(0, kGuestLength))
        << "other slot untouched";
    EXPECT_EQ(ReadBytes("guest").size(), guests.size());
    EXPECT_EQ(ReadBytes(kAnnLedger), annLedger);
    EXPECT_FALSE(Exists(kAnneLedger));
    EXPECT_EQ(folio().Combo1.Text(), "104 SMITH ANN") << "the list is not rebuilt";
    EXPECT_EQ(folio().Label1.Caption(), "SMITH, ANN");
}

TEST_F(EditGuestTest, ChangingTheFirstNameCarriesEveryLedgerLineToTheNewName) {
    Open();
    Retype(edit().Text10, "anne");
    edit().Command1.UserClick();

    EXPECT_FALSE(IsLoaded("Form9"));
    records::GuestRecord expected = ann;
    expected.FirstName = Fixed("ANNE", 15);
    EXPECT_EQ(Slot(2), expected.Encode());
    EXPECT_FALSE(Exists(kAnnLedger));
    EXPECT_EQ(ReadBytes(kAnneLedger), annLedger);
    EXPECT_EQ(records::ReadStayLedger(records::StayLedgerPath(app().data(), expected)).size(), 3u);

    EXPECT_EQ(folio().Label1.Caption(), "SMITH, anne") << "as typed";
    EXPECT_EQ(folio().Combo1.Items(), (std::vector<std::string>{"101 JONES MARY", "104 SMITH ANNE"}));
    EXPECT_EQ(folio().Combo1.Text(), "Select Room");

    // The folio window finds the stay's lines under the new name.
    ASSERT_TRUE(folio().Combo1.UserPick("104 SMITH ANNE"));
    EXPECT_EQ(folio().List1.ListCount(), 5);
    EXPECT_EQ(folio().Label18.Caption(), "39.8");
}

TEST_F(EditGuestTest, RetypingTheSameNameInLowerCaseIsNoNameChange) {
    Open();
    Retype(edit().Text9, "smith  ");
    Retype(edit().Text10, "ann");
    folio().Combo1.SetText("104 SMITH ANN");
    edit().Command1.UserClick();

    EXPECT_FALSE(IsLoaded("Form9"));
    EXPECT_EQ(Slot(2), ann.Encode());
    EXPECT_EQ(ReadBytes(kAnnLedger), annLedger);
    EXPECT_EQ(folio().Combo1.Text(), "104 SMITH ANN") << "the list is not rebuilt";
    EXPECT_EQ(folio().Label1.Caption(), "SMITH, ANN");
}

// The record keeps only 15 characters of a name, so the ledger is named from the record as
// stored, not from the whole typed name.
TEST_F(EditGuestTest, ALongNameIsCutInTheLedgerNameAsInTheRecord) {
    Open();
    Retype(edit().Text9, "smithersonjohnson");
    edit().Command1.UserClick();

    ASSERT_FALSE(IsLoaded("Form9"));
    EXPECT_EQ(records::ReadGuest(app().data(), records::kGuestFile, 2).LastName, "SMITHERSONJOHNS");
    EXPECT_EQ(ReadBytes("dailycharge/dailycharge104SMITHERSONJOHNSANN12526"), annLedger);
    EXPECT_FALSE(Exists(kAnnLedger));
    ASSERT_TRUE(folio().Combo1.UserPick("104 SMITHERSONJOHNS ANN"));
    EXPECT_EQ(folio().Label18.Caption(), "39.8");
}

TEST_F(EditGuestTest, ANameWhoseLedgerNameIsTakenIsRefusedBeforeAnythingIsWritten) {
    // A past stay of ANNE in the same room with the same arrival date, kept for reprints.
    records::AppendStayLedgerLine(OnDisk(kAnneLedger), LedgerLine("104", "E", "ROOM RENT", 60));
    const std::string anneLedger = ReadBytes(kAnneLedger);
    Open();
    Retype(edit().Text10, "ANNE");
    dialogs().Answer(platform::vbOK);
    edit().Command1.UserClick();

    EXPECT_EQ(LastBox().title, "WARNING");
    EXPECT_EQ(LastBox().prompt,
              "Another folio named dailycharge104SMITHANNE12526 already exists. Nothing was "
              "saved, so that the two folios are not mixed.");
    EXPECT_TRUE(IsLoaded("Form9"));
    EXPECT_TRUE(edit().Text9.HasFocus());
    EXPECT_EQ(ReadBytes("guest"), guests);
    EXPECT_EQ(ReadBytes(kAnnLedger), annLedger);
    EXPECT_EQ(ReadBytes(kAnneLedger), anneLedger);
}

TEST_F(EditGuestTest, ANameChangeWithoutALedgerIsRefused) {
    Open();
    std::filesystem::remove(DataFile(kAnnLedger));
    Retype(edit().Text10, "ANNE");
    dialogs().Answer(platform::vbOK);
    edit().Command1.UserClick();

    EXPECT_EQ(LastBox().prompt,
              "The folio of this guest (dailycharge104SMITHANN12526) could not be found, so the "
              "name cannot be changed. Nothing was saved.");
    EXPECT_TRUE(IsLoaded("Form9"));
    EXPECT_EQ(ReadBytes("guest"), guests);
    EXPECT_FALSE(Exists(kAnneLedger));
}

TEST_F(EditGuestTest, EachRefusedSaveSaysWhyPutsTheFocusBackAndWritesNothing) {
    struct Case {
        platform::TextBox Form9::*box;
        const char* text;
        const char* message;
        platform::TextBox Form9::*focus;
    };
    const Case cases[] = {
        {&Form9::Text6, "", "The rate is blank. Please enter a rate.", &Form9::Text6},
        {&Form9::Text6, "4O.00",
         "The rate is not a number. Please enter the rate in dollars, for example 45.50.", &Form9::Text6},
        {&Form9::Text5, "12/09/26",
         "Do not put an 0 before the day of the month. For example, it would be 1/5/04 not 1/05/04. Please "
         "Fix.",
         &Form9::Text5},
        {&Form9::Text5, "01/9/26",
         "Do not put an 0 at the beginning of the month. For example, it would be 1/5/04 not 01/5/04. Please "
         "Fix.",
         &Form9::Text5},
        {&Form9::Text5, "", "The Departure date is missing. Please enter a departure date.", &Form9::Text5},
        {&Form9::Text5, "12/5/26", records::kDepartureNotAfterArrival, &Form9::Text5}, // the arrival
        {&Form9::Text5, "12/1/26", records::kDepartureNotAfterArrival, &Form9::Text5},
        {&Form9::Text6, "45.505", records::kCentsMessage, &Form9::Text6},
        {&Form9::Text6, "150000.01", records::kAmountTooLargeMessage, &Form9::Text6},
        {&Form9::Text5, "1//5", "The Date format is wrong. Please fix.", &Form9::Text5},
        {&Form9::Text5, "13/45/26",
         "The Departure date is not a real date. Please type it as month/day/year, for example 1/5/04.",
         &Form9::Text5},
        {&Form9::Text1, "", "There is no paycode chosen.", &Form9::Text1},
        {&Form9::Text1, "Q", "You did not enter a direct bill number.", &Form9::Text2},
        {&Form9::Text2, "77", "The Direct Bill number you entered is not a valid DB number.", &Form9::Text2},
        {&Form9::Text9, "", "The last and first names are both blank. Please enter the guest's name.",
         &Form9::Text9},
        {&Form9::Text9, "O/BRIEN", "The last name cannot hold / \\ \" or control characters. Please fix.",
         &Form9::Text9},
        {&Form9::Text10, "A\"N", "The first name cannot hold / \\ \" or control characters. Please fix.",
         &Form9::Text10},
        {&Form9::Text18, "two", "The number of adults is not a number. Please fix.", &Form9::Text18},
        {&Form9::Text19, "1-", "The number of children is not a number. Please fix.", &Form9::Text19},
    };
    Open();
    for (const Case& c : cases) {
        const GuestEdit loaded = EditFromRecord(ann);
        Form9& w = edit();
        // Start each case from the record as loaded.
        Retype(w.Text9, loaded.lastName);
        Retype(w.Text10, c.box == &Form9::Text9 && std::string(c.text).empty() ? "" : loaded.firstName);
        Retype(w.Text6, loaded.rate);
        Retype(w.Text5, loaded.departure);
        Retype(w.Text1, loaded.payCode);
        Retype(w.Text18, loaded.adults);
        Retype(w.Text19, loaded.children);
        Retype(w.*c.box, c.text);
        dialogs().Answer(platform::vbOK);
        w.Command1.UserClick();

        EXPECT_EQ(LastBox().prompt, c.message) << (w.*c.box).Name() << " \"" << c.text << "\"";
        EXPECT_EQ(LastBox().title, "WARNING") << c.text;
        EXPECT_TRUE((w.*c.focus).HasFocus()) << c.text << ": focus on " << (w.*c.focus).Name();
        EXPECT_TRUE(IsLoaded("Form9")) << c.text;
        EXPECT_EQ(ReadBytes("guest"), guests) << c.text;
        EXPECT_EQ(ReadBytes(kAnnLedger), annLedger) << c.text;
    }
    ExpectNoPendingAnswers();
}

// A stay whose stored rate has parts of a cent, or is beyond what a Single keeps to the cent,
// is edited like any other: the rate box left as loaded is not judged, and the record keeps
// the stored Single byte for byte.
// So are a rate and counts below zero and a departure with a leading zero, which older files
// can hold, and a count no box text gives back exactly.
TEST_F(EditGuestTest, ARateLeftAsLoadedIsNotJudgedAndKeepsItsBytes) {
    struct Stored {
        float rate, adults, children;
        const char* departure = nullptr; // none: the stay's own
    };
    const Stored cases[] = {{53.955f, 2, 0},       {44.955f, 2, 0}, {12345.678f, 2, 0},
                            {150000.02f, 2, 0},    {-10, 2, 0},     {45, -1, -1.23456789f},
                            {45, 2, 0, "12/08/26"}};
    for (const auto& [rate, adults, children, departure] : cases) {
        records::GuestRecord stored = ann;
        stored.Rate = rate;
        stored.Adults = adults;
        stored.Children = children;
        if (departure != nullptr)
            stored.DepartureDate = Fixed(departure, 10);
        records::WriteGuest(app().data(), records::kGuestFile, 2, stored);
        Open();
        Retype(edit().Text16, "555-0100");
        edit().Command1.UserClick();
        EXPECT_FALSE(IsLoaded("Form9")) << rate << ": " << LastBox().prompt;
        records::GuestRecord expected = stored;
        expected.Phone = Fixed("555-0100", 15);
        EXPECT_EQ(Slot(2), expected.Encode()) << rate;
    }
}

// The rate box shows the stored rate to the cent at any amount a record keeps to the cent.
TEST_F(EditGuestTest, TheRateBoxShowsALargeRateToTheCent) {
    for (const auto& [rate, shown] :
         {std::pair{100000.01f, "100000.01"}, {131071.99f, "131071.99"}, {112345.68f, "112345.68"}}) {
        records::GuestRecord stored = ann;
        stored.Rate = rate;
        records::WriteGuest(app().data(), records::kGuestFile, 2, stored);
        Open();
        EXPECT_EQ(edit().Text6.Text(), shown);
        app().Dispatch([&] { app().Unload(edit()); });
    }
}

TEST_F(EditGuestTest, AnInvalidPayCodeEmptiesTheBox) {
    Open();
    Retype(edit().Text1, "m.", "M.");
    dialogs().Answer(platform::vbOK);
    edit().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt, "The paycode is invalid. Please change to a valid paycode.");
    EXPECT_EQ(edit().Text1.Text(), "");
    EXPECT_TRUE(edit().Text1.HasFocus());
    EXPECT_EQ(folio().Label7.Caption(), "");
    EXPECT_EQ(ReadBytes("guest"), guests);
}

TEST_F(EditGuestTest, PayCodeAndDepartureBoxesAreMirroredInTheFolioWindow) {
    Open();
    Retype(edit().Text1, "m", "M"); // the box upper-cases itself
    EXPECT_EQ(folio().Label7.Caption(), "M");
    Retype(edit().Text5, "12/10/26");
    EXPECT_EQ(folio().Label11.Caption(), "12/10/26");
    edit().Command1.UserClick();

    records::GuestRecord expected = ann;
    expected.PayCode = "M";
    expected.DepartureDate = Fixed("12/10/26", 10);
    EXPECT_EQ(Slot(2), expected.Encode());
}

TEST_F(EditGuestTest, PayCodeBoxEmptiesTheAccountCodeExceptForCapitalQ) {
    Open();
    Retype(edit().Text2, "1234");
    edit().Text1.UserClick();
    EXPECT_EQ(edit().Text1.Text(), "") << "a click empties the pay code";
    edit().Text1.UserType('Q');
    EXPECT_EQ(edit().Text2.Text(), "1234");
    edit().Text1.UserType(platform::vbKeyBack);
    EXPECT_EQ(edit().Text2.Text(), "");
    Retype(edit().Text2, "1234");
    edit().Text1.UserType('q');
    EXPECT_EQ(edit().Text2.Text(), "") << "lower-case q is another key";
    EXPECT_EQ(edit().Text1.Text(), "Q");
}

TEST_F(EditGuestTest, AValidAccountCodeMakesTheStayADirectBillStay) {
    Open();
    Retype(edit().Text2, "1234");
    EXPECT_EQ(edit().Text1.Text(), "L");
    edit().Command1.UserClick();

    records::GuestRecord expected = ann;
    expected.PayCode = "Q";
    expected.DBNumber = Fixed("1234", 8);
    EXPECT_EQ(Slot(2), expected.Encode());
    EXPECT_EQ(folio().Label7.Caption(), "Q");
}

TEST_F(EditGuestTest, DirectBillLabelsAreHiddenWhenThePayCodeLeavesQ) {
    ann.PayCode = "Q";
    ann.DBNumber = Fixed("1234", 8);
    records::WriteGuest(app().data(), records::kGuestFile, 2, ann);
    Open();
    ASSERT_TRUE(folio().Label22.Visible());
    ASSERT_TRUE(folio().Label34.Visible());
    EXPECT_EQ(edit().Text2.Text(), "1234");

    Retype(edit().Text1, "N");
    EXPECT_FALSE(folio().Label22.Visible());
    EXPECT_FALSE(folio().Label32.Visible());
    EXPECT_FALSE(folio().Label33.Visible());
    EXPECT_FALSE(folio().Label34.Visible());
    EXPECT_EQ(edit().Text2.Text(), "");
    edit().Command1.UserClick();

    const records::GuestRecord saved = records::ReadGuest(app().data(), records::kGuestFile, 2);
    EXPECT_EQ(saved.PayCode, "N");
    EXPECT_EQ(saved.DBNumber, std::string(8, ' '));
}

TEST_F(EditGuestTest, CancelAfterChoosingQWithoutAnAccountPutsTheLoadedPayCodeBack) {
    Open();
    Retype(edit().Text1, "Q");
    EXPECT_EQ(folio().Label7.Caption(), "Q");
    edit().Command2.UserClick();
    EXPECT_FALSE(IsLoaded("Form9"));
    EXPECT_EQ(folio().Label7.Caption(), "L");
    EXPECT_EQ(ReadBytes("guest"), guests);
}

TEST_F(EditGuestTest, AStayThatLeftMeanwhileIsReportedAndNothingIsWritten) {
    Open();
    records::GuestRecord gone = ann;
    gone.ClearStay();
    records::WriteGuest(app().data(), records::kGuestFile, 2, gone);
    const std::string before = ReadBytes("guest");
    Retype(edit().Text10, "ANNE");
    dialogs().Answer(platform::vbOK);
    edit().Command1.UserClick();

    EXPECT_EQ(LastBox().prompt, "There is no longer a guest in room 104. Nothing was saved.");
    EXPECT_FALSE(IsLoaded("Form9"));
    EXPECT_EQ(ReadBytes("guest"), before);
    EXPECT_EQ(ReadBytes(kAnnLedger), annLedger);
    EXPECT_FALSE(Exists(kAnneLedger));
}

// Edit Guest writes the stay it loaded and no other: choosing another guest in the folio
// window does not turn it to that guest, and that guest's labels do not follow its boxes.
TEST_F(EditGuestTest, EditGuestStaysWithTheStayItLoadedWhileTheFolioShowsAnother) {
    Open();
    folio().Text3.UserTypeText("101");
    folio().Text3.UserType(platform::vbKeyReturn);
    ASSERT_EQ(folio().Label1.Caption(), "JONES, MARY");
    dialogs().Answer(platform::vbOK);
    folio().Command5.UserClick();
    EXPECT_EQ(LastBox().prompt, "Edit Guest is open for SMITH, ANN (room 104). Please save or cancel it "
                                "before editing another guest.");
    EXPECT_EQ(edit().Text9.Text(), "SMITH") << "the boxes still hold the stay loaded";

    Retype(edit().Text1, "M");
    Retype(edit().Text11, "new co");
    EXPECT_EQ(folio().Label7.Caption(), "L") << "JONES's pay code is not ANN's box";
    edit().Command1.UserClick();

    records::GuestRecord expected = ann;
    expected.Company = Fixed("NEW CO", 20);
    expected.PayCode = "M";
    EXPECT_EQ(Slot(2), expected.Encode());
    EXPECT_EQ(Slot(1), guests.substr(0, kGuestLength)) << "JONES is untouched";
}

// The stay loaded is gone or changed by the time of the save: the boxes no longer belong to
// what is stored, so nothing is written and the window closes.
TEST_F(EditGuestTest, ASaveOverAStayThatLeftMovedOrChangedIsRefused) {
    records::GuestRecord moved = ann;
    moved.Room = "105";
    records::GuestRecord newcomer = RegisteredGuest("104", "DOE", "JOHN");
    newcomer.FolioNumber = Fixed("18", 5);
    records::GuestRecord edited = ann;
    edited.Comment = Fixed("EDITED ELSEWHERE", 160);
    const struct {
        const char* what;
        records::GuestRecord stored;
        const char* prompt;
    } cases[] = {
        {"moved", moved,
         "SMITH, ANN was moved to room 105 after Edit Guest was opened. Nothing was saved. Please open Edit "
         "Guest again."},
        {"replaced", newcomer,
         "SMITH, ANN (folio 17) is no longer checked in to room 104: another stay holds that record now. "
         "Nothing was saved."},
        {"edited", edited,
         "SMITH, ANN was changed in another window after Edit Guest was opened. Nothing was saved. Please "
         "open "
         "Edit Guest again."},
    };
    for (const auto& c : cases) {
        records::WriteGuest(app().data(), records::kGuestFile, 2, ann);
        Open();
        records::WriteGuest(app().data(), records::kGuestFile, 2, c.stored);
        const std::string before = ReadBytes("guest");
        Retype(edit().Text10, "ANNE");
        dialogs().Answer(platform::vbOK);
        edit().Command1.UserClick();

        EXPECT_EQ(LastBox().prompt, c.prompt) << c.what;
        EXPECT_FALSE(IsLoaded("Form9")) << c.what;
        EXPECT_EQ(ReadBytes("guest"), before) << c.what;
        EXPECT_EQ(ReadBytes(kAnnLedger), annLedger) << c.what;
        EXPECT_FALSE(Exists(kAnneLedger)) << c.what;
    }
}

// When the record cannot be written after the ledger was carried, the ledger goes back to
// the name the stored record still has.
TEST_F(EditGuestTest, ALedgerCarriedBeforeAFailedWriteIsCarriedBack) {
    GuestEdit changed = EditFromRecord(ann);
    changed.firstName = "ANNE";
    const EditPlan plan = PlanGuestEdit(app().data(), "104", changed);
    ASSERT_EQ(plan.problem, "");
    std::filesystem::remove(DataFile("guest"));
    std::filesystem::create_directory(DataFile("guest"));

    EXPECT_THROW(SaveGuestEdit(app().data(), plan), platform::IoError);
    EXPECT_EQ(ReadBytes(kAnnLedger), annLedger);
    EXPECT_FALSE(Exists(kAnneLedger));
}

} // namespace
} // namespace vantreth
