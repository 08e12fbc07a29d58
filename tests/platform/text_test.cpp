// Tests of the text and number functions: Val, Str/CStr, rounding of amounts,
// trimming and cutting, case and the Windows-1252 conversion.
#include "platform/text.h"

#include "platform/decimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

namespace platform {
namespace {

TEST(TextTest, ValReadsTheLeadingNumber) {
    struct Case {
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {"12", 12},        {"  12.5", 12.5},  {"-3.25", -3.25}, {"+7", 7},      {".5", 0.5},    {"5.", 5},
        {"1 2", 12},       {"1 2 . 5", 12.5}, {"- 4", -4},      {"12abc", 12},  {"1.2.3", 1.2}, {"1e3", 1000},
        {"2.5E-2", 0.025}, {"1e", 1},         {"1e+", 1},       {"3E+2x", 300}, {"", 0},        {"abc", 0},
        {"   ", 0},        {".", 0},          {"-", 0},         {"$5", 0},      {"0.08", 0.08}, {"\t9", 9},
        {"1,5", 1},        {"1e-400", 0},     {"007", 7},       {"12 PM", 12},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Val(c.text), c.expected) << "Val(\"" << c.text << "\")";
}

TEST(TextTest, ValOfAHugeExponentIsInfiniteNotAnError) {
    EXPECT_TRUE(std::isinf(Val("1e999")));
    EXPECT_TRUE(std::isinf(Val("-1e999")) && Val("-1e999") < 0);
}

TEST(TextTest, StrOfSingleShowsAtMostSevenDigits) {
    struct Case {
        float value;
        const char* expected;
    };
    const Case cases[] = {
        {0.0f, " 0"},
        {-0.0f, " 0"},
        {12.0f, " 12"},
        {0.5f, " .5"},
        {-0.25f, "-.25"},
        {0.1f, " .1"},
        {55.55f * 3, " 166.65"},
        {12.5f, " 12.5"},
        {100.0f, " 100"},
        {1234567.0f, " 1234567"},
        {12345678.0f, " 1.234568E+07"},
        {10000000.0f, " 1E+07"},
        {0.0001f, " .0001"},
        {0.00001f, " 1E-05"},
        {-0.000012345f, "-1.2345E-05"},
        {1.0f / 3, " .3333333"},
        {2.0f / 3, " .6666667"},
        {-1e20f, "-1E+20"},
        {3.4e38f, " 3.4E+38"},
        {99.99f, " 99.99"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(c.value), c.expected) << "Str(" << c.value << "f)";
}

TEST(TextTest, StrOfDoubleShowsAtMostFifteenDigits) {
    struct Case {
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {0.1 + 0.2, " .3"},
        {1.0 / 3, " .333333333333333"},
        {123456789012345.0, " 123456789012345"},
        {1234567890123456.0, " 1.23456789012346E+15"},
        {-2.5, "-2.5"},
        {12345678.0, " 12345678"},
        {0.00001, " 1E-05"},
        {1e100, " 1E+100"},
        {-0.0001, "-.0001"},
        {0.07 + 0.02, " .09"},
        {0.07 + 0.0025, " .0725"},
        {39.95 * 1.1, " 43.945"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(c.value), c.expected) << "Str(" << c.value << ")";
}

TEST(TextTest, StrPutsBlankBeforeNonNegativeIntegers) {
    EXPECT_EQ(Str(12), " 12");
    EXPECT_EQ(Str(0), " 0");
    EXPECT_EQ(Str(-3), "-3");
    EXPECT_EQ(Str(1234567890L), " 1234567890");
    EXPECT_EQ(Str(-7L), "-7");
}

TEST(TextTest, CStrIsStrWithoutTheLeadingBlank) {
    EXPECT_EQ(CStr(0.5f), ".5");
    EXPECT_EQ(CStr(-0.5f), "-.5");
    EXPECT_EQ(CStr(55.55f * 3), "166.65");
    EXPECT_EQ(CStr(12345678.0f), "1.234568E+07");
    EXPECT_EQ(CStr(0.25), ".25");
    EXPECT_EQ(CStr(12), "12");
    EXPECT_EQ(CStr(-12L), "-12");
}

TEST(TextTest, StrOfASingleWithFewDigitsReadsBackThroughVal) {
    const float values[] = {0.5f, 166.65f, 1234.56f, -0.07f, 99999.99f, 0.00001f, 1e10f, -3.0f};
    for (float v : values)
        EXPECT_EQ(static_cast<float>(Val(Str(v))), v) << "Str(" << v << "f) = \"" << Str(v) << "\"";
}

TEST(TextTest, RoundTripTextReadsBackAsTheSameSingle) {
    EXPECT_EQ(RoundTripText(0.5f), "0.5");
    EXPECT_EQ(RoundTripText(12.5f), "12.5");
    EXPECT_EQ(RoundTripText(-3.0f), "-3");
    EXPECT_EQ(RoundTripText(0.08f), "0.08");
    EXPECT_EQ(RoundTripText(55.55f * 3), "166.65");

    // The shortest text of this Single reads as a double that narrows to its neighbour.
    const uint32_t awkwardBits = 0x15AE43FD;
    float awkward;
    std::memcpy(&awkward, &awkwardBits, sizeof awkward);
    EXPECT_EQ(static_cast<float>(Val(RoundTripText(awkward))), awkward) << RoundTripText(awkward);
    EXPECT_EQ(static_cast<float>(Val(RoundTripText(-awkward))), -awkward) << RoundTripText(-awkward);

    std::mt19937 random(20261206);
    std::uniform_int_distribution<uint32_t> bits;
    for (int i = 0; i < 200000; ++i) {
        uint32_t b = bits(random);
        float f;
        std::memcpy(&f, &b, sizeof f);
        if (!std::isfinite(f))
            continue;
        std::string text = RoundTripText(f);
        ASSERT_EQ(static_cast<float>(Val(text)), f) << "bits " << b << " text \"" << text << "\"";
    }
}

TEST(TextTest, RoundTakesAnExactHalfToTheEvenNeighbour) {
    struct Case {
        double value;
        int digits;
        double expected;
    };
    const Case cases[] = {
        {0.125, 2, 0.12}, {0.375, 2, 0.38},   {2.5, 0, 2},        {1.5, 0, 2},
        {-2.5, 0, -2},    {3.14159, 2, 3.14}, {2.675, 2, 2.68}, // 2.675 * 100 is 267.5 in doubles
        {1.005, 2, 1.0},  {19.999, 2, 20},    {-0.125, 2, -0.12}, {1234.5678, 3, 1234.568},
        {7, 2, 7},        {0.5, 0, 0},        {25, -1, 20},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(Round(c.value, c.digits), c.expected)
            << "Round(" << c.value << ", " << c.digits << ")";
}

// The half is judged on the decimal number the value shows with 15 digits (a Single: its
// shortest text), not on the binary value times 100 (70 + 70 x 9.25 % is 7647.4999... cents).
TEST(TextTest, RoundWorksOnTheDecimalValueTheAmountShows) {
    struct Case {
        double value;
        double expected;
    };
    const Case cases[] = {
        {76.475, 76.48},
        {6.475, 6.48},
        {43.945, 43.94},
        {0.125, 0.12},
        {2.625, 2.62},
        {-76.475, -76.48},
        {70 + 70 * 0.0925, 76.48},
        {39.95 * 1.1, 43.94},
        {99.995, 100},
        {0.005, 0},
        {0.00501, 0.01},
        {76.4749, 76.47},
        {1234567.125, 1234567.12},
        {0.07 + 0.02, 0.09},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Round(c.value, 2), c.expected) << "Round(" << c.value << ", 2)";
    EXPECT_TRUE(std::isinf(Round(std::numeric_limits<double>::infinity(), 2)));

    // A Single widened to a double would round these the other way.
    EXPECT_EQ(Round(2.675f, 2), 2.68);
    EXPECT_EQ(Round(-1.135f, 2), -1.14);
    EXPECT_EQ(AmountValue(39.95f), 39.95);
    EXPECT_EQ(AmountValue(123456.78f), 123456.78);
}

TEST(TextTest, AddAmountRoundsTheSumToCentsAsASingle) {
    EXPECT_EQ(AddAmount(0.1f, Decimal::Of(0.2)), 0.3f);
    EXPECT_EQ(AddAmount(0.0f, Decimal::Of(0.125)), 0.12f);
    EXPECT_EQ(AddAmount(100.0f, Decimal::Of(-0.25)), 99.75f);
    EXPECT_EQ(AddAmount(55.55f, Decimal::Of(55.55f)), 111.1f);

    // The total counts at its decimal value: 1.01 + 0.125 is an exact half, going to 1.14.
    EXPECT_EQ(AddAmount(1.01f, Decimal::Of(0.125)), 1.14f);
    EXPECT_EQ(AddAmount(6.48f, Decimal::Of(70.0)), 76.48f);
    EXPECT_EQ(AddAmount(0.0f, Decimal::Of(70) + Decimal::Of(70) * Decimal::Of(0.0925)), 76.48f);

    // Ten charges of 0.10 land exactly on 1 because each step is rounded.
    float total = 0;
    for (int i = 0; i < 10; ++i)
        total = AddAmount(total, Decimal::Of(0.1f));
    EXPECT_EQ(total, 1.0f);
}

TEST(TextTest, TrimRemovesBlanksOnly) {
    EXPECT_EQ(RTrim("  ab  "), "  ab");
    EXPECT_EQ(LTrim("  ab  "), "ab  ");
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("\tab\t"), "\tab\t");
    EXPECT_EQ(Trim("    "), "");
    EXPECT_EQ(RTrim(""), "");
}

TEST(TextTest, CaseCoversWindows1252Letters) {
    EXPECT_EQ(UCase("abc xyz 12"), "ABC XYZ 12");
    EXPECT_EQ(LCase("ABC XYZ 12"), "abc xyz 12");
    // à é þ ÿ š œ ž and their capitals; ÷ × ß µ have no other case here.
    EXPECT_EQ(UCase("\xE0\xE9\xFE\xFF\x9A\x9C\x9E"), "\xC0\xC9\xDE\x9F\x8A\x8C\x8E");
    EXPECT_EQ(LCase("\xC0\xC9\xDE\x9F\x8A\x8C\x8E"), "\xE0\xE9\xFE\xFF\x9A\x9C\x9E");
    EXPECT_EQ(UCase("\xF7\xDF\xB5"), "\xF7\xDF\xB5");
    EXPECT_EQ(LCase("\xD7\xDF\xB5"), "\xD7\xDF\xB5");
}

TEST(TextTest, LeftRightMidNeverFail) {
    EXPECT_EQ(Left("abcdef", 3), "abc");
    EXPECT_EQ(Left("abc", 10), "abc");
    EXPECT_EQ(Left("abc", 0), "");
    EXPECT_EQ(Left("abc", -1), "");
    EXPECT_EQ(Right("abcdef", 2), "ef");
    EXPECT_EQ(Right("abc", 10), "abc");
    EXPECT_EQ(Right("abc", -2), "");
    EXPECT_EQ(Mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Mid("abcdef", 4), "def");
    EXPECT_EQ(Mid("abcdef", 5, 10), "ef");
    EXPECT_EQ(Mid("abcdef", 7), "");
    EXPECT_EQ(Mid("abcdef", 0, 2), "ab");
    EXPECT_EQ(Mid("abcdef", 3, 0), "");
}

TEST(TextTest, SpaceAndFixedMakeFieldWidths) {
    EXPECT_EQ(Space(3), "   ");
    EXPECT_EQ(Space(0), "");
    EXPECT_EQ(Space(-2), "");
    EXPECT_EQ(Fixed("ab", 5), "ab   ");
    EXPECT_EQ(Fixed("abcdef", 3), "abc");
    EXPECT_EQ(Fixed("", 2), "  ");
}

TEST(TextTest, IsNonNegativeNumberAcceptsPlainDecimalsOnly) {
    const char* yes[] = {"12", "12.50", ".5", "5.", " 7 ", "0"};
    const char* no[] = {"", "  ", "-1", "+1", "1e3", "1,5", "abc", ".", "1.2.3", "1 2", "12a"};
    for (const char* t : yes)
        EXPECT_TRUE(IsNonNegativeNumber(t)) << "\"" << t << "\"";
    for (const char* t : no)
        EXPECT_FALSE(IsNonNegativeNumber(t)) << "\"" << t << "\"";
}

TEST(TextTest, ATypedAmountHasNoMoreThanTwoDecimals) {
    const struct {
        const char* text;
        bool amount;
    } cases[] = {
        {"15", true},
        {"15.", true},
        {"15.5", true},
        {"15.00", true},
        {".05", true},
        {" 7.25 ", true},
        {"-15.5", true},
        {"+3.10", true},
        {"0", true},
        {"10.0015", false},
        {"3.125", false},
        {"10.000", false},
        {"-0.001", false},
        {".005", false},
        {"", false},
        {"-", false},
        {"- 5", false},
        {"1,5", false},
        {"abc", false},
        {"1e3", false},
        {"1.2.3", false},
        {"--5", false},
        {"1234567890123456789012345678901234567890", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsTypedAmount(c.text), c.amount) << '"' << c.text << '"';
}

// The bound is exact: every cent up to it is read back from its Single as itself (the way
// an amount is written, Val narrowed), and the next cent is not.
TEST(TextTest, EveryCentUpToTheLargestAmountReadsBackFromItsSingle) {
    const long largest = kLargestSingleCents;
    long wrong = 0;
    for (long cents = 0; cents <= largest; ++cents) {
        const double amount = static_cast<double>(cents) / 100;
        wrong += AmountValue(static_cast<float>(amount)) != amount;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_NE(AmountValue(static_cast<float>(131072.01)), 131072.01);
    EXPECT_NE(AmountValue(static_cast<float>(150000.01)), 150000.01);

    const struct {
        const char* text;
        bool fits;
    } cases[] = {{"131071.99", true}, {"-131071.99", true},  {" 0.5 ", true},
                 {"131072", false},   {"-131072.00", false}, {"150000.01", false}};
    for (const auto& c : cases)
        EXPECT_EQ(FitsAmount(c.text), c.fits) << c.text;
}

TEST(TextTest, ANumberThatASingleCannotHoldIsNoNumber) {
    const char* refused[] = {"1234567890123456789012345678901234567890",
                             "340282350000000000000000000000000000000",
                             "999999999999999999999999999999999999999999999999.5"};
    for (const char* t : refused)
        EXPECT_FALSE(IsNonNegativeNumber(t)) << "\"" << t << "\"";
    EXPECT_TRUE(IsNonNegativeNumber("340282346638528859811704183484516925440")) << "the largest Single";
    EXPECT_TRUE(IsNonNegativeNumber("12345678901234567890"));

    struct Case {
        double value;
        bool fits;
    };
    const double largest = std::numeric_limits<float>::max();
    const double infinity = std::numeric_limits<double>::infinity();
    const Case cases[] = {{0, true},      {largest, true},   {-largest, true},   {1e39, false},
                          {-1e39, false}, {infinity, false}, {-infinity, false}, {std::nan(""), false}};
    for (const Case& c : cases)
        EXPECT_EQ(FitsSingle(c.value), c.fits) << c.value;
}

TEST(TextTest, Cp1252ConvertsBothWaysForEveryByte) {
    EXPECT_EQ(Cp1252ToUtf8("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");                   // €
    EXPECT_EQ(Cp1252ToUtf8("\x93x\x94"), "\xE2\x80\x9Cx\xE2\x80\x9D"); // “x”
    EXPECT_EQ(Cp1252ToUtf8("\x9F"), "\xC5\xB8");                       // Ÿ
    EXPECT_EQ(Cp1252ToUtf8("\x81"), "\xC2\x81");                       // undefined byte kept as U+0081
    for (int b = 1; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << "byte " << b;
    }
}

TEST(TextTest, Utf8ToCp1252MarksWhatItCannotShow) {
    EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC 5"), "\x80 5");
    EXPECT_EQ(Utf8ToCp1252("\xE2\x80\x99"), "\x92");    // ’
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");       // a CJK character
    EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80!"), "?!"); // an emoji
    EXPECT_EQ(Utf8ToCp1252("\xC2\x80"), "?");           // U+0080 is not in the table
    EXPECT_EQ(Utf8ToCp1252("a\xFF"
                           "b"),
              "a?b");                               // invalid byte
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");      // overlong "/"
    EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "???"); // surrogate
    EXPECT_EQ(Utf8ToCp1252("\xE2\x82"), "??");      // cut short
}

} // namespace
} // namespace platform
