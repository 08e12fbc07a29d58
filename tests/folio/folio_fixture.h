// A motel with guests in house for the "View Folio" window: four rooms, a tax rate of
// 0.1, shift "A" with clerk JD on 12/6/26, and the clerk's way into the window.
#pragma once

#include "support/app_fixture.h"

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

inline records::GuestRecord FolioGuest(const std::string& room, const std::string& last,
                                       const std::string& first, const std::string& payCode = "L") {
    using platform::Fixed;
    records::GuestRecord guest;
    guest.Room = Fixed(room, 3);
    guest.LastName = Fixed(last, 15);
    guest.FirstName = Fixed(first, 15);
    guest.Company = Fixed("ACME", 20);
    guest.Street = Fixed("1 ELM ST", 25);
    guest.City = Fixed("DAYTON", 20);
    guest.State = "OH";
    guest.Zip = Fixed("45402", 6);
    guest.Phone = Fixed("555-0101", 15);
    guest.RegCard = Fixed("R1234", 6);
    guest.Clerk = "JD";
    guest.Adults = 2;
    guest.Nights = 2;
    guest.PayCode = payCode;
    guest.CheckInTime = Fixed("3:45:12 PM", 10);
    guest.ArrivalDate = Fixed("12/5/26", 10);
    guest.DepartureDate = Fixed("12/7/26", 10);
    guest.Rate = 45.5f;
    guest.CardNumber = Fixed("none", 40);
    guest.CardExpiry = Fixed("none", 10);
    guest.FolioNumber = Fixed("17", 5);
    guest.Comment = Fixed("LATE ARRIVAL", 160);
    return guest;
}

inline records::StayLedgerLine LedgerLine(const std::string& room, const std::string& code,
                                          const std::string& description, float amount,
                                          const std::string& taxFlag = "-----") {
    records::StayLedgerLine line;
    line.Room = platform::Fixed(room, 3);
    line.Shift = "A";
    line.PostDate = "12/5/26";
    line.Code = code;
    line.Description = description;
    line.Amount = amount;
    line.TaxFlag = taxFlag;
    return line;
}

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
        records::RoomRecord room;
        room.Room = platform::Fixed(number, 3);
        room.RoomType = platform::Fixed("NQ1", 5);
        room.Rate = 45.5f;
        room.Clean = "Y";
        room.Vacant = service == "O" ? "N" : "Y";
        room.Service = service;
        room.Comment = platform::Fixed("QUIET", 80);
        records::AppendRoom(app().data(), room);
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
    void Retype(platform::TextBox& box, const std::string& text) {
        ASSERT_TRUE(box.Usable()) << box.Name() << " cannot be typed into";
        for (size_t n = box.Text().size(); n > 0; --n)
            box.UserType(platform::vbKeyBack);
        box.UserTypeText(text);
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
