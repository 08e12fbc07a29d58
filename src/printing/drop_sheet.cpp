// The shift cash drop sheet: its lines and its rooms column.
#include "printing/drop_sheet.h"

#include "platform/decimal.h"
#include "platform/text.h"

#include <algorithm>

namespace printing {

using platform::PrintItems;
using platform::Str;
using platform::Val;

namespace {

class Page {
public:
    void Add(const PrintItems& items) {
        for (const std::string& line : items.lines())
            m_lines.push_back({line, false, 10});
    }
    void Add(std::string text = std::string()) { m_lines.push_back({std::move(text), false, 10}); }

    // Puts the text at the column of the row, over whatever the row holds there.
    void Overlay(size_t row, int column, const std::string& text, bool bold = false) {
        if (m_lines.size() <= row)
            m_lines.resize(row + 1, platform::PrintedLine{std::string(), false, 10});
        std::string& line = m_lines[row].text;
        const size_t at = static_cast<size_t>(column - 1);
        if (line.size() < at + text.size())
            line.resize(at + text.size(), ' ');
        line.replace(at, text.size(), text);
        if (bold)
            m_lines[row].bold = true;
    }

    std::vector<platform::PrintedLine> Take() { return std::move(m_lines); }

private:
    std::vector<platform::PrintedLine> m_lines;
};

// A caption at its column, then the amount's number text (sign place, digits, no blank after).
PrintItems AmountLine(int column, const std::string& caption, double amount) {
    PrintItems items;
    items.Tab(column).Text(caption).Text(Str(amount));
    return items;
}

} // namespace

double TotalShiftCash(const std::string& rent, const std::string& vending, const std::string& directBill,
                      const std::string& other, const std::string& pettyCash) {
    using platform::Decimal;
    return (Decimal::Parse(rent) + Decimal::Parse(vending) + Decimal::Parse(directBill) +
            Decimal::Parse(other) - Decimal::Parse(pettyCash))
        .ToDouble();
}

double DrawerShortfall(const std::string& totalShiftCash, const std::string& dropAmount) {
    using platform::Decimal;
    return (Decimal::Parse(totalShiftCash) - Decimal::Parse(dropAmount)).Rounded(2).ToDouble();
}

std::vector<platform::PrintedLine> DropSheetLines(const DropSheet& sheet) {
    Page page;
    page.Add();
    page.Add("                              Shift Cash Drop Report");
    page.Add();
    page.Add();
    page.Add("                     Date: " + sheet.dateText + "    Shift: " + sheet.shift +
             "    Initials: " + sheet.clerk);
    page.Add(std::string(kDropSheetRuleWidth, '-'));
    page.Add();
    page.Add(AmountLine(27, "CASH FROM RENT ", Val(sheet.cashFromRent)));
    page.Add();
    page.Add(AmountLine(24, "CASH FROM VENDING ", Val(sheet.cashFromVending)));
    page.Add();
    page.Add(AmountLine(20, "CASH FROM DIRECT BILL ", Val(sheet.cashFromDirectBill)));
    page.Add();
    page.Add(AmountLine(26, "CASH FROM OTHER ", Val(sheet.cashFromOther)));
    page.Add();
    page.Add(AmountLine(26, "PETTY CASH OUT -", Val(sheet.pettyCashOut)));
    page.Add();
    page.Add(AmountLine(25, "TOTAL SHIFT CASH ",
                        TotalShiftCash(sheet.cashFromRent, sheet.cashFromVending, sheet.cashFromDirectBill,
                                       sheet.cashFromOther, sheet.pettyCashOut)));
    page.Add();
    page.Add();
    page.Add(PrintItems().Tab(19).Text("AMOUNT YOU'RE DROPPING  ").Text(sheet.dropAmount));
    page.Add();
    page.Add();
    page.Add();
    page.Add(PrintItems()
                 .Tab(20)
                 .Text("YOUR DRAWER IS SHORT  ")
                 .Value(DrawerShortfall(sheet.totalShiftCash, sheet.dropAmount)));

    if (sheet.roomsRented) {
        const size_t top = static_cast<size_t>(kRoomsHeadingTwips / platform::Printer::kTwipsPerLine);
        page.Overlay(top, kRoomsFirstColumn, "ROOMS RENTED", true);
        size_t row = top + 1;
        int column = kRoomsFirstColumn;
        int printed = 0;
        for (const std::string& room : *sheet.roomsRented) {
            page.Overlay(row, column, room);
            row += 2; // the room, then a blank line
            if (++printed == kRoomsInFirstColumn) {
                row = top + 1;
                column = kRoomsSecondColumn;
            }
        }
    }
    return page.Take();
}

void PrintDropSheet(platform::Printer& printer, const DropSheet& sheet) {
    printer.EndDoc();
    printer.FontSize(10);
    printer.FontBold(false);
    for (const platform::PrintedLine& line : DropSheetLines(sheet)) {
        printer.FontBold(line.bold);
        printer.Print(line.text);
    }
    printer.FontBold(false);
    printer.EndDoc();
}

} // namespace printing
