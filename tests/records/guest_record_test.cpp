// GuestRecord and the slot rules of the guest and reservations files.
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records_fixture.h"

#include <string>

namespace records {
namespace {

using testing::Bytes;
using testing::RecordsTest;
using testing::Show;

std::string Pad(const std::string& s, size_t width) {
    return s + std::string(width - s.size(), ' ');
}

GuestRecord Smith() {
    GuestRecord g;
    g.LastName = "SMITH";
    g.FirstName = "JOHN";
    g.Company = "ACME";
    g.Street = "1 ELM ST";
    g.City = "SPRINGFIELD";
    g.State = "IL";
    g.Zip = "62701";
    g.Phone = "555-0100";
    g.RegCard = "4711";
    g.Clerk = "AB";
    g.Room = "12";
    g.Adults = 2;
    g.Children = 1;
    g.Nights = 3;
    g.TaxExempt = 0;
    g.PayCode = "L";
    g.CheckInTime = "3:45:12 PM";
    g.ArrivalDate = "12/6/26";
    g.DepartureDate = "12/9/26";
    g.Rate = 45.5f;
    g.CardNumber = "none";
    g.CardExpiry = "none";
    g.FolioNumber = "17";
    g.Comment = "LATE ARRIVAL";
    return g;
}

// Smith() as it lies on disk, written out field by field.
std::string SmithBytes() {
    return Pad("SMITH", 15) + Pad("JOHN", 15) + Pad("ACME", 20) + Pad("1 ELM ST", 25) +
           Pad("SPRINGFIELD", 20) + "IL" + Pad("62701", 6) + Pad("555-0100", 15) + Pad("4711", 6) + "AB" +
           "12 " + Bytes({0x00, 0x00, 0x00, 0x40}) + Bytes({0x00, 0x00, 0x80, 0x3f}) +
           Bytes({0x00, 0x00, 0x40, 0x40}) + Bytes({0, 0, 0, 0}) + "L" + "3:45:12 PM" + Pad("12/6/26", 10) +
           Pad("", 10) + Pad("12/9/26", 10) + Bytes({0x00, 0x00, 0x36, 0x42}) + Bytes({0, 0, 0, 0}) +
           Pad("none", 40) + Pad("none", 10) + Pad("", 8) + Pad("17", 5) + Pad("LATE ARRIVAL", 160) +
           Pad("", 50);
}

TEST(GuestRecordTest, EncodesAll467BytesInFieldOrder) {
    const std::string expected = SmithBytes();
    ASSERT_EQ(expected.size(), 467u) << "the hand-made image itself";
    const std::string bytes = Smith().Encode();
    ASSERT_EQ(bytes.size(), 467u);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != expected[i]) {
            ADD_FAILURE() << "first difference at offset " << i << "\nexpected " << Show(expected)
                          << "\nactual   " << Show(bytes);
            break;
        }
    }
}

TEST(GuestRecordTest, DecodesTheReservationFieldsAtTheEnd) {
    std::string bytes = SmithBytes();
    bytes.replace(417, 50,
                  Pad("12/1/26", 10) + Pad("", 10) + Pad("25.5", 10) + Pad("C1001", 10) + Pad("40", 10));
    const GuestRecord g = GuestRecord::Decode(bytes);
    EXPECT_EQ(g.ReservedOn, "12/1/26   ");
    EXPECT_EQ(g.SpareText, std::string(10, ' '));
    EXPECT_EQ(g.CardDeposit, "25.5      ");
    EXPECT_EQ(g.ConfirmationNumber, "C1001     ");
    EXPECT_EQ(g.CashDeposit, "40        ");
    EXPECT_EQ(g.Room, "12 ");
    EXPECT_EQ(g.Children, 1.0f);
    EXPECT_EQ(g.Rate, 45.5f);
    EXPECT_EQ(g.Comment, Pad("LATE ARRIVAL", 160));
}

TEST(GuestRecordTest, ALastNameOfSixteenCharactersIsCutToFifteen) {
    GuestRecord g = Smith();
    g.LastName = "WOLFESCHLEGELSTEIN";
    const GuestRecord back = GuestRecord::Decode(g.Encode());
    EXPECT_EQ(back.LastName, "WOLFESCHLEGELST");
    EXPECT_EQ(back.FirstName, "JOHN           ");
}

TEST(GuestRecordTest, ASlotIsFreeOnlyWhenBothNamesAreBlank) {
    GuestRecord g = Smith();
    EXPECT_FALSE(g.IsFree());
    g.LastName = std::string(15, ' ');
    EXPECT_FALSE(g.IsFree()) << "first name still set";
    g.FirstName = std::string(15, ' ');
    EXPECT_TRUE(g.IsFree());
}

TEST(GuestRecordTest, ClearStayBlanksRoomAndNamesOnly) {
    GuestRecord g = Smith();
    g.ReservedOn = "12/1/26";
    g.ClearStay();
    EXPECT_EQ(g.Room, "   ");
    EXPECT_EQ(g.LastName, std::string(15, ' '));
    EXPECT_EQ(g.FirstName, std::string(15, ' '));
    EXPECT_EQ(g.ArrivalDate, "12/6/26") << "other fields keep their text";
    EXPECT_EQ(g.ReservedOn, "12/1/26");
    EXPECT_EQ(g.Rate, 45.5f);
}

TEST(GuestRecordTest, ClearReservationAlsoBlanksArrivalAndDeposits) {
    GuestRecord g = Smith();
    g.ReservedOn = "12/1/26";
    g.CardDeposit = "25.5";
    g.CashDeposit = "40";
    g.ConfirmationNumber = "1001";
    g.ClearReservation();
    EXPECT_TRUE(g.IsFree());
    EXPECT_EQ(g.Room, "   ");
    for (const std::string* field : {&g.ArrivalDate, &g.ReservedOn, &g.CardDeposit, &g.CashDeposit})
        EXPECT_EQ(*field, std::string(10, ' '));
    EXPECT_EQ(g.ConfirmationNumber, "1001") << "the confirmation number is kept";
}

TEST(GuestRecordTest, TaxExemptMeansExactlyOne) {
    GuestRecord g;
    g.TaxExempt = 1;
    EXPECT_TRUE(g.IsTaxExempt());
    g.TaxExempt = 2;
    EXPECT_FALSE(g.IsTaxExempt());
    g.TaxExempt = 0;
    EXPECT_FALSE(g.IsTaxExempt());
}

using GuestFileTest = RecordsTest;

TEST_F(GuestFileTest, WriteGuestPutsTheRecordAtItsSlot) {
    WriteGuest(folder(), kGuestFile, 2, Smith());
    const std::string raw = ReadRaw(folder().File("guest"));
    ASSERT_EQ(raw.size(), 934u);
    EXPECT_EQ(raw.substr(467), SmithBytes());
    EXPECT_EQ(GuestCount(folder(), kGuestFile), 2);
    EXPECT_EQ(ReadGuest(folder(), kGuestFile, 2), GuestRecord::Decode(SmithBytes()));
}

TEST_F(GuestFileTest, GuestAndReservationsAreSeparateFiles) {
    WriteGuest(folder(), kReservationsFile, 1, Smith());
    EXPECT_EQ(GuestCount(folder(), kReservationsFile), 1);
    EXPECT_EQ(GuestCount(folder(), kGuestFile), 0);
    EXPECT_TRUE(std::filesystem::exists(folder().root() / "reservations"));
}

TEST_F(GuestFileTest, ReadingPastTheEndGivesAFreeSlotOfZeros) {
    const GuestRecord g = ReadGuest(folder(), kGuestFile, 5);
    EXPECT_TRUE(g.IsFree());
    EXPECT_EQ(g.LastName, std::string(15, ' '));
    EXPECT_EQ(g.Rate, 0.0f);
    EXPECT_EQ(g.Nights, 0.0f);
}

TEST_F(GuestFileTest, FindFreeGuestSlotInAnEmptyFileIsOne) {
    EXPECT_EQ(FindFreeGuestSlot(folder(), kGuestFile), 1);
}

TEST_F(GuestFileTest, FindFreeGuestSlotWithEverySlotTakenIsCountPlusOne) {
    for (long n = 1; n <= 3; ++n)
        WriteGuest(folder(), kGuestFile, n, Smith());
    EXPECT_EQ(FindFreeGuestSlot(folder(), kGuestFile), 4);
}

TEST_F(GuestFileTest, FindFreeGuestSlotReusesTheFirstFreedSlot) {
    for (long n = 1; n <= 4; ++n)
        WriteGuest(folder(), kGuestFile, n, Smith());
    for (long n : {3L, 2L}) {
        GuestRecord g = ReadGuest(folder(), kGuestFile, n);
        g.ClearStay();
        WriteGuest(folder(), kGuestFile, n, g);
    }
    EXPECT_EQ(FindFreeGuestSlot(folder(), kGuestFile), 2);
}

TEST_F(GuestFileTest, ASlotWithOnlyOneNameBlankIsTaken) {
    GuestRecord g = Smith();
    g.LastName = "";
    WriteGuest(folder(), kGuestFile, 1, g);
    EXPECT_EQ(FindFreeGuestSlot(folder(), kGuestFile), 2);
}

TEST_F(GuestFileTest, AddGuestFillsTheFreeSlotAndBlanksTheReservationFields) {
    GuestRecord old = Smith();
    old.ReservedOn = "12/1/26";
    old.ConfirmationNumber = "1001";
    WriteGuest(folder(), kGuestFile, 1, old);
    old.ClearStay();
    WriteGuest(folder(), kGuestFile, 1, old);
    WriteGuest(folder(), kGuestFile, 2, Smith());

    GuestRecord next = Smith();
    next.LastName = "JONES";
    EXPECT_EQ(AddGuest(folder(), kGuestFile, next), 1);
    const GuestRecord stored = ReadGuest(folder(), kGuestFile, 1);
    EXPECT_EQ(stored.LastName, "JONES          ");
    EXPECT_EQ(stored.ReservedOn, std::string(10, ' '));
    EXPECT_EQ(stored.ConfirmationNumber, std::string(10, ' '));
    EXPECT_EQ(GuestCount(folder(), kGuestFile), 2);
}

TEST_F(GuestFileTest, FindGuestByRoomTakesTheFirstStayInTheRoom) {
    GuestRecord a = Smith();
    a.Room = "120";
    GuestRecord b = Smith();
    b.Room = "12";
    WriteGuest(folder(), kGuestFile, 1, a);
    WriteGuest(folder(), kGuestFile, 2, b);
    WriteGuest(folder(), kGuestFile, 3, b);
    EXPECT_EQ(FindGuestByRoom(folder(), kGuestFile, "12 "), 2);
    EXPECT_EQ(FindGuestByRoom(folder(), kGuestFile, "12"), 2);
    EXPECT_EQ(FindGuestByRoom(folder(), kGuestFile, "120"), 1);
    EXPECT_EQ(FindGuestByRoom(folder(), kGuestFile, "1"), std::nullopt);
}

TEST_F(GuestFileTest, FindGuestByRoomPassesOverFreedSlotsForARoomOfBlanks) {
    GuestRecord freed = Smith();
    freed.ClearStay();
    GuestRecord blankRoom = Smith();
    blankRoom.Room = "";
    WriteGuest(folder(), kGuestFile, 1, freed);
    WriteGuest(folder(), kGuestFile, 2, blankRoom);
    EXPECT_EQ(FindGuestByRoom(folder(), kGuestFile, "   "), 2);
}

} // namespace
} // namespace records
