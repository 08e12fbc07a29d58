// The customer list and the billing notices: every line of each, and which accounts
// get a notice from "Print Billing Statements".
#include "printing/direct_bill_reports.h"

#include "platform/text.h"
#include "records/direct_bill_files.h"

#include "support/builders.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace printing {
namespace {

using records::DirectBillAccount;

DirectBillAccount Account(const std::string& code, const std::string& company, float balance) {
    return vantreth::testing::CompanyAccount(code, company, balance, "3072");
}

records::MotelSettings Motel() {
    records::MotelSettings motel;
    motel.motelName = "LAKE MOTEL";
    motel.street = "1 SHORE DRIVE";
    motel.town = "LAKEVIEW, MN. 55000";
    motel.phone = "555-0100";
    motel.tollFree = "1-800-555-0100";
    motel.fax = "555-0102";
    return motel;
}

std::vector<std::string> JobLines(const platform::PrintJob& job) {
    std::vector<std::string> lines;
    for (const platform::PrintedPage& page : job.pages)
        for (const platform::PrintedLine& line : page.lines)
            lines.push_back(line.text);
    return lines;
}

class DirectBillReportsTest : public ::testing::Test {
protected:
    vantreth::testing::TempDataFolder m_data;
    const platform::DataFolder& folder = m_data.folder();
    platform::CapturePrinter device;
    platform::Printer printer{device};
};

TEST(CustomerListLineTest, FieldsAtTheirColumnsWithStoredBlanks) {
    DirectBillAccount wide = Account("1001", "ACME WIDGET AND GADGET COMPANY OF AMERICA", 0);
    wide.ContactFirstName = platform::Fixed("", 20);
    const struct {
        DirectBillAccount account;
        std::string line;
    } cases[] = {
        {Account("1002", "BOLT CO", 0), "1002   BOLT CO                   555-0101         ANN SMITH"},
        {wide, "1001   ACME WIDGET AND GADGET CO 555-0101          SMITH"},
    };
    for (const auto& c : cases) {
        const platform::PrintItems items = CustomerListLine(c.account);
        ASSERT_EQ(items.lines().size(), 1u);
        EXPECT_EQ(items.lines()[0], c.line) << c.account.CompanyName;
    }
}

TEST_F(DirectBillReportsTest, CustomerListHasHeadingThenEveryLiveAccountInFileOrder) {
    records::AppendNewAccount(folder, Account("1001", "ACME", 5));
    DirectBillAccount deleted = Account("1002", "", 9);
    records::AppendNewAccount(folder, deleted);
    records::AppendNewAccount(folder, Account("1003", "BOLT CO", 0));
    PrintCustomerList(printer, folder);
    const std::vector<platform::PrintJob> jobs = device.TakeJobs();
    ASSERT_EQ(jobs.size(), 1u);
    const std::string rule(74, '=');
    const std::vector<std::string> expected = {
        "                        DIRECT BILL CUSTOMER LIST",
        "",
        rule,
        "CODE   COMPANY NAME              PHONE             CONTACT NAME",
        rule,
        "1001   ACME                      555-0101         ANN SMITH",
        "1003   BOLT CO                   555-0101         ANN SMITH",
    };
    EXPECT_EQ(JobLines(jobs[0]), expected);
}

TEST_F(DirectBillReportsTest, CustomerListOfNoAccountsIsTheHeadingOnly) {
    PrintCustomerList(printer, folder);
    const std::vector<platform::PrintJob> jobs = device.TakeJobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(JobLines(jobs[0]).size(), 5u);
}

TEST(BillingNoticeTest, FullNoticeLineByLine) {
    DirectBillAccount account = Account("1001", "ACME", 112.85f);
    account.LastPaymentDate = platform::Fixed("12/1/26", 10);
    account.LastPaymentAmount = platform::Fixed("25.5", 10);
    const std::string stars(76, '*');
    const std::vector<std::string> expected = {
        "",
        std::string(31, ' ') + "LAKE MOTEL",
        std::string(31, ' ') + "1 SHORE DRIVE",
        std::string(28, ' ') + "LAKEVIEW, MN. 55000",
        "",
        "",
        "  Phone: 555-0100    Toll Free: 1-800-555-0100    Fax:555-0102",
        "",
        "",
        "",
        "",
        "12/6/26                        BILLING NOTICE",
        "",
        stars,
        "",
        "",
        "1001  ACME",
        "      12 MILL ROAD",
        "      DALTON",
        "      GA, 3072  ",
        "",
        "                             Last payment received on 12/1/26 for 25.5",
        "",
        stars,
        "",
        "",
        std::string(53, ' ') + "BALANCE DUE:  112.85",
        "",
        std::string(33, ' ') + "BALANCE DUE UPON RECEIPT OF THIS NOTICE",
        "",
        "",
        "",
        "",
        "",
        "Please mail and make payments to the address above. If you have any",
        "questions concerning your bill, please feel free to contact us. Thank you!",
    };
    EXPECT_EQ(BillingNoticeLines(Motel(), "12/6/26", account, NoticeForm::Full), expected);
}

// Each letterhead line the owner set is printed exactly as set; the others stay built.
TEST(BillingNoticeTest, LetterheadLinesSetByTheOwnerArePrintedExactly) {
    records::MotelSettings motel = Motel();
    motel.letterheadLines[0] = "   LAKE MOTEL & CABINS   ";
    motel.letterheadLines[2] = "";
    motel.letterheadLines[3] = "        Call 555-0100 day or night";
    const std::vector<std::string> lines =
        BillingNoticeLines(motel, "12/6/26", Account("1001", "ACME", 5), NoticeForm::Full);
    ASSERT_EQ(lines.size(), 36u);
    const std::vector<std::string> head(lines.begin(), lines.begin() + 8);
    EXPECT_EQ(head, (std::vector<std::string>{"", "   LAKE MOTEL & CABINS   ",
                                              std::string(31, ' ') + "1 SHORE DRIVE", "", "", "",
                                              "        Call 555-0100 day or night", ""}));
}

TEST(BillingNoticeTest, TheTelephoneLineLeavesOutNumbersThatAreNotSet) {
    struct Case {
        const char* tollFree;
        const char* fax;
        const char* line;
    };
    const Case cases[] = {
        {"", "", "  Phone: 555-0100"},
        {"1-800-555-0100", "", "  Phone: 555-0100    Toll Free: 1-800-555-0100"},
        {"", "555-0102", "  Phone: 555-0100    Fax:555-0102"},
    };
    for (const Case& c : cases) {
        records::MotelSettings motel = Motel();
        motel.tollFree = c.tollFree;
        motel.fax = c.fax;
        EXPECT_EQ(BillingNoticeLines(motel, "12/6/26", Account("1001", "ACME", 5), NoticeForm::Full)[6],
                  c.line);
    }
}

TEST(BillingNoticeTest, ShortNoticeLeavesOutTheRequestAndShowsANegativeBalance) {
    const std::vector<std::string> lines =
        BillingNoticeLines(Motel(), "12/6/26", Account("1001", "ACME", -20.456f), NoticeForm::Short);
    ASSERT_EQ(lines.size(), 34u);
    EXPECT_EQ(lines[21], "                             Last payment received on --/--/-- for 0");
    EXPECT_EQ(lines[26], std::string(53, ' ') + "BALANCE DUE: -20.46");
    EXPECT_EQ(lines[27], "");
    EXPECT_EQ(lines[32], "Please mail and make payments to the address above. If you have any");
}

TEST_F(DirectBillReportsTest, StatementsGoToLiveAccountsAboveZeroOneJobEach) {
    records::AppendNewAccount(folder, Account("1001", "OWES", 40));
    records::AppendNewAccount(folder, Account("1002", "CREDIT", -5));
    records::AppendNewAccount(folder, Account("1003", "", 70)); // deleted
    records::AppendNewAccount(folder, Account("1004", "TINY", 0.004f));
    records::AppendNewAccount(folder, Account("1005", "PAID", 0));
    EXPECT_EQ(PrintBillingStatements(printer, folder, Motel(), "12/6/26"), 2);
    const std::vector<platform::PrintJob> jobs = device.TakeJobs();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(JobLines(jobs[0])[16], "1001  OWES");
    EXPECT_EQ(JobLines(jobs[1])[16], "1004  TINY");
    EXPECT_EQ(JobLines(jobs[1])[26], std::string(53, ' ') + "BALANCE DUE:  0");
    EXPECT_EQ(JobLines(jobs[1]).size(), 36u);
}

} // namespace
} // namespace printing
