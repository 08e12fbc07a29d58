// NoRentRecord and the do-not-rent file: the 80-byte layout with its zero-byte spare
// fields, appending and removing in place, the list lines and the check-in's name match.
#include "records/filenames.h"
#include "records/norent_record.h"
#include "records_fixture.h"

#include <string>
#include <utility>
#include <vector>

namespace records {
namespace {

using testing::RecordsTest;
using testing::Show;

const std::string kZeros50(50, '\0');

std::string Name(const std::string& text) {
    return text + std::string(15 - text.size(), ' ');
}

TEST(NoRentRecordTest, EncodesNamesBlankPaddedAndSpareFieldsAsZeroBytes) {
    struct Case {
        std::string last;
        std::string first;
        std::string bytes;
    };
    const Case cases[] = {
        {"SMITH", "JOHN", Name("SMITH") + Name("JOHN") + kZeros50},
        {"smith", "", Name("smith") + std::string(15, ' ') + kZeros50},
        {"BARTHOLOMEW-JONES", "MARYELIZABETHANN",
         "BARTHOLOMEW-JON" + std::string("MARYELIZABETHAN") + kZeros50},
        {" O'NEIL", "PAT ", Name(" O'NEIL") + Name("PAT ") + kZeros50},
    };
    for (const Case& c : cases) {
        NoRentRecord record;
        record.LastName = c.last;
        record.FirstName = c.first;
        const std::string bytes = record.Encode();
        ASSERT_EQ(bytes.size(), 80u) << c.last << "/" << c.first;
        EXPECT_EQ(bytes, c.bytes) << c.last << "/" << c.first << " gave " << Show(bytes);
    }
}

TEST(NoRentRecordTest, DecodeKeepsSpareBytesSoARecordWritesBackUnchanged) {
    const std::string stored = Name("DOE") + Name("JANE") + "NOTE  \x01\x02xy" + std::string(40, 'Z');
    const NoRentRecord record = NoRentRecord::Decode(stored);
    EXPECT_EQ(record.LastName, Name("DOE"));
    EXPECT_EQ(record.FirstName, Name("JANE"));
    EXPECT_EQ(record.Encode(), stored) << Show(record.Encode());
}

TEST(NoRentRecordTest, ZeroBytesReadAsBlankNamesOfARemovedEntry) {
    const NoRentRecord record = NoRentRecord::Decode(std::string(80, '\0'));
    EXPECT_EQ(record.LastName, std::string(15, ' '));
    EXPECT_EQ(record.FirstName, std::string(15, ' '));
    EXPECT_FALSE(record.IsLive());
}

TEST(NoRentRecordTest, ListLineIsTrimmedLastBlankTrimmedFirst) {
    struct Case {
        std::string last;
        std::string first;
        std::string line;
    };
    const Case cases[] = {
        {"SMITH", "JOHN", "SMITH JOHN"},
        {"  SMITH  ", " JOHN ", "SMITH JOHN"},
        {"SMITH", "", "SMITH "},
        {"VAN DER", "BERG", "VAN DER BERG"},
    };
    for (const Case& c : cases) {
        NoRentRecord record;
        record.LastName = c.last;
        record.FirstName = c.first;
        EXPECT_EQ(record.ListLine(), c.line) << "'" << c.last << "' '" << c.first << "'";
    }
}

class NoRentFileTest : public RecordsTest {
protected:
    std::string FileBytes() const { return ReadRaw(folder().File(kNoRentFile)); }
    void Store(const std::string& bytes) const { WriteRaw(folder().File(kNoRentFile), bytes); }
    // A record image with zero spare bytes.
    static std::string Image(const std::string& last, const std::string& first) {
        return Name(last) + Name(first) + kZeros50;
    }
    static std::string Hole() { return std::string(30, ' ') + kZeros50; }
};

TEST_F(NoRentFileTest, AddingToAnEmptyFileGivesOneRecordWithZeroBytesFromOffset30) {
    EXPECT_EQ(AddNoRent(folder(), "SMITH", "JOHN"), 1);
    EXPECT_EQ(FileBytes(), Image("SMITH", "JOHN")) << Show(FileBytes());
    EXPECT_EQ(NoRentCount(folder()), 1);
}

TEST_F(NoRentFileTest, AddingAppendsAfterTheLastRecordAndNeverReusesAHole) {
    Store(Image("SMITH", "JOHN") + Hole() + Image("DOE", "JANE"));
    EXPECT_EQ(AddNoRent(folder(), "lee", "ann"), 4);
    EXPECT_EQ(FileBytes(), Image("SMITH", "JOHN") + Hole() + Image("DOE", "JANE") + Image("lee", "ann"));
}

TEST_F(NoRentFileTest, ABlankLastNameAddsNothing) {
    Store(Image("SMITH", "JOHN"));
    for (const std::string& last : std::vector<std::string>{"", " ", std::string(20, ' ')}) {
        EXPECT_EQ(AddNoRent(folder(), last, "JOHN"), 0) << "last name of " << last.size() << " blanks";
        EXPECT_EQ(FileBytes(), Image("SMITH", "JOHN")) << "last name of " << last.size() << " blanks";
    }
    EXPECT_EQ(AddNoRent(folder(), "DOE", ""), 2) << "an empty first name is allowed";
}

TEST_F(NoRentFileTest, TheListShowsLiveEntriesInRecordOrderWithTheirRecordNumbers) {
    Store(Image("SMITH", "JOHN") + Hole() + std::string(80, '\0') + Image(" DOE", "JANE ") +
          Image("SMITH", "JOHN"));
    const std::vector<NoRentEntry> expected = {
        {1, "SMITH", "JOHN", "SMITH JOHN"},
        {4, "DOE", "JANE", "DOE JANE"},
        {5, "SMITH", "JOHN", "SMITH JOHN"},
    };
    EXPECT_EQ(ReadNoRentList(folder()), expected);
    EXPECT_EQ(ReadAllNoRent(folder()).size(), 5u);
}

TEST_F(NoRentFileTest, RemovingBlanksOnlyTheFirstOfTwoEqualEntriesInPlace) {
    const std::string spare = "sparetext!" + std::string(40, '#');
    Store(Image("DOE", "JANE") + Name("SMITH") + Name("JOHN") + spare + Image("SMITH", "JOHN"));
    EXPECT_TRUE(RemoveNoRent(folder(), "SMITH", "JOHN"));
    EXPECT_EQ(FileBytes(), Image("DOE", "JANE") + std::string(30, ' ') + spare + Image("SMITH", "JOHN"))
        << Show(FileBytes());
    EXPECT_TRUE(RemoveNoRent(folder(), "SMITH", "JOHN"));
    EXPECT_EQ(FileBytes(), Image("DOE", "JANE") + std::string(30, ' ') + spare + Hole());
}

TEST_F(NoRentFileTest, RemovingANameNoLongerThereWritesNothing) {
    const std::string stored = Image("DOE", "JANE") + Hole();
    Store(stored);
    for (const auto& [last, first] : std::vector<std::pair<std::string, std::string>>{
             {"SMITH", "JOHN"}, {"DOE", "JAN"}, {"doe", "JANE"}, {"", ""}}) {
        EXPECT_FALSE(RemoveNoRent(folder(), last, first)) << last << "/" << first;
        EXPECT_EQ(FileBytes(), stored) << last << "/" << first;
    }
}

TEST_F(NoRentFileTest, RemovingFindsThePersonByBothNamesNotByTheJoinedLine) {
    Store(Image("VAN", "DER BERG") + Image("VAN DER", "BERG"));
    EXPECT_EQ(FindNoRent(folder(), "VAN DER", "BERG"), 2);
    EXPECT_TRUE(RemoveNoRent(folder(), "VAN DER", "BERG"));
    EXPECT_EQ(FileBytes(), Image("VAN", "DER BERG") + Hole());
}

TEST_F(NoRentFileTest, CheckInMatchCountsEveryLiveRecordWithBothNamesExactly) {
    Store(Image("SMITH", "JOHN") + Image("smith", "john") + Image("  SMITH", "JOHN  ") + Hole() +
          Image("DOE", "") + std::string(80, '\0') + Image("VAN DER", "BERG"));
    struct Case {
        std::string last;
        std::string first;
        int matches;
    };
    // clang-format off
    const Case cases[] = {
        {"SMITH", "JOHN", 2},  // stored with blanks around it matches too
        {"smith", "john", 1},  // case counts
        {"Smith", "John", 0},
        {"SMITH ", "JOHN", 0}, // the typed text is not trimmed
        {"SMITH", "", 0},
        {"DOE", "", 1},
        {"VAN", "DER BERG", 0},
        {"", "", 0},           // removed entries are not on the list
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(NoRentMatches(folder(), c.last, c.first), c.matches)
            << "'" << c.last << "' '" << c.first << "'";
}

TEST_F(NoRentFileTest, AMissingFileMatchesNothingAndIsNotCreated) {
    EXPECT_EQ(NoRentMatches(folder(), "SMITH", "JOHN"), 0);
    EXPECT_TRUE(ReadNoRentList(folder()).empty());
    EXPECT_FALSE(platform::FileExists(folder().File("norent")));
}

} // namespace
} // namespace records
