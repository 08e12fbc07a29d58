// The "Check In" window as the clerk works it: what it shows when it opens, the room list,
// the payment panels, the Enter walk, the additional fee, "Duplicate?" and the ways out.
#include "checkin/checkin_fixture.h"
#include "support/pseudo_terminal.h"

#include "callacct/form50.h"
#include "frontdesk/form70.h"
#include "records/direct_bill.h"
#include "records/stay_ledger.h"
#include "stay/checkin_commit.h"

#include <functional>

namespace vantreth {
namespace {

using testing::CheckInFixture;
using testing::Room;

records::GuestRecord Reservation(const std::string& room, const std::string& arrival) {
    return testing::Guest(room, "BOOKED", "GUEST", {.ArrivalDate = arrival});
}

class Form2Test : public CheckInFixture {
public:
    // Types one key into the box, as the clerk does when the box has the focus.
    void Key(platform::TextBox& box, int key) { box.UserType(key); }
    std::string Focus() {
        platform::Control* active = checkIn().ActiveControl();
        return active ? active->Name() : std::string("(none)");
    }
};

TEST_F(Form2Test, OpeningFillsTheWindow) {
    app().gTaxRate = 0;
    records::WriteOptionalRates(app().data(), {0, 0, 0, 0, 0});
    Open();
    EXPECT_TRUE(checkIn().Visible());
    EXPECT_FALSE(IsLoaded("Form1")) << "the front desk is replaced";
    EXPECT_EQ(checkIn().Text21.Text(), "JD");
    EXPECT_EQ(app().gTaxRate, 0.1);
    EXPECT_EQ(checkIn().Combo1.Text(), "select room");
    EXPECT_EQ(checkIn().Combo1.Items(),
              (std::vector<std::string>{"101 NQ1  ", "102 NDD1 ", "12  SNQ3 ", "104 K11  "}));
    EXPECT_EQ(checkIn().Combo2.Text(), "choose payment");
    EXPECT_EQ(checkIn().Combo2.Items(), stay::PaymentList());
    EXPECT_EQ(checkIn().Combo3.Text(), "select another rate");
    EXPECT_EQ(checkIn().Combo3.ListCount(), 0) << "all five optional rates are 0";
    EXPECT_EQ(checkIn().Text1.Text(), "1");
    EXPECT_EQ(checkIn().Text18.Text(), "1");
    EXPECT_EQ(checkIn().Combo5.Text(), "");
    EXPECT_EQ(checkIn().Combo4.Text(), "select type");
    EXPECT_TRUE(checkIn().Frame1.Enabled());
    EXPECT_TRUE(checkIn().Frame6.Enabled());
    EXPECT_TRUE(checkIn().Command3.Enabled());
    EXPECT_TRUE(checkIn().Text7.Enabled()) << "the cash box itself is enabled, its frame is not";
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &checkIn().Frame5, &checkIn().Frame3, &checkIn().Frame2, &checkIn().Frame4, &checkIn().Frame7,
             &checkIn().Command6, &checkIn().Command2, &checkIn().Text2})
        EXPECT_FALSE(c->Enabled()) << c->Name();
    EXPECT_FALSE(checkIn().Frame2.Visible());
    EXPECT_FALSE(checkIn().Frame7.Visible());
    EXPECT_TRUE(IsLoaded("Form14")) << "History opens with the window";
}

TEST_F(Form2Test, RoomListHasCleanRoomsForSaleThatNoArrivalTodayHolds) {
    WriteBytes("rooms", "");
    AddRoom(Room({.room = "201", .type = "NQ1", .rate = 50, .comment = "QUIET"}));
    AddRoom(Room({.room = "202", .type = "NQ1", .rate = 50, .clean = "N", .comment = "QUIET"}));
    AddRoom(Room({.room = "203", .type = "NQ1", .rate = 50, .service = "O", .comment = "QUIET"}));
    AddRoom(Room({.room = "204", .type = "NQ1", .rate = 50, .service = "X", .comment = "QUIET"}));
    AddRoom(Room({.room = "205", .type = "NQ1", .rate = 50, .vacant = "N", .comment = "QUIET"}));
    AddRoom(Room({.room = "206", .type = "DD1", .rate = 50, .comment = "QUIET"}));
    AddRoom(Room({.room = "207", .type = "DD1", .rate = 50, .comment = "QUIET"}));
    AddRoom(
        Room({.room = "208", .type = "DD1", .rate = 50, .clean = " ", .service = " ", .comment = "QUIET"}));
    AddRoom(
        Room({.room = "209", .type = "DD1", .rate = 50, .clean = "N", .comment = "QUIET"})); // held by none
    records::GuestRecord cancelled = Reservation("201", "12/6/26");
    cancelled.ClearReservation();
    records::WriteGuest(app().data(), records::kReservationsFile, 1, Reservation("206", "12/6/26"));
    records::WriteGuest(app().data(), records::kReservationsFile, 2, Reservation("207", "12/7/26"));
    records::WriteGuest(app().data(), records::kReservationsFile, 3, cancelled);
    records::WriteGuest(app().data(), records::kReservationsFile, 4, Reservation("202", "12/6/26"));
    Open();
    EXPECT_EQ(checkIn().Combo1.Items(),
              (std::vector<std::string>{"201 NQ1  ", "205 NQ1  ", "207 DD1  ", "208 DD1  "}))
        << "dirty, occupied, out of order and reserved-today rooms are left out; Vacant is not looked at";
}

TEST_F(Form2Test, CashPaymentOpensTheCashPanel) {
    Open();
    ASSERT_TRUE(checkIn().Combo1.UserPick("101 NQ1  "));
    ASSERT_TRUE(checkIn().Combo2.UserPick("CASH or CHECK"));
    EXPECT_TRUE(checkIn().Frame3.Enabled());
    EXPECT_TRUE(checkIn().Text7.Enabled());
    EXPECT_EQ(checkIn().Text7.Text(), "55");
    EXPECT_FALSE(checkIn().Frame2.Enabled());
    EXPECT_FALSE(checkIn().Frame4.Enabled());
    EXPECT_TRUE(checkIn().Frame5.Enabled());
    EXPECT_TRUE(checkIn().Command6.Enabled());
    EXPECT_FALSE(checkIn().Command2.Enabled()) << "no names yet";
    EXPECT_EQ(Focus(), "Text9") << "the guest's state is still empty";
}

TEST_F(Form2Test, PaymentChoiceSendsTheFocusToTheRegCardOnceTheAddressIsThere) {
    Open();
    ASSERT_TRUE(checkIn().Combo1.UserPick("101 NQ1  "));
    checkIn().Text14.UserTypeText("IL");
    checkIn().Text10.UserTypeText("JOHN");
    checkIn().Text9.UserTypeText("SMITH");
    ASSERT_TRUE(checkIn().Combo2.UserPick("VISA/MASTER"));
    EXPECT_EQ(Focus(), "Text17");
    EXPECT_TRUE(checkIn().Command2.Enabled()) << "both names are there";
}

TEST_F(Form2Test, CardAfterCashEmptiesAndDisablesTheCashBox) {
    Open();
    ASSERT_TRUE(checkIn().Combo1.UserPick("101 NQ1  "));
    ASSERT_TRUE(checkIn().Combo2.UserPick("CASH or CHECK"));
    ASSERT_TRUE(checkIn().Combo2.UserPick("DINERS"));
    EXPECT_EQ(checkIn().Text7.Text(), "");
    EXPECT_FALSE(checkIn().Text7.Enabled());
    EXPECT_FALSE(checkIn().Frame4.Enabled());
    EXPECT_TRUE(checkIn().Frame5.Enabled());
    ASSERT_TRUE(checkIn().Combo2.UserPick("CASH or CHECK"));
    EXPECT_TRUE(checkIn().Text7.Enabled());
    EXPECT_EQ(checkIn().Text7.Text(), "55");
}

TEST_F(Form2Test, DirectBillListsLiveAccountsAndShowsTheChosenBalance) {
    records::DirectBillAccount acme;
    acme.CompanyName = platform::Fixed("ACME TOOLS", 80);
    acme.DBNumber = platform::Fixed("1001", 7);
    acme.Balance = 250.456f;
    records::DirectBillAccount deleted;
    deleted.DBNumber = platform::Fixed("1002", 7);
    records::DirectBillAccount shortCode;
    shortCode.CompanyName = platform::Fixed("SHORT CO", 80);
    shortCode.DBNumber = platform::Fixed("77", 7);
    shortCode.Balance = 10;
    records::AppendAccount(app().data(), acme);
    records::AppendAccount(app().data(), deleted);
    records::AppendAccount(app().data(), shortCode);
    Open();
    ASSERT_TRUE(checkIn().Combo1.UserPick("101 NQ1  "));
    ASSERT_TRUE(checkIn().Combo2.UserPick("CASH or CHECK"));
    ASSERT_TRUE(checkIn().Combo2.UserPick("DIRECT BILL"));
    EXPECT_EQ(checkIn().Combo5.Items(), (std::vector<std::string>{"1001 ACME TOOLS", "77 SHORT CO"}));
    EXPECT_EQ(checkIn().Combo5.Text(), "select direct bill client");
    EXPECT_EQ(checkIn().Text7.Text(), "");
    EXPECT_FALSE(checkIn().Frame3.Enabled());
    EXPECT_TRUE(checkIn().Frame4.Enabled());
    EXPECT_EQ(Focus(), "Combo5");
    EXPECT_FALSE(checkIn().Label9.Visible());

    ASSERT_TRUE(checkIn().Combo5.UserPick("1001 ACME TOOLS"));
    for (platform::Label* l : {&checkIn().Label6, &checkIn().Label9, &checkIn().Label26, &checkIn().Label27})
        EXPECT_TRUE(l->Visible()) << l->Name();
    EXPECT_EQ(checkIn().Label9.Caption(), "250.46");
    EXPECT_EQ(checkIn().Label5.Caption(), "The following fee will be added to folio:")
        << "the fee panel keeps its text";
    EXPECT_TRUE(checkIn().Frame5.Enabled());

    ASSERT_TRUE(checkIn().Combo5.UserPick("77 SHORT CO"));
    EXPECT_EQ(checkIn().Label9.Caption(), "250.46")
        << "a code that is not four characters long matches nothing";
}

TEST_F(Form2Test, CheckInNowFollowsTheNames) {
    Open();
    FillIn();
    EXPECT_TRUE(checkIn().Command2.Enabled());
    Retype(checkIn().Text9, "");
    EXPECT_FALSE(checkIn().Command2.Enabled());
    Retype(checkIn().Text9, "SMITH");
    EXPECT_TRUE(checkIn().Command2.Enabled());
    Retype(checkIn().Text10, "");
    EXPECT_FALSE(checkIn().Command2.Enabled());
    checkIn().Text10.UserType('J');
    EXPECT_TRUE(checkIn().Command2.Enabled()) << "a payment was chosen";
}

TEST_F(Form2Test, EnterWalksThroughTheGuestBoxes) {
    Open();
    FillIn();
    Retype(checkIn().Text14, "I");
    Retype(checkIn().Text7, "55");
    struct Step {
        platform::TextBox* box;
        const char* next;
    };
    const Step steps[] = {
        {&checkIn().Text7, "Text9"},   {&checkIn().Text9, "Text10"},   {&checkIn().Text10, "Text11"},
        {&checkIn().Text11, "Text12"}, {&checkIn().Text12, "Text13"},  {&checkIn().Text13, "Text14"},
        {&checkIn().Text14, "Text15"}, {&checkIn().Text15, "Text16"},  {&checkIn().Text16, "Text17"},
        {&checkIn().Text17, "Text18"}, {&checkIn().Text18, "Text19"},  {&checkIn().Text19, "Text21"},
        {&checkIn().Text21, "Text20"}, {&checkIn().Text20, "Command2"}};
    for (const Step& s : steps) {
        const std::string before = s.box->Text();
        Enter(*s.box);
        EXPECT_EQ(Focus(), s.next) << "Enter in " << s.box->Name();
        EXPECT_EQ(s.box->Text(), before) << "Enter in " << s.box->Name() << " types nothing";
    }
    dialogs().Answer(platform::vbNo);
    checkIn().UserKey(platform::vbKeyReturn);
    EXPECT_EQ(LastBox().prompt, "Are you sure you want to check this guest in now?")
        << "Enter presses the button";
}

TEST_F(Form2Test, EnterInTheNightsAndRateBoxesGoesToThePaymentList) {
    Open();
    ASSERT_TRUE(checkIn().Combo1.UserPick("101 NQ1  "));
    for (platform::TextBox* box : {&checkIn().Text1, &checkIn().Text2}) {
        checkIn().Combo1.SetFocus();
        Enter(*box);
        EXPECT_EQ(Focus(), "Combo2") << box->Name();
    }
}

TEST_F(Form2Test, RegCardMovesOnOnlyWithMoreThanTwoCharacters) {
    Open();
    FillIn();
    Retype(checkIn().Text17, "12");
    Enter(checkIn().Text17);
    EXPECT_EQ(Focus(), "Text17");
    checkIn().Text17.UserType('3');
    Enter(checkIn().Text17);
    EXPECT_EQ(Focus(), "Text18");
}

TEST_F(Form2Test, AdultsBoxTakesOneDigitFromOneToSix) {
    Open();
    FillIn();
    for (int key :
         {int('0'), int('7'), int('8'), int('9'), int('a'), int('Z'), platform::vbKeyBack, int(' ')}) {
        Key(checkIn().Text18, key);
        EXPECT_EQ(checkIn().Text18.Text(), "1") << "key " << key;
        EXPECT_EQ(Focus(), "Text18") << "key " << key;
    }
    Key(checkIn().Text18, '3');
    EXPECT_EQ(checkIn().Text18.Text(), "3");
    EXPECT_EQ(Focus(), "Text19");
    Key(checkIn().Text18, '6');
    EXPECT_EQ(checkIn().Text18.Text(), "6") << "the digit replaces the box's text";
}

TEST_F(Form2Test, StateAndChildrenMoveOnByThemselves) {
    Open();
    FillIn();
    Key(checkIn().Text14, 'I');
    EXPECT_EQ(Focus(), "Text14") << "the first letter stays";
    Key(checkIn().Text14, 'L');
    EXPECT_EQ(checkIn().Text14.Text(), "IL");
    EXPECT_EQ(Focus(), "Text15");
    Key(checkIn().Text19, '2');
    EXPECT_EQ(checkIn().Text19.Text(), "2");
    EXPECT_EQ(Focus(), "Text21");
}

// Mended: the state, adults and children boxes move on by themselves; a clerk who ends
// every box with Enter typed that Enter into the next box and landed one box too far (the
// zip went into Phone). An Enter in a box the focus has just moved to by itself, before any
// other key there, does nothing.
TEST_F(Form2Test, EnterRightAfterABoxMovedOnByItselfDoesNothing) {
    const struct {
        std::string from, keys;
        std::vector<std::pair<std::string, std::string>> texts;
        std::string focus;
    } cases[] = {
        {"Text14", "tx\r62701\r", {{"Text14", "tx"}, {"Text15", "62701"}, {"Text16", ""}}, "Text16"},
        {"Text14", "tx\r\r", {{"Text15", ""}}, "Text16"}, // a second Enter walks on
        {"Text14", "tx6\r", {{"Text15", "6"}}, "Text16"}, // after another key Enter walks as ever
        {"Text14", "t\r", {{"Text14", "t"}}, "Text15"},   // no move by itself, no Enter ignored
        {"Text18", "2\r1\r", {{"Text18", "2"}, {"Text19", "1"}}, "Text21"},
        {"Text19", "0\r\r", {{"Text19", "0"}, {"Text21", "JD"}}, "Text20"},
    };
    for (const auto& c : cases) {
        Open();
        FillIn();
        static_cast<platform::TextBox*>(checkIn().Find(c.from))->SetFocus();
        for (char key : c.keys)
            checkIn().UserKey(key);
        for (const auto& [box, text] : c.texts)
            EXPECT_EQ(checkIn().Find(box)->ValueText(), text) << c.from << " " << c.keys << ": " << box;
        EXPECT_EQ(Focus(), c.focus) << c.from << " " << c.keys;
        checkIn().Command3.UserClick();
    }
}

TEST_F(Form2Test, EnterInTheFirstNameWarnsForEachDoNotRentRecord) {
    const std::string tail(50, '\0');
    WriteBytes("norent", platform::Fixed("SMITH", 15) + platform::Fixed("JOHN", 15) + tail +
                             platform::Fixed("SMITH", 15) + platform::Fixed("JOHN", 15) + tail +
                             platform::Fixed("SMITH", 15) + platform::Fixed("JANE", 15) + tail);
    Open();
    FillIn("101 NQ1  ", "CASH or CHECK", "smith", "john");
    Enter(checkIn().Text10);
    EXPECT_EQ(Focus(), "Text11") << "lower case matches nothing, so no box";

    Retype(checkIn().Text9, "SMITH");
    Retype(checkIn().Text10, "JOHN");
    dialogs().ClearShown();
    dialogs().Answer(platform::vbOK);
    dialogs().Answer(platform::vbOK);
    Enter(checkIn().Text10);
    ExpectNoPendingAnswers();
    ASSERT_EQ(dialogs().shown().size(), 2u);
    EXPECT_EQ(LastBox().title, "WARNING");
    EXPECT_EQ(
        LastBox().prompt,
        "The first and last name matches a name in the no rent list. Just thought I would let you know.");
    EXPECT_EQ(Focus(), "Text11");
    EXPECT_EQ(checkIn().Text10.Text(), "JOHN");
}

// --- The additional fee ------------------------------------------------------

class FeeTest : public CheckInFixture {
public:
    Form64& fee() { return Form<Form64>(); }
    void AddFee(const std::string& description, const std::string& amount) {
        checkIn().Command6.UserClick();
        ASSERT_TRUE(IsLoaded("Form64"));
        ASSERT_TRUE(fee().Combo1.UserPick(description));
        fee().Text1.UserTypeText(amount);
        fee().Command2.UserClick();
    }
};

TEST_F(FeeTest, FeeWindowOpensWithItsList) {
    Open();
    FillIn();
    checkIn().Command6.UserClick();
    EXPECT_EQ(fee().Combo1.Text(), "Select Description");
    EXPECT_EQ(fee().Combo1.Items(), (std::vector<std::string>{"PET", "ROLL AWAY", "OTHER"}));
    EXPECT_FALSE(fee().Text1.Enabled());
    EXPECT_FALSE(fee().Command2.Enabled());
    ASSERT_TRUE(fee().Combo1.UserPick("PET"));
    EXPECT_TRUE(fee().Text1.Enabled());
    EXPECT_EQ(fee().ActiveControl(), &fee().Text1);
    fee().Text1.UserType('5');
    EXPECT_TRUE(fee().Command2.Enabled());
    fee().Text1.UserType(platform::vbKeyBack);
    EXPECT_FALSE(fee().Command2.Enabled());
    fee().Text1.UserType(platform::vbKeyReturn);
    EXPECT_TRUE(fee().Command2.Enabled());
    EXPECT_EQ(fee().ActiveControl(), &fee().Command2);
}

TEST_F(FeeTest, FeeWithAnEmptyCashBoxRaisesTheTotal) {
    Open();
    FillIn("101 NQ1  ", "VISA/MASTER");
    dialogs().Answer(platform::vbOK);
    AddFee("PET", "10");
    EXPECT_EQ(LastBox().prompt, "I added the amount to the total stay charge.");
    EXPECT_EQ(LastBox().title, "ATTENTION");
    EXPECT_FALSE(IsLoaded("Form64"));
    EXPECT_TRUE(checkIn().Frame7.Enabled());
    EXPECT_TRUE(checkIn().Frame7.Visible());
    EXPECT_EQ(checkIn().Label28.Caption(), "PET");
    EXPECT_EQ(checkIn().Label30.Caption(), "10");
    EXPECT_EQ(checkIn().Label25.Caption(), "65");
    EXPECT_EQ(checkIn().ActiveControl(), &checkIn().Command2) << "both names are there";
}

TEST_F(FeeTest, FeeRaisesACashAmountThatIsNotTheNewTotal) {
    Open();
    FillIn();
    Retype(checkIn().Text7, "100");
    dialogs().Answer(platform::vbOK);
    AddFee("OTHER", "10");
    EXPECT_EQ(LastBox().prompt, "I added the amount to the total stay and also increased the amount the "
                                "guest is giving you in cash.");
    EXPECT_EQ(checkIn().Label25.Caption(), "65");
    EXPECT_EQ(checkIn().Text7.Text(), "110");

    checkIn().Command7.UserClick();
    EXPECT_EQ(checkIn().Label25.Caption(), "55");
    EXPECT_EQ(checkIn().Text7.Text(), "100");
    EXPECT_EQ(checkIn().Label30.Caption(), "");
    EXPECT_EQ(checkIn().Label28.Caption(), "OTHER");
    EXPECT_FALSE(checkIn().Frame7.Enabled());
    EXPECT_FALSE(checkIn().Frame7.Visible());
    EXPECT_EQ(checkIn().ActiveControl(), &checkIn().Text9);
}

TEST_F(FeeTest, CashAlreadyMatchingTheNewTotalIsLeftAlone) {
    Open();
    FillIn();
    Retype(checkIn().Text7, "65");
    dialogs().Answer(platform::vbOK);
    AddFee("PET", "10");
    EXPECT_EQ(checkIn().Text7.Text(), "65");
    EXPECT_EQ(LastBox().prompt, "I added the amount to the total stay and also increased the amount the "
                                "guest is giving you in cash.");
}

// Mended: the window holds one fee, so a second one replaces the first in the totals too.
TEST_F(FeeTest, SecondFeeReplacesTheFirstInTheTotals) {
    Open();
    FillIn();
    dialogs().Answer(platform::vbOK);
    AddFee("PET", "10");
    ASSERT_EQ(checkIn().Text7.Text(), "65");
    dialogs().Answer(platform::vbOK);
    AddFee("ROLL AWAY", "15");
    EXPECT_EQ(checkIn().Label28.Caption(), "ROLL AWAY");
    EXPECT_EQ(checkIn().Label25.Caption(), "70");
    EXPECT_EQ(checkIn().Text7.Text(), "70");
    CommitWithoutDeposit();
    const auto lines = records::ReadStayLedger(OnDisk("dailycharge/dailycharge101SMITHJOHN12626"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].Description, "ROLL AWAY");
    EXPECT_EQ(lines[1].Amount, 15);
    EXPECT_EQ(lines[2].Amount, 70) << "the cash paid is the stay with the one fee posted";
}

// Mended: an amount that is not a number is refused before anything changes.
// Mended: after "Yes" the fee of the stay just written stayed in the panel, and a fee for
// the further room was added less that first fee (room 104 at 49.5 with a fee of 5 showed
// 44.5). The further room's total counts its own fee only.
TEST_F(FeeTest, FeeForAFurtherRoomCountsOnlyItsOwnFee) {
    Open();
    FillIn();
    dialogs().Answer(platform::vbOK);
    AddFee("PET", "10");
    CommitWithoutDeposit();
    Form<Form15>().Command1.UserClick();
    EXPECT_FALSE(checkIn().Frame7.Visible());
    ASSERT_TRUE(checkIn().Combo1.UserPick("104 K11  "));
    ASSERT_TRUE(checkIn().Combo2.UserPick("CASH or CHECK"));
    ASSERT_EQ(checkIn().Label25.Caption(), "49.5");
    dialogs().Answer(platform::vbOK);
    AddFee("OTHER", "5");
    EXPECT_EQ(checkIn().Label25.Caption(), "54.5");
    EXPECT_EQ(checkIn().Text7.Text(), "54.5");
    CommitWithoutDeposit();
    const auto lines = records::ReadStayLedger(OnDisk("dailycharge/dailycharge104SMITHJOHN12626"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].Code + " " + lines[1].Description, "J OTHER");
    EXPECT_EQ(lines[1].Amount, 5);
    EXPECT_EQ(lines[2].Amount, 54.5f);
}

TEST_F(FeeTest, FeeThatIsNotAnAmountIsRefused) {
    Open();
    FillIn();
    for (const char* typed : {"ten", "-5", "5x"}) {
        checkIn().Command6.UserClick();
        ASSERT_TRUE(fee().Combo1.UserPick("PET"));
        fee().Text1.UserTypeText(typed);
        dialogs().Answer(platform::vbOK);
        fee().Command2.UserClick();
        EXPECT_EQ(LastBox().title, "WARNING") << typed;
        EXPECT_TRUE(IsLoaded("Form64")) << typed;
        EXPECT_EQ(fee().ActiveControl(), &fee().Text1) << typed;
        EXPECT_FALSE(checkIn().Frame7.Visible()) << typed;
        EXPECT_EQ(checkIn().Label25.Caption(), "55") << typed;
        fee().Command1.UserClick();
    }
}

TEST_F(FeeTest, CancelReturnsToTheGuestBoxes) {
    Open();
    FillIn();
    checkIn().Command6.UserClick();
    fee().Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form64"));
    EXPECT_EQ(checkIn().ActiveControl(), &checkIn().Text9);
}

// --- "Duplicate?" ------------------------------------------------------------

TEST_F(Form2Test, DuplicateYesKeepsTheGuestForAFurtherRoom) {
    Open();
    FillIn();
    Retype(checkIn().Text13, "springfield");
    checkIn().Text1.UserClick();
    checkIn().Text1.UserType('2');
    checkIn().Check1.UserClick();
    CommitWithoutDeposit();
    Form15& duplicate = Form<Form15>();
    EXPECT_EQ(duplicate.Label1.Caption(), "Would you like to duplicate this folio for another guest?");
    EXPECT_EQ(duplicate.ActiveControl(), &duplicate.Command2) << "the focus starts on No";

    duplicate.Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form15"));
    EXPECT_EQ(app().gDuplicatePromptOpen, 0);
    EXPECT_TRUE(IsLoaded("form2"));
    EXPECT_EQ(checkIn().Combo1.Items(), (std::vector<std::string>{"102 NDD1 ", "12  SNQ3 ", "104 K11  "}))
        << "the room just taken is gone";
    EXPECT_EQ(checkIn().Combo1.Text(), "select room");
    EXPECT_EQ(checkIn().Combo2.Text(), "choose payment");
    for (const std::string& shown : {checkIn().Text2.Text(), checkIn().Label24.Caption(),
                                     checkIn().Label25.Caption(), checkIn().Text7.Text()})
        EXPECT_EQ(shown, "");
    EXPECT_EQ(Focus(), "Combo1");
    EXPECT_TRUE(checkIn().Frame1.Enabled());
    EXPECT_TRUE(checkIn().Frame6.Enabled());
    EXPECT_TRUE(checkIn().Command3.Enabled());
    EXPECT_FALSE(checkIn().Command2.Enabled());
    EXPECT_FALSE(checkIn().Command6.Enabled());
    EXPECT_EQ(checkIn().Text9.Text(), "smith");
    EXPECT_EQ(checkIn().Text10.Text(), "john");
    EXPECT_EQ(checkIn().Text13.Text(), "springfield");
    EXPECT_EQ(checkIn().Text1.Text(), "2");
    EXPECT_EQ(checkIn().Check1.Value(), 1);
    EXPECT_EQ(checkIn().Text21.Text(), "JD");

    ASSERT_TRUE(checkIn().Combo1.UserPick("104 K11  "));
    ASSERT_TRUE(checkIn().Combo2.UserPick("VISA/MASTER"));
    EXPECT_TRUE(checkIn().Command2.Enabled());
    Commit();
    const records::GuestRecord second = records::ReadGuest(app().data(), records::kGuestFile, 2);
    EXPECT_EQ(second.Room, "104");
    EXPECT_EQ(second.LastName, platform::Fixed("SMITH", 15));
    EXPECT_EQ(second.City, platform::Fixed("SPRINGFIELD", 20));
    EXPECT_EQ(second.FolioNumber, "2    ");
    EXPECT_EQ(second.TaxExempt, 1);
}

TEST_F(Form2Test, DuplicateYesPostsNoFeeForTheFurtherRoom) {
    Open();
    FillIn();
    checkIn().Command6.UserClick();
    ASSERT_TRUE(Form<Form64>().Combo1.UserPick("PET"));
    Form<Form64>().Text1.UserTypeText("10");
    dialogs().Answer(platform::vbOK);
    Form<Form64>().Command2.UserClick();
    CommitWithoutDeposit();
    Form<Form15>().Command1.UserClick();
    ASSERT_TRUE(checkIn().Combo1.UserPick("104 K11  "));
    ASSERT_TRUE(checkIn().Combo2.UserPick("DISCOVER"));
    Commit();
    const auto lines = records::ReadStayLedger(OnDisk("dailycharge/dailycharge104SMITHJOHN12626"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Code, "E");
    EXPECT_EQ(lines[1].Code, "P");
    EXPECT_EQ(lines[1].Amount, 49.5f);
}

// Mended: emptying the cash box of a stay paid in cash enabled the guest panel after "Yes";
// it stays disabled until a payment is chosen for the further room.
TEST_F(Form2Test, DuplicateYesLeavesTheGuestPanelDisabledAfterACashStay) {
    Open();
    FillIn();
    CommitWithoutDeposit();
    Form<Form15>().Command1.UserClick();
    EXPECT_FALSE(checkIn().Frame5.Enabled());
    ASSERT_TRUE(checkIn().Combo1.UserPick("104 K11  "));
    ASSERT_TRUE(checkIn().Combo2.UserPick("VISA/MASTER"));
    EXPECT_TRUE(checkIn().Frame5.Enabled());
}

TEST_F(Form2Test, DuplicateNoReturnsToTheFrontDesk) {
    Open();
    FillIn();
    CommitWithoutDeposit();
    Form<Form15>().Command2.UserClick();
    EXPECT_FALSE(IsLoaded("Form15"));
    EXPECT_FALSE(IsLoaded("form2"));
    EXPECT_TRUE(IsLoaded("Form1"));
    EXPECT_EQ(app().gDuplicatePromptOpen, 0);
    EXPECT_EQ(Form<Form1>().Label5.Caption(), "1") << "the board is rebuilt: one room occupied";
}

// Mended: closing "Duplicate?" by its close box is a No, rather than a greyed-out window.
TEST_F(Form2Test, ClosingDuplicateIsNo) {
    Open();
    FillIn();
    CommitWithoutDeposit();
    Form<Form15>().UserClose();
    EXPECT_FALSE(IsLoaded("form2"));
    EXPECT_TRUE(IsLoaded("Form1"));
    EXPECT_EQ(app().gDuplicatePromptOpen, 0);
}

// --- Prompts in front ---------------------------------------------------------

TEST_F(Form2Test, ClicksBringTheOpenPromptsToTheFront) {
    Open();
    ASSERT_TRUE(checkIn().Combo1.UserPick("101 NQ1  "));
    checkIn().Combo3.UserDropDown();
    ASSERT_TRUE(IsLoaded("Form70"));
    app().Dispatch([&] { app().Load(app().Get<Form15>()); });
    ASSERT_EQ(app().gDuplicatePromptOpen, 1);
    for (platform::Frame* f : {&checkIn().Frame3, &checkIn().Frame4, &checkIn().Frame5, &checkIn().Frame6})
        f->SetEnabled(true);
    checkIn().Frame7.SetEnabled(true);
    checkIn().Frame7.SetVisible(true);

    struct Case {
        const char* what;
        std::function<void()> click;
        bool attention;
    };
    const Case cases[] = {
        {"window click", [&] { checkIn().UserClick(); }, true},
        {"Frame1 click", [&] { checkIn().Frame1.UserClick(); }, true},
        {"Frame1 double click", [&] { checkIn().Frame1.UserDblClick(); }, true},
        {"Frame4 click", [&] { checkIn().Frame4.UserClick(); }, true},
        {"Frame5 double click", [&] { checkIn().Frame5.UserDblClick(); }, true},
        {"Frame3 click", [&] { checkIn().Frame3.UserClick(); }, false},
        {"Frame6 double click", [&] { checkIn().Frame6.UserDblClick(); }, false},
        {"Frame7 click", [&] { checkIn().Frame7.UserClick(); }, false},
    };
    Form15& duplicate = Form<Form15>();
    Form70& attention = Form<Form70>();
    for (const Case& c : cases) {
        checkIn().ZOrder();
        const unsigned long front = checkIn().ZOrderStamp();
        c.click();
        EXPECT_GT(duplicate.ZOrderStamp(), front) << c.what;
        if (c.attention) {
            EXPECT_GT(attention.ZOrderStamp(), duplicate.ZOrderStamp())
                << c.what << ": ATTENTION ends on top";
        } else {
            EXPECT_LT(attention.ZOrderStamp(), front) << c.what;
        }
    }

    app().gDuplicatePromptOpen = 0;
    checkIn().ZOrder();
    const unsigned long front = checkIn().ZOrderStamp();
    checkIn().UserClick();
    EXPECT_LT(duplicate.ZOrderStamp(), front) << "not while its flag is 0";
}

// --- Ways out -------------------------------------------------------------------

TEST_F(Form2Test, CancelAndEscapeReturnToTheFrontDesk) {
    for (const char* way : {"Cancel", "Escape", "close box"}) {
        Open();
        ASSERT_TRUE(IsLoaded("Form14")) << way;
        app().gHistoryFromButton = 1;
        if (std::string(way) == "Cancel")
            checkIn().Command3.UserClick();
        else if (std::string(way) == "Escape")
            checkIn().UserKey(platform::vbKeyEscape);
        else
            checkIn().UserClose();
        EXPECT_FALSE(IsLoaded("form2")) << way;
        EXPECT_TRUE(IsLoaded("Form1")) << way;
        EXPECT_TRUE(IsLoaded("Form50")) << way;
        if (std::string(way) != "close box") {
            EXPECT_EQ(app().gHistoryFromButton, 0) << way;
        }
        EXPECT_FALSE(IsLoaded("Form14")) << way << ": History closes with the check-in";
    }
}

TEST_F(Form2Test, HistoryButtonOpensHistoryFromTheButton) {
    Open();
    ASSERT_TRUE(checkIn().Combo1.UserPick("101 NQ1  "));
    ASSERT_TRUE(checkIn().Combo2.UserPick("CASH or CHECK"));
    app().Dispatch([&] { app().Unload("Form14"); });
    checkIn().Command4.UserClick();
    EXPECT_EQ(app().gHistoryFromButton, 1);
    EXPECT_TRUE(IsLoaded("Form14"));
}

// Port 1 of the call-capture window is a pseudo-terminal here, so the port really opens.
TEST_F(Form2Test, LeavingClosesTheCallBoxPortAndTheFrontDeskOpensItAgain) {
    testing::PseudoTerminal callBox;
    ASSERT_TRUE(callBox.Opened());
    const std::string device = callBox.device();
    Form50& calls = Form<Form50>();
    calls.MSComm1.SetDevices([device](int port) { return port == 1 ? device : std::string(); });

    Open();
    ASSERT_TRUE(calls.MSComm1.PortOpen());
    FillIn();
    CommitWithoutDeposit();
    std::vector<std::string> unloaded;
    bool openWhenUnloaded = true;
    app().on_unloaded = [&](platform::Form& form) {
        unloaded.push_back(form.Name());
        if (form.Name() == "Form50")
            openWhenUnloaded = calls.MSComm1.PortOpen();
    };
    Form<Form15>().Command2.UserClick();
    app().on_unloaded = nullptr;

    EXPECT_EQ(unloaded, (std::vector<std::string>{"Form15", "Form14", "Form50", "form2"}));
    EXPECT_FALSE(openWhenUnloaded);
    EXPECT_TRUE(IsLoaded("Form1"));
    EXPECT_TRUE(calls.MSComm1.PortOpen()) << "the front desk's load opens it again";
    calls.MSComm1.SetPortOpen(false);
}

TEST_F(Form2Test, LeavingTakesTheFeeWindowAlong) {
    Open();
    FillIn();
    checkIn().Command6.UserClick();
    ASSERT_TRUE(IsLoaded("Form64"));
    checkIn().UserKey(platform::vbKeyEscape);
    EXPECT_FALSE(IsLoaded("Form64"));
    EXPECT_FALSE(IsLoaded("form2"));
}

} // namespace
} // namespace vantreth
