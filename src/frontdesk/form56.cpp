#include "form56.h"

#include "frontdesk/form1.h"
#include "platform/text.h"
#include "records/rerate_rooms.h"
#include "records/settings_files.h"

namespace vantreth {

using namespace platform;

Form56::Form56(App& app) : AppForm(app, kName, "Change Day of Week", {320, 160, 232, 250}) {
    List1.on_click = [this] { List1_Click(); };
    Command1.on_click = [this] { Command1_Click(); };
}

void Form56::Form_Load() {
    Show();
    List1.Clear();
    for (int day = 1; day <= 7; ++day)
        List1.AddItem(std::to_string(day) + "  " + DayName(day));
}

void Form56::List1_Click() {
    const int day = static_cast<int>(Val(Left(List1.Text(), 1)));
    if (day < 1 || day > 7)
        return;
    records::WriteDayOfWeek(app().data(), day);
    app().Get<Form1>().Label37.SetCaption(DayName(day));
    // A table never saved changes no rate (rather than setting every room to 0).
    records::ReRateRoomsForDay(app().data(), day);
    app().Unload(*this);
}

void Form56::Command1_Click() {
    app().Unload(*this);
}

} // namespace vantreth
