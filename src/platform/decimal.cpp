// Exact decimal arithmetic for money: a 128-bit whole number times a power of ten.
#include "platform/decimal.h"

#include "platform/text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace platform {

namespace {

__extension__ using Wide = __int128;

// At most this many digits are kept, so that a sum of two values still fits 128 bits.
constexpr int kMaxDigits = 36;

Wide Pow10(int n) {
    Wide p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

Wide Abs(Wide v) {
    return v < 0 ? -v : v;
}

int DigitCount(Wide v) {
    v = Abs(v);
    int n = 1;
    while (v >= 10) {
        v /= 10;
        ++n;
    }
    return n;
}

// v / 10^k rounded half to even (k > 0).
Wide DivideRounded(Wide v, int k) {
    if (k > 38)
        return 0; // |v| < 10^37, below half of 10^k
    const Wide divisor = Pow10(k);
    Wide quotient = v / divisor;
    const Wide rest = Abs(v % divisor);
    const Wide other = divisor - rest; // compared with rest instead of 2 x rest, which may overflow
    if (rest > other || (rest == other && quotient % 2 != 0))
        quotient += v < 0 ? -1 : 1;
    return quotient;
}

std::string WideText(Wide v) {
    if (v == 0)
        return "0";
    std::string digits;
    for (Wide a = Abs(v); a > 0; a /= 10)
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(a % 10)));
    return v < 0 ? "-" + digits : digits;
}

} // namespace

Decimal::Decimal(Wide mantissa, int exponent) : mantissa_(mantissa), exponent_(exponent) {
    if (mantissa_ == 0) {
        exponent_ = 0;
        return;
    }
    if (const int excess = DigitCount(mantissa_) - kMaxDigits; excess > 0) {
        mantissa_ = DivideRounded(mantissa_, excess);
        exponent_ += excess;
    }
    while (mantissa_ != 0 && mantissa_ % 10 == 0) {
        mantissa_ /= 10;
        ++exponent_;
    }
    if (mantissa_ == 0)
        exponent_ = 0;
}

Decimal Decimal::NotFinite(double value) {
    Decimal d;
    d.finite_ = false;
    d.special_ = value;
    return d;
}

Decimal Decimal::Of(float single) {
    if (!std::isfinite(single))
        return NotFinite(single);
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, single, std::chars_format::scientific);
    return Parse(std::string_view(buf, static_cast<size_t>(res.ptr - buf)));
}

Decimal Decimal::Of(double value) {
    if (!std::isfinite(value))
        return NotFinite(value);
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    return Parse(std::string_view(buf, static_cast<size_t>(res.ptr - buf)));
}

Decimal Decimal::Of(long whole) {
    return Decimal(whole, 0);
}

Decimal Decimal::Parse(std::string_view text) {
    const std::string number = ValText(text);
    Wide mantissa = 0;
    int exponent = 0, digits = 0;
    bool point = false;
    size_t i = number.starts_with('-') ? 1 : 0;
    for (; i < number.size() && number[i] != 'e'; ++i) {
        if (number[i] == '.') {
            point = true;
            continue;
        }
        if (mantissa == 0 && number[i] == '0') { // leading zeros carry no digit
            exponent -= point ? 1 : 0;
            continue;
        }
        if (digits < kMaxDigits + 1) {
            mantissa = mantissa * 10 + (number[i] - '0');
            ++digits;
            exponent -= point ? 1 : 0;
        } else if (!point) {
            ++exponent; // beyond the digits kept: the number's size still counts
        }
    }
    if (i < number.size()) {
        long shift = 0;
        const char* from = number.data() + i + 1 + (number[i + 1] == '+' ? 1 : 0);
        std::from_chars(from, number.data() + number.size(), shift);
        // Beyond any Single or double: leave the far ends to Val (0 or infinity).
        if (shift > 400 || shift < -400)
            return Of(Val(text));
        exponent += static_cast<int>(shift);
    }
    if (number.starts_with('-'))
        mantissa = -mantissa;
    return Decimal(mantissa, exponent);
}

Decimal Decimal::Rounded(int digits) const {
    if (!finite_ || exponent_ >= -digits)
        return *this;
    return Decimal(DivideRounded(mantissa_, -digits - exponent_), -digits);
}

Decimal Decimal::DividedBy(long count, int digits) const {
    if (!finite_ || count == 0)
        return NotFinite(ToDouble() / static_cast<double>(count));
    // value / count = mantissa x 10^(exponent + digits) / count, in units of 10^-digits.
    Wide numerator = mantissa_;
    Wide divisor = count;
    int shift = exponent_ + digits;
    while (shift > 0 && DigitCount(numerator) < kMaxDigits) {
        numerator *= 10;
        --shift;
    }
    while (shift < 0 && DigitCount(divisor) < kMaxDigits) {
        divisor *= 10;
        ++shift;
    }
    if (shift != 0) // a value far outside money: the quotient of the doubles
        return Of(ToDouble() / static_cast<double>(count)).Rounded(digits);
    if (divisor < 0) {
        divisor = -divisor;
        numerator = -numerator;
    }
    Wide quotient = numerator / divisor;
    const Wide rest = Abs(numerator % divisor);
    const Wide other = divisor - rest;
    if (rest > other || (rest == other && quotient % 2 != 0))
        quotient += numerator < 0 ? -1 : 1;
    return Decimal(quotient, -digits);
}

double Decimal::ToDouble() const {
    if (!finite_)
        return special_;
    // Whole part and power of ten both exact as doubles: one IEEE division or product is
    // correctly rounded, the same nearest double the text would give.
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (Abs(mantissa_) < (Wide(1) << 53) && exponent_ >= -22 && exponent_ <= 22) {
        const auto whole = static_cast<double>(static_cast<long long>(mantissa_));
        if (exponent_ < 0)
            return whole / kPowers[-exponent_];
        if (Abs(mantissa_) * Pow10(exponent_) < (Wide(1) << 53))
            return whole * kPowers[exponent_];
    }
    const std::string text = WideText(Abs(mantissa_)) + "e" + std::to_string(exponent_);
    double value = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec == std::errc::result_out_of_range)
        value = exponent_ < 0 ? 0.0 : std::numeric_limits<double>::infinity();
    return mantissa_ < 0 ? -value : value;
}

std::string Decimal::Text() const {
    return CStr(ToDouble());
}

float Decimal::ToSingle() const {
    return static_cast<float>(ToDouble());
}

Decimal operator+(const Decimal& a, const Decimal& b) {
    if (!a.finite_ || !b.finite_)
        return Decimal::NotFinite(a.ToDouble() + b.ToDouble());
    if (a.mantissa_ == 0)
        return b;
    if (b.mantissa_ == 0)
        return a;
    // Both on the smaller exponent, unless that needs more digits than are kept: then on
    // the exponent that keeps the larger value's leading digits.
    const int top = std::max(a.exponent_ + DigitCount(a.mantissa_), b.exponent_ + DigitCount(b.mantissa_));
    const int exponent = std::max(std::min(a.exponent_, b.exponent_), top - kMaxDigits);
    auto on = [exponent](const Decimal& d) {
        return d.exponent_ >= exponent ? d.mantissa_ * Pow10(d.exponent_ - exponent)
                                       : DivideRounded(d.mantissa_, exponent - d.exponent_);
    };
    return Decimal(on(a) + on(b), exponent);
}

Decimal Decimal::operator-() const {
    if (!finite_)
        return NotFinite(-special_);
    Decimal d = *this;
    d.mantissa_ = -d.mantissa_;
    return d;
}

Decimal operator-(const Decimal& a, const Decimal& b) {
    return a + -b;
}

Decimal operator*(const Decimal& a, const Decimal& b) {
    if (!a.finite_ || !b.finite_)
        return Decimal::NotFinite(a.ToDouble() * b.ToDouble());
    Decimal x = a, y = b;
    // Keep the product within 128 bits: shorten the longer factor (only values of more
    // than 36 significant digits between them).
    while (DigitCount(x.mantissa_) + DigitCount(y.mantissa_) > kMaxDigits + 1) {
        Decimal& longer = DigitCount(x.mantissa_) >= DigitCount(y.mantissa_) ? x : y;
        longer.mantissa_ = DivideRounded(longer.mantissa_, 1);
        ++longer.exponent_;
    }
    return Decimal(x.mantissa_ * y.mantissa_, x.exponent_ + y.exponent_);
}

bool operator==(const Decimal& a, const Decimal& b) {
    if (!a.finite_ || !b.finite_)
        return a.ToDouble() == b.ToDouble();
    return a.mantissa_ == b.mantissa_ && a.exponent_ == b.exponent_;
}

std::partial_ordering operator<=>(const Decimal& a, const Decimal& b) {
    if (!a.finite_ || !b.finite_)
        return a.ToDouble() <=> b.ToDouble();
    const Decimal d = a - b;
    return d.mantissa_ <=> Decimal::Wide(0);
}

std::string AmountText(const Decimal& value) {
    return value.Rounded(2).Text();
}

std::string AmountStr(const Decimal& figure) {
    std::string text = figure.Text();
    return text.starts_with('-') ? text : " " + text;
}

std::string StoredText(float stored) {
    return Decimal::Of(stored).Text();
}

std::string StoredStr(float stored) {
    return AmountStr(Decimal::Of(stored));
}

float AddAmount(float total, const Decimal& amount) {
    return (Decimal::Of(total) + amount).Rounded(2).ToSingle();
}

bool FitsSingleToTheCent(const Decimal& amount) {
    if (!amount.IsFinite())
        return false;
    const Decimal largest = Decimal::Of(kLargestSingleCents) * Decimal::Parse(".01");
    const Decimal cents = amount.Rounded(2);
    return cents <= largest && cents >= -largest;
}

bool FitsAmount(std::string_view text) {
    std::string t = Trim(text);
    if (!t.empty() && (t.front() == '-' || t.front() == '+'))
        t.erase(0, 1);
    return FitsSingleToTheCent(Decimal::Parse(t));
}

void RequireFitsSingleToTheCent(const Decimal& figure, std::string_view what) {
    if (!FitsSingleToTheCent(figure))
        throw AmountTooLarge(std::string(what) + " would come to " + figure.Text() +
                             ", more than the 131071.99 the files can hold to the cent. The posting "
                             "was refused.");
}

float AddStoredAmount(float total, const Decimal& amount, std::string_view what) {
    const Decimal after = (Decimal::Of(total) + amount).Rounded(2);
    RequireFitsSingleToTheCent(after, what);
    return after.ToSingle();
}

} // namespace platform
