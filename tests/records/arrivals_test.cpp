// Reservations arriving on a date, by either rule of matching the stored arrival date.
#include "platform/text.h"
#include "records/arrivals.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records_fixture.h"

#include <string>
#include <vector>

namespace records {
namespace {

using ArrivalsTest = testing::RecordsTest;

TEST(ArrivesOnTest, TrailingBlanksAlwaysGoABlankInFrontOnlyByTheOuterRule) {
    struct Case {
        const char *arrival, *date;
        bool trailing, outer;
    };
    const Case cases[] = {
        {"12/6/26   ", "12/6/26", true, true},   {"12/6/26", "12/6/26  ", true, true},
        {" 12/6/26  ", "12/6/26", false, true},  {"12/6/26", " 12/6/26", false, true},
        {"12/6/2   ", "12/6/26", false, false},  {"12/16/26 ", "12/6/26", false, false},
        {"          ", "12/6/26", false, false}, // a cancelled or checked-in slot
        {"12/ 6/26  ", "12/6/26", false, false}, // a blank inside counts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.arrival + "\" on \"" + c.date + "\"");
        EXPECT_EQ(ArrivesOn(c.arrival, c.date, ArrivalMatch::TrailingBlanks), c.trailing);
        EXPECT_EQ(ArrivesOn(c.arrival, c.date, ArrivalMatch::OuterBlanks), c.outer);
    }
}

TEST_F(ArrivalsTest, TheSlotsArrivingOnADateInSlotOrder) {
    for (const char* arrival : {"12/6/26", "12/7/26", " 12/6/26", "", "12/6/26"}) {
        GuestRecord reservation;
        reservation.LastName = "GUEST";
        reservation.ArrivalDate = platform::Fixed(arrival, 10);
        WriteGuest(folder(), kReservationsFile, GuestCount(folder(), kReservationsFile) + 1, reservation);
    }
    EXPECT_EQ(ReservationsArrivingOn(folder(), "12/6/26", ArrivalMatch::TrailingBlanks),
              (std::vector<long>{1, 5}));
    EXPECT_EQ(ReservationsArrivingOn(folder(), "12/6/26", ArrivalMatch::OuterBlanks),
              (std::vector<long>{1, 3, 5}));
    EXPECT_EQ(ReservationsArrivingOn(folder(), "12/8/26", ArrivalMatch::OuterBlanks), std::vector<long>{});
}

TEST_F(ArrivalsTest, NoReservationsFileMeansNoArrivals) {
    EXPECT_TRUE(ReservationsArrivingOn(folder(), "12/6/26", ArrivalMatch::TrailingBlanks).empty());
}

} // namespace
} // namespace records
