// The past folio of a checked-out stay: the rebuilt folio list with its tax column and
// running balance, the ledger found from the history entry, and the reprint line by line.
#include "printing/past_folio.h"
#include "support/decimal_print.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/settings_files.h"

#include "support/builders.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace printing {
namespace {

using platform::Fixed;
using records::HistoryEntry;
using records::StayLedgerLine;

StayLedgerLine Line(const std::string& code, const std::string& description, float amount,
                    const std::string& taxFlag = "-----", const std::string& room = "101",
                    const std::string& date = "12/6/26") {
    return vantreth::testing::LedgerLine(room, code, description, amount, taxFlag, date);
}

std::string Blanks(size_t n) {
    return std::string(n, ' ');
}

TEST(PastFolioListLineTest, ColumnsTwoBlanksApartDescriptionTo28AmountTo11TaxTo6) {
    struct Case {
        StayLedgerLine line;
        std::string tax;
        float balance;
        std::string expected;
    };
    const Case cases[] = {
        {Line("E", "ROOM RENT", 50), "4.5", 54.5f,
         "101  A  12/6/26  E  ROOM RENT" + Blanks(19) + " 50" + Blanks(8) + "4.5" + Blanks(3) + " 54.5"},
        {Line("L", "CASH REC.", 60), "", -5.5f,
         "101  A  12/6/26  L  CASH REC." + Blanks(19) + " 60" + Blanks(8) + Blanks(6) + "-5.5"},
        // The fill is counted on the description without its trailing blanks.
        {Line("J", "PET FEE   ", 10), "", 0,
         "101  A  12/6/26  J  PET FEE" + Blanks(21) + " 10" + Blanks(8) + Blanks(6) + " 0"},
        // A description longer than its column keeps one blank before the amount.
        {Line("G", "LONG DISTANCE CALL TO DENVER CO", -2.25f), "", 1,
         "101  A  12/6/26  G  LONG DISTANCE CALL TO DENVER CO -2.25" + Blanks(6) + Blanks(6) + " 1"},
        {Line("E", "ROOM RENT", 45.5f, "-----", "12 ", "1/5/04"), "0", 45.5f,
         "12   A  1/5/04  E  ROOM RENT" + Blanks(19) + " 45.5" + Blanks(6) + "0" + Blanks(5) + " 45.5"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PastFolioListLine(c.line, c.tax, platform::Decimal::Of(c.balance)), c.expected)
            << "code " << c.line.Code << " " << c.line.Description;
}

TEST(PastFolioTaxTextTest, RoomRentShowsRoundedTaxWithoutLeadingBlankOtherLinesNothing) {
    struct Case {
        StayLedgerLine line;
        double rate;
        bool exempt;
        std::string expected;
    };
    const Case cases[] = {
        {Line("E", "ROOM RENT", 50), 0.09, false, "4.5"},
        {Line("E", "ROOM RENT", 59.95f), 0.0825, false, "4.95"},
        {Line("E", "ROOM RENT", 50), 0.09, true, "0"},
        {Line("E", "ROOM RENT", 50, "N"), 0.09, false, "0"},
        {Line("E", "ROOM RENT", 50, "Y"), 0.09, false, "4.5"},
        {Line("J", "PET FEE", 10), 0.09, false, ""},
        {Line("N", "VISA/MASTER", 50), 0.09, false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PastFolioTaxText(c.line, c.rate, c.exempt), c.expected)
            << c.line.Code << " " << c.line.Amount << " flag " << c.line.TaxFlag << " exempt " << c.exempt;
}

TEST(RebuildPastFolioTest, RunningBalanceTaxesRoomRentUnlessExemptOrFlaggedAndIgnoresOtherCodes) {
    const std::vector<StayLedgerLine> ledger = {
        Line("E", "ROOM RENT", 50),       // +54.5
        Line("E", "ROOM RENT", 50, "N"),  // +50, untaxed
        Line("E", "ROOM RENT", 50),       // +54.5, taxed again
        Line("J", "PET FEE", 10),         // +10
        Line("G", "PHONE", 1.25f),        // +1.25
        Line("X", "ODD LINE", 99),        // nothing
        Line("L", "CASH REC.", 100),      // -100
        Line("M", "AMERICAN EX.", 20.25f) // -20.25
    };
    const RebuiltFolio taxed = RebuildPastFolio(ledger, 0.09, false);
    ASSERT_EQ(taxed.lines.size(), ledger.size());
    const char* balances[] = {" 54.5", " 104.5", " 159", " 169", " 170.25", " 170.25", " 70.25", " 50"};
    for (size_t i = 0; i < ledger.size(); ++i)
        EXPECT_TRUE(taxed.lines[i].ends_with(balances[i])) << "line " << i << ": " << taxed.lines[i];
    EXPECT_EQ(taxed.balance, platform::Decimal::Of(50.0f));
    EXPECT_NE(taxed.lines[1].find(" 50" + Blanks(8) + "0" + Blanks(5) + " 104.5"), std::string::npos)
        << taxed.lines[1];

    const RebuiltFolio exempt = RebuildPastFolio(ledger, 0.09, true);
    EXPECT_EQ(exempt.balance, platform::Decimal::Of(41.0f));
    EXPECT_NE(exempt.lines[0].find(" 50" + Blanks(8) + "0" + Blanks(5) + " 50"), std::string::npos)
        << exempt.lines[0];
}

TEST(RebuildPastFolioTest, BalanceIsRoundedAfterEachLine) {
    // 33.33 x 1.0825 = 36.079725: rounded to 36.08 at once, so three nights make 108.24.
    const std::vector<StayLedgerLine> ledger = {
        Line("E", "ROOM RENT", 33.33f), Line("E", "ROOM RENT", 33.33f), Line("E", "ROOM RENT", 33.33f)};
    EXPECT_EQ(RebuildPastFolio(ledger, 0.0825, false).balance, platform::Decimal::Of(108.24f));
}

TEST(PastFolioTotalsTest, RoomRentAndTaxThenEachCardWithABlankLineThenCash) {
    const std::vector<StayLedgerLine> ledger = {
        Line("E", "ROOM RENT", 33.33f), Line("E", "ROOM RENT", 33.33f), Line("E", "ROOM RENT", 33.33f, "N"),
        Line("N", "VISA/MASTER", 40),   Line("P", "DISCOVER", 20.5f),   Line("L", "CASH REC.", 10),
        Line("L", "CASH REC.", 5.25f),  Line("J", "PET FEE", 10),
    };
    const PastFolioTotals totals = SumPastFolio(ledger, 0.0825, false);
    // Two taxed nights: 2 x 2.749725 = 5.49945, printed rounded.
    const std::vector<std::string> expected = {
        "ROOM RENT: 99.99   TAX: 5.5 ", "", "VISA/MASTER: 40 ", "", "DISCOVER: 20.5 ", "",
        "CASH RECEIVED: 15.25 ",
    };
    EXPECT_EQ(PastFolioTotalsLines(totals), expected);
}

TEST(PastFolioTotalsTest, NoRoomRentLineWithoutRentAndNothingForZeroSums) {
    const std::vector<StayLedgerLine> ledger = {Line("J", "PET FEE", 10), Line("M", "AMERICAN EX.", 10),
                                                Line("O", "DINERS", 5), Line("O", "DINERS", -5)};
    const std::vector<std::string> expected = {"AMERICAN EXP.: 10 ", ""};
    EXPECT_EQ(PastFolioTotalsLines(SumPastFolio(ledger, 0.09, false)), expected);
}

TEST(PastFolioDirectBillLineTest, CodeAndCompanyOrTheCodeAloneWhenNoAccountHasIt) {
    records::DirectBillAccount account;
    account.CompanyName = Fixed("ACME WIDGETS", 80);
    EXPECT_EQ(PastFolioDirectBillLine("1001", account), "DIRECT BILL ACCOUNT: 1001 ACME WIDGETS");
    EXPECT_EQ(PastFolioDirectBillLine("1001", std::nullopt), "DIRECT BILL ACCOUNT: 1001");
}

class PastFolioTest : public ::testing::Test {
protected:
    PastFolioTest() {
        motel.motelName = "Bluebird Inn";
        motel.street = "1 Lake Road";
        motel.town = "Lakeside, MN 55000";
        motel.phone = "(555) 010-2000";
        motel.letterheadLines = {motel.motelName, motel.street, motel.town, motel.phone};
    }

    static HistoryEntry Stay() {
        return vantreth::testing::HistoryStay({.LastName = "SMITH",
                                               .FirstName = "JOHN",
                                               .Street = "12 ELM ST",
                                               .City = "DALLAS",
                                               .State = "TX",
                                               .Zip = "75001",
                                               .RegCard = "4411",
                                               .Room = "101",
                                               .PayCode = "N",
                                               .CheckInTime = "3:45:12 PM",
                                               .ArrivalDate = "12/6/26",
                                               .CheckOutTime = "11:02:33 AM",
                                               .CheckOutDate = "12/8/26",
                                               .CheckOutDateLiteral = platform::Date{2026, 12, 8},
                                               .FolioNumber = "17"});
    }

    // The entry as the history file gives it back.
    HistoryEntry Stored(const HistoryEntry& entry) {
        records::AppendHistoryEntry(folder, entry);
        return records::ReadHistory(folder).back();
    }

    void Ledger(const HistoryEntry& entry, const std::vector<StayLedgerLine>& lines) {
        for (const StayLedgerLine& line : lines)
            records::AppendStayLedgerLine(PastStayLedgerPath(folder, entry), line);
    }

    std::vector<std::string> Print(const HistoryEntry& entry) {
        PrintPastFolio(printer, folder, motel, entry);
        std::vector<platform::PrintJob> jobs = device.TakeJobs();
        EXPECT_EQ(jobs.size(), 1u);
        std::vector<std::string> lines;
        if (!jobs.empty())
            for (const platform::PrintedPage& page : jobs[0].pages)
                for (const platform::PrintedLine& line : page.lines)
                    lines.push_back(line.text);
        return lines;
    }

    vantreth::testing::TempDataFolder m_data;
    const platform::DataFolder& folder = m_data.folder();
    records::MotelSettings motel;
    platform::CapturePrinter device;
    platform::Printer printer{device};
};

TEST_F(PastFolioTest, LedgerIsNamedFromRoomTrimmedNamesAndArrivalDigits) {
    HistoryEntry stay = Stay();
    stay.Room = "12 ";
    const HistoryEntry stored = Stored(stay);
    EXPECT_EQ(PastStayLedgerPath(folder, stored),
              folder.root() / "dailycharge" / "dailycharge12 SMITHJOHN12626");
}

TEST_F(PastFolioTest, ListLinesComeFromTheLedgerWithTodaysTaxRateOrSayNoFurtherInfo) {
    const HistoryEntry stay = Stored(Stay());
    const std::vector<std::string> missing = {" ", " ", " ", " ",
                                              "                            NO FURTHER INFO. AVAILABLE"};
    EXPECT_EQ(PastFolioListLines(folder, stay), missing);

    Ledger(stay, {Line("E", "ROOM RENT", 50), Line("N", "VISA/MASTER", 54.5f)});
    // No tax file yet: the motel never set a rate.
    std::vector<std::string> lines = PastFolioListLines(folder, stay);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].ends_with("0" + Blanks(5) + " 50")) << lines[0];

    records::WriteTaxRate(folder, 0.09);
    lines = PastFolioListLines(folder, stay);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].ends_with("4.5" + Blanks(3) + " 54.5")) << lines[0];
    EXPECT_TRUE(lines[1].ends_with(Blanks(6) + " 0")) << lines[1];
}

TEST_F(PastFolioTest, CardStayPrintsLetterheadGuestFolioTotalsClosingAndSignature) {
    records::WriteTaxRate(folder, 0.09);
    const HistoryEntry stay = Stored(Stay());
    Ledger(stay, {Line("E", "ROOM RENT", 50), Line("E", "ROOM RENT", 50, "-----", "101", "12/7/26"),
                  Line("J", "PET FEE", 10), Line("N", "VISA/MASTER", 119, "-----", "101", "12/8/26")});
    const std::vector<std::string> expected = {
        "",
        "Bluebird Inn",
        "1 Lake Road",
        "Lakeside, MN 55000",
        "",
        "",
        "(555) 010-2000",
        "",
        "",
        "JOHN SMITH" + Blanks(34) + "Arrived: 12/6/26   ",
        "12 ELM ST" + Blanks(16) + Blanks(20) + "Depart: 12/8/26",
        "DALLAS, TX  75001 " + Blanks(21) + "Arrival Time: 3:45:12 PM",
        Blanks(40) + "Depart Time: 11:02:33 A",
        "",
        "",
        "ROOM  SFT  DATE      CODE  DES                    AMOUNT   TAX   BALANCE",
        std::string(73, '='),
        "101   A    12/6/26   E     ROOM RENT" + Blanks(13) + " 50 " + Blanks(6) + "4.5" + Blanks(2) +
            " 54.5 ",
        "101   A    12/7/26   E     ROOM RENT" + Blanks(13) + " 50 " + Blanks(6) + "4.5" + Blanks(2) +
            " 109 ",
        "101   A    12/6/26   J     PET FEE" + Blanks(15) + " 10 " + Blanks(6) + Blanks(5) + " 119 ",
        "101   A    12/8/26   N     VISA/MASTER" + Blanks(11) + " 119 " + Blanks(5) + Blanks(5) + " 0 ",
        std::string(73, '='),
        Blanks(51) + "Balance....." + Blanks(1) + " 0 ",
        "",
        "ROOM RENT: 100     TAX: 9 ",
        "",
        "VISA/MASTER: 119 ",
        "",
        "",
        "",
        "Thank you for staying with Bluebird Inn. We hope your stay was an enjoyable",
        "one. If you have any issues or problems, please let us know. Thank you!",
        "",
        "",
        "",
        Blanks(17) + "SIGNATURE:_______________________________________",
    };
    const std::vector<std::string> printed = Print(stay);
    ASSERT_EQ(printed.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(printed[i], expected[i]) << "line " << i + 1;
}

TEST_F(PastFolioTest, ExemptDirectBillStayPrintsNoTaxAndTheAccountLine) {
    records::WriteTaxRate(folder, 0.09);
    records::DirectBillAccount other;
    other.CompanyName = Fixed("OTHER CO", 80);
    other.DBNumber = Fixed("1000", 7);
    records::AppendAccount(folder, other);
    records::DirectBillAccount acme;
    acme.CompanyName = Fixed("ACME WIDGETS", 80);
    acme.DBNumber = Fixed("1001", 7);
    records::AppendAccount(folder, acme);

    HistoryEntry stay = Stay();
    stay.TaxExempt = 1;
    stay.PayCode = "Q";
    stay.DBNumber = Fixed("1001", 8);
    stay.CheckOutDateLiteral.reset();
    stay.CheckOutDate = Fixed("12/8/26", 10);
    const HistoryEntry stored = Stored(stay);
    Ledger(stored, {Line("E", "ROOM RENT", 50)});

    const std::vector<std::string> printed = Print(stored);
    ASSERT_GE(printed.size(), 30u);
    EXPECT_EQ(printed[10], "12 ELM ST" + Blanks(36) + "Depart: 12/8/26   ");
    EXPECT_EQ(printed[17], "101   A    12/6/26   E     ROOM RENT" + Blanks(13) + " 50 " + Blanks(6) + "0" +
                               Blanks(4) + " 50 ");
    const std::vector<std::string> tail(printed.begin() + 18, printed.begin() + 30);
    const std::vector<std::string> expected = {
        std::string(73, '='),
        Blanks(51) + "Balance....." + Blanks(1) + " 50 ",
        "",
        "ROOM RENT: 50      TAX: 0 ",
        "",
        "",
        "DIRECT BILL ACCOUNT: 1001 ACME WIDGETS",
        "",
        "",
        "",
        "Thank you for staying with Bluebird Inn. We hope your stay was an enjoyable",
        "one. If you have any issues or problems, please let us know. Thank you!",
    };
    EXPECT_EQ(tail, expected);
}

TEST_F(PastFolioTest, DirectBillStayWithoutAccountsFilePrintsTheCodeAndCreatesNoFile) {
    HistoryEntry stay = Stay();
    stay.PayCode = "Q";
    stay.DBNumber = Fixed("1001", 8);
    const HistoryEntry stored = Stored(stay);
    Ledger(stored, {Line("E", "ROOM RENT", 50)});
    const std::vector<std::string> printed = Print(stored);
    EXPECT_NE(std::find(printed.begin(), printed.end(), "DIRECT BILL ACCOUNT: 1001"), printed.end());
    EXPECT_FALSE(std::filesystem::exists(records::DbMemberFile(folder).path()));
}

TEST_F(PastFolioTest, MissingLedgerPrintsTheNoteAfterTheHeadingAndNothingMore) {
    const HistoryEntry stay = Stored(Stay());
    const std::vector<std::string> printed = Print(stay);
    ASSERT_EQ(printed.size(), 21u);
    EXPECT_EQ(printed[15], std::string(kPastFolioHeading));
    EXPECT_EQ(printed[16], std::string(73, '='));
    const std::vector<std::string> tail(printed.begin() + 17, printed.end());
    const std::vector<std::string> expected = {"", "", "", Blanks(25) + "No further info. available"};
    EXPECT_EQ(tail, expected);
}

TEST_F(PastFolioTest, ADamagedLedgerLineIsLeftOutAndReported) {
    const HistoryEntry stay = Stored(Stay());
    Ledger(stay, {Line("E", "ROOM RENT", 50)});
    {
        std::ofstream out(PastStayLedgerPath(folder, stay).path(), std::ios::binary | std::ios::app);
        out << "\"101\",\"A\",\"12/6/26\"\r\n"; // a line cut short
    }
    Ledger(stay, {Line("N", "VISA/MASTER", 50)});
    m_data.engine().damage().Take();
    const std::vector<std::string> printed = Print(stay);
    ASSERT_GE(printed.size(), 20u);
    EXPECT_EQ(printed[17].substr(0, 26), "101   A    12/6/26   E    ");
    EXPECT_EQ(printed[18].substr(0, 26), "101   A    12/6/26   N    ");
    EXPECT_EQ(printed[19], std::string(73, '='));
    const std::vector<std::string> reports = m_data.engine().damage().Take();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find(PastStayLedgerPath(folder, stay).string()), std::string::npos) << reports[0];
}

} // namespace
} // namespace printing
