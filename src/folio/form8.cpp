// "Move Guest": the lists of occupied and free rooms, the checks before a move and the move itself.
#include "form8.h"
#include "platform/engine.h"

#include "app/front_desk_service.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/ledger_rename.h"
#include "records/move_log.h"
#include "records/stay_ledger.h"

namespace vantreth {

using namespace platform;

std::string OccupiedRoomLine(const records::GuestRecord& guest) {
    return guest.Room + "  " + RTrim(guest.LastName) + " " + RTrim(guest.FirstName);
}

std::string FreeRoomLine(const records::RoomRecord& room) {
    return room.Room + "   " + room.RoomType;
}

bool OfferedForMove(const records::RoomRecord& room) {
    return room.Service != "X" && room.Service != "O" && room.Clean != "N";
}

namespace {

std::string Shown(const std::string& room3) {
    return RTrim(room3);
}

std::string LedgerName(const std::filesystem::path& ledger) {
    return ledger.filename().string();
}

} // namespace

MovePlan PlanMove(const DataFolder& folder, std::string_view fromRoom, std::string_view toRoom) {
    MovePlan plan;
    plan.fromRoom = Fixed(Left(fromRoom, 3), 3);
    plan.toRoom = Fixed(Left(toRoom, 3), 3);

    const std::optional<long> slot = records::FindGuestByRoom(folder, records::kGuestFile, plan.fromRoom);
    if (!slot) {
        plan.problem = "There is no guest in room " + Shown(plan.fromRoom) +
                       ". Please select the room the guest is in now from the list.";
        return plan;
    }
    plan.guestSlot = *slot;
    plan.guest = records::ReadGuest(folder, records::kGuestFile, *slot);

    if (plan.toRoom == plan.fromRoom) {
        plan.problem = "The guest is already in room " + Shown(plan.toRoom) + ". Please select another room.";
        return plan;
    }
    const std::optional<long> to = records::FindRoom(folder, plan.toRoom);
    if (!to) {
        plan.problem = "There is no room " + Shown(plan.toRoom) + ". Please select a room from the list.";
        return plan;
    }
    plan.toRecord = *to;
    const records::RoomRecord target = records::ReadRoom(folder, *to);
    // The room letters say occupied, or a guest record still holds the room: either way
    // two stays must never share one room.
    if (target.Service == "O" || records::FindGuestByRoom(folder, records::kGuestFile, plan.toRoom)) {
        plan.problem = "Room " + Shown(plan.toRoom) + " is occupied. Please select another room.";
        return plan;
    }
    if (target.Service == "X") {
        plan.problem = "Room " + Shown(plan.toRoom) + " is out of order. Please select another room.";
        return plan;
    }
    if (target.Clean == "N") {
        plan.problem = "Room " + Shown(plan.toRoom) + " is dirty. Please select another room.";
        return plan;
    }
    plan.fromRecord = records::FindRoom(folder, plan.fromRoom);

    records::GuestRecord moved = plan.guest;
    moved.Room = plan.toRoom;
    plan.fromLedger = records::StayLedgerPath(folder, plan.guest);
    plan.toLedger = records::StayLedgerPath(folder, moved);
    switch (records::CheckLedgerCarry(plan.fromLedger, plan.toLedger)) {
    case records::LedgerCarry::Missing:
        plan.problem = "The folio of the guest in room " + Shown(plan.fromRoom) + " (" +
                       LedgerName(plan.fromLedger.path()) + ") could not be found. The guest was not moved.";
        break;
    case records::LedgerCarry::NameTaken:
        plan.problem = "Another folio named " + LedgerName(plan.toLedger.path()) +
                       " already exists. The guest was not moved, so that the two folios are not mixed.";
        break;
    default:
        break;
    }
    return plan;
}

void MakeMove(const DataFolder& folder, const MovePlan& plan, const std::string& shift,
              const std::string& clerk, const DateTime& now) {
    const records::LedgerCarry carried = records::CarryStayLedger(plan.fromLedger, plan.toLedger);
    if (!records::CarryAllowed(carried))
        throw IoError(plan.fromLedger, "The folio could not be carried to room " + Shown(plan.toRoom));

    records::GuestRecord guest = plan.guest;
    platform::DescribeStep(folder, "Move of " + Trim(guest.FirstName) + " " + Trim(guest.LastName) +
                                       " from room " + Trim(plan.fromRoom) + " to room " + Trim(plan.toRoom));
    guest.Room = plan.toRoom;
    records::WriteGuest(folder, records::kGuestFile, plan.guestSlot, guest);

    if (plan.fromRecord) {
        records::RoomRecord left = records::ReadRoom(folder, *plan.fromRecord);
        left.Clean = "N";
        left.Vacant = "Y";
        left.Service = "A";
        records::WriteRoom(folder, *plan.fromRecord, left);
    }
    records::RoomRecord entered = records::ReadRoom(folder, plan.toRecord);
    entered.Clean = "Y";
    entered.Vacant = "N";
    entered.Service = "O";
    records::WriteRoom(folder, plan.toRecord, entered);

    records::AppendMoveLogLine(folder, DateText(now.date),
                               {shift, clerk, plan.fromRoom, plan.toRoom, now.time});
    records::WriteMovedYes(folder, 1.0f);
}

// Centred on a 1024 x 768 screen.
Form8::Form8(App& app) : AppForm(app, kName, "Move Guest", {172, 274, 680, 220}) {
    SetKeyPreview(true);
    Combo1.on_click = [this] { Combo1_Click(); };
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
}

void Form8::Form_Load() {
    Show();
    for (const records::GuestRecord& guest : records::ReadAllGuests(app().data(), records::kGuestFile))
        if (!guest.IsFree())
            Combo1.AddItem(OccupiedRoomLine(guest));
    for (const records::RoomRecord& room : records::ReadAllRooms(app().data()))
        if (OfferedForMove(room))
            Combo2.AddItem(FreeRoomLine(room));
}

void Form8::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        Command2_Click();
    }
}

void Form8::Combo1_Click() {
    Label3.SetVisible(true);
    Combo2.SetVisible(true);
    Command1.SetVisible(true);
}

void Form8::Command1_Click() {
    if (Combo2.Text().empty() || Combo2.Text() == "select room") {
        MsgBox("You did not select a room from the list.", vbOKOnly, "Error");
        return;
    }
    const MovePlan plan = PlanMove(app().data(), Left(Combo1.Text(), 3), Left(Combo2.Text(), 3));
    if (!plan.problem.empty()) {
        MsgBox(plan.problem, vbOKOnly, "Error");
        return;
    }
    MakeMove(app().data(), plan, app().gShift, app().gClerk, app().clock().Now());
    app().Unload(*this);
}

void Form8::Command2_Click() {
    app().Unload(*this);
    ReturnToFrontDesk(app());
}

} // namespace vantreth
