#include "form16.h"

#include "app/front_desk_service.h"
#include "audit/form13.h"
#include "audit/night_audit.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/month_change.h"
#include "records/rerate_rooms.h"
#include "records/settings_files.h"
#include "records/shift_record.h"

namespace vantreth {

using namespace platform;

namespace {
constexpr const char* kNoInitialsMessage = "You did not Enter initials for the new clerk.";
constexpr const char* kNotADateMessage =
    "The date to change to is not a date. Please type it as month/day/year, for example 12/7/26.";
} // namespace

Form16::Form16(App& app) : AppForm(app, kName, "Change Date", {280, 160, 440, 270}) {
    SetKeyPreview(true);
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Text2.on_change = [this] { Text2_Change(); };
    Text3.on_key_press = [this](int& KeyAscii) { Text3_KeyPress(KeyAscii); };
}

// The month of the day being closed is kept from here on, also when the change is cancelled.
void Form16::Form_Load() {
    Show();
    const std::string today = app().clock().DateText();
    app().gMonthBefore = records::MonthNumberText(today);
    records::WriteMonthChangeLine(app().data(), today, {app().gMonthBefore, app().gMonthAfter});
    Text1.SetText(DateText(AddDays(app().clock().Today(), 1)));
    Text2.SetText("A");
    Text3.SetFocus();
}

void Form16::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        Command2_Click();
    }
}

void Form16::Text2_Change() {
    Text2.SetText("A");
}

void Form16::Text3_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyReturn) {
        KeyAscii = 0;
        Command1.SetFocus();
    }
}

void Form16::Command1_Click() {
    if (Text3.Text().empty()) {
        MsgBox(kNoInitialsMessage, vbOKOnly, "WARNING");
        return;
    }
    // Everything is checked and read before the date moves, so a refusal changes nothing.
    const std::optional<Date> newDate = ParseDate(Text1.Text(), app().clock().Today().year);
    if (!newDate) {
        MsgBox(kNotADateMessage, vbOKOnly, "WARNING");
        Text1.SetFocus();
        return;
    }
    const double day = audit::NewDayNumber(records::ReadDayOfWeek(app().data()), *newDate);
    const std::string initials = UCase(Text3.Text());
    records::ShiftRecord shift;
    shift.Shift = Fixed(Text2.Text(), 1);
    shift.Clerk = Fixed(initials, 2);

    app().clock().SetDate(*newDate);
    records::WriteShift(app().data(), shift);
    FrontDesk& frontDesk = TheFrontDesk(app());
    frontDesk.ShowShiftAndClerk(Text2.Text(), initials);

    const std::string newToday = app().clock().DateText();
    app().gMonthAfter = records::MonthNumberText(newToday);
    records::WriteMonthChangeLine(app().data(), newToday, {app().gMonthBefore, app().gMonthAfter});

    records::WriteNumberFile(app().data(), records::kDayOfWeekFile, day);
    // A rate table never saved changes no rate (rather than setting the rooms to 0).
    records::ReRateRoomsForDay(app().data(), day);
    frontDesk.ShowDayName(day);
    // The day has moved: a second change would skip a day that was never audited, and a
    // second charge would bill the new day's night in advance. Both wait for the next audit.
    Form13& audit = app().Get<Form13>();
    audit.Command2.SetEnabled(true);
    audit.Command4.SetEnabled(false);
    audit.Command1.SetEnabled(false);
    app().Unload(*this);
}

void Form16::Command2_Click() {
    app().Unload(*this);
}

} // namespace vantreth
