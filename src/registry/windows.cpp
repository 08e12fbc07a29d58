// Every window of the system, registered by name: the program is made with all of them.
// Nothing below includes this: it stands above every window.
#include "app/app.h"

#include "audit/form13.h"
#include "audit/form16.h"
#include "audit/form30.h"
#include "audit/form35.h"
#include "audit/form41.h"
#include "audit/form42.h"
#include "audit/form43.h"
#include "audit/form47.h"
#include "audit/form48.h"
#include "audit/form49.h"
#include "audit/form58.h"
#include "audit/form6.h"
#include "audit/form72.h"
#include "audit/form73.h"
#include "audit/form75.h"
#include "callacct/form50.h"
#include "callacct/form51.h"
#include "callacct/form60.h"
#include "callacct/form61.h"
#include "callacct/form71.h"
#include "checkin/form14.h"
#include "checkin/form15.h"
#include "checkin/form2.h"
#include "checkin/form29.h"
#include "checkin/form31.h"
#include "checkin/form32.h"
#include "checkin/form34.h"
#include "checkin/form52.h"
#include "checkin/form53.h"
#include "checkin/form54.h"
#include "checkin/form57.h"
#include "checkin/form64.h"
#include "directbill/form20.h"
#include "directbill/form21.h"
#include "directbill/form22.h"
#include "directbill/form23.h"
#include "folio/form4.h"
#include "folio/form40.h"
#include "folio/form46.h"
#include "folio/form55.h"
#include "folio/form62.h"
#include "folio/form7.h"
#include "folio/form8.h"
#include "folio/form9.h"
#include "frontdesk/form1.h"
#include "frontdesk/form10.h"
#include "frontdesk/form11.h"
#include "frontdesk/form12.h"
#include "frontdesk/form17.h"
#include "frontdesk/form18.h"
#include "frontdesk/form19.h"
#include "frontdesk/form24.h"
#include "frontdesk/form28.h"
#include "frontdesk/form3.h"
#include "frontdesk/form5.h"
#include "frontdesk/form56.h"
#include "frontdesk/form59.h"
#include "frontdesk/form67.h"
#include "frontdesk/form69.h"
#include "frontdesk/form70.h"
#include "frontdesk/form74.h"
#include "records/filenames.h"
#include "reservations/form25.h"
#include "reservations/form26.h"
#include "reservations/form27.h"
#include "reservations/form33.h"
#include "reservations/form36.h"
#include "reservations/form37.h"
#include "reservations/form44.h"
#include "reservations/form45.h"
#include "reservations/form65.h"
#include "reservations/form66.h"
#include "reservations/form68.h"

#include <memory>

namespace vantreth {

namespace {

template <class F> void Add(App& app) {
    app.Register(F::kName,
                 [](platform::Program& program) { return std::make_unique<F>(static_cast<App&>(program)); });
}

// Front desk, rooms and rates.
void AddFrontDeskWindows(App& app) {
    Add<Form1>(app);
    Add<Form3>(app);
    Add<Form5>(app);
    Add<Form18>(app);
    Add<Form24>(app);
    Add<Form10>(app);
    Add<Form11>(app);
    Add<Form12>(app);
    Add<Form17>(app);
    Add<Form19>(app);
    Add<Form28>(app);
    Add<Form56>(app);
    Add<Form59>(app);
    Add<Form67>(app);
    Add<Form69>(app);
    Add<Form70>(app);
    Add<Form74>(app);
}

// Check-in and guest history.
void AddCheckInWindows(App& app) {
    Add<form2>(app);
    Add<Form15>(app);
    Add<Form64>(app);
    Add<Form52>(app);
    Add<Form57>(app);
    Add<Form14>(app);
    Add<Form29>(app);
    Add<Form34>(app);
    Add<Form53>(app);
    Add<Form54>(app);
    Add<Form31>(app);
    Add<Form32>(app);
}

// In-house guests.
void AddInHouseWindows(App& app) {
    Add<Form4>(app);
    Add<Form7>(app);
    Add<Form8>(app);
    Add<Form46>(app);
    Add<Form55>(app);
    Add<Form62>(app);
    Add<Form9>(app);
    Add<Form40>(app);
}

// Shifts, night audit and totals.
void AddAuditWindows(App& app) {
    Add<Form6>(app);
    Add<Form13>(app);
    Add<Form16>(app);
    Add<Form41>(app);
    Add<Form42>(app);
    Add<Form43>(app);
    Add<Form47>(app);
    Add<Form48>(app);
    Add<Form49>(app);
    Add<Form30>(app);
    Add<Form35>(app);
    Add<Form58>(app);
    Add<Form72>(app);
    Add<Form73>(app);
    Add<Form75>(app);
}

// Reservations.
void AddReservationWindows(App& app) {
    Add<Form25>(app);
    Add<Form26>(app);
    Add<Form33>(app);
    Add<Form44>(app);
    Add<Form45>(app);
    Add<Form27>(app);
    Add<Form36>(app);
    Add<Form68>(app);
    Add<Form37>(app);
    Add<Form65>(app);
    Add<Form66>(app);
}

// Direct bill accounts.
void AddDirectBillWindows(App& app) {
    Add<Form21>(app);
    Add<Form20>(app);
    Add<Form22>(app);
    Add<Form23>(app);
}

// Call accounting.
void AddCallWindows(App& app) {
    Add<Form50>(app);
    Add<Form51>(app);
    Add<Form60>(app);
    Add<Form61>(app);
    Add<Form71>(app);
}

} // namespace

App::App(platform::Services services, records::MotelSettings settings)
    : platform::Program(std::move(services)), m_settings(std::move(settings)), m_callPort(serialDevices()) {
    engine().SetReach([](std::string_view file) {
        return records::OneRecordFileLength(file).value_or(platform::kLargestFile);
    });
    // The date hold works whatever window is open; the front desk's own timer does it while
    // the front desk is loaded.
    AddBackgroundTask("The date hold after midnight", 5000, [this] {
        if (!IsLoaded("Form1"))
            HoldBusinessDate(*this);
    });
    // And whenever a step reads the date after the clock went past midnight (or noon) since
    // the program last looked: a step whose box was answered after midnight writes the date
    // of the day being worked, not the next one. The first look only notes the half of the
    // day: until then the timers have held the date. (A date set by the night audit is no
    // midnight: the half of the day stays.)
    SetDateKeeper([this] {
        const bool morning = ClockAsItStands().Now().time.hour < 12;
        if (m_lookedInMorning && *m_lookedInMorning != morning)
            HoldBusinessDate(*this);
        m_lookedInMorning = morning;
    });

    AddFrontDeskWindows(*this);
    AddCheckInWindows(*this);
    AddInHouseWindows(*this);
    AddAuditWindows(*this);
    AddReservationWindows(*this);
    AddDirectBillWindows(*this);
    AddCallWindows(*this);
}

} // namespace vantreth
