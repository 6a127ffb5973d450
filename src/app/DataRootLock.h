#pragma once

#include <QLockFile>
#include <filesystem>
#include <memory>
#include <string>

namespace cw {

// Keeps a second copy of the program off a data root that one copy has open: two windows
// saving the same cards would overwrite each other's work. The lock is a file in the root;
// a lock left behind by a copy that crashed is taken over. Command-line tools that only read
// do not take it.
class DataRootLock {
public:
    explicit DataRootLock(const std::filesystem::path& root);

    enum class Outcome { Taken, HeldByOther, NotLockable };
    // Tries once, without waiting.
    Outcome TryTake();

    // Why the root could not be taken, for the user: names the other process.
    const std::string& Problem() const { return problem_; }

    static constexpr const char* kFileName = "cardwright.lock";

private:
    std::filesystem::path root_;
    std::unique_ptr<QLockFile> lock_;
    std::string problem_;
};

} // namespace cw
