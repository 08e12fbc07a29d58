// "View Folio": showing the stay's ledger, postings, the printed folio and check-out.
#include "form4.h"

#include "platform/decimal.h"
#include "platform/engine.h"

#include "app/call_capture_service.h"
#include "app/front_desk_service.h"
#include "folio/folio_postings.h"
#include "folio/form9.h"
#include "platform/text.h"
#include "printing/folio_report.h"
#include "records/direct_bill.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/posting_codes.h"

namespace vantreth {

using namespace platform;
using records::GuestRecord;

namespace {

constexpr const char* kMissingLedgerMessage =
    "Cannot find the guests folio information. Nothing was changed.";
constexpr const char* kGuestGoneMessage =
    "This guest is no longer checked in to this room. Please choose the room again.";

} // namespace

Form4::Form4(App& app) : AppForm(app, kName, "View Folio", {40, 30, 900, 640}) {
    SetKeyPreview(true);
    Combo1.on_click = [this] { Combo1_Click(); };
    Combo2.on_change = [this] { Combo2_Change(); };
    Combo3.on_click = [this] { Combo3_Click(); };
    Text1.on_click = [this] { Text1_Click(); };
    Text2.on_change = [this] { Text2_Change(); };
    Text2.on_key_press = [this](int& KeyAscii) { Text2_KeyPress(KeyAscii); };
    Text3.on_click = [this] { Text3_Click(); };
    Text3.on_key_press = [this](int& KeyAscii) { Text3_KeyPress(KeyAscii); };
    Text4.on_click = [this] { Text4_Click(); };
    Text4.on_key_press = [this](int& KeyAscii) { Text4_KeyPress(KeyAscii); };
    Label17.on_dbl_click = [this] { Label17_DblClick(); };
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
    Command4.on_click = [this] { Command4_Click(); };
    Command5.on_click = [this] { Command5_Click(); };
    Command6.on_click = [this] { Command6_Click(); };
}

void Form4::Form_Load() {
    Show();
    Label19.SetCaption(app().clock().DateText());
    Frame1.SetEnabled(false);
    Label22.SetVisible(false);
    // Items only: the box keeps its "Select Room" text until a choice is made.
    for (const std::string& item : FolioRoomItems(app().data()))
        Combo1.AddItem(item);
    // The posting codes and their legend ("E=Room Rent"), in the code table's order.
    for (const records::PostingCode& row : records::kPostingCodes)
        if (row.IsPosting())
            Combo3.AddItem(std::string(row.code));
    for (const records::PostingCode& row : records::kPostingCodes)
        if (row.IsPosting())
            Combo2.AddItem(std::string(row.code) + "=" + std::string(row.name));
    Text3.SetFocus();
}

// Call capture stays off while the folio is open; however the window closes, the front
// desk comes back and its load starts call capture again.
void Form4::Form_Unload() {
    StopCallCapture(app());
    ReturnToFrontDesk(app());
}

void Form4::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        Command2_Click();
    }
}

void Form4::Form_Click() {
    Combo3.SetText("");
    Text2.SetText("");
    Text4.SetText("");
}

void Form4::FillRoomList() {
    Combo1.Clear();
    for (const std::string& item : FolioRoomItems(app().data()))
        Combo1.AddItem(item);
}

std::optional<long> Form4::SlotOnShow() {
    if (Label8.Caption().empty() || m_slot < 1 ||
        m_slot > records::GuestCount(app().data(), records::kGuestFile))
        return std::nullopt;
    const GuestRecord guest = records::ReadGuest(app().data(), records::kGuestFile, m_slot);
    if (guest.IsFree() || guest.FolioNumber != m_folio || guest.Room != Label8.Caption())
        return std::nullopt;
    return m_slot;
}

void Form4::Combo1_Click() {
    if (Combo1.Text().empty())
        return;
    Combo3.SetText("");
    Text2.SetText("");
    Text1.SetText("");
    Text4.SetText("");
    const std::optional<long> slot = FindGuestByItem(app().data(), Combo1.Text());
    if (!slot)
        return;
    ShowFolio(*slot);
    Command2.SetFocus();
}

void Form4::Text3_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyReturn)
        return;
    KeyAscii = 0;
    if (Val(Left(Text3.Text(), 1)) > 2) {
        Text3.SetText("");
        Text3.SetFocus();
        return;
    }
    const std::optional<long> slot = FindGuestByRoomExact(app().data(), Text3.Text());
    if (!slot) {
        Text3.SetText("");
        Text3.SetFocus();
        return;
    }
    const bool shown = ShowFolio(*slot);
    Text3.SetText("");
    if (shown)
        Command4.SetFocus();
    else
        Text3.SetFocus();
}

bool Form4::ShowFolio(long slot) {
    const GuestRecord guest = records::ReadGuest(app().data(), records::kGuestFile, slot);

    SetSumsVisible(false);
    SetDirectBillVisible(false);
    Frame1.SetEnabled(true);
    Command3.SetEnabled(true);
    Command4.SetEnabled(true);
    Command5.SetEnabled(true);
    Label22.SetCaption("");

    Label1.SetCaption(RTrim(guest.LastName) + ", " + RTrim(guest.FirstName));
    Label7.SetCaption(guest.PayCode);
    Label8.SetCaption(guest.Room);
    Label9.SetCaption(guest.FolioNumber);
    Label10.SetCaption(guest.ArrivalDate);
    Label11.SetCaption(guest.DepartureDate);
    m_slot = slot;
    m_folio = guest.FolioNumber;

    if (guest.DBNumber != std::string(8, ' ')) {
        SetDirectBillVisible(true);
        // A code no account carries leaves the account line empty and no balance shown.
        Label34.SetCaption("");
        const StayAccount account = AccountOfStay(app().data(), guest);
        if (account.record) {
            Label22.SetCaption(account.line);
            Label34.SetCaption(
                Decimal::Of(records::ReadAccount(app().data(), *account.record).Balance).Rounded(2).Text());
        }
    }

    const bool found = ListLedger(slot, false);
    if (!found) {
        // The balance of the guest shown before must not stay on screen under this one.
        Label18.SetCaption("");
        for (Label* sum : {&Label23, &Label25, &Label27, &Label29, &Label31})
            sum->SetCaption("");
    }
    return found;
}

bool Form4::ListLedger(long slot, bool blankExemptTax) {
    const double rate = FolioTaxRate(app().data());
    const GuestRecord guest = records::ReadGuest(app().data(), records::kGuestFile, slot);
    List1.Clear();
    List1.AddItem(std::string(kFolioHeading));
    List1.AddItem(std::string(kFolioRuleWidth, '='));

    const std::optional<std::vector<records::StayLedgerLine>> ledger = ReadFolioLedger(app().data(), guest);
    if (!ledger) {
        for (int i = 0; i < 4; ++i)
            List1.AddItem(" ");
        List1.AddItem(std::string(kFolioMissingLine));
        return false;
    }
    const FolioListing listing = ListFolio(*ledger, rate, guest.IsTaxExempt(), blankExemptTax);
    for (const std::string& line : listing.lines)
        List1.AddItem(line);
    Label18.SetCaption(listing.balance.Text());
    if (!blankExemptTax) {
        Label23.SetCaption(listing.sums.rent.Rounded(2).Text());
        Label25.SetCaption(listing.sums.cash.Rounded(2).Text());
        Label27.SetCaption(listing.sums.phone.Rounded(2).Text());
        Label29.SetCaption(listing.sums.other.Rounded(2).Text());
        Label31.SetCaption(listing.sums.cards.Rounded(2).Text());
    }
    return true;
}

void Form4::SetSumsVisible(bool visible) {
    for (Label* label :
         {&Label21, &Label23, &Label24, &Label25, &Label26, &Label27, &Label28, &Label29, &Label30, &Label31})
        label->SetVisible(visible);
}

void Form4::SetDirectBillVisible(bool visible) {
    for (Label* label : {&Label22, &Label32, &Label33, &Label34})
        label->SetVisible(visible);
}

void Form4::Label17_DblClick() {
    SetSumsVisible(true);
}

void Form4::Text1_Click() {
    if (Text1.Text() == "Y")
        Text1.SetText("N");
    else if (Text1.Text() == "N")
        Text1.SetText("Y");
}

void Form4::Text2_Change() {
    const std::string& amount = Text2.Text();
    if ((amount == "10" || amount == "-10" || amount == "10.00") &&
        Combo3.Text() == records::kPhoneCharge.code) {
        MsgBox(
            "Remember, phone deposits go under L as cash received. If this is a phone deposit, then change "
            "the code to L.",
            vbOKOnly, "WARNING");
    }
}

void Form4::Text2_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyReturn) {
        KeyAscii = 0;
        Text4.SetFocus();
    }
}

void Form4::Text4_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyReturn) {
        KeyAscii = 0;
        Command1.SetFocus();
    }
}

void Form4::Text3_Click() {
    Text3.SetText("");
}

void Form4::Text4_Click() {
    Text4.SetText("");
}

void Form4::Combo2_Change() {
    if (Combo2.Text().empty())
        Combo2.SetText("CODE NAMES");
}

void Form4::Combo3_Click() {
    const std::optional<long> slot = SlotOnShow();
    if (!slot)
        return;
    const GuestRecord guest = records::ReadGuest(app().data(), records::kGuestFile, *slot);
    const CodeDefaults defaults = DefaultsForCode(Combo3.Text(), guest);
    if (defaults.amount)
        Text2.SetText(*defaults.amount);
    if (defaults.comment)
        Text4.SetText(*defaults.comment);
    if (defaults.taxCode)
        Text1.SetText(*defaults.taxCode);
    Text2.SetFocus();
}

void Form4::Command1_Click() {
    if (Combo3.Text().empty()) {
        MsgBox("You did not select a charge code.", vbOKOnly, "?");
        return;
    }
    const PostingInput input{Combo3.Text(), Text2.Text(), Text1.Text(), Text4.Text()};
    if (const std::optional<std::string> problem = PostingProblem(input)) {
        MsgBox(*problem, vbOKOnly, "WARNING");
        if (IsAmountText(input.amountText) && records::TypedAmountRefusal(input.amountText) == nullptr)
            Combo3.SetFocus();
        else
            Text2.SetFocus();
        return;
    }
    const std::optional<long> slot = SlotOnShow();
    if (!slot) {
        MsgBox(kGuestGoneMessage, vbOKOnly, "WARNING");
        return;
    }
    const GuestRecord guest = records::ReadGuest(app().data(), records::kGuestFile, *slot);
    // A posting to a stay whose ledger is gone would start a new ledger holding only it.
    if (!FileExists(records::StayLedgerPath(app().data(), guest))) {
        MsgBox(kMissingLedgerMessage, vbOKOnly, "WARNING");
        return;
    }

    const PostingContext context{app().gShift, app().gClerk, app().clock().DateText()};
    PostToFolio(app().data(), guest, input, context, FolioTaxRate(app().data()));

    Frame1.SetEnabled(true);
    ListLedger(*slot, true);
    Combo3.SetText("");
    Text2.SetText("");
    Text4.SetText("");
}

void Form4::Command2_Click() {
    app().Unload(*this);
    ReturnToFrontDesk(app());
}

void Form4::Command3_Click() {
    const std::optional<long> slot = SlotOnShow();
    if (!slot) {
        MsgBox(kGuestGoneMessage, vbOKOnly, "WARNING");
        return;
    }
    const double rate = FolioTaxRate(app().data());
    GuestRecord guest = records::ReadGuest(app().data(), records::kGuestFile, *slot);
    const std::optional<std::vector<records::StayLedgerLine>> ledger = ReadFolioLedger(app().data(), guest);
    if (!ledger) {
        MsgBox(kMissingLedgerMessage, vbOKOnly, "WARNING");
        return;
    }

    // The mark is worth less than the printout: a record that cannot be written does not
    // stop the folio from printing.
    guest.CheckOutTime = Fixed("-------", 10);
    try {
        platform::AllOrNothing(app().data(),
                               [&] { records::WriteGuest(app().data(), records::kGuestFile, *slot, guest); });
    } catch (const IoError&) {
    }

    // The pay code and the account named are the stored ones, not the labels, which
    // follow the Edit Guest boxes before anything is saved.
    printing::FolioReport report;
    report.form = printing::FolioForm::PrintFolio;
    report.guest = guest;
    report.ledger = *ledger;
    report.taxRate = rate;
    report.timeText = app().clock().TimeText();
    report.dateText = app().clock().DateText();
    report.accountLine = AccountOfStay(app().data(), guest).line;
    printing::PrintFolioReport(app().printer(), app().settings(), report);
}

std::optional<CheckOutState> Form4::CheckOutStateOnShow() {
    const std::optional<long> slot = SlotOnShow();
    if (!slot) {
        MsgBox(kGuestGoneMessage, vbOKOnly, "WARNING");
        return std::nullopt;
    }
    std::optional<CheckOutState> state = ReadCheckOutState(app().data(), *slot);
    if (!state) {
        MsgBox(kMissingLedgerMessage, vbOKOnly, "WARNING");
        return std::nullopt;
    }
    return state;
}

bool Form4::CheckOutAllowed(const CheckOutState& state, bool answered) {
    switch (state.way) {
    case CheckOutWay::BalanceDue:
        // The clerk sees the lines behind the balance, calls posted since the folio was shown too.
        ListLedger(m_slot, false);
        MsgBox("Cannot check this guest out. Showing a balance due.", vbOKOnly, "Balance Due");
        return false;
    case CheckOutWay::Nothing:
        // Before the question nothing happens; after a Yes the clerk is told why not.
        if (answered) {
            ListLedger(m_slot, false);
            MsgBox("This guest now shows a balance of " + state.balance.Text() + ", which pay code " +
                       RTrim(state.guest.PayCode) + " does not settle. The guest was not checked out.",
                   vbOKOnly, "Check Out");
        }
        Text3.SetFocus();
        return false;
    case CheckOutWay::DirectBill:
        // The account the folio names must be the one the stay is charged to.
        if (!state.chargedAccount || state.chargedAccount != state.account.record) {
            MsgBox("Cannot find the direct bill account of this guest. The guest was not checked out.",
                   vbOKOnly, "WARNING");
            Text3.SetFocus();
            return false;
        }
        return true;
    case CheckOutWay::Ordinary:
        return true;
    }
    return false;
}

// Every decision (the way out, the balance, the account charged and named) is taken from
// the stored record and ledger, and taken again after the question: while it is up the
// call box may send a call of this room, which can only be posted once it is answered.
void Form4::Command4_Click() {
    std::optional<CheckOutState> state = CheckOutStateOnShow();
    if (!state || !CheckOutAllowed(*state, false))
        return;
    if (MsgBox("Are you sure you want to check this guest out now?", vbYesNo | vbQuestion, "Check Out") !=
        vbYes) {
        Text3.SetFocus();
        return;
    }
    // The calls leave the call buffer with this step: when the step fails and is undone,
    // they go back into it, to be posted again (PostWaitingCalls).
    PostWaitingCalls(app());
    state = CheckOutStateOnShow();
    if (!state || !CheckOutAllowed(*state, true))
        return;
    CheckOut(*state);
}

void Form4::CheckOut(const CheckOutState& state) {
    const DataFolder& data = app().data();
    Label18.SetCaption(state.balance.Text());
    const std::string timeText = Left(app().clock().TimeText(), 10);
    if (state.way == CheckOutWay::Ordinary) {
        CheckOutOrdinary(data, m_slot, timeText, app().clock().Today());
    } else {
        // The folio is printed before anything is written, so a printer that fails leaves
        // the guest checked in rather than half checked out.
        printing::FolioReport report;
        report.form = printing::FolioForm::CheckOut;
        report.guest = state.guest;
        report.guest.CheckOutTime = Fixed(timeText, 10);
        report.ledger = state.ledger;
        report.taxRate = state.taxRate;
        report.timeText = report.guest.CheckOutTime;
        report.dateText = app().clock().DateText();
        report.accountLine = state.account.line;
        report.account = records::ReadAccount(data, *state.chargedAccount);
        const printing::FolioReportTotals totals =
            printing::PrintFolioReport(app().printer(), app().settings(), report);
        CheckOutDirectBill(data, m_slot, timeText, totals.balance, app().gShift, app().clock().DateText());
    }
    ClearFolio();
    Text3.SetFocus();
}

void Form4::ClearFolio() {
    List1.Clear();
    for (Label* label : {&Label1, &Label7, &Label8, &Label9, &Label10, &Label11, &Label18})
        label->SetCaption("");
    Frame1.SetEnabled(false);
    Command4.SetEnabled(false);
    Command3.SetEnabled(false);
    Command5.SetEnabled(false);
    FillRoomList();
    SetSumsVisible(false);
    SetDirectBillVisible(false);
    m_slot = 0;
    m_folio.clear();
}

// Edit Guest edits one stay at a time: while it is open on one guest it is not turned to
// another (its boxes would be saved over the other's record).
void Form4::Command5_Click() {
    Form9& edit = app().Get<Form9>();
    if (edit.Loaded()) {
        const std::optional<LoadedStay>& editing = edit.Editing();
        if (editing && (editing->slot != m_slot || editing->record.FolioNumber != m_folio)) {
            MsgBox("Edit Guest is open for " + RTrim(editing->record.LastName) + ", " +
                       RTrim(editing->record.FirstName) + " (room " + RTrim(editing->record.Room) +
                       "). Please save or cancel it before editing another guest.",
                   vbOKOnly, "WARNING");
            return;
        }
    }
    app().gSelectedRoom = Label8.Caption();
    app().Load(edit);
}

void Form4::Command6_Click() {
    app().Load("Form40");
}

} // namespace vantreth
