#include "form13.h"

#include "app/front_desk_service.h"
#include "audit/form16.h"
#include "audit/night_audit.h"
#include "printing/night_audit_detail.h"
#include "printing/night_audit_monthly.h"
#include "printing/night_audit_totals.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/settings_files.h"

#include <algorithm>

namespace vantreth {

using namespace platform;

Form13::Form13(App& app) : AppForm(app, kName, "Night Audit", {200, 120, 608, 406}) {
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
    Command4.on_click = [this] { Command4_Click(); };
    Command5.on_click = [this] { Command5_Click(); };
    Command6.on_click = [this] { Command6_Click(); };
    Command7.on_click = [this] { Command7_Click(); };
}

std::array<CommandButton*, Form13::kSteps> Form13::StepButtons() {
    return {&Command1, &Command3, &Command7, &Command4, &Command2, &Command5};
}

void Form13::StepBegins() {
    if (!Loaded()) {
        m_place.reset();
        return;
    }
    std::array<bool, kSteps> usable{};
    const auto buttons = StepButtons();
    for (size_t i = 0; i < kSteps; ++i)
        usable[i] = buttons[i]->Enabled();
    m_place = usable;
}

// The first step stays disabled until the gate has passed, so a flag file that cannot be
// read leaves only "Exit" usable rather than an open audit. Opened again after a failed
// step, the window shows the audit under way as its saved steps left it: the gate would
// read a drop sheet flag and a shift that the steps done have already moved on.
void Form13::Form_Load() {
    Show();
    if (m_place) {
        const auto buttons = StepButtons();
        for (size_t i = 0; i < kSteps; ++i)
            buttons[i]->SetEnabled((*m_place)[i]);
        return;
    }
    Command1.SetEnabled(false);
    const audit::AuditGate gate =
        audit::CheckAuditGate(app().gShift, records::ReadNumberFile(app().data(), records::kCashDropYesFile),
                              app().clock().TimeText());
    switch (gate) {
    case audit::AuditGate::NotShiftC:
        MsgBox(std::string(audit::kNotShiftCMessage), vbOKOnly, "WARNING!");
        break;
    case audit::AuditGate::NoDropSheet:
        MsgBox(std::string(audit::kNoDropSheetMessage), vbOKOnly, "REMINDER");
        break;
    case audit::AuditGate::Afternoon:
        break;
    case audit::AuditGate::Open:
        Command1.SetEnabled(true);
        break;
    }
}

void Form13::Command1_Click() {
    if (MsgBox(std::string(audit::kChargeQuestion), vbYesNo, "Delete Record") != vbYes)
        return;
    const std::string today = app().clock().DateText();
    const std::vector<records::GuestRecord> guests =
        records::ReadAllGuests(app().data(), records::kGuestFile);

    const std::vector<std::string> dueOut = audit::DueOutToday(guests, today);
    if (!dueOut.empty()) {
        MsgBox(std::string(audit::kDueOutMessage), vbOKOnly, "Depart");
        List1.SetVisible(true);
        Label2.SetVisible(true);
        List1.Clear();
        for (const std::string& line : dueOut)
            List1.AddItem(line);
        return;
    }

    // Without a tax rate every night would be posted untaxed; nothing is written then.
    const std::optional<double> taxRate = records::ReadTaxRate(app().data());
    const bool anyStay =
        std::any_of(guests.begin(), guests.end(), [](const records::GuestRecord& g) { return !g.IsFree(); });
    if (!taxRate && anyStay) {
        MsgBox(std::string(audit::kNoTaxRateMessage), vbOKOnly, "WARNING");
        return;
    }
    if (taxRate)
        app().gTaxRate = *taxRate;

    Label2.SetVisible(false);
    List1.SetVisible(false);
    const audit::NightCharges charges = audit::ChargeRoomAndTax(
        app().data(), guests,
        {.shift = app().gShift, .clerk = app().gClerk, .today = today, .taxRate = app().gTaxRate});
    // The totals add up the night's rent: they wait until every stay has it.
    if (!charges.failedRooms.empty()) {
        MsgBox(audit::FailedPostingsMessage(charges), vbOKOnly, "WARNING");
        return;
    }
    Command3.SetEnabled(true);
}

void Form13::Command3_Click() {
    printing::PrintNightAuditTotalsReport(app().data(), app().printer(), app().clock().DateText());
    Command7.SetEnabled(true);
}

void Form13::Command7_Click() {
    printing::PrintNightAuditDetailReport(app().data(), app().printer(), app().clock().DateText());
    for (const char* window : {"Form41", "Form42", "Form43", "Form51"})
        LoadToPrint(window);
    Command4.SetEnabled(true);
}

void Form13::LoadToPrint(const char* window) {
    app().Unload(window);
    app().Load(window);
}

void Form13::Command4_Click() {
    if (audit::ReservationArrivesToday(app().data(), app().clock().DateText())) {
        MsgBox(std::string(audit::kReservationsTodayMessage), vbOKOnly, "WARNING");
        return;
    }
    app().Load(app().Get<Form16>());
}

void Form13::Command2_Click() {
    printing::PrintNightAuditGuestListing(app().data(), app().printer(), app().clock().Today(),
                                          app().gMonthBefore, app().gMonthAfter);
    Command5.SetEnabled(true);
}

void Form13::Command5_Click() {
    audit::PrintAuditHousekeepingReport(app().printer(), app().data(), app().settings().motelName,
                                        app().clock().DateText());
    CloseAndRebuildFrontDesk();
}

void Form13::Command6_Click() {
    CloseAndRebuildFrontDesk();
}

void Form13::CloseAndRebuildFrontDesk() {
    app().Unload(*this);
    RebuildFrontDesk(app());
}

} // namespace vantreth
