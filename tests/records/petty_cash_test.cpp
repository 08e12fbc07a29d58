// The petty cash record's shift: kept in its first spare byte, read back from files written
// before and after it was kept, and the sum of one shift's payments of the day.
#include "records/filenames.h"
#include "records/petty_cash.h"
#include "records_fixture.h"

#include <string>

namespace records {
namespace {

using testing::RecordsTest;
using testing::Show;

constexpr const char* kToday = "12/6/26";

// A record's 48 written bytes with this byte at offset 28; the 6 bytes between records are filler.
std::string Written(float amount, char shiftByte) {
    PettyCashRecord record;
    record.Amount = amount;
    record.Clerk = "JD";
    std::string bytes = record.Encode();
    bytes[28] = shiftByte;
    return bytes;
}

class PettyCashTest : public RecordsTest {};

TEST_F(PettyCashTest, TheShiftLetterIsTheFirstSpareByteAndNoneCountsAsShiftA) {
    struct Case {
        char stored;
        const char* shift;
    };
    const Case cases[] = {{'\0', "A"}, {' ', "A"}, {'A', "A"}, {'B', "B"}, {'C', "C"}};
    for (const Case& c : cases) {
        const PettyCashRecord record = PettyCashRecord::Decode(Written(1, c.stored));
        EXPECT_EQ(record.ShiftLetter(), c.shift) << Show(std::string(1, c.stored));
        EXPECT_EQ(record.Encode(), Written(1, c.stored)) << "kept as read";
    }
}

TEST_F(PettyCashTest, EachShiftsTotalTakesOnlyItsOwnPayments) {
    // An old record without a shift, then records of shifts A, B and A; filler between them.
    const std::string filler(6, 'x');
    WriteRaw(DayFilePath(folder(), DayFile::PettyCash, kToday),
             Written(1.5f, '\0') + filler + Written(8.25f, 'A') + filler + Written(5, 'B') + filler +
                 Written(0.25f, 'A'));
    ASSERT_EQ(ReadPettyCash(folder(), kToday).size(), 4u);
    EXPECT_DOUBLE_EQ(ShiftPettyCashTotal(folder(), "A", kToday).ToDouble(), 10.0);
    EXPECT_DOUBLE_EQ(ShiftPettyCashTotal(folder(), "B", kToday).ToDouble(), 5.0);
    EXPECT_DOUBLE_EQ(ShiftPettyCashTotal(folder(), "C", kToday).ToDouble(), 0.0);
    EXPECT_DOUBLE_EQ(ShiftPettyCashTotal(folder(), "A", "12/7/26").ToDouble(), 0.0) << "another day";
}

} // namespace
} // namespace records
