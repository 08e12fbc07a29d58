// "Add Reservation": the handlers of the window in which a reservation is taken.
#include "form26.h"

#include "app/call_capture_service.h"
#include "app/front_desk_service.h"
#include "frontdesk/form70.h"
#include "platform/decimal.h"
#include "platform/text.h"
#include "records/reservation_files.h"
#include "records/room_record.h"
#include "records/settings_files.h"
#include "reservations/form33.h"
#include "reservations/form44.h"
#include "reservations/form45.h"
#include "reservations/reserve.h"
#include "stay/checkin_commit.h"

namespace vantreth {

using namespace platform;

Form26::Form26(App& app) : AppForm(app, kName, "Add Reservation", {40, 20, 900, 620}) {
    SetKeyPreview(true);
    // The handlers, in the order of the controls on the screen.
    Combo1.on_click = [this] { Combo1_Click(); };
    Text1.on_change = [this] { Text1_Change(); };
    Text1.on_click = [this] { Text1_Click(); };
    Text1.on_key_press = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
    Text2.on_change = [this] { Text2_Change(); };
    Text2.on_key_press = [this](int& KeyAscii) { Text2_KeyPress(KeyAscii); };
    Check1.on_click = [this] { Check1_Click(); };
    Combo3.on_click = [this] { Combo3_Click(); };
    Combo3.on_drop_down = [this] { Combo3_DropDown(); };
    Command5.on_click = [this] { Command5_Click(); };
    Command1.on_click = [this] { Command1_Click(); };
    Combo2.on_click = [this] { Combo2_Click(); };
    Text4.on_key_press = [this](int& KeyAscii) { Text4_KeyPress(KeyAscii); };
    Combo5.on_click = [this] { Combo5_Click(); };
    Text7.on_change = [this] { Text7_Change(); };
    Command4.on_click = [this] { Command4_Click(); };
    Text10.on_change = [this] { Text10_Change(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
    // The Enter walk through the boxes and their own key rules.
    m_guest.TakeKeys({&Text5, &Text6, &Text9, &Text10, &Text11, &Text12, &Text13, &Text14, &Text15, &Text16,
                      &Text17, &Text18, &Text19, &Text20, &Text21});
    m_guest.WalkGuestBoxes(*this, Text18, Text21);
    m_guest.WalkInOrder({&Text21, &Text20}, Command2);
    m_guest.WalkInOrder({&Text5, &Text6, &Text4}, Text9);
}

// ---------------------------------------------------------------------------
// Opening and leaving

// The window waits minimised while the arrival-date window asks for the date.
void Form26::Form_Load() {
    Show();
    SetWindowState(WindowState::Minimized);
    app().Load(app().Get<Form33>());
    Text21.SetText(app().gClerk);
    StartStayBoxes(*this, stay::PaymentList(), stay::OptionalRateList(app().data()));
    // Each opening uses up a confirmation number. Without one no reservation can be taken,
    // so the window goes and the clerk is told why.
    try {
        Label27.SetCaption(CStr(records::IssueConfirmationNumber(app().data())));
    } catch (const IoError&) {
        app().Unload(*this);
        throw;
    }
}

// However the window goes, its helper windows go with it, the call box port is closed and
// the front desk comes back. A front desk that stayed loaded behind this window does not
// load again, so call capture is started here instead.
void Form26::Form_Unload() {
    app().Unload(app().Get<Form33>());
    app().Unload(app().Get<Form44>());
    app().Unload(app().Get<Form45>());
    if (app().gHistoryForReservation == 1) {
        app().Unload("Form14");
        app().gHistoryForReservation = 0;
    }
    StopCallCapture(app());
    Form& frontDesk = FrontDeskWindow(app());
    if (frontDesk.Loaded())
        StartCallCapture(app());
    else
        app().Load(frontDesk);
}

void Form26::Form_KeyPress(int& KeyAscii) {
    if (m_guest.IgnoresEnter(ActiveControl(), KeyAscii))
        return;
    if (KeyAscii != vbKeyEscape)
        return;
    KeyAscii = 0;
    Command3_Click();
}

void Form26::ShowReturningGuest(const records::HistoryEntry& entry, const std::string& clerk) {
    ShowHistoryGuest(*this, entry, clerk);
}

void Form26::Command3_Click() {
    app().Unload(*this);
    ReturnToFrontDesk(app());
}

void Form26::Command4_Click() {
    app().gHistoryForReservation = 1;
    app().Load("Form14");
}

// ---------------------------------------------------------------------------
// Room and price

double Form26::TaxUnlessExempt() const {
    return Check1.Value() == 1 ? 0.0 : app().gTaxRate;
}

void Form26::ShowTotals(double taxRate, bool roundStay) {
    const stay::StayPrice price = stay::PriceStay(Text2.Text(), Text1.Text(), false, taxRate);
    Label24.SetCaption(price.nightly);
    Label25.SetCaption(roundStay ? Decimal::Parse(price.total).Rounded(2).Text() : price.total);
}

void Form26::Combo1_Click() {
    Text2.SetEnabled(true);
    app().gTaxRate = records::ReadTaxRate(app().data()).value_or(0);
    if (reservations::RoomOverbooked(app().data(), Left(Combo1.Text(), 3), Text3.Text(),
                                     app().clock().Today().year)) {
        MsgBox("Overbooking on this room. Please choose another room.", vbOKOnly, "Overbooking");
        Combo1.SetFocus();
        return;
    }
    for (const records::RoomRecord& room : records::ReadAllRooms(app().data())) {
        if (room.Room + " " + room.RoomType != Combo1.Text())
            continue;
        Text2.SetText(AmountText(Decimal::Of(room.Rate)));
        ShowTotals(TaxUnlessExempt());
        break;
    }
    Combo2.SetEnabled(true);
    Combo3.SetEnabled(true);
    Command1.SetEnabled(true);
    Check1.SetEnabled(true);
    Command5.SetEnabled(true);
    Combo2.SetFocus();
}

void Form26::Combo3_DropDown() {
    if (Combo3.ListCount() == 0)
        app().Load(app().Get<Form70>());
}

void Form26::Combo3_Click() {
    app().gTenPercentTaken = 0;
    if (!Combo3.Text().empty()) {
        Text2.SetText(Combo3.Text());
        ShowTotals(TaxUnlessExempt());
    }
    Combo2.SetFocus();
}

void Form26::Check1_Click() {
    ShowTotals(TaxUnlessExempt());
}

void Form26::Command1_Click() {
    ShowTotals(app().gTaxRate);
}

void Form26::Command5_Click() {
    if (app().gTenPercentTaken == 1)
        return;
    Text2.SetText(stay::TenPercentOff(Text2.Text()));
    ShowTotals(app().gTaxRate, true);
    app().gTenPercentTaken = 1;
}

// The nights are typed one key at a time: the first key moves on.
void Form26::Text1_Change() {
    if (Text1.Text().empty())
        return;
    ShowTotals(app().gTaxRate);
    if (Text2.Text().empty())
        Combo1.SetFocus();
    else
        Combo2.SetFocus();
}

void Form26::Text1_Click() {
    Text1.SetText("");
}

void Form26::Text1_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyReturn)
        return;
    KeyAscii = 0;
    ShowTotals(app().gTaxRate);
    Combo2.SetFocus();
}

void Form26::Text2_Change() {
    app().gTenPercentTaken = 0;
    Combo2.SetEnabled(true);
    ShowTotals(app().gTaxRate);
}

void Form26::Text2_KeyPress(int& KeyAscii) {
    if (KeyAscii != vbKeyReturn)
        return;
    KeyAscii = 0;
    ShowTotals(TaxUnlessExempt());
    Combo2.SetFocus();
}

// ---------------------------------------------------------------------------
// Payment

void Form26::Combo2_Click() {
    const std::string& payment = Combo2.Text();
    if (payment == stay::kCashOrCheck) {
        Label30.SetVisible(false);
        Frame3.SetEnabled(true);
        Frame5.SetEnabled(true);
        Frame2.SetEnabled(false);
        Frame4.SetEnabled(false);
        Text9.SetFocus();
    } else if (payment == stay::kDirectBill) {
        Text7.SetText("");
        Frame3.SetEnabled(false);
        Frame2.SetEnabled(false);
        Frame4.SetEnabled(true);
        Combo5.Clear();
        Combo5.SetText("select direct bill client");
        for (const std::string& account : stay::DirectBillList(app().data()))
            Combo5.AddItem(account);
        Combo5.SetFocus();
    } else if (stay::PayCodeFor(payment)) {
        Frame5.SetEnabled(true);
        Frame2.SetEnabled(true);
        Frame3.SetEnabled(false);
        Frame4.SetEnabled(false);
        Text7.SetText("");
        Text5.SetFocus();
        Label30.SetVisible(true);
        Label30.SetCaption(payment == "VISA/MASTER" ? "VISA / MASTER" : payment);
    }
}

void Form26::Combo5_Click() {
    Frame5.SetEnabled(true);
    Text9.SetFocus();
}

void Form26::Text7_Change() {
    Frame5.SetEnabled(true);
}

void Form26::Text10_Change() {
    Command2.SetEnabled(true);
}

// ---------------------------------------------------------------------------
// The Enter walk through the boxes

// Enter in the card amount makes the guest's boxes available.
void Form26::Text4_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyReturn)
        Frame5.SetEnabled(true);
    m_guest.KeyPress(Text4, KeyAscii);
}

// ---------------------------------------------------------------------------
// Reserve Now

void Form26::Command2_Click() {
    reservations::ReservationEntry entry{.roomChoice = Combo1.Text(),
                                         .clerk = Text21.Text(),
                                         .nights = Text1.Text(),
                                         .arrival = Text3.Text(),
                                         .rate = Text2.Text(),
                                         .taxExempt = Check1.Value() == 1,
                                         .payment = Combo2.Text(),
                                         .cardNumber = Text5.Text(),
                                         .cardExpiry = Text6.Text(),
                                         .account = Combo5.Text(),
                                         .cardAmount = Text4.Text(),
                                         .cashAmount = Text7.Text(),
                                         .confirmationNumber = Label27.Caption()};
    TakeGuestBoxes(entry, *this);
    const Date today = app().clock().Today();

    // Everything is checked before the first write, so a refused reservation writes nothing.
    std::optional<reservations::ReservationProblem> problem =
        reservations::CheckReservation(entry, today.year);
    if (!problem)
        problem = reservations::CheckAgainstStored(app().data(), entry, today.year);
    if (problem) {
        MsgBox(reservations::ReservationProblemMessage(*problem, entry.confirmationNumber), vbOKOnly,
               "WARNING");
        using P = reservations::ReservationProblem;
        if (*problem == P::AlreadyStored)
            Command2.SetEnabled(false);
        FocusRefusedBox(*problem, {{P::RoomReserved, Combo1},
                                   {P::NoRoom, Combo1, "select room"},
                                   {P::NoLastName, Text9},
                                   {P::BadArrival, Text3},
                                   {P::BadNights, Text1},
                                   {P::BadRate, Text2},
                                   {P::RateCents, Text2},
                                   {P::RateTooLarge, Text2},
                                   {P::NoDirectBill, Combo5, "select direct bill client"},
                                   {P::BadCash, Text7},
                                   {P::CashCents, Text7},
                                   {P::CashTooLarge, Text7},
                                   {P::BadCard, Text4},
                                   {P::CardCents, Text4},
                                   {P::CardTooLarge, Text4}});
        return;
    }
    if (MsgBox("Are you sure you want to make this reservation now?", vbYesNo | vbQuestion, "Check In") !=
        vbYes)
        return;

    reservations::StoreReservation(app().data(), entry,
                                   {.shift = app().gShift, .clerk = app().gClerk, .today = today});
    // Stored once. A further click finds the confirmation number stored and stores nothing;
    // "Yes" in "Duplicate?" gives a further reservation its own number.
    Command2.SetEnabled(false);
    app().Load(app().Get<Form44>());
}

} // namespace vantreth
