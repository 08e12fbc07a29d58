// "Check Back In": today's check-outs, the rooms free to take one back, and the re-opening.
#include "form40.h"

#include "folio/check_back_in.h"
#include "folio/form4.h"
#include "platform/text.h"

namespace vantreth {

using namespace platform;

// Centred on a 1024 x 768 screen.
Form40::Form40(App& app) : AppForm(app, kName, "Check Back In", {282, 184, 460, 376}) {
    List1.on_dbl_click = [this] { List1_DblClick(); };
    Combo1.on_click = [this] { Combo1_Click(); };
    Command1.on_click = [this] { Command1_Click(); };
}

void Form40::Form_Load() {
    Show();
    for (const records::HistoryEntry& entry : CheckedOutToday(app().data(), app().clock().DateText()))
        List1.AddItem(CheckedOutLine(entry));
}

// A second double-click starts the room list afresh rather than adding the rooms again.
void Form40::List1_DblClick() {
    if (List1.ListIndex() < 0)
        return;
    Combo1.SetVisible(true);
    Combo1.Clear();
    Combo1.SetText("Select A Room");
    for (const std::string& line : BackInRoomLines(app().data(), app().clock().DateText()))
        Combo1.AddItem(line);
    Combo1.SetFocus();
}

void Form40::Combo1_Click() {
    if (MsgBox("Are you sure you want to check this guest back in?", vbYesNo | vbQuestion, "Check Back In") !=
        vbYes) {
        Combo1.SetVisible(false);
        return;
    }
    const Date today = app().clock().Today();
    const std::optional<records::HistoryEntry> entry =
        FindCheckedOut(CheckedOutToday(app().data(), DateText(today)), List1.Text(), List1.ListIndex());
    if (!entry) {
        MsgBox("This guest is not among today's check-outs. Nothing was written.", vbOKOnly, "WARNING");
        Combo1.SetVisible(false);
        return;
    }
    const BackInPlan plan = PlanCheckBackIn(app().data(), *entry, Left(Combo1.Text(), 3), today);
    if (!plan.problem.empty()) {
        MsgBox(plan.problem, vbOKOnly, "WARNING");
        Combo1.SetFocus();
        return;
    }
    MakeCheckBackIn(app().data(), plan, app().gShift);

    Form4& folio = app().Get<Form4>();
    if (folio.Loaded())
        folio.FillRoomList();

    List1.Clear();
    for (int i = 0; i < 6; ++i)
        List1.AddItem(" ");
    List1.AddItem("  The guest was checked back in");
    Combo1.SetVisible(false);
    Command1.SetCaption("Exit");
    if (plan.chargeTakenBack)
        MsgBox(ChargeTakenBackMessage(*plan.chargeTakenBack), vbOKOnly | vbInformation, "Check Back In");
}

void Form40::Command1_Click() {
    app().Unload(*this);
}

} // namespace vantreth
