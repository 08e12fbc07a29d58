// Decimal money arithmetic against exact rational arithmetic: random two-decimal amounts
// and tax rates of up to four decimals through every operation that adds or rounds.
#include "platform/decimal.h"

#include "support/decimal_print.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace platform {

namespace {

__extension__ using Wide = __int128;

// An exact rational number, always reduced, with a positive denominator.
struct Rational {
    Wide num = 0, den = 1;

    static Wide Gcd(Wide a, Wide b) {
        a = a < 0 ? -a : a;
        while (b != 0) {
            const Wide t = a % b;
            a = b;
            b = t < 0 ? -t : t;
        }
        return a == 0 ? 1 : a;
    }
    static Rational Of(Wide n, Wide d) {
        if (d < 0)
            n = -n, d = -d;
        const Wide g = Gcd(n, d);
        return {n / g, d / g};
    }
    friend Rational operator+(Rational a, Rational b) {
        return Of(a.num * b.den + b.num * a.den, a.den * b.den);
    }
    friend Rational operator-(Rational a, Rational b) { return a + Rational{-b.num, b.den}; }
    friend Rational operator*(Rational a, Rational b) { return Of(a.num * b.num, a.den * b.den); }

    // Rounded to `digits` decimals, an exact half to the even neighbour.
    Rational Rounded(int digits) const {
        Wide scale = 1;
        for (int i = 0; i < digits; ++i)
            scale *= 10;
        const Wide x = num * scale;
        Wide q = x / den, rem = x % den;
        if (rem < 0)
            q -= 1, rem += den; // floor
        if (2 * rem > den || (2 * rem == den && q % 2 != 0))
            q += 1;
        return Of(q, scale);
    }

    // The exact decimal text with 12 decimals; the denominator must divide 10^12.
    std::string Text() const {
        const Wide scale = 1'000'000'000'000;
        EXPECT_EQ(scale % den, 0) << "not a decimal of 12 places";
        const Wide scaled = num * (scale / den), whole = scaled < 0 ? -scaled : scaled;
        std::string digits = std::to_string(static_cast<unsigned long long>(whole / scale)) + "." +
                             std::to_string(static_cast<unsigned long long>(whole % scale + scale)).substr(1);
        return (scaled < 0 ? "-" : "") + digits;
    }
};

Decimal Exact(const Rational& r) {
    return Decimal::Parse(r.Text());
}

TEST(DecimalTest, ReadsRoundsAndWritesItsDecimalValue) {
    struct Case {
        const char* text;
        int digits;
        const char* rounded; // Text() of Parse(text).Rounded(digits)
    };
    const Case cases[] = {
        {"76.945", 2, "76.94"},
        {"76.955", 2, "76.96"},
        {"-76.945", 2, "-76.94"},
        {"0.005", 2, "0"},
        {"0.015", 2, ".02"},
        {"12.354950", 2, "12.35"}, // no rounding to 12.3550 on the way
        {"12.3549999999", 2, "12.35"},
        {"2.5", 0, "2"},
        {"3.5", 0, "4"},
        {" 1 2.5 ", 0, "12"}, // Val skips blanks inside the number
        {"1.5e2", 0, "150"},
        {"$5", 2, "0"},
        {"99999999999.995", 2, "100000000000"},
        {"-.125", 2, "-.12"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Decimal::Parse(c.text).Rounded(c.digits).Text(), c.rounded) << c.text;

    // A Single is read through its shortest text, a double through 15 digits.
    EXPECT_EQ(Decimal::Of(39.95f), Decimal::Parse("39.95"));
    EXPECT_EQ(Decimal::Of(0.1 + 0.2), Decimal::Parse(".3"));
    EXPECT_EQ(Decimal::Of(-76.94f) + Decimal::Parse("76.945"), Decimal::Parse(".005"));
    // A balance that cancels to an exact half cent: a binary sum lands a speck above it.
    EXPECT_EQ(AddAmount(-76.94f, Decimal::Parse("76.945")), 0.0f) << "the exact half goes to the even 0";
    EXPECT_EQ(AddAmount(-10.0f, Decimal::Parse("10.005")), 0.0f);
    EXPECT_EQ(AddAmount(-10.08f, Decimal::Parse("10.075")), 0.0f);
    EXPECT_EQ(Decimal::Parse("153.88").ToSingle(), 153.88f);
    EXPECT_LT(Decimal::Parse("-0.01"), Decimal());
    EXPECT_EQ(Decimal::Parse("100").DividedBy(3).Text(), "33.33");
    EXPECT_EQ(Decimal::Parse("0.05").DividedBy(2).Text(), ".02") << ".025 goes to the even .02";
    EXPECT_EQ(Decimal::Parse("-0.07").DividedBy(2).Text(), "-.04") << "-.035 goes to the even -.04";
    // Values far from money still come back whole: no overflow of 128 bits.
    EXPECT_EQ(Decimal::Of(3.4e38f).ToSingle(), 3.4e38f);
    EXPECT_EQ((Decimal::Of(3.4e38f) + Decimal::Parse("0.01")).ToSingle(), 3.4e38f);
    EXPECT_EQ(Decimal::Of(1e-45f).Rounded(2), Decimal());
    EXPECT_FALSE((Decimal::Of(std::numeric_limits<float>::infinity()) + Decimal::Parse("1")).IsFinite());
}

TEST(DecimalTest, EveryOperationAgreesWithExactRationals) {
    std::mt19937_64 random(20261206);
    auto cents = [&](long limit) {
        return static_cast<Wide>(std::uniform_int_distribution<long>(-limit, limit)(random));
    };
    auto amount = [&](long limit = 9'999'999) { return Rational::Of(cents(limit), 100); };
    auto rate = [&] { return Rational::Of(std::uniform_int_distribution<long>(0, 2500)(random), 10000); };
    for (int round = 0; round < 3000; ++round) {
        const Rational a = amount(), b = amount(), t = rate();
        const Decimal da = Exact(a), db = Exact(b), dt = Exact(t);
        const std::string label = a.Text() + " " + b.Text() + " " + t.Text();

        // A Single read back and a typed text are the same decimal.
        EXPECT_EQ(Decimal::Of(std::stof(a.Text())), da) << label;
        EXPECT_EQ(Decimal::Of(std::stod(t.Text())), dt) << label;
        // And back to the nearest double and Single, as the text would give them.
        const Rational product = a * t;
        EXPECT_EQ(Exact(product).ToDouble(), std::stod(product.Text())) << label;
        EXPECT_EQ(da.ToSingle(), static_cast<float>(std::stod(a.Text()))) << label;
        // Sums, differences, products and their rounding.
        EXPECT_EQ(da + db, Exact(a + b)) << label;
        EXPECT_EQ(da - db, Exact(a - b)) << label;
        EXPECT_EQ((da * dt).Rounded(2), Exact((a * t).Rounded(2))) << label;
        EXPECT_EQ((da + da * dt).Rounded(2), Exact((a + a * t).Rounded(2))) << label;
        EXPECT_EQ((da * dt).Rounded(4), Exact((a * t).Rounded(4))) << label;
        const long count = std::uniform_int_distribution<long>(1, 31)(random);
        EXPECT_EQ(da.DividedBy(count), Exact((a * Rational::Of(1, count)).Rounded(2)))
            << label << " / " << count;
        EXPECT_EQ(da < db, (a - b).num < 0) << label;

        // A charge of an exact half cent on a balance that cancels it.
        const Rational half = Rational::Of(cents(999'999) * 10 + 5, 1000), even = half.Rounded(2);
        EXPECT_EQ(AddAmount(-Exact(even).ToSingle(), Exact(half)), Exact((half - even).Rounded(2)).ToSingle())
            << half.Text();

        // A running balance as a folio keeps it: rounded to the cent after every line, each
        // line a charge with its tax or a payment; the Single it is held in changes nothing.
        float balance = 0;
        Rational model;
        for (int line = 0; line < 8; ++line) {
            const Rational charge = std::uniform_int_distribution<int>(0, 1)(random) == 0
                                        ? amount(999'999) + amount(999'999) * t
                                        : amount(999'999);
            balance = AddAmount(balance, Exact(charge));
            model = (model + charge).Rounded(2);
            ASSERT_EQ(Decimal::Of(balance), Exact(model)) << label << " line " << line;
        }
    }
}

// A Single holds every cent below 131,072 only: the limit is tested on the figure rounded to
// the cent, either way of zero, and a stored figure refused rather than changed.
TEST(DecimalTest, FitsSingleToTheCentUpTo131071_99) {
    const std::pair<const char*, bool> cases[] = {
        {"131071.99", true},  {"131072", false},     {"-131071.99", true}, {"-131072", false},
        {"131071.994", true}, {"131071.995", false}, {"0", true},          {"1e39", false},
    };
    for (const auto& [text, fits] : cases)
        EXPECT_EQ(FitsSingleToTheCent(Decimal::Parse(text)), fits) << text;
    EXPECT_EQ(AddStoredAmount(131071.98f, Decimal::Parse(".01"), "T"), 131071.99f);
    EXPECT_THROW(AddStoredAmount(131071.99f, Decimal::Parse(".01"), "T"), AmountTooLarge);
    EXPECT_THROW(AddStoredAmount(-131071.99f, Decimal::Parse("-.01"), "T"), AmountTooLarge);
}

// Every amount a record keeps shows as the cents it stands for, at any size a record keeps to
// the cent, never cut to a Single's 7 significant digits; a computed figure is rounded once.
TEST(DecimalTest, AmountsShowEveryCentTheRecordKeeps) {
    struct Case {
        float stored;
        const char* text; // StoredText; StoredStr puts a blank before it when not negative
    };
    const Case cases[] = {
        {99999.99f, "99999.99"},
        {100000.01f, "100000.01"},
        {112345.68f, "112345.68"},
        {131071.99f, "131071.99"},
        {-131071.99f, "-131071.99"},
        {-0.01f, "-.01"},
        {0.0f, "0"},
        {45.5f, "45.5"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StoredText(c.stored), c.text);
        EXPECT_EQ(StoredStr(c.stored), (c.stored < 0 ? "" : " ") + std::string(c.text));
        EXPECT_EQ(AmountStr(Decimal::Of(c.stored)), StoredStr(c.stored));
    }
    // Sums of such amounts are exact: nothing of them is lost past 131,072 either.
    EXPECT_EQ(AmountStr(Decimal::Of(99999.99f) + Decimal::Of(0.02f) + Decimal::Of(12345.67f)), " 112345.68");
    EXPECT_EQ(AmountStr(Decimal::Of(100000.01f) - Decimal::Of(0.02f)), " 99999.99");
    EXPECT_EQ(AmountStr(Decimal::Of(131071.99f) * Decimal::Of(3)), " 393215.97");

    // A computed amount is rounded once, from its exact value, to the cent.
    const std::pair<const char*, const char*> computed[] = {
        {"44.9451", "44.95"}, {"44.945", "44.94"}, {"44.9449999", "44.94"}, {"131071.985", "131071.98"}};
    for (const auto& [exact, shown] : computed)
        EXPECT_EQ(AmountText(Decimal::Parse(exact)), shown) << exact;
}

} // namespace
} // namespace platform
