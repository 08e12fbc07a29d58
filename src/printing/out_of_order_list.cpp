// The out-of-order room list's lines and printing.
#include "printing/out_of_order_list.h"

#include "platform/text.h"

#include <vector>

namespace printing {

std::string OutOfOrderTitle(std::string_view today) {
    return "                     Out Of Order Room List for " + std::string(today);
}

platform::PrintItems OutOfOrderRoomLine(const records::RoomRecord& room) {
    platform::PrintItems items;
    items.Text(platform::Fixed(room.Room, records::RoomRecord::kRoomWidth))
        .Tab(7)
        .Text(platform::Fixed(room.RoomType, records::RoomRecord::kRoomTypeWidth))
        .Tab(14)
        .Text(platform::Trim(room.Comment));
    return items;
}

void PrintOutOfOrderList(platform::Printer& printer, const platform::DataFolder& folder,
                         std::string_view today, bool blankLineFirst) {
    const std::vector<records::RoomRecord> rooms = records::ReadAllRooms(folder);
    const std::string rule(kOutOfOrderRuleWidth, '-');

    printer.EndDoc();
    printer.FontSize(10);
    if (blankLineFirst)
        printer.Print();
    printer.Print(OutOfOrderTitle(today));
    printer.Print();
    printer.Print();
    printer.Print(kOutOfOrderHeader);
    printer.Print(rule);
    for (const records::RoomRecord& room : rooms) {
        if (room.Service != "X")
            continue;
        printer.Print(OutOfOrderRoomLine(room));
        printer.Print(rule);
    }
    printer.EndDoc();
}

} // namespace printing
