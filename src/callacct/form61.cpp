#include "form61.h"

#include "callacct/form60.h"
#include "platform/text.h"
#include "printing/call_reports.h"
#include "records/call_record.h"

namespace vantreth {

using namespace platform;

std::vector<std::string> PhoneLogDatesOffered(const Date& today, int month) {
    std::vector<std::string> dates;
    if (month < 1 || month > 12)
        return dates;
    for (Date day = today; static_cast<int>(dates.size()) < kPhoneLogDatesOffered; day = AddDays(day, -1)) {
        const std::string text = DateText(day);
        if (static_cast<int>(Val(Left(text, 2))) == month)
            dates.push_back(text);
    }
    return dates;
}

Form61::Form61(App& app) : AppForm(app, kName, "Choose Date", {420, 140, 340, 400}) {
    SetKeyPreview(true);
    List1.on_dbl_click = [this] { List1_DblClick(); };
    Command1.on_click = [this] { Command1_Click(); };
}

void Form61::Form_Load() {
    Show();
    const int month = static_cast<int>(Val(Left(app().Get<Form60>().Combo2.Text(), 2)));
    for (const std::string& date : PhoneLogDatesOffered(app().clock().Today(), month))
        List1.AddItem(date);
}

// The "Cancel / Esc" button answers the Esc key.
void Form61::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        Command1_Click();
    }
}

void Form61::List1_DblClick() {
    Form60& reports = app().Get<Form60>();
    app().Load(reports); // the listing needs its window, also when it was closed meanwhile
    const std::string day = List1.Text();
    reports.List1.Clear();
    const std::vector<records::CallRecord> calls = records::ReadPhoneLog(app().data(), day);
    for (const records::CallRecord& call : calls) {
        reports.Label1.SetCaption(day);
        reports.List1.AddItem(printing::CallListLine(call));
        reports.Command2.SetEnabled(true);
    }
    if (calls.empty()) {
        MsgBox("No phone Log Report for that date.", vbOKOnly, "ATTENTION!");
        reports.Command2.SetEnabled(false);
        reports.Label1.SetCaption("");
        return;
    }
    app().Unload(*this);
}

void Form61::Command1_Click() {
    app().Unload(*this);
}

} // namespace vantreth
