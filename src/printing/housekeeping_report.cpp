// The housekeeping report's counts, lines and printing.
#include "printing/housekeeping_report.h"

#include "platform/text.h"
#include "records/filenames.h"

namespace printing {

using platform::RTrim;

namespace {
constexpr std::string_view kTitleIndent = "                     "; // 21 blanks
} // namespace

HousekeepingCounts CountHousekeeping(const std::vector<records::RoomRecord>& rooms,
                                     const std::vector<records::GuestRecord>& guests,
                                     std::string_view today) {
    HousekeepingCounts counts;
    for (const records::RoomRecord& room : rooms) {
        if (room.Clean == "N")
            ++counts.dirtyOrOccupied;
        if (room.Service == "O")
            ++counts.dirtyOrOccupied;
    }
    const std::string todayText = RTrim(today);
    for (const records::GuestRecord& guest : guests) {
        if (RTrim(guest.LastName).empty())
            continue;
        if (RTrim(guest.DepartureDate) != todayText)
            ++counts.stayovers;
    }
    return counts;
}

bool IsAfternoon(std::string_view timeText) {
    return timeText.find('P') != std::string_view::npos;
}

std::string DepartureDateOf(const std::vector<records::GuestRecord>& guests, std::string_view room3) {
    const std::string key = platform::Fixed(room3, records::RoomRecord::kRoomWidth);
    for (const records::GuestRecord& guest : guests) {
        // A free slot keeps no room, but a room numbered with blanks would still match it.
        if (guest.IsFree())
            continue;
        if (platform::Fixed(guest.Room, records::RoomRecord::kRoomWidth) == key)
            return guest.DepartureDate;
    }
    return std::string();
}

std::string HousekeepingStatus(const records::RoomRecord& room, std::string_view departureDate,
                               std::string_view today, bool afternoon) {
    // Later rules win over earlier ones.
    std::string word = "EMPTY/CLEAN";
    if (room.Clean == "N")
        word = "   DIRTY   ";
    if (room.Service == "O")
        word = "        X  ";
    if (room.Service == "O" && RTrim(departureDate) != RTrim(today))
        word = " X         ";
    if (room.Service == "X")
        word = "out of ordr";
    if (room.Service == "X" && room.Clean == "N")
        word = "OOO / DIRTY";
    if (room.Service == "O" && afternoon)
        word = "  OCCUPIED ";
    return word;
}

platform::PrintItems HousekeepingRoomLine(const records::RoomRecord& room, std::string_view departureDate,
                                          std::string_view today, bool afternoon) {
    std::string comment = RTrim(room.Comment);
    if (comment.size() < kHousekeepingCommentWidth)
        comment.resize(kHousekeepingCommentWidth, ' ');
    platform::PrintItems items;
    items.Text(RTrim(room.Room) + "   ")
        .Tab(7)
        .Text(platform::Fixed(room.RoomType, records::RoomRecord::kRoomTypeWidth) + "  ")
        .Tab(14)
        .Text(HousekeepingStatus(room, departureDate, today, afternoon))
        .Tab(26)
        .Text(comment);
    return items;
}

std::string HousekeepingTitle(std::string_view motelName) {
    return std::string(kTitleIndent) + std::string(motelName) + " Housekeeping Report";
}

std::string HousekeepingDateLine(std::string_view today, const HousekeepingCounts& counts) {
    return "Date: " + std::string(today) +
           "    Occupied and Dirty Rooms:" + platform::Str(counts.dirtyOrOccupied) +
           "    Stayovers:" + platform::Str(counts.stayovers);
}

void PrintHousekeepingReport(platform::Printer& printer, const platform::DataFolder& folder,
                             std::string_view motelName, std::string_view today, bool afternoon) {
    // Everything is read before the first line, so a file error prints nothing.
    const std::vector<records::GuestRecord> guests = records::ReadAllGuests(folder, records::kGuestFile);
    const std::vector<records::RoomRecord> rooms = records::ReadAllRooms(folder);
    const HousekeepingCounts counts = CountHousekeeping(rooms, guests, today);

    printer.EndDoc();
    printer.FontSize(10);
    printer.Print(HousekeepingTitle(motelName));
    printer.Print();
    printer.Print();
    printer.Print(HousekeepingDateLine(today, counts));
    printer.Print();
    printer.Print();
    printer.Print(kHousekeepingHeader);
    printer.Print(std::string(kHousekeepingRuleWidth, '-'));
    for (const records::RoomRecord& room : rooms)
        printer.Print(HousekeepingRoomLine(room, DepartureDateOf(guests, room.Room), today, afternoon));
    printer.EndDoc();
}

} // namespace printing
