// Correcting an in-house guest's record: checks, the record written back, the ledger carried.
#include "folio/edit_guest.h"

#include "platform/clock.h"
#include "platform/decimal.h"
#include "platform/text.h"
#include "records/arrivals.h"
#include "records/filenames.h"
#include "records/ledger_rename.h"
#include "records/posting_codes.h"
#include "records/stay_ledger.h"
#include "stay/guest_entry.h"

namespace vantreth {

using namespace platform;

GuestEdit EditFromRecord(const records::GuestRecord& guest) {
    GuestEdit edit;
    stay::StayBoxesFromRecord(edit, guest);
    edit.arrival = RTrim(guest.ArrivalDate);
    edit.storedDeparture = edit.departure;
    return edit;
}

std::string EditProblemMessage(EditProblem problem) {
    switch (problem) {
    case EditProblem::NoRate:
        return "The rate is blank. Please enter a rate.";
    case EditProblem::BadRate:
        return "The rate is not a number. Please enter the rate in dollars, for example 45.50.";
    case EditProblem::ZeroDay:
        return "Do not put an 0 before the day of the month. For example, it would be 1/5/04 not 1/05/04. "
               "Please Fix.";
    case EditProblem::ZeroMonth:
        return "Do not put an 0 at the beginning of the month. For example, it would be 1/5/04 not 01/5/04. "
               "Please Fix.";
    case EditProblem::NoDeparture:
        return "The Departure date is missing. Please enter a departure date.";
    case EditProblem::BadDateFormat:
        return "The Date format is wrong. Please fix.";
    case EditProblem::NotADate:
        return "The Departure date is not a real date. Please type it as month/day/year, for example 1/5/04.";
    case EditProblem::DepartureNotAfterArrival:
        return records::kDepartureNotAfterArrival;
    case EditProblem::RateCents:
        return records::kCentsMessage;
    case EditProblem::RateTooLarge:
        return records::kAmountTooLargeMessage;
    case EditProblem::NoPayCode:
        return "There is no paycode chosen.";
    case EditProblem::BadPayCode:
        return "The paycode is invalid. Please change to a valid paycode.";
    case EditProblem::NoDirectBill:
        return "You did not enter a direct bill number.";
    case EditProblem::BadDirectBill:
        return "The Direct Bill number you entered is not a valid DB number.";
    case EditProblem::NoName:
        return "The last and first names are both blank. Please enter the guest's name.";
    case EditProblem::BadLastName:
        return "The last name cannot hold / \\ \" or control characters. Please fix.";
    case EditProblem::BadFirstName:
        return "The first name cannot hold / \\ \" or control characters. Please fix.";
    case EditProblem::BadAdults:
        return "The number of adults is not a number. Please fix.";
    case EditProblem::BadChildren:
        return "The number of children is not a number. Please fix.";
    }
    return std::string();
}

bool NameIsSafe(std::string_view name) {
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 32 || c == 127 || c == '/' || c == '\\' || c == '"')
            return false;
    }
    return true;
}

namespace {

// A count box may be left empty (0).
bool CountOk(const std::string& text) {
    return Trim(text).empty() || IsNonNegativeNumber(text);
}

// The date must read back as the same text the system writes for that day, so that the
// stay is found among the guests due out on it.
bool RealDate(const std::string& text, int currentYear) {
    const std::optional<Date> date = ParseDate(text, currentYear);
    return date && IsValidDate(*date) && DateText(*date) == RTrim(text);
}

} // namespace

EditCheck CheckGuestEdit(const GuestEdit& edit, int currentYear,
                         const std::function<bool(const std::string&)>& accountExists) {
    EditCheck check;
    auto fail = [&](EditProblem problem) {
        check.problem = problem;
        return check;
    };
    // The rate is judged as typed only when the clerk changed it.
    if (!stay::RateUntouched(edit)) {
        if (edit.rate.empty())
            return fail(EditProblem::NoRate);
        if (!IsNonNegativeNumber(edit.rate))
            return fail(EditProblem::BadRate);
        if (!IsTypedAmount(edit.rate))
            return fail(EditProblem::RateCents);
        if (!FitsAmount(edit.rate))
            return fail(EditProblem::RateTooLarge);
    }

    // A departure left as loaded is the stored one: not judged as typed.
    if (!stay::DepartureUntouched(edit)) {
        // The year, the last two characters, is not looked at: 1/5/04 is not a zero day.
        const std::string& date = edit.departure;
        const long length = static_cast<long>(date.size());
        for (long i = 2; i <= length - 2; ++i)
            if (Mid(date, i - 1, 1) == "/" && Mid(date, i, 1) == "0")
                return fail(EditProblem::ZeroDay);
        if (Left(date, 1) == "0")
            return fail(EditProblem::ZeroMonth);
        if (date.empty())
            return fail(EditProblem::NoDeparture);
        if (Left(date, 1) == "/" || (Mid(date, 2, 1) == "/" && Mid(date, 3, 1) == "/"))
            return fail(EditProblem::BadDateFormat);
        if (!RealDate(date, currentYear))
            return fail(EditProblem::NotADate);
        if (RTrim(date) != RTrim(edit.storedDeparture) &&
            !records::DepartsAfterArrival(edit.arrival, date, currentYear))
            return fail(EditProblem::DepartureNotAfterArrival);
    }

    if (edit.payCode.empty())
        return fail(EditProblem::NoPayCode);
    if (!records::IsPayCode(edit.payCode))
        return fail(EditProblem::BadPayCode);
    if (edit.dbNumber.empty() && edit.payCode == records::kDirectBill.code)
        return fail(EditProblem::NoDirectBill);
    if (!edit.dbNumber.empty()) {
        check.accountFound = accountExists(edit.dbNumber);
        if (!check.accountFound)
            return fail(EditProblem::BadDirectBill);
    }

    // Both names blank would make the slot free: the stay would vanish from the guest file.
    if (Trim(edit.lastName).empty() && Trim(edit.firstName).empty())
        return fail(EditProblem::NoName);
    if (!NameIsSafe(edit.lastName))
        return fail(EditProblem::BadLastName);
    if (!NameIsSafe(edit.firstName))
        return fail(EditProblem::BadFirstName);
    if (!stay::AdultsUntouched(edit) && !CountOk(edit.adults))
        return fail(EditProblem::BadAdults);
    if (!stay::ChildrenUntouched(edit) && !CountOk(edit.children))
        return fail(EditProblem::BadChildren);
    return check;
}

records::GuestRecord ApplyGuestEdit(records::GuestRecord guest, const GuestEdit& edit) {
    using records::GuestField;
    const records::GuestRecord stored = guest;
    records::PutGuestDetails(guest,
                             {edit.lastName, edit.firstName, edit.company, edit.street, edit.city, edit.state,
                              edit.zip, edit.phone, edit.regCard, edit.adults, edit.children, edit.comment},
                             records::Letters::Capitals);
    stay::KeepCountsLeftAsLoaded(guest, stored, edit);
    if (!stay::DepartureUntouched(edit))
        guest.Set(GuestField::DepartureDate, edit.departure);
    guest.Set(GuestField::PayCode, edit.payCode);
    guest.Set(GuestField::DBNumber, edit.dbNumber);
    guest.Set(GuestField::CardNumber, edit.cardNumber);
    guest.Set(GuestField::CardExpiry, edit.cardExpiry);
    if (!stay::RateUntouched(edit))
        guest.Rate = static_cast<float>(Val(edit.rate));
    return guest;
}

std::string EditedName(std::string_view boxText) {
    return RTrim(UCase(boxText));
}

namespace {

// The record with the edited boxes, and the ledger carried when the name changes.
void PlanWriteBack(const DataFolder& folder, EditPlan& plan, const GuestEdit& edit) {
    plan.after = ApplyGuestEdit(plan.before, edit);
    // The ledger's name follows the record as it is stored, names cut to their width.
    plan.fromLedger = records::StayLedgerPath(folder, plan.before);
    plan.toLedger = records::StayLedgerPath(folder, plan.after);
    switch (records::CheckLedgerCarry(plan.fromLedger, plan.toLedger)) {
    case records::LedgerCarry::Missing:
        plan.problem = "The folio of this guest (" + plan.fromLedger.filename().string() +
                       ") could not be found, so the name cannot be changed. Nothing was saved.";
        break;
    case records::LedgerCarry::NameTaken:
        plan.problem = "Another folio named " + plan.toLedger.filename().string() +
                       " already exists. Nothing was saved, so that the two folios are not mixed.";
        break;
    default:
        break;
    }
}

} // namespace

EditPlan PlanGuestEdit(const DataFolder& folder, std::string_view room3, const GuestEdit& edit) {
    EditPlan plan;
    const std::string room = Fixed(Left(room3, 3), 3);
    const std::optional<long> slot = records::FindGuestByRoom(folder, records::kGuestFile, room);
    if (!slot) {
        plan.problem = "There is no longer a guest in room " + RTrim(room) + ". Nothing was saved.";
        plan.stayGone = true;
        return plan;
    }
    plan.slot = *slot;
    plan.before = records::ReadGuest(folder, records::kGuestFile, *slot);
    PlanWriteBack(folder, plan, edit);
    return plan;
}

bool StillAsLoaded(const records::GuestRecord& stored, const records::GuestRecord& loaded) {
    records::GuestRecord unmarked = stored;
    unmarked.CheckOutTime = loaded.CheckOutTime;
    return unmarked == loaded;
}

EditPlan PlanGuestEdit(const DataFolder& folder, const LoadedStay& loaded, const GuestEdit& edit) {
    EditPlan plan;
    const records::GuestRecord& was = loaded.record;
    const std::string room = RTrim(was.Room);
    const std::string who = RTrim(was.LastName) + ", " + RTrim(was.FirstName);
    const bool slotExists =
        loaded.slot >= 1 && loaded.slot <= records::GuestCount(folder, records::kGuestFile);
    const records::GuestRecord stored =
        slotExists ? records::ReadGuest(folder, records::kGuestFile, loaded.slot) : records::GuestRecord{};
    plan.stayGone = true;
    if (!slotExists || stored.IsFree()) {
        plan.problem = "There is no longer a guest in room " + room + ". Nothing was saved.";
        return plan;
    }
    if (stored.FolioNumber != was.FolioNumber || stored.ArrivalDate != was.ArrivalDate) {
        plan.problem = who + " (folio " + Trim(was.FolioNumber) + ") is no longer checked in to room " +
                       room + ": another stay holds that record now. Nothing was saved.";
        return plan;
    }
    if (!StillAsLoaded(stored, was)) {
        const std::string what =
            stored.Room != was.Room ? "moved to room " + RTrim(stored.Room) : "changed in another window";
        plan.problem = who + " was " + what +
                       " after Edit Guest was opened. Nothing was saved. Please open Edit Guest again.";
        return plan;
    }
    plan.stayGone = false;
    plan.slot = loaded.slot;
    plan.before = stored;
    PlanWriteBack(folder, plan, edit);
    return plan;
}

void SaveGuestEdit(const DataFolder& folder, const EditPlan& plan) {
    const records::LedgerCarry carried = records::CarryStayLedger(plan.fromLedger, plan.toLedger);
    if (!records::CarryAllowed(carried))
        throw IoError(plan.fromLedger, "The folio could not be carried to its new name");
    try {
        records::WriteGuest(folder, records::kGuestFile, plan.slot, plan.after);
    } catch (const IoError&) {
        if (carried != records::LedgerCarry::SameName)
            records::CarryStayLedger(plan.toLedger, plan.fromLedger);
        throw;
    }
}

} // namespace vantreth
