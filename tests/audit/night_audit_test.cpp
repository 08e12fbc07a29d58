// The night audit window: its gate, the room-rent posting and its refusals, the order in
// which the steps open, the Change Date refusal, Exit, and the audit's housekeeping report.
#include "support/app_fixture.h"
#include "support/builders.h"
#include "support/file_faults.h"
#include "support/temp_folder.h"

#include "audit/form13.h"
#include "audit/form16.h"
#include "audit/night_audit.h"
#include "frontdesk/form1.h"
#include "platform/text.h"
#include "records/counters.h"
#include "records/day_totals.h"
#include "records/filenames.h"
#include "records/room_record.h"
#include "records/settings_files.h"
#include "records/shift_record.h"
#include "records/stay_ledger.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace vantreth {
namespace {

using platform::Fixed;

records::GuestRecord Guest(const std::string& room, const std::string& last, const std::string& departure,
                           float rate, float taxExempt = 0) {
    return testing::Guest(
        room, last, "ANN",
        {.TaxExempt = taxExempt, .ArrivalDate = "12/4/26", .DepartureDate = departure, .Rate = rate});
}

records::StayLedgerLine Line(const std::string& room, const std::string& date, const std::string& code,
                             float amount) {
    return testing::LedgerLine(room, code, code == "E" ? "ROOM RENT" : "PET", amount, "-----", date);
}

class NightAuditTest : public testing::AppFixture {
protected:
    void SetUp() override {
        records::WriteIntroFlag(app().data(), 1.0f);
        records::WriteShift(app().data(), {"C", "NB"});
        records::WriteNumberFile(app().data(), records::kCashDropYesFile, 1);
        records::WriteTaxRate(app().data(), 0.1);
        SetNow(12, 6, 2026, 1, 5, 0);
        StartProgram();
    }
    Form13& audit() { return Form<Form13>(); }
    void OpenAudit() {
        app().Dispatch([&] { app().Load(audit()); });
    }
    // Checks a guest in with one ledger line.
    records::GuestRecord CheckIn(const records::GuestRecord& guest, const records::StayLedgerLine& first) {
        records::AddGuest(app().data(), records::kGuestFile, guest);
        records::AppendStayLedgerLine(records::StayLedgerPath(app().data(), guest), first);
        return guest;
    }
    std::vector<records::StayLedgerLine> Ledger(const records::GuestRecord& guest) {
        return records::ReadStayLedger(records::StayLedgerPath(app().data(), guest));
    }
    void Charge() {
        dialogs().Answer(platform::vbYes);
        audit().Command1.UserClick();
    }
};

TEST_F(NightAuditTest, GateOpensOnlyOnShiftCAfterTheDropSheetAndBeforeNoon) {
    struct Case {
        std::string shift;
        std::optional<int> flag; // nullopt: no cdropyes file
        int hour;
        bool open;
        std::string title; // "" = no box
    };
    // clang-format off
    const Case cases[] = {
        {"A", 1, 1, false, "WARNING!"},
        {"B", 1, 1, false, "WARNING!"},
        {"C", 0, 1, false, "REMINDER"},
        {"C", std::nullopt, 1, false, "REMINDER"},
        {"C", 1, 23, false, ""}, // 11:05:00 PM
        {"C", 1, 12, false, ""}, // 12:05:00 PM
        {"C", 1, 1, true, ""},
        {"C", 1, 0, true, ""},   // 12:05:00 AM
        {" ", 0, 3, true, ""},   // no shift letter: only the time counts
    };
    // clang-format on
    for (const Case& c : cases) {
        const std::string label = "shift \"" + c.shift + "\" flag " +
                                  (c.flag ? std::to_string(*c.flag) : std::string("missing")) + " hour " +
                                  std::to_string(c.hour);
        app().gShift = c.shift;
        platform::DeleteFile(app().data().File(records::kCashDropYesFile));
        if (c.flag)
            records::WriteNumberFile(app().data(), records::kCashDropYesFile, *c.flag);
        clock().SetTime({c.hour, 5, 0});
        dialogs().ClearShown();
        if (!c.title.empty())
            dialogs().Answer(platform::vbOK);
        OpenAudit();

        EXPECT_EQ(audit().Command1.Enabled(), c.open) << label;
        ASSERT_EQ(dialogs().shown().size(), c.title.empty() ? 0u : 1u) << label;
        if (!c.title.empty()) {
            EXPECT_EQ(LastBox().title, c.title) << label;
            EXPECT_EQ(LastBox().prompt,
                      c.title == "REMINDER" ? audit::kNoDropSheetMessage : audit::kNotShiftCMessage)
                << label;
        }
        for (auto* step :
             {&audit().Command3, &audit().Command7, &audit().Command4, &audit().Command2, &audit().Command5})
            EXPECT_FALSE(step->Enabled()) << label << ": " << step->Caption();
        EXPECT_TRUE(audit().Command6.Enabled()) << label;
        app().Dispatch([&] { app().Unload(audit()); });
    }
}

TEST_F(NightAuditTest, UnreadableDropSheetFlagLeavesTheAuditClosed) {
    WriteBytes("cdropyes", "");
    dialogs().Answer(platform::vbOK); // the file error
    OpenAudit();
    EXPECT_TRUE(audit().Loaded());
    EXPECT_FALSE(audit().Command1.Enabled());
    ExpectNoPendingAnswers();
}

TEST_F(NightAuditTest, ChargesEveryStayOnceWithTaxOnTheTaxedOnesOnly) {
    const records::GuestRecord taxed =
        CheckIn(Guest("101", "SMITH", "12/8/26", 49.99f), Line("101", "12/4/26", "E", 49.99f));
    const records::GuestRecord exempt =
        CheckIn(Guest("12", "JONES", "12/9/26", 50, 1), Line("12", "12/5/26", "E", 50));
    OpenAudit();
    Charge();
    EXPECT_EQ(LastBox().title, "Delete Record");
    EXPECT_EQ(LastBox().prompt, audit::kChargeQuestion);
    EXPECT_TRUE(audit().Command3.Enabled());
    EXPECT_TRUE(audit().Command1.Enabled());

    // The line as stored: the tax rate in place of an amount, "-----" so that it is taxed.
    const std::string ledger = ReadBytes("dailycharge/dailycharge101SMITHANN12426");
    EXPECT_NE(
        ledger.find(
            "\"101\",\"C\",\"12/6/26\",\"E\",\"ROOM RENT\",49.99,0.1,\"-----\",\"-----\",\"-----\"\r\n"),
        std::string::npos)
        << ledger;
    EXPECT_EQ(Ledger(taxed).size(), 2u);
    ASSERT_EQ(Ledger(exempt).size(), 2u);
    records::StayLedgerLine exemptLine = Line("12", "12/6/26", "E", 50);
    exemptLine.Shift = "C";
    exemptLine.TaxValue = 0.1f;
    EXPECT_EQ(Ledger(exempt)[1], exemptLine);

    const std::vector<records::DayDetailLine> detail = records::ReadDayDetail(app().data(), "12/6/26");
    ASSERT_EQ(detail.size(), 2u);
    EXPECT_EQ(detail[0], (records::DayDetailLine{"101", "C", "12/6/26", "E", "ROOM RENT", 49.99f, "NB"}));
    EXPECT_EQ(detail[1], (records::DayDetailLine{"12 ", "C", "12/6/26", "E", "ROOM RENT", 50, "NB"}));

    // 49.99 + 4.999 tax, then 50 untaxed; each total rounded after each stay.
    const records::DayTotals totals = records::ReadDayTotals(app().data(), "12/6/26");
    EXPECT_EQ(totals.RoomRent, 99.99f);
    EXPECT_EQ(totals.GrossRent, 104.99f);
    EXPECT_EQ(totals.Tax, 5.0f);
    EXPECT_EQ(records::ReadRoomsRented(app().data(), "12/6/26").RoomsRented, 2.0f);
    EXPECT_EQ(app().gTaxRate, 0.1);

    // A second press finds today's "E" line on every stay.
    const std::string detailBefore = ReadBytes("detail/12626");
    Charge();
    EXPECT_EQ(ReadBytes("dailycharge/dailycharge101SMITHANN12426"), ledger);
    EXPECT_EQ(ReadBytes("detail/12626"), detailBefore);
    EXPECT_EQ(records::ReadDayTotals(app().data(), "12/6/26"), totals);
    EXPECT_EQ(records::ReadRoomsRented(app().data(), "12/6/26").RoomsRented, 2.0f);
    EXPECT_TRUE(audit().Command3.Enabled());
    ExpectNoPendingAnswers();
}

// Each total is rounded to the cent after every stay, the day's Tax also after an exempt one.
TEST(NightTotalsTest, EveryTotalIsRoundedAfterEachStay) {
    struct Case {
        float rent, gross, tax; // the day's totals before the stay
        float rate;
        bool exempt;
        float rentAfter, grossAfter, taxAfter;
    };
    const Case cases[] = {
        {10.004f, 11.006f, 1.006f, 50, true, 60.0f, 61.01f, 1.01f},
        {10.004f, 11.006f, 1.006f, 50, false, 60.0f, 66.01f, 6.01f},
        {0, 0, 1.234f, 49.99f, true, 49.99f, 49.99f, 1.23f},
        {0, 0, 0, 49.99f, false, 49.99f, 54.99f, 5.0f},
    };
    for (const Case& c : cases) {
        records::DayTotals before;
        before.RoomRent = c.rent;
        before.GrossRent = c.gross;
        before.Tax = c.tax;
        before.Cash = 7.5f;
        const records::DayTotals after = audit::AddNightToTotals(before, c.rate, 0.1, c.exempt);
        const std::string label = std::to_string(c.rate) + (c.exempt ? " exempt" : " taxed");
        EXPECT_EQ(after.RoomRent, c.rentAfter) << label;
        EXPECT_EQ(after.GrossRent, c.grossAfter) << label;
        EXPECT_EQ(after.Tax, c.taxAfter) << label;
        EXPECT_EQ(after.Cash, 7.5f) << label;
    }
}

TEST_F(NightAuditTest, OnlyARoomRentLineDatedTodayMeansAlreadyCharged) {
    records::GuestRecord arrivedToday =
        CheckIn(Guest("101", "NEW", "12/8/26", 60), Line("101", "12/6/26", "E", 60));
    records::GuestRecord petToday =
        CheckIn(Guest("102", "PET", "12/8/26", 40), Line("102", "12/6/26", "J", 10));
    records::GuestRecord otherDay =
        CheckIn(Guest("103", "OLD", "12/8/26", 30), Line("103", "12/16/26", "E", 30));
    OpenAudit();
    Charge();
    EXPECT_EQ(Ledger(arrivedToday).size(), 1u);
    EXPECT_EQ(Ledger(petToday).size(), 2u);
    EXPECT_EQ(Ledger(otherDay).size(), 2u);
    EXPECT_EQ(records::ReadDayTotals(app().data(), "12/6/26").RoomRent, 70.0f);
    EXPECT_EQ(records::ReadRoomsRented(app().data(), "12/6/26").RoomsRented, 2.0f);
}

TEST_F(NightAuditTest, AGuestDueOutTodayStopsTheWholeNightAndIsListed) {
    const records::GuestRecord staying =
        CheckIn(Guest("101", "SMITH", "12/8/26", 50), Line("101", "12/4/26", "E", 50));
    CheckIn(Guest("7", "LEAVING", "12/6/26", 50), Line("7", "12/4/26", "E", 50));
    CheckIn(Guest("9", "ALSO", "12/6/26", 50), Line("9", "12/4/26", "E", 50));
    OpenAudit();
    dialogs().Answer(platform::vbYes);
    dialogs().Answer(platform::vbOK);
    audit().Command1.UserClick();
    EXPECT_EQ(LastBox().title, "Depart");
    EXPECT_EQ(LastBox().prompt, audit::kDueOutMessage);
    EXPECT_TRUE(audit().List1.Visible());
    EXPECT_TRUE(audit().Label2.Visible());
    EXPECT_EQ(audit().List1.Items(), (std::vector<std::string>{"7    12/6/26", "9    12/6/26"}));
    EXPECT_FALSE(audit().Command3.Enabled());
    EXPECT_EQ(Ledger(staying).size(), 1u);
    EXPECT_FALSE(Exists("detail/12626"));
    EXPECT_FALSE(Exists("totals/totals12626"));

    // Checked out (slots freed), the next press charges the stay and hides the list.
    records::WriteGuest(app().data(), records::kGuestFile, 2, records::GuestRecord());
    records::WriteGuest(app().data(), records::kGuestFile, 3, records::GuestRecord());
    Charge();
    EXPECT_FALSE(audit().List1.Visible());
    EXPECT_FALSE(audit().Label2.Visible());
    EXPECT_EQ(Ledger(staying).size(), 2u);
    EXPECT_TRUE(audit().Command3.Enabled());
}

TEST_F(NightAuditTest, NoAnswerOrNoTaxRateWritesNothing) {
    CheckIn(Guest("101", "SMITH", "12/8/26", 50), Line("101", "12/4/26", "E", 50));
    OpenAudit();
    dialogs().Answer(platform::vbNo);
    audit().Command1.UserClick();
    EXPECT_FALSE(Exists("detail/12626"));
    EXPECT_FALSE(audit().Command3.Enabled());

    platform::DeleteFile(app().data().File(records::kTaxFile));
    dialogs().Answer(platform::vbYes);
    dialogs().Answer(platform::vbOK);
    audit().Command1.UserClick();
    EXPECT_EQ(LastBox().title, "WARNING");
    EXPECT_EQ(LastBox().prompt, audit::kNoTaxRateMessage);
    EXPECT_FALSE(Exists("detail/12626"));
    EXPECT_FALSE(Exists("totals/totals12626"));
    EXPECT_FALSE(audit().Command3.Enabled());
}

TEST_F(NightAuditTest, AStayWhoseLedgerCannotBeReadIsReportedAndTheOthersAreCharged) {
    records::AddGuest(app().data(), records::kGuestFile, Guest("101", "LOST", "12/8/26", 80)); // no ledger
    const records::GuestRecord found =
        CheckIn(Guest("102", "FOUND", "12/8/26", 50), Line("102", "12/4/26", "E", 50));
    OpenAudit();
    dialogs().Answer(platform::vbYes);
    dialogs().Answer(platform::vbOK);
    audit().Command1.UserClick();
    EXPECT_EQ(LastBox().title, "WARNING");
    EXPECT_NE(LastBox().prompt.find("room(s) 101 "), std::string::npos) << LastBox().prompt;
    EXPECT_EQ(Ledger(found).size(), 2u);
    EXPECT_EQ(records::ReadDayTotals(app().data(), "12/6/26").RoomRent, 50.0f);
    EXPECT_EQ(records::ReadRoomsRented(app().data(), "12/6/26").RoomsRented, 1.0f);
    EXPECT_FALSE(audit().Command3.Enabled()) << "the totals wait for the stay not charged";

    // Its folio put right, the charge is pressed again: the missing night alone is charged.
    const records::GuestRecord lost = Guest("101", "LOST", "12/8/26", 80);
    records::AppendStayLedgerLine(records::StayLedgerPath(app().data(), lost),
                                  Line("101", "12/4/26", "E", 80));
    Charge();
    EXPECT_EQ(Ledger(found).size(), 2u);
    EXPECT_EQ(Ledger(lost).size(), 2u);
    EXPECT_EQ(records::ReadDayTotals(app().data(), "12/6/26").RoomRent, 130.0f);
    EXPECT_TRUE(audit().Command3.Enabled());
}

TEST_F(NightAuditTest, AnEmptyGuestFileOnlyOpensTheNextStepEvenWithoutATaxRate) {
    platform::DeleteFile(app().data().File(records::kTaxFile));
    OpenAudit();
    Charge();
    EXPECT_TRUE(audit().Command3.Enabled());
    EXPECT_FALSE(Exists("detail/12626"));
}

TEST_F(NightAuditTest, ReportStepsOpenTheNextOneAndPrintAgainWhenRepeated) {
    OpenAudit();
    Charge();
    audit().Command3.UserClick();
    EXPECT_TRUE(audit().Command7.Enabled());
    EXPECT_FALSE(audit().Command4.Enabled());
    EXPECT_EQ(records::ReadNumberFile(app().data(), records::kCashDropYesFile), 0.0)
        << "drop sheet flag reset";
    EXPECT_EQ(printer().TakeJobs().size(), 8u) << "the eight totals pages";

    audit().Command7.UserClick();
    EXPECT_TRUE(audit().Command4.Enabled());
    const size_t first = printer().TakeJobs().size();
    EXPECT_GE(first, 7u) << "four detail pages and the three shifts' rentals";
    audit().Command7.UserClick();
    EXPECT_EQ(printer().TakeJobs().size(), first) << "every printout window prints again";
    EXPECT_FALSE(audit().Command2.Enabled()) << "only Change Now opens the guest listing";
}

TEST_F(NightAuditTest, ChangeDateIsRefusedWhileAReservationArrivesToday) {
    records::GuestRecord reservation = Guest("101", "COMING", "12/8/26", 50);
    reservation.ArrivalDate = Fixed(" 12/6/26", 10);
    records::AddGuest(app().data(), records::kReservationsFile, Guest("102", "LATER", "12/9/26", 50));
    records::AddGuest(app().data(), records::kReservationsFile, reservation);
    OpenAudit();
    Charge();
    audit().Command3.UserClick();
    audit().Command7.UserClick();
    dialogs().Answer(platform::vbOK);
    audit().Command4.UserClick();
    EXPECT_EQ(LastBox().title, "WARNING");
    EXPECT_EQ(LastBox().prompt, audit::kReservationsTodayMessage);
    EXPECT_FALSE(IsLoaded("Form16"));

    reservation.ClearReservation();
    records::WriteGuest(app().data(), records::kReservationsFile, 2, reservation);
    audit().Command4.UserClick();
    EXPECT_TRUE(IsLoaded("Form16"));
    EXPECT_TRUE(audit().Loaded());
}

TEST_F(NightAuditTest, ExitRebuildsTheFrontDeskFromTheShiftFile) {
    OpenAudit();
    records::WriteShift(app().data(), {"A", "QR"});
    audit().Command6.UserClick();
    EXPECT_FALSE(audit().Loaded());
    EXPECT_TRUE(IsLoaded("Form1"));
    EXPECT_EQ(Form<Form1>().Label25.Caption(), "A");
    EXPECT_EQ(Form<Form1>().Label26.Caption(), "QR");
    EXPECT_EQ(app().gShift, "A");
    EXPECT_FALSE(app().Ended());
}

// The disk is full: nothing reaches a file, so a step fails at its commit point.
struct DiskFull final : platform::FileFaults {
    explicit DiskFull(platform::Engine& engine) : m_engine(engine) { engine.SetFaults(this); }
    ~DiskFull() override { m_engine.SetFaults(nullptr); }
    DiskFull(const DiskFull&) = delete;
    DiskFull& operator=(const DiskFull&) = delete;
    Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
    Fault Before(const Change& change) override {
        return change.op == Op::Write ? Fault{Kind::Fail, ENOSPC} : Fault{};
    }
    platform::Engine& m_engine;
};

// A failed step leaves the audit where the saved steps left it: the window is back with the
// step that failed ready to run again and the steps done still done, and no gate box comes
// up (the drop sheet flag was reset and the shift moved on by the steps done). The step then
// runs through once the disk has room.
TEST_F(NightAuditTest, AFailedStepLeavesTheAuditWhereTheSavedStepsLeftIt) {
    records::WriteRateTable(app().data(), records::kWeekdayFile, {40, 50, 60});
    records::WriteDayOfWeek(app().data(), 7);
    CheckIn(Guest("101", "STAYING", "12/9/26", 50), Line("101", "12/5/26", "E", 50));
    struct Step {
        const char* name;
        std::function<void(bool fails)> run;
        std::function<bool()> done; // what the step leaves once it went through
    };
    // The step's last click, when it is to fail on a full disk or, for a step that writes
    // nothing, with a file it reads turned into a folder; the clerk is told.
    const auto press = [&](bool fails, platform::CommandButton& button, std::string_view unreadable = {}) {
        std::unique_ptr<DiskFull> full;
        const std::filesystem::path file = DataFile(std::string(unreadable));
        if (fails) {
            full = std::make_unique<DiskFull>(app().engine());
            dialogs().Answer(platform::vbOK);
            if (!unreadable.empty()) {
                std::filesystem::rename(file, file.string() + ".away");
                std::filesystem::create_directory(file);
            }
        }
        button.UserClick();
        if (fails && !unreadable.empty()) {
            std::filesystem::remove(file);
            std::filesystem::rename(file.string() + ".away", file);
        }
    };
    const std::vector<Step> steps = {
        {"Charge Room and Tax",
         [&](bool fails) {
             dialogs().Answer(platform::vbYes);
             press(fails, audit().Command1);
         },
         [&] { return audit().Command3.Enabled(); }},
        {"Totals Report", [&](bool fails) { press(fails, audit().Command3); },
         [&] { return audit().Command7.Enabled(); }},
        {"Daily Room Detail Report", [&](bool fails) { press(fails, audit().Command7); },
         [&] { return audit().Command4.Enabled(); }},
        {"Change Date",
         [&](bool fails) {
             audit().Command4.UserClick();
             Form<Form16>().Text3.UserTypeText("JD");
             press(fails, Form<Form16>().Command1);
         },
         [&] { return audit().Command2.Enabled(); }},
        {"Guest Listing Report", [&](bool fails) { press(fails, audit().Command2, records::kGuestFile); },
         [&] { return audit().Command5.Enabled(); }},
        {"Housekeeping Report", [&](bool fails) { press(fails, audit().Command5, records::kShiftFile); },
         [&] { return !audit().Loaded(); }},
    };
    OpenAudit();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const std::vector<bool> before = {audit().Command1.Enabled(), audit().Command3.Enabled(),
                                          audit().Command7.Enabled(), audit().Command4.Enabled(),
                                          audit().Command2.Enabled(), audit().Command5.Enabled()};
        dialogs().ClearShown();
        step.run(true);
        ASSERT_FALSE(dialogs().shown().empty());
        EXPECT_EQ(LastBox().title, "File Error") << "the failure alone is told, no gate box after it";
        ASSERT_TRUE(audit().Loaded());
        EXPECT_TRUE(audit().Visible());
        const std::vector<bool> after = {audit().Command1.Enabled(), audit().Command3.Enabled(),
                                         audit().Command7.Enabled(), audit().Command4.Enabled(),
                                         audit().Command2.Enabled(), audit().Command5.Enabled()};
        EXPECT_EQ(after, before) << "the steps as the saved steps left them";
        ExpectNoPendingAnswers();
        step.run(false);
        EXPECT_TRUE(step.done()) << "the step runs again";
        ExpectNoPendingAnswers();
    }
}

// Fails the n-th change the program makes to a file from now on (a staged one, the journal's
// record and its flush, a data file written after the commit point) with the system error given.
struct FailsOnce final : platform::FileFaults {
    explicit FailsOnce(platform::Engine& engine) : m_engine(engine) { engine.SetFaults(this); }
    ~FailsOnce() override { m_engine.SetFaults(nullptr); }
    FailsOnce(const FailsOnce&) = delete;
    FailsOnce& operator=(const FailsOnce&) = delete;
    void Arm(long n, int error) {
        at = n;
        count = 0;
        m_error = error;
    }
    Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
    Fault Before(const Change&) override { return ++count == at ? Fault{Kind::Fail, m_error} : Fault{}; }
    long at = 0;
    long count = 0;

private:
    platform::Engine& m_engine;
    int m_error = ENOSPC;
};

// Every step of the audit fails at each change it makes, on a full disk and with an I/O
// error, and is pressed again until it goes through. After each failure the audit shows its
// steps as the files hold them: the next step is usable exactly when this one is stored (a
// charge that missed a stay is not), and only then. The night ends with every stay charged
// once and the day's totals made of what the folios hold.
TEST_F(NightAuditTest, AStepFailingAnywhereLeavesTheStepsAsStoredAndTheNightChargedOnce) {
    records::WriteRateTable(app().data(), records::kWeekdayFile, {40, 50, 60});
    records::WriteDayOfWeek(app().data(), 7);
    const std::vector<records::GuestRecord> stays = {
        CheckIn(Guest("101", "ONE", "12/9/26", 50), Line("101", "12/5/26", "E", 50)),
        CheckIn(Guest("102", "TWO", "12/9/26", 60), Line("102", "12/5/26", "E", 60)),
        CheckIn(Guest("103", "EXEMPT", "12/9/26", 70, 1), Line("103", "12/5/26", "E", 70))};
    dialogs().AnswerAlways("File Error", platform::vbOK);
    dialogs().AnswerAlways("Data Folder", platform::vbOK); // a record written again: saved after all
    dialogs().AnswerAlways("WARNING", platform::vbOK);
    dialogs().AnswerAlways("Delete Record", platform::vbYes);
    dialogs().AnswerAlways("Printer Error", platform::vbOK);
    const auto charged = [&](const records::GuestRecord& stay) {
        int nights = 0;
        for (const records::StayLedgerLine& line : Ledger(stay))
            nights += line.Code == "E" && line.PostDate == "12/6/26" ? 1 : 0;
        return nights;
    };
    const auto printed = [&] { return !printer().TakeJobs().empty(); };
    struct Step {
        const char* name;
        std::function<void()> press;
        std::function<bool()>
            stored;              // what the files (or the printer, for a report) hold once it went through
        std::vector<bool> after; // the steps usable once it is stored
    };
    const std::vector<Step> steps = {
        {"Charge Room and Tax",
         [&] { audit().Command1.UserClick(); },
         [&] {
             printer().TakeJobs();
             return std::all_of(stays.begin(), stays.end(),
                                [&](const auto& stay) { return charged(stay) == 1; });
         },
         {true, true, false, false, false, false}},
        {"Totals Report",
         [&] { audit().Command3.UserClick(); },
         [&] {
             const bool flagReset = records::ReadNumberFile(app().data(), records::kCashDropYesFile) == 0.0;
             EXPECT_EQ(printed(), flagReset) << "printed exactly when saved";
             return flagReset;
         },
         {true, true, true, false, false, false}},
        {"Daily Room Detail Report",
         [&] { audit().Command7.UserClick(); },
         printed,
         {true, true, true, true, false, false}},
        {"Change Date",
         [&] {
             if (!IsLoaded("Form16"))
                 audit().Command4.UserClick();
             if (Form<Form16>().Text3.Text().empty())
                 Form<Form16>().Text3.UserTypeText("JD");
             Form<Form16>().Command1.UserClick();
         },
         [&] {
             printer().TakeJobs();
             return records::ReadShift(app().data()).Shift == "A";
         },
         {false, true, true, false, true, false}},
        {"Guest Listing Report",
         [&] { audit().Command2.UserClick(); },
         printed,
         {false, true, true, false, true, true}},
    };
    const auto usable = [&] {
        return std::vector<bool>{audit().Command1.Enabled(), audit().Command3.Enabled(),
                                 audit().Command7.Enabled(), audit().Command4.Enabled(),
                                 audit().Command2.Enabled(), audit().Command5.Enabled()};
    };
    FailsOnce faults(app().engine());
    OpenAudit();
    int failed = 0;
    for (const Step& step : steps) {
        bool done = false;
        for (long n = 1; !done && n < 500; ++n) {
            for (const int error : {ENOSPC, EIO}) {
                SCOPED_TRACE(std::string(step.name) + ", change " + std::to_string(n) +
                             (error == EIO ? ", I/O error" : ", disk full"));
                const std::vector<bool> before = usable();
                const std::string monthAfter = app().gMonthAfter;
                faults.Arm(n, error);
                step.press();
                const bool hit = faults.count >= n;
                faults.Arm(0, error); // the disk freed
                failed += hit ? 1 : 0;
                ASSERT_TRUE(audit().Loaded());
                EXPECT_TRUE(audit().Visible());
                app().Dispatch(
                    [&] { done = step.stored(); }); // read as a step reads, the saved steps all written
                EXPECT_EQ(usable(), done ? step.after : before);
                if (!done) {
                    EXPECT_EQ(app().gMonthAfter, monthAfter) << "the month a failed change of date set";
                }
                EXPECT_TRUE(done || hit) << "the step went through without a fault";
                if (done)
                    break;
            }
        }
        ASSERT_TRUE(done) << step.name << " never went through";
    }
    EXPECT_GT(failed, 20) << "the faults hardly ever hit a step";
    for (const records::GuestRecord& stay : stays)
        EXPECT_EQ(charged(stay), 1) << stay.Room;
    const records::DayTotals totals = records::ReadDayTotals(app().data(), "12/6/26");
    EXPECT_FLOAT_EQ(totals.RoomRent, 180.0f) << "the three nights in the folios";
    EXPECT_FLOAT_EQ(totals.Tax, 11.0f) << "10 % of the two taxed nights";
    EXPECT_FLOAT_EQ(totals.GrossRent, 191.0f);
    EXPECT_EQ(records::ReadRoomsRented(app().data(), "12/6/26").RoomsRented, 3.0f);
}

// The last day of a month: a change of date that fails leaves the months the guest listing
// compares as the saved steps left them, and the listing then runs as after no change.
TEST_F(NightAuditTest, AFailedChangeOfDateKeepsTheMonthsItSet) {
    SetNow(11, 30, 2026, 1, 5, 0);
    records::WriteRateTable(app().data(), records::kWeekdayFile, {40, 50, 60});
    OpenAudit();
    Charge();
    audit().Command3.UserClick();
    audit().Command7.UserClick();
    audit().Command4.UserClick();
    const std::string before = app().gMonthBefore, after = app().gMonthAfter;
    Form<Form16>().Text3.UserTypeText("JD");
    {
        const DiskFull full(app().engine());
        dialogs().Answer(platform::vbOK);
        Form<Form16>().Command1.UserClick();
    }
    EXPECT_EQ(LastBox().title, "File Error");
    EXPECT_EQ(app().gMonthBefore, before);
    EXPECT_EQ(app().gMonthAfter, after) << "not the month of a date never stored";
}

// The journal can neither take a step's record nor take it back: whether the step was saved
// is known only at the next start, and nothing more is saved until then. Whichever step of the
// audit that saves something that happens to, the audit shows its steps as the files hold
// them, without that step.
TEST_F(NightAuditTest, AStepWhoseSavingIsUnsureLeavesTheStepsAsTheFilesHoldThem) {
    records::WriteRateTable(app().data(), records::kWeekdayFile, {40, 50, 60});
    records::WriteDayOfWeek(app().data(), 7);
    CheckIn(Guest("101", "STAYING", "12/9/26", 50), Line("101", "12/5/26", "E", 50));
    dialogs().AnswerAlways("File Error", platform::vbOK);
    dialogs().AnswerAlways("Delete Record", platform::vbYes);
    struct Press {
        std::function<void()> ready; // what the clerk does before the click, saved
        std::function<void()> click;
    };
    const std::vector<Press> presses = {
        {[] {}, [&] { audit().Command1.UserClick(); }},
        {[] {}, [&] { audit().Command3.UserClick(); }},
        {[] {}, [&] { audit().Command7.UserClick(); }},
        {[&] {
             audit().Command4.UserClick();
             Form<Form16>().Text3.UserTypeText("JD");
         },
         [&] { Form<Form16>().Command1.UserClick(); }}}; // the guest listing saves nothing
    const auto usable = [&] {
        return std::vector<bool>{audit().Command1.Enabled(), audit().Command3.Enabled(),
                                 audit().Command7.Enabled(), audit().Command4.Enabled(),
                                 audit().Command2.Enabled(), audit().Command5.Enabled()};
    };
    app().engine().Checkpoint();
    const testing::TempFolder night; // the folder as the night begins
    std::filesystem::copy(dataRoot(), night.path(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    for (size_t stuck = 0; stuck < presses.size(); ++stuck) {
        SCOPED_TRACE("step " + std::to_string(stuck + 1) + " unsure");
        Restart();
        for (const auto& entry : std::filesystem::directory_iterator(dataRoot()))
            std::filesystem::remove_all(entry.path());
        std::filesystem::copy(night.path(), dataRoot(), std::filesystem::copy_options::recursive);
        Restart();
        StartProgram();
        OpenAudit();
        for (size_t done = 0; done < stuck; ++done) {
            presses[done].ready();
            presses[done].click();
        }
        presses[stuck].ready();
        const std::vector<bool> before = usable();
        {
            const testing::UnsureSaving faults(app().engine());
            presses[stuck].click();
        }
        EXPECT_FALSE(app().engine().Whole()) << LastBox().prompt;
        EXPECT_EQ(LastBox().title, "File Error");
        ASSERT_TRUE(audit().Loaded());
        EXPECT_TRUE(audit().Visible());
        EXPECT_EQ(usable(), before);
    }
}

class AuditHousekeepingTest : public testing::AppFixture {};

TEST_F(AuditHousekeepingTest, PrintsABlankLineFirstAndTheRoomLinesInBold) {
    auto room = [&](const std::string& number, const std::string& clean, const std::string& service,
                    const std::string& comment) {
        records::AppendRoom(app().data(), testing::Room({.room = number,
                                                         .type = "NQ1",
                                                         .clean = clean,
                                                         .vacant = " ",
                                                         .service = service,
                                                         .comment = comment}));
    };
    room("101", "Y", "A", "");
    room("102", "N", "O", "CRIB");
    room("103", "Y", "O", "");
    room("104", "N", "X", "");
    room("105", "Y", "O", ""); // occupied without a guest record: staying over
    records::AddGuest(app().data(), records::kGuestFile, Guest("102", "STAY", "12/9/26", 50));
    records::AddGuest(app().data(), records::kGuestFile, Guest("103", "GOING", "12/7/26", 50));
    app().printer().Print("left open");
    audit::PrintAuditHousekeepingReport(app().printer(), app().data(), "Test Motel", "12/7/26");
    std::vector<platform::PrintJob> jobs = printer().TakeJobs();
    ASSERT_EQ(jobs.size(), 2u);
    const std::vector<platform::PrintedLine>& lines = jobs[1].pages.at(0).lines;
    const std::string fill(50, ' ');
    const std::vector<std::string> expected = {
        "",
        std::string(21, ' ') + "Test Motel Housekeeping Report",
        "",
        "",
        "Date: 12/7/26    Occupied and Dirty Rooms: 5    Stayovers: 1",
        "",
        "",
        "ROOM  TYPE    S/O   C/O    COMMENTS",
        std::string(75, '-'),
        "101   NQ1    EMPTY/CLEAN " + fill,
        "102   NQ1     X          CRIB" + std::string(46, ' '),
        "103   NQ1            X   " + fill,
        "104   NQ1    OOO / DIRTY " + fill,
        "105   NQ1     X          " + fill,
    };
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].text, expected[i]) << "line " << i + 1;
        EXPECT_EQ(lines[i].bold, i >= 9) << "line " << i + 1;
        EXPECT_EQ(lines[i].fontSize, 10) << "line " << i + 1;
    }
    app().printer().Print("next report");
    app().printer().EndDoc();
    EXPECT_FALSE(printer().TakeJobs().at(0).pages.at(0).lines.at(0).bold) << "bold switched off again";
}

} // namespace
} // namespace vantreth
