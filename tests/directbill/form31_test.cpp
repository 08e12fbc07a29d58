// "Select Payment Type" and "Select Direct Bill Account": the short lists that set the
// check-in window's payment panels and account.
#include "checkin/checkin_fixture.h"

#include "checkin/form31.h"
#include "checkin/form32.h"
#include "directbill/direct_bill_fixture.h"

namespace vantreth {
namespace {

using testing::CheckInFixture;
using testing::CompanyAccount;

class Form31Test : public CheckInFixture {
public:
    Form31Test() {
        records::AppendNewAccount(app().data(), CompanyAccount("1001", "ACME", 10));
        records::AppendNewAccount(app().data(), CompanyAccount("1002", "", 0)); // deleted
        records::AppendNewAccount(app().data(), CompanyAccount("1003", "BOLT CO", 0));
    }
    Form31& types() { return Form<Form31>(); }
    Form32& accounts() { return Form<Form32>(); }
    // The check-in window with a room chosen, then "Select Payment Type" over it.
    void OpenTypes() {
        Open();
        ASSERT_TRUE(checkIn().Combo1.UserPick("101 NQ1  "));
        app().Dispatch([&] { app().Load(types()); });
    }
    void Choose(platform::ListBox& list, const std::string& entry, int key) {
        ASSERT_TRUE(list.UserPick(entry)) << entry;
        list.UserKey(key);
    }
    std::string CheckInFocus() {
        platform::Control* active = checkIn().ActiveControl();
        return active ? active->Name() : std::string("(none)");
    }
};

TEST_F(Form31Test, CashOrCheckOpensTheCashAndGuestPanelsWithTheStayTotal) {
    OpenTypes();
    EXPECT_EQ(types().List1.Items(), (std::vector<std::string>{"CASH or CHECK", "CREDIT", "DIRECT BILL"}));
    Choose(types().List1, "CASH or CHECK", platform::vbKeyReturn);
    EXPECT_FALSE(IsLoaded("Form31"));
    EXPECT_EQ(checkIn().Combo2.Text(), "CASH or CHECK");
    EXPECT_TRUE(checkIn().Frame3.Enabled());
    EXPECT_FALSE(checkIn().Frame4.Enabled());
    EXPECT_TRUE(checkIn().Frame5.Enabled());
    EXPECT_EQ(checkIn().Text7.Text(), checkIn().Label25.Caption());
    EXPECT_EQ(checkIn().Text7.Text(), "55");
    EXPECT_EQ(CheckInFocus(), "Text9");
}

TEST_F(Form31Test, CreditOpensTheCardPanelAndEmptiesTheCashBox) {
    OpenTypes();
    Choose(types().List1, "CASH or CHECK", platform::vbKeyReturn);
    app().Dispatch([&] { app().Load(types()); });
    Choose(types().List1, "CREDIT", platform::vbKeyReturn);
    EXPECT_EQ(checkIn().Combo2.Text(), "CREDIT");
    EXPECT_FALSE(checkIn().Frame3.Enabled());
    EXPECT_TRUE(checkIn().Frame2.Enabled());
    EXPECT_EQ(checkIn().Text7.Text(), "");
}

TEST_F(Form31Test, DirectBillListsLiveAccountsAndTheAccountWindowFillsTheChoice) {
    OpenTypes();
    Choose(types().List1, "DIRECT BILL", platform::vbKeyReturn);
    EXPECT_FALSE(IsLoaded("Form31"));
    EXPECT_TRUE(checkIn().Frame4.Enabled());
    EXPECT_FALSE(checkIn().Frame3.Enabled());
    EXPECT_EQ(checkIn().Combo5.Text(), "select direct bill client");
    const std::vector<std::string> live = {"1001 ACME", "1003 BOLT CO"};
    EXPECT_EQ(checkIn().Combo5.Items(), live);
    ASSERT_TRUE(IsLoaded("Form32"));
    EXPECT_EQ(accounts().List1.Items(), live);

    Choose(accounts().List1, "1003 BOLT CO", platform::vbKeyReturn);
    EXPECT_FALSE(IsLoaded("Form32"));
    EXPECT_EQ(checkIn().Combo5.Text(), "1003 BOLT CO");
    EXPECT_TRUE(checkIn().Frame5.Enabled());
    EXPECT_EQ(CheckInFocus(), "Text9");
}

TEST_F(Form31Test, AKeyOtherThanEnterSetsThePanelsButCopiesNothing) {
    OpenTypes();
    Choose(types().List1, "DIRECT BILL", 'x');
    EXPECT_EQ(checkIn().Combo2.Text(), "choose payment");
    EXPECT_TRUE(checkIn().Frame4.Enabled());
    Choose(accounts().List1, "1001 ACME", 'x');
    EXPECT_FALSE(IsLoaded("Form32"));
    EXPECT_EQ(checkIn().Combo5.Text(), "select direct bill client");
    EXPECT_TRUE(checkIn().Frame5.Enabled());
}

} // namespace
} // namespace vantreth
