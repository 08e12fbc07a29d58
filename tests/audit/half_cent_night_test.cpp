// The night's gross rent added to the day's totals rounds the decimal amount, half to the
// even cent, as the check-in quotes it; the tax is what the gross rent adds to the rent, so
// RoomRent + Tax stays GrossRent.
#include "audit/night_audit.h"
#include "folio/folio_postings.h"
#include "printing/folio_report.h"
#include "printing/past_folio.h"
#include "records/day_totals.h"
#include "records/stay_ledger.h"
#include "stay/checkin_commit.h"
#include "support/decimal_print.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantreth {
namespace {

TEST(HalfCentNightTest, TheNightsRentAndTaxRoundTheirDecimalHalves) {
    struct Case {
        float tax;
        float rate;
        double taxRate;
        float grossAfter, taxAfter;
    };
    const Case cases[] = {
        {0, 70, 0.0925, 76.48f, 6.48f},    // 76.475 and 76.48 - 70
        {0, 39.95f, 0.1, 43.94f, 3.99f},   // 43.945 and 43.94 - 39.95, not 3.995 rounded to 4.00
        {0, 20.15f, 0.1, 22.16f, 2.01f},   // 22.165 and 22.16 - 20.15, not 2.015 rounded to 2.02
        {1.01f, 1.25f, 0.1, 1.38f, 1.14f}, // the day's 1.01 plus 1.38 - 1.25
    };
    for (const Case& c : cases) {
        records::DayTotals before;
        before.Tax = c.tax;
        const records::DayTotals after = audit::AddNightToTotals(before, c.rate, c.taxRate, false);
        const std::string label = std::to_string(c.rate) + " at " + std::to_string(c.taxRate);
        EXPECT_EQ(after.RoomRent, c.rate) << label;
        EXPECT_EQ(after.GrossRent, c.grossAfter) << label;
        EXPECT_EQ(after.Tax, c.taxAfter) << label;
    }
}

// A stay paid exactly what the check-in quoted (nights x the quoted night), in one payment
// or in two whose first part leaves an odd cent open, checks out at 0 after every night
// the audit charged; the day's figures and the printed folio sums add up on the way.
TEST(HalfCentNightTest, AStayPaidWhatWasQuotedChecksOutAtZeroHoweverManyNights) {
    using platform::Decimal;
    struct Case {
        const char* rate;
        double taxRate;
        const char* night; // the quoted night
    };
    const Case cases[] = {
        {"49.95", 0.1, "54.94"},   {"59.95", 0.1, "65.94"},     {"69.95", 0.1, "76.94"},
        {"39.95", 0.1, "43.94"},   {"70", 0.0925, "76.48"},     {"20.15", 0.1, "22.16"},
        {"45.5", 0.0875, "49.48"}, {"99.99", 0.1325, "113.24"}, {"80", 0, "80"},
    };
    records::DayTotals day; // every night of every stay, as one day's totals
    Decimal grossCharged;
    for (const Case& c : cases) {
        const float rate = Decimal::Parse(c.rate).ToSingle();
        records::GuestRecord guest;
        guest.Room = "101";
        guest.Rate = rate;
        const audit::NightContext night{
            .shift = "C", .clerk = "NB", .today = "12/6/26", .taxRate = c.taxRate};
        for (int nights = 1; nights <= 31; ++nights) {
            const stay::StayPrice price = stay::PriceStay(c.rate, std::to_string(nights), false, c.taxRate);
            ASSERT_EQ(price.nightly, c.night) << c.rate;
            const Decimal total = Decimal::Parse(price.total);
            for (const Decimal& firstPart : {total, (total - Decimal::Parse("0.03")).Rounded(2)}) {
                const std::string label = std::string(c.rate) + " x " + std::to_string(nights) + " paid " +
                                          firstPart.Text() + " of " + total.Text();
                std::vector<records::StayLedgerLine> ledger = {audit::NightRentLedgerLine(guest, night)};
                ledger.push_back({.Code = "L", .Amount = firstPart.ToSingle()});
                for (int n = 2; n <= nights; ++n)
                    ledger.push_back(audit::NightRentLedgerLine(guest, night));
                if (firstPart != total)
                    ledger.push_back({.Code = "N", .Amount = (total - firstPart).ToSingle()});
                const Decimal balance = records::StayBalance(ledger, c.taxRate, false);
                EXPECT_EQ(balance, Decimal()) << label;
                EXPECT_EQ(ChooseCheckOut(balance, "", "L"), CheckOutWay::Ordinary) << label;

                // The folio's printed sums: rent + tax is what the nights charged.
                const printing::FolioReportTotals folio = printing::SumFolioReport(ledger, c.taxRate, false);
                const printing::PastFolioTotals past = printing::SumPastFolio(ledger, c.taxRate, false);
                EXPECT_EQ(folio.roomRent + folio.tax, total) << label;
                EXPECT_EQ(past.roomRent + past.tax, total) << label;
            }
            day = audit::AddNightToTotals(day, rate, c.taxRate, false);
            grossCharged += Decimal::Parse(c.night);
            ASSERT_EQ(Decimal::Of(day.GrossRent), grossCharged) << c.rate << " x " << nights;
            ASSERT_EQ(Decimal::Of(day.RoomRent) + Decimal::Of(day.Tax), Decimal::Of(day.GrossRent))
                << c.rate << " x " << nights;
        }
        // The line shows the tax the night adds: 59.95 at 10 % shows 5.99 beside 65.94.
        const records::StayLedgerLine line = audit::NightRentLedgerLine(guest, night);
        EXPECT_EQ(records::LineTax(line, c.taxRate, false), Decimal::Parse(c.night) - Decimal::Parse(c.rate))
            << c.rate;
    }
}

} // namespace
} // namespace vantreth
