#include "form65.h"

namespace vantreth {

Form65::Form65(App& app) : AppForm(app, kName, "Room Availability Report", {100, 80, 520, 516}) {
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
}

void Form65::Form_Load() {
    Show();
    app().Load("Form66");
}

// The date chart only serves this report: it does not stay behind without it.
void Form65::Form_Unload() {
    app().Unload("Form66");
}

void Form65::ShowCounts(const RoomGroupCounts& counts) {
    auto show = [&](platform::Label& label, RoomGroup group) {
        label.SetCaption(std::to_string(counts[group]));
    };
    show(Label17, kGroupNK1);
    show(Label19, kGroupK11);
    show(Label7, kGroupNQ1);
    show(Label8, kGroupQ11);
    show(Label9, kGroupNDD1);
    show(Label10, kGroupDD1);
    show(Label12, kGroupJQZ);
}

void Form65::Command1_Click() {
    app().Unload(*this);
}

void Form65::Command2_Click() {
    app().Load("Form66");
}

// Before a day was picked there is no date to hand over; the arrival-date window then
// starts from today.
void Form65::Command3_Click() {
    const bool dayPicked = Label1.Caption() != Label1.design().caption;
    app().gPresetArrivalDate = dayPicked ? Label1.Caption() : std::string();
    app().Unload(*this);
    app().Load("Form26");
}

} // namespace vantreth
