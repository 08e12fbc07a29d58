// The check-in's price: the nightly price with tax and the stay total, the tax-exempt box,
// the optional rates, "Take 10% Off", the nights and rate boxes, and the departure date.
#include "checkin/checkin_fixture.h"

#include "frontdesk/form70.h"
#include "stay/checkin_commit.h"

namespace vantreth {
namespace {

using testing::CheckInFixture;

TEST(StayPriceTest, NightlyPriceIsRoundedAndTotalIsNot) {
    struct Case {
        const char* rate;
        const char* nights;
        bool exempt;
        double tax;
        const char* nightly;
        const char* total;
    };
    const Case cases[] = {
        {"50", "3", false, 0.1, "55", "165"},
        {"50", "3", true, 0.1, "50", "150"},
        {"49.99", "2", false, 0.0925, "54.61", "109.22"},
        {"49.99", "3", false, 0.0925, "54.61", "163.83"},
        {"44.955", "1", true, 0.1, "44.96", "44.96"},
        {"45", "", false, 0.1, "49.5", "0"},
        {"", "2", false, 0.1, "0", "0"},
        {"60 dollars", "2 nights", false, 0, "60", "120"},
        {"33.33", "3", false, 0.07, "35.66", "106.98"},
        {"30.65", "1", false, 0.0925, "33.49", "33.49"}, // 33.485125: rounded once, not via 33.485
    };
    for (const Case& c : cases) {
        const stay::StayPrice price = stay::PriceStay(c.rate, c.nights, c.exempt, c.tax);
        EXPECT_EQ(price.nightly, c.nightly)
            << "rate " << c.rate << " nights " << c.nights << " exempt " << c.exempt;
        EXPECT_EQ(price.total, c.total)
            << "rate " << c.rate << " nights " << c.nights << " exempt " << c.exempt;
    }
}

// The discount is an amount of money: rounded to the cent, an exact half to the even cent.
TEST(StayPriceTest, TenPercentOffIsRoundedToTheEvenCent) {
    const struct {
        const char* rate;
        const char* off;
    } cases[] = {
        {"50", "45"},        {"49.95", "44.96"}, // 44.955: up to the even cent
        {"59.95", "53.96"},  {"44.05", "39.64"}, // 39.645: down to the even cent
        {"45", "40.5"},      {"33.33", "30"},    // 29.997
        {"49.939", "44.95"},                     // 44.9451: rounded once, not by way of 44.945
        {"", "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stay::TenPercentOff(c.rate), c.off) << c.rate;
}

TEST(DepartureDateTest, EarlyMorningOnShiftACountsFromYesterday) {
    const platform::Date today{2026, 12, 6};
    struct Case {
        const char* time;
        const char* shift;
        double nights;
        const char* departure;
    };
    const Case cases[] = {
        {"4:10:00 AM", "A", 2, "12/7/26"}, {"4:10:00 PM", "A", 2, "12/8/26"},
        {"4:10:00 AM", "B", 2, "12/8/26"}, {"3:00:00 AM", "A", 1, "12/6/26"},
        {"5:59:59 AM", "A", 1, "12/6/26"}, {"6:00:00 AM", "A", 1, "12/7/26"},
        {"2:59:59 AM", "A", 1, "12/7/26"}, {"11:45:12 AM", "A", 1, "12/7/26"},
        {"9:00:00 AM", "A", 0, "12/6/26"}, {"3:45:12 PM", "A", 30, "1/5/27"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(stay::DepartureDateText(today, c.time, c.shift, c.nights), c.departure)
            << c.time << " shift " << c.shift << " nights " << c.nights;
}

TEST(PaymentListTest, EntriesHaveTheirPayCodesInOrder) {
    const std::vector<std::string> expected = {"CASH or CHECK", "VISA/MASTER", "AMERICAN EX.",
                                               "DISCOVER",      "DINERS",      "DIRECT BILL"};
    EXPECT_EQ(stay::PaymentList(), expected);
    const std::string codes = "LNMPOQ";
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(stay::PayCodeFor(expected[i]), codes[i]) << expected[i];
    EXPECT_FALSE(stay::PayCodeFor("choose payment"));
    EXPECT_FALSE(stay::PayCodeFor("cash or check"));
    EXPECT_EQ(stay::CardTextFor('N'), "VISA/MASTER");
    EXPECT_EQ(stay::CardTextFor('M'), "AMERICAN EX.");
    EXPECT_EQ(stay::CardTextFor('P'), "DISCOVER");
    EXPECT_EQ(stay::CardTextFor('O'), "DINERS");
    EXPECT_EQ(stay::CardTextFor('L'), "");
    EXPECT_EQ(stay::CardTextFor('Q'), "");
}

class PricingTest : public CheckInFixture {};

TEST_F(PricingTest, ChoosingARoomFillsTheRateAndPricesTheStay) {
    Open();
    EXPECT_FALSE(checkIn().Text2.Enabled());
    EXPECT_FALSE(checkIn().Check1.Enabled());
    EXPECT_FALSE(checkIn().Combo2.Enabled());
    ASSERT_TRUE(checkIn().Combo1.UserPick("102 NDD1 "));
    EXPECT_EQ(checkIn().Text2.Text(), "49.99");
    EXPECT_EQ(checkIn().Label24.Caption(), "54.99");
    EXPECT_EQ(checkIn().Label25.Caption(), "54.99") << "nights start at 1";
    for (platform::Control* c :
         std::initializer_list<platform::Control*>{&checkIn().Text2, &checkIn().Check1, &checkIn().Command1,
                                                   &checkIn().Combo3, &checkIn().Command5, &checkIn().Combo2})
        EXPECT_TRUE(c->Enabled()) << c->Name();
    EXPECT_EQ(checkIn().ActiveControl(), &checkIn().Combo2);
}

TEST_F(PricingTest, RoomChoiceUsesTheTaxFileReadAtThatMoment) {
    Open();
    records::WriteTaxRate(app().data(), 0.0925);
    ASSERT_TRUE(checkIn().Combo1.UserPick("102 NDD1 "));
    EXPECT_EQ(app().gTaxRate, 0.0925);
    EXPECT_EQ(checkIn().Label24.Caption(), "54.61");
}

TEST_F(PricingTest, EmptyNightsBoxBecomesOneWhenARoomIsChosen) {
    Open();
    checkIn().Text1.UserClick();
    EXPECT_EQ(checkIn().Text1.Text(), "") << "a click empties the nights box";
    ASSERT_TRUE(checkIn().Combo1.UserPick("101 NQ1  "));
    EXPECT_EQ(checkIn().Text1.Text(), "1");
    EXPECT_EQ(checkIn().Label25.Caption(), "55");
}

TEST_F(PricingTest, NightsAreTypedOneKeyAtATimeAndTheFocusMovesOn) {
    Open();
    ASSERT_TRUE(checkIn().Combo1.UserPick("101 NQ1  "));
    checkIn().Text1.UserClick();
    checkIn().Text1.UserType('3');
    EXPECT_EQ(checkIn().Text1.Text(), "3");
    EXPECT_EQ(checkIn().Label25.Caption(), "165");
    EXPECT_EQ(checkIn().Text7.Text(), "165") << "the cash box follows while it is enabled";
    EXPECT_EQ(checkIn().ActiveControl(), &checkIn().Combo2);
}

TEST_F(PricingTest, NightsTypedBeforeARoomSendTheFocusToTheRoomList) {
    Open();
    checkIn().Text1.UserClick();
    checkIn().Text1.UserType('2');
    EXPECT_EQ(checkIn().ActiveControl(), &checkIn().Combo1);
}

TEST_F(PricingTest, TaxExemptBoxDropsTheTaxAndRefillsTheCashBox) {
    Open();
    ASSERT_TRUE(checkIn().Combo1.UserPick("101 NQ1  "));
    checkIn().Text1.UserClick();
    checkIn().Text1.UserType('3');
    checkIn().Check1.UserClick();
    EXPECT_EQ(checkIn().Label24.Caption(), "50");
    EXPECT_EQ(checkIn().Label25.Caption(), "150");
    EXPECT_EQ(checkIn().Text7.Text(), "150");
    checkIn().Check1.UserClick();
    EXPECT_EQ(checkIn().Label25.Caption(), "165");
}

TEST_F(PricingTest, TypedRateRepricesAndEnterTakesTheFocusToThePaymentList) {
    Open();
    ASSERT_TRUE(checkIn().Combo1.UserPick("101 NQ1  "));
    Retype(checkIn().Text2, "60");
    EXPECT_EQ(checkIn().Label24.Caption(), "66");
    EXPECT_EQ(checkIn().Text7.Text(), "66");
    Enter(checkIn().Text2);
    EXPECT_EQ(checkIn().ActiveControl(), &checkIn().Combo2);
    EXPECT_EQ(checkIn().Text2.Text(), "60");
}

TEST_F(PricingTest, ReCalculateAlwaysSetsTheCashBox) {
    Open();
    FillIn("101 NQ1  ", "CASH or CHECK");
    Retype(checkIn().Text7, "20");
    checkIn().Command1.UserClick();
    EXPECT_EQ(checkIn().Text7.Text(), "55");
}

TEST_F(PricingTest, TakeTenPercentOffOncePerRate) {
    Open();
    ASSERT_TRUE(checkIn().Combo1.UserPick("101 NQ1  "));
    checkIn().Text1.UserClick();
    checkIn().Text1.UserType('3');
    checkIn().Command5.UserClick();
    EXPECT_EQ(checkIn().Text2.Text(), "45");
    EXPECT_EQ(checkIn().Label24.Caption(), "49.5");
    EXPECT_EQ(checkIn().Label25.Caption(), "148.5");
    EXPECT_EQ(checkIn().Text7.Text(), "148.5");
    EXPECT_EQ(app().gTenPercentTaken, 1);

    checkIn().Command5.UserClick();
    EXPECT_EQ(checkIn().Text2.Text(), "45") << "a second press on the same rate does nothing";

    Retype(checkIn().Text2, "49.95");
    EXPECT_EQ(app().gTenPercentTaken, 0);
    checkIn().Command5.UserClick();
    EXPECT_EQ(checkIn().Text2.Text(), "44.96");
    EXPECT_EQ(checkIn().Label24.Caption(), "49.46");
    EXPECT_EQ(checkIn().Label25.Caption(), "148.38");
}

TEST_F(PricingTest, OptionalRateReplacesTheRateAndAllowsTenPercentAgain) {
    records::WriteOptionalRates(app().data(), {0, 39.95f, 0, 45, 0});
    Open();
    EXPECT_EQ(checkIn().Combo3.Items(), (std::vector<std::string>{"39.95", "45"}));
    FillIn("101 NQ1  ", "CASH or CHECK");
    checkIn().Command5.UserClick();
    ASSERT_EQ(app().gTenPercentTaken, 1);
    ASSERT_TRUE(checkIn().Combo3.UserPick("39.95"));
    EXPECT_EQ(app().gTenPercentTaken, 0);
    EXPECT_EQ(checkIn().Text2.Text(), "39.95");
    EXPECT_EQ(checkIn().Label24.Caption(), "43.94") << "43.945 rounds to the even cent";
    EXPECT_EQ(checkIn().Text7.Text(), "43.94") << "cash follows for CASH or CHECK";
    EXPECT_EQ(checkIn().Combo3.Text(), "select another rate");
    EXPECT_EQ(checkIn().ActiveControl(), &checkIn().Combo2);
}

TEST_F(PricingTest, OpeningAnEmptyOptionalRateListShowsAttention) {
    Open();
    ASSERT_TRUE(checkIn().Combo1.UserPick("101 NQ1  "));
    EXPECT_EQ(checkIn().Combo3.ListCount(), 0);
    checkIn().Combo3.UserDropDown();
    EXPECT_TRUE(IsLoaded("Form70"));
    EXPECT_EQ(app().gAttentionOpen, 1);
}

TEST_F(PricingTest, OpeningAFilledOptionalRateListShowsNoNotice) {
    records::WriteOptionalRates(app().data(), {45, 0, 0, 0, 0});
    Open();
    ASSERT_TRUE(checkIn().Combo1.UserPick("101 NQ1  "));
    checkIn().Combo3.UserDropDown();
    EXPECT_FALSE(IsLoaded("Form70"));
}

} // namespace
} // namespace vantreth
