// Exact decimal numbers for money: every sum, difference and product of amounts, tax
// rates and counts is worked out on decimal values, never on binary fractions, and only
// the final figure is rounded (half to the even cent) and turned into the Single or the
// text a file keeps.
//
// A Decimal is a whole number of up to 36 digits times a power of ten, so two-decimal
// amounts, four-decimal tax rates and their products are held exactly; only a value of
// more than 36 significant digits (never an amount a motel posts) loses its last digits,
// rounded half to even. A value read from a Single that is not finite (a damaged record)
// stays infinite or NaN, as a binary sum would.
#pragma once

#include <compare>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

class Decimal {
public:
    Decimal() = default; // 0
    // The value a Single stands for: its shortest text (39.95f is 39.95).
    static Decimal Of(float single);
    // The value a double shows with 15 significant digits (a tax rate read from its file,
    // a typed number read by Val).
    static Decimal Of(double value);
    static Decimal Of(long whole);
    static Decimal Of(int whole) { return Of(static_cast<long>(whole)); }
    // The number at the start of the text, read as Val reads it, digit by digit.
    static Decimal Parse(std::string_view text);

    // Rounded to `digits` decimals, an exact half to the even neighbour.
    Decimal Rounded(int digits = 2) const;
    // The quotient by a count, rounded to `digits` decimals (an average).
    Decimal DividedBy(long count, int digits = 2) const;

    double ToDouble() const;
    // The Single a record keeps: the nearest double narrowed, as every writer stores it.
    float ToSingle() const;
    bool IsFinite() const { return finite_; }
    // The value as CStr shows a double ("153.88", "-.01", "0").
    std::string Text() const;

    friend Decimal operator+(const Decimal& a, const Decimal& b);
    friend Decimal operator-(const Decimal& a, const Decimal& b);
    friend Decimal operator*(const Decimal& a, const Decimal& b);
    Decimal operator-() const;
    Decimal& operator+=(const Decimal& b) { return *this = *this + b; }
    Decimal& operator-=(const Decimal& b) { return *this = *this - b; }

    friend bool operator==(const Decimal& a, const Decimal& b);
    // Non-finite values compare as their doubles do (NaN is unordered).
    friend std::partial_ordering operator<=>(const Decimal& a, const Decimal& b);

private:
    __extension__ using Wide = __int128;
    Decimal(Wide mantissa, int exponent);
    static Decimal NotFinite(double value);

    Wide mantissa_ = 0; // value = mantissa_ x 10^exponent_, no trailing zero digits
    int exponent_ = 0;
    bool finite_ = true;
    double special_ = 0; // the infinity or NaN when not finite_
};

// The text the program writes into an amount box it fills: the value rounded to the cent, an
// exact half to the even cent (53.955 gives 53.96, 44.945 gives 44.94), so that the box holds
// an amount of money like one the clerk types.
std::string AmountText(const Decimal& value);

// A figure as Str shows a number: its exact text, with a blank in front when it is not
// negative (" 100000.01", "-.01", " 0"). A sum or balance of amounts shows every cent.
std::string AmountStr(const Decimal& figure);
// The amount a record keeps as a Single, shown as the decimal it stands for: every cent up to
// 131,071.99 shows as itself ("100000.01"), never cut to a Single's 7 significant digits.
std::string StoredText(float stored);
// The same with Str's blank in front of a value that is not negative.
std::string StoredStr(float stored);

// An amount as kept in records: the total (at its decimal value) plus the amount, rounded
// to 2 decimals, held as a Single.
float AddAmount(float total, const Decimal& amount);

// Records keep amounts as Singles, which hold every cent only below 131,072: the largest
// amount a record holds to the cent is 131,071.99, either way of zero.
inline constexpr long kLargestSingleCents = 13107199;
// The amount, rounded to the cent, is one a Single holds to the cent.
bool FitsSingleToTheCent(const Decimal& amount);
// A typed amount's text (a sign and blanks allowed) is one a Single holds to the cent: every
// cent up to 131,071.99 reads back as itself, while above 131,072 a Single is a sixty-fourth
// apart and 150,000.01 would read back as 150,000.02.
bool FitsAmount(std::string_view text);

// A stored balance or total that a posting would take past what a Single holds to the cent:
// the posting is refused whole. what() is the clerk's message.
class AmountTooLarge : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
// AddAmount for a balance or total kept in a record; `what` names it for the clerk ("The
// balance of direct bill account 12"). Throws AmountTooLarge when the new figure would not
// fit to the cent, rather than store another figure.
float AddStoredAmount(float total, const Decimal& amount, std::string_view what);
// The same check for a figure about to be stored as it stands.
void RequireFitsSingleToTheCent(const Decimal& figure, std::string_view what);

} // namespace platform
