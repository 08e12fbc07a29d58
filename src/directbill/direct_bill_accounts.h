// What the direct bill windows compute: the account list lines, an account built from
// the entry boxes, the checks of typed amounts, and a payment on account with every
// record it touches.
#pragma once

#include "platform/decimal.h"
#include "platform/files.h"
#include "records/direct_bill.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace directbill {

// The texts of CompanyName ... Cell, in the order of the entry boxes Text1 to Text11.
using AccountTexts = std::array<std::string, 11>;

// One line per account that is not deleted, in file order: the code without trailing
// blanks, the separator, the company without trailing blanks.
std::vector<std::string> AccountListLines(const platform::DataFolder& folder, std::string_view separator);
inline constexpr std::string_view kEditListSeparator = "  ";
inline constexpr std::string_view kPaymentListSeparator = " ";

// Puts the texts into CompanyName ... Cell, each cut or blank-padded to its field;
// upper-cased when asked (a new account).
void SetAccountTexts(records::DirectBillAccount& account, const AccountTexts& texts, bool upperCase);
// CompanyName ... Cell without trailing blanks.
AccountTexts AccountTextsOf(const records::DirectBillAccount& account);

// A typed amount: a number, with a minus sign in front allowed ("12", "-3.5", ".5").
bool IsAmountText(std::string_view text);

// Whether a pick enables "Print Billing Notice": in the edit window a balance of 0.01 or
// more; in the payments window a balance that does not round to 0.
bool EditNoticeAllowed(float balance);
bool PaymentNoticeAllowed(float balance);

// An account's balance is kept to the cent: every change rounds its exact decimal value, so
// a balance paid in full is 0 and not a speck of a cent left by a binary sum.
float AccountBalance(const platform::Decimal& value);
// The balance typed in an account window's balance box (its decimal digits), to the cent.
float TypedBalance(std::string_view text);

// The balance after a payment as logged: shown - payment in decimals, rounded to the cent,
// Str form without its blanks ("100" and "25.5" give "74.5").
std::string NewBalanceText(std::string_view shownBalance, std::string_view payment);

struct Payment {
    std::string shownAccount; // the window's account line: DBNumber (7) and CompanyName (80)
    std::string shownBalance; // the balance the window shows
    std::string amount;       // as typed
    std::string shift;
    std::string clerk;
    std::string dateText;
};

// Takes a payment on the account whose code is the first four characters of the shown
// account: lowers its balance and records the date and amount, adds the amount to the
// shift's direct-bill cash and the day's cash, logs the payment and sets the payment
// flag. The account must exist: returns false, writing nothing, when no account has the
// code.
bool TakePayment(const platform::DataFolder& folder, const Payment& payment);

} // namespace directbill
