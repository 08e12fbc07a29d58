// The account number counter, the payment log and flag, the record writes that keep the
// reserved bytes, and the amount rules of the direct bill windows.
#include "directbill/direct_bill_fixture.h"

#include "directbill/direct_bill_accounts.h"

#include <optional>

namespace vantreth {
namespace {

using testing::CompanyAccount;
using testing::DirectBillFixture;

class DirectBillFilesTest : public DirectBillFixture {};

TEST_F(DirectBillFilesTest, IssuedNumbersHaveFourDigitsAndAreNeverTakenTwice) {
    struct Case {
        const char* counter; // nullptr: no counter file
        std::vector<std::string> codesInFile;
        std::optional<long> issued;
        std::string counterAfter;
    };
    const Case cases[] = {
        {"1000\r\n", {}, 1001, "1001\r\n"},
        {nullptr, {}, 1000, "1000\r\n"},
        {"7\r\n", {}, 1000, "1000\r\n"},
        {"1000\r\n", {"1001", "1002"}, 1003, "1003\r\n"},
        {"9999\r\n", {}, std::nullopt, "9999\r\n"},
        {"9997\r\n", {"9998", "9999"}, std::nullopt, "9997\r\n"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(DataFile("directbill/dbmember"));
        std::filesystem::remove(DataFile("directbill/dbnumber"));
        if (c.counter)
            WriteBytes("directbill/dbnumber", c.counter);
        for (const std::string& code : c.codesInFile)
            Add(CompanyAccount(code, "", 0)); // deleted ones count too
        EXPECT_EQ(records::IssueAccountNumber(app().data()), c.issued) << (c.counter ? c.counter : "(none)");
        EXPECT_EQ(ReadBytes("directbill/dbnumber"), c.counterAfter) << (c.counter ? c.counter : "(none)");
    }
}

TEST_F(DirectBillFilesTest, ReturningANumberLowersTheCounterByOne) {
    WriteBytes("directbill/dbnumber", "1005\r\n");
    records::ReturnAccountNumber(app().data());
    EXPECT_EQ(ReadBytes("directbill/dbnumber"), "1004\r\n");
}

TEST_F(DirectBillFilesTest, NewAccountEndsInZeroBytesAndARewriteKeepsThem) {
    const long n = Add(CompanyAccount("1001", "ACME", 10));
    EXPECT_EQ(n, 1);
    const std::string added = ReadBytes("directbill/dbmember");
    ASSERT_EQ(added.size(), 304u);
    EXPECT_EQ(added.substr(262, 4), std::string(4, '\0'));
    EXPECT_EQ(added.substr(294), std::string(10, '\0'));

    // Whatever lies in the reserved text stays there through a rewrite.
    std::string image = added;
    image.replace(294, 10, "KEEP ME!!!");
    WriteBytes("directbill/dbmember", image);
    records::DirectBillAccount account = Account(1);
    account.Balance = 2.5f;
    records::RewriteAccount(app().data(), 1, account);
    const std::string after = ReadBytes("directbill/dbmember");
    EXPECT_EQ(after.substr(294), "KEEP ME!!!");
    EXPECT_EQ(Account(1).Balance, 2.5f);
}

TEST_F(DirectBillFilesTest, PaymentLinesAreThreeQuotedTextsReadBackInOrder) {
    const records::DbPaymentLine first{"1001   ACME", "25.5", "74.5"};
    const records::DbPaymentLine second{"", "abc", "0"};
    records::AppendDbPaymentLine(app().data(), "12/6/26", first);
    records::AppendDbPaymentLine(app().data(), "12/6/26", second);
    EXPECT_EQ(ReadBytes("dbpayments/12626"), "\"1001   ACME\",\"25.5\",\"74.5\"\r\n\"\",\"abc\",\"0\"\r\n");
    EXPECT_EQ(records::ReadDbPayments(app().data(), "12/6/26"),
              (std::vector<records::DbPaymentLine>{first, second}));
}

TEST(DirectBillRulesTest, AmountTextIsASignedPlainNumber) {
    const struct {
        const char* text;
        bool amount;
    } cases[] = {{"25.5", true}, {" 7 ", true},  {".5", true},     {"-3", true},  {"", false},
                 {"abc", false}, {"12a", false}, {"1,200", false}, {"$5", false}, {"-", false}};
    for (const auto& c : cases)
        EXPECT_EQ(directbill::IsAmountText(c.text), c.amount) << '"' << c.text << '"';
}

TEST(DirectBillRulesTest, NewBalanceIsShownBalanceLessPaymentInDoublePrecision) {
    const struct {
        const char* shown;
        const char* payment;
        const char* newBalance;
    } cases[] = {{"100", "25.5", "74.5"},
                 {"", "10", "-10"},
                 {"0.3", "0.1", ".2"},
                 {"50", "-5", "55"},
                 {"12.35", "abc", "12.35"}};
    for (const auto& c : cases)
        EXPECT_EQ(directbill::NewBalanceText(c.shown, c.payment), c.newBalance)
            << c.shown << " - " << c.payment;
}

TEST(DirectBillRulesTest, ATypedBalanceIsKeptToTheCent) {
    const struct {
        const char* typed;
        float balance;
    } cases[] = {{"100.5", 100.5f}, {"12.346", 12.35f}, {"0.125", 0.12f}, {"-3.004", -3.0f}, {"", 0.0f}};
    for (const auto& c : cases)
        EXPECT_EQ(directbill::TypedBalance(c.typed), c.balance) << '"' << c.typed << '"';
}

} // namespace
} // namespace vantreth
