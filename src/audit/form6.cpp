// "Drawer Balance".
#include "audit/form6.h"

#include "audit/cash_in_form.h"
#include "platform/decimal.h"
#include "platform/text.h"
#include "printing/drop_sheet.h"
#include "printing/shift_rentals_report.h"
#include "records/filenames.h"
#include "records/petty_cash.h"
#include "records/settings_files.h"
#include "records/shift_cash.h"
#include "records/shift_record.h"

namespace vantreth {

using namespace platform;

Form6::Form6(App& app) : AppForm(app, kName, "Drawer Balance", {240, 120, 560, 420}) {
    SetKeyPreview(true);
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
}

// The cash file is named by the letter in the shift file, the rentals file by the
// program's current shift; both normally hold the same letter. Each drawer gives up only
// the petty cash paid out of it: that of the shift whose cash is shown. Petty cash of
// another shift of the day is on that shift's sheet, so the day's sheets add up to the
// day's cash.
void Form6::Form_Load() {
    Show();
    ShowDrawer();
    List1.Clear();
    const printing::ShiftRentalsRead rentals =
        printing::ReadShiftRentalsAsFarAsReadable(app().data(), app().gShift, app().clock().DateText());
    for (const printing::RentalItems& rental : rentals.lines)
        List1.AddItem(rental.Room);
}

void Form6::ShowDrawer() {
    const records::ShiftRecord shift = records::ReadShift(app().data());
    const records::ShiftCash cash =
        records::ReadShiftCash(app().data(), shift.Shift, app().clock().DateText());
    const platform::Decimal petty =
        records::ShiftPettyCashTotal(app().data(), shift.Shift, app().clock().DateText()).Rounded(2);

    Label10.SetCaption(app().clock().DateText());
    Label11.SetCaption(shift.Shift);
    Label12.SetCaption(shift.Clerk);
    // Every figure is the exact amount kept, so the total of the figures shown is the drawer's.
    Label13.SetCaption(platform::StoredText(cash.CashFromRent));
    Label14.SetCaption(platform::StoredText(cash.CashFromVending));
    Label15.SetCaption(platform::StoredText(cash.CashFromDirectBill));
    Label16.SetCaption(platform::StoredText(cash.CashFromOther));
    Label21.SetCaption(petty.Text());
    Label17.SetCaption(CStr(printing::TotalShiftCash(Label13.Caption(), Label14.Caption(), Label15.Caption(),
                                                     Label16.Caption(), Label21.Caption())));
}

void Form6::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        app().Unload(*this);
    }
}

// The flag tells the night audit that the sheet is in hand, so it is raised only once the
// sheet went to the printer.
void Form6::Command1_Click() {
    if (RefusedEntryAmount(*this, Text1) || RefusedCents(Text1))
        return;
    if (Text1.Text().empty())
        Text1.SetText("0");
    // Cash taken or paid out while the window stood open is on the sheet too.
    ShowDrawer();

    const std::string today = app().clock().DateText();
    const records::ShiftRecord shift = records::ReadShift(app().data());
    printing::DropSheet sheet{.dateText = today,
                              .shift = shift.Shift,
                              .clerk = shift.Clerk,
                              .cashFromRent = Label13.Caption(),
                              .cashFromVending = Label14.Caption(),
                              .cashFromDirectBill = Label15.Caption(),
                              .cashFromOther = Label16.Caption(),
                              .pettyCashOut = Label21.Caption(),
                              .totalShiftCash = Label17.Caption(),
                              .dropAmount = Text1.Text()};
    const printing::ShiftRentalsRead rentals =
        printing::ReadShiftRentalsAsFarAsReadable(app().data(), app().gShift, today);
    if (rentals.opened) {
        sheet.roomsRented.emplace();
        for (const printing::RentalItems& rental : rentals.lines)
            sheet.roomsRented->push_back(rental.Room);
    }
    printing::PrintDropSheet(app().printer(), sheet);

    if (Label11.Caption() == "C")
        records::WriteNumberFile(app().data(), records::kCashDropYesFile, 1);
    app().Unload(*this);
}

void Form6::Command2_Click() {
    app().Unload(*this);
}

} // namespace vantreth
