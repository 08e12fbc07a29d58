// A stay whose price with tax ends in half a cent: the window, the day's totals and the
// folio's balance all round the decimal amount, half to the even cent, so a card charged
// the shown total leaves the folio at 0; the day's tax is the gross rent less the rent.
#include "checkin/checkin_fixture.h"

#include "audit/night_audit.h"
#include "folio/folio_postings.h"
#include "folio/form4.h"
#include "folio/form9.h"
#include "platform/decimal.h"
#include "records/day_totals.h"
#include "records/stay_ledger.h"
#include "support/decimal_print.h"

#include <filesystem>
#include <fstream>

namespace vantreth {
namespace {

using HalfCentTest = testing::CheckInFixture;

TEST_F(HalfCentTest, TheShownPriceTheDaysTotalsAndTheFolioAgree) {
    struct Case {
        const char* room;
        double taxRate;
        const char* rate;
        const char* nightly;
        float grossRent;
        float tax;
    };
    const Case cases[] = {
        {"101 NQ1  ", 0.0925, "70", "76.48", 76.48f, 6.48f}, // 76.475 and 76.48 - 70
        {"102 NDD1 ", 0.1, "39.95", "43.94", 43.94f, 3.99f}, // 43.945 and 43.94 - 39.95
        {"104 K11  ", 0.1, "20.15", "22.16", 22.16f, 2.01f}, // 22.165 and 22.16 - 20.15
    };
    for (const Case& c : cases) {
        std::filesystem::remove(DataFile("totals/totals12626"));
        records::WriteTaxRate(app().data(), c.taxRate);
        Open();
        FillIn(c.room, "VISA/MASTER", "smith", c.rate);
        Retype(checkIn().Text2, c.rate);
        EXPECT_EQ(checkIn().Label24.Caption(), c.nightly) << c.rate;
        EXPECT_EQ(checkIn().Label25.Caption(), c.nightly) << c.rate;
        Commit();
        const records::DayTotals totals = records::ReadDayTotals(app().data(), "12/6/26");
        EXPECT_EQ(totals.GrossRent, c.grossRent) << c.rate;
        EXPECT_EQ(totals.Tax, c.tax) << c.rate;
        EXPECT_EQ(totals.VisaMaster, c.grossRent) << c.rate;
        const records::GuestRecord guest = records::ReadAllGuests(app().data(), records::kGuestFile).back();
        const std::vector<records::StayLedgerLine> lines =
            records::ReadStayLedger(records::StayLedgerPath(app().data(), guest));
        EXPECT_EQ(records::StayBalance(lines, c.taxRate, false), platform::Decimal())
            << c.rate << ": the card paid the stay";
        Form<Form15>().Command2.UserClick();
    }
}

// Check-ins through the window at rates whose night is an exact half cent, paid in cash or
// by card exactly the quoted stay; the audit charges the other nights. Every stay's check-out
// finds a balance of 0, and every day's RoomRent and Tax add up to its GrossRent.
TEST_F(HalfCentTest, StaysPaidAsQuotedCheckOutAtZeroAfterTheAuditsNights) {
    using platform::Decimal;
    struct Case {
        const char* rate;
        char nights;
        const char* payment;
        const char* total;
    };
    const Case cases[] = {
        {"69.95", '2', "CASH or CHECK", "153.88"}, {"69.95", '3', "VISA/MASTER", "230.82"},
        {"59.95", '2', "VISA/MASTER", "131.88"},   {"59.95", '3', "CASH or CHECK", "197.82"},
        {"49.95", '4', "CASH or CHECK", "219.76"}, {"49.95", '9', "DISCOVER", "494.46"},
    };
    const std::string days[] = {"12/6/26",  "12/7/26",  "12/8/26",  "12/9/26", "12/10/26",
                                "12/11/26", "12/12/26", "12/13/26", "12/14/26"};
    int roomNumber = 201;
    for (const Case& c : cases) {
        const std::string room = std::to_string(roomNumber++);
        AddRoom(testing::Room({.room = room, .type = "NQ1", .rate = Decimal::Parse(c.rate).ToSingle()}));
        Open();
        FillIn(room + " NQ1  ", c.payment);
        checkIn().Text1.UserClick();
        checkIn().Text1.UserType(c.nights);
        ASSERT_EQ(checkIn().Label25.Caption(), c.total) << c.rate << " x " << c.nights;
        if (std::string(c.payment) == "CASH or CHECK")
            CommitWithoutDeposit(); // the cash box holds the whole stay: a deposit is asked for
        else
            Commit();
        Form<Form15>().Command2.UserClick();

        const std::optional<long> slot = FindGuestByRoomExact(app().data(), room);
        ASSERT_TRUE(slot) << room;
        const records::GuestRecord guest = records::ReadGuest(app().data(), records::kGuestFile, *slot);
        for (int night = 1; night < c.nights - '0'; ++night)
            audit::PostNight(app().data(), guest,
                             {.shift = "C", .clerk = "NB", .today = days[night], .taxRate = 0.1});
        const std::optional<CheckOutState> out = ReadCheckOutState(app().data(), *slot);
        ASSERT_TRUE(out);
        EXPECT_EQ(out->balance, platform::Decimal())
            << c.rate << " x " << c.nights << " paid by " << c.payment;
        EXPECT_EQ(out->way, CheckOutWay::Ordinary) << c.rate << " x " << c.nights;
    }
    for (const std::string& day : days) {
        const records::DayTotals totals = records::ReadDayTotals(app().data(), day);
        EXPECT_EQ(Decimal::Of(totals.RoomRent) + Decimal::Of(totals.Tax), Decimal::Of(totals.GrossRent))
            << day;
    }
}

// A short week at the desk. A stay checked in by an earlier version at 53.955 a night has its
// phone corrected in Edit Guest; walk-ins at rates that are no multiple of ten cents are given
// Take 10% Off (a rate the program writes is rounded to the even cent and taken), one takes
// a room whose rate is stored as 53.955 as offered, each pays the quoted stay by card, and
// the audit charges the other nights.
// Every walk-in leaves at 0, the old stay owes its nights to the cent, each day's rent and tax
// make its gross, and the week's gross is what the cards took plus what the old stay owes.
TEST_F(HalfCentTest, AWeekOfDiscountsAndAnOldThreeDecimalRateReconcilesToTheCent) {
    using platform::Decimal;
    const std::string days[] = {"12/5/26", "12/6/26", "12/7/26", "12/8/26", "12/9/26"};
    const auto night = [&](const records::GuestRecord& guest, const std::string& day) {
        audit::PostNight(app().data(), guest, {.shift = "C", .clerk = "NB", .today = day, .taxRate = 0.1});
    };
    records::GuestRecord old = testing::RegisteredGuest("201", "OLD", "STAY");
    old.Rate = 53.955f;
    AddRoom(testing::Room({.room = "201", .type = "NQ1", .rate = 50}));
    records::WriteGuest(app().data(), records::kGuestFile, 1, old);
    std::ofstream(records::StayLedgerPath(app().data(), old).path()).flush(); // its folio, empty yet
    night(old, days[0]);

    app().Dispatch([&] { app().Load(Form<Form4>()); });
    Form<Form4>().Text3.UserTypeText("201");
    Form<Form4>().Text3.UserType(platform::vbKeyReturn);
    Form<Form4>().Command5.UserClick();
    ASSERT_TRUE(IsLoaded("Form9"));
    Retype(Form<Form9>().Text16, "555-0100");
    Form<Form9>().Command1.UserClick();
    ASSERT_FALSE(IsLoaded("Form9")) << LastBox().prompt;
    old.Phone = platform::Fixed("555-0100", 15);
    EXPECT_EQ(records::ReadGuest(app().data(), records::kGuestFile, 1).Encode(), old.Encode());
    app().Dispatch([&] { app().Unload("Form4"); });

    struct WalkIn {
        const char* room;
        const char* rate; // the room's
        bool discount;
        char nights;
        const char* total; // the quoted stay the card pays
    };
    const WalkIn walkIns[] = {{"202", "59.95", true, '2', "118.72"},   // 53.96 + tax 59.36
                              {"203", "44.05", true, '3', "130.8"},    // 39.64 + tax 43.60
                              {"204", "20.15", true, '4', "79.8"},     // 18.135: 18.14 + tax 19.95
                              {"205", "53.955", false, '1', "59.36"}}; // offered as 53.96
    Decimal cardsTook;
    for (const WalkIn& w : walkIns) {
        AddRoom(testing::Room({.room = w.room, .type = "NQ1", .rate = Decimal::Parse(w.rate).ToSingle()}));
        Open();
        FillIn(std::string(w.room) + " NQ1  ", "VISA/MASTER", "walk", w.room);
        if (w.discount)
            checkIn().Command5.UserClick();
        checkIn().Text1.UserClick();
        checkIn().Text1.UserType(w.nights);
        ASSERT_EQ(checkIn().Label25.Caption(), w.total) << w.room;
        Commit();
        Form<Form15>().Command2.UserClick();
        cardsTook += Decimal::Parse(w.total);
        const std::optional<long> slot = FindGuestByRoomExact(app().data(), w.room);
        ASSERT_TRUE(slot) << w.room;
        const records::GuestRecord guest = records::ReadGuest(app().data(), records::kGuestFile, *slot);
        for (int n = 1; n < w.nights - '0'; ++n)
            night(guest, days[1 + n]);
        const std::optional<CheckOutState> out = ReadCheckOutState(app().data(), *slot);
        ASSERT_TRUE(out);
        EXPECT_EQ(out->balance, platform::Decimal()) << w.room;
    }
    for (const std::string& day : {days[1], days[2]})
        night(old, day);
    const std::optional<CheckOutState> oldOut = ReadCheckOutState(app().data(), 1);
    ASSERT_TRUE(oldOut);
    EXPECT_EQ(oldOut->balance, platform::Decimal::Of(178.05f))
        << "three nights of 53.955 with tax, 59.35 each";

    Decimal gross;
    for (const std::string& day : days) {
        const records::DayTotals totals = records::ReadDayTotals(app().data(), day);
        EXPECT_EQ(Decimal::Of(totals.RoomRent) + Decimal::Of(totals.Tax), Decimal::Of(totals.GrossRent))
            << day;
        gross += Decimal::Of(totals.GrossRent);
    }
    EXPECT_EQ(gross, cardsTook + oldOut->balance);
}

} // namespace
} // namespace vantreth
