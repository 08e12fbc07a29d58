// "Direct Bill Payments": the pick, a payment with every record it changes, the
// refusals, and the short billing notice.
#include "directbill/direct_bill_fixture.h"

#include "records/day_totals.h"
#include "records/shift_cash.h"

namespace vantreth {
namespace {

using testing::CompanyAccount;
using testing::DirectBillFixture;

class Form23Test : public DirectBillFixture {
public:
    Form23Test() {
        Add(CompanyAccount("1001", "ACME", 100));
        Add(CompanyAccount("1002", "BOLT CO", 0.4f));
    }
    Form23& pay() { return Form<Form23>(); }
    void OpenPayments() {
        OpenMenu();
        Form<Form21>().Command6.UserClick();
    }
    void PayOn(const std::string& line, const std::string& amount) {
        ASSERT_TRUE(pay().Combo1.UserPick(line)) << line;
        pay().Text1.UserTypeText(amount);
        pay().Command1.UserClick();
    }
};

TEST_F(Form23Test, OpensOverTheMenuWithThePaymentDisabled) {
    OpenPayments();
    EXPECT_TRUE(IsLoaded("Form21"));
    EXPECT_EQ(pay().Combo1.Text(), "Select a client ");
    EXPECT_EQ(pay().Combo1.Items(), (std::vector<std::string>{"1001 ACME", "1002 BOLT CO"}));
    EXPECT_EQ(Focus(pay()), "Combo1");
    EXPECT_FALSE(pay().Text1.Enabled());
    EXPECT_FALSE(pay().Command1.Enabled());
    EXPECT_FALSE(pay().Command3.Enabled());
}

TEST_F(Form23Test, PickShowsTheAccountAndEnablesTheNoticeWhenTheBalanceRoundsAwayFromZero) {
    const struct {
        float balance;
        const char* shown;
        bool notice;
    } cases[] = {{0.4f, ".4", false},
                 {0.5f, ".5", false},
                 {0.6f, ".6", true},
                 {-0.6f, "-.6", true},
                 {112.849f, "112.85", true}};
    OpenPayments();
    for (const auto& c : cases) {
        records::DirectBillAccount account = Account(2);
        account.Balance = c.balance;
        records::RewriteAccount(app().data(), 2, account);
        pay().Combo1.UserPick("1001 ACME");
        pay().Combo1.UserPick("1002 BOLT CO");
        EXPECT_EQ(pay().Label2.Caption(), "1002   " + platform::Fixed("BOLT CO", 80));
        EXPECT_EQ(pay().Label7.Caption(), c.shown);
        EXPECT_EQ(pay().Command3.Enabled(), c.notice) << c.balance;
        EXPECT_TRUE(pay().Command1.Enabled());
        EXPECT_EQ(Focus(pay()), "Text1");
    }
}

TEST_F(Form23Test, PaymentLowersTheBalanceAndAddsToShiftAndDayCash) {
    OpenPayments();
    PayOn("1001 ACME", "25.5");

    const records::DirectBillAccount account = Account(1);
    EXPECT_EQ(account.Balance, 74.5f);
    EXPECT_EQ(account.LastPaymentDate, platform::Fixed("12/6/26", 10));
    EXPECT_EQ(account.LastPaymentAmount, platform::Fixed("25.5", 10));
    EXPECT_EQ(ReadBytes("directbill/dbmember").substr(294, 10), std::string(10, '\0'));

    const records::ShiftCash cash = records::ReadShiftCash(app().data(), "A", "12/6/26");
    EXPECT_EQ(cash.CashFromDirectBill, 25.5f);
    EXPECT_EQ(cash.Shift, "A");
    EXPECT_EQ(cash.Clerk, "JD");
    EXPECT_EQ(cash.DateText, platform::Fixed("12/6/26", 10));
    EXPECT_EQ(records::ReadDayTotals(app().data(), "12/6/26").Cash, 25.5f);
    EXPECT_EQ(ReadBytes("dbpayments/12626"), "\"1001   ACME\",\"25.5\",\"74.5\"\r\n");
    EXPECT_EQ(ReadBytes("dbpaymentyesno"), "1\r\n");

    EXPECT_EQ(pay().Label2.Caption(), "");
    EXPECT_EQ(pay().Label7.Caption(), "");
    EXPECT_EQ(pay().Text1.Text(), "");
    EXPECT_EQ(pay().Combo1.Text(), "Select a Client");
    EXPECT_EQ(Focus(pay()), "Combo1");
    EXPECT_TRUE(pay().Command1.Enabled());

    // A second payment after its own pick; a minus sign takes money back.
    PayOn("1001 ACME", "-10");
    EXPECT_EQ(Account(1).Balance, 84.5f);
    EXPECT_EQ(records::ReadShiftCash(app().data(), "A", "12/6/26").CashFromDirectBill, 15.5f);
    EXPECT_EQ(records::ReadDayTotals(app().data(), "12/6/26").Cash, 15.5f);
    EXPECT_EQ(records::ReadDbPayments(app().data(), "12/6/26").size(), 2u);
    EXPECT_EQ(records::ReadDbPayments(app().data(), "12/6/26")[1].NewBalance, "84.5");
}

// Single precision leaves a speck of a cent after a subtraction; the balance is kept to the
// cent, so a company that paid in full owes 0 and gets no notice.
TEST_F(Form23Test, PaymentsInFullLeaveABalanceOfExactlyZero) {
    Add(CompanyAccount("1003", "CARGO", 150));
    OpenPayments();
    PayOn("1003 CARGO", "143.58");
    EXPECT_EQ(Account(3).Balance, 6.42f);
    PayOn("1003 CARGO", "6.42");
    EXPECT_EQ(Account(3).Balance, 0.0f);
    EXPECT_EQ(records::ReadDbPayments(app().data(), "12/6/26").at(1).NewBalance, "0");
    ASSERT_TRUE(pay().Combo1.UserPick("1003 CARGO"));
    EXPECT_EQ(pay().Label7.Caption(), "0");
    EXPECT_FALSE(pay().Command3.Enabled());
}

TEST_F(Form23Test, RefusesAPaymentWithoutAnAccountOrThatIsNoNumber) {
    OpenPayments();
    PayOn("1001 ACME", "25.5");
    const std::string accounts = ReadBytes("directbill/dbmember");
    const std::string payments = ReadBytes("dbpayments/12626");

    // Pressed again without a new pick: nothing is shown, so nothing may be taken.
    pay().Text1.UserTypeText("10");
    dialogs().Answer(platform::vbOK);
    pay().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt,
              "You did not select a direct bill client. Select a client or click 'Cancel / Esc' to exit this "
              "module.");
    EXPECT_EQ(LastBox().title, "WARNING");

    pay().Combo1.UserPick("1001 ACME");
    pay().Text1.UserType(platform::vbKeyBack);
    pay().Text1.UserType(platform::vbKeyBack);
    pay().Text1.UserTypeText("ten");
    dialogs().Answer(platform::vbOK);
    pay().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt,
              "The payment must be a number. Please fix or click 'Cancel / Esc' to exit this module.");
    EXPECT_EQ(Focus(pay()), "Text1");

    EXPECT_EQ(ReadBytes("directbill/dbmember"), accounts);
    EXPECT_EQ(ReadBytes("dbpayments/12626"), payments);
    EXPECT_EQ(records::ReadShiftCash(app().data(), "A", "12/6/26").CashFromDirectBill, 25.5f);
    EXPECT_EQ(records::ReadDayTotals(app().data(), "12/6/26").Cash, 25.5f);
    ExpectNoPendingAnswers();
}

TEST_F(Form23Test, ShortNoticeOfThePickedAccountButNotAfterAPayment) {
    OpenPayments();
    pay().Combo1.UserPick("1001 ACME");
    pay().Command3.UserClick();
    const auto documents = Printed();
    ASSERT_EQ(documents.size(), 1u);
    ASSERT_EQ(documents[0].size(), 34u) << "the short notice";
    EXPECT_EQ(documents[0][26], std::string(53, ' ') + "BALANCE DUE:  100");

    pay().Text1.UserTypeText("1");
    pay().Command1.UserClick();
    pay().Command3.UserClick();
    EXPECT_TRUE(Printed().empty()) << "the list reads \"Select a Client\" again";
}

} // namespace
} // namespace vantreth
