// The printer's line building (columns, values), pages, vertical position and documents.
#include "platform/folder_lock.h"
#include "platform/journal.h"
#include "platform/printer.h"
#include "support/failing_printer.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

// A stand-in for a system command: a shell script in `folder`.
std::string Script(const std::filesystem::path& folder, const std::string& name, const std::string& body) {
    const std::filesystem::path file = folder / name;
    std::ofstream(file) << "#!/bin/sh\n" << body << "\n";
    std::filesystem::permissions(file, std::filesystem::perms::owner_all);
    return file.string();
}

std::string Slurp(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(PrintItemsTest, TabPlacesNextItemAtColumnOrOnNextLine) {
    struct Case {
        std::string before;
        int column;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", 1, {"X"}},
        {"", 5, {"    X"}},
        {"ab", 5, {"ab  X"}},             // before the column: padded
        {"abcd", 5, {"abcdX"}},           // exactly at the column: nothing added
        {"abcde", 5, {"abcde", "    X"}}, // one past: next line at the column
        {"abcdefgh", 3, {"abcdefgh", "  X"}},
        {"ab", 0, {"ab", "X"}}, // column 0 counts as column 1
    };
    for (const Case& c : cases) {
        PrintItems items;
        items.Text(c.before).Tab(c.column).Text("X");
        EXPECT_EQ(items.lines(), c.lines) << "before \"" << c.before << "\", Tab(" << c.column << ")";
    }
}

TEST(PrintItemsTest, ItemsWithoutTabFollowDirectly) {
    PrintItems items;
    items.Text("Room").Text("101").Tab(10).Text("A").Text("B");
    EXPECT_EQ(items.lines(), std::vector<std::string>{"Room101  AB"});
}

TEST(PrintItemsTest, TabAfterWrapCountsFromTheNewLine) {
    PrintItems items;
    items.Text("123456").Tab(3).Text("x").Tab(8).Text("y").Tab(2).Text("z");
    EXPECT_EQ(items.lines(), (std::vector<std::string>{"123456", "  x    y", " z"}));
}

TEST(PrintItemsTest, ValueIsStrFormFollowedByOneBlank) {
    struct Case {
        const char* name;
        std::function<void(PrintItems&)> add;
        std::string expected;
    };
    const Case cases[] = {
        {"Value(5.5f)", [](PrintItems& p) { p.Value(5.5f); }, " 5.5 "},
        {"Value(-2.25f)", [](PrintItems& p) { p.Value(-2.25f); }, "-2.25 "},
        {"Value(0.0f)", [](PrintItems& p) { p.Value(0.0f); }, " 0 "},
        {"Value(166.65f)", [](PrintItems& p) { p.Value(166.65f); }, " 166.65 "},
        {"Value(12.5)", [](PrintItems& p) { p.Value(12.5); }, " 12.5 "},
        {"Value(-3.0)", [](PrintItems& p) { p.Value(-3.0); }, "-3 "},
        {"Value(7)", [](PrintItems& p) { p.Value(7); }, " 7 "},
        {"Value(-7)", [](PrintItems& p) { p.Value(-7); }, "-7 "},
        {"Value(0)", [](PrintItems& p) { p.Value(0); }, " 0 "},
    };
    for (const Case& c : cases) {
        PrintItems items;
        items.Text("|");
        c.add(items);
        items.Text("|");
        EXPECT_EQ(items.lines(), (std::vector<std::string>{"|" + c.expected + "|"})) << c.name;
    }
}

TEST(PrintItemsTest, ValueCountsTowardsTheColumn) {
    PrintItems items;
    items.Value(5.5f).Tab(5).Text("x");
    EXPECT_EQ(items.lines(), (std::vector<std::string>{" 5.5 ", "    x"}));
}

class PrinterTest : public ::testing::Test {
protected:
    CapturePrinter capture;
    Printer printer{capture};

    PrintJob OnlyJob() {
        std::vector<PrintJob> jobs = capture.TakeJobs();
        EXPECT_EQ(jobs.size(), 1u);
        return jobs.empty() ? PrintJob{} : jobs.front();
    }
};

TEST_F(PrinterTest, DocumentOpensOnFirstPrintAndIsSubmittedByEndDoc) {
    EXPECT_FALSE(printer.DocumentOpen());
    printer.Print("Night Audit");
    EXPECT_TRUE(printer.DocumentOpen());
    EXPECT_TRUE(capture.jobs().empty());
    printer.Print();
    printer.Print(PrintItems().Text("A").Tab(4).Value(2));
    printer.EndDoc();
    EXPECT_FALSE(printer.DocumentOpen());
    EXPECT_EQ(OnlyJob().Text(), "Night Audit\n\nA   2 ");
}

TEST_F(PrinterTest, EndDocWithoutDocumentSubmitsNothing) {
    printer.EndDoc();
    printer.Print("one");
    printer.EndDoc();
    printer.EndDoc();
    EXPECT_EQ(capture.TakeJobs().size(), 1u);
    EXPECT_TRUE(capture.TakeJobs().empty());
}

TEST_F(PrinterTest, EachDocumentStartsFresh) {
    printer.Print("first");
    printer.EndDoc();
    printer.Print("second");
    printer.EndDoc();
    std::vector<PrintJob> jobs = capture.TakeJobs();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].Text(), "first");
    EXPECT_EQ(jobs[1].Text(), "second");
}

TEST_F(PrinterTest, PrintItemsSpanningTwoLinesAddsBoth) {
    printer.Print(PrintItems().Text("long description").Tab(5).Text("1.00"));
    printer.EndDoc();
    EXPECT_EQ(OnlyJob().Text(), "long description\n    1.00");
}

TEST_F(PrinterTest, LinesKeepBoldAndFontSizeOfTheirPrint) {
    printer.FontBold(true);
    printer.FontSize(14);
    printer.Print("Heading");
    printer.FontBold(false);
    printer.FontSize(10);
    printer.Print("body");
    printer.EndDoc();
    const PrintJob job = OnlyJob();
    ASSERT_EQ(job.pages.size(), 1u);
    ASSERT_EQ(job.pages[0].lines.size(), 2u);
    EXPECT_TRUE(job.pages[0].lines[0].bold);
    EXPECT_EQ(job.pages[0].lines[0].fontSize, 14);
    EXPECT_FALSE(job.pages[0].lines[1].bold);
    EXPECT_EQ(job.pages[0].lines[1].fontSize, 10);
}

TEST_F(PrinterTest, PrintingPastTheLastRowStartsANewPage) {
    for (int i = 0; i < Printer::kLinesPerPage + 1; ++i)
        printer.Print("line " + std::to_string(i));
    printer.EndDoc();
    const PrintJob job = OnlyJob();
    ASSERT_EQ(job.pages.size(), 2u);
    EXPECT_EQ(job.pages[0].lines.size(), static_cast<size_t>(Printer::kLinesPerPage));
    ASSERT_EQ(job.pages[1].lines.size(), 1u);
    EXPECT_EQ(job.pages[1].lines[0].text, "line " + std::to_string(Printer::kLinesPerPage));
}

TEST_F(PrinterTest, NewPageAndTextSeparatesPagesWithFormFeedLine) {
    printer.Print("a  ");
    printer.NewPage();
    printer.Print("b");
    printer.EndDoc();
    EXPECT_EQ(OnlyJob().Text(), "a  \n\f\nb");
}

TEST_F(PrinterTest, NewPageOpensDocumentAndEmptyDocumentIsStillSubmitted) {
    printer.NewPage();
    EXPECT_TRUE(printer.DocumentOpen());
    printer.EndDoc();
    EXPECT_EQ(OnlyJob().pages.size(), 2u);
}

TEST_F(PrinterTest, CurrentYDownPadsWithEmptyRows) {
    printer.Print("top");
    printer.CurrentY(4 * Printer::kTwipsPerLine + 100); // row 4, rounded down
    printer.Print("row four");
    printer.EndDoc();
    EXPECT_EQ(OnlyJob().Text(), "top\n\n\n\nrow four");
}

TEST_F(PrinterTest, CurrentYUpOverwritesRowsFromThere) {
    printer.Print("r0");
    printer.Print("r1");
    printer.Print("r2");
    printer.Print("r3");
    printer.CurrentY(Printer::kTwipsPerLine);
    printer.Print("new1");
    printer.Print("new2");
    printer.EndDoc();
    EXPECT_EQ(OnlyJob().Text(), "r0\nnew1\nnew2\nr3");
}

TEST_F(PrinterTest, CurrentYOpensDocumentAndActsOnTheCurrentPage) {
    printer.CurrentY(2 * Printer::kTwipsPerLine);
    EXPECT_TRUE(printer.DocumentOpen());
    printer.Print("x");
    printer.NewPage();
    printer.CurrentY(Printer::kTwipsPerLine);
    printer.Print("y");
    printer.EndDoc();
    const PrintJob job = OnlyJob();
    ASSERT_EQ(job.pages.size(), 2u);
    EXPECT_EQ(job.Text(), "\n\nx\n\f\n\ny");
}

TEST_F(PrinterTest, CurrentYBelowThePageSendsNextLineToANewPage) {
    printer.Print("a");
    printer.CurrentY(Printer::kLinesPerPage * Printer::kTwipsPerLine);
    printer.Print("b");
    printer.EndDoc();
    const PrintJob job = OnlyJob();
    ASSERT_EQ(job.pages.size(), 2u);
    EXPECT_EQ(job.pages[0].lines.size(), static_cast<size_t>(Printer::kLinesPerPage));
    ASSERT_EQ(job.pages[1].lines.size(), 1u);
    EXPECT_EQ(job.pages[1].lines[0].text, "b");
}

TEST_F(PrinterTest, DeviceFailureDropsDocumentAndLeavesPrinterUsable) {
    vantreth::testing::FailingPrinter failing("printer out of paper");
    printer.SetDevice(failing);
    printer.Print("lost");
    EXPECT_THROW(printer.EndDoc(), PrintError);
    EXPECT_EQ(failing.attempts(), 1);
    EXPECT_FALSE(printer.DocumentOpen());
    printer.EndDoc(); // nothing open: no second attempt
    EXPECT_EQ(failing.attempts(), 1);

    printer.SetDevice(capture);
    printer.Print("next");
    printer.EndDoc();
    EXPECT_EQ(OnlyJob().Text(), "next");
}

// The system's print command through stand-ins: it is given the title and the file, and a
// job it does not take is a PrintError with what it said.
TEST(CommandSpoolerTest, AJobNotTakenIsAnErrorWithTheReason) {
    vantreth::testing::TempFolder folder;
    auto script = [&folder](const std::string& name, const std::string& body) {
        return Script(folder.path(), name, body);
    };
    const std::filesystem::path pdf = folder.path() / "report-1.pdf";
    const std::filesystem::path args = folder.path() / "args";
    struct Case {
        std::string command;
        int timeoutMs;
        std::string error; // empty: taken
    };
    const Case cases[] = {
        {script("taken", "echo \"$@\" > " + args.string() + "; echo request id is Q-1"), 5000, ""},
        {script("refused", "echo 'lp: Destination \"Q\" is not accepting jobs.' >&2; exit 1"), 5000,
         "lp: Destination \"Q\" is not accepting jobs."},
        {script("silent", "exit 3"), 5000, "ended with status 3"},
        {(folder.path() / "no-such-command").string(), 5000, "cannot be run"},
        {script("hangs", "exec sleep 20"), 200, "did not answer"},
        // Its output closed, a command that runs on is given up on all the same.
        {script("closes", "exec >&- 2>&-; exec sleep 20"), 200, "did not answer"},
    };
    for (const Case& c : cases) {
        CommandSpooler spooler(c.command, c.timeoutMs);
        std::string error;
        const auto start = std::chrono::steady_clock::now();
        try {
            spooler.Hand(pdf, "NIGHT AUDIT");
        } catch (const PrintError& e) {
            error = e.what();
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(c.timeoutMs + 800))
            << c.command;
        if (c.error.empty())
            EXPECT_EQ(error, "") << c.command;
        else
            EXPECT_NE(error.find(c.error), std::string::npos) << c.command << ": " << error;
    }
    std::ifstream given(args);
    std::string line;
    std::getline(given, line);
    EXPECT_EQ(line, "-t NIGHT AUDIT -- " + pdf.string());
}

// Whether the system has a default printer, as "lpstat -d" says; an answer that does not come
// in time, or no lpstat at all, is no.
TEST(CommandSpoolerTest, ADefaultPrinterIsOneLpstatNames) {
    vantreth::testing::TempFolder folder;
    struct Case {
        std::string body; // empty: no such command
        bool printer;
    };
    const Case cases[] = {
        {"echo 'system default destination: Front_Desk'", true},
        {"echo 'no system default destination'", false},
        {"echo 'lpstat: Scheduler is not running.' >&2; exit 1", false},
        {"exec sleep 20", false},
        {"", false},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string command = c.body.empty()
                                        ? (folder.path() / "none").string()
                                        : Script(folder.path(), "lpstat" + std::to_string(++n), c.body);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(HasDefaultPrinter(300, command), c.printer) << c.body;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000)) << c.body;
    }
}

TEST(NotPrintedMessageTest, OneBoxFitsTheScreenHoweverManyReports) {
    const std::filesystem::path print = "/data/print";
    auto reports = [&](int count, bool oneReason) {
        std::vector<NotPrinted> list;
        for (int n = 1; n <= count; ++n)
            list.push_back({"Billing Notice, account " + std::to_string(n),
                            oneReason || n == 1 ? "lp: Error - Scheduler not running." : "lp: refused",
                            print / ("report-" + std::to_string(n) + ".pdf")});
        return list;
    };
    std::vector<NotPrinted> unsaved = reports(2, true);
    unsaved[1].pdf.clear();
    struct Case {
        const char* what;
        std::vector<NotPrinted> reports;
        std::string box;
    };
    const Case cases[] = {
        {"none", {}, ""},
        {"one", reports(1, true),
         "The report could not be printed: \"Billing Notice, account 1\" (lp: Error - Scheduler not "
         "running); its "
         "PDF is kept as /data/print/report-1.pdf."},
        {"145 for one reason", reports(145, true),
         "145 reports could not be printed (lp: Error - Scheduler not running):\n\"Billing Notice, account "
         "1\"\n"
         "\"Billing Notice, account 2\"\n\"Billing Notice, account 3\"\n\"Billing Notice, account 4\"\n"
         "\"Billing Notice, account 5\"\nand 140 more.\nTheir PDFs are kept in the folder /data/print."},
        {"reasons that differ", reports(2, false),
         "2 reports could not be printed:\n\"Billing Notice, account 1\" (lp: Error - Scheduler not "
         "running)\n"
         "\"Billing Notice, account 2\" (lp: refused)\nTheir PDFs are kept in the folder /data/print."},
        {"a reason too long for the box",
         {{"Folio", std::string(170, 'r'), {}}},
         "The report could not be printed: \"Folio\" (" + std::string(157, 'r') + "...)."},
        {"a PDF not saved", unsaved,
         "2 reports could not be printed (lp: Error - Scheduler not running):\n\"Billing Notice, account "
         "1\"\n"
         "\"Billing Notice, account 2\"\n1 of their PDFs are kept in the folder /data/print."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NotPrintedMessage(c.reports), c.box) << c.what;
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
        Journal journal(folder.path(), &faults);
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

// A step saved is saved whatever befalls its reports: a device that cannot take them (no
// thread can be started) has them told as not printed, never fails the step.
TEST(PrinterReleaseTest, AStepsReportsThatCannotBeHandedOverAreToldAsNotPrinted) {
    struct NoThread final : PrinterDevice {
        void Submit(const PrintJob&) override {}
        std::string PublishStep(std::vector<std::unique_ptr<PreparedPrint>>) override {
            throw std::system_error(EAGAIN, std::generic_category(), "cannot start a thread");
        }
    } device;
    Printer printer(device, [] { return true; });
    printer.Title("Folio, room 1");
    printer.Print("Vantreth Motel");
    printer.EndDoc();
    std::string box;
    EXPECT_NO_THROW(box = printer.Release());
    EXPECT_EQ(box.rfind("The report could not be printed: \"Folio, room 1\" (cannot start a thread", 0), 0u)
        << box;
}

TEST(CapturePrinterTest, TakeJobsReturnsJobsSinceLastTake) {
    CapturePrinter capture;
    Printer printer(capture);
    printer.Print("1");
    printer.EndDoc();
    printer.Print("2");
    printer.EndDoc();
    std::vector<PrintJob> first = capture.TakeJobs();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[1].Text(), "2");
    EXPECT_TRUE(capture.jobs().empty());
    printer.Print("3");
    printer.EndDoc();
    std::vector<PrintJob> second = capture.TakeJobs();
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].Text(), "3");
}

TEST(PdfCheckTest, IsCompletePdfWantsHeaderAndTrailer) {
    using namespace std::string_literals;
    struct Case {
        std::string bytes;
        bool complete;
    };
    const Case cases[] = {
        {"%PDF-1.4\n1 0 obj\nendobj\n%%EOF", true},
        {"%PDF-1.4\n%%EOF\n", true},
        {"%PDF-1.4\n%%EOF\r\n  \t\n", true},
        {"%PDF-1.4\n1 0 obj\nendobj\n", false}, // cut short before the trailer
        {"%PDF-1.4\n%%EO", false},              // cut inside it
        {"%PDF-1.4\n%%EOF\n1 0 obj", false},    // something after it
        {"%PDF-1.4\n%%EOF\0\0\0\0"s, false},    // a zero-filled tail
        {"1 0 obj\n%%EOF", false},              // no header
        {"%PDF-%%EOF", true},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsCompletePdf(c.bytes), c.complete) << "\"" << c.bytes << "\"";
}

class PdfFileTest : public ::testing::Test {
protected:
    vantreth::testing::TempFolder m_temp;
    const std::filesystem::path m_dir = m_temp.path();
};

// Lets a test write no more than `bytes` bytes to any file, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_oldSignal = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldSignal);
    }

private:
    rlimit m_old{};
    void (*m_oldSignal)(int) = nullptr;
};

TEST_F(PdfFileTest, SavedWholeOrNotAtAll) {
    const std::string document = "%PDF-1.4\n" + std::string(5000, 'x') + "\n%%EOF\n";
    struct Case {
        const char* what;
        std::string bytes;
        std::function<void(const std::filesystem::path&)> before; // may be empty
        rlim_t sizeLimit;                                         // 0 = none
        bool saved;
    };
    const Case cases[] = {
        {"a whole document", document, nullptr, 0, true},
        {"an unfinished document", document.substr(0, 3000), nullptr, 0, false},
        {"a disk that fills up", document, nullptr, 4096, false},
        {"a folder that is gone", document,
         [](const std::filesystem::path& file) { std::filesystem::remove_all(file.parent_path()); }, 0,
         false},
        {"a folder in the way", document,
         [](const std::filesystem::path& file) { std::filesystem::create_directories(file / "x"); }, 0,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::filesystem::path folder = m_dir / "print";
        std::filesystem::create_directories(folder);
        const std::filesystem::path file = folder / "report-1.pdf";
        if (c.before)
            c.before(file);
        const bool folderInTheWay = std::filesystem::is_directory(file);
        bool threw = false;
        {
            std::unique_ptr<FileSizeLimit> limit;
            if (c.sizeLimit != 0)
                limit = std::make_unique<FileSizeLimit>(c.sizeLimit);
            try {
                SavePdfFile(file, c.bytes);
            } catch (const PrintError& e) {
                threw = true;
                EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
            }
        }
        EXPECT_EQ(threw, !c.saved);
        if (c.saved) {
            std::ifstream in(file, std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
                      c.bytes);
        } else {
            EXPECT_EQ(std::filesystem::is_regular_file(file), false);
            EXPECT_EQ(std::filesystem::is_directory(file), folderInTheWay);
        }
        // No temporary file is left behind either way.
        if (std::filesystem::exists(folder)) {
            for (const auto& entry : std::filesystem::directory_iterator(folder))
                EXPECT_EQ(entry.path(), file) << "left behind";
        }
        std::filesystem::remove_all(folder);
    }
}

// A PDF whose step was never saved (the program was killed first) is a temporary the start
// clears, whatever its random part: one of only one kind of character too.
TEST_F(PdfFileTest, AnUnsavedPdfIsClearedByTheStart) {
    const std::filesystem::path folder = m_dir / "print";
    std::filesystem::create_directories(folder);
    const std::string file = "report-20261207-200000-1.pdf";
    StagedPdf staged(folder / file, "%PDF-1.4\n%%EOF\n");
    std::vector<std::filesystem::path> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        ASSERT_EQ(name.rfind(file + ".", 0), 0u) << name;
        // The same name with a random part of lower-case letters only.
        const std::filesystem::path plain = folder / (file + ".aaaaaa" + name.substr(file.size() + 7));
        std::filesystem::copy_file(entry.path(), plain);
        left = {entry.path(), plain};
    }
    std::vector<std::filesystem::path> removed = RemoveInterruptedSaves(m_dir, {"print"});
    std::sort(removed.begin(), removed.end());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(removed, left);
}

} // namespace
} // namespace platform
