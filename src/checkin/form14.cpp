#include "form14.h"

#include "checkin/form2.h"
#include "platform/text.h"

#include <initializer_list>

namespace vantreth {

using namespace platform;
using records::HistoryEntry;

namespace {

// The parts one after the other, in one string: a search lists thousands of lines.
std::string Joined(std::initializer_list<std::string_view> parts) {
    size_t size = 0;
    for (std::string_view part : parts)
        size += part.size();
    std::string line;
    line.reserve(size);
    for (std::string_view part : parts)
        line += part;
    return line;
}

} // namespace

std::string HistoryPrefixLine(const HistoryEntry& entry) {
    return Joined({entry.FolioNumber, " ", RTrimmed(entry.LastName), ", ", RTrimmed(entry.FirstName), "    ",
                   RTrimmed(entry.Street), " ", RTrimmed(entry.City), "  ", entry.State, "  ", entry.Zip});
}

std::string HistoryWholeNameLine(const HistoryEntry& entry) {
    return Joined({entry.FolioNumber, " ", RTrimmed(entry.LastName), "  ", RTrimmed(entry.FirstName), "    ",
                   Fixed(entry.Street, 25), " ", RTrimmed(entry.City), "  ", entry.State, "  ", entry.Zip});
}

std::vector<std::string> HistoryNotFoundLines() {
    return {" ", " ", " ", Space(43) + "Sorry, no one found under that name"};
}

Form14::Form14(App& app) : AppForm(app, kName, "History", {200, 120, 860, 386}) {
    SetKeyPreview(true);
    Text1.on_change = [this] { Text1_Change(); };
    Text1.on_key_press = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    List1.on_click = [this] { List1_Click(); };
}

void Form14::Form_Load() {
    m_keepList = false;
    Show();
    Text1.SetFocus();
}

void Form14::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyEscape)
        return;
    KeyAscii = 0;
    CloseHistory();
}

void Form14::Text1_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyReturn)
        return;
    KeyAscii = 0;
    if (Text1.Text().empty())
        CloseHistory();
    else
        Command2.SetFocus();
}

// Last names are stored in capitals and compared as typed, so lower case finds nothing.
void Form14::Text1_Change() {
    if (m_keepList)
        return;
    List1.Clear();
    const std::string typed = Text1.Text();
    if (typed.empty())
        return;
    records::ScanHistory(
        app().data(), records::HistoryKey::LastName,
        [&](std::string_view last) { return last.starts_with(typed); },
        [&](const HistoryEntry& entry) { List1.AddItem(HistoryPrefixLine(entry)); });
}

void Form14::Command1_Click() {
    List1.Clear();
    const std::string name = UCase(Text1.Text());
    bool found = false;
    records::ScanHistory(
        app().data(), records::HistoryKey::LastName,
        [&](std::string_view last) { return RTrimmed(last) == name; },
        [&](const HistoryEntry& entry) {
            List1.AddItem(HistoryWholeNameLine(entry));
            found = true;
        });
    if (found)
        return;
    for (const std::string& line : HistoryNotFoundLines())
        List1.AddItem(line);
    m_keepList = true;
    Text1.SetText("");
    m_keepList = false;
    Text1.SetFocus();
}

void Form14::List1_Click() {
    const double folio = Val(Left(List1.Text(), 5));
    const bool forReservation = app().gHistoryForReservation == 1;
    // Folio numbers start at 1: a blank line or the apology picks nobody.
    if (folio != 0) {
        for (const HistoryEntry& entry :
             records::FindInHistory(app().data(), records::HistoryKey::FolioNumber,
                                    [&](std::string_view n) { return Val(n) == folio; })) {
            Form& window = app().Get(forReservation ? kAddReservationWindow : kCheckInWindow);
            if (window.Loaded())
                dynamic_cast<TakesReturningGuest&>(window).ShowReturningGuest(entry, app().gClerk);
            break;
        }
    }
    if (!forReservation)
        FocusCheckIn(true);
    app().gHistoryForReservation = 0;
    app().Unload(*this);
}

void Form14::Command2_Click() {
    CloseHistory();
}

// Opened by the check-in window's load, the clerk goes on with the room list; opened by
// its "History" button, with the registration card after a pick, the last name after a cancel.
void Form14::FocusCheckIn(bool picked) {
    form2& checkIn = app().Get<form2>();
    if (!checkIn.Loaded())
        return;
    if (app().gHistoryFromButton != 1)
        checkIn.Combo1.SetFocus();
    else if (picked)
        checkIn.Text17.SetFocus();
    else
        checkIn.Text9.SetFocus();
}

void Form14::CloseHistory() {
    app().Unload(*this);
    if (app().gHistoryForReservation != 1)
        FocusCheckIn(false);
    app().gHistoryForReservation = 0;
}

} // namespace vantreth
