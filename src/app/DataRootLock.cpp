#include "DataRootLock.h"

#include <QString>

namespace cw {

DataRootLock::DataRootLock(const std::filesystem::path& root)
    : root_(root),
      lock_(std::make_unique<QLockFile>(QString::fromStdString((root / kFileName).string()))) {
    // A running copy may hold the root for days: only a lock whose process is gone is stale.
    lock_->setStaleLockTime(0);
}

DataRootLock::Outcome DataRootLock::TryTake() {
    if (lock_->tryLock(0))
        return Outcome::Taken;
    if (lock_->error() != QLockFile::LockFailedError) {
        // A root that cannot be written opens read-only: there is nothing to protect.
        return Outcome::NotLockable;
    }
    qint64 pid = 0;
    QString host, program;
    std::string who = "another copy of Cardwright";
    if (lock_->getLockInfo(&pid, &host, &program))
        who += " (process " + std::to_string(pid) +
               (host.isEmpty() ? std::string() : " on " + host.toStdString()) + ")";
    problem_ = "The data folder " + root_.string() + " is in use by " + who +
               ". Close that copy first, or start Cardwright on another data folder with "
               "--root.";
    return Outcome::HeldByOther;
}

} // namespace cw
