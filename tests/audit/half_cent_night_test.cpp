// The night's gross rent added to the day's totals rounds the decimal amount, half to the
// even cent, as the check-in quotes it; the tax is what the gross rent adds to the rent, so
// RoomRent + Tax stays GrossRent.
#include "audit/night_audit.h"
#include "records/day_totals.h"

#include <gtest/gtest.h>

#include <string>

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

} // namespace
} // namespace vantreth
