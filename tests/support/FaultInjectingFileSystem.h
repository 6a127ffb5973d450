#pragma once

#include "FileOps.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace cw::test {

// The writing calls of the FileSystem seam.
enum class FsCall { Open, Write, Sync, Close, Rename };

// What a disk can do to each of them.
enum class Fault {
    OpenRefused,   // open: permission denied
    WriteError,    // write: input/output error
    DiskFull,      // write: part of the bytes go, then the disk is full
    SyncError,     // fsync: input/output error
    CloseError,    // close: a write held back fails (as on a network disk)
    RenameRefused, // rename: input/output error
};

// One call of an operation: its kind, the file it is about (the file opened, or renamed from)
// and how many calls of that kind on that file came before it. Calls made on other threads
// keep their names whatever the interleaving.
struct FsCallId {
    FsCall call = FsCall::Open;
    std::string file;
    int occurrence = 0;
    bool operator==(const FsCallId&) const = default;
};

std::vector<Fault> FaultsFor(FsCall call);
std::string CallName(FsCall call);
std::string FaultName(Fault fault);
// The words the system uses for the fault's errno (strerror).
std::string FaultReason(Fault fault);

// The real file system, with the calls recorded and, when armed, one of them failing. A full
// disk stays full for the rest of the file. Sync is recorded but does not wait for the disk.
// Safe to use from several threads.
class FaultInjectingFileSystem : public FileSystem {
public:
    // Files below these folders are named from them ("0:", "1:" ... and the rest of the
    // path), so that calls of two runs on two temporary folders compare equal.
    void SetRoots(std::vector<fs::path> roots);
    void Arm(const FsCallId& call, Fault fault);
    // Makes folder a disk of its own: a file renamed into it from elsewhere, or out of it, is
    // refused as on another device (EXDEV), for good, as a real second disk would.
    void SeparateDisk(const fs::path& folder);
    void Disarm();
    // Forgets the calls recorded so far (and disarms).
    void Reset();

    std::vector<FsCallId> Calls() const;
    bool Fired() const;

    int Open(const fs::path& path) override;
    long Write(int fd, const char* data, size_t size) override;
    int Sync(int fd) override;
    int Close(int fd) override;
    int Rename(const fs::path& from, const fs::path& to) override;

private:
    // Records the call; true when it is the one to fail.
    bool Hit(FsCall call, const std::string& file);
    std::string FileOf(int fd) const;
    std::string Named(const fs::path& path) const;

    mutable std::mutex mutex_;
    std::vector<std::string> roots_;
    std::vector<FsCallId> calls_;
    std::map<int, std::string> open_;
    std::optional<FsCallId> armed_;
    std::optional<fs::path> separateDisk_;
    Fault fault_ = Fault::WriteError;
    bool fired_ = false;
    int fullFd_ = -1;
};

} // namespace cw::test
