// Taking a reservation: the arrival date and its checks, the free rooms, the overbooking
// test, the price shown, Reserve Now's records and refusals, a further reservation of the
// same guest, and the ways out.
#include "reservations/reservations_fixture.h"
#include "support/pseudo_terminal.h"

#include "callacct/form50.h"
#include "checkin/form14.h"
#include "frontdesk/form1.h"
#include "records/counters.h"
#include "records/day_totals.h"
#include "records/history.h"
#include "records/posting_codes.h"
#include "records/reservation_files.h"
#include "records/shift_cash.h"
#include "reservations/form26.h"
#include "reservations/form33.h"
#include "reservations/form44.h"
#include "reservations/form45.h"
#include "reservations/form65.h"
#include "reservations/reserve.h"

namespace vantreth {
namespace {

using platform::Fixed;
using records::GuestRecord;
using testing::Reservation;

class AddReservationTest : public testing::AppFixture {
protected:
    AddReservationTest() {
        SetNow(1, 3, 2004, 10, 0, 0);
        records::WriteIntroFlag(app().data(), 1.0f);
        records::WriteTaxRate(app().data(), 0.1);
        records::WriteConfirmationCounter(app().data(), 100);
        app().gShift = "A";
        app().gClerk = "JD";
        AddRoom("104", "K11", 45);
        AddRoom("101", "NQ1", 59.95f);
        AddRoom("102", "NDD1", 60);
        AddRoom("103", "NQ1", 50, "X");
    }

    void AddRoom(const std::string& number, const std::string& type, float rate,
                 const std::string& service = "A") {
        records::AppendRoom(app().data(),
                            testing::Room({.room = number, .type = type, .rate = rate, .service = service}));
    }
    void CheckedIn(long slot, const std::string& room, const std::string& departure) {
        records::WriteGuest(app().data(), records::kGuestFile, slot,
                            Reservation("GUEST", "IN", room, "1/1/04", departure));
    }

    Form26& add() { return Form<Form26>(); }
    Form33& date() { return Form<Form33>(); }

    // The menu's "Add Reservation": the front desk goes and the window opens.
    void Open() {
        app().Dispatch([&] {
            app().Unload("Form1");
            app().Load(app().Get<Form26>());
        });
        ASSERT_TRUE(IsLoaded("Form33"));
    }
    // Accepts the arrival date and closes History without a pick.
    void OpenFor(const std::string& arrival) {
        Open();
        Retype(date().Text1, arrival);
        date().Command2.UserClick();
        ASSERT_TRUE(IsLoaded("Form14")) << arrival;
        Form<Form14>().Command2.UserClick();
    }
    // Room 102 for `nights` nights, paid in cash with the amount given, for SMITH JOHN.
    void FillIn(const std::string& cash = "50", const std::string& nights = "3") {
        ASSERT_TRUE(add().Combo1.UserPick("102 NDD1 "));
        add().Text1.UserClick();
        add().Text1.UserTypeText(nights);
        ASSERT_TRUE(add().Combo2.UserPick("CASH or CHECK"));
        add().Text7.UserTypeText(cash);
        add().Text9.UserTypeText("smith");
        add().Text10.UserTypeText("john");
        add().Text20.UserTypeText("late arrival");
    }
    void ReserveNow() {
        dialogs().Answer(platform::vbYes);
        add().Command2.UserClick();
    }
    GuestRecord Slot(long n) { return records::ReadGuest(app().data(), records::kReservationsFile, n); }
};

TEST_F(AddReservationTest, OpeningIssuesAConfirmationNumberAndCancelLeavesItUsed) {
    records::WriteOptionalRates(app().data(), {49.95f, 0, 65, 0, 0});
    Open();
    EXPECT_EQ(add().windowState(), platform::WindowState::Minimized);
    EXPECT_EQ(date().Text1.Text(), "1/3/04");
    EXPECT_EQ(add().Label27.Caption(), "100");
    EXPECT_EQ(records::ReadConfirmationCounter(app().data()), 101);
    EXPECT_EQ(add().Text21.Text(), "JD");
    EXPECT_EQ(add().Combo2.Items(), (std::vector<std::string>{"CASH or CHECK", "VISA/MASTER", "AMERICAN EX.",
                                                              "DISCOVER", "DINERS", "DIRECT BILL"}));
    EXPECT_EQ(add().Combo3.Items(), (std::vector<std::string>{"49.95", "65"}));

    date().Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form26"));
    EXPECT_TRUE(IsLoaded("Form1"));

    app().gPresetArrivalDate = "2/14/04";
    Open();
    EXPECT_EQ(date().Text1.Text(), "2/14/04");
    EXPECT_EQ(add().Label27.Caption(), "101");
    add().Command3.UserClick();
    EXPECT_EQ(app().gPresetArrivalDate, "2/14/04") << "only the date window's own buttons clear it";
    EXPECT_EQ(records::ReadConfirmationCounter(app().data()), 102);
    EXPECT_EQ(ReadBytes("reservations"), "");
}

TEST_F(AddReservationTest, WithoutACounterOrWithAnEmptyOneTheNumbersStartAtOneAndABrokenOneClosesTheWindow) {
    std::filesystem::remove(DataFile("cnumber"));
    Open();
    EXPECT_EQ(add().Label27.Caption(), "1");
    EXPECT_EQ(records::ReadConfirmationCounter(app().data()), 2);
    add().Command3.UserClick();

    // An empty counter starts the numbers at 1 like a missing one.
    WriteBytes("cnumber", "");
    Open();
    EXPECT_EQ(add().Label27.Caption(), "1");
    add().Command3.UserClick();

    // A counter that holds a date gives no number: the window does not stay open.
    WriteBytes("cnumber", "#2026-12-06#\r\n");
    dialogs().Answer(platform::vbOK);
    app().Dispatch([&] {
        app().Unload("Form1");
        app().Load(app().Get<Form26>());
    });
    EXPECT_EQ(LastBox().title, "File Error");
    EXPECT_FALSE(IsLoaded("Form26") || IsLoaded("Form33"));
    EXPECT_TRUE(IsLoaded("Form1"));
    EXPECT_EQ(ReadBytes("cnumber"), "#2026-12-06#\r\n");
}

TEST_F(AddReservationTest, ArrivalDateChecksRefuseMisWrittenDates) {
    const struct {
        std::string typed;
        std::optional<std::string> message; // nullopt: accepted
    } cases[] = {
        {"13/1/04", "The month is invalid. Please Fix."},
        {"1/05/04",
         "Do not put an 0 before the day of the month. For example, it would be 1/5/04 not 1/05/04. "
         "Please Fix."},
        {"01/5/04",
         "Do not put an 0 at the beginning of the month. For example, it would be 1/5/04 not 01/5/04. "
         "Please Fix."},
        {"/1/04", ""},
        {"1//04", ""},
        {"12/1/04", std::nullopt},
        {"1/5/04", std::nullopt},
        {"1/5/2004", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto problem = reservations::CheckArrivalDateText(c.typed);
        ASSERT_EQ(problem.has_value(), c.message.has_value()) << c.typed;
        if (problem) {
            EXPECT_EQ(reservations::ArrivalDateMessage(*problem), *c.message) << c.typed;
        }
    }

    Open();
    Retype(date().Text1, "13/1/04");
    dialogs().Answer(platform::vbOK);
    date().Command2.UserClick();
    EXPECT_EQ(LastBox().title, "WARNING");
    EXPECT_TRUE(date().Text1.HasFocus());
    EXPECT_FALSE(IsLoaded("Form14"));
    ExpectNoPendingAnswers();
}

TEST_F(AddReservationTest, FreeRoomsLeaveOutOutOfOrderRoomsAndThoseReservedThatDay) {
    records::WriteGuest(app().data(), records::kReservationsFile, 1,
                        Reservation("A", "B", "101", "1/5/04", "1/8/04"));
    records::WriteGuest(app().data(), records::kReservationsFile, 2,
                        Reservation("C", "D", "102", "1/30/04", "2/2/04"));
    records::WriteGuest(app().data(), records::kReservationsFile, 3,
                        Reservation("", "", "104", "1/6/04", "1/9/04"));
    const std::vector<std::string> all = {"104 K11  ", "101 NQ1  ", "102 NDD1 "};
    const std::vector<std::string> no101 = {"104 K11  ", "102 NDD1 "};
    const std::vector<std::string> no102 = {"104 K11  ", "101 NQ1  "};
    const struct {
        std::string arrival;
        std::vector<std::string> rooms;
        // Mended: the nights are calendar nights, so a stay into the next month holds its room
        // there too, and the same days of another year are free.
    } cases[] = {{"1/5/04", no101},  {"1/6/04", no101},  {"1/7/04", no101}, {"1/8/04", all}, {"1/6/05", all},
                 {"1/30/04", no102}, {"1/31/04", no102}, {"2/1/04", no102}, {"2/2/04", all}};
    for (const auto& c : cases)
        EXPECT_EQ(reservations::FreeRoomsForArrival(app().data(), c.arrival, 2004), c.rooms) << c.arrival;

    // A further reservation is kept from rooms held that night, whatever the names of the slot.
    EXPECT_EQ(reservations::FreeRoomsForFurtherArrival(app().data(), "1/7/04", 2004),
              (std::vector<std::string>{"102 NDD1 "}));
    EXPECT_EQ(reservations::FreeRoomsForFurtherArrival(app().data(), "1/6/04", 2004),
              (std::vector<std::string>{"102 NDD1 "}));
    EXPECT_EQ(reservations::FreeRoomsForFurtherArrival(app().data(), "1/5/04", 2004), no101);

    Open();
    Retype(date().Text1, "1/6/04");
    date().Command2.UserClick();
    EXPECT_EQ(add().Combo1.Items(), (std::vector<std::string>{"102 NDD1 ", "104 K11  "}));
    EXPECT_EQ(add().Text3.Text(), "1/6/04");
    EXPECT_EQ(add().windowState(), platform::WindowState::Maximized);
    EXPECT_TRUE(IsLoaded("Form14"));
    EXPECT_EQ(app().gHistoryForReservation, 1);
}

TEST_F(AddReservationTest, AHistoryPickFillsTheGuestAndMakesReserveNowAvailable) {
    records::AppendHistoryEntry(app().data(), testing::HistoryStay({.LastName = "JONES",
                                                                    .FirstName = "MARY",
                                                                    .Street = "1 MAIN",
                                                                    .City = "DALLAS",
                                                                    .State = "TX",
                                                                    .Zip = "75001",
                                                                    .Phone = "555-0101",
                                                                    .FolioNumber = "17"}));
    Open();
    date().Command2.UserClick();
    Form<Form14>().Text1.UserTypeText("JON");
    Form<Form14>().List1.UserClick(0);

    EXPECT_FALSE(IsLoaded("Form14"));
    EXPECT_EQ(app().gHistoryForReservation, 0);
    EXPECT_EQ(add().Text9.Text() + "|" + add().Text10.Text() + "|" + add().Text12.Text() + "|" +
                  add().Text14.Text() + "|" + add().Text16.Text() + "|" + add().Text21.Text(),
              "JONES|MARY|1 MAIN|TX|555-0101|JD");
    EXPECT_TRUE(add().Command2.Enabled());
}

TEST_F(AddReservationTest, OverbookingComparesTheArrivalWithTheGuestsDepartureAsDates) {
    const struct {
        std::string departure, arrival;
        bool overbooked;
    } cases[] = {
        {"1/8/04", "1/5/04", true},     {"1/8/04", "1/8/04", false}, {"1/8/04", "1/9/04", false},
        {"1/8/04", "2/1/04", false},    {"1/8/04", "1/5/05", false}, {"2/3/04", "1/30/04", true},
        {"12/28/04", "12/20/04", true}, {"1/5/04", "1/7/04", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reservations::OverbooksGuest(c.arrival, c.departure, 2004), c.overbooked)
            << c.arrival << " against a guest leaving " << c.departure;

    CheckedIn(10, "102", "1/8/04");
    OpenFor("1/5/04");
    dialogs().Answer(platform::vbOK);
    ASSERT_TRUE(add().Combo1.UserPick("102 NDD1 "));
    EXPECT_EQ(LastBox().prompt, "Overbooking on this room. Please choose another room.");
    EXPECT_EQ(LastBox().title, "Overbooking");
    EXPECT_EQ(add().Text2.Text(), "");
    EXPECT_FALSE(add().Combo2.Enabled());
    ExpectNoPendingAnswers();
}

TEST_F(AddReservationTest, PriceFollowsTheTaxExemptBoxOnlyWhereItIsAsked) {
    OpenFor("1/5/04");
    ASSERT_TRUE(add().Combo1.UserPick("102 NDD1 "));
    add().Text1.UserClick();
    add().Text1.UserTypeText("3");
    EXPECT_EQ(add().Label24.Caption() + " " + add().Label25.Caption(), "66 198");
    add().Check1.UserClick();
    EXPECT_EQ(add().Label24.Caption() + " " + add().Label25.Caption(), "60 180");
    add().Command1.UserClick();
    EXPECT_EQ(add().Label24.Caption() + " " + add().Label25.Caption(), "66 198");

    ASSERT_TRUE(add().Combo1.UserPick("101 NQ1  "));
    add().Command5.UserClick();
    EXPECT_EQ(add().Text2.Text(), "53.96");
    EXPECT_EQ(add().Label25.Caption(), "178.08") << "59.36 a night for 3 nights";
    add().Command5.UserClick();
    EXPECT_EQ(add().Text2.Text(), "53.96") << "the discount is given once";
    Retype(add().Text2, "40");
    add().Command5.UserClick();
    EXPECT_EQ(add().Text2.Text(), "36") << "a new rate may be discounted again";
}

TEST_F(AddReservationTest, ReserveNowStoresTheReservationInTheFirstFreeSlotAndPostsTheCash) {
    GuestRecord cancelled = Reservation("", "", "   ", "");
    cancelled.CashDeposit = Fixed("80", 10);
    cancelled.CardDeposit = Fixed("20", 10);
    cancelled.SpareText = Fixed("OLD", 10);
    for (long n = 1; n <= 5; ++n)
        records::WriteGuest(app().data(), records::kReservationsFile, n,
                            n == 3 ? cancelled : Reservation("X", "Y", "104", "2/1/04"));
    records::WriteFolioCounter(app().data(), {41});
    OpenFor("1/5/04");
    FillIn("50", "3");
    ReserveNow();

    EXPECT_EQ(LastBox().prompt, "Are you sure you want to make this reservation now?");
    EXPECT_EQ(LastBox().title, "Check In");
    GuestRecord expected;
    expected.LastName = Fixed("SMITH", 15);
    expected.FirstName = Fixed("JOHN", 15);
    expected.Clerk = "JD";
    expected.Room = "102";
    expected.Adults = 1;
    expected.Nights = 3;
    expected.PayCode = "L";
    expected.CheckInTime = Fixed("none", 10);
    expected.ArrivalDate = Fixed("1/5/04", 10);
    expected.DepartureDate = Fixed("1/8/04", 10);
    expected.Rate = 60;
    expected.FolioNumber = Fixed("42", 5);
    expected.Comment = Fixed("LATE ARRIVAL", 160);
    expected.ReservedOn = Fixed("1/3/04", 10);
    expected.ConfirmationNumber = Fixed("100", 10);
    expected.CashDeposit = Fixed("50", 10);
    EXPECT_EQ(Slot(3), expected);
    EXPECT_EQ(records::GuestCount(app().data(), records::kReservationsFile), 5);
    EXPECT_EQ(records::ReadFolioCounter(app().data()).LastFolio, 42);
    EXPECT_EQ(ReadBytes("reservationstoday/1304"), "\"102\",\"SMITH\",\"JOHN\",\"1/5/04\",\"1/8/04\"\r\n");
    EXPECT_EQ(records::ReadReservationsTodayFlag(app().data()), 1);
    EXPECT_EQ(records::ReadDayTotals(app().data(), "1/3/04").Cash, 50);
    const records::ShiftCash shift = records::ReadShiftCash(app().data(), "A", "1/3/04");
    EXPECT_EQ(shift.CashFromRent, 50);
    EXPECT_EQ(shift.Clerk, "JD");
    EXPECT_TRUE(IsLoaded("Form44"));
    EXPECT_FALSE(add().Command2.Enabled()) << "a second click would store it twice";
    EXPECT_EQ(app().clock().DateText(), "1/3/04");
    ExpectNoPendingAnswers();
}

TEST_F(AddReservationTest, DepositsGoToTheirColumnsOfTheDay) {
    const struct {
        std::string payment, cash, card;
        float dayCash, shiftCash, amex, visa;
        std::string cashField, cardField, payCode;
    } cases[] = {
        {"CASH or CHECK", "-20", "", -20, -20, 0, 0, "-20", "", "L"},
        {"AMERICAN EX.", "", "75.5", 0, 0, 75.5f, 0, "", "75.5", "M"},
        // Mended: a card amount with no card chosen was never taken: it is not stored.
        {"", "", "30", 0, 0, 0, 0, "", "", " "},
        {"DIRECT BILL", "abc", "", 0, 0, 0, 0, "", "", "Q"},
    };
    int day = 10;
    for (const auto& c : cases) {
        const platform::Date today{2004, 1, day++};
        const std::string todayText = platform::DateText(today);
        reservations::ReservationEntry entry{.roomChoice = "101 NQ1  ",
                                             .lastName = "Doe",
                                             .nights = "1",
                                             .arrival = "1/20/04",
                                             .payment = c.payment,
                                             .account = "0007 ACME",
                                             .cardAmount = c.card,
                                             .cashAmount = c.cash};
        if (c.cash != "abc") {
            ASSERT_FALSE(reservations::CheckReservation(entry, 2004)) << c.payment;
        } else {
            EXPECT_EQ(reservations::CheckReservation(entry, 2004), reservations::ReservationProblem::BadCash);
            entry.cashAmount = "";
        }
        const auto stored = reservations::StoreReservation(app().data(), entry, {"B", "KL", today});
        const records::DayTotals totals = records::ReadDayTotals(app().data(), todayText);
        EXPECT_EQ(totals.Cash, c.dayCash) << c.payment;
        EXPECT_EQ(records::ReadShiftCash(app().data(), "B", todayText).CashFromRent, c.shiftCash)
            << c.payment;
        EXPECT_EQ(totals.AmericanExpress, c.amex) << c.payment;
        EXPECT_EQ(totals.VisaMaster, c.visa) << c.payment;
        EXPECT_EQ(stored.record.CashDeposit, Fixed(c.cashField, 10)) << c.payment;
        EXPECT_EQ(stored.record.CardDeposit, Fixed(c.cardField, 10)) << c.payment;
        EXPECT_EQ(stored.record.PayCode, c.payCode) << c.payment;
        EXPECT_EQ(stored.record.DBNumber, c.payCode == "Q" ? "0007    " : std::string(8, ' ')) << c.payment;
    }
}

TEST_F(AddReservationTest, RefusedReservationsWriteNothing) {
    const struct {
        std::string what;
        std::function<void(Form26&)> spoil;
        std::string message;
        std::string focus; // the box the clerk is sent to
    } cases[] = {
        {"no room", [](Form26& f) { f.Combo1.SetText(""); },
         "You did not select a room. Select a room or click 'Cancel' to exit this module.", "Combo1"},
        {"no last name", [](Form26& f) { f.Text9.SetText(""); },
         "You did not type the guest's last name. Type the last name or click 'Cancel' to exit this module.",
         "Text9"},
        {"arrival not a date", [](Form26& f) { f.Text3.SetText("1/32/04"); },
         "The arrival date is not a date. Type the date like 1/5/04. Please Fix.", "Text3"},
        {"cash not a number", [](Form26& f) { f.Text7.SetText("5O"); },
         "The cash amount is not a number. Type the amount in dollars, like 50.00, or leave the box empty.",
         "Text7"},
        {"rate not a number", [](Form26& f) { f.Text2.SetText("4O.00"); },
         "The rate you typed is not a number. Please type the rate in dollars, like 45.50.", "Text2"},
        {"nights not whole", [](Form26& f) { f.Text1.SetText("2.5"); },
         "The number of nights must be a whole number from 1 to 9999. Type the nights, like 2.", "Text1"},
        {"no night: the departure would be the arrival", [](Form26& f) { f.Text1.SetText("0"); },
         "The number of nights must be a whole number from 1 to 9999. Type the nights, like 2.", "Text1"},
        {"rate with parts of a cent", [](Form26& f) { f.Text2.SetText("45.505"); }, records::kCentsMessage,
         "Text2"},
        {"cash with parts of a cent", [](Form26& f) { f.Text7.SetText("50.001"); }, records::kCentsMessage,
         "Text7"},
        // A record keeps every cent only up to 131,071.99: a deposit past it would post another figure.
        {"rate past what a record keeps", [](Form26& f) { f.Text2.SetText("131072.01"); },
         records::kAmountTooLargeMessage, "Text2"},
        {"cash past what a record keeps", [](Form26& f) { f.Text7.SetText("131100.01"); },
         records::kAmountTooLargeMessage, "Text7"},
        {"card past what a record keeps",
         [](Form26& f) {
             f.Combo2.UserPick("AMERICAN EX.");
             f.Text4.SetText("150000.01");
         },
         records::kAmountTooLargeMessage, "Text4"},
    };
    for (const auto& c : cases) {
        OpenFor("1/5/04");
        FillIn();
        app().Dispatch([&] { c.spoil(add()); });
        dialogs().Answer(platform::vbOK);
        add().Command2.UserClick();
        EXPECT_EQ(LastBox().prompt, c.message) << c.what;
        EXPECT_EQ(LastBox().title, "WARNING") << c.what;
        ASSERT_NE(add().ActiveControl(), nullptr) << c.what;
        EXPECT_EQ(add().ActiveControl()->Name(), c.focus) << c.what;
        add().Command3.UserClick();
    }
    // "No" to the question writes nothing either.
    OpenFor("1/5/04");
    FillIn();
    dialogs().Answer(platform::vbNo);
    add().Command2.UserClick();
    EXPECT_FALSE(IsLoaded("Form44"));
    EXPECT_EQ(ReadBytes("reservations"), "");
    for (const char* file : {"folio", "restodayyes", "reservationstoday/1304", "totals/totals1304"})
        EXPECT_FALSE(Exists(file)) << file;
    ExpectNoPendingAnswers();
}

TEST_F(AddReservationTest, AFurtherReservationGetsItsOwnNumberAndNoSecondDeposit) {
    OpenFor("1/5/04");
    FillIn("50", "2");
    ReserveNow();
    Form<Form44>().Command1.UserClick();

    EXPECT_FALSE(IsLoaded("Form44"));
    EXPECT_EQ(add().Label27.Caption(), "101");
    EXPECT_EQ(records::ReadConfirmationCounter(app().data()), 102);
    EXPECT_FALSE(add().Frame5.Enabled() || add().Frame2.Enabled() || add().Frame3.Enabled() ||
                 add().Frame4.Enabled() || add().Combo2.Enabled());
    EXPECT_EQ(add().Text7.Text(), "");
    ASSERT_TRUE(IsLoaded("Form45"));
    EXPECT_EQ(Form<Form45>().Text1.Text(), "1/5/04");

    Retype(Form<Form45>().Text1, "1/20/04");
    Form<Form45>().Command2.UserClick();
    EXPECT_FALSE(IsLoaded("Form45"));
    EXPECT_EQ(add().Text3.Text(), "1/20/04");
    EXPECT_EQ(add().Combo1.Text(), "select room");
    EXPECT_EQ(add().Combo1.ListCount(), 3);
    ASSERT_TRUE(add().Combo1.UserPick("104 K11  "));
    ReserveNow();

    const GuestRecord second = Slot(2);
    EXPECT_EQ(second.LastName, Fixed("SMITH", 15));
    EXPECT_EQ(second.ArrivalDate, Fixed("1/20/04", 10));
    EXPECT_EQ(second.ConfirmationNumber, Fixed("101", 10));
    EXPECT_EQ(second.CashDeposit, std::string(10, ' '));
    EXPECT_EQ(records::ReadDayTotals(app().data(), "1/3/04").Cash, 50);
    EXPECT_EQ(records::ReadShiftCash(app().data(), "A", "1/3/04").CashFromRent, 50);

    Form<Form44>().Command2.UserClick();
    EXPECT_FALSE(IsLoaded("Form26"));
    EXPECT_TRUE(IsLoaded("Form1"));
    EXPECT_EQ(Form<Form1>().Label2.Caption(), "0");
    ExpectNoPendingAnswers();
}

// Take 10% Off on a rate that is no multiple of ten cents writes the rate rounded to the even
// cent, and Reserve Now stores it: nothing the clerk did not type is refused.
TEST_F(AddReservationTest, ADiscountedOddCentRateIsStored) {
    const struct {
        const char* arrival;
        const char* typed;
        const char* shown;
        float stored;
    } cases[] = {{"1/5/04", "59.95", "53.96", 53.96f},
                 {"1/10/04", "44.05", "39.64", 39.64f},
                 {"1/15/04", "12.34", "11.11", 11.11f}};
    long slot = 1;
    for (const auto& c : cases) {
        OpenFor(c.arrival);
        FillIn("50", "3");
        Retype(add().Text2, c.typed);
        add().Command5.UserClick();
        EXPECT_EQ(add().Text2.Text(), c.shown) << c.typed;
        ReserveNow();
        ASSERT_TRUE(IsLoaded("Form44")) << c.typed << ": " << LastBox().prompt;
        EXPECT_EQ(Slot(slot++).Rate, c.stored) << c.typed;
        Form<Form44>().Command2.UserClick();
    }
}

// Mended: a card amount typed before the clerk switched to another payment type was stored
// as a card deposit that no day total held, and became a payment at check-in. Only the
// chosen payment's amount is kept, and a card deposit names the card that took it.
TEST_F(AddReservationTest, OnlyTheChosenPaymentsAmountIsStored) {
    const struct {
        std::string room, payment, cash;
        std::string cashDeposit, cardDeposit, card;
        float dayCash, dayVisa;
    } cases[] = {
        {"102 NDD1 ", "CASH or CHECK", "50", "50", "", "", 50, 0},
        {"104 K11  ", "VISA/MASTER", "", "", "30", "N", 50, 30},
    };
    long slot = 1;
    for (const auto& c : cases) {
        OpenFor("1/5/04");
        ASSERT_TRUE(add().Combo1.UserPick(c.room));
        ASSERT_TRUE(add().Combo2.UserPick("VISA/MASTER"));
        add().Text4.UserTypeText("30");
        ASSERT_TRUE(add().Combo2.UserPick(c.payment));
        add().Text7.UserTypeText(c.cash);
        add().Text9.UserTypeText("smith");
        add().Text10.UserTypeText("john");
        ReserveNow();
        const GuestRecord stored = Slot(slot++);
        EXPECT_EQ(stored.CashDeposit, Fixed(c.cashDeposit, 10)) << c.payment;
        EXPECT_EQ(stored.CardDeposit, Fixed(c.cardDeposit, 10)) << c.payment;
        EXPECT_EQ(stored.SpareText, Fixed(c.card, 10)) << c.payment;
        const records::DayTotals totals = records::ReadDayTotals(app().data(), "1/3/04");
        EXPECT_EQ(totals.Cash, c.dayCash) << c.payment;
        EXPECT_EQ(totals.VisaMaster, c.dayVisa) << c.payment;
        Form<Form44>().Command2.UserClick();
    }
    ExpectNoPendingAnswers();
}

// Mended: "Duplicate?" left Add Reservation usable, a change of the first name enabled
// Reserve Now again, and a second click stored the reservation again under the same
// confirmation number and posted its cash deposit twice.
TEST_F(AddReservationTest, AReservationIsStoredOncePerConfirmationNumber) {
    OpenFor("1/5/04");
    FillIn("50", "3");
    ReserveNow();
    ASSERT_TRUE(IsLoaded("Form44"));
    add().Text10.UserTypeText("ny");
    ASSERT_TRUE(add().Command2.Usable());
    dialogs().Answer(platform::vbOK);
    add().Command2.UserClick();
    EXPECT_EQ(
        LastBox().prompt,
        "This reservation has already been made under confirmation number 100. It was not stored again.");
    EXPECT_EQ(records::GuestCount(app().data(), records::kReservationsFile), 1);
    EXPECT_EQ(records::ReadDayTotals(app().data(), "1/3/04").Cash, 50);
    EXPECT_EQ(records::ReadShiftCash(app().data(), "A", "1/3/04").CashFromRent, 50);
    EXPECT_EQ(ReadBytes("reservationstoday/1304"), "\"102\",\"SMITH\",\"JOHN\",\"1/5/04\",\"1/8/04\"\r\n");
    EXPECT_EQ(records::ReadFolioCounter(app().data()).LastFolio, 1);
    ExpectNoPendingAnswers();
}

// Mended: Cancel in the further reservation's date window went back to Add Reservation still
// showing the room and date just stored with Reserve Now enabled: one click booked the room
// again under a new number. The room list is built again and no room stays picked; and
// Reserve Now refuses a room reserved for one of its nights however it got into the box.
TEST_F(AddReservationTest, CancellingAFurtherReservationDoesNotBookTheRoomAgain) {
    OpenFor("1/5/04");
    FillIn("50", "3");
    ReserveNow();
    Form<Form44>().Command1.UserClick();
    Form<Form45>().Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form45"));
    EXPECT_EQ(add().Text3.Text(), "1/5/04");
    EXPECT_EQ(add().Combo1.Text(), "select room");
    EXPECT_EQ(add().Combo1.Items(), (std::vector<std::string>{"101 NQ1  ", "104 K11  "}));

    dialogs().Answer(platform::vbOK);
    add().Command2.UserClick();
    EXPECT_EQ(LastBox().prompt,
              "You did not select a room. Select a room or click 'Cancel' to exit this module.");
    app().Dispatch([&] {
        add().Combo1.SetText("102 NDD1 ");
        add().Text3.SetText("1/7/04");
    });
    dialogs().Answer(platform::vbOK);
    add().Command2.UserClick();
    EXPECT_EQ(LastBox().prompt,
              "This room is already reserved for one of these nights. Please choose another room.");
    EXPECT_TRUE(add().Combo1.HasFocus());
    EXPECT_EQ(records::GuestCount(app().data(), records::kReservationsFile), 1);
    ExpectNoPendingAnswers();
}

// Mended: the arrival-date window's close box left Add Reservation minimised and empty with
// no front desk; it does what its Cancel does.
TEST_F(AddReservationTest, ClosingTheArrivalDateWindowIsItsCancel) {
    app().gPresetArrivalDate = "2/14/04";
    Open();
    date().UserClose();
    EXPECT_FALSE(IsLoaded("Form33"));
    EXPECT_FALSE(IsLoaded("Form26"));
    EXPECT_TRUE(IsLoaded("Form1"));
    EXPECT_EQ(app().gPresetArrivalDate, "");
}

// The call box on port 3, a pseudo-terminal.
class ExitWithWindowsOpenTest : public AddReservationTest {
protected:
    void SetUp() override { ASSERT_TRUE(m_pty.Opened()); }
    void TearDown() override { Form<Form50>().MSComm1.SetPortOpen(false); }
    void StartWithCallBox() {
        Form<Form50>().MSComm1.SetDevices(
            [this](int port) { return port == 3 ? m_pty.device() : std::string(); });
        StartProgram();
        ASSERT_TRUE(Form<Form50>().MSComm1.PortOpen());
    }

private:
    testing::PseudoTerminal m_pty;
};

// Mended: "EXIT VANTRETH" with Add Reservation open over the front desk left the call box
// port open in a process with no window: Add Reservation's unload started call capture
// again during the exit. The front desk's close box did the same.
TEST_F(ExitWithWindowsOpenTest, ExitEndsTheProgramAndClosesThePortWhateverIsOpen) {
    const std::function<void(Form1&)> exits[] = {[](Form1& desk) { desk.Command5.UserClick(); },
                                                 [](Form1& desk) { desk.UserClose(); }};
    for (const auto& exit : exits) {
        Restart();
        WriteBytes("reservations", "");
        StartWithCallBox();
        Form1& desk = Form<Form1>();
        desk.Command3.UserClick();  // Main Menu
        desk.Command9.UserClick();  // Reservations
        desk.Command6.UserClick();  // Todays Reservations
        desk.Command18.UserClick(); // Check Room Availability, with its date chart
        ASSERT_TRUE(IsLoaded("Form66"));
        Form<Form65>().Command3.UserClick();
        ASSERT_TRUE(IsLoaded("Form26"));
        Retype(date().Text1, "1/5/04");
        date().Command2.UserClick();
        FillIn("50", "3");
        ReserveNow();
        for (const char* window :
             {"Form1", "Form50", "Form12", "Form25", "Form37", "Form26", "Form14", "Form44"})
            ASSERT_TRUE(IsLoaded(window)) << window;

        exit(desk);
        EXPECT_TRUE(app().LoadedForms().empty());
        EXPECT_TRUE(app().Ended());
        EXPECT_FALSE(Form<Form50>().MSComm1.PortOpen());
    }
}

TEST_F(AddReservationTest, ClosingOverALoadedFrontDeskStartsCallCaptureAgain) {
    StartProgram();
    ASSERT_TRUE(IsLoaded("Form50"));
    app().Dispatch([&] { app().Load(app().Get<Form26>()); });
    app().Dispatch([&] { add().UserKey(platform::vbKeyEscape); });
    EXPECT_FALSE(IsLoaded("Form33"));
    EXPECT_FALSE(IsLoaded("Form26"));
    EXPECT_TRUE(IsLoaded("Form50"));
}

TEST_F(AddReservationTest, EnterWalksThroughTheGuestBoxes) {
    OpenFor("1/5/04");
    ASSERT_TRUE(add().Combo1.UserPick("104 K11  "));
    ASSERT_TRUE(add().Combo2.UserPick("VISA/MASTER"));
    EXPECT_EQ(add().Label30.Caption(), "VISA / MASTER");
    EXPECT_TRUE(add().Text5.HasFocus());
    add().Text5.UserType(platform::vbKeyReturn);
    add().Text6.UserType(platform::vbKeyReturn);
    add().Text4.UserType(platform::vbKeyReturn);
    EXPECT_TRUE(add().Text9.HasFocus());
    add().Text16.UserType(platform::vbKeyReturn);
    EXPECT_TRUE(add().Text18.HasFocus());
    add().Text18.UserTypeText("7");
    EXPECT_EQ(add().Text18.Text(), "1") << "only 1 to 6 count";
    add().Text18.UserTypeText("3");
    EXPECT_EQ(add().Text18.Text(), "3");
    EXPECT_TRUE(add().Text19.HasFocus());
    add().Text14.UserTypeText("tx");
    EXPECT_EQ(add().Text14.Text(), "tx");
    EXPECT_TRUE(add().Text15.HasFocus());
}

} // namespace
} // namespace vantreth
