// "Edit Guest": the boxes, the folio window's labels that follow them, and the save.
#include "form9.h"

#include "app/guest_boxes.h"
#include "folio/form4.h"
#include "platform/text.h"
#include "records/direct_bill.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/posting_codes.h"
#include "stay/guest_entry.h"

namespace vantreth {

using namespace platform;

Form9::Form9(App& app) : AppForm(app, kName, "Edit Guest", {172, 120, 680, 494}) {
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Text1.on_change = [this] { Text1_Change(); };
    Text1.on_click = [this] { Text1_Click(); };
    Text1.on_key_press = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
    Text5.on_change = [this] { Text5_Change(); };
}

Form4* Form9::Folio() {
    Form4& folio = app().Get<Form4>();
    return folio.Loaded() ? &folio : nullptr;
}

Form4* Form9::FolioOfThisStay() {
    Form4* folio = Folio();
    if (folio == nullptr || !m_loaded)
        return nullptr;
    const records::GuestRecord& guest = m_loaded->record;
    if (folio->Label8.Caption() != guest.Room || folio->Label9.Caption() != guest.FolioNumber)
        return nullptr;
    return folio;
}

GuestEdit Form9::Boxes() const {
    GuestEdit edit;
    TakeStayBoxes(edit, *this);
    if (m_loaded) {
        edit.arrival = RTrim(m_loaded->record.ArrivalDate);
        edit.storedDeparture = RTrim(m_loaded->record.DepartureDate);
        edit.loadedRate = stay::RateAsLoaded(m_loaded->record);
        edit.loadedAdults = CStr(m_loaded->record.Adults);
        edit.loadedChildren = CStr(m_loaded->record.Children);
        edit.loadedDeparture = edit.storedDeparture;
    }
    return edit;
}

void Form9::FillBoxes(const GuestEdit& edit) {
    ShowStayBoxes(*this, edit);
}

void Form9::Form_Load() {
    Show();
    m_loaded.reset();
    m_room = Fixed(Left(app().gSelectedRoom, 3), 3);
    if (const std::optional<long> slot =
            records::FindGuestByRoom(app().data(), records::kGuestFile, m_room)) {
        const records::GuestRecord guest = records::ReadGuest(app().data(), records::kGuestFile, *slot);
        m_loaded = LoadedStay{*slot, guest};
        FillBoxes(EditFromRecord(guest));
        Label25.SetCaption(guest.Room);
        Label6.SetCaption(guest.ArrivalDate);
        Label24.SetCaption(guest.CheckInTime);
        Label1.SetCaption(guest.Clerk);
        app().gEditOldLast = RTrim(guest.LastName);
        app().gEditOldFirst = RTrim(guest.FirstName);
        Label26.SetCaption(RTrim(guest.PayCode));
    }
    Text9.SetFocus();
}

void Form9::Command1_Click() {
    GuestEdit edit = Boxes();
    const EditCheck check = CheckGuestEdit(edit, app().clock().Today().year, [this](const std::string& code) {
        return records::FindAccount(app().data(), code).has_value();
    });
    // A valid account code makes the stay a direct-bill stay, whatever pay code was typed.
    if (check.accountFound) {
        Text1.SetText(std::string(records::kDirectBill.code));
        edit.payCode = Text1.Text();
    }
    if (check.problem) {
        MsgBox(EditProblemMessage(*check.problem), vbOKOnly, "WARNING");
        using P = EditProblem;
        FocusRefusedBox(*check.problem, {{P::NoRate, Text6},
                                         {P::BadRate, Text6},
                                         {P::RateCents, Text6},
                                         {P::RateTooLarge, Text6},
                                         {P::ZeroDay, Text5},
                                         {P::ZeroMonth, Text5},
                                         {P::NoDeparture, Text5},
                                         {P::BadDateFormat, Text5},
                                         {P::NotADate, Text5},
                                         {P::DepartureNotAfterArrival, Text5},
                                         {P::BadPayCode, Text1, ""},
                                         {P::NoPayCode, Text1},
                                         {P::NoDirectBill, Text2},
                                         {P::BadDirectBill, Text2},
                                         {P::NoName, Text9},
                                         {P::BadLastName, Text9},
                                         {P::BadFirstName, Text10},
                                         {P::BadAdults, Text18},
                                         {P::BadChildren, Text19}});
        return;
    }

    // The save goes to the stay loaded, whatever room the folio window shows by now.
    if (!m_loaded) {
        MsgBox("There is no guest in room " + RTrim(m_room) + " to edit. Nothing was saved.", vbOKOnly,
               "WARNING");
        app().Unload(*this);
        return;
    }
    const EditPlan plan = PlanGuestEdit(app().data(), *m_loaded, edit);
    if (!plan.problem.empty()) {
        MsgBox(plan.problem, vbOKOnly, "WARNING");
        if (plan.stayGone) // the boxes belong to no stored stay: there is nothing left to edit
            app().Unload(*this);
        else
            Text9.SetFocus();
        return;
    }
    SaveGuestEdit(app().data(), plan);

    if (EditedName(Text9.Text()) != app().gEditOldLast || EditedName(Text10.Text()) != app().gEditOldFirst) {
        if (Form4* folio = FolioOfThisStay())
            folio->Label1.SetCaption(Text9.Text() + ", " + Text10.Text());
        if (Form4* folio = Folio()) {
            folio->FillRoomList();
            folio->Combo1.SetText("Select Room");
        }
    }
    app().Unload(*this);
}

void Form9::Command2_Click() {
    if (Text2.Text().empty() && Text1.Text() == records::kDirectBill.code)
        if (Form4* folio = FolioOfThisStay())
            folio->Label7.SetCaption(Label26.Caption());
    app().Unload(*this);
}

void Form9::Text1_Change() {
    Text1.SetText(UCase(Text1.Text()));
    if (Form4* folio = FolioOfThisStay()) {
        folio->Label7.SetCaption(Text1.Text());
        if (Text1.Text() != records::kDirectBill.code) {
            folio->Label22.SetVisible(false);
            folio->Label32.SetVisible(false);
            folio->Label33.SetVisible(false);
            folio->Label34.SetVisible(false);
        }
    }
}

void Form9::Text1_Click() {
    Text1.SetText("");
}

void Form9::Text1_KeyPress(int& KeyAscii) {
    if (KeyAscii != 'Q')
        Text2.SetText("");
}

void Form9::Text5_Change() {
    if (Form4* folio = FolioOfThisStay())
        folio->Label11.SetCaption(Text5.Text());
}

} // namespace vantreth
