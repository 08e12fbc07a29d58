// The one rule of every reservation room list (the arrival-date window, the further
// reservation's date window and Edit Reservation's "Room List"): a room is held on each
// night from its arrival up to the night before its departure, as calendar dates.
#include "reservations/reservations_fixture.h"

#include "reservations/reserve.h"

#include <algorithm>

namespace vantreth {
namespace {

using testing::Reservation;
using testing::Room;

class RoomListRuleTest : public testing::ReservationsFixture {};

// Mended: the lists compared date texts, so a stay into the next month or year did not hold
// its room there, a stay of another year held it, and "3/12/2026" never matched "3/12/26".
TEST_F(RoomListRuleTest, EveryListLeavesOutTheRoomsHeldThatNight) {
    PutRooms({Room({.room = "101", .type = "NQ1"}), Room({.room = "102", .type = "NQ1"}),
              Room({.room = "103", .type = "K11"}), Room({.room = "104", .type = "DD1"}),
              Room({.room = "105", .type = "NK1"})});
    PutReservations({
        Reservation("MONTH", "END", "101", "3/30/26", "4/2/26"),
        Reservation("YEAR", "END", "102", "12/30/26", "1/2/27"),
        Reservation("STRAD", "DLE", "103", "3/10/26", "3/13/26"),
        Reservation("LEAVES", "ON", "104", "3/11/26", "3/14/26"),
        Reservation("OCTO", "BER", "105", "10/30/26", "11/2/26"),
        Reservation("NOVEM", "BER", "101", "11/12/26", "11/14/26"),
    });
    const struct {
        std::string night;
        std::vector<std::string> held;
    } cases[] = {
        {"3/31/26", {"101"}},
        {"4/1/26", {"101"}},
        {"4/2/26", {}}, // month end
        {"12/31/26", {"102"}},
        {"1/1/27", {"102"}},
        {"1/2/27", {}}, // year end
        {"3/12/26", {"103", "104"}},
        {"3/13/26", {"104"}}, // straddling
        {"3/14/26", {}},      // departure day
        {"3/12/2026", {"103", "104"}},
        {"03/31/2026", {"101"}}, // typed year
        {"3/11/27", {}},         // another year
        {"10/31/26", {"105"}},
        {"11/1/26", {"105"}},
        {"11/2/26", {}}, // two-digit months
        {"11/12/26", {"101"}},
        {"11/13/26", {"101"}},
        {"11/11/26", {}},
        {"10/12/26", {}},
        {"10/13/26", {}},
        {"1/13/27", {}},
        {"1/12/26", {}}, // not held: the same days in other months
    };
    const std::vector<std::string> all = {"101 NQ1  ", "102 NQ1  ", "103 K11  ", "104 DD1  ", "105 NK1  "};
    for (const auto& c : cases) {
        std::vector<std::string> free;
        std::copy_if(all.begin(), all.end(), std::back_inserter(free), [&](const std::string& item) {
            return std::find(c.held.begin(), c.held.end(), item.substr(0, 3)) == c.held.end();
        });
        EXPECT_EQ(reservations::FreeRoomsForArrival(app().data(), c.night, 2026), free)
            << "Form33 " << c.night;
        EXPECT_EQ(reservations::FreeRoomsForFurtherArrival(app().data(), c.night, 2026), free)
            << "Form45 " << c.night;
        EXPECT_EQ(reservations::FreeRoomsForStay(app().data(), c.night, "", 2026), free)
            << "Form36 " << c.night;
    }

    // Edit Reservation asks for every night of the stay: 3/28 to 3/31 meets 101's first night.
    EXPECT_EQ(reservations::FreeRoomsForStay(app().data(), "3/28/26", "3/31/26", 2026),
              (std::vector<std::string>{"102 NQ1  ", "103 K11  ", "104 DD1  ", "105 NK1  "}));
    EXPECT_EQ(reservations::FreeRoomsForStay(app().data(), "3/28/26", "3/30/26", 2026), all);
}

} // namespace
} // namespace vantreth
