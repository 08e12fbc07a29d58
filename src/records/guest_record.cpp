// GuestRecord and the slot rules of the guest and reservations files.
#include "records/guest_record.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/record_fields.h"
#include "records/record_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

namespace records {

using platform::DataFolder;
using platform::RecordBuffer;

namespace {

struct TextField {
    size_t offset;
    size_t width;
    std::string GuestRecord::*member;
};

struct SingleField {
    size_t offset;
    float GuestRecord::*member;
};

const std::array<TextField, 26> kTextFields{{
    {0, 15, &GuestRecord::LastName},
    {15, 15, &GuestRecord::FirstName},
    {30, 20, &GuestRecord::Company},
    {50, 25, &GuestRecord::Street},
    {75, 20, &GuestRecord::City},
    {95, 2, &GuestRecord::State},
    {97, 6, &GuestRecord::Zip},
    {103, 15, &GuestRecord::Phone},
    {118, 6, &GuestRecord::RegCard},
    {124, 2, &GuestRecord::Clerk},
    {126, 3, &GuestRecord::Room},
    {145, 1, &GuestRecord::PayCode},
    {146, 10, &GuestRecord::CheckInTime},
    {156, 10, &GuestRecord::ArrivalDate},
    {166, 10, &GuestRecord::CheckOutTime},
    {176, 10, &GuestRecord::DepartureDate},
    {194, 40, &GuestRecord::CardNumber},
    {234, 10, &GuestRecord::CardExpiry},
    {244, 8, &GuestRecord::DBNumber},
    {252, 5, &GuestRecord::FolioNumber},
    {257, 160, &GuestRecord::Comment},
    {417, 10, &GuestRecord::ReservedOn},
    {427, 10, &GuestRecord::SpareText},
    {437, 10, &GuestRecord::CardDeposit},
    {447, 10, &GuestRecord::ConfirmationNumber},
    {457, 10, &GuestRecord::CashDeposit},
}};

const std::array<SingleField, 6> kSingleFields{{
    {129, &GuestRecord::Adults},
    {133, &GuestRecord::Children},
    {137, &GuestRecord::Nights},
    {141, &GuestRecord::TaxExempt},
    {186, &GuestRecord::Rate},
    {190, &GuestRecord::SpareAmount},
}};

static_assert(static_cast<size_t>(GuestField::CashDeposit) + 1 == kTextFields.size());

// The stretches of a record that hold text: everything but the Singles at 129-144 and 186-193.
constexpr std::array<std::pair<size_t, size_t>, 3> kTextStretches{{{0, 129}, {145, 186}, {194, 467}}};

RecordFile<GuestRecord> GuestFile(const DataFolder& folder, std::string_view fileName) {
    return RecordFile<GuestRecord>(folder.File(fileName));
}

const std::string kBlankName(15, ' ');

} // namespace

GuestRecord GuestRecord::Decode(std::string_view bytes) {
    const RecordBuffer buffer(fields::Padded(bytes, kLength));
    GuestRecord guest;
    for (const TextField& f : kTextFields)
        guest.*f.member = fields::Text(buffer, f.offset, f.width);
    for (const SingleField& f : kSingleFields)
        guest.*f.member = buffer.Single(f.offset);
    return guest;
}

std::string GuestRecord::Encode() const {
    RecordBuffer buffer(kLength);
    for (const TextField& f : kTextFields)
        buffer.SetText(f.offset, f.width, this->*f.member);
    for (const SingleField& f : kSingleFields)
        buffer.SetSingle(f.offset, this->*f.member);
    return buffer.bytes();
}

size_t GuestFieldWidth(GuestField field) {
    return kTextFields[static_cast<size_t>(field)].width;
}

void GuestRecord::Set(GuestField field, std::string_view text) {
    const TextField& f = kTextFields[static_cast<size_t>(field)];
    this->*f.member = platform::Fixed(text, f.width);
}

void PutGuestDetails(GuestRecord& record, const GuestDetails& details, Letters letters) {
    const auto text = [letters](std::string_view typed) {
        return letters == Letters::Capitals ? platform::UCase(typed) : std::string(typed);
    };
    record.Set(GuestField::LastName, StoredText(text(details.lastName)));
    record.Set(GuestField::FirstName, StoredText(text(details.firstName)));
    record.Set(GuestField::Company, text(details.company));
    record.Set(GuestField::Street, text(details.street));
    record.Set(GuestField::City, text(details.city));
    record.Set(GuestField::State, text(details.state));
    record.Set(GuestField::Zip, details.zip);
    record.Set(GuestField::Phone, details.phone);
    record.Set(GuestField::RegCard, details.regCard);
    record.Adults = static_cast<float>(platform::Val(details.adults));
    record.Children = static_cast<float>(platform::Val(details.children));
    record.Set(GuestField::Comment, text(details.comment));
}

bool GuestRecord::IsFree() const {
    return platform::RTrim(LastName).empty() && platform::RTrim(FirstName).empty();
}

void GuestRecord::ClearStay() {
    Room = "   ";
    LastName = kBlankName;
    FirstName = kBlankName;
}

void GuestRecord::ClearReservation() {
    ClearStay();
    const std::string blank(10, ' ');
    ArrivalDate = blank;
    ReservedOn = blank;
    CardDeposit = blank;
    CashDeposit = blank;
}

GuestRecord ReadGuest(const DataFolder& folder, std::string_view fileName, long n) {
    return GuestFile(folder, fileName).Read(n);
}

void WriteGuest(const DataFolder& folder, std::string_view fileName, long n, const GuestRecord& guest) {
    GuestFile(folder, fileName).Write(n, guest);
}

long GuestCount(const DataFolder& folder, std::string_view fileName) {
    return GuestFile(folder, fileName).Count();
}

GuestSlots::GuestSlots(const DataFolder& folder, std::string_view fileName) {
    // One read for the whole file.
    m_bytes = GuestFile(folder, fileName).ReadAllBytes();
    m_count = static_cast<long>(m_bytes.size() / GuestRecord::kLength);
    // Zero bytes in a text field read as blanks; a Single keeps its bytes.
    for (long n = 0; n < m_count; ++n) {
        char* record = m_bytes.data() + static_cast<size_t>(n) * GuestRecord::kLength;
        for (const auto& [from, to] : kTextStretches)
            if (std::memchr(record + from, '\0', to - from) != nullptr)
                std::replace(record + from, record + to, '\0', ' ');
    }
}

std::string_view GuestSlots::Field(long n, GuestField field) const {
    if (n < 1 || n > m_count)
        throw std::out_of_range("GuestSlots::Field past the last slot");
    const TextField& f = kTextFields[static_cast<size_t>(field)];
    return std::string_view(m_bytes).substr(static_cast<size_t>(n - 1) * GuestRecord::kLength + f.offset,
                                            f.width);
}

bool GuestSlots::IsFree(long n) const {
    const auto blank = [](std::string_view text) {
        return text.find_first_not_of(' ') == std::string_view::npos;
    };
    return blank(Field(n, GuestField::LastName)) && blank(Field(n, GuestField::FirstName));
}

GuestRecord GuestSlots::Record(long n) const {
    if (n < 1 || n > m_count)
        throw std::out_of_range("GuestSlots::Record past the last slot");
    return GuestRecord::Decode(std::string_view(m_bytes).substr(
        static_cast<size_t>(n - 1) * GuestRecord::kLength, GuestRecord::kLength));
}

std::vector<GuestRecord> ReadAllGuests(const DataFolder& folder, std::string_view fileName) {
    const GuestSlots slots(folder, fileName);
    std::vector<GuestRecord> guests;
    guests.reserve(slots.Count());
    for (long n = 1; n <= slots.Count(); ++n)
        guests.push_back(slots.Record(n));
    return guests;
}

long FindFreeGuestSlot(const DataFolder& folder, std::string_view fileName) {
    const GuestSlots slots(folder, fileName);
    for (long n = 1; n <= slots.Count(); ++n) {
        if (slots.IsFree(n))
            return n;
    }
    return slots.Count() + 1;
}

long AddGuest(const DataFolder& folder, std::string_view fileName, const GuestRecord& guest) {
    const long slot = FindFreeGuestSlot(folder, fileName);
    WriteGuest(folder, fileName, slot, guest);
    return slot;
}

std::optional<long> FindGuestByRoom(const DataFolder& folder, std::string_view fileName,
                                    std::string_view room3) {
    const std::string key = platform::Fixed(room3, 3);
    const GuestSlots slots(folder, fileName);
    for (long n = 1; n <= slots.Count(); ++n) {
        // A freed slot keeps a blank Room; it is no stay, even for a room numbered "   ".
        if (slots.Field(n, GuestField::Room) == key && !slots.IsFree(n))
            return n;
    }
    return std::nullopt;
}

} // namespace records
