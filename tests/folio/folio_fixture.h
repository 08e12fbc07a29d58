// A motel with guests in house for the "View Folio" window: four rooms, a tax rate of
// 0.1, shift "A" with clerk JD on 12/6/26, and the clerk's way into the window.
#pragma once

#include "support/app_fixture.h"
#include "support/builders.h"

#include "folio/form4.h"
#include "frontdesk/form1.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/history.h"
#include "records/room_record.h"
#include "records/settings_files.h"
#include "records/shift_record.h"
#include "records/stay_ledger.h"

#include <string>
#include <vector>

namespace vantreth::testing {

class FolioFixture : public AppFixture {
protected:
    FolioFixture() {
        SetNow(12, 6, 2026, 15, 45, 12);
        records::WriteIntroFlag(app().data(), 1.0f);
        records::WriteShift(app().data(), {"A", "JD"});
        records::WriteTaxRate(app().data(), 0.1);
        AddRoom("101", "O");
        AddRoom("102", "O");
        AddRoom("12", "O");
        AddRoom("104", "A");
    }

    const platform::DataFolder& data() { return app().data(); }
    Form4& folio() { return Form<Form4>(); }

    void AddRoom(const std::string& number, const std::string& service) {
        records::AppendRoom(
            app().data(),
            Room({.room = number, .type = "NQ1", .rate = 45.5f, .service = service, .comment = "QUIET"}));
    }

    long AddGuest(const records::GuestRecord& guest) {
        return records::AddGuest(app().data(), records::kGuestFile, guest);
    }
    void Post(const records::GuestRecord& guest, const records::StayLedgerLine& line) {
        records::AppendStayLedgerLine(records::StayLedgerPath(app().data(), guest), line);
    }
    std::vector<records::StayLedgerLine> Ledger(const records::GuestRecord& guest) {
        return records::ReadStayLedger(records::StayLedgerPath(app().data(), guest));
    }
    records::GuestRecord GuestIn(long slot) {
        return records::ReadGuest(app().data(), records::kGuestFile, slot);
    }

    // The clerk starts the program and presses "View Folio" on the front desk.
    void Open() {
        if (!app().Started())
            StartProgram();
        Form<Form1>().Command7.UserClick();
        ASSERT_TRUE(IsLoaded("Form4"));
    }
    void Choose(const std::string& item) { ASSERT_TRUE(folio().Combo1.UserPick(item)) << item; }
    void TypeRoom(const std::string& room) {
        folio().Text3.UserTypeText(room);
        folio().Text3.UserType(platform::vbKeyReturn);
    }
    // Picks the code, types the amount over its default and presses "Do Now-->".
    void PostAs(const std::string& code, const std::string& amount) {
        ASSERT_TRUE(folio().Combo3.UserPick(code)) << code;
        Retype(folio().Text2, amount);
        folio().Command1.UserClick();
    }
    // The folio lines under the heading and the rule.
    std::vector<std::string> Shown() {
        const std::vector<std::string>& items = folio().List1.Items();
        if (items.size() < 2)
            return {};
        return std::vector<std::string>(items.begin() + 2, items.end());
    }
};

} // namespace vantreth::testing
