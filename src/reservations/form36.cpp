#include "form36.h"

#include "app/front_desk_service.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/posting_codes.h"
#include "records/settings_files.h"
#include "records/shift_record.h"
#include "reservations/reserve.h"
#include "stay/guest_entry.h"

namespace vantreth {

using namespace platform;
using reservations::CheckInProblem;
using reservations::EditProblem;

Form36::Form36(App& app) : AppForm(app, kName, "Edit Reservation", {40, 30, 780, 540}) {
    Combo1.on_click = [this] { Combo1_Click(); };
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
    Command4.on_click = [this] { Command4_Click(); };
    Command5.on_click = [this] { Command5_Click(); };
    Command6.on_click = [this] { Command6_Click(); };
    Text1.on_change = [this] { Text1_Change(); };
    Text1.on_click = [this] { Text1_Click(); };
    // The Enter walk through the boxes and their own key rules; Enter in the last box
    // leaves the focus on "Check In" without pressing it.
    m_guest.TakeKeys({&Text9, &Text10, &Text11, &Text12, &Text13, &Text14, &Text15, &Text16, &Text17, &Text18,
                      &Text19, &Text20, &Text7, &Text5, &Text2, &Text1, &Text6, &Text3, &Text4});
    m_guest.WalkGuestBoxes(*this, Text17, Text20);
    m_guest.WalkInOrder({&Text20, &Text7, &Text5, &Text2, &Text1, &Text6, &Text3, &Text4}, Command2);
}

// ---------------------------------------------------------------------------
// Load and save

void Form36::Form_Load() {
    Show();
    FrontDeskWindow(app()).SetWindowState(WindowState::Minimized);

    m_found = false;
    m_loaded = records::GuestRecord();
    if (const auto slot = reservations::FindByListKeys(app().data(), app().gResDateKey, app().gResRoomKey)) {
        m_loaded = records::ReadGuest(app().data(), records::kReservationsFile, *slot);
        m_found = true;
        Fill(reservations::BoxesFromRecord(m_loaded));
        app().gResDateKey.clear();
        app().gResRoomKey.clear();
        app().gCurResArrival = RTrim(Text7.Text());
        app().gCurResRoom = m_loaded.Room;
    }

    for (const std::string& entry :
         reservations::FreeRoomsForStay(app().data(), Text7.Text(), Text5.Text(), app().clock().Today().year))
        Combo1.AddItem(entry);
    Text17.SetFocus();
}

void Form36::Fill(const reservations::ReservationBoxes& b) {
    ShowStayBoxes(*this, b);
    Label1.SetCaption(b.clerk);
    Text7.SetText(b.arrival);
    Label24.SetCaption(b.room);
    Label26.SetCaption(b.cashDeposit);
    Label27.SetCaption(b.confirmation);
    Label29.SetCaption(b.cardDeposit);
    Label32.SetCaption(b.reservedOn);
}

reservations::ReservationBoxes Form36::Boxes() const {
    reservations::ReservationBoxes boxes{.clerk = Label1.Caption(),
                                         .arrival = Text7.Text(),
                                         .room = Label24.Caption(),
                                         .cashDeposit = Label26.Caption(),
                                         .cardDeposit = Label29.Caption(),
                                         .confirmation = Label27.Caption(),
                                         .reservedOn = Label32.Caption()};
    TakeStayBoxes(boxes, *this);
    if (m_found) {
        boxes.loadedRate = stay::RateAsLoaded(m_loaded);
        boxes.loadedAdults = CStr(m_loaded.Adults);
        boxes.loadedChildren = CStr(m_loaded.Children);
        boxes.loadedArrival = RTrim(m_loaded.ArrivalDate);
        boxes.loadedDeparture = RTrim(m_loaded.DepartureDate);
    }
    return boxes;
}

void Form36::Combo1_Click() {
    Label24.SetCaption(Left(Combo1.Text(), 3));
}

// A window whose load found nothing writes nothing: the identity it holds is that of an
// earlier edit, whose reservation the empty boxes would overwrite.
bool Form36::Save() {
    const reservations::ReservationBoxes boxes = Boxes();
    std::optional<EditProblem> problem = reservations::CheckRequired(boxes);
    if (!problem && (!m_found || Label24.Caption().empty()))
        return true;
    if (!problem)
        problem = reservations::CheckValues(boxes, app().clock().Today().year);
    if (problem) {
        MsgBox(reservations::EditProblemMessage(*problem), vbOKOnly, "WARNING");
        using P = EditProblem;
        FocusRefusedBox(*problem, {{P::NoArrival, Text7},
                                   {P::BadArrival, Text7},
                                   {P::NoLastName, Text9},
                                   {P::NoFirstName, Text10},
                                   {P::NoDeparture, Text5},
                                   {P::BadDeparture, Text5},
                                   {P::DepartureNotAfterArrival, Text5},
                                   {P::BadAdults, Text18},
                                   {P::BadChildren, Text19},
                                   {P::BadRate, Text6},
                                   {P::RateCents, Text6},
                                   {P::RateTooLarge, Text6}});
        return false;
    }
    switch (reservations::SaveReservation(app().data(), boxes, app().gCurResArrival, app().gCurResRoom,
                                          m_loaded, app().clock().Today().year)) {
    case reservations::SaveResult::Saved:
        break;
    case reservations::SaveResult::Gone:
        // Nothing to save into: the window closes as it would after a save.
        MsgBox(reservations::kGoneMessage, vbOKOnly, "WARNING");
        break;
    case reservations::SaveResult::RoomReserved:
        MsgBox(reservations::RoomReservedMessage(Label24.Caption()), vbOKOnly, "WARNING");
        Combo1.SetFocus();
        return false;
    }
    return true;
}

// The close box does what Exit does: the window promises to save on exit.
void Form36::Form_QueryClose() {
    Command4_Click();
}

void Form36::Command4_Click() {
    if (!Save())
        return;
    FrontDeskWindow(app()).SetWindowState(WindowState::Maximized);
    app().Unload(*this);
}

void Form36::Command5_Click() {
    if (!Save())
        return;
    app().Unload(*this);
    if (app().IsRegistered("Form27"))
        app().Load("Form27");
}

// ---------------------------------------------------------------------------
// Payments

std::optional<long> Form36::OpenSlot() const {
    if (!m_found)
        return std::nullopt;
    return reservations::FindLoadedReservation(app().data(), app().gCurResArrival, app().gCurResRoom,
                                               m_loaded);
}

// A card payment is refused unless the pay code names a card: the day keeps card money in
// the card's own column, and any other pay code would leave it out of the day's totals.
void Form36::TakePayment(reservations::Payment kind) {
    const bool cash = kind == reservations::Payment::Cash;
    if (!cash && !reservations::IsCardPayCode(Text1.Text())) {
        MsgBox(reservations::kNotACardMessage, vbOKOnly, "WARNING");
        Text1.SetFocus();
        return;
    }
    if (const std::optional<long> open = OpenSlot(); open && !cash) {
        const records::GuestRecord stored =
            records::ReadGuest(app().data(), records::kReservationsFile, *open);
        if (const auto refusal = reservations::OtherCardRefusal(stored, Text1.Text())) {
            MsgBox(*refusal, vbOKOnly, "WARNING");
            Text1.SetFocus();
            return;
        }
    }
    const std::string answer = InputBox("Enter payment below.", cash ? "Cash Payment" : "Credit Payment");
    if (Trim(answer).empty())
        return;
    if (const std::optional<std::string> refused = reservations::AnswerProblem(answer)) {
        MsgBox(*refused, vbOKOnly, "WARNING");
        return;
    }
    const std::optional<double> amount = reservations::AnswerAmount(answer);
    const std::optional<long> slot = OpenSlot();
    if (!slot) {
        MsgBox(
            cash
                ? "Problem encountered. Cash payment not recorded. Please exit out then return and try again."
                : "Problem encountered. Crdit payment not recorded. Please exit out then return and try "
                  "again.",
            vbOKOnly, "WARNING");
        return;
    }
    const std::string deposit =
        reservations::TakePayment(app().data(), *slot, kind, *amount, Text1.Text(), app().gShift,
                                  app().gClerk, app().clock().DateText());
    (cash ? m_loaded.CashDeposit : m_loaded.CardDeposit) = deposit;
    (cash ? Label26 : Label29).SetCaption(deposit);
}

// ---------------------------------------------------------------------------
// Cancel

void Form36::Command3_Click() {
    Form& frontDesk = FrontDeskWindow(app());
    if (MsgBox("Are you sure you want to cancel this reservation?", vbYesNo | vbQuestion, "Cancel?") ==
        vbYes) {
        if (!m_found) {
            MsgBox("No reservation is open in this window. Nothing was canceled.", vbOKOnly, "WARNING");
        } else {
            const std::string today = app().clock().DateText();
            reservations::CancelReservation(app().data(),
                                            reservations::MakeCancelRecord(Text9.Text(), Text10.Text(),
                                                                           app().gClerk, today,
                                                                           Label32.Caption()),
                                            today, OpenSlot());
            TheFrontDesk(app()).ShowArrivalCount(reservations::CountArrivals(app().data(), today));
        }
    }
    frontDesk.SetWindowState(WindowState::Maximized);
    app().Unload(*this);
}

// ---------------------------------------------------------------------------
// Check in

std::optional<double> Form36::AskAmount(const std::string& prompt, const std::string& title) {
    for (;;) {
        const std::string answer = InputBox(prompt, title);
        if (Trim(answer).empty())
            return std::nullopt;
        const std::optional<std::string> refused = reservations::AnswerProblem(answer);
        if (!refused)
            return reservations::AnswerAmount(answer);
        MsgBox(*refused, vbOKOnly, "WARNING");
    }
}

// The first reason the reservation cannot be checked in now, the checks of the boxes first;
// when there is none, the tax rate and the reservation's slot are set.
std::optional<CheckInProblem> Form36::CheckInRefusal(const reservations::ReservationBoxes& boxes,
                                                     std::optional<double>& taxRate,
                                                     std::optional<long>& slot) {
    std::optional<CheckInProblem> problem =
        reservations::CheckCheckInBoxes(boxes, app().clock().Today().year);
    if (!problem) {
        taxRate = records::ReadTaxRate(app().data());
        if (!taxRate)
            problem = CheckInProblem::NoTaxRate;
    }
    if (!problem && records::FindGuestByRoom(app().data(), records::kGuestFile, Label24.Caption()))
        problem = CheckInProblem::RoomOccupied;
    if (!problem) {
        slot = OpenSlot();
        if (!slot)
            problem = CheckInProblem::NoReservation;
    }
    if (!problem)
        problem = reservations::CheckCheckInStored(app().data(), boxes, *slot);
    if (!problem)
        problem = reservations::CheckCheckInDay(app().data(), boxes, app().clock().Today());
    return problem;
}

// Tells the clerk why and sends the focus to the box to correct.
void Form36::RefuseCheckIn(CheckInProblem problem) {
    MsgBox(reservations::CheckInProblemMessage(problem), vbOKOnly, "WARNING");
    using P = CheckInProblem;
    FocusRefusedBox(problem, {{P::BadPayCode, Text1, ""},
                              {P::NoPayCode, Text1},
                              {P::DepositCardUnknown, Text1},
                              {P::NoDirectBill, Text2},
                              {P::BadDirectBill, Text2},
                              {P::NoRate, Text6},
                              {P::BadRate, Text6},
                              {P::RateCents, Text6},
                              {P::RateTooLarge, Text6},
                              {P::NoLastName, Text9},
                              {P::NoFirstName, Text10},
                              {P::BadAdults, Text18},
                              {P::BadChildren, Text19},
                              {P::NoDeparture, Text5},
                              {P::BadDeparture, Text5},
                              {P::DepartureNotAfterArrival, Text5},
                              {P::RoomOccupied, Combo1},
                              {P::LedgerTaken, Combo1},
                              {P::NoTaxRate},
                              {P::NoReservation}});
}

void Form36::Command2_Click() {
    if (MsgBox("Are you sure you want to check this guest in now?", vbYesNo | vbQuestion, "Check In") !=
        vbYes)
        return;

    // Everything is checked before the first write, so a refused check-in writes nothing.
    const reservations::ReservationBoxes boxes = Boxes();
    std::optional<double> taxRate;
    std::optional<long> slot;
    if (const std::optional<CheckInProblem> problem = CheckInRefusal(boxes, taxRate, slot)) {
        RefuseCheckIn(*problem);
        return;
    }
    app().gTaxRate = *taxRate;

    const records::ShiftRecord shift = records::ReadShift(app().data());
    std::optional<double> cashNow;
    double cardNow = 0;
    if (boxes.payCode == records::kCash.code)
        cashNow =
            AskAmount("If the guest is giving you a cash payment now, enter the amount below. If not, just "
                      "press 'Enter' or click OK.",
                      "Cash Payment");
    else if (reservations::IsCardPayCode(boxes.payCode))
        cardNow = AskAmount("If you're charging their card today, enter the amount below. If not, just press "
                            "'Enter' or click OK.",
                            "CREDIT CARD")
                      .value_or(0);

    const stay::CheckInSession session = CheckInSessionNow(shift.Shift);
    reservations::WriteReservationCheckIn(
        app().data(),
        reservations::PlanReservationCheckIn(app().data(), boxes, *slot, session, cashNow, cardNow));

    TheFrontDesk(app()).ShowArrivalCount(reservations::CountArrivals(app().data(), app().clock().DateText()));
    FrontDeskWindow(app()).SetWindowState(WindowState::Maximized);
    app().Unload(*this);
    RebuildFrontDesk(app());
}

// ---------------------------------------------------------------------------
// Keys

void Form36::Text1_Change() {
    Text1.SetText(UCase(Text1.Text()));
}

void Form36::Text1_Click() {
    Text1.SetText("");
}

} // namespace vantreth
