// A stay whose price with tax ends in half a cent: the window, the day's totals and the
// folio's balance all round the decimal amount, half to the even cent, so a card charged
// the shown total leaves the folio at 0; the day's tax is the gross rent less the rent.
#include "checkin/checkin_fixture.h"

#include "records/day_totals.h"
#include "records/stay_ledger.h"

#include <filesystem>

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
        EXPECT_EQ(records::StayBalance(lines, c.taxRate, false), 0.0f)
            << c.rate << ": the card paid the stay";
        Form<Form15>().Command2.UserClick();
    }
}

} // namespace
} // namespace vantreth
