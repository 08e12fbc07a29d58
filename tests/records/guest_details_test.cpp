// Typed guest details into a guest record, each text cut or padded to its field.
#include "platform/text.h"
#include "records/guest_record.h"
#include "records_fixture.h"

#include <string>

namespace records {
namespace {

constexpr GuestField kAllTextFields[] = {
    GuestField::LastName,
    GuestField::FirstName,
    GuestField::Company,
    GuestField::Street,
    GuestField::City,
    GuestField::State,
    GuestField::Zip,
    GuestField::Phone,
    GuestField::RegCard,
    GuestField::Clerk,
    GuestField::Room,
    GuestField::PayCode,
    GuestField::CheckInTime,
    GuestField::ArrivalDate,
    GuestField::CheckOutTime,
    GuestField::DepartureDate,
    GuestField::CardNumber,
    GuestField::CardExpiry,
    GuestField::DBNumber,
    GuestField::FolioNumber,
    GuestField::Comment,
    GuestField::ReservedOn,
    GuestField::SpareText,
    GuestField::CardDeposit,
    GuestField::ConfirmationNumber,
    GuestField::CashDeposit,
};

// A field set to a long or a short text holds exactly its stored width: the record reads
// back from its bytes unchanged, and the widths with the six Singles make the 467 bytes.
TEST(GuestFieldTest, SetCutsOrPadsToTheStoredWidth) {
    size_t widths = 0;
    for (GuestField field : kAllTextFields) {
        SCOPED_TRACE(static_cast<int>(field));
        const size_t width = GuestFieldWidth(field);
        widths += width;
        for (const std::string& text : {std::string(200, 'W'), std::string("7")}) {
            GuestRecord record;
            record.Set(field, text);
            EXPECT_EQ(GuestRecord::Decode(record.Encode()), record);
            EXPECT_NE(record.Encode(), GuestRecord().Encode()) << "the text lands in the record";
        }
        GuestRecord cut;
        cut.Set(field, std::string(width, 'A') + "B");
        EXPECT_EQ(cut.Encode().find('B'), std::string::npos) << "cut at the width";
    }
    EXPECT_EQ(widths + 6 * 4, static_cast<size_t>(GuestRecord::kLength));
}

TEST(GuestDetailsTest, DetailsGoInAsTypedOrInCapitals) {
    const GuestDetails typed{"o\"neil",
                             "jo\tann",
                             "acme & sons incorporated",
                             "1 elm st",
                             "springfield",
                             "il",
                             "62701a",
                             "555-0100",
                             "r4711",
                             "2 adults",
                             "",
                             "late arrival"};
    struct Case {
        Letters letters;
        const char *last, *first, *company, *city, *state, *comment;
    };
    const Case cases[] = {
        {Letters::Capitals, "O'NEIL", "JO ANN", "ACME & SONS INCORPOR", "SPRINGFIELD", "IL", "LATE ARRIVAL"},
        {Letters::AsTyped, "o'neil", "jo ann", "acme & sons incorpor", "springfield", "il", "late arrival"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.letters == Letters::Capitals ? "capitals" : "as typed");
        GuestRecord record;
        record.Room = "12 "; // not a detail: left as it is
        PutGuestDetails(record, typed, c.letters);
        EXPECT_EQ(record.LastName, platform::Fixed(c.last, 15));
        EXPECT_EQ(record.FirstName, platform::Fixed(c.first, 15));
        EXPECT_EQ(record.Company, platform::Fixed(c.company, 20));
        EXPECT_EQ(record.City, platform::Fixed(c.city, 20));
        EXPECT_EQ(record.State, c.state);
        EXPECT_EQ(record.Comment, platform::Fixed(c.comment, 160));
        EXPECT_EQ(record.Zip, "62701a") << "zip, phone and card as typed";
        EXPECT_EQ(record.RegCard, "r4711 ");
        EXPECT_EQ(record.Adults, 2.0f);
        EXPECT_EQ(record.Children, 0.0f);
        EXPECT_EQ(record.Room, "12 ");
    }
}

} // namespace
} // namespace records
