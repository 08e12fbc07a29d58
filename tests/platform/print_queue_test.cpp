// The queue that hands the reports of saved steps to the printer away from the window, and
// its lists in the data folder.
#include "platform/engine.h"
#include "platform/print_command.h"
#include "platform/print_queue.h"
#include "platform/printer.h"
#include "support/stand_in_command.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

using vantreth::testing::Script;

std::string Slurp(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The reports of saved steps go to the system's printing away from the window: the window
// never waits, a printer that does not answer is waited for once a step, and each step that
// did not wholly print is one box. The folder's list of reports not yet handed over is gone
// once every one was.
TEST(PrintQueueTest, TheWindowNeverWaitsForThePrinter) {
    vantreth::testing::TempFolder folder;
    const std::filesystem::path calls = folder.path() / "calls";
    struct Case {
        std::string body; // of the print command; empty: no such command
        size_t boxes;
        size_t calls;
        std::string said; // in the box
    };
    const Case cases[] = {
        {"echo request id is Q-1", 0, 145, ""},
        {"echo 'lp: Error - Scheduler not running.' >&2; exit 1", 1, 145, "Scheduler not running"},
        // A command given up on is stopped with what it started.
        {"sleep 20 & echo $! > " + (folder.path() / "sleeper").string() + "; wait", 1, 1, "did not answer"},
        {"", 1, 0, "cannot be run"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        std::filesystem::remove(calls);
        const std::string command = c.body.empty() ? (folder.path() / "none").string()
                                                   : Script(folder.path(), "lp" + std::to_string(++n),
                                                            "echo >> " + calls.string() + "\n" + c.body);
        CommandSpooler spooler(command, 300);
        PrintQueue queue(folder.path(), spooler);
        std::vector<PrintQueue::Report> step;
        for (int r = 1; r <= 145; ++r)
            step.push_back({folder.path() / ("report-" + std::to_string(r) + ".pdf"),
                            "Billing Notice " + std::to_string(r)});
        PrintQueue::List(FilePath::Outside(folder.path()), step);
        const auto start = std::chrono::steady_clock::now();
        queue.Add(step);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100))
            << "the window waited";
        std::vector<std::string> boxes;
        for (int waited = 0; queue.Busy() && waited < 1000; ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            for (std::string& box : queue.TakeNotPrinted())
                boxes.push_back(std::move(box));
        }
        if (!boxes.empty()) {
            EXPECT_NE(PrintQueue::LeftBehind(FilePath::Outside(folder.path())), "")
                << "told until the box is shown";
            queue.Shown();
        }
        EXPECT_FALSE(queue.Busy());
        ASSERT_EQ(boxes.size(), c.boxes);
        if (!boxes.empty()) {
            EXPECT_EQ(boxes[0].rfind("145 reports could not be printed (", 0), 0u) << boxes[0];
            EXPECT_NE(boxes[0].find(c.said), std::string::npos) << boxes[0];
        }
        const std::string called = Slurp(calls);
        EXPECT_EQ(std::count(called.begin(), called.end(), '\n'), static_cast<long>(c.calls));
        EXPECT_EQ(PrintQueue::LeftBehind(FilePath::Outside(folder.path())), "")
            << "every report handed over or told";
        PrintQueue::LeftBehindShown(FilePath::Outside(folder.path())); // as the next start does
    }
    const std::string sleeper = Slurp(folder.path() / "sleeper");
    ASSERT_FALSE(sleeper.empty());
    std::string state = Slurp("/proc/" + std::to_string(std::stol(sleeper)) + "/stat");
    for (int waited = 0; !state.empty() && state.find(") Z") == std::string::npos && waited < 100; ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        state = Slurp("/proc/" + std::to_string(std::stol(sleeper)) + "/stat");
    }
    EXPECT_TRUE(state.empty() || state.find(") Z") != std::string::npos) << "left running: " << state;
}

// The program is killed while a step's reports are handed over: the next start tells which
// were not, and where their PDFs are, once.
TEST(PrintQueueTest, ReportsLeftByAKilledProgramAreToldAtTheNextStart) {
    vantreth::testing::TempFolder folder;
    const std::string command = Script(folder.path(), "lp", "case \"$2\" in *1) exit 0;; esac; exec sleep 5");
    for (const char* pdf : {"report-a.pdf", "report-b.pdf", "report-c.pdf"})
        std::ofstream(folder.path() / pdf) << "%PDF-1.4\n%%EOF\n";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CommandSpooler spooler(command, 60000);
        PrintQueue queue(folder.path(), spooler);
        const std::vector<PrintQueue::Report> step = {{folder.path() / "report-a.pdf", "Folio, room 1"},
                                                      {folder.path() / "report-b.pdf", "Folio, room 2"},
                                                      {folder.path() / "report-c.pdf", "Folio, room 3"}};
        PrintQueue::List(FilePath::Outside(folder.path()), step);
        queue.Add(step);
        ::pause();
        ::_exit(0);
    }
    const std::filesystem::path done = folder.path() / PrintQueue::kDoneFile;
    for (int waited = 0; Slurp(done).empty() && waited < 500; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const std::string told =
        "2 reports could not be printed (the program was stopped while handing reports to the printer):\n"
        "\"Folio, room 2\"\n\"Folio, room 3\"\nTheir PDFs are kept in the folder " +
        folder.path().string() + ".";
    EXPECT_EQ(PrintQueue::LeftBehind(FilePath::Outside(folder.path())), told);
    EXPECT_EQ(PrintQueue::LeftBehind(FilePath::Outside(folder.path())), told) << "told until shown";
    PrintQueue::LeftBehindShown(FilePath::Outside(folder.path()));
    EXPECT_EQ(PrintQueue::LeftBehind(FilePath::Outside(folder.path())), "") << "told once shown";
}

// What the queue keeps in the folder: its note of what was handed over is never written
// through a link planted in its place; a box not yet shown is told at the next start; and a
// queue whose thread cannot be started tells its step's reports as not printed.
TEST(PrintQueueTest, ItsFilesAreItsOwnAndABoxIsToldUntilShown) {
    struct Taken final : PrintSpooler {
        void Hand(const std::filesystem::path&, const std::string&) override {}
    };
    struct Refused final : PrintSpooler {
        void Hand(const std::filesystem::path&, const std::string&) override {
            throw PrintError("lp: refused");
        }
    };
    const PrintQueue::ThreadStarter noThread = [](std::function<void()>) -> std::thread {
        throw std::system_error(EAGAIN, std::generic_category(), "cannot start a thread");
    };
    struct Case {
        const char* what;
        bool refused;
        PrintQueue::ThreadStarter start;
        std::string said; // in the box; empty: no box
    };
    const Case cases[] = {
        {"handed over", false, {}, ""},
        {"refused", true, {}, "(lp: refused)"},
        {"no thread", false, noThread,
         "(the program could not start handing reports to the printer: cannot start a thread"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        vantreth::testing::TempFolder folder;
        vantreth::testing::TempFolder elsewhere;
        const std::filesystem::path outside = elsewhere.path() / "notes";
        std::ofstream(outside) << "kept\n";
        std::filesystem::create_symlink(outside, folder.path() / PrintQueue::kDoneFile);
        const FilePath print = FilePath::Outside(folder.path());
        const std::vector<PrintQueue::Report> step = {{folder.path() / "report-1.pdf", "Folio, room 1"}};
        std::ofstream(step[0].pdf) << "%PDF-1.4\n%%EOF\n";
        Taken taken;
        Refused refused;
        std::vector<std::string> boxes;
        {
            PrintQueue queue(folder.path(), c.refused ? static_cast<PrintSpooler&>(refused) : taken, c.start);
            PrintQueue::List(print, step);
            EXPECT_NO_THROW(queue.Add(step));
            for (int waited = 0; queue.Busy() && boxes.empty() && waited < 500; ++waited) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                boxes = queue.TakeNotPrinted();
            }
        }
        EXPECT_EQ(Slurp(outside), "kept\n") << "written through the link";
        ASSERT_EQ(boxes.size(), c.said.empty() ? 0u : 1u);
        if (c.said.empty())
            continue;
        EXPECT_NE(boxes[0].find("\"Folio, room 1\" " + c.said), std::string::npos) << boxes[0];
        EXPECT_NE(boxes[0].find("its PDF is kept as " + step[0].pdf.string()), std::string::npos) << boxes[0];
        // The program stopped with the box up: the next start tells the report again.
        EXPECT_NE(PrintQueue::LeftBehind(print).find("\"Folio, room 1\""), std::string::npos);
        {
            PrintQueue queue(folder.path(), taken, c.start);
            queue.Add(step); // told again, and now shown
            for (int waited = 0; queue.Busy() && waited < 500; ++waited) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                queue.TakeNotPrinted();
            }
            queue.Shown();
        }
        EXPECT_EQ(Slurp(outside), "kept\n") << "written through the link";
    }
}

// The exit waits at most a second for the printer, also for a print command that closed its
// output and runs on.
TEST(PrintQueueTest, TheExitWaitsAtMostASecond) {
    vantreth::testing::TempFolder folder;
    const std::vector<std::string> bodies = {"exec sleep 20", "exec >&- 2>&-; exec sleep 20"};
    int n = 0;
    for (const std::string& body : bodies) {
        SCOPED_TRACE(body);
        CommandSpooler spooler(Script(folder.path(), "lp" + std::to_string(++n), body), 60000);
        std::chrono::steady_clock::time_point start;
        {
            PrintQueue queue(folder.path(), spooler);
            queue.Add({{folder.path() / "report-1.pdf", "Folio, room 1"}});
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            start = std::chrono::steady_clock::now();
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start,
                  std::chrono::milliseconds(PrintQueue::kExitWaitMs + 500));
    }
}

// The list of reports not yet handed over is a file of the folder: once its box was shown the
// start clears it through the folder's engine, and a change the engine refuses leaves it to
// be told again.
TEST(PrintQueueTest, TheListIsClearedThroughTheFoldersEngine) {
    struct RefusingRemoves final : FileFaults {
        bool refuse = false;
        Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
        Fault Before(const Change& change) override {
            return refuse && change.op == Op::Remove ? Fault{Kind::Fail, EIO} : Fault{};
        }
    };
    for (const bool refused : {false, true}) {
        SCOPED_TRACE(refused ? "the engine refuses" : "the engine takes it");
        vantreth::testing::TempFolder folder;
        RefusingRemoves faults;
        Engine journal(folder.path(), &faults);
        journal.Recover();
        const DataFolder data(folder.path(), &journal);
        const FilePath print = data.FileAt(folder.path());
        PrintQueue::List(print, {{folder.path() / "report-1.pdf", "Folio, room 1"}});
        const std::string told = PrintQueue::LeftBehind(print);
        ASSERT_NE(told, "");
        faults.refuse = refused;
        PrintQueue::LeftBehindShown(print);
        EXPECT_EQ(PrintQueue::LeftBehind(print), refused ? told : "");
    }
}
} // namespace
} // namespace platform
