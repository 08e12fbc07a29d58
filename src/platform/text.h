// Text and number functions with the semantics the windows were written against:
// Val reads a leading number, Str puts a blank before a non-negative value, Single
// values show at most 7 significant digits and Double values at most 15.
// Text is one byte per character (Windows-1252) everywhere below the Qt boundary.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The number at the start of the text: blanks skipped, a period as the decimal point,
// reading stops at the first character that cannot continue a number; 0 when none.
double Val(std::string_view text);
// The characters of the number Val reads: an optional "-", digits with at most one period,
// and an exponent "e", "e-" or "e+" with digits when one follows; "" when there is none.
std::string ValText(std::string_view text);

// Shortest display text with a leading blank for a value that is not negative
// (" .5", "-2.25", " 166.65"). Single: at most 7 significant digits; Double: 15.
std::string Str(float value);
std::string Str(double value);
std::string Str(int value);
std::string Str(long value);
// The same text without the leading blank.
std::string CStr(float value);
std::string CStr(double value);
std::string CStr(int value);
std::string CStr(long value);

// Decimal text of a Single that reads back as exactly the same Single (file items).
std::string RoundTripText(float value);

std::string RTrim(std::string_view s);
// The same text without its trailing blanks, as a view into `s` (no copy).
std::string_view RTrimmed(std::string_view s);
std::string LTrim(std::string_view s);
std::string Trim(std::string_view s);
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
// Characters counted from 1; out-of-range parts give "" rather than failing.
std::string Left(std::string_view s, long n);
std::string Right(std::string_view s, long n);
std::string Mid(std::string_view s, long start, long length = -1);
// n blanks; n < 0 gives "".
std::string Space(long n);
// The text left-aligned in a field of `width` bytes: cut when longer, blank-padded when shorter.
std::string Fixed(std::string_view s, size_t width);

// Rounds to `digits` decimals the decimal number the value shows with 15 significant
// digits (a Single: its shortest text), not the binary value: an exact half goes to the
// even neighbour (0.125 -> 0.12, 76.475 -> 76.48, 43.945 -> 43.94). Infinity and NaN
// come back as they are.
double Round(double value, int digits = 0);
double Round(float value, int digits = 0);
// The decimal number a Single stands for, as a double: its shortest text read back
// (39.95f gives 39.95, not 39.950000762939453).
double AmountValue(float value);

// True when the value can be kept as a Single: finite and no larger than the largest Single.
bool FitsSingle(double value);
// True when the text is a plain non-negative number ("12", "12.5", ".5", " 7 ") whose value
// fits a Single: 40 digits are not a number an amount can hold.
bool IsNonNegativeNumber(std::string_view text);
// True when the text is an amount of money as a clerk types it: blanks around, a sign in
// front, digits with at most one period and no more than two digits after it ("15", "-15.5",
// " .05 ", "15.00"), a value that fits a Single. "10.0015" and "3.125" are not: no amount
// the desk takes has parts of a cent. Windows with their own rules (no sign, an empty box)
// check those first.
bool IsTypedAmount(std::string_view text);

// Windows-1252 <-> UTF-8, used only at the Qt boundary.
std::string Cp1252ToUtf8(std::string_view s);
std::string Utf8ToCp1252(std::string_view s);

} // namespace platform
