// Correcting an in-house guest's record: the boxes filled from the record, the checks made
// before anything is written, and the save, which carries the stay's ledger to the new file
// name when the guest's name changes.
#pragma once

#include "platform/files.h"
#include "records/guest_record.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vantreth {

// The texts of the Edit Guest boxes.
struct GuestEdit {
    std::string lastName, firstName, company, street, city, state, zip, phone, regCard;
    std::string adults, children, comment;
    std::string departure, payCode, dbNumber, cardNumber, cardExpiry, rate;
    // Not boxes: the stay's arrival and its departure as stored. A departure typed must come
    // after the arrival; one left as it was stored is not refused again.
    std::string arrival, storedDeparture;
    // The rate box's text as loaded (stay::RateAsLoaded); none for a stay not loaded.
    std::optional<std::string> loadedRate;
    // The count boxes' texts as loaded (their shortest text); none for a stay not loaded.
    std::optional<std::string> loadedAdults, loadedChildren;
    // The departure box's text as loaded (right-trimmed); none for a stay not loaded.
    std::optional<std::string> loadedDeparture;
};

// The boxes as the window fills them: texts right-trimmed, numbers as their shortest text.
GuestEdit EditFromRecord(const records::GuestRecord& guest);

// Why a save is refused, in the order the clerk hears of them.
enum class EditProblem {
    NoRate,
    BadRate,
    ZeroDay,
    ZeroMonth,
    NoDeparture,
    BadDateFormat,
    NotADate,
    DepartureNotAfterArrival,
    RateCents,
    RateTooLarge,
    NoPayCode,
    BadPayCode,
    NoDirectBill,
    BadDirectBill,
    NoName,
    BadLastName,
    BadFirstName,
    BadAdults,
    BadChildren,
};
std::string EditProblemMessage(EditProblem problem);

struct EditCheck {
    std::optional<EditProblem> problem;
    // The account code names an account: the stay becomes a direct-bill stay.
    bool accountFound = false;
};
// Checks the boxes; `accountExists` is asked only when the account code box is not empty.
// The departure date must be a real date written as the system writes dates (1/5/04);
// `currentYear` places a two-digit year.
EditCheck CheckGuestEdit(const GuestEdit& edit, int currentYear,
                         const std::function<bool(const std::string&)>& accountExists);

// A name may not hold a path separator, a double quote or a control character: the name is
// part of the ledger's file name, and the history file cannot keep a double quote.
bool NameIsSafe(std::string_view name);

// The record with the edited fields replaced; every field the window does not show keeps
// its value.
records::GuestRecord ApplyGuestEdit(records::GuestRecord guest, const GuestEdit& edit);

// The new names as the save compares them with the names loaded: upper case, right-trimmed.
std::string EditedName(std::string_view boxText);

// A save checked against the files, before anything is written.
struct EditPlan {
    std::string problem;   // what the clerk is told when the save cannot be made; empty = go ahead
    bool stayGone = false; // the stay loaded is no longer there as it was: nothing left to edit
    long slot = 0;
    records::GuestRecord before; // as read
    records::GuestRecord after;  // as it will be written
    platform::FilePath fromLedger;
    platform::FilePath toLedger;
};
EditPlan PlanGuestEdit(const platform::DataFolder& folder, std::string_view room3, const GuestEdit& edit);

// The stay the window loaded: its slot in the guest file and the record as it was read.
struct LoadedStay {
    long slot = 0;
    records::GuestRecord record;
};
// The stored record is still the stay that was loaded, unchanged but for the printed mark
// (CheckOutTime), which Print Folio may set while the window is open.
bool StillAsLoaded(const records::GuestRecord& stored, const records::GuestRecord& loaded);
// A save of the boxes over the stay that was loaded, and only that stay. Refused, with
// nothing written, when the slot no longer holds it (checked out, another guest in its
// place) or holds it changed (moved to another room, edited elsewhere): the boxes were
// filled from a record that is no longer what is stored.
EditPlan PlanGuestEdit(const platform::DataFolder& folder, const LoadedStay& loaded, const GuestEdit& edit);

// Makes a save that PlanGuestEdit allowed: the ledger is carried first (when its name
// changes), then the record is written back in place. When the record cannot be written the
// ledger is carried back, so the two never disagree.
void SaveGuestEdit(const platform::DataFolder& folder, const EditPlan& plan);

} // namespace vantreth
