// GuestSlots: the guest and reservations files read in one go, a field at a time. Every field
// reads as GuestRecord reads it, whatever the bytes on disk.
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records_fixture.h"

#include <string>
#include <vector>

namespace records {
namespace {

using testing::RecordsTest;

struct FieldCase {
    GuestField field;
    std::string GuestRecord::*member;
};

const FieldCase kFields[] = {
    {GuestField::LastName, &GuestRecord::LastName},
    {GuestField::FirstName, &GuestRecord::FirstName},
    {GuestField::Company, &GuestRecord::Company},
    {GuestField::Street, &GuestRecord::Street},
    {GuestField::City, &GuestRecord::City},
    {GuestField::State, &GuestRecord::State},
    {GuestField::Zip, &GuestRecord::Zip},
    {GuestField::Phone, &GuestRecord::Phone},
    {GuestField::RegCard, &GuestRecord::RegCard},
    {GuestField::Clerk, &GuestRecord::Clerk},
    {GuestField::Room, &GuestRecord::Room},
    {GuestField::PayCode, &GuestRecord::PayCode},
    {GuestField::CheckInTime, &GuestRecord::CheckInTime},
    {GuestField::ArrivalDate, &GuestRecord::ArrivalDate},
    {GuestField::CheckOutTime, &GuestRecord::CheckOutTime},
    {GuestField::DepartureDate, &GuestRecord::DepartureDate},
    {GuestField::CardNumber, &GuestRecord::CardNumber},
    {GuestField::CardExpiry, &GuestRecord::CardExpiry},
    {GuestField::DBNumber, &GuestRecord::DBNumber},
    {GuestField::FolioNumber, &GuestRecord::FolioNumber},
    {GuestField::Comment, &GuestRecord::Comment},
    {GuestField::ReservedOn, &GuestRecord::ReservedOn},
    {GuestField::SpareText, &GuestRecord::SpareText},
    {GuestField::CardDeposit, &GuestRecord::CardDeposit},
    {GuestField::ConfirmationNumber, &GuestRecord::ConfirmationNumber},
    {GuestField::CashDeposit, &GuestRecord::CashDeposit},
};

// A record whose every text field holds text of its own, so a field read at another's
// offset cannot pass.
GuestRecord Numbered(int n) {
    GuestRecord g;
    char letter = 'A';
    for (const FieldCase& f : kFields)
        g.*f.member = std::string(1, letter++) + std::to_string(n) + std::string(200, '.');
    g.Adults = 2;
    g.Rate = 45.5f;
    return GuestRecord::Decode(g.Encode());
}

class GuestSlotsTest : public RecordsTest {
protected:
    // Every field, the free test and the whole record of every slot, against ReadGuest.
    void ExpectReadsAsRecords(std::string_view fileName) {
        const GuestSlots slots(folder(), fileName);
        ASSERT_EQ(slots.Count(), GuestCount(folder(), fileName));
        for (long n = 1; n <= slots.Count(); ++n) {
            const GuestRecord record = ReadGuest(folder(), fileName, n);
            for (const FieldCase& f : kFields)
                EXPECT_EQ(slots.Field(n, f.field), record.*f.member)
                    << "slot " << n << ", field " << static_cast<int>(f.field);
            EXPECT_EQ(slots.IsFree(n), record.IsFree()) << "slot " << n;
            EXPECT_EQ(slots.Record(n), record) << "slot " << n;
        }
    }
};

TEST_F(GuestSlotsTest, EveryFieldOfEverySlotReadsAsInTheRecord) {
    GuestRecord freed = Numbered(3);
    freed.ClearReservation();
    GuestRecord oneName = Numbered(4);
    oneName.FirstName = "";
    const std::vector<GuestRecord> records = {Numbered(1), Numbered(2), freed, oneName, GuestRecord()};
    for (size_t i = 0; i < records.size(); ++i)
        WriteGuest(folder(), kReservationsFile, static_cast<long>(i) + 1, records[i]);
    ExpectReadsAsRecords(kReservationsFile);
    const GuestSlots slots(folder(), kReservationsFile);
    EXPECT_EQ(slots.Field(2, GuestField::Room), "K2.");
    EXPECT_EQ((std::vector<bool>{slots.IsFree(1), slots.IsFree(3), slots.IsFree(4), slots.IsFree(5)}),
              (std::vector<bool>{false, true, false, true}));
}

TEST_F(GuestSlotsTest, ZeroBytesReadAsBlanksInTextButNotInNumbersAndATornTailIsNoSlot) {
    std::string image = Numbered(1).Encode();
    image.replace(0, 5, std::string(5, '\0'));     // inside LastName
    image.replace(126, 3, std::string(3, '\0'));   // all of Room
    image.replace(186, 4, std::string(4, '\0'));   // Rate 0
    image.replace(460, 7, std::string(7, '\0'));   // the end of CashDeposit
    std::string zeros(GuestRecord::kLength, '\0'); // a slot never written
    WriteRaw(folder().File(kGuestFile), image + zeros + Numbered(3).Encode().substr(0, 100));
    ExpectReadsAsRecords(kGuestFile);
    const GuestSlots slots(folder(), kGuestFile);
    EXPECT_EQ(slots.Count(), 2);
    EXPECT_EQ(slots.Field(1, GuestField::Room), "   ");
    EXPECT_EQ(slots.Record(1).Rate, 0.0f);
    EXPECT_EQ(slots.Record(1).Adults, 2.0f);
    EXPECT_TRUE(slots.IsFree(2));
}

TEST_F(GuestSlotsTest, AFileOfThousandsOfSlotsIsReadWhole) {
    std::string image;
    const long count = 9000;
    for (long n = 1; n <= count; ++n) {
        GuestRecord g;
        g.LastName = "N" + std::to_string(n);
        g.Room = std::to_string(n % 1000);
        image += g.Encode();
    }
    WriteRaw(folder().File(kReservationsFile), image);
    const GuestSlots slots(folder(), kReservationsFile);
    ASSERT_EQ(slots.Count(), count);
    for (long n : {1L, 4095L, 4096L, 4097L, 8192L, 8193L, count})
        EXPECT_EQ(slots.Field(n, GuestField::LastName), ReadGuest(folder(), kReservationsFile, n).LastName)
            << n;
    EXPECT_EQ(FindFreeGuestSlot(folder(), kReservationsFile), count + 1);
}

TEST_F(GuestSlotsTest, AMissingFileHasNoSlotsAndASlotPastTheEndIsRefused) {
    const GuestSlots none(folder(), kReservationsFile);
    EXPECT_EQ(none.Count(), 0);
    WriteGuest(folder(), kReservationsFile, 1, Numbered(1));
    const GuestSlots one(folder(), kReservationsFile);
    EXPECT_THROW(one.Field(0, GuestField::Room), std::out_of_range);
    EXPECT_THROW(one.Field(2, GuestField::Room), std::out_of_range);
    EXPECT_THROW(one.Record(2), std::out_of_range);
}

} // namespace
} // namespace records
