#pragma once

#include "FileOps.h"

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

std::vector<Fault> FaultsFor(FsCall call);
std::string CallName(FsCall call);
std::string FaultName(Fault fault);
// The words the system uses for the fault's errno (strerror).
std::string FaultReason(Fault fault);

// The real file system, with the calls counted and, when armed, one of them failing. A full
// disk stays full for the rest of the call's file. Sync is counted but does not wait for the
// disk.
class FaultInjectingFileSystem : public FileSystem {
public:
    // Call number call (counted from 0 since the last Reset) fails with fault.
    void Arm(int call, Fault fault);
    void Disarm();
    // Forgets the calls counted so far (and disarms).
    void Reset();

    const std::vector<FsCall>& Calls() const { return calls_; }
    bool Fired() const { return fired_; }

    int Open(const fs::path& path) override;
    long Write(int fd, const char* data, size_t size) override;
    int Sync(int fd) override;
    int Close(int fd) override;
    int Rename(const fs::path& from, const fs::path& to) override;

private:
    // Counts the call; true when it is the one to fail.
    bool Hit(FsCall call);

    std::vector<FsCall> calls_;
    int armedCall_ = -1;
    Fault fault_ = Fault::WriteError;
    bool fired_ = false;
    int fullFd_ = -1;
};

} // namespace cw::test
