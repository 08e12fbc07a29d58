#include "bench/clerk_steps.h"

#include "platform/engine.h"
#include "script/flows.h"
#include "script/script_runner.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace vantreth::bench {

namespace {

std::vector<std::string> ReadLines(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The flow up to the step and the step, as script text.
struct StepScript {
    std::string setup, step;
};

StepScript ScriptOf(const ClerkStep& c, const std::filesystem::path& scenarios) {
    const std::vector<std::string> lines = ReadLines(scenarios / c.scenario);
    int seen = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != c.anchor || ++seen != c.occurrence)
            continue;
        StepScript script;
        const size_t first = *c.step != '\0' ? i : i - static_cast<size_t>(c.leading);
        for (size_t j = 0; j < first; ++j)
            script.setup += lines[j] + "\n";
        script.setup += c.extra;
        if (*c.step != '\0')
            script.step = c.step;
        else
            for (size_t j = first; j <= i; ++j)
                script.step += lines[j] + "\n";
        return script;
    }
    throw std::runtime_error(std::string("no line \"") + c.anchor + "\" in " + c.scenario);
}

std::string LastLines(const std::string& text, int count) {
    size_t at = text.size();
    for (int n = 0; n <= count && at > 0; ++n)
        at = text.rfind('\n', at - 1);
    return at == std::string::npos ? text : text.substr(at + 1);
}

} // namespace

const std::vector<ClerkStep>& ClerkSteps() {
    static const std::vector<ClerkStep> steps = {
        {"walk-in", "walk-in check-in", "checkin.scn", "click form2.Command2", 1, 2},
        {"reservation", "reservation made, with a deposit", "add_reservation.scn", "click Form26.Command2", 1,
         1},
        {"posting", "folio posting", "folio.scn", "click Form4.Command1", 1, 0},
        {"check-out", "check-out", "folio.scn", "click Form4.Command4", 2, 1},
        {"direct-bill-check-out", "check-out to a company account", "folio.scn", "click Form1.Command1", 1, 0,
         script::kDirectBillStay, "answer Yes\nclick Form4.Command4\n"},
        {"direct-bill-payment", "direct-bill payment", "direct_bill.scn", "click Form23.Command1", 1, 0},
        {"vending-cash", "cash drawer entry (vending cash)", "shift_cash.scn", "key Form72 Enter", 1, 0},
        {"petty-cash", "cash drawer entry (petty cash)", "shift_cash.scn", "click Form75.Command2", 1, 0},
        {"drop-sheet", "drawer balance and drop sheet", "shift_cash.scn", "click Form6.Command1", 2, 0},
        {"call-posting", "call posting from the call box", "folio.scn", "key Form1 F", 1, 0, "",
         "tick Form50.Timer1\n", "abcdefghij12/06k 101lm15:42nopqrst  1.25u555-123-4567vwxyz"},
        {"move-guest", "guest moved to another room", "night_audit.scn", "tick Form1.Timer1", 1, 0,
         "click Form1.Command13\npick Form8.Combo1 \"101  SMITH ANN\"\npick Form8.Combo2 \"102   NQ1  \"\n",
         "click Form8.Command1\n"},
        {"edit-guest", "guest edited, a new name", "edit_guest_check_back_in.scn", "click Form9.Command1", 2,
         0},
        {"check-back-in", "check back in", "edit_guest_check_back_in.scn", "pick Form40.Combo1 \"102 NDD1\"",
         1, 1},
        {"change-date", "change of the business date", "night_audit.scn", "click Form16.Command1", 1, 0},
    };
    return steps;
}

const ClerkStep* FindClerkStep(const std::string& key) {
    for (const ClerkStep& step : ClerkSteps())
        if (key == step.key)
            return &step;
    return nullptr;
}

std::vector<StepRound> TimeClerkStep(const ClerkStep& step, const std::filesystem::path& scenarios,
                                     const std::filesystem::path& scratch, int runs, int otherMiB,
                                     bool reference) {
    const StepScript script = ScriptOf(step, scenarios);
    // The runner makes its folders in the temporary folder: here, on the disk measured.
    ::setenv("TMPDIR", scratch.c_str(), 1);
    std::vector<StepRound> rounds;
    for (int run = 0; run < runs; ++run) {
        std::ostringstream transcript;
        script::ScriptRunner runner(transcript);
        runner.SetDurable(false);
        std::istringstream setup(script.setup);
        const script::ScriptResult walked = runner.Run(setup);
        runner.SetDurable(true);
        if (!walked.ok)
            throw std::runtime_error(std::string("the flow up to ") + step.label +
                                     " failed: " + LastLines(transcript.str(), 6));
        runner.app()->gCallBuffer = step.callBox;
        // The clerk's pause before the step: the steps before it go into the files, as at any
        // quiet moment, and the disk settles.
        runner.app()->engine().WriteCommitted();
        SettleDisk(runner.dataRoot());
        std::filesystem::path other;
        if (otherMiB > 0)
            other = WriteUnflushed(scratch, otherMiB);

        const size_t transcriptBefore = transcript.str().size();
        std::istringstream lines(script.step);
        StepRound round;
        const FlushCount before = Flushes();
        const double actionsBefore = runner.ActionMs();
        const script::ScriptResult done = runner.Run(lines);
        round.ms = runner.ActionMs() - actionsBefore; // the clerk's wait, not the runner's transcript
        round.flushes = Flushes() - before;
        if (!other.empty())
            std::filesystem::remove(other);
        if (!done.ok)
            throw std::runtime_error(std::string(step.label) +
                                     " failed: " + transcript.str().substr(transcriptBefore));
        if (reference) {
            round.referenceMs = ReferenceTransactionMs(scratch / "reference-database");
            round.floorMs = FloorMs(scratch / "floor-journal", runner.app()->engine().LastRecordBytes());
        }
        rounds.push_back(round);
    }
    return rounds;
}

} // namespace vantreth::bench
