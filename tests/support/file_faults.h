// A fault source for a data folder's files: counts every change the program makes to a file and
// makes the N-th one fail ("disk full"), write only half, or stop the program dead there.
// Asked to, it also keeps what the disk holds for sure, so that after a simulated crash it
// can lose what was never flushed, as a power cut does: each file is cut back to what its
// last flush made durable, and a name created, renamed or removed since its folder's last
// flush is undone. A failure can last (ArmFrom: a disk that died), and can reach the flushes
// the engine runs on its own thread (EngineFlusher), as a real disk's does.
#pragma once

#include "platform/engine.h"
#include "platform/files.h"
#include "platform/flush_worker.h"
#include "support/folder_image.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vantreth::testing {

class CountingFaults final : public platform::FileFaults {
public:
    // Given to the engine of each folder it is to watch (platform::Engine::SetFaults, or
    // the program's services).
    CountingFaults() = default;
    CountingFaults(const CountingFaults&) = delete;
    CountingFaults& operator=(const CountingFaults&) = delete;

    // The `at`-th change from now (from 1) gets the fault; the others go through.
    void Arm(long at, Kind kind, int error = 0) { ArmAt({at}, kind, error); }
    // Every change from the `at`-th on gets the fault, as a disk that died does, until disarmed.
    void ArmFrom(long at, Kind kind, int error = 0) {
        std::lock_guard lock(m_mutex);
        ArmAt({}, kind, error);
        m_from = at;
    }
    // Each of the given changes from now (from 1) gets the fault. What the disk holds for
    // sure is kept across arming: only LoseUnflushed and Forget drop it.
    // `error`: the system error a Fail gives (ENOSPC when 0).
    void ArmAt(std::vector<long> at, Kind kind, int error = 0) {
        std::lock_guard lock(m_mutex);
        m_count = 0;
        m_at = std::move(at);
        m_kind = kind;
        m_from = 0;
        m_error = error;
        m_writes.clear();
        m_files.clear();
        m_ops.clear();
    }
    void Disarm() { Arm(0, Kind::None); }
    // Takes every folder as durable as it now stands (a new test folder, a clean start).
    void Forget() {
        m_folders.clear();
        m_synced.clear();
        m_pending.clear();
    }
    long count() const { return m_count; }
    // Whether change n (from 1) since the last Arm wrote bytes.
    bool WasWrite(long n) const {
        return n >= 1 && n <= static_cast<long>(m_writes.size()) && m_writes[n - 1];
    }
    // The file that change n (from 1) since the last Arm was made to, and what it was.
    std::filesystem::path FileOf(long n) const { return m_files.at(static_cast<size_t>(n - 1)); }
    Op OpOf(long n) const { return m_ops.at(static_cast<size_t>(n - 1)); }

    // Keep what the disk holds for sure from now on (see LoseUnflushed). The flushes are then
    // kept here and never reach the disk.
    void TrackFlushes(bool on) { m_track = on; }
    // Whether a failed flush of the journal leaves the disk holding what was written before it
    // (true, the default: a step told not saved must be taken back for good) or only what the
    // last good flush wrote (false: a step told saved must have been flushed again since).
    void FailedFlushKeepsJournal(bool keeps) { m_keepJournal = keeps; }
    // The flushes of a checkpoint on the engine's thread (platform::Engine::SetFlusher): each
    // one is counted as a change like the others, fails as armed, and then leaves its file as
    // a failed flush does. The engine must not outlive this object.
    platform::Flusher EngineFlusher() {
        return [this](int fd, bool folder) -> int {
            std::lock_guard lock(m_mutex);
            std::error_code ec;
            const std::filesystem::path file =
                std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), ec);
            const Fault fault = BeforeChange(file, 0);
            m_ops.push_back(folder ? Op::FlushFolder : Op::Flush);
            if (fault.kind == Kind::None)
                return m_track ? 0 : platform::FlushToDisk(fd, folder);
            if (m_track && !folder)
                DropDirty(file);
            return fault.error != 0 ? fault.error : ENOSPC;
        };
    }
    bool KeepsFlushes() const override { return m_track; }
    // A power cut: every folder changed since tracking began gets back the names its last
    // flush made durable, and each file what its last flush wrote. Tracking starts anew.
    void LoseUnflushed() {
        std::lock_guard lock(m_mutex);
        for (const auto& [folder, entries] : m_folders) {
            for (const auto& [name, inode] : Listing(folder))
                if (entries.count(name) == 0)
                    std::filesystem::remove(folder / name);
            for (const auto& [name, inode] : entries) {
                auto synced = m_synced.find(inode);
                std::ofstream(folder / name, std::ios::binary | std::ios::trunc)
                    << (synced != m_synced.end() ? synced->second : std::string());
            }
        }
        m_folders.clear();
        m_synced.clear();
        m_pending.clear();
    }

    Fault BeforeChange(const std::filesystem::path& file, size_t bytes) override {
        std::lock_guard lock(m_mutex);
        ++m_count;
        m_writes.push_back(bytes > 0);
        m_files.push_back(file);
        if (std::find(m_at.begin(), m_at.end(), m_count) != m_at.end() || (m_from > 0 && m_count >= m_from))
            return {m_kind, m_error};
        return {};
    }
    // A flush is durable only once it has finished well: what it covered when it was asked.
    void Flushed(const std::filesystem::path& file, bool folder) override {
        std::lock_guard lock(m_mutex);
        if (!m_track)
            return;
        auto pending = m_pending.find({file, folder});
        if (pending == m_pending.end())
            return;
        if (folder) {
            m_folders[file] = pending->second.entries;
            for (const auto& [name, inode] : pending->second.entries)
                m_synced.try_emplace(inode, std::string()); // named, never flushed: empty
        } else {
            m_synced[pending->second.inode] = pending->second.content;
        }
        m_pending.erase(pending);
    }
    Fault Before(const Change& change) override {
        std::lock_guard lock(m_mutex);
        m_ops.push_back(change.op);
        const Fault fault = BeforeChange(change.file, change.bytes);
        if (m_track && change.op != Op::Stage)
            Track(change, fault.kind == Kind::None);
        // A flush that fails leaves it unknown what reached the disk; each file gets the worse
        // case. A data file loses what its last flush did not write (the step told saved must
        // come back from the journal); the journal's record stays, and reaches the disk (the step
        // told not saved must be taken back for good, or it comes back at the next start).
        if (m_track && change.op == Op::Flush && (fault.kind == Kind::Fail || fault.kind == Kind::Partial)) {
            if (change.file.filename() == platform::kJournalName) {
                if (m_keepJournal)
                    KeepOnDisk(change.file);
            } else
                DropDirty(change.file);
        }
        return fault;
    }

private:
    using Entries = std::map<std::string, ino_t>; // name -> inode

    static Entries Listing(const std::filesystem::path& folder) {
        Entries out;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
            struct stat st;
            if (entry.is_regular_file() && ::stat(entry.path().c_str(), &st) == 0)
                out[entry.path().filename().string()] = st.st_ino;
        }
        return out;
    }
    static std::string Content(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // A folder first seen is taken as durable as it stands, files and all.
    void See(const std::filesystem::path& folder) {
        if (m_folders.count(folder) != 0)
            return;
        Entries entries = Listing(folder);
        for (const auto& [name, inode] : entries)
            m_synced.try_emplace(inode, Content(folder / name));
        m_folders[folder] = std::move(entries);
    }
    // A flush that fails may leave the file's bytes as its last flush did (its length stays):
    // the kernel dropped what it could not write, and a later flush that succeeds proves nothing.
    void DropDirty(const std::filesystem::path& file) {
        struct stat st;
        if (::stat(file.c_str(), &st) != 0)
            return;
        auto synced = m_synced.find(st.st_ino);
        std::string bytes = synced != m_synced.end() ? synced->second : std::string();
        bytes.resize(static_cast<size_t>(st.st_size), '\0');
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    }
    void KeepOnDisk(const std::filesystem::path& file) {
        See(file.parent_path());
        struct stat st;
        if (::stat(file.c_str(), &st) == 0)
            m_synced[st.st_ino] = Content(file);
    }
    void Track(const Change& change, bool happens) {
        const std::filesystem::path folder =
            change.op == Op::FlushFolder ? change.file : change.file.parent_path();
        See(folder);
        if (change.from != nullptr)
            See(change.from->parent_path());
        if (!happens)
            return;
        // What the flush covers, kept until it is told finished (Flushed): a flush asked about
        // and never made makes nothing durable.
        struct stat st;
        if (change.op == Op::Flush && ::stat(change.file.c_str(), &st) == 0)
            m_pending[{change.file, false}] = Pending{st.st_ino, Content(change.file), {}};
        if (change.op == Op::FlushFolder)
            m_pending[{folder, true}] = Pending{0, {}, Listing(folder)};
    }

    struct Pending {
        ino_t inode = 0;
        std::string content;
        Entries entries;
    };

    std::recursive_mutex m_mutex; // the engine's thread counts its flushes too (EngineFlusher)
    bool m_keepJournal = true;    // see FailedFlushKeepsJournal
    long m_count = 0;
    long m_from = 0; // see ArmFrom
    int m_error = 0;
    std::map<std::pair<std::filesystem::path, bool>, Pending> m_pending; // flushes asked, not yet done
    std::vector<long> m_at;
    Kind m_kind = Kind::None;
    std::vector<bool> m_writes;
    std::vector<std::filesystem::path> m_files;
    std::vector<Op> m_ops;
    bool m_track = false;
    std::map<std::filesystem::path, Entries> m_folders; // durable names of each folder seen
    std::map<ino_t, std::string> m_synced;              // durable content of each file seen
};

// Makes the saving of the next step unsure, for as long as it lives: the step's record is written
// into the journal, then every change to the journal fails (its flush, its writing again, its
// taking back), so that nobody can tell whether it was saved until the next start.
class UnsureSaving final : public platform::FileFaults {
public:
    explicit UnsureSaving(platform::Engine& engine) : m_engine(engine) { engine.SetFaults(this); }
    ~UnsureSaving() override { m_engine.SetFaults(nullptr); }
    UnsureSaving(const UnsureSaving&) = delete;
    UnsureSaving& operator=(const UnsureSaving&) = delete;
    Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
    Fault Before(const Change& change) override {
        if (change.file.filename() != platform::kJournalName)
            return {};
        if (m_recordWritten)
            return {Kind::Fail, EIO};
        m_recordWritten = change.op == Op::Write && change.bytes != platform::kJournalHeaderBytes &&
                          change.bytes != platform::kJournalSlotBytes;
        return {};
    }

private:
    platform::Engine& m_engine;
    bool m_recordWritten = false;
};

// Gives a fault source to a folder's engine for as long as it lives.
class FaultsGiven {
public:
    FaultsGiven(platform::Engine& engine, platform::FileFaults& faults) : m_engine(engine) {
        engine.SetFaults(&faults);
    }
    ~FaultsGiven() { m_engine.SetFaults(nullptr); }
    FaultsGiven(const FaultsGiven&) = delete;
    FaultsGiven& operator=(const FaultsGiven&) = delete;

private:
    platform::Engine& m_engine;
};

} // namespace vantreth::testing
