// The reservations menu, the two reservation lists and what they hand to Edit Reservation,
// cancelling every reservation due today (the CancelRecords and the freed slots), and the
// canceled reservations list and its printout.
#include "reservations_fixture.h"

#include "frontdesk/form1.h"
#include "printing/canceled_reservations_report.h"
#include "records/cancel_record.h"
#include "reservations/form25.h"
#include "reservations/form27.h"
#include "reservations/form37.h"
#include "reservations/form68.h"
#include "reservations/reservation_lists.h"

namespace vantreth {
namespace {

using platform::Space;
using testing::Reservation;
using testing::ReservationsFixture;

TEST(ReservationListsTest, EditListLinePutsTheRoomAfterTheDateAndItsKeyReadsBothBack) {
    struct Case {
        std::string arrival;
        std::string room;
        std::string line;
        ReservationKey key;
    };
    const Case cases[] = {
        {"1/5/04", "101", "1/5/04    " + Space(5) + "101" + Space(8) + "ABC", {"1/5/04", "101"}},
        {"12/25/04", "101", "12/25/04  " + Space(3) + "101" + Space(8) + "ABC", {"12/25/04", "101"}},
        // A two-character room is handed over as stored, so that it is found again.
        {"1/5/04", "12", "1/5/04    " + Space(5) + "12 " + Space(8) + "ABC", {"1/5/04", "12 "}},
        // A date typed with a four-digit year fills the field; the room still reads back alone.
        {"12/25/2004", "101", "12/25/2004 101" + Space(8) + "ABC", {"12/25/2004", "101"}},
    };
    for (const Case& c : cases) {
        const std::string line = EditListLine(Reservation("ABC", "X", c.room, c.arrival));
        EXPECT_EQ(line, c.line) << c.arrival << " room " << c.room;
        EXPECT_EQ(EditListKey(line), c.key) << c.arrival << " room " << c.room;
    }
}

using ReservationListWindowsTest = ReservationsFixture;

TEST_F(ReservationListWindowsTest, EditListShowsNamedSlotsSortedAsTextAndHandsTheChosenOneToEditReservation) {
    PutReservations({
        Reservation("SMITH", "JOHN", "101", "1/5/04"),
        Reservation("", "", "102", "1/6/04"),    // free slot
        Reservation("", "ANN", "103", "1/6/04"), // no last name
        Reservation("JONES", "MARY", "12", "1/10/04"),
        Reservation("BROWN", "TOM", "105", "12/25/26"),
    });
    StartAtFrontDesk();
    Load("Form27");
    Form27& list = Form<Form27>();
    const std::vector<std::string> expected = {
        "1/10/04   " + Space(4) + "12 " + Space(8) + "JONES",
        "1/5/04    " + Space(5) + "101" + Space(8) + "SMITH",
        "12/25/26  " + Space(3) + "105" + Space(8) + "BROWN",
    };
    EXPECT_EQ(list.List1.Items(), expected);

    list.List1.UserDblClick(0);
    EXPECT_EQ(Seen("Form36").loads, 1);
    EXPECT_EQ(Seen("Form36").resDateKey, "1/10/04");
    EXPECT_EQ(Seen("Form36").resRoomKey, "12 ");
    EXPECT_FALSE(IsLoaded("Form27"));
}

TEST_F(ReservationListWindowsTest, TodaysListShowsTodaysArrivalsInSlotOrderAndHandsTodayAndTheRoom) {
    SetNow(12, 6, 2026, 9, 0, 0);
    PutReservations({
        Reservation("SMITH", "JOHN", "101", "12/6/26"),
        Reservation("JONES", "MARY", "102", "12/7/26"),
        Reservation("ADAMS", "ANN", "12", "12/6/26"),
    });
    StartAtFrontDesk();
    Form<Form1>().Command6.UserClick();
    Form37& list = Form<Form37>();
    ASSERT_TRUE(IsLoaded("Form37"));
    const std::vector<std::string> expected = {"101     SMITH  JOHN", "12      ADAMS  ANN"};
    EXPECT_EQ(list.List1.Items(), expected);

    list.List1.UserDblClick(1);
    EXPECT_EQ(Seen("Form36").resDateKey, "12/6/26");
    EXPECT_EQ(Seen("Form36").resRoomKey, "12 ");
    EXPECT_FALSE(IsLoaded("Form37"));

    Load("Form37");
    Form<Form37>().List1.UserKey(platform::vbKeyEscape);
    EXPECT_FALSE(IsLoaded("Form37"));
}

TEST_F(ReservationListWindowsTest, MenuButtonsOpenTheirWindows) {
    StartAtFrontDesk();
    Form<Form1>().Command9.UserClick();
    Form<Form25>().Command5.UserClick();
    EXPECT_TRUE(IsLoaded("Form68") && IsLoaded("Form25"));
    Form<Form25>().Command2.UserClick();
    EXPECT_TRUE(IsLoaded("Form27") && !IsLoaded("Form25"));
    Load("Form25");
    Form<Form25>().Command1.UserClick();
    EXPECT_EQ(Seen("Form26").loads, 1);
    EXPECT_FALSE(IsLoaded("Form25") || IsLoaded("Form1"));
}

class CancelAllTest : public ReservationsFixture {
protected:
    void OpenMenu() {
        StartAtFrontDesk();
        app().gClerk = "JD";
        Form<Form1>().Command9.UserClick();
        ASSERT_TRUE(IsLoaded("Form25"));
    }
};

TEST_F(CancelAllTest, CancelsTodaysArrivalsInSlotOrderIntoBothFilesAndFreesTheirSlots) {
    SetNow(12, 6, 2026, 9, 0, 0);
    records::GuestRecord first = Reservation("SMITH", "JOHN", "101", "12/6/26");
    first.ReservedOn = platform::Fixed("11/1/26", 10);
    first.CashDeposit = platform::Fixed("50", 10);
    first.Company = platform::Fixed("ACME", 20);
    records::GuestRecord padded = Reservation("JONES", "MARY", "102", "x");
    padded.ArrivalDate = " 12/6/26  ";
    const records::GuestRecord tomorrow = Reservation("ADAMS", "ANN", "103", "12/7/26");
    PutReservations(
        {first, tomorrow, padded, Reservation("LONGLASTNAMEXYZ", "LONGFIRSTNAMEAB", "104", "12/6/26")});
    OpenMenu();
    EXPECT_EQ(Form<Form1>().Label2.Caption(), "2"); // the padded date does not count on the front desk

    dialogs().Answer(platform::vbYes);
    dialogs().Answer(platform::vbOK);
    Form<Form25>().Command4.UserClick();
    EXPECT_EQ(dialogs().shown()[0].prompt, "Are you sure you want to cancel all reservations due in today?");
    EXPECT_EQ(dialogs().shown()[0].title, "Cancel");
    EXPECT_EQ(LastBox().prompt, "All reservations due in today have been canceled.");
    EXPECT_EQ(LastBox().title, "Canceled");

    const std::vector<records::CancelRecord> logged = records::ReadCancelRecords(OnDisk("26"));
    ASSERT_EQ(logged.size(), 3u);
    EXPECT_EQ(logged[0].Encode(),
              "SMITH JOHN" + Space(30) + "JD" + "12/6/26   " + "11/1/26   " + std::string(50, '\0'));
    EXPECT_EQ(platform::RTrim(logged[1].GuestName), "JONES MARY");
    EXPECT_EQ(logged[2].GuestName, platform::Fixed("LONGLASTNAMEXYZ LONGFIRSTNAMEAB", 40));
    EXPECT_EQ(ReadBytes("notes/12626"), ReadBytes("26"));

    records::GuestRecord freed = first;
    freed.ClearReservation();
    EXPECT_EQ(records::ReadGuest(app().data(), records::kReservationsFile, 1), freed);
    EXPECT_EQ(freed.Company, platform::Fixed("ACME", 20));
    EXPECT_EQ(records::ReadGuest(app().data(), records::kReservationsFile, 2), tomorrow);
    EXPECT_TRUE(records::ReadGuest(app().data(), records::kReservationsFile, 3).IsFree());

    EXPECT_FALSE(IsLoaded("Form25"));
    EXPECT_TRUE(IsLoaded("Form1"));
    EXPECT_EQ(Form<Form1>().Label2.Caption(), "0");
}

TEST_F(CancelAllTest, NamesTheYearFileByTheDatesLastTwoCharactersAndMakesTheNotesFolder) {
    SetNow(1, 5, 2004, 9, 0, 0);
    PutReservations({Reservation("SMITH", "JOHN", "101", "1/5/04")});
    std::filesystem::remove_all(DataFile("notes"));
    OpenMenu();
    dialogs().Answer(platform::vbYes);
    dialogs().Answer(platform::vbOK);
    Form<Form25>().Command4.UserClick();
    EXPECT_EQ(records::ReadCancelRecords(OnDisk("04")).size(), 1u);
    EXPECT_EQ(records::ReadCancelRecords(OnDisk("notes/1504")).size(), 1u);
}

TEST_F(CancelAllTest, NoArrivalsTodayStillSaysCanceledAndWritesNoCancelFile) {
    PutReservations({Reservation("ADAMS", "ANN", "103", "12/7/26")});
    OpenMenu();
    dialogs().Answer(platform::vbYes);
    dialogs().Answer(platform::vbOK);
    Form<Form25>().Command4.UserClick();
    EXPECT_EQ(LastBox().title, "Canceled");
    EXPECT_FALSE(Exists("26"));
    EXPECT_FALSE(Exists("notes/12626"));
    EXPECT_FALSE(IsLoaded("Form25"));
}

TEST_F(CancelAllTest, AnsweringNoChangesNothing) {
    PutReservations({Reservation("SMITH", "JOHN", "101", "12/6/26")});
    const std::string before = ReadBytes("reservations");
    OpenMenu();
    dialogs().Answer(platform::vbNo);
    Form<Form25>().Command4.UserClick();
    EXPECT_EQ(ReadBytes("reservations"), before);
    EXPECT_FALSE(Exists("26"));
    EXPECT_TRUE(IsLoaded("Form25"));
    ExpectNoPendingAnswers();
}

class CanceledListTest : public ReservationsFixture {
protected:
    static records::CancelRecord Canceled(const std::string& name, const std::string& madeOn,
                                          const std::string& canceledOn, const std::string& clerk) {
        records::CancelRecord record;
        record.GuestName = platform::Fixed(name, 40);
        record.ReservedOn = platform::Fixed(madeOn, 10);
        record.CanceledOn = platform::Fixed(canceledOn, 10);
        record.Clerk = clerk;
        return record;
    }
};

TEST_F(CanceledListTest, ChoosingAYearListsItsCancellationsAndEnablesPrintOnlyWhenThereAreAny) {
    records::AppendCancelRecord(OnDisk("04"), Canceled("ABCDE FGHI", "1/2/04", "1/5/04", "AB"));
    records::AppendCancelRecord(OnDisk("04"), Canceled("SMITH JOHN", "11/12/03", "12/20/04", "JD"));
    Load("Form68");
    Form68& window = Form<Form68>();
    ASSERT_EQ(window.Combo1.ListCount(), 23); // 2004 up to this year, 2026
    EXPECT_EQ(window.Combo1.List(0), "2004");
    EXPECT_EQ(window.Combo1.List(16), "2020");
    EXPECT_EQ(window.Combo1.List(22), "2026");
    EXPECT_FALSE(window.Command4.Enabled());

    window.Combo1.UserPick("2004");
    const std::vector<std::string> expected = {
        "ABCDE FGHI" + Space(21) + "1/2/04" + Space(9) + "1/5/04    " + Space(10) + "AB",
        "SMITH JOHN" + Space(21) + "11/12/03" + Space(7) + "12/20/04  " + Space(8) + "JD",
    };
    EXPECT_EQ(window.List1.Items(), expected);
    EXPECT_TRUE(window.Command4.Enabled());

    window.Combo1.UserPick("2005");
    EXPECT_EQ(window.List1.ListCount(), 0);
    EXPECT_FALSE(window.Command4.Enabled());

    window.Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form68"));
}

TEST_F(CanceledListTest, PrintsTheYearsCancellationsUnderTheMotelsTitle) {
    records::AppendCancelRecord(OnDisk("04"), Canceled("ABCDE FGHI", "1/2/04", "1/5/04", "AB"));
    records::AppendCancelRecord(OnDisk("04"), Canceled("SMITH JOHN", "11/12/03", "12/20/04", "JD"));
    Load("Form68");
    Form<Form68>().Combo1.UserPick("2004");
    Form<Form68>().Command4.UserClick();

    const std::vector<platform::PrintJob> jobs = printer().TakeJobs();
    ASSERT_EQ(jobs.size(), 1u);
    const std::string expected =
        std::string("\n") + Space(15) + "Test Motel Canceled Reservations for year 2004\n\n\n" +
        "NAME                      DATE MADE           DATE CANCELED    CLERK\n" + std::string(92, '-') +
        "\n" + "ABCDE FGHI" + Space(16) + "1/2/04    " + Space(10) + "1/5/04    " + Space(7) + "AB\n" +
        "SMITH JOHN" + Space(16) + "11/12/03  " + Space(10) + "12/20/04  " + Space(7) + "JD";
    EXPECT_EQ(jobs[0].Text(), expected);
}

} // namespace
} // namespace vantreth
