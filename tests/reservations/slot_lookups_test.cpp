// The reservation look-ups read only the fields they need from the file's slots; what they
// find is what the same rules find on whole records.
#include "reservations/reservations_fixture.h"

#include "reservations/reservation_edit.h"
#include "reservations/reservation_lists.h"
#include "reservations/reserve.h"
#include "reservations/room_availability.h"

namespace vantreth {
namespace {

using testing::Reservation;
using testing::Room;

class SlotLookupsTest : public testing::ReservationsFixture {
protected:
    SlotLookupsTest() {
        PutRooms({Room({.room = "101", .type = "NQ1"}), Room({.room = "102", .type = "NQ1"}),
                  Room({.room = "103", .type = "K11"}), Room({.room = "104", .type = "DD1"}),
                  Room({.room = "105", .type = "SQ3"})});
        records::GuestRecord cancelled = Reservation("GONE", "AWAY", "103", "3/12/26", "3/14/26");
        cancelled.ClearReservation();
        records::GuestRecord checkedIn = Reservation("IN", "HOUSE", "104", "3/12/26", "3/13/26");
        checkedIn.ClearStay(); // names and room blanked, the dates kept
        PutReservations({
            Reservation("SMITH", "JOHN", "101", "3/12/26", "3/15/26"),
            cancelled,
            Reservation("JONES", "", "102", "3/12/26"), // one name only
            Reservation("MONTH", "END", "103", "3/30/26", "4/2/26"),
            checkedIn,
            Reservation("LEAD", "BLANK", "105", " 3/12/26", "3/13/26"), // a blank before the date
            Reservation("LONG", "YEAR", "101", "3/20/2026", "3/22/2026"),
            Reservation("TWICE", "BOOKED", "101", "3/13/26", "3/14/26"),
        });
        // A slot written by hand: zero bytes where its room and departure would be.
        std::string image = Reservation("ZERO", "BYTES", "", "3/12/26").Encode();
        image.replace(126, 3, std::string(3, '\0'));
        image.replace(176, 10, std::string(10, '\0'));
        platform::RandomFile(app().data().File(records::kReservationsFile), records::GuestRecord::kLength)
            .Put(9, image);
    }
    std::vector<records::GuestRecord> Whole() {
        return records::ReadAllGuests(app().data(), records::kReservationsFile);
    }
};

TEST_F(SlotLookupsTest, AvailabilityAndTheListsFindWhatTheRecordRulesFind) {
    const records::GuestSlots slots(app().data(), records::kReservationsFile);
    const std::vector<records::GuestRecord> whole = Whole();
    ASSERT_EQ(slots.Count(), static_cast<long>(whole.size()));
    const std::vector<records::RoomRecord> rooms = records::ReadAllRooms(app().data());
    for (const std::string day : {"3/12/26", "3/13/26", "3/14/26", "3/31/26", "4/1/26", "3/21/26",
                                  "3/20/2026", " 3/12/26", "bad", ""}) {
        SCOPED_TRACE("day '" + day + "'");
        EXPECT_EQ(CountAvailableRooms(rooms, slots, day, 2026), CountAvailableRooms(rooms, whole, day, 2026));
        for (long n = 1; n <= slots.Count(); ++n) {
            const records::GuestRecord& slot = whole[static_cast<size_t>(n - 1)];
            EXPECT_EQ(ArrivesOn(slots, n, day), ArrivesOn(slot, day)) << "slot " << n;
            EXPECT_EQ(DatesHoldRoomOn(slots.Field(n, records::GuestField::ArrivalDate),
                                      slots.Field(n, records::GuestField::DepartureDate), day, 2026),
                      HoldsRoomOn(slot, day, 2026))
                << "slot " << n;
        }
    }
    for (long n = 1; n <= slots.Count(); ++n) {
        const records::GuestRecord& slot = whole[static_cast<size_t>(n - 1)];
        EXPECT_EQ(ListedForEditing(slots, n), ListedForEditing(slot)) << "slot " << n;
        EXPECT_EQ(EditListLine(slots, n), EditListLine(slot)) << "slot " << n;
        EXPECT_EQ(TodayListLine(slots, n), TodayListLine(slot)) << "slot " << n;
    }
    // The counts themselves, for one day: 101 held by SMITH, 102 by JONES, 105 by LEAD (its
    // arrival reads as a date, blank and all); the slots of no room hold none.
    RoomGroupCounts expected{};
    expected[kGroupNQ1] = 0;
    expected[kGroupK11] = 1;
    expected[kGroupDD1] = 1;
    expected[kGroupJQZ] = 0;
    EXPECT_EQ(CountAvailableRooms(rooms, slots, "3/12/26", 2026), expected);
}

TEST_F(SlotLookupsTest, FindingASlotGoesByTheStoredRoomAndDate) {
    const std::vector<records::GuestRecord> whole = Whole();
    struct Case {
        std::string date, room;
        std::optional<long> byListKeys, open;
    };
    const Case cases[] = {
        {"3/12/26", "101", 1, 1},
        {"3/13/26", "101", 8, 8},
        {"3/12/26", "102", 3, 3},
        {"3/12/26", "105", std::nullopt, 6}, // the list key keeps the leading blank; the open one is trimmed
        {" 3/12/26", "105", 6, 6},
        {"3/12/26", "104", std::nullopt, std::nullopt},
        {"3/12/26", "   ", 5, 5}, // a checked-in slot keeps its date under a blank room
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date + " " + c.room);
        EXPECT_EQ(reservations::FindByListKeys(app().data(), c.date, c.room), c.byListKeys);
        EXPECT_EQ(reservations::FindOpenReservation(app().data(), c.date, c.room), c.open);
    }
    EXPECT_EQ(reservations::FindLoadedReservation(app().data(), "3/12/26", "101", whole[0]), 1);
    EXPECT_EQ(reservations::FindLoadedReservation(app().data(), "3/12/26", "   ", whole[4]), 9)
        << "slot 5 has no names left: the next slot of that room and day that has is it";
    EXPECT_EQ(reservations::CountArrivals(app().data(), "3/12/26"), 4);
    EXPECT_EQ(reservations::CountArrivals(app().data(), "3/13/26"), 1);
}

} // namespace
} // namespace vantreth
