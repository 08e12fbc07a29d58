// The system's print commands through stand-ins: the job handed over, and whether there is a
// default printer.
#include "platform/print_command.h"
#include "platform/printer.h"
#include "support/stand_in_command.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace platform {
namespace {

using vantreth::testing::Script;

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
} // namespace
} // namespace platform
