#include "form68.h"

#include "printing/canceled_reservations_report.h"
#include "records/cancel_record.h"
#include "records/filenames.h"
#include "reservations/reservation_lists.h"

namespace vantreth {

Form68::Form68(App& app) : AppForm(app, kName, "Canceled Reservations", {150, 100, 731, 499}) {
    Combo1.on_click = [this] { Combo1_Click(); };
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command4.on_click = [this] { Command4_Click(); };
}

void Form68::Form_Load() {
    Show();
    for (std::string& year : CancelYears(app().clock().Today().year))
        Combo1.AddItem(std::move(year));
}

void Form68::Combo1_Click() {
    List1.Clear();
    for (const records::CancelRecord& record :
         records::ReadCancelRecords(records::CancelYearFile(app().data(), Combo1.Text())))
        List1.AddItem(CanceledListLine(record));
    const bool any = List1.ListCount() > 0 && !List1.List(0).empty();
    Command4.SetEnabled(any);
    Command3.SetEnabled(any);
}

void Form68::Command4_Click() {
    printing::PrintCanceledReservations(app().printer(), app().data(), app().settings().motelName,
                                        Combo1.Text());
}

void Form68::Command1_Click() {
    app().Unload(*this);
}

void Form68::Command2_Click() {
    app().Unload(*this);
}

} // namespace vantreth
