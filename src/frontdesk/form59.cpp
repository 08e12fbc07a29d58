#include "form59.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/rerate_rooms.h"

namespace vantreth {

using namespace platform;

std::string LockedRoomLine(const records::RoomRecord& room) {
    return room.Room + "  " + StoredStr(room.Rate);
}

TypedRate ReadTypedRate(const std::string& text) {
    if (Trim(text).empty())
        return {};
    if (!IsNonNegativeNumber(text))
        return {.valid = false};
    return {.rate = static_cast<float>(Val(text))};
}

Form59::Form59(App& app) : AppForm(app, kName, "Set Rates", {150, 100, 588, 420}) {
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
    Text1.on_key_press = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
    Text2.on_key_press = [this](int& KeyAscii) { Text2_KeyPress(KeyAscii); };
    Text3.on_key_press = [this](int& KeyAscii) { Text3_KeyPress(KeyAscii); };
    Text6.on_key_press = [this](int& KeyAscii) { Text6_KeyPress(KeyAscii); };
    Text5.on_key_press = [this](int& KeyAscii) { Text5_KeyPress(KeyAscii); };
    Text4.on_key_press = [this](int& KeyAscii) { Text4_KeyPress(KeyAscii); };
}

void Form59::Form_Load() {
    Show();
    const records::RateTable weekday = records::ReadRateTable(app().data(), records::kWeekdayFile);
    Label7.SetCaption(StoredText(weekday.SingleRate));
    Label8.SetCaption(StoredText(weekday.DoubleRate));
    Label9.SetCaption(StoredText(weekday.JqzRate));
    const records::RateTable weekend = records::ReadRateTable(app().data(), records::kWeekendFile);
    Label20.SetCaption(StoredText(weekend.SingleRate));
    Label19.SetCaption(StoredText(weekend.DoubleRate));
    Label18.SetCaption(StoredText(weekend.JqzRate));
}

std::optional<records::RateTable> Form59::SaveTable(std::string_view fileName, TextBox& single, TextBox& dbl,
                                                    TextBox& jqz, Label& singleShown, Label& doubleShown,
                                                    Label& jqzShown) {
    TextBox* boxes[] = {&single, &dbl, &jqz};
    TypedRate typed[3];
    for (int i = 0; i < 3; ++i) {
        typed[i] = ReadTypedRate(boxes[i]->Text());
        if (!typed[i].valid) {
            MsgBox("The rate you typed is not a number. Please type the rate in dollars, like 45.50.",
                   vbOKOnly, "WARNING");
            boxes[i]->SetFocus();
            return std::nullopt;
        }
        if (RefusedCents(*boxes[i]))
            return std::nullopt;
    }

    records::RateTable table = records::ReadRateTable(app().data(), fileName);
    if (typed[0].rate)
        table.SingleRate = *typed[0].rate;
    if (typed[1].rate)
        table.DoubleRate = *typed[1].rate;
    if (typed[2].rate)
        table.JqzRate = *typed[2].rate;
    records::WriteRateTable(app().data(), fileName, table);

    singleShown.SetCaption(StoredText(table.SingleRate));
    doubleShown.SetCaption(StoredText(table.DoubleRate));
    jqzShown.SetCaption(StoredText(table.JqzRate));
    single.SetText("");
    dbl.SetText("");
    jqz.SetText("");
    return table;
}

std::optional<double> Form59::DayOfWeek() {
    const std::optional<double> day = records::ReadDayOfWeek(app().data());
    if (!day)
        MsgBox(
            "The rates were saved, but the day of the week has not been set, so the rooms keep their rates. "
            "Please set the day of the week.",
            vbOKOnly, "WARNING");
    return day;
}

void Form59::Command1_Click() {
    const std::optional<records::RateTable> table =
        SaveTable(records::kWeekdayFile, Text1, Text2, Text3, Label7, Label8, Label9);
    if (!table)
        return;
    const std::optional<double> day = DayOfWeek();
    if (day && *day <= 4) {
        for (const records::RoomRecord& room : records::ReRateRooms(app().data(), *table)) {
            List1.AddItem(LockedRoomLine(room));
            List1.SetVisible(true);
            Label24.SetVisible(true);
        }
    }
    Text6.SetFocus();
}

void Form59::Command2_Click() {
    const std::optional<records::RateTable> table =
        SaveTable(records::kWeekendFile, Text6, Text5, Text4, Label20, Label19, Label18);
    if (!table)
        return;
    const std::optional<double> day = DayOfWeek();
    if (day && *day >= 5)
        records::ReRateRooms(app().data(), *table);
    Command3.SetFocus();
}

void Form59::Command3_Click() {
    app().Unload(*this);
}

} // namespace vantreth
