#pragma once

#include "FileOps.h"

#include <vector>

namespace cw {

// The output files of one job, which appear only when the whole job succeeded. Each file is
// written as a scratch file beside its target and renamed into place by Commit. The scratch
// files of a job that fails, is given up (destroyed uncommitted) or is stopped by SIGINT or
// SIGTERM are removed, and older files of the targets' names stay as they were.
class PendingFiles {
public:
    PendingFiles() = default;
    ~PendingFiles();
    PendingFiles(const PendingFiles&) = delete;
    PendingFiles& operator=(const PendingFiles&) = delete;

    // The scratch file to write target's bytes into: hidden, in target's folder, named for
    // this process so that jobs running at once never share one.
    fs::path Add(const fs::path& target);

    // Moves every scratch file over its target. Throws RuntimeError when one cannot be
    // moved; the scratch files not yet moved are removed.
    void Commit(FileSystem& fileSystem = FileSystem::Default());

    // Removes the scratch files; the targets are left alone.
    void Discard();

    const std::vector<fs::path>& Targets() const { return targets_; }

    // Has SIGINT and SIGTERM remove the scratch files of every job before the process ends
    // (once per process; the command-line tools call it at start).
    static void RemoveScratchFilesOnSignals();

private:
    std::vector<fs::path> targets_;
    std::vector<fs::path> scratch_;
};

} // namespace cw
