// "Add Direct Bill Account": the number issued on opening, the record saved, Cancel
// giving the number back, the Enter walk and the refusals.
#include "directbill/direct_bill_fixture.h"

#include "records/posting_codes.h"

namespace vantreth {
namespace {

using testing::CompanyAccount;
using testing::DirectBillFixture;

class Form20Test : public DirectBillFixture {
public:
    Form20& add() { return Form<Form20>(); }
    void OpenAdd() {
        OpenMenu();
        Form<Form21>().Command1.UserClick();
    }
    void Fill(const std::string& company) {
        add().Text1.UserTypeText(company);
        add().Text2.UserTypeText("smith");
        add().Text3.UserTypeText("ann");
        add().Text6.UserTypeText("ga");
        add().Text12.UserTypeText("100.5");
    }
};

TEST_F(Form20Test, TwoAccountsInARowGetTheNextNumbersAndAreStoredInUpperCase) {
    WriteBytes("directbill/dbnumber", "1000\r\n");
    OpenAdd();
    EXPECT_FALSE(IsLoaded("Form21")) << "the add window replaces the menu";
    EXPECT_EQ(add().Label16.Caption(), "1001");
    EXPECT_EQ(ReadBytes("directbill/dbnumber"), "1001\r\n") << "issued on opening";
    EXPECT_EQ(add().Combo1.Text(), "N");
    EXPECT_EQ(add().Combo1.Items(), (std::vector<std::string>{"Y", "N"}));
    Fill("acme tools");
    add().Combo1.UserType(platform::vbKeyBack);
    add().Combo1.UserTypeText("yes");
    add().Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form20"));
    EXPECT_FALSE(IsLoaded("Form21")) << "the menu is not shown again";

    OpenAdd();
    EXPECT_EQ(add().Label16.Caption(), "1002");
    Fill("bolt co");
    add().Command1.UserClick();
    EXPECT_EQ(ReadBytes("directbill/dbnumber"), "1002\r\n");

    ASSERT_EQ(records::AccountCount(app().data()), 2);
    const records::DirectBillAccount first = Account(1);
    EXPECT_EQ(first.CompanyName, platform::Fixed("ACME TOOLS", 80));
    EXPECT_EQ(first.ContactLastName, platform::Fixed("SMITH", 20));
    EXPECT_EQ(first.ContactFirstName, platform::Fixed("ANN", 20));
    EXPECT_EQ(first.State, "GA");
    EXPECT_EQ(first.Balance, 100.5f);
    EXPECT_EQ(first.TaxExempt, "y") << "the first character as typed";
    EXPECT_EQ(first.DBNumber, "1001   ");
    EXPECT_EQ(first.LastPaymentDate, platform::Fixed("--/--/--", 10));
    EXPECT_EQ(first.LastPaymentAmount, platform::Fixed("0", 10));
    EXPECT_EQ(ReadBytes("directbill/dbmember").substr(294, 10), std::string(10, '\0'));
    EXPECT_EQ(Account(2).DBNumber, "1002   ");
    EXPECT_EQ(Account(2).TaxExempt, "N");
}

TEST_F(Form20Test, CancelAndEscGiveTheNumberBackButTheCloseBoxDoesNot) {
    WriteBytes("directbill/dbnumber", "1000\r\n");
    OpenAdd();
    add().Text1.UserTypeText("acme");
    add().Command2.UserClick();
    EXPECT_FALSE(IsLoaded("Form20"));
    EXPECT_EQ(ReadBytes("directbill/dbnumber"), "1000\r\n");

    Open(add());
    add().Text3.UserType(platform::vbKeyEscape);
    EXPECT_FALSE(IsLoaded("Form20"));
    EXPECT_EQ(ReadBytes("directbill/dbnumber"), "1000\r\n");

    Open(add());
    add().UserClose();
    EXPECT_EQ(ReadBytes("directbill/dbnumber"), "1001\r\n");
    EXPECT_EQ(records::AccountCount(app().data()), 0);
}

TEST_F(Form20Test, EnterMovesFromEachBoxToTheNextUpToTheBalance) {
    OpenAdd();
    platform::TextBox* boxes[] = {&add().Text1, &add().Text2,  &add().Text3,  &add().Text4,
                                  &add().Text5, &add().Text6,  &add().Text7,  &add().Text8,
                                  &add().Text9, &add().Text10, &add().Text11, &add().Text12};
    for (int i = 0; i < 11; ++i) {
        boxes[i]->UserType(platform::vbKeyReturn);
        EXPECT_EQ(Focus(add()), boxes[i + 1]->Name()) << "Enter in " << boxes[i]->Name();
        EXPECT_EQ(boxes[i]->Text(), "");
    }
    add().Text12.UserType(platform::vbKeyReturn);
    EXPECT_EQ(Focus(add()), "Text12") << "the balance box has no Enter handling";
}

TEST_F(Form20Test, RefusesAnEmptyCompanyOrABalanceThatIsNoNumber) {
    WriteBytes("directbill/dbnumber", "1000\r\n");
    OpenAdd();
    add().Text12.UserTypeText("50");
    dialogs().Answer(platform::vbOK);
    add().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt,
              "You did not enter a company name. Enter a name or click 'Cancel' to exit this module.");
    EXPECT_EQ(LastBox().title, "WARNING");
    EXPECT_EQ(Focus(add()), "Text1");

    add().Text1.UserTypeText("acme");
    add().Text12.UserTypeText("x");
    dialogs().Answer(platform::vbOK);
    add().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt,
              "The current balance must be a number. Please fix or click 'Cancel' to exit this module.");
    EXPECT_EQ(Focus(add()), "Text12");
    EXPECT_TRUE(IsLoaded("Form20"));
    EXPECT_EQ(records::AccountCount(app().data()), 0);

    // An empty balance is a new account that owes nothing.
    add().Text12.UserType(platform::vbKeyBack);
    add().Text12.UserType(platform::vbKeyBack);
    add().Text12.UserType(platform::vbKeyBack);
    add().Command1.UserClick();
    ASSERT_EQ(records::AccountCount(app().data()), 1);
    EXPECT_EQ(Account(1).Balance, 0.0f);
    ExpectNoPendingAnswers();
}

// An opening balance a record's Single cannot keep to the cent (150000.01 would be stored
// as 150000.02) is refused with a message; up to 131071.99 every cent is kept.
TEST_F(Form20Test, AnOpeningBalanceBeyondWhatARecordKeepsToTheCentIsRefused) {
    const struct {
        const char* typed;
        bool taken;
    } cases[] = {{"150000.01", false}, {"131072.01", false}, {"131071.99", true}};
    for (const auto& c : cases) {
        WriteBytes("directbill/dbnumber", "1000\r\n");
        platform::DeleteFile(OnDisk("directbill/dbmember"));
        OpenAdd();
        Fill("acme");
        while (!add().Text12.Text().empty())
            add().Text12.UserType(platform::vbKeyBack);
        add().Text12.UserTypeText(c.typed);
        if (!c.taken)
            dialogs().Answer(platform::vbOK);
        add().Command1.UserClick();
        ExpectNoPendingAnswers();
        if (c.taken) {
            ASSERT_EQ(records::AccountCount(app().data()), 1) << c.typed;
            EXPECT_EQ(platform::AmountValue(Account(1).Balance), 131071.99);
            continue;
        }
        EXPECT_EQ(LastBox().prompt, records::kAmountTooLargeMessage) << c.typed;
        EXPECT_EQ(Focus(add()), "Text12") << c.typed;
        EXPECT_EQ(records::AccountCount(app().data()), 0) << c.typed;
        app().Dispatch([&] { app().Unload("Form20"); });
        app().Dispatch([&] { app().Unload("Form21"); });
    }
}

TEST_F(Form20Test, NoWindowWhenNoFourDigitNumberIsLeft) {
    WriteBytes("directbill/dbnumber", "9999\r\n");
    OpenMenu();
    dialogs().Answer(platform::vbOK);
    Form<Form21>().Command1.UserClick();
    EXPECT_EQ(LastBox().prompt, "There are no more direct bill account numbers. No account can be added.");
    EXPECT_FALSE(IsLoaded("Form20"));
    EXPECT_EQ(ReadBytes("directbill/dbnumber"), "9999\r\n");
}

} // namespace
} // namespace vantreth
