// The guest's details as the guest windows take them (check-in, Add Reservation, Edit
// Reservation, Edit Guest), on the engine's side: the details of an entry written into a
// GuestRecord, and a stored stay's texts as the edit windows show them. The boxes
// themselves, their keys and what is read from and written into them, are the windows'
// (app/guest_boxes.h).
#pragma once

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/guest_record.h"

#include <optional>
#include <string>

namespace vantreth::stay {

using records::Letters;

// The guest's details of an entry (any of the windows' entry structures: they name the
// details alike), as typed.
template <class Entry> records::GuestDetails GuestDetailsOf(const Entry& entry) {
    return {entry.lastName, entry.firstName, entry.company, entry.street, entry.city,     entry.state,
            entry.zip,      entry.phone,     entry.regCard, entry.adults, entry.children, entry.comment};
}

// The entry's guest details into the record (records::PutGuestDetails).
template <class Entry> void PutGuestDetails(records::GuestRecord& r, const Entry& entry, Letters letters) {
    records::PutGuestDetails(r, GuestDetailsOf(entry), letters);
}

// The edit windows of a stored stay (Edit Guest, Edit Reservation) show its guest details
// and its departure, pay code, account, card number and expiry, and rate.

// The rate box's text for a stored rate. A rate box that still shows it is the stored rate
// left as it is: the typed-amount rule does not judge it again, and the stay keeps its Single
// byte for byte (a rate of 53.955 written by an earlier version stays 53.955).
inline std::string RateAsLoaded(const records::GuestRecord& r) {
    return platform::StoredText(r.Rate);
}
// A box of a stored stay still showing its text as loaded (none for a stay not loaded) is the
// stored value left as it is: saved as it was, before and without any check of typed text.
inline bool LeftAsLoaded(const std::string& text, const std::optional<std::string>& loaded) {
    return loaded && text == *loaded;
}
// The rate box as the clerk left it is the stored rate untouched.
template <class Boxes> bool RateUntouched(const Boxes& b) {
    return LeftAsLoaded(b.rate, b.loadedRate);
}
// The count boxes likewise (a count below zero, which older files can hold, is no count typed).
template <class Boxes> bool AdultsUntouched(const Boxes& b) {
    return LeftAsLoaded(b.adults, b.loadedAdults);
}
template <class Boxes> bool ChildrenUntouched(const Boxes& b) {
    return LeftAsLoaded(b.children, b.loadedChildren);
}
template <class Boxes> bool DepartureUntouched(const Boxes& b) {
    return LeftAsLoaded(b.departure, b.loadedDeparture);
}
// The stored counts back into the record where their boxes were left as loaded.
template <class Boxes>
void KeepCountsLeftAsLoaded(records::GuestRecord& r, const records::GuestRecord& stored, const Boxes& b) {
    if (AdultsUntouched(b))
        r.Adults = stored.Adults;
    if (ChildrenUntouched(b))
        r.Children = stored.Children;
}

// The stored stay's texts as the edit windows show them: right-trimmed, numbers as their
// shortest text.
template <class Boxes> void StayBoxesFromRecord(Boxes& b, const records::GuestRecord& r) {
    b.lastName = platform::RTrim(r.LastName);
    b.firstName = platform::RTrim(r.FirstName);
    b.company = platform::RTrim(r.Company);
    b.street = platform::RTrim(r.Street);
    b.city = platform::RTrim(r.City);
    b.state = platform::RTrim(r.State);
    b.zip = platform::RTrim(r.Zip);
    b.phone = platform::RTrim(r.Phone);
    b.regCard = platform::RTrim(r.RegCard);
    b.adults = platform::CStr(r.Adults);
    b.children = platform::CStr(r.Children);
    b.comment = platform::RTrim(r.Comment);
    b.departure = platform::RTrim(r.DepartureDate);
    b.payCode = platform::RTrim(r.PayCode);
    b.dbNumber = platform::RTrim(r.DBNumber);
    b.cardNumber = platform::RTrim(r.CardNumber);
    b.cardExpiry = platform::RTrim(r.CardExpiry);
    b.rate = RateAsLoaded(r);
    b.loadedRate = b.rate;
    b.loadedAdults = b.adults;
    b.loadedChildren = b.children;
    b.loadedDeparture = b.departure;
}

} // namespace vantreth::stay
