// "Duplicate?": Yes readies the check-in window for a further room, No leaves it.
#include "form15.h"

#include "app/front_desk_service.h"
#include "checkin/form2.h"

namespace vantreth {

Form15::Form15(App& app) : AppForm(app, kName, "Duplicate?", {330, 240, 332, 156}) {
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
}

void Form15::Form_Load() {
    Show();
    app().gDuplicatePromptOpen = 1;
    Command2.SetFocus();
}

void Form15::Form_Unload() {
    app().gDuplicatePromptOpen = 0;
}

// Closing the prompt is taken as "No": the stay is written and the check-in is over.
void Form15::Form_QueryClose() {
    Command2_Click();
}

// The same guest into a further room: the guest's details stay, room and payment start
// again. The fee shown belongs to the stay just written: it is taken off the panel, so a
// fee for the further room is added to that room's total alone. The guest panel stays
// disabled until a payment is chosen again, though emptying the cash box enables it.
void Form15::Command1_Click() {
    app().gDuplicatePromptOpen = 0;
    form2& checkIn = app().Get<form2>();
    checkIn.Frame6.SetEnabled(true);
    checkIn.Command3.SetEnabled(true);
    checkIn.Frame1.SetEnabled(true);
    checkIn.Combo1.Clear();
    checkIn.FillFreeRoomList();
    checkIn.Combo1.SetText("select room");
    checkIn.Combo2.SetText("choose payment");
    checkIn.Text2.SetText("");
    checkIn.Label24.SetCaption("");
    checkIn.Label25.SetCaption("");
    checkIn.Text7.SetText("");
    checkIn.Frame5.SetEnabled(false);
    checkIn.Label30.SetCaption("");
    checkIn.Frame7.SetEnabled(false);
    checkIn.Frame7.SetVisible(false);
    checkIn.Combo1.SetFocus();
    app().Unload(*this);
}

void Form15::Command2_Click() {
    app().Unload(*this);
    app().Unload(app().Get<form2>());
    ReturnToFrontDesk(app());
    app().gDuplicatePromptOpen = 0;
}

} // namespace vantreth
