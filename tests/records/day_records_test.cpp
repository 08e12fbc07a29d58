// The day and shift records: DayTotals, ShiftCash, RoomsRentedRecord, the folio counter
// and the shift record.
#include "records/counters.h"
#include "records/day_totals.h"
#include "records/filenames.h"
#include "records/shift_cash.h"
#include "records/shift_record.h"
#include "records_fixture.h"

#include <string>

namespace records {
namespace {

using testing::Bytes;
using testing::RecordsTest;
using testing::Show;

const std::string kZero = Bytes({0, 0, 0, 0});

TEST(DayTotalsTest, EncodesDateTenAmountsAndThreeTexts) {
    DayTotals totals;
    totals.RoomRent = 45.5f;
    totals.Cash = 12.5f;
    totals.Diners = 2.0f;
    const std::string expected = std::string(10, ' ') + Bytes({0x00, 0x00, 0x36, 0x42}) + kZero + kZero +
                                 Bytes({0x00, 0x00, 0x48, 0x41}) + kZero + kZero + kZero + kZero + kZero +
                                 Bytes({0x00, 0x00, 0x00, 0x40}) + std::string(30, ' ');
    EXPECT_EQ(totals.Encode(), expected) << Show(totals.Encode());
    EXPECT_EQ(DayTotals::Decode(expected), totals);
}

TEST(DayTotalsTest, EachPostingCodeAddsToItsField) {
    struct Case {
        const char* code;
        std::optional<DayTotalsField> field;
    };
    const Case cases[] = {
        {"E", DayTotalsField::RoomRent},
        {"J", DayTotalsField::PetOther},
        {"G", DayTotalsField::PhoneCharges},
        {"L", DayTotalsField::Cash},
        {"N", DayTotalsField::VisaMaster},
        {"M", DayTotalsField::AmericanExpress},
        {"P", DayTotalsField::Discover},
        {"O", DayTotalsField::Diners},
        {"Q", std::nullopt},
        {"e", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DayTotalsFieldForCode(c.code), c.field) << "code \"" << c.code << "\"";
}

TEST(ShiftCashTest, EncodesShiftClerkDateEightAmountsAndThreeTexts) {
    ShiftCash cash;
    cash.Shift = "A";
    cash.Clerk = "J";
    cash.DateText = "12/6/26";
    cash.CashFromRent = 45.5f;
    cash.CashFromOther = 2.0f;
    const std::string expected = "AJ 12/6/26   " + Bytes({0x00, 0x00, 0x36, 0x42}) + kZero + kZero + kZero +
                                 kZero + kZero + kZero + Bytes({0x00, 0x00, 0x00, 0x40}) +
                                 std::string(30, ' ');
    ASSERT_EQ(expected.size(), 75u);
    EXPECT_EQ(cash.Encode(), expected) << Show(cash.Encode());
    const ShiftCash back = ShiftCash::Decode(expected);
    EXPECT_EQ(back.Clerk, "J ");
    EXPECT_EQ(back.CashFromOther, 2.0f);
}

TEST(ShiftRecordTest, EncodesShiftLetterAndTwoCharacterClerk) {
    EXPECT_EQ((ShiftRecord{"B", "JD"}).Encode(), "BJD");
    EXPECT_EQ((ShiftRecord{"A", "j"}).Encode(), "Aj ");
    EXPECT_EQ((ShiftRecord{"C", "ABC"}).Encode(), "CAB");
}

using DayRecordsTest = RecordsTest;

TEST_F(DayRecordsTest, TheFirstAdditionOfADayStartsFromZero) {
    EXPECT_EQ(AddToDayTotals(folder(), "12/6/26", DayTotalsField::Cash, platform::Decimal::Of(39.95)),
              39.95f);
    const std::string raw = ReadRaw(At("totals/totals12626"));
    ASSERT_EQ(raw.size(), 80u);
    EXPECT_EQ(raw.substr(22, 4), Bytes({0xcd, 0xcc, 0x1f, 0x42}));
    EXPECT_EQ(raw.substr(10, 4), kZero);
    EXPECT_EQ(raw.substr(0, 10), std::string(10, ' '));
}

TEST_F(DayRecordsTest, DayTotalsAreRoundedToTwoDecimalsAfterEachAddition) {
    for (int i = 0; i < 3; ++i)
        AddToDayTotals(folder(), "12/6/26", DayTotalsField::PetOther, platform::Decimal::Of(0.333));
    EXPECT_EQ(ReadDayTotals(folder(), "12/6/26").PetOther, 0.99f) << "0.33, 0.66, 0.99 - not 1.00";
    EXPECT_EQ(AddToDayTotals(folder(), "12/6/26", DayTotalsField::Tax, platform::Decimal::Of(0.125)), 0.12f)
        << "a half goes to even";
}

TEST_F(DayRecordsTest, ANegativeAmountSubtracts) {
    AddToDayTotals(folder(), "12/6/26", DayTotalsField::Cash, platform::Decimal::Of(20));
    EXPECT_EQ(AddToDayTotals(folder(), "12/6/26", DayTotalsField::Cash, platform::Decimal::Of(-7.5)), 12.5f);
}

TEST_F(DayRecordsTest, AddingRereadsTheRecordAndKeepsTheOtherBytes) {
    const auto file = At("totals/totals12626");
    std::string image = std::string("DATE TEXT ") + std::string(40, '\0') + std::string(30, 'S');
    image.replace(34, 4, Bytes({0x00, 0x00, 0x48, 0x41})); // VisaMaster 12.5
    WriteRaw(file, image);
    AddToDayTotals(folder(), "12/6/26", DayTotalsField::RoomRent, platform::Decimal::Of(45.5));

    std::string expected = image;
    expected.replace(10, 4, Bytes({0x00, 0x00, 0x36, 0x42}));
    EXPECT_EQ(ReadRaw(file), expected) << Show(ReadRaw(file));

    // Another writer changes the file between two additions.
    image = ReadRaw(file);
    image.replace(10, 4, Bytes({0x00, 0x00, 0xa0, 0x41})); // RoomRent 20
    WriteRaw(file, image);
    EXPECT_EQ(AddToDayTotals(folder(), "12/6/26", DayTotalsField::RoomRent, platform::Decimal::Of(0.5)),
              20.5f);
}

TEST_F(DayRecordsTest, DaysAreSeparateFiles) {
    AddToDayTotals(folder(), "12/6/26", DayTotalsField::Cash, platform::Decimal::Of(10));
    AddToDayTotals(folder(), "12/7/26", DayTotalsField::Cash, platform::Decimal::Of(3));
    EXPECT_EQ(ReadDayTotals(folder(), "12/6/26").Cash, 10.0f);
    EXPECT_EQ(ReadDayTotals(folder(), "12/7/26").Cash, 3.0f);
}

TEST_F(DayRecordsTest, AddToShiftCashStampsShiftClerkAndDate) {
    EXPECT_EQ(AddToShiftCash(folder(), "B", "JD", "12/6/26", ShiftCashField::CashFromRent,
                             platform::Decimal::Of(45.5)),
              45.5f);
    EXPECT_EQ(AddToShiftCash(folder(), "B", "KL", "12/6/26", ShiftCashField::CashFromVending,
                             platform::Decimal::Of(0.125)),
              0.12f);
    const std::string raw = ReadRaw(At("shiftcash/B12626"));
    ASSERT_EQ(raw.size(), 75u);
    EXPECT_EQ(raw.substr(0, 13), "BKL12/6/26   ");
    EXPECT_EQ(raw.substr(13, 4), Bytes({0x00, 0x00, 0x36, 0x42}));
    const ShiftCash cash = ReadShiftCash(folder(), "B", "12/6/26");
    EXPECT_EQ(cash.CashFromVending, 0.12f);
    EXPECT_EQ(cash.CashFromDirectBill, 0.0f);
    EXPECT_EQ(ReadShiftCash(folder(), "A", "12/6/26").CashFromRent, 0.0f) << "shift A is another file";
}

TEST_F(DayRecordsTest, ANewShiftCashReadsAsBlanksAndZeros) {
    const ShiftCash cash = ReadShiftCash(folder(), "C", "12/6/26");
    EXPECT_EQ(cash.Shift, " ");
    EXPECT_EQ(cash.Clerk, "  ");
    EXPECT_EQ(cash.DateText, std::string(10, ' '));
    EXPECT_EQ(cash.CashFromOther, 0.0f);
}

TEST_F(DayRecordsTest, RoomsRentedWritesNineBytesAndIsNotRounded) {
    const auto file = At("roomsrented/12626");
    WriteRaw(file, std::string(9, '\0') + "Z");
    AddRoomsRented(folder(), "12/6/26", 1);
    AddRoomsRented(folder(), "12/6/26", 1);
    EXPECT_EQ(ReadRaw(file), Bytes({0x00, 0x00, 0x00, 0x40}) + "     Z") << Show(ReadRaw(file));
    EXPECT_FLOAT_EQ(AddRoomsRented(folder(), "12/6/26", 0.005f), 2.005f) << "a count is kept as added";
}

TEST_F(DayRecordsTest, ANewFolioCounterIsZeroAndAWriteLeavesByteFour) {
    EXPECT_EQ(ReadFolioCounter(folder()).LastFolio, 0.0f);
    const auto file = folder().File("folio");
    WriteRaw(file, std::string(4, '\0') + "F");
    WriteFolioCounter(folder(), FolioCounter{17.0f});
    EXPECT_EQ(ReadRaw(file), Bytes({0x00, 0x00, 0x88, 0x41}) + "F");
    EXPECT_EQ(ReadFolioCounter(folder()).LastFolio, 17.0f);
}

TEST_F(DayRecordsTest, AFolioCounterWrittenToANewFileIsFourBytes) {
    WriteFolioCounter(folder(), FolioCounter{1.0f});
    EXPECT_EQ(ReadRaw(folder().File("folio")), Bytes({0x00, 0x00, 0x80, 0x3f}));
}

TEST_F(DayRecordsTest, ShiftRecordRoundTripsAndANewFileIsBlank) {
    EXPECT_EQ(ReadShift(folder()), (ShiftRecord{" ", "  "}));
    WriteShift(folder(), ShiftRecord{"B", "JD"});
    EXPECT_EQ(ReadRaw(folder().File("shift")), "BJD");
    EXPECT_EQ(ReadShift(folder()), (ShiftRecord{"B", "JD"}));
}

} // namespace
} // namespace records
