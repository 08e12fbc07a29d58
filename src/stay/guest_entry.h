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
// The rate box as the clerk left it is the stored rate untouched.
template <class Boxes> bool RateUntouched(const Boxes& b) {
    return b.loadedRate && b.rate == *b.loadedRate;
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
}

} // namespace vantreth::stay
