// The account list lines, account texts, amount checks and payments on account.
#include "directbill/direct_bill_accounts.h"
#include "platform/engine.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/day_totals.h"
#include "records/direct_bill_files.h"
#include "records/shift_cash.h"

#include <optional>

namespace directbill {

using platform::RTrim;
using records::DirectBillAccount;

namespace {

// The text fields of the entry boxes, in box order.
constexpr std::array<std::string DirectBillAccount::*, 11> kBoxFields = {
    &DirectBillAccount::CompanyName,
    &DirectBillAccount::ContactLastName,
    &DirectBillAccount::ContactFirstName,
    &DirectBillAccount::Address,
    &DirectBillAccount::City,
    &DirectBillAccount::State,
    &DirectBillAccount::Zip,
    &DirectBillAccount::Phone1,
    &DirectBillAccount::Phone2,
    &DirectBillAccount::Fax,
    &DirectBillAccount::Cell,
};

} // namespace

std::vector<std::string> AccountListLines(const platform::DataFolder& folder, std::string_view separator) {
    std::vector<std::string> lines;
    for (const DirectBillAccount& account : records::ReadAllAccounts(folder))
        if (!account.IsDeleted())
            lines.push_back(RTrim(account.DBNumber) + std::string(separator) + RTrim(account.CompanyName));
    return lines;
}

void SetAccountTexts(DirectBillAccount& account, const AccountTexts& texts, bool upperCase) {
    for (size_t i = 0; i < kBoxFields.size(); ++i) {
        std::string& field = account.*kBoxFields[i];
        const std::string text = upperCase ? platform::UCase(texts[i]) : texts[i];
        field = platform::Fixed(text, field.size());
    }
}

AccountTexts AccountTextsOf(const DirectBillAccount& account) {
    AccountTexts texts;
    for (size_t i = 0; i < kBoxFields.size(); ++i)
        texts[i] = RTrim(account.*kBoxFields[i]);
    return texts;
}

bool IsAmountText(std::string_view text) {
    std::string t = platform::Trim(text);
    if (!t.empty() && t.front() == '-')
        t.erase(0, 1);
    return platform::IsNonNegativeNumber(t);
}

bool EditNoticeAllowed(float balance) {
    return balance >= 0.01f;
}

bool PaymentNoticeAllowed(float balance) {
    return platform::Decimal::Of(balance).Rounded(0) != platform::Decimal();
}

float AccountBalance(const platform::Decimal& value) {
    return value.Rounded(2).ToSingle();
}

float TypedBalance(std::string_view text) {
    return AccountBalance(platform::Decimal::Parse(text));
}

std::string NewBalanceText(std::string_view shownBalance, std::string_view payment) {
    const platform::Decimal balance =
        (platform::Decimal::Parse(shownBalance) - platform::Decimal::Parse(payment)).Rounded(2);
    return platform::Trim(platform::Str(balance.ToDouble()));
}

bool TakePayment(const platform::DataFolder& folder, const Payment& payment) {
    const std::optional<long> n = records::FindAccount(folder, platform::Left(payment.shownAccount, 4));
    if (!n)
        return false;
    const platform::Decimal amount = platform::Decimal::Parse(payment.amount);

    DirectBillAccount account = records::ReadAccount(folder, *n);
    platform::DescribeStep(folder, "Payment of " + platform::AmountText(amount) +
                                       " from direct bill account " + platform::Trim(account.DBNumber));
    account.Balance = platform::AddStoredAmount(
        account.Balance, -amount, "The balance of direct bill account " + platform::Trim(account.DBNumber));
    account.LastPaymentDate = platform::Fixed(payment.dateText, account.LastPaymentDate.size());
    account.LastPaymentAmount = platform::Fixed(payment.amount, account.LastPaymentAmount.size());
    records::RewriteAccount(folder, *n, account);

    records::AddToShiftCash(folder, payment.shift, payment.clerk, payment.dateText,
                            records::ShiftCashField::CashFromDirectBill, amount);
    records::AppendDbPaymentLine(folder, payment.dateText,
                                 {platform::Trim(payment.shownAccount), payment.amount,
                                  NewBalanceText(payment.shownBalance, payment.amount)});
    records::WriteDbPaymentFlag(folder, 1);
    records::AddToDayTotals(folder, payment.dateText, records::DayTotalsField::Cash, amount);
    return true;
}

} // namespace directbill
