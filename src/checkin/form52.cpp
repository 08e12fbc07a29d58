#include "form52.h"

#include "app/front_desk_service.h"
#include "checkin/form57.h"
#include "platform/text.h"
#include "printing/past_folio.h"
#include "records/filenames.h"

namespace vantreth {

using namespace platform;
using records::HistoryEntry;

namespace {

bool CardMatches(const HistoryEntry& entry, const std::string& card) {
    return RTrim(entry.RegCard) == card;
}

bool ArrivalMatches(const HistoryEntry& entry, const std::string& date) {
    return RTrim(entry.ArrivalDate) == date;
}

} // namespace

ArrivalDateCheck CheckArrivalDateText(std::string_view text) {
    if (Mid(text, 2, 1) == "/" && Mid(text, 3, 1) == "/")
        return ArrivalDateCheck::DoubleSlash;
    // The year, the last two characters, is not looked at.
    const long length = static_cast<long>(text.size());
    for (long i = 2; i <= length - 2; ++i)
        if (Mid(text, i - 1, 1) == "/" && Mid(text, i, 1) == "0")
            return ArrivalDateCheck::ZeroDay;
    if (Left(text, 1) == "0")
        return ArrivalDateCheck::ZeroMonth;
    return ArrivalDateCheck::Ok;
}

Form52::Form52(App& app) : AppForm(app, kName, "Find Checked Out Guest", {80, 40, 860, 412}) {
    // Esc closes nothing here, whatever its cancel button says.
    SetEscPressesNothing();
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
    Command4.on_click = [this] { Command4_Click(); };
    Command5.on_click = [this] { Command5_Click(); };
    Command6.on_click = [this] { Command6_Click(); };
    Command7.on_click = [this] { Command7_Click(); };
    Text3.on_change = [this] { Text3_Change(); };
    Text3.on_key_press = [this](int& KeyAscii) { Text3_KeyPress(KeyAscii); };
    Text4.on_change = [this] { Text4_Change(); };
    Text4.on_key_press = [this](int& KeyAscii) { Text4_KeyPress(KeyAscii); };
}

void Form52::Form_Load() {
    Show();
}

// However the window closes, the name list goes with it (its pick writes here) and the
// front desk, minimised while this window was open, comes back.
void Form52::Form_Unload() {
    app().Unload(app().Get<Form57>());
    Form& frontDesk = FrontDeskWindow(app());
    if (frontDesk.Loaded())
        frontDesk.SetWindowState(WindowState::Maximized);
    else
        app().Load(frontDesk);
}

void Form52::Command1_Click() {
    Label12.SetVisible(false);
    Command5.SetVisible(false);
    Command7.SetVisible(false);
    Text3.SetVisible(false);
    Label3.SetVisible(false);
    Text4.SetVisible(false);
    Label4.SetVisible(false);
    Frame2.SetVisible(true);
    app().Load(app().Get<Form57>());
}

void Form52::Command2_Click() {
    Text3.SetText("");
    Label12.SetVisible(false);
    Command7.SetVisible(false);
    Frame2.SetVisible(true);
    Text3.SetVisible(true);
    Label3.SetVisible(true);
    Command5.SetVisible(true);
    Text4.SetVisible(false);
    Label4.SetVisible(false);
    Text3.SetFocus();
}

void Form52::Command3_Click() {
    Text4.SetText("");
    Label12.SetVisible(true);
    Command5.SetVisible(false);
    Frame2.SetVisible(true);
    Text4.SetVisible(true);
    Label4.SetVisible(true);
    Text3.SetVisible(false);
    Label3.SetVisible(false);
    Command7.SetVisible(true);
    Text4.SetFocus();
}

void Form52::Command4_Click() {
    app().Unload(*this);
}

void Form52::Text3_Change() {
    Command5.SetEnabled(!Text3.Text().empty());
}

void Form52::Text4_Change() {
    Command7.SetEnabled(!Text4.Text().empty());
}

// Enter goes on to "Go--->"; in an empty box the button is disabled and the focus stays.
void Form52::Text3_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyReturn)
        return;
    KeyAscii = 0;
    Command5.SetFocus();
}

void Form52::Text4_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyReturn)
        return;
    KeyAscii = 0;
    Command7.SetFocus();
}

void Form52::Command5_Click() {
    const std::string card = Text3.Text();
    bool found = false;
    if (!card.empty()) {
        ClearShownStay();
        found = SearchHistory(CardMatches, card, true);
    }
    Text3.SetText("");
    Text3.SetFocus();
    if (!found)
        MsgBox("There was no folio found for register card # " + card, vbOKOnly, "ALERT");
}

void Form52::Command7_Click() {
    const std::string date = Text4.Text();
    switch (CheckArrivalDateText(date)) {
    case ArrivalDateCheck::Ok:
        break;
    case ArrivalDateCheck::DoubleSlash:
        Text4.SetFocus();
        return;
    case ArrivalDateCheck::ZeroDay:
        MsgBox(kZeroDayMessage, vbOKOnly, "WARNING");
        Text4.SetFocus();
        return;
    case ArrivalDateCheck::ZeroMonth:
        MsgBox(kZeroMonthMessage, vbOKOnly, "WARNING");
        Text4.SetFocus();
        return;
    }
    bool found = false;
    if (!date.empty()) {
        ClearShownStay();
        found = SearchHistory(ArrivalMatches, date, false);
    }
    Text4.SetFocus();
    if (!found)
        MsgBox("There was no folio found for that arrival date.", vbOKOnly, "ALERT");
}

bool Form52::SearchHistory(bool (*matches)(const HistoryEntry&, const std::string&), const std::string& key,
                           bool cardSearch) {
    bool found = false;
    // Only the stays whose card (or arrival date) is the one typed are read whole.
    const records::HistoryKey item =
        cardSearch ? records::HistoryKey::RegCard : records::HistoryKey::ArrivalDate;
    for (const HistoryEntry& entry : records::FindInHistory(
             app().data(), item, [&](std::string_view text) { return RTrim(text) == key; })) {
        if (!matches(entry, key))
            continue;
        // The folio is read before anything of the stay is shown.
        const std::vector<std::string> folio = printing::PastFolioListLines(app().data(), entry);
        found = true;
        Command6.SetEnabled(true);
        FillFields(entry, cardSearch ? key : entry.RegCard);
        List1.Clear();
        for (const std::string& line : folio)
            List1.AddItem(line);
        if (MsgBox("Is this the guest you are looking for?", vbYesNo | vbQuestion, "?") == vbYes)
            break;
    }
    return found;
}

void Form52::ClearShownStay() {
    List1.Clear();
    for (Label* label : {&Label5, &Label6, &Label7, &Label8, &Label9, &Label10, &Label11, &Label13, &Label14,
                         &Label16, &Label18})
        label->SetCaption("");
}

void Form52::FillFields(const HistoryEntry& entry, const std::string& regCard) {
    Label5.SetCaption(Trim(entry.FirstName));
    Label6.SetCaption(Trim(entry.LastName));
    Label7.SetCaption(Trim(entry.Street));
    Label8.SetCaption(Trim(entry.City));
    Label9.SetCaption(entry.State);
    Label10.SetCaption(entry.Zip);
    Label11.SetCaption(entry.Phone);
    Label13.SetCaption(regCard);
    Label14.SetCaption(entry.FolioNumber);
    Label16.SetCaption(entry.CheckInTime);
    Label18.SetCaption(entry.CheckOutTime);
    Label20.SetCaption(entry.PayCode);
    Label22.SetCaption(entry.DBNumber);
}

void Form52::ShowPickedStay(const HistoryEntry& entry) {
    const std::vector<std::string> folio = printing::PastFolioListLines(app().data(), entry);
    Label5.SetCaption(RTrim(entry.LastName));
    Label6.SetCaption(RTrim(entry.FirstName));
    Label7.SetCaption(RTrim(entry.Street));
    Label8.SetCaption(RTrim(entry.City));
    Label9.SetCaption(RTrim(entry.State));
    Label10.SetCaption(RTrim(entry.Zip));
    Label11.SetCaption(entry.Phone);
    Label13.SetCaption(entry.RegCard);
    Label14.SetCaption(entry.FolioNumber);
    Label16.SetCaption(entry.CheckInTime);
    Label18.SetCaption(entry.CheckOutTime);
    Label20.SetCaption(entry.PayCode);
    Label22.SetCaption(entry.DBNumber);
    Command6.SetEnabled(true);
    List1.Clear();
    for (const std::string& line : folio)
        List1.AddItem(line);
}

void Form52::ShowNoFurtherInfo() {
    List1.Clear();
    for (const std::string& line : printing::NoFurtherInfoListLines())
        List1.AddItem(line);
}

// The shown stay is found again by its folio number, exactly as the history holds it.
void Form52::Command6_Click() {
    const std::string folio = Label14.Caption();
    for (const HistoryEntry& entry : records::FindInHistory(app().data(), records::HistoryKey::FolioNumber,
                                                            [&](std::string_view n) { return n == folio; })) {
        printing::PrintPastFolio(app().printer(), app().data(), app().settings(), entry);
        return;
    }
}

} // namespace vantreth
