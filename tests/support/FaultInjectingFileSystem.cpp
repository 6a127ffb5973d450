#include "FaultInjectingFileSystem.h"

#include <cerrno>
#include <cstring>

namespace cw::test {

std::vector<Fault> FaultsFor(FsCall call) {
    switch (call) {
    case FsCall::Open:
        return {Fault::OpenRefused};
    case FsCall::Write:
        return {Fault::WriteError, Fault::DiskFull};
    case FsCall::Sync:
        return {Fault::SyncError};
    case FsCall::Close:
        return {Fault::CloseError};
    case FsCall::Rename:
        return {Fault::RenameRefused};
    }
    return {};
}

std::string CallName(FsCall call) {
    switch (call) {
    case FsCall::Open:
        return "open";
    case FsCall::Write:
        return "write";
    case FsCall::Sync:
        return "fsync";
    case FsCall::Close:
        return "close";
    case FsCall::Rename:
        return "rename";
    }
    return "?";
}

std::string FaultName(Fault fault) {
    switch (fault) {
    case Fault::OpenRefused:
        return "open refused";
    case Fault::WriteError:
        return "write error";
    case Fault::DiskFull:
        return "disk full part-way";
    case Fault::SyncError:
        return "fsync error";
    case Fault::CloseError:
        return "close error";
    case Fault::RenameRefused:
        return "rename refused";
    }
    return "?";
}

namespace {

int ErrnoOf(Fault fault) {
    switch (fault) {
    case Fault::OpenRefused:
        return EACCES;
    case Fault::DiskFull:
        return ENOSPC;
    default:
        return EIO;
    }
}

} // namespace

std::string FaultReason(Fault fault) {
    return std::strerror(ErrnoOf(fault));
}

void FaultInjectingFileSystem::Arm(int call, Fault fault) {
    armedCall_ = call;
    fault_ = fault;
    fired_ = false;
    fullFd_ = -1;
}

void FaultInjectingFileSystem::Disarm() {
    armedCall_ = -1;
    fullFd_ = -1;
}

void FaultInjectingFileSystem::Reset() {
    calls_.clear();
    Disarm();
    fired_ = false;
}

bool FaultInjectingFileSystem::Hit(FsCall call) {
    calls_.push_back(call);
    if (int(calls_.size()) - 1 != armedCall_)
        return false;
    fired_ = true;
    return true;
}

int FaultInjectingFileSystem::Open(const fs::path& path) {
    if (Hit(FsCall::Open)) {
        errno = ErrnoOf(fault_);
        return -1;
    }
    return FileSystem::Open(path);
}

long FaultInjectingFileSystem::Write(int fd, const char* data, size_t size) {
    bool hit = Hit(FsCall::Write);
    if (fd == fullFd_) {
        errno = ENOSPC;
        return -1;
    }
    if (!hit)
        return FileSystem::Write(fd, data, size);
    if (fault_ == Fault::DiskFull && size > 1) {
        // Half of it fits; the next write finds the disk full.
        fullFd_ = fd;
        return FileSystem::Write(fd, data, size / 2);
    }
    errno = ErrnoOf(fault_);
    return -1;
}

int FaultInjectingFileSystem::Sync(int) {
    if (Hit(FsCall::Sync)) {
        errno = ErrnoOf(fault_);
        return -1;
    }
    // Tests need the call, not the wait for the disk.
    return 0;
}

int FaultInjectingFileSystem::Close(int fd) {
    if (fd == fullFd_)
        fullFd_ = -1;
    bool hit = Hit(FsCall::Close);
    // The descriptor goes whatever close says, as it does on Linux.
    int result = FileSystem::Close(fd);
    if (hit) {
        errno = ErrnoOf(fault_);
        return -1;
    }
    return result;
}

int FaultInjectingFileSystem::Rename(const fs::path& from, const fs::path& to) {
    if (Hit(FsCall::Rename)) {
        errno = ErrnoOf(fault_);
        return -1;
    }
    return FileSystem::Rename(from, to);
}

} // namespace cw::test
