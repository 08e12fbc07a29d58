// The customer list and the billing notices of the company accounts.
#include "printing/direct_bill_reports.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "printing/letterhead.h"

namespace printing {

using platform::PrintItems;
using platform::RTrim;
using records::DirectBillAccount;

namespace {

// The one physical line a statement of items makes.
std::string LineOf(const PrintItems& items) {
    return items.lines().front();
}

} // namespace

PrintItems CustomerListLine(const DirectBillAccount& account) {
    PrintItems items;
    items.Text(account.DBNumber)
        .Tab(8)
        .Text(platform::Left(account.CompanyName, 25))
        .Tab(34)
        .Text(account.Phone1)
        .Tab(51)
        .Text(RTrim(account.ContactFirstName) + " " + RTrim(account.ContactLastName));
    return items;
}

void PrintCustomerList(platform::Printer& printer, const platform::DataFolder& folder) {
    const std::vector<DirectBillAccount> accounts = records::ReadAllAccounts(folder);
    const std::string rule(kCustomerListRuleWidth, '=');

    printer.EndDoc();
    printer.FontSize(10);
    printer.Print(kCustomerListTitle);
    printer.Print();
    printer.Print(rule);
    printer.Print(kCustomerListHeading);
    printer.Print(rule);
    for (const DirectBillAccount& account : accounts)
        if (!account.IsDeleted())
            printer.Print(CustomerListLine(account));
    printer.EndDoc();
}

std::vector<std::string> BillingNoticeLines(const records::MotelSettings& motel, std::string_view today,
                                            const DirectBillAccount& account, NoticeForm form) {
    const std::string stars(kNoticeRuleWidth, '*');
    std::vector<std::string> lines;
    auto blank = [&lines](int count) {
        lines.insert(lines.end(), static_cast<size_t>(count), std::string());
    };

    const std::array<std::string, records::kLetterheadLines> letterhead = LetterheadLines(motel);
    blank(1);
    lines.push_back(letterhead[0]);
    lines.push_back(letterhead[1]);
    lines.push_back(letterhead[2]);
    blank(2);
    lines.push_back(letterhead[3]);
    blank(4);
    lines.push_back(std::string(today) + "                        BILLING NOTICE");
    blank(1);
    lines.push_back(stars);
    blank(2);
    lines.push_back(RTrim(account.DBNumber) + "  " + RTrim(account.CompanyName));
    lines.push_back(LineOf(PrintItems().Tab(7).Text(RTrim(account.Address))));
    lines.push_back(LineOf(PrintItems().Tab(7).Text(RTrim(account.City))));
    lines.push_back(LineOf(PrintItems().Tab(7).Text(account.State + ", " + account.Zip)));
    blank(1);
    lines.push_back("                             Last payment received on " +
                    RTrim(account.LastPaymentDate) + " for " + RTrim(account.LastPaymentAmount));
    blank(1);
    lines.push_back(stars);
    blank(2);
    lines.push_back(LineOf(PrintItems().Tab(54).Text(
        "BALANCE DUE: " + platform::AmountStr(platform::Decimal::Of(account.Balance).Rounded(2)))));
    if (form == NoticeForm::Full) {
        blank(1);
        lines.push_back(LineOf(PrintItems().Tab(34).Text("BALANCE DUE UPON RECEIPT OF THIS NOTICE")));
    }
    blank(5);
    lines.push_back("Please mail and make payments to the address above. If you have any");
    lines.push_back("questions concerning your bill, please feel free to contact us. Thank you!");
    return lines;
}

void PrintBillingNotice(platform::Printer& printer, const records::MotelSettings& motel,
                        std::string_view today, const DirectBillAccount& account, NoticeForm form) {
    const std::vector<std::string> lines = BillingNoticeLines(motel, today, account, form);
    printer.EndDoc();
    printer.Title(LetterheadDocumentName("Billing Notice", "account", account.DBNumber, account.CompanyName));
    printer.FontSize(10);
    for (const std::string& line : lines)
        printer.Print(line);
    printer.EndDoc();
}

int PrintBillingStatements(platform::Printer& printer, const platform::DataFolder& folder,
                           const records::MotelSettings& motel, std::string_view today) {
    int printed = 0;
    for (const DirectBillAccount& account : records::ReadAllAccounts(folder)) {
        if (account.IsDeleted() || !(account.Balance > 0))
            continue;
        PrintBillingNotice(printer, motel, today, account, NoticeForm::Full);
        ++printed;
    }
    return printed;
}

} // namespace printing
