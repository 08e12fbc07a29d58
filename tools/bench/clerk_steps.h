// The clerk's main steps, each driven through the program's own windows by the scenario
// runner: the flow of a scenario of the tests walks a fresh data folder up to the step,
// then the step itself (its click and the answers it needs) is timed, with the flushes it
// waits for counted.
#pragma once

#include "bench/disk.h"

#include <filesystem>
#include <string>
#include <vector>

namespace vantreth::bench {

struct ClerkStep {
    const char* key;          // the step's name on the command line (--op step --key KEY)
    const char* label;        // its row in the table
    const char* scenario;     // the flow that leads up to it (tests/scenarios)
    const char* anchor;       // the step's last line in the flow (the click that does it) ...
    int occurrence;           // ... its n-th occurrence there
    int leading;              // lines before it that belong to the step (queued answers)
    const char* extra = "";   // lines run after the flow's lines before the anchor
    const char* step = "";    // when given, the step instead of the anchor's lines
    const char* callBox = ""; // characters waiting from the call box when the step starts
};

// Every main step the benchmark times, in the order of the table.
const std::vector<ClerkStep>& ClerkSteps();
const ClerkStep* FindClerkStep(const std::string& key);

struct StepRound {
    double ms = 0;
    FlushCount flushes;
    double referenceMs = -1; // the reference transaction measured right after the step
    double floorMs = -1;     // the step's own record written and flushed alone, right after
};

// Runs the step `runs` times, each time on a fresh folder made in `scratch` and walked up
// to the step (without flushing; the disk is settled before the step starts). With
// `otherMiB` > 0 another program writes that much to a file of `scratch` just before the
// step, without flushing it. Throws std::runtime_error when the flow or the step fails.
std::vector<StepRound> TimeClerkStep(const ClerkStep& step, const std::filesystem::path& scenarios,
                                     const std::filesystem::path& scratch, int runs, int otherMiB,
                                     bool reference);

} // namespace vantreth::bench
