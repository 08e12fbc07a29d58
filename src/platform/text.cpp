// Text and number functions: Val, Str/CStr, trimming and cutting, rounding of amounts,
// and the Windows-1252 <-> UTF-8 conversion used at the Qt boundary.
#include "platform/text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace platform {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsValBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The significant digits (no trailing zeros) and the decimal exponent of the first one,
// rounded to at most `precision` significant digits.
void Decompose(double value, int precision, std::string& digits, int& exponent) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, precision - 1);
    std::string_view text(buf, static_cast<size_t>(res.ptr - buf));
    size_t e = text.find('e');
    digits.clear();
    for (char c : text.substr(0, e))
        if (IsDigit(c))
            digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(), exponent);
}

// Display text of a number without the blank before a non-negative value.
std::string NumberText(double value, int precision) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Inf" : "Inf";
    if (value == 0)
        return "0";
    std::string out = value < 0 ? "-" : "";
    std::string digits;
    int exponent = 0;
    Decompose(std::fabs(value), precision, digits, exponent);
    if (exponent >= precision || exponent < -4) {
        out += digits[0];
        if (digits.size() > 1)
            out += "." + digits.substr(1);
        out += exponent < 0 ? "E-" : "E+";
        int magnitude = std::abs(exponent);
        if (magnitude < 10)
            out += '0';
        out += std::to_string(magnitude);
    } else if (exponent >= 0) {
        size_t whole = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= whole)
            out += digits + std::string(whole - digits.size(), '0');
        else
            out += digits.substr(0, whole) + "." + digits.substr(whole);
    } else {
        out += "." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    }
    return out;
}

std::string WithSignBlank(std::string text) {
    return text[0] == '-' ? text : " " + text;
}

// Windows-1252 0x80..0x9F; the five undefined bytes map to the C1 code points.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char Cp1252FromCodePoint(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (size_t i = 0; i < kCp1252High.size(); ++i)
        if (kCp1252High[i] == cp)
            return static_cast<char>(0x80 + i);
    return '?';
}

// Decodes one UTF-8 sequence at s[i]; returns its length, or 0 when the bytes there
// are not a valid (shortest-form, non-surrogate) sequence.
size_t DecodeUtf8(std::string_view s, size_t i, char32_t& cp) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char lead = byte(i);
    size_t length;
    char32_t min;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, cp = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, cp = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, cp = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > s.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

std::string ValText(std::string_view text) {
    // Gather the number's characters, skipping blanks wherever they are.
    std::string number;
    bool negative = false;
    size_t i = 0;
    auto skip = [&] {
        while (i < text.size() && IsValBlank(text[i]))
            ++i;
    };
    skip();
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    bool anyDigit = false, point = false;
    for (;; ++i) {
        skip();
        if (i >= text.size())
            break;
        if (IsDigit(text[i])) {
            number += text[i];
            anyDigit = true;
        } else if (text[i] == '.' && !point) {
            number += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return "";
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        size_t k = i + 1;
        std::string exponent = "e";
        auto skipFrom = [&] {
            while (k < text.size() && IsValBlank(text[k]))
                ++k;
        };
        skipFrom();
        if (k < text.size() && (text[k] == '-' || text[k] == '+'))
            exponent += text[k++];
        for (;; ++k) {
            skipFrom();
            if (k >= text.size() || !IsDigit(text[k]))
                break;
            exponent += text[k];
        }
        if (IsDigit(exponent.back()))
            number += exponent;
    }
    return negative ? "-" + number : number;
}

double Val(std::string_view text) {
    std::string number = ValText(text);
    if (number.empty())
        return 0;
    const bool negative = number[0] == '-';
    if (negative)
        number.erase(0, 1);
    double value = 0;
    auto res = std::from_chars(number.data(), number.data() + number.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        size_t e = number.find('e');
        bool tiny = e == std::string::npos || number[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

std::string CStr(float value) {
    return NumberText(value, 7);
}
std::string CStr(double value) {
    return NumberText(value, 15);
}
std::string CStr(int value) {
    return std::to_string(value);
}
std::string CStr(long value) {
    return std::to_string(value);
}
std::string Str(float value) {
    return WithSignBlank(CStr(value));
}
std::string Str(double value) {
    return WithSignBlank(CStr(value));
}
std::string Str(int value) {
    return WithSignBlank(CStr(value));
}
std::string Str(long value) {
    return WithSignBlank(CStr(value));
}

std::string RoundTripText(float value) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    std::string text(buf, res.ptr);
    // Val reads a double that the caller then narrows; for a rare value that second
    // rounding lands on a neighbour of the shortest text's Single, so use more digits.
    for (int precision = 9; std::isfinite(value) && static_cast<float>(Val(text)) != value && precision <= 17;
         ++precision) {
        res = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::general,
                            precision);
        text.assign(buf, res.ptr);
    }
    return text;
}

std::string_view RTrimmed(std::string_view s) {
    const size_t end = s.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : s.substr(0, end + 1);
}

std::string RTrim(std::string_view s) {
    return std::string(RTrimmed(s));
}

std::string LTrim(std::string_view s) {
    size_t start = s.find_first_not_of(' ');
    return start == std::string_view::npos ? std::string() : std::string(s.substr(start));
}

std::string Trim(std::string_view s) {
    return LTrim(RTrim(s));
}

std::string UCase(std::string_view s) {
    std::string out(s);
    for (char& ch : out) {
        auto c = static_cast<unsigned char>(ch);
        if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            c -= 0x20;
        else if (c == 0xFF)
            c = 0x9F;
        else if (c == 0x9A || c == 0x9C || c == 0x9E)
            c -= 0x10;
        ch = static_cast<char>(c);
    }
    return out;
}

std::string LCase(std::string_view s) {
    std::string out(s);
    for (char& ch : out) {
        auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            c += 0x20;
        else if (c == 0x9F)
            c = 0xFF;
        else if (c == 0x8A || c == 0x8C || c == 0x8E)
            c += 0x10;
        ch = static_cast<char>(c);
    }
    return out;
}

std::string Left(std::string_view s, long n) {
    if (n <= 0)
        return "";
    return std::string(s.substr(0, static_cast<size_t>(n)));
}

std::string Right(std::string_view s, long n) {
    if (n <= 0)
        return "";
    size_t count = std::min(s.size(), static_cast<size_t>(n));
    return std::string(s.substr(s.size() - count));
}

std::string Mid(std::string_view s, long start, long length) {
    size_t from = start < 1 ? 0 : static_cast<size_t>(start - 1);
    if (from >= s.size())
        return "";
    if (length < 0)
        return std::string(s.substr(from));
    return std::string(s.substr(from, static_cast<size_t>(length)));
}

std::string Space(long n) {
    return n <= 0 ? std::string() : std::string(static_cast<size_t>(n), ' ');
}

std::string Fixed(std::string_view s, size_t width) {
    std::string out(s.substr(0, width));
    out.resize(width, ' ');
    return out;
}

double Round(double value, int digits) {
    if (!std::isfinite(value) || value == 0)
        return value;
    // The decimal digits the value shows, and how many of them lie before the cut.
    std::string shown;
    int exponent = 0;
    Decompose(std::fabs(value), 15, shown, exponent);
    const long kept = static_cast<long>(exponent) + 1 + digits;
    if (kept >= static_cast<long>(shown.size())) {
        // Nothing beyond the cut: the value is its 15-digit text.
        const std::string text = shown + "e" + std::to_string(exponent + 1 - static_cast<long>(shown.size()));
        double exact = 0;
        std::from_chars(text.data(), text.data() + text.size(), exact);
        return value < 0 ? -exact : exact;
    }
    if (kept < 0)
        return 0;
    std::string result = shown.substr(0, static_cast<size_t>(kept));
    const std::string_view rest = std::string_view(shown).substr(static_cast<size_t>(kept));
    // `shown` has no trailing zeros, so a rest longer than "5" lies above the half.
    bool up = rest[0] > '5' || (rest[0] == '5' && rest.size() > 1);
    if (rest == "5")
        up = !result.empty() && (result.back() - '0') % 2 == 1;
    if (up) {
        size_t i = result.size();
        while (i > 0 && result[i - 1] == '9')
            result[--i] = '0';
        if (i == 0)
            result.insert(result.begin(), '1');
        else
            ++result[i - 1];
    }
    if (result.empty())
        return 0;
    const std::string text = result + "e" + std::to_string(-digits);
    double rounded = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), rounded).ec != std::errc())
        return value;
    return value < 0 ? -rounded : rounded;
}

double Round(float value, int digits) {
    return Round(AmountValue(value), digits);
}

double AmountValue(float value) {
    if (!std::isfinite(value))
        return value;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    double decimal = 0;
    std::from_chars(buf, res.ptr, decimal);
    return decimal;
}

bool FitsSingle(double value) {
    return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
}

bool IsNonNegativeNumber(std::string_view text) {
    std::string t = Trim(text);
    bool digit = false, point = false;
    for (char c : t) {
        if (IsDigit(c))
            digit = true;
        else if (c == '.' && !point)
            point = true;
        else
            return false;
    }
    return digit && FitsSingle(Val(t));
}

bool IsTypedAmount(std::string_view text) {
    std::string t = Trim(text);
    if (!t.empty() && (t.front() == '-' || t.front() == '+'))
        t.erase(0, 1);
    const size_t point = t.find('.');
    const size_t decimals = point == std::string::npos ? 0 : t.size() - point - 1;
    return decimals <= 2 && IsNonNegativeNumber(t) && Trim(t) == t;
}

std::string Cp1252ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char ch : s) {
        auto c = static_cast<unsigned char>(ch);
        AppendUtf8(out, c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : c);
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        size_t length = DecodeUtf8(s, i, cp);
        if (length == 0) {
            out += '?';
            ++i;
        } else {
            out += Cp1252FromCodePoint(cp);
            i += length;
        }
    }
    return out;
}

} // namespace platform
