#include "form62.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/settings_files.h"
#include "records/stay_ledger.h"

namespace vantreth {

using namespace platform;

std::vector<std::string> RoomBalanceLines(const DataFolder& data) {
    const double taxRate = records::ReadTaxRate(data).value_or(0.0);
    std::vector<std::string> lines;
    for (const records::GuestRecord& guest : records::ReadAllGuests(data, records::kGuestFile)) {
        if (guest.LastName == std::string(15, ' '))
            continue;
        const platform::FilePath ledger = records::StayLedgerPath(data, guest);
        if (!FileExists(ledger)) {
            lines.push_back(guest.Room + "  " + std::string(kMissingFolioText));
            continue;
        }
        const Decimal balance =
            records::StayBalance(records::ReadStayLedger(ledger), taxRate, guest.IsTaxExempt());
        lines.push_back(guest.Room + "  " + AmountStr(balance));
    }
    return lines;
}

Form62::Form62(App& app) : AppForm(app, kName, "Room Balances", {300, 140, 472, 358}) {
    SetKeyPreview(true);
    Command1.on_click = [this] { Command1_Click(); };
}

void Form62::Form_Load() {
    Show();
    // Every ledger is read before the list is filled, so an unreadable one shows no half list.
    for (std::string& line : RoomBalanceLines(app().data()))
        List1.AddItem(std::move(line));
}

void Form62::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        app().Unload(*this);
    }
}

void Form62::Command1_Click() {
    app().Unload(*this);
}

} // namespace vantreth
