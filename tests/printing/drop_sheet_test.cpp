// The shift cash drop sheet: its lines and columns, the total and shortfall, and the rooms
// column laid over the right of the page.
#include "printing/drop_sheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace printing {
namespace {

DropSheet Example(std::string drop = "100") {
    DropSheet sheet;
    sheet.dateText = "12/6/26";
    sheet.shift = "C";
    sheet.clerk = "JD";
    sheet.cashFromRent = "100";
    sheet.cashFromVending = "5.5";
    sheet.cashFromDirectBill = "20";
    sheet.cashFromOther = "0";
    sheet.pettyCashOut = "12.25";
    sheet.totalShiftCash = "113.25";
    sheet.dropAmount = std::move(drop);
    return sheet;
}

std::vector<std::string> Texts(const std::vector<platform::PrintedLine>& lines) {
    std::vector<std::string> texts;
    for (const platform::PrintedLine& line : lines)
        texts.push_back(line.text);
    return texts;
}

std::vector<std::string> Rooms(int count) {
    std::vector<std::string> rooms;
    for (int i = 1; i <= count; ++i)
        rooms.push_back(std::to_string(100 + i));
    return rooms;
}

TEST(DropSheetTest, SheetWithoutRentalsFileHasTheTwentyFiveLinesOnly) {
    const std::vector<std::string> expected = {
        "",
        "                              Shift Cash Drop Report",
        "",
        "",
        "                     Date: 12/6/26    Shift: C    Initials: JD",
        std::string(90, '-'),
        "",
        std::string(26, ' ') + "CASH FROM RENT  100",
        "",
        std::string(23, ' ') + "CASH FROM VENDING  5.5",
        "",
        std::string(19, ' ') + "CASH FROM DIRECT BILL  20",
        "",
        std::string(25, ' ') + "CASH FROM OTHER  0",
        "",
        std::string(25, ' ') + "PETTY CASH OUT - 12.25",
        "",
        std::string(24, ' ') + "TOTAL SHIFT CASH  113.25",
        "",
        "",
        std::string(18, ' ') + "AMOUNT YOU'RE DROPPING  100",
        "",
        "",
        "",
        std::string(19, ' ') + "YOUR DRAWER IS SHORT   13.25 ",
    };
    const std::vector<platform::PrintedLine> lines = DropSheetLines(Example());
    EXPECT_EQ(Texts(lines), expected);
    for (const platform::PrintedLine& line : lines)
        EXPECT_FALSE(line.bold) << line.text;
}

TEST(DropSheetTest, ShortfallIsTotalLabelLessDropRounded) {
    struct Case {
        std::string total;
        std::string drop;
        std::string line;
    } cases[] = {
        {"113.25", "100", " 13.25 "}, {"113.25", "150", "-36.75 "}, {"113.25", "113.25", " 0 "},
        {"0.3", "0.1", " .2 "},       {"50", "abc", " 50 "},
    };
    for (const Case& c : cases) {
        DropSheet sheet = Example(c.drop);
        sheet.totalShiftCash = c.total;
        EXPECT_EQ(Texts(DropSheetLines(sheet)).at(24),
                  std::string(19, ' ') + "YOUR DRAWER IS SHORT  " + c.line)
            << c.total << " less " << c.drop;
    }
}

TEST(DropSheetTest, TotalIsRecomputedFromTheAmountTexts) {
    EXPECT_DOUBLE_EQ(TotalShiftCash("100", "5.5", "20", "0", "12.25"), 113.25);
    EXPECT_DOUBLE_EQ(TotalShiftCash("", "", "", "", "7"), -7);
    DropSheet sheet = Example();
    sheet.totalShiftCash = "999"; // the total line ignores the window's total label
    EXPECT_EQ(Texts(DropSheetLines(sheet)).at(17), std::string(24, ' ') + "TOTAL SHIFT CASH  113.25");
}

TEST(DropSheetTest, TenRoomsFillEightRowsAtFiftyFiveThenTwoAtSixty) {
    DropSheet sheet = Example();
    sheet.roomsRented = Rooms(10);
    const std::vector<platform::PrintedLine> printed = DropSheetLines(sheet);
    const std::vector<std::string> lines = Texts(printed);
    ASSERT_EQ(lines.size(), 25u);

    EXPECT_EQ(lines[5], std::string(54, '-') + "ROOMS RENTED" + std::string(24, '-'))
        << "the heading is printed over the rule 1200 twips down";
    EXPECT_TRUE(printed[5].bold);
    for (size_t row = 0; row < printed.size(); ++row) {
        if (row != 5) {
            EXPECT_FALSE(printed[row].bold) << "line " << row + 1;
        }
    }

    for (int room = 1; room <= 8; ++room) {
        const std::string& line = lines.at(static_cast<size_t>(4 + 2 * room));
        EXPECT_EQ(line.substr(54, 3), std::to_string(100 + room)) << "room " << room << ": " << line;
    }
    EXPECT_EQ(lines[6], std::string(54, ' ') + "101  109");
    EXPECT_EQ(lines[8], std::string(54, ' ') + "102  110");
    EXPECT_EQ(lines[20], std::string(18, ' ') + "AMOUNT YOU'RE DROPPING  100" + std::string(9, ' ') + "108")
        << "the rooms go beside the sheet's own text";
    for (size_t row : {7u, 9u, 11u, 17u, 21u, 24u})
        EXPECT_LT(lines[row].size(), 54u) << "line " << row + 1;
}

TEST(DropSheetTest, SeventeenthRoomOnContinuesDownTheSecondColumn) {
    DropSheet sheet = Example();
    sheet.roomsRented = Rooms(40);
    const std::vector<std::string> lines = Texts(DropSheetLines(sheet));
    // Rooms 9 onward start on the line of room 1 and take every second line.
    for (int room = 9; room <= 40; ++room) {
        const size_t row = static_cast<size_t>(6 + 2 * (room - 9));
        ASSERT_LT(row, lines.size()) << "room " << room;
        EXPECT_EQ(lines[row].substr(59, 3), std::to_string(100 + room)) << "room " << room;
    }
    EXPECT_EQ(lines[24].substr(0, 41), std::string(19, ' ') + "YOUR DRAWER IS SHORT  ");
    EXPECT_EQ(lines.size(), 69u);
}

TEST(DropSheetTest, EmptyRentalsFilePrintsTheHeadingAlone) {
    DropSheet sheet = Example();
    sheet.roomsRented = std::vector<std::string>();
    const std::vector<std::string> lines = Texts(DropSheetLines(sheet));
    EXPECT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines[5].substr(54, 12), "ROOMS RENTED");
    EXPECT_EQ(lines[6], "");
}

TEST(DropSheetTest, PrintingEndsAnOpenDocumentAndMakesOneOfItsOwn) {
    platform::CapturePrinter device;
    platform::Printer printer(device);
    printer.Print("left open by someone else");
    DropSheet sheet = Example();
    sheet.roomsRented = Rooms(2);
    PrintDropSheet(printer, sheet);

    const std::vector<platform::PrintJob> jobs = device.TakeJobs();
    ASSERT_EQ(jobs.size(), 2u);
    ASSERT_EQ(jobs[1].pages.size(), 1u);
    const std::vector<platform::PrintedLine>& lines = jobs[1].pages[0].lines;
    const std::vector<platform::PrintedLine> expected = DropSheetLines(sheet);
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].text, expected[i].text) << "line " << i + 1;
        EXPECT_EQ(lines[i].bold, expected[i].bold) << "line " << i + 1;
        EXPECT_EQ(lines[i].fontSize, 10) << "line " << i + 1;
    }
    EXPECT_FALSE(printer.DocumentOpen());
}

} // namespace
} // namespace printing
