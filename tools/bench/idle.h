// What the program costs while the clerk does nothing: the real Qt front end on the folder,
// at the front desk and then with a message box up over it.
#pragma once

#include <filesystem>
#include <optional>

namespace vantreth::bench {

struct IdleFigures {
    double deskCpuPercent = 0; // of one core
    double deskWakesPerSecond = 0;
    double boxCpuPercent = 0;
    double boxWakesPerSecond = 0;
};

// Starts the program on the folder (offscreen, no call box, no printer), lets it settle and
// measures `seconds` at the desk, then as long with a box up; nullopt when it cannot start.
std::optional<IdleFigures> MeasureIdle(const std::filesystem::path& data, int seconds);

} // namespace vantreth::bench
