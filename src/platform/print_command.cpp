// The print commands run as processes of their own: their output read, their time counted,
// and one given up on stopped with whatever it started.
#include "platform/print_command.h"

#include "platform/printer.h"
#include "platform/text.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace platform {

namespace {

struct CommandResult {
    int status = 0;   // as waitpid gives it
    std::string said; // its output and errors, on one line
    bool timedOut = false;
    bool cancelled = false;
};

using Clock = std::chrono::steady_clock;

// A command still running when it is given up on.
struct Running {
    pid_t pid = -1;
    int output = -1; // the read end of its output and errors
};

// Starts `args` (the first the command, looked up on PATH) in a group of its own, its output
// and errors into a pipe. `env` null: this program's environment. Throws PrintError when it
// cannot be started.
Running Start(std::vector<std::string>& args, char** env) {
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const std::string& command = args.front();

    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        throw PrintError("the print command cannot be started: " + std::string(std::strerror(errno)));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    // A group of its own, so that a command given up on is stopped with whatever it started.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    const int spawned =
        ::posix_spawnp(&pid, command.c_str(), &actions, &attributes, argv.data(), env ? env : environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        throw PrintError("the print command " + command + " cannot be run: " + std::strerror(spawned));
    }
    return {pid, out[0]};
}

// What the command says, until it closes its output or its time is up; looked at in short
// slices, so that a cancel is seen at once. Closes the output.
void Listen(int output, Clock::time_point deadline, const std::atomic<bool>* cancel, CommandResult& result) {
    for (;;) {
        if (cancel != nullptr && *cancel) {
            result.cancelled = true;
            break;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            result.timedOut = true;
            break;
        }
        pollfd watch{output, POLLIN, 0};
        const int ready = ::poll(&watch, 1, static_cast<int>(std::min<long long>(left.count(), 100)));
        if (ready <= 0)
            continue;
        char chunk[512];
        const ssize_t n = ::read(output, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        result.said.append(chunk, static_cast<size_t>(n));
    }
    ::close(output);
}

// A command that closed its output may still run: it is waited for under the same deadline,
// and as long as it is not cancelled. One given up on is killed with its group; either way it
// is reaped.
void Reap(pid_t pid, Clock::time_point deadline, const std::atomic<bool>* cancel, CommandResult& result) {
    bool ended = false;
    while (!result.timedOut && !result.cancelled) {
        const pid_t got = ::waitpid(pid, &result.status, WNOHANG);
        if (got == pid || (got < 0 && errno != EINTR)) {
            ended = got == pid;
            break;
        }
        if (cancel != nullptr && *cancel)
            result.cancelled = true;
        else if (Clock::now() >= deadline)
            result.timedOut = true;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (result.timedOut || result.cancelled)
        ::kill(-pid, SIGKILL);
    while (!ended && ::waitpid(pid, &result.status, 0) < 0 && errno == EINTR) {
    }
}

// Runs `args` (see Start) with its output and errors read, for at most `timeoutMs` and no
// longer than `cancel` stays false; a command still running then is killed. Throws PrintError
// when it cannot be started.
CommandResult RunCommand(std::vector<std::string> args, int timeoutMs, const std::atomic<bool>* cancel,
                         char** env = nullptr) {
    const Running command = Start(args, env);
    CommandResult result;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    Listen(command.output, deadline, cancel, result);
    Reap(command.pid, deadline, cancel, result);
    std::string& said = result.said;
    while (!said.empty() && std::isspace(static_cast<unsigned char>(said.back())))
        said.pop_back();
    std::replace(said.begin(), said.end(), '\n', ' ');
    return result;
}

} // namespace

void CommandSpooler::Hand(const std::filesystem::path& pdf, const std::string& title) {
    if (m_cancelled)
        throw PrintError("the program was closed before the print command " + m_command + " took the job");
    // The title in the characters the system reads.
    CommandResult run =
        RunCommand({m_command, "-t", Cp1252ToUtf8(title), "--", pdf.string()}, m_timeoutMs, &m_cancelled);
    if (run.cancelled)
        throw PrintError("the program was closed before the print command " + m_command + " took the job");
    if (run.timedOut)
        throw PrintNoAnswer("the print command " + m_command + " did not answer within " +
                            std::to_string(m_timeoutMs / 1000) + " seconds");
    const int status = run.status;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return;
    if (run.said.empty())
        run.said = WIFEXITED(status) ? "the print command " + m_command + " ended with status " +
                                           std::to_string(WEXITSTATUS(status))
                                     : "the print command " + m_command + " was stopped";
    throw PrintError(run.said);
}

bool HasDefaultPrinter(int timeoutMs, const std::string& command) {
    // Asked in the C locale, so that the answer reads the same in every language.
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (!std::string_view(*e).starts_with("LC_ALL=") && !std::string_view(*e).starts_with("LANG="))
            env.emplace_back(*e);
    env.emplace_back("LC_ALL=C");
    env.emplace_back("LANG=C");
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    try {
        const CommandResult run = RunCommand({command, "-d"}, timeoutMs, nullptr, envp.data());
        // "system default destination: <name>"; without one, "no system default destination".
        return !run.timedOut && WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0 &&
               run.said.starts_with("system default destination:");
    } catch (const PrintError&) {
        return false;
    }
}

} // namespace platform
