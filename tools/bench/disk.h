// The disk side of the benchmark: counting the flushes a step waits for, the physical
// reference of one database transaction, another program's unflushed writes, and where
// the benchmark's folders lie.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vantreth::bench {

// Flushes made by this process since it started. The benchmark defines fsync, fdatasync,
// syncfs and sync itself (flush_count in disk.cpp), so every flush the program's code asks
// for passes through the count before it reaches the kernel, whatever part of the code
// asks for it.
struct FlushCount {
    long files = 0;       // fsync or fdatasync of a file
    long folders = 0;     // fsync of a folder
    long fileSystems = 0; // syncfs or sync: everything dirty on the file system
    long total() const { return files + folders + fileSystems; }
};
FlushCount Flushes();
FlushCount operator-(const FlushCount& a, const FlushCount& b);
// "3 (2 files, 1 folder)", "1 (1 whole file system)".
std::string Describe(const FlushCount& count);

// True when a flush made through the program's file layer is counted (the benchmark was
// linked so that its definitions are the ones called).
bool FlushCountingWorks(const std::filesystem::path& folder);

// Flushes every file and folder under `root`, uncounted, so that a step starts with nothing
// of its folder left to write. Only these: a flush of the whole file system would also wait
// for whatever other programs happen to be writing.
void SettleDisk(const std::filesystem::path& root);
// The same for the given files (missing ones skipped) and the folders that hold them.
void SettleFiles(const std::vector<std::filesystem::path>& files);
// Everything dirty on the file system that holds `folder`, uncounted: the folders the
// benchmark has just written reach the disk before the first step is timed.
void SettleFileSystem(const std::filesystem::path& folder);

// What one small database transaction costs on this disk: four 4 KiB pages written to a
// small file (`file`, made on first use), each followed by fdatasync. Milliseconds.
double ReferenceTransactionMs(const std::filesystem::path& file);

// The floor of a step on this disk: its journal record of `bytes` bytes appended after a
// journal's header in `file` (made on first use, cut back to the header before each time, as
// the journal is between steps) and flushed (fdatasync), with nothing else. Milliseconds.
double FloorMs(const std::filesystem::path& file, long long bytes);

// Another program writes `mib` MiB to a new file in `folder` with plain write() and ends
// without flushing; the file's path is returned (remove it when done).
std::filesystem::path WriteUnflushed(const std::filesystem::path& folder, int mib);

// The file system that holds `path`: "ext4 /dev/vda mounted at /".
std::string FileSystemOf(const std::filesystem::path& path);
// True when `path` lies in memory (tmpfs, ramfs): its flushes cost nothing.
bool InMemory(const std::filesystem::path& path);

} // namespace vantreth::bench
