#include "form3.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/room_record.h"
#include "records/settings_files.h"

namespace vantreth {

using namespace platform;

std::string RoomNumberProblem(const std::string& room) {
    if (room.size() > 3)
        return "You put too many numbers in the room number.Please fix.";
    if (Trim(room).empty())
        return "Please type the room number.";
    for (unsigned char c : room) {
        if (c < 32 || c == 127 || c == '/' || c == '\\' || c == '"' || c == ',')
            return "A room number cannot hold / \\ \" , or control characters. Please fix.";
    }
    return std::string();
}

Form3::Form3(App& app) : AppForm(app, kName, "Input Rooms", {220, 140, 560, 280}) {
    Text1.on_key_press = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
    Combo1.on_click = [this] { Combo1_Click(); };
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
}

void Form3::Form_Load() {
    Show();
    for (const char* type : {"NQ1", "NDD1", "Q11", "DD1", "PNQ1", "PQ1", "SNQ1", "SQ1", "SNQ3", "SQ3"})
        Combo1.AddItem(type);
    Combo1.SetText("Type");
}

void Form3::Text1_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyReturn) {
        KeyAscii = 0;
        Combo1.SetFocus();
    }
}

void Form3::Combo1_Click() {
    Command1.SetFocus();
}

// A new room is clean, vacant and available, at the rate its group has in today's rate
// table (0 when the day or the group is unknown), not rate-locked.
void Form3::Command1_Click() {
    const std::string room = Text1.Text();
    if (std::string problem = RoomNumberProblem(room); !problem.empty()) {
        MsgBox(problem, vbOKOnly, "ATTENTION");
        Text1.SetFocus();
        return;
    }
    if (Combo1.Text() == "Type" || Trim(Combo1.Text()).empty()) {
        MsgBox("You did not select a room type.", vbOKOnly, "ATTENTION");
        Combo1.SetFocus();
        return;
    }
    if (records::FindRoom(app().data(), room)) {
        MsgBox("This room number already exists.", vbOKOnly, "ATTENTION");
        Text1.SetText("");
        Text1.SetFocus();
        return;
    }

    records::RoomRecord record;
    record.Room = Fixed(room, records::RoomRecord::kRoomWidth);
    record.RoomType = Fixed(Combo1.Text(), records::RoomRecord::kRoomTypeWidth);
    record.Clean = "Y";
    record.Vacant = "Y";
    record.Service = "A";
    if (auto day = records::ReadDayOfWeek(app().data()); day && *day >= 1 && *day <= 7) {
        auto table =
            records::ReadRateTable(app().data(), *day >= 5 ? records::kWeekendFile : records::kWeekdayFile);
        record.Rate = table.RateForType(record.RoomType).value_or(0.0f);
    }
    records::AppendRoom(app().data(), record);

    Text1.SetText("");
    Combo1.SetText("Type");
    Label14.SetCaption(room);
    Text1.SetFocus();
}

void Form3::Command2_Click() {
    app().Unload(*this);
}

} // namespace vantreth
