// A motel ready for walk-in check-ins: four rooms, a tax rate, shift "A" with clerk JD,
// and the clerk's way through the "Check In" window.
#pragma once

#include "support/app_fixture.h"
#include "support/builders.h"

#include "checkin/form15.h"
#include "checkin/form2.h"
#include "checkin/form64.h"
#include "frontdesk/form1.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/room_record.h"
#include "records/settings_files.h"
#include "records/shift_record.h"

#include <string>

namespace vantreth::testing {

class CheckInFixture : public AppFixture {
public:
    CheckInFixture() {
        SetNow(12, 6, 2026, 15, 45, 12);
        records::WriteIntroFlag(app().data(), 1.0f);
        records::WriteShift(app().data(), {"A", "JD"});
        records::WriteTaxRate(app().data(), 0.1);
        AddRoom(Room({.room = "101", .type = "NQ1", .rate = 50, .comment = "QUIET"}));
        AddRoom(Room({.room = "102", .type = "NDD1", .rate = 49.99f, .comment = "QUIET"}));
        AddRoom(Room({.room = "12", .type = "SNQ3", .rate = 80, .comment = "QUIET"}));
        AddRoom(Room({.room = "104", .type = "K11", .rate = 45, .comment = "QUIET"}));
    }

    using AppFixture::app;
    using AppFixture::DataFile;
    using AppFixture::Retype;

    form2& checkIn() { return Form<form2>(); }
    void AddRoom(const records::RoomRecord& room) { records::AppendRoom(app().data(), room); }

    // The clerk starts the program and presses "Check In" on the front desk.
    void Open() {
        if (!app().Started())
            StartProgram();
        Form<Form1>().Command1.UserClick();
        ASSERT_TRUE(IsLoaded("form2"));
    }

    void Enter(platform::TextBox& box) { box.UserType(platform::vbKeyReturn); }

    // Room, payment, names and registration card: everything a check-in needs.
    void FillIn(const std::string& room = "101 NQ1  ", const std::string& payment = "CASH or CHECK",
                const std::string& last = "smith", const std::string& first = "john") {
        ASSERT_TRUE(checkIn().Combo1.UserPick(room)) << room;
        ASSERT_TRUE(checkIn().Combo2.UserPick(payment)) << payment;
        Retype(checkIn().Text9, last);
        Retype(checkIn().Text10, first);
        Retype(checkIn().Text17, "R1234");
    }

    // "Check In Now--->" answered Yes; a deposit answer is typed when the box comes.
    void Commit(const std::string* deposit = nullptr) {
        dialogs().Answer(platform::vbYes);
        if (deposit)
            dialogs().Input(*deposit);
        ASSERT_TRUE(checkIn().Command2.Usable()) << "Check In Now---> is not enabled";
        checkIn().Command2.UserClick();
        ExpectNoPendingAnswers();
    }
    void CommitWithoutDeposit() {
        const std::string none;
        Commit(&none);
    }
};

} // namespace vantreth::testing
