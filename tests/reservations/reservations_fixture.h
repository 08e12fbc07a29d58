// Shared set-up of the reservation window tests: reservations and rooms on file, and
// stand-ins for the windows the reservation lists and menus open, which note the hand-over
// variables as they load.
#pragma once

#include "support/app_fixture.h"
#include "support/builders.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/room_record.h"
#include "records/settings_files.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vantreth::testing {

inline records::GuestRecord Reservation(const std::string& last, const std::string& first,
                                        const std::string& room, const std::string& arrival,
                                        const std::string& departure = "") {
    records::GuestRecord slot;
    slot.LastName = platform::Fixed(last, 15);
    slot.FirstName = platform::Fixed(first, 15);
    slot.Room = platform::Fixed(room, 3);
    slot.ArrivalDate = platform::Fixed(arrival, 10);
    slot.DepartureDate = platform::Fixed(departure, 10);
    return slot;
}

// What a stand-in window saw of the shared variables when it was loaded.
struct HandOver {
    int loads = 0;
    std::string resDateKey;
    std::string resRoomKey;
    std::string presetArrivalDate;
};

class StandInForm final : public AppForm {
public:
    StandInForm(App& app, std::string name, HandOver& seen)
        : AppForm(app, std::move(name), "Stand-in", {0, 0, 100, 100}), m_seen(seen) {}

private:
    void Form_Load() override {
        Show();
        m_seen.loads++;
        m_seen.resDateKey = app().gResDateKey;
        m_seen.resRoomKey = app().gResRoomKey;
        m_seen.presetArrivalDate = app().gPresetArrivalDate;
    }
    HandOver& m_seen;
};

class ReservationsFixture : public AppFixture {
protected:
    ReservationsFixture() {
        for (const char* name : {"Form26", "Form36"})
            StandIn(name);
    }

    // Replaces the named window by a stand-in that records what it was handed.
    void StandIn(const std::string& name) {
        app().Register(name, [this, name](platform::Program& program) {
            return std::make_unique<StandInForm>(static_cast<App&>(program), name, m_handOvers[name]);
        });
    }
    const HandOver& Seen(const std::string& name) { return m_handOvers[name]; }

    void StartAtFrontDesk() {
        records::WriteIntroFlag(app().data(), 1.0f);
        StartProgram();
        ASSERT_TRUE(IsLoaded("Form1"));
    }
    void Load(const std::string& name) {
        app().Dispatch([&] { app().Load(name); });
    }
    void PutReservations(const std::vector<records::GuestRecord>& slots) {
        for (size_t i = 0; i < slots.size(); ++i)
            records::WriteGuest(app().data(), records::kReservationsFile, static_cast<long>(i + 1), slots[i]);
    }
    void PutRooms(const std::vector<records::RoomRecord>& rooms) {
        for (const records::RoomRecord& room : rooms)
            records::AppendRoom(app().data(), room);
    }

private:
    std::map<std::string, HandOver> m_handOvers;
};

} // namespace vantreth::testing
