#include "form18.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/room_record.h"

#include <optional>

namespace vantreth {

using namespace platform;

Form18::Form18(App& app) : AppForm(app, kName, "Edit Room Properties", {200, 120, 680, 320}) {
    Combo1.on_click = [this] { Combo1_Click(); };
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
}

// Occupied rooms are not listed: their properties cannot change while a guest is in.
void Form18::Form_Load() {
    Show();
    for (const records::RoomRecord& room : records::ReadAllRooms(app().data()))
        if (room.Service != "O")
            Combo1.AddItem(room.Room + " " + RTrim(room.RoomType));
    for (const char* type : {"NK1", "K11", "NQ1", "NDD1", "Q11", "DD1", "PNQ1", "PQ1", "SNQ1", "SQ1"})
        Combo2.AddItem(type);
    Combo1.SetText("select room");
}

void Form18::Combo1_Click() {
    Check1.SetValue(0);
    Label2.SetCaption(Left(Combo1.Text(), 3));
    if (auto n = records::FindRoom(app().data(), Label2.Caption())) {
        records::RoomRecord room = records::ReadRoom(app().data(), *n);
        Combo2.SetText(room.RoomType);
        Text2.SetText(StoredText(room.Rate));
        if (room.RateLocked())
            Check1.SetValue(1);
    }
    Command1.SetEnabled(true);
    Combo2.SetFocus();
}

// A box still showing what was loaded from the room is that value left as it was: written
// back byte for byte, before and without any check of typed text.
void Form18::Command1_Click() {
    const std::optional<long> n = records::FindRoom(app().data(), Label2.Caption());
    const std::optional<records::RoomRecord> stored =
        n ? std::optional(records::ReadRoom(app().data(), *n)) : std::nullopt;
    const bool typeAsLoaded = stored && LeftAsLoaded(Combo2, stored->RoomType);
    const bool rateAsLoaded = stored && LeftAsLoaded(Text2, StoredText(stored->Rate));
    if (!typeAsLoaded && (Trim(Combo2.Text()).empty() || Combo2.Text() == "Type")) {
        MsgBox("The room type selected is invalid. Please choose a valid room type.", vbOKOnly, "WARNING");
        Combo2.SetText("Type");
        Combo2.SetFocus();
        return;
    }
    if (!rateAsLoaded) {
        if (!IsNonNegativeNumber(Text2.Text())) {
            MsgBox("The rate you typed is not a number. Please type the rate in dollars, like 45.50.",
                   vbOKOnly, "WARNING");
            Text2.SetFocus();
            return;
        }
        if (RefusedCents(Text2))
            return;
    }
    if (!stored) {
        MsgBox("Please choose a room from the list first. Nothing was changed.", vbOKOnly, "WARNING");
        Combo1.SetFocus();
        return;
    }
    records::RoomRecord room = *stored;
    if (!typeAsLoaded)
        room.RoomType = Fixed(Combo2.Text(), records::RoomRecord::kRoomTypeWidth);
    if (!rateAsLoaded)
        room.Rate = static_cast<float>(Val(Text2.Text()));
    room.SetRateLocked(Check1.Value() == 1);
    records::WriteRoom(app().data(), *n, room);
    MsgBox("Changes were recorded.", vbOKOnly, "Room Changed");
}

void Form18::Command2_Click() {
    app().Unload(*this);
}

} // namespace vantreth
