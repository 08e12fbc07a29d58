// "Direct Bill Menu": the billing statements and their question (the ways through the
// menu are in the direct_bill scenario).
#include "directbill/direct_bill_fixture.h"
namespace vantreth {
namespace {

using testing::CompanyAccount;
using testing::DirectBillFixture;

class Form21Test : public DirectBillFixture {
public:
    Form21& menu() { return Form<Form21>(); }
};

TEST_F(Form21Test, StatementsAskFirstThenPrintOneNoticePerAccountOwingMoney) {
    Add(CompanyAccount("1001", "ACME", 5));
    Add(CompanyAccount("1002", "BOLT CO", -5));
    Add(CompanyAccount("1003", "CRANE INC", 0.004f));
    OpenMenu();
    dialogs().Answer(platform::vbNo);
    menu().Command4.UserClick();
    EXPECT_EQ(LastBox().prompt,
              "This will print a billing notice for Direct Bill accounts with a balance due. Continue?");
    EXPECT_EQ(LastBox().title, "Print");
    EXPECT_TRUE(Printed().empty());

    dialogs().Answer(platform::vbYes);
    menu().Command4.UserClick();
    const auto documents = Printed();
    ASSERT_EQ(documents.size(), 2u) << "ACME and CRANE INC";
    EXPECT_EQ(documents[1][16], "1003  CRANE INC");
}

} // namespace
} // namespace vantreth
