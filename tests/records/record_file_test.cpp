// The generic file of fixed-length records that every record type is read and written through.
#include "records/record_file.h"
#include "records_fixture.h"

#include <array>
#include <string>
#include <vector>

namespace records {
namespace {

using testing::RecordsTest;
using testing::Show;

// A small record: two 3-byte text fields and a Single.
struct Pair {
    static constexpr int kLength = 10;
    std::string Left = "   ";
    std::string Right = "   ";
    float Amount = 0;

    static Pair Decode(std::string_view bytes) {
        const platform::RecordBuffer buffer(fields::Padded(bytes, kLength));
        return Pair{fields::Text(buffer, 0, 3), fields::Text(buffer, 3, 3), buffer.Single(6)};
    }
    std::string Encode() const {
        platform::RecordBuffer buffer(kLength);
        buffer.SetText(0, 3, Left);
        buffer.SetText(3, 3, Right);
        buffer.SetSingle(6, Amount);
        return buffer.bytes();
    }
    friend bool operator==(const Pair&, const Pair&) = default;
};

struct TextField {
    size_t offset;
    size_t width;
};
constexpr std::array<TextField, 2> kPairText{{{0, 3}, {3, 3}}};

class RecordFileTest : public RecordsTest {
protected:
    RecordFile<Pair> File() const { return RecordFile<Pair>(folder().File("pairs")); }
    std::string Raw() const { return ReadRaw(folder().File("pairs")); }
};

TEST_F(RecordFileTest, AMissingFileIsEmptyAndReadingItCreatesNothing) {
    const RecordFile<Pair> file = File();
    EXPECT_EQ(file.Count(), 0);
    EXPECT_TRUE(file.ReadAll().empty());
    EXPECT_EQ(file.Find([](const Pair&) { return true; }), std::nullopt);
    EXPECT_EQ(file.Read(3), Pair{}) << "a record past the end reads as blanks and zeros";
    EXPECT_FALSE(platform::FileExists(file.path()));
}

TEST_F(RecordFileTest, RecordsAreCountedWholeAndNumberedFromOne) {
    struct Case {
        size_t bytes;
        long count;
    };
    const Case cases[] = {{0, 0}, {9, 0}, {10, 1}, {19, 1}, {30, 3}, {35, 3}};
    for (const Case& c : cases) {
        WriteRaw(folder().File("pairs"), std::string(c.bytes, 'x'));
        EXPECT_EQ(File().Count(), c.count) << c.bytes << " bytes";
        EXPECT_EQ(File().ReadAll().size(), static_cast<size_t>(c.count)) << c.bytes << " bytes";
        EXPECT_EQ(File().ReadAllBytes(), std::string(c.count * Pair::kLength, 'x')) << c.bytes << " bytes";
    }
}

TEST_F(RecordFileTest, AppendWritesAfterTheLastWholeRecordAndReadAllGivesThemInOrder) {
    const Pair a{"A", "1", 1.5f}, b{"B", "2", 2.5f}, c{"C", "3", 3.5f};
    EXPECT_EQ(File().Append(a), 1);
    EXPECT_EQ(File().Append(b), 2);
    // A torn last record is written over, not counted.
    WriteRaw(folder().File("pairs"), Raw() + "torn");
    EXPECT_EQ(File().Append(c), 3);
    EXPECT_EQ(Raw(), a.Encode() + b.Encode() + c.Encode()) << Show(Raw());
    const std::vector<Pair> all = File().ReadAll();
    ASSERT_EQ(all.size(), 3u);
    for (long n = 1; n <= 3; ++n)
        EXPECT_EQ(all[n - 1], File().Read(n)) << "record " << n;
    EXPECT_EQ(all[1].Left, "B  ");
    EXPECT_EQ(all[2].Amount, 3.5f);
}

TEST_F(RecordFileTest, WriteGrowsTheFileWithZeroBytesUpToTheRecord) {
    const Pair z{"Z", "Z", 0};
    File().Write(3, z);
    EXPECT_EQ(Raw(), std::string(20, '\0') + z.Encode()) << Show(Raw());
    EXPECT_EQ(File().Read(1), Pair{}) << "zero bytes read as blanks";
}

TEST_F(RecordFileTest, FindGivesTheFirstMatchingRecord) {
    for (const char* left : {"A", "B", "A", "C"})
        File().Append(Pair{left, "x", 0});
    struct Case {
        const char* left;
        std::optional<long> found;
    };
    const Case cases[] = {{"A  ", 1}, {"B  ", 2}, {"C  ", 4}, {"D  ", std::nullopt}};
    for (const Case& c : cases)
        EXPECT_EQ(File().Find([&](const Pair& p) { return p.Left == c.left; }), c.found) << c.left;
}

TEST_F(RecordFileTest, WriteKeepingTextKeepsTheStoredBytesOfEveryUnchangedField) {
    const std::string stored = std::string("AB\0", 3) + std::string(3, '\0') + std::string(4, '\0');
    struct Case {
        const char* what;
        Pair write;
        std::string expected;
    };
    const Case cases[] = {
        {"nothing changed", Pair::Decode(stored), stored},
        {"the right field changed", Pair{"AB ", "XY ", 0},
         std::string("AB\0", 3) + "XY " + std::string(4, '\0')},
        {"the left field changed", Pair{"CD ", "   ", 0},
         "CD " + std::string(3, '\0') + std::string(4, '\0')},
        {"only the amount changed", Pair{"AB ", "   ", 2.0f},
         std::string("AB\0", 3) + std::string(3, '\0') + Pair{"", "", 2.0f}.Encode().substr(6)},
    };
    for (const Case& c : cases) {
        WriteRaw(folder().File("pairs"), stored + stored);
        File().WriteKeepingText(2, c.write, kPairText);
        EXPECT_EQ(Raw(), stored + c.expected) << c.what << ": " << Show(Raw());
    }
    // A record the file does not hold yet is written as encoded.
    const Pair fresh{"Q", "", 0};
    File().WriteKeepingText(3, fresh, kPairText);
    EXPECT_EQ(Raw().substr(20), fresh.Encode());
}

} // namespace
} // namespace records
