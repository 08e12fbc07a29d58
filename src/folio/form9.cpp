// "Edit Guest": the boxes, the folio window's labels that follow them, and the save.
#include "form9.h"

#include "folio/form4.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/history.h"
#include "records/posting_codes.h"

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
    edit.last = Text9.Text();
    edit.first = Text10.Text();
    edit.company = Text11.Text();
    edit.street = Text12.Text();
    edit.city = Text13.Text();
    edit.state = Text14.Text();
    edit.zip = Text15.Text();
    edit.phone = Text16.Text();
    edit.regCard = Text17.Text();
    edit.adults = Text18.Text();
    edit.children = Text19.Text();
    edit.comment = Text20.Text();
    edit.departure = Text5.Text();
    edit.payCode = Text1.Text();
    edit.dbNumber = Text2.Text();
    edit.cardNumber = Text3.Text();
    edit.cardExpiry = Text4.Text();
    edit.rate = Text6.Text();
    if (m_loaded) {
        edit.arrival = RTrim(m_loaded->record.ArrivalDate);
        edit.storedDeparture = RTrim(m_loaded->record.DepartureDate);
    }
    return edit;
}

void Form9::FillBoxes(const GuestEdit& edit) {
    Text9.SetText(edit.last);
    Text10.SetText(edit.first);
    Text11.SetText(edit.company);
    Text12.SetText(edit.street);
    Text13.SetText(edit.city);
    Text14.SetText(edit.state);
    Text15.SetText(edit.zip);
    Text16.SetText(edit.phone);
    Text17.SetText(edit.regCard);
    Text18.SetText(edit.adults);
    Text19.SetText(edit.children);
    Text20.SetText(edit.comment);
    Text5.SetText(edit.departure);
    Text1.SetText(edit.payCode);
    Text2.SetText(edit.dbNumber);
    Text3.SetText(edit.cardNumber);
    Text4.SetText(edit.cardExpiry);
    Text6.SetText(edit.rate);
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
        switch (*check.problem) {
        case EditProblem::NoRate:
        case EditProblem::BadRate:
        case EditProblem::RateCents:
            Text6.SetFocus();
            break;
        case EditProblem::ZeroDay:
        case EditProblem::ZeroMonth:
        case EditProblem::NoDeparture:
        case EditProblem::BadDateFormat:
        case EditProblem::NotADate:
        case EditProblem::DepartureNotAfterArrival:
            Text5.SetFocus();
            break;
        case EditProblem::BadPayCode:
            Text1.SetText("");
            Text1.SetFocus();
            break;
        case EditProblem::NoPayCode:
            Text1.SetFocus();
            break;
        case EditProblem::NoDirectBill:
        case EditProblem::BadDirectBill:
            Text2.SetFocus();
            break;
        case EditProblem::NoName:
        case EditProblem::BadLastName:
            Text9.SetFocus();
            break;
        case EditProblem::BadFirstName:
            Text10.SetFocus();
            break;
        case EditProblem::BadAdults:
            Text18.SetFocus();
            break;
        case EditProblem::BadChildren:
            Text19.SetFocus();
            break;
        }
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
