#include "form28.h"

#include "platform/text.h"
#include "printing/out_of_order_list.h"

namespace vantreth {

using namespace platform;

std::string OutOfOrderEntry(const records::RoomRecord& room) {
    return Fixed(room.Room, records::RoomRecord::kRoomWidth) + "  " +
           Fixed(room.RoomType, records::RoomRecord::kRoomTypeWidth) + " " +
           Fixed(room.Comment, records::RoomRecord::kCommentWidth);
}

Form28::Form28(App& app) : AppForm(app, kName, "Out of Order Rooms", {120, 180, 812, 376}) {
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
}

void Form28::Form_Load() {
    Show();
    for (const records::RoomRecord& room : records::ReadAllRooms(app().data()))
        if (room.Service == "X")
            List1.AddItem(OutOfOrderEntry(room));
    Command1.SetFocus();
}

void Form28::Command1_Click() {
    app().Unload(*this);
}

void Form28::Command2_Click() {
    printing::PrintOutOfOrderList(app().printer(), app().data(), app().clock().DateText(), true);
    app().Unload(*this);
}

} // namespace vantreth
