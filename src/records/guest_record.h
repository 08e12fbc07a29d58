// GuestRecord: the 467-byte record of both the in-house guests file "guest" and the
// reservations file "reservations". Record numbers are slot numbers; a slot whose
// LastName and FirstName are both blank is free.
//
//   offset width field                offset width field
//        0    15 LastName                 156    10 ArrivalDate
//       15    15 FirstName                166    10 CheckOutTime
//       30    20 Company                  176    10 DepartureDate
//       50    25 Street                   186     4 Rate (Single)
//       75    20 City                     190     4 SpareAmount (Single)
//       95     2 State                    194    40 CardNumber
//       97     6 Zip                      234    10 CardExpiry
//      103    15 Phone                    244     8 DBNumber
//      118     6 RegCard                  252     5 FolioNumber
//      124     2 Clerk                    257   160 Comment
//      126     3 Room                     417    10 ReservedOn
//      129     4 Adults (Single)          427    10 SpareText
//      133     4 Children (Single)        437    10 CardDeposit
//      137     4 Nights (Single)          447    10 ConfirmationNumber
//      141     4 TaxExempt (Single)       457    10 CashDeposit
//      145     1 PayCode
//      146    10 CheckInTime
// TaxExempt is 1 for a tax-exempt stay, else 0.
//
// Text fields hold their stored fixed-width text, blanks included ("12 " for room 12);
// a shorter value assigned to a field is blank-padded, a longer one cut, when written.
// The functions below take the file name: kGuestFile or kReservationsFile.
#pragma once

#include "platform/files.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace records {

// The text fields, for setting one to a text of any length (GuestRecord::Set) and for
// reading a few of them out of every slot (GuestSlots).
enum class GuestField {
    LastName,
    FirstName,
    Company,
    Street,
    City,
    State,
    Zip,
    Phone,
    RegCard,
    Clerk,
    Room,
    PayCode,
    CheckInTime,
    ArrivalDate,
    CheckOutTime,
    DepartureDate,
    CardNumber,
    CardExpiry,
    DBNumber,
    FolioNumber,
    Comment,
    ReservedOn,
    SpareText,
    CardDeposit,
    ConfirmationNumber,
    CashDeposit
};

// The width of a text field, as the table above gives it.
size_t GuestFieldWidth(GuestField field);

struct GuestRecord {
    static constexpr int kLength = 467;

    std::string LastName = std::string(15, ' ');
    std::string FirstName = std::string(15, ' ');
    std::string Company = std::string(20, ' ');
    std::string Street = std::string(25, ' ');
    std::string City = std::string(20, ' ');
    std::string State = std::string(2, ' ');
    std::string Zip = std::string(6, ' ');
    std::string Phone = std::string(15, ' ');
    std::string RegCard = std::string(6, ' ');
    std::string Clerk = std::string(2, ' ');
    std::string Room = std::string(3, ' ');
    float Adults = 0;
    float Children = 0;
    float Nights = 0;
    float TaxExempt = 0;
    std::string PayCode = std::string(1, ' ');
    std::string CheckInTime = std::string(10, ' ');
    std::string ArrivalDate = std::string(10, ' ');
    std::string CheckOutTime = std::string(10, ' ');
    std::string DepartureDate = std::string(10, ' ');
    float Rate = 0;
    float SpareAmount = 0;
    std::string CardNumber = std::string(40, ' ');
    std::string CardExpiry = std::string(10, ' ');
    std::string DBNumber = std::string(8, ' ');
    std::string FolioNumber = std::string(5, ' ');
    std::string Comment = std::string(160, ' ');
    std::string ReservedOn = std::string(10, ' ');
    std::string SpareText = std::string(10, ' ');
    std::string CardDeposit = std::string(10, ' ');
    std::string ConfirmationNumber = std::string(10, ' ');
    std::string CashDeposit = std::string(10, ' ');

    static GuestRecord Decode(std::string_view bytes);
    std::string Encode() const; // all 467 bytes

    // The text field set to the text, cut or blank-padded to the field's width.
    void Set(GuestField field, std::string_view text);

    // Both names blank.
    bool IsFree() const;
    bool IsTaxExempt() const { return TaxExempt == 1.0f; }
    // Deleting an in-house stay: Room, LastName and FirstName blanked; the rest is kept.
    void ClearStay();
    // Deleting a reservation: as ClearStay, and ArrivalDate, ReservedOn, CardDeposit and
    // CashDeposit blanked too.
    void ClearReservation();

    friend bool operator==(const GuestRecord&, const GuestRecord&) = default;
};

// The guest's details as typed in a guest window.
struct GuestDetails {
    std::string_view lastName, firstName, company, street, city, state, zip, phone, regCard;
    std::string_view adults, children, comment;
};

// Whether the names, address and comment are kept in capitals.
enum class Letters { AsTyped, Capitals };

// The details into the record, each cut or padded to its field: names (through
// StoredText, the one rule for names), company, street, city, state and comment as
// `letters` says; zip, phone and registration card as typed; adults and children as the
// numbers they start with.
void PutGuestDetails(GuestRecord& record, const GuestDetails& details, Letters letters);

// Every slot of the named file, read in one go, for the look-ups that go through all the
// slots but need only a few fields of each: a field is a view of its stored text, cut out
// of the file's bytes by its offset, and nothing else of the slot is decoded. Zero bytes
// read as blanks, as in GuestRecord. The views live as long as the object.
class GuestSlots {
public:
    GuestSlots(const platform::DataFolder& folder, std::string_view fileName);

    long Count() const { return m_count; }
    // The field of slot n (from 1 to Count()), as GuestRecord holds it.
    std::string_view Field(long n, GuestField field) const;
    // Both names blank (GuestRecord::IsFree).
    bool IsFree(long n) const;
    // The whole slot, decoded.
    GuestRecord Record(long n) const;

private:
    std::string m_bytes;
    long m_count = 0;
};

// Record n (from 1) of the named file; past the end of the file, blanks and zeros.
GuestRecord ReadGuest(const platform::DataFolder& folder, std::string_view fileName, long n);
void WriteGuest(const platform::DataFolder& folder, std::string_view fileName, long n,
                const GuestRecord& guest);
long GuestCount(const platform::DataFolder& folder, std::string_view fileName);
std::vector<GuestRecord> ReadAllGuests(const platform::DataFolder& folder, std::string_view fileName);
// The first free slot, else record count + 1.
long FindFreeGuestSlot(const platform::DataFolder& folder, std::string_view fileName);
// Writes the record into FindFreeGuestSlot's slot and returns the slot number.
long AddGuest(const platform::DataFolder& folder, std::string_view fileName, const GuestRecord& guest);
// The first record whose Room equals the key taken as a 3-character field; free slots
// (whose Room is blank) are passed over.
std::optional<long> FindGuestByRoom(const platform::DataFolder& folder, std::string_view fileName,
                                    std::string_view room3);

} // namespace records
