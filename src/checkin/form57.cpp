#include "form57.h"

#include "checkin/form52.h"
#include "platform/text.h"

#include <algorithm>

namespace vantreth {

using namespace platform;
using records::HistoryEntry;

std::string HistoryNameListLine(const HistoryEntry& entry) {
    // A date longer than its column of 7 eats into the three blanks after it, keeping one.
    const std::string_view arrived = RTrimmed(entry.ArrivalDate);
    const size_t gap = arrived.size() < 9 ? 10 - arrived.size() : 1;
    const std::string_view last = RTrimmed(entry.LastName), street = RTrimmed(entry.Street),
                           city = RTrimmed(entry.City);
    // Built in one string: the list holds thousands of lines.
    std::string line;
    line.reserve(entry.FolioNumber.size() + arrived.size() + gap + last.size() + entry.FirstName.size() +
                 street.size() + city.size() + entry.State.size() + entry.Zip.size() + 10);
    line.append(entry.FolioNumber).append(" ").append(arrived).append(gap, ' ').append(last).append(", ");
    line.append(entry.FirstName).append(street).append(" ").append(city).append("  ").append(entry.State);
    line.append("  ").append(entry.Zip);
    return line;
}

bool LastNameBeginsWith(const HistoryEntry& entry, std::string_view typed) {
    return typed.size() <= entry.LastName.size() &&
           std::string_view(entry.LastName).substr(0, typed.size()) == typed;
}

double FolioNumberOfLine(std::string_view line) {
    return Val(Left(line, 5));
}

Form57::Form57(App& app) : AppForm(app, kName, "", {8, 8, 900, 396}) {
    // Esc closes nothing here, whatever its cancel button says.
    SetEscPressesNothing();
    Text1.on_change = [this] { Text1_Change(); };
    List1.on_dbl_click = [this] { List1_DblClick(); };
    Command2.on_click = [this] { Command2_Click(); };
}

void Form57::Form_Load() {
    Show();
    Text1.SetFocus();
}

void Form57::Text1_Change() {
    List1.Clear();
    const std::string typed = Text1.Text();
    if (typed.empty())
        return;
    records::ScanHistory(
        app().data(), records::HistoryKey::LastName,
        [&](std::string_view last) { return last.starts_with(typed); },
        [&](const HistoryEntry& entry) { List1.AddItem(HistoryNameListLine(entry)); });
}

void Form57::List1_DblClick() {
    Form52& finder = app().Get<Form52>();
    finder.List1.Clear();
    const double folio = FolioNumberOfLine(List1.Text());
    bool shown = false;
    for (const HistoryEntry& entry :
         records::FindInHistory(app().data(), records::HistoryKey::FolioNumber,
                                [&](std::string_view n) { return Val(n) == folio; })) {
        finder.ShowPickedStay(entry);
        shown = true;
        break;
    }
    if (!shown)
        finder.ShowNoFurtherInfo();
    app().Unload(*this);
}

void Form57::Command2_Click() {
    app().Unload(*this);
}

} // namespace vantreth
