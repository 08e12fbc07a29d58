#include "form24.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/room_record.h"

namespace vantreth {

using namespace platform;

Form24::Form24(App& app) : AppForm(app, kName, "Change Rates on Room Type", {240, 160, 340, 200}) {
    Combo1.on_click = [this] { Combo1_Click(); };
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
}

void Form24::Form_Load() {
    Show();
    for (const char* type : {"NQ1", "NDD1", "Q11", "DD1", "SNQ1", "SQ1"})
        Combo1.AddItem(type);
}

void Form24::Combo1_Click() {
    Label4.SetCaption(Combo1.Text());
    for (const records::RoomRecord& room : records::ReadAllRooms(app().data())) {
        if (RTrim(room.RoomType) == Combo1.Text()) {
            Label2.SetCaption(StoredText(room.Rate));
            break;
        }
    }
    Text1.SetFocus();
}

void Form24::Command1_Click() {
    if (Label4.Caption().empty()) {
        MsgBox("You did not select a room type. Please choose one from the list.", vbOKOnly, "WARNING");
        Combo1.SetFocus();
        return;
    }
    if (!IsNonNegativeNumber(Text1.Text())) {
        MsgBox("The rate you typed is not a number. Please type the rate in dollars, like 45.50.", vbOKOnly,
               "WARNING");
        Text1.SetFocus();
        return;
    }
    if (RefusedCents(Text1))
        return;
    const float rate = static_cast<float>(Val(Text1.Text()));
    auto rooms = records::ReadAllRooms(app().data());
    for (size_t i = 0; i < rooms.size(); ++i) {
        if (RTrim(rooms[i].RoomType) != Label4.Caption())
            continue;
        rooms[i].Rate = rate;
        records::WriteRoom(app().data(), static_cast<long>(i + 1), rooms[i]);
    }
    Text1.SetText("");
    Combo1.SetFocus();
}

void Form24::Command2_Click() {
    app().Unload(*this);
}

} // namespace vantreth
