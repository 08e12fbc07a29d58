// "Edit Direct Bill Account": the list, the pick, Save Changes, Delete Account and the
// billing notice of the picked account.
#include "directbill/direct_bill_fixture.h"

#include "records/posting_codes.h"

namespace vantreth {
namespace {

using testing::CompanyAccount;
using testing::DirectBillFixture;

class Form22Test : public DirectBillFixture {
public:
    Form22Test() {
        Add(CompanyAccount("1001", "ACME", 74.5f));
        Add(CompanyAccount("1002", "", 30)); // deleted
        Add(CompanyAccount("1003", "BOLT CO", 0.005f));
    }
    Form22& edit() { return Form<Form22>(); }
    void OpenEdit() {
        OpenMenu();
        Form<Form21>().Command2.UserClick();
    }
};

TEST_F(Form22Test, OpensOverTheMenuListingLiveAccountsWithTwoBlanks) {
    OpenEdit();
    EXPECT_TRUE(IsLoaded("Form21"));
    EXPECT_EQ(edit().Combo1.Text(), "Select a Direct Bill Account Here");
    EXPECT_EQ(edit().Combo1.Items(), (std::vector<std::string>{"1001  ACME", "1003  BOLT CO"}));
    EXPECT_EQ(Focus(edit()), "Combo1");
    EXPECT_FALSE(edit().Command1.Enabled());
    EXPECT_FALSE(edit().Command3.Enabled());
    EXPECT_FALSE(edit().Command4.Enabled());
}

TEST_F(Form22Test, PickFillsTheBoxesAndEnablesTheNoticeFromOneCentUp) {
    const struct {
        float balance;
        bool notice;
    } cases[] = {{74.5f, true}, {0.005f, false}, {0.01f, true}, {-3, false}};
    for (const auto& c : cases) {
        records::DirectBillAccount account = Account(1);
        account.Balance = c.balance;
        records::RewriteAccount(app().data(), 1, account);
        OpenEdit();
        ASSERT_TRUE(edit().Combo1.UserPick("1001  ACME"));
        EXPECT_EQ(edit().Command3.Enabled(), c.notice) << c.balance;
        EXPECT_TRUE(edit().Command1.Enabled());
        EXPECT_TRUE(edit().Command4.Enabled());
        edit().Command2.UserClick();
    }
    OpenEdit();
    edit().Combo1.UserPick("1001  ACME");
    EXPECT_EQ(edit().Label5.Caption(), "1001");
    EXPECT_EQ(edit().Text1.Text(), "ACME");
    EXPECT_EQ(edit().Text3.Text(), "ANN");
    EXPECT_EQ(edit().Text7.Text(), "30720");
    EXPECT_EQ(edit().Text12.Text(), "-3");
    EXPECT_EQ(edit().Combo2.Text(), "N");
    EXPECT_EQ(edit().Combo2.Items(), (std::vector<std::string>{"N", "Y"}));
    EXPECT_EQ(Focus(edit()), "Text1");
}

TEST_F(Form22Test, SaveChangesStoresTheBoxesAsTypedAndKeepsCodeAndPayment) {
    records::DirectBillAccount paid = Account(1);
    paid.LastPaymentDate = platform::Fixed("12/1/26", 10);
    paid.LastPaymentAmount = platform::Fixed("20", 10);
    records::RewriteAccount(app().data(), 1, paid);
    OpenEdit();
    edit().Combo1.UserPick("1001  ACME");
    Retype(edit().Text1, "Acme tools");
    Retype(edit().Text12, "80.25");
    edit().Combo2.UserType(platform::vbKeyBack);
    edit().Combo2.UserTypeText("yes");
    edit().Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form22"));
    EXPECT_TRUE(IsLoaded("Form21"));

    const records::DirectBillAccount saved = Account(1);
    EXPECT_EQ(saved.CompanyName, platform::Fixed("Acme tools", 80));
    EXPECT_EQ(saved.Balance, 80.25f);
    EXPECT_EQ(saved.TaxExempt, "y");
    EXPECT_EQ(saved.DBNumber, "1001   ");
    EXPECT_EQ(saved.LastPaymentDate, platform::Fixed("12/1/26", 10));
    EXPECT_EQ(saved.LastPaymentAmount, platform::Fixed("20", 10));
    EXPECT_EQ(ReadBytes("directbill/dbmember").substr(294, 10), std::string(10, '\0'));
    EXPECT_EQ(Account(3).CompanyName, platform::Fixed("BOLT CO", 80)) << "other accounts untouched";
}

// The account code, the last payment's date and amount are no boxes: Save Changes leaves
// their bytes as the file has them, zero-byte padding included.
TEST_F(Form22Test, SaveChangesKeepsTheZeroBytesOfTheFieldsItDoesNotShow) {
    std::string bytes = ReadBytes("directbill/dbmember");
    bytes.replace(271, 3, std::string(3, '\0')); // after the code "1001"
    bytes.replace(274, 20, std::string(20, '\0'));
    WriteBytes("directbill/dbmember", bytes);
    OpenEdit();
    edit().Combo1.UserPick("1001  ACME");
    Retype(edit().Text1, "ACME TOOLS");
    edit().Command1.UserClick();
    EXPECT_EQ(Account(1).CompanyName, platform::Fixed("ACME TOOLS", 80));
    EXPECT_EQ(ReadBytes("directbill/dbmember").substr(267, 37), bytes.substr(267, 37));
}

TEST_F(Form22Test, SaveChangesReadsAnEmptiedBalanceBoxAsZero) {
    for (const char* typed : {"", "   "}) {
        records::RewriteAccount(app().data(), 1, CompanyAccount("1001", "ACME", 74.5f));
        OpenEdit();
        edit().Combo1.UserPick("1001  ACME");
        Retype(edit().Text12, typed);
        edit().Command1.UserClick();
        EXPECT_FALSE(IsLoaded("Form22")) << "'" << typed << "'";
        EXPECT_EQ(Account(1).Balance, 0.0f) << "'" << typed << "'";
        EXPECT_EQ(Account(1).CompanyName, platform::Fixed("ACME", 80)) << "'" << typed << "'";
        app().Dispatch([&] { app().Unload("Form21"); });
    }
    EXPECT_TRUE(dialogs().shown().empty()) << LastBox().prompt;
}

// A balance the box shows as loaded and the clerk leaves alone is the stored balance: not
// judged as typed (parts of a cent, beyond what a Single keeps to the cent, a text that is no
// plain number), and written back byte for byte.
TEST_F(Form22Test, ABalanceLeftAsLoadedIsKeptByteForByte) {
    for (const float balance : {150000.02f, 12.345f, 0.005f, 1e20f}) {
        records::RewriteAccount(app().data(), 1, CompanyAccount("1001", "ACME", balance));
        OpenEdit();
        edit().Combo1.UserPick("1001  ACME");
        Retype(edit().Text1, "ACME TOOLS");
        edit().Command1.UserClick();
        EXPECT_FALSE(IsLoaded("Form22")) << balance << ": " << LastBox().prompt;
        EXPECT_EQ(Account(1).Balance, balance);
        EXPECT_EQ(Account(1).CompanyName, platform::Fixed("ACME TOOLS", 80)) << balance;
        app().Dispatch([&] { app().Unload("Form21"); });
    }
}

TEST_F(Form22Test, SaveChangesRefusesAnEmptyNameOrABalanceThatIsNoNumber) {
    const std::string before = ReadBytes("directbill/dbmember");
    OpenEdit();
    edit().Combo1.UserPick("1001  ACME");
    Retype(edit().Text12, "1,200.50");
    dialogs().Answer(platform::vbOK);
    edit().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt,
              "The current balance must be a number. Please fix or click 'Cancel' to exit this module.");
    EXPECT_EQ(Focus(edit()), "Text12");

    Retype(edit().Text12, "1200.505");
    dialogs().Answer(platform::vbOK);
    edit().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt, records::kCentsMessage);
    EXPECT_EQ(Focus(edit()), "Text12");

    Retype(edit().Text12, "5");
    Retype(edit().Text1, "");
    dialogs().Answer(platform::vbOK);
    edit().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt,
              "You did not enter a company name. Enter a name or click 'Cancel' to exit this module.");
    EXPECT_TRUE(IsLoaded("Form22"));
    EXPECT_EQ(ReadBytes("directbill/dbmember"), before);
}

TEST_F(Form22Test, DeleteAsksTwiceThenBlanksOnlyTheNameAndRefreshesTheList) {
    OpenEdit();
    edit().Combo1.UserPick("1001  ACME");
    dialogs().Answer(platform::vbYes);
    dialogs().Answer(platform::vbNo);
    edit().Command4.UserClick();
    EXPECT_EQ(LastBox().prompt, "Are you really sure you want to delete this account?");
    EXPECT_EQ(LastBox().title, "Delete Account");
    EXPECT_FALSE(Account(1).IsDeleted());

    dialogs().Answer(platform::vbYes);
    dialogs().Answer(platform::vbYes);
    dialogs().Answer(platform::vbOK);
    edit().Command4.UserClick();
    EXPECT_EQ(LastBox().prompt, "Account has been deleted.");
    EXPECT_EQ(LastBox().title, "ATTENTION");
    records::DirectBillAccount expected = CompanyAccount("1001", "", 74.5f);
    EXPECT_EQ(Account(1), expected) << "code, balance and last payment stay";

    EXPECT_EQ(edit().Label5.Caption(), "");
    EXPECT_EQ(edit().Text1.Text(), "");
    EXPECT_EQ(edit().Text12.Text(), "");
    EXPECT_EQ(edit().Combo2.Text(), "N");
    EXPECT_FALSE(edit().Command1.Enabled());
    EXPECT_FALSE(edit().Command3.Enabled());
    EXPECT_FALSE(edit().Command4.Enabled());
    EXPECT_EQ(edit().Combo1.Items(), (std::vector<std::string>{"1003  BOLT CO"}));
    EXPECT_EQ(edit().Combo1.Text(), "Select A Direct Bill Account Here");
    EXPECT_EQ(Focus(edit()), "Combo1");
    ExpectNoPendingAnswers();
}

TEST_F(Form22Test, NoticeShowsTheStoredBalanceAndNeedsANonZeroBalanceBox) {
    OpenEdit();
    edit().Combo1.UserPick("1001  ACME");
    Retype(edit().Text12, "0");
    edit().Command3.UserClick();
    EXPECT_TRUE(Printed().empty());

    Retype(edit().Text12, "999");
    edit().Command3.UserClick();
    const auto documents = Printed();
    ASSERT_EQ(documents.size(), 1u);
    ASSERT_EQ(documents[0].size(), 36u) << "the full notice";
    EXPECT_EQ(documents[0][1], std::string(31, ' ') + "Test Motel");
    EXPECT_EQ(documents[0][11], "12/6/26                        BILLING NOTICE");
    EXPECT_EQ(documents[0][16], "1001  ACME");
    EXPECT_EQ(documents[0][26], std::string(53, ' ') + "BALANCE DUE:  74.5");
}

TEST_F(Form22Test, APickWhoseCodeFindsNoAccountEmptiesTheWindow) {
    Add(CompanyAccount("10045", "LONG CODE", 5));
    OpenEdit();
    edit().Combo1.UserPick("1001  ACME");
    edit().Combo1.UserPick("10045  LONG CODE");
    EXPECT_EQ(edit().Label5.Caption(), "");
    EXPECT_EQ(edit().Text1.Text(), "");
    EXPECT_FALSE(edit().Command1.Enabled()) << "Save Changes must not write ACME's boxes elsewhere";
    EXPECT_FALSE(edit().Command4.Enabled());
}

} // namespace
} // namespace vantreth
