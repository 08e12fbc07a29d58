// The queue that hands the reports of saved steps to the system's printing from a thread of
// its own, and the folder's list of those not yet handed over.
#pragma once

#include "platform/files.h"

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace platform {

class PrintSpooler; // print_command.h

// The reports of saved steps, handed to the spooler by a thread of its own so that the window
// never waits for the system's printing. A step's reports go in order; when the system does
// not answer for one, the step's others are not tried (each would wait as long) and count as
// not printed. What was not printed comes back as one box per step (TakeNotPrinted).
// Until its report is handed over (or the box telling it was not was shown), each PDF is named
// in the folder's list kListFile, so that the start after the program was stopped can tell the
// clerk (LeftBehind). The list is written only through the file layer (List): a step lists
// its reports as a part of itself, so that they are listed exactly when the step is saved.
// What was handed over is noted in kDoneFile, outside every step, and only added to while
// the program runs: the list may come back older after a crash without naming a report
// handed over as not printed.
class PrintQueue {
public:
    struct Report {
        std::filesystem::path pdf;
        std::string name;
    };
    // Starts the thread that hands the reports over; throws what std::thread throws.
    using ThreadStarter = std::function<std::thread(std::function<void()>)>;
    // `start`: how the queue's thread is started (empty: std::thread).
    PrintQueue(std::filesystem::path folder, PrintSpooler& spooler, ThreadStarter start = {});
    // Waits at most kExitWaitMs for the hand-overs going on; what is left stays listed.
    ~PrintQueue();
    PrintQueue(const PrintQueue&) = delete;
    PrintQueue& operator=(const PrintQueue&) = delete;

    // Names the reports in the folder's list, as a change of the running step when there is
    // one; the reports already handed over leave the list. Throws IoError as a change does.
    static void List(const FilePath& folder, const std::vector<Report>& reports);
    // Queues reports the list names (their step is saved); returns at once and never throws:
    // a step whose reports cannot be queued (no thread can be started) is a box of its own.
    void Add(std::vector<Report> step);
    // Reports still queued, or boxes still to be taken.
    bool Busy() const;
    std::vector<std::string> TakeNotPrinted();
    // The boxes taken were shown: their reports leave the list.
    void Shown();

    // The box about the reports the folder's list names as not handed over (the program was
    // stopped first), empty when there are none. Only at the start, when no step and no
    // journal can still change the list; the list stays until LeftBehindShown.
    static std::string LeftBehind(const FilePath& folder);
    // The box of LeftBehind was shown: the list and the notes of what was handed over go,
    // through the file layer.
    static void LeftBehindShown(const FilePath& folder);

    static constexpr const char* kListFile = "not-yet-printed";
    static constexpr const char* kDoneFile = "handed-over";
    static constexpr int kExitWaitMs = 1000;

private:
    void Work();
    void Done(const std::string& file); // notes it in kDoneFile; m_mutex held

    std::filesystem::path m_folder;
    PrintSpooler& m_spooler;
    ThreadStarter m_start;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<Report>> m_steps;
    bool m_working = false; // a step is being handed over
    bool m_stopping = false;
    std::vector<std::string> m_told;
    std::vector<std::string> m_toldFiles;  // the files of m_told's reports, listed until shown
    std::vector<std::string> m_takenFiles; // the files of the boxes taken and not yet shown
    std::thread m_thread;
};

} // namespace platform
