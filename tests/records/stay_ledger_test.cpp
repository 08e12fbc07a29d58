// The stay ledger, day detail and shift rental lines, the ledger's file name and the
// stay's balance.
#include "records/filenames.h"
#include "records/stay_ledger.h"
#include "records_fixture.h"
#include "support/decimal_print.h"

#include <string>
#include <vector>

namespace records {
namespace {

using testing::RecordsTest;

StayLedgerLine Line(const char* code, float amount, const char* taxFlag = "-----") {
    StayLedgerLine line;
    line.Room = "12 ";
    line.Shift = "A";
    line.PostDate = "12/6/26";
    line.Code = code;
    line.Description = "POSTING";
    line.Amount = amount;
    line.TaxFlag = taxFlag;
    return line;
}

TEST(StayBalanceTest, AddsChargesWithTaxAndSubtractsPayments) {
    struct Case {
        const char* what;
        std::vector<StayLedgerLine> lines;
        double taxRate;
        bool taxExempt;
        float balance;
    };
    const Case cases[] = {
        {"room rent with 8% tax", {Line("E", 45.5f)}, 0.08, false, 49.14f},
        {"tax exempt stay", {Line("E", 45.5f)}, 0.08, true, 45.5f},
        {"tax flag N", {Line("E", 45.5f, "N")}, 0.08, false, 45.5f},
        {"tax flag Y is taxed", {Line("E", 45.5f, "Y")}, 0.08, false, 49.14f},
        {"pet and phone carry no tax", {Line("J", 10.0f), Line("G", 1.25f)}, 0.08, false, 11.25f},
        {"unknown codes change nothing",
         {Line("Q", 99.0f), Line("e", 5.0f), Line("", 7.0f)},
         0.08,
         false,
         0.0f},
        {"every payment code subtracts",
         {Line("E", 45.5f), Line("J", 10), Line("G", 1.25f), Line("L", 20), Line("N", 10), Line("M", 10),
          Line("P", 10), Line("O", 10.39f)},
         0.08,
         false,
         0.0f},
        {"an overpayment leaves a credit", {Line("E", 45.5f), Line("L", 60)}, 0.08, false, -10.86f},
        // Past 131,072 a Single is a sixty-fourth apart: the balance is a decimal sum, so
        // 150,000.01 paid down by 100,000 leaves 50,000.01, not 50,000.02.
        {"past what a Single keeps to the cent",
         {Line("J", 99999.99f), Line("J", 50000.02f), Line("L", 100000)},
         0.08,
         false,
         50000.01f},
        // Each 0.004 rounds away at once; rounded only at the end the three would give 0.01.
        {"rounded after each line",
         {Line("J", 0.004f), Line("J", 0.004f), Line("J", 0.004f)},
         0.08,
         false,
         0.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StayBalance(c.lines, c.taxRate, c.taxExempt), platform::Decimal::Of(c.balance)) << c.what;
}

TEST(StayBalanceTest, RunningBalanceMatchesTheWholeBalance) {
    const std::vector<StayLedgerLine> lines = {Line("E", 45.5f), Line("G", 0.35f), Line("L", 20)};
    platform::Decimal running;
    for (const StayLedgerLine& line : lines)
        running = AddToStayBalance(running, line, 0.08, false);
    EXPECT_EQ(running, platform::Decimal::Of(29.49f));
    EXPECT_EQ(StayBalance(lines, 0.08, false), running);
}

TEST(StayBalanceTest, LineTaxIsShownOnlyForTaxedRoomRent) {
    struct Case {
        StayLedgerLine line;
        bool taxExempt;
        float tax;
    };
    const Case cases[] = {
        {Line("E", 45.5f), false, 3.64f}, {Line("E", 45.5f, "N"), false, 0.0f},
        {Line("E", 45.5f), true, 0.0f},   {Line("J", 45.5f), false, 0.0f},
        {Line("L", 45.5f), false, 0.0f},  {Line("E", 39.95f), false, 3.2f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LineTax(c.line, 0.08, c.taxExempt), platform::Decimal::Of(c.tax))
            << "code " << c.line.Code << " amount " << c.line.Amount << " flag " << c.line.TaxFlag
            << (c.taxExempt ? " exempt" : "");
    }
}

using LedgerFileTest = RecordsTest;

TEST_F(LedgerFileTest, StayLedgerPathKeepsTheInnerBlankAndCutsTheLastName) {
    GuestRecord g;
    g.Room = "12";
    g.LastName = "WOLFESCHLEGELSTEIN";
    g.FirstName = "JOHN";
    g.ArrivalDate = "12/6/26";
    const GuestRecord stored = GuestRecord::Decode(g.Encode());
    EXPECT_EQ(StayLedgerPath(folder(), stored), At("dailycharge/dailycharge12 WOLFESCHLEGELSTJOHN12626"));
}

// A stay checked in before names went through the one rule keeps its ledger under the name
// as typed until the ledger is carried; a new one goes under the rule's name.
TEST_F(LedgerFileTest, AQuoteInANameNamesTheLedgerWithAnApostropheButAnOlderLedgerIsStillFound) {
    GuestRecord g;
    g.Room = "101";
    g.LastName = "O\"NEIL";
    g.FirstName = "JO";
    g.ArrivalDate = "12/6/26";
    const auto rule = At("dailycharge/dailycharge101O'NEILJO12626");
    const auto typed = At("dailycharge/dailycharge101O\"NEILJO12626");
    EXPECT_EQ(StayLedgerPath(folder(), g), rule) << "no ledger yet";
    AppendStayLedgerLine(typed, Line("E", 45.5f));
    EXPECT_EQ(StayLedgerPath(folder(), g), typed) << "only the older ledger is there";
    AppendStayLedgerLine(rule, Line("E", 45.5f));
    EXPECT_EQ(StayLedgerPath(folder(), g), rule) << "the rule's name comes first";
}

TEST_F(LedgerFileTest, StayLedgerLineIsTenItems) {
    const auto ledger = At("dailycharge/dailycharge12 SMITHJOHN12626");
    StayLedgerLine line = Line("E", 45.5f);
    line.Description = "ROOM RENT";
    line.TaxValue = 3.64f;
    AppendStayLedgerLine(ledger, line);
    EXPECT_EQ(ReadRaw(ledger),
              "\"12 \",\"A\",\"12/6/26\",\"E\",\"ROOM RENT\",45.5,3.64,\"-----\",\"-----\",\"-----\"\r\n");
}

TEST_F(LedgerFileTest, StayLedgerLinesReadBackAsWritten) {
    const auto ledger = At("dailycharge/dailycharge101SMITHJOHN12626");
    std::vector<StayLedgerLine> lines = {Line("E", 45.5f), Line("J", 10.1f), Line("L", 55.64f, "N")};
    lines[0].Room = "101";
    lines[0].TaxValue = 3.64f;
    lines[1].Description = "ROLL AWAY  ";
    for (const StayLedgerLine& line : lines)
        AppendStayLedgerLine(ledger, line);
    EXPECT_EQ(ReadStayLedger(ledger), lines);
}

TEST_F(LedgerFileTest, ReadingAMissingLedgerIsAnError) {
    EXPECT_THROW(ReadStayLedger(At("dailycharge/dailychargenobody")), platform::IoError);
}

TEST_F(LedgerFileTest, DayDetailLineIsElevenItemsAndReadsBack) {
    DayDetailLine line;
    line.Room = "12 ";
    line.Shift = "B";
    line.PostDate = "12/6/26";
    line.Code = "L";
    line.Description = "CASH REC.";
    line.Amount = 20.0f;
    line.Clerk = "JD";
    AppendDayDetailLine(folder(), "12/6/26", line);
    DayDetailLine second = line;
    second.Code = "G";
    second.Amount = 0.35f;
    AppendDayDetailLine(folder(), "12/6/26", second);
    const std::string raw = ReadRaw(At("detail/12626"));
    EXPECT_EQ(raw.substr(0, raw.find('\n') + 1),
              "\"12 \",\"B\",\"12/6/26\",\"L\",\"CASH "
              "REC.\",20,\"JD\",\"-----\",\"-----\",\"-----\",\"-----\"\r\n");
    EXPECT_EQ(ReadDayDetail(folder(), "12/6/26"), (std::vector<DayDetailLine>{line, second}));
}

TEST_F(LedgerFileTest, ShiftRentalLineWritesATimeLiteralAndReadsItBack) {
    const ShiftRentalLine line{"12 ", "A", "JD", platform::TimeOfDay{15, 45, 12}};
    AppendShiftRentalLine(folder(), "A", "12/6/26", line);
    AppendShiftRentalLine(folder(), "A", "12/6/26", ShiftRentalLine{"101", "A", "JD", {9, 5, 0}});
    const std::string raw = ReadRaw(At("shiftrentals/A12626"));
    EXPECT_EQ(raw, "\"12 \",\"A\",\"JD\",#15:45:12#\r\n\"101\",\"A\",\"JD\",#09:05:00#\r\n");
    const std::vector<ShiftRentalLine> back = ReadShiftRentals(folder(), "A", "12/6/26");
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0], line);
    EXPECT_EQ(back[0].TimeRentedText(), "3:45:12 PM");
    EXPECT_EQ(back[1].TimeRentedText(), "9:05:00 AM");
}

TEST_F(LedgerFileTest, AShiftRentalLineWhoseTimeIsNoTimeIsSkipped) {
    WriteRaw(At("shiftrentals/A12626"),
             "\"12 \",\"A\",\"JD\",\"soon\"\r\n\"14 \",\"A\",\"JD\",#09:05:00#\r\n");
    const std::vector<ShiftRentalLine> back = ReadShiftRentals(folder(), "A", "12/6/26");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].Room, "14 ");
}

} // namespace
} // namespace records
