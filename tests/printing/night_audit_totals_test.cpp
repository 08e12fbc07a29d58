// The night audit's totals report: each page line by line, the empty-section lines, the
// flags it resets, and the petty cash and cancellation records it reads.
#include "printing/night_audit_detail.h"
#include "printing/night_audit_totals.h"
#include "support/decimal_print.h"

#include "night_audit_fixture.h"
#include "platform/text.h"
#include "records/cancel_record.h"
#include "records/counters.h"
#include "records/direct_bill.h"
#include "records/direct_bill_files.h"
#include "records/filenames.h"
#include "records/petty_cash.h"
#include "records/settings_files.h"
#include "records/shift_cash.h"
#include "records/stay_ledger.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace printing {
namespace {

using platform::Fixed;
using testing::Dashes;
using testing::Pad;
using Lines = std::vector<std::string>;

constexpr const char* kToday = "12/6/26";

Lines PageHead(const std::string& title) {
    return {"", title + kToday, "", ""};
}

Lines Concat(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class NightAuditTotalsTest : public testing::NightAuditTest {};

TEST(NightAuditTaxTest, StateAndCityTaxAreTheRateOnRoomRentRoundedToCents) {
    struct Case {
        float rate, roomRent, tax;
    };
    for (const Case& c : {Case{0.05f, 100, 5}, Case{0.03f, 100, 3}, Case{0.06f, 59.99f, 3.6f}, Case{0, 80, 0},
                          Case{0.0925f, 30.11f, 2.79f}}) // 2.785175: rounded once, not by way of 2.785
        EXPECT_EQ(TaxOnRoomRent(c.rate, platform::Decimal::Of(c.roomRent)), platform::Decimal::Of(c.tax))
            << c.rate << " x " << c.roomRent;
}

TEST_F(NightAuditTotalsTest, DailyTotalsPagePrintsEveryAmountAsAValueAndTheRoomsAsText) {
    records::DayTotals totals;
    totals.RoomRent = 100;
    totals.GrossRent = 108;
    totals.Tax = 8;
    totals.Cash = 45.5f;
    totals.PhoneCharges = 2.25f;
    totals.VisaMaster = 30;
    totals.Diners = -5;
    records::WriteDayTotals(data, kToday, totals);
    records::WriteStateTax(data, 0.05f);
    records::WriteCityTax(data, 0.03f);
    records::AddRoomsRented(data, kToday, 3);

    PrintDailyTotalsPage(data, printer, kToday);

    const std::string c(26, ' ');
    EXPECT_EQ(TakeOneDocument(), (Lines{"",         c + "Totals Report for 12/6/26",
                                        Dashes(72), "",
                                        "",         c + "Room Rent........ 100 ",
                                        "",         c + "Gross Rent....... 108 ",
                                        "",         c + "Total Taxes...... 8 ",
                                        "",         c + "State Tax........ 5 ",
                                        "",         c + "City Tax......... 3 ",
                                        "",         c + "Cash............. 45.5 ",
                                        "",         c + "Pet or Other..... 0 ",
                                        "",         c + "Phone............ 2.25 ",
                                        "",         c + "Visa/Master...... 30 ",
                                        "",         c + "American Ex...... 0 ",
                                        "",         c + "Discover......... 0 ",
                                        "",         c + "Diners...........-5 ",
                                        "",         "",
                                        "",         c + "TOTAL ROOMS TODAY: 3"}));
}

TEST_F(NightAuditTotalsTest, DailyTotalsPageWithoutTaxBreakdownHasOneTaxLineAndNoLeadingBlank) {
    DailyTotalsPage page = AuditDailyTotalsPage(records::DayTotals{}, 0.05f, 0.03f, 0, "1/2/26");
    page.leadingBlankLine = false;
    page.taxBreakdown = false;
    page.tax = "7.5";
    PrintDailyTotalsPage(printer, page);

    const Lines lines = TakeOneDocument();
    ASSERT_EQ(lines.size(), 27u);
    EXPECT_EQ(lines[0], "                          Totals Report for 1/2/26");
    EXPECT_EQ(lines[8], "                          Tax..............7.5");
    EXPECT_EQ(lines[9], "");
    EXPECT_EQ(lines[10], "                          Cash............. 0 ");
}

TEST_F(NightAuditTotalsTest, QuietDayPrintsEightPagesWithTheirEmptySectionLinesAndResetsTheFlags) {
    records::WriteNumberFile(data, records::kCashDropYesFile, 1);
    records::WriteNumberFile(data, records::kDbPaymentYesNoFile, 0);

    PrintNightAuditTotalsReport(data, printer, kToday);

    const auto docs = TakeDocuments();
    ASSERT_EQ(docs.size(), 8u);
    EXPECT_EQ(docs[0][1], "                          Totals Report for 12/6/26");
    EXPECT_EQ(docs[0][5], "                          Room Rent........ 0 ");
    EXPECT_EQ(docs[0].back(), "                          TOTAL ROOMS TODAY: 0");
    const std::pair<int, const char*> empties[] = {
        {1, "                             No Charges Today"},
        {2, "                             No Payments Today"},
        {3, "                         No Accounts Have Balances Due"},
        {4, "                             No Payments Today"},
        {5, "                             No Payments Today"},
        {6, "                             No Cancelations Today"},
        {7, "                             No Petty Cash Out Today"},
    };
    for (const auto& [doc, line] : empties) {
        ASSERT_GE(docs[doc].size(), 3u) << "page " << doc + 1;
        EXPECT_EQ(Lines(docs[doc].end() - 3, docs[doc].end()), (Lines{"", "", line})) << "page " << doc + 1;
    }
    EXPECT_EQ(docs[3][docs[3].size() - 4], std::string(46, ' ') + "TOTAL: 0");
    EXPECT_EQ(records::ReadNumberFile(data, records::kCashDropYesFile), 0.0);
    EXPECT_EQ(records::ReadNumberFile(data, records::kDbPaymentYesNoFile), 0.0);
}

TEST_F(NightAuditTotalsTest, DirectBillChargesListEachLineWithTheAccountCutTo33Characters) {
    records::AppendDbDailyLine(
        data, kToday, {"101", "A", kToday, "0012 ACME INDUSTRIAL SUPPLY COMPANY OF AMERICA", 150.5f});
    records::AppendDbDailyLine(data, kToday, {"7  ", "C", kToday, "0003 BOLT", 40});

    PrintDirectBillChargesPage(data, printer, kToday);

    EXPECT_EQ(TakeOneDocument(),
              Concat(PageHead("                  Total Direct Bill Charges For "),
                     {Dashes(66), "ROOM  SHIFT  DATE     COMPANY                           AMOUNT",
                      Dashes(66), "101   A      12/6/26  0012 ACME INDUSTRIAL SUPPLY COMPA 150.5", Dashes(66),
                      Pad("7     C      12/6/26  0003 BOLT", 55) + " 40", Dashes(66)}));
}

TEST_F(NightAuditTotalsTest, PaymentsPrintOnlyWhenTheFlagHoldsOneAndTheFlagIsThenCleared) {
    records::AppendDbPaymentLine(data, kToday, {"0012   ACME", "25.50", "74.5"});
    const Lines head = Concat(
        PageHead("                       Direct Bill Payments for "),
        {Dashes(73), "COMPANY NAME                                PAYMENT     NEW BALANCE", Dashes(73)});

    records::WriteNumberFile(data, records::kDbPaymentYesNoFile, 1);
    PrintDirectBillPaymentsPage(data, printer, kToday);
    EXPECT_EQ(TakeOneDocument(),
              Concat(head, {Pad("0012   ACME", 44) + Pad("25.50", 12) + "74.5", Dashes(73)}));
    EXPECT_EQ(records::ReadNumberFile(data, records::kDbPaymentYesNoFile), 0.0);

    // The cleared flag hides the same day file on a second run.
    PrintDirectBillPaymentsPage(data, printer, kToday);
    EXPECT_EQ(TakeOneDocument(), Concat(head, {"", "", "                             No Payments Today"}));
}

TEST_F(NightAuditTotalsTest, AccountsWithBalancesListOnlyLiveAccountsThatOweAndTotalThem) {
    auto account = [](const std::string& name, float balance) {
        records::DirectBillAccount a;
        a.CompanyName = Fixed(name, 80);
        a.Balance = balance;
        return a;
    };
    const std::string longName(60, 'L');
    records::AppendAccount(data, account("ACME", 100.456f));
    records::AppendAccount(data, account("ZERO CO", 0));
    records::AppendAccount(data, account("CREDIT CO", -5));
    records::AppendAccount(data, account("", 50)); // deleted
    records::AppendAccount(data, account(longName, 10));

    PrintAccountsWithBalancesPage(data, printer, kToday);

    EXPECT_EQ(TakeOneDocument(),
              (Lines{"", "               Direct Bill Accounts With Balances for 12/6/26", "", "",
                     "COMPANY NAME                                         BALANCE", Dashes(73),
                     Pad("ACME", 52) + " 100.46", Dashes(73), longName, std::string(52, ' ') + " 10",
                     Dashes(73), "", std::string(46, ' ') + "TOTAL: 110.46"}));
}

TEST_F(NightAuditTotalsTest, ShiftCashPagesListEachShiftWithANonZeroAmountNegativesIncluded) {
    records::AddToShiftCash(data, "B", "JD", kToday, records::ShiftCashField::CashFromVending,
                            platform::Decimal::Of(12.5));
    records::AddToShiftCash(data, "C", "MK", kToday, records::ShiftCashField::CashFromVending,
                            platform::Decimal::Of(-3));
    records::AddToShiftCash(data, "C", "MK", kToday, records::ShiftCashField::CashFromRent,
                            platform::Decimal::Of(80));

    PrintCashFromVendingPage(data, printer, kToday);
    PrintCashFromOtherPage(data, printer, kToday);

    const Lines columns{Dashes(73), "SHIFT  CLERK    AMOUNT", Dashes(73)};
    const auto docs = TakeDocuments();
    ASSERT_EQ(docs.size(), 2u);
    EXPECT_EQ(docs[0],
              Concat(Concat(PageHead("                       Cash From Vending Report For "), columns),
                     {Pad("B", 7) + Pad("JD", 9) + " 12.5 ", Pad("C", 7) + Pad("MK", 9) + "-3 "}));
    EXPECT_EQ(docs[1], Concat(Concat(PageHead("                       Cash From Other Report For "), columns),
                              {"", "", "                             No Payments Today"}));
}

// Every amount on the night's pages is the exact figure its file keeps: 100,000.01 is never
// printed as 100000, and a total of such figures keeps every cent.
TEST_F(NightAuditTotalsTest, EveryPagePrintsLargeAmountsToTheCent) {
    records::DayTotals totals;
    totals.RoomRent = 100000.01f;
    totals.Cash = 131071.99f;
    records::WriteDayTotals(data, kToday, totals);
    records::AppendDbDailyLine(data, kToday, {"101", "A", kToday, "0012 ACME", 112345.68f});
    records::AddToShiftCash(data, "B", "JD", kToday, records::ShiftCashField::CashFromVending,
                            platform::Decimal::Parse("131071.99"));
    records::AppendDayDetailLine(data, kToday, {"101", "C", kToday, "E", "ROOM RENT", 100000.01f, "JD"});
    records::PettyCashRecord petty;
    petty.Amount = 100000.01f;
    petty.Clerk = "JD";
    records::AppendPettyCash(data, kToday, petty);
    for (const float balance : {100000.02f, 131071.99f}) {
        records::DirectBillAccount account;
        account.CompanyName = Fixed("ACME", 80);
        account.Balance = balance;
        records::AppendAccount(data, account);
    }
    const struct {
        void (*print)(const platform::DataFolder&, platform::Printer&, std::string_view);
        const char* line;
    } cases[] = {
        {PrintDailyTotalsPage, "Room Rent........ 100000.01 "},
        {PrintDailyTotalsPage, "Cash............. 131071.99 "},
        {PrintDirectBillChargesPage, "0012 ACME                         112345.68"},
        {PrintCashFromVendingPage, "B      JD        131071.99 "},
        {PrintPettyCashOutPage, "JD           100000.01"},
        {PrintAccountsWithBalancesPage, "TOTAL: 231072.01"},
        {PrintRoomDetailPage, "ROOM RENT           100000.01"},
        {PrintAccountsWithBalancesPage, " 100000.02"},
    };
    for (const auto& c : cases) {
        c.print(data, printer, kToday);
        const Lines lines = TakeOneDocument();
        EXPECT_TRUE(
            std::any_of(lines.begin(), lines.end(),
                        [&](const std::string& line) { return line.find(c.line) != std::string::npos; }))
            << c.line << "\n"
            << ::testing::PrintToString(lines);
    }
}

TEST_F(NightAuditTotalsTest, CanceledReservationsListTheDayFileInOrder) {
    records::CancelRecord record;
    record.GuestName = Fixed("SMITH JOHN", 40);
    record.Clerk = "JD";
    record.CanceledOn = Fixed(kToday, 10);
    record.ReservedOn = Fixed("11/30/26", 10);
    records::AppendCancelRecord(records::DayFilePath(data, records::DayFile::Notes, kToday), record);

    PrintCanceledReservationsPage(data, printer, kToday);

    EXPECT_EQ(
        TakeOneDocument(),
        Concat(PageHead("                       Canceled Reservations Report For "),
               {Dashes(78), "NAME                             ORIGINAL DATE     CANCELED DATE   CLERK",
                Dashes(78), Pad(Pad("SMITH JOHN", 33) + "11/30/26  ", 51) + "12/6/26   " + "      JD"}));
}

TEST_F(NightAuditTotalsTest, PettyCashOutSkipsZeroAmounts) {
    auto payment = [](float amount, const std::string& clerk) {
        records::PettyCashRecord r;
        r.Amount = amount;
        r.Clerk = clerk;
        r.TimeText = Fixed("3:45:12 PM", 12);
        r.DateText = Fixed(kToday, 10);
        return r;
    };
    records::AppendPettyCash(data, kToday, payment(20, "JD"));
    records::AppendPettyCash(data, kToday, payment(0, "JD"));
    records::AppendPettyCash(data, kToday, payment(7.25f, "MK"));

    PrintPettyCashOutPage(data, printer, kToday);

    const std::string dateTime = Pad(Fixed(kToday, 10), 19) + Fixed("3:45:12 PM", 12);
    EXPECT_EQ(TakeOneDocument(), Concat(PageHead("                       Petty Cash Out Report For "),
                                        {Dashes(78), "CLERK       AMOUNT         DATE               TIME",
                                         Dashes(78), Pad("JD", 12) + Pad(" 20", 15) + dateTime,
                                         Pad("MK", 12) + Pad(" 7.25", 15) + dateTime}));
}

TEST_F(NightAuditTotalsTest, PettyCashRecordsAreWrittenAs48BytesAt54ByteSteps) {
    for (const auto& [length, count] : {std::pair{0L, 0L}, {48L, 1L}, {102L, 2L}, {156L, 3L}})
        EXPECT_EQ(records::PettyCashRecordCount(length), count) << "file length " << length;

    records::PettyCashRecord first;
    first.Amount = 12.5f;
    first.Clerk = "JD";
    records::PettyCashRecord second = first;
    second.Clerk = "MK";
    records::AppendPettyCash(data, kToday, first);
    records::AppendPettyCash(data, kToday, second);

    const std::filesystem::path file = records::DayFilePath(data, records::DayFile::PettyCash, kToday).path();
    EXPECT_EQ(std::filesystem::file_size(file), 102u);
    EXPECT_EQ(records::ReadPettyCash(data, kToday), (std::vector{first, second}));
    EXPECT_EQ(first.Encode().substr(28), std::string(20, '\0'));
}

TEST(CancelRecordTest, FieldsLieAtTheirOffsetsAndReservedBytesStayZero) {
    records::CancelRecord record;
    record.GuestName = Fixed("DOE JANE", 40);
    record.Clerk = "JD";
    record.CanceledOn = Fixed("12/6/26", 10);
    record.ReservedOn = Fixed("12/1/26", 10);
    const std::string bytes = record.Encode();
    ASSERT_EQ(bytes.size(), 112u);
    EXPECT_EQ(bytes.substr(0, 8), "DOE JANE");
    EXPECT_EQ(bytes.substr(40, 2), "JD");
    EXPECT_EQ(bytes.substr(42, 10), Fixed("12/6/26", 10));
    EXPECT_EQ(bytes.substr(52, 10), Fixed("12/1/26", 10));
    EXPECT_EQ(bytes.substr(62), std::string(50, '\0'));
    EXPECT_EQ(records::CancelRecord::Decode(bytes), record);
}

} // namespace
} // namespace printing
