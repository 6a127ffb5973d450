#include "FaultInjectingFileSystem.h"

#include <algorithm>
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

void FaultInjectingFileSystem::SetRoots(std::vector<fs::path> roots) {
    std::lock_guard lock(mutex_);
    roots_.clear();
    for (const fs::path& root : roots)
        roots_.push_back(root.string() + "/");
}

std::string FaultInjectingFileSystem::Named(const fs::path& path) const {
    std::string text = path.string();
    for (size_t i = 0; i < roots_.size(); ++i)
        if (text.rfind(roots_[i], 0) == 0)
            return std::to_string(i) + ":" + text.substr(roots_[i].size());
    return text;
}

void FaultInjectingFileSystem::Arm(const FsCallId& call, Fault fault) {
    std::lock_guard lock(mutex_);
    armed_ = call;
    fault_ = fault;
    fired_ = false;
    fullFd_ = -1;
}

void FaultInjectingFileSystem::Disarm() {
    std::lock_guard lock(mutex_);
    armed_.reset();
    fullFd_ = -1;
}

void FaultInjectingFileSystem::Reset() {
    Disarm();
    std::lock_guard lock(mutex_);
    calls_.clear();
    fired_ = false;
}

std::vector<FsCallId> FaultInjectingFileSystem::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

bool FaultInjectingFileSystem::Fired() const {
    std::lock_guard lock(mutex_);
    return fired_;
}

std::string FaultInjectingFileSystem::FileOf(int fd) const {
    auto it = open_.find(fd);
    return it == open_.end() ? std::string() : it->second;
}

bool FaultInjectingFileSystem::Hit(FsCall call, const std::string& file) {
    FsCallId id{call, file, 0};
    id.occurrence = int(std::count_if(calls_.begin(), calls_.end(), [&](const FsCallId& c) {
        return c.call == call && c.file == file;
    }));
    calls_.push_back(id);
    if (!armed_ || !(*armed_ == id))
        return false;
    fired_ = true;
    return true;
}

int FaultInjectingFileSystem::Open(const fs::path& path) {
    {
        std::lock_guard lock(mutex_);
        if (Hit(FsCall::Open, Named(path))) {
            errno = ErrnoOf(fault_);
            return -1;
        }
    }
    int fd = FileSystem::Open(path);
    if (fd >= 0) {
        std::lock_guard lock(mutex_);
        open_[fd] = Named(path);
    }
    return fd;
}

long FaultInjectingFileSystem::Write(int fd, const char* data, size_t size) {
    bool partial = false;
    {
        std::lock_guard lock(mutex_);
        bool hit = Hit(FsCall::Write, FileOf(fd));
        if (fd == fullFd_) {
            errno = ENOSPC;
            return -1;
        }
        if (hit && fault_ == Fault::DiskFull && size > 1) {
            // Half of it fits; the next write finds the disk full.
            fullFd_ = fd;
            partial = true;
        } else if (hit) {
            errno = ErrnoOf(fault_);
            return -1;
        }
    }
    return FileSystem::Write(fd, data, partial ? size / 2 : size);
}

int FaultInjectingFileSystem::Sync(int fd) {
    std::lock_guard lock(mutex_);
    if (Hit(FsCall::Sync, FileOf(fd))) {
        errno = ErrnoOf(fault_);
        return -1;
    }
    // Tests need the call, not the wait for the disk.
    return 0;
}

int FaultInjectingFileSystem::Close(int fd) {
    bool hit = false;
    {
        std::lock_guard lock(mutex_);
        if (fd == fullFd_)
            fullFd_ = -1;
        hit = Hit(FsCall::Close, FileOf(fd));
        open_.erase(fd);
    }
    // The descriptor goes whatever close says, as it does on Linux.
    int result = FileSystem::Close(fd);
    if (hit) {
        errno = ErrnoOf(fault_);
        return -1;
    }
    return result;
}

void FaultInjectingFileSystem::SeparateDisk(const fs::path& folder) {
    std::lock_guard lock(mutex_);
    separateDisk_ = folder.lexically_normal();
}

int FaultInjectingFileSystem::Rename(const fs::path& from, const fs::path& to) {
    {
        std::lock_guard lock(mutex_);
        if (Hit(FsCall::Rename, Named(from))) {
            errno = ErrnoOf(fault_);
            return -1;
        }
        if (separateDisk_) {
            auto inside = [this](const fs::path& path) {
                const std::string folder = separateDisk_->string() + "/";
                return path.lexically_normal().string().rfind(folder, 0) == 0;
            };
            if (inside(to) != inside(from)) {
                errno = EXDEV;
                return -1;
            }
        }
    }
    return FileSystem::Rename(from, to);
}

} // namespace cw::test
