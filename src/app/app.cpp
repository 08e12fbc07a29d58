// Every window of the system, registered by name.
#include "app.h"

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

} // namespace

void App::StepBegun() {
    struct Stored {
        std::string shift, clerk;
        double taxRate;
        float sleepersDone;
    };
    platform::WhenUndone([this, kept = Stored{gShift, gClerk, gTaxRate, gSleepersDone}] {
        gShift = kept.shift;
        gClerk = kept.clerk;
        gTaxRate = kept.taxRate;
        gSleepersDone = kept.sleepersDone;
    });
}

App::App(platform::Services services, records::MotelSettings settings)
    : platform::Program(std::move(services)), m_settings(std::move(settings)) {
    // The date hold works whatever window is open; the front desk's own timer does it while
    // the front desk is loaded.
    AddBackgroundTask("The date hold after midnight", 5000, [this] {
        if (!IsLoaded("Form1"))
            HoldBusinessDate(*this);
    });

    // Front desk, rooms and rates.
    Add<Form1>(*this);
    Add<Form3>(*this);
    Add<Form5>(*this);
    Add<Form18>(*this);
    Add<Form24>(*this);
    Add<Form10>(*this);
    Add<Form11>(*this);
    Add<Form12>(*this);
    Add<Form17>(*this);
    Add<Form19>(*this);
    Add<Form28>(*this);
    Add<Form56>(*this);
    Add<Form59>(*this);
    Add<Form67>(*this);
    Add<Form69>(*this);
    Add<Form70>(*this);
    Add<Form74>(*this);

    // Check-in and guest history.
    Add<form2>(*this);
    Add<Form15>(*this);
    Add<Form64>(*this);
    Add<Form52>(*this);
    Add<Form57>(*this);
    Add<Form14>(*this);
    Add<Form29>(*this);
    Add<Form34>(*this);
    Add<Form53>(*this);
    Add<Form54>(*this);
    Add<Form31>(*this);
    Add<Form32>(*this);

    // In-house guests.
    Add<Form4>(*this);
    Add<Form7>(*this);
    Add<Form8>(*this);
    Add<Form46>(*this);
    Add<Form55>(*this);
    Add<Form62>(*this);
    Add<Form9>(*this);
    Add<Form40>(*this);

    // Shifts, night audit and totals.
    Add<Form6>(*this);
    Add<Form13>(*this);
    Add<Form16>(*this);
    Add<Form41>(*this);
    Add<Form42>(*this);
    Add<Form43>(*this);
    Add<Form47>(*this);
    Add<Form48>(*this);
    Add<Form49>(*this);
    Add<Form30>(*this);
    Add<Form35>(*this);
    Add<Form58>(*this);
    Add<Form72>(*this);
    Add<Form73>(*this);
    Add<Form75>(*this);

    // Reservations.
    Add<Form25>(*this);
    Add<Form26>(*this);
    Add<Form33>(*this);
    Add<Form44>(*this);
    Add<Form45>(*this);
    Add<Form27>(*this);
    Add<Form36>(*this);
    Add<Form68>(*this);
    Add<Form37>(*this);
    Add<Form65>(*this);
    Add<Form66>(*this);

    // Direct bill accounts.
    Add<Form21>(*this);
    Add<Form20>(*this);
    Add<Form22>(*this);
    Add<Form23>(*this);

    // Call accounting.
    Add<Form50>(*this);
    Add<Form51>(*this);
    Add<Form60>(*this);
    Add<Form61>(*this);
    Add<Form71>(*this);
}

} // namespace vantreth
