// Starting the system's print commands and timing them: a saved PDF handed to the default
// printer ("lp"), and whether there is one ("lpstat"). A job not taken is a PrintError, one
// the system does not answer in time a PrintNoAnswer (printer.h).
#pragma once

#include <atomic>
#include <filesystem>
#include <string>
#include <utility>

namespace platform {

// The system's printing, as the program hands it a saved PDF file for the default printer.
// Hand throws PrintError, with the reason, when the job is not taken: no print scheduler, no
// default printer, a queue that refuses jobs.
// A system that does not answer throws PrintNoAnswer.
class PrintSpooler {
public:
    virtual ~PrintSpooler() = default;
    virtual void Hand(const std::filesystem::path& pdf, const std::string& title) = 0;
    // Called from another thread at the end of the program: the hand-over going on stops at
    // once, not taken, and so does every later one.
    virtual void Cancel() {}
};

// Hands the file to the print command of the system (CUPS's "lp", which prints on the
// default printer): "<command> -t <title> -- <file>". The job is taken when the command
// ends with status 0; otherwise what it wrote is the reason. A command that does not end
// within `timeoutMs` is stopped and the job counts as not taken (PrintNoAnswer).
class CommandSpooler final : public PrintSpooler {
public:
    explicit CommandSpooler(std::string command = "lp", int timeoutMs = 30000)
        : m_command(std::move(command)), m_timeoutMs(timeoutMs) {}
    void Hand(const std::filesystem::path& pdf, const std::string& title) override;
    void Cancel() override { m_cancelled = true; }

private:
    std::string m_command;
    int m_timeoutMs;
    std::atomic<bool> m_cancelled{false};
};

// Whether the system has a default printer, as CUPS says ("lpstat -d"); no when it does not
// answer within `timeoutMs` or cannot be asked.
bool HasDefaultPrinter(int timeoutMs = 1000, const std::string& command = "lpstat");

} // namespace platform
