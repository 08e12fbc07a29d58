#include "form10.h"

#include "app/call_capture_service.h"
#include "app/front_desk_service.h"
#include "platform/text.h"
#include "records/room_record.h"

#include <optional>

namespace vantreth {

using namespace platform;

std::string StatusLetter(std::string_view typed, std::string_view allowed) {
    const std::string letter = UCase(typed);
    if (letter.size() != 1 || allowed.find(letter[0]) == std::string_view::npos)
        return "";
    return letter;
}

Form10::Form10(App& app) : AppForm(app, kName, "Set Room Status", {200, 120, 512, 378}) {
    SetKeyPreview(true);
    Combo1.on_click = [this] { Combo1_Click(); };
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
    Text2.on_click = [this] { Text2_Click(); };
    Text3.on_click = [this] { Text3_Click(); };
    Text4.on_click = [this] { Text4_Click(); };
}

void Form10::Form_Load() {
    Show();
    for (const records::RoomRecord& room : records::ReadAllRooms(app().data()))
        Combo1.AddItem(room.Room + "  " + room.RoomType);
}

// The call box's port is closed while the front desk is away; the front desk was unloaded
// when this window opened, so however it closes (the close box included) it comes back,
// and its load opens the port again.
void Form10::Form_Unload() {
    StopCallCapture(app());
    ReturnToFrontDesk(app());
}

void Form10::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        app().Unload(*this);
        ReturnToFrontDesk(app());
    }
}

void Form10::Combo1_Click() {
    Text3.SetEnabled(true);
    Text4.SetEnabled(true);
    const std::optional<long> n = records::FindRoom(app().data(), Left(Combo1.Text(), 3));
    if (!n)
        return;
    const records::RoomRecord room = records::ReadRoom(app().data(), *n);
    Label6.SetCaption(room.Room);
    Label17.SetCaption(room.Room);
    Text2.SetText(room.Clean);
    Text3.SetText(room.Vacant);
    Text4.SetText(room.Service);
    Text1.SetText(RTrim(room.Comment));
    // Check-out, moves and emergency check-out set these for an occupied room.
    if (room.Service == "O") {
        Text3.SetEnabled(false);
        Text4.SetEnabled(false);
    }
}

bool Form10::SaveShownRoom() {
    if (Label6.Caption().empty())
        return true;
    const std::optional<long> n = records::FindRoom(app().data(), Label6.Caption());
    if (!n)
        return true;
    records::RoomRecord room = records::ReadRoom(app().data(), *n);

    // A box still showing the stored letter as loaded is that letter left as it is (older
    // files can hold a blank): kept, before and without any check of typed text.
    const bool cleanAsLoaded = LeftAsLoaded(Text2, room.Clean);
    const std::string clean = cleanAsLoaded ? room.Clean : StatusLetter(Text2.Text(), "YN");
    if (!cleanAsLoaded && clean.empty()) {
        MsgBox("The Clean code must be Y (clean) or N (dirty). Please type Y or N.", vbOKOnly, "WARNING");
        Text2.SetFocus();
        return false;
    }
    // A disabled box (an occupied room) cannot be changed here: its letter stays as stored.
    std::string vacant = room.Vacant;
    if (Text3.Enabled() && !LeftAsLoaded(Text3, room.Vacant)) {
        vacant = StatusLetter(Text3.Text(), "YN");
        if (vacant.empty()) {
            MsgBox("The Vacant code must be Y (vacant) or N (non-vacant). Please type Y or N.", vbOKOnly,
                   "WARNING");
            Text3.SetFocus();
            return false;
        }
    }
    std::string service = room.Service;
    if (Text4.Enabled() && !LeftAsLoaded(Text4, room.Service)) {
        service = StatusLetter(Text4.Text(), "AOX");
        if (service.empty()) {
            MsgBox(
                "The Service code must be A (available), O (occupied) or X (out of order). Please type A, O "
                "or X.",
                vbOKOnly, "WARNING");
            Text4.SetFocus();
            return false;
        }
    }

    room.Clean = clean;
    room.Vacant = vacant;
    room.Service = service;
    room.Comment = Fixed(UCase(Text1.Text()), records::RoomRecord::kCommentWidth);
    records::WriteRoom(app().data(), *n, room);
    return true;
}

void Form10::Command3_Click() {
    if (!SaveShownRoom())
        return;
    Label6.SetCaption("");
    Text2.SetText("");
    Text3.SetText("");
    Text4.SetText("");
    Text1.SetText("");
    Combo1.SetText("select room");
    Combo1.SetFocus();
}

void Form10::Command1_Click() {
    if (!SaveShownRoom())
        return;
    app().Unload(*this);
    ReturnToFrontDesk(app());
}

void Form10::Command2_Click() {
    if (MsgBox("Are you sure you want to make all rooms clean?", vbYesNo | vbQuestion, "Set To Clean") ==
        vbYes) {
        const std::vector<records::RoomRecord> rooms = records::ReadAllRooms(app().data());
        for (size_t i = 0; i < rooms.size(); ++i) {
            records::RoomRecord room = rooms[i];
            room.Clean.assign(1, 'Y');
            records::WriteRoom(app().data(), static_cast<long>(i) + 1, room);
        }
    }
    app().Unload(*this);
    ReturnToFrontDesk(app());
}

// A click flips the letter once; Clean is stored at once both ways, Vacant only when it
// becomes "N", Service only by a later save.
void Form10::Text2_Click() {
    if (Text2.Text() == "Y") {
        Text2.SetText("N");
        SaveShownRoom();
    } else if (Text2.Text() == "N") {
        Text2.SetText("Y");
        SaveShownRoom();
    }
}

void Form10::Text3_Click() {
    if (Text3.Text() == "Y") {
        Text3.SetText("N");
        SaveShownRoom();
    } else if (Text3.Text() == "N") {
        Text3.SetText("Y");
    }
}

void Form10::Text4_Click() {
    if (Text4.Text() == "A")
        Text4.SetText("X");
    else if (Text4.Text() == "X")
        Text4.SetText("A");
}

} // namespace vantreth
