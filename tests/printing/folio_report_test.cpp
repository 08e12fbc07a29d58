// The printed folio of an in-house guest: the whole printout line by line on its own and
// at a direct-bill check-out, the sums with their rounding, and the tax of each line.
#include "printing/folio_report.h"
#include "printing/past_folio.h"
#include "support/decimal_print.h"

#include "platform/text.h"

#include "support/builders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace printing {
namespace {

using platform::Fixed;
using records::GuestRecord;
using records::StayLedgerLine;

StayLedgerLine Line(const std::string& code, const std::string& description, float amount,
                    const std::string& taxFlag = "-----") {
    return vantreth::testing::LedgerLine("101", code, description, amount, taxFlag);
}

std::string Blanks(size_t n) {
    return std::string(n, ' ');
}

GuestRecord Guest(const std::string& payCode) {
    return vantreth::testing::Guest("101", "SMITH", "JOHN",
                                    {.Street = "1 ELM ST",
                                     .City = "DAYTON",
                                     .State = "OH",
                                     .Zip = "45402",
                                     .PayCode = payCode,
                                     .CheckInTime = "3:45:12 PM",
                                     .ArrivalDate = "12/5/26",
                                     .DepartureDate = "12/7/26",
                                     .DBNumber = payCode == "Q" ? "1001" : ""});
}

records::MotelSettings Motel() {
    records::MotelSettings motel;
    motel.motelName = "      SLEEPY PINES";
    motel.street = "      9 ROUTE 30";
    motel.town = "      ELMWOOD, OH 45000";
    motel.phone = "      (555) 555-0199";
    motel.letterheadLines = {motel.motelName, motel.street, motel.town, motel.phone};
    return motel;
}

std::vector<std::string> Print(const FolioReport& report, FolioReportTotals* totals = nullptr) {
    platform::CapturePrinter device;
    platform::Printer printer(device);
    const FolioReportTotals t = PrintFolioReport(printer, Motel(), report);
    if (totals)
        *totals = t;
    std::vector<std::string> lines;
    if (device.jobs().size() != 1)
        return {"jobs: " + std::to_string(device.jobs().size())};
    for (const platform::PrintedPage& page : device.jobs()[0].pages)
        for (const platform::PrintedLine& line : page.lines)
            lines.push_back(line.text);
    return lines;
}

void ExpectLines(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
    for (size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        const std::string a = i < actual.size() ? actual[i] : "<none>";
        const std::string e = i < expected.size() ? expected[i] : "<none>";
        EXPECT_EQ(a, e) << "line " << i + 1;
    }
}

TEST(FolioReportTest, PrintFolioLineByLine) {
    FolioReport report;
    report.form = FolioForm::PrintFolio;
    report.guest = Guest("L");
    report.ledger = {Line("E", "ROOM RENT", 45.5f), Line("E", "ROOM RENT", 45.5f, "N"),
                     Line("J", "PET FEE", 10), Line("N", "VISA/MASTER", 20), Line("L", "CASH REC.", 50)};
    report.taxRate = 0.1;
    report.timeText = "4:01:02 PM";
    report.dateText = "12/6/26";
    FolioReportTotals totals;
    const std::vector<std::string> lines = Print(report, &totals);
    ExpectLines(
        lines,
        {
            "",
            "      SLEEPY PINES",
            "      9 ROUTE 30",
            "      ELMWOOD, OH 45000",
            "",
            "",
            "      (555) 555-0199",
            "",
            "",
            "JOHN SMITH" + Blanks(34) + "Arrived: 12/5/26   ",
            "1 ELM ST" + Blanks(17) + Blanks(20) + "Depart: 12/7/26   ",
            "DAYTON, OH  45402 " + Blanks(21) + "Arrival Time: 3:45:12 PM",
            Blanks(39) + "Present Time: 4:01:02 PM",
            Blanks(46) + "Today: 12/6/26",
            "",
            "",
            "ROOM  SFT  DATE      CODE  DESCRIPTION            AMOUNT   TAX   BALANCE",
            std::string(73, '='),
            "101   A    12/5/26   E     ROOM RENT" + Blanks(13) + " 45.5" + Blanks(5) + "4.55 " + " 50.05",
            "101   A    12/5/26   E     ROOM RENT" + Blanks(13) + " 45.5" + Blanks(5) + "0" + Blanks(4) +
                " 95.55",
            "101   A    12/5/26   J     PET FEE" + Blanks(15) + " 10" + Blanks(7) + Blanks(5) + " 105.55",
            "101   A    12/5/26   N     VISA/MASTER" + Blanks(11) + " 20" + Blanks(7) + Blanks(5) + " 85.55",
            "101   A    12/5/26   L     CASH REC." + Blanks(13) + " 50" + Blanks(7) + Blanks(5) + " 35.55",
            std::string(73, '='),
            Blanks(51) + "Balance....." + " " + " 35.55",
            "",
            "ROOM RENT: 91 " + Blanks(5) + "TAX: 4.55 ",
            "VISA/MASTER: 20 ",
            "CASH RECEIVED: 50 ",
            "",
            "",
            "Thank you for staying with       SLEEPY PINES. We hope your stay was an enjoyable",
            "one. If you have any issues or problems, please let us know. Thank you!",
            "",
            "",
            "",
            Blanks(17) + "SIGNATURE:_______________________________________",
        });
    EXPECT_EQ(totals.balance, platform::Decimal::Of(35.55f));
}

TEST(FolioReportTest, DirectBillCheckOutLineByLine) {
    FolioReport report;
    report.form = FolioForm::CheckOut;
    report.guest = Guest("Q");
    report.ledger = {Line("E", "ROOM RENT", 100), Line("J", "ROLL AWAY", 10.5f),
                     Line("L", "CASH REC.", 0.25f)};
    report.taxRate = 0.1;
    report.timeText = "10:15:30 A";
    report.dateText = "12/6/26";
    report.accountLine = "1001  ACME TRUCKING";
    records::DirectBillAccount account;
    account.Balance = 100.5f;
    report.account = account;
    FolioReportTotals totals;
    const std::vector<std::string> lines = Print(report, &totals);
    ASSERT_EQ(lines.size(), 39u);
    ExpectLines(
        std::vector<std::string>(lines.begin() + 12, lines.end()),
        {
            Blanks(40) + "Depart Time: 10:15:30 A",
            Blanks(46) + "Today: 12/6/26",
            "",
            "",
            "ROOM  SFT  DATE      CODE  DESCRIPTION            AMOUNT   TAX   BALANCE",
            std::string(73, '='),
            "101   A    12/5/26   E     ROOM RENT" + Blanks(13) + " 100" + Blanks(5) + "10" + Blanks(4) +
                " 110",
            "101   A    12/5/26   J     ROLL AWAY" + Blanks(13) + " 10.5" + Blanks(4) + Blanks(6) + " 120.5",
            "101   A    12/5/26   L     CASH REC." + Blanks(13) + " .25" + Blanks(5) + Blanks(6) + " 120.25",
            std::string(73, '='),
            Blanks(42) + "Balance this stay....." + " 120.25",
            "",
            "ROOM RENT: 100 " + Blanks(4) + "TAX: 10 ",
            "CASH RECEIVED: .25 ",
            "",
            "DIRECT BILL ACCOUNT: 1001  ACME TRUCKING",
            "",
            "",
            Blanks(28) + "Account balance after this stay..... 220.75",
            "",
            "",
            "Thank you for staying with       SLEEPY PINES. We hope your stay was an enjoyable",
            "one. If you have any issues or problems, please let us know. Thank you!",
            "",
            "",
            "",
            Blanks(19) + "SIGNATURE:_______________________________________",
        });
    EXPECT_EQ(totals.balance, platform::Decimal::Of(120.25f));
}

TEST(FolioReportTest, DirectBillStayOnThePrintedFolioNamesItsAccount) {
    FolioReportTotals totals;
    totals.roomRent = platform::Decimal::Of(45.5f);
    totals.tax = platform::Decimal::Of(4.55f);
    EXPECT_EQ(PrintFolioTotalsLines(totals, "Q", "  1001  ACME  "),
              (std::vector<std::string>{"ROOM RENT: 45.5 " + Blanks(3) + "TAX: 4.55 ", "",
                                        "DIRECT BILL ACCOUNT: 1001  ACME", "", "", ""}));
    EXPECT_EQ(PrintFolioTotalsLines(FolioReportTotals{}, "L", "1001  ACME"),
              (std::vector<std::string>{"", ""}))
        << "no sums, no account";
}

TEST(FolioReportTest, SumsLinesOnlyForCodesThatWerePosted) {
    const struct {
        const char* code;
        const char* line;
    } cases[] = {{"N", "VISA/MASTER: 12.35 "},
                 {"M", "AMERICAN EXP.: 12.35 "},
                 {"P", "DISCOVER: 12.35 "},
                 {"O", "DINERS: 12.35 "},
                 {"L", "CASH RECEIVED: 12.35 "}};
    for (const auto& c : cases) {
        const FolioReportTotals totals = SumFolioReport({Line(c.code, "PAID", 12.35f)}, 0.1, false);
        EXPECT_EQ(totals.balance, platform::Decimal::Of(-12.35f)) << c.code;
        EXPECT_EQ(PrintFolioTotalsLines(totals, "L", ""), (std::vector<std::string>{c.line, "", ""}))
            << c.code;
    }
}

TEST(FolioReportTest, TaxFollowsEachLinesFlagAndTheGuestsExemption) {
    const std::vector<StayLedgerLine> ledger = {
        Line("E", "ROOM RENT", 50, "N"), Line("E", "ROOM RENT", 50, "Y"), Line("E", "ROOM RENT", 50, "")};
    FolioReportTotals taxed = SumFolioReport(ledger, 0.1, false);
    EXPECT_EQ(taxed.tax, platform::Decimal::Of(10.0f)) << "a line after an untaxed one is taxed again";
    EXPECT_EQ(taxed.balance, platform::Decimal::Of(160.0f));
    EXPECT_EQ(taxed.roomRent, platform::Decimal::Of(150.0f));
    FolioReportTotals exempt = SumFolioReport(ledger, 0.1, true);
    EXPECT_EQ(exempt.tax, platform::Decimal::Of(0.0f));
    EXPECT_EQ(exempt.balance, platform::Decimal::Of(150.0f));
}

// The sums are rounded only where they are printed; the check-out form prints the rent as added up.
TEST(FolioReportTest, RentSumIsRoundedOnTheFolioButNotAtCheckOut) {
    FolioReportTotals totals;
    totals.roomRent = platform::Decimal::Of(45.555f);
    totals.tax = platform::Decimal::Of(4.5555f);
    EXPECT_EQ(PrintFolioTotalsLines(totals, "L", "")[0], "ROOM RENT: 45.56 " + Blanks(2) + "TAX: 4.56 ");
    EXPECT_EQ(CheckOutTotalsLines(totals, "1001  ACME", std::nullopt)[0],
              "ROOM RENT: 45.555 " + Blanks(1) + "TAX: 4.56 ");
}

// The printed sums, on the folio and on a past folio, are their lines added up exactly and
// rounded only where they are printed, not rounded line by line.
TEST(FolioReportTest, SumsAreTakenExactlyFromTheirLines) {
    const struct {
        const char* what;
        std::vector<StayLedgerLine> ledger;
        float roomRent, cash;
    } cases[] = {
        {"half cents of rent", {Line("E", "ROOM RENT", 0.005f), Line("E", "ROOM RENT", 0.005f)}, 0.01f, 0},
        {"rent as added up", {Line("E", "ROOM RENT", 45.555f)}, 45.555f, 0},
        {"half cents of cash", {Line("L", "CASH", 0.005f), Line("L", "CASH", 0.005f)}, 0, 0.01f},
    };
    for (const auto& c : cases) {
        const FolioReportTotals folio = SumFolioReport(c.ledger, 0, false);
        EXPECT_EQ(folio.roomRent, platform::Decimal::Of(c.roomRent)) << c.what;
        EXPECT_EQ(folio.cash, platform::Decimal::Of(c.cash)) << c.what;
        const PastFolioTotals past = SumPastFolio(c.ledger, 0, false);
        EXPECT_EQ(past.roomRent, platform::Decimal::Of(c.roomRent)) << c.what;
        EXPECT_EQ(past.cash, platform::Decimal::Of(c.cash)) << c.what;
    }
}

// The past folio lists and prints every amount and balance past 100,000 to the cent.
TEST(FolioReportTest, PastFolioShowsLargeAmountsAndBalancesToTheCent) {
    const std::vector<StayLedgerLine> ledger = {Line("J", "PET", 99999.99f), Line("J", "PET", 50000.02f),
                                                Line("L", "CASH", 100000.01f)};
    const RebuiltFolio folio = RebuildPastFolio(ledger, 0.1, false);
    const std::vector<std::string> balances = {" 99999.99", " 150000.01", " 50000"};
    ASSERT_EQ(folio.lines.size(), balances.size());
    for (size_t i = 0; i < balances.size(); ++i)
        EXPECT_TRUE(folio.lines[i].ends_with(balances[i])) << folio.lines[i];
    EXPECT_NE(folio.lines[2].find(" 100000.01 "), std::string::npos) << folio.lines[2];

    const platform::PrintItems printed = PastFolioLedgerLine(ledger[2], "", folio.balance);
    ASSERT_EQ(printed.lines().size(), 2u) << "the amount runs past the tax column";
    EXPECT_TRUE(printed.lines().front().ends_with(Blanks(10) + " 100000.01 ")) << printed.lines().front();
    EXPECT_EQ(printed.lines().back(), Blanks(64) + " 50000 ");
    EXPECT_EQ(PastFolioBalanceLine(platform::Decimal::Parse("150000.01")).lines().back(),
              Blanks(51) + "Balance....." + Blanks(1) + " 150000.01 ");
    EXPECT_EQ(PastFolioTotalsLines(SumPastFolio(ledger, 0.1, false)).back(), "CASH RECEIVED: 100000.01 ");
}

TEST(FolioReportTest, AccountBalanceLineIsLeftOutWithoutTheAccount) {
    FolioReportTotals totals;
    totals.balance = platform::Decimal::Of(12.35f);
    const std::vector<std::string> lines = CheckOutTotalsLines(totals, "1001  ACME", std::nullopt);
    EXPECT_EQ(lines, (std::vector<std::string>{"", "DIRECT BILL ACCOUNT: 1001  ACME", "", "", "", ""}));
    const std::vector<std::string> with =
        CheckOutTotalsLines(totals, "1001  ACME", platform::Decimal::Of(112.85f));
    EXPECT_EQ(with.at(4), Blanks(28) + "Account balance after this stay..... 112.85");
    const std::vector<std::string> large =
        CheckOutTotalsLines(totals, "1001  ACME", platform::Decimal::Parse("150000.01"));
    EXPECT_EQ(large.at(4), Blanks(28) + "Account balance after this stay..... 150000.01");
}

TEST(FolioReportTest, LongDescriptionPushesTheAmountToTheNextLine) {
    const platform::PrintItems items =
        FolioReportLedgerLine(Line("G", "LONG DISTANCE CALL TO DENVER", 2.5f), "",
                              platform::Decimal::Of(2.5f), FolioForm::PrintFolio);
    ASSERT_EQ(items.lines().size(), 2u) << "the description runs past column 50";
    EXPECT_EQ(items.lines()[1], Blanks(49) + " 2.5" + Blanks(11) + " 2.5");
}

} // namespace
} // namespace printing
