// "Check In": the handlers of the walk-in check-in window.
#include "form2.h"

#include "app/call_capture_service.h"
#include "app/front_desk_service.h"
#include "checkin/form15.h"
#include "checkin/form64.h"
#include "frontdesk/form70.h"
#include "platform/decimal.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/norent_record.h"
#include "records/room_record.h"
#include "records/settings_files.h"
#include "records/shift_record.h"
#include "stay/checkin_commit.h"

namespace vantreth {

using namespace platform;

namespace {
constexpr const char* kChoosePayment = "choose payment";
constexpr const char* kNoRentWarning =
    "The first and last name matches a name in the no rent list. Just thought I would let you know.";
} // namespace

form2::form2(App& app) : AppForm(app, kName, "Check In", {40, 20, 900, 600}) {
    SetKeyPreview(true);
    Check1.on_click = [this] { Check1_Click(); };
    Combo1.on_click = [this] { Combo1_Click(); };
    Combo2.on_click = [this] { Combo2_Click(); };
    Combo3.on_click = [this] { Combo3_Click(); };
    Combo3.on_drop_down = [this] { Combo3_DropDown(); };
    Combo4.on_click = [this] { Combo4_Click(); };
    Combo5.on_click = [this] { Combo5_Click(); };
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
    Command4.on_click = [this] { Command4_Click(); };
    Command5.on_click = [this] { Command5_Click(); };
    Command6.on_click = [this] { Command6_Click(); };
    Command7.on_click = [this] { Command7_Click(); };
    Text1.on_change = [this] { Text1_Change(); };
    Text1.on_click = [this] { Text1_Click(); };
    Text1.on_key_press = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
    Text2.on_change = [this] { Text2_Change(); };
    Text2.on_key_press = [this](int& KeyAscii) { Text2_KeyPress(KeyAscii); };
    Text7.on_change = [this] { Text7_Change(); };
    Text9.on_change = [this] { Text9_Change(); };
    Text10.on_change = [this] { Text10_Change(); };
    Text10.on_key_press = [this](int& KeyAscii) { Text10_KeyPress(KeyAscii); };
    Text17.on_key_press = [this](int& KeyAscii) { Text17_KeyPress(KeyAscii); };
    Text20.on_key_press = [this](int& KeyAscii) { Text20_KeyPress(KeyAscii); };
    // The Enter walk through the boxes and their own key rules.
    m_guest.TakeKeys(
        {&Text7, &Text9, &Text11, &Text12, &Text13, &Text14, &Text15, &Text16, &Text18, &Text19, &Text21});
    m_guest.WalkGuestBoxes(*this, Text17, Text21);
    m_guest.Walk(Text7, Text9);
    m_guest.Walk(Text21, Text20);
    Frame1.on_click = [this] { BringPromptsToFront(true); };
    Frame1.on_dbl_click = [this] { BringPromptsToFront(true); };
    Frame4.on_click = [this] { BringPromptsToFront(true); };
    Frame4.on_dbl_click = [this] { BringPromptsToFront(true); };
    Frame5.on_click = [this] { BringPromptsToFront(true); };
    Frame5.on_dbl_click = [this] { BringPromptsToFront(true); };
    Frame3.on_click = [this] { BringPromptsToFront(false); };
    Frame3.on_dbl_click = [this] { BringPromptsToFront(false); };
    Frame6.on_click = [this] { BringPromptsToFront(false); };
    Frame6.on_dbl_click = [this] { BringPromptsToFront(false); };
    Frame7.on_click = [this] { BringPromptsToFront(false); };
    Frame7.on_dbl_click = [this] { BringPromptsToFront(false); };
}

// ---------------------------------------------------------------------------
// Opening and leaving

void form2::Form_Load() {
    Show();
    Text21.SetText(app().gClerk);
    app().gTaxRate = records::ReadTaxRate(app().data()).value_or(0);
    FillFreeRoomList();
    StartStayBoxes(*this, stay::PaymentList(), stay::OptionalRateList(app().data()));
    // History opens beside the window; its pick or cancel sends the focus to the room list.
    if (app().IsRegistered("Form14"))
        app().Load("Form14");
}

void form2::FillFreeRoomList() {
    for (const std::string& entry : stay::FreeRoomList(app().data(), app().clock().DateText()))
        Combo1.AddItem(entry);
}

// However the window goes, the call box port is closed and the front desk comes back;
// its load opens the port again. The prompts that belong to this window go with it.
void form2::Form_Unload() {
    app().Unload(app().Get<Form15>());
    app().Unload(app().Get<Form64>());
    // History opened with the check-in serves it; it goes with it.
    if (app().gHistoryForReservation != 1)
        app().Unload("Form14");
    StopCallCapture(app());
    ReturnToFrontDesk(app());
}

void form2::Form_KeyPress(int& KeyAscii) {
    if (m_guest.IgnoresEnter(ActiveControl(), KeyAscii))
        return;
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        Command3_Click();
    }
}

void form2::ShowReturningGuest(const records::HistoryEntry& entry, const std::string& clerk) {
    ShowHistoryGuest(*this, entry, clerk);
}

void form2::Command3_Click() {
    app().gHistoryFromButton = 0;
    app().Unload(*this);
    ReturnToFrontDesk(app());
}

void form2::Command4_Click() {
    app().gHistoryFromButton = 1;
    if (app().IsRegistered("Form14"))
        app().Load("Form14");
}

// ---------------------------------------------------------------------------
// Price

void form2::RecomputeStayTotal() {
    Label24.SetCaption("");
    Label25.SetCaption("");
    const stay::StayPrice price =
        stay::PriceStay(Text2.Text(), Text1.Text(), Check1.Value() == 1, app().gTaxRate);
    Label24.SetCaption(price.nightly);
    Label25.SetCaption(price.total);
}

void form2::Check1_Click() {
    RecomputeStayTotal();
    if (Text7.Enabled())
        Text7.SetText(stay::StayTotalAsCash(Label25.Caption()));
}

void form2::Command1_Click() {
    RecomputeStayTotal();
    Text7.SetText(stay::StayTotalAsCash(Label25.Caption()));
}

void form2::Combo1_Click() {
    if (Combo1.Text().empty()) {
        Combo1.SetText("Select Room");
        Combo1.SetFocus();
        return;
    }
    if (Text1.Text().empty())
        Text1.SetText("1");
    app().gTaxRate = records::ReadTaxRate(app().data()).value_or(0);
    Text2.SetEnabled(true);
    for (const records::RoomRecord& room : records::ReadAllRooms(app().data())) {
        if (room.Room + " " + room.RoomType != Combo1.Text())
            continue;
        Text2.SetText(AmountText(Decimal::Of(room.Rate)));
        RecomputeStayTotal();
        break;
    }
    Check1.SetEnabled(true);
    Command1.SetEnabled(true);
    Combo3.SetEnabled(true);
    Command5.SetEnabled(true);
    Combo2.SetFocus();
}

void form2::Combo3_Click() {
    app().gTenPercentTaken = 0;
    if (!Combo3.Text().empty()) {
        Text2.SetText(Combo3.Text());
        RecomputeStayTotal();
        if (Combo2.Text() == stay::kCashOrCheck)
            Text7.SetText(stay::StayTotalAsCash(Label25.Caption()));
    }
    Combo3.SetText("select another rate");
    Combo2.SetFocus();
}

void form2::Combo3_DropDown() {
    if (Combo3.ListCount() == 0)
        app().Load(app().Get<Form70>());
}

void form2::Command5_Click() {
    if (app().gTenPercentTaken == 1)
        return;
    Text2.SetText(stay::TenPercentOff(Text2.Text()));
    const stay::StayPrice price =
        stay::PriceStay(Text2.Text(), Text1.Text(), Check1.Value() == 1, app().gTaxRate);
    Label24.SetCaption(price.nightly);
    Label25.SetCaption(Decimal::Parse(price.total).Rounded(2).Text());
    app().gTenPercentTaken = 1;
    if (!Text7.Text().empty())
        Text7.SetText(stay::StayTotalAsCash(Label25.Caption()));
}

// A number of nights is typed one key at a time: each change moves on.
void form2::Text1_Change() {
    if (Text1.Text().empty())
        return;
    RecomputeStayTotal();
    if (Text7.Enabled())
        Text7.SetText(stay::StayTotalAsCash(Label25.Caption()));
    if (Text2.Text().empty())
        Combo1.SetFocus();
    else
        Combo2.SetFocus();
}

void form2::Text1_Click() {
    Text1.SetText("");
}

void form2::Text1_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyReturn)
        return;
    RecomputeStayTotal();
    Combo2.SetFocus();
}

void form2::Text2_Change() {
    app().gTenPercentTaken = 0;
    Combo2.SetEnabled(true);
    RecomputeStayTotal();
    if (Text7.Enabled())
        Text7.SetText(stay::StayTotalAsCash(Label25.Caption()));
}

void form2::Text2_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyReturn)
        return;
    RecomputeStayTotal();
    Text7.SetText(stay::StayTotalAsCash(Label25.Caption()));
    Combo2.SetFocus();
}

// ---------------------------------------------------------------------------
// Payment

void form2::Combo2_Click() {
    Command6.SetEnabled(true);
    if (!Text9.Text().empty() && !Text10.Text().empty())
        Command2.SetEnabled(true);
    const std::string& payment = Combo2.Text();
    if (payment == stay::kCashOrCheck) {
        Combo5.Clear();
        Frame3.SetEnabled(true);
        Text7.SetEnabled(true);
        Frame2.SetEnabled(false);
        Combo5.SetText("");
        Frame4.SetEnabled(false);
        Text7.SetText(stay::StayTotalAsCash(Label25.Caption()));
        // The cash box's change enables the guest panel, unless the amount was already there.
        Frame5.SetEnabled(true);
        FocusGuestDetails();
    } else if (payment == stay::kDirectBill) {
        Text7.SetText("");
        Combo5.Clear();
        Combo4.SetText("select type");
        Frame3.SetEnabled(false);
        Frame2.SetEnabled(false);
        Frame4.SetEnabled(true);
        Combo5.SetText("select direct bill client");
        for (const std::string& entry : stay::DirectBillList(app().data()))
            Combo5.AddItem(entry);
        Combo5.SetFocus();
    } else if (stay::PayCodeFor(payment)) {
        Text7.SetText("");
        Text7.SetEnabled(false);
        Combo5.SetText("");
        Frame4.SetEnabled(false);
        Frame5.SetEnabled(true);
        FocusGuestDetails();
    }
}

void form2::Combo5_Click() {
    Label6.SetVisible(true);
    Label26.SetVisible(true);
    Label9.SetVisible(true);
    Label27.SetVisible(true);
    if (const std::optional<double> balance = stay::DirectBillBalance(app().data(), Combo5.Text()))
        Label9.SetCaption(CStr(*balance));
    Label26.SetCaption("Room " + Left(Combo1.Text(), 4));
    Frame5.SetEnabled(true);
    FocusGuestDetails();
}

void form2::Combo4_Click() {
    Frame5.SetEnabled(true);
    FocusGuestDetails();
}

void form2::FocusGuestDetails() {
    if (Text14.Text().empty())
        Text9.SetFocus();
    else
        Text17.SetFocus();
}

void form2::Text7_Change() {
    Frame5.SetEnabled(true);
}

// ---------------------------------------------------------------------------
// Additional fee

void form2::Command6_Click() {
    app().Load(app().Get<Form64>());
}

void form2::Command7_Click() {
    const Decimal fee = Decimal::Parse(Label30.Caption());
    Label25.SetCaption((Decimal::Parse(Label25.Caption()) - fee).Text());
    if (Val(Text7.Text()) > 0)
        Text7.SetText((Decimal::Parse(Text7.Text()) - fee).Text());
    Label30.SetCaption("");
    Frame7.SetEnabled(false);
    Frame7.SetVisible(false);
    if (Combo2.Text() != kChoosePayment)
        Text9.SetFocus();
    else
        Combo2.SetFocus();
}

// ---------------------------------------------------------------------------
// Names and the Enter walk

void form2::Text9_Change() {
    if (Text9.Text().empty())
        Command2.SetEnabled(false);
    if (!Text9.Text().empty() && !Text10.Text().empty())
        Command2.SetEnabled(true);
}

void form2::Text10_Change() {
    if (Combo2.Text() != kChoosePayment)
        Command2.SetEnabled(true);
    if (Text10.Text().empty())
        Command2.SetEnabled(false);
}

void form2::WarnIfNoRent() {
    const int matches = records::NoRentMatches(app().data(), Text9.Text(), Text10.Text());
    for (int i = 0; i < matches; ++i)
        MsgBox(kNoRentWarning, vbOKOnly, "WARNING");
}

void form2::Text10_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyReturn)
        return;
    WarnIfNoRent();
    m_guest.KeyPress(Text10, KeyAscii);
}

// Enter moves on only from a registration card of three characters or more.
void form2::Text17_KeyPress(int& KeyAscii) {
    if (Text17.Text().size() > 2)
        m_guest.KeyPress(Text17, KeyAscii);
}

void form2::Text20_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyReturn)
        return;
    if (!Text9.Text().empty() && !Text10.Text().empty() && Command2.Enabled())
        Command2.SetFocus();
}

// ---------------------------------------------------------------------------
// Prompts in front

void form2::Form_Click() {
    BringPromptsToFront(true);
}

void form2::BringPromptsToFront(bool attentionToo) {
    Form15& duplicate = app().Get<Form15>();
    if (app().gDuplicatePromptOpen == 1 && duplicate.Loaded())
        duplicate.ZOrder();
    if (!attentionToo)
        return;
    Form70& attention = app().Get<Form70>();
    if (app().gAttentionOpen == 1 && attention.Loaded())
        attention.ZOrder();
}

// ---------------------------------------------------------------------------
// The commit

stay::CheckInEntry form2::EntryFromBoxes() const {
    stay::CheckInEntry entry{.roomChoice = Combo1.Text(),
                             .clerk = Text21.Text(),
                             .nights = Text1.Text(),
                             .rate = Text2.Text(),
                             .taxExempt = Check1.Value() == 1,
                             .payment = Combo2.Text(),
                             .account = Combo5.Text(),
                             .cash = Text7.Text(),
                             .totalStay = Label25.Caption(),
                             .feeShowing = Frame7.Enabled() && !Label30.Caption().empty(),
                             .feeDescription = Label28.Caption(),
                             .feeAmount = Label30.Caption()};
    TakeGuestBoxes(entry, *this);
    return entry;
}

std::optional<double> form2::CheckedTaxRate(const stay::CheckInEntry& entry) {
    const std::string room3 = Left(entry.roomChoice, 3);
    std::optional<stay::EntryProblem> problem = stay::CheckEntry(entry);
    std::optional<double> taxRate;
    if (!problem && records::FindGuestByRoom(app().data(), records::kGuestFile, room3))
        problem = stay::EntryProblem::RoomTaken;
    if (!problem && stay::LedgerTaken(app().data(), entry, app().clock().Today()))
        problem = stay::EntryProblem::LedgerTaken;
    if (!problem) {
        taxRate = records::ReadTaxRate(app().data());
        if (!taxRate)
            problem = stay::EntryProblem::NoTaxRate;
    }
    if (!problem)
        return taxRate;
    MsgBox(stay::ProblemMessage(*problem, room3), vbOKOnly, "WARNING");
    using P = stay::EntryProblem;
    FocusRefusedBox(*problem, {{P::NoRoom, Combo1, "select room"},
                               {P::RoomTaken, Combo1, "select room"},
                               {P::NoRegCard, Text17},
                               {P::NoDirectBill, Combo5, "select direct bill client"},
                               {P::NoPayment, Combo2},
                               {P::BadNights, Text1},
                               {P::BadRate, Text2},
                               {P::RateCents, Text2},
                               {P::RateTooLarge, Text2},
                               {P::BadChildren, Text19},
                               {P::BadCash, Text7},
                               {P::CashCents, Text7},
                               {P::CashTooLarge, Text7},
                               {P::LedgerTaken, Combo1},
                               {P::NoTaxRate}});
    return std::nullopt;
}

double form2::AskPhoneDeposit() {
    for (;;) {
        const std::string answer = InputBox("If the guest is giving you cash for a phone deposit, enter "
                                            "the amount below. If not, just press "
                                            "'Enter' or click OK.",
                                            "Phone Deposit?");
        if (!stay::DepositAnswerValid(answer))
            MsgBox(stay::kBadDepositMessage, vbOKOnly, "WARNING");
        else if (const char* refusal = Trim(answer).empty() ? nullptr : records::TypedAmountRefusal(answer))
            MsgBox(refusal, vbOKOnly, "WARNING");
        else
            return Val(answer);
    }
}

void form2::LockAfterCheckIn() {
    Command2.SetEnabled(false);
    Command6.SetEnabled(false);
    Command3.SetEnabled(false);
    Frame1.SetEnabled(false);
    Frame3.SetEnabled(false);
    Frame4.SetEnabled(false);
    Frame5.SetEnabled(false);
    Frame6.SetEnabled(false);
    Frame7.SetEnabled(false);
}

// Everything is checked before the first write, so a refused check-in writes nothing.
void form2::Command2_Click() {
    const stay::CheckInEntry entry = EntryFromBoxes();
    const std::optional<double> taxRate = CheckedTaxRate(entry);
    if (!taxRate)
        return;

    const records::ShiftRecord shift = records::ReadShift(app().data());
    WarnIfNoRent();
    if (MsgBox("Are you sure you want to check this guest in now?", vbYesNo | vbQuestion, "Check In") !=
        vbYes)
        return;
    app().gHistoryFromButton = 0;

    const double deposit = stay::AsksForDeposit(entry) ? AskPhoneDeposit() : 0;

    app().gTaxRate = *taxRate;
    const stay::CheckInSession session = CheckInSessionNow(shift.Shift);
    stay::WriteCheckIn(app().data(), stay::PlanCheckIn(app().data(), entry, session, deposit));

    LockAfterCheckIn();
    app().Load(app().Get<Form15>());
}

} // namespace vantreth
