// Every window of the system, registered by name. Windows that this version does not
// have yet are placeholders with their caption and a way back to the front desk.
#include "app.h"

#include "placeholder.h"

#include "callacct/form50.h"
#include "checkin/form14.h"
#include "checkin/form15.h"
#include "checkin/form2.h"
#include "checkin/form64.h"
#include "checkin/form52.h"
#include "checkin/form57.h"
#include "checkin/form29.h"
#include "checkin/form34.h"
#include "checkin/form53.h"
#include "checkin/form54.h"
#include "folio/form46.h"
#include "folio/form4.h"
#include "folio/form40.h"
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

#include <memory>

namespace vantreth {

namespace {

template <class F> void Add(App& app) {
    app.Register(F::kName, [](platform::Program& program) {
        return std::make_unique<F>(static_cast<App&>(program));
    });
}

void AddPlaceholder(App& app, const std::string& name, const std::string& caption) {
    app.Register(name, [name, caption](platform::Program& program) {
        return std::make_unique<PlaceholderForm>(static_cast<App&>(program), name, caption);
    });
}

} // namespace

App::App(platform::Services services) : platform::Program(std::move(services)) {
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
    AddPlaceholder(*this, "Form6", "Drawer Balance");
    AddPlaceholder(*this, "Form13", "Night Audit");
    AddPlaceholder(*this, "Form41", "Rooms Rented Shift A");
    AddPlaceholder(*this, "Form42", "Rooms Rented Shift B");
    AddPlaceholder(*this, "Form43", "Rooms Rented Shift C");
    AddPlaceholder(*this, "Form47", "Reports Menu");
    AddPlaceholder(*this, "Form72", "Cash from Vending");
    AddPlaceholder(*this, "Form73", "Cash from Other");
    AddPlaceholder(*this, "Form75", "Petty Cash Out");

    // Reservations.
    AddPlaceholder(*this, "Form25", "Reservations");
    AddPlaceholder(*this, "Form37", "Todays Reservations");
    AddPlaceholder(*this, "Form65", "Room Availability Report");

    // Direct bill accounts.
    AddPlaceholder(*this, "Form21", "Direct Bill Menu");

    // Call accounting.
    Add<Form50>(*this);
    AddPlaceholder(*this, "Form51", "Call Report");
    AddPlaceholder(*this, "Form71", "Call Accounting");
}

} // namespace vantreth
